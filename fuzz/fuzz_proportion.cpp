// The calculator: the result-box text of any three boxes, and the copy of any result-box text.

#include "core/proportion.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::u16string text = fuzz::units(data, size);
    // Three boxes separated by U+0001.
    const auto p1 = text.find(u'\x01');
    const auto p2 = p1 == std::u16string::npos ? p1 : text.find(u'\x01', p1 + 1);
    const std::u16string_view all = text;
    const auto a = all.substr(0, p1);
    const auto b = p1 == std::u16string::npos ? std::u16string_view() : all.substr(p1 + 1, p2 - p1 - 1);
    const auto c = p2 == std::u16string::npos ? std::u16string_view() : all.substr(p2 + 1);
    if (const auto d = core::proportionText(a, b, c)) {
        fuzz::check(!d->empty() && (d->front() == u' ' || d->front() == u'-'), "sign-reserving text");
        fuzz::check(core::isNumberText(*d), "the result box always holds a number");
        for (int wei = 0; wei <= 2; ++wei)
            fuzz::check(core::roundedCopyText(*d, wei).has_value(), "a result can always be copied");
    }
    for (int wei = 0; wei <= 2; ++wei) {
        const auto copied = core::roundedCopyText(text, wei);
        fuzz::check(!copied || core::isNumberText(text), "only numbers are copied");
        if (copied) {
            fuzz::check(core::isNumberText(*copied), "the copy is a number");
            fuzz::check(copied->size() <= 24, "general text is short");
        }
    }
    return 0;
}
