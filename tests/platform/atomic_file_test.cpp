// Replacing files whatever stands at the path: devices and FIFOs are written, never renamed over;
// links keep their place unless a stranger planted them in a shared folder; a signal removes the
// temporary file.

#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::AtomicFile;

std::string slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void spit(const fs::path &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct Folder {
    fs::path path;
    Folder() {
        char name[] = "/tmp/lanternfin-atomic-XXXXXX";
        path = mkdtemp(name);
    }
    ~Folder() { fs::remove_all(path); }
    fs::path operator/(const char *name) const { return path / name; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), {}));
    }
};

bool writeAll(const AtomicFile &file, const std::string &text) {
    return ::write(file.fd(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

TEST(AtomicFile, DevicesAndFifosAreWrittenDirectlyNeverRenamedOver) {
    Folder folder;
    if (geteuid() == 0) {
        // A null device of our own, so that a fault could not replace the system's.
        ASSERT_EQ(::mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        AtomicFile device(folder / "null");
        ASSERT_GE(device.fd(), 0) << device.message();
        EXPECT_TRUE(device.direct());
        EXPECT_TRUE(writeAll(device, "gone"));
        EXPECT_TRUE(device.commit());
        EXPECT_TRUE(fs::is_character_file(folder / "null"));
        EXPECT_EQ(folder.entries(), 1u);
        fs::remove(folder / "null");
    }

    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(folder / "fifo"); });
    {
        AtomicFile fifo(folder / "fifo");
        ASSERT_GE(fifo.fd(), 0) << fifo.message();
        EXPECT_TRUE(fifo.direct());
        EXPECT_TRUE(writeAll(fifo, "for the reader"));
        EXPECT_TRUE(fifo.commit());
    }
    reader.join();
    EXPECT_EQ(received, "for the reader");
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_EQ(folder.entries(), 1u);

    AtomicFile out("/dev/stdout");
    EXPECT_TRUE(out.direct());
    EXPECT_GE(out.fd(), 0) << out.message();
    EXPECT_TRUE(out.commit());
    EXPECT_TRUE(fs::exists("/dev/stdout")) << "the descriptor is closed, never replaced";

    AtomicFile folderTarget(folder.path);
    EXPECT_EQ(folderTarget.fd(), -1);
    EXPECT_EQ(folderTarget.error(), EISDIR);
    EXPECT_EQ(folderTarget.why().in(core::Language::English), "cannot open: Is a directory");
}

// Regression: the failed step was English whatever the locale. It is a message now, worded in
// either language, and message() words it in the locale's.
TEST(AtomicFile, FailuresAreWordedInEitherLanguage) {
    Folder folder;
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    const std::string socketPath = (folder / "s").string();
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const struct {
        fs::path path;
        const char *english, *chinese;
    } cases[] = {
        {folder.path, "cannot open: Is a directory", "无法打开：是一个目录"},
        {folder / "loop-a", "cannot follow the symbolic link: Too many levels of symbolic links",
         "无法跟随符号链接：符号链接的层数过多"},
        {folder / "s", "cannot write to a socket: No such device or address",
         "无法写入套接字：没有那个设备或地址"},
        {folder / "missing/x.txt", "cannot create a temporary file beside it: No such file or directory",
         "无法在它旁边创建临时文件：没有那个文件或目录"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.english);
        AtomicFile file(c.path);
        EXPECT_EQ(file.fd(), -1);
        EXPECT_EQ(file.why().in(core::Language::English), c.english);
        EXPECT_EQ(file.why().in(core::Language::Chinese), c.chinese);
    }
    ::close(sock);
    const char *old = std::getenv("LC_ALL");
    const std::string kept = old ? old : "";
    ::setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(AtomicFile(folder.path).message(), "无法打开：是一个目录");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(AtomicFile(folder.path).message(), "cannot open: Is a directory");
    if (old)
        ::setenv("LC_ALL", kept.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}

TEST(AtomicFile, LinksStayAndTheirTargetGetsTheText) {
    struct Case {
        const char *link;   // the name written to
        const char *target; // where the text lands
    };
    const Case cases[] = {
        {"to-file", "real/doc.txt"},   // a link to a file
        {"to-link", "real/doc.txt"},   // a link to that link
        {"dangling", "real/new.txt"},  // a link to a file not there yet
        {"real/up", "doc-at-top.txt"}, // a relative link, read from the link's own folder
    };
    Folder folder;
    fs::create_directory(folder / "real");
    spit(folder / "real/doc.txt", "old");
    fs::create_symlink("real/doc.txt", folder / "to-file");
    fs::create_symlink("to-file", folder / "to-link");
    fs::create_symlink("real/new.txt", folder / "dangling");
    fs::create_symlink("../doc-at-top.txt", folder / "real/up");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.link);
        AtomicFile file(folder.path / c.link);
        ASSERT_GE(file.fd(), 0) << file.message();
        EXPECT_FALSE(file.direct());
        ASSERT_TRUE(writeAll(file, c.link));
        ASSERT_TRUE(file.commit()) << file.message();
        EXPECT_TRUE(fs::is_symlink(folder.path / c.link));
        EXPECT_EQ(slurp(folder.path / c.target), c.link);
    }

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    AtomicFile loop(folder / "loop-a");
    EXPECT_EQ(loop.error(), ELOOP);
    EXPECT_EQ(loop.why().in(core::Language::English).rfind("cannot follow the symbolic link: ", 0), 0u)
        << loop.message();
}

TEST(AtomicFile, AStrangersLinkInASharedStickyFolderIsNotFollowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    Folder folder;
    fs::create_directory(folder / "shared");
    ::chmod((folder / "shared").c_str(), 01777);
    spit(folder / "victim", "precious");
    fs::create_symlink(folder / "victim", folder / "shared/out.txt");
    ASSERT_EQ(::lchown((folder / "shared/out.txt").c_str(), 65534, 65534), 0);

    AtomicFile planted(folder / "shared/out.txt");
    EXPECT_EQ(planted.fd(), -1);
    EXPECT_EQ(planted.error(), EACCES);
    EXPECT_EQ(planted.why().in(core::Language::English),
              "refusing to follow " + (folder / "shared/out.txt").string() +
                  ", a symbolic link that uid 65534 owns in a shared folder: Permission denied");
    EXPECT_EQ(slurp(folder / "victim"), "precious");

    // The same link is ours to follow when it is ours, or when the folder is not shared.
    for (const bool ours : {true, false}) {
        SCOPED_TRACE(ours);
        if (ours)
            ASSERT_EQ(::lchown((folder / "shared/out.txt").c_str(), 0, 0), 0);
        else
            ::chmod((folder / "shared").c_str(), 0755);
        std::string target;
        int error = 0;
        EXPECT_TRUE(platform::resolveLinks(folder / "shared/out.txt", 0, target, error));
        EXPECT_EQ(target, (folder / "victim").string());
    }
}

TEST(AtomicFile, AHardLinkedFileGetsANewFileAndTheOtherNameKeepsTheOldText) {
    Folder folder;
    spit(folder / "a", "old");
    fs::create_hard_link(folder / "a", folder / "b");
    AtomicFile file(folder / "a");
    ASSERT_TRUE(writeAll(file, "new"));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(slurp(folder / "a"), "new");
    EXPECT_EQ(slurp(folder / "b"), "old");
    EXPECT_EQ(fs::hard_link_count(folder / "a"), 1u);
}

TEST(AtomicFile, AnInterruptingSignalRemovesTheTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Folder folder;
        spit(folder / "doc.txt", "original");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::removeTemporaryFilesOnSignals();
            AtomicFile file(folder / "doc.txt");
            writeAll(file, "half of the new text");
            ::raise(signal);
            _exit(0); // not reached: the signal ends the child
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.entries(), 1u);
        EXPECT_EQ(slurp(folder / "doc.txt"), "original");
    }
}

