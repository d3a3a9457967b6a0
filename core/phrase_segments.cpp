// The phrase conversion with its segmentation: the walk of the conversion over a whole text, each
// piece of the output attributed to the source code points it came from. It mirrors the fast
// conversion (phrase_convert.cpp) step by step; the tests hold the two equal.

#include "phrase_convert.h"
#include "phrase_tables.h"

namespace core {
using namespace phrase;

namespace {

std::size_t countCodePoints(std::string_view s) {
    std::size_t n = 0;
    for (const char b : s)
        n += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
    return n;
}

// The end of a piece of the current text: its byte end there and the source code point where what
// it came from ends. A piece begins where the one before ends.
struct Bound {
    std::size_t end;
    std::size_t srcEnd;
};

// After a step wrote units (each a stretch of its input, given by the input's and the output's
// byte ends), the pieces of its output: units are joined until they end where a piece of the input
// ended, since a unit that covers a part of a piece cannot be told apart from the rest of it.
void regroup(const std::vector<Bound> &units, std::vector<Bound> &pieces, std::vector<Bound> &next) {
    next.clear();
    std::size_t k = 0;
    for (const Bound &u : units) { // u.end: input end, u.srcEnd: output end
        while (k < pieces.size() && pieces[k].end < u.end)
            ++k;
        if (k < pieces.size() && pieces[k].end == u.end) {
            // Empty pieces at the same place belong to the stretch that ends there.
            while (k + 1 < pieces.size() && pieces[k + 1].end == u.end)
                ++k;
            next.push_back({u.srcEnd, pieces[k].srcEnd});
            ++k;
        }
    }
    // What wrote nothing at the end still came from somewhere: it joins the last piece.
    if (!pieces.empty() && (next.empty() || next.back().srcEnd < pieces.back().srcEnd)) {
        if (next.empty())
            next.push_back({0, pieces.back().srcEnd});
        else
            next.back().srcEnd = pieces.back().srcEnd;
    }
    pieces.swap(next);
}

// applyChars and applyTrie (phrase_tables.h), telling `unit` the input and output ends of each
// unit they write.
template <class Unit>
void walkChars(const CharMapView &m, const char *pool, std::string_view in, Writer &w, Unit &&unit) {
    const auto begin = reinterpret_cast<const unsigned char *>(in.data());
    auto p = begin;
    const auto e = p + in.size();
    while (p < e) {
        int len;
        const std::uint32_t c = decode(p, len);
        if (isIdsOperator(c) && !mapsChar(m, c)) {
            if (const std::size_t n = putIds(c, p, e, w)) {
                p += n;
                unit(static_cast<std::size_t>(p - begin), w.size());
                continue;
            }
        }
        putMapped(m, pool, c, p, len, w);
        p += len;
        unit(static_cast<std::size_t>(p - begin), w.size());
    }
}

template <class Unit>
void walkTrie(const TrieView &t, const CharMapView *then, const char *pool, std::string_view in, Writer &w,
              Unit &&unit) {
    const auto begin = reinterpret_cast<const unsigned char *>(in.data());
    auto p = begin;
    const auto e = p + in.size();
    while (p < e) {
        const Node *n = nullptr;
        const std::size_t len = longestMatch(t, p, e, n);
        if (len) {
            w.put(pool + n->valOff, n->valLen);
            p += len;
        } else {
            int cl;
            const std::uint32_t c = decode(p, cl);
            if (const std::size_t ids = putIds(c, p, e, w)) {
                p += ids;
            } else {
                if (then)
                    putMapped(*then, pool, c, p, cl, w);
                else
                    w.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(cl));
                p += cl;
            }
        }
        unit(static_cast<std::size_t>(p - begin), w.size());
    }
}

class SegmentedWalk {
public:
    SegmentedWalk(const PhraseConverter::Tables &t, std::string &out, std::vector<Segment> &segments)
        : m_t(t), m_out(out), m_segments(segments) {}

    void run(std::string_view in) {
        if (m_t.pure)
            runPure(in);
        else
            runSteps(in);
        m_out.resize(m_outBytes);
    }

private:
    // The source up to `srcEnd` became what was written from byte `from` of the output on.
    void emit(std::size_t srcEnd, std::size_t from) {
        const std::size_t n = countCodePoints(std::string_view(m_out).substr(from, m_outBytes - from));
        m_segments.push_back({m_done, srcEnd, m_outCp, m_outCp + n});
        m_done = srcEnd;
        m_outCp += n;
    }
    void put(const char *p, std::size_t len) { m_out.append(p, len), m_outBytes += len; }
    // Code points copied as they are: a segment each.
    void copy(const unsigned char *p, std::size_t len) {
        for (std::size_t i = 0; i < len;) {
            int cl;
            decode(p + i, cl);
            const std::size_t from = m_outBytes;
            put(reinterpret_cast<const char *>(p + i), static_cast<std::size_t>(cl));
            i += static_cast<std::size_t>(cl);
            emit(++m_pos, from);
        }
    }
    void putMappedOut(const CharMapView &m, std::uint32_t c, const unsigned char *p, int len) {
        Writer w(m_scratch, 0, 8);
        putMapped(m, m_t.pool, c, p, len, w);
        put(m_scratch.data(), w.size());
    }

