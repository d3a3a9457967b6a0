// Capitals read back: any text is either refused with a position inside it (or 0), or read as an
// amount whose own capitals, in both styles, read back as the same amount.

#include "core/amount_reading.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::u16string text = fuzz::units(data, size);
    const auto read = core::readAmountCapitals(text);
    if (!read) {
        fuzz::check(read.refusal.position <= text.size() + 1, "the position lies in the text or just after it");
        fuzz::check(!read.refusal.message.empty(), "a refusal says why");
        return 0;
    }
    const core::Fen amount = *read.value;
    fuzz::check(amount.magnitude < 1'000'000'000'000'000'000ull, "below the limit");
    fuzz::check(!(amount.negative && amount.magnitude == 0), "no negative zero");
    const auto again = core::readAmountCapitals(core::daxie(amount));
    fuzz::check(again && *again.value == amount, "its capitals read back");
    const std::u16string bank = core::bankStyle(core::daxie(amount), u'元');
    const auto bankAgain = core::readAmountCapitals(bank);
    fuzz::check(bankAgain && *bankAgain.value == amount, "its bank capitals read back");
    const auto labelled = core::readAmountCapitals(u"人民币（大写）：" + bank);
    fuzz::check(labelled && *labelled.value == amount, "a label before them is skipped");
    return 0;
}
