#include "phrase_convert.h"

#include "utf.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace core {
namespace {

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
IdsParse parseIds(const unsigned char *p, const unsigned char *e, int depthLeft, int &count,
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
[[gnu::noinline]] std::size_t idsLength(const unsigned char *p, const unsigned char *e, bool *incomplete = nullptr) {
    int count = 0;
    const unsigned char *end = p;
    const IdsParse r = parseIds(p, e, 16, count, end);
    if (incomplete)
        *incomplete = r == IdsParse::Incomplete;
    return r == IdsParse::Complete ? static_cast<std::size_t>(end - p) : 0;
}

template <class T> const T *findChar(std::span<const T> sorted, std::uint32_t ch) {
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
[[gnu::always_inline]] inline std::size_t putIds(std::uint32_t c, const unsigned char *p, const unsigned char *e,
                                                 Writer &w) {
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

void applyChars(const CharMapView &m, const char *pool, std::string_view in, Writer &w) {
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
void applyTrie(const TrieView &t, const CharMapView *then, const char *pool, std::string_view in, Writer &w) {
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

// ---- The image -------------------------------------------------------------------------------

constexpr char kMagic[8] = {'L', 'F', 'P', 'H', 'R', 'S', 'E', '1'};
constexpr std::uint32_t kVersion = 9;
constexpr std::uint32_t kTrieStep = 0, kCharStep = 1, kTrieThenCharStep = 2;
constexpr std::uint32_t kByteOrder = 0x01020304;

struct Header {
    char magic[8];
    std::uint32_t version, byteOrder, sectionCount, segMaxBytes;
    std::uint32_t pure, stepCount, lineLocal, reserved;
};
struct Section {
    std::uint64_t offset, size;
};

class ImageWriter {
public:
    template <class T> void add(const std::vector<T> &v) {
        m_parts.emplace_back(v.data(), v.size() * sizeof(T));
    }
    void add(const std::string &s) { m_parts.emplace_back(s.data(), s.size()); }

    std::string finish(Header h) {
        h.sectionCount = static_cast<std::uint32_t>(m_parts.size());
        std::vector<Section> sections;
        std::uint64_t at = align(sizeof(Header) + m_parts.size() * sizeof(Section));
        for (const auto &[data, size] : m_parts) {
            sections.push_back({at, size});
            at = align(at + size);
        }
        std::string out(at, '\0');
        std::memcpy(out.data(), &h, sizeof h);
        std::memcpy(out.data() + sizeof h, sections.data(), sections.size() * sizeof(Section));
        for (std::size_t i = 0; i < m_parts.size(); ++i)
            if (m_parts[i].second)
                std::memcpy(out.data() + sections[i].offset, m_parts[i].first, m_parts[i].second);
        return out;
    }

private:
    static std::uint64_t align(std::uint64_t n) { return (n + 7) & ~std::uint64_t(7); }
    std::vector<std::pair<const void *, std::size_t>> m_parts;
};

class ImageReader {
public:
    ImageReader(std::string_view image, std::span<const Section> sections)
        : m_image(image), m_sections(sections) {}
    // The next section as an array of T; nullopt when it lies outside the image or is misshapen.
    template <class T> std::optional<std::span<const T>> next(std::size_t expectCount = kNone) {
        if (m_next >= m_sections.size())
            return std::nullopt;
        const Section s = m_sections[m_next++];
        if (s.offset % 8 || s.size % sizeof(T) || s.offset > m_image.size() ||
            s.size > m_image.size() - s.offset)
            return std::nullopt;
        if (expectCount != kNone && s.size / sizeof(T) != expectCount)
            return std::nullopt;
        return std::span<const T>(reinterpret_cast<const T *>(m_image.data() + s.offset), s.size / sizeof(T));
    }
    bool allRead() const { return m_next == m_sections.size(); }

private:
    std::string_view m_image;
    std::span<const Section> m_sections;
    std::size_t m_next = 0;
};

// ---- Building --------------------------------------------------------------------------------

std::vector<std::uint32_t> codePoints(std::string_view utf8) {
    std::vector<std::uint32_t> cps;
    auto p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto e = p + utf8.size();
    while (p < e) {
        int len;
        cps.push_back(decode(p, len));
        p += len;
    }
    return cps;
}

// Output texts, each stored once. The index is an open-addressing table of places in the bytes
// (offset << 32 | length), not copies of the texts.
class Pool {
public:
    std::uint32_t add(std::string_view s) {
        if (m_count * 4 >= m_index.size() * 3)
            grow();
        const std::size_t mask = m_index.size() - 1;
        for (std::size_t i = hashOf(s) & mask;; i = (i + 1) & mask) {
            if (m_index[i] == kEmpty) {
                const auto at = static_cast<std::uint32_t>(m_bytes.size());
                m_bytes += s;
                m_index[i] = (std::uint64_t(at) << 32) | s.size();
                ++m_count;
                return at;
            }
            if (text(m_index[i]) == s)
                return static_cast<std::uint32_t>(m_index[i] >> 32);
        }
    }
    const std::string &bytes() const { return m_bytes; }
    // Once every text is in, the index is no longer needed.
    void dropIndex() { std::vector<std::uint64_t>(1024, kEmpty).swap(m_index), m_count = 0; }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t(0);
    static std::size_t hashOf(std::string_view s) { return std::hash<std::string_view>()(s); }
    std::string_view text(std::uint64_t place) const {
        return std::string_view(m_bytes).substr(place >> 32, place & 0xFFFFFFFFu);
    }
    void grow() {
        std::vector<std::uint64_t> old(m_index.size() * 2, kEmpty);
        old.swap(m_index);
        const std::size_t mask = m_index.size() - 1;
        for (const auto place : old)
            if (place != kEmpty) {
                std::size_t i = hashOf(text(place)) & mask;
                while (m_index[i] != kEmpty)
                    i = (i + 1) & mask;
                m_index[i] = place;
            }
    }
    std::string m_bytes;
    std::vector<std::uint64_t> m_index = std::vector<std::uint64_t>(1024, kEmpty);
    std::size_t m_count = 0;
};

// A trie being built. Its keys are kept as code points end to end, and its values as views of
// the dictionaries' texts, which outlive it; the edges are an open-addressing table. Built from
// the large phrase dictionaries, this is what the peak memory of a first load is made of.
class TrieBuilder {
public:
    using Key = std::span<const std::uint32_t>;

    TrieBuilder() : m_values(1, kNone), m_table(1024, Slot{kNone, 0, 0}) {}

    std::uint32_t child(std::uint32_t node, std::uint32_t ch) const {
        const std::size_t mask = m_table.size() - 1;
        for (std::size_t i = mix(node, ch) & mask;; i = (i + 1) & mask) {
            const Slot &s = m_table[i];
            if (s.node == node && s.ch == ch)
                return s.child;
            if (s.node == kNone)
                return 0;
        }
    }
    // Whether the key or one of its prefixes is a key.
    bool hasPrefixOf(Key key) const {
        std::uint32_t node = 0;
        for (const auto ch : key) {
            if ((node = child(node, ch)) == 0)
                return false;
            if (m_values[node] != kNone)
                return true;
        }
        return false;
    }
    // Adds the key unless it is there already (the first value stays).
    void insert(Key key, std::string_view value) {
        std::uint32_t node = 0;
        for (const auto ch : key) {
            std::uint32_t next = child(node, ch);
            if (next == 0) {
                next = static_cast<std::uint32_t>(m_values.size());
                m_values.push_back(kNone);
                addEdge(node, ch, next);
            }
            node = next;
        }
        if (m_values[node] == kNone) {
            m_values[node] = static_cast<std::uint32_t>(m_texts.size());
            m_texts.push_back(value);
            m_keyChars.insert(m_keyChars.end(), key.begin(), key.end());
            m_keyEnds.push_back(static_cast<std::uint32_t>(m_keyChars.size()));
        }
    }
    std::size_t keyCount() const { return m_texts.size(); }
    Key key(std::size_t i) const {
        const std::uint32_t from = i ? m_keyEnds[i - 1] : 0;
        return Key(m_keyChars).subspan(from, m_keyEnds[i] - from);
    }
    std::string_view value(std::size_t i) const { return m_texts[i]; }

    // The keys, each as a span of code points.
    struct Keys {
        const TrieBuilder *t;
        struct It {
            const TrieBuilder *t;
            std::size_t i;
            Key operator*() const { return t->key(i); }
            It &operator++() {
                ++i;
                return *this;
            }
            bool operator!=(const It &o) const { return i != o.i; }
        };
        It begin() const { return {t, 0}; }
        It end() const { return {t, t->keyCount()}; }
    };
    Keys keys() const { return {this}; }

    // `in` with each longest match replaced by its value, the rest as it is.
    std::string apply(std::string_view in) const {
        std::string out;
        auto p = reinterpret_cast<const unsigned char *>(in.data());
        const auto e = p + in.size();
        while (p < e) {
            std::size_t best = 0;
            std::uint32_t bestValue = kNone;
            std::uint32_t node = 0;
            for (auto q = p; q < e;) {
                int len;
                if ((node = child(node, decode(q, len))) == 0)
                    break;
                q += len;
                if (m_values[node] != kNone) {
                    best = static_cast<std::size_t>(q - p);
                    bestValue = m_values[node];
                }
            }
            if (best) {
                out += m_texts[bestValue];
                p += best;
            } else {
                int len;
                decode(p, len);
                out.append(reinterpret_cast<const char *>(p), static_cast<std::size_t>(len));
                p += len;
            }
        }
        return out;
    }

    // The flat arrays, values mapped through `out` (key index -> output text) into the pool.
    struct Flat {
        std::vector<std::uint32_t> first;
        std::vector<Edge> astral;
        std::vector<Node> nodes;
        std::vector<HashEdge> edges;
        std::vector<std::uint64_t> pairs;
        TrieView view() const { return {first, astral, nodes, edges, pairs}; }
    };
    template <class Place> Flat flattenWith(Place out) const {
        Flat f;
        f.first.assign(kBmp, 0);
        f.nodes.assign(m_values.size(), Node{0, 0, kNone, 0});
        // The root holds no value; its spare field keeps the longest key's length in bytes.
        for (const auto key : keys()) {
            std::uint32_t bytes = 0;
            for (const auto c : key)
                bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
            f.nodes[0].reserved = std::max(f.nodes[0].reserved, bytes);
        }
        const std::size_t edgeCount = m_values.size() - 1;
        std::size_t size = 16;
        // Filled to between a third and two thirds: a small table stays in cache.
        while (size * 2 < edgeCount * 3)
            size *= 2;
        f.edges.assign(size, HashEdge{kNone, 0, 0});
        f.pairs.assign((std::size_t(1) << kPairBits) / 64, 0);
        for (const auto key : keys())
            if (key.size() > 1) {
                const std::uint32_t slot = pairSlot(key[0], key[1]);
                f.pairs[slot >> 6] |= std::uint64_t(1) << (slot & 63);
            }
        for (const Slot &s : m_table) {
            if (s.node == kNone)
                continue;
            ++f.nodes[s.node].childCount;
            std::size_t i = mix(s.node, s.ch) & (size - 1);
            while (f.edges[i].node != kNone)
                i = (i + 1) & (size - 1);
            f.edges[i] = {s.node, s.ch, s.child};
            if (s.node == 0) {
                if (s.ch < kBmp)
                    f.first[s.ch] = s.child;
                else
                    f.astral.push_back({s.ch, s.child});
            }
        }
        std::sort(f.astral.begin(), f.astral.end(), [](const Edge &a, const Edge &b) { return a.ch < b.ch; });
        auto flags = [&](std::uint32_t node) {
            return (m_values[node] != kNone ? kHasValue : 0) | (f.nodes[node].childCount ? kHasChildren : 0);
        };
        for (auto &edge : f.edges)
            if (edge.node != kNone)
                edge.child |= flags(edge.child);
        for (auto &a : f.astral)
            a.node |= flags(a.node);
        for (std::uint32_t c = 0; c < kBmp; ++c)
            if (const std::uint32_t node = f.first[c])
                f.first[c] |= flags(node);
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            if (m_values[i] == kNone)
                continue;
            const std::pair<std::uint32_t, std::uint32_t> placed = out(m_values[i]);
            f.nodes[i].valOff = placed.first;
            f.nodes[i].valLen = placed.second;
        }
        return f;
    }
    // With each key's value already in a pool: (offset, length) by key index.
    Flat flattenPlaced(const std::vector<std::pair<std::uint32_t, std::uint32_t>> &placed) const {
        return flattenWith([&](std::uint32_t k) { return placed[k]; });
    }
    template <class Out> Flat flatten(Pool &pool, Out out) const {
        return flattenWith([&](std::uint32_t k) {
            const auto text = out(k);
            const std::string_view v(text);
            return std::pair<std::uint32_t, std::uint32_t>(pool.add(v), static_cast<std::uint32_t>(v.size()));
        });
    }
    Flat flatten(Pool &pool) const {
        return flatten(pool, [this](std::uint32_t i) { return m_texts[i]; });
    }

private:
    struct Slot {
        std::uint32_t node, ch, child;
    };
    void addEdge(std::uint32_t node, std::uint32_t ch, std::uint32_t child) {
        // Kept at most three quarters full; the number of edges is the number of nodes but the root.
        if ((m_values.size() - 1) * 4 > m_table.size() * 3) {
            std::vector<Slot> old(m_table.size() * 2, Slot{kNone, 0, 0});
            old.swap(m_table);
            for (const Slot &s : old)
                if (s.node != kNone)
                    place(s);
        }
        place({node, ch, child});
    }
    void place(const Slot &s) {
        const std::size_t mask = m_table.size() - 1;
        std::size_t i = mix(s.node, s.ch) & mask;
        while (m_table[i].node != kNone)
            i = (i + 1) & mask;
        m_table[i] = s;
    }
    std::vector<std::uint32_t> m_values; // per node: index of its key, kNone for none
    std::vector<std::string_view> m_texts;
    std::vector<std::uint32_t> m_keyChars, m_keyEnds;
    std::vector<Slot> m_table;
};

bool usable(const PhraseEntry &e) {
    return !e.key.empty() && isValidUtf8(e.key) && isValidUtf8(e.value);
}

std::vector<std::uint32_t> keyOf(std::string_view s) {
    std::vector<std::uint32_t> key;
    auto p = reinterpret_cast<const unsigned char *>(s.data());
    const auto e = p + s.size();
    while (p < e) {
        int len;
        key.push_back(decode(p, len));
        p += len;
    }
    return key;
}

// A dictionary or a group as one trie whose longest match is the match of the whole. In a
// short-circuit group a key of a later member is dropped when it or one of its prefixes is a key
// of an earlier one, so the longest match of the whole is the longest match of the first member
// that matches at all; in a union every key counts, the earlier member's value on a tie.
TrieBuilder mergeTree(const PhraseTree &tree) {
    TrieBuilder t;
    if (tree.dict) {
        for (const auto &e : *tree.dict)
            if (usable(e))
                t.insert(keyOf(e.key), e.value);
        return t;
    }
    std::vector<bool> kept;
    for (const PhraseTree &member : tree.members) {
        const TrieBuilder m = mergeTree(member);
        // Which keys stay is decided against the earlier members only.
        kept.assign(m.keyCount(), true);
        if (tree.policy == MatchPolicy::ShortCircuit)
            for (std::size_t i = 0; i < m.keyCount(); ++i)
                kept[i] = !t.hasPrefixOf(m.key(i));
        for (std::size_t i = 0; i < m.keyCount(); ++i)
            if (kept[i])
                t.insert(m.key(i), m.value(i));
    }
    return t;
}
using CharMap = std::unordered_map<std::uint32_t, std::string>;

std::string encode(std::uint32_t c) {
    unsigned char buf[4];
    const auto end = encodeCodePoint(c, buf);
    return std::string(reinterpret_cast<const char *>(buf), static_cast<std::size_t>(end - buf));
}

std::string mapText(const CharMap &m, std::string_view s) {
    std::string out;
    for (const auto c : codePoints(s)) {
        const auto it = m.find(c);
        out += it == m.end() ? encode(c) : it->second;
    }
    return out;
}

// `a` then `b` as one mapping.
CharMap compose(const CharMap &a, const CharMap &b) {
    CharMap out;
    for (const auto &[c, s] : a)
        out[c] = mapText(b, s);
    for (const auto &[c, s] : b)
        out.try_emplace(c, s);
    return out;
}

struct CharTables {
    std::vector<Text> bmp;
    std::vector<AstralText> astral;
};

CharTables flattenChars(const CharMap &m, Pool &pool) {
    CharTables t;
    t.bmp.assign(kBmp, Text{0, kNone});
    for (const auto &[c, s] : m) {
        if (s == encode(c))
            continue;
        const std::uint32_t off = pool.add(s);
        if (c < kBmp)
            t.bmp[c] = {off, static_cast<std::uint32_t>(s.size())};
        else
            t.astral.push_back({c, off, static_cast<std::uint32_t>(s.size())});
    }
    std::sort(t.astral.begin(), t.astral.end(), [](auto &x, auto &y) { return x.ch < y.ch; });
    return t;
}

} // namespace

struct PhraseConverter::Tables {
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
    CharMapView norm;

    bool isDirect(std::uint32_t c) const { return c < kBmp && (direct[c >> 6] >> (c & 63)) & 1; }
};

PhraseConfigView viewOf(const PhraseConfig &config) {
    auto group = [](const PhraseGroup &g) {
        PhraseTree t;
        for (const auto &d : g)
            t.members.push_back({&d, MatchPolicy::ShortCircuit, {}});
        return t;
    };
    PhraseConfigView view;
    view.segmentation = group(config.segmentation);
    for (const auto &g : config.steps)
        view.steps.push_back(group(g));
    for (const auto &g : config.normalization)
        view.normalization.push_back(group(g));
    return view;
}

PhraseConverter PhraseConverter::build(const PhraseConfig &config) {
    return build(viewOf(config));
}

PhraseConverter PhraseConverter::build(const PhraseConfigView &config) {
    Pool pool;
    pool.add(std::string_view()); // offset 0 is the empty text

    TrieBuilder seg = mergeTree(config.segmentation);
    std::vector<TrieBuilder> steps;
    for (const auto &g : config.steps)
        steps.push_back(mergeTree(g));

    // Normalization: one character to one character, the steps composed into one mapping.
    CharMap norm;
    for (const auto &g : config.normalization) {
        const TrieBuilder n = mergeTree(g);
        CharMap m;
        for (std::size_t k = 0; k < n.keyCount(); ++k)
            if (const auto key = n.key(k); key.size() == 1 && codePoints(n.value(k)).size() == 1)
                m[key[0]] = n.value(k);
        norm = compose(norm, m);
    }
    for (auto it = norm.begin(); it != norm.end();)
        it = it->second == encode(it->first) ? norm.erase(it) : std::next(it);

    // Whether a line break is in no key: then nothing matches across one, and lines convert on
    // their own.
    bool lineLocal = true;
    auto noBreakIn = [&lineLocal](const TrieBuilder &t) {
        for (const auto &key : t.keys())
            if (std::find(key.begin(), key.end(), std::uint32_t('\n')) != key.end())
                lineLocal = false;
    };
    noBreakIn(seg);
    for (const auto &st : steps)
        noBreakIn(st);
    std::uint32_t segMaxBytes = 0;
    for (const auto &key : seg.keys()) {
        std::uint32_t bytes = 0;
        for (const auto c : key)
            bytes += static_cast<std::uint32_t>(encode(c).size());
        segMaxBytes = std::max(segMaxBytes, bytes);
    }

    // The whole chain, step by step, works out the output of every segmentation key.
    auto chain = [&](std::string cur) {
        for (const auto &st : steps)
            cur = st.apply(cur);
        return cur;
    };

    // The steps as they act between segmentation keys. There the first step cannot match a longer
    // key that has a segmentation key as a prefix, since that key would have matched there; when
    // that covers all its longer keys, the first step is a character mapping there.
    struct Step {
        bool isChar;
        CharMap chars;
        const TrieBuilder *trie;
    };
    std::vector<Step> runSteps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        bool charOnly = true;
        for (const auto &key : steps[i].keys())
            if (key.size() > 1 && (i > 0 || !seg.hasPrefixOf(key)))
                charOnly = false;
        if (!charOnly) {
            runSteps.push_back({false, {}, &steps[i]});
            continue;
        }
        CharMap m;
        for (std::size_t k = 0; k < steps[i].keyCount(); ++k)
            if (const auto key = steps[i].key(k); key.size() == 1)
                m[key[0]] = steps[i].value(k);
        if (!runSteps.empty() && runSteps.back().isChar)
            runSteps.back().chars = compose(runSteps.back().chars, m);
        else
            runSteps.push_back({true, std::move(m), nullptr});
    }
    if (runSteps.empty())
        runSteps.push_back({true, {}, nullptr});
    const bool pure = runSteps.size() == 1 && runSteps[0].isChar;

    // Characters that need no gathering: where no later step's key holds any character of what
    // the steps before make of one, nothing matches across it; its output is then fixed, and the
    // gathered characters before and after it go through the steps on their own.
    std::vector<std::uint64_t> direct;
    CharMap directMap;
    if (!pure) {
        direct.assign(kBmp / 64, 0);
        std::vector<std::unordered_map<std::uint32_t, bool>> keyChars(runSteps.size());
        for (std::size_t i = 0; i < runSteps.size(); ++i)
            if (!runSteps[i].isChar)
                for (const auto &key : runSteps[i].trie->keys())
                    for (const auto c : key)
                        keyChars[i][c] = true;
        // A character that no step maps and no trie step has in a key comes out as it is.
        std::vector<bool> touched(kBmp, false);
        for (std::size_t i = 0; i < runSteps.size(); ++i) {
            for (const auto &[c, v] : runSteps[i].chars)
                if (c < kBmp)
                    touched[c] = true;
            for (const auto &[c, v] : keyChars[i])
                if (c < kBmp)
                    touched[c] = true;
        }
        for (std::uint32_t c = 0; c < kBmp; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || isIdsOperator(c))
                continue;
            if (!touched[c]) {
                direct[c >> 6] |= std::uint64_t(1) << (c & 63);
                continue;
            }
            std::string text = encode(c);
            bool ok = true;
            for (std::size_t i = 0; i < runSteps.size() && ok; ++i) {
                if (runSteps[i].isChar) {
                    text = mapText(runSteps[i].chars, text);
                    continue;
                }
                for (const auto u : codePoints(text))
                    if (keyChars[i].count(u))
                        ok = false;
            }
            if (!ok)
                continue;
            direct[c >> 6] |= std::uint64_t(1) << (c & 63);
            directMap[c] = text;
        }
    }

    // Everything into the image; keep the step arrays alive until it is written.
    std::vector<std::uint32_t> kinds;
    std::vector<CharTables> charTables;
    std::vector<TrieBuilder::Flat> trieTables;
    for (std::size_t i = 0; i < runSteps.size(); ++i) {
        const Step &s = runSteps[i];
        if (s.isChar) {
            kinds.push_back(kCharStep);
            charTables.push_back(flattenChars(s.chars, pool));
        } else if (i + 2 == runSteps.size() && runSteps[i + 1].isChar) {
            // A trie and the last step's mapping in one pass.
            const CharMap &then = runSteps[++i].chars;
            kinds.push_back(kTrieThenCharStep);
            trieTables.push_back(
                s.trie->flatten(pool, [&](std::uint32_t k) { return mapText(then, s.trie->value(k)); }));
            charTables.push_back(flattenChars(then, pool));
        } else {
            kinds.push_back(kTrieStep);
            trieTables.push_back(s.trie->flatten(pool));
        }
    }
    const CharTables directTables = pure ? CharTables{} : flattenChars(directMap, pool);
    const CharTables normTables = flattenChars(norm, pool);
    // The first two bytes of every normalized character, so that a text without any is passed over
    // quickly.
    std::vector<std::uint64_t> normLead(norm.empty() ? 0 : 65536 / 64, 0);
    for (const auto &[c, v] : norm) {
        const std::string u = encode(c);
        const std::uint32_t lead = std::uint32_t(static_cast<unsigned char>(u[0])) << 8 |
                                   static_cast<unsigned char>(u[1]);
        normLead[lead >> 6] |= std::uint64_t(1) << (lead & 63);
    }
    runSteps.clear();
    directMap.clear();
    // The segmentation keys' outputs, then the steps' tries can go before the segmentation's
    // arrays are made: the first load's memory peaks while these are built.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> segTexts(seg.keyCount());
    for (std::size_t i = 0; i < segTexts.size(); ++i) {
        std::string key;
        for (const auto c : seg.key(i))
            key += encode(c);
        const std::string text = chain(std::move(key));
        segTexts[i] = {pool.add(text), static_cast<std::uint32_t>(text.size())};
    }
    steps.clear();
    auto segFlat = seg.flattenPlaced(segTexts);
    seg = TrieBuilder();
    std::vector<std::pair<std::uint32_t, std::uint32_t>>().swap(segTexts);
    pool.dropIndex();

    ImageWriter img;
    img.add(pool.bytes());
    img.add(direct);
    img.add(directTables.bmp);
    img.add(directTables.astral);
    img.add(segFlat.first);
    img.add(segFlat.astral);
    img.add(segFlat.nodes);
    img.add(segFlat.edges);
    img.add(segFlat.pairs);
    img.add(kinds);
    img.add(normLead);
    img.add(normTables.bmp);
    img.add(normTables.astral);
    std::size_t ci = 0, ti = 0;
    for (const auto kind : kinds) {
        if (kind == kCharStep) {
            img.add(charTables[ci].bmp);
            img.add(charTables[ci++].astral);
        } else {
            img.add(trieTables[ti].first);
            img.add(trieTables[ti].astral);
            img.add(trieTables[ti].nodes);
            img.add(trieTables[ti].edges);
            img.add(trieTables[ti++].pairs);
            if (kind == kTrieThenCharStep) {
                img.add(charTables[ci].bmp);
                img.add(charTables[ci++].astral);
            }
        }
    }
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kVersion;
    h.byteOrder = kByteOrder;
    h.segMaxBytes = segMaxBytes;
    h.pure = pure;
    h.lineLocal = lineLocal;
    h.stepCount = static_cast<std::uint32_t>(kinds.size());
    auto bytes = std::make_shared<std::string>(img.finish(h));
    const std::string_view view(*bytes);
    return *fromImage(view, std::move(bytes));
}

namespace {

// Whether the tables of an image hold together, checked once when it is opened, in time linear in
// its size: every text lies whole in the pool (which is valid UTF-8) and starts and ends on a
// character; every node index is a node; a node reached as one that ends a key has a text; every
// edge table has an empty slot, so that a probe ends. A file that passes its checksum may still
// have been made by someone else.
class ImageCheck {
public:
    explicit ImageCheck(std::string_view pool) : m_pool(pool) {}

    bool poolIsText() const { return isValidUtf8(m_pool); }

    bool text(std::uint32_t off, std::uint32_t len) const {
        if (len == kNone)
            return true;
        if (off > m_pool.size() || len > m_pool.size() - off)
            return false;
        return starts(off) && starts(off + len);
    }
    bool chars(const CharMapView &m) const {
        for (const Text &t : m.bmp)
            if (!text(t.off, t.len))
                return false;
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < m.astral.size(); ++i) {
            const AstralText &a = m.astral[i];
            if ((i && a.ch <= last) || a.len == kNone || !text(a.off, a.len))
                return false;
            last = a.ch;
        }
        return true;
    }
    bool trie(const TrieView &t) const {
        for (const Node &n : t.nodes)
            if (!text(n.valOff, n.valLen))
                return false;
        auto reach = [&t](std::uint32_t f) {
            const std::uint32_t node = f & kNodeMask;
            return node < t.nodes.size() && (!(f & kHasValue) || t.nodes[node].valLen != kNone);
        };
        for (const std::uint32_t f : t.first)
            if (f && !reach(f))
                return false;
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < t.astral.size(); ++i) {
            const Edge &e = t.astral[i];
            if ((i && e.ch <= last) || e.ch < kBmp || !reach(e.node))
                return false;
            last = e.ch;
        }
        bool empty = false;
        for (const HashEdge &e : t.edges) {
            if (e.node == kNone) {
                empty = true;
                continue;
            }
            if (e.node >= t.nodes.size() || !reach(e.child) || (e.child & kNodeMask) == 0)
                return false;
        }
        return empty;
    }

private:
    bool starts(std::size_t at) const {
        return at == m_pool.size() || (static_cast<unsigned char>(m_pool[at]) & 0xC0) != 0x80;
    }
    std::string_view m_pool;
};

} // namespace

