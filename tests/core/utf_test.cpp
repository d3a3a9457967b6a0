#include "core/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, DecodesValidText) {
    EXPECT_EQ(core::utf8ToUtf16("a中\xF0\x9F\x98\x80"), u"a中\U0001F600");
    EXPECT_EQ(core::utf8ToUtf16(std::string("\0x", 2)), std::u16string(u"\0x", 2));
    EXPECT_EQ(core::utf8ToUtf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
}

TEST(Utf8, RejectsEveryMalformedSequence) {
    const char *bad[] = {
        "\x80",
        "\xC0\x80",
        "\xC1\xBF",
        "\xE0\x80\x80",
        "\xED\xA0\x80",
        "\xF0\x80\x80\x80",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xFF",
        "\xE4\xB8",
        "a\xC3",
        "\xC3(",
    };
    for (const char *s : bad) {
        SCOPED_TRACE(s);
        EXPECT_FALSE(core::utf8ToUtf16(s).has_value());
        EXPECT_FALSE(core::isValidUtf8(s));
    }
    EXPECT_TRUE(core::isValidUtf8("a中\xF0\x9F\x98\x80"));
}

TEST(Utf8, ChunkedDecodingHoldsBackACutSequence) {
    std::u16string out;
    const std::string text = "a\xE4\xB8\xAD";
    auto r = core::decodeUtf8(std::string_view(text).substr(0, 3), out, false);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.consumed, 1u);
    r = core::decodeUtf8(std::string_view(text).substr(1), out, true);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(out, u"a中");
    // A prefix that can never be valid is an error at once.
    out.clear();
    r = core::decodeUtf8("\xED\xA0", out, false);
    EXPECT_FALSE(r.ok);
}

TEST(Utf8, EncodesLoneSurrogatesAsReplacement) {
    EXPECT_EQ(core::utf16ToUtf8(u"x\xD800y\xDC00"), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_EQ(core::utf16ToUtf8(u"\U0001F600中"), "\xF0\x9F\x98\x80\xE4\xB8\xAD");
}

// The inline step must agree with the full decoder on every sequence of up to three bytes, also
// when the bytes are cut short, so that no fast path accepts what the decoder refuses.
TEST(Utf8, StepDecoderAgreesWithTheFullDecoder) {
    unsigned char s[4] = {0, 0, 0, 0};
    for (unsigned b0 = 0; b0 < 256; ++b0) {
        for (unsigned b1 = 0x70; b1 < 0xD0; ++b1) {
            for (unsigned b2 = 0x70; b2 < 0xD0; ++b2) {
                s[0] = static_cast<unsigned char>(b0);
                s[1] = static_cast<unsigned char>(b1);
                s[2] = static_cast<unsigned char>(b2);
                s[3] = 0x80;
                for (std::size_t avail : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(4)}) {
                    char32_t fast = 0, full = 0;
                    const int a = core::stepUtf8(s, avail, fast);
                    const int b = core::decodeUtf8Sequence(s, avail, full);
                    ASSERT_EQ(a, b) << std::hex << b0 << ' ' << b1 << ' ' << b2 << " avail " << avail;
                    if (a > 0) {
                        ASSERT_EQ(fast, full) << std::hex << b0 << ' ' << b1 << ' ' << b2;
                    }
                }
            }
        }
    }
}

// Long texts take the 64-byte path: a fault anywhere in them, also right at a group's edge, is
// found at the same offset as byte by byte, and a sequence cut by the end is held back.
TEST(Utf8, ValidPrefixFindsEveryFaultInLongText) {
    std::string text;
    while (text.size() < 200)
        text += "a中\xC3\xA9\xF0\x9F\x98\x80";
    const char *faults[] = {"\xFF", "\x80", "\xED\xA0\x80", "\xE0\x9F\xBF", "\xF4\x90\x80\x80", "\xC3" "a"};
    for (std::size_t at = 0; at < 140; ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            continue;
        for (const char *fault : faults) {
            SCOPED_TRACE(testing::Message() << "at " << at << " fault " << fault);
            const std::string in = text.substr(0, at) + fault + text.substr(at);
            const auto r = core::validUtf8Prefix(in, true);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.consumed, at);
            EXPECT_FALSE(core::isValidUtf8(in));
        }
        const std::string cut = text.substr(0, at) + "\xF0\x9F\x98";
        const auto held = core::validUtf8Prefix(cut, false);
        EXPECT_TRUE(held.ok);
        EXPECT_EQ(held.consumed, at);
        EXPECT_FALSE(core::validUtf8Prefix(cut, true).ok);
    }
    EXPECT_TRUE(core::isValidUtf8(text));
}

TEST(Utf16, SurrogatePairsAndLoneSurrogates) {
    const std::u16string text = u"a\U0001F600\xD800" u"b\xDC00";
    const std::u32string want = {U'a', U'\U0001F600', 0xD800, U'b', 0xDC00};
    std::u32string got;
    for (std::size_t i = 0; i < text.size();)
        got += core::nextCodePoint(text, i);
    EXPECT_EQ(got, want);
    std::u16string back;
    for (char32_t c : got)
        core::appendUtf16(c, back);
    EXPECT_EQ(back, text);
}

// File names in messages: a name made to hold an escape sequence or a line break could drive the
// terminal or pass for another line of output (found printed raw by lanternfin-cli -O).
TEST(EscapedForTerminal, ControlsAndBadBytesAreEscapedTextIsKept) {
    const struct {
        std::string_view in, out;
    } cases[] = {
        {"报告.txt", "报告.txt"},
        {"a\nb", "a\\x0ab"},
        {"esc\x1b[31mRED", "esc\\x1b[31mRED"},
        {"bad\xff.txt", "bad\\xff.txt"},
        {"\xe6\xb1", "\\xe6\\xb1"},         // a sequence cut short
        {"\xc2\x9b" "1m", "\\xc2\\x9b1m"},  // C1 CSI, well-formed UTF-8
        {"del\x7f", "del\\x7f"},
        {"a\\x0ab", "a\\\\x0ab"},           // a backslash of its own is doubled
        {std::string_view("nul\0", 4), "nul\\x00"},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.in));
        EXPECT_EQ(core::escapedForTerminal(c.in), c.out);
    }
}

} // namespace
