#pragma once

// UTF-8 <-> UTF-16 for the command-line companion, strict on input.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// Decodes UTF-8 into `out` (appended). Rejects overlong forms, surrogates, values above
// U+10FFFF and truncated sequences. Returns the number of bytes consumed: all of them on success;
// on a bad byte, the offset of the sequence that is bad. When `final` is false, a sequence that
// is cut by the end of `in` is not an error: decoding stops before it and the caller passes those
// bytes again with the next chunk.
struct Utf8DecodeResult {
    std::size_t consumed = 0;
    bool ok = true;
};
Utf8DecodeResult decodeUtf8(std::string_view in, std::u16string &out, bool final = true);

// Decodes the one UTF-8 sequence at the start of `s` (`avail` bytes, at least 1) into `cp`.
// Returns its length, 0 when it is cut by the end of the bytes but could still become valid, or
// -1 when it is invalid.
int decodeUtf8Sequence(const unsigned char *s, std::size_t avail, char32_t &cp);

// Whether `in` is valid UTF-8 (the rules of decodeUtf8).
bool isValidUtf8(std::string_view in);

// Writes the UTF-8 form of code point `c` (not a surrogate, at most U+10FFFF) at `out`, which has
// room for four bytes; returns the position after it.
inline unsigned char *encodeCodePoint(char32_t c, unsigned char *out) {
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The whole of `in` as UTF-16, or nullopt when it is not valid UTF-8.
std::optional<std::u16string> utf8ToUtf16(std::string_view in);

// Appends the UTF-8 form of `in`. A lone surrogate, which has no UTF-8 form, becomes U+FFFD.
void encodeUtf8(std::u16string_view in, std::string &out);
std::string utf16ToUtf8(std::u16string_view in);

} // namespace core
