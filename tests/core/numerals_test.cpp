#include "core/numerals.h"

#include "core/amount.h"
#include "core/utf.h"

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using core::NumeralDigits;

core::Decimal dec(std::string_view text) {
    return core::readLeadingDecimal(text);
}

std::string utf8(std::u16string_view s) {
    return core::utf16ToUtf8(s);
}

std::u16string written(const core::Decimal &d, NumeralDigits digits) {
    const auto r = core::chineseNumerals(d, digits);
    return r ? *r.value : u"<refused: " + testsupport::chinese(r.refusal) + u">";
}

TEST(ChineseNumerals, WritesGroupsZerosAndTens) {
    struct Case {
        const char *number;
        std::u16string ordinary, capital;
    };
    const Case cases[] = {
        {"0", u"零", u"零"},
        {"-0", u"零", u"零"},
        {"10", u"十", u"拾"},
        {"15", u"十五", u"拾伍"},
        {"101", u"一百零一", u"壹佰零壹"},
        {"115", u"一百一十五", u"壹佰壹拾伍"},
        {"1005.5", u"一千零五点五", u"壹仟零伍点伍"},
        {"1010", u"一千零一十", u"壹仟零壹拾"},
        {"10001", u"一万零一", u"壹万零壹"},
        {"100010", u"十万零一十", u"拾万零壹拾"},
        {"101000", u"十万一千", u"拾万壹仟"},
        {"10100000", u"一千零一十万", u"壹仟零壹拾万"},
        {"100000000", u"一亿", u"壹亿"},
        {"100000001", u"一亿零一", u"壹亿零壹"},
        {"1000005000", u"十亿零五千", u"拾亿零伍仟"},
        {"1050000000", u"十亿五千万", u"拾亿伍仟万"},
        {"1000000000000", u"一万亿", u"壹万亿"},
        {"1000010000000", u"一万亿零一千万", u"壹万亿零壹仟万"},
        {"1000500000000", u"一万零五亿", u"壹万零伍亿"},
        {"10000000000000", u"十万亿", u"拾万亿"},
        {"1234567800000000", u"一千二百三十四万五千六百七十八亿", u"壹仟贰佰叁拾肆万伍仟陆佰柒拾捌亿"},
        {"9999999999999999.5", u"九千九百九十九万九千九百九十九亿九千九百九十九万九千九百九十九点五",
         u"玖仟玖佰玖拾玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖点伍"},
        {"-3", u"负三", u"负叁"},
        {"-0.5", u"负零点五", u"负零点伍"},
        {"12.0305", u"十二点零三零五", u"拾贰点零叁零伍"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(utf8(written(dec(c.number), NumeralDigits::Ordinary)), utf8(c.ordinary));
        EXPECT_EQ(utf8(written(dec(c.number), NumeralDigits::Capital)), utf8(c.capital));
    }
}

TEST(ChineseNumerals, RefusesBeyondTheLimits) {
    const std::pair<const char *, const char *> cases[] = {
        {"1e16", "limit"}, {"-1e16", "limit"},      {"1e999999999", "limit"},  {"9999999999999999.9", "ok"},
        {"1e-1000", "ok"}, {"1e-1001", "decimals"}, {"1e-999999", "decimals"},
    };
    for (const auto &[number, outcome] : cases) {
        SCOPED_TRACE(number);
        const auto r = core::chineseNumerals(dec(number), NumeralDigits::Ordinary);
        EXPECT_EQ(r                                                ? "ok"
                  : r.refusal.message.id == core::MessageId::AmountTooLarge ? "limit"
                                                                   : "decimals",
                  std::string(outcome));
        EXPECT_EQ(r.refusal.position, 0u);
    }
}

TEST(ReadChineseNumerals, AcceptsWritingsAndTheirVariants) {
    const std::pair<std::u16string, const char *> cases[] = {
        {u" \t一千零五点五\u3000", "1005.5"},
        {u"负叁", "-3"},
        {u"壹萬", "10000"},
        {u"壹億零壹", "100000001"},
        {u"一千〇五", "1005"},
        {u"〇点〇五", "0.05"},
        {u"一万亿零五千六百七十八万", "1000056780000"},
        // 两 before 百, 千, 万 and 亿 is 二.
        {u"两千", "2000"},
        {u"两百", "200"},
        {u"两万", "20000"},
        {u"两亿", "200000000"},
        {u"一万两千", "12000"},
        {u"两千两百", "2200"},
        {u"兩萬", "20000"},
    };
    for (const auto &[text, number] : cases) {
        SCOPED_TRACE(utf8(text));
        const auto r = core::readChineseNumerals(text);
        ASSERT_TRUE(r) << utf8(testsupport::chinese(r.refusal));
        EXPECT_EQ(*r.value, dec(number));
    }
}

TEST(ReadChineseNumerals, RefusesAtTheFirstProblem) {
    struct Case {
        std::u16string text;
        std::size_t position;
        std::u16string says;
    };
    std::u16string longFraction = u"零点" + std::u16string(core::kMaxNumeralDecimals + 1, u'五');
    const Case cases[] = {
        {u"", 0, u"没有数字"},
        {u" \u3000 ", 0, u"没有数字"},
        {u"一千五", 3, u"缺少单位"}, // 1500 or 1005?
        {u"一万五", 3, u"缺少单位"}, // 15000 or 10005?
        {u"一二", 1, u"缺少单位"},
        {u"一千千", 3, u"单位重复"},
        {u"一万亿亿", 4, u"单位重复"},
        {u"一万一万", 4, u"单位重复"},
        {u"壹佰壹仟", 4, u"顺序"},
        {u"百", 1, u"缺少数字"},
        {u"一亿万", 3, u"缺少数字"},
        {u"一千零零五", 4, u"多余的“零”"},
        {u"零五", 1, u"多余的“零”"},
        {u"十万零", 3, u"多余的“零”"},
        {u"一千零五点五零", 7, u"多余的“零”"},
        {u"十万一十", 3, u"缺少“零”"},
        {u"一十五", 1, u"应写作“十五”"},
        {u"负零", 1, u"应写作“零”"},
        {u"负点五", 2, u"缺少数字"},
        {u"一点", 2, u"缺少数字"},
        {u"一点十", 3, u"只能写数字"},
        {u"一点五点五", 4, u"只能写数字"},
        {longFraction, core::kMaxNumeralDecimals + 3, u"小数位数太多"},
        {u"一千零伍", 4, u"混用"},
        {u"一点伍", 3, u"混用"},
        {u"两十", 1, u"二"},
        {u"十两", 2, u"二"},
        {u"两点五", 1, u"二"},
        {u"七十两亿", 3, u"二"},
        {u"十两万", 2, u"二"},
        {u"两仟", 1, u"二"},
        {u"  一千a", 5, u"不是中文数字"},
        {u"\U0001F600一", 1, u"“\U0001F600”"},
        {u"负", 1, u"缺少数字"},
        {u"五负", 2, u"最前面"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text.substr(0, 20)));
        const auto r = core::readChineseNumerals(c.text);
        ASSERT_FALSE(r) << core::decimalText(*r.value);
        EXPECT_EQ(r.refusal.position, c.position) << utf8(testsupport::chinese(r.refusal));
        EXPECT_NE(testsupport::chinese(r.refusal).find(c.says), std::u16string::npos) << utf8(testsupport::chinese(r.refusal));
    }
}

