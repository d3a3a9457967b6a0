// Running a phrase converter over UTF-8 (in pieces or whole) and over UTF-16.

#include "phrase_convert.h"
#include "phrase_tables.h"

#include "utf.h"

#include <algorithm>
#include <immintrin.h>
#include <thread>

namespace core {
using namespace phrase;

namespace {

constexpr std::ptrdiff_t kLongRun = 1 << 16;

// Converts a prefix of `run`, gathered characters of which more follow, as far as the result
// cannot depend on what follows; returns its length (0 when there is no such prefix). Each step
// decides a match only where its longest key fits in what the step before has decided, and the
// prefix ends at a boundary that every step's matches share.
std::size_t convertDetermined(const PhraseConverter::Tables &t, std::string_view run, Writer &w) {
    // Places in the current text that are places in `run`: (position here, position in run).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> places, next;
    for (std::uint32_t i = 0; i <= run.size(); ++i)
        if (i == run.size() || (static_cast<unsigned char>(run[i]) & 0xC0) != 0x80)
            places.emplace_back(i, i);
    std::string cur(run), out;
    for (const RunStep &step : t.steps) {
        out.clear();
        next.clear();
        Writer sw(out, 0, cur.size());
        auto p = reinterpret_cast<const unsigned char *>(cur.data());
        const auto begin = p, e = p + cur.size();
        // A trie step decides where its longest key fits; a mapping everywhere.
        const std::size_t reach = step.isChar ? 0 : step.trie.nodes[0].reserved;
        std::size_t k = 0;
        auto note = [&](const unsigned char *at) {
            const auto pos = static_cast<std::uint32_t>(at - begin);
            while (k < places.size() && places[k].first < pos)
                ++k;
            if (k < places.size() && places[k].first == pos)
                next.emplace_back(static_cast<std::uint32_t>(sw.size()), places[k].second);
        };
        while (p < e && static_cast<std::size_t>(e - p) >= reach) {
            note(p);
            int len;
            const std::uint32_t c = decode(p, len);
            const Node *n = nullptr;
            const std::size_t mlen = step.isChar ? 0 : matchAt(step.trie, c, len, p, e, n);
            if (!mlen && isIdsOperator(c) && !(step.isChar && mapsChar(step.chars, c))) {
                bool incomplete = false;
                if (const std::size_t ids = idsLength(p, e, &incomplete)) {
                    sw.put(reinterpret_cast<const char *>(p), ids);
                    p += ids;
                    continue;
                }
                if (incomplete)
                    break;
            }
            if (mlen) {
                sw.put(t.pool + n->valOff, n->valLen);
                p += mlen;
            } else {
                if (step.isChar || step.hasThen)
                    putMapped(step.chars, t.pool, c, p, len, sw);
                else
                    sw.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(len));
                p += len;
            }
        }
        note(p);
        out.resize(sw.size());
        cur.swap(out);
        places.swap(next);
    }
    if (places.empty() || places.back().second == 0)
        return 0;
    w.put(cur.data(), places.back().first);
    return places.back().second;
}

} // namespace

bool PhraseConverter::linesConvertAlone() const {
    return m_tables->lineLocal;
}