// A signal that ends a program of several threads making files at once (a folder's jobs) leaves
// none of their temporary files: the others go on while one thread handles the signal, and a file
// they made between its sweep and the end stayed behind.
TEST(AtomicFile, ASignalEndingManyThreadsLeavesNoTemporaryFile) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        Folder folder;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::removeTemporaryFilesOnSignals();
            for (int t = 0; t < 3; ++t)
                std::thread([&folder, t] {
                    for (int i = 0;; ++i) {
                        std::string name = "t";
                        name += std::to_string(t * 1000000 + i);
                        AtomicFile file((folder.path / name).string());
                        writeAll(file, "text");
                    }
                }).detach();
            const timespec wait{0, 20000000};
            ::nanosleep(&wait, nullptr);
            ::raise(SIGTERM);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        EXPECT_EQ(folder.entries(), 0u);
    }
}

// Files committed together: all synced first (with one flush of their filesystem, a file on
// another filesystem or a failed one beside them), then renamed, their folder synced once. A file
// synced but not yet renamed is still a temporary file: discarding it or a signal leaves the old
// text, and only the renamed ones carry the new.
TEST(AtomicFile, FilesSyncedTogetherAreCommittedOrLeftAsTheyWere) {
    Folder folder;
    const char *names[] = {"a.txt", "b.txt", "c.txt"};
    for (const char *name : names)
        spit(folder / name, std::string("old ") + name);
    char elsewhere[] = "/dev/shm/lanternfin-sync-XXXXXX"; // tmpfs: another filesystem than the test's
    const bool shm = ::mkdtemp(elsewhere) != nullptr;
    const std::string other = shm ? std::string(elsewhere) + "/d.txt" : (folder / "d.txt").string();
    {
        platform::FolderSyncs syncs;
        std::vector<std::unique_ptr<AtomicFile>> files;
        for (const char *name : names) {
            files.push_back(std::make_unique<AtomicFile>(folder / name));
            ASSERT_TRUE(writeAll(*files.back(), std::string("new ") + name));
        }
        AtomicFile elsewhereFile(other), failed(folder / "no such folder" / "e.txt");
        ASSERT_TRUE(writeAll(elsewhereFile, "new d.txt"));
        ASSERT_EQ(failed.fd(), -1);
        AtomicFile::syncTogether({files[0].get(), &elsewhereFile, files[1].get(), &failed, files[2].get()});
        for (auto &file : files) {
            EXPECT_EQ(file->fd(), -1);
            EXPECT_TRUE(file->syncText()) << "a second sync changes nothing";
        }
        EXPECT_EQ(elsewhereFile.fd(), -1);
        EXPECT_TRUE(elsewhereFile.commit());
        EXPECT_FALSE(failed.commit());
        EXPECT_TRUE(files[0]->commit(&syncs));
        EXPECT_FALSE(files[0]->commit(&syncs)) << "a committed file is not committed twice";
        files[1]->discard();
        EXPECT_FALSE(files[1]->commit(&syncs)) << "nor a discarded one";
        EXPECT_TRUE(files[2]->commit());
    }
    EXPECT_EQ(slurp(folder / "a.txt"), "new a.txt");
    EXPECT_EQ(slurp(folder / "b.txt"), "old b.txt");
    EXPECT_EQ(slurp(folder / "c.txt"), "new c.txt");
    EXPECT_EQ(slurp(other), "new d.txt");
    if (shm) {
        ::unlink(other.c_str());
        ::rmdir(elsewhere);
    } else {
        ::unlink(other.c_str());
    }
    EXPECT_EQ(folder.entries(), 3u);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::removeTemporaryFilesOnSignals();
        AtomicFile a(folder / "a.txt"), b(folder / "b.txt");
        writeAll(a, "newer a");
        writeAll(b, "newer b");
        a.syncText();
        b.syncText();
        ::raise(SIGTERM);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(folder.entries(), 3u);
    EXPECT_EQ(slurp(folder / "a.txt"), "new a.txt");
    EXPECT_EQ(slurp(folder / "b.txt"), "old b.txt");
}

