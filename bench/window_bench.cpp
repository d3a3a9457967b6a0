// The window's speed, offscreen or under Xvfb:
//   window_bench convert CORPUS   time from a click on 繁体 to the converted text shown, for 1 MB
//                                 and 10 MB of the corpus, beside setPlainText of the same text
//                                 (the floor), undo included; and the same through the phrase way
//                                 词组 (s2t, loaded before), beside the click by characters.
//   window_bench hostile CORPUS   every workspace command on a 20 MB workspace: time and the peak
//                                 memory above the level before the command.
//   window_bench startup          prints the wall-clock time (ns) of the window's first paint
//                                 and the RSS (KB) then; bench/window_startup.sh uses it.
//   window_bench startup-minimal  the same for a minimal window: a text box and 12 buttons.

#include "platform/character_maps.h"
#include "platform/qt_desktop.h"
#include "platform/text_services.h"
#include "ui/form1.h"
#include "ui/resources.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Prints the time and RSS at the first paint of `w`, then quits.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld %ld\n", nowNs(), rssKb());
                QApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_done = false;
};

// Settings held for the run only, so that a benchmark never changes the user's.
class MemorySettings : public platform::Settings {
public:
    QString value(const QString &key) const override { return m_values.value(key); }
    void setValue(const QString &key, const QString &value) override { m_values[key] = value; }

private:
    QMap<QString, QString> m_values;
};

struct Services {
    platform::TextServices text = platform::loadTextServices(platform::openccDataDir());
    platform::QtClipboard clipboard;
    platform::QtPageOpener pages;
    platform::QtTrayIcon tray{ui::programIcon(), QString::fromLatin1(ui::kTrayTip)};
    platform::QtPointer pointer;
    MemorySettings settings;
    ui::Form1Services form() { return {clipboard, pages, tray, pointer, text, settings}; }
};

int convert(const char *corpusPath) {
    QFile f(QString::fromLocal8Bit(corpusPath));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", corpusPath);
        return 2;
    }
    const QByteArray all = f.readAll();
    Services s;
    ui::Form1 form(s.form());
    form.show();
    QPlainTextEdit floorEdit;
    floorEdit.setFont(form.Text1->font());
    floorEdit.resize(form.Text1->size());
    floorEdit.show();
    QApplication::processEvents();
    // The phrase way loads its configuration on first use; that is not what is measured.
    form.Text1->setPlainText(QStringLiteral("头发"));
    form.ways(form.cmdft)->run(QStringLiteral("s2t"));

    for (const qsizetype mb : {1, 10}) {
        QByteArray bytes = all.left(mb * 1024 * 1024);
        while (!bytes.isEmpty() && (static_cast<unsigned char>(bytes.back()) & 0xC0) == 0x80)
            bytes.chop(1);
        if (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) >= 0xC0)
            bytes.chop(1);
        const QString text = QString::fromUtf8(bytes);
        double floorMs = 1e9, clickMs = 1e9, undoMs = 1e9, phraseMs = 1e9;
        for (int run = 0; run < 3; ++run) {
            floorEdit.clear();
            QApplication::processEvents();
            QElapsedTimer t;
            t.start();
            floorEdit.setPlainText(text);
            QApplication::processEvents();
            floorMs = std::min(floorMs, t.nsecsElapsed() / 1e6);

            form.Text1->setPlainText(text);
            QApplication::processEvents();
            t.restart();
            form.cmdft->click();
            QApplication::processEvents();
            clickMs = std::min(clickMs, t.nsecsElapsed() / 1e6);
            t.restart();
            form.Text1->undo();
            QApplication::processEvents();
            undoMs = std::min(undoMs, t.nsecsElapsed() / 1e6);

            form.Text1->setPlainText(text);
            QApplication::processEvents();
            t.restart();
            form.ways(form.cmdft)->run(QStringLiteral("s2t"));
            QApplication::processEvents();
            phraseMs = std::min(phraseMs, t.nsecsElapsed() / 1e6);
        }
        std::printf("%2lld MB: setPlainText (floor) %8.1f ms | click 繁体 to shown %8.1f ms (%.2fx floor) | "
                    "undo %8.1f ms\n",
                    static_cast<long long>(mb), floorMs, clickMs, clickMs / floorMs, undoMs);
        std::printf("%2lld MB: 繁体 词组 (s2t) to shown %8.1f ms (%.2fx the click by characters)\n",
                    static_cast<long long>(mb), phraseMs, phraseMs / clickMs);
    }
    return 0;
}

