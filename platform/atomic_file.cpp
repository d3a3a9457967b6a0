#include "platform/atomic_file.h"

#include "platform/message_language.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

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

// Brings a folder's new entries (a rename) to the disk; a hint, whose failure changes nothing.
void syncFolder(const std::string &folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
}

std::string nameOf(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The umask, read without changing it: setting it and back, as umask(2) alone allows, let two
// threads at once (a folder's jobs) leave it at 0 for good, and every later file world-writable.
// The kernel says it in /proc/self/status; without /proc, the pair of calls under a lock of ours.
mode_t currentUmask() {
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char text[4096];
        std::size_t got = 0;
        for (ssize_t n; got < sizeof text - 1 && (n = ::read(fd, text + got, sizeof text - 1 - got)) != 0;) {
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        text[got] = '\0';
        if (const char *line = std::strstr(text, "\nUmask:")) {
            char *end = nullptr;
            const unsigned long mask = std::strtoul(line + 7, &end, 8);
            if (end != line + 7 && mask <= 0777)
                return static_cast<mode_t>(mask);
        }
    }
    static std::mutex lock;
    const std::lock_guard held(lock);
    const mode_t mask = umask(077);
    umask(mask);
    return mask;
}

mode_t newFileMode() {
    return 0666 & ~currentUmask();
}

// Whether a file made without a name can be given one: linkat through /proc/self/fd/N, which
// needs /proc (a file's own descriptor, AT_EMPTY_PATH, needs a privilege users lack).
bool anonymousFilesNamed() {
    static const bool there = ::access("/proc/self/fd", X_OK) == 0;
    return there;
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
    char path[PATH_MAX]{};
};
// One per temporary file at once: a folder's jobs hold theirs while their commits wait (a file
// that finds no free slot is committed at once instead, see AtomicFile::removedOnSignal).
// Constant-initialised, so the 8 MB of slots costs nothing until used: a table set up when the
// program starts would write to each of its 2,048 pages, 30 ms before every command.
constexpr int kTempSlots = kMostTemporaryFiles;
constinit TempSlot g_temps[kTempSlots];
// Every signal whose default action ends the process (the real-time ones are added where they
// are used, as SIGRTMIN is not a constant).
constexpr int kCleanupSignals[] = {SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,  SIGBUS,  SIGFPE,
                                   SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,  SIGXCPU, SIGXFSZ,
                                   SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGSTKFLT};

sigset_t cleanupSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kCleanupSignals)
        sigaddset(&set, s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s)
        sigaddset(&set, s);
    return set;
}

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

// Set once a signal is ending the program: no temporary file is made after it. And how many are
// being made (and registered) at this moment: the other threads go on running while one of them
// handles the signal, and a file made between its sweep and the end would be left behind.
std::atomic<bool> g_ending{false};
std::atomic<int> g_making{0};

extern "C" void removeTempsAndDie(int signal) {
    const int saved = errno;
    g_ending.store(true);
    // A file being made now is registered in a moment (the maker holds the signals back only for
    // that long): wait for it, a tenth of a second at the most.
    for (int waited = 0; g_making.load() != 0 && waited < 100; ++waited) {
        const timespec ms{0, 1000000};
        ::nanosleep(&ms, nullptr);
    }
    for (TempSlot &slot : g_temps)
        if (slot.state.load() == 2)
            ::unlink(slot.path);
    errno = saved;
    // Ends the program as the signal would have, so that the caller sees how it ended.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Holds the signals that remove temporary files back while one is made and registered, so that no
// signal falls between the two.
class SignalsHeld {
public:
    SignalsHeld() {
        const sigset_t set = cleanupSignals();
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

// Gives the descriptor `to` every extended attribute of the file `from`: its access lists
// (system.posix_acl_*), user.* and, where this process may set them, security.*. Empty when all
// went, else the attribute that did not, with `error` set.
std::string copyAttributes(const std::string &from, int to, int &error) {
    std::string names;
    for (;;) {
        const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP)
                return {}; // a file system without attributes: there are none to keep
            error = errno;
            return "(the list of attributes)";
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            error = errno;
            return "(the list of attributes)";
        }
    }
    std::string value;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        if (name.empty())
            continue;
        ssize_t size = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (size >= 0) {
            value.resize(static_cast<std::size_t>(size));
            size = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        }
        if (size < 0 || ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(size), 0) != 0) {
            // security.* is the system's to set (SELinux labels, capabilities): a user who may not
            // set it gets the label the folder gives, as any editor's copy does.
            if (name.rfind("security.", 0) == 0 && (errno == EPERM || errno == EACCES || errno == ENOTSUP))
                continue;
            error = errno;
            return name;
        }
    }
    return {};
}

