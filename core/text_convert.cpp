#include "text_convert.h"

#include <algorithm>

namespace core {

std::u16string mapCodePoints(std::u16string_view str, const CodePointMap &mapping) {
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

std::u16string JToF(std::u16string_view str, const CodePointMap &simplifiedToTraditional) {
    return mapCodePoints(str, simplifiedToTraditional);
}

std::u16string FToJ(std::u16string_view str, const CodePointMap &traditionalToSimplified) {
    return mapCodePoints(str, traditionalToSimplified);
}

std::u16string upperCaseText(std::u16string_view str, const CodePointMap &toUpper) {
    return mapCodePoints(str, toUpper);
}

std::u16string lowerCaseText(std::u16string_view str, const CodePointMap &toLower) {
    return mapCodePoints(str, toLower);
}

} // namespace core

namespace core {

Utf8DecodeResult mapUtf8(std::string_view in, const CodePointMap &mapping, std::string &out, bool final) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    // Whatever the mapping, one input byte gives at most four output bytes (ASCII -> U+10000 up).
    const std::size_t base = out.size();
    out.resize(base + 4 * n + 8);
    auto *o = reinterpret_cast<unsigned char *>(out.data()) + base;
    auto *const o0 = o;
    std::size_t i = 0;
    Utf8DecodeResult result{n, true};
    while (i < n) {
        const unsigned char b0 = s[i];
        char32_t c;
        std::size_t len;
        if (b0 < 0x80) {
            c = b0;
            len = 1;
        } else if (b0 >= 0xE0 && b0 <= 0xEF && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 &&
                   (s[i + 2] & 0xC0) == 0x80 && !(b0 == 0xE0 && s[i + 1] < 0xA0) &&
                   !(b0 == 0xED && s[i + 1] > 0x9F)) {
            // The common case of Chinese text, checked inline.
            c = (char32_t(b0 & 0x0F) << 12) | (char32_t(s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            len = 3;
        } else {
            const int got = decodeUtf8Sequence(s + i, n - i, c);
            if (got <= 0) {
                // Invalid here, or a sequence cut by the end of a chunk (fine unless final).
                result = {i, got == 0 && !final};
                break;
            }
            len = static_cast<std::size_t>(got);
        }
        c = mapping(c);
        o = encodeCodePoint(c, o);
        i += len;
    }
    out.resize(base + static_cast<std::size_t>(o - o0));
    return result;
}

} // namespace core
