#pragma once

// An amount of money written in Chinese capital numerals, as on cheques and receipts:
// 1005.5 -> 壹仟零伍圆伍角整, 15 -> 拾伍圆整, 0.05 -> 零伍分, 100000000 -> 壹億圆整,
// -1005.5 -> 负壹仟零伍圆伍角整, 0 -> 零圆整.
//
// The amount is exact: it is read as decimal text, rounded to fen half away from zero on its
// decimal digits (2.675 -> 贰圆陆角捌分), and refused when the rounded magnitude has more than
// 16 digits before the point (10^16, 一亿亿, and above).

#include "number.h"
#include "refusal.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The capitals of `money`; nullopt when its magnitude is 10^16 or more after rounding to fen.
// A negative amount gets "负" before the capitals of its magnitude, unless it rounds to 0.00.
std::optional<std::u16string> daxie(const Decimal &money);

// An amount counted in fen (0.01 yuan): exact, below 10^18 fen.
struct Fen {
    bool negative = false; // never set together with a zero magnitude
    std::uint64_t magnitude = 0;
    bool operator==(const Fen &) const = default;
};

// The same capitals for an amount in fen (magnitude below 10^18).
std::u16string daxie(const Fen &amount);

// The capitals of an amount's magnitude (no 负), without allocating: at most 16 digits with their
// units, 圆, two fraction digits with theirs.
struct AmountCapitals {
    std::array<char16_t, 48> c{};
    int n = 0;
    std::u16string_view view() const { return {c.data(), static_cast<std::size_t>(n)}; }
};
AmountCapitals capitalsOf(const Fen &amount);

// `money` rounded to fen as daxie rounds it; nullopt beyond its limit.
std::optional<Fen> toFen(const Decimal &money);

// The amount as a number with two decimals: 1005.50, -5.00, 0.00.
std::string amountText(const Fen &amount);

// The capitals as banks want them written: 壹拾 where they would start with 拾 (a lone 拾 is
// easily altered: 壹拾陆元整, not 拾陆圆整), 万 and 亿 for 萬 and 億, and the yuan written `yuan`
// (元 or 圆).
std::u16string bankStyle(std::u16string capitals, char16_t yuan);
std::optional<std::u16string> bankCapitals(const Decimal &money, char16_t yuan);

// The capitals of the number that `money` starts with, read by the leading-number rules.
std::optional<std::u16string> daxie(std::u16string_view money);

// An amount too large is refused with MessageId::AmountTooLarge, under this title in the window.
inline constexpr std::u16string_view kAmountLimitTitle = u"错误提示";

// What the amount command does with a workspace text: the capitals of the amount it holds (see
// amount_number.h), or a refusal: no amount or more than one, or AmountTooLarge.
Outcome<std::u16string> amountCommandText(std::u16string_view workspace);

} // namespace core
