#pragma once

// Starting the program at login: an XDG autostart entry that runs `lanternfin --tray`.

#include <QString>

#include <string>
#include <string_view>

namespace platform {

// The entry's path: $XDG_CONFIG_HOME/autostart/lanternfin.desktop, with ~/.config for
// XDG_CONFIG_HOME when that is unset, empty or not an absolute path (as the XDG rules say).
std::string autostartEntryPath(std::string_view xdgConfigHome, std::string_view home);

// The entry's whole text.
std::string autostartEntryText();

// The entry at one path.
class AutostartEntry {
public:
    explicit AutostartEntry(QString path) : m_path(std::move(path)) {}
    // The entry of this user's environment.
    static AutostartEntry forCurrentUser();
    const QString &path() const { return m_path; }
    // Whether the entry is there.
    bool exists() const;
    // Writes the entry (folders made as needed, the file replaced whole) or removes it; false
    // with `error` set when the file system refuses.
    bool set(bool enabled, QString &error);

private:
    QString m_path;
};

} // namespace platform
