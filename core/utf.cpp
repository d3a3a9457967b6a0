#include "utf.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define LANTERNFIN_UTF8_SSSE3 1
#endif

namespace core {

int decodeUtf8Sequence(const unsigned char *s, std::size_t avail, char32_t &cp) {
    const unsigned char b0 = s[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return -1;
    }
    std::size_t k = 1;
    for (; k < len && k < avail; ++k) {
        const unsigned char b = s[k];
        if ((b & 0xC0) != 0x80)
            return -1;
        // Overlong forms, surrogates and values above U+10FFFF show at the second byte, so a
        // prefix that can never become valid is not mistaken for a cut one.
        if (k == 1 && ((b0 == 0xE0 && b < 0xA0) || (b0 == 0xED && b > 0x9F) || (b0 == 0xF0 && b < 0x90) ||
                       (b0 == 0xF4 && b > 0x8F)))
            return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (k < len)
        return 0;
    if (cp < min)
        return -1;
    return static_cast<int>(len);
}

Utf8DecodeResult decodeUtf8(std::string_view in, std::u16string &out, bool final) {
    return forEachCodePoint(in, final, [&out](char32_t cp) { appendUtf16(cp, out); });
}

namespace {

#ifdef LANTERNFIN_UTF8_SSSE3
// How far the 64-byte groups at the start of s[0, n) hold no fault that shows within them, checked
// 16 bytes at a time by table lookups on byte pairs (the lead's high and low nibble, the next byte's
// high nibble) plus a check that the bytes two and three after a 3- and 4-byte lead continue it.
// Stops at the first group with a fault or when fewer than 64 bytes are left; the caller takes over
// from there, going back to the start of a sequence cut by that point.
__attribute__((target("ssse3"))) std::size_t cleanGroups(const unsigned char *s, std::size_t n) {
    // One bit per kind of fault; a pair is bad when a bit is set in all three lookups.
    constexpr char tooShort = 1 << 0;  // a lead not followed by a continuation
    constexpr char tooLong = 1 << 1;   // a continuation after ASCII
    constexpr char overlong3 = 1 << 2; // E0 80..9F
    constexpr char tooLarge = 1 << 3;  // F4 90..BF, F5..FF
    constexpr char surrogate = 1 << 4; // ED A0..BF
    constexpr char overlong2 = 1 << 5; // C0, C1
    constexpr char tooLarge1000 = 1 << 6;
    constexpr char overlong4 = 1 << 6; // F0 80..8F
    constexpr char twoConts = static_cast<char>(1 << 7);
    constexpr char carry = tooShort | tooLong | twoConts;
    const __m128i lead_high = _mm_setr_epi8(
        tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, twoConts, twoConts,
        twoConts, twoConts, tooShort | overlong2, tooShort, tooShort | overlong3 | surrogate,
        tooShort | tooLarge | tooLarge1000 | overlong4);
    constexpr char big = carry | tooLarge | tooLarge1000;
    const __m128i lead_low = _mm_setr_epi8(carry | overlong3 | overlong2 | overlong4, carry | overlong2,
                                           carry, carry, carry | tooLarge, big, big, big, big, big, big,
                                           big, big, big | surrogate, big, big);
    constexpr char cont = tooLong | overlong2 | twoConts;
    const __m128i next_high = _mm_setr_epi8(
        tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,
        cont | overlong3 | tooLarge1000 | overlong4, cont | overlong3 | tooLarge, cont | surrogate | tooLarge,
        cont | surrogate | tooLarge, tooShort, tooShort, tooShort, tooShort);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i third = _mm_set1_epi8(static_cast<char>(0xE0 - 0x80));
    const __m128i fourth = _mm_set1_epi8(static_cast<char>(0xF0 - 0x80));
    const __m128i high = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i zero = _mm_setzero_si128();

    __m128i prev = zero;
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        __m128i err = zero;
        __m128i group_prev = prev;
        for (int k = 0; k < 4; ++k) {
            const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + 16 * k));
            const __m128i prev1 = _mm_alignr_epi8(in, group_prev, 15);
            const __m128i prev2 = _mm_alignr_epi8(in, group_prev, 14);
            const __m128i prev3 = _mm_alignr_epi8(in, group_prev, 13);
            const __m128i special = _mm_and_si128(
                _mm_and_si128(_mm_shuffle_epi8(lead_high, _mm_and_si128(_mm_srli_epi16(prev1, 4), nibble)),
                              _mm_shuffle_epi8(lead_low, _mm_and_si128(prev1, nibble))),
                _mm_shuffle_epi8(next_high, _mm_and_si128(_mm_srli_epi16(in, 4), nibble)));
            // Bytes two and three after a 3- or 4-byte lead must be continuations, and only they may
            // be a continuation after a continuation (twoConts).
            const __m128i must = _mm_and_si128(
                _mm_or_si128(_mm_subs_epu8(prev2, third), _mm_subs_epu8(prev3, fourth)), high);
            err = _mm_or_si128(err, _mm_xor_si128(must, special));
            group_prev = in;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(err, zero)) != 0xFFFF)
            break;
        prev = group_prev;
    }
    return i;
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

