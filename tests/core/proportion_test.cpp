#include "core/proportion.h"

#include "narrow.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::narrow;

TEST(Proportion, ResultText) {
    struct Case {
        std::u16string a, b, c;
        std::optional<std::u16string> d;
    };
    const Case cases[] = {
        {u"1", u"2", u"3", u" 6"},
        {u"2", u"3", u"4", u" 6"},
        {u"3", u"1", u"1", u" 0.333333333333333"},
        {u"3", u"2", u"1", u" 0.666666666666667"},
        {u"4", u"1", u"-5", u"-1.25"},
        {u"4", u"2.5", u"-2", u"-1.25"},
        {u"1", u"1e10", u"1e10", u" 1E+20"},
        {u"2", u"0", u"-5", u" 0"},
        {u"2", u"1", u"1", u" 0.5"},
        {u"1", u"0.00001", u"1", u" 1E-05"},
        {u"1,000", u"1e3", u"&H10", u" 16"},
        {u" 2 ", u"\t3", u"1 0", u" 15"},
        // pasted from a cell (a line break after it), a web page (a no-break space) or Chinese text
        {u"3\r\n", u"6\n", u"\u30009\u3000", u" 18"},
        {u"\u00A03", u"6\u00A0", u"\uFEFF9", u" 18"},
        // typed with a Chinese input method in full-width mode
        {u"３", u"６", u"－１．５", u"-3"},
        {u"4", u"1", u"1e", u" 0.25"},
        {u"-2", u"3", u"4", u"-6"},
        // a is zero or not a number: no result.
        {u"", u"2", u"3", std::nullopt},
        {u"0", u"2", u"3", std::nullopt},
        {u"0.0", u"2", u"3", std::nullopt},
        {u"-0", u"2", u"3", std::nullopt},
        {u"abc", u"2", u"3", std::nullopt},
        {u"-", u"2", u"3", std::nullopt},
        // Overflow of a box, the product or the quotient.
        {u"1", u"1e400", u"1", std::nullopt},
        {u"1e400", u"1", u"1", std::nullopt},
        {u"1", u"1e200", u"1e200", std::nullopt},
        {u"1e-300", u"1e10", u"1e10", std::nullopt},
        // Hostile boxes.
        {std::u16string(100000, u'9'), u"1", u"1", std::nullopt},
        {u"1e-" + std::u16string(100000, u'9'), u"1", u"1", std::nullopt},
        {std::u16string(u"\0\0", 2), u"1", u"1", std::nullopt},
        {u"\xD800", u"\xDC00", u"1", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.a + u" | " + c.b + u" | " + c.c));
        EXPECT_EQ(core::proportionText(c.a, c.b, c.c), c.d);
    }
}

// Regression: b and c were read by their leading number, so that an empty or misspelt box counted
// as 0 (" 0" shown and copied) and "12%" or "1,5" as the number they start with.
TEST(Proportion, EveryBoxIsWholeNumberOrNone) {
    using F = core::ProportionFault;
    using B = core::ProportionBox;
    struct Case {
        std::u16string a, b, c;
        F fault;
        B box;
    };
    const Case cases[] = {
        {u"1", u"x", u"1", F::NotANumber, B::B},
        {u"1", u"1", u"abc", F::NotANumber, B::C},
        {u"1", u"1", u"￥12", F::NotANumber, B::C},
        {u"1", u"1", u"NaN", F::NotANumber, B::C},
        {u"1", u"1", u"12%", F::NotANumber, B::C},
        {u"1", u"1", u"5abc", F::NotANumber, B::C},
        {u"3", u"2", u"1,5", F::NotANumber, B::C},
        {u"2", u"3", u"", F::NotANumber, B::C},
        {u"2", u"", u"", F::NotANumber, B::B},
        {u"2,5", u"1", u"1", F::NotANumber, B::A},
        {u"12abc", u"1", u"1", F::NotANumber, B::A},
        {u"", u"2", u"3", F::NotANumber, B::A},
        {u"&H", u"2", u"3", F::NotANumber, B::A},
        {u"1", u"-", u"3", F::NotANumber, B::B},
        {u"1", u"2", u"3\n4", F::NotANumber, B::C}, // two numbers, not one
        {u"1", u"\u3000", u"3", F::NotANumber, B::B},
        {u"abc", u"0", u"x", F::NotANumber, B::A},
        {u"0", u"x", u"1", F::NotANumber, B::B},
        {u"0", u"1", u"1", F::ZeroA, B::A},
        {u"-0.0", u"1", u"1", F::ZeroA, B::A},
        {u"1", u"1e400", u"1", F::OutOfRange, B::A},
        {u"1e-300", u"1e10", u"1e10", F::OutOfRange, B::A},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.a + u" | " + c.b + u" | " + c.c));
        const core::Proportion p = core::proportion(c.a, c.b, c.c);
        EXPECT_FALSE(p.d.has_value());
        EXPECT_EQ(p.fault, c.fault);
        if (c.fault == F::NotANumber) {
            EXPECT_EQ(p.box, c.box);
        }
    }
}

