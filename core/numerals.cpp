#include "numerals.h"

#include "amount.h"
#include "core/utf.h"

#include <array>
#include <cstdint>

namespace core {
namespace {

constexpr std::u16string_view kDigits[2] = {u"零一二三四五六七八九", u"零壹贰叁肆伍陆柒捌玖"};
constexpr std::u16string_view kUnits[2] = {u"十百千", u"拾佰仟"};
constexpr int kStyleCount = 2;
constexpr std::int64_t kMaxIntegerDigits = 16;

int styleIndex(NumeralDigits d) {
    return d == NumeralDigits::Capital ? 1 : 0;
}

// The digit of `value` in the place 10^place (0 outside its digits).
int digitAt(const Decimal &value, std::int64_t place) {
    const std::int64_t index = value.point - 1 - place;
    if (index < 0 || index >= static_cast<std::int64_t>(value.digits.size()))
        return 0;
    return value.digits[static_cast<std::size_t>(index)] - '0';
}

// Blanks around the text, line breaks included: a line read from a file or the workspace may end
// with one.
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r' || c == u'\n';
}

// What one character is to the reader.
struct Symbol {
    enum Kind { Digit, Unit, Wan, Yi, Point, Minus, Liang, Other } kind = Other;
    int value = 0;  // the digit, or the unit's 10, 100, 1000
    int style = -1; // which digit style it belongs to; -1 for both
};

// Every character the reader knows, in a small open-addressing hash table (a character per
// lookup with mostly one probe; a binary search here cost half of the reading time).
class SymbolTable {
public:
    constexpr SymbolTable() {
        add(u'零', {Symbol::Digit, 0, -1});
        for (int s = 0; s < kStyleCount; ++s) {
            for (int d = 1; d <= 9; ++d)
                add(kDigits[s][static_cast<std::size_t>(d)], {Symbol::Digit, d, s});
            for (int u = 0, value = 10; u < 3; ++u, value *= 10)
                add(kUnits[s][static_cast<std::size_t>(u)], {Symbol::Unit, value, s});
        }
        add(u'万', {Symbol::Wan});
        add(u'亿', {Symbol::Yi});
        add(u'点', {Symbol::Point});
        add(u'负', {Symbol::Minus});
        add(u'两', {Symbol::Liang});
        add(u'兩', {Symbol::Liang});
    }
    Symbol operator[](char16_t c) const {
        for (std::size_t i = slot(c);; i = (i + 1) % kSlots) {
            if (m_c[i] == c)
                return m_symbol[i];
            if (m_c[i] == 0)
                return {};
        }
    }

private:
    static constexpr std::size_t kSlots = 128;
    static constexpr std::size_t slot(char16_t c) { return (c * 40503u >> 8) % kSlots; }
    constexpr void add(char16_t c, Symbol symbol) {
        std::size_t i = slot(c);
        while (m_c[i] != 0)
            i = (i + 1) % kSlots;
        m_c[i] = c;
        m_symbol[i] = symbol;
    }
    std::array<char16_t, kSlots> m_c{};
    std::array<Symbol, kSlots> m_symbol{};
};
constexpr SymbolTable kSymbols;

Symbol classify(char16_t c) {
    return c == 0 ? Symbol{} : kSymbols[c];
}

char16_t normalised(char16_t c) {
    switch (c) {
    case u'萬':
        return u'万';
    case u'億':
        return u'亿';
    case u'〇':
        return u'零';
    default:
        return c;
    }
}

} // namespace

Outcome<std::u16string> chineseNumerals(const Decimal &number, NumeralDigits digits) {
    using Result = Outcome<std::u16string>;
    if (!number.isZero() && number.point > kMaxIntegerDigits)
        return Result::refused(0, Message(MessageId::AmountTooLarge));
    const std::int64_t decimals =
        number.isZero() ? 0 : static_cast<std::int64_t>(number.digits.size()) - number.point;
    if (decimals > static_cast<std::int64_t>(kMaxNumeralDecimals))
        return Result::refused(0, Message(MessageId::TooManyDecimals, {std::to_string(kMaxNumeralDecimals)}));
    const int s = styleIndex(digits);
    const auto digit = [&](int d) { return kDigits[s][static_cast<std::size_t>(d)]; };
    const auto groupValue = [&](std::int64_t lowPlace) {
        int v = 0;
        for (std::int64_t p = lowPlace + 3; p >= lowPlace; --p)
            v = v * 10 + digitAt(number, p);
        return v;
    };

    std::u16string out;
    if (number.negative && !number.isZero())
        out += u'负';
    const std::int64_t intDigits = number.isZero() || number.point <= 0 ? 0 : number.point;
    if (intDigits == 0)
        out += u'零';
    bool wrote = false;
    bool zeroPending = false; // zeros passed since the last digit or group unit written
    for (std::int64_t p = intDigits - 1; p >= 0; --p) {
        const int d = digitAt(number, p);
        const auto inGroup = p % 4;
        if (d == 0) {
            zeroPending = wrote;
        } else {
            if (zeroPending)
                out += u'零';
            zeroPending = false;
            if (!(d == 1 && inGroup == 1 && !wrote))
                out += digit(d);
            if (inGroup > 0)
                out += kUnits[s][static_cast<std::size_t>(inGroup - 1)];
            wrote = true;
        }
        if (inGroup == 0 && p > 0 && groupValue(p) != 0) {
            // The top group is 万亿; its 亿 is shared with the 亿 group when that has digits.
            if (p == 4 || p == 12)
                out += u'万';
            if (p == 8 || (p == 12 && groupValue(8) == 0))
                out += u'亿';
            zeroPending = false;
        }
    }
    if (decimals > 0) {
        out += u'点';
        for (std::int64_t p = -1; p >= -decimals; --p)
            out += digit(digitAt(number, p));
    }
    return Result::ok(std::move(out));
}

