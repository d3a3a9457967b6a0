#pragma once

// The desktop services the window rests on, one small interface each, so that the window can be
// built with fakes in tests. app/main.cpp builds the Qt-backed ones (qt_desktop.h).

#include "core/messages.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QUrl>

#include <cstddef>
#include <functional>
#include <string>

namespace platform {

// The most text a clipboard command takes: bytes of UTF-8 from the process that reads the
// clipboard (nothing more is held), UTF-16 units of a text read in this process. Whoever owns the
// clipboard decides its size; more than this is refused, not held and converted.
inline constexpr std::size_t kMaxClipboardText = std::size_t(64) << 20;

// What the clipboard held at one moment, as far as a text command needs it.
struct ClipboardContents {
    bool read = true;      // false when it could not be read at all; `why` says why
    QString text;          // its text; empty when it holds none
    bool onlyText = false; // it holds `text` as plain text and nothing besides (no picture, no rich text)
    core::Message why;     // why it could not be read, worded where it is shown
};

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text; the empty text when it holds none (empty, a picture, unreadable).
    virtual QString text() const = 0;
    // Replaces whatever the clipboard holds by `text`.
    virtual void setText(const QString &text) = 0;
    // Whether the clipboard holds `text` as plain text and nothing besides (no picture, no rich
    // text): what can be replaced without losing anything. False when it cannot tell.
    virtual bool holdsOnly(const QString &text) const { return this->text() == text; }
    // Reads the clipboard and hands what it holds to `done`, later, from the event loop, where
    // reading may have to wait for the program that owns the clipboard; the caller's event loop
    // keeps running meanwhile. `done` is called exactly once. This default reads at once.
    virtual void read(std::function<void(ClipboardContents)> done) {
        ClipboardContents contents;
        contents.text = text();
        contents.onlyText = !contents.text.isEmpty() && holdsOnly(contents.text);
        done(std::move(contents));
    }
};

// Opens a web page in the user's browser without waiting.
class PageOpener {
public:
    virtual ~PageOpener() = default;
    // False when no browser could be asked; the caller carries on either way.
    virtual bool open(const QUrl &url) = 0;
};

// The icon in the notification area.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Puts the icon into the notification area (again); does nothing without one.
    virtual void add() = 0;
    // Takes the icon out; does nothing when it is not there.
    virtual void remove() = 0;
    // Whether a notification area is there to show the icon.
    virtual bool available() const = 0;
    // The tip text the icon shows.
    virtual QString tip() const = 0;
    // `handler` receives the mouse message of each click on the icon: 514 for the left button,
    // 517 for the right one.
    virtual void onMessage(std::function<void(int)> handler) = 0;
};

// The mouse cursor and the screens under it.
class Pointer {
public:
    virtual ~Pointer() = default;
    // The cursor's position in global pixels.
    virtual QPoint cursor() const = 0;
    // True while a mouse button is held, wherever the pointer is (also on a window manager's
    // frame); false when the system cannot tell.
    virtual bool buttonHeld() const = 0;
    // The geometry (global pixels) of the screen that holds `point`; the primary screen's when none does.
    virtual QRect screenAt(const QPoint &point) const = 0;
};

// Small settings the user chooses and expects to find again at the next start.
class Settings {
public:
    virtual ~Settings() = default;
    // The value stored under `key`; the empty text when none is stored or the store is unreadable.
    virtual QString value(const QString &key) const = 0;
    // Stores `value` under `key`; a store that cannot be written keeps it for this run only.
    virtual void setValue(const QString &key, const QString &value) = 0;
};

} // namespace platform
