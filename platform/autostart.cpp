#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

std::string autostartEntryPath(std::string_view xdgConfigHome, std::string_view home) {
    std::string config = !xdgConfigHome.empty() && xdgConfigHome.front() == '/'
                             ? std::string(xdgConfigHome)
                             : std::string(home) + "/.config";
    while (!config.empty() && config.back() == '/')
        config.pop_back();
    return config + "/autostart/lanternfin.desktop";
}

std::string autostartEntryText() {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lanternfin\n"
           "Comment=Chinese office text tools in the notification area\n"
           "Exec=lanternfin --tray\n"
           "Icon=lanternfin\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

AutostartEntry AutostartEntry::forCurrentUser() {
    return AutostartEntry(QString::fromStdString(autostartEntryPath(
        qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(), QDir::homePath().toStdString())));
}

bool AutostartEntry::exists() const {
    return QFileInfo::exists(m_path);
}

bool AutostartEntry::set(bool enabled, QString &error) {
    if (!enabled) {
        QFile file(m_path);
        if (!file.exists() || file.remove())
            return true;
        error = file.errorString();
        return false;
    }
    if (!QDir().mkpath(QFileInfo(m_path).path())) {
        error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(m_path).path());
        return false;
    }
    QSaveFile file(m_path);
    const std::string text = autostartEntryText();
    if (file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        file.commit())
        return true;
    error = file.errorString();
    return false;
}

} // namespace platform
