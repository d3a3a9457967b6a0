#pragma once
// The progress line of a long run on standard error: files and bytes done of the total, rate and
// time left, redrawn a few times a second on a terminal and removed at the end; every few seconds
// a plain line when asked for in a log. Counters are atomics, so that every job adds to them.

#include "core/messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace cli {

// What the line says, from the counters at one moment; pure, so that tests read it without a clock.
struct ProgressSnapshot {
    std::uint64_t filesDone = 0, filesTotal = 0; // filesTotal 0: one input, not counted in files
    std::uint64_t bytesDone = 0, bytesTotal = 0; // bytesTotal 0: unknown (a pipe)
    double seconds = 0;
};
// "12/2000 files, 45.2 MB of 200.0 MB, 12.3 MB/s, 0:13 left" (or its Chinese); without a total,
// what was done and the rate.
std::string progressLine(const ProgressSnapshot &at, core::Language language);

// "1:05" below an hour, "2:03:07" above.
std::string clockText(double seconds);

class Progress {
public:
    enum class Mode { Off, Terminal, Log };
    // Terminal: redrawn in place on `fd`; Log: a line every few seconds; Off: nothing but counting,
    // and messages go to `messages` instead of `fd`.
    Progress(Mode mode, int fd, std::ostream &messages);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // The mode for stderr: forced on or off, else shown only when it is a terminal.
    static Mode modeFor(int fd, bool force, bool silence);

    void setTotals(std::uint64_t files, std::uint64_t bytes);
    std::atomic<std::uint64_t> &bytes() { return m_bytes; }
    void fileDone() { m_files.fetch_add(1, std::memory_order_relaxed); }
    // Starts redrawing; stop() removes the line (on a terminal).
    void start();
    void stop();
    // Writes `text` (whole lines) to the descriptor without mixing it into the progress line.
    void say(const std::string &text);
    double seconds() const;

private:
    void draw(bool last);
    void writeOut(const std::string &text);

    Mode m_mode;
    int m_fd;
    std::ostream &m_messages;
    core::Language m_language; // of the lines it draws, the locale's
    std::atomic<std::uint64_t> m_files{0}, m_bytes{0};
    std::uint64_t m_filesTotal = 0, m_bytesTotal = 0;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    bool m_shown = false; // a line is on the terminal now
    std::thread m_thread;
};

} // namespace cli
