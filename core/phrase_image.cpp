#include "phrase_image.h"

#include "utf.h"

#include <memory>

namespace core {
using namespace phrase;

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
    if (t->hasNorm) {
        std::vector<unsigned char> leads;
        for (unsigned b = 0; b < 256; ++b)
            for (unsigned w = 0; w < 4; ++w)
                if ((*normLead)[b * 4 + w]) {
                    leads.push_back(static_cast<unsigned char>(b));
                    break;
                }
        if (!leads.empty() && leads.size() <= 2) {
            t->normLeadBytes[0] = leads[0];
            t->normLeadBytes[1] = leads.back();
        }
    }
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

} // namespace core
