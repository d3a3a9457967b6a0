// lanternfin-cli with files: arguments in turn, "-", -o and --in-place, and the command line's
// help, usage errors and version.

#include "cli_run.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using ShellRun = testsupport::CliRun;

using testsupport::readFile;
using testsupport::writeFile;

// A fresh folder per test, readable by everyone for the run as another user.
struct Folder : testsupport::TempDir {
    Folder() : TempDir("lanternfin-files", true) {}
};

// Runs `shell` (in `folder`) with the program as $CLI and `input` on stdin.
ShellRun runShell(const Folder &folder, const std::string &shell, const std::string &input = "") {
    return testsupport::runCli(folder, shell, input);
}

TEST(CliFiles, ArgumentsAreConvertedInTurnWithDashForStdin) {
    Folder folder;
    writeFile(folder / "a.txt", "简体\n");
    writeFile(folder / "b.txt", "汉字");
    const struct {
        const char *shell;
        const char *out;
    } cases[] = {
        {"$CLI traditional a.txt - b.txt", "簡體\n漢\n漢字"},
        {"$CLI upper --lines a.txt b.txt", "简体\n汉字\n"},
        {"$CLI pinyin b.txt a.txt", "HanZiJianTi\n"},
        {"$CLI money -", "壹仟零伍圆伍角整\n"},
        {"$CLI traditional -o out.txt a.txt && cat out.txt", "簡體\n"},
        {"$CLI round 1 -o - 2.25", "2.3\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(
            folder, c.shell, std::string(c.shell).find("money") != std::string::npos ? "1005.5" : "汉\n");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

// Regression: the calculator reads any text, so a value such as -.5 was refused as an unknown option.
TEST(CliFiles, CalculatorValuesMayStartWithAMinus) {
    Folder folder;
    const struct {
        const char *shell;
        const char *out;
    } cases[] = {
        {"$CLI round 1 -.5", "-0.5\n"},     {"$CLI ratio 1 2 -1e3", "-2000\n"},
        {"$CLI ratio 1 2 -inf", ""},        {"$CLI ratio -x 1 1", ""},
        {"$CLI round 2 --lines", "0.13\n"}, {"$CLI ratio 4 -o - 1 -5", "-1.25\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(folder, c.shell, " 0.125\n");
        EXPECT_EQ(run.status, *c.out ? 0 : 1) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

TEST(CliFiles, OutputFileIsWrittenWholeOrNotAtAll) {
    Folder folder;
    writeFile(folder / "good.txt", "abc");
    writeFile(folder / "bad.txt", "x\xFF");
    writeFile(folder / "out.txt", "kept");
    ::chmod((folder / "out.txt").c_str(), 0604);

    const ShellRun failed = runShell(folder, "$CLI upper good.txt bad.txt -o out.txt");
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "lanternfin-cli: bad.txt: input is not valid UTF-8\n");
    EXPECT_EQ(readFile(folder / "out.txt"), "kept");
    EXPECT_EQ(folder.entries(), 3u);

    const ShellRun limit = runShell(folder, "$CLI money -o new.txt", "1e16");
    EXPECT_EQ(limit.status, 3);
    EXPECT_FALSE(fs::exists(folder / "new.txt"));

    const ShellRun written = runShell(folder, "$CLI upper good.txt good.txt -o out.txt");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(readFile(folder / "out.txt"), "ABCABC");
    EXPECT_EQ(fs::status(folder / "out.txt").permissions(), fs::perms(0604));

    const ShellRun created = runShell(folder, "umask 027 && $CLI lower -o new.txt", "ABC");
    EXPECT_EQ(readFile(folder / "new.txt"), "abc");
    EXPECT_EQ(fs::status(folder / "new.txt").permissions(), fs::perms(0640));
}

TEST(CliFiles, InPlaceConvertsEveryGoodFileAndLeavesABadOneUntouched) {
    Folder folder;
    writeFile(folder / "1.txt", "简体");
    writeFile(folder / "2.txt", "简\xC3(");
    writeFile(folder / "3.txt", "汉字\n");
    ::chmod((folder / "1.txt").c_str(), 0751);

    const ShellRun run = runShell(folder, "$CLI traditional --in-place 1.txt 2.txt 3.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "lanternfin-cli: 2.txt: input is not valid UTF-8\n");
    EXPECT_EQ(readFile(folder / "1.txt"), "簡體");
    EXPECT_EQ(readFile(folder / "2.txt"), "简\xC3(");
    EXPECT_EQ(readFile(folder / "3.txt"), "漢字\n"); // the next file is still converted, as --help says
    EXPECT_EQ(fs::status(folder / "1.txt").permissions(), fs::perms(0751));
    EXPECT_EQ(folder.entries(), 3u);
}

TEST(CliFiles, InPlaceInAReadOnlyFolderNamesTheFileAndKeepsIt) {
    Folder folder;
    fs::create_directory(folder / "ro");
    writeFile(folder / "ro/a.txt", "abc");
    ::chmod((folder / "ro/a.txt").c_str(), 0644);
    ::chmod((folder / "ro").c_str(), 0555);
    // root writes into any folder, so the program runs as nobody then.
    const std::string as = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const ShellRun run = runShell(folder, as + "$CLI upper --in-place ro/a.txt");
    ::chmod((folder / "ro").c_str(), 0755);
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err,
              "lanternfin-cli: ro/a.txt: cannot create a temporary file beside it: Permission denied\n");
    EXPECT_EQ(readFile(folder / "ro/a.txt"), "abc");
}

TEST(CliFiles, InPlaceOnAFullDiskKeepsTheOriginal) {
    Folder folder;
    const std::string text(256 << 10, 'a');
    writeFile(folder / "big.txt", text);
    // A file size limit fails the writes as a full disk would (EFBIG instead of ENOSPC).
    const ShellRun run = runShell(folder, "trap '' XFSZ; ulimit -f 16; $CLI upper --in-place big.txt");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err.rfind("lanternfin-cli: big.txt: cannot write: ", 0), 0u) << run.err;
    EXPECT_TRUE(readFile(folder / "big.txt") == text);
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(CliFiles, DevicesFifosAndDescriptorsAreWrittenNeverReplaced) {
    Folder folder;
    const struct {
        const char *shell;
        const char *out;
        int status;
    } cases[] = {
        // The common idiom: the output goes where stdout goes, a pipe here.
        {"$CLI upper -o /dev/stdout", "ABC\n", 0},
        {"$CLI upper -o /dev/fd/1 && printf XY | $CLI lower -o /dev/stderr 2>&1", "ABC\nxy", 0},
        // A FIFO's reader gets the text and the FIFO stays one.
        {"mkfifo f && { timeout 10 cat f & } && timeout 10 $CLI upper -o f && wait && stat -c %F f",
         "ABC\nfifo\n", 0},
        // A device of our own (a null device) stays a device; only root may make one.
        {"[ $(id -u) = 0 ] || exit 0; mknod dev c 1 3 && $CLI upper -o dev && stat -c %F dev",
         "character special file\n", 0},
        // Read and written back a FIFO cannot be: refused, and it stays.
        {"mkfifo g && timeout 10 $CLI upper --in-place g; echo $?; stat -c %F g", "4\nfifo\n", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(folder, c.shell, "abc\n");
        EXPECT_EQ(run.status, c.status) << run.err;
        if (geteuid() == 0 || std::string(c.shell).find("mknod") == std::string::npos) {
            EXPECT_EQ(run.out, c.out) << run.err;
        }
    }
    const ShellRun fifo = runShell(folder, "timeout 10 $CLI upper --in-place g");
    EXPECT_EQ(
        fifo.err,
        "lanternfin-cli: g: is a FIFO, which cannot be converted in place (read it and write with -o)\n");
}

TEST(CliFiles, OutputThroughALinkKeepsTheLinkUnlessAStrangerPlantedIt) {
    Folder folder;
    writeFile(folder / "real.txt", "old");
    fs::create_symlink("real.txt", folder / "link.txt");
    fs::create_symlink("later.txt", folder / "dangling.txt");
    EXPECT_EQ(runShell(folder, "$CLI upper -o link.txt", "new").status, 0);
    EXPECT_EQ(runShell(folder, "$CLI upper -o dangling.txt", "made").status, 0);
    EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.txt"));
    EXPECT_EQ(readFile(folder / "real.txt"), "NEW");
    EXPECT_EQ(readFile(folder / "later.txt"), "MADE");

    if (geteuid() != 0)
        GTEST_SKIP() << "a link of another user needs root to make";
    fs::create_directory(folder / "shared");
    ::chmod((folder / "shared").c_str(), 01777);
    fs::create_symlink("../real.txt", folder / "shared/out.txt");
    ASSERT_EQ(::lchown((folder / "shared/out.txt").c_str(), 65534, 65534), 0);
    const ShellRun planted = runShell(folder, "$CLI lower -o shared/out.txt", "taken");
    EXPECT_EQ(planted.status, 4);
    EXPECT_EQ(planted.err,
              "lanternfin-cli: shared/out.txt: refusing to follow shared/out.txt, a symbolic link "
              "that uid 65534 owns in a shared folder: Permission denied\n");
    EXPECT_EQ(readFile(folder / "real.txt"), "NEW");
}

TEST(CliFiles, AnInterruptedOutputLeavesNoTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Folder folder;
        writeFile(folder / "out.txt", "kept");
        ASSERT_EQ(::mkfifo((folder / "in").c_str(), 0600), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::chdir(folder.path.c_str()) == 0)
                ::execl(LANTERNFIN_CLI, LANTERNFIN_CLI, "upper", "in", "-o", "out.txt", nullptr);
            _exit(127);
        }
        // The program makes its temporary file before it opens its input, so once the FIFO is
        // open at both ends it is in the middle of its output.
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

TEST(CliFiles, TheAmountLimitExitsThreeForEveryCommand) {
    Folder folder;
    const struct {
        const char *shell;
        const char *input;
    } cases[] = {
        {"LC_ALL=zh_CN.UTF-8 $CLI money", "1e16"},
        {"LC_ALL=zh_CN.UTF-8 $CLI money --verify 99999999999999999999", "壹圆整"},
        {"LC_ALL=zh_CN.UTF-8 $CLI numerals", "1e308"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(folder, c.shell, c.input);
        EXPECT_EQ(run.status, 3);
        EXPECT_NE(run.err.find("数目太大，无法换算！请输入一亿亿以下的数字\n"), std::string::npos) << run.err;
    }
}

TEST(CliFiles, EveryCommandHasHelp) {
    Folder folder;
    for (const char *command :
         {"money", "ratio", "round", "traditional", "simplified", "upper", "lower", "pinyin"}) {
        SCOPED_TRACE(command);
        const ShellRun run = runShell(folder, std::string("LC_ALL=C.UTF-8 $CLI ") + command + " --help");
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage: lanternfin-cli " + std::string(command) + " [OPTIONS]"),
                  std::string::npos);
        EXPECT_NE(run.out.find("--lines"), std::string::npos);
        EXPECT_NE(run.out.find("--output"), std::string::npos);
    }
}

TEST(CliFiles, UsageErrorsGiveOneHintLine) {
    Folder folder;
    writeFile(folder / "a.txt", "a");
    const struct {
        const char *shell;
        const char *first; // the first line of the message
    } cases[] = {
        {"$CLI upper --bogus", "lanternfin-cli: The following argument was not expected: --bogus\n"},
        {"$CLI frobnicate", "lanternfin-cli: unknown command: frobnicate\n"},
        {"$CLI ratio --bogus 1 2", "lanternfin-cli: The following argument was not expected: --bogus\n"},
        {"$CLI upper --in-place", "lanternfin-cli: --in-place: needs the files to rewrite\n"},
        {"$CLI upper --in-place a.txt -", "lanternfin-cli: --in-place: cannot rewrite standard input\n"},
        {"$CLI upper -i -o b.txt a.txt", "lanternfin-cli: --output excludes --in-place\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(folder, c.shell);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const auto firstEnd = run.err.find('\n') + 1;
        EXPECT_EQ(run.err.substr(0, firstEnd), c.first);
        EXPECT_EQ(run.err.rfind("Usage: lanternfin-cli", firstEnd), firstEnd);
        EXPECT_EQ(run.err.find('\n', firstEnd), run.err.size() - 1);
    }
    EXPECT_EQ(readFile(folder / "a.txt"), "a");
}

// A missing file or a folder among the files is one failing file like an unreadable one: named,
// the others still converted, exit 4.
TEST(CliFiles, MissingFileOrFolderIsNamedAndTheNextOneConverted) {
    Folder folder;
    writeFile(folder / "a.txt", "a");
    writeFile(folder / "b.txt", "b");
    fs::create_directory(folder / "sub");
    const struct {
        const char *shell;
        const char *out;
        const char *err;
    } cases[] = {
        {"$CLI upper a.txt missing.txt b.txt", "AB",
         "lanternfin-cli: missing.txt: cannot open: No such file or directory\n"},
        {"$CLI upper a.txt sub b.txt", "AB", "lanternfin-cli: sub: cannot open: Is a directory\n"},
        {"$CLI money --lines missing.txt", "", "lanternfin-cli: missing.txt: cannot open: No such file or directory\n"},
        {"$CLI upper -i a.txt missing.txt b.txt && cat a.txt b.txt", "",
         "lanternfin-cli: missing.txt: cannot open: No such file or directory\n"},
        {"$CLI lower -i sub a.txt; cat a.txt", "a", "lanternfin-cli: sub: cannot open: Is a directory\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(folder, c.shell);
        EXPECT_EQ(run.status, std::string(c.shell).find("; cat") != std::string::npos ? 0 : 4);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    // In place, the good files were converted, and nothing was left beside them.
    EXPECT_EQ(readFile(folder / "b.txt"), "B");
    EXPECT_EQ(folder.entries(), 3u);
    EXPECT_TRUE(fs::is_directory(folder / "sub"));
}

TEST(CliFiles, VersionIsTheProjectVersion) {
    Folder folder;
    const ShellRun run = runShell(folder, "$CLI --version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "lanternfin-cli " LANTERNFIN_VERSION "\n");
}

} // namespace