// New files take the mode the umask gives, and files made on several threads at once (a folder's
// jobs) leave the umask as it was: learning it by setting it and back, two threads could leave it
// at 0, and every later file world-writable.
TEST(AtomicFile, NewFilesOnSeveralThreadsKeepTheUmask) {
    Folder folder;
    const mode_t before = ::umask(022);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&folder, t] {
            for (int i = 0; i < 150; ++i) {
                std::string name = "f";
                name += std::to_string(t * 1000 + i);
                AtomicFile file((folder.path / name).string());
                writeAll(file, "x");
                file.commit();
            }
        });
    for (auto &thread : threads)
        thread.join();
    const mode_t after = ::umask(before);
    EXPECT_EQ(after, mode_t(022));
    std::size_t open = 0;
    for (const auto &entry : fs::directory_iterator(folder.path))
        open += (fs::status(entry).permissions() & fs::perms::others_write) != fs::perms::none;
    EXPECT_EQ(open, 0u);
    EXPECT_EQ(folder.entries(), 600u);
}

// An access list in the kernel's xattr form (posix_acl_xattr): version 2, then (tag, permissions,
// id) entries in tag order.
std::string
accessList(std::initializer_list<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> entries) {
    std::string blob(4, '\0');
    const std::uint32_t version = 2;
    std::memcpy(blob.data(), &version, 4);
    for (const auto &[tag, perm, id] : entries) {
        char entry[8];
        std::memcpy(entry, &tag, 2);
        std::memcpy(entry + 2, &perm, 2);
        std::memcpy(entry + 4, &id, 4);
        blob.append(entry, 8);
    }
    return blob;
}