long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

int hostile(const char *corpusPath) {
    QFile f(QString::fromLocal8Bit(corpusPath));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", corpusPath);
        return 2;
    }
    const QByteArray once = f.readAll();
    const QString text = QString::fromUtf8(once + once); // about 20 MB of UTF-8
    Services s;
    ui::Form1 form(s.form());
    form.show();
    QApplication::processEvents();
    std::printf("workspace: %.1f MB UTF-8, %.1f MB UTF-16\n", 2.0 * once.size() / 1048576,
                text.size() * 2.0 / 1048576);
    struct Command {
        const char *name;
        QPushButton *button;
    };
    const Command commands[] = {
        {"繁体", form.cmdft},    {"简体", form.cmdjt},        {"大写", form.cmdtol},
        {"小写", form.cmdtos},   {"金额大写", form.cmdmoney}, {"汉字拼音", form.CmdGetPY},
        {"清空", form.cmdclear}, {"全部复制", form.cmdcopy},  {"粘贴", form.cmdpaste}};
    for (const auto &c : commands) {
        form.Text1->setPlainText(text);
        form.Text1->document()->clearUndoRedoStacks();
        QApplication::clipboard()->setText(text.left(1 << 20));
        QApplication::processEvents();
        resetPeak();
        const long before = rssKb();
        QElapsedTimer t;
        t.start();
        c.button->click();
        QApplication::processEvents();
        const double ms = t.nsecsElapsed() / 1e6;
        const long extra = peakKb() - before;
        std::printf("%-10s %8.1f ms   peak extra memory %7.1f MB (%.2fx the UTF-16 text)\n", c.name, ms,
                    extra / 1024.0, extra * 1024.0 / (text.size() * 2.0));
    }
    // What the document alone needs for the pinyin command's result: the floor for that command.
    form.Text1->setPlainText(text);
    form.CmdGetPY->click();
    const QString result = form.workspaceText();
    form.Text1->clear();
    form.Text1->document()->clearUndoRedoStacks();
    QApplication::processEvents();
    resetPeak();
    const long before = rssKb();
    QElapsedTimer t;
    t.start();
    form.Text1->setPlainText(result);
    QApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf(
        "floor for 汉字拼音: setPlainText of its %.1f MB result %8.1f ms, peak extra memory %.1f MB\n",
        result.size() * 2.0 / 1048576, ms, (peakKb() - before) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "convert" && argc > 2)
        return convert(argv[2]);
    if (mode == "hostile" && argc > 2)
        return hostile(argv[2]);
    FirstPaint probe;
    if (mode == "startup") {
        Services s;
        ui::Form1 form(s.form());
        form.installEventFilter(&probe);
        form.show();
        return QApplication::exec();
    }
    if (mode == "startup-minimal") {
        QWidget w;
        auto *layout = new QVBoxLayout(&w);
        layout->addWidget(new QPlainTextEdit);
        for (int i = 0; i < 12; ++i)
            layout->addWidget(new QPushButton(QStringLiteral("按钮 %1").arg(i)));
        w.installEventFilter(&probe);
        w.show();
        return QApplication::exec();
    }
    std::fprintf(stderr, "usage: window_bench convert CORPUS | hostile CORPUS | startup | startup-minimal\n");
    return 2;
}
