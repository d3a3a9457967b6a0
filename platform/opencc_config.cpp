#include "opencc_config.h"

#include "character_maps.h"
#include "isolated_call.h"
#include "mapped_file.h"

#include <nlohmann/json.hpp>
#include <opencc/DartsDict.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace platform {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

constexpr std::size_t kMaxConfigBytes = std::size_t(4) << 20;
constexpr std::size_t kMaxDictionaryBytes = std::size_t(512) << 20;
constexpr std::size_t kHeadBytes = 64;

// Groups within groups, at most: a configuration sets how deep the reader goes, so the depth has a
// bound of ours (20,000 nested groups would otherwise overflow the stack).
constexpr int kMaxGroupDepth = 64;

constexpr char kMarisa[] = "OPENCC_MARISA_0.2.5";
constexpr char kDarts[] = "OPENCCDARTS1";

DictionarySource defaultResolve(const std::string &type, const std::string &file, const fs::path &configDir) {
    if (fs::path(file).is_absolute())
        return {type, file, {}, {}};
    const fs::path beside = configDir / file;
    std::error_code ec;
    if (fs::exists(beside, ec))
        return {type, beside.string(), {}, {}};
    return {type, (fs::path(openccDataDir()) / file).string(), {}, {}};
}

class Reader {
public:
    Reader(const std::string &jsonPath, bool contents, const DictionaryResolver &resolve, OpenccConfig &c,
           std::string &failed, core::Message &why)
        : m_json(jsonPath), m_dir(fs::path(jsonPath).parent_path()), m_contents(contents), m_resolve(resolve),
          m_c(c), m_failed(failed), m_why(why) {}

    // One "dict" object into `node`; `chain`: a dictionary of the conversion chain, where one that
    // may output characters without a glyph is left out; `depth`: the groups around it. False with
    // m_failed set on error.
    bool dict(const json &d, bool chain, DictionaryNode &node, bool &present, int depth = 0) {
        present = false;
        if (depth > kMaxGroupDepth)
            return bad(core::Message(core::MessageId::GroupsTooDeep, {std::to_string(kMaxGroupDepth)}));
        if (!d.is_object() || !d.contains("type") || !d["type"].is_string())
            return bad(core::MessageId::DictionaryWithoutType);
        const std::string type = d["type"];
        if (d.contains("may_output_tofu")) {
            if (!d["may_output_tofu"].is_boolean())
                return bad(core::MessageId::TofuNotBoolean);
            if (chain && d["may_output_tofu"].get<bool>())
                return true;
        }
        if (type == "group") {
            if (d.contains("match_policy")) {
                const json &p = d["match_policy"];
                if (p == "union")
                    node.policy = core::MatchPolicy::Union;
                else if (p != "short_circuit")
                    return bad(core::MessageId::UnknownMatchPolicy);
            }
            if (!d.contains("dicts") || !d["dicts"].is_array())
                return bad(core::MessageId::GroupWithoutDicts);
            for (const auto &m : d["dicts"]) {
                DictionaryNode member;
                bool here = false;
                if (!dict(m, chain, member, here, depth + 1))
                    return false;
                if (here)
                    node.members.push_back(std::move(member));
            }
            // A group left empty is no dictionary at all.
            present = !node.members.empty();
            return true;
        }
        if (type == "inline") {
            const std::string number = std::to_string(++m_inline);
            if (!d.contains("entries") || !d["entries"].is_object())
                return bad(core::Message(core::MessageId::InlineWithoutEntries, {number}));
            // Checked before dump(), which would recurse into any depth of nesting.
            for (const auto &[key, value] : d["entries"].items())
                if (!value.is_string())
                    return bad(core::Message(core::MessageId::InlineEntryNotText, {number, key}));
            // Named by its JSON file, where it is written.
            m_c.sources.push_back({type, m_json, d["entries"].dump(), number});
            node.source = static_cast<int>(m_c.sources.size() - 1);
            present = true;
            return true;
        }
        if ((type != "ocd2" && type != "ocd" && type != "text") || !d.contains("file") ||
            !d["file"].is_string())
            return bad(core::Message(core::MessageId::UnknownDictionaryType, {type}));
        DictionarySource s = m_resolve ? m_resolve(type, d["file"]) : defaultResolve(type, d["file"], m_dir);
        for (std::size_t i = 0; i < m_c.sources.size(); ++i)
            if (m_c.sources[i].path == s.path && m_c.sources[i].type == s.type) {
                node.source = static_cast<int>(i);
                present = true;
                return true;
            }
        auto bytes = m_contents ? readDataFile(s.path, kMaxDictionaryBytes, &m_why)
                                : readDataFileHead(s.path, kHeadBytes, kMaxDictionaryBytes, &m_why);
        if (!bytes) {
            m_failed = s.path;
            return false;
        }
        s.bytes = std::move(*bytes);
        m_c.sources.push_back(std::move(s));
        node.source = static_cast<int>(m_c.sources.size() - 1);
        present = true;
        return true;
    }

