#pragma once

// The proportion calculator a : b = c : d and the copy of its rounded result.

#include "number.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The calculator's boxes, in the order they are read and named in a refusal.
enum class ProportionBox { A, B, C };

// Why the calculator has no result.
enum class ProportionFault {
    NotANumber, // a box is empty or more than a number (see below)
    ZeroA,      // a is zero: nothing to divide by
    OutOfRange, // a box, the product b * c or d lies beyond the 64-bit float range, or a box or d
                // is not zero but below its normal range (2.2E-308), where fewer than 15 digits
                // are kept
};

// The calculator's answer: the text of d, or why there is none (and which box is at fault).
struct Proportion {
    std::optional<std::u16string> d;
    ProportionFault fault = ProportionFault::NotANumber; // meaningful only without d
    ProportionBox box = ProportionBox::A;                // meaningful only for NotANumber
};

// d = b * c / a for the box texts a, b and c. Each box must hold one number as a whole, read by
// the leading-number rules ("-5", ".5", "1e3", "1,234", "&H10", blanks and tabs anywhere): a box
// that is empty, holds no digit ("abc", "NaN", "-") or holds anything after its number ("12%",
// "5abc", "1,5", "￥12") is not a number; a, b and c are checked in that order. d is written as
// one blank and the general number text for d >= 0 (" 6", " 0.5", " 1E+20") or "-" and the
// text of |d| (-1.25).
Proportion proportion(std::u16string_view a, std::u16string_view b, std::u16string_view c);

// The values of one line of calculator input: separated by blanks or tabs, or by one comma with
// blanks around it; blanks at both ends are not part of them. "1 2 3", "1,2,3" and "1, 2,\t3" give
// three values, "1,,3" three with an empty one, "1,2," three with an empty last one, an empty line
// none. The views point into `line`.
std::vector<std::u16string_view> proportionFields(std::u16string_view line);

// The text the result box shows: proportion(a, b, c).d; nullopt empties the box.
std::optional<std::u16string> proportionText(std::u16string_view a, std::u16string_view b,
                                             std::u16string_view c);

// True when `text`, apart from blanks before and after it, is an optional sign, digits with
// optional "," grouping between digits, an optional "." with decimals (the digits on one side
// may be absent, not on both) and an optional exponent (E or e, optional sign, digits).
bool isNumberText(std::u16string_view text);

// `num` rounded to `Wei` decimals, halves toward +infinity (2.5 -> 3, -2.5 -> -2, -1.25 -> -1.2
// with Wei 1). Exact: 2.675 -> 2.68 and 1.005 -> 1.01 with Wei 2.
Decimal MyRound(const Decimal &num, int Wei);

// What the copy command places on the clipboard for the result-box text `t1d` and `Wei`
// decimals: MyRound of its value as general number text. nullopt (the clipboard is left alone)
// when the text fails isNumberText or its value lies beyond the 64-bit float range.
std::optional<std::u16string> roundedCopyText(std::u16string_view t1d, int Wei);

} // namespace core
