// The real ICU and OpenCC wrappers, with the conversions of core on top of them.

#include "core/pinyin.h"
#include "core/text_convert.h"
#include "platform/character_maps.h"
#include "platform/codepage936.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TextServices : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_codes = platform::loadCodePage936().release();
        s_st = new core::CodePointMap(*platform::loadCharacterDictionary(
            platform::openccDataDir() + "/" + platform::kSimplifiedToTraditionalFile));
        s_ts = new core::CodePointMap(*platform::loadCharacterDictionary(
            platform::openccDataDir() + "/" + platform::kTraditionalToSimplifiedFile));
    }
    static void TearDownTestSuite() {
        delete s_codes;
        delete s_st;
        delete s_ts;
    }
    static inline core::CharCodeTable *s_codes = nullptr;
    static inline core::CodePointMap *s_st = nullptr;
    static inline core::CodePointMap *s_ts = nullptr;
};

TEST_F(TextServices, CodePage936Codes) {
    struct Case {
        char16_t unit;
        int code;
    };
    const Case cases[] = {
        {u'啊', -20319}, {u'€', 128},     {u'A', 65},          {u'?', 63},      {u'\n', 10}, {u'\0', 0},
        {u'座', -10247}, {u'盃', -20320}, {u'亍', -10079},     {u'盄', -20160}, {u'한', 63}, {0xD800, 63},
        {0xDC00, 63},    {u'！', -23647}, {u'\u3000', -24159}, {0x0080, 63},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.unit));
        EXPECT_EQ(s_codes->code[c.unit], c.code);
    }
}

TEST_F(TextServices, PinyinOfRealCharacters) {
    struct Case {
        std::u16string text, pinyin;
    };
    const Case cases[] = {
        {u"啊", u"A"},
        {u"座", u"Zuo"},
        {u"盃", u""},
        {u"埃", u"Ai"},
        {u"亍", u""},
        {u"盄", u"Bao"},
        {u"剖", u"Po"},
        {u"汉字", u"HanZi"},
        {u"中国", u"ZhongGuo"},
        {u"重行长", u"ZhongXingChang"},
        {u"中 国", u"Zhong Guo"},
        {u"我爱Beijing 2008！", u"WoAiBeijing 2008"},
        {u"，。、“”\u3000Ａ２", u""},
        {u"€", u"€"},
        {u"한\U00020000", u"???"},
        {u"我\r\n爱\n", u"Wo\r\nAi\n"},
        // Found by fuzzing: U+001A, ICU's own substitute byte, came out as "?".
        {u"a\x1A\x7F\t", u"a\x1A\x7F\t"},
    };
    const core::PinyinTable table(*s_codes);
    for (const auto &c : cases)
        EXPECT_EQ(core::c(c.text, table), c.pinyin);
}

TEST_F(TextServices, PinyinTableAgreesWithGForEveryUnit) {
    const core::PinyinTable table(*s_codes);
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
        const auto u = static_cast<char16_t>(unit);
        ASSERT_EQ(table.of(u), core::g(s_codes->code[u], *s_codes)) << unit;
    }
}

TEST_F(TextServices, SimplifiedAndTraditional) {
    EXPECT_EQ(core::JToF(u"简体", *s_st), u"簡體");
    EXPECT_EQ(core::FToJ(u"簡體", *s_ts), u"简体");
    EXPECT_EQ(core::JToF(u"我爱Beijing 2008！\n汉字，123", *s_st), u"我愛Beijing 2008！\n漢字，123");
    EXPECT_EQ(core::FToJ(u"我愛Beijing\r\n漢字", *s_ts), u"我爱Beijing\r\n汉字");
    EXPECT_EQ(core::JToF(u"", *s_st), u"");
    // Nothing the code page cannot hold is lost, in either direction.
    const std::u16string foreign = u"한국어 😀🎉 𠀀𪚥 \xD800 \xDC00 ä€";
    EXPECT_EQ(core::JToF(foreign, *s_st), foreign);
    EXPECT_EQ(core::FToJ(foreign, *s_ts), foreign);
    EXPECT_GT(s_st->size(), 2000u);
    EXPECT_GT(s_ts->size(), 2000u);
}

TEST_F(TextServices, MissingDictionaryIsNoMap) {
    EXPECT_FALSE(platform::loadCharacterDictionary("/nonexistent/STCharacters.ocd2").has_value());
    EXPECT_FALSE(platform::loadCharacterDictionary("/etc/hostname").has_value());
}

TEST(CaseMaps, SimpleOneToOneMapping) {
    const auto upper = platform::upperCaseMap();
    const auto lower = platform::lowerCaseMap();
    struct Case {
        std::u16string in, up, low;
    };
    const Case cases[] = {
        {u"Abc 中文 123", u"ABC 中文 123", u"abc 中文 123"},
        {u"ａＢ äÖ αΩ жЯ", u"ＡＢ ÄÖ ΑΩ ЖЯ", u"ａｂ äö αω жя"},
        {u"Straße ǅ", u"STRAßE Ǆ", u"straße ǆ"},
        {u"line1\nLine2\r\n", u"LINE1\nLINE2\r\n", u"line1\nline2\r\n"},
        {u"𐐨𐐀 \xD801", u"𐐀𐐀 \xD801", u"𐐨𐐨 \xD801"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(core::upperCaseText(c.in, upper), c.up);
        EXPECT_EQ(core::lowerCaseText(c.in, lower), c.low);
    }
}

} // namespace
