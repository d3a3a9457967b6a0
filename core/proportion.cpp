#include "proportion.h"

#include <algorithm>
#include <cfloat>
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

bool isFieldBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// White space around a box's number, as a copied cell (3 and a line break), a web page or Word
// (a no-break space) or Chinese text (an ideographic space) brings it along when pasted.
std::u16string_view trimmedBox(std::u16string_view text) {
    while (!text.empty() && isSpaceOrInvisible(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpaceOrInvisible(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

Proportion proportion(std::u16string_view a, std::u16string_view b, std::u16string_view c) {
    // Full-width digits too, as a Chinese input method types them (３, －５, １．５).
    std::u16string boxes[] = {std::u16string(trimmedBox(a)), std::u16string(trimmedBox(b)),
                              std::u16string(trimmedBox(c))};
    for (auto &box : boxes)
        std::transform(box.begin(), box.end(), box.begin(), halfWidthNumberChar);
    const std::u16string_view texts[] = {boxes[0], boxes[1], boxes[2]};
    double v[3];
    for (int i = 0; i < 3; ++i) {
        const LeadingSpan span = readLeadingSpan(texts[i]);
        const std::u16string_view rest = texts[i].substr(span.end);
        if (!span.hasDigits || rest.find_first_not_of(u" \t") != std::u16string_view::npos)
            return {std::nullopt, ProportionFault::NotANumber, static_cast<ProportionBox>(i)};
        const auto value = toDouble(span.value);
        // Below the smallest normal float a value keeps fewer than 15 digits, or none at all
        // (1e-999 becomes 0): it would be shown wrongly or not at all.
        if (!value || (!span.value.isZero() && !(std::fabs(*value) >= DBL_MIN)))
            return {std::nullopt, ProportionFault::OutOfRange};
        v[i] = *value;
    }
    if (v[0] == 0)
        return {std::nullopt, ProportionFault::ZeroA};
    // A product beyond the float range has no result, as the calculator always had.
    if (std::isinf(v[1] * v[2]))
        return {std::nullopt, ProportionFault::OutOfRange};
    // b * c / a on the mantissas, the powers of two added apart: the same rounding as the plain
    // product and quotient, without a product below the float range making the result 0
    // (1e-300 : 1e-200 = 1e-200 : d gave 0).
    int ea = 0, eb = 0, ec = 0;
    const double ma = std::frexp(v[0], &ea), mb = std::frexp(v[1], &eb), mc = std::frexp(v[2], &ec);
    const double quotient = std::ldexp(mb * mc / ma, eb + ec - ea);
    if (std::isinf(quotient) || (quotient != 0 && std::fabs(quotient) < DBL_MIN) ||
        (quotient == 0 && v[1] != 0 && v[2] != 0))
        return {std::nullopt, ProportionFault::OutOfRange};
    if (quotient < 0)
        return {widen(generalText(quotient))};
    return {u" " + widen(generalText(std::fabs(quotient)))};
}

std::optional<std::u16string> proportionText(std::u16string_view a, std::u16string_view b,
                                             std::u16string_view c) {
    return proportion(a, b, c).d;
}

std::vector<std::u16string_view> proportionFields(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    std::size_t i = 0;
    std::size_t n = line.size();
    while (i < n && isFieldBlank(line[i]))
        ++i;
    while (n > i && isFieldBlank(line[n - 1]))
        --n;
    if (i == n)
        return fields;
    for (;;) {
        const std::size_t start = i;
        while (i < n && !isFieldBlank(line[i]) && line[i] != u',')
            ++i;
        fields.push_back(line.substr(start, i - start));
        if (i == n)
            return fields;
        while (i < n && isFieldBlank(line[i]))
            ++i;
        if (line[i] == u',') {
            ++i;
            while (i < n && isFieldBlank(line[i]))
                ++i;
            if (i == n) { // a comma at the end leaves an empty last field
                fields.emplace_back();
                return fields;
            }
        }
    }
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
