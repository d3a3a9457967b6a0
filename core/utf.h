#pragma once

// The UTF-8 and UTF-16 toolkit every text path shares: surrogate helpers, one step decoder for the
// fast loops, the validity check, and strict decoding and encoding between the two forms.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// --- UTF-16 surrogates ---------------------------------------------------------------------------

constexpr bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
constexpr bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// The code point of a high and a low surrogate (both checked by the caller).
constexpr char32_t combineSurrogates(char32_t high, char32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// The two units of a code point from U+10000 up.
constexpr char16_t highSurrogateOf(char32_t c) { return static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)); }
constexpr char16_t lowSurrogateOf(char32_t c) { return static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)); }

// The code point at in[i] (i < in.size()), a surrogate pair read as one; `i` moves past it. A lone
// surrogate comes back as itself, one unit long.
inline char32_t nextCodePoint(std::u16string_view in, std::size_t &i) {
    const char32_t c = in[i++];
    if (isHighSurrogate(c) && i < in.size() && isLowSurrogate(in[i]))
        return combineSurrogates(c, in[i++]);
    return c;
}

// Writes code point `c` (at most U+10FFFF) as one or two UTF-16 units at `out`; returns the
// position after them.
inline char16_t *putUtf16(char32_t c, char16_t *out) {
    if (c >= 0x10000) {
        *out++ = highSurrogateOf(c);
        *out++ = lowSurrogateOf(c);
    } else {
        *out++ = static_cast<char16_t>(c);
    }
    return out;
}
inline void appendUtf16(char32_t c, std::u16string &out) {
    char16_t units[2];
    out.append(units, static_cast<std::size_t>(putUtf16(c, units) - units));
}

// --- UTF-8 ---------------------------------------------------------------------------------------

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

// The one step of every UTF-8 loop: decodes the sequence at the start of `s` (`avail` bytes, at
// least 1) into `cp` with the results of decodeUtf8Sequence. ASCII and the three-byte sequences of
// Chinese text are decoded here inline, with the same checks (no overlong form, no surrogate).
inline int stepUtf8(const unsigned char *s, std::size_t avail, char32_t &cp) {
    const unsigned char b0 = s[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF && avail >= 3 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80 &&
        !(b0 == 0xE0 && s[1] < 0xA0) && !(b0 == 0xED && s[1] > 0x9F)) {
        cp = (char32_t(b0 & 0x0F) << 12) | (char32_t(s[1] & 0x3F) << 6) | (s[2] & 0x3F);
        return 3;
    }
    return decodeUtf8Sequence(s, avail, cp);
}

// The one loop over UTF-8: calls `each(cp)` for every code point of `in` in order. Stops at an
// invalid sequence, or (unless `final`) before a sequence cut by the end of `in`, with the results
// of decodeUtf8.
template <class Each> Utf8DecodeResult forEachCodePoint(std::string_view in, bool final, Each &&each) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        char32_t cp;
        const int len = stepUtf8(s + i, n - i, cp);
        if (len <= 0)
            return {i, len == 0 && !final};
        each(cp);
        i += static_cast<std::size_t>(len);
    }
    return {n, true};
}

// The same loop for a writer into bytes: `put(cp, p)` writes at `p` and returns the position after
// it; `out` ends after the last write. (The position lives in a local here, not behind a reference,
// so that writes through it need not reload it.)
template <class Out, class Put>
Utf8DecodeResult putEachCodePoint(std::string_view in, bool final, Out &out, Put &&put) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    Out p = out;
    Utf8DecodeResult result{n, true};
    for (std::size_t i = 0; i < n;) {
        char32_t cp;
        const int len = stepUtf8(s + i, n - i, cp);
        if (len <= 0) {
            result = {i, len == 0 && !final};
            break;
        }
        p = put(cp, p);
        i += static_cast<std::size_t>(len);
    }
    out = p;
    return result;
}

// Whether `in` is valid UTF-8 (the rules of decodeUtf8).
bool isValidUtf8(std::string_view in);

// `in` safe to print on a terminal, for a file name in a message: control characters (C0, DEL,
// C1) and bytes that are not UTF-8 as \xHH, a backslash as \\, the rest as it is. A name made
// to hold an escape sequence or a line break then can neither drive the terminal nor pass for
// another line of output. "a\nb" -> "a\x0ab", "bad\xff" -> "bad\xff", "报告" -> "报告".
std::string escapedForTerminal(std::string_view in);

// The longest prefix of `in` that is valid UTF-8 (`consumed` bytes) and, unless `final`, does not
// end inside a sequence that bytes to come could complete; `ok` false when a bad byte follows it.
// Long texts are checked 64 bytes at a time with SIMD where the processor has it.
Utf8DecodeResult validUtf8Prefix(std::string_view in, bool final);

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

// Appends the UTF-8 form of code point `c` (not a surrogate, at most U+10FFFF) to `out`.
inline void appendUtf8(char32_t c, std::string &out) {
    unsigned char b[4];
    out.append(reinterpret_cast<const char *>(b), static_cast<std::size_t>(encodeCodePoint(c, b) - b));
}

// The whole of `in` as UTF-16, or nullopt when it is not valid UTF-8.
std::optional<std::u16string> utf8ToUtf16(std::string_view in);

// Appends the UTF-8 form of `in`. A lone surrogate, which has no UTF-8 form, becomes U+FFFD.
void encodeUtf8(std::u16string_view in, std::string &out);
std::string utf16ToUtf8(std::u16string_view in);

} // namespace core
