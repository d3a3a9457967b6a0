#include "bill_date.h"

#include "core/utf.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace core {
namespace {

constexpr std::u16string_view kCapitalDigits = u"零壹贰叁肆伍陆柒捌玖";

std::u16string utf16Number(int n) {
    const std::string s = std::to_string(n);
    return {s.begin(), s.end()};
}

// Full-width ASCII (０-９, －, ／, ．) as its ASCII character.
char16_t folded(char16_t c) {
    return c >= 0xFF01 && c <= 0xFF5E ? static_cast<char16_t>(c - 0xFEE0) : c;
}
bool isDigit(char16_t c) {
    c = folded(c);
    return c >= u'0' && c <= u'9';
}
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// One attempt to read a date whose year is the four digits at [start, start + 4).
struct Match {
    enum { None, YearMonth, Full } kind = None;
    BillDate date{0, 0, 0};
    char16_t separator = 0;
    std::size_t end = 0; // after a full date's day
};

class Scanner {
public:
    explicit Scanner(std::u16string_view t) : m_t(t) {}

    std::size_t digitsEnd(std::size_t i) const {
        while (i < m_t.size() && isDigit(m_t[i]))
            ++i;
        return i;
    }
    std::size_t blanksEnd(std::size_t i) const {
        while (i < m_t.size() && isBlank(m_t[i]))
            ++i;
        return i;
    }
    int value(std::size_t i, std::size_t end) const {
        int v = 0;
        for (; i < end; ++i)
            v = v * 10 + (folded(m_t[i]) - u'0');
        return v;
    }
    bool at(std::size_t i, char16_t c) const { return i < m_t.size() && folded(m_t[i]) == c; }

    Match separated(std::size_t start) const {
        Match m;
        m.date.year = value(start, start + 4);
        std::size_t i = blanksEnd(start + 4);
        if (i >= m_t.size())
            return m;
        m.separator = folded(m_t[i]);
        if (m.separator != u'-' && m.separator != u'/' && m.separator != u'.' && m.separator != u'年')
            return m;
        i = blanksEnd(i + 1);
        std::size_t end = digitsEnd(i);
        if (end == i || end - i > 2)
            return m;
        m.date.month = value(i, end);
        m.kind = Match::YearMonth;
        i = blanksEnd(end);
        if (!at(i, m.separator == u'年' ? u'月' : m.separator))
            return m;
        i = blanksEnd(i + 1);
        end = digitsEnd(i);
        if (end == i || end - i > 2)
            return m;
        m.date.day = value(i, end);
        m.kind = Match::Full;
        m.end = end;
        return m;
    }

private:
    std::u16string_view m_t;
};

} // namespace

