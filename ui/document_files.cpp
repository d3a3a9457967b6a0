#include "ui/document_files.h"

#include "core/messages.h"
#include "platform/document_file.h"

#include <QFile>
#include <QFileInfo>

namespace ui {

namespace {

// The converter and part options of a script way; null with `why` when its data cannot be had or
// the way does not convert script.
struct WayConverter {
    std::unique_ptr<core::document::SegmentedConverter> converter;
    core::document::PartOptions options;
    QString why;
};

WayConverter converterFor(const Way &way, const platform::TextServices &services) {
    WayConverter c;
    using core::document::ScriptDirection;
    if (const auto *own = std::get_if<OwnWay>(&way)) {
        const bool traditional = *own == OwnWay::Traditional;
        const core::CodePointMap *map =
            traditional ? services.toTraditional.get() : services.toSimplified.get();
        if ((*own != OwnWay::Traditional && *own != OwnWay::Simplified) || !map) {
            c.why = map ? QStringLiteral("这种方式不能转换文件")
                        : QString::fromStdString(services.dictionaryError.in(core::Language::Chinese));
            return c;
        }
        c.converter = std::make_unique<core::document::CodePointSegmentedConverter>(*map);
        c.options.direction = traditional ? ScriptDirection::ToTraditional : ScriptDirection::ToSimplified;
        return c;
    }
    if (const auto *phrase = std::get_if<PhraseWay>(&way)) {
        const core::PhraseConverter *converter = services.phrases->get(phrase->config);
        if (!converter) {
            c.why = QString::fromStdString(
                core::wording(core::MessageId::CannotLoad, core::Language::Chinese, {services.phrases->failedPath(phrase->config)}));
            return c;
        }
        c.converter = std::make_unique<core::document::PhraseSegmentedConverter>(*converter);
        c.options.direction = phrase->config.rfind("s2", 0) == 0 ? ScriptDirection::ToTraditional
                                                                 : ScriptDirection::ToSimplified;
        return c;
    }
    c.why = QStringLiteral("这种方式不能转换文件");
    return c;
}

QString whyNot(const platform::DocumentOutcome &outcome) {
    const QString message = QString::fromStdString(outcome.message.in(core::Language::Chinese));
    switch (outcome.status) {
    case platform::DocumentStatus::Limit:
        return QStringLiteral("超出限制：") + message;
    case platform::DocumentStatus::Cancelled:
        return QStringLiteral("已取消");
    default:
        return message;
    }
}

} // namespace

QString wayFileLabel(const Way &way) {
    if (const auto *own = std::get_if<OwnWay>(&way))
        return *own == OwnWay::Simplified ? QStringLiteral("简体") : QStringLiteral("繁体");
    if (const auto *phrase = std::get_if<PhraseWay>(&way)) {
        if (phrase->config == "s2t")
            return QStringLiteral("繁体");
        if (phrase->config == "t2s")
            return QStringLiteral("简体");
    }
    QString label = QString::fromStdU16String(wayLabel(way));
    // A file name reads better without brackets inside its own brackets, or arrows.
    label.remove(u'（').remove(u'）').replace(u'→', u'转');
    return label;
}

QString convertedFilePath(const QString &path, const QString &label,
                          const std::function<bool(const QString &)> &exists) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    // The extension starts at the last dot, unless the name starts there (.bashrc has none).
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString stem = folder + base + u'（' + label + u'）';
    for (int n = 1; n < 1000; ++n) {
        const QString candidate = stem + (n == 1 ? QString() : QStringLiteral("(%1)").arg(n)) + extension;
        if (!exists(candidate))
            return candidate;
    }
    return {};
}

QString conversionSummary(const std::vector<FileResult> &results, bool cancelled) {
    QStringList written, refused;
    for (const FileResult &r : results) {
        if (!r.output.isEmpty())
            written << QStringLiteral("  %1").arg(QFileInfo(r.output).fileName());
        else
            refused << QStringLiteral("  %1：%2").arg(QFileInfo(r.input).fileName(), r.why);
    }
    QString text;
    if (!written.isEmpty())
        text += QStringLiteral("已写入 %1 个文件：\n").arg(written.size()) + written.join(u'\n');
    if (!refused.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                QStringLiteral("未转换 %1 个文件：\n").arg(refused.size()) + refused.join(u'\n');
    if (cancelled)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                QStringLiteral("转换已取消，其余文件未转换。");
    return text.isEmpty() ? QStringLiteral("没有文件。") : text;
}

std::vector<FileResult> convertFiles(const QStringList &paths, const Way &way,
                                     const platform::TextServices &services,
                                     const std::function<bool(int, double)> &progress, bool &cancelled) {
    cancelled = false;
    std::vector<FileResult> results;
    const WayConverter way_ = converterFor(way, services);
    const QString label = wayFileLabel(way);
    for (int i = 0; i < paths.size(); ++i) {
        FileResult result{paths[i], {}, {}};
        if (!way_.converter) {
            result.why = way_.why;
            results.push_back(result);
            continue;
        }
        if (progress && !progress(i, 0.0)) {
            cancelled = true;
            break;
        }
        const QString output =
            convertedFilePath(paths[i], label, [](const QString &p) { return QFileInfo::exists(p); });
        if (output.isEmpty()) {
            result.why = QStringLiteral("旁边已有太多同名文件");
            results.push_back(result);
            continue;
        }
        const platform::DocumentJob job{
            *way_.converter, way_.options, {}, [&](double f) { return !progress || progress(i, f); }};
        const auto outcome = platform::convertDocumentFile(QFile::encodeName(paths[i]).toStdString(),
                                                           QFile::encodeName(output).toStdString(), job);
        if (outcome.status == platform::DocumentStatus::Cancelled) {
            cancelled = true;
            break;
        }
        if (outcome.ok())
            result.output = output;
        else
            result.why = whyNot(outcome);
        results.push_back(result);
    }
    return results;
}

} // namespace ui
