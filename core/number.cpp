#include "number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace core {
namespace {

template <typename CharT> bool isDigit(CharT c) {
    return c >= CharT('0') && c <= CharT('9');
}
template <typename CharT> bool isBlank(CharT c) {
    return c == CharT(' ') || c == CharT('\t');
}

std::int64_t clampedAdd(std::int64_t a, std::int64_t b) {
    return std::clamp<std::int64_t>(a + b, -kExponentClamp, kExponentClamp);
}

// Puts `digits` (leading zeros allowed, `intCount` of them before the point, `exponent` applied)
// into normal form.
Decimal normalise(bool negative, std::string digits, std::int64_t intCount, std::int64_t exponent) {
    Decimal d;
    d.negative = negative;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return d;
    const auto last = digits.find_last_not_of('0');
    digits.resize(last + 1);
    digits.erase(0, first);
    d.digits = std::move(digits);
    d.point = clampedAdd(intCount - static_cast<std::int64_t>(first), exponent);
    return d;
}

// Converts the digits of an integer in base 16 or 8 to an exact decimal. Integers with more than
// `maxDigits` significant digits are far beyond any float and become a huge power of ten.
Decimal integerFromBase(const std::vector<int> &baseDigits, int base) {
    std::size_t start = 0;
    while (start < baseDigits.size() && baseDigits[start] == 0)
        ++start;
    if (start == baseDigits.size())
        return {};
    const std::size_t maxDigits = base == 16 ? 300 : 400;
    if (baseDigits.size() - start > maxDigits)
        return Decimal{false, "1", kExponentClamp};
    // Little-endian limbs of 10^9.
    std::vector<std::uint32_t> limbs{0};
    for (std::size_t i = start; i < baseDigits.size(); ++i) {
        std::uint64_t carry = static_cast<std::uint64_t>(baseDigits[i]);
        for (auto &limb : limbs) {
            const std::uint64_t v =
                static_cast<std::uint64_t>(limb) * static_cast<std::uint64_t>(base) + carry;
            limb = static_cast<std::uint32_t>(v % 1'000'000'000u);
            carry = v / 1'000'000'000u;
        }
        if (carry)
            limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    std::string text = std::to_string(limbs.back());
    for (auto it = limbs.rbegin() + 1; it != limbs.rend(); ++it) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%09u", static_cast<unsigned>(*it));
        text += buf;
    }
    const auto n = static_cast<std::int64_t>(text.size());
    return normalise(false, std::move(text), n, 0);
}

template <typename CharT> LeadingSpan readLeading(std::basic_string_view<CharT> t) {
    const std::size_t n = t.size();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(t[i]))
            ++i;
    };
    auto at = [&](std::size_t k) -> CharT { return k < n ? t[k] : CharT(0); };

    skipBlanks();
    if (at(i) == CharT('&')) {
        ++i;
        skipBlanks();
        const CharT kind = at(i);
        int base = 0;
        if (kind == CharT('H') || kind == CharT('h'))
            base = 16;
        else if (kind == CharT('O') || kind == CharT('o'))
            base = 8;
        else
            return {{}, i, false};
        ++i;
        std::vector<int> digits;
        for (;;) {
            skipBlanks();
            const CharT c = at(i);
            int v = -1;
            if (isDigit(c))
                v = static_cast<int>(c - CharT('0'));
            else if (base == 16 && c >= CharT('a') && c <= CharT('f'))
                v = static_cast<int>(c - CharT('a')) + 10;
            else if (base == 16 && c >= CharT('A') && c <= CharT('F'))
                v = static_cast<int>(c - CharT('A')) + 10;
            if (v < 0 || v >= base)
                break;
            digits.push_back(v);
            ++i;
        }
        return {integerFromBase(digits, base), i, !digits.empty()};
    }

