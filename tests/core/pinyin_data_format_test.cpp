// The data file's writer against its reader: what is written is what the engine reads back.

#include "core/pinyin_data_format.h"
#include "core/pinyin_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// Written bytes copied into 4-byte aligned memory, as a mapped file is.
struct Aligned {
    explicit Aligned(const std::vector<unsigned char> &bytes)
        : words((bytes.size() + 3) / 4), size(bytes.size()) {
        std::memcpy(words.data(), bytes.data(), bytes.size());
    }
    std::span<const unsigned char> span() const {
        return {reinterpret_cast<const unsigned char *>(words.data()), size};
    }
    std::vector<std::uint32_t> words;
    std::size_t size;
};

core::PinyinDataContent sample() {
    core::PinyinDataContent c;
    c.info = "test data\n";
    c.readings = {{U'银', "yin2"}, {U'行', "xing2"}, {U'长', "chang2"}, {U'大', "da4"}, {U'𠀀', "qiu1"}};
    c.words[U"银行"] = {120, {"yin2", "hang2"}, "n"};
    c.words[U"长大"] = {300, {"zhang3", "da4"}, ""};
    c.words[U"行"] = {900, {}, "v"};
    c.unknownCost = 4000;
    return c;
}

// The node of a whole word, or 0.
std::uint32_t nodeOf(const core::PinyinReadingData &d, std::u32string_view w) {
    std::uint32_t node = 0;
    for (char32_t c : w)
        if (!(node = d.child(node, c)))
            return 0;
    return node;
}

std::string readingOf(const core::PinyinReadingData &d, std::u32string_view w) {
    const auto &s = d.slot(nodeOf(d, w));
    if (s.reading == core::kNoWordReading)
        return "-";
    std::string out;
    for (std::size_t k = 0; k < w.size(); ++k)
        out += std::string(d.syllableName(d.readingAt(s.reading + static_cast<std::uint32_t>(k)))) + " ";
    return out;
}

TEST(PinyinDataFormat, WhatIsWrittenReadsBack) {
    const auto c = sample();
    std::string why;
    const Aligned file(core::writePinyinData(c, &why));
    ASSERT_GT(file.size, sizeof(core::PinyinDataHeader)) << why;
    core::Message unread;
    const auto d = core::PinyinReadingData::open(file.span(), &unread);
    ASSERT_TRUE(d) << unread;
    EXPECT_EQ(d->info(), c.info);
    EXPECT_EQ(d->unknownCost(), 4000u);
    for (const auto &[cp, syl] : c.readings) {
        SCOPED_TRACE(static_cast<std::uint32_t>(cp));
        ASSERT_NE(d->syllableOf(cp), core::kNoSyllable);
        EXPECT_EQ(d->syllableName(d->syllableOf(cp)), syl);
    }
    EXPECT_FALSE(d->hasReading(U'中'));
    // The sandhi syllables are always there, though no character reads so.
    for (const char *s : {"yi1", "yi2", "yi4", "bu2", "bu4"})
        EXPECT_NE(d->syllableId(s), core::kNoSyllable) << s;

    EXPECT_EQ(readingOf(*d, U"银行"), "yin2 hang2 ");
    EXPECT_EQ(readingOf(*d, U"长大"), "zhang3 da4 ");
    EXPECT_EQ(readingOf(*d, U"行"), "-");
    EXPECT_EQ(d->slot(nodeOf(*d, U"银行")).cost(), 120u);
    EXPECT_EQ(d->slot(nodeOf(*d, U"行")).cost(), 900u);
    // A prefix of a word is a node but no word; what no word holds is no node.
    EXPECT_EQ(d->slot(nodeOf(*d, U"银")).cost(), core::kNotASegmentationWord);
    // Parts of speech are numbered in their sorted order from 1; 0 is none.
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"银行")), 1u);
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"行")), 2u);
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"长大")), 0u);
    EXPECT_FALSE(d->readInContext(nodeOf(*d, U"银行")));
    EXPECT_EQ(nodeOf(*d, U"大行"), 0u);
    EXPECT_EQ(nodeOf(*d, U"银大"), 0u);
}

