#include "core/amount_reading.h"

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace {

using core::Fen;

std::string narrow(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string readBack(std::u16string_view capitals) {
    const auto read = core::readAmountCapitals(capitals);
    return read ? core::amountText(*read.value) : "refused";
}

struct ReadCase {
    std::u16string capitals;
    std::string amount;
};

TEST(AmountReading, ReadsWhatMoneyWritesAndTheAllowedVariants) {
    const ReadCase cases[] = {
        {u"壹仟零伍圆伍角整", "1005.50"},
        {u"零圆整", "0.00"},
        {u"零元正", "0.00"},
        {u"负伍圆整", "-5.00"},
        {u"拾伍圆整", "15.00"},
        {u"拾圆零伍分", "10.05"},
        {u"零柒分", "0.07"},
        {u"伍角整", "0.50"},
        {u"伍角", "0.50"},
        {u"伍角叁分", "0.53"},
        {u"壹萬零壹拾圆整", "10010.00"},
        {u"壹拾萬圆壹角整", "100000.10"},
        {u"壹億零壹圆整", "100000001.00"},
        {u"壹億零叁仟圆整", "100003000.00"},
        {u"壹億零伍佰萬圆整", "105000000.00"},
        {u"壹萬億圆整", "1000000000000.00"},
        {u"壹仟叁佰億零叁仟玖佰壹拾陆圆整", "130000003916.00"},
        {u"玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖億玖仟玖佰玖拾玖萬玖仟玖佰玖拾玖圆玖角玖分", "9999999999999999.99"},
        // What the bill rules allow beside the capitals above.
        {u"壹仟零伍元伍角整", "1005.50"},
        {u"壹万零壹拾元正", "10010.00"},
        {u"壹亿零壹元整", "100000001.00"},
        {u"人民币壹仟零伍元伍角", "1005.50"},
        {u"人民币负伍元整", "-5.00"},
        {u"负人民币伍元整", "-5.00"},
        {u"壹拾伍元整", "15.00"},
        {u"负壹拾陆圆整", "-16.00"},
        {u"壹仟陆佰捌拾圆零叁角贰分", "1680.32"},
        {u"壹仟陆佰捌拾圆叁角贰分", "1680.32"},
        {u"壹拾萬圆零伍角整", "100000.50"},
        {u"  壹圆整\u3000\n", "1.00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.capitals));
        EXPECT_EQ(readBack(c.capitals), c.amount);
    }
}

// Regression: these writings the bill rules allow were refused.
TEST(AmountReading, ReadsEveryWritingTheBillRulesAllow) {
    const ReadCase cases[] = {
        // One 零 or none where zeros meet 元, 万 or 亿 and a digit heads the group below.
        {u"壹拾万零柒仟元伍角叁分", "107000.53"},
        {u"壹拾万柒仟元零伍角叁分", "107000.53"},
        {u"壹拾万零柒仟元零伍角叁分", "107000.53"},
        {u"壹佰万零壹仟元整", "1001000.00"},
        {u"壹億柒仟圆整", "100007000.00"},
        {u"壹拾億零壹仟萬圆整", "1010000000.00"},
        {u"壹拾萬零柒仟億圆整", "10700000000000.00"},
        // Below one yuan, with or without 零元.
        {u"壹分", "0.01"},
        {u"零元零壹分", "0.01"},
        {u"负壹分", "-0.01"},
        {u"零元伍角", "0.50"},
        {u"零圆伍角叁分", "0.53"},
        // A label before the capitals.
        {u"人民币（大写）：壹仟元整", "1000.00"},
        {u"大写：壹仟元整", "1000.00"},
        {u"人民币 壹仟元整", "1000.00"},
        {u"金额大写：负伍元整", "-5.00"},
        {u"人民币（大写）：人民币负壹拾元整", "-10.00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.capitals));
        EXPECT_EQ(readBack(c.capitals), c.amount);
    }
}

struct RefusalCase {
    std::u16string capitals;
    std::size_t position;
    std::u16string kind; // a part of the message
};

TEST(AmountReading, RefusesWhatIsNotAWellFormedAmountAtItsFirstProblem) {
    const RefusalCase cases[] = {
        {u"壹佰壹仟圆整", 4, u"顺序"},
        {u"壹仟仟圆整", 3, u"重复"},
        {u"壹仟伍圆整", 3, u"说不清"},
        {u"壹萬伍圆整", 3, u"说不清"},
        {u"壹仟伍拾圆整", 3, u"缺少“零”"},
        {u"壹萬伍佰圆整", 3, u"缺少“零”"},
        {u"壹仟零伍佰圆整", 3, u"多余"},
        {u"壹仟零零伍圆整", 4, u"重复"},
        {u"伍圆整伍角", 4, u"之后"},
        {u"伍圆整叁分", 4, u"之后"},
        {u"伍圆叁分整", 5, u"不写“整”"},
        {u"伍圆整整", 4, u"之后"},
        {u"伍圆叁分伍角", 6, u"顺序"},
        {u"伍圆伍角伍角", 6, u"重复"},
        {u"壹仟零伍圆五角整", 6, u"不是金额用字"},
        {u"伍圆整。", 4, u"之后"},
        {u"壹伍圆整", 2, u"相连"},
        {u"伍零圆整", 2, u"缺少单位"},
        {u"佰圆整", 1, u"缺少数字"},
        {u"圆整", 1, u"缺少数字"},
        {u"壹仟", 3, u"不完整"},
        {u"壹仟圆", 4, u"不完整"},
        {u"壹圆伍", 3, u"缺少单位"},
        {u"壹仟伍角", 3, u"缺少“圆”"},
        {u"伍圆负", 3, u"最前面"},
        {u"负负伍圆整", 2, u"最前面"},
        {u"", 0, u"没有金额"},
        {u"人民币", 4, u"没有金额"},
        {u"壹圆\n整", 3, u"U+000A"},
        // Well-formed shapes that are still not how the amount is written.
        {u"壹拾壹萬壹圆整", 5, u"说不清"}
        ,{u"壹仟零伍圆整角", 7, u"角分"},
        {u"壹圆零叁角整", 3, u"多余"},
        {u"壹拾圆整伍", 5, u"之后"},
        {u"负整", 1, u"缺少“零”"},
        {u"整", 1, u"缺少“零”"},
        {u"负零圆整", 1, u"应写作：零圆整"},
        {u"零伍角整", 1, u"多余"},
        {u"伍角叁分整", 5, u"不写“整”"},
        {u"壹佰零拾圆整", 4, u"缺少数字"},
        // A 零 the bill rules do not leave to the writer, and a label that may be part of the amount.
        {u"壹拾伍万零柒仟元整", 5, u"多余"},
        {u"壹億零柒仟萬圆整", 3, u"多余"},
        {u"壹億柒佰圆整", 3, u"缺少“零”"},
        {u"零元壹分", 3, u"缺少“零”"},
        {u"零元零伍角", 3, u"多余"},
        {u"零元壹圆整", 4, u"重复"},
        {u"壹拾万零柒仟元", 8, u"缺少“整”"},
        {u"九拾伍元整", 1, u"金额的一部分"},
        {u"大写：2 拾伍元整", 4, u"金额的一部分"},
        {u"-壹仟元整", 1, u"负号"},
        // Capitals written with a variant the reader does not take were read from the character
        // after them, as if the variant were a label: 参拾元整 gave 10.00, 負伍拾元整 gave 50.00.
        {u"参拾元整", 1, u"金额的一部分"},
        {u"叄拾元整", 1, u"金额的一部分"},
        {u"弍拾元整", 1, u"金额的一部分"},
        {u"漆拾元整", 1, u"金额的一部分"},
        {u"大写：②拾元整", 4, u"金额的一部分"},
        {u"Ⅱ拾元整", 1, u"金额的一部分"},
        {u"貳圓整", 2, u"金额的一部分"},
        {u"負伍拾元整", 1, u"负号"},
        {u"人民币負壹仟元整", 4, u"负号"},
        {u"△壹仟元整", 1, u"负号"},
        {u"\u207B壹仟元整", 1, u"负号"},
        // An opening parenthesis, as around a debit, was skipped with the label: (壹仟元整 gave 1000.00.
        {u"(壹仟元整", 1, u"括号"},
        {u"合计：（ 壹仟元整", 4, u"括号"},
        {u"大写：", 4, u"没有金额"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.capitals));
        const auto read = core::readAmountCapitals(c.capitals);
        ASSERT_FALSE(read) << core::amountText(*read.value);
        EXPECT_EQ(read.refusal.position, c.position) << narrow(testsupport::chinese(read.refusal));
        EXPECT_NE(testsupport::chinese(read.refusal).find(c.kind), std::u16string::npos) << narrow(testsupport::chinese(read.refusal));
    }
}

TEST(AmountReading, SuggestsTheCorrectionInTheTextsOwnCharacters) {
    const struct {
        std::u16string capitals;
        std::u16string suggestion;
    } cases[] = {
        {u"壹拾伍万零柒仟元整", u"壹拾伍万柒仟元整"},
        {u"壹拾伍萬零柒仟圆整", u"壹拾伍萬柒仟圆整"},
        {u"人民币壹亿零柒仟万元正", u"人民币壹亿柒仟万元正"},
        {u"大写：负壹拾伍万零柒仟元整", u"负壹拾伍万柒仟元整"},
        {u"零元壹分", u"零元零壹分"},
        {u"壹拾伍元零叁角", u"壹拾伍元叁角整"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(narrow(c.capitals));
        const auto read = core::readAmountCapitals(c.capitals);
        ASSERT_FALSE(read);
        EXPECT_NE(testsupport::chinese(read.refusal).find(u"应写作：" + c.suggestion + u"）"), std::u16string::npos)
            << narrow(testsupport::chinese(read.refusal));
    }
}

// Every writing of `amount` the reader accepts, made independently of it from the variant rules.
std::set<std::u16string> allowedWritings(const Fen &amount) {
    std::u16string body = core::daxie(Fen{false, amount.magnitude});
    std::set<std::u16string> bodies{body};
    if (body.front() == u'拾')
        bodies.insert(u"壹" + body);
    if (body.size() >= 2 && body.substr(body.size() - 2) == u"角整")
        for (auto b : std::set<std::u16string>(bodies))
            bodies.insert(b.substr(0, b.size() - 1));
    // Where a run of zeros takes in the units place of 圆, 萬, 億 or 萬億 and the next digit, not
    // zero, heads the group below (角 or 仟), one 零 may stand there or none. The digit of that
    // place is found by its unit: 角, or the how-manieth 仟 counted over the places above it.
    const std::uint64_t m = amount.magnitude;
    auto digit = [m](int fenPlace) {
        std::uint64_t v = m;
        for (int i = 0; i < fenPlace; ++i)
            v /= 10;
        return v % 10;
    };
    for (int place : {0, 4, 8, 12}) {
        const int f = place + 2;
        bool above = false;
        for (int k = f + 1; k < 18; ++k)
            above = above || digit(k) != 0;
        if (digit(f) != 0 || digit(f - 1) == 0 || !above)
            continue;
        const char16_t unit = place == 0 ? u'角' : u'仟';
        std::size_t rank = 0; // how many 仟 are written before the one we look for
        for (int k = 17; k > f; k -= 4)
            rank += place > 0 && digit(k) != 0;
        for (auto b : std::set<std::u16string>(bodies)) {
            std::size_t at = std::u16string::npos;
            for (std::size_t i = 0, seen = 0; i < b.size(); ++i)
                if (b[i] == unit && seen++ == rank) {
                    at = i - 1; // its digit
                    break;
                }
            if (b[at - 1] == u'零')
                bodies.insert(b.substr(0, at - 1) + b.substr(at));
            else
                bodies.insert(b.substr(0, at) + u"零" + b.substr(at));
        }
    }
    // Below one yuan: 零圆 before it, or one jiao less: no 零 first.
    if (m > 0 && m < 100)
        for (auto b : std::set<std::u16string>(bodies)) {
            bodies.insert(u"零圆" + b);
            if (m < 10)
                bodies.insert(b.substr(1));
        }
    // Each 圆 萬 億 整 may take its other form.
    std::set<std::u16string> spelled;
    for (const auto &b : bodies) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < b.size(); ++i)
            if (std::u16string_view(u"圆萬億整").find(b[i]) != std::u16string::npos)
                at.push_back(i);
        for (unsigned mask = 0; mask < (1u << at.size()); ++mask) {
            std::u16string s = b;
            for (std::size_t k = 0; k < at.size(); ++k)
                if (mask & (1u << k))
                    s[at[k]] = s[at[k]] == u'圆' ? u'元' : s[at[k]] == u'萬' ? u'万' : s[at[k]] == u'億' ? u'亿' : u'正';
            spelled.insert(s);
        }
    }
    std::set<std::u16string> all;
    for (const auto &s : spelled) {
        if (amount.negative) {
            all.insert(u"负" + s);
            all.insert(u"人民币负" + s);
            all.insert(u"负人民币" + s);
        } else {
            all.insert(s);
            all.insert(u"人民币" + s);
        }
    }
    return all;
}

Fen randomAmount(std::mt19937_64 &rng) {
    // Amounts of every length, so that short ones are as frequent as long ones.
    const int digits = static_cast<int>(rng() % 18) + 1;
    std::uint64_t limit = 1;
    for (int i = 0; i < digits; ++i)
        limit *= 10;
    std::uint64_t m = rng() % limit;
    // Zeros in runs are what the writing rules are about.
    if (rng() % 2) {
        std::uint64_t place = 1;
        for (int i = 0; i < digits; ++i, place *= 10)
            if (rng() % 3 == 0)
                m -= (m / place % 10) * place;
    }
    return Fen{m != 0 && rng() % 4 == 0, m};
}

TEST(AmountReading, ReadsBackEveryAmountMoneyWrites) {
    std::vector<Fen> amounts;
    for (std::uint64_t m : {0ull, 1ull, 1000ull, 1900ull, 10'000'000'000ull, 100'000'000'000'000ull,
                            999'999'999'999'999'999ull, 99'999'999'999'999'999ull, 100'000'000'00ull + 100})
        for (bool negative : {false, true})
            amounts.push_back(Fen{negative && m != 0, m});
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 1'000'000; ++i)
        amounts.push_back(randomAmount(rng));
    for (const Fen &a : amounts) {
        const std::u16string capitals = core::daxie(a);
        const auto read = core::readAmountCapitals(capitals);
        if (!read || !(*read.value == a)) {
            ADD_FAILURE() << narrow(capitals) << " of " << core::amountText(a) << " read as "
                          << (read ? core::amountText(*read.value) : narrow(testsupport::chinese(read.refusal)));
            return;
        }
    }
}

TEST(AmountReading, TheFenWriterAgreesWithTheDecimalOne) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 100'000; ++i) {
        const Fen a = randomAmount(rng);
        const std::string text = core::amountText(a);
        const auto fromText = core::daxie(std::u16string(text.begin(), text.end()));
        ASSERT_TRUE(fromText) << text;
        ASSERT_EQ(*fromText, core::daxie(a)) << text;
        ASSERT_EQ(core::toFen(core::readLeadingDecimal(text)), a) << text;
    }
}

// A text one character away from a real writing is refused, or is itself a writing of what it
// reads as: never a silent misreading.
TEST(AmountReading, OneChangedCharacterIsRefusedOrReadsAsItsOwnAmount) {
    const std::u16string alphabet = u"零壹贰叁肆伍陆柒捌玖拾佰仟萬億万亿圆元角分整正负人民币";
    std::mt19937_64 rng(99);
    std::vector<Fen> amounts = {{false, 0}, {false, 1}, {false, 1500}, {false, 100500}, {true, 1600}, {false, 168032},
                                {false, 10000000100}, {false, 10000300000}, {false, 99999999999999999}};
    for (int i = 0; i < 300; ++i)
        amounts.push_back(randomAmount(rng));
    std::size_t accepted = 0, tried = 0;
    for (const Fen &a : amounts) {
        const std::u16string base = core::daxie(a);
        std::vector<std::u16string> changed;
        for (std::size_t i = 0; i <= base.size(); ++i) {
            if (i < base.size())
                changed.push_back(base.substr(0, i) + base.substr(i + 1));
            for (char16_t c : alphabet) {
                changed.push_back(base.substr(0, i) + c + base.substr(i));
                if (i < base.size())
                    changed.push_back(base.substr(0, i) + c + base.substr(i + 1));
            }
        }
        for (const auto &t : changed) {
            ++tried;
            const auto read = core::readAmountCapitals(t);
            if (!read)
                continue;
            ++accepted;
            // What stands before the first amount character is a label.
            const std::size_t start = t.find_first_not_of(u"人民币");
            const std::u16string labelled = start == 0 || start == std::u16string::npos ? t : t.substr(start);
            if (!allowedWritings(*read.value).count(t) && !allowedWritings(*read.value).count(labelled)) {
                ADD_FAILURE() << narrow(t) << " (from " << narrow(base) << ") read as "
                              << core::amountText(*read.value);
                return;
            }
        }
    }
    // The variants are real: some one-character changes are other writings of some amount.
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, tried / 10);
}

