#pragma once

// The desktop services backed by Qt: QClipboard, QDesktopServices, QSystemTrayIcon, QCursor,
// QSettings.

#include "desktop.h"

#include <QHash>
#include <QIcon>
#include <QObject>

#include <QStringList>

#include <chrono>
#include <memory>

class QSystemTrayIcon;

namespace platform {

// The clipboard of this process's display. On X11 QClipboard waits, inside the event loop's
// thread, up to seconds for a clipboard owner that does not answer; so read() may ask a short-lived
// child process instead (readThrough), which leaves this process's event loop free, also to answer
// that child when this process is the owner itself.
class QtClipboard : public QObject, public Clipboard {
public:
    ~QtClipboard() override;
    QString text() const override;
    void setText(const QString &text) override;
    bool holdsOnly(const QString &text) const override;
    // Without readThrough, reads in this process at once; with it, runs the child and hands over
    // what it printed. A child that has not ended after the limit, or that prints more than the
    // most it may, is killed: the clipboard counts as unreadable then (ClipboardTooLarge for size).
    void read(std::function<void(ClipboardContents)> done) override;
    // From now on read() runs `program` with `arguments`, which must behave as printClipboard()
    // does, for at most `limit` and `maxBytes` of output.
    void readThrough(const QString &program, const QStringList &arguments, std::chrono::milliseconds limit,
                     std::size_t maxBytes = kMaxClipboardText);

private:
    QString m_program;
    QStringList m_arguments;
    std::chrono::milliseconds m_limit{0};
    std::size_t m_maxBytes = kMaxClipboardText;
};

// How printClipboard() ends, for the process that reads its output.
enum ClipboardPrintStatus {
    kPrintedOnlyText = 0,  // the text, and the clipboard holds nothing else
    kPrintedNoText = 1,    // nothing: the clipboard holds no text
    kPrintedTextAndMore = 2, // the text, and the clipboard holds something else besides (a picture, rich text)
    kPrintedNoAnswer = 3,  // nothing: the clipboard's owner did not answer in time
};

// Writes the clipboard's text to standard output as UTF-8 and returns how it went; for the child
// process of QtClipboard::readThrough. Needs a QGuiApplication.
int printClipboard();

class QtPageOpener : public PageOpener {
public:
    bool open(const QUrl &url) override;
};

class QtTrayIcon : public QObject, public TrayIcon {
public:
    QtTrayIcon(const QIcon &icon, const QString &tip);
    ~QtTrayIcon() override;
    void add() override;
    void remove() override;
    bool available() const override;
    QString tip() const override;
    void onMessage(std::function<void(int)> handler) override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::function<void(int)> m_handler;
};

class QtPointer : public Pointer {
public:
    QPoint cursor() const override;
    bool buttonHeld() const override;
    QRect screenAt(const QPoint &point) const override;
};

// QSettings in an INI file, by default the application's (~/.config/Lanternfin/Lanternfin.conf).
// A file at that path that is not a regular file (a FIFO would hang the start, a device or a
// folder would be read or written through) is never opened: it is reported once on stderr, the
// program runs with its defaults, and what it sets is kept for this run only.
class QtSettings : public Settings {
public:
    explicit QtSettings(QString path = defaultPath());
    QString value(const QString &key) const override;
    void setValue(const QString &key, const QString &value) override;
    // Where QSettings keeps the application's settings on this system.
    static QString defaultPath();

private:
    bool usable() const;
    QString m_path;
    mutable bool m_reported = false;
    QHash<QString, QString> m_thisRun;
};

} // namespace platform