    bool negative = false;
    if (at(i) == CharT('+') || at(i) == CharT('-')) {
        negative = at(i) == CharT('-');
        ++i;
    }
    std::string mantissa;
    std::int64_t intCount = 0;
    for (;;) {
        skipBlanks();
        const CharT c = at(i);
        if (isDigit(c)) {
            mantissa.push_back(static_cast<char>(c));
            ++intCount;
            ++i;
            continue;
        }
        // A grouping comma: directly after a digit, directly before exactly three digits.
        if (c == CharT(',') && i > 0 && isDigit(t[i - 1]) && isDigit(at(i + 1)) && isDigit(at(i + 2)) &&
            isDigit(at(i + 3)) && !isDigit(at(i + 4))) {
            ++i;
            continue;
        }
        break;
    }
    if (at(i) == CharT('.')) {
        ++i;
        for (;;) {
            skipBlanks();
            if (!isDigit(at(i)))
                break;
            mantissa.push_back(static_cast<char>(at(i)));
            ++i;
        }
    }
    std::int64_t exponent = 0;
    const CharT e = at(i);
    if (e == CharT('E') || e == CharT('e') || e == CharT('D') || e == CharT('d')) {
        ++i;
        skipBlanks();
        bool expNegative = false;
        if (at(i) == CharT('+') || at(i) == CharT('-')) {
            expNegative = at(i) == CharT('-');
            ++i;
        }
        for (;;) {
            skipBlanks();
            if (!isDigit(at(i)))
                break;
            if (exponent < kExponentClamp)
                exponent = exponent * 10 + static_cast<std::int64_t>(at(i) - CharT('0'));
            ++i;
        }
        exponent = std::min(exponent, kExponentClamp);
        if (expNegative)
            exponent = -exponent;
    }
    const bool hasDigits = !mantissa.empty();
    return {normalise(negative, std::move(mantissa), intCount, exponent), i, hasDigits};
}

// Adds one unit in the last place of a digit string; returns true when it grew by a digit.
bool incrementDigits(std::string &digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// Keeps the first `keep` significant digits of `value` (keep may be <= 0) and rounds.
Decimal roundToDigits(const Decimal &value, std::int64_t keep, Rounding rounding) {
    if (value.isZero() || static_cast<std::int64_t>(value.digits.size()) <= keep)
        return value;
    // Compare the dropped part with one half of the last kept place.
    int cmp; // -1 below half, 0 exactly half, 1 above half
    if (keep < 0) {
        cmp = -1;
    } else {
        const char first = value.digits[static_cast<std::size_t>(keep)];
        if (first < '5')
            cmp = -1;
        else if (first > '5')
            cmp = 1;
        else
            cmp = static_cast<std::size_t>(keep) + 1 < value.digits.size() ? 1 : 0;
    }
    bool up;
    if (rounding == Rounding::HalfAwayFromZero || !value.negative)
        up = cmp >= 0;
    else
        up = cmp > 0; // a negative half goes toward +infinity, that is toward zero
    Decimal r;
    r.negative = value.negative;
    if (keep <= 0) {
        if (!up)
            return Decimal{value.negative, {}, 0};
        r.digits = "1";
        r.point = value.point - keep + 1;
        return r;
    }
    std::string kept = value.digits.substr(0, static_cast<std::size_t>(keep));
    r.point = value.point;
    if (up && incrementDigits(kept))
        r.point += 1;
    const auto last = kept.find_last_not_of('0');
    kept.resize(last + 1);
    r.digits = std::move(kept);
    return r;
}

std::string exponentForm(const std::string &digits, std::int64_t exp10) {
    std::string s(1, digits[0]);
    if (digits.size() > 1) {
        s += '.';
        s.append(digits, 1);
    }
    s += 'E';
    s += exp10 < 0 ? '-' : '+';
    std::string e = std::to_string(exp10 < 0 ? -exp10 : exp10);
    if (e.size() < 2)
        e.insert(e.begin(), '0');
    return s + e;
}

// Writes significant digits (no trailing zeros) with the decimal exponent of the first digit.
std::string layout(bool negative, const std::string &digits, std::int64_t exp10) {
    std::string s = negative ? "-" : "";
    if (exp10 >= 15 || exp10 < -4)
        return s + exponentForm(digits, exp10);
    const auto len = static_cast<std::int64_t>(digits.size());
    if (exp10 >= 0) {
        if (len <= exp10 + 1) {
            s += digits;
            s.append(static_cast<std::size_t>(exp10 + 1 - len), '0');
        } else {
            s.append(digits, 0, static_cast<std::size_t>(exp10 + 1));
            s += '.';
            s.append(digits, static_cast<std::size_t>(exp10 + 1));
        }
    } else {
        s += "0.";
        s.append(static_cast<std::size_t>(-exp10 - 1), '0');
        s += digits;
    }
    return s;
}

} // namespace

