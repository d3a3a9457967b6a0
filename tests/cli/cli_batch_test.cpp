// lanternfin-cli with -O: folders mirrored, each text converted as the way converts it alone and
// every other file copied; names; --jobs against one job; progress on a terminal only; a run
// killed and finished with --skip-existing; GNU parallel's pieces against the whole run.

#include "cli_run.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

using ShellRun = testsupport::CliRun;

struct Folder : testsupport::TempDir {
    Folder() : TempDir("lanternfin-batch") {}
};

// Runs `shell` in `folder` with the program as $CLI and nothing on stdin.
ShellRun runShell(const Folder &folder, const std::string &shell) {
    return testsupport::runCli(folder, shell);
}

bool contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// A small tree of every kind of entry.
void makeTree(const Folder &f) {
    fs::create_directories(f / "src/sub/deep");
    writeFile(f / "src/a.txt", "简体字，银行行长。\n汉语 ABC 123\n");
    writeFile(f / "src/sub/b.md", "# 发展经济\n重要的数据\n");
    writeFile(f / "src/sub/deep/notes", "没有扩展名的中文文本\n");
    writeFile(f / "src/img.bin", std::string("\x89PNG\0\0简体\xff", 12));
    writeFile(f / "src/bad.txt", "好\xff\n");
    writeFile(f / "src/damaged.docx", std::string("PK\x03\x04\x14\0\0\0简体", 14));
    fs::copy_file(LANTERNFIN_DOCUMENT_TEST_DATA "/sample-lo.docx", f / "src/报告.docx");
    writeFile(f / "src/run.sh", "#!/bin/sh\necho 汉字\n");
    ::chmod((f / "src/run.sh").c_str(), 0755);
    ::chmod((f / "src/sub").c_str(), 0750);
    fs::create_symlink("a.txt", f / "src/link");
    fs::create_symlink("/etc/passwd", f / "src/outside");
}

