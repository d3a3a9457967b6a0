#pragma once

// Replacing a file so that a reader never sees half of it and a failure keeps the old one: the
// new text goes to a temporary file in the same folder, reaches the disk (fsync) and then takes the
// file's name (rename). Plain POSIX, no Qt: the command line and the window's files share it.
//
// What a target path may be, and what happens to it:
//   a regular file or no file yet    -> replaced (or created) atomically, keeping its permissions
//                                       (and owner, where allowed); other hard links to it keep the
//                                       old text, since the name gets a new file
//   a symbolic link                  -> the file it points to is replaced (or created) and the link
//                                       stays; a link that another user planted in a shared sticky
//                                       folder (/tmp) is refused, as the kernel refuses to open it
//   /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N
//                                    -> written through that descriptor of this process
//   a device, a FIFO                 -> written directly: there is nothing to rename over, and a
//                                       reader at the other end gets the text
//   a folder, a socket               -> refused

#include "core/messages.h"

#include <sys/stat.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The folders whose new entries are yet to reach the disk, for a run that replaces many files:
// each folder is synced once, at the end, instead of after every file it gets. A crash before then
// may lose a rename (the file is simply not there yet), never a file's text, which is synced before
// its rename either way. Thread-safe; syncs what is left when destroyed.
class FolderSyncs {
public:
    FolderSyncs() = default;
    FolderSyncs(const FolderSyncs &) = delete;
    FolderSyncs &operator=(const FolderSyncs &) = delete;
    ~FolderSyncs() { syncAll(); }
    void add(std::string folder);
    void syncAll();

private:
    std::mutex m_mutex;
    std::set<std::string> m_folders;
};

// A run's output folder, opened when first asked for (the run may make it) and held until the run
// ends: every folder below it is reached from that descriptor, never by the folder's path again,
// so that someone who swaps a part of that path for a link during the run (a folder they may write
// in) cannot send the rest of the run's files, or their replacing of files, elsewhere. Reaching
// it once also spares each file looking up every part of the path. Thread-safe.
class HeldFolder {
public:
    explicit HeldFolder(std::string path) : m_path(std::move(path)) {}
    ~HeldFolder();
    HeldFolder(const HeldFolder &) = delete;
    HeldFolder &operator=(const HeldFolder &) = delete;
    const std::string &path() const { return m_path; }
    // The folder `relative` below it, opened as openBeneath opens it (the caller closes it);
    // -1 with errno set.
    int openBeneath(const std::string &relative);
    // The folder `path` is in, opened below it when `path` is inside it (else from that folder's
    // own path, as openBeneath does), and `path`'s last part in `name`; -1 with errno set.
    int openFolderOf(const std::string &path, std::string &name);

private:
    const std::string m_path;
    std::mutex m_mutex;
    int m_fd = -1;
};

// How many temporary files a signal can remove at once (see removedOnSignal).
constexpr int kMostTemporaryFiles = 2048;

class AtomicFile {
public:
    // What becomes of a symbolic link, FIFO or device that stands at the path's last part: the
    // table above (Follow), or, for a mirror that owns every name in its folder, it is replaced by
    // the new file like any other entry there, never followed or written through (Replace): a
    // link planted in the mirror then cannot lead the text (or the file's mode) elsewhere, and a
    // FIFO planted there cannot hold the run up. The folders on the way are followed either way.
    enum class LastPart { Follow, Replace };

