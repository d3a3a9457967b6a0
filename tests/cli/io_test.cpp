// The I/O under lanternfin-cli: the buffered writer, atomically replaced files and the runner that
// sends a transform's output to stdout, a file or back in place.

#include "cli/io.h"
#include "cli/run.h"

#include "temp_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Folder = testsupport::TempDir;
using testsupport::readFile;
using testsupport::writeFile;

TEST(Writer, KeepsEveryByteAcrossTheBufferSize) {
    const std::size_t sizes[][3] = {
        {0, 0, 0}, {1, 65535, 1}, {65536, 1, 0}, {65537, 3, 200000}, {10, 70000, 10}};
    for (const auto &pieces : sizes) {
        SCOPED_TRACE(pieces[0] * 1000000 + pieces[1]);
        Folder folder;
        const fs::path file = folder.path / "out";
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
        std::string expected;
        {
            cli::Writer out(fd);
            char letter = 'a';
            for (const std::size_t size : pieces) {
                const std::string piece(size, letter++);
                out.write(piece);
                expected += piece;
            }
            EXPECT_TRUE(out.flush());
        }
        ::close(fd);
        EXPECT_TRUE(readFile(file) == expected);
    }
}

// The encodings wrapper reads an input's head, then hands the input on with the head put back, or
// gives a command its text decoded in memory and takes its output in a string.
TEST(Input, BytesPutBackAreReadFirstThenTheRest) {
    testsupport::TempDir dir;
    const auto path = dir.path / "in.txt";
    std::ofstream(path) << "abcdef";
    cli::Input file(path.string());
    char head[3];
    ASSERT_EQ(file.read(head, 3), 3);
    file.unread(std::string(head, 3));
    char small[2];
    ASSERT_EQ(file.read(small, 2), 2); // a read smaller than what was put back
    EXPECT_EQ(std::string(small, 2), "ab");
    std::string rest;
    EXPECT_TRUE(file.readAll(rest));
    EXPECT_EQ(rest, "cdef");

    cli::Input memory("name", std::string("xyz"));
    EXPECT_TRUE(memory.isOpen());
    EXPECT_EQ(memory.name(), "name");
    std::string sink;
    cli::Writer out(sink);
    char buf[8];
    for (long got; (got = memory.read(buf, 2)) > 0;)
        out.write(std::string_view(buf, static_cast<std::size_t>(got)));
    EXPECT_TRUE(out.flush());
    EXPECT_EQ(sink, "xyz");
    EXPECT_EQ(memory.read(buf, 8), 0);
}

// A file limited to the size it was listed with reads that much, and fails past it with EFBIG: one
// that grows while it is read (a neighbour appending without end) was read forever.
TEST(Input, AFileLimitedToItsListedSizeFailsPastIt) {
    testsupport::TempDir dir;
    const auto path = dir.path / "in.txt";
    for (const auto &[limit, ok] : {std::pair{std::uint64_t(6), true}, std::pair{std::uint64_t(4), false}}) {
        std::ofstream(path) << "abcdef";
        cli::Input file(path.string());
        file.limitTo(limit);
        std::string all;
        EXPECT_EQ(file.readAll(all), ok);
        if (ok)
            EXPECT_EQ(all, "abcdef");
        else
            EXPECT_EQ(file.error(), EFBIG);
    }
}

// Bytes in memory, owned or borrowed, read the same way; taking them whole gives what is left
// without a copy, and is refused once bytes were put back (they are not in that memory).
TEST(Input, BytesInMemoryOwnedOrBorrowed) {
    const std::string bytes = "0123456789";
    for (const bool borrowed : {false, true}) {
        SCOPED_TRACE(borrowed);
        cli::Input in = borrowed ? cli::Input("-", std::string_view(bytes), cli::Input::Borrowed{})
                                 : cli::Input("-", std::string(bytes));
        EXPECT_EQ(in.knownSize(), 10);
        EXPECT_EQ(in.head(4), "0123");
        char buf[3];
        ASSERT_EQ(in.read(buf, 3), 3);
        EXPECT_EQ(in.knownSize(), 7);
        EXPECT_EQ(in.head(100), "3456789");
        in.unread("ab");
        EXPECT_EQ(in.knownSize(), 9);
        EXPECT_EQ(in.head(4), "ab34");
        std::string_view rest;
        EXPECT_FALSE(in.takeMemory(rest));
        ASSERT_EQ(in.read(buf, 3), 2); // what was put back, then the memory
        ASSERT_TRUE(in.takeMemory(rest));
        EXPECT_EQ(rest, "3456789");
        EXPECT_EQ(borrowed, rest.data() == bytes.data() + 3);
        EXPECT_EQ(in.read(buf, 3), 0);
    }
    cli::Input file("/dev/null");
    std::string_view rest;
    EXPECT_FALSE(file.takeMemory(rest));
}

TEST(Writer, FullDiskIsKeptAsTheFirstError) {
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    cli::Writer out(fd);
    out.write("small");
    EXPECT_EQ(out.error(), 0); // still buffered
    out.write(std::string(1 << 17, 'x'));
    EXPECT_EQ(out.error(), ENOSPC);
    EXPECT_FALSE(out.flush());
    ::close(fd);
}