// Random numbers below 10^16 with up to six decimals, and the edges of the range.
std::vector<core::Decimal> sampleNumbers(std::size_t count) {
    std::vector<core::Decimal> out;
    for (const char *edge : {"0", "10", "19", "1e4", "1e8", "1e12", "9999999999999999", "-9999999999999999",
                             "-1", "-10", "0.1", "-0.05", "1e-20", "100000000.00000001"})
        out.push_back(dec(edge));
    std::mt19937_64 rng(20261207);
    for (std::size_t n = 0; n < count; ++n) {
        std::string s = rng() % 4 == 0 ? "-" : "";
        const auto intDigits = rng() % 17;
        for (std::uint64_t i = 0; i < intDigits; ++i)
            s += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10)); // many zeros: the hard cases
        if (rng() % 2) {
            s += '.';
            for (auto i = rng() % 7; i > 0; --i)
                s += static_cast<char>('0' + rng() % 10);
        }
        out.push_back(dec(s));
    }
    return out;
}

TEST(ReadChineseNumerals, ReadsBackWhatIsWritten) {
    for (core::Decimal number : sampleNumbers(100000)) {
        for (const auto digits : {NumeralDigits::Ordinary, NumeralDigits::Capital}) {
            const std::u16string text = written(number, digits);
            const auto back = core::readChineseNumerals(text);
            number.negative = number.negative && !number.isZero();
            ASSERT_TRUE(back && *back.value == number) << utf8(text) << " " << utf8(testsupport::chinese(back.refusal));
        }
    }
}

