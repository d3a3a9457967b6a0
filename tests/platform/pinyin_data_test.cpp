// Finding and loading pinyin.dat.

#include "platform/pinyin_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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
    EXPECT_EQ(good.error(), "");

    char dir[] = "/tmp/lanternfin-pdata-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string empty = std::string(dir) + "/empty.dat", folder = std::string(dir);
    std::ofstream(empty).close();
    for (const std::string &path : {std::string("/nonexistent/pinyin.dat"), empty, folder}) {
        SCOPED_TRACE(path);
        platform::PinyinDataSource bad(path);
        EXPECT_EQ(bad.get(), nullptr);
        EXPECT_TRUE(bad.tried());
        EXPECT_EQ(bad.error(), "cannot load " + path);
    }
    unlink(empty.c_str());
    rmdir(dir);
}

} // namespace