    // A chain of {"dict": ...} objects.
    bool chain(const json &list, bool conversion, std::vector<DictionaryNode> &out) {
        if (!list.is_array())
            return bad(core::MessageId::ChainNotList);
        for (const auto &step : list) {
            if (!step.is_object() || !step.contains("dict"))
                return bad(core::MessageId::StepWithoutDict);
            DictionaryNode node;
            bool here = false;
            if (!dict(step["dict"], conversion, node, here))
                return false;
            if (here)
                out.push_back(std::move(node));
        }
        return true;
    }

    bool bad(core::Message why) {
        m_why = why;
        return false;
    }

private:
    std::string m_json;
    fs::path m_dir;
    int m_inline = 0;
    bool m_contents;
    const DictionaryResolver &m_resolve;
    OpenccConfig &m_c;
    std::string &m_failed;
    core::Message &m_why;
};

// Entries of a text dictionary as OpenCC 1.4 reads them; nullopt with `why` on a bad line.
std::optional<core::PhraseDictionary> parseText(std::string_view text, core::Message *why) {
    core::PhraseDictionary dict;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            if (why)
                *why = core::Message(core::MessageId::LineHasNoTab, {std::to_string(lineNo)});
            return std::nullopt;
        }
        const std::string_view values = line.substr(tab + 1);
        dict.push_back({std::string(line.substr(0, tab)), std::string(values.substr(0, values.find(' ')))});
    }
    std::vector<const core::PhraseEntry *> sorted;
    for (const auto &e : dict)
        sorted.push_back(&e);
    std::sort(sorted.begin(), sorted.end(), [](auto *a, auto *b) { return a->key < b->key; });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i]->key == sorted[i - 1]->key) {
            if (why)
                *why = core::Message(core::MessageId::KeyTwice, {sorted[i]->key});
            return std::nullopt;
        }
    return dict;
}

} // namespace

std::optional<OpenccConfig> readOpenccConfig(const std::string &jsonPath, std::string &failed,
                                             core::Message *whyOut, bool contents,
                                             const DictionaryResolver &resolve) {
    OpenccConfig c;
    failed = jsonPath;
    core::Message ignored;
    core::Message &why = whyOut ? *whyOut : ignored;
    auto text = readDataFile(jsonPath, kMaxConfigBytes, &why);
    if (!text)
        return std::nullopt;
    c.json = std::move(*text);
    // OpenCC's parser takes comments.
    const json j = json::parse(c.json, nullptr, false, true);
    Reader r(jsonPath, contents, resolve, c, failed, why);
    if (j.is_discarded() || !j.is_object()) {
        r.bad(core::MessageId::NotJson);
        return std::nullopt;
    }
    if (!j.contains("conversion_chain")) {
        r.bad(core::MessageId::NoConversionChain);
        return std::nullopt;
    }
    if (j.contains("segmentation")) {
        const json &seg = j["segmentation"];
        if (!seg.is_object() || !seg.contains("dict") || (seg.contains("type") && seg["type"] != "mmseg")) {
            r.bad(core::MessageId::SegmentationNotMmseg);
            return std::nullopt;
        }
        bool here = false;
        if (!r.dict(seg["dict"], false, c.segmentation, here))
            return std::nullopt;
    }
    if (!r.chain(j["conversion_chain"], true, c.steps))
        return std::nullopt;
    if (j.contains("normalization") && !r.chain(j["normalization"], true, c.normalization))
        return std::nullopt;
    failed.clear();
    return c;
}

bool dictionaryHeaderFits(const DictionarySource &s) {
    if (s.type == "ocd2")
        return s.bytes.compare(0, sizeof kMarisa - 1, kMarisa) == 0;
    if (s.type == "ocd")
        return s.bytes.compare(0, sizeof kDarts - 1, kDarts) == 0;
    return true;
}

