// Building a phrase converter: the dictionaries of each group merged into one trie, the steps
// between segmentation keys reduced to character mappings where they can be, the characters that
// need no gathering found, and everything laid out as an image.

#include "phrase_image.h"
#include "phrase_tables.h"

#include "utf.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace core {
using namespace phrase;
namespace {

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

// A dictionary or a group as one trie whose longest match is the match of the whole. In a
// short-circuit group a key of a later member is dropped when it or one of its prefixes is a key
// of an earlier one, so the longest match of the whole is the longest match of the first member
// that matches at all; in a union every key counts, the earlier member's value on a tie.
TrieBuilder mergeTree(const PhraseTree &tree) {
    TrieBuilder t;
    if (tree.dict) {
        for (const auto &e : *tree.dict)
            if (usable(e))
                t.insert(codePoints(e.key), e.value);
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
    // Without segmentation the whole text is one segment; with one step, converting it is that
    // step's longest match at each place, which is what segmentation by the step's own keys, each
    // key written as its value, gives: the fast path of a segmentation alone.
    const bool segIsStep = seg.keyCount() == 0 && steps.size() == 1;
    if (segIsStep) {
        seg = std::move(steps[0]);
        steps.clear();
    }

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
        // A one-byte character is listed with every byte that may follow it.
        for (unsigned next = 0; next < 256; ++next) {
            const std::uint32_t lead = std::uint32_t(static_cast<unsigned char>(u[0])) << 8 |
                                       (u.size() > 1 ? static_cast<unsigned char>(u[1]) : next);
            normLead[lead >> 6] |= std::uint64_t(1) << (lead & 63);
        }
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
        const std::string text = segIsStep ? std::string(seg.value(i)) : chain(std::move(key));
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

} // namespace core