std::optional<PhraseConverter> PhraseConverter::fromImage(std::string_view image,
                                                          std::shared_ptr<const void> owner) {
    Header h;
    if (image.size() < sizeof h || reinterpret_cast<std::uintptr_t>(image.data()) % 8)
        return std::nullopt;
    std::memcpy(&h, image.data(), sizeof h);
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.version != kVersion ||
        h.byteOrder != kByteOrder || h.sectionCount > (image.size() - sizeof h) / sizeof(Section) ||
        h.stepCount == 0 || h.stepCount > 64)
        return std::nullopt;
    const std::span<const Section> sections(reinterpret_cast<const Section *>(image.data() + sizeof h),
                                            h.sectionCount);
    ImageReader r(image, sections);
    auto t = std::make_shared<Tables>();
    auto readTrie = [&r](TrieView &v) {
        auto first = r.next<std::uint32_t>(kBmp);
        auto astral = r.next<Edge>();
        auto nodes = r.next<Node>();
        auto edges = r.next<HashEdge>();
        auto pairs = r.next<std::uint64_t>((std::size_t(1) << kPairBits) / 64);
        if (!first || !astral || !nodes || !edges || !pairs || nodes->empty() || edges->size() < 16 ||
            (edges->size() & (edges->size() - 1)))
            return false;
        v = {*first, *astral, *nodes, *edges, *pairs};
        return true;
    };
    const auto pool = r.next<char>();
    const auto direct = r.next<std::uint64_t>();
    const auto directBmp = r.next<Text>();
    const auto directAstral = r.next<AstralText>();
    if (!pool || !direct || !directBmp || !directAstral || !readTrie(t->seg))
        return std::nullopt;
    const bool hasDirect = h.pure == 0;
    if (direct->size() != (hasDirect ? kBmp / 64 : 0) || directBmp->size() != (hasDirect ? kBmp : 0))
        return std::nullopt;
    t->direct = *direct;
    t->directMap = {*directBmp, *directAstral};
    t->pool = pool->data();
    t->segMaxBytes = h.segMaxBytes;
    t->pure = h.pure != 0;
    t->lineLocal = h.lineLocal != 0;
    const auto kinds = r.next<std::uint32_t>(h.stepCount);
    const auto normLead = r.next<std::uint64_t>();
    const auto normBmp = r.next<Text>();
    const auto normAstral = r.next<AstralText>();
    if (!kinds || !normLead || !normBmp || !normAstral)
        return std::nullopt;
    t->hasNorm = !normLead->empty();
    if (normLead->size() != (t->hasNorm ? 65536 / 64 : 0) || normBmp->size() != kBmp)
        return std::nullopt;
    t->normLead = *normLead;
    t->norm = {*normBmp, *normAstral};
    auto readChars = [&r](CharMapView &v) {
        auto bmp = r.next<Text>(kBmp);
        auto astral = r.next<AstralText>();
        if (!bmp || !astral)
            return false;
        v = {*bmp, *astral};
        return true;
    };
    for (const auto kind : *kinds) {
        RunStep s;
        s.isChar = kind == kCharStep;
        s.hasThen = kind == kTrieThenCharStep;
        if (kind > kTrieThenCharStep || (s.isChar && !readChars(s.chars)) ||
            (!s.isChar && (!readTrie(s.trie) || (s.hasThen && !readChars(s.chars)))))
            return std::nullopt;
        t->steps.push_back(s);
    }
    if (!r.allRead() || (t->pure && (t->steps.size() != 1 || !t->steps[0].isChar)))
        return std::nullopt;
    const ImageCheck check(std::string_view(pool->data(), pool->size()));
    bool fits = check.poolIsText() && check.trie(t->seg) && check.chars(t->directMap) && check.chars(t->norm);
    for (const RunStep &s : t->steps)
        fits = fits && (s.isChar || check.trie(s.trie)) && (!(s.isChar || s.hasThen) || check.chars(s.chars));
    if (!fits)
        return std::nullopt;
    for (std::uint32_t c = 0; c < 128; ++c)
        t->plainAscii[c] = t->seg.first[c] == 0 && (!t->pure || t->steps[0].chars.bmp[c].len == kNone);

    PhraseConverter pc;
    pc.m_image = image;
    pc.m_owner = std::move(owner);
    pc.m_tables = std::move(t);
    return pc;
}

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
std::size_t convertNormalized(const PhraseConverter::Tables &t, std::string_view in, std::string &out, bool final) {
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
    while (p < e && e - p > static_cast<std::ptrdiff_t>(reserve)) {
        int len;
        const std::uint32_t c = decode(p, len);
        const Node *n = nullptr;
        if (const std::size_t mlen = matchAt(t.seg, c, len, p, e, n)) {
            flush();
            w.put(t.pool + n->valOff, n->valLen);
            p += mlen;
            runStart = p;
            continue;
        }
        if (t.isDirect(c)) {
            flush();
            putMapped(t.directMap, t.pool, c, p, len, w);
            p += len;
            runStart = p;
            continue;
        }
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
    std::size_t i = 0;
    while (i + 1 < n) {
        const std::size_t stop = std::min(n - 1, i + 4096);
        std::uint64_t hit = 0;
        // Pairs that start with a continuation byte or ASCII are never in the table.
        for (; i < stop; ++i) {
            const unsigned pair = unsigned(p[i]) << 8 | p[i + 1];
            hit |= lead[pair >> 6] >> (pair & 63);
        }
        if (hit & 1)
            return true;
    }
    return false;
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
                if (u == u'\n' && j >= blockEnd)
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

std::u16string convertUtf16(const PhraseConverter &converter, std::u16string_view in) {
    // A large text whose lines convert alone is cut at the line break nearest its middle, and the
    // first half converted on a second thread.
    std::size_t cut = 0;
    if (in.size() >= (std::size_t(1) << 18) && converter.linesConvertAlone() &&
        std::thread::hardware_concurrency() >= 2) {
        const std::size_t nl = in.find(u'\n', in.size() / 2);
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
