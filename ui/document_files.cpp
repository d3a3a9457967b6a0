#include "ui/document_files.h"

#include "core/messages.h"
#include "platform/document_file.h"
#include "platform/folder_mirror.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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
            c.why = QString::fromStdString(core::wording(core::MessageId::CannotLoad, core::Language::Chinese,
                                                         {services.phrases->failedPath(phrase->config)}));
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

QString chinese(const core::Message &message) {
    return QString::fromStdString(message.in(core::Language::Chinese));
}

std::string localPath(const QString &path) {
    return QFile::encodeName(path).toStdString();
}

// The folder `path` mirrored into a new folder beside it. The new folder is made first, open only
// to its owner while it fills (so that no one sees a file before it has its mode), and gets the
// source's permissions at the end.
void convertFolder(const QString &path, const WayConverter &way, const QString &label,
                   const std::function<bool(double)> &progress, std::vector<FileResult> &results,
                   bool &cancelled) {
    QString input = path;
    while (input.size() > 1 && input.endsWith(u'/'))
        input.chop(1);
    const QString name = QFileInfo(input).fileName();
    FileResult folder{input, {}, {}, {}};
    QString output;
    while (output.isEmpty()) {
        const QString candidate = convertedFolderPath(
            input, label, [](const QString &p) { return QFileInfo::exists(p) || QFileInfo(p).isSymLink(); });
        if (candidate.isEmpty()) {
            folder.why = chinese(core::MessageId::TooManyFoldersBeside);
            results.push_back(folder);
            return;
        }
        if (::mkdir(localPath(candidate).c_str(), 0700) == 0)
            output = candidate;
        else if (errno != EEXIST) { // EEXIST: taken meanwhile, the next name is tried
            folder.why = chinese({core::MessageId::CannotCreateFolder, {}, {core::systemError(errno)}});
            results.push_back(folder);
            return;
        }
    }
    folder.output = output;
    const std::size_t at = results.size();
    results.push_back(folder);

    struct stat made {};
    platform::MirrorOptions options;
    if (::stat(localPath(output).c_str(), &made) == 0) {
        options.skip = true;
        options.skipDev = made.st_dev;
        options.skipIno = made.st_ino;
    }
    const std::string source = localPath(input);
    const QString outputName = QFileInfo(output).fileName();
    const platform::MirrorPlan plan =
        platform::planMirror({{source, localPath(outputName)}}, localPath(QFileInfo(output).path()), options);
    // An entry is named from the folder on: 资料/子目录/文件.
    const auto refuse = [&](const std::string &entry, const QString &why) {
        const QString shown =
            name + QFile::decodeName(QByteArray::fromStdString(entry.substr(source.size())));
        results.push_back({QFile::decodeName(QByteArray::fromStdString(entry)), {}, why, shown});
    };
    for (const platform::MirrorProblem &p : plan.problems)
        refuse(p.path, chinese(p.why));

    std::uint64_t total = 0, done = 0;
    for (const platform::MirrorEntry &e : plan.entries)
        if (e.type == platform::MirrorEntry::Type::File)
            total += static_cast<std::uint64_t>(e.st.st_size);
    const auto report = [&](std::uint64_t bytes) {
        return !progress || progress(total ? static_cast<double>(bytes) / static_cast<double>(total) : 0.0);
    };
    int converted = 0, copied = 0, links = 0;
    platform::FolderSyncs folderSyncs; // each folder synced once, after its files
    for (const platform::MirrorEntry &e : plan.entries) {
        if (!report(done)) {
            cancelled = true;
            break;
        }
        if (e.type == platform::MirrorEntry::Type::Folder) {
            const core::Message why = platform::makeMirrorFolder(e);
            if (!why.empty())
                refuse(e.src, chinese(why));
            continue;
        }
        if (e.type == platform::MirrorEntry::Type::Link) {
            const core::Message why = platform::makeMirrorLink(e);
            if (why.empty())
                ++links;
            else
                refuse(e.src, chinese(why));
            continue;
        }
        const auto size = static_cast<std::uint64_t>(e.st.st_size);
        if (platform::fileKindOf(e.src, size) == platform::FileKind::Other) {
            std::uint64_t copiedBytes = 0;
            bool stopped = false;
            const core::Message why = platform::copyMirrorFile(
                e, [&](std::uint64_t n) { return report(done + (copiedBytes += n)); }, &stopped, &folderSyncs);
            if (stopped) {
                cancelled = true;
                break;
            }
            if (why.empty())
                ++copied;
            else
                refuse(e.src, chinese(why));
        } else {
            const platform::DocumentJob job{
                *way.converter, way.options, {}, [&](double f) {
                    return report(done + static_cast<std::uint64_t>(f * static_cast<double>(size)));
                }};
            const auto outcome =
                platform::convertDocumentFile(e.src, e.dst, job, &e.st, &folderSyncs, e.root, e.held.get());
            if (outcome.status == platform::DocumentStatus::Cancelled) {
                cancelled = true;
                break;
            }
            if (outcome.ok()) {
                platform::keepMirrorMode(e);
                ++converted;
            } else {
                refuse(e.src, whyNot(outcome));
            }
        }
        done += size;
    }
    folderSyncs.syncAll();
    platform::finishMirrorFolders(plan.entries);
    results[at].shown = cancelled ? chinese({core::MessageId::FolderCancelled, {outputName.toStdString()}})
                                  : chinese({core::MessageId::FolderWritten,
                                             {outputName.toStdString(), std::to_string(converted),
                                              std::to_string(copied), std::to_string(links)}});
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

QString convertedFolderPath(const QString &path, const QString &label,
                            const std::function<bool(const QString &)> &exists) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const QString stem = folder + u'（' + label + u'）';
    for (int n = 1; n < 1000; ++n) {
        const QString candidate = stem + (n == 1 ? QString() : QStringLiteral("(%1)").arg(n));
        if (!exists(candidate))
            return candidate;
    }
    return {};
}

