#pragma once

// Numbers in Chinese numerals for documents, and the strict reading of them back.
//
// Writing: the integer in groups of four digits under 万, 亿 and 万亿; inside a group each digit
// takes its place unit (十 百 千); a run of zeros between written digits is one 零, zeros at the end
// of a group are silent, and a group that starts with zeros (or a zero group skipped) gets a 零
// before its first digit. A number that starts with 1 in a tens place drops the 一: 10 -> 十,
// 15 -> 十五, 100010 -> 十万零一十, 10^13 -> 十万亿, but 110 -> 一百一十. Decimals follow 点 digit
// by digit; zero before the point is 零. Examples:
//   1005.5 -> 一千零五点五, 100000001 -> 一亿零一, 10^12 -> 一万亿, 10^12 + 10^7 -> 一万亿零一千万,
//   -3 -> 负三, 0.05 -> 零点零五, 0 -> 零 (also for negative zero).
// Capital digits: 壹仟零伍点伍, 拾伍, 拾万零壹拾; 零 点 万 亿 负 are the same in both styles.
//
// Reading is strict: a text is accepted only when it is exactly what the writing gives for some
// number (blanks around it aside; 萬 and 億 stand for 万 and 亿, 〇 for 零). Everything else is
// refused with the position of the first problem. 两 (兩) is read as 二 before 百, 千, 万 and 亿,
// where it is the usual word (两千, 一万两千, 两亿); elsewhere (两十, 十两) it is refused.

#include "number.h"
#include "refusal.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

enum class NumeralDigits { Ordinary, Capital };

// At most this many decimals are written or read, so that no input makes a huge text.
inline constexpr std::size_t kMaxNumeralDecimals = 1000;

// The numerals of `number`. Refused at position 0 with AmountTooLarge when its magnitude is
// 10^16 or more, and when it has more than kMaxNumeralDecimals decimals.
Outcome<std::u16string> chineseNumerals(const Decimal &number, NumeralDigits digits);

// The number that `text` writes in numerals of either digit style (not both mixed). The value
// is exact and never negative zero. Refusals name the 1-based code point of the first problem,
// or 0 for an empty text.
Outcome<Decimal> readChineseNumerals(std::u16string_view text);

// The plain decimal text of `value`: "1005.5", "-0.05", "100000000", "0" (no exponent, no
// grouping, no trailing fraction zeros; negative zero is "0"). Values whose plain text would be
// longer than a million characters (only from absurd exponents) are written as d.dddE+n instead.
std::string decimalText(const Decimal &value);

} // namespace core