// A large scratch output is flushed to the disk by a thread of the writer's own as it grows: the
// bytes stay whole and in order, committed or discarded while that thread may be flushing.
TEST(Writer, ALargeOutputFlushedAsItGrowsIsCommittedWholeOrDiscarded) {
    constexpr int kPieces = 33; // MB: past the size from which the writer flushes
    std::string piece(1 << 20, 'a');
    const auto pieceNumber = [&piece](int i) -> const std::string & {
        piece[0] = piece[piece.size() - 1] = static_cast<char>('a' + i % 26);
        return piece;
    };
    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit);
        Folder folder;
        const fs::path file = folder.path / "big.txt";
        {
            cli::AtomicFile target(file);
            ASSERT_GE(target.fd(), 0);
            cli::Writer out(target.fd(), true);
            for (int i = 0; i < kPieces; ++i)
                out.write(pieceNumber(i));
            if (commit) {
                EXPECT_TRUE(out.flush());
                EXPECT_TRUE(target.commit());
            } else {
                target.discard(); // the writer, and its flushing, outlive the file's descriptor
            }
        }
        EXPECT_EQ(folder.entries(), commit ? 1u : 0u);
        if (!commit)
            continue;
        ASSERT_EQ(fs::file_size(file), std::uintmax_t(kPieces) << 20);
        const int fd = ::open(file.c_str(), O_RDONLY);
        std::string got(piece.size(), '\0');
        for (int i = 0; i < kPieces; ++i) {
            ASSERT_EQ(::read(fd, got.data(), got.size()), static_cast<ssize_t>(got.size()));
            EXPECT_TRUE(got == pieceNumber(i)) << i;
        }
        ::close(fd);
    }
}

TEST(AtomicFile, ReplacesOnlyOnCommitAndLeavesNoTemporaryFile) {
    Folder folder;
    const fs::path file = folder.path / "doc.txt";
    writeFile(file, "old");
    ::chmod(file.c_str(), 0640);
    {
        cli::AtomicFile uncommitted(file);
        ASSERT_GE(uncommitted.fd(), 0);
        ASSERT_EQ(::write(uncommitted.fd(), "half", 4), 4);
    }
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(folder.entries(), 1u);

    cli::AtomicFile replaced(file);
    ASSERT_EQ(::write(replaced.fd(), "new", 3), 3);
    ASSERT_TRUE(replaced.commit());
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(AtomicFile, NewFileGetsTheUmaskModeAndMissingFolderFails) {
    Folder folder;
    const mode_t old = umask(027);
    cli::AtomicFile created(folder.path / "new.txt");
    umask(old);
    ASSERT_TRUE(created.commit());
    EXPECT_EQ(fs::status(folder.path / "new.txt").permissions(), fs::perms(0640));

    cli::AtomicFile nowhere(folder.path / "no" / "file");
    EXPECT_EQ(nowhere.fd(), -1);
    EXPECT_EQ(nowhere.error(), ENOENT);
    EXPECT_FALSE(nowhere.commit());
}

TEST(AtomicFile, ThroughASymbolicLinkReplacesItsTarget) {
    Folder folder;
    fs::create_directory(folder.path / "real");
    writeFile(folder.path / "real/doc.txt", "old");
    fs::create_symlink("real/doc.txt", folder.path / "link.txt");
    cli::AtomicFile file(folder.path / "link.txt");
    ASSERT_EQ(::write(file.fd(), "new", 3), 3);
    ASSERT_TRUE(file.commit());
    EXPECT_TRUE(fs::is_symlink(folder.path / "link.txt"));
    EXPECT_EQ(readFile(folder.path / "real/doc.txt"), "new");
    EXPECT_EQ(folder.entries(), 2u);
}

// Upper-cases ASCII; fails with the status written in the input after "fail".
cli::Status fakeUpper(cli::Input &in, cli::Writer &out) {
    std::string text;
    in.readAll(text);
    if (text.rfind("fail", 0) == 0)
        return {text[4] - '0', "refused"};
    for (auto &ch : text)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    out.write(text);
    return {};
}

TEST(RunTransform, FailuresPerDestination) {
    struct Case {
        cli::Destination::Kind kind;
        int status;
        const char *stdoutText;
        const char *files[3]; // the first three inputs afterwards
    };
    using K = cli::Destination::Kind;
    const Case cases[] = {
        // To stdout every input is converted; the first failure's status is returned.
        {K::Stdout, 3, "AC", {"a", "fail3", "c"}},
        // To a file the first failure ends the run and nothing is written.
        {K::File, 3, "", {"a", "fail3", "c"}},
        // In place the failing file stays and the others are converted.
        {K::InPlace, 3, "", {"A", "fail3", "C"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Folder folder;
        writeFile(folder.path / "a", "a");
        writeFile(folder.path / "b", "fail3");
        writeFile(folder.path / "c", "c");
        writeFile(folder.path / "d", "fail2");
        const std::vector<std::string> inputs{folder.path / "a", folder.path / "b", folder.path / "c",
                                              folder.path / "d"};
        const fs::path stdoutFile = folder.path / "stdout";
        const int fd = ::open(stdoutFile.c_str(), O_WRONLY | O_CREAT, 0600);
        std::ostringstream diagnostics;
        const cli::Destination to{c.kind, folder.path / "out"};
        EXPECT_EQ(cli::runTransform(fakeUpper, inputs, to, fd, diagnostics), c.status);
        ::close(fd);
        EXPECT_EQ(readFile(stdoutFile), c.stdoutText);
        EXPECT_FALSE(fs::exists(to.path));
        EXPECT_NE(diagnostics.str().find(inputs[1] + ": refused\n"), std::string::npos);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(readFile(inputs[i]), c.files[i]);
        EXPECT_EQ(readFile(inputs[3]), "fail2");
    }
}

} // namespace