TEST(PinyinDataFormat, ModelsReadBackAndPickTheHighestSum) {
    auto c = sample();
    // 行 reads xíng unless feature 7 is there (háng); feature 9 pulls back to xíng.
    c.models[U'行'] = {{"xing2", "hang2"}, {{7, {0, 100}}, {9, {150, 0}}, {11, {-5, -5}}}};
    c.models[U'长'] = {{"chang2", "zhang3"}, {{7, {0, -100}}}};
    std::string why;
    const Aligned file(core::writePinyinData(c, &why));
    core::Message unread;
    const auto d = core::PinyinReadingData::open(file.span(), &unread);
    ASSERT_TRUE(d) << unread;
    ASSERT_EQ(d->modelCount(), 2u);
    EXPECT_LT(d->modelOf(U'银'), 0);
    EXPECT_LT(d->modelOf(U'中'), 0);
    const int xing = d->modelOf(U'行'), chang = d->modelOf(U'长');
    ASSERT_GE(xing, 0);
    ASSERT_GE(chang, 0);
    struct Case {
        int model;
        std::vector<std::uint32_t> features;
        const char *reading;
    } cases[] = {
        {xing, {}, "xing2"},                                                      // no feature: the default
        {xing, {7}, "hang2"},     {xing, {7, 9}, "xing2"}, {xing, {11}, "xing2"}, // equal sums: the default
        {xing, {12345}, "xing2"}, // a feature the model never saw
        {chang, {7}, "chang2"},   // the same feature weighs per model
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.reading);
        EXPECT_EQ(d->syllableName(d->predict(k.model, k.features)), k.reading);
    }
    // What a model knows: its own features, those of equal weights too, and no other model's.
    EXPECT_TRUE(d->knows(xing, 7));
    EXPECT_TRUE(d->knows(xing, 11));
    EXPECT_FALSE(d->knows(xing, 12345));
    EXPECT_FALSE(d->knows(chang, 9));
}

// A word read in context keeps its part of speech beside the mark, with or without one.
TEST(PinyinDataFormat, WordsReadInContextAreMarked) {
    auto c = sample();
    c.words[U"银行"].readInContext = true;
    c.words[U"长大"].readInContext = true;
    std::string why;
    const Aligned file(core::writePinyinData(c, &why));
    core::Message unread;
    const auto d = core::PinyinReadingData::open(file.span(), &unread);
    ASSERT_TRUE(d) << unread;
    EXPECT_TRUE(d->readInContext(nodeOf(*d, U"银行")));
    EXPECT_TRUE(d->readInContext(nodeOf(*d, U"长大")));
    EXPECT_FALSE(d->readInContext(nodeOf(*d, U"行")));
    EXPECT_FALSE(d->readInContext(0));
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"银行")), 1u);
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"长大")), 0u);
    EXPECT_EQ(d->tagOf(nodeOf(*d, U"行")), 2u);
}

TEST(PinyinDataFormat, SameContentSameBytes) {
    EXPECT_EQ(core::writePinyinData(sample()), core::writePinyinData(sample()));
}

TEST(PinyinDataFormat, ContentTheFileCannotHoldIsRefused) {
    struct Case {
        const char *name;
        void (*spoil)(core::PinyinDataContent &);
    } cases[] = {
        {"word starting without a reading",
         [](core::PinyinDataContent &c) {
             c.words[U"中行"] = {10, {}, ""};
         }},
        {"reading shorter than its word",
         [](core::PinyinDataContent &c) {
             c.words[U"大行"] = {10, {"da4"}, ""};
         }},
        {"syllable without a tone", [](core::PinyinDataContent &c) { c.readings[U'中'] = "zhong"; }},
        {"code point beyond the file",
         [](core::PinyinDataContent &c) {
             c.words[U"大\U00040000"] = {10, {}, ""};
         }},
        {"model of a character without a reading",
         [](core::PinyinDataContent &c) {
             c.models[U'中'] = {{"zhong1"}, {}};
         }},
        {"model without readings", [](core::PinyinDataContent &c) { c.models[U'行'] = {}; }},
        {"128 parts of speech (the high bit marks words read in context)",
         [](core::PinyinDataContent &c) {
             for (char32_t k = 0; k < 126; ++k)
                 c.words[std::u32string(U"银") + static_cast<char32_t>(U'一' + k)] = {
                     10, {}, "t" + std::to_string(k)};
         }},
        {"weights not one per reading",
         [](core::PinyinDataContent &c) {
             c.models[U'行'] = {{"xing2", "hang2"}, {{1, {3}}}};
         }},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        auto c = sample();
        k.spoil(c);
        std::string why;
        EXPECT_TRUE(core::writePinyinData(c, &why).empty());
        EXPECT_FALSE(why.empty());
    }
}

} // namespace

