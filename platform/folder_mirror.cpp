#include "platform/folder_mirror.h"

#include "core/utf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

using core::Message;
using core::MessageId;

std::string lower(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string() : lower(name.substr(dot + 1));
}

std::string joinPath(const std::string &folder, const std::string &name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The system's reason for `error` as the last part of a message, in the message's language.
std::vector<Message> reason(int error) {
    return {core::systemError(error)};
}

class Planner {
public:
    Planner(const MirrorOptions &options, std::string root)
        : m_options(options), m_root(std::move(root)), m_held(std::make_shared<HeldFolder>(m_root)) {}

    // Places the sources `named` (path, name) in `folder`: their target names, collisions refused,
    // folders walked.
    // `folderAbsent`: the mirror has nothing at `folder` yet (a fresh output), so nothing in it
    // needs looking up. `parent`: the open folder the names are in (inside a source), looked up in
    // it and never through a link; AT_FDCWD for the sources named, looked up by their paths.
    void placeAll(const std::vector<std::pair<std::string, std::string>> &named, const std::string &folder,
                  bool arguments, bool folderAbsent = false, int parent = AT_FDCWD) {
        std::map<std::string, std::vector<std::size_t>> byTarget;
        for (std::size_t i = 0; i < named.size(); ++i) {
            std::optional<std::string> target = named[i].second;
            const bool dots = named[i].second == "." || named[i].second == ".." || named[i].second == "/";
            if (m_options.names && !dots) {
                target = m_options.names(named[i].second);
                if (!target)
                    refuse(named[i].first, MessageId::NameNotConverted);
            }
            if (target)
                byTarget[*target].push_back(i);
        }
        for (const auto &[target, sources] : byTarget) {
            if (sources.size() > 1) {
                for (std::size_t i : sources) {
                    std::string others;
                    for (std::size_t j : sources)
                        if (j != i)
                            others += (others.empty() ? "" : ", ") + named[j].first;
                    refuse(named[i].first, {MessageId::NamesCollide, {joinPath(folder, target), others}});
                }
                continue;
            }
            place(named[sources[0]].first, joinPath(folder, target), arguments, folderAbsent, parent,
                  named[sources[0]].second);
        }
    }

    MirrorPlan plan;

private:
    void place(const std::string &src, const std::string &dst, bool argument, bool folderAbsent, int parent,
               const std::string &name) {
        MirrorEntry e;
        e.src = src;
        e.dst = dst;
        e.root = m_root;
        e.held = m_held;
        // A link named as a source is followed; one found inside a folder is copied as a link. An
        // entry inside a source is looked up in its folder as opened, never by its path: a folder
        // above it swapped for a link to another one meanwhile leads nowhere else.
        const int looked = argument ? ::stat(src.c_str(), &e.st)
                                    : ::fstatat(parent, name.c_str(), &e.st, AT_SYMLINK_NOFOLLOW);
        if (looked != 0) {
            fail(src, {MessageId::CannotOpen, {}, reason(errno)});
            return;
        }
        // A source whose place in the mirror is the source itself (the output folder holds it: a
        // file with -O its own folder, a folder inside DST named as SRC) would be replaced by its
        // own conversion, the original lost: refused, and a folder with all it holds.
        // A file's other hard link in the mirror (a tree made with cp -al) is only a name the
        // new file replaces; the source's own name is its folder's same entry.
        struct stat there {};
        bool absent = folderAbsent;
        if (!S_ISLNK(e.st.st_mode) && !absent) {
            if (::stat(dst.c_str(), &there) != 0)
                absent = errno == ENOENT;
            else if (there.st_dev == e.st.st_dev && there.st_ino == e.st.st_ino &&
                     (S_ISDIR(e.st.st_mode) ? !isOutputFolder(e.st) : sameEntry(src, dst))) {
                refuse(src, {MessageId::MirrorOverItself, {dst}});
                return;
            }
        }
        if (S_ISLNK(e.st.st_mode)) {
            e.type = MirrorEntry::Type::Link;
            if (m_options.names)
                e.linkTarget = mirroredTarget(parent, argument ? src : name);
            plan.entries.push_back(std::move(e));
        } else if (S_ISREG(e.st.st_mode)) {
            plan.entries.push_back(std::move(e));
        } else if (S_ISDIR(e.st.st_mode)) {
            if (isOutputFolder(e.st)) {
                // The output folder inside a source is never a source of itself; named as one, it
                // is said.
                if (argument)
                    refuse(src, MessageId::MirrorIsOutputFolder);
                return;
            }
            e.type = MirrorEntry::Type::Folder;
            plan.entries.push_back(e);
            if (argument)
                m_topName = baseName(src);
            walk(src, dst, absent, argument ? AT_FDCWD : parent, argument ? src : name, e.st);
        } else {
            refuse(src, MessageId::NotFileFolderOrLink);
        }
    }

    // Lists the folder `src` (`name` in the open folder `parent`: opened there, never through a
    // link, and only while it is still the folder `st` says was found), and places what it holds.
    void walk(const std::string &src, const std::string &dst, bool dstAbsent, int parent, const std::string &name,
              const struct stat &st) {
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (parent == AT_FDCWD ? 0 : O_NOFOLLOW);
        const int fd = ::openat(parent, name.c_str(), flags);
        struct stat opened {};
        if (fd < 0 || ::fstat(fd, &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
            const int error = fd < 0 ? errno : 0;
            if (fd >= 0)
                ::close(fd);
            if (error == ELOOP || error == ENOTDIR || error == 0)
                refuse(src, MessageId::FolderReplacedWhileListed);
            else
                fail(src, {MessageId::CannotOpenFolder, {}, reason(error)});
            return;
        }
        const int listed = ::dup(fd);
        DIR *dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
        if (!dir) {
            const int error = errno;
            if (listed >= 0)
                ::close(listed);
            ::close(fd);
            fail(src, {MessageId::CannotOpenFolder, {}, reason(error)});
            return;
        }
        std::vector<std::string> names;
        while (const dirent *d = ::readdir(dir)) {
            const std::string entry = d->d_name;
            if (entry != "." && entry != "..")
                names.push_back(entry);
        }
        ::closedir(dir);
        if (m_options.listed)
            m_options.listed(src);
        std::sort(names.begin(), names.end());
        std::vector<std::pair<std::string, std::string>> named;
        for (const auto &entry : names)
            named.emplace_back(joinPath(src, entry), entry);
        ++m_depth;
        placeAll(named, dst, false, dstAbsent, fd);
        --m_depth;
        ::close(fd);
    }

    // The target of the link `src` as the mirror writes it when names are converted: a relative
    // target that stays inside the folder being mirrored names what the mirror renames, so its
    // names are converted as theirs are (图片/头像.png -> 圖片/頭像.png), and so does one that
    // leaves it and comes back by its name (../资料/说明.txt); from where it leaves that folder for
    // good on, and an absolute target, it is kept as it is. Nullopt: kept whole (unreadable, or
    // a name that cannot be converted).
    std::optional<std::string> mirroredTarget(int parent, const std::string &src) const {
        std::string target(4096, '\0');
        const ssize_t n = ::readlinkat(parent, src.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        if (target.empty() || target[0] == '/')
            return std::nullopt;
        std::string out;
        int level = m_depth; // folders below the source named on the command line
        std::size_t at = 0;
        while (at <= target.size()) {
            std::size_t slash = target.find('/', at);
            if (slash == std::string::npos)
                slash = target.size();
            const std::string part = target.substr(at, slash - at);
            // Out of the folder: back into it by its own name (../资料/说明.txt), or out for good.
            if (level == 0 && part == m_topName && part != "." && part != "..") {
                level = 1;
                const auto name = m_options.names(part);
                if (!name)
                    return std::nullopt;
                out += *name;
                if (slash < target.size())
                    out += '/';
                at = slash + 1;
                continue;
            }
            if (level < 1) {
                out += target.substr(at);
                break;
            }
            if (part == "..") {
                --level;
                out += part;
            } else if (part.empty() || part == ".") {
                out += part;
            } else {
                const auto name = m_options.names(part);
                if (!name)
                    return std::nullopt;
                out += *name;
                ++level;
            }
            if (slash < target.size())
                out += '/';
            at = slash + 1;
        }
        return out;
    }

    // Whether the paths `a` and `b` name the same entry of the same folder.
    static bool sameEntry(const std::string &a, const std::string &b) {
        const auto folderOf = [](const std::string &p) {
            const std::size_t slash = p.rfind('/');
            return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : p.substr(0, slash);
        };
        struct stat fa {}, fb {};
        return baseName(a) == baseName(b) && ::stat(folderOf(a).c_str(), &fa) == 0 &&
               ::stat(folderOf(b).c_str(), &fb) == 0 && fa.st_dev == fb.st_dev && fa.st_ino == fb.st_ino;
    }

    bool isOutputFolder(const struct stat &st) const {
        return m_options.skip && st.st_dev == m_options.skipDev && st.st_ino == m_options.skipIno;
    }

    void refuse(const std::string &path, Message why) {
        plan.problems.push_back({path, std::move(why), false});
    }
    void fail(const std::string &path, Message why) { plan.problems.push_back({path, std::move(why), true}); }

    const MirrorOptions &m_options;
    std::string m_root;
    std::shared_ptr<HeldFolder> m_held;
    int m_depth = 0;       // folders walked below the sources named
    std::string m_topName; // the name of the source folder being walked
};

} // namespace

bool isOneOf(const std::string &s, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string baseName(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileKind classifyFile(std::string_view name, std::string_view head, bool whole) {
    const std::string ext = extensionOf(name);
    // Office and OpenDocument packages, EPUB: their text is converted inside the package.
    if (isOneOf(ext, {"docx", "docm", "dotx", "xlsx", "xlsm", "pptx", "odt", "ods", "odp", "epub"}))
        return FileKind::Document;
    if (isOneOf(ext, {"txt",  "text", "md",   "markdown", "rst",  "org", "tex",  "csv",        "tsv", "srt",
                      "ass",  "ssa",  "vtt",  "lrc",      "sub",  "htm", "html", "xhtml",      "xml", "json",
                      "yaml", "yml",  "toml", "ini",      "conf", "cfg", "log",  "properties", "po"}))
        return FileKind::Text;
    if (head.empty() || head.find('\0') != std::string_view::npos)
        return FileKind::Other;
    const core::Utf8DecodeResult valid = core::validUtf8Prefix(head, whole);
    // Not final: a sequence cut by the end of the head is not a fault.
    return valid.ok && (whole ? valid.consumed == head.size() : head.size() - valid.consumed < 4)
               ? FileKind::Text
               : FileKind::Other;
}

std::size_t readHead(const std::string &path, std::string &head) {
    // Without waiting: a FIFO put where a file was listed gives nothing instead of hanging.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return 0;
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got;
}

FileKind fileKindOf(const std::string &path, std::uint64_t size) {
    // A name that decides needs no read (a folder of .txt files opened each file twice).
    const std::string name = baseName(path);
    if (const FileKind byName = classifyFile(name, "", false); byName != FileKind::Other)
        return byName;
    std::string head(kMirrorHeadSize, '\0');
    head.resize(readHead(path, head));
    return classifyFile(name, head, size <= head.size());
}

MirrorPlan planMirror(const std::vector<std::pair<std::string, std::string>> &sources,
                      const std::string &folder, const MirrorOptions &options) {
    Planner planner(options, folder);
    planner.placeAll(sources, folder, true);
    return std::move(planner.plan);
}

namespace {

// The folder of `e`'s target opened beneath its root, and the target's name in it; -1 with the
// reason in `why` when it cannot be opened.
int openTargetFolder(const MirrorEntry &e, std::string &name, Message &why) {
    HeldFolder unheld(e.root);
    const int fd = (e.held ? *e.held : unheld).openFolderOf(e.dst, name);
    if (fd < 0)
        why = errno == ENOTDIR ? Message(MessageId::MirrorFolderReplaced, {}, reason(ENOTDIR))
                               : core::systemError(errno);
    return fd;
}

// Gives the folder `name` in `parent` the mode `mode`, only if it is still a folder and not a link
// put in its place: the mode of a folder elsewhere is not the mirror's to change.
void chmodFolder(int parent, const std::string &name, mode_t mode) {
    const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fchmod(fd, mode);
    ::close(fd);
}

} // namespace

core::Message makeMirrorFolder(const MirrorEntry &e) {
    std::string name;
    Message why;
    const int parent = openTargetFolder(e, name, why);
    if (parent < 0)
        return {MessageId::CannotCreateFolder, {}, {why}};
    struct stat st {};
    if (::mkdirat(parent, name.c_str(), (e.st.st_mode & 0777) | S_IRWXU) != 0) {
        const int error = errno;
        if (error != EEXIST || ::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            why = {MessageId::CannotCreateFolder, {}, reason(error)};
        // A link there is not followed: whoever put it there would have the mirror write its files
        // into the folder it leads to, and give that folder the source's permissions.
        else if (S_ISLNK(st.st_mode))
            why = {MessageId::CannotCreateFolder, {}, {Message(MessageId::FolderIsLink)}};
        else if (!S_ISDIR(st.st_mode))
            why = {MessageId::CannotCreateFolder, {}, reason(error)};
        else
            chmodFolder(parent, name, st.st_mode | S_IRWXU);
    }
    ::close(parent);
    return why;
}

core::Message makeMirrorLink(const MirrorEntry &e) {
    std::string target;
    if (e.linkTarget) {
        target = *e.linkTarget; // read, and its names converted, when the mirror was planned
    } else {
        target.assign(static_cast<std::size_t>(e.st.st_size > 0 ? e.st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(e.src.c_str(), target.data(), target.size());
        if (n < 0)
            return {MessageId::CannotReadLink, {}, reason(errno)};
        target.resize(static_cast<std::size_t>(n));
    }
    std::string name;
    Message why;
    const int parent = openTargetFolder(e, name, why);
    if (parent < 0)
        return {MessageId::CannotCreateLink, {e.dst}, {why}};
    struct stat st {};
    if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        ::unlinkat(parent, name.c_str(), 0);
    if (::symlinkat(target.c_str(), parent, name.c_str()) != 0)
        why = {MessageId::CannotCreateLink, {e.dst}, reason(errno)};
    ::close(parent);
    return why;
}

void finishMirrorFolders(const std::vector<MirrorEntry> &entries) {
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        if (e->type != MirrorEntry::Type::Folder)
            continue;
        std::string name;
        Message why;
        const int parent = openTargetFolder(*e, name, why);
        if (parent < 0)
            continue;
        chmodFolder(parent, name, e->st.st_mode & 07777);
        ::close(parent);
    }
}

void keepMirrorMode(const MirrorEntry &e) {
    std::string name;
    Message why;
    const int parent = openTargetFolder(e, name, why);
    if (parent < 0)
        return;
    struct stat st {};
    if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        ::fchmodat(parent, name.c_str(), e.st.st_mode & 0777, 0);
    ::close(parent);
}

bool isListedFile(int fd, const struct stat &listed) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == listed.st_dev &&
           st.st_ino == listed.st_ino;
}

int openMirrorSource(const MirrorEntry &e, core::Message &why) {
    const int fd = ::open(e.src.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        why = {MessageId::CannotOpen, {}, reason(errno)};
        return -1;
    }
    if (!isListedFile(fd, e.st)) {
        ::close(fd);
        why = {MessageId::SourceReplaced};
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

void keepMode(AtomicFile &file, const struct stat &st) {
    if (!file.direct())
        ::fchmod(file.fd(), st.st_mode & 0777);
}

core::Message copyMirrorFile(const MirrorEntry &e, const std::function<bool(std::uint64_t)> &progress,
                             bool *cancelled, FolderSyncs *later) {
    if (cancelled)
        *cancelled = false;
    Message opened;
    const int in = openMirrorSource(e, opened);
    if (in < 0)
        return opened;
    HeldFolder unheld(e.root);
    AtomicFile file(e.dst, e.held ? *e.held : unheld);
    if (file.fd() < 0) {
        ::close(in);
        return file.why();
    }
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    const std::unique_ptr<char[]> buf(new char[kBlock]); // read into, so left uncleared
    Message why;
    // A file that goes on growing while it is copied (a neighbour appending without end) would
    // fill the disk: past the size it was listed with, it is refused.
    std::uint64_t copied = 0;
    const auto listed = static_cast<std::uint64_t>(e.st.st_size);
    for (;;) {
        const ssize_t got = ::read(in, buf.get(), kBlock);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            why = {MessageId::CannotRead, {}, reason(errno)};
            break;
        }
        if (got == 0)
            break;
        copied += static_cast<std::uint64_t>(got);
        if (copied > listed) {
            why = MessageId::GrewWhileCopied;
            break;
        }
        for (std::size_t done = 0; done < static_cast<std::size_t>(got) && why.empty();) {
            const ssize_t n = ::write(file.fd(), buf.get() + done, static_cast<std::size_t>(got) - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                why = {MessageId::CannotWrite, {}, reason(n < 0 ? errno : EIO)};
            else
                done += static_cast<std::size_t>(n);
        }
        if (!why.empty())
            break;
        if (progress && !progress(static_cast<std::uint64_t>(got))) {
            if (cancelled)
                *cancelled = true;
            why = Message::verbatim("cancelled");
            break;
        }
    }
    ::close(in);
    if (!why.empty()) {
        file.discard();
        return why;
    }
    keepMode(file, e.st);
    if (!file.commit(later))
        return file.why();
    return {};
}

} // namespace platform
