#pragma once

// Capitals read back to the amount they state, as a cashier checks a cheque.
//
// A text is read only when it is a well-formed writing of its amount: what daxie writes for that
// amount, or the same with the variants the bill rules allow:
//   - 元 for 圆, 万 for 萬, 亿 for 億, 正 for 整;
//   - a label before the capitals, skipped as a label before a number is: 人民币（大写）：, 大写：,
//     人民币 (before or after 负); a label that ends in a numeral, a digit or a minus is refused,
//     since that may be a part of the amount (九拾伍元整, -壹仟元整);
//   - 壹拾 at the start for 10 to 19 (壹拾伍圆整 as well as 拾伍圆整);
//   - no 整 after 角 (壹仟零伍圆伍角);
//   - one 零 or none where a run of zeros takes in the units place of 圆, 萬 or 億 and the digit
//     after it heads the group below: 壹拾萬柒仟圆 and 壹拾萬零柒仟圆 (107000), 壹仟陆佰捌拾圆叁角
//     and 壹仟陆佰捌拾圆零叁角 (1680.3), 壹億零柒仟圆 and 壹億柒仟圆 (100007000);
//   - below one yuan, 零圆 first (零圆伍角, 零圆零壹分) or, below one jiao, no 零 (壹分 beside 零壹分);
//   - 零圆整 for zero, beside 整.
// Blanks (space, tab, U+3000) around the text are ignored. Anything else is refused with the
// position of the first problem, so that a text one stroke away from a real amount is never read
// as some other amount; a refusal that knows the amount says how to write it, in the text's own
// characters (元 or 圆, 万 or 萬, 亿 or 億, 正 or 整).

#include "core/amount.h"
#include "core/number.h"
#include "core/refusal.h"

#include <string_view>

namespace core {

// The amount the capitals state, or why they are not a well-formed amount.
Outcome<Fen> readAmountCapitals(std::u16string_view text);

// Whether `capitals` state the amount `number` (rounded to fen as daxie rounds it).
struct AmountCheck {
    bool same = false;
    Fen stated;             // what the capitals say
    Message message; // when not the same: what the capitals say instead of the number
};
Outcome<AmountCheck> checkAmountCapitals(const Decimal &number, std::u16string_view capitals);

} // namespace core
