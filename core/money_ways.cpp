#include "core/money_ways.h"

#include "core/amount.h"
#include "core/amount_number.h"
#include "core/amount_reading.h"
#include "core/bill_date.h"
#include "core/numerals.h"

namespace core {

Outcome<std::u16string> moneyWayText(MoneyWay way, std::u16string_view workspace) {
    using Text = Outcome<std::u16string>;
    switch (way) {
    case MoneyWay::Bank:
    case MoneyWay::BankRound: {
        const auto amount = readAmountNumber(workspace);
        if (!amount)
            return {std::nullopt, amount.refusal};
        auto capitals = bankCapitals(*amount.value, way == MoneyWay::Bank ? u'元' : u'圆');
        if (!capitals)
            return Text::refused(0, Message(MessageId::AmountTooLarge));
        return Text::ok(std::move(*capitals));
    }
    case MoneyWay::BillDate:
        return billDateText(workspace);
    case MoneyWay::ReadBack: {
        const auto read = readAmountCapitals(workspace);
        if (!read)
            return {std::nullopt, read.refusal};
        const std::string text = amountText(*read.value);
        return Text::ok(std::u16string(text.begin(), text.end()));
    }
    case MoneyWay::Numerals:
    case MoneyWay::CapitalNumerals: {
        const auto number = readAmountNumber(workspace);
        if (!number)
            return {std::nullopt, number.refusal};
        return chineseNumerals(*number.value,
                               way == MoneyWay::Numerals ? NumeralDigits::Ordinary : NumeralDigits::Capital);
    }
    }
    return Text::refused(0, Message(MessageId::UnknownMoneyWay));
}

} // namespace core
