#include "phrase_stream.h"

#include "core/utf.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define LANTERNFIN_UTF8_SSSE3 1
#endif

namespace platform {

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

Utf8Prefix validUtf8Prefix(std::string_view in, bool final) {
    const auto s = reinterpret_cast<const unsigned char *>(in.data());
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
        const unsigned b = s[i];
        if (b < 0x80) {
            ++i;
            // Eight ASCII bytes at a time.
            std::uint64_t w;
            while (i + 8 <= n && (std::memcpy(&w, s + i, 8), (w & 0x8080808080808080ull) == 0))
                i += 8;
            continue;
        }
        // Three-byte sequences (all of CJK) checked in place: continuation bytes, no overlong form,
        // no surrogate.
        if (b >= 0xE0 && b <= 0xEF && i + 2 < n) {
            const unsigned b1 = s[i + 1], b2 = s[i + 2];
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && (b != 0xE0 || b1 >= 0xA0) &&
                (b != 0xED || b1 < 0xA0)) {
                i += 3;
                continue;
            }
        }
        char32_t cp;
        const int len = core::decodeUtf8Sequence(s + i, n - i, cp);
        if (len > 0) {
            i += static_cast<std::size_t>(len);
        } else if (len == 0 && !final) {
            return {i, true};
        } else {
            return {i, false};
        }
    }
    return {i, true};
}

namespace {

// Where `text` may be cut in two for converting the halves apart: just after the line break
// nearest its middle; 0 when it holds none.
std::size_t lineCutNearMiddle(std::string_view text) {
    const std::size_t mid = text.size() / 2;
    if (const void *nl = std::memchr(text.data() + mid, '\n', text.size() - mid))
        return static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
    if (const void *nl = memrchr(text.data(), '\n', mid))
        return static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
    return 0;
}

} // namespace

StreamResult convertStream(const core::PhraseConverter &converter, const StreamRead &read,
                           const StreamWrite &write, std::size_t block) {
    // When lines convert on their own, a block is cut at a line break and its first part converted
    // on a second thread while this one converts the rest.
    const bool twoThreads = converter.linesConvertAlone() && std::thread::hardware_concurrency() >= 2;
    // The text is the first `held` bytes of `space` (`room` bytes, left uncleared), so that a block
    // is read into memory already there rather than into bytes cleared first.
    std::unique_ptr<char[]> space;
    std::size_t room = 0, held = 0;
    std::string firstOut, converted;
    std::size_t start = 0; // bytes of the text already converted
    for (;;) {
        // Keep the unconverted rest, then read a block after it; at least as much as was kept, so
        // that text which cannot be cut yet is not scanned again and again.
        if (start > 0 && held > start)
            std::memmove(space.get(), space.get() + start, held - start);
        held -= start;
        start = 0;
        const std::size_t had = held;
        const std::size_t want = std::max(block, had);
        if (room < had + want) {
            // With some slack, as what is kept from one block to the next varies a little.
            room = had + want + (had + want) / 8;
            std::unique_ptr<char[]> bigger(new char[room]);
            if (had > 0)
                std::memcpy(bigger.get(), space.get(), had);
            space = std::move(bigger);
        }
        std::size_t got = 0;
        bool final = false;
        while (got < want) {
            const long n = read(space.get() + had + got, want - got);
            if (n < 0)
                return StreamResult::ReadError;
            if (n == 0) {
                final = true;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        held = had + got;
        const std::string_view buf(space.get(), held);

        const std::size_t cut =
            twoThreads && buf.size() >= (std::size_t(1) << 16) ? lineCutNearMiddle(buf) : 0;
        Utf8Prefix firstPrefix;
        firstOut.clear();
        std::thread first;
        if (cut) {
            first = std::thread([&] {
                const std::string_view part = buf.substr(0, cut);
                firstPrefix = validUtf8Prefix(part, true);
                converter.convert(part.substr(0, firstPrefix.valid), firstOut, true);
            });
        }
        const std::string_view rest = buf.substr(cut);
        const Utf8Prefix prefix = validUtf8Prefix(rest, final);
        converted.clear();
        const std::size_t done =
            converter.convert(rest.substr(0, prefix.valid), converted, final || !prefix.ok);
        if (cut) {
            first.join();
            if (!write(firstOut))
                return StreamResult::WriteError;
            if (!firstPrefix.ok)
                return StreamResult::InvalidUtf8;
        }
        start = cut + done;
        if (!write(converted))
            return StreamResult::WriteError;
        if (!prefix.ok)
            return StreamResult::InvalidUtf8;
        if (final)
            return StreamResult::Ok;
    }
}

StreamResult convertStream(const core::PhraseConverter &converter, std::FILE *in, std::FILE *out,
                           std::size_t block) {
    const StreamResult result = convertStream(
        converter,
        [in](char *data, std::size_t n) -> long {
            const std::size_t got = std::fread(data, 1, n, in);
            return got == 0 && std::ferror(in) ? -1 : static_cast<long>(got);
        },
        [out](std::string_view bytes) {
            return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        },
        block);
    if (std::fflush(out) != 0 && result == StreamResult::Ok)
        return StreamResult::WriteError;
    return result;
}

} // namespace platform
