#include "autostart.h"

#include "atomic_file.h"
#include "core/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The system's reason for `error` as the window shows it, in Chinese.
QString systemReason(int error) {
    return QString::fromStdString(core::systemError(error).in(core::Language::Chinese));
}

constexpr std::string_view kGroup = "[Desktop Entry]";
constexpr std::string_view kTray = " --tray";
// An entry is a few lines; anything far larger is not one.
constexpr std::size_t kMaxEntrySize = 256 * 1024;

// The lines of `text`, each without its "\n"; a final line break gives no empty last line.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool isGroupHeader(std::string_view line) {
    return !trimmed(line).empty() && trimmed(line).front() == '[';
}

// The key of a "Key=Value" line, empty for other lines.
std::string_view keyOf(std::string_view line) {
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() == '#' || t.front() == '[')
        return {};
    const std::size_t equals = t.find('=');
    return equals == std::string_view::npos ? std::string_view() : trimmed(t.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : trimmed(line.substr(equals + 1));
}

// The [first, end) range of the lines of the [Desktop Entry] group, after its header; nullopt
// when there is none.
std::optional<std::pair<std::size_t, std::size_t>> mainGroup(const std::vector<std::string_view> &lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trimmed(lines[i]) != kGroup)
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !isGroupHeader(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

// The value of `key` in the [Desktop Entry] group; nullopt when it is not there.
std::optional<std::string_view> mainValue(std::string_view text, std::string_view key) {
    const std::vector<std::string_view> lines = linesOf(text);
    const auto group = mainGroup(lines);
    if (!group)
        return std::nullopt;
    std::optional<std::string_view> value;
    for (std::size_t i = group->first; i < group->second; ++i)
        if (keyOf(lines[i]) == key)
            value = valueOf(lines[i]); // the last one counts, as desktops read it
    return value;
}

// Reads the entry at `path`: only a regular file of a sane size, without waiting on a FIFO.
std::optional<std::string> readEntry(const QString &path, QString &error) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = QStringLiteral("%1: %2").arg(path, systemReason(errno));
        return std::nullopt;
    }
    struct stat st {};
    std::optional<std::string> text;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > kMaxEntrySize) {
        error = QString::fromStdString(
            core::wording(core::MessageId::NotAnAutostartEntry, core::Language::Chinese, {path.toStdString()}));
    } else {
        text.emplace();
        char buf[4096];
        ssize_t got;
        while ((got = ::read(fd, buf, sizeof buf)) > 0 && text->size() <= kMaxEntrySize)
            text->append(buf, static_cast<std::size_t>(got));
        if (got < 0) {
            error = QStringLiteral("%1: %2").arg(path, systemReason(errno));
            text.reset();
        }
    }
    ::close(fd);
    return text;
}

bool writeEntry(const QString &path, const std::string &text, QString &error) {
    if (!QDir().mkpath(QFileInfo(path).path())) {
        error = QString::fromStdString(core::wording(core::MessageId::CannotMakeFolder, core::Language::Chinese,
                                                     {QFileInfo(path).path().toStdString()}));
        return false;
    }
    AtomicFile file(QFile::encodeName(path).toStdString());
    bool ok = file.fd() >= 0;
    for (std::string_view rest = text; ok && !rest.empty();) {
        const ssize_t done = ::write(file.fd(), rest.data(), rest.size());
        if (done < 0 && errno == EINTR)
            continue;
        ok = done > 0;
        if (ok)
            rest.remove_prefix(static_cast<std::size_t>(done));
    }
    if (ok && file.commit())
        return true;
    error = QStringLiteral("%1: %2").arg(
        path, file.why().empty() ? systemReason(errno)
                                 : QString::fromStdString(file.why().in(core::Language::Chinese)));
    return false;
}

} // namespace

std::string autostartEntryPath(std::string_view xdgConfigHome, std::string_view home) {
    std::string config = !xdgConfigHome.empty() && xdgConfigHome.front() == '/'
                             ? std::string(xdgConfigHome)
                             : std::string(home) + "/.config";
    while (!config.empty() && config.back() == '/')
        config.pop_back();
    return config + "/autostart/lanternfin.desktop";
}

