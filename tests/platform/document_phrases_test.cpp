// The document engine's segmented conversion on Debian's OpenCC configurations: the same result as
// the plain conversion on text made of the configurations' own phrases, and phrases across runs
// put back onto their runs as the real s2twp and tw2sp convert them.

#include "core/document/run_mapping.h"
#include "platform/opencc_config.h"
#include "platform/phrase_config.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace core::document;

struct Loaded {
    core::PhraseConverter converter;
    std::vector<std::string> words; // keys and values of its dictionaries
};

const Loaded &load(const std::string &config) {
    static std::map<std::string, Loaded> all;
    if (const auto it = all.find(config); it != all.end())
        return it->second;
    const std::string path = platform::phraseConfigPath(config);
    auto load = platform::loadPhraseConverter(config); // the built-in image
    EXPECT_TRUE(load.converter) << load.failedPath << ": " << load.why;
    std::vector<std::string> words;
    std::string failed;
    if (const auto parsed = platform::readOpenccConfig(path, failed))
        if (const auto dicts = platform::readConfigDictionaries(*parsed, failed))
            for (const auto &d : dicts->dicts)
                for (const auto &e : d) {
                    words.push_back(e.key);
                    words.push_back(e.value);
                }
    EXPECT_FALSE(words.empty());
    return all.emplace(config, Loaded{std::move(*load.converter), std::move(words)}).first->second;
}

TEST(DocumentPhrases, SegmentedEqualsPlainOnEachConfigurationsOwnPhrases) {
    std::mt19937 rng(26);
    for (const char *config : {"s2twp", "tw2sp"}) {
        SCOPED_TRACE(config);
        const Loaded &l = load(config);
        for (int round = 0; round < 200; ++round) {
            std::string text;
            for (int k = 0; k < 12; ++k)
                text += l.words[rng() % l.words.size()] + (rng() % 4 ? "" : "，");
            std::string out;
            std::vector<core::Segment> segments;
            l.converter.convertSegmented(text, out, segments);
            ASSERT_EQ(out, l.converter.convert(text)) << text;
            ASSERT_FALSE(text.empty() ? !segments.empty() : segments.empty());
        }
    }
}

TEST(DocumentPhrases, RealPhrasesAcrossRuns) {
    struct Case {
        const char *config;
        std::vector<std::string> in, out;
    };
    const Case cases[] = {
        {"s2twp", {"内", "存"}, {"記憶體", ""}},
        {"s2twp", {"方", "便", "面"}, {"泡麵", "", ""}},
        {"s2twp", {"插上U", "盘"}, {"插上隨身碟", ""}},
        {"s2twp", {"软", "件"}, {"軟", "體"}},
        {"s2twp", {"我的", "", "软件"}, {"我的", "", "軟體"}},
        {"tw2sp", {"記憶", "體"}, {"内存", ""}},
        {"tw2sp", {"隨", "身", "碟"}, {"U盘", "", ""}},
        {"s2t", {"头", "发"}, {"頭", "髮"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.config) + " " + c.in[0]);
        const PhraseSegmentedConverter conv(load(c.config).converter);
        const std::vector<std::string_view> views(c.in.begin(), c.in.end());
        const auto edits = convertPieces(views, conv);
        std::vector<std::string> out;
        for (std::size_t k = 0; k < c.in.size(); ++k)
            out.push_back(applyEdits(c.in[k], edits[k]));
        EXPECT_EQ(out, c.out);
    }
}

} // namespace