// Regression: b * c underflowed to 0 where d itself is in range (1e-300 : 1e-200 = 1e-200 : d
// gave " 0"), a box below the float range counted as 0 (1 : 1e-999 gave " 0"), and a result below
// the normal range was shown with wrong digits (9.99988867182683E-321 for 1E-320).
TEST(Proportion, TinyValuesAreRightOrRefused) {
    const struct {
        std::u16string a, b, c;
        std::optional<std::u16string> d;
    } cases[] = {
        {u"1e-300", u"1e-200", u"1e-200", u" 1E-100"},
        {u"1e-300", u"-1e-200", u"1e-200", u"-1E-100"},
        {u"1e300", u"1e200", u"1e200", std::nullopt}, // the product overflows
        {u"1", u"3e-308", u"1", u" 3E-308"},
        {u"1", u"1e-308", u"1", std::nullopt},
        {u"1", u"1e-999", u"1", std::nullopt},
        {u"1e-999", u"1", u"1", std::nullopt},
        {u"1", u"1.5e-310", u"1", std::nullopt},
        {u"1e10", u"1e-300", u"1e-10", std::nullopt},
        {u"1e200", u"1e-200", u"1e-200", std::nullopt},
        {u"1", u"1e-999", u"0", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.a + u" | " + c.b + u" | " + c.c));
        const core::Proportion p = core::proportion(c.a, c.b, c.c);
        EXPECT_EQ(p.d, c.d);
        if (!c.d) {
            EXPECT_EQ(p.fault, core::ProportionFault::OutOfRange);
        }
    }
}

TEST(ProportionFields, BlanksTabsOrOneCommaSeparate) {
    const struct {
        std::u16string line;
        std::vector<std::u16string> fields;
    } cases[] = {
        {u"1 2 3", {u"1", u"2", u"3"}},
        {u"1,2,3", {u"1", u"2", u"3"}},
        {u"  1, 2,\t3\t ", {u"1", u"2", u"3"}},
        {u"1\t\t2   3", {u"1", u"2", u"3"}},
        {u"1 , 2", {u"1", u"2"}},
        {u"1,,3", {u"1", u"", u"3"}},
        {u"1,2,", {u"1", u"2", u""}},
        {u",1", {u"", u"1"}},
        {u"", {}},
        {u" \t ", {}},
        {u"1,234 5 6", {u"1", u"234", u"5", u"6"}},
        {u"-5 .5 &H10", {u"-5", u".5", u"&H10"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.line));
        const auto fields = core::proportionFields(c.line);
        EXPECT_EQ(std::vector<std::u16string>(fields.begin(), fields.end()), c.fields);
    }
}

TEST(NumberText, AcceptsWhatTheResultBoxCanHold) {
    const std::u16string numbers[] = {
        u" 6", u"-1.25",  u" 1E+20", u"1,234",    u"1,234,5",           u".5",
        u"5.", u"  +3  ", u"1e-5",   u"1.5E+300", u"0.333333333333333",
    };
    for (const auto &t : numbers) {
        SCOPED_TRACE(narrow(t));
        EXPECT_TRUE(core::isNumberText(t));
    }
    const std::u16string others[] = {
        u"",
        u" ",
        u"abc",
        u"-",
        u"+",
        u".",
        u"12abc",
        u"1e",
        u"1e+",
        u",1",
        u"1,",
        u"1,,2",
        u"1.2.3",
        u"- 5",
        u"1 2",
        u"1d5",
        u"\t5",
        u"5\n",
        std::u16string(u"5\0", 2),
        u"\xD800",
        u"1.5,0",
    };
    for (const auto &t : others) {
        SCOPED_TRACE(narrow(t));
        EXPECT_FALSE(core::isNumberText(t));
    }
}

TEST(RoundedCopy, RoundsTheDecimalValue) {
    struct Case {
        std::u16string t1d;
        int wei;
        std::optional<std::u16string> copied;
    };
    const Case cases[] = {
        {u" 2.5", 0, u"3"},
        {u"-2.5", 0, u"-2"},
        {u"-2.6", 0, u"-3"},
        {u" 123456789", 0, u"123456789"},
        {u" 1.25", 1, u"1.3"},
        {u"-1.25", 1, u"-1.2"},
        {u"-0.05", 1, u"0"},
        {u" 2.675", 2, u"2.68"},
        {u" 1.005", 2, u"1.01"},
        {u" 0.125", 2, u"0.13"},
        {u" 12345.678", 2, u"12345.68"},
        {u" 0.666666666666667", 0, u"1"},
        {u" 0.666666666666667", 1, u"0.7"},
        {u" 0.666666666666667", 2, u"0.67"},
        {u" 1E+20", 0, u"1E+20"},
        {u" 1E-05", 2, u"0"},
        {u"-0.004", 2, u"0"},
        {u"1,234.5", 0, u"1235"},
        {u"1234567890123456.7", 0, u"1.23456789012346E+15"},
        {u"", 0, std::nullopt},
        {u"abc", 0, std::nullopt},
        {u"-", 0, std::nullopt},
        {u"12abc", 2, std::nullopt},
        {u"1e400", 0, std::nullopt},
        // Regression: the largest float is shown as 1.79769313486232E+308, a little above the
        // largest float; its copy was refused as beyond the range.
        {u" 1.79769313486232E+308", 0, u"1.79769313486232E+308"},
        {u" 1.79769313486233E+308", 0, std::nullopt},
        {u"-1.79769313486232E+308", 2, u"-1.79769313486232E+308"},
        {u"1E" + std::u16string(1'000'000, u'9'), 0, std::nullopt},
        {u"1E-" + std::u16string(1'000'000, u'9'), 2, u"0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.t1d) + " wei " + std::to_string(c.wei));
        EXPECT_EQ(core::roundedCopyText(c.t1d, c.wei), c.copied);
    }
}

} // namespace
