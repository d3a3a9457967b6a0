// Data files from someone else: binary dictionaries that crash the library reading them, read in
// a child process; the cache of prepared images, which only its user may write.

#include "platform/isolated_call.h"
#include "platform/opencc_config.h"
#include "platform/phrase_config.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// Processor time decides what costs too much; the wall clock only stops a stuck child, so a
// child that a busy machine keeps waiting (here: one that sleeps past its processor time) still
// finishes.
TEST(IsolatedCall, WhatTheChildDoesWrongIsToldNotSuffered) {
    using Work = std::function<std::optional<std::string>()>;
    using ms = std::chrono::milliseconds;
    struct Case {
        const char *what;
        Work work;
        ms cpu, wall;    // wall 0: the default multiple of cpu
        const char *why; // empty: succeeds with "done"
    };
    auto sleeper = [](ms t, const char *result) {
        return [t, result]() -> std::optional<std::string> {
            std::this_thread::sleep_for(t);
            return result;
        };
    };
    // A burner's wall deadline is far off, so that only its processor time can stop it.
    const Case cases[] = {
        {"returns", [] { return std::optional<std::string>("done"); }, ms(50), ms(0), ""},
        {"waits past its processor time, not the wall deadline", sleeper(ms(150), "done"), ms(50), ms(0), ""},
        {"burns processor time",
         []() -> std::optional<std::string> {
             volatile unsigned long spin = 0;
             for (;;)
                 spin = spin + 1;
         },
         ms(100), ms(60000), "used more than 0.1 s of processor time"},
        {"sleeps past the wall deadline", sleeper(ms(30000), "late"), ms(50), ms(200),
         "the reading process was stuck for 0.2 s (stopped, blocked, or kept off the processor by other "
         "work); try again"},
        {"stops itself",
         []() -> std::optional<std::string> {
             ::raise(SIGSTOP);
             return "late";
         },
         ms(50), ms(200),
         "the reading process was stuck for 0.2 s (stopped, blocked, or kept off the processor by other "
         "work); try again"},
        {"crashes",
         []() -> std::optional<std::string> {
             ::raise(SIGSEGV);
             return "never";
         },
         ms(1000), ms(0), "crashed (signal 11)"},
        {"aborts", []() -> std::optional<std::string> { std::abort(); }, ms(1000), ms(0),
         "crashed (signal 6)"},
        {"throws", []() -> std::optional<std::string> { throw std::runtime_error("bad"); }, ms(1000), ms(0),
         "failed"},
        {"gives up", []() -> std::optional<std::string> { return std::nullopt; }, ms(1000), ms(0), "failed"},
        {"eats memory",
         []() -> std::optional<std::string> {
             std::vector<char> big(std::size_t(8) << 30, 'x');
             return std::string(1, big.back());
         },
         ms(1000), ms(0), "failed"},
        {"hands back too much", [] { return std::optional<std::string>(std::string(2 << 20, 'x')); },
         ms(1000), ms(0), "handed back too much"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
#if defined(__SANITIZE_ADDRESS__)
        // The sanitizer reserves far more address space than any limit, and reports crashes itself.
        if (std::strcmp(c.what, "eats memory") == 0 || std::strcmp(c.what, "crashes") == 0 ||
            std::strcmp(c.what, "aborts") == 0)
            continue;
#endif
        platform::IsolationLimits limits;
        limits.cpuTime = c.cpu;
        limits.wallTime = c.wall;
        limits.extraMemory = std::size_t(256) << 20;
        limits.maxResult = std::size_t(1) << 20;
        core::Message why;
        const auto result = platform::runIsolated(c.work, why, limits);
        if (*c.why) {
            EXPECT_FALSE(result);
            EXPECT_EQ(why.in(core::Language::English), c.why);
        } else {
            EXPECT_EQ(result.value_or("(none)"), "done") << why;
        }
    }
}

// A real .ocd2 and the same file with one word of its trie changed (the header still fits): the
// first reads, the second is a damaged dictionary, and this process lives on.
TEST(BinaryDictionary, ACraftedTrieIsDamagedAndTheReaderLives) {
    std::string bytes = readFile("/usr/share/opencc/STCharacters.ocd2");
    if (bytes.size() < 4096)
        GTEST_SKIP() << "needs Debian's opencc data";
    platform::DictionarySource good{"ocd2", "STCharacters.ocd2", bytes, {}};
    core::Message why;
    const auto dict = platform::readDictionary(good, &why);
    ASSERT_TRUE(dict) << why;
    EXPECT_GT(dict->size(), 3000u);
    platform::DictionarySource at3520 = good;
    const std::uint32_t word = 0x7fffffff;
    std::memcpy(at3520.bytes.data() + 3520, &word, 4);
    why = {};
    EXPECT_FALSE(platform::readDictionary(at3520, &why));
    EXPECT_EQ(why, core::Message(core::MessageId::DamagedDictionary));
}

// The cache folder is the user's own or not used: a link to a folder that anyone may write (where
// another user planted an image made from the victim's sources), or a folder of another user,
// gives a converter built from the dictionaries; a folder of the user's that is too open is
// narrowed.
TEST(PhraseCache, OnlyAPrivateFolderOfTheUserIsUsed) {
    TempDir dir;
    writeFile(dir / "mine.json", R"({"conversion_chain": [{"dict": {"type": "text", "file": "p.txt"}}]})");
    writeFile(dir / "p.txt", "软体\t軟體\n头发\t頭髮\n");
    writeFile(dir / "evil.json", R"({"conversion_chain": [{"dict": {"type": "text", "file": "e.txt"}}]})");
    writeFile(dir / "e.txt", "软体\t病毒\n头发\t毛髮\n");
    const std::string json = dir.str() + "/mine.json";

    // The image that a neighbour can make: the victim's source hashes, another converter.
    std::string failed;
    const auto config = platform::readOpenccConfig(json, failed);
    ASSERT_TRUE(config);
    const auto evil = platform::loadPhraseConverter(dir.str() + "/evil.json", "");
    ASSERT_TRUE(evil.converter);
    const std::string planted =
        platform::phraseImageFile(platform::phraseSourceHashes(*config), evil.converter->image());
    const auto honest = platform::loadPhraseConverter(json, dir.str() + "/honest");
    ASSERT_FALSE(honest.imagePath.empty());
    const std::string imageName = fs::path(honest.imagePath).filename().string();

    const bool root = geteuid() == 0;
    struct Case {
        const char *what;
        bool needsRoot;
        std::function<std::string()> make; // the cache folder to hand over, with the plant inside
        const char *problem;               // the end of cacheProblem; empty: used
    };
    auto plantIn = [&](const fs::path &folder) { writeFile(folder / imageName, planted); };
    const Case cases[] = {
        {"a link to a folder open to all", false,
         [&] {
             fs::create_directory(dir / "open");
             ::chmod((dir / "open").c_str(), 0777);
             if (root)
                 ::chown((dir / "open").c_str(), 12345, 12345);
             plantIn(dir / "open");
             fs::create_symlink(dir / "open", dir / "link");
             return dir.str() + "/link";
         },
         "is a symbolic link"},
        {"a folder of another user", true,
         [&] {
             fs::create_directory(dir / "theirs");
             ::chmod((dir / "theirs").c_str(), 0777);
             plantIn(dir / "theirs");
             ::chown((dir / "theirs").c_str(), 12345, 12345);
             return dir.str() + "/theirs";
         },
         "belongs to uid 12345"},
        {"a folder of ours open to all", false,
         [&] {
             fs::create_directory(dir / "ours");
             ::chmod((dir / "ours").c_str(), 0777);
             return dir.str() + "/ours";
         },
         ""},
        {"a folder not there yet", false, [&] { return dir.str() + "/new/lanternfin"; }, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root)
            continue;
        const std::string cache = c.make();
        const auto load = platform::loadPhraseConverter(json, cache);
        ASSERT_TRUE(load.converter) << load.why;
        EXPECT_EQ(load.converter->convert("软体头发"), "軟體頭髮");
        EXPECT_FALSE(load.fromImage);
        if (*c.problem) {
            EXPECT_EQ(load.cacheProblem.in(core::Language::English), cache + " " + c.problem);
            EXPECT_TRUE(load.imagePath.empty());
        } else {
            EXPECT_TRUE(load.cacheProblem.empty()) << load.cacheProblem;
            struct stat st {};
            ASSERT_EQ(::lstat(cache.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0700u);
            EXPECT_EQ(load.imagePath, cache + "/" + imageName);
        }
    }
}

} // namespace