// A writing changed by one character is refused or is itself the writing of what it reads as.
TEST(ReadChineseNumerals, OneCharacterChangedIsRefusedOrItsOwnWriting) {
    const std::u16string alphabet = u"零一二三四五六七八九十百千万亿点负壹贰叁肆伍陆柒捌玖拾佰仟萬億〇两 ";
    int accepted = 0;
    const auto check = [&](const std::u16string &text) {
        const auto r = core::readChineseNumerals(text);
        if (!r)
            return;
        ++accepted;
        std::u16string normal;
        for (char16_t c : text)
            if (c != u' ')
                normal += c == u'萬' ? u'万' : c == u'億' ? u'亿' : c == u'〇' ? u'零' : c;
        // 两 is accepted as 二 before 百 and 千, and before 万 and 亿 where it is the whole group.
        for (std::size_t k = 0; k + 1 < normal.size(); ++k) {
            if (normal[k] != u'两')
                continue;
            const char16_t next = normal[k + 1];
            const bool alone = k == 0 || std::u16string_view(u"负万亿").find(normal[k - 1]) != std::u16string_view::npos;
            EXPECT_TRUE(next == u'百' || next == u'千' || (alone && (next == u'万' || next == u'亿'))) << utf8(text);
            normal[k] = u'二';
        }
        EXPECT_TRUE(written(*r.value, NumeralDigits::Ordinary) == normal ||
                    written(*r.value, NumeralDigits::Capital) == normal)
            << utf8(text) << " read as " << core::decimalText(*r.value);
    };
    for (const auto &number : sampleNumbers(300)) {
        for (const auto digits : {NumeralDigits::Ordinary, NumeralDigits::Capital}) {
            const std::u16string text = written(number, digits);
            for (std::size_t i = 0; i <= text.size(); ++i) {
                for (char16_t c : alphabet) {
                    check(text.substr(0, i) + c + text.substr(i));
                    if (i < text.size())
                        check(text.substr(0, i) + c + text.substr(i + 1));
                }
                if (i < text.size())
                    check(text.substr(0, i) + text.substr(i + 1));
            }
        }
    }
    EXPECT_GT(accepted, 10000); // 一 -> 二, a digit dropped, blanks added: other writings, rightly read
}

TEST(DecimalText, WritesPlainDigits) {
    const std::pair<const char *, const char *> cases[] = {
        {"1005.5", "1005.5"},
        {"-0.05", "-0.05"},
        {"1e8", "100000000"},
        {"-0", "0"},
        {"1.500", "1.5"},
        {"1e-7", "0.0000001"},
        {"-12.5e1", "-125"},
        {"1e2000000", "1E+2000000"},
        {"-2.5e-2000000", "-2.5E-2000000"},
    };
    for (const auto &[number, text] : cases)
        EXPECT_EQ(core::decimalText(dec(number)), text) << number;
}

} // namespace