TEST(AmountReading, AllowedWritingsAreAllRead) {
    for (std::uint64_t m : {0ull, 1ull, 53ull, 1500ull, 168032ull, 100050ull, 10700053ull, 10000700000ull,
                            101000000000ull, 1010000000000ull, 1070000000000000ull})
        for (bool negative : {false, true}) {
            const Fen a{negative && m != 0, m};
            for (const auto &t : allowedWritings(a)) {
                SCOPED_TRACE(narrow(t));
                EXPECT_EQ(readBack(t), core::amountText(a));
            }
        }
}

TEST(AmountReading, ChecksCapitalsAgainstANumber) {
    struct Case {
        std::string number;
        std::u16string capitals;
        bool same;
        std::string stated;
    } cases[] = {
        {"1005.5", u"壹仟零伍圆伍角整", true, "1005.50"},
        {"1005.50", u"人民币壹仟零伍元伍角", true, "1005.50"},
        {"1005", u"壹仟伍佰圆整", false, "1500.00"},
        {"2.675", u"贰圆陆角捌分", true, "2.68"},
        {"-5", u"伍圆整", false, "5.00"},
        {"0", u"零圆整", true, "0.00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        const auto check = core::checkAmountCapitals(core::readLeadingDecimal(c.number), c.capitals);
        ASSERT_TRUE(check);
        EXPECT_EQ(check.value->same, c.same);
        EXPECT_EQ(core::amountText(check.value->stated), c.stated);
        if (!c.same) {
            EXPECT_NE(check.value->message.in(core::Language::Chinese).find(c.stated), std::string::npos);
        }
    }
    EXPECT_FALSE(core::checkAmountCapitals(core::readLeadingDecimal("1e16"), u"整"));
    EXPECT_FALSE(core::checkAmountCapitals(core::readLeadingDecimal("1005"), u"壹仟伍圆整"));
}

TEST(AmountReading, BankStyle) {
    const struct {
        std::string number;
        char16_t yuan;
        std::u16string capitals;
    } cases[] = {
        {"16", u'元', u"壹拾陆元整"},
        {"10.05", u'圆', u"壹拾圆零伍分"},
        {"-19.5", u'元', u"负壹拾玖元伍角整"},
        {"100000", u'元', u"壹拾万元整"},
        {"120003400.5", u'元', u"壹亿贰仟万叁仟肆佰元伍角整"},
        {"1000000000000", u'圆', u"壹万亿圆整"},
        {"0", u'元', u"零元整"},
        {"1005.5", u'元', u"壹仟零伍元伍角整"},
        {"0.5", u'元', u"伍角整"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(core::bankCapitals(core::readLeadingDecimal(c.number), c.yuan), c.capitals);
        EXPECT_EQ(readBack(c.capitals), core::amountText(*core::toFen(core::readLeadingDecimal(c.number))));
    }
    EXPECT_FALSE(core::bankCapitals(core::readLeadingDecimal("1e16"), u'元'));
}

} // namespace
