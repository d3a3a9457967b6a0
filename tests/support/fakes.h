#pragma once

// Fakes of the desktop services, shared by the window tests.

#include "platform/desktop.h"

#include <QList>
#include <QMap>
#include <QUrl>

#include <deque>
#include <functional>
#include <string>
#include <utility>

namespace testsupport {

class FakeClipboard : public platform::Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override {
        m_text = text;
        picture = false;
        ++writes;
    }
    bool holdsOnly(const QString &text) const override { return !picture && m_text == text; }
    QString m_text;
    bool picture = false; // a picture copied by another program: no text, nothing to lose
    int writes = 0;
};

// A clipboard whose owner is slow: a read waits until the test answers it, as a read through a child
// process answers later, from the event loop.
class SlowClipboard : public FakeClipboard {
public:
    void read(std::function<void(platform::ClipboardContents)> done) override {
        waiting.push_back(std::move(done));
    }
    // Answers the oldest read waiting with what the clipboard holds now; false when none waits.
    bool answer() {
        platform::ClipboardContents contents;
        contents.text = m_text;
        contents.onlyText = holdsOnly(m_text);
        return answerWith(std::move(contents));
    }
    // Answers the oldest read waiting as a clipboard that could not be read, for `why`.
    bool fail(core::Message why) {
        platform::ClipboardContents contents;
        contents.read = false;
        contents.why = std::move(why);
        return answerWith(std::move(contents));
    }
    std::deque<std::function<void(platform::ClipboardContents)>> waiting;

private:
    bool answerWith(platform::ClipboardContents contents) {
        if (waiting.empty())
            return false;
        auto done = std::move(waiting.front());
        waiting.pop_front();
        done(std::move(contents));
        return true;
    }
};

class FakePageOpener : public platform::PageOpener {
public:
    bool open(const QUrl &url) override {
        opened.append(url);
        return false;
    }
    QList<QUrl> opened;
};

class FakeTray : public platform::TrayIcon {
public:
    void add() override {
        ++adds;
        shown = true;
    }
    void remove() override {
        ++removes;
        shown = false;
    }
    bool available() const override { return isAvailable; }
    QString tip() const override { return QStringLiteral("Lanternfin"); }
    void onMessage(std::function<void(int)> handler) override { this->handler = std::move(handler); }
    void click(int message) { handler(message); }

    int adds = 0;
    int removes = 0;
    bool shown = false;
    bool isAvailable = true;
    std::function<void(int)> handler;
};

class FakePointer : public platform::Pointer {
public:
    QPoint cursor() const override { return position; }
    bool buttonHeld() const override { return held; }
    // The screen holding `point`, the first one when none does.
    QRect screenAt(const QPoint &point) const override {
        for (const QRect &s : screens)
            if (s.contains(point))
                return s;
        return screens.front();
    }
    QPoint position{0, 0};
    bool held = false;
    QList<QRect> screens{QRect(0, 0, 1920, 1080)};
};

class FakeSettings : public platform::Settings {
public:
    QString value(const QString &key) const override { return values.value(key); }
    void setValue(const QString &key, const QString &value) override { values[key] = value; }
    QMap<QString, QString> values;
};

} // namespace testsupport
