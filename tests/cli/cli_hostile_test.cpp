// lanternfin-cli against hostile files and neighbours: configurations nested without end, crafted
// binary dictionaries, FIFOs and other odd files where data is read, links planted in shared
// folders, signals, names at the system's limit.

#include "cli_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::runCli;
using testsupport::TempDir;
using testsupport::writeFile;

// A configuration whose one step is `depth` groups, one inside the other, around an inline
// dictionary that turns a into b.
std::string nestedConfig(int depth) {
    std::string dict = R"({"type": "inline", "entries": {"a": "b"}})";
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += R"({"type": "group", "dicts": [)";
        close += "]}";
    }
    return R"({"conversion_chain": [{"dict": )" + open + dict + close + "}]}";
}

TEST(CliHostile, NestedGroupsStopAtSixtyFourLevels) {
    struct Case {
        int depth;
        int status;
        const char *out;
    };
    for (const Case c : {Case{1, 0, "b"}, Case{64, 0, "b"}, Case{65, 2, ""}, Case{20000, 2, ""}}) {
        SCOPED_TRACE(c.depth);
        TempDir folder;
        writeFile(folder / "g.json", nestedConfig(c.depth));
        const auto run = runCli(folder, "XDG_CACHE_HOME=$PWD/cache $CLI convert -c ./g.json", "a");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        if (c.status) {
            EXPECT_EQ(run.err, "lanternfin-cli: cannot load ./g.json: groups nested deeper than 64\n");
        }
    }
}

// Debian's STCharacters.ocd2 with one 32-bit word of its trie changed: its header still fits.
std::string craftedDictionary() {
    std::string bytes = readFile("/usr/share/opencc/STCharacters.ocd2");
    if (bytes.size() > 3524) {
        const std::uint32_t word = 0x7fffffff;
        std::memcpy(bytes.data() + 3520, &word, 4);
    }
    return bytes;
}

TEST(CliHostile, ACraftedBinaryDictionaryIsDamagedNotACrash) {
    const std::string crafted = craftedDictionary();
    if (crafted.empty())
        GTEST_SKIP() << "needs Debian's opencc data";
    TempDir folder;
    writeFile(folder / "STCharacters.ocd2", crafted);
    writeFile(folder / "g.json",
              R"({"conversion_chain": [{"dict": {"type": "ocd2", "file": "STCharacters.ocd2"}}]})");
    const std::string path = folder.str() + "/STCharacters.ocd2";
    for (const char *shell : {"LANTERNFIN_OPENCC_DIR=$PWD $CLI traditional --by-character",
                              "XDG_CACHE_HOME=$PWD/cache $CLI convert -c $PWD/g.json"}) {
        SCOPED_TRACE(shell);
        const auto run = runCli(folder, shell, "汉");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "lanternfin-cli: cannot load " + path + ": damaged dictionary\n");
    }
}

// Every data file the program reads, each replaced in turn by a FIFO, a folder and a link to a
// device: each is refused at once (a FIFO opened for reading would wait for a writer for ever).
TEST(CliHostile, OddFilesWhereDataIsReadAreRefusedAtOnce) {
    struct Place {
        const char *file;  // made odd, in the folder
        const char *shell; // what reads it (given a time limit: before, a FIFO hung it)
    };
    const Place places[] = {
        {"STCharacters.ocd2", "LANTERNFIN_OPENCC_DIR=$PWD timeout 20 $CLI traditional --by-character"},
        {"g.json", "timeout 20 $CLI convert -c ./g.json"},
        {"d.txt", "timeout 20 $CLI convert -c ./c.json"},
        {"pinyin.dat", "LANTERNFIN_DATA_DIR=$PWD timeout 20 $CLI pinyin --tone numbers"},
    };
    enum Kind { Fifo, Folder, Device };
    for (const Place &place : places)
        for (const Kind kind : {Fifo, Folder, Device}) {
            SCOPED_TRACE(std::string(place.file) + " as kind " + std::to_string(kind));
            TempDir folder;
            writeFile(folder / "c.json",
                      R"({"conversion_chain": [{"dict": {"type": "text", "file": "d.txt"}}]})");
            const fs::path odd = folder / place.file;
            if (kind == Fifo)
                ASSERT_EQ(::mkfifo(odd.c_str(), 0600), 0);
            else if (kind == Folder)
                fs::create_directory(odd);
            else
                fs::create_symlink("/dev/zero", odd);
            const auto run = runCli(folder, std::string("XDG_CACHE_HOME=$PWD/cache ") + place.shell, "汉");
            EXPECT_EQ(run.status, 2);
            EXPECT_NE(run.err.find(std::string(place.file) + ": not a regular file\n"), std::string::npos)
                << run.err;
        }
}