QString conversionSummary(const std::vector<FileResult> &results, bool cancelled, int lines) {
    QStringList written, refused;
    bool folders = false; // a folder is not counted as a file
    for (const FileResult &r : results) {
        folders = folders || (!r.output.isEmpty() && !r.shown.isEmpty());
        if (!r.output.isEmpty())
            written << QStringLiteral("  %1").arg(r.shown.isEmpty() ? QFileInfo(r.output).fileName()
                                                                    : r.shown);
        else
            refused << QStringLiteral("  %1：%2")
                           .arg(r.shown.isEmpty() ? QFileInfo(r.input).fileName() : r.shown, r.why);
    }
    const auto cap = [lines](QStringList &list) {
        if (lines >= 0 && list.size() > lines) {
            const auto more = static_cast<std::size_t>(list.size() - lines);
            list = list.mid(0, lines);
            list << QStringLiteral("  ") + chinese({core::MessageId::SummaryMore, {std::to_string(more)}});
        }
    };
    const qsizetype writtenCount = written.size(), refusedCount = refused.size();
    cap(written);
    cap(refused);
    QString text;
    if (!written.isEmpty())
        text += (folders ? QStringLiteral("已写入：\n")
                         : QStringLiteral("已写入 %1 个文件：\n").arg(writtenCount)) +
                written.join(u'\n');
    if (!refused.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                QStringLiteral("未转换 %1 个文件：\n").arg(refusedCount) + refused.join(u'\n');
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
        FileResult result{paths[i], {}, {}, {}};
        if (!way_.converter) {
            result.why = way_.why;
            results.push_back(result);
            continue;
        }
        if (progress && !progress(i, 0.0)) {
            cancelled = true;
            break;
        }
        if (QFileInfo(paths[i]).isDir()) {
            convertFolder(
                paths[i], way_, label, [&](double f) { return !progress || progress(i, f); }, results,
                cancelled);
            if (cancelled)
                break;
            continue;
        }
        const QString output =
            convertedFilePath(paths[i], label,
                              [](const QString &p) { return QFileInfo::exists(p) || QFileInfo(p).isSymLink(); });
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