namespace {

TEST(PinyinContext, WhatLiesBesideARun) {
    using core::PinyinBoundary;
    const std::pair<char32_t, PinyinBoundary> cases[] = {
        {U'7', PinyinBoundary::Digit},        {U'７', PinyinBoundary::Digit},
        {U'Q', PinyinBoundary::Latin},        {U'é', PinyinBoundary::Latin},
        {U'，', PinyinBoundary::Punctuation}, {U'(', PinyinBoundary::Punctuation},
        {U'《', PinyinBoundary::Punctuation}, {U' ', PinyinBoundary::Space},
        {U'\n', PinyinBoundary::Edge},        {U'　', PinyinBoundary::Space},
        {U'\r', PinyinBoundary::Edge},        {U'\t', PinyinBoundary::Space},
        {U'か', PinyinBoundary::Other},       {U'한', PinyinBoundary::Other},
    };
    for (const auto &[c, want] : cases) {
        SCOPED_TRACE(static_cast<std::uint32_t>(c));
        EXPECT_EQ(core::pinyinBoundaryOf(c), want);
    }
}

// The features of a position see its neighbours and what lies beyond the run, and nothing else.
TEST(PinyinContext, FeaturesChangeWithTheContextOnly) {
    using core::PinyinBoundary;
    const std::u32string run = U"人口为五万";
    const std::vector<std::uint8_t> starts = {1, 0, 1, 1, 1};
    std::vector<std::uint32_t> a, b;
    core::pinyinContextFeatures(run, starts, {}, 2, PinyinBoundary::Edge, PinyinBoundary::Edge, a);
    core::pinyinContextFeatures(run, starts, {}, 2, PinyinBoundary::Edge, PinyinBoundary::Edge, b);
    EXPECT_EQ(a, b);
    EXPECT_GE(a.size(), 10u);
    core::pinyinContextFeatures(run, starts, {}, 2, PinyinBoundary::Digit, PinyinBoundary::Edge, b);
    EXPECT_NE(a, b) << "three characters back lies the boundary before the run";
    const std::u32string other = U"人口为十万";
    core::pinyinContextFeatures(other, starts, {}, 2, PinyinBoundary::Edge, PinyinBoundary::Edge, b);
    EXPECT_NE(a, b);
    EXPECT_EQ(a[0], b[0]) << "the bias feature is the same everywhere";
}

// Each feature says which edges of the run it looks past: exactly those whose boundary changes it.
TEST(PinyinContext, FeaturesSayWhichEdgesTheyLookPast) {
    using core::PinyinBoundary;
    const std::u32string run = U"人口为五万";
    const std::vector<std::uint8_t> starts = {1, 0, 1, 1, 1};
    for (std::size_t i = 0; i < run.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<std::uint32_t> edge, digitBefore, digitAfter;
        std::vector<std::uint8_t> beyond;
        core::pinyinContextFeatures(run, starts, {}, i, PinyinBoundary::Edge, PinyinBoundary::Edge, edge,
                                    &beyond);
        core::pinyinContextFeatures(run, starts, {}, i, PinyinBoundary::Digit, PinyinBoundary::Edge,
                                    digitBefore);
        core::pinyinContextFeatures(run, starts, {}, i, PinyinBoundary::Edge, PinyinBoundary::Digit,
                                    digitAfter);
        ASSERT_EQ(beyond.size(), edge.size());
        ASSERT_EQ(digitBefore.size(), edge.size());
        ASSERT_EQ(digitAfter.size(), edge.size());
        for (std::size_t k = 0; k < edge.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ((beyond[k] & core::kPastStart) != 0, edge[k] != digitBefore[k]);
            EXPECT_EQ((beyond[k] & core::kPastEnd) != 0, edge[k] != digitAfter[k]);
        }
    }
}

// Near a line's edge, a model that leaves the dictionary's reading decides again without the
// features that look past the edge; between other text, the same weights decide as they add up.
TEST(PinyinContext, AtALinesEdgeAModelMustWinWithoutWhatLiesPastIt) {
    using core::PinyinBoundary;
    const std::u32string run = U"长了";
    const std::vector<std::uint8_t> starts = {1, 1};
    std::vector<std::uint32_t> atEdge, quoted;
    std::vector<std::uint8_t> beyond;
    core::pinyinContextFeatures(run, starts, {}, 0, PinyinBoundary::Edge, PinyinBoundary::Edge, atEdge,
                                &beyond);
    core::pinyinContextFeatures(run, starts, {}, 0, PinyinBoundary::Punctuation, PinyinBoundary::Punctuation,
                                quoted);
    // The bias, the character before (the boundary) and the one after (了).
    ASSERT_EQ(beyond[0], 0);
    ASSERT_EQ(beyond[1], core::kPastStart);
    ASSERT_EQ(beyond[2], 0);
    const struct {
        std::int16_t bias, before, after;
        const char *line, *quotedLine;
    } cases[] = {
        {-50, 100, 0, "chang2 le5", "“zhang3 le5”"},  // what lies past the edge does not decide alone
        {-50, 100, 60, "zhang3 le5", "“zhang3 le5”"}, // 了 after it tips the balance
        {-50, 100, 50, "chang2 le5", "“zhang3 le5”"}, // between equals, the dictionary's
        {50, 0, 0, "zhang3 le5", "“zhang3 le5”"},     // the bias decides as ever
        {50, -100, 0, "chang2 le5", "“chang2 le5”"},  // what lies past the edge still counts for the default
        {0, 0, 0, "chang2 le5", "“chang2 le5”"},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(testing::Message() << k.bias << " " << k.before << " " << k.after);
        core::PinyinDataContent c;
        c.readings = {{U'长', "chang2"}, {U'了', "le5"}};
        c.words[U"长"] = {300, {}, "v"};
        c.words[U"了"] = {300, {}, ""};
        c.unknownCost = 4000;
        auto &model = c.models[U'长'];
        model.classes = {"chang2", "zhang3"};
        model.weights[atEdge[0]] = {0, k.bias};
        model.weights[atEdge[1]] = {0, k.before};
        model.weights[quoted[1]] = {0, k.before};
        model.weights[atEdge[2]] = {0, k.after};
        std::string why;
        const Aligned file(core::writePinyinData(c, &why));
        core::Message unread;
        const auto d = core::PinyinReadingData::open(file.span(), &unread);
        ASSERT_TRUE(d) << unread;
        EXPECT_EQ(core::readPinyin("长了", *d, {core::PinyinTone::Numbers}), k.line);
        EXPECT_EQ(core::readPinyin("“长了”", *d, {core::PinyinTone::Numbers}), k.quotedLine);
    }
}

// In a word marked as read in context, a polyphone reads as its model decides where the model
// knows that word; elsewhere the word's own reading holds.
TEST(PinyinContext, WordsReadInContextAskTheModelsThatKnowThem) {
    core::PinyinDataContent c;
    c.readings = {{U'教', "jiao4"}, {U'会', "hui4"}, {U'学', "xue2"}, {U'她', "ta1"}, {U'了', "le5"}};
    c.words[U"教会"] = {100, {"jiao4", "hui4"}, "n", true};
    c.words[U"教学"] = {100, {"jiao4", "xue2"}, "n", true};
    c.words[U"会"] = {300, {}, "v"};
    c.unknownCost = 4000;
    // 教 reads jiāo in 教会 where 了 follows it; 教学 is a word it never learnt.
    // (Strings, not literals: a literal's span would hold its terminating zero too.)
    const std::u32string taughtIt = U"教会了", church = U"教会";
    std::vector<std::uint32_t> le, none;
    core::pinyinContextFeatures(taughtIt, std::vector<std::uint8_t>{1, 0, 1}, {}, 0, core::PinyinBoundary::Edge,
                                core::PinyinBoundary::Edge, le);
    core::pinyinContextFeatures(church, std::vector<std::uint8_t>{1, 0}, {}, 0, core::PinyinBoundary::Edge,
                                core::PinyinBoundary::Edge, none);
    auto &model = c.models[U'教'];
    model.classes = {"jiao4", "jiao1"};
    model.weights[le.back()] = {0, 0};
    for (std::uint32_t f : le)
        if (std::find(none.begin(), none.end(), f) == none.end())
            model.weights[f] = {0, 100};
    std::string why;
    const Aligned file(core::writePinyinData(c, &why));
    core::Message unread;
    const auto d = core::PinyinReadingData::open(file.span(), &unread);
    ASSERT_TRUE(d) << unread;
    const struct {
        const char *in, *out;
    } cases[] = {
        {"她教会了", "ta1 jiao1 hui4 le5"}, // the model knows the word and 了 after it
        {"她教会", "ta1 jiao4 hui4"},       // it knows the word; nothing pulls
        {"教学了", "jiao4 xue2 le5"},       // a word it never learnt keeps its reading
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.in);
        EXPECT_EQ(core::readPinyin(k.in, *d, {core::PinyinTone::Numbers}), k.out);
    }
    c.words[U"教会"].readInContext = false; // unmarked: the word's reading
    const Aligned plain(core::writePinyinData(c, &why));
    const auto p = core::PinyinReadingData::open(plain.span(), &unread);
    ASSERT_TRUE(p) << unread;
    EXPECT_EQ(core::readPinyin("她教会了", *p, {core::PinyinTone::Numbers}), "ta1 jiao4 hui4 le5");
}

} // namespace
