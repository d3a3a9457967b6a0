// The amount command and daxie: either a refusal that says why, or a text made only of the capital
// characters (with 负 first for a negative amount), ending in 整 or 分.

#include "core/amount.h"
#include "core/amount_number.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::u16string text = fuzz::units(data, size);
    const auto capitals = core::amountCommandText(text);
    if (!capitals) {
        fuzz::check(!capitals.refusal.message.empty(), "a refusal says why");
        return 0;
    }
    static constexpr std::u16string_view kCapitals = u"零壹贰叁肆伍陆柒捌玖拾佰仟萬億圆角整分";
    std::u16string_view body = *capitals.value;
    if (!body.empty() && body.front() == u'负')
        body.remove_prefix(1);
    fuzz::check(!body.empty(), "never empty");
    for (char16_t c : body)
        fuzz::check(kCapitals.find(c) != std::u16string_view::npos, "capitals only");
    fuzz::check(body.back() == u'整' || body.back() == u'分', "ends in 整 or 分");
    fuzz::check(body.size() <= 40, "at most 16 digits with their units");
    // A minus comes from the text: a sign or parentheses that read as one, never from nowhere.
    if (body.size() != capitals.value->size())
        fuzz::check(text.find_first_of(u"-\u2212\uFF0D负負(（") != std::u16string::npos,
                    "a minus only from a sign");
    // What is refused is refused by every way that writes the amount.
    fuzz::check(core::readAmountNumber(text).value.has_value(), "the amount is read");
    return 0;
}