TEST(CliHostile, AnInlineDictionaryThatFailsIsNamedWithItsFile) {
    struct Case {
        const char *entries;
        const char *why;
    };
    for (const Case c : {Case{"{}", "inline dictionary 2: no entries"},
                         Case{R"({"a": ""})", R"(inline dictionary 2: the entry "a" is empty or not text)"},
                         Case{R"({"a": {"b": "c"}})", R"(inline dictionary 2: the entry "a" is not text)"}}) {
        SCOPED_TRACE(c.entries);
        TempDir folder;
        writeFile(folder / "g.json",
                  std::string(R"({"conversion_chain": [{"dict": {"type": "inline", "entries": )"
                              R"({"x": "y"}}}, {"dict": {"type": "inline", "entries": )") +
                      c.entries + "}}]}");
        const auto run = runCli(folder, "XDG_CACHE_HOME=$PWD/cache $CLI convert -c ./g.json", "a");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, std::string("lanternfin-cli: cannot load ./g.json: ") + c.why + "\n");
    }
    // Regression: "inline dictionary 2" stayed English in a Chinese message.
    TempDir folder;
    writeFile(folder / "g.json", R"({"conversion_chain": [{"dict": {"type": "inline", "entries": {}}}]})");
    const auto run =
        runCli(folder, "LC_ALL=zh_CN.UTF-8 XDG_CACHE_HOME=$PWD/cache $CLI convert -c ./g.json", "a");
    EXPECT_EQ(run.err, "lanternfin-cli: 无法载入 ./g.json：内联词典 1：没有条目\n");
}

// Every signal whose default action ends a process: the temporary file goes, the original stays,
// and the program ends by that same signal.
// A line of gigabytes without an end (here: 100 MB against a memory limit of 80 MB) cannot be held;
// it used to end the program with an uncaught std::bad_alloc (abort, status 134). It is now a
// failure of that input: status 4, said, and no file left behind.
TEST(CliHostile, InputTooLongToHoldIsAFailureNotACrash) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#endif
    for (const char *command : {"upper --lines", "money", "pinyin"}) {
        SCOPED_TRACE(command);
        TempDir folder;
        const auto run = runCli(folder, std::string("ulimit -v 80000; head -c 100000000 /dev/zero | $CLI ") +
                                            command + " -o out.txt");
        EXPECT_EQ(run.status, 4);
        EXPECT_NE(run.err.find("not enough memory to convert it"), std::string::npos) << run.err;
        EXPECT_EQ(folder.entries(), 0u);
    }
}

TEST(CliHostile, EverySignalThatEndsTheProgramRemovesItsTemporaryFile) {
    std::vector<int> signals{SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,  SIGBUS,  SIGFPE,
                             SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,  SIGXCPU, SIGXFSZ,
                             SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGSTKFLT};
    for (int s = SIGRTMIN; s <= SIGRTMAX; s += 7)
        signals.push_back(s);
    for (const int signal : signals) {
        SCOPED_TRACE(strsignal(signal));
#if defined(__SANITIZE_ADDRESS__)
        // The sanitizer's own handlers keep these, and it reports before the program ends.
        if (signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE)
            continue;
#endif
        TempDir folder;
        writeFile(folder / "out.txt", "kept");
        ASSERT_EQ(::mkfifo((folder / "in").c_str(), 0600), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A plain start: every signal at its default action, none blocked.
            for (int s = 1; s < NSIG; ++s)
                ::signal(s, SIG_DFL);
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (::chdir(folder.path.c_str()) == 0)
                ::execl(LANTERNFIN_CLI, LANTERNFIN_CLI, "upper", "in", "-o", "out.txt", nullptr);
            _exit(127);
        }
        // The temporary file is made before the input is opened: once the FIFO is open at both
        // ends, the program is in the middle of its output.
        const int in = ::open((folder / "in").c_str(), O_WRONLY);
        ASSERT_GE(in, 0);
        ASSERT_EQ(::write(in, "abc", 3), 3);
        EXPECT_EQ(folder.entries(), 3u);
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ::close(in);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.entries(), 2u);
        EXPECT_EQ(readFile(folder / "out.txt"), "kept");
    }
}

TEST(CliHostile, NamesUpToTheSystemsLimitAreWrittenAndReplaced) {
    for (const std::size_t length : {200u, 248u, 250u, 255u}) {
        SCOPED_TRACE(length);
        TempDir folder;
        const std::string name(length, 'n');
        EXPECT_EQ(runCli(folder, "$CLI upper -o " + name, "new").status, 0);
        EXPECT_EQ(readFile(folder / name), "NEW");
        EXPECT_EQ(runCli(folder, "$CLI lower --in-place " + name).status, 0);
        EXPECT_EQ(readFile(folder / name), "new");
        EXPECT_EQ(folder.entries(), 1u);
    }
}