    void runPure(std::string_view in) {
        const CharMapView &chars = m_t.steps[0].chars;
        auto p = reinterpret_cast<const unsigned char *>(in.data());
        const auto e = p + in.size();
        while (p < e) {
            const std::size_t from = m_outBytes;
            if (*p < 0x80 && m_t.plainAscii[*p]) {
                put(reinterpret_cast<const char *>(p++), 1);
                emit(++m_pos, from);
                continue;
            }
            int len;
            const std::uint32_t c = decode(p, len);
            const Node *n = nullptr;
            if (const std::size_t mlen = matchAt(m_t.seg, c, len, p, e, n)) {
                put(m_t.pool + n->valOff, n->valLen);
                m_pos += countCodePoints({reinterpret_cast<const char *>(p), mlen});
                emit(m_pos, from);
                p += mlen;
                continue;
            }
            if (isIdsOperator(c) && !mapsChar(chars, c)) {
                if (const std::size_t ids = idsLength(p, e)) {
                    copy(p, ids);
                    p += ids;
                    continue;
                }
            }
            putMappedOut(chars, c, p, len);
            p += len;
            emit(++m_pos, from);
        }
    }

    // Gathers one character (`len` bytes at p) for the steps.
    void gather(const unsigned char *p, int len, bool mapFirst) {
        Writer g(m_gathered, m_gatheredBytes, 8);
        if (mapFirst)
            putMapped(m_t.steps[0].chars, m_t.pool, decodeAt(p), p, len, g);
        else
            g.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(len));
        m_gatheredBytes = g.size();
        m_pieces.push_back({m_gatheredBytes, ++m_pos});
    }
    static std::uint32_t decodeAt(const unsigned char *p) {
        int len;
        return decode(p, len);
    }

    void flush() {
        if (m_pieces.empty())
            return;
        const bool firstIsChar = m_t.steps[0].isChar;
        std::string cur = m_gathered.substr(0, m_gatheredBytes), next;
        if (!cur.empty()) {
            for (std::size_t i = firstIsChar ? 1 : 0; i < m_t.steps.size(); ++i) {
                const RunStep &step = m_t.steps[i];
                m_units.clear();
                Writer sw(next, 0, cur.size());
                auto unit = [this](std::size_t inEnd, std::size_t outEnd) { m_units.push_back({inEnd, outEnd}); };
                if (step.isChar)
                    walkChars(step.chars, m_t.pool, cur, sw, unit);
                else
                    walkTrie(step.trie, step.hasThen ? &step.chars : nullptr, m_t.pool, cur, sw, unit);
                next.resize(sw.size());
                cur.swap(next);
                regroup(m_units, m_pieces, m_regrouped);
            }
        }
        std::size_t at = 0;
        for (const Bound &b : m_pieces) {
            const std::size_t from = m_outBytes;
            put(cur.data() + at, b.end - at);
            at = b.end;
            emit(b.srcEnd, from);
        }
        m_pieces.clear();
        m_gatheredBytes = 0;
    }

    void runSteps(std::string_view in) {
        auto p = reinterpret_cast<const unsigned char *>(in.data());
        const auto e = p + in.size();
        const bool firstIsChar = m_t.steps[0].isChar;
        int idsWindow = 0;
        while (p < e) {
            int len;
            const std::uint32_t c = decode(p, len);
            const Node *n = nullptr;
            if (const std::size_t mlen = matchAt(m_t.seg, c, len, p, e, n)) {
                flush();
                const std::size_t from = m_outBytes;
                put(m_t.pool + n->valOff, n->valLen);
                m_pos += countCodePoints({reinterpret_cast<const char *>(p), mlen});
                emit(m_pos, from);
                p += mlen;
                idsWindow = 0;
                continue;
            }
            if (idsWindow == 0 && m_t.isDirect(c)) {
                flush();
                const std::size_t from = m_outBytes;
                putMappedOut(m_t.directMap, c, p, len);
                emit(++m_pos, from);
                p += len;
                continue;
            }
            if (idsWindow)
                --idsWindow;
            if (isIdsOperator(c) && !(firstIsChar && mapsChar(m_t.steps[0].chars, c))) {
                if (const std::size_t ids = idsLength(p, e)) {
                    for (std::size_t i = 0; i < ids;) {
                        int cl;
                        decode(p + i, cl);
                        gather(p + i, cl, false);
                        i += static_cast<std::size_t>(cl);
                    }
                    p += ids;
                    continue;
                }
                idsWindow = 64;
            }
            gather(p, len, firstIsChar);
            p += len;
        }
        flush();
    }

    const PhraseConverter::Tables &m_t;
    std::string &m_out;
    std::vector<Segment> &m_segments;
    std::size_t m_outBytes = 0;
    std::size_t m_outCp = 0;
    std::size_t m_pos = 0;  // source code points read
    std::size_t m_done = 0; // source code points attributed
    std::string m_scratch, m_gathered;
    std::size_t m_gatheredBytes = 0;
    std::vector<Bound> m_pieces, m_units, m_regrouped;
};

} // namespace

void PhraseConverter::convertSegmented(std::string_view in, std::string &out, std::vector<Segment> &segments) const {
    const Tables &t = *m_tables;
    out.clear();
    segments.clear();
    SegmentedWalk walk(t, out, segments);
    if (!t.hasNorm) {
        walk.run(in);
        return;
    }
    // Normalization maps a character to a character (a description stays whole), so positions in
    // code points are those of `in`.
    std::string normalized;
    Writer nw(normalized, 0, in.size());
    applyChars(t.norm, t.pool, in, nw);
    nw.finish();
    walk.run(normalized);
}

} // namespace core
