#include "amount.h"

#include "amount_number.h"

#include <array>
#include <cstring>

namespace core {
namespace {

// The letter string of an amount: digits, place letters (s b q w y), "." for the yuan, j and f
// for jiao and fen, z for an amount without fraction and Z for the 整 that ends a fraction whose
// fen is zero. The letters are written in order, each rule applied as its letter is written, so
// one walk gives what rewriting the whole string rule by rule would give. At most 16 * 2 + 4.
class Letters {
public:
    void push(char c) { m_c[m_n++] = c; }
    // A zero digit: it loses the unit of its place (written by the caller or not at all), and a
    // run of zeros is one zero.
    void zero() {
        if (!endsWith('0'))
            push('0');
    }
    // 萬 or 億. A zero directly before it goes; a 萬 directly after a 億 (its group of four was all
    // zeros) becomes 零: 100000001 is 壹億零壹圆整, not 壹億萬零壹圆整. A 億 directly after the 萬 of
    // 萬億 (the same) makes 萬億 and a 零 after it: 1000000010000000 is 壹仟萬億零壹仟萬圆整.
    void largeUnit(char unit) {
        if (endsWith('0'))
            --m_n;
        if (unit == 'w' && endsWith('y')) {
            push('0');
        } else if (unit == 'y' && endsWith('w')) {
            push('y');
            push('0');
        } else {
            push(unit);
        }
    }
    // The yuan: no 零 before it, and no 零圆 at all when the whole integer part is zero.
    void yuan(bool singleIntegerDigit) {
        if (endsWith('0')) {
            --m_n;
            if (singleIntegerDigit)
                return;
        }
        push('.');
    }
    bool endsWith(char c) const { return m_n > 0 && m_c[m_n - 1] == c; }
    bool startsWith(char c) const { return m_n > 0 && m_c[0] == c; }
    void dropFirst() {
        std::memmove(m_c.data(), m_c.data() + 1, static_cast<std::size_t>(m_n - 1));
        --m_n;
    }
    AmountCapitals capitals() const;

private:
    std::array<char, 40> m_c;
    int m_n = 0;
};

constexpr std::string_view kLetterRow = "0123456789sbqwy.jzf";
constexpr std::u16string_view kCapitalRow = u"零壹贰叁肆伍陆柒捌玖拾佰仟萬億圆角整分";
constexpr std::string_view kPlaceTemplate = ".sbqwsbqysbqwsbq";

// Letter -> capital, built once from the two rows; 'Z' is the 整 written for a zero fen.
struct CapitalTable {
    std::array<char16_t, 128> of{};
    constexpr CapitalTable() {
        for (std::size_t i = 0; i < kLetterRow.size(); ++i)
            of[static_cast<unsigned char>(kLetterRow[i])] = kCapitalRow[i];
        of['Z'] = u'整';
    }
};
constexpr CapitalTable kCapitals;

AmountCapitals Letters::capitals() const {
    AmountCapitals out;
    out.n = m_n;
    for (int i = 0; i < m_n; ++i)
        out.c[static_cast<std::size_t>(i)] = kCapitals.of[static_cast<unsigned char>(m_c[i])];
    return out;
}

// The digit of `value` in the place 10^place ('0' outside its digits).
char digitAt(const Decimal &value, std::int64_t place) {
    const std::int64_t index = value.point - 1 - place;
    if (index < 0 || index >= static_cast<std::int64_t>(value.digits.size()))
        return '0';
    return value.digits[static_cast<std::size_t>(index)];
}

constexpr std::int64_t kMaxIntegerDigits = 16;

// The capitals of a formatted magnitude: its integer digits (at least one), ".", two decimals.
AmountCapitals capitalsOfFormatted(const char *f, int fLen) {
    Letters t;
    // No amount at all is written out, so that nothing can be added in front of a lone 整.
    if (std::string_view(f, static_cast<std::size_t>(fLen)).find_first_not_of("0.") == std::string_view::npos) {
        t.push('0');
        t.push('.');
        t.push('z');
        return t.capitals();
    }
    const int n = fLen - 3;
    for (int i = 0; i < n; ++i) {
        const char d = f[i];
        const int pos = n - i; // 1 for the units digit
        const char place = kPlaceTemplate[static_cast<std::size_t>(pos - 1)];
        if (d == '0')
            t.zero();
        else
            t.push(d);
        if (place == 'y' || place == 'w')
            t.largeUnit(place);
        else if (place == '.')
            t.yuan(n == 1);
        else if (d != '0')
            t.push(place);
    }
    const char jiao = f[n + 1], fen = f[n + 2];
    if (jiao == '0' && fen == '0') {
        t.push('z');
    } else {
        if (jiao == '0') {
            t.zero();
        } else {
            t.push(jiao);
            t.push('j');
        }
        if (fen == '0') {
            t.push('Z');
        } else {
            t.push(fen);
            t.push('f');
        }
    }
    // Ten to nineteen: 拾伍圆整, not 壹拾伍圆整.
    if (fLen == 5 && t.startsWith('1'))
        t.dropFirst();
    return t.capitals();
}

} // namespace

std::optional<std::u16string> daxie(const Decimal &money) {
    // Half away from zero works on the magnitude, so the sign can stay on.
    if (!money.isZero() && money.point > kMaxIntegerDigits)
        return std::nullopt; // refuse before rounding builds anything from a huge exponent
    const Decimal rounded = roundToPlaces(money, 2, Rounding::HalfAwayFromZero);
    if (!rounded.isZero() && rounded.point > kMaxIntegerDigits)
        return std::nullopt;

    std::array<char, 24> f{};
    int fLen = 0;
    const std::int64_t intDigits = rounded.isZero() || rounded.point <= 0 ? 1 : rounded.point;
    for (std::int64_t place = intDigits - 1; place >= 0; --place)
        f[fLen++] = digitAt(rounded, place);
    f[fLen++] = '.';
    f[fLen++] = digitAt(rounded, -1);
    f[fLen++] = digitAt(rounded, -2);

    std::u16string capitals(capitalsOfFormatted(f.data(), fLen).view());
    if (money.negative && !rounded.isZero())
        return u"负" + capitals;
    return capitals;
}

AmountCapitals capitalsOf(const Fen &amount) {
    std::array<char, 24> digits{};
    int d = 0;
    std::uint64_t v = amount.magnitude;
    do {
        digits[d++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (d < 3)
        digits[d++] = '0';
    std::array<char, 24> f{};
    int fLen = 0;
    for (int i = d - 1; i >= 2; --i)
        f[fLen++] = digits[i];
    f[fLen++] = '.';
    f[fLen++] = digits[1];
    f[fLen++] = digits[0];
    return capitalsOfFormatted(f.data(), fLen);
}

std::u16string daxie(const Fen &amount) {
    std::u16string capitals(capitalsOf(amount).view());
    if (amount.negative && amount.magnitude != 0)
        capitals.insert(capitals.begin(), u'负');
    return capitals;
}

std::u16string bankStyle(std::u16string capitals, char16_t yuan) {
    const std::size_t start = !capitals.empty() && capitals[0] == u'负' ? 1 : 0;
    if (capitals.size() > start && capitals[start] == u'拾')
        capitals.insert(capitals.begin() + static_cast<std::ptrdiff_t>(start), u'壹');
    for (char16_t &c : capitals) {
        if (c == u'圆')
            c = yuan;
        else if (c == u'萬')
            c = u'万';
        else if (c == u'億')
            c = u'亿';
    }
    return capitals;
}

std::optional<std::u16string> bankCapitals(const Decimal &money, char16_t yuan) {
    auto capitals = daxie(money);
    if (!capitals)
        return std::nullopt;
    return bankStyle(std::move(*capitals), yuan);
}

std::string amountText(const Fen &amount) {
    std::string text = std::to_string(amount.magnitude / 100);
    text += '.';
    text += static_cast<char>('0' + amount.magnitude / 10 % 10);
    text += static_cast<char>('0' + amount.magnitude % 10);
    if (amount.negative && amount.magnitude != 0)
        text.insert(text.begin(), '-');
    return text;
}

std::optional<Fen> toFen(const Decimal &money) {
    if (!money.isZero() && money.point > kMaxIntegerDigits)
        return std::nullopt;
    const Decimal rounded = roundToPlaces(money, 2, Rounding::HalfAwayFromZero);
    if (!rounded.isZero() && rounded.point > kMaxIntegerDigits)
        return std::nullopt;
    Fen fen{rounded.negative && !rounded.isZero(), 0};
    const std::int64_t intDigits = rounded.isZero() || rounded.point <= 0 ? 1 : rounded.point;
    for (std::int64_t place = intDigits - 1; place >= -2; --place)
        fen.magnitude = fen.magnitude * 10 + static_cast<std::uint64_t>(digitAt(rounded, place) - '0');
    return fen;
}

std::optional<std::u16string> daxie(std::u16string_view money) {
    return daxie(readLeadingDecimal(money));
}

Outcome<std::u16string> amountCommandText(std::u16string_view workspace) {
    auto amount = readAmountNumber(workspace);
    if (!amount)
        return {std::nullopt, std::move(amount.refusal)};
    auto capitals = daxie(*amount.value);
    if (!capitals)
        return Outcome<std::u16string>::refused(0, Message(MessageId::AmountTooLarge));
    return Outcome<std::u16string>::ok(std::move(*capitals));
}

} // namespace core
