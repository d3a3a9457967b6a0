// Data files that are not what they should be: a FIFO or a device where an image, pinyin.dat, a
// configuration or a dictionary belongs. Each is refused at once, named with the reason; none hangs
// the program or grows its memory.

#include "platform/opencc_config.h"
#include "platform/phrase_config.h"
#include "platform/pinyin_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        char name[] = "/tmp/lanternfin-files-XXXXXX";
        m_path = mkdtemp(name);
    }
    ~Folder() { fs::remove_all(m_path); }
    std::string operator/(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void fifo(const std::string &path) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
}

// Runs `f` on a thread; when it has not returned in a few seconds, the FIFOs are opened for
// writing and closed, so that a reader stuck in open() or read() sees an end and the test fails
// instead of hanging.
template <class F> auto withinSeconds(const std::vector<std::string> &fifos, F f) {
    auto done = std::async(std::launch::async, f);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "still waiting after 5 s";
        for (const auto &p : fifos) {
            const int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    }
    return done.get();
}

TEST(DataFiles, FifoAtTheImagePathIsPassedBy) {
    Folder dir, cache;
    std::ofstream(dir / "mine.json")
        << R"({"conversion_chain": [{"dict": {"type": "text", "file": "p.txt"}}]})";
    std::ofstream(dir / "p.txt") << "头发\t頭髮\n";
    const auto first = platform::loadPhraseConverter(dir / "mine.json", cache / "");
    ASSERT_TRUE(first.converter);
    ASSERT_FALSE(first.imagePath.empty());
    fs::remove(first.imagePath);
    fifo(first.imagePath);
    const auto again = withinSeconds(
        {first.imagePath}, [&] { return platform::loadPhraseConverter(dir / "mine.json", cache / ""); });
    ASSERT_TRUE(again.converter);
    EXPECT_FALSE(again.fromImage);
    EXPECT_EQ(again.converter->convert("头发"), "頭髮");
}

TEST(DataFiles, FifoAsPinyinDataIsRefused) {
    Folder dir;
    fifo(dir / "pinyin.dat");
    core::Message why;
    const auto data = withinSeconds({dir / "pinyin.dat"},
                                    [&] { return platform::PinyinData::load(dir / "pinyin.dat", &why); });
    EXPECT_FALSE(data);
    EXPECT_EQ(why, core::Message(core::MessageId::NotRegularFile));
}

TEST(DataFiles, ConfigurationFilesThatAreNoFilesAreNamed) {
    Folder dir;
    fifo(dir / "fifo.txt");
    fifo(dir / "fifo.json");
    { std::ofstream big(dir / "big.txt"); }
    ASSERT_EQ(truncate((dir / "big.txt").c_str(), off_t(1) << 30), 0); // sparse: no disk used
    auto config = [&](const std::string &name, const std::string &file) {
        std::ofstream(dir / name) << R"({"conversion_chain": [{"dict": {"type": "text", "file": ")" << file
                                  << R"("}}]})";
        return dir / name;
    };
    struct Case {
        std::string json, failed, why;
    };
    const Case cases[] = {
        {config("zero.json", "/dev/zero"), "/dev/zero", "not a regular file"},
        {config("fifo-dict.json", dir / "fifo.txt"), dir / "fifo.txt", "not a regular file"},
        {dir / "fifo.json", dir / "fifo.json", "not a regular file"},
        {config("big.json", dir / "big.txt"), dir / "big.txt", "larger than 536870912 bytes"},
        {config("dir.json", dir / ""), dir / "", "not a regular file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        const auto load = withinSeconds({dir / "fifo.txt", dir / "fifo.json"},
                                        [&] { return platform::loadPhraseConverter(c.json, ""); });
        EXPECT_FALSE(load.converter);
        EXPECT_EQ(load.failedPath, c.failed);
        EXPECT_EQ(load.why.in(core::Language::English), c.why);
        // The quick look before a menu opens names the same file, and does not wait either.
        EXPECT_EQ(withinSeconds({dir / "fifo.txt", dir / "fifo.json"},
                                [&] { return platform::phraseConfigProblem(c.json); }),
                  c.failed);
    }
}

} // namespace