Decimal readLeadingDecimal(std::u16string_view text) {
    return readLeading(text).value;
}
Decimal readLeadingDecimal(std::string_view text) {
    return readLeading(text).value;
}
bool isSpaceOrInvisible(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == u'\u0085' || c == u'\u00A0' || c == u'\u00AD' || c == u'\u1680' ||
           (c >= u'\u2000' && c <= u'\u200F') || c == u'\u2028' || c == u'\u2029' || c == u'\u202F' ||
           c == u'\u205F' || c == u'\u3000' || c == u'\uFEFF' ||
           // the direction embeddings and isolates that copied web and chat text wraps numbers in,
           // and the other characters nothing shows (a variation selector, a Hangul filler)
           (c >= u'\u202A' && c <= u'\u202E') || (c >= u'\u2060' && c <= u'\u206F') || c == u'\u061C' ||
           c == u'\u034F' || c == u'\u115F' || c == u'\u1160' || c == u'\u17B4' || c == u'\u17B5' ||
           (c >= u'\u180B' && c <= u'\u180F') || c == u'\u2800' || c == u'\u3164' ||
           (c >= u'\uFE00' && c <= u'\uFE0F') || c == u'\uFFA0' || (c >= u'\uFFF0' && c <= u'\uFFFB');
}

char16_t halfWidthNumberChar(char16_t c) {
    if (c >= u'０' && c <= u'９')
        return static_cast<char16_t>(u'0' + (c - u'０'));
    switch (c) {
    case u'．':
        return u'.';
    case u'＋':
        return u'+';
    case u'－':
    case u'\u2212':
        return u'-';
    default:
        return c;
    }
}

LeadingSpan readLeadingSpan(std::u16string_view text) {
    return readLeading(text);
}

std::optional<double> toDouble(const Decimal &value) {
    if (value.isZero())
        return value.negative ? -0.0 : 0.0;
    if (value.point > 311)
        return std::nullopt;
    if (value.point < -330)
        return value.negative ? -0.0 : 0.0;
    // 800 significant digits decide the rounding of any double; a further nonzero digit stands
    // for everything dropped so that a tie is never seen where there is none.
    std::string s = value.negative ? "-0." : "0.";
    if (value.digits.size() > 800) {
        s.append(value.digits, 0, 800);
        s += '1';
    } else {
        s += value.digits;
    }
    s += 'e';
    s += std::to_string(value.point);
    const double d = std::strtod(s.c_str(), nullptr);
    if (std::isinf(d))
        return std::nullopt;
    return d;
}

std::optional<double> readLeadingNumber(std::u16string_view text) {
    return toDouble(readLeadingDecimal(text));
}

Decimal roundToPlaces(const Decimal &value, int places, Rounding rounding) {
    if (value.isZero())
        return value;
    return roundToDigits(value, clampedAdd(value.point, places), rounding);
}

std::string generalText(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf is "d.dddddddddddddde[+-]x..."
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const long exp10 = std::strtol(buf + 17, nullptr, 10);
    digits.resize(digits.find_last_not_of('0') + 1);
    return layout(value < 0, digits, exp10);
}

std::string generalText(const Decimal &value) {
    const Decimal r = roundToDigits(value, 15, Rounding::HalfAwayFromZero);
    if (r.isZero())
        return "0";
    return layout(r.negative, r.digits, r.point - 1);
}

} // namespace core
