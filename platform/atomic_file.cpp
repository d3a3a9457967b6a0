#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Links followed before giving up, as the kernel's own limit.
constexpr int kMaxLinks = 40;

std::string folderOf(const std::string &path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The descriptor that a name like /dev/stdout stands for in this process; -1 for other names.
// Opening such a name anew would start at offset 0 and drop O_APPEND, so it is used as it is.
int descriptorNamed(const std::string &path) {
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const char *prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::size_t n = std::strlen(prefix);
        if (path.compare(0, n, prefix) != 0 || path.size() == n || path.size() > n + 6)
            continue;
        int fd = 0;
        for (std::size_t i = n; i < path.size(); ++i) {
            if (path[i] < '0' || path[i] > '9')
                return -1;
            fd = fd * 10 + (path[i] - '0');
        }
        return fd;
    }
    return -1;
}

// The temporary files that a signal removes. A slot is free (0), being filled (1) or holds a path
// (2); the handler only reads slots that hold one, with calls that are safe in a handler.
struct TempSlot {
    std::atomic<int> state{0};
    char path[PATH_MAX];
};
// One per file written at once: the batch runs at most 64 jobs.
constexpr int kTempSlots = 64;
TempSlot g_temps[kTempSlots];
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

int registerTemp(const std::string &path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kTempSlots; ++i) {
        int free = 0;
        if (!g_temps[i].state.compare_exchange_strong(free, 1))
            continue;
        std::memcpy(g_temps[i].path, path.c_str(), path.size() + 1);
        g_temps[i].state.store(2);
        return i;
    }
    return -1;
}

void unregisterTemp(int slot) {
    if (slot >= 0)
        g_temps[slot].state.store(0);
}

extern "C" void removeTempsAndDie(int signal) {
    const int saved = errno;
    for (TempSlot &slot : g_temps)
        if (slot.state.load() == 2)
            ::unlink(slot.path);
    errno = saved;
    // Ends the program as the signal would have, so that the caller sees how it ended.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Holds SIGINT, SIGTERM and SIGHUP back while a temporary file is made and registered, so that no
// signal falls between the two.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : kCleanupSignals)
            sigaddset(&set, s);
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

} // namespace

bool resolveLinks(const std::string &path, unsigned uid, std::string &target, int &error) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            // Missing or not a link: that is the target (a missing one is created there).
            target = current;
            return true;
        }
        const std::string folder = folderOf(current);
        struct stat dir {};
        if (::stat(folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH) &&
            link.st_uid != uid && link.st_uid != dir.st_uid) {
            error = EACCES;
            return false;
        }
        std::string to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), to.data(), to.size());
        if (n < 0 || static_cast<std::size_t>(n) >= to.size()) {
            error = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        to.resize(static_cast<std::size_t>(n));
        current = !to.empty() && to.front() == '/' ? to : folder + "/" + to;
    }
    error = ELOOP;
    return false;
}

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)), m_target(m_path) {
    if (const int named = descriptorNamed(m_path); named >= 0) {
        openDirect(m_path, true, named);
        return;
    }
    int linkError = 0;
    if (!resolveLinks(m_path, static_cast<unsigned>(::geteuid()), m_target, linkError)) {
        fail(linkError, linkError == EACCES
                            ? "refusing to follow a symbolic link that another user owns in a shared folder"
                            : "cannot follow the symbolic link");
        return;
    }
    struct stat st {};
    const bool exists = ::stat(m_target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        fail(EISDIR, "cannot open");
        return;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISSOCK(st.st_mode))
            fail(ENXIO, "cannot write to a socket");
        else
            openDirect(m_target, false, -1);
        return;
    }

    m_temp = folderOf(m_target) + "/." + nameOf(m_target) + ".XXXXXX";
    {
        SignalsHeld held;
        m_fd = mkostemp(m_temp.data(), O_CLOEXEC);
        if (m_fd >= 0)
            m_registered = registerTemp(m_temp);
    }
    if (m_fd < 0) {
        m_temp.clear();
        fail(errno, "cannot create a temporary file beside it");
        return;
    }
    if (exists) {
        // Only root may give the file its old owner; anyone else's copy stays theirs, as with any
        // editor, so a failure here is not an error.
        [[maybe_unused]] const int owned = fchown(m_fd, st.st_uid, st.st_gid);
        fchmod(m_fd, st.st_mode & 07777);
    } else {
        fchmod(m_fd, newFileMode());
    }
}

bool AtomicFile::openDirect(const std::string &target, bool descriptor, int fd) {
    m_direct = true;
    // O_NOCTTY: a terminal named here must not become this process's controlling one. A FIFO
    // waits here for its reader, as a shell's redirection does.
    m_fd = descriptor ? ::fcntl(fd, F_DUPFD_CLOEXEC, 3)
                      : ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        fail(errno, "cannot open it for writing");
        return false;
    }
    return true;
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::fail(int error, std::string step) {
    m_error = error;
    m_message = std::move(step) + ": " + std::strerror(error);
}

bool AtomicFile::commit() {
    if (m_fd < 0)
        return false;
    if (m_direct) {
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0 && errno != EINTR) {
            fail(errno, "cannot write");
            return false;
        }
        return true;
    }
    int failure = fsync(m_fd) == 0 ? 0 : errno;
    if (::close(m_fd) != 0 && !failure)
        failure = errno;
    m_fd = -1;
    if (failure) {
        fail(failure, "cannot write");
        discard();
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        fail(errno, "cannot replace the file");
        discard();
        return false;
    }
    unregisterTemp(m_registered);
    m_registered = -1;
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
    unregisterTemp(m_registered);
    m_registered = -1;
}

void removeTemporaryFilesOnSignals() {
    for (int s : kCleanupSignals) {
        struct sigaction old {};
        // A signal ignored when the program started (nohup) stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = removeTempsAndDie;
        sigemptyset(&action.sa_mask);
        for (int other : kCleanupSignals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(s, &action, nullptr);
    }
}

} // namespace platform
