// Finding and loading pinyin.dat.

#include "platform/pinyin_data.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
#include <unistd.h>

namespace {

TEST(PinyinDataDir, EnvironmentFirstThenTheBuildTree) {
    const char *old = std::getenv("LANTERNFIN_DATA_DIR");
    const std::string saved = old ? old : "";
    setenv("LANTERNFIN_DATA_DIR", "/somewhere/else", 1);
    EXPECT_EQ(platform::lanternfinDataDir(), "/somewhere/else");
    unsetenv("LANTERNFIN_DATA_DIR");
    // The test program is not installed: no ../share/lanternfin beside it, so the build tree.
    const std::string dir = platform::lanternfinDataDir();
    EXPECT_TRUE(platform::PinyinData::load(dir + "/" + platform::kPinyinDataFile)) << dir;
    if (old)
        setenv("LANTERNFIN_DATA_DIR", saved.c_str(), 1);
}

TEST(PinyinDataSource, LoadsOnceOnFirstUseAndNamesAFileItCannotLoad) {
    platform::PinyinDataSource good(platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile);
    EXPECT_FALSE(good.tried());
    const core::PinyinReadingData *data = good.get();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(good.get(), data);
    EXPECT_TRUE(good.error().empty());

    const testsupport::TempDir dir("lanternfin-pdata");
    const std::string empty = (dir / "empty.dat").string(), folder = dir.str();
    testsupport::writeFile(empty, "");
    // A real data file with one byte changed far from its header: only the checksum can tell.
    const std::string damaged = (dir / "damaged.dat").string();
    std::string bytes = testsupport::readFile(platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile);
    ASSERT_GT(bytes.size(), 1000u);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5A);
    testsupport::writeFile(damaged, bytes);
    // The reason reaches the message, as "cannot load PATH: WHY".
    // The reason is worded in the message's language, as the catalogue words it.
    const struct {
        std::string path, english, chinese;
    } cases[] = {
        {"/nonexistent/pinyin.dat", "No such file or directory", "没有那个文件或目录"},
        {empty, "not a data file", "不是数据文件"},
        {folder, "not a regular file", "不是普通文件"},
        {damaged, "damaged pinyin data (checksum)", "拼音数据已损坏（校验和）"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        platform::PinyinDataSource bad(c.path);
        EXPECT_EQ(bad.get(), nullptr);
        EXPECT_TRUE(bad.tried());
        EXPECT_EQ(bad.error().in(core::Language::English), "cannot load " + c.path + ": " + c.english);
        EXPECT_EQ(bad.error().in(core::Language::Chinese), "无法载入 " + c.path + "：" + c.chinese);
    }
}

} // namespace
