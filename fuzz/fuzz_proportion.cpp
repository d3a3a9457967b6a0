// The calculator: the result-box text of any three boxes, the values of any input line, and the copy
// of any result-box text.

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
    // A line's values lie in the line, hold no separator, and are at most one more than its commas
    // and blanks.
    const auto fields = core::proportionFields(text);
    std::size_t separators = 0;
    for (char16_t u : text)
        separators += u == u' ' || u == u'\t' || u == u',';
    fuzz::check(fields.size() <= separators + 1, "no more values than separators allow");
    for (const std::u16string_view field : fields) {
        fuzz::check(field.empty() || (field.data() >= text.data() && field.data() + field.size() <= text.data() + text.size()),
                    "a value lies in the line");
        fuzz::check(field.find_first_of(u" \t,") == std::u16string_view::npos, "a value holds no separator");
    }
    if (fields.size() == 3) {
        const core::Proportion p = core::proportion(fields[0], fields[1], fields[2]);
        fuzz::check(!p.d || core::isNumberText(*p.d), "a line's result is a number");
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
