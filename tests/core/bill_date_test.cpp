#include "core/bill_date.h"

#include "core/utf.h"

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

using core::BillDate;

std::string utf8(std::u16string_view s) {
    return core::utf16ToUtf8(s);
}

std::u16string widen(const std::string &ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

TEST(BillDateCapitals, EachMonthAndEachKindOfDay) {
    const std::u16string months[12] = {u"零壹月", u"零贰月", u"叁月", u"肆月",     u"伍月",     u"陆月",
                                       u"柒月",   u"捌月",   u"玖月", u"零壹拾月", u"壹拾壹月", u"壹拾贰月"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(utf8(core::billDateCapitals({2026, m, 11})),
                  utf8(u"贰零贰陆年" + months[m - 1] + u"壹拾壹日"));
    const std::pair<int, std::u16string> days[] = {
        {1, u"零壹日"},    {9, u"零玖日"},    {10, u"零壹拾日"}, {11, u"壹拾壹日"}, {19, u"壹拾玖日"},
        {20, u"零贰拾日"}, {21, u"贰拾壹日"}, {29, u"贰拾玖日"}, {30, u"零叁拾日"}, {31, u"叁拾壹日"},
    };
    for (const auto &[day, capitals] : days)
        EXPECT_EQ(utf8(core::billDateCapitals({2026, 3, day})), utf8(u"贰零贰陆年叁月" + capitals)) << day;
    // Years digit by digit; dates that do not exist have no capitals.
    EXPECT_EQ(utf8(core::billDateCapitals({2000, 2, 29})), utf8(u"贰零零零年零贰月贰拾玖日"));
    EXPECT_EQ(utf8(core::billDateCapitals({999, 12, 31})), utf8(u"零玖玖玖年壹拾贰月叁拾壹日"));
    for (const BillDate nonexistent : {BillDate{2026, 2, 29}, {2026, 13, 1}, {0, 1, 1}, {10000, 1, 1}})
        EXPECT_TRUE(core::billDateCapitals(nonexistent).empty());
}

TEST(FindBillDate, EveryFormAnywhereInTheText) {
    struct Case {
        std::u16string text;
        BillDate date;
    };
    const Case cases[] = {
        {u"2026-12-07", {2026, 12, 7}},
        {u"2026/12/7", {2026, 12, 7}},
        {u"2026.1.5", {2026, 1, 5}},
        {u"2026年12月7日", {2026, 12, 7}},
        {u"2026年12月7", {2026, 12, 7}},
        {u"20261207", {2026, 12, 7}},
        {u" \t2026 - 12 - 07 ", {2026, 12, 7}},
        {u"2026\u3000年\u300012\u3000月\u30007\u3000日", {2026, 12, 7}},
        {u"出票日期：2026年12月7日", {2026, 12, 7}},
        {u"２０２６－１２－０７", {2026, 12, 7}},
        {u"２０２６年１月９日", {2026, 1, 9}},
        // A year and month alone are not a date; the search goes on.
        {u"账期2026-12，出票2026-12-07", {2026, 12, 7}},
        // Digit runs that are not a year: 2026-2027, nine digits, 3-digit months.
        {u"2026-2027年度 2026.1.5", {2026, 1, 5}},
        {u"单号123456789，2026/1/2", {2026, 1, 2}},
        {u"2026-123-1 2026-1-3", {2026, 1, 3}},
        // The separator is the same twice.
        {u"2026-12/07 2026/12/08", {2026, 12, 8}},
        // The first of two dates.
        {u"2026-01-01至2026-12-31", {2026, 1, 1}},
        // Eight digits that a label or a unit makes a code or an amount: 发票号20261207 was the date.
        {u"发票号20261207 日期2026-01-02", {2026, 1, 2}},
        {u"No.20260102 日期2026-03-04", {2026, 3, 4}},
        {u"#20260102，2026-03-04", {2026, 3, 4}},
        {u"金额20261207元 日期2026-03-04", {2026, 3, 4}},
        {u"发票号码12345678 开票日期2026-01-02", {2026, 1, 2}},
        {u"日期: 20261207", {2026, 12, 7}},
        // A date that goes on past its day is a code: 2026-01-02-1 was 2026-01-02.
        {u"批号2026-01-02-1，生产日期2026-01-05", {2026, 1, 5}},
        {u"2026/01/02/03 2026/01/06", {2026, 1, 6}},
        // A range's first date, an English label, a full stop after the date.
        {u"20260101/20261231", {2026, 1, 1}},
        {u"期间：20260101-20261231", {2026, 1, 1}},
        {u"2026-01-01-2026-12-31", {2026, 1, 1}},
        {u"2026/01/01/2026/12/31", {2026, 1, 1}},
        {u"Invoice Date 20261207", {2026, 12, 7}},
        // a code's label with a colon: "发票号码：20261207" was the date
        {u"发票号码：20261207，开票日期：2026-12-08", {2026, 12, 8}},
        {u"订单号: 20261207 2026-12-08", {2026, 12, 8}},
        {u"Invoice No: 20261207 Date: 2026-12-08", {2026, 12, 8}},
        {u"Order ID：20261207，2026-12-08", {2026, 12, 8}},
        {u"Date: 20261207", {2026, 12, 7}},
        {u"日期：20261207。", {2026, 12, 7}},
        {u"20261207.", {2026, 12, 7}},
        {u"INV20260102 2026-03-04", {2026, 3, 4}},
        // A batch, a serial number, a contract; an amount with decimals or a unit after a blank.
        {u"批次20261207 到货日期2026-01-05", {2026, 1, 5}},
        {u"S/N 20261207 2026-01-05", {2026, 1, 5}},
        {u"合同20261207，签订日期2026-03-04", {2026, 3, 4}},
        {u"20261207.00 2026-03-04", {2026, 3, 4}},
        {u"20261207 元，2026-03-04", {2026, 3, 4}},
        // Gregorian leap years.
        {u"2024-02-29", {2024, 2, 29}},
        {u"2000/2/29", {2000, 2, 29}},
        {u"24000229", {2400, 2, 29}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto r = core::findBillDate(c.text);
        ASSERT_TRUE(r) << utf8(testsupport::chinese(r.refusal));
        EXPECT_EQ(*r.value, c.date);
    }
}

TEST(FindBillDate, RefusesWhatIsNoDateOrNoRealDay) {
    struct Case {
        std::u16string text;
        std::size_t position;
        std::u16string says;
    };
    const Case cases[] = {
        {u"", 0, u"没有找到日期"},
        {u"今天", 0, u"没有找到日期"},
        {u"2026", 0, u"没有找到日期"},
        {u"2026-", 0, u"没有找到日期"},
        {u"202612", 0, u"没有找到日期"},
        {u"2026-12", 1, u"“2026-12”缺少日"},
        {u"期限：2026年12月", 4, u"“2026年12月”缺少日"},
        {u"2026-02-29", 1, u"2026年2月只有28天"},
        {u"1900-02-29", 1, u"1900年2月只有28天"},
        {u"21000229", 1, u"2100年2月只有28天"},
        {u"2026-04-31", 1, u"2026年4月只有30天"},
        {u"2026-13-01", 1, u"没有13月"},
        {u"2026-00-10", 1, u"没有0月"},
        {u"2026-04-00", 1, u"没有0日"},
        {u"0000-01-01", 1, u"没有公元0年"},
        {u"20261301", 1, u"没有13月"},
        // A complete date that does not exist is not skipped for a later one.
        {u"日期20261301，2026-12-07", 3, u"没有13月"},
        {u"2026年2月30日 2026年3月1日", 1, u"只有28天"},
        {u"\U0001F600 2026-02-30", 3, u"只有28天"},
        {u"2026-01-02-1", 0, u"没有找到日期"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const auto r = core::findBillDate(c.text);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.refusal.position, c.position) << utf8(testsupport::chinese(r.refusal));
        EXPECT_NE(testsupport::chinese(r.refusal).find(c.says), std::u16string::npos) << utf8(testsupport::chinese(r.refusal));
        if (c.position > 0) {
            EXPECT_EQ(utf8(testsupport::chinese(r.refusal).substr(0, 1 + std::to_string(c.position).size())),
                      "第" + std::to_string(c.position));
        }
    }
}

// Every day of these years, in every form, is found and gets capitals no other day has.
TEST(FindBillDate, EveryDayInEveryFormRoundTrips) {
    std::set<std::u16string> seen;
    for (int year : {1900, 1999, 2000, 2024, 2026}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                if (!core::billDateExists({year, month, day}))
                    continue;
                char forms[5][40];
                std::snprintf(forms[0], 40, "%d-%02d-%02d", year, month, day);
                std::snprintf(forms[1], 40, "%d/%d/%d", year, month, day);
                std::snprintf(forms[2], 40, "x %d.%d.%02d y", year, month, day);
                std::snprintf(forms[3], 40, "%04d%02d%02d", year, month, day);
                std::snprintf(forms[4], 40, "%d %d %d", year, month, day); // not a form
                for (int f = 0; f < 4; ++f) {
                    SCOPED_TRACE(forms[f]);
                    const auto r = core::findBillDate(widen(forms[f]));
                    ASSERT_TRUE(r);
                    EXPECT_EQ(*r.value, (BillDate{year, month, day}));
                }
                EXPECT_FALSE(core::findBillDate(widen(forms[4])));
                const auto text = core::billDateText(widen(forms[0]));
                ASSERT_TRUE(text);
                EXPECT_TRUE(seen.insert(*text.value).second) << forms[0];
            }
        }
    }
    EXPECT_EQ(seen.size(), 365u * 3 + 366u * 2);
}

TEST(BillDateText, WritesTheFirstDateOrPassesTheRefusalOn) {
    const auto ok = core::billDateText(u"出票日期：2026年10月20日");
    ASSERT_TRUE(ok);
    EXPECT_EQ(utf8(*ok.value), utf8(u"贰零贰陆年零壹拾月零贰拾日"));
    const auto refused = core::billDateText(u"出票日期：2026-02-29");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal.position, 6u);
}

// Long texts of near-dates are searched in one pass (a quadratic search would not finish).
TEST(FindBillDate, LongTextsOfNearDates) {
    std::u16string text;
    for (int i = 0; i < 100000; ++i)
        text += u"2026 - 12  ";
    auto r = core::findBillDate(text);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.refusal.position, 1u); // 2026 - 12 is a year and month
    text += u"2026-12-07";
    r = core::findBillDate(text);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r.value, (BillDate{2026, 12, 7}));
}

} // namespace