bool billDateExists(const BillDate &d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

Outcome<BillDate> findBillDate(std::u16string_view text) {
    using Result = Outcome<BillDate>;
    const Scanner scan(text);
    const auto checked = [&](const BillDate &d, std::size_t start) {
        if (billDateExists(d))
            return Result::ok(d);
        const std::size_t pos = characterPosition(text, start);
        const std::string year = std::to_string(d.year), month = std::to_string(d.month);
        Message why;
        if (d.year == 0)
            why = Message(MessageId::NoYearZero);
        else if (d.month < 1 || d.month > 12)
            why = Message(MessageId::NoSuchMonth, {month});
        else if (d.day < 1)
            why = Message(MessageId::NoDayZero);
        else
            why = Message(MessageId::DaysInMonth, {year, month, std::to_string(daysInMonth(d.year, d.month))});
        return Result::refused(pos, Message(MessageId::DateDoesNotExist,
                                            {std::to_string(pos), year, month, std::to_string(d.day)}, {why}));
    };

    // Eight digits that a label or a sign makes a code or an amount, not a date: an invoice's
    // number (发票号20261207, 发票号码：20261207, No.20260102, Order ID: 20261207, #12345678) or
    // 金额20261207元 before the date itself. Letters count only right before the digits
    // (INV20260102; "Date 20261207" is a label), or as a word that names a number (No, ID, Ref).
    const auto codeOrAmount = [&](std::size_t start, std::size_t end) {
        std::size_t b = start;
        while (b > 0 && (isBlank(text[b - 1]) || text[b - 1] == u':' || text[b - 1] == u'：'))
            --b;
        const char16_t adjacent = start > 0 ? folded(text[start - 1]) : u' ';
        const char16_t before = b > 0 ? folded(text[b - 1]) : u' ';
        // What follows, past blanks: a unit makes an amount (20261207 元), and a point before
        // digits a number with decimals (20261207.00).
        std::size_t a = end;
        while (a < text.size() && isBlank(text[a]))
            ++a;
        const char16_t after = a < text.size() ? folded(text[a]) : u' ';
        if (end + 1 < text.size() && text[end] == u'.' && isDigit(text[end + 1]))
            return true;
        std::string word;
        for (std::size_t w = b; w > 0 && word.size() < 8; --w) {
            const char16_t c = folded(text[w - 1]);
            if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c == u'/' && !word.empty())))
                break;
            word.insert(word.begin(), static_cast<char>(c >= u'a' ? c - u'a' + u'A' : c));
        }
        static constexpr std::string_view kNumberWords[] = {"NO",   "NR",    "NUM",    "NUMBER", "ID",  "REF",
                                                            "CODE", "SN",    "S/N",    "PN",     "P/N", "SKU",
                                                            "LOT",  "BATCH", "SERIAL", "PO"};
        if (std::find(std::begin(kNumberWords), std::end(kNumberWords), word) != std::end(kNumberWords))
            return true;
        // Words that name a number, as 号 and 码 do: a batch, a voucher, a contract, an order.
        static constexpr std::u16string_view kNumberNames[] = {u"批次", u"凭证", u"憑證", u"合同", u"订单",
                                                               u"訂單", u"流水", u"账户", u"帳戶", u"单据"};
        for (const std::u16string_view name : kNumberNames)
            if (b >= name.size() && text.substr(b - name.size(), name.size()) == name)
                return true;
        return (adjacent >= u'A' && adjacent <= u'Z') || (adjacent >= u'a' && adjacent <= u'z') || before == u'#' ||
               before == u'.' || before == u'号' || before == u'號' || before == u'码' || before == u'碼' ||
               before == u'№' || before == u'￥' || before == u'¥' || before == u'$' || after == u'元' ||
               after == u'圆' || after == u'块' || after == u'%';
    };
    // A year and month without a day, remembered to explain a text that has no full date.
    std::u16string yearMonth;
    std::size_t yearMonthAt = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        const std::size_t end = scan.digitsEnd(i);
        if (end - i == 8 && !codeOrAmount(i, end))
            return checked({scan.value(i, i + 4), scan.value(i + 4, i + 6), scan.value(i + 6, end)}, i);
        if (end - i == 4) {
            const Match m = scan.separated(i);
            // 2026-01-02-1 and 2026/01/02/03 go on past the day: a code or a longer number; a
            // year after it starts the end of a range (2026-01-01-2026-12-31), whose first date
            // this is.
            const std::size_t next = m.end + 1;
            const bool goesOn = m.kind == Match::Full && scan.at(m.end, m.separator) && m.separator != u'年' &&
                                next < text.size() && isDigit(text[next]) && scan.digitsEnd(next) - next != 4 &&
                                scan.digitsEnd(next) - next != 8;
            if (m.kind == Match::Full && !goesOn)
                return checked(m.date, i);
            if (m.kind == Match::YearMonth && yearMonth.empty()) {
                yearMonthAt = characterPosition(text, i);
                yearMonth = utf16Number(m.date.year) + m.separator + utf16Number(m.date.month);
                if (m.separator == u'年')
                    yearMonth += u'月';
            }
        }
        i = end;
    }
    if (!yearMonth.empty())
        return Result::refused(yearMonthAt,
                               Message(MessageId::DateLacksDay, {std::to_string(yearMonthAt), utf16ToUtf8(yearMonth)}));
    return Result::refused(0, Message(MessageId::NoDateFound));
}

std::u16string billDateCapitals(const BillDate &date) {
    if (!billDateExists(date))
        return {};
    std::u16string out;
    for (int unit = 1000; unit > 0; unit /= 10)
        out += kCapitalDigits[static_cast<std::size_t>(date.year / unit % 10)];
    out += u'年';
    // A month or day that could take a digit before it gets 零; a ten keeps its 壹.
    const auto write = [&](int n, bool zeroFirst, char16_t unit) {
        if (zeroFirst)
            out += u'零';
        if (n >= 10) {
            out += kCapitalDigits[static_cast<std::size_t>(n / 10)];
            out += u'拾';
        }
        if (n % 10 != 0)
            out += kCapitalDigits[static_cast<std::size_t>(n % 10)];
        out += unit;
    };
    write(date.month, date.month <= 2 || date.month == 10, u'月');
    write(date.day, date.day <= 10 || date.day % 10 == 0, u'日');
    return out;
}

Outcome<std::u16string> billDateText(std::u16string_view text) {
    const auto date = findBillDate(text);
    if (!date)
        return Outcome<std::u16string>::refused(date.refusal.position, date.refusal.message);
    return Outcome<std::u16string>::ok(billDateCapitals(*date.value));
}

} // namespace core