Outcome<Decimal> readChineseNumerals(std::u16string_view text) {
    using Result = Outcome<Decimal>;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return Result::refused(0, Message(MessageId::NoNumeral));

    std::u16string t(text.substr(begin, end - begin));
    for (auto &c : t)
        c = normalised(c);
    // 两 is how 二 is said before 百 and 千 (两千, 一万两千两百), and before 万 and 亿 when it is the
    // whole group (两万, 两亿; not 十两万); anywhere else it stays refused.
    for (std::size_t k = 0; k + 1 < t.size(); ++k) {
        if (t[k] != u'两' && t[k] != u'兩')
            continue;
        const char16_t next = t[k + 1];
        const bool alone = k == 0 || t[k - 1] == u'负' || t[k - 1] == u'万' || t[k - 1] == u'亿';
        if (next == u'百' || next == u'千' || (alone && (next == u'万' || next == u'亿')))
            t[k] = u'二';
    }
    const auto refuse = [&](std::size_t i, Message what) {
        return Result{std::nullopt, refusalAt(text, begin + i, std::move(what))};
    };

    // A lenient pass for the value and the structural faults, with messages that say what is wrong.
    int style = -1;
    bool negative = false;
    std::uint64_t yiPart = 0, wanPart = 0, section = 0;
    int pending = -1;           // a digit still waiting for its unit
    std::size_t pendingAt = 0;  // where that digit stands
    int lastUnit = 10000;       // the last small unit of the section (10000: none yet)
    bool zeroInSection = false; // a 零 stands after the section's last unit
    bool afterBigUnit = false;  // the section follows a 万 or 亿
    bool seenWan = false, seenYi = false, previousZero = false;
    std::size_t i = 0;
    const auto closeSection = [&]() -> bool {
        if (pending < 0)
            return true;
        // A digit without a unit is the ones digit only after 十 or 零, or as the whole section
        // of a number that starts with it; 一千五 and 一万五 are shorthand for 1500 and 15000.
        const bool onesDigit = lastUnit == 10 || zeroInSection || (lastUnit == 10000 && !afterBigUnit);
        if (!onesDigit)
            return false;
        section += static_cast<std::uint64_t>(pending);
        pending = -1;
        return true;
    };
    for (; i < t.size(); ++i) {
        const Symbol sym = classify(t[i]);
        if (sym.kind == Symbol::Point)
            break;
        if (sym.kind == Symbol::Other)
            return refuse(i, Message(MessageId::NotChineseNumeral));
        if (sym.kind == Symbol::Liang)
            return refuse(i, Message(MessageId::LiangMisplaced));
        if (sym.style >= 0) {
            if (style >= 0 && style != sym.style)
                return refuse(i, Message(MessageId::CapitalsMixed));
            style = sym.style;
        }
        switch (sym.kind) {
        case Symbol::Minus:
            if (i != 0)
                return refuse(i, Message(MessageId::MinusOnlyFirst));
            negative = true;
            break;
        case Symbol::Digit:
            if (pending >= 0)
                return refuse(pendingAt, Message(MessageId::DigitLacksUnit));
            if (sym.value == 0) {
                if (previousZero)
                    return refuse(i, Message(MessageId::ZeroSurplus));
                zeroInSection = true;
            } else {
                pending = sym.value;
                pendingAt = i;
            }
            previousZero = sym.value == 0;
            break;
        case Symbol::Unit:
            if (sym.value >= lastUnit)
                return refuse(i, Message(sym.value == lastUnit ? MessageId::UnitTwice : MessageId::UnitOutOfOrder));
            if (pending < 0) {
                if (sym.value != 10 || i != (negative ? 1u : 0u))
                    return refuse(i, Message(MessageId::DigitMissingBeforeUnit));
                pending = 1; // 十五: the 一 of a leading ten is not written
            }
            section += static_cast<std::uint64_t>(pending) * static_cast<std::uint64_t>(sym.value);
            pending = -1;
            lastUnit = sym.value;
            zeroInSection = previousZero = false;
            break;
        default: { // 万 or 亿
            const bool wan = sym.kind == Symbol::Wan;
            if (wan ? seenWan : seenYi)
                return refuse(i, Message(MessageId::UnitTwice));
            if (!closeSection())
                return refuse(pendingAt, Message(MessageId::DigitLacksUnit));
            const std::uint64_t below = wan ? section : wanPart + section;
            if (below == 0)
                return refuse(i, Message(MessageId::DigitMissingBeforeUnit));
            if (wan) {
                wanPart = below * 10000; // below 10^8: the section is below 10^4
                seenWan = true;
            } else {
                yiPart = below * 100000000; // below 10^16
                wanPart = 0;
                seenWan = false;
                seenYi = true;
            }
            section = 0;
            lastUnit = 10000;
            zeroInSection = previousZero = false;
            afterBigUnit = true;
        }
        }
    }
    if (!closeSection())
        return refuse(pendingAt, Message(MessageId::DigitLacksUnit));
    const std::size_t integerEnd = i;
    if (integerEnd == (negative ? 1u : 0u)) {
        if (integerEnd == t.size())
            return refuse(0, Message(MessageId::NumberMissingAfterMinus));
        return refuse(integerEnd, Message(MessageId::DigitMissingBefore));
    }
    std::string plain = negative ? "-" : "";
    plain += std::to_string(yiPart + wanPart + section);
    if (i < t.size()) {
        plain += '.';
        if (i + 1 == t.size())
            return refuse(i, Message(MessageId::DigitMissingAfterPoint));
        for (++i; i < t.size(); ++i) {
            const Symbol sym = classify(t[i]);
            if (sym.kind == Symbol::Other)
                return refuse(i, Message(MessageId::NotChineseNumeral));
            if (sym.kind != Symbol::Digit)
                return refuse(i, Message(MessageId::DecimalsDigitsOnly));
            if (sym.style >= 0) {
                if (style >= 0 && style != sym.style)
                    return refuse(i, Message(MessageId::CapitalsMixed));
                style = sym.style;
            }
            if (i - integerEnd > kMaxNumeralDecimals)
                return refuse(i, Message(MessageId::TooManyDecimals, {std::to_string(kMaxNumeralDecimals)}));
            plain += static_cast<char>('0' + sym.value);
        }
    }
    Decimal value = readLeadingDecimal(std::string_view(plain));
    if (value.isZero())
        value.negative = false;

    // The strict check: the text must be the writing of the value it was read as.
    const auto digits = style == 1 ? NumeralDigits::Capital : NumeralDigits::Ordinary;
    const auto written = chineseNumerals(value, digits);
    const std::u16string &w = *written.value; // within range and decimals by the checks above
    std::size_t k = 0;
    while (k < t.size() && k < w.size() && t[k] == w[k])
        ++k;
    if (k == t.size() && k == w.size())
        return Result::ok(std::move(value));
    if (k == t.size())
        return refuse(k - 1, Message(MessageId::NumeralsIncomplete, {utf16ToUtf8(w)}));
    const std::u16string_view tv = t, wv = w;
    if (tv[k] == u'零' && tv.substr(k + 1) == wv.substr(k))
        return refuse(k, Message(MessageId::ZeroSurplus));
    if (k < wv.size() && wv[k] == u'零' && tv.substr(k) == wv.substr(k + 1))
        return refuse(k, Message(MessageId::ZeroMissing));
    return refuse(k, Message(MessageId::NotStandardNumerals, {utf16ToUtf8(w)}));
}

std::string decimalText(const Decimal &value) {
    if (value.isZero())
        return "0";
    std::string s = value.negative ? "-" : "";
    const auto n = static_cast<std::int64_t>(value.digits.size());
    const std::int64_t p = value.point;
    if (p > 1'000'000 || p < -1'000'000) {
        s += value.digits[0];
        if (n > 1)
            s += '.' + value.digits.substr(1);
        return s + "E" + (p - 1 < 0 ? "-" : "+") + std::to_string(p - 1 < 0 ? 1 - p : p - 1);
    }
    if (p <= 0) {
        s += "0.";
        s.append(static_cast<std::size_t>(-p), '0');
        s += value.digits;
    } else if (p >= n) {
        s += value.digits;
        s.append(static_cast<std::size_t>(p - n), '0');
    } else {
        s.append(value.digits, 0, static_cast<std::size_t>(p));
        s += '.';
        s.append(value.digits, static_cast<std::size_t>(p));
    }
    return s;
}

} // namespace core