// `name` cut, at a character's start, so that "." + it + ".XXXXXX" fits in `nameMax` bytes (the
// folder's longest name; NAME_MAX when it is not told): the six random letters keep it apart.
std::string shortenedStem(std::string name, long nameMax) {
    const std::size_t room = static_cast<std::size_t>(nameMax > 8 ? nameMax : NAME_MAX) - 8;
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name;
}

// Six letters or digits for a temporary name, as mkstemp makes them.
std::string randomLetters() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned long long> counter{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    unsigned long long v = static_cast<unsigned long long>(now.tv_nsec) ^
                           (static_cast<unsigned long long>(::getpid()) << 32) ^
                           (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    std::string out(6, 'X');
    for (char &c : out) {
        c = kLetters[v % 62];
        v = v / 62 ^ (v << 7);
    }
    return out;
}

} // namespace

namespace {

// The folder `relative` below the folder `fd` (which it takes over and closes), each part opened
// relative to the one before without following a link; -1 with errno set.
int walkBeneath(int fd, const std::string &relative) {
    for (std::size_t start = 0; fd >= 0 && start < relative.size();) {
        const std::size_t end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        // O_PATH with O_NOFOLLOW would open a link itself: what was opened is checked to be a folder.
        const int next = ::openat(fd, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        const int failure = next < 0                  ? errno
                            : ::fstat(next, &st) != 0 ? errno
                            : S_ISDIR(st.st_mode)     ? 0
                                                      : ENOTDIR;
        ::close(fd);
        fd = next;
        if (failure) {
            if (next >= 0)
                ::close(next);
            errno = failure == ELOOP ? ENOTDIR : failure;
            return -1;
        }
    }
    return fd;
}

} // namespace

int openBeneath(const std::string &root, const std::string &relative) {
    std::string target;
    int error = 0;
    if (!resolveLinks(root.empty() ? std::string(".") : root, static_cast<unsigned>(::geteuid()), target,
                      error)) {
        errno = error;
        return -1;
    }
    return walkBeneath(::open(target.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC), relative);
}

HeldFolder::~HeldFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int HeldFolder::openBeneath(const std::string &relative) {
    int held = -1;
    {
        const std::lock_guard lock(m_mutex);
        // Not held until it can be opened: the run may not have made it yet.
        if (m_fd < 0)
            m_fd = platform::openBeneath(m_path, std::string());
        held = m_fd;
    }
    if (held < 0)
        return -1;
    return walkBeneath(::fcntl(held, F_DUPFD_CLOEXEC, 0), relative);
}

int HeldFolder::openFolderOf(const std::string &path, std::string &name) {
    std::string root = m_path;
    auto [folder, last] = splitBeneath(root, path);
    name = std::move(last);
    // A path outside the held folder (splitBeneath gave its own folder as the root) is reached anew.
    return root == m_path ? openBeneath(folder) : platform::openBeneath(root, folder);
}

std::pair<std::string, std::string> splitBeneath(std::string &root, const std::string &path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    const bool inside = !root.empty() && path.size() > root.size() &&
                        path.compare(0, root.size(), root) == 0 &&
                        (root.back() == '/' || path[root.size()] == '/');
    if (!inside) {
        root = folderOf(path);
        return {std::string(), name};
    }
    std::string relative = folder.size() > root.size() ? folder.substr(root.size()) : std::string();
    relative.erase(0, relative.find_first_not_of('/') == std::string::npos ? relative.size()
                                                                           : relative.find_first_not_of('/'));
    return {relative, name};
}

bool resolveLinks(const std::string &path, unsigned uid, std::string &target, int &error,
                  RefusedLink *refused) {
    // Walked one part at a time, as the kernel walks a path, so that a link anywhere in it (a
    // folder link in /tmp as much as the file's own) meets the same check. `done` holds parts
    // known not to be links; `todo` the parts still to walk, the next one last.
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> done, todo;
    auto push = [&todo](const std::string &p) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        while (start <= p.size()) {
            const std::size_t end = std::min(p.find('/', start), p.size());
            if (end > start)
                parts.push_back(p.substr(start, end - start));
            start = end + 1;
        }
        todo.insert(todo.end(), parts.rbegin(), parts.rend());
    };
    auto join = [&](const std::vector<std::string> &parts, bool root) {
        std::string r = root ? "/" : "";
        for (const auto &part : parts)
            r += (r.empty() || r.back() == '/' ? "" : "/") + part;
        return r.empty() ? std::string(".") : r;
    };
    bool root = absolute;
    push(path);
    int hops = 0;
    while (!todo.empty()) {
        const std::string part = std::move(todo.back());
        todo.pop_back();
        if (part == ".")
            continue;
        if (part == "..") {
            // The parts done are no links, so going up among them is going up on disk.
            if (!done.empty() && done.back() != "..")
                done.pop_back();
            else if (!root)
                done.push_back("..");
            continue;
        }
        const std::string folder = join(done, root);
        done.push_back(part);
        const std::string current = join(done, root);
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0) {
            // Missing: the rest is made of names to create (or to fail on) as they are.
            done.insert(done.end(), todo.rbegin(), todo.rend());
            todo.clear();
            break;
        }
        if (!S_ISLNK(link.st_mode))
            continue;
        if (++hops > kMaxLinks) {
            error = ELOOP;
            return false;
        }
        struct stat dir {};
        if (::stat(folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH) &&
            link.st_uid != uid && link.st_uid != dir.st_uid) {
            error = EACCES;
            if (refused)
                *refused = {current, link.st_uid};
            return false;
        }
        std::string to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), to.data(), to.size());
        if (n < 0 || static_cast<std::size_t>(n) >= to.size()) {
            error = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        to.resize(static_cast<std::size_t>(n));
        done.pop_back();
        if (!to.empty() && to.front() == '/') {
            done.clear();
            root = true;
        }
        push(to);
    }
    // A path that ended in "/" or "." still names its last part.
    target = join(done, root);
    return true;
}