// A user who rewrites a file whose owner or group they cannot give the new one keeps its mode only
// where that widens nothing: the group's bits used to go to the user's own group (65534:100 0640
// came back 65534:65534 0640, readable by nogroup), and set-user stayed on a copy of root's program
// now owned by the user.
TEST(CliHostile, AnOwnerOrGroupNotKeptGetsNoBitsMeantForAnother) {
    if (geteuid() != 0)
        GTEST_SKIP() << "files of other owners need root to make";
    const struct {
        unsigned uid, gid;
        mode_t mode;
        unsigned newGid;
        mode_t newMode;
    } cases[] = {
        {65534, 100, 0640, 65534, 0600},    // the group's read goes, as others had none
        {65534, 100, 0664, 65534, 0644},    // the group gets what others had
        {65534, 65534, 0640, 65534, 0640},  // a group kept keeps its bits
        {0, 0, 04755, 65534, 0755},         // root's set-user program: the bit goes
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.uid) + ":" + std::to_string(c.gid) + " " + std::to_string(c.mode));
        TempDir folder;
        ::chmod(folder.str().c_str(), 0777);
        writeFile(folder / "f.txt", "abc\n");
        ASSERT_EQ(::chown((folder / "f.txt").c_str(), c.uid, c.gid), 0);
        ASSERT_EQ(::chmod((folder / "f.txt").c_str(), c.mode), 0);
        const auto run = runCli(folder, "setpriv --reuid=65534 --regid=65534 --clear-groups $CLI upper -i f.txt");
        ASSERT_EQ(run.status, 0) << run.err;
        struct stat st {};
        ASSERT_EQ(::stat((folder / "f.txt").c_str(), &st), 0);
        EXPECT_EQ(readFile(folder / "f.txt"), "ABC\n");
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, c.newGid);
        EXPECT_EQ(st.st_mode & 07777, c.newMode);
    }
}

// A file name is printed in a message as a terminal may show it: a name made to hold an escape
// sequence or a line break used to reach the terminal as it was (colours, a title, a line that
// passed for the summary).
TEST(CliHostile, CraftedNamesInMessagesAreEscaped) {
    TempDir folder;
    fs::create_directory(folder / "src");
    writeFile(folder / "src/esc\x1b[31mRED.txt", "\xff\n");
    writeFile(folder / "src/two\nlines.txt", "\xff\n");
    const std::string esc = "lanternfin-cli: src/esc\\x1b[31mRED.txt: input is not valid UTF-8\n";
    const std::string two = "lanternfin-cli: src/two\\x0alines.txt: input is not valid UTF-8\n";
    const struct {
        const char *shell;
        std::vector<std::string> lines; // in any order: the jobs run at once
    } cases[] = {
        {"$CLI upper --no-progress -r src -O out", {esc, two}},
        {"$CLI upper -o out.txt src/*", {esc}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const auto run = runCli(folder, c.shell);
        for (const std::string &line : c.lines)
            EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    }
}

// A neighbour's link to the victim's folder, planted in a shared sticky folder, is not followed
// anywhere in an output path, not only as its last part.
TEST(CliHostile, APlantedFolderLinkInASharedFolderIsRefused) {
    if (geteuid() != 0)
        GTEST_SKIP() << "a link of another user needs root to make";
    TempDir folder;
    fs::create_directory(folder / "docs");
    writeFile(folder / "docs/notes.txt", "mine");
    fs::create_directory(folder / "shared");
    ::chmod((folder / "shared").c_str(), 01777);
    fs::create_symlink(folder / "docs", folder / "shared/reports");
    ASSERT_EQ(::lchown((folder / "shared/reports").c_str(), 65534, 65534), 0);
    for (const char *target : {"shared/reports/notes.txt", "./shared/../shared/reports/notes.txt"}) {
        SCOPED_TRACE(target);
        const auto run = runCli(folder, std::string("$CLI upper -o ") + target, "taken");
        EXPECT_EQ(run.status, 4);
        EXPECT_EQ(run.err,
                  std::string("lanternfin-cli: ") + target +
                      ": refusing to follow shared/reports, a symbolic link that uid 65534 owns in a "
                      "shared folder: Permission denied\n");
        EXPECT_EQ(readFile(folder / "docs/notes.txt"), "mine");
    }
    // The folder's owner's links, and one's own, are followed as before.
    ASSERT_EQ(::lchown((folder / "shared/reports").c_str(), 0, 0), 0);
    EXPECT_EQ(runCli(folder, "$CLI upper -o shared/reports/notes.txt", "ours").status, 0);
    EXPECT_EQ(readFile(folder / "docs/notes.txt"), "OURS");
}

} // namespace
