#include "text_convert.h"

#include <algorithm>

namespace core {

std::u16string mapCodePoints(std::u16string_view str, const CodePointMap &mapping) {
    std::u16string out;
    out.resize(str.size() + str.size() / 8 + 2);
    std::size_t w = 0;
    const std::size_t n = str.size();
    for (std::size_t i = 0; i < n;) {
        const char32_t c = nextCodePoint(str, i);
        if (w + 2 > out.size())
            out.resize(out.size() * 2 + 2);
        // A lone surrogate is not a code point; it stays as it is.
        const char32_t m = isSurrogate(c) ? c : mapping(c);
        w = static_cast<std::size_t>(putUtf16(m, out.data() + w) - out.data());
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
    // Whatever the mapping, one input byte gives at most four output bytes (ASCII -> U+10000 up).
    const std::size_t base = out.size();
    out.resize(base + 4 * in.size() + 8);
    auto *o = reinterpret_cast<unsigned char *>(out.data()) + base;
    auto *const o0 = o;
    const Utf8DecodeResult result = putEachCodePoint(
        in, final, o, [&mapping](char32_t c, unsigned char *at) { return encodeCodePoint(mapping(c), at); });
    out.resize(base + static_cast<std::size_t>(o - o0));
    return result;
}

} // namespace core