mode_t modeOf(const fs::path &p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(CliBatch, MirrorConvertsEachTextAsAloneAndCopiesTheRest) {
    Folder f;
    makeTree(f);
    const struct {
        std::string way;
        bool documents; // converts documents (the others copy them)
    } ways[] = {{"traditional", true}, {"convert -c s2t", true}, {"pinyin --tone marks", false}};
    for (const auto &[way, documents] : ways) {
        SCOPED_TRACE(way);
        fs::remove_all(f / "out");
        const ShellRun run = runShell(f, "$CLI " + way + " --no-progress -r src -O out");
        EXPECT_EQ(run.status, 1) << run.err; // bad.txt refused (and the damaged document), the rest done
        EXPECT_TRUE(contains(run.err, "lanternfin-cli: src/bad.txt: input is not valid UTF-8")) << run.err;
        EXPECT_TRUE(contains(run.err, documents ? "5 converted, 3 copied, 2 refused"
                                                : "4 converted, 5 copied, 1 refused"))
            << run.err;
        std::vector<std::string> converted = {"src/a.txt", "src/sub/b.md", "src/sub/deep/notes",
                                              "src/run.sh"};
        std::vector<std::string> copied = {"src/img.bin"};
        (documents ? converted : copied).push_back("src/报告.docx");
        if (!documents)
            copied.push_back("src/damaged.docx");
        for (const std::string &file : converted) {
            SCOPED_TRACE(file);
            const ShellRun alone = runShell(f, "$CLI " + way + " " + file);
            ASSERT_EQ(alone.status, 0);
            EXPECT_EQ(readFile(f / "out" / file), alone.out);
        }
        for (const std::string &file : copied)
            EXPECT_EQ(readFile(f / "out" / file), readFile(f / file)) << file;
        EXPECT_EQ(fs::exists(f / "out/src/damaged.docx"), !documents);
        if (documents) {
            EXPECT_NE(readFile(f / "out/src/报告.docx"), readFile(f / "src/报告.docx"));
        }
        EXPECT_FALSE(fs::exists(f / "out/src/bad.txt"));
        EXPECT_EQ(fs::read_symlink(f / "out/src/link"), "a.txt");
        EXPECT_EQ(fs::read_symlink(f / "out/src/outside"), "/etc/passwd"); // a link, never followed
        EXPECT_EQ(modeOf(f / "out/src/run.sh"), 0755u);
        EXPECT_EQ(modeOf(f / "out/src/sub"), 0750u);
    }
}

TEST(CliBatch, FilesBesideEachOtherAndExitStatuses) {
    Folder f;
    makeTree(f);
    const struct {
        const char *shell;
        int status;
        const char *err;
    } cases[] = {
        {"$CLI traditional -O out src/a.txt src/img.bin && cat out/a.txt", 0,
         "1 converted, 1 copied, 0 refused"},
        {"$CLI traditional -O out src/sub", 2, "src/sub: is a folder (-r converts folders"},
        {"$CLI traditional -O out -", 2, "not standard input"},
        // A folder of the mirror where a file stands: its files cannot be written.
        {"mkdir -p out/src && touch out/src/sub && $CLI traditional -r -O out src", 4,
         "exit 4: some files could not be read or written"},
        {"$CLI traditional -O src/a.txt src/run.sh", 4, "is not a folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        fs::remove_all(f / "out");
        const ShellRun run = runShell(f, c.shell);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(contains(run.err, c.err)) << run.err;
    }
    EXPECT_EQ(runShell(f, "$CLI traditional -O out src/a.txt && cat out/a.txt").out,
              "簡體字，銀行行長。\n漢語 ABC 123\n");
}

// A mirror whose output folder holds a source in the source's own place would replace each file
// with its conversion, the original lost (t2s cannot be undone): that source is refused whole.
TEST(CliBatch, ASourceIsNeverWrittenOverItself) {
    const struct {
        const char *shell;
        const char *err;
        const char *kept; // a source that must keep its text
    } cases[] = {
        {"$CLI traditional -O src src/a.txt", "src/a.txt: would be written over itself as src/a.txt", "src/a.txt"},
        {"cd src && $CLI traditional -O . a.txt", "a.txt: would be written over itself as ./a.txt", "src/a.txt"},
        {"$CLI traditional -r src/sub -O src", "src/sub: would be written over itself as src/sub", "src/sub/b.md"},
        {"cd src && $CLI traditional -r sub/. -O .", "sub/.: would be written over itself as ./sub", "src/sub/b.md"},
        {"$CLI traditional -r src -O src", "src: is the output folder, which is not converted into itself", "src/a.txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        Folder f;
        makeTree(f);
        const std::string before = readFile(f / c.kept);
        const ShellRun run = runShell(f, std::string(c.shell) + " --no-progress");
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_TRUE(contains(run.err, c.err)) << run.err;
        EXPECT_EQ(readFile(f / c.kept), before);
    }
    // A hard link of a source in the mirror (a tree made with cp -al) is not the source's own
    // name: it is replaced by the converted file, and the source keeps its text.
    Folder f;
    fs::create_directories(f / "src");
    fs::create_directories(f / "out/src");
    writeFile(f / "src/a.txt", "简体\n");
    fs::create_hard_link(f / "src/a.txt", f / "out/src/a.txt");
    const ShellRun run = runShell(f, "$CLI traditional --no-progress -r src -O out");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(f / "out/src/a.txt"), "簡體\n");
    EXPECT_EQ(readFile(f / "src/a.txt"), "简体\n");
}

// Whatever stands in the output folder at a mirrored name is replaced or refused, never followed:
// a link planted there used to have the run write into the folder it led to and give that folder
// the source's permissions (a private 0700 folder came out 0777), and a FIFO held the run up.
TEST(CliBatch, LinksAndFifosInTheOutputAreNeverFollowed) {
    Folder f;
    fs::create_directories(f / "src/sub");
    writeFile(f / "src/sub/b.md", "简体\n");
    writeFile(f / "src/a.txt", "简体\n");
    writeFile(f / "src/c.bin", std::string("\0\1", 2));
    ::chmod((f / "src/sub").c_str(), 0777);
    fs::create_directories(f / "victim");
    writeFile(f / "victim/b.md", "secret\n");
    writeFile(f / "victim/a.txt", "mine\n");
    ::chmod((f / "victim").c_str(), 0700);
    fs::create_directories(f / "out/src");
    fs::create_symlink(f / "victim", f / "out/src/sub");
    fs::create_symlink(f / "victim/a.txt", f / "out/src/a.txt");
    ASSERT_EQ(::mkfifo((f / "out/src/c.bin").c_str(), 0600), 0);
    const ShellRun run = runShell(f, "$CLI traditional --no-progress -r src -O out");
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_TRUE(contains(run.err, "out/src/sub: cannot create the folder: is a symbolic link")) << run.err;
    EXPECT_TRUE(contains(run.err, "src/sub/b.md: not written: its folder in the output could not be made"))
        << run.err;
    EXPECT_EQ(modeOf(f / "victim"), 0700u);
    EXPECT_EQ(readFile(f / "victim/b.md"), "secret\n");
    EXPECT_EQ(readFile(f / "victim/a.txt"), "mine\n");
    // The links at the files' names gave way to the files.
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(f / "out/src/a.txt")));
    EXPECT_EQ(readFile(f / "out/src/a.txt"), "簡體\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(f / "out/src/c.bin")));
}

TEST(CliBatch, NamesConvertedAndCollisionsRefused) {
    Folder f;
    fs::create_directories(f / "src/报告");
    writeFile(f / "src/报告/说明.txt", "说明\n");
    writeFile(f / "src/后.txt", "一\n");
    writeFile(f / "src/後.txt", "二\n");
    fs::create_directories(f / "out/src");
    writeFile(f / "out/src/後.txt", "kept\n");
    const ShellRun run = runShell(f, "$CLI traditional --names --no-progress -r src -O out");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(readFile(f / "out/src/報告/說明.txt"), "說明\n");
    EXPECT_TRUE(contains(run.err, "src/后.txt: would be written as out/src/後.txt, as would src/後.txt"))
        << run.err;
    EXPECT_TRUE(contains(run.err, "src/後.txt: would be written as out/src/後.txt, as would src/后.txt"))
        << run.err;
    EXPECT_EQ(readFile(f / "out/src/後.txt"), "kept\n"); // nothing overwritten
    EXPECT_TRUE(contains(run.err, "1 converted, 0 copied, 2 refused")) << run.err;
}

// Names in UTF-8 stay UTF-8 however short (é.txt and Ω.txt were refused: "cannot tell the
// encoding"), and a source named . or .. is mirrored under its folder's own name: docs/.. was
// mirrored as DST/.., over the files beside DST, and w/. into DST past the check of two sources
// that become one.
TEST(CliBatch, ShortNamesAndDotsAreMirroredUnderTheirNames) {
    Folder f;
    fs::create_directories(f / "src/α");
    writeFile(f / "src/é.txt", "头发\n");
    writeFile(f / "src/α/Ω", "x");
    fs::create_directories(f / "project/docs");
    writeFile(f / "project/docs/readme.txt", "头发\n");
    fs::create_directories(f / "backup/docs");
    writeFile(f / "backup/docs/readme.txt", "kept\n");
    fs::create_directories(f / "ext");
    writeFile(f / "ext/a.txt", "二\n");
    writeFile(f / "project/a.txt", "一\n");
    const struct {
        const char *shell;
        int status;
        const char *file, *text; // what the output holds
    } cases[] = {
        {"$CLI traditional --names -r src -O out", 0, "out/src/é.txt", "頭髮\n"},
        {"$CLI upper --names -r src -O out", 0, "out/SRC/Α/Ω", "X"},
        {"$CLI traditional -r project/docs/.. -O backup/new", 0, "backup/new/project/docs/readme.txt",
         "頭髮\n"},
        {"$CLI traditional -r project/. -O out", 0, "out/project/a.txt", "一\n"},
        {"cd project && $CLI traditional -r . ../ext/a.txt -O ../out", 0, "out/a.txt", "二\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        fs::remove_all(f / "out");
        const ShellRun run = runShell(f, std::string(c.shell) + " --no-progress");
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(readFile(f / c.file), c.text);
    }
    EXPECT_EQ(readFile(f / "backup/docs/readme.txt"), "kept\n");
    EXPECT_EQ(readFile(f / "out/project/a.txt"), "一\n");
}

// A link inside the tree names what the mirror renames: its target's names are converted as
// theirs are, so that it still leads where it led. Where a target leaves the folder, from there
// on, and an absolute target, it stays as it is.
TEST(CliBatch, LinksFollowTheNamesTheyLeadTo) {
    Folder f;
    fs::create_directories(f / "src/图片/深");
    writeFile(f / "src/说明.txt", "说明\n");
    writeFile(f / "src/图片/头像.png", "x");
    const struct {
        const char *link, *target, *expected;
    } cases[] = {
        {"src/最新说明.txt", "说明.txt", "out/src/最新說明.txt -> 說明.txt"},
        {"src/图库", "图片", "out/src/圖庫 -> 圖片"},
        {"src/当前头像.png", "./图片/头像.png", "out/src/當前頭像.png -> ./圖片/頭像.png"},
        {"src/图片/深/上级", "../../说明.txt", "out/src/圖片/深/上級 -> ../../說明.txt"},
        {"src/图片/深/外面", "../../../说明/头发", "out/src/圖片/深/外面 -> ../../../说明/头发"},
        {"src/图片/回来", "../../src/图片/头像.png", "out/src/圖片/回來 -> ../../src/圖片/頭像.png"},
        {"src/绝对", "/说明/头发", "out/src/絕對 -> /说明/头发"},
    };
    for (const auto &c : cases)
        fs::create_symlink(c.target, f / c.link);
    const ShellRun run = runShell(f, "$CLI traditional --names --no-progress -r src -O out");
    EXPECT_EQ(run.status, 0) << run.err;
    for (const auto &c : cases) {
        const std::string expected = c.expected;
        const std::string link = expected.substr(0, expected.find(" -> "));
        EXPECT_EQ(link + " -> " + fs::read_symlink(f / link).string(), expected);
    }
    EXPECT_EQ(readFile(f / "out/src/圖片/深/上級"), "說明\n");
}

TEST(CliBatch, JobsGiveTheOutputOfOneJob) {
    Folder f;
    // One text large enough to be split across the jobs, and small files around it.
    std::string big;
    while (big.size() < (std::size_t(9) << 20))
        big += "为套接字设置，银行行长。汉语 abc 123 " + std::to_string(big.size()) + "\n";
    fs::create_directories(f / "src/small");
    writeFile(f / "src/big.txt", big);
    for (int i = 0; i < 40; ++i)
        writeFile(f / ("src/small/" + std::to_string(i) + ".txt"), "发展" + std::to_string(i) + "\n");
    const ShellRun one = runShell(f, "$CLI traditional --jobs 1 -r src -O one");
    const ShellRun two =
        runShell(f, "$CLI traditional --jobs 2 -r src -O two && diff -r one two && echo same");
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(two.out, "same\n");
    // Standard output too: a text of more than one piece, in order.
    const ShellRun upper =
        runShell(f, "$CLI upper --jobs 3 src/big.txt >u3 && $CLI upper --jobs 1 src/big.txt >u1 "
                    "&& cmp u1 u3 && echo same");
    EXPECT_EQ(upper.out, "same\n") << upper.err;
    // Each line begins with a polyphone that reads otherwise when the line end before it is taken
    // for text (wéi, not wèi): a piece that begins there reads as the whole does.
    const ShellRun pinyin =
        runShell(f, "$CLI pinyin --tone marks --jobs 2 src/big.txt >p2 && $CLI pinyin --tone "
                    "marks --jobs 1 src/big.txt >p1 && cmp p1 p2 && head -c 4 p1");
    EXPECT_EQ(pinyin.out, "wèi") << pinyin.err;
}

// Under a low limit of open files, the files converted wait fewer at a time and none fails.
TEST(CliBatch, ManyJobsUnderALowLimitOfOpenFiles) {
    Folder f;
    fs::create_directories(f / "src");
    for (int i = 0; i < 300; ++i)
        writeFile(f / ("src/" + std::to_string(i) + ".txt"), "发展" + std::to_string(i) + "\n");
    const ShellRun run = runShell(f, "ulimit -n 64 && $CLI traditional --jobs 4 -r src -O out && "
                                     "cat out/src/299.txt && ls out/src | wc -l");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "發展299\n300\n");
}

// A large text in another encoding, or whose encoding a piece alone would read otherwise, is
// converted whole by one job: UTF-16 has 0x0A bytes inside characters (上 is 0A 4E), a GB18030 or
// Big5 piece is detected anew, and a UTF-8 text with a bad byte past its first megabyte must be refused
// as the whole is, not read as GB18030 from there on. (Pieces are a megabyte.)
TEST(CliBatch, TextsInOtherEncodingsGiveTheOutputOfOneJob) {
    Folder f;
    std::string text;
    while (text.size() < (std::size_t(3) << 19))
        text += "上海的头发很长，计算机软件。plain ascii " + std::to_string(text.size()) + "\n";
    writeFile(f / "utf8.txt", text);
    const struct {
        const char *make; // from utf8.txt, into in.txt
        const char *options;
    } cases[] = {
        {"(printf '\\377\\376'; iconv -f UTF-8 -t UTF-16LE utf8.txt) >in.txt", ""},
        {"iconv -f UTF-8 -t UTF-16BE utf8.txt >in.txt", "--from-encoding utf-16be"},
        {"iconv -f UTF-8 -t GB18030 utf8.txt >in.txt", ""},
        {"iconv -f UTF-8 -t BIG5 -c utf8.txt >in.txt", ""},
        {"(printf '\\357\\273\\277'; cat utf8.txt) >in.txt", ""},
        {"(cat utf8.txt; printf '\\267\\242\\n'; cat utf8.txt) >in.txt", ""},
        {"cp utf8.txt in.txt", "--to-encoding gb18030"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.make);
        const std::string options = c.options;
        const ShellRun run =
            runShell(f, std::string(c.make) +
                            " && for j in 1 2; do rm -f out$j; $CLI traditional --no-progress " + options +
                            " --jobs $j in.txt -o out$j 2>err$j; echo $? >>status$j; done; "
                            "cmp status1 status2 && cmp err1 err2 && { [ ! -e out1 ] && [ ! -e out2 ] || cmp "
                            "out1 out2; } && "
                            "echo same; rm -f status1 status2");
        EXPECT_EQ(run.out, "same\n") << run.err;
    }
}

TEST(CliBatch, ProgressOnATerminalOnly) {
    Folder f;
    writeFile(f / "a.txt", "简体\n");
    const struct {
        const char *shell;
        bool shown;
    } cases[] = {
        {"script -qefc \"$CLI traditional -O out a.txt\" /dev/null", true},
        {"script -qefc \"$CLI traditional a.txt -o b.txt\" /dev/null", true},
        {"script -qefc \"$CLI traditional --no-progress -O out a.txt\" /dev/null", false},
        {"$CLI traditional -O out a.txt 2>&1", false},
        {"$CLI traditional --progress a.txt -o b.txt 2>&1", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shell);
        const ShellRun run = runShell(f, c.shell);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(contains(run.out, "MB/s"), c.shown) << run.out;
    }
}

TEST(CliBatch, KilledRunLeavesWholeFilesAndSkipExistingFinishes) {
    Folder f;
    fs::create_directories(f / "src");
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += "银行行长认真地发展经济，为了我们的数据。\n";
    for (int i = 0; i < 120; ++i)
        writeFile(f / ("src/" + std::to_string(i) + ".txt"), text + std::to_string(i) + "\n");
    ASSERT_EQ(runShell(f, "$CLI pinyin --tone marks -r src -O ref").status, 0);

    const pid_t pid = fork();
    if (pid == 0) {
        ::chdir(f.str().c_str());
        ::execl(LANTERNFIN_CLI, LANTERNFIN_CLI, "pinyin", "--tone", "marks", "--jobs", "1", "--no-progress",
                "-r", "src", "-O", "out", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    // Killed once it has written its first file (the temporary files have other names).
    const auto firstWritten = [&f] {
        std::error_code ec;
        for (const auto &e : fs::directory_iterator(f / "out/src", ec))
            if (fs::exists(f / "ref/src" / e.path().filename()))
                return true;
        return false;
    };
    for (int i = 0; i < 5000 && !firstWritten(); ++i)
        ::usleep(1000);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::size_t written = 0;
    for (const auto &e : fs::directory_iterator(f / "out/src")) {
        SCOPED_TRACE(e.path().string());
        ASSERT_TRUE(fs::exists(f / "ref/src" / e.path().filename())); // no temporary file left
        EXPECT_EQ(readFile(e.path()), readFile(f / "ref/src" / e.path().filename()));
        ++written;
    }
    EXPECT_GT(written, 0u);
    const ShellRun rest =
        runShell(f, "$CLI pinyin --tone marks --skip-existing -r src -O out && diff -r ref out && echo same");
    EXPECT_EQ(rest.out, "same\n") << rest.err;
    if (WIFSIGNALED(status)) {
        EXPECT_TRUE(contains(rest.err, "skipped (up to date)")) << rest.err;
    }
}

// The recipe for more than one machine: GNU parallel cuts standard input at line ends and keeps
// the order; for every line-local way the pieces' outputs together are the whole run's.
TEST(CliBatch, GnuParallelPiecesEqualTheWholeRun) {
    if (std::system("command -v parallel >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU parallel is not installed (scripts/install-deps.sh)";
    Folder f;
    std::string text;
    const char *lines[] = {
        "金额：1005.5元", "2026-12-07 银行行长", "Hello World 汉字", "发展经济，为了我们。",
        "  前后有空格  ", "一千零五点五",        "壹仟零伍圆伍角整", "",
        "后来的頭髮",     "ÄÖÜ straße"};
    for (int i = 0; i < 2500; ++i)
        text += std::string(lines[i % 10]) + (i % 3 ? "" : " 第" + std::to_string(i) + "行") + "\n";
    writeFile(f / "in.txt", text);
    // The recipe as the README gives it.
    const ShellRun recipe =
        runShell(f, "$CLI convert -c s2t <in.txt >whole; parallel --pipe --block 20k -k $CLI "
                    "convert -c s2t <in.txt >pieces; cmp whole pieces && echo same");
    EXPECT_EQ(recipe.out, "same\n") << recipe.err;
    // Every other way on the pieces GNU parallel cuts, cut once and converted one after the other.
    ASSERT_GE(
        std::stoi(
            runShell(f, "parallel --pipe --block 20k 'cat >piece.{#}' <in.txt; ls piece.* | wc -l").out),
        3);
    for (const std::string way :
         {"traditional", "simplified", "upper", "lower", "convert -c s2twp", "convert -c t2s",
          "pinyin --tone marks", "pinyin --tone numbers --separator -", "pinyin --initials", "pinyin --lines",
          "money --lines", "numerals --lines", "date --lines"}) {
        SCOPED_TRACE(way);
        const ShellRun run =
            runShell(f, "$CLI " + way + " <in.txt >whole; for i in $(seq $(ls piece.* | wc -l)); do $CLI " +
                            way + " <piece.$i; done >pieces; cmp whole pieces && echo same");
        EXPECT_EQ(run.out, "same\n") << run.err;
    }
}

} // namespace