namespace {

// The conversion of text that needs no normalization.
std::size_t convertNormalized(const PhraseConverter::Tables &t, std::string_view in, std::string &out,
                              bool final) {
    const auto begin = reinterpret_cast<const unsigned char *>(in.data());
    const auto e = begin + in.size();
    auto p = begin;
    // Without `final`, a key could still extend past the end of `in` from where fewer bytes than
    // the longest segmentation key are left.
    const std::size_t reserve = final ? 0 : t.segMaxBytes;
    Writer w(out, out.size(), in.size() + in.size() / 4);

    if (t.pure) {
        const CharMapView &chars = t.steps[0].chars;
        while (p<e &&static_cast<std::size_t>(e - p)> reserve) {
            if (*p < 0x80 && t.plainAscii[*p]) {
                w.put(static_cast<char>(*p++));
                continue;
            }
            int len;
            const std::uint32_t c = decode(p, len);
            const Node *n = nullptr;
            if (const std::size_t mlen = matchAt(t.seg, c, len, p, e, n)) {
                w.put(t.pool + n->valOff, n->valLen);
                p += mlen;
                continue;
            }
            if (isIdsOperator(c) && !mapsChar(chars, c)) [[unlikely]] {
                bool incomplete = false;
                if (const std::size_t ids = idsLength(p, e, &incomplete)) {
                    w.put(reinterpret_cast<const char *>(p), ids);
                    p += ids;
                    continue;
                }
                if (incomplete && !final)
                    break;
            }
            putMapped(chars, t.pool, c, p, len, w);
            p += len;
        }
        w.finish();
        return static_cast<std::size_t>(p - begin);
    }

    // The characters between segmentation keys are gathered and go through the steps together,
    // split at the characters that need no gathering. A first step that maps characters one by
    // one is applied while they are gathered; the last step writes to the output.
    const bool firstIsChar = t.steps[0].isChar;
    std::string gathered, a, b;
    Writer g(gathered, 0, 256);
    auto flush = [&] {
        if (g.size() == 0)
            return;
        std::string_view cur = g.written();
        for (std::size_t i = firstIsChar ? 1 : 0; i < t.steps.size(); ++i) {
            const bool last = i + 1 == t.steps.size();
            std::string &dst = (i % 2) ? b : a;
            Writer sw(dst, 0, cur.size());
            Writer &target = last ? w : sw;
            if (t.steps[i].isChar)
                applyChars(t.steps[i].chars, t.pool, cur, target);
            else
                applyTrie(t.steps[i].trie, t.steps[i].hasThen ? &t.steps[i].chars : nullptr, t.pool, cur,
                          target);
            cur = sw.written();
        }
        if (firstIsChar && t.steps.size() == 1)
            w.put(cur.data(), cur.size());
        g.reset();
    };
    auto runStart = p;
    int idsWindow = 0;
    while (p < e && e - p > static_cast<std::ptrdiff_t>(reserve)) {
        int len;
        const std::uint32_t c = decode(p, len);
        const Node *n = nullptr;
        if (const std::size_t mlen = matchAt(t.seg, c, len, p, e, n)) {
            flush();
            w.put(t.pool + n->valOff, n->valLen);
            p += mlen;
            runStart = p;
            idsWindow = 0;
            continue;
        }
        if (idsWindow == 0 && t.isDirect(c)) {
            flush();
            putMapped(t.directMap, t.pool, c, p, len, w);
            p += len;
            runStart = p;
            continue;
        }
        if (idsWindow)
            --idsWindow;
        if (isIdsOperator(c) && !(firstIsChar && mapsChar(t.steps[0].chars, c))) [[unlikely]] {
            // A description stays as it is through every step; the segment goes on around it.
            bool incomplete = false;
            if (const std::size_t ids = idsLength(p, e, &incomplete)) {
                g.put(reinterpret_cast<const char *>(p), ids);
                p += ids;
                continue;
            }
            if (incomplete && !final)
                break;
            // One that is not complete here may be completed by what a step writes after it: the
            // characters that follow stay in its segment.
            idsWindow = 64;
        }
        if (firstIsChar)
            putMapped(t.steps[0].chars, t.pool, c, p, len, g);
        else
            g.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(len));
        p += len;
    }
    if (final) {
        flush();
    } else {
        // A long stretch still gathered is converted up to a place that what follows cannot change,
        // so that memory stays bounded for a long line without keys.
        if (p - runStart >= kLongRun)
            runStart += convertDetermined(t,
                                          std::string_view(reinterpret_cast<const char *>(runStart),
                                                           static_cast<std::size_t>(p - runStart)),
                                          w);
        p = runStart;
    }
    w.finish();
    return static_cast<std::size_t>(p - begin);
}

// Whether `in` holds a character that normalization changes, by the first two bytes of each
// character; most texts hold none, and are passed over at memory speed.
bool needsNormalization(const PhraseConverter::Tables &t, std::string_view in) {
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    const std::uint64_t *lead = t.normLead.data();
    auto listed = [lead](unsigned pair) { return (lead[pair >> 6] >> (pair & 63)) & 1; };
    std::size_t i = 0;
    if (t.normLeadBytes[0]) {
        // At most two first bytes (OpenCC's compatibility ideographs: EF and F0): sixteen bytes
        // compared at once, the pair looked up only where one of them occurs.
        const __m128i a = _mm_set1_epi8(static_cast<char>(t.normLeadBytes[0]));
        const __m128i b = _mm_set1_epi8(static_cast<char>(t.normLeadBytes[1]));
        for (; i + 17 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            unsigned m = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b))));
            while (m) {
                const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(m));
                if (listed(unsigned(p[at]) << 8 | p[at + 1]))
                    return true;
                m &= m - 1;
            }
        }
    }
    while (i + 1 < n) {
        const std::size_t stop = std::min(n - 1, i + 4096);
        std::uint64_t hit = 0;
        // Pairs that start with a continuation byte are never in the table.
        for (; i < stop; ++i) {
            const unsigned pair = unsigned(p[i]) << 8 | p[i + 1];
            hit |= lead[pair >> 6] >> (pair & 63);
        }
        if (hit & 1)
            return true;
    }
    // The last byte, which only a one-byte character can be.
    return n && listed(unsigned(p[n - 1]) << 8);
}

} // namespace

std::size_t PhraseConverter::convert(std::string_view in, std::string &out, bool final) const {
    const Tables &t = *m_tables;
    if (!t.hasNorm || !needsNormalization(t, in))
        return convertNormalized(t, in, out, final);
    // Normalization maps one character to one character (a description stays whole), so the
    // characters converted of the normalized text are as many of `in`.
    std::string normalized;
    Writer nw(normalized, 0, in.size());
    applyChars(t.norm, t.pool, in, nw);
    nw.finish();
    const std::size_t done = convertNormalized(t, normalized, out, final);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < done; ++i)
        chars += (static_cast<unsigned char>(normalized[i]) & 0xC0) != 0x80;
    std::size_t at = 0;
    for (; at < in.size(); ++at)
        if ((static_cast<unsigned char>(in[at]) & 0xC0) != 0x80 && chars-- == 0)
            break;
    return at;
}

