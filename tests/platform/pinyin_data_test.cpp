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
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/pinyin.dat", "No such file or directory"},
        {empty, "not a data file"},
        {folder, "not a regular file"},
        {damaged, "damaged pinyin data (checksum)"},
    };
    for (const auto &[path, why] : cases) {
        SCOPED_TRACE(path);
        platform::PinyinDataSource bad(path);
        EXPECT_EQ(bad.get(), nullptr);
        EXPECT_TRUE(bad.tried());
        EXPECT_EQ(bad.error().in(core::Language::English), "cannot load " + path + ": " + why);
        EXPECT_EQ(bad.error().in(core::Language::Chinese), "无法载入 " + path + "：" + why);
    }
}

} // namespace