std::optional<core::PhraseDictionary> readDictionary(const DictionarySource &s, core::Message *why) {
    auto fail = [why](core::Message reason) {
        if (why)
            *why = std::move(reason);
        return std::nullopt;
    };
    if (s.type == "text")
        return parseText(s.bytes, why);
    if (s.type == "inline") {
        const json entries = json::parse(s.bytes, nullptr, false);
        if (!entries.is_object())
            return fail(core::MessageId::NotAnObjectOfEntries);
        if (entries.empty())
            return fail(core::MessageId::NoEntries);
        core::PhraseDictionary dict;
        for (const auto &[key, value] : entries.items()) {
            if (key.empty() || !value.is_string() || value.get<std::string>().empty())
                return fail(core::Message(core::MessageId::EntryEmptyOrNotText, {key}));
            dict.push_back({key, value});
        }
        return dict;
    }
    // OpenCC leaks and may crash on a foreign binary file: such a file is refused on its header.
    if (!dictionaryHeaderFits(s))
        return fail(core::MessageId::NotOpenccDictionary);
    // Its tries do not check their offsets either (one changed word of a real .ocd2 crashes
    // them, or sends them round for ever): OpenCC reads the file in a child process, which hands
    // back each key and its first value, NUL-terminated, for us to check. Debian's largest
    // dictionary (0.9 MB) reads in about 0.1 s of processor time; a child gets a second and two
    // more per MB of it. A busy machine stretches the wall time, not that: a child that used up
    // its share read a damaged (or absurd) file, one that only missed the wall deadline was stuck.
    IsolationLimits limits;
    limits.cpuTime = std::chrono::milliseconds(1000 + s.bytes.size() / 500);
    limits.maxResult = 4 * s.bytes.size() + (std::size_t(1) << 20);
    core::Message childWhy;
    const auto flat = runIsolated(
        [&s]() -> std::optional<std::string> {
            std::unique_ptr<FILE, int (*)(FILE *)> f(
                fmemopen(const_cast<char *>(s.bytes.data()), s.bytes.size(), "rb"), &std::fclose);
            if (!f)
                return std::nullopt;
            opencc::LexiconPtr lexicon = s.type == "ocd2"
                                             ? opencc::MarisaDict::NewFromFile(f.get())->GetLexicon()
                                             : opencc::DartsDict::NewFromFile(f.get())->GetLexicon();
            std::string out;
            for (const auto &entry : *lexicon) {
                const std::string key = entry->Key(), value = entry->GetDefault();
                if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos)
                    return std::nullopt;
                out += key;
                out += '\0';
                out += value;
                out += '\0';
            }
            return out;
        },
        childWhy, limits);
    if (!flat)
        return fail(childWhy.id == core::MessageId::ReaderCannotStart ||
                            childWhy.id == core::MessageId::ReaderStuck
                        ? childWhy
                        : core::Message(core::MessageId::DamagedDictionary));
    core::PhraseDictionary dict;
    std::string_view rest = *flat;
    while (!rest.empty()) {
        const std::size_t k = rest.find('\0');
        const std::size_t v = k == std::string_view::npos ? k : rest.find('\0', k + 1);
        if (v == std::string_view::npos || k == 0)
            return fail(core::MessageId::DamagedDictionary);
        dict.push_back({std::string(rest.substr(0, k)), std::string(rest.substr(k + 1, v - k - 1))});
        rest.remove_prefix(v + 1);
    }
    return dict;
}

std::optional<ConfigDictionaries> readConfigDictionaries(const OpenccConfig &c, std::string &failed,
                                                         core::Message *why) {
    ConfigDictionaries r;
    r.dicts.reserve(c.sources.size()); // the view points into it
    for (const auto &s : c.sources) {
        auto dict = readDictionary(s, why);
        if (!dict) {
            failed = s.path;
            if (why && !s.entry.empty())
                *why = core::Message(core::MessageId::InInlineDictionary, {s.entry}, {*why});
            return std::nullopt;
        }
        r.dicts.push_back(std::move(*dict));
    }
    auto tree = [&r](const DictionaryNode &n, auto &self) -> core::PhraseTree {
        core::PhraseTree t;
        t.policy = n.policy;
        if (n.source >= 0)
            t.dict = &r.dicts[static_cast<std::size_t>(n.source)];
        for (const auto &m : n.members)
            t.members.push_back(self(m, self));
        return t;
    };
    r.view.segmentation = tree(c.segmentation, tree);
    for (const auto &s : c.steps)
        r.view.steps.push_back(tree(s, tree));
    for (const auto &s : c.normalization)
        r.view.normalization.push_back(tree(s, tree));
    return r;
}

} // namespace platform
