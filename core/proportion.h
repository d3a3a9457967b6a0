#pragma once

// The proportion calculator a : b = c : d and the copy of its rounded result.

#include "number.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The text that the result box shows for the box texts a, b and c: d = b * c / a, each read by
// the leading-number rules, written as one blank and the general number text for d >= 0
// (" 6", " 0.5", " 1E+20") or "-" and the text of |d| (-1.25).
// nullopt means there is no result (the result box is emptied): a reads as 0, a box lies beyond
// the 64-bit float range, or the product or quotient overflows it.
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
