#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace {

using core::ChineseGuess;
using core::ReadingScore;
using core::TextEncoding;

TEST(EncodingNames, AliasesAndCaseAreAccepted) {
    const struct {
        const char *name;
        std::optional<TextEncoding> encoding;
    } cases[] = {
        {"utf-8", TextEncoding::Utf8},
        {"UTF8", TextEncoding::Utf8},
        {"utf-16", TextEncoding::Utf16Le},
        {"UTF-16BE", TextEncoding::Utf16Be},
        {"gbk", TextEncoding::Gbk}, // Windows' code page 936, € as the byte 80
        {"GB2312", TextEncoding::Gbk},
        {"cp-936", TextEncoding::Gbk},
        {"gb18030", TextEncoding::Gb18030},
        {"Big5", TextEncoding::Big5},
        {"big5-hkscs", TextEncoding::Big5Hkscs},
        {"BIG5_HKSCS", TextEncoding::Big5Hkscs},
        {"latin1", std::nullopt},
        {"", std::nullopt},
        {"UTF-32", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(core::encodingByName(c.name), c.encoding);
        if (c.encoding) { // the name a message gives reads back as the same encoding
            EXPECT_EQ(core::encodingByName(core::encodingName(*c.encoding)), c.encoding);
        }
    }
}

TEST(ByteOrderMark, DecidesTheEncodingAndItsLength) {
    const struct {
        std::string bytes;
        std::optional<TextEncoding> encoding;
        std::size_t size;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "abc",
         TextEncoding::Utf8, 3},
        {"\xFF\xFE"
         "a\0",
         TextEncoding::Utf16Le, 2},
        {"\xFE\xFF\0a", TextEncoding::Utf16Be, 2},
        {std::string("\xFF\xFE\0\0", 4), std::nullopt, 0}, // UTF-32LE is not UTF-16
        {"\xEF\xBB", std::nullopt, 0},
        {"abc", std::nullopt, 0},
        {"", std::nullopt, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto mark = core::byteOrderMark(c.bytes);
        ASSERT_EQ(mark.has_value(), c.encoding.has_value());
        if (mark) {
            EXPECT_EQ(mark->encoding, *c.encoding);
            EXPECT_EQ(mark->size, c.size);
            EXPECT_EQ(core::byteOrderMarkOf(mark->encoding), c.bytes.substr(0, c.size));
        }
    }
}

TEST(Utf16, RoundTripsInBothByteOrdersWithSurrogatePairsAndCrlf) {
    const std::string text = "简体\r\n𠀀a\n";
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian);
        std::string bytes;
        core::encodeUtf16(text, bigEndian, bytes);
        ASSERT_EQ(bytes.size(), 2u * 8);
        EXPECT_EQ(bytes.substr(0, 2), bigEndian ? "\x7B\x80" : "\x80\x7B"); // 简 U+7B80
        std::string back;
        EXPECT_TRUE(core::decodeUtf16(bytes, bigEndian, back));
        EXPECT_EQ(back, text);
    }
}

TEST(Utf16, RefusesOddLengthAndUnpairedSurrogatesAtTheirByte) {
    const struct {
        std::string bytes; // little-endian
        std::size_t bad;
        std::string before;
    } cases[] = {
        {std::string("a\0b", 3), 2, "a"},
        {std::string("a\0\x00\xDC", 4), 2, "a"}, // a low surrogate alone
        {std::string("\x00\xD8"
                     "a\0",
                     4),
         0, ""},                                 // a high surrogate before a letter
        {std::string("a\0\x00\xD8", 4), 2, "a"}, // a high surrogate at the end
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        std::string out;
        std::size_t bad = 99;
        EXPECT_FALSE(core::decodeUtf16(c.bytes, false, out, &bad));
        EXPECT_EQ(bad, c.bad);
        EXPECT_EQ(out, c.before);
    }
}