std::string autostartProgram(std::string_view runningProgram, bool onPath) {
    if (onPath)
        return "lanternfin";
    // An argument with a reserved character is quoted, and inside the quotes ", `, $ and \ get a
    // backslash; then, as in any string value of the file, a backslash is written twice. A % is
    // doubled so that it is no field code.
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = runningProgram.find_first_of(kReserved) != std::string_view::npos;
    std::string arg;
    for (char c : runningProgram) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            arg += '\\';
        arg += c;
    }
    if (quote)
        arg = '"' + arg + '"';
    std::string value;
    for (char c : arg) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else if (c == '%')
            value += "%%";
        else
            value += c;
    }
    return value;
}

std::string autostartEntryText(std::string_view program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lanternfin\n"
           "Comment=Chinese office text tools in the notification area\n"
           "Exec=" +
           std::string(program) + std::string(kTray) +
           "\n"
           "Icon=lanternfin\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool autostartEnabled(std::string_view text) {
    return mainValue(text, "Hidden") != "true" && mainValue(text, "X-GNOME-Autostart-enabled") != "false";
}

bool isOurAutostartEntry(std::string_view text) {
    const std::optional<std::string_view> exec = mainValue(text, "Exec");
    if (!exec || exec->size() <= kTray.size() || exec->substr(exec->size() - kTray.size()) != kTray)
        return false;
    return text == autostartEntryText(exec->substr(0, exec->size() - kTray.size()));
}

std::string switchedAutostartEntry(std::string_view text, bool enabled) {
    const std::vector<std::string_view> lines = linesOf(text);
    const auto group = mainGroup(lines);
    if (!group)
        return std::string(kGroup) + "\n" + (enabled ? "" : "Hidden=true\n") + std::string(text);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool inGroup = i >= group->first && i < group->second;
        const std::string_view key = inGroup ? keyOf(lines[i]) : std::string_view();
        std::string line(lines[i]);
        if (key == "Hidden") {
            if (enabled)
                continue;
            line = "Hidden=true";
        } else if (enabled && key == "X-GNOME-Autostart-enabled" && valueOf(lines[i]) == "false") {
            line = "X-GNOME-Autostart-enabled=true";
        }
        out += line;
        out += '\n';
        if (i + 1 == group->first && !enabled && !mainValue(text, "Hidden"))
            out += "Hidden=true\n";
    }
    if (!text.empty() && text.back() != '\n')
        out.pop_back();
    return out;
}

AutostartEntry AutostartEntry::forCurrentUser() {
    const QString running = QCoreApplication::applicationFilePath();
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("lanternfin"));
    const bool same = !onPath.isEmpty() && !running.isEmpty() &&
                      QFileInfo(onPath).canonicalFilePath() == QFileInfo(running).canonicalFilePath();
    return AutostartEntry(
        QString::fromStdString(autostartEntryPath(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(),
                                                  QDir::homePath().toStdString())),
        autostartProgram(running.toStdString(), same || running.isEmpty()));
}

bool AutostartEntry::exists() const {
    return QFileInfo::exists(m_path);
}

bool AutostartEntry::enabled() const {
    if (!exists())
        return false;
    QString error;
    const std::optional<std::string> text = readEntry(m_path, error);
    return text && autostartEnabled(*text);
}

bool AutostartEntry::set(bool enabled, QString &error) {
    if (!exists())
        return !enabled || writeEntry(m_path, autostartEntryText(m_program), error);
    const std::optional<std::string> text = readEntry(m_path, error);
    if (!text)
        return false;
    if (autostartEnabled(*text) == enabled)
        return true;
    // Only our own entry is ever removed; anyone else's keeps every line but the switch.
    if (!enabled && isOurAutostartEntry(*text)) {
        if (::unlink(QFile::encodeName(m_path).constData()) == 0)
            return true;
        error = QStringLiteral("%1: %2").arg(m_path, systemReason(errno));
        return false;
    }
    return writeEntry(m_path, switchedAutostartEntry(*text, enabled), error);
}

} // namespace platform
