#include "core/text_convert.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A tiny stand-in for the dictionary: 简->簡, 体->體, a BMP character to one beyond it and back.
core::CodePointMap fakeTraditional() {
    core::CodePointMap m;
    m.set(U'简', U'簡');
    m.set(U'体', U'體');
    m.set(U'丂', U'\U00020000');
    m.set(U'\U00020001', U'丄');
    return m;
}

TEST(MapCodePoints, ChangesOnlyMappedCharacters) {
    const auto map = fakeTraditional();
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"", u""},
        {u"简体", u"簡體"},
        {u"a简1,体!\n简", u"a簡1,體!\n簡"},
        {u"한국어 😀 𠀀", u"한국어 😀 𠀀"},
        {u"丂", u"\U00020000"},
        {u"x\U00020001y", u"x丄y"},
        // Lone surrogates stay where they are, also next to mapped characters.
        {u"\xD800简\xDC00", u"\xD800簡\xDC00"},
        {u"简\xD800", u"簡\xD800"},
        {u"\xDC00\xD800", u"\xDC00\xD800"},
        {std::u16string(u"\0简\0", 3), std::u16string(u"\0簡\0", 3)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(core::JToF(c.in, map), c.out);
}

TEST(MapCodePoints, GrowsPastItsFirstGuessWhenManyCharactersLeaveTheBmp) {
    const auto map = fakeTraditional();
    const std::u16string in(10000, u'丂');
    const auto out = core::JToF(in, map);
    ASSERT_EQ(out.size(), 20000u);
    EXPECT_EQ(out.substr(0, 2), u"\U00020000");
}

TEST(CodePointMap, CountsAndIgnoresWhatIsNoCodePoint) {
    core::CodePointMap m;
    m.set(U'a', U'A');
    m.set(0xD800, U'x');
    m.set(U'b', 0xDC00);
    m.set(0x110000, U'x');
    EXPECT_EQ(m.size(), 1u);
    EXPECT_EQ(m(U'a'), U'A');
    EXPECT_EQ(m(U'b'), U'b');
    EXPECT_EQ(m(0x110000), 0x110000u);
    m.set(U'a', U'a');
    EXPECT_EQ(m.size(), 0u);
}

} // namespace

namespace {

// Found by fuzzing: a mapping from ASCII to a code point beyond U+FFFF wrote past the room the
// fused conversion had made for its output.
TEST(MapUtf8, MakesRoomForAnyMapping) {
    core::CodePointMap map;
    map.set(U'a', U'\U00010400');
    const std::string in(100000, 'a');
    std::string out = "prefix";
    const auto r = core::mapUtf8(in, map, out, true);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(out.size(), 6u + 4 * in.size());
    EXPECT_EQ(out.substr(0, 10), "prefix\xF0\x90\x90\x80");
}

TEST(MapUtf8, StreamsAndStopsAtTheFirstBadByte) {
    core::CodePointMap map;
    map.set(U'简', U'簡');
    map.set(U'a', U'A');
    struct Case {
        std::string in;
        bool final;
        std::string out;
        std::size_t consumed;
        bool ok;
    };
    const Case cases[] = {
        {"a简b😀", true, "A簡b😀", 9, true},     {"", true, "", 0, true},
        {"a\xE7\xAE", false, "A", 1, true},   // cut at the end of a chunk: held back
        {"a\xE7\xAE", true, "A", 1, false},   // cut at the end of the input
        {"a\xFFsimple", true, "A", 1, false}, // converted up to the bad byte
        {"\xED\xA0\x80", false, "", 0, false}, {std::string("\0a", 2), true, std::string("\0A", 2), 2, true},
    };
    for (const auto &c : cases) {
        std::string out;
        const auto r = core::mapUtf8(c.in, map, out, c.final);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(r.consumed, c.consumed);
        EXPECT_EQ(r.ok, c.ok);
    }
}

} // namespace