    // Opens the way to `path`: the temporary file beside its target, or the target itself when it
    // is written directly. On failure fd() is -1, error() holds the errno and why() says which
    // step failed.
    explicit AtomicFile(std::string path, LastPart last = LastPart::Follow);
    // The same with LastPart::Replace for a `path` inside the folder `beneath` (a mirror's output
    // folder): the folders below `beneath` are not followed but opened one by one (openBeneath),
    // and the temporary file is made and renamed relative to the folder reached, which the file
    // holds open until it is committed. A neighbour who may write into `beneath` and swaps one of
    // its folders for a link, before or during the write, cannot lead the file out of it. A new
    // name gets a file without a name (O_TMPFILE) where the filesystem has them, which takes the
    // name when committed (linkat): killed in any way, the program leaves nothing of it behind.
    AtomicFile(std::string path, const std::string &beneath);
    // The same inside the folder `beneath` holds for a whole run.
    AtomicFile(std::string path, HeldFolder &beneath);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    int fd() const { return m_fd; }
    const std::string &path() const { return m_path; }
    // True when the target is written as it is (device, FIFO, descriptor), without a temporary
    // file: what has been written is there already, and discard() cannot take it back.
    bool direct() const { return m_direct; }
    // Makes the text the file's: fsync and rename, or for a direct target only closes it. False
    // (errno in error(), the step in why()) when a step fails; the temporary file is removed
    // then and the old file stays. The folder is synced at once, or by `later` when given.
    bool commit(FolderSyncs *later = nullptr);
    // The first half of commit(), for several files committed together: the text reaches the
    // disk and the file is closed (fd() is -1 after it; a file without a name stays open, as it
    // would be gone); commit() then only renames (or links). Syncing all
    // before renaming any saves writing each file's metadata twice.
    bool syncText();
    // syncText() for several files at once, with one flush of the filesystem they share (syncfs)
    // instead of one per file: each flush waits for the device, and on a busy disk the waits add
    // up (2,000 small files here: 0.18 s against 0.11 s on a quiet disk, 6 s against 0.5 s while
    // a build writes). `files` in the order they were created, each open or failed already; a file
    // on another filesystem, or every file when the flush fails, is synced on its own, so that a
    // write error is told for the file that has it.
    static void syncTogether(const std::vector<AtomicFile *> &files);
    // Removes the temporary file; the file at `path` stays as it was.
    void discard();
    // Whether a signal that ends the program removes the temporary file (false only when too many
    // are open at once): a file that is not may not wait to be committed.
    bool removedOnSignal() const { return m_temp.empty() || m_registered >= 0; }
    int error() const { return m_error; }
    // The failed step with the system's reason, "cannot create a temporary file beside it:
    // Permission denied" (or its Chinese); empty while nothing failed.
    const core::Message &why() const { return m_why; }
    // That message worded in the locale's language, for the command line (platform::say).
    std::string message() const;

private:
    void fail(int error, core::MessageId step, std::vector<std::string> args = {});
    bool openDirect(const std::string &target, bool descriptor, int fd);
    // Gives the new file the owner, mode and extended attributes of the file it replaces, whose
    // status is `st` and whose attributes are read at `from`; false (the file discarded) when an
    // attribute cannot be kept.
    bool takeOver(const struct stat &st, const std::string &from);
    // The constructors beneath a folder: the temporary file (or nameless one) in the folder of
    // m_path reached from `beneath`.
    void openIn(HeldFolder &beneath);
    // Beneath a folder: a temporary name after `name` in m_folder (m_tempName), which `make`
    // (openat, linkat) creates, registered to be removed on a signal; what `make` returned (>= 0),
    // or -1 with errno set.
    int takeTemporaryName(const std::string &name, const std::function<int(const char *)> &make);
    // A new temporary file named so, open at m_fd; false with errno set.
    bool makeNamedTemporary(const std::string &name);
    // Gives the file made without a name (m_anonymous) the target's name in m_folder, replacing
    // whatever took that name meanwhile; false with errno set.
    bool linkAnonymous();
    // Forgets the temporary name (removing the file under it, unless `unlink` is false).
    void discardTemporaryName(bool unlink = true);

    std::string m_path;
    std::string m_target; // `path`, or the file its symbolic links lead to
    std::string m_temp;
    int m_folder = -1;      // beneath a folder: the target's folder, which m_tempName is in
    std::string m_tempName; // beneath a folder: the temporary file's name in m_folder
    int m_fd = -1;
    int m_error = 0;
    bool m_direct = false;
    bool m_synced = false;    // the text is on the disk, the file closed, the rename still to come
    bool m_anonymous = false; // beneath a folder: made without a name (O_TMPFILE), linked on commit
    int m_registered = -1;    // the slot of the temporary file among those removed on a signal
    core::Message m_why;
};

// Makes SIGINT, SIGTERM and SIGHUP remove every temporary file of an AtomicFile not yet committed
// before the program ends as the signal would end it. Call once, early in main; a program that
// does not call it leaves such a file behind when it is killed.
void removeTemporaryFilesOnSignals();

// The target that `path` names after following the symbolic links of every part of it (at most
// 40), relative ones from the folder of the link; "." and ".." are resolved on the way. A dangling
// link gives the path it points to. False with `error` set for a loop, and EACCES for a link that
// `uid` may not follow: one in a sticky folder that others may write, owned neither by `uid` nor by
// the folder's owner; `refused` then names that link and its owner.
struct RefusedLink {
    std::string path;
    unsigned owner = 0;
};
bool resolveLinks(const std::string &path, unsigned uid, std::string &target, int &error,
                  RefusedLink *refused = nullptr);

// The folder `relative` (parts separated by '/', "" for `root` itself) inside the folder `root`,
// opened as a descriptor (O_PATH) for the *at calls: `root` is reached as any path is (its links
// followed, with resolveLinks' check), every part below it with openat relative to the one before,
// never following a link: a part that is a link or not a folder fails with ENOTDIR. -1 with errno
// set when it cannot be opened.
int openBeneath(const std::string &root, const std::string &relative);

// `path` (inside `root`, as a mirror's paths are) split into its folder below `root` and its last
// part: ("out", "out/a/b.txt") -> {"a", "b.txt"}. A path that is not inside `root` gives its own
// folder as the root: {"", last part}, with `root` set to that folder.
std::pair<std::string, std::string> splitBeneath(std::string &root, const std::string &path);

} // namespace platform
