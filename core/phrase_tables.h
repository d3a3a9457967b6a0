#pragma once

// The phrase converter's flat arrays as the conversion reads them: tries of code points with an
// open-addressing table of edges, character mappings, the text pool, and the steps between
// segmentation keys; the longest match, the description rule and the writer that every part of
// the conversion uses. Internal to the phrase engine (phrase_builder.cpp makes these arrays,
// phrase_image.cpp reads and checks them, phrase_convert.cpp runs them).

#include "phrase_convert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {
namespace phrase {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::uint32_t kBmp = 0x10000;

// ---- The flat arrays -------------------------------------------------------------------------

struct Node {
    std::uint32_t childCount;
    std::uint32_t valOff, valLen; // output text in the pool; valLen kNone: no key ends here
    std::uint32_t reserved;
};
// An edge in the open-addressing table of a trie's edges; node kNone: an empty slot.
struct HashEdge {
    std::uint32_t node, ch, child;
};
struct Edge {
    std::uint32_t ch, node;
};
struct Text {
    std::uint32_t off, len; // len kNone: the character stays as it is
};
struct AstralText {
    std::uint32_t ch, off, len;
};

// Keys as a trie of code points; first[c] is the node reached by the BMP character c (0: none,
// node 0 is the root), with kHasValue and kHasChildren telling what the node holds, so that the
// node itself is read only when needed. The bits of `pairs` tell which first two characters of keys may
// occur: most places where no key longer than one character starts are passed over with one bit.
struct TrieView {
    std::span<const std::uint32_t> first;
    std::span<const Edge> astral;
    std::span<const Node> nodes;
    std::span<const HashEdge> edges; // size a power of two
    std::span<const std::uint64_t> pairs;
};

constexpr std::uint32_t kPairBits = 20;
constexpr std::uint32_t kHasValue = 0x80000000u;
constexpr std::uint32_t kHasChildren = 0x40000000u;
constexpr std::uint32_t kNodeMask = 0x3FFFFFFFu;

inline std::uint32_t mix(std::uint32_t a, std::uint32_t b) {
    std::uint32_t x = a * 0x9E3779B1u + b * 0x85EBCA77u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 13;
    return x;
}
inline std::uint32_t pairSlot(std::uint32_t c1, std::uint32_t c2) {
    return mix(c1, c2 ^ 0x5bd1e995u) >> (32 - kPairBits);
}

[[gnu::always_inline]] inline std::uint32_t childOf(const TrieView &t, std::uint32_t node, std::uint32_t ch) {
    const std::size_t mask = t.edges.size() - 1;
    for (std::size_t i = mix(node, ch) & mask;; i = (i + 1) & mask) {
        const HashEdge &e = t.edges[i];
        if (e.node == node && e.ch == ch)
            return e.child;
        if (e.node == kNone)
            return 0;
    }
}

// A character-by-character mapping.
struct CharMapView {
    std::span<const Text> bmp;
    std::span<const AstralText> astral;
};

// A step between segmentation keys: a character mapping, or a trie; a trie may carry the mapping
// of the step after it, applied to its values ahead and to the characters it leaves.
struct RunStep {
    bool isChar = false;
    bool hasThen = false;
    CharMapView chars;
    TrieView trie;
};

// Decodes the code point at p; the text is valid UTF-8.
[[gnu::always_inline]] inline std::uint32_t decode(const unsigned char *p, int &len) {
    const unsigned b = p[0];
    if (b < 0x80) {
        len = 1;
        return b;
    }
    if (b < 0xE0) {
        len = 2;
        return ((b & 0x1Fu) << 6) | (p[1] & 0x3Fu);
    }
    if (b < 0xF0) {
        len = 3;
        return ((b & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    }
    len = 4;
    return ((b & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
}

// ---- Ideographic descriptions ----------------------------------------------------------------

// How many descriptions follow a description character: ⿲ and ⿳ three, ⿾ and ⿿ one, the rest two.
inline int idsArity(std::uint32_t c) {
    if (c == 0x2FF2 || c == 0x2FF3)
        return 3;
    if (c == 0x2FFE || c == 0x2FFF)
        return 1;
    return 2;
}

enum class IdsParse { Complete, Incomplete, Invalid };

// One description from p: a character, or a description character with its operands. At most 16
// levels deep and 64 characters long, as OpenCC reads them.
inline IdsParse parseIds(const unsigned char *p, const unsigned char *e, int depthLeft, int &count,
                         const unsigned char *&end) {
    if (p >= e)
        return IdsParse::Incomplete;
    if (depthLeft == 0 || count >= 64)
        return IdsParse::Invalid;
    int len;
    const std::uint32_t c = decode(p, len);
    if (e - p < len)
        return IdsParse::Incomplete;
    ++count;
    p += len;
    if (!isIdsOperator(c)) {
        end = p;
        return IdsParse::Complete;
    }
    for (int i = idsArity(c); i > 0; --i) {
        if (p >= e)
            return IdsParse::Incomplete;
        const IdsParse r = parseIds(p, e, depthLeft - 1, count, p);
        if (r != IdsParse::Complete)
            return r;
    }
    end = p;
    return IdsParse::Complete;
}

// The length of the whole description that starts with the description character at p (0 when it
// is not complete by e); `incomplete` tells whether text after e could still complete it.
[[gnu::noinline]] inline std::size_t idsLength(const unsigned char *p, const unsigned char *e,
                                               bool *incomplete = nullptr) {
    int count = 0;
    const unsigned char *end = p;
    const IdsParse r = parseIds(p, e, 16, count, end);
    if (incomplete)
        *incomplete = r == IdsParse::Incomplete;
    return r == IdsParse::Complete ? static_cast<std::size_t>(end - p) : 0;
}

template <class T> inline const T *findChar(std::span<const T> sorted, std::uint32_t ch) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), ch,
                                     [](const T &e, std::uint32_t c) { return e.ch < c; });
    return it != sorted.end() && it->ch == ch ? &*it : nullptr;
}

// The longest key that starts at p and ends by e: its length in bytes (0: none) and its node; for
// the character c of `len` bytes at p, already decoded.
[[gnu::always_inline]] inline std::size_t matchAt(const TrieView &t, std::uint32_t c, int len,
                                                  const unsigned char *p, const unsigned char *e,
                                                  const Node *&found) {
    std::uint32_t f;
    if (c < kBmp) {
        f = t.first[c];
    } else {
        const Edge *edge = findChar(t.astral, c);
        f = edge ? edge->node : 0;
    }
    if (f == 0)
        return 0;
    std::uint32_t node = f & kNodeMask;
    std::size_t best = 0;
    const unsigned char *q = p + len;
    std::uint32_t bestNode = 0;
    if (f & kHasValue) {
        best = static_cast<std::size_t>(len);
        bestNode = node;
    }
    if ((f & kHasChildren) && q < e) {
        std::uint32_t next = decode(q, len);
        const std::uint32_t slot = pairSlot(c, next);
        if ((t.pairs[slot >> 6] >> (slot & 63)) & 1) {
            // The edges carry the same flags, so a node is read only for the value found last.
            while ((f = childOf(t, node, next)) != 0) {
                node = f & kNodeMask;
                q += len;
                if (f & kHasValue) {
                    best = static_cast<std::size_t>(q - p);
                    bestNode = node;
                }
                if (!(f & kHasChildren) || q >= e)
                    break;
                next = decode(q, len);
            }
        }
    }
    if (best)
        found = &t.nodes[bestNode];
    return best;
}

[[gnu::always_inline]] inline std::size_t longestMatch(const TrieView &t, const unsigned char *p,
                                                       const unsigned char *e, const Node *&found) {
    int len;
    const std::uint32_t c = decode(p, len);
    return matchAt(t, c, len, p, e, found);
}

// Writes into a string through a raw pointer from position `at` on, growing it as needed; the
// string's size is its room, and finish() cuts it to what was written. A scratch string that is
// never cut keeps its room from one use to the next.
class Writer {
public:
    Writer(std::string &s, std::size_t at, std::size_t expect) : m_s(s), m_n(at) {
        if (m_s.size() < m_n + expect + 64)
            m_s.resize(m_n + expect + 64);
    }
    std::size_t size() const { return m_n; }
    void reset() { m_n = 0; }
    std::string_view written() const { return {m_s.data(), m_n}; }
    [[gnu::always_inline]] char *room(std::size_t need) {
        if (m_s.size() - m_n < need) [[unlikely]]
            grow(need);
        return m_s.data() + m_n;
    }
    [[gnu::noinline]] void grow(std::size_t need) { m_s.resize(std::max(m_s.size() * 2, m_n + need + 64)); }
    [[gnu::always_inline]] void put(const char *p, std::size_t len) {
        char *o = room(len);
        // Most texts are one character: two overlapping two-byte copies, not a call to memcpy.
        if (len - 2 <= 2) {
            std::memcpy(o, p, 2);
            std::memcpy(o + len - 2, p + len - 2, 2);
        } else {
            std::memcpy(o, p, len);
        }
        m_n += len;
    }
    [[gnu::always_inline]] void put(char c) {
        *room(1) = c;
        ++m_n;
    }
    void finish() { m_s.resize(m_n); }

private:
    std::string &m_s;
    std::size_t m_n;
};

[[gnu::always_inline]] inline void putMapped(const CharMapView &m, const char *pool, std::uint32_t c,
                                             const unsigned char *p, int len, Writer &w) {
    const Text *t = nullptr;
    AstralText at;
    if (c < kBmp) {
        t = &m.bmp[c];
    } else if (const AstralText *a = findChar(m.astral, c)) {
        at = *a;
        w.put(pool + at.off, at.len);
        return;
    }
    if (t && t->len != kNone)
        w.put(pool + t->off, t->len);
    else
        w.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(len));
}

// A character that no key matches and that starts a complete description: the description is
// written as it is and its length returned; 0 for any other character.
[[gnu::always_inline]] inline std::size_t putIds(std::uint32_t c, const unsigned char *p,
                                                 const unsigned char *e, Writer &w) {
    if (!isIdsOperator(c)) [[likely]]
        return 0;
    const std::size_t n = idsLength(p, e);
    if (n)
        w.put(reinterpret_cast<const char *>(p), n);
    return n;
}

inline bool mapsChar(const CharMapView &m, std::uint32_t c) {
    return c < kBmp ? m.bmp[c].len != kNone : findChar(m.astral, c) != nullptr;
}

inline void applyChars(const CharMapView &m, const char *pool, std::string_view in, Writer &w) {
    auto p = reinterpret_cast<const unsigned char *>(in.data());
    const auto e = p + in.size();
    while (p < e) {
        int len;
        const std::uint32_t c = decode(p, len);
        if (isIdsOperator(c) && !mapsChar(m, c)) {
            if (const std::size_t n = putIds(c, p, e, w)) {
                p += n;
                continue;
            }
        }
        putMapped(m, pool, c, p, len, w);
        p += len;
    }
}

// `then`, when not null, maps the characters that no key matches.
inline void applyTrie(const TrieView &t, const CharMapView *then, const char *pool, std::string_view in,
                      Writer &w) {
    auto p = reinterpret_cast<const unsigned char *>(in.data());
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
            if (const std::size_t n = putIds(c, p, e, w)) {
                p += n;
                continue;
            }
            if (then)
                putMapped(*then, pool, c, p, cl, w);
            else
                w.put(reinterpret_cast<const char *>(p), static_cast<std::size_t>(cl));
            p += cl;
        }
    }
}

} // namespace phrase

struct PhraseConverter::Tables {
    using CharMapView = phrase::CharMapView;
    using TrieView = phrase::TrieView;
    using RunStep = phrase::RunStep;
    const char *pool = nullptr;
    std::span<const std::uint64_t> direct; // BMP characters whose output needs no gathering
    CharMapView directMap;
    TrieView seg;
    std::uint32_t segMaxBytes = 0;
    bool pure = false; // the characters between segmentation keys are mapped one by one
    bool lineLocal = false;
    std::vector<RunStep> steps;
    bool plainAscii[128] = {};
    bool hasNorm = false;
    std::span<const std::uint64_t> normLead; // by the first two bytes of a normalized character
    unsigned char normLeadBytes[2] = {};     // the first bytes there when they are at most two
    CharMapView norm;

    bool isDirect(std::uint32_t c) const { return c < phrase::kBmp && (direct[c >> 6] >> (c & 63)) & 1; }
};

} // namespace core