Utf8DecodeResult validUtf8Prefix(std::string_view in, bool final) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
#ifdef LANTERNFIN_UTF8_SSSE3
    if (n >= 64 && hasSsse3()) {
        i = cleanGroups(s, n);
        // Every byte pair before i is checked, but a sequence whose lead lies in the last three
        // bytes may go on past i: the byte-by-byte check below starts again at that lead.
        for (std::size_t back = 1; back <= 3 && back <= i; ++back) {
            const unsigned char b = s[i - back];
            if (b >= 0xC0) {
                i -= back;
                break;
            }
            if (b < 0x80)
                break;
        }
    }
#endif
    while (i < n) {
        if (s[i] < 0x80) {
            ++i;
            // Eight ASCII bytes at a time.
            std::uint64_t w;
            while (i + 8 <= n && (std::memcpy(&w, s + i, 8), (w & 0x8080808080808080ull) == 0))
                i += 8;
            continue;
        }
        char32_t cp;
        const int len = stepUtf8(s + i, n - i, cp);
        if (len <= 0)
            return {i, len == 0 && !final};
        i += static_cast<std::size_t>(len);
    }
    return {n, true};
}

std::string escapedForTerminal(std::string_view in) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(in.size());
    const auto escape = [&out](unsigned char byte) {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    };
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    for (std::size_t i = 0; i < in.size();) {
        char32_t cp;
        const int len = stepUtf8(s + i, in.size() - i, cp);
        if (len <= 0) {
            escape(s[i++]);
            continue;
        }
        if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F)) {
            for (int k = 0; k < len; ++k)
                escape(s[i + static_cast<std::size_t>(k)]);
        } else if (cp == '\\') {
            out += "\\\\";
        } else {
            out.append(in.substr(i, static_cast<std::size_t>(len)));
        }
        i += static_cast<std::size_t>(len);
    }
    return out;
}

bool isValidUtf8(std::string_view in) {
    return validUtf8Prefix(in, true).ok;
}

std::optional<std::u16string> utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    if (!decodeUtf8(in, out, true).ok)
        return std::nullopt;
    return out;
}

void encodeUtf8(std::u16string_view in, std::string &out) {
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (in[i] < 0x80) {
            out.push_back(static_cast<char>(in[i]));
            continue;
        }
        char32_t c = nextCodePoint(in, i);
        --i; // the loop steps past the last unit read
        if (isSurrogate(c))
            c = 0xFFFD;
        unsigned char bytes[4];
        const unsigned char *end = encodeCodePoint(c, bytes);
        out.append(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(end - bytes));
    }
}

std::string utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size() * 3);
    encodeUtf8(in, out);
    return out;
}

} // namespace core