TEST(ReadingScore, CountsCommonRareOddAndNeutralBeyondAscii) {
    core::CommonHan common;
    common.add(U'中');
    common.add(U'文');
    // 中文 common, 亍 rare, あ (kana), U+E000 (private use), 㐀 (extension A) and 𠀀 odd; ， neutral.
    const ReadingScore s = core::scoreReading(u"ab中文亍あ\uE000㐀𠀀，\r\n", common);
    EXPECT_EQ(s.common, 2u);
    EXPECT_EQ(s.rare, 1u);
    EXPECT_EQ(s.odd, 4u);
    EXPECT_EQ(s.neutral, 1u);
    EXPECT_EQ(s.privateUse, 1u);
    EXPECT_EQ(s.plausibility(), 2 - 1 - 12);
}

ReadingScore score(std::size_t common, std::size_t rare, std::size_t odd, std::size_t neutral = 0) {
    ReadingScore s;
    s.common = common;
    s.rare = rare;
    s.odd = odd;
    s.neutral = neutral;
    return s;
}

TEST(ChineseEncoding, ChoosesOnlyAClearlyMorePlausibleReading) {
    const std::optional<ReadingScore> none;
    const struct {
        const char *what;
        std::optional<ReadingScore> gb, big5;
        ChineseGuess guess;
    } cases[] = {
        {"GBK text: Big5 reads rare characters and bopomofo", score(20, 0, 0, 3), score(9, 10, 3, 1),
         ChineseGuess::Gb18030},
        {"Big5 text: GB reads kana and private use", score(7, 3, 10, 0), score(20, 0, 0, 3),
         ChineseGuess::Big5},
        {"only GB18030 reads it", score(3, 0, 0), none, ChineseGuess::Gb18030},
        {"only Big5 reads it", none, score(2, 0, 0), ChineseGuess::Big5},
        {"one character is too short", score(1, 0, 0), none, ChineseGuess::Undecided},
        {"two common characters against two rare ones", score(2, 0, 0), score(0, 2, 0),
         ChineseGuess::Gb18030},
        {"both read as common characters", score(6, 0, 0), score(6, 0, 0), ChineseGuess::Undecided},
        {"a lead below four", score(6, 0, 0), score(5, 2, 0), ChineseGuess::Undecided},
        {"a lead of four among forty is not enough", score(30, 2, 0, 8), score(28, 4, 0, 8),
         ChineseGuess::Undecided},
        {"the only reading does not look Chinese", score(2, 5, 1), none, ChineseGuess::Neither},
        {"no common character in either", score(0, 1, 0), score(0, 0, 1), ChineseGuess::Neither},
        {"neither encoding reads it", none, none, ChineseGuess::Neither},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::chooseChineseEncoding(c.gb, c.big5), c.guess);
    }
}

TEST(DamagedUtf8, IsToldFromChineseCodePages) {
    const struct {
        std::string bytes;
        bool damaged;
    } cases[] = {
        {"头发\xFF头发", true},
        {"汉字a\xFF汉", true},
        {"a\xE4\xB8", true},                         // cut at the end
        {"ab\xFF", false},                           // nothing valid to go by
        {"头发", false},                             // valid: not damaged
        {"\xD5\xE2\xCA\xC7\xD2\xBB\xB7\xDD", false}, // 这是一份 in GB18030
        {"\xC4\xA3\xBA\xFD", false},                 // 模糊 in GB18030: one valid pair, one bad
        {"\xB3\x6F\xAC\x4F", false},                 // 這是 in Big5
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(core::looksLikeDamagedUtf8(c.bytes), c.damaged);
    }
}

TEST(LineOfOffset, CountsLineBreaksBefore) {
    EXPECT_EQ(core::lineOfOffset("ab\r\ncd\nef", 0), 1u);
    EXPECT_EQ(core::lineOfOffset("ab\r\ncd\nef", 3), 1u);
    EXPECT_EQ(core::lineOfOffset("ab\r\ncd\nef", 4), 2u);
    EXPECT_EQ(core::lineOfOffset("ab\r\ncd\nef", 99), 3u);
}

} // namespace
