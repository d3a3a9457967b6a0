#include "cli/io.h"

#include "platform/message_language.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

} // namespace

// Flushes a scratch file to the disk (fdatasync) on a thread of its own each time it is asked,
// while the text goes on being converted and written. The commit's flush then finds little left:
// with the data only handed to the disk, a 280 MB output still waited 0.14 s for the device to
// flush it, the same with one job or several. It works on a duplicate of the descriptor, so that
// whatever becomes of the writer's (closed, discarded) it never touches another file.
class Writer::Flusher {
public:
    explicit Flusher(int fd) : m_fd(::fcntl(fd, F_DUPFD_CLOEXEC, 0)), m_thread([this] { run(); }) {}
    ~Flusher() {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    void flushTo(long long offset) {
        {
            const std::lock_guard lock(m_mutex);
            m_asked = offset;
        }
        m_wake.notify_one();
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stop || m_asked > m_done; });
            if (m_stop || m_fd < 0)
                return;
            const long long to = m_asked;
            lock.unlock();
            ::fdatasync(m_fd); // a hint: the commit's own flush reports any failure
            lock.lock();
            m_done = to;
        }
    }

    const int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    long long m_asked = 0;
    long long m_done = 0;
    bool m_stop = false;
    std::thread m_thread; // last: it starts once the rest is there
};

Writer::~Writer() = default;

Writer::Writer(int fd, bool scratch) : m_fd(fd), m_scratch(scratch) {
    m_buffer.reserve(kBufferSize);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        m_regular = at >= 0;
        m_writtenTo = m_handedTo = at;
    }
}

Writer::Writer(std::string &sink) : m_fd(-1), m_sink(&sink) {}

void Writer::write(std::string_view bytes) {
    if (m_sink) {
        m_sink->append(bytes);
        return;
    }
    if (m_error)
        return;
    if (m_buffer.size() + bytes.size() <= kBufferSize) {
        m_buffer.append(bytes);
        return;
    }
    drain();
    if (bytes.size() >= kBufferSize)
        writeThrough(bytes);
    else
        m_buffer.append(bytes);
}

void Writer::drain() {
    if (!m_buffer.empty()) {
        writeThrough(m_buffer);
        m_buffer.clear();
    }
}

bool Writer::flush() {
    drain();
    m_flusher.reset();
    return m_error == 0;
}

void Writer::writeThrough(std::string_view bytes) {
    if (m_sink) {
        m_sink->append(bytes);
        return;
    }
    while (!bytes.empty() && !m_error) {
        const ssize_t done = ::write(m_fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno != EINTR)
                m_error = errno;
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
        m_writtenTo += done;
    }
    // Start writing out every 8 MB without waiting for it (a hint: its failure changes nothing).
    if (m_regular && m_writtenTo - m_handedTo >= (8 << 20)) {
        ::sync_file_range(m_fd, m_handedTo, m_writtenTo - m_handedTo, SYNC_FILE_RANGE_WRITE);
        m_handedTo = m_writtenTo;
        if (m_scratch && m_writtenTo - m_flushAskedTo >= (32 << 20)) {
            if (!m_flusher)
                m_flusher = std::make_unique<Flusher>(m_fd);
            m_flusher->flushTo(m_writtenTo);
            m_flushAskedTo = m_writtenTo;
        }
    }
}

Input::Input(std::string name) : m_name(std::move(name)) {
    if (isStdin()) {
        m_fd = STDIN_FILENO;
        return;
    }
    m_fd = ::open(m_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    // A folder opens, but only fails at the first read: name it here, as the open's failure.
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_error = EISDIR;
    }
}

Input::Input(std::string name, int fd) : m_name(std::move(name)), m_fd(fd) {}

Input::Input(std::string name, std::string bytes)
    : m_name(std::move(name)), m_inMemory(true), m_owned(std::move(bytes)), m_memory(m_owned) {}

Input::Input(std::string name, std::string_view bytes, Borrowed)
    : m_name(std::move(name)), m_inMemory(true), m_memory(bytes) {}

bool Input::isRegularFile() const {
    struct stat st {};
    return m_inMemory || (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode));
}

void Input::unread(std::string bytes) {
    m_pending = std::move(bytes) + m_pending.substr(m_pendingAt);
    m_pendingAt = 0;
}

Input::Input(std::string name, std::string_view bytes) : Input(std::move(name), std::string(bytes)) {}

int Input::untouchedFile() const {
    if (m_inMemory || isStdin() || m_fd < 0 || m_pendingAt < m_pending.size())
        return -1;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || ::lseek(m_fd, 0, SEEK_CUR) != 0)
        return -1;
    return m_fd;
}

void Input::countRead(std::uint64_t n) {
    if (m_counter)
        m_counter->fetch_add(n, std::memory_order_relaxed);
}

long long Input::knownSize() const {
    if (m_inMemory)
        return static_cast<long long>(m_pending.size() - m_pendingAt + m_memory.size());
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<long long>(st.st_size);
}

std::string Input::head(std::size_t size) const {
    if (m_inMemory) {
        std::string bytes = m_pending.substr(m_pendingAt, size);
        bytes.append(m_memory.substr(0, size - bytes.size()));
        return bytes;
    }
    std::string bytes;
    if (knownSize() < 0)
        return bytes;
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(m_fd, bytes.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

Input::~Input() {
    if (m_fd >= 0 && !isStdin())
        ::close(m_fd);
}

long Input::read(char *data, std::size_t size) {
    if (m_pendingAt < m_pending.size()) {
        const std::size_t n = std::min(size, m_pending.size() - m_pendingAt);
        std::memcpy(data, m_pending.data() + m_pendingAt, n);
        m_pendingAt += n;
        if (m_pendingAt == m_pending.size()) {
            m_pending = std::string();
            m_pendingAt = 0;
        }
        return static_cast<long>(n);
    }
    if (m_inMemory) {
        const std::size_t n = std::min(size, m_memory.size());
        if (n == 0) // an empty view may have no address at all
            return 0;
        std::memcpy(data, m_memory.data(), n);
        m_memory.remove_prefix(n);
        if (m_memory.empty() && !m_owned.empty()) {
            m_owned = std::string();
            m_memory = {};
        }
        return static_cast<long>(n);
    }
    for (;;) {
        const ssize_t got = ::read(m_fd, data, size);
        if (got >= 0) {
            m_fromFile += static_cast<std::uint64_t>(got);
            if (m_fromFile > m_limit) {
                m_error = EFBIG;
                return -1;
            }
            if (m_counter)
                m_counter->fetch_add(static_cast<std::uint64_t>(got), std::memory_order_relaxed);
            return static_cast<long>(got);
        }
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}

bool Input::takeMemory(std::string_view &rest) {
    if (!m_inMemory || m_pendingAt < m_pending.size())
        return false;
    rest = m_memory;
    m_memory = {};
    return true;
}

bool Input::readAll(std::string &out) {
    out.append(m_pending, m_pendingAt);
    m_pending = std::string();
    m_pendingAt = 0;
    if (m_inMemory) {
        out.append(m_memory);
        m_memory = {};
        m_owned = std::string();
        return true;
    }
    struct stat st {};
    if (fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode))
        out.reserve(out.size() + static_cast<std::size_t>(st.st_size) + 1);
    std::vector<char> buf(1 << 20);
    for (;;) {
        const long got = read(buf.data(), buf.size());
        if (got <= 0)
            return got == 0;
        out.append(buf.data(), static_cast<std::size_t>(got));
    }
}

std::string errorText(int error) {
    return platform::say(core::systemError(error));
}

} // namespace cli
