#include "cli/io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string folderOf(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

Writer::Writer(int fd) : m_fd(fd) {
    m_buffer.reserve(kBufferSize);
}

void Writer::write(std::string_view bytes) {
    if (m_error)
        return;
    if (m_buffer.size() + bytes.size() <= kBufferSize) {
        m_buffer.append(bytes);
        return;
    }
    flush();
    if (bytes.size() >= kBufferSize)
        writeThrough(bytes);
    else
        m_buffer.append(bytes);
}

bool Writer::flush() {
    if (!m_buffer.empty()) {
        writeThrough(m_buffer);
        m_buffer.clear();
    }
    return m_error == 0;
}

void Writer::writeThrough(std::string_view bytes) {
    while (!bytes.empty() && !m_error) {
        const ssize_t done = ::write(m_fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno != EINTR)
                m_error = errno;
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
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

Input::~Input() {
    if (m_fd >= 0 && !isStdin())
        ::close(m_fd);
}

long Input::read(char *data, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(m_fd, data, size);
        if (got >= 0)
            return static_cast<long>(got);
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}

bool Input::readAll(std::string &out) {
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

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)), m_target(m_path) {
    // Through a symbolic link the file it points to is replaced and the link stays.
    struct stat link {};
    if (::lstat(m_path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char *resolved = ::realpath(m_path.c_str(), nullptr)) {
            m_target = resolved;
            std::free(resolved);
        }
    }
    const std::string folder = folderOf(m_target);
    const auto slash = m_target.rfind('/');
    m_temp = folder + "/." + m_target.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
    m_fd = mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        m_temp.clear();
        return;
    }
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0) {
        // Only root may give the file its old owner; anyone else's copy stays theirs, as with any
        // editor, so a failure here is not an error.
        [[maybe_unused]] const int owned = fchown(m_fd, st.st_uid, st.st_gid);
        fchmod(m_fd, st.st_mode & 07777);
    } else {
        fchmod(m_fd, newFileMode());
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::commit() {
    if (m_fd < 0)
        return false;
    int failure = fsync(m_fd) == 0 ? 0 : errno;
    if (::close(m_fd) != 0 && !failure)
        failure = errno;
    m_fd = -1;
    if (!failure && ::rename(m_temp.c_str(), m_target.c_str()) != 0)
        failure = errno;
    if (failure) {
        m_error = failure;
        discard();
        return false;
    }
    m_temp.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

std::string errorText(int error) {
    return std::strerror(error);
}

} // namespace cli
