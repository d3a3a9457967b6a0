#pragma once

// Starting the program at login: an XDG autostart entry that runs `lanternfin --tray`.
//
// The entry may be the user's own (written by hand or by another tool, with their own Exec line
// and flags); it is never deleted or replaced then. Its state is read as desktops read it, and
// switched as the XDG autostart rules say:
//   absent                                   -> off; ticking writes our entry
//   our entry, as we write it                -> on;  unticking removes it
//   anyone's entry with Hidden=true          -> off; ticking removes that key, keeping every other line
//   X-GNOME-Autostart-enabled=false          -> off; ticking sets it to true
//   anyone else's entry, otherwise           -> on;  unticking adds Hidden=true, keeping every other line

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The entry's path: $XDG_CONFIG_HOME/autostart/lanternfin.desktop, with ~/.config for
// XDG_CONFIG_HOME when that is unset, empty or not an absolute path (as the XDG rules say).
std::string autostartEntryPath(std::string_view xdgConfigHome, std::string_view home);

// The program as the entry's Exec line names it: "lanternfin" when that name on PATH is
// `runningProgram` itself (`onPath`), else the absolute path of `runningProgram`, quoted as Exec
// lines quote ("/opt/my apps/lanternfin" -> "\"/opt/my apps/lanternfin\"").
std::string autostartProgram(std::string_view runningProgram, bool onPath);

// Our entry's whole text, starting `program` (as autostartProgram gives it) with --tray.
std::string autostartEntryText(std::string_view program = "lanternfin");

// Whether an entry with `text` starts the program at login: false when its [Desktop Entry] group
// says Hidden=true or X-GNOME-Autostart-enabled=false.
bool autostartEnabled(std::string_view text);

// Whether `text` is an entry exactly as we write it (for any program path): only such an entry
// may be removed.
bool isOurAutostartEntry(std::string_view text);

// Someone else's entry `text` switched on or off: Hidden=true added (or set) to switch it off;
// Hidden removed and X-GNOME-Autostart-enabled=false made true to switch it on. Every other line
// stays as it was; a missing [Desktop Entry] group is added at the top.
std::string switchedAutostartEntry(std::string_view text, bool enabled);

// The entry at one path.
class AutostartEntry {
public:
    // `program` is what our entry's Exec line starts.
    explicit AutostartEntry(QString path, std::string program = "lanternfin")
        : m_path(std::move(path)), m_program(std::move(program)) {}
    // The entry of this user's environment, for the program running now.
    static AutostartEntry forCurrentUser();
    const QString &path() const { return m_path; }
    // Whether a file is there.
    bool exists() const;
    // Whether the entry is there and starts the program at login (see autostartEnabled); false
    // for a file that is not a regular, readable entry.
    bool enabled() const;
    // Switches starting at login on or off as the rules above say (folders made as needed, files
    // replaced atomically); false with `error` set when the file system refuses, or when the
    // file there is not one that can be read as an entry (it is then left alone).
    bool set(bool enabled, QString &error);

private:
    QString m_path;
    std::string m_program;
};

} // namespace platform
