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
    for (const auto& c : cases)
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