std::string attribute(const fs::path &path, const char *name) {
    std::string value(4096, '\0');
    const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
    value.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return value;
}

// The replacement carries the old file's access list and other attributes: a user shut out stays
// shut out, and a 0600 file with one named user's grant does not open to its group.
TEST(AtomicFile, AccessListsAndOtherAttributesGoToTheNewFile) {
    constexpr std::uint16_t kUserObj = 1, kUser = 2, kGroupObj = 4, kMask = 0x10, kOther = 0x20;
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    struct Case {
        const char *what;
        mode_t mode;
        std::string acl;
    };
    const Case cases[] = {
        {"one user shut out", 0644,
         accessList({{kUserObj, 6, kNone},
                     {kUser, 0, 12345},
                     {kGroupObj, 4, kNone},
                     {kMask, 4, kNone},
                     {kOther, 4, kNone}})},
        {"a private file with one grant", 0600,
         accessList({{kUserObj, 6, kNone},
                     {kUser, 6, 12345},
                     {kGroupObj, 0, kNone},
                     {kMask, 6, kNone},
                     {kOther, 0, kNone}})},
        {"no access list", 0640, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        const fs::path doc = folder / "doc.txt";
        spit(doc, "old");
        ::chmod(doc.c_str(), c.mode);
        if (::setxattr(doc.c_str(), "user.origin", "report", 6, 0) != 0 ||
            (!c.acl.empty() &&
             ::setxattr(doc.c_str(), "system.posix_acl_access", c.acl.data(), c.acl.size(), 0) != 0))
            GTEST_SKIP() << "this file system keeps no attributes: " << std::strerror(errno);
        const std::string acl = attribute(doc, "system.posix_acl_access");
        struct stat before {};
        ASSERT_EQ(::stat(doc.c_str(), &before), 0);

        AtomicFile file(doc);
        ASSERT_GE(file.fd(), 0) << file.message();
        ASSERT_TRUE(writeAll(file, "new"));
        ASSERT_TRUE(file.commit()) << file.message();

        EXPECT_EQ(slurp(doc), "new");
        EXPECT_EQ(attribute(doc, "system.posix_acl_access"), acl);
        EXPECT_EQ(attribute(doc, "user.origin"), "report");
        struct stat after {};
        ASSERT_EQ(::stat(doc.c_str(), &after), 0);
        EXPECT_NE(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    }
}

// Names at the system's limit get a temporary name within it.
TEST(AtomicFile, ALongNameGetsATemporaryNameWithinTheLimit) {
    for (const std::size_t length : {247u, 248u, 250u, 255u}) {
        SCOPED_TRACE(length);
        Folder folder;
        const fs::path doc = folder.path / std::string(length, 'x');
        AtomicFile file(doc);
        ASSERT_GE(file.fd(), 0) << file.message();
        ASSERT_TRUE(writeAll(file, "new"));
        ASSERT_TRUE(file.commit()) << file.message();
        EXPECT_EQ(slurp(doc), "new");
        EXPECT_EQ(folder.entries(), 1u);
    }
}

// A new file in a mirror's folder has no name until it is committed: whatever takes its name
// meanwhile (a link a neighbour plants, a file) is replaced, never followed; discarded or killed,
// even by SIGKILL, which no handler sees, it leaves nothing behind; synced with others, it is
// still named only by its commit.
TEST(AtomicFile, ANewFileBeneathAFolderIsNamedOnlyWhenCommitted) {
    enum class Meanwhile { Nothing, Link, File, Discarded, SyncedTogether, Killed };
    const struct {
        const char *what;
        Meanwhile meanwhile;
        std::size_t entries; // in the folder afterwards
        const char *text;    // at the name afterwards; nullptr: nothing there
    } cases[] = {
        {"committed", Meanwhile::Nothing, 1, "new"},
        {"a link put at its name", Meanwhile::Link, 1, "new"},
        {"a file put at its name", Meanwhile::File, 1, "new"},
        {"discarded", Meanwhile::Discarded, 0, nullptr},
        {"synced with another, then committed", Meanwhile::SyncedTogether, 2, "new"},
        {"killed before its commit", Meanwhile::Killed, 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Folder out, victim;
        spit(victim / "mine.txt", "mine");
        const std::string target = (out.path / "a.txt").string();
        if (c.meanwhile == Meanwhile::Killed) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                AtomicFile file(target, out.path.string());
                writeAll(file, "new");
                file.syncText();
                ::raise(SIGKILL);
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFSIGNALED(status)) << status;
        } else {
            AtomicFile file(target, out.path.string()),
                other((out.path / "b.txt").string(), out.path.string());
            ASSERT_GE(file.fd(), 0) << file.message();
            ASSERT_TRUE(writeAll(file, "new"));
            EXPECT_EQ(out.entries(), 0u) << "no name before the commit";
            if (c.meanwhile == Meanwhile::Link)
                fs::create_symlink(victim / "mine.txt", target);
            if (c.meanwhile == Meanwhile::File)
                spit(target, "someone else's");
            if (c.meanwhile == Meanwhile::Discarded) {
                file.discard();
                EXPECT_FALSE(file.commit());
            } else if (c.meanwhile == Meanwhile::SyncedTogether) {
                ASSERT_TRUE(writeAll(other, "other"));
                AtomicFile::syncTogether({&file, &other});
                EXPECT_EQ(out.entries(), 0u);
                EXPECT_TRUE(other.commit());
                EXPECT_TRUE(file.commit()) << file.message();
            } else {
                EXPECT_TRUE(file.commit()) << file.message();
            }
        }
        EXPECT_EQ(out.entries(), c.entries);
        EXPECT_FALSE(fs::is_symlink(target));
        if (c.text)
            EXPECT_EQ(slurp(target), c.text);
        else
            EXPECT_FALSE(fs::exists(target));
        EXPECT_EQ(slurp(victim / "mine.txt"), "mine");
    }
}

// A run's output folder is held from the first file it gets: someone who then moves it away and
// puts a link to a folder of ours at its path (a folder they may write in) sends none of the
// run's later files through the link. A folder the run is yet to make is held once it is there.
TEST(AtomicFile, AHeldFolderKeepsTheRunsFilesWhenItsPathIsSwapped) {
    Folder base;
    fs::create_directories(base / "victim");
    platform::HeldFolder held((base / "out").string());
    {
        AtomicFile early((base / "out/a.txt").string(), held);
        EXPECT_EQ(early.fd(), -1) << "the folder is not there yet";
    }
    fs::create_directories(base / "out/sub");
    const auto write = [&](const char *name) {
        AtomicFile file((base.path / "out" / name).string(), held);
        return file.fd() >= 0 && writeAll(file, name) && file.commit();
    };
    ASSERT_TRUE(write("a.txt"));
    fs::rename(base / "out", base / "moved");
    fs::create_directory_symlink(base / "victim", base / "out");
    for (const char *name : {"b.txt", "sub/c.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(write(name));
        EXPECT_EQ(slurp(base.path / "moved" / name), name);
    }
    EXPECT_TRUE(fs::is_empty(base / "victim"));
}

} // namespace
