#pragma once

// Capitals read back to the amount they state, as a cashier checks a cheque.
//
// A text is read only when it is a well-formed writing of its amount: what daxie writes for that
// amount, or the same with the variants the bill rules allow:
//   - 元 for 圆, 万 for 萬, 亿 for 億, 正 for 整;
//   - a 人民币 prefix (before or after 负);
//   - 壹拾 at the start for 10 to 19 (壹拾伍圆整 as well as 拾伍圆整);
//   - no 整 after 角 (壹仟零伍圆伍角);
//   - a 零 between 圆 and 角 when the units digit is 0 (壹仟陆佰捌拾圆零叁角贰分);
//   - 零圆整 for zero, beside 整.
// Blanks (space, tab, U+3000) around the text are ignored. Anything else is refused with the
// position of the first problem, so that a text one stroke away from a real amount is never read
// as some other amount.

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
    std::u16string message; // when not the same: what the capitals say instead of the number
};
Outcome<AmountCheck> checkAmountCapitals(const Decimal &number, std::u16string_view capitals);

} // namespace core
