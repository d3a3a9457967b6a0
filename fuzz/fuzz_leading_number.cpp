// The leading-number reading: no crash or hang on any text, the exact value in normal form, the
// float reading consistent with it.

#include "core/number.h"
#include "fuzz_support.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::u16string text = fuzz::units(data, size);
    const core::Decimal d = core::readLeadingDecimal(text);
    fuzz::check(d.digits.empty() || (d.digits.front() != '0' && d.digits.back() != '0'), "normal form");
    for (char c : d.digits)
        fuzz::check(c >= '0' && c <= '9', "digits only");
    fuzz::check(d.point <= core::kExponentClamp && d.point >= -core::kExponentClamp,
                "point within the clamp");
    const auto v = core::readLeadingNumber(text);
    if (v) {
        fuzz::check(std::isfinite(*v), "a value is finite");
        fuzz::check(d.isZero() == (*v == 0) || std::fabs(*v) < 1e-300, "zero agrees");
        const std::string general = core::generalText(*v);
        fuzz::check(!general.empty() && general.size() < 32, "general text is short");
    }
    // The same text read as bytes gives the same value where it is ASCII.
    std::string narrow;
    bool ascii = true;
    for (char16_t c : text) {
        ascii = ascii && c < 0x80;
        narrow += static_cast<char>(c & 0x7F);
    }
    if (ascii)
        fuzz::check(core::readLeadingDecimal(narrow) == d, "UTF-16 and byte readings agree");
    return 0;
}
