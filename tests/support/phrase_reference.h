#pragma once

// The phrase conversion written plainly from its rules, slow, for checking the fast converter:
// normalize the whole text, segment by longest match of the segmentation, gather unmatched
// characters, then run every segment through each step by longest match. A group matches as its
// policy says (the first member that matches, or the longest match of all); an ideographic
// description where nothing matches is kept whole.

#include "core/phrase_convert.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class PhraseReference {
public:
    explicit PhraseReference(const core::PhraseConfig &config) : PhraseReference(core::viewOf(config)) {}
    explicit PhraseReference(const core::PhraseConfigView &config) : m_seg(treeOf(config.segmentation)) {
        for (const auto &g : config.steps)
            m_steps.push_back(treeOf(g));
        for (const auto &g : config.normalization)
            m_norm.push_back(treeOf(g));
    }

    std::string convert(std::string_view input) const {
        std::string normalized(input);
        for (const auto &step : m_norm)
            normalized = apply(step, normalized, true);
        const std::string_view text = normalized;
        std::string out, gathered;
        std::size_t i = 0;
        while (i < text.size()) {
            const auto [len, value] = match(m_seg, text.substr(i));
            if (len == 0) {
                std::size_t n = idsLength(text.substr(i));
                if (n == 0)
                    n = charLength(text, i);
                gathered += text.substr(i, n);
                i += n;
                continue;
            }
            out += chain(gathered);
            gathered.clear();
            out += chain(std::string(text.substr(i, len)));
            i += len;
        }
        return out + chain(gathered);
    }

    // The length of the complete ideographic description at the start of `s`, 0 when there is none.
    static std::size_t idsLength(std::string_view s) {
        int count = 0;
        const long n = ids(s, 0, 16, count);
        return n > 0 && firstIsOperator(s) ? static_cast<std::size_t>(n) : 0;
    }

private:
    using Dict = std::map<std::string, std::string, std::less<>>;
    struct Tree {
        std::unique_ptr<Dict> dict;
        core::MatchPolicy policy = core::MatchPolicy::ShortCircuit;
        std::vector<Tree> members;
    };

    static Tree treeOf(const core::PhraseTree &t) {
        Tree tree;
        tree.policy = t.policy;
        if (t.dict) {
            tree.dict = std::make_unique<Dict>();
            for (const auto &e : *t.dict)
                if (!e.key.empty())
                    tree.dict->emplace(e.key, e.value);
        }
        for (const auto &m : t.members)
            tree.members.push_back(treeOf(m));
        return tree;
    }
    static std::size_t charLength(std::string_view s, std::size_t i) {
        std::size_t n = 1;
        while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
            ++n;
        return n;
    }
    static char32_t codePoint(std::string_view s) {
        const auto b = static_cast<unsigned char>(s[0]);
        const std::size_t n = charLength(s, 0);
        char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[k]) & 0x3F);
        return c;
    }
    static bool firstIsOperator(std::string_view s) {
        return !s.empty() && core::isIdsOperator(codePoint(s));
    }
    // A description's length from `at`: > 0 complete, 0 incomplete, -1 invalid.
    static long ids(std::string_view s, std::size_t at, int depth, int &count) {
        if (at >= s.size())
            return 0;
        if (depth == 0 || count >= 64)
            return -1;
        ++count;
        const char32_t c = codePoint(s.substr(at));
        std::size_t end = at + charLength(s, at);
        if (!core::isIdsOperator(c))
            return static_cast<long>(end - at);
        const int arity = (c == 0x2FF2 || c == 0x2FF3) ? 3 : (c == 0x2FFE || c == 0x2FFF) ? 1 : 2;
        for (int k = 0; k < arity; ++k) {
            const long n = ids(s, end, depth - 1, count);
            if (n <= 0)
                return n;
            end += static_cast<std::size_t>(n);
        }
        return static_cast<long>(end - at);
    }
    // The match of `t` at the start of `s`: its length and value (0 when none).
    static std::pair<std::size_t, std::string> match(const Tree &t, std::string_view s) {
        if (t.dict) {
            for (std::size_t len = std::min<std::size_t>(s.size(), 64); len > 0; --len) {
                const auto it = t.dict->find(s.substr(0, len));
                if (it != t.dict->end())
                    return {len, it->second};
            }
            return {0, {}};
        }
        std::pair<std::size_t, std::string> best{0, {}};
        for (const auto &m : t.members) {
            auto found = match(m, s);
            if (found.first == 0)
                continue;
            if (t.policy == core::MatchPolicy::ShortCircuit)
                return found;
            if (found.first > best.first)
                best = std::move(found);
        }
        return best;
    }
    static std::string apply(const Tree &step, std::string_view segment, bool) {
        std::string next;
        for (std::size_t i = 0; i < segment.size();) {
            const auto [len, value] = match(step, segment.substr(i));
            if (len == 0) {
                std::size_t n = idsLength(segment.substr(i));
                if (n == 0)
                    n = charLength(segment, i);
                next += segment.substr(i, n);
                i += n;
            } else {
                next += value;
                i += len;
            }
        }
        return next;
    }
    std::string chain(std::string segment) const {
        for (const auto &step : m_steps)
            segment = apply(step, segment, false);
        return segment;
    }

    Tree m_seg;
    std::vector<Tree> m_steps, m_norm;
};

} // namespace testsupport
