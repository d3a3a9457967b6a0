#include "core/amount.h"

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AmountCase {
    std::u16string workspace;
    std::u16string capitals;
};

TEST(Amount, WorkedExamplesAndEdges) {
    const AmountCase cases[] = {
        {u"0.5", u"伍角整"},
        {u"0.05", u"零伍分"},
        {u"1", u"壹圆整"},
        {u"5.05", u"伍圆零伍分"},
        {u"10", u"拾圆整"},
        {u"15", u"拾伍圆整"},
        {u"10.05", u"拾圆零伍分"},
        {u"20", u"贰拾圆整"},
        {u"99.99", u"玖拾玖圆玖角玖分"},
        {u"105", u"壹佰零伍圆整"},
        {u"100.5", u"壹佰圆伍角整"},
        {u"110", u"壹佰壹拾圆整"},
        {u"1000.05", u"壹仟圆零伍分"},
        {u"1005.5", u"壹仟零伍圆伍角整"},
        {u"10001", u"壹萬零壹圆整"},
        {u"10010", u"壹萬零壹拾圆整"},
        {u"150000", u"壹拾伍萬圆整"},
        {u"100000.1", u"壹拾萬圆壹角整"},
        {u"1000100", u"壹佰萬零壹佰圆整"},
        {u"12345678.9", u"壹仟贰佰叁拾肆萬伍仟陆佰柒拾捌圆玖角整"},
        {u"30000000.03", u"叁仟萬圆零叁分"},
        {u"2.675", u"贰圆陆角捌分"},
        {u"0.125", u"壹角叁分"},
        {u"1.005", u"壹圆零壹分"},
        {u"0.004", u"零圆整"},
        {u"0.005", u"零壹分"},
        {u"9999999999999990", u"玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖億玖仟玖佰玖拾玖萬玖仟玖佰玖拾圆整"},
        // A 16-digit amount keeps its last digit.
        {u"1234567890123456", u"壹仟贰佰叁拾肆萬伍仟陆佰柒拾捌億玖仟零壹拾贰萬叁仟肆佰伍拾陆圆整"},
        {u"9999999999999999", u"玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖億玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖圆整"},
        {u"1e-999999999", u"零圆整"},
        // An all-zero 萬 group under a 億 drops its unit.
        {u"100000000", u"壹億圆整"},
        {u"100000001", u"壹億零壹圆整"},
        {u"100003000", u"壹億零叁仟圆整"},
        {u"200000001", u"贰億零壹圆整"},
        {u"130000003916", u"壹仟叁佰億零叁仟玖佰壹拾陆圆整"},
        {u"100000000.05", u"壹億圆零伍分"},
        {u"1000000000000", u"壹萬億圆整"},
        {u"1000000000000000", u"壹仟萬億圆整"},
        {u"1000000000001", u"壹萬億零壹圆整"},
        {u"100000000.5", u"壹億圆伍角整"},
        {u"100010000", u"壹億零壹萬圆整"},
        // A group of 億 all zeros after 萬億 leaves a 零 as a group of 萬 after 億 does.
        {u"1000000010000000", u"壹仟萬億零壹仟萬圆整"},
        {u"40000043030000", u"肆拾萬億零肆仟叁佰零叁萬圆整"},
        {u"1000000000000001", u"壹仟萬億零壹圆整"},
        {u"1000000000000000", u"壹仟萬億圆整"},
        {u"2000100000000", u"贰萬零壹億圆整"},
        {u"120003400.5", u"壹億贰仟萬叁仟肆佰圆伍角整"},
        // Negative amounts.
        {u"-5", u"负伍圆整"},
        {u"-15", u"负拾伍圆整"},
        {u"-0.5", u"负伍角整"},
        {u"-1005.5", u"负壹仟零伍圆伍角整"},
        {u"-0.004", u"零圆整"},
        {u"-0", u"零圆整"},
        {u"-9999999999999999.99",
         u"负玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖億玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖圆玖角玖分"},
        // Grouping commas, blanks, line breaks and the end of the number.
        {u"1,234", u"壹仟贰佰叁拾肆圆整"},
        {u"1,234,567.89", u"壹佰贰拾叁萬肆仟伍佰陆拾柒圆捌角玖分"},
        {u"1 234 567.456", u"壹佰贰拾叁萬肆仟伍佰陆拾柒圆肆角陆分"},
        {u"\n5", u"伍圆整"},
        {u"12abc", u"拾贰圆整"},
        {u"1005.5元", u"壹仟零伍圆伍角整"},
        {u"1e3", u"壹仟圆整"},
        {u"1.5D2", u"壹佰伍拾圆整"},
        {u"&H10", u"拾陆圆整"},
        {u"&O17", u"拾伍圆整"},
        {u"+.5", u"伍角整"},
        {u"0.00000000000000000000001", u"零圆整"},
        {u"000000000000000000000001", u"壹圆整"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.workspace.begin(), c.workspace.end()));
        const auto result = core::amountCommandText(c.workspace);
        ASSERT_TRUE(result);
        EXPECT_EQ(*result.value, c.capitals);
    }
}

TEST(Amount, RefusesSixteenDigitsAndMore) {
    const std::u16string refused[] = {
        u"10000000000000000",
        u"1e16",
        u"1e400",
        u"1e999999999",
        u"9999999999999999.995",
        u"-10000000000000000",
        u"&HFFFFFFFFFFFFFFFFFFFF",
        u"1e99999999999999999999999999999",
    };
    for (const auto &text : refused) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const auto result = core::amountCommandText(text);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.refusal.message.id, core::MessageId::AmountTooLarge);
    }
}

TEST(Amount, MalformedInputEndsSoundly) {
    const auto capitals = [](const std::u16string &text) {
        const auto result = core::amountCommandText(text);
        return result ? *result.value : u"(refused)" + testsupport::chinese(result.refusal);
    };
    // Ten megabytes of digits: far over the limit, refused without hanging.
    EXPECT_EQ(capitals(std::u16string(10'000'000, u'7')), u"(refused)" + testsupport::amountLimitText());
    // A million-digit exponent.
    EXPECT_EQ(capitals(u"1e" + std::u16string(1'000'000, u'9')), u"(refused)" + testsupport::amountLimitText());
    EXPECT_EQ(capitals(u"1e-" + std::u16string(1'000'000, u'9')), u"零圆整");
    // NUL characters and lone surrogates are characters like any other: a label before the number,
    // text after it.
    EXPECT_FALSE(core::amountCommandText(std::u16string(u"12\0 34", 6)));
    EXPECT_FALSE(core::amountCommandText(std::u16string(1000, u'\0')));
    EXPECT_EQ(capitals(u"\xD800"
                       u"5"),
              u"伍圆整");
    EXPECT_EQ(capitals(u"5\xDC00"), u"伍圆整");
    // A long fraction rounds exactly.
    EXPECT_EQ(capitals(u"0.00" + std::u16string(100000, u'4')), u"零圆整");
    EXPECT_EQ(capitals(u"0.004" + std::u16string(100000, u'9')), u"零圆整");
    EXPECT_EQ(capitals(u"0.005" + std::u16string(100000, u'0')), u"零壹分");
}

TEST(Amount, DaxieTakesAnAmountText) {
    EXPECT_EQ(core::daxie(std::u16string_view(u"1005.5")), u"壹仟零伍圆伍角整");
    EXPECT_EQ(core::daxie(core::Decimal{false, "15", 2}), u"拾伍圆整");
    EXPECT_FALSE(core::daxie(core::Decimal{false, "1", 17}).has_value());
}

} // namespace
