#include "core/number.h"

#include "narrow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using testsupport::narrow;

TEST(LeadingNumber, ReadsAsTheTableSays) {
    struct Case {
        std::u16string text;
        double value;
    };
    const Case cases[] = {
        {u"12abc", 12},
        {u"1 2 3.456", 123.456},
        {u"1e3", 1000},
        {u"1E3", 1000},
        {u"1d3", 1000},
        {u"1D-3", 0.001},
        {u"1e", 1},
        {u"1e+", 1},
        {u"2.5e 1", 25},
        {u"\t-\t4", -4},
        {u"+7", 7},
        {u"", 0},
        {u"abc", 0},
        {u"-", 0},
        {u".", 0},
        {u".5", 0.5},
        {u"5.", 5},
        {u"1.2.3", 1.2},
        {u"1,234", 1234},
        {u"1,234,567.89", 1234567.89},
        {u"-1,234", -1234},
        {u"2,5", 2},
        {u"1,2345", 1},
        {u"12,34", 12},
        {u"1, 234", 1},
        {u"1 ,234", 1},
        {u",234", 0},
        {u"1.234,567", 1.234},
        {u"1,234.5", 1234.5},
        {u"1,234e1,000", 12340},
        {u"12\r34", 12},
        {u"12\n34", 12},
        {u"\n5", 0},
        {u"3中", 3},
        {u"&H1F", 31},
        {u"&hff", 255},
        {u" & H 10", 16},
        {u"&O17", 15},
        {u"&O8", 0},
        {u"&H", 0},
        {u"&", 0},
        {u"&X12", 0},
        {u"-&H10", 0},
        {u"0.1", 0.1},
        {u"1e-400", 0},
        {u"1.7976931348623157e308", std::numeric_limits<double>::max()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.text));
        const auto v = core::readLeadingNumber(c.text);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, c.value);
    }
}

TEST(LeadingNumber, BeyondTheFloatRangeIsNoValue) {
    const std::u16string texts[] = {u"1e400", u"-1e309", u"1.8e308", u"&H1" + std::u16string(300, u'0')};
    for (const auto &text : texts) {
        SCOPED_TRACE(narrow(text));
        EXPECT_FALSE(core::readLeadingNumber(text).has_value());
    }
}

TEST(LeadingNumber, HugeInputsStayExactAndFast) {
    const auto big = core::readLeadingDecimal(std::u16string(10'000'000, u'9'));
    EXPECT_EQ(big.point, 10'000'000);
    EXPECT_EQ(big.digits.size(), 10'000'000u);
    const auto huge = core::readLeadingDecimal(u"1e" + std::u16string(1'000'000, u'9'));
    EXPECT_EQ(huge.point, core::kExponentClamp);
    const auto tiny = core::readLeadingDecimal(u"1e-" + std::u16string(1'000'000, u'9'));
    EXPECT_EQ(tiny.point, 1 - core::kExponentClamp);
    EXPECT_EQ(core::readLeadingNumber(u"0." + std::u16string(5000, u'0') + u"1e5001"), 1.0);
}

TEST(LeadingDecimal, KeepsEveryDigit) {
    const auto d = core::readLeadingDecimal(u"-00123.4500e2");
    EXPECT_EQ(d, (core::Decimal{true, "12345", 5}));
    EXPECT_EQ(core::readLeadingDecimal(u"0.000"), core::Decimal{});
    EXPECT_EQ(core::readLeadingDecimal(std::string_view("1,234.5")), (core::Decimal{false, "12345", 4}));
}

TEST(GeneralText, OfFloats) {
    struct Case {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {6, "6"},
        {-1.25, "-1.25"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {1e20, "1E+20"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {999999999999999.0, "999999999999999"},
        {9999999999999999.0, "1E+16"},
        {1e15, "1E+15"},
        {123456789, "123456789"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {0.000123, "0.000123"},
        {-0.0000123, "-1.23E-05"},
        {1e-300, "1E-300"},
        {1.5e300, "1.5E+300"},
        {100, "100"},
        {0.1, "0.1"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::generalText(c.value), c.text);
    }
}

TEST(GeneralText, OfDecimals) {
    struct Case {
        const char *number;
        const char *text;
    };
    const Case cases[] = {
        {"0", "0"},
        {"-0.0", "0"},
        {"2.68", "2.68"},
        {"1234567890123456", "1.23456789012346E+15"},
        {"1234567890123455", "1.23456789012346E+15"},
        {"123456789012345.4", "123456789012345"},
        {"999999999999999.5", "1E+15"},
        {"0.00001", "1E-05"},
        {"0.0001", "0.0001"},
        {"-12345.68", "-12345.68"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(core::generalText(core::readLeadingDecimal(std::string_view(c.number))), c.text);
    }
}

TEST(RoundToPlaces, HalvesByMode) {
    struct Case {
        const char *number;
        int places;
        core::Rounding rounding;
        const char *text;
    };
    using R = core::Rounding;
    const Case cases[] = {
        {"2.675", 2, R::HalfAwayFromZero, "2.68"},
        {"-2.675", 2, R::HalfAwayFromZero, "-2.68"},
        {"-2.675", 2, R::HalfUp, "-2.67"},
        {"-2.6751", 2, R::HalfUp, "-2.68"},
        {"0.5", 0, R::HalfUp, "1"},
        {"-0.5", 0, R::HalfUp, "0"},
        {"0.05", 0, R::HalfUp, "0"},
        {"9.995", 2, R::HalfAwayFromZero, "10"},
        {"0.0049", 2, R::HalfAwayFromZero, "0"},
        {"0.005", 2, R::HalfAwayFromZero, "0.01"},
        {"123", 0, R::HalfUp, "123"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        const auto d =
            core::roundToPlaces(core::readLeadingDecimal(std::string_view(c.number)), c.places, c.rounding);
        EXPECT_EQ(core::generalText(d), c.text);
    }
}

} // namespace
