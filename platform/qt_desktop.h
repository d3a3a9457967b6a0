#pragma once

// The desktop services backed by Qt: QClipboard, QDesktopServices, QSystemTrayIcon, QCursor,
// QSettings.

#include "desktop.h"

#include <QIcon>
#include <QObject>

#include <memory>

class QSystemTrayIcon;

namespace platform {

class QtClipboard : public Clipboard {
public:
    QString text() const override;
    void setText(const QString &text) override;
    bool holdsOnly(const QString &text) const override;
};

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
    QRect screenAt(const QPoint &point) const override;
};

// QSettings under the application's organisation and name (~/.config/Lanternfin/Lanternfin.conf).
class QtSettings : public Settings {
public:
    QString value(const QString &key) const override;
    void setValue(const QString &key, const QString &value) override;
};

} // namespace platform