AtomicFile::AtomicFile(std::string path, LastPart last) : m_path(std::move(path)), m_target(m_path) {
    const bool replace = last == LastPart::Replace;
    if (const int named = replace ? -1 : descriptorNamed(m_path); named >= 0) {
        openDirect(m_path, true, named);
        return;
    }
    int linkError = 0;
    RefusedLink refused;
    if (!resolveLinks(replace ? folderOf(m_path) : m_path, static_cast<unsigned>(::geteuid()), m_target,
                      linkError, &refused)) {
        if (linkError == EACCES)
            fail(linkError, core::MessageId::RefusingSharedLink,
                 {refused.path, std::to_string(refused.owner)});
        else
            fail(linkError, core::MessageId::CannotFollowLink);
        return;
    }
    if (replace)
        m_target = (m_target == "/" ? "" : m_target) + "/" + nameOf(m_path);
    struct stat st {};
    bool exists = (replace ? ::lstat(m_target.c_str(), &st) : ::stat(m_target.c_str(), &st)) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        fail(EISDIR, core::MessageId::CannotOpen);
        return;
    }
    // Whatever else stands there is only a name to take over: the new file is made as new.
    if (replace && exists && !S_ISREG(st.st_mode))
        exists = false;
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISSOCK(st.st_mode))
            fail(ENXIO, core::MessageId::CannotWriteSocket);
        else
            openDirect(m_target, false, -1);
        return;
    }

    // "." + name + ".XXXXXX" within the longest name the folder takes: a long name is shortened,
    // at a character's start, and the six random letters keep it apart from the others.
    const std::string stem =
        shortenedStem(nameOf(m_target), ::pathconf(folderOf(m_target).c_str(), _PC_NAME_MAX));
    m_temp = folderOf(m_target) + "/." + stem + ".XXXXXX";
    {
        SignalsHeld held;
        g_making.fetch_add(1);
        if (!g_ending.load()) {
            m_fd = mkostemp(m_temp.data(), O_CLOEXEC);
            if (m_fd >= 0)
                m_registered = registerTemp(m_temp);
        } else {
            errno = EINTR; // the program is ending
        }
        g_making.fetch_sub(1);
    }
    if (m_fd < 0) {
        m_temp.clear();
        fail(errno, core::MessageId::CannotCreateTemporary);
        return;
    }
    if (exists) {
        takeOver(st, m_target);
    } else {
        fchmod(m_fd, newFileMode());
    }
}

