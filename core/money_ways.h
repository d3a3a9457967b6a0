#pragma once

// The ways of the amount button beside its own capitals, each from the workspace text to the text
// that replaces it, or a refusal that leaves the workspace as it was.

#include "core/refusal.h"

#include <string>
#include <string_view>

namespace core {

enum class MoneyWay {
    Bank,            // the amount (as the amount command reads it) in the bank style with 元: 壹拾陆元整
    BankRound,       // the same with 圆: 壹拾陆圆整
    BillDate,        // the first date as a bill's date: 贰零贰陆年壹拾贰月零柒日
    ReadBack,        // capitals read back to the amount: 1005.50
    Numerals,        // the amount in Chinese numerals: 一千零五点五
    CapitalNumerals, // the same in capital digits: 壹仟零伍点伍
};

Outcome<std::u16string> moneyWayText(MoneyWay way, std::u16string_view workspace);

} // namespace core
