#include "core/amount.h"
#include "core/amount_number.h"
#include "core/money_ways.h"
#include "core/numerals.h"
#include "core/utf.h"

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string utf8(std::u16string_view s) {
    return core::utf16ToUtf8(s);
}

// The amount a text holds, as plain decimal text, or "refused".
std::string amountOf(std::u16string_view text) {
    const auto read = core::readAmountNumber(text);
    return read ? core::decimalText(*read.value) : "refused";
}

TEST(AmountNumber, ReadsTheOneAmountOfAText) {
    const struct {
        std::u16string text;
        std::string amount;
    } cases[] = {
        // A plain number, read as the leading-number rules read it.
        {u"1005.5", "1005.5"},
        {u"1,234,567.89", "1234567.89"},
        {u"1 234 567.5", "1234567.5"}, // one space between groups of three, as commas
        {u"１２ ３４５", "12345"},
        {u"- 5", "-5"},
        {u"1e3", "1000"},
        {u"&H1F", "31"},
        {u"+.5", "0.5"},
        {u"0", "0"},
        {u"-0.004", "-0.004"},
        // Full-width digits, point and signs.
        {u"１２３", "123"},
        {u"１２３．４５", "123.45"},
        {u"－５", "-5"},
        {u"＋７", "7"},
        // A label before the number, text without digits after it.
        {u"金额：1005.5元", "1005.5"},
        {u"合计 -5", "-5"},
        {u"\n5", "5"},
        {u"价格e5", "5"},
        {u"1005.5元整", "1005.5"},
        {u"  42  \n", "42"},
        {u"总计：&H10元", "16"},
        // 万, 亿 and 万亿 multiply, blanks allowed before them.
        {u"1.5万", "15000"},
        {u"1.5萬", "15000"},
        {u"10亿元", "1000000000"},
        {u"3億", "300000000"},
        {u"2万亿", "2000000000000"},
        {u"2萬億", "2000000000000"},
        {u"1.5 万元", "15000"},
        {u"0万", "0"},
        {u"100折合人民币", "100"}, // 折合 converts, 折 alone would discount
        {u"100元余额", "100"},     // a balance
        {u"约1000元左右", "1000"},
        // A currency's name after a blank is no exponent: "100 EUR" was refused as two numbers.
        {u"100 EUR", "100"},
        {u"100 dollars", "100"},
        {u"1.5 Euro", "1.5"},
        {u"100 E-", "100"},
        {u"1E+3元", "1000"},
        {u"&HFD 元", "253"},
        // Closed numbers with nothing after them, blank groups after a label or a currency.
        {u"(100) 一张", "-100"},
        {u"“100”元整", "100"},
        {u"金额（美元）：100", "100"},
        {u"总价1 000元", "1000"},
        {u"RMB1 000", "1000"},
        {u"-1 234", "-1234"},
        {u"百货公司 100", "100"},
        // Sizes and coins are no units; dots that lead to the number are no point; a blank
        // after the number parts nothing (单价/100 was refused once).
        {u"T恤 (M) 100元", "100"},
        {u"千禧纪念币 100元", "100"},
        {u"合计......100元", "100"},
        {u"单价/100 \n", "100"},
        {u"No.100 ", "100"},
        {u"金额：___1 000___元", "1000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(amountOf(c.text), c.amount);
    }
}

TEST(AmountNumber, RefusesWhatIsNotOnePlainAmount) {
    const struct {
        std::u16string text;
        std::size_t position; // 0: no number at all
    } cases[] = {
        {u"abc", 0},
        {u"", 0},
        {u"-", 0},
        {u".", 0},
        {u"&H", 0},
        {u"壹佰", 0},
        {u"一千零五", 0},
        {u"第3笔共1005.5元", 5},
        {u"12.3.4", 6},
        {u"2,5", 3},
        {u"12\r\n34", 5},
        {u"5千", 2},
        {u"5 千", 3},
        {u"1万5千", 3},
        {u"3两", 2},
        {u"5万万", 3},
        {u"5亿千", 3},
        {u"１２３４５x６", 7},
        // A unit or share after the bracket or quote that closes the number was dropped:
        // (1,234)万元 was -1234, 10⁴ times too small.
        {u"净利润：(1,234)万元", 12},
        {u"（1.5）万", 6},
        {u"“1.5”万元", 6},
        {u"[1.5]%", 6},
        {u"(1.5) 千", 7},
        {u"(1.5)k", 6},
        {u"(1.5)亿元", 6},
        {u"(1.5)角", 6},
        // The unit named in the label with another currency than 元, or in English.
        {u"金额（万人民币）：1.5", 4},
        {u"金额（万美元）：1.5", 4},
        {u"1.5（万美元）", 5},
        {u"单位:万美元 1.5", 4},
        {u"收入（千港元） 3", 4},
        {u"金额(k) 1.5", 4},
        {u"(in thousands) 1.5", 2},
        {u"收入 (RMB mn) 2", 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto read = core::readAmountNumber(c.text);
        ASSERT_FALSE(read) << core::decimalText(*read.value);
        EXPECT_EQ(read.refusal.position, c.position) << utf8(testsupport::chinese(read.refusal));
        EXPECT_FALSE(testsupport::chinese(read.refusal).empty());
    }
}

// Regression: a sign before the currency sign, 负, U+2212 and parentheses were dropped, so that a
// debit became a credit with nothing said.
TEST(AmountNumber, ASignBeforeOrAroundTheNumberMakesItNegative) {
    const struct {
        std::u16string text;
        std::string amount;
    } cases[] = {
        {u"-￥1,234.56", "-1234.56"},
        {u"￥-1,234.56", "-1234.56"},
        {u"红字发票 价税合计 -1,130.00", "-1130"},
        {u"红冲 (500)", "-500"},
        {u"红利 100", "100"},
        {u"- ¥ 1,234.56", "-1234.56"},
        {u"负1234", "-1234"},
        {u"负 1234元", "-1234"},
        {u"负￥1234", "-1234"},
        {u"￥负1234", "-1234"},
        {u"−1234", "-1234"},
        {u"－1234", "-1234"},
        {u"（1,234.50）", "-1234.5"},
        {u"(1,234.50)", "-1234.5"},
        {u"合计：（￥1,234.50元）", "-1234.5"},
        {u"(1.5万)", "-15000"},
        {u"-RMB 5", "-5"},
        {u"负人民币5元", "-5"},
        {u"+￥5", "5"},
        // Any gap a pasted text brings between the sign and the number (a no-break or thin space,
        // a wrapped cell's line break, a zero-width space): the sign was dropped with the label.
        {u"-\u00A0100", "-100"},
        {u"-\u2009100", "-100"},
        {u"-\n100", "-100"},
        {u"-\r\n100", "-100"},
        {u"-\u200B100", "-100"},
        {u"-\u00AD100", "-100"},
        {u"负\u00A0100", "-100"},
        {u"(\u00A0100)", "-100"},
        {u"(\n100\n)", "-100"},
        {u"-\u00A0¥1,234.50", "-1234.5"},
        {u"負100", "-100"}, // traditional 负
        {u"負￥100", "-100"},
        {u"RMB-100", "-100"},
        {u"合计-100", "-100"},
        {u"A -100", "-100"},
        // and between the number and its multiplier: "1.5\u3000万" was 1.5
        {u"1.5\u3000万", "15000"},
        {u"1.5\n万元", "15000"},
        {u"报销100元，负责人张三", "100"},
        {u"报销100元（负责人：李四）", "100"},
        {u"门票100元一张", "100"},
        {u"十点 300元", "300"},
        // A label that ends in a numeral of its own: a name, a weekday, change given.
        {u"张三 1000元", "1000"},
        {u"张三\t1000", "1000"},
        {u"周一 100元", "100"},
        {u"双十一 99元", "99"},
        {u"找零 5.00", "5"},
        // After the unit: a dash before more words parts them, a rule on the next line ends the
        // amount, and numerals or 半 before another word say something else.
        {u"100元 - 现金", "100"},
        {u"100元 — 餐费", "100"},
        {u"合计：100元\n--------", "100"},
        {u"合计\n--------\n100.00", "100"},
        {u"合计\n-\n100", "-100"},
        {u"原价100元半价", "100"},
        {u"通话费0.1元一分钟", "0.1"},
        {u"100元 三分之一", "100"},
        {u"100元 十分满意", "100"},
        // "&O" and "&H" in a name start no octal or hexadecimal number: "P&O 100元" was 64.
        {u"P&O 100元", "100"},
        {u"P&H100", "100"},
        // Direction isolates and embeddings that copied chat and web text wraps a number in:
        // "-\u2066100\u2069" was 100.
        {u"-\u2066100\u2069", "-100"},
        {u"(\u2066100\u2069)", "-100"},
        {u"-\u202A100\u202C", "-100"},
        {u"负\u2067100\u2069", "-100"},
        {u"-\uFE0F100", "-100"},
        // A list's dash and a blank, a hyphen inside a word, 负 that starts a word, a parenthesis
        // closed in the label or a note after a word stay a label.
        {u"- 金额：100", "100"},
        {u"e-mail 100", "100"},
        {u"负责人：张三 100", "100"},
        {u"(含税) 100", "100"},
        {u"差旅费（约500元）", "500"},
        {u"周一 100元", "100"},
        {u"十点100元", "100"},
        {u"-----\n100", "100"},
        // Bullets, names and days before the digits, arrows, faces and brackets that name no unit
        {u"►100元", "100"},
        {u"▶合计：100", "100"},
        {u"转给张三100元", "100"},
        {u"周一100元", "100"},
        {u"双十一100元", "100"},
        {u"广告费 500（百度推广）", "500"},
        {u"100(千克)", "100"},
        {u"万元户 100", "100"},
        {u"支付宝 -> 银行卡：500元", "500"},
        {u"收到啦 :-) 100元", "100"},
        // A label that holds 负 or a parenthesis away from the number stays a label.
        {u"负债合计 1234", "1234"},
        {u"单价(元) 12", "12"},
        {u"金额（元）：12", "12"},
        {u"5)", "5"},
        {u"负债 USD 100", "100"},
        {u"Sub-total 100", "100"},
        {u"$-100", "-100"},
        // The point of an abbreviation belongs to the label: "No.100" was read as 0.1.
        {u"No.100", "100"},
        {u"Ｎｏ．１００", "100"},
        {u"Nr. 5", "5"},
        {u"RMB.5", "0.5"},
        {u"合计.5", "0.5"},
        {u"100°C", "100"},
        // Words after the number that multiply nothing.
        {u"100 RMB", "100"},
        {u"100 yuan", "100"},
        {u"3.5kg", "3.5"},
        {u"5 Mbps", "5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(amountOf(c.text), c.amount);
    }
}

TEST(AmountNumber, ASignInDoubtIsRefusedWhereItStands) {
    const struct {
        std::u16string text;
        std::size_t position;
    } cases[] = {
        {u"--5", 1},
        {u"+-5", 1},
        {u"-+5", 1},
        {u"负-5", 1},
        {u"-￥负5", 1},
        {u"-(5)", 2},
        {u"(-5)", 1},
        {u"((5))", 1},
        {u"￥￥5", 1},
        {u"—5", 1},  // an em dash
        {u"– 5", 1}, // an en dash
        {u"合计：‐￥5", 4},
        {u"(1234", 1},
        {u"(1234元，含税)", 1},
        {u"1234-", 5},
        {u"1,234.56 -", 10},
        {u"5万-", 3},
        // A sign before another currency was dropped with the label: "-$100" read as 100.
        {u"-$100", 1},
        {u"- US$ 1,234.50", 1},
        {u"-USD100", 1},
        {u"合计：-美元100", 4},
        {u"负港币100", 1},
        {u"(€5)", 1},
        {u"（ＵＳＤ１００）", 1},
        {u"−£5", 1},
        {u"△1,234", 1},
        {u"合计 ▲5", 4},
        // A share is not an amount: "50%" was fifty yuan.
        {u"50%", 3},
        {u"12.5 ‰", 6},
        {u"100％", 4},
        {u"-3%", 3},
        {u"1.5万%", 5},
        {u"(5%)", 3},
        {u"No.50%", 6},
        // Nor is a number with a letter that may multiply it: "15k" was fifteen yuan.
        {u"15k", 3},
        {u"1.5M", 4},
        {u"3w元", 2},
        {u"2 bn", 3},
        {u"１５ｋ", 3},
        {u"5 million", 3},
        {u"月薪：15K", 6},
        // A minus after the parentheses is a second sign.
        {u"(5)-", 4},
        {u"（5元）－", 5},
        // Parentheses right after a word may open a note on it: read as a minus, 差旅费（500元）
        // was 负伍佰圆整. A colon or blanks set a label apart: 合计：（5） stays negative.
        {u"差旅费（500元）", 4},
        {u"差旅费(500元)", 4},
        {u"报销金额（1000）", 5},
        {u"人民币壹仟元整（￥1000.00）", 8},
        {u"金额：壹仟元（1000元）", 7},
        // Either sign.
        {u"正负500", 1},
        {u"正負500", 1},
        {u"±5", 1},
        // A minus after the unit: "100元-" was 100.
        {u"100元-", 5},
        {u"100元 -", 6},
        {u"100元整-", 6},
        {u"100元−", 5},
        {u"1万元-", 4},
        {u"100元（负）", 6},
        {u"100元整（负数）", 7},
        {u"100 負", 5},
        {u"100\u00A0-", 5},
        // A hyphen that joins a code to the number: "SKU-100" was 负壹佰圆整.
        {u"SKU-100", 4},
        {u"A-100", 2},
        {u"No.-100", 4},
        {u"编号-100", 3},
        {u"USD-100", 4},
        // 负 at the end of a word: 自负 300 (paid by oneself) was 负叁佰圆整.
        {u"自负 300", 2},
        {u"自負 300", 2},
        {u"合计负100", 3},
        // A sign that starts the label with words between it and the number: "-合计：100",
        // "(约100)" and "负：100" were 100.
        {u"-合计：100", 1},
        {u"-金额100", 1},
        {u"-:100", 1},
        {u"-[100]", 1},
        {u"-“100”", 1},
        {u"(约100)", 1},
        {u"（合计：100）", 1},
        {u"金额：(约100元)", 4},
        {u"负：100", 1},
        {u"（负）100", 2},
        {u"【负】100", 2},
        {u"负数：100", 1},
        {u"- \u2066-合计 100", 4},
        // Dashes and arrows more: "一5" and "ー5" (the input method's dash) were 5, "▼100" 100.
        {u"一5", 1},
        {u"三5", 1},
        {u"：三5", 2},
        {u"ー5", 1},
        {u"▼100", 1},
        {u"↓ 100", 1},
        // A red-ink amount is negative: without a sign it came out positive.
        {u"红字 1234.56", 1},
        {u"开具红字发票 1000元", 3},
        {u"紅字金額：1000", 1},
        {u"冲红金额 200", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto read = core::readAmountNumber(c.text);
        ASSERT_FALSE(read) << core::decimalText(*read.value);
        EXPECT_EQ(read.refusal.position, c.position) << utf8(testsupport::chinese(read.refusal));
    }
}

// Numbers that the leading-number reading joined across blanks ("iPhone15 5999元" was 155999, two
// cells copied with a tab between one sum), and units below the yuan read as yuan ("5角" was 伍圆):
// refused where they stand.
TEST(AmountNumber, NumbersPartedByBlanksAndUnitsBelowTheYuanAreRefused) {
    const struct {
        std::u16string text;
        std::size_t position;
    } cases[] = {
        {u"2024 5000", 6},
        {u"iPhone15 5999元", 10},
        {u"1203\t3500", 6},
        {u"1\t234", 3}, // a tab parts cells, never digits
        {u"1  234", 4}, // nor do two spaces
        {u"5 3元", 3},
        {u"-5 5", 4},
        {u"0 50", 3},
        {u"1 2 3.456", 3},
        // Digits that end a code, and the amount after a blank: two numbers (15999 was read).
        {u"iPhone15 999元", 10},
        {u"房间302 500元", 7},
        {u"Room 302 500元", 10},
        {u"房号 302 500元", 8},
        {u"No.5 500", 6},
        {u"#5 500", 4},
        {u"第3 500元", 4},
        {u".5 555", 4}, // blanks group only the integer's digits
        {u"-.5 555", 5},
        {u"1,234 567", 7}, // commas and blanks do not group one number together
        {u"1 234,567", 6},
        {u"1 2345", 3},
        {u"1234 567", 6},
        {u"1 234 56", 7},
        {u"1.5 234", 5},
        {u"账号 6222 0212 3456 7890", 9},
        {u"2d 3", 4},
        {u"5e 3", 4},
        {u"5 e3", 3},
        {u"5角", 2},
        {u"5 角钱", 3},
        {u"5毛", 2},
        {u"5分钱", 2},
        {u"0.5角", 4},
        {u"1.5兆", 4},
        // More than the number, or a share of a price.
        {u"100多元", 4},
        {u"1万多元", 3},
        {u"100余元", 4},
        {u"3000 餘元", 6},
        {u"100元多", 5},
        {u"100块多钱", 5},
        {u"5折", 2},
        {u"8.5折优惠", 4},
        // Gaps other than a space before what follows: "5\u3000角" was 伍圆整.
        {u"5\u3000角", 3},
        {u"50\u3000%", 4},
        {u"100\u3000多元", 5},
        // Part of the amount in words: "两万3000元" was 3000, "3块五毛" 3.
        {u"两万3000元", 2},
        {u"一万2000元", 2},
        {u"十5元", 1},
        {u"壹仟零5元", 3},
        {u"两千 500元", 2},
        {u"3块五毛", 3},
        {u"10元五角", 4},
        {u"100元伍角", 5},
        {u"100圆伍角整", 5},
        {u"100元零五分", 6},
        {u"5块半", 3},
        {u"3块五毛钱", 3},
        {u"3块五", 3},
        {u"1万元零五百", 5},
        // A unit the number counts in, named in the label: "金额（万元）：1.5" was 1.5 yuan.
        {u"金额（万元）：1.5", 4},
        {u"收入(万): 3", 4},
        {u"金额（千元）：100", 4},
        {u"（单位：万元）\n合计 1.5", 5},
        {u"单位/亿元 2", 4},
        {u"100（万元）", 5},
        {u"合计：1.5（单位：万元）", 11},
        {u"金额（单位万元）：1.5", 6},
        {u"金额(单位 万元)：1.5", 7},
        {u"金额〔万元〕：1.5", 4},
        {u"金额（人民币万元）：1.5", 7},
        {u"万元：1.5", 1},
        // Digits and fractions of another kind right after the number: "1½" was 1, "10²" 10.
        {u"1½", 2},
        {u"10²", 3},
        {u"10\u0660", 3},
        {u"100\u09E6", 4},
        {u"1①", 2},
        {u"1Ⅻ", 2},
        {u"10\U0001D7CE", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto read = core::readAmountNumber(c.text);
        ASSERT_FALSE(read) << core::decimalText(*read.value);
        EXPECT_EQ(read.refusal.position, c.position) << utf8(testsupport::chinese(read.refusal));
    }
}

// The bank and numerals ways read the sign as the amount command does.
TEST(AmountNumber, EveryWayKeepsTheSign) {
    const std::u16string text = u"-￥1,234.56";
    EXPECT_EQ(utf8(*core::amountCommandText(text).value), "负壹仟贰佰叁拾肆圆伍角陆分");
    const struct {
        core::MoneyWay way;
        std::u16string text;
        std::string result;
    } cases[] = {
        {core::MoneyWay::Bank, text, "负壹仟贰佰叁拾肆元伍角陆分"},
        {core::MoneyWay::BankRound, u"(16)", "负壹拾陆圆整"},
        {core::MoneyWay::Numerals, u"负1234", "负一千二百三十四"},
        {core::MoneyWay::CapitalNumerals, u"−1.5万", "负壹万伍仟"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto result = core::moneyWayText(c.way, c.text);
        ASSERT_TRUE(result) << utf8(testsupport::chinese(result.refusal));
        EXPECT_EQ(utf8(*result.value), c.result);
    }
    EXPECT_FALSE(core::moneyWayText(core::MoneyWay::Bank, u"--5"));
}

TEST(AmountNumber, AStretchWithoutNumbersIsReadInLinearTime) {
    // Every character could start a number, none leads to digits; a quadratic search would take
    // minutes here.
    std::u16string signs;
    for (int i = 0; i < 200000; ++i)
        signs += u"- . &";
    EXPECT_EQ(amountOf(signs), "refused");
    EXPECT_EQ(amountOf(signs + u"7元"), "7");
    EXPECT_EQ(amountOf(u"-" + std::u16string(1'000'000, u' ') + u"x"), "refused");
}

TEST(AmountNumber, TheAmountCommandWritesZeroAndMultiples) {
    const struct {
        std::u16string text;
        std::u16string capitals;
    } cases[] = {
        {u"0", u"零圆整"},
        {u"0.001", u"零圆整"},
        {u"-0.004", u"零圆整"},
        {u"1.5万", u"壹萬伍仟圆整"},
        {u"10亿元", u"壹拾億圆整"},
        {u"金额：1005.5元", u"壹仟零伍圆伍角整"},
        {u"１２３", u"壹佰贰拾叁圆整"},
        {u"合计 -5", u"负伍圆整"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto result = core::amountCommandText(c.text);
        ASSERT_TRUE(result) << utf8(testsupport::chinese(result.refusal));
        EXPECT_EQ(utf8(*result.value), utf8(c.capitals));
    }
    // Beyond the limit through a multiplier.
    const auto huge = core::amountCommandText(u"1万亿亿");
    ASSERT_FALSE(huge);
    const auto large = core::amountCommandText(u"10000万亿");
    ASSERT_FALSE(large);
    EXPECT_EQ(large.refusal.message.id, core::MessageId::AmountTooLarge);
}

// The money button's other ways refuse exactly the texts the amount command refuses.
TEST(AmountNumber, EveryWayOfTheAmountButtonRefusesTheSameTexts) {
    const std::u16string texts[] = {u"abc", u"", u"-", u"第3笔共1005.5元", u"1万5千", u"3两", u"12.3.4",
                                    u"2,5", u"金额：1005.5元", u"1.5万", u"0", u"１２３"};
    const core::MoneyWay ways[] = {core::MoneyWay::Bank, core::MoneyWay::BankRound, core::MoneyWay::Numerals,
                                   core::MoneyWay::CapitalNumerals};
    for (const auto &text : texts) {
        SCOPED_TRACE(utf8(text));
        const bool refused = !core::amountCommandText(text);
        for (const auto way : ways) {
            SCOPED_TRACE(static_cast<int>(way));
            const auto result = core::moneyWayText(way, text);
            EXPECT_EQ(!result, refused);
        }
    }
    EXPECT_EQ(utf8(*core::moneyWayText(core::MoneyWay::Numerals, u"1.5万").value), "一万五千");
    EXPECT_EQ(utf8(*core::moneyWayText(core::MoneyWay::Bank, u"金额：100000元").value), "壹拾万元整");
    EXPECT_EQ(utf8(*core::moneyWayText(core::MoneyWay::Bank, u"0").value), "零元整");
}

} // namespace