bool AtomicFile::takeOver(const struct stat &st, const std::string &from) {
    {
        // Only root may give the file its old owner; anyone else's copy stays theirs, as with any
        // editor, so a failure here is not an error. The group alone may still be kept, by a
        // member of it.
        mode_t mode = st.st_mode & 07777;
        if (fchown(m_fd, st.st_uid, st.st_gid) != 0) {
            [[maybe_unused]] const int grouped = fchown(m_fd, static_cast<uid_t>(-1), st.st_gid);
        }
        // Bits meant for an owner or a group the new file does not have would go to another one:
        // a group that could not be kept gets what others had (the file was 0640 for its group,
        // the user's own group must not read it), and set-user or set-group is dropped, as cp
        // does, so that no program runs as its new owner's.
        struct stat now {};
        if (::fstat(m_fd, &now) == 0) {
            if (now.st_uid != st.st_uid)
                mode &= ~S_ISUID;
            if (now.st_gid != st.st_gid)
                mode = (mode & ~(S_IRWXG | S_ISGID)) | ((mode & S_IRWXO) << 3);
        }
        fchmod(m_fd, mode);
        // After the mode: an access list sets the group bits to its mask. A file that would lose
        // its access list would be open to whom it was closed to (or the reverse): refused.
        int error = 0;
        const std::string lost = copyAttributes(from, m_fd, error);
        if (!lost.empty()) {
            discard();
            fail(error, core::MessageId::CannotKeepAttribute, {lost});
            return false;
        }
    }
    return true;
}

AtomicFile::AtomicFile(std::string path, const std::string &beneath)
    : m_path(std::move(path)), m_target(m_path) {
    HeldFolder held(beneath);
    openIn(held);
}

AtomicFile::AtomicFile(std::string path, HeldFolder &beneath) : m_path(std::move(path)), m_target(m_path) {
    openIn(beneath);
}

void AtomicFile::openIn(HeldFolder &beneath) {
    std::string name;
    m_folder = beneath.openFolderOf(m_path, name);
    if (m_folder < 0) {
        fail(errno,
             errno == ENOTDIR ? core::MessageId::MirrorFolderReplaced : core::MessageId::CannotOpenFolder);
        return;
    }
    struct stat st {};
    bool exists = ::fstatat(m_folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        fail(EISDIR, core::MessageId::CannotOpen);
        return;
    }
    // A link, FIFO or device there is only a name to take over: the new file is made as new.
    exists = exists && S_ISREG(st.st_mode);
    // A new name gets a file without a name (O_TMPFILE), which takes it only when committed
    // (linkat): the folder changes once per file instead of twice (a create, then a rename), which
    // a folder's jobs writing into one folder wait on each other for, and however the program
    // ends, nothing is left behind. Its mode is what the kernel gives any new file (the umask, or
    // the folder's default access list); nobody can open it before it has its name. Where the
    // filesystem has no such files, or /proc (through which it gets its name) is not there, it
    // is made under a temporary name as a file that replaces another is.
    if (!exists && anonymousFilesNamed()) {
        m_fd = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_anonymous = true;
            return;
        }
    }
    if (!makeNamedTemporary(name)) {
        fail(errno, core::MessageId::CannotCreateTemporary);
        return;
    }
    if (!exists) {
        fchmod(m_fd, newFileMode());
        return;
    }
    // Its attributes are read through a descriptor of the file that stands there now.
    const int old = ::openat(m_folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    struct stat now {};
    if (old < 0 || ::fstat(old, &now) != 0 || !S_ISREG(now.st_mode)) {
        if (old >= 0)
            ::close(old);
        fchmod(m_fd, newFileMode());
        return;
    }
    takeOver(now, "/proc/self/fd/" + std::to_string(old));
    ::close(old);
}

