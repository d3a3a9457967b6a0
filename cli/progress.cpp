#include "cli/progress.h"

#include "platform/message_language.h"

#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

std::string megabytes(std::uint64_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return buf;
}

} // namespace

std::string clockText(double seconds) {
    const long s = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
    char buf[32];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    return buf;
}

std::string progressLine(const ProgressSnapshot &at, core::Language language) {
    using core::MessageId;
    const auto word = [language](MessageId id, std::string arg) {
        return core::wording(id, language, {arg});
    };
    std::string line;
    if (at.filesTotal > 0)
        line = core::wording(MessageId::ProgressFiles, language,
                             {std::to_string(at.filesDone), std::to_string(at.filesTotal)});
    line += megabytes(at.bytesDone);
    if (at.bytesTotal > 0)
        line += word(MessageId::ProgressOf, megabytes(at.bytesTotal));
    const double rate = at.seconds > 0 ? static_cast<double>(at.bytesDone) / at.seconds : 0;
    line += word(MessageId::ProgressRate, megabytes(static_cast<std::uint64_t>(rate)));
    if (at.bytesTotal > 0 && rate > 0 && at.bytesDone <= at.bytesTotal)
        line += word(MessageId::ProgressLeft,
                     clockText(static_cast<double>(at.bytesTotal - at.bytesDone) / rate));
    return line;
}

Progress::Progress(Mode mode, int fd, std::ostream &messages)
    : m_mode(mode), m_fd(fd), m_messages(messages), m_language(platform::messageLanguage()) {}

Progress::~Progress() {
    stop();
}

Progress::Mode Progress::modeFor(int fd, bool force, bool silence) {
    if (silence)
        return Mode::Off;
    if (::isatty(fd))
        return Mode::Terminal;
    return force ? Mode::Log : Mode::Off;
}

void Progress::setTotals(std::uint64_t files, std::uint64_t bytes) {
    m_filesTotal = files;
    m_bytesTotal = bytes;
}

double Progress::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void Progress::start() {
    m_start = std::chrono::steady_clock::now();
    if (m_mode == Mode::Off || m_thread.joinable())
        return;
    m_thread = std::thread([this] {
        // A terminal is redrawn four times a second; a log gets a line every five seconds.
        const auto period = m_mode == Mode::Terminal ? std::chrono::milliseconds(250) : std::chrono::seconds(5);
        std::unique_lock lock(m_mutex);
        draw(false);
        while (!m_wake.wait_for(lock, period, [this] { return m_stopping; }))
            draw(false);
    });
}

void Progress::stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || !m_thread.joinable())
            return;
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    std::lock_guard lock(m_mutex);
    draw(true);
}

void Progress::say(const std::string &text) {
    std::lock_guard lock(m_mutex);
    if (m_mode == Mode::Off) {
        m_messages << text;
        m_messages.flush();
        return;
    }
    if (m_shown) {
        writeOut("\r\x1b[K");
        m_shown = false;
    }
    writeOut(text);
}

// Called with m_mutex held.
void Progress::draw(bool last) {
    if (m_mode == Mode::Terminal) {
        if (last) {
            if (m_shown)
                writeOut("\r\x1b[K");
            m_shown = false;
            return;
        }
        writeOut("\r\x1b[K" +
                 progressLine({m_files.load(), m_filesTotal, m_bytes.load(), m_bytesTotal, seconds()},
                              m_language));
        m_shown = true;
    } else if (m_mode == Mode::Log && !last) {
        writeOut("lanternfin-cli: " +
                 progressLine({m_files.load(), m_filesTotal, m_bytes.load(), m_bytesTotal, seconds()},
                              m_language) +
                 "\n");
    }
}

void Progress::writeOut(const std::string &text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t done = ::write(m_fd, rest.data(), rest.size());
        if (done <= 0)
            return;
        rest.remove_prefix(static_cast<std::size_t>(done));
    }
}

} // namespace cli
