#include "proportion.h"

#include <cmath>

namespace core {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string widen(const std::string &ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The value of a text that passed isNumberText: grouping commas and blanks are ignored.
Decimal numberTextValue(std::u16string_view text) {
    std::u16string plain;
    plain.reserve(text.size());
    for (char16_t c : text)
        if (c != u',' && c != u' ')
            plain += c;
    return readLeadingDecimal(plain);
}

// -1, 0 or 1 as |a| is below, equal to or above |b|.
int compareMagnitude(const Decimal &a, const Decimal &b) {
    if (a.isZero() || b.isZero())
        return a.isZero() == b.isZero() ? 0 : (a.isZero() ? -1 : 1);
    if (a.point != b.point)
        return a.point < b.point ? -1 : 1;
    const int c = a.digits.compare(b.digits);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Within the 64-bit float range, as the result box writes it: the largest float is written
// 1.79769313486232E+308, just above the largest float itself, and must still count as in range.
bool withinFloatRange(const Decimal &value) {
    static const Decimal kLargestAsWritten{false, "179769313486232", 309};
    if (toDouble(value))
        return true;
    if (value.point > 309)
        return false;
    const Decimal fifteenDigits =
        roundToPlaces(value, static_cast<int>(15 - value.point), Rounding::HalfAwayFromZero);
    return compareMagnitude(fifteenDigits, kLargestAsWritten) <= 0;
}

} // namespace

std::optional<std::u16string> proportionText(std::u16string_view a, std::u16string_view b,
                                             std::u16string_view c) {
    const auto va = readLeadingNumber(a);
    const auto vb = readLeadingNumber(b);
    const auto vc = readLeadingNumber(c);
    if (!va || !vb || !vc || *va == 0)
        return std::nullopt;
    const double product = *vb * *vc;
    if (std::isinf(product))
        return std::nullopt;
    const double quotient = product / *va;
    if (std::isinf(quotient))
        return std::nullopt;
    if (quotient < 0)
        return widen(generalText(quotient));
    return u" " + widen(generalText(std::fabs(quotient)));
}

bool isNumberText(std::u16string_view text) {
    std::size_t i = 0;
    std::size_t n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    while (n > i && text[n - 1] == u' ')
        --n;
    auto at = [&](std::size_t k) -> char16_t { return k < n ? text[k] : u'\0'; };
    if (at(i) == u'+' || at(i) == u'-')
        ++i;
    std::size_t intDigits = 0;
    while (i < n) {
        if (isDigit(text[i])) {
            ++intDigits;
            ++i;
        } else if (text[i] == u',' && intDigits > 0 && isDigit(text[i - 1]) && isDigit(at(i + 1))) {
            ++i;
        } else {
            break;
        }
    }
    std::size_t fracDigits = 0;
    if (at(i) == u'.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0)
        return false;
    if (at(i) == u'E' || at(i) == u'e') {
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            ++i;
        std::size_t expDigits = 0;
        while (i < n && isDigit(text[i])) {
            ++expDigits;
            ++i;
        }
        if (expDigits == 0)
            return false;
    }
    return i == n;
}

Decimal MyRound(const Decimal &num, int Wei) {
    return roundToPlaces(num, Wei, Rounding::HalfUp);
}

std::optional<std::u16string> roundedCopyText(std::u16string_view t1d, int Wei) {
    if (!isNumberText(t1d))
        return std::nullopt;
    const Decimal value = numberTextValue(t1d);
    if (!withinFloatRange(value))
        return std::nullopt;
    return widen(generalText(MyRound(value, Wei)));
}

} // namespace core
