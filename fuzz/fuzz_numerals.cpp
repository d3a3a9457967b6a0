// Chinese numerals and bill dates: the readers never crash, refuse with a position inside the
// text, and what they accept round-trips.
//   - An accepted numerals text is exactly the writing (in one digit style) of the value read,
//     两 (or 兩) standing for the 二 it is read as.
//   - The number the bytes start with, when it can be written, reads back from its writing.
//   - A found date exists, has capitals, and is found again in its plain form.
//   - decimalText reads back as the same value.

#include "core/bill_date.h"
#include "core/numerals.h"
#include "fuzz_support.h"

#include <cstdio>

namespace {

core::Decimal withoutNegativeZero(core::Decimal d) {
    if (d.isZero())
        d.negative = false;
    return d;
}

// The blanks the reader trims around a text, line breaks included.
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r' || c == u'\n';
}

void checkNumeralsReader(std::u16string_view text) {
    const auto r = core::readChineseNumerals(text);
    if (!r) {
        fuzz::check(r.refusal.position <= fuzz::codePoints(text), "numerals refusal inside the text");
        fuzz::check(!r.refusal.message.empty(), "numerals refusal says why");
        return;
    }
    std::u16string normal;
    for (char16_t c : text)
        if (!isBlank(c))
            normal += c == u'萬' ? u'万' : c == u'億' ? u'亿' : c == u'〇' ? u'零' : (c == u'两' || c == u'兩') ? u'二' : c;
    const auto ordinary = core::chineseNumerals(*r.value, core::NumeralDigits::Ordinary);
    const auto capital = core::chineseNumerals(*r.value, core::NumeralDigits::Capital);
    fuzz::check(ordinary && capital, "an accepted value can be written");
    fuzz::check(*ordinary.value == normal || *capital.value == normal, "accepted numerals are a writing");
    fuzz::check(!(r.value->isZero() && r.value->negative), "no negative zero");
}

void checkNumeralsWriter(std::u16string_view text) {
    const core::Decimal number = core::readLeadingDecimal(text);
    for (const auto digits : {core::NumeralDigits::Ordinary, core::NumeralDigits::Capital}) {
        const auto written = core::chineseNumerals(number, digits);
        if (!written)
            return;
        const auto back = core::readChineseNumerals(*written.value);
        fuzz::check(back && *back.value == withoutNegativeZero(number), "numerals read back");
    }
}

void checkBillDate(std::u16string_view text) {
    const auto r = core::findBillDate(text);
    if (!r) {
        fuzz::check(r.refusal.position <= fuzz::codePoints(text), "date refusal inside the text");
        fuzz::check(!r.refusal.message.empty(), "date refusal says why");
        return;
    }
    const core::BillDate d = *r.value;
    fuzz::check(core::billDateExists(d), "a found date exists");
    fuzz::check(!core::billDateCapitals(d).empty(), "a found date has capitals");
    char plain[32];
    std::snprintf(plain, sizeof plain, "%04d-%02d-%02d", d.year, d.month, d.day);
    const std::u16string again(plain, plain + std::char_traits<char>::length(plain));
    const auto found = core::findBillDate(again);
    fuzz::check(found && *found.value == d, "a found date is found in its plain form");
}

void checkDecimalText(std::u16string_view text) {
    const core::Decimal number = withoutNegativeZero(core::readLeadingDecimal(text));
    if (number.point > 10000 || number.point < -10000)
        return; // long plain texts are slow, not interesting
    fuzz::check(core::readLeadingDecimal(core::decimalText(number)) == number, "decimalText reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::u16string text = fuzz::units(data, size);
    checkNumeralsReader(text);
    checkNumeralsWriter(text);
    checkBillDate(text);
    checkDecimalText(text);
    return 0;
}
