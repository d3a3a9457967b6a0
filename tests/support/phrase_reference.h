#pragma once

// The phrase conversion written plainly from its rules, slow, for checking the fast converter:
// segment by longest match of the segmentation group, gather unmatched characters, then run every
// segment through each step by longest match of the first dictionary in the group that matches.

#include "core/phrase_convert.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class PhraseReference {
public:
    explicit PhraseReference(const core::PhraseConfig &config) : m_seg(groupOf(config.segmentation)) {
        for (const auto &g : config.steps)
            m_steps.push_back(groupOf(g));
    }

    std::string convert(std::string_view text) const {
        std::string out, gathered;
        std::size_t i = 0;
        while (i < text.size()) {
            const auto [len, value] = match(m_seg, text.substr(i));
            if (len == 0) {
                const std::size_t n = charLength(text, i);
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

private:
    using Dict = std::map<std::string, std::string, std::less<>>;
    using Group = std::vector<Dict>;

    static Group groupOf(const core::PhraseGroup &g) {
        Group group;
        for (const auto &d : g) {
            Dict dict;
            for (const auto &e : d)
                if (!e.key.empty())
                    dict.emplace(e.key, e.value);
            group.push_back(std::move(dict));
        }
        return group;
    }
    static std::size_t charLength(std::string_view s, std::size_t i) {
        std::size_t n = 1;
        while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
            ++n;
        return n;
    }
    // The longest key of the first dictionary with a key at the start of `s`: its length and value.
    static std::pair<std::size_t, std::string> match(const Group &g, std::string_view s) {
        for (const auto &dict : g) {
            for (std::size_t len = std::min<std::size_t>(s.size(), 64); len > 0; --len) {
                const auto it = dict.find(s.substr(0, len));
                if (it != dict.end())
                    return {len, it->second};
            }
        }
        return {0, {}};
    }
    std::string chain(std::string segment) const {
        for (const auto &step : m_steps) {
            std::string next;
            for (std::size_t i = 0; i < segment.size();) {
                const auto [len, value] = match(step, std::string_view(segment).substr(i));
                if (len == 0) {
                    const std::size_t n = charLength(segment, i);
                    next += segment.substr(i, n);
                    i += n;
                } else {
                    next += value;
                    i += len;
                }
            }
            segment = std::move(next);
        }
        return segment;
    }

    Group m_seg;
    std::vector<Group> m_steps;
};

} // namespace testsupport
