#pragma once

// How numbers are read from text and written back.
//
// Reading ("leading number"): the number at the start of a text.
//   - Blanks (U+0020) and tabs are skipped wherever they stand: "1 2 3.456" reads as 123.456.
//   - Then an optional sign, digits, at most one "." and an optional exponent introduced by
//     E or D in either case, with an optional sign and digits: "1e3" reads as 1000.
//   - A "," directly after a digit of the integer part and directly followed by exactly three
//     digits (not a fourth) is a grouping comma and is skipped: "1,234,567.89" reads as
//     1234567.89, but "2,5" as 2, "1,2345" as 1 and "1.234,567" as 1.234.
//   - Reading stops at the first character that cannot continue the number: a letter, a
//     Chinese character, any other comma, a carriage return or a line feed ("12\n34" is 12).
//   - A text without a number reads as 0; "&H1F" and "&O17" are hexadecimal and octal integers.
//
// Writing ("general number text"): at most 15 significant digits, trailing zeros and a
// trailing point dropped, "-" for negative values, negative zero written "0", no grouping.
// Magnitudes from 1E+15 up and below 1E-04 take exponent form: 1.23456789012346E+15, 1E-05.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// An exact decimal value: (negative ? -1 : 1) * 0.d1d2d3... * 10^point.
// `digits` holds the significant digits without leading or trailing zeros; empty means zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    std::int64_t point = 0;

    bool isZero() const { return digits.empty(); }
    bool operator==(const Decimal &) const = default;
};

// Exponents are clamped to this magnitude while reading, so that "1e999999999999999999" stays a
// (huge) finite decimal without any arithmetic overflowing.
inline constexpr std::int64_t kExponentClamp = 1'000'000'000'000'000;

// The exact value of the leading number of `text` (rules above). Never fails; no number gives 0.
Decimal readLeadingDecimal(std::u16string_view text);
Decimal readLeadingDecimal(std::string_view text);

// The same reading, telling also where it stopped (the index of the first character not read) and
// whether it met a digit of the number's value: "-", "." and "e5" read as 0 without one.
struct LeadingSpan {
    Decimal value;
    std::size_t end = 0;
    bool hasDigits = false;
};
LeadingSpan readLeadingSpan(std::u16string_view text);

// A full-width digit, point or sign (as a Chinese input method types them), or the minus sign
// U+2212, as its ASCII form; any other unit as it is, so that indices stay those of the text.
char16_t halfWidthNumberChar(char16_t c);

// White space as pasted text brings it (no-break, thin and ideographic spaces, line breaks) and the
// invisible characters that editors and web pages slip in beside it (zero-width space, soft hyphen,
// direction marks, byte order mark): nothing a reader sees between two words.
bool isSpaceOrInvisible(char16_t c);

// The nearest 64-bit float to `value`; nullopt when it lies beyond the float range (1e400).
// Values too small for the range become zero of the same sign.
std::optional<double> toDouble(const Decimal &value);

// The leading number of `text` as a 64-bit float; nullopt when it lies beyond the float range.
std::optional<double> readLeadingNumber(std::u16string_view text);

// How a value is rounded to a number of decimals.
enum class Rounding {
    HalfAwayFromZero, // 2.675 -> 2.68, -2.675 -> -2.68
    HalfUp,           // halves toward +infinity: 2.5 -> 3, -2.5 -> -2
};

// `value` rounded to `places` decimals (places may be 0). The result is exact.
Decimal roundToPlaces(const Decimal &value, int places, Rounding rounding);

// The general number text of a 64-bit float (15 significant digits). Infinity and NaN, which
// no caller produces, are written "Infinity" / "NaN" rather than crashing.
std::string generalText(double value);

// The general number text of an exact decimal: rounded half away from zero to 15 significant
// digits, then written as above.
std::string generalText(const Decimal &value);

} // namespace core
