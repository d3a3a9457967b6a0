#include "mapped_file.h"

#include "message_language.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void say(core::Message *why, core::Message reason) {
    if (why)
        *why = std::move(reason);
}

// `why` in English for the callers that take it as text.
template <class Result> Result inEnglish(std::string *why, const core::Message &reason, Result result) {
    if (why && !result)
        *why = reason.in(core::Language::English);
    return result;
}

// A descriptor of the regular file at `path` and its size; -1 with `why` set otherwise. The file
// is opened without blocking, so that opening a FIFO returns at once, and checked before any read.
int openRegular(const std::string &path, std::size_t maxSize, std::size_t &size, core::Message *why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        say(why, core::systemError(errno));
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        say(why, core::systemError(errno));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        say(why, core::MessageId::NotRegularFile);
        ::close(fd);
        return -1;
    }
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxSize) {
        say(why, core::Message(core::MessageId::LargerThanBytes, {std::to_string(maxSize)}));
        ::close(fd);
        return -1;
    }
    size = static_cast<std::size_t>(st.st_size);
    return fd;
}

// Reads up to `n` bytes; a file that shrinks meanwhile gives what is there.
std::optional<std::string> readUpTo(int fd, std::size_t n, core::Message *why) {
    std::string data(n, '\0');
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, data.data() + got, n - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            say(why, core::systemError(errno));
            ::close(fd);
            return std::nullopt;
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

} // namespace

std::shared_ptr<const MappedFile> MappedFile::open(const std::string &path, std::size_t maxSize,
                                                   core::Message *why, bool populate) {
    std::size_t size = 0;
    const int fd = openRegular(path, maxSize, size, why);
    if (fd < 0)
        return nullptr;
    std::shared_ptr<MappedFile> file(new MappedFile);
    if (size) {
        void *map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (populate ? MAP_POPULATE : 0), fd, 0);
        if (map == MAP_FAILED) {
            say(why, core::systemError(errno));
            ::close(fd);
            return nullptr;
        }
        file->m_data = map;
        file->m_size = size;
    }
    ::close(fd);
    return file;
}

MappedFile::~MappedFile() {
    if (m_data)
        munmap(m_data, m_size);
}

int openDataFile(const std::string &path, std::size_t maxSize, std::size_t &size, core::Message *why) {
    return openRegular(path, maxSize, size, why);
}

int openDataFile(const std::string &path, std::size_t maxSize, std::size_t &size, std::string *why) {
    core::Message reason;
    const int fd = openRegular(path, maxSize, size, &reason);
    if (why && fd < 0)
        *why = reason.in(core::Language::English);
    return fd;
}

std::optional<std::string> readDataFile(const std::string &path, std::size_t maxSize, core::Message *why) {
    std::size_t size = 0;
    const int fd = openRegular(path, maxSize, size, why);
    if (fd < 0)
        return std::nullopt;
    return readUpTo(fd, size, why);
}

std::optional<std::string> readDataFileHead(const std::string &path, std::size_t n, std::size_t maxSize,
                                            core::Message *why) {
    std::size_t size = 0;
    const int fd = openRegular(path, maxSize, size, why);
    if (fd < 0)
        return std::nullopt;
    return readUpTo(fd, std::min(size, n), why);
}

std::shared_ptr<const MappedFile> MappedFile::open(const std::string &path, std::size_t maxSize, std::string *why,
                                                   bool populate) {
    core::Message reason;
    auto file = open(path, maxSize, &reason, populate);
    return inEnglish(why, reason, std::move(file));
}

std::optional<std::string> readDataFile(const std::string &path, std::size_t maxSize, std::string *why) {
    core::Message reason;
    auto bytes = readDataFile(path, maxSize, &reason);
    return inEnglish(why, reason, std::move(bytes));
}

std::optional<std::string> readDataFileHead(const std::string &path, std::size_t n, std::size_t maxSize,
                                            std::string *why) {
    core::Message reason;
    auto bytes = readDataFileHead(path, n, maxSize, &reason);
    return inEnglish(why, reason, std::move(bytes));
}

} // namespace platform