int AtomicFile::takeTemporaryName(const std::string &name, const std::function<int(const char *)> &make) {
    const std::string stem = shortenedStem(name, ::fpathconf(m_folder, _PC_NAME_MAX));
    SignalsHeld held;
    g_making.fetch_add(1);
    int made = -1;
    errno = EINTR; // when the program is ending
    for (int attempt = 0; attempt < 100 && !g_ending.load(); ++attempt) {
        m_tempName = "." + stem + "." + randomLetters();
        made = make(m_tempName.c_str());
        if (made >= 0 || errno != EEXIST)
            break;
    }
    const int error = errno;
    if (made >= 0) {
        m_temp = folderOf(m_path) + "/" + m_tempName;
        m_registered = registerTemp(m_temp);
    } else {
        m_tempName.clear();
    }
    g_making.fetch_sub(1);
    errno = error;
    return made;
}

bool AtomicFile::makeNamedTemporary(const std::string &name) {
    m_fd = takeTemporaryName(name, [this](const char *temp) {
        return ::openat(m_folder, temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    });
    return m_fd >= 0;
}

bool AtomicFile::linkAnonymous() {
    char proc[48];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", m_fd);
    const std::string name = nameOf(m_path);
    if (::linkat(AT_FDCWD, proc, m_folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    // Something took the name since it was looked at (a link put there, another program's file):
    // it is replaced, as a named temporary file replaces what stands at its target.
    if (takeTemporaryName(name, [&](const char *temp) {
            return ::linkat(AT_FDCWD, proc, m_folder, temp, AT_SYMLINK_FOLLOW);
        }) < 0)
        return false;
    if (::renameat(m_folder, m_tempName.c_str(), m_folder, name.c_str()) != 0) {
        const int error = errno;
        discardTemporaryName();
        errno = error;
        return false;
    }
    discardTemporaryName(false);
    return true;
}

void AtomicFile::discardTemporaryName(bool unlink) {
    if (!m_tempName.empty() && unlink)
        ::unlinkat(m_folder, m_tempName.c_str(), 0);
    m_temp.clear();
    m_tempName.clear();
    unregisterTemp(m_registered);
    m_registered = -1;
}

bool AtomicFile::openDirect(const std::string &target, bool descriptor, int fd) {
    m_direct = true;
    // O_NOCTTY: a terminal named here must not become this process's controlling one. A FIFO
    // waits here for its reader, as a shell's redirection does.
    m_fd = descriptor ? ::fcntl(fd, F_DUPFD_CLOEXEC, 3)
                      : ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        fail(errno, core::MessageId::CannotOpenForWriting);
        return false;
    }
    return true;
}

AtomicFile::~AtomicFile() {
    discard();
    if (m_folder >= 0)
        ::close(m_folder);
}

void AtomicFile::fail(int error, core::MessageId step, std::vector<std::string> args) {
    m_error = error;
    m_why = core::Message(step, std::move(args), {core::systemError(error)});
}

std::string AtomicFile::message() const {
    return say(m_why);
}

void FolderSyncs::add(std::string folder) {
    const std::lock_guard lock(m_mutex);
    m_folders.insert(std::move(folder));
}

void FolderSyncs::syncAll() {
    const std::lock_guard lock(m_mutex);
    for (const std::string &folder : m_folders)
        syncFolder(folder);
    m_folders.clear();
}

bool AtomicFile::syncText() {
    if (m_synced)
        return true;
    if (m_fd < 0 || m_direct)
        return m_fd >= 0;
    int failure = fsync(m_fd) == 0 ? 0 : errno;
    // A file without a name lives only as long as its descriptor: it stays open until linked.
    if (!m_anonymous) {
        if (::close(m_fd) != 0 && !failure)
            failure = errno;
        m_fd = -1;
    }
    if (failure) {
        fail(failure, core::MessageId::CannotWrite);
        discard();
        return false;
    }
    m_synced = true;
    return true;
}

void AtomicFile::syncTogether(const std::vector<AtomicFile *> &files) {
    // syncfs() writes every dirty page and inode of the filesystem and flushes the device once. It
    // reports a write error that happened on the filesystem since `first` was opened, so the files
    // opened after it are covered too (the files come in the order they were created).
    const AtomicFile *first = nullptr;
    struct stat firstSt {};
    for (const AtomicFile *f : files)
        if (f->m_fd >= 0 && !f->m_direct && ::fstat(f->m_fd, &firstSt) == 0) {
            first = f;
            break;
        }
    if (first && ::syncfs(first->m_fd) == 0) {
        for (AtomicFile *f : files) {
            struct stat st {};
            if (f->m_fd < 0 || f->m_direct || ::fstat(f->m_fd, &st) != 0 || st.st_dev != firstSt.st_dev)
                continue; // synced below, on its own
            if (f->m_anonymous) {
                f->m_synced = true; // open until it is linked
                continue;
            }
            if (::close(f->m_fd) != 0 && errno != EINTR) {
                const int failure = errno;
                f->m_fd = -1;
                f->fail(failure, core::MessageId::CannotWrite);
                f->discard();
                continue;
            }
            f->m_fd = -1;
            f->m_synced = true;
        }
    }
    for (AtomicFile *f : files)
        if (f->m_fd >= 0 && !f->m_synced)
            f->syncText();
}

bool AtomicFile::commit(FolderSyncs *later) {
    if (m_direct && m_fd >= 0) {
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0 && errno != EINTR) {
            fail(errno, core::MessageId::CannotWrite);
            return false;
        }
        return true;
    }
    if (!syncText() || !m_synced)
        return false;
    if (m_anonymous) {
        if (!linkAnonymous()) {
            fail(errno, core::MessageId::CannotReplaceFile);
            discard();
            return false;
        }
        // Written and synced already: nothing that closing could report is lost.
        ::close(m_fd);
        m_fd = -1;
        m_anonymous = false;
        m_synced = false;
        if (later)
            later->add(folderOf(m_target));
        else
            syncFolder(folderOf(m_target));
        return true;
    }
    const bool renamed = m_folder >= 0
                             ? ::renameat(m_folder, m_tempName.c_str(), m_folder, nameOf(m_path).c_str()) == 0
                             : ::rename(m_temp.c_str(), m_target.c_str()) == 0;
    if (!renamed) {
        fail(errno, core::MessageId::CannotReplaceFile);
        discard();
        return false;
    }
    unregisterTemp(m_registered);
    m_registered = -1;
    m_temp.clear();
    m_tempName.clear();
    m_synced = false;
    // The rename itself reaches the disk with the folder.
    if (later) {
        later->add(folderOf(m_target));
        return true;
    }
    syncFolder(folderOf(m_target));
    return true;
}

void AtomicFile::discard() {
    m_synced = false;
    m_anonymous = false;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        if (m_folder >= 0)
            ::unlinkat(m_folder, m_tempName.c_str(), 0);
        else
            ::unlink(m_temp.c_str());
        m_temp.clear();
        m_tempName.clear();
    }
    unregisterTemp(m_registered);
    m_registered = -1;
}

void removeTemporaryFilesOnSignals() {
    const sigset_t all = cleanupSignals();
    for (int s = 1; s < NSIG; ++s) {
        if (sigismember(&all, s) != 1)
            continue;
        struct sigaction old {};
        // A signal ignored when the program started (nohup) stays ignored, and one that has a
        // handler already (a sanitizer's) keeps it.
        if (::sigaction(s, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {};
        action.sa_handler = removeTempsAndDie;
        action.sa_mask = all;
        ::sigaction(s, &action, nullptr);
    }
}

} // namespace platform
