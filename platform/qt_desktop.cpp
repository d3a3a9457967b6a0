#include "qt_desktop.h"

#include <algorithm>

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSystemTrayIcon>

namespace platform {

QString QtClipboard::text() const {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    // mimeData() is null after clear() on some platforms.
    if (!data || !data->hasText())
        return {};
    return data->text();
}

void QtClipboard::setText(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
}

bool QtClipboard::holdsOnly(const QString &text) const {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText() || data->text() != text)
        return false;
    // Plain text under its MIME name or the X11 names of the same text; anything else (a
    // picture, HTML, a file list) would be lost by replacing it.
    static const QStringList kPlainNames{QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"),
                                         QStringLiteral("TEXT"), QStringLiteral("COMPOUND_TEXT")};
    const QStringList formats = data->formats();
    return std::all_of(formats.begin(), formats.end(), [](const QString &f) {
        return f.startsWith(QLatin1String("text/plain")) || kPlainNames.contains(f);
    });
}

bool QtPageOpener::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

QtTrayIcon::QtTrayIcon(const QIcon &icon, const QString &tip)
    : m_icon(std::make_unique<QSystemTrayIcon>(icon)) {
    m_icon->setToolTip(tip);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason r) {
                         if (!m_handler)
                             return;
                         // Clicks arrive on the press: Trigger for the left button, Context for the right one
                         // and, for a double click, Trigger then DoubleClick, so a double click acts twice.
                         switch (r) {
                         case QSystemTrayIcon::Trigger:
                         case QSystemTrayIcon::DoubleClick:
                             m_handler(514);
                             break;
                         case QSystemTrayIcon::Context:
                             m_handler(517);
                             break;
                         default:
                             break;
                         }
                     });
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::add() {
    m_icon->show();
}

void QtTrayIcon::remove() {
    m_icon->hide();
}

bool QtTrayIcon::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QString QtTrayIcon::tip() const {
    return m_icon->toolTip();
}

void QtTrayIcon::onMessage(std::function<void(int)> handler) {
    m_handler = std::move(handler);
}

QPoint QtPointer::cursor() const {
    return QCursor::pos();
}

QRect QtPointer::screenAt(const QPoint &point) const {
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
}

QString QtSettings::value(const QString &key) const {
    return QSettings().value(key).toString();
}

void QtSettings::setValue(const QString &key, const QString &value) {
    QSettings().setValue(key, value);
}

} // namespace platform
