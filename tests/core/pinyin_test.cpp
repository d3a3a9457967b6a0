#include "core/pinyin.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(SyllableTable, CountOrderAndUniqueness) {
    const auto table = core::Initdictinary();
    ASSERT_EQ(table.size(), 396u);
    EXPECT_EQ(table.front().name, u"A");
    EXPECT_EQ(table.front().number, -20319);
    EXPECT_EQ(table.back().name, u"Zuo");
    EXPECT_EQ(table.back().number, -10254);
    std::set<std::u16string_view> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        names.insert(table[i].name);
        if (i > 0) {
            EXPECT_LT(table[i - 1].number, table[i].number) << "entry " << i;
        }
        const auto first = table[i].name.front();
        EXPECT_TRUE(first >= u'A' && first <= u'Z' && first != u'I' && first != u'U' && first != u'V');
        EXPECT_LE(table[i].name.size(), 6u);
    }
    EXPECT_EQ(names.size(), 396u);
}

TEST(SyllableTable, InsertionOrderFollowsTheCodes) {
    const auto table = core::Initdictinary();
    auto indexOf = [&](std::u16string_view name) {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].name == name)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_EQ(indexOf(u"Lv"), indexOf(u"Lu") + 1);
    EXPECT_EQ(indexOf(u"Luan"), indexOf(u"Lv") + 1);
    EXPECT_EQ(indexOf(u"Nv"), indexOf(u"Nu") + 1);
    EXPECT_EQ(indexOf(u"Nuan"), indexOf(u"Nv") + 1);
    EXPECT_EQ(table[static_cast<std::size_t>(indexOf(u"Lv"))].number, -15681);
    EXPECT_EQ(table[static_cast<std::size_t>(indexOf(u"Nv"))].number, -14930);
}

// A code table where every unit has a chosen code, so that g and c are tested without ICU.
core::CharCodeTable fakeCodes() {
    core::CharCodeTable t;
    t.code.fill(63);
    t.singleByte.fill(u'?');
    for (char16_t u = 1; u < 128; ++u) {
        t.code[u] = static_cast<std::int16_t>(u);
        t.singleByte[u] = u;
    }
    t.code[0] = 0;
    t.singleByte[128] = u'€';
    t.code[u'€'] = 128;
    t.code[u'啊'] = -20319;
    t.code[u'盃'] = -20320;
    t.code[u'埃'] = -20317;
    t.code[u'座'] = -10247;
    t.code[u'亍'] = -10079;
    t.code[u'盄'] = -20160;
    t.code[u'剖'] = -14653;
    t.code[u'我'] = -12594;
    t.code[u'爱'] = -20306;
    t.code[u'！'] = -23647;
    return t;
}

TEST(Pinyin, CodesGiveSyllablesCharactersOrNothing) {
    const auto codes = fakeCodes();
    struct Case {
        std::int16_t code;
        std::u16string_view out;
    };
    const Case cases[] = {
        {65, u"A"},     {63, u"?"},    {128, u"€"},     {159, u"?"},     {0, u""},         {160, u""},
        {-20319, u"A"}, {-20320, u""}, {-20317, u"Ai"}, {-20318, u"A"},  {-10254, u"Zuo"}, {-10247, u"Zuo"},
        {-10246, u""},  {-1, u""},     {-32768, u""},   {-15681, u"Lv"}, {-15682, u"Lu"},  {-14653, u"Po"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(core::g(c.code, codes), c.out);
    }
}

TEST(Pinyin, CommandTextKeepsTheWorkspaceAndAddsALine) {
    const core::PinyinTable table(fakeCodes());
    struct Case {
        std::u16string workspace, result;
    };
    const Case cases[] = {
        {u"", u"\n"},
        {u"   ", u"   \n"},
        {u"我爱Beijing 2008！", u"我爱Beijing 2008！\nWoAiBeijing 2008"},
        {u"  我 爱  ", u"  我 爱  \nWo Ai"},
        {u"\t我\n爱\n", u"\t我\n爱\n\n\tWo\nAi\n"},
        {u"啊盃埃座亍盄剖", u"啊盃埃座亍盄剖\nAAiZuoBaoPo"},
        {u"한😀", u"한😀\n???"},
        {std::u16string(u"a\0b", 3), std::u16string(u"a\0b\nab", 6)},
        {u"\xD800x\xDC00", u"\xD800x\xDC00\n?x?"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(core::pinyinCommandText(c.workspace, table), c.result);
}

TEST(Pinyin, Utf8PathGivesTheSameText) {
    const core::PinyinTable table(fakeCodes());
    std::string out;
    const auto r = core::appendPinyinUtf8("我爱Beijing 2008！€😀", table, out);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(out, "WoAiBeijing 2008€??");
    out.clear();
    const auto bad = core::appendPinyinUtf8("我\xC0\x80", table, out);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.consumed, 3u);
}

TEST(Pinyin, TrimsSpacesOnly) {
    EXPECT_EQ(core::trimSpaces(u"  a b  "), u"a b");
    EXPECT_EQ(core::trimSpaces(u"\ta\t"), u"\ta\t");
    EXPECT_EQ(core::trimSpaces(u"    "), u"");
    EXPECT_EQ(core::trimSpaces(u"\u3000a\u3000"), u"\u3000a\u3000");
}

} // namespace