namespace {

// Appends the UTF-8 form of `in`, which holds no lone surrogate.
void appendUtf8(std::u16string_view in, std::string &out) {
    const std::size_t at = out.size();
    out.resize(at + in.size() * 3);
    auto *o = reinterpret_cast<unsigned char *>(out.data() + at);
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF) // a pair: the text holds no lone surrogate
            c = 0x10000 + ((c - 0xD800) << 10) + (in[++i] - 0xDC00);
        o = encodeCodePoint(c, o);
    }
    out.resize(static_cast<std::size_t>(o - reinterpret_cast<unsigned char *>(out.data())));
}

// Appends the UTF-16 form of `in`, valid UTF-8 (the converter writes nothing else). The units
// are counted first, so that `out` grows by exactly what is written.
void appendUtf16(std::string_view in, std::u16string &out) {
    auto p = reinterpret_cast<const unsigned char *>(in.data());
    const auto e = p + in.size();
    std::size_t units = 0;
    for (auto q = p; q < e; ++q)
        units += ((*q & 0xC0) != 0x80) + (*q >= 0xF0);
    const std::size_t at = out.size();
    out.resize(at + units);
    char16_t *o = out.data() + at;
    while (p < e) {
        int len;
        const std::uint32_t c = decode(p, len);
        p += len;
        if (c < kBmp) {
            *o++ = static_cast<char16_t>(c);
        } else {
            *o++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
}

// Lines are converted some thousands of units at a time when they convert alone, so that the
// UTF-8 forms in between stay small and in cache, and their buffers are reused.
constexpr std::size_t kUtf16Block = 1 << 15;

void convertUtf16Into(const PhraseConverter &converter, std::u16string_view in, std::u16string &out) {
    out.reserve(out.size() + in.size() + in.size() / 8 + 16);
    const bool byLines = converter.linesConvertAlone();
    std::string utf8, converted;
    std::size_t i = 0;
    while (i < in.size()) {
        // A piece ends before a lone surrogate, and, when lines convert alone, after the first line
        // break a block's length on.
        const std::size_t blockEnd = byLines && in.size() - i > kUtf16Block ? i + kUtf16Block : in.size();
        std::size_t j = i;
        bool lone = false;
        while (j < in.size()) {
            const char16_t u = in[j];
            if (u < 0xD800 || u > 0xDFFF) {
                ++j;
                if (u == u'\n' && j >= blockEnd && lineCutIsSafe(in, j))
                    break;
            } else if (u <= 0xDBFF && j + 1 < in.size() && in[j + 1] >= 0xDC00 && in[j + 1] <= 0xDFFF) {
                j += 2;
            } else {
                lone = true;
                break;
            }
        }
        utf8.clear();
        converted.clear();
        appendUtf8(in.substr(i, j - i), utf8);
        converter.convert(utf8, converted, true);
        appendUtf16(converted, out);
        if (lone)
            out.push_back(in[j++]);
        i = j;
    }
}

} // namespace

bool lineCutIsSafe(std::string_view utf8, std::size_t at) {
    // A description character is E2 BF B0..BF; 64 characters are at most 256 bytes.
    const auto *s = reinterpret_cast<const unsigned char *>(utf8.data());
    for (std::size_t i = at > 256 ? at - 256 : 0; i + 2 < at; ++i)
        if (s[i] == 0xE2 && s[i + 1] == 0xBF && (s[i + 2] & 0xF0) == 0xB0)
            return false;
    return true;
}

bool lineCutIsSafe(std::u16string_view text, std::size_t at) {
    for (std::size_t i = at > 128 ? at - 128 : 0; i < at; ++i)
        if (isIdsOperator(text[i]))
            return false;
    return true;
}

std::u16string convertUtf16(const PhraseConverter &converter, std::u16string_view in) {
    // A large text whose lines convert alone is cut at the line break nearest its middle, and the
    // first half converted on a second thread.
    std::size_t cut = 0;
    if (in.size() >= (std::size_t(1) << 18) && converter.linesConvertAlone() &&
        std::thread::hardware_concurrency() >= 2) {
        std::size_t nl = in.find(u'\n', in.size() / 2);
        while (nl != std::u16string_view::npos && !lineCutIsSafe(in, nl + 1))
            nl = in.find(u'\n', nl + 1);
        cut = nl == std::u16string_view::npos ? 0 : nl + 1;
    }
    std::u16string first, out;
    std::thread worker;
    if (cut)
        worker = std::thread([&] { convertUtf16Into(converter, in.substr(0, cut), first); });
    convertUtf16Into(converter, in.substr(cut), out);
    if (!cut)
        return out;
    worker.join();
    first += out;
    return first;
}

} // namespace core
