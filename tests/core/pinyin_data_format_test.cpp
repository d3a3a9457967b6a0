// The data file's writer against its reader: what is written is what the engine reads back.

#include "core/pinyin_data_format.h"
#include "core/pinyin_reading.h"

#include <gtest/gtest.h>

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

} // namespace
