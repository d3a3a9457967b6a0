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

} // namespace
