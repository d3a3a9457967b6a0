#include "text_convert.h"

namespace core {

std::u16string mapCodePoints(std::u16string_view str, const CodePointMap& mapping) {
    std::u16string out;
    out.resize(str.size() + str.size() / 8 + 2);
    std::size_t w = 0;
    const std::size_t n = str.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = str[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && str[i + 1] >= 0xDC00 && str[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (str[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // A lone surrogate is not a code point; it stays as it is.
            if (w + 2 > out.size())
                out.resize(out.size() * 2 + 2);
            out[w++] = static_cast<char16_t>(c);
            continue;
        }
        const char32_t m = mapping(c);
        if (w + 2 > out.size())
            out.resize(out.size() * 2 + 2);
        if (m >= 0x10000) {
            out[w++] = static_cast<char16_t>(0xD800 + ((m - 0x10000) >> 10));
            out[w++] = static_cast<char16_t>(0xDC00 + ((m - 0x10000) & 0x3FF));
        } else {
            out[w++] = static_cast<char16_t>(m);
        }
    }
    out.resize(w);
    return out;
}

std::u16string JToF(std::u16string_view str, const CodePointMap& simplifiedToTraditional) {
    return mapCodePoints(str, simplifiedToTraditional);
}

std::u16string FToJ(std::u16string_view str, const CodePointMap& traditionalToSimplified) {
    return mapCodePoints(str, traditionalToSimplified);
}

std::u16string upperCaseText(std::u16string_view str, const CodePointMap& toUpper) {
    return mapCodePoints(str, toUpper);
}

std::u16string lowerCaseText(std::u16string_view str, const CodePointMap& toLower) {
    return mapCodePoints(str, toLower);
}

} // namespace core
