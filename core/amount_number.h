#pragma once

// The one amount that a text holds, for the commands that write a number as an amount or in
// Chinese numerals. Stricter than the leading-number reading it rests on: a text that holds no
// number, or more than one, is refused instead of being read as 0 or as its first number.
//
//   - Full-width digits, point and signs (０-９ ． ＋ －) and the minus sign U+2212 count as their
//     ASCII forms.
//   - The number starts at the first place from which the leading-number reading finds digits;
//     what stands before it (no digit there) is a label and skipped: "金额：1005.5元" is 1005.5,
//     "合计 -5" is -5, and a point right after a letter ends an abbreviation: "No.100" is 100.
//   - Between the label and the number may stand, blanks aside, at most one sign (-, 负 or +), one
//     currency sign (￥, ¥, RMB, CNY, 人民币) and one opening parenthesis, in any order; the sign may
//     also be the number's own, after the currency sign: "-￥1,234.56", "￥-1,234.56", "负1234",
//     "负￥1234" and "−1234" are negative. Parentheses around the whole amount (only 元, 圆, 整, 正 and
//     blanks between the number and the closing one) make it negative, as accountants write it:
//     "(1,234.50)", "（￥1,234.50元）", where they open the text's value: at its start, or after a
//     label that a colon or blanks set apart ("合计：（5）", "净利润	(5)").
//   - The number is read by the leading-number rules: grouping commas, &H / &O, exponents; blanks
//     only as one space between groups of three digits ("1 234 567").
//   - 万 (萬), 亿 (億) or 万亿 (萬億) right after it, blanks allowed between, multiply it:
//     "1.5万" is 15000, "10亿元" is 10^9.
//   - Refused: no number at all ("abc", "壹佰", "", "-", "."); a numeral character, a percent or
//     per-mille sign, a letter that may multiply the number or 角, 毛, 分 (which it would be read
//     ten or a hundred times as) right after it or its multiplier ("5千", "1.5兆", "3两", "50%",
//     "15k", "1.5M", "3w", "5角"); a digit anywhere after it ("第3笔共1005.5元", "12.3.4", "2,5",
//     "1万5千"), or parted from it by blanks other than as groups of three ("iPhone15 5999元",
//     "2024 5000", "1203	3500"). Refused too, rather than read with a sign dropped or guessed: two
//     signs ("--5", "+-5", "-(5)", "±5", "正负5"), a dash that may be meant as a minus before the
//     number ("—5", "–5") or any minus after it ("1234-"), an opening parenthesis that the amount
//     does not close ("(1234", "(1234元，含税)"), and parentheses right after a word, which may open
//     a note on it ("差旅费（500元）", "人民币壹仟元整（￥1000.00）"), and a red-ink amount (红字,
//     红冲, 红票 in the label) without a sign: it is negative.

#include "core/number.h"
#include "core/refusal.h"

#include <string_view>

namespace core {

// The amount of `text`, exact; refusals name the character at fault (position 0 when there is no
// number at all).
Outcome<Decimal> readAmountNumber(std::u16string_view text);

} // namespace core
