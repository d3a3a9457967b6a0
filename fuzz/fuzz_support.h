#pragma once

// Helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// The fuzzer's bytes as UTF-16 units, two bytes each, so that every unit (NUL, lone surrogate
// halves, anything) can occur.
inline std::u16string units(const std::uint8_t *data, std::size_t size) {
    std::u16string s(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2)
        s[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return s;
}

// Fails the run with a message when an invariant does not hold.
inline void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The number of code points of UTF-16 text, a lone surrogate counting as one.
inline std::size_t codePoints(std::u16string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++n)
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
            ++i;
    return n;
}

} // namespace fuzz
