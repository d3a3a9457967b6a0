// The phrase converter on small dictionaries: its rules by hand, and against the plain reference
// over random dictionaries and texts, whole and in pieces.

#include "core/phrase_convert.h"
#include "core/utf.h"
#include "phrase_reference.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <random>
#include <string>

namespace {

using core::PhraseConfig;
using core::PhraseConverter;

// Segmentation keys ab, bcd, x; step 1 a group whose second dictionary has the characters and bc;
// step 2 rewrites 1, and 1x, which can only arise across a segment boundary.
PhraseConfig lettersConfig() {
    PhraseConfig c;
    c.segmentation = {{{"ab", ""}, {"bcd", ""}, {"x", ""}}};
    c.steps.push_back({{{"ab", "AB"}, {"bcd", "BCD"}},
                       {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"bc", "Z"}, {"𠀀", "1"}}});
    c.steps.push_back({{{"1", "one"}, {"1x", "NO"}}});
    return c;
}

TEST(PhraseConvert, SegmentsThenStepsByLongestMatch) {
    using namespace std::string_literals;
    const auto conv = PhraseConverter::build(lettersConfig());
    struct Case {
        std::string in, out;
        const char *why;
    };
    const Case cases[] = {
        {"abcd", "AB34", "ab is a segment; cd gathered, mapped by characters"},
        {"bcd", "BCD", "longest segmentation key"},
        {"bc", "Z", "gathered bc: the group's second dictionary has bc"},
        {"bca", "Zone", "step 2 sees step 1's output of the segment"},
        {"ax", "onex", "1x of step 2 does not match across the segment boundary"},
        {"xbcd", "xBCD", "a key right after a key"},
        {"𠀀", "one", "a character beyond U+FFFF as key"},
        {"a\0a"s, "one\0one"s, "NUL is an ordinary character"},
        {"a\r\nb", "one\r\n2", "line breaks are ordinary characters"},
        {"", "", "empty"},
        {"é汉", "é汉", "characters in no key stay"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(conv.convert(c.in), c.out);
    }
}

TEST(PhraseConvert, GroupTakesFirstDictionaryThatMatches) {
    PhraseConfig c;
    c.segmentation = {{}};
    c.steps.push_back({{{"b", "B"}}, {{"bc", "X"}, {"a", "A"}}});
    const auto conv = PhraseConverter::build(c);
    // At b the first dictionary matches, so the second's longer bc is not used.
    EXPECT_EQ(conv.convert("abc"), "ABc");
    EXPECT_EQ(conv.convert("ca"), "cA");
}

// `text` converted a few characters at a time, as a stream feeds it: pieces of 1 to `most` bytes
// widened to whole characters, the unconverted rest passed back with the next piece.
template <class Converter> std::string convertInPieces(const Converter &conv, const std::string &text,
                                                       std::mt19937 &rng, unsigned most) {
    std::string out, pending;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t n = 1 + rng() % most;
        while (at + n < text.size() && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
            ++n;
        pending += text.substr(at, n);
        at += n;
        pending.erase(0, conv.convert(pending, out, false));
    }
    conv.convert(pending, out, true);
    return out;
}

// Random dictionaries over a few characters (one beyond U+FFFF, a line break) and random texts.
class RandomConfigs : public ::testing::Test {
protected:
    std::mt19937 rng{20261207};
    const std::vector<std::string> alphabet{"a", "b", "c", "\n", "汉", "𠀀", "\r"};

    std::string randomText(std::size_t maxLen) {
        std::string s;
        for (std::size_t n = rng() % (maxLen + 1); n > 0; --n)
            s += alphabet[rng() % alphabet.size()];
        return s;
    }
    core::PhraseDictionary randomDict() {
        core::PhraseDictionary d;
        for (std::size_t n = rng() % 8; n > 0; --n) {
            std::string key = randomText(3);
            if (!key.empty())
                d.push_back({key, randomText(3)});
        }
        return d;
    }
    core::PhraseGroup randomGroup() {
        core::PhraseGroup g;
        for (std::size_t n = 1 + rng() % 3; n > 0; --n)
            g.push_back(randomDict());
        return g;
    }
    PhraseConfig randomConfig() {
        PhraseConfig c;
        c.segmentation = randomGroup();
        for (std::size_t n = rng() % 4; n > 0; --n)
            c.steps.push_back(randomGroup());
        // Often the segmentation dictionary is the first step's first one, as in real configurations.
        if (!c.steps.empty() && rng() % 2)
            c.steps[0].front() = c.segmentation.front();
        return c;
    }
};

// The segmented conversion of `text`: its result equals the plain conversion, and its segments
// cover the text and the result in order, counted in code points.
void expectSegmentationCovers(const PhraseConverter &conv, const std::string &text) {
    std::string out;
    std::vector<core::Segment> segments;
    conv.convertSegmented(text, out, segments);
    ASSERT_EQ(out, conv.convert(text));
    auto count = [](const std::string &s) {
        std::size_t n = 0;
        for (const char b : s)
            n += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
        return n;
    };
    std::size_t src = 0, dst = 0;
    for (const auto &s : segments) {
        ASSERT_EQ(s.srcBegin, src);
        ASSERT_EQ(s.outBegin, dst);
        ASSERT_TRUE(s.srcEnd > s.srcBegin) << "every segment comes from some text";
        ASSERT_GE(s.outEnd, s.outBegin);
        src = s.srcEnd;
        dst = s.outEnd;
    }
    ASSERT_EQ(src, count(text));
    ASSERT_EQ(dst, count(out));
}

TEST_F(RandomConfigs, EqualTheReference) {
    for (int round = 0; round < 400; ++round) {
        const PhraseConfig config = randomConfig();
        const auto conv = PhraseConverter::build(config);
        const testsupport::PhraseReference ref(config);
        for (int t = 0; t < 20; ++t) {
            const std::string text = randomText(40);
            SCOPED_TRACE("round " + std::to_string(round) + " text " + text);
            ASSERT_EQ(conv.convert(text), ref.convert(text));
            expectSegmentationCovers(conv, text);
        }
    }
}

TEST_F(RandomConfigs, InPiecesEqualWhole) {
    for (int round = 0; round < 300; ++round) {
        const auto conv = PhraseConverter::build(randomConfig());
        const std::string text = randomText(200);
        SCOPED_TRACE("round " + std::to_string(round) + " text " + text);
        ASSERT_EQ(convertInPieces(conv, text, rng, 12), conv.convert(text));
    }
}

TEST_F(RandomConfigs, LongStretchesWithoutKeysInPiecesEqualWhole) {
    // Segmentation keys that seldom occur leave long gathered stretches, which a stream must still
    // convert piece by piece without holding them whole.
    for (int round = 0; round < 12; ++round) {
        PhraseConfig config = randomConfig();
        config.segmentation = {{{"汉汉汉汉汉汉汉汉汉汉汉汉", ""}}};
        // Every character in some longer key of every step, so that none of them cuts a stretch.
        if (config.steps.empty())
            config.steps.push_back(randomGroup());
        for (auto &step : config.steps) {
            core::PhraseDictionary pairs;
            for (std::size_t i = 0; i < alphabet.size(); ++i)
                pairs.push_back({alphabet[i] + alphabet[(i + round) % alphabet.size()], randomText(2)});
            step.push_back(pairs);
        }
        const auto conv = PhraseConverter::build(config);
        std::string text;
        while (text.size() < 400000)
            text += randomText(1000);
        std::string out, pending;
        std::size_t at = 0, held = 0;
        while (at < text.size()) {
            std::size_t n = std::min<std::size_t>(40000, text.size() - at);
            while (at + n < text.size() && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
                ++n;
            pending += text.substr(at, n);
            at += n;
            pending.erase(0, conv.convert(pending, out, false));
            held = std::max(held, pending.size());
        }
        conv.convert(pending, out, true);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(out == conv.convert(text));
        EXPECT_LT(held, 150000u);
    }
}

TEST(PhraseConvert, ImageReadBackAndForeignBytesRefused) {
    const auto conv = PhraseConverter::build(lettersConfig());
    auto copy = std::make_shared<std::string>(conv.image());
    const auto again = PhraseConverter::fromImage(*copy, copy);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->convert("abcdbca"), conv.convert("abcdbca"));

    struct Case {
        const char *why;
        std::function<void(std::string &)> spoil;
    };
    const Case cases[] = {
        {"magic", [](std::string &s) { s[0] = 'X'; }},
        {"version", [](std::string &s) { s[8] ^= 1; }},
        {"byte order", [](std::string &s) { s[12] ^= 1; }},
        {"cut short", [](std::string &s) { s.resize(s.size() / 2); }},
        {"header only", [](std::string &s) { s.resize(16); }},
        {"empty", [](std::string &s) { s.clear(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        auto bad = std::make_shared<std::string>(conv.image());
        c.spoil(*bad);
        EXPECT_FALSE(PhraseConverter::fromImage(*bad, bad));
    }
}

} // namespace

namespace {

TEST(PhraseConvert, Utf16TextKeepsLoneSurrogatesAndEqualsUtf8) {
    const auto conv = PhraseConverter::build(lettersConfig());
    EXPECT_TRUE(conv.linesConvertAlone());
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"abcd", u"AB34"},
        {std::u16string(u"a") + char16_t(0xD800) + u"bc", std::u16string(u"one") + char16_t(0xD800) + u"Z"},
        {std::u16string(1, char16_t(0xDC00)) + u"bcd", std::u16string(1, char16_t(0xDC00)) + u"BCD"},
        {u"𠀀x", u"onex"},
        {u"", u""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(core::convertUtf16(conv, c.in), c.out);

    // Large enough to be cut at a line break and converted on two threads.
    std::mt19937 rng(9);
    const std::u16string pieces[] = {u"ab", u"bc", u"d", u"x", u"\n", u"𠀀", u"a\n", u"汉"};
    std::u16string big;
    while (big.size() < 600000)
        big += pieces[rng() % std::size(pieces)];
    std::string utf8;
    core::encodeUtf8(big, utf8);
    const auto expected = core::utf8ToUtf16(conv.convert(utf8));
    ASSERT_TRUE(expected);
    EXPECT_TRUE(core::convertUtf16(conv, big) == *expected);
}

// Large UTF-16 texts are converted some lines at a time: a line longer than a block, a break at
// a block's end, lone surrogates and CRLF on either side of the cuts give what the UTF-8 form does.
TEST(PhraseConvert, Utf16TextInBlocksEqualsUtf8) {
    const auto conv = PhraseConverter::build(lettersConfig());
    const char16_t lone = 0xD800;
    auto repeat = [](std::u16string_view s, std::size_t units) {
        std::u16string out;
        while (out.size() < units)
            out += s;
        return out;
    };
    struct Case {
        const char *name;
        std::u16string text;
    };
    const Case cases[] = {
        {"one line longer than a block", repeat(u"abcdx𠀀", 100000)},
        {"breaks every few units", repeat(u"ab\nbcd\r\n", 100000)},
        {"break at a block's end", repeat(u"a", 32767) + u"\nbcd" + repeat(u"bc\n", 40000)},
        {"phrase across a block's end", repeat(u"x", 32767) + u"abcd" + repeat(u"d\n", 40000)},
        {"lone surrogates near the cuts",
         repeat(u"a", 32767) + lone + u"bc\n" + lone + repeat(u"bcd\n", 20000) + lone},
        {"no break at all, with lone surrogates", repeat(std::u16string(u"ab") + lone + u"cd", 90000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // The expected text: each stretch between lone surrogates converted whole as UTF-8.
        std::u16string expected;
        std::size_t i = 0;
        while (i <= c.text.size()) {
            std::size_t j = i;
            while (j < c.text.size() && c.text[j] != lone)
                ++j;
            std::string utf8;
            core::encodeUtf8(c.text.substr(i, j - i), utf8);
            const auto part = core::utf8ToUtf16(conv.convert(utf8));
            ASSERT_TRUE(part);
            expected += *part;
            if (j < c.text.size())
                expected += lone;
            i = j + 1;
        }
        EXPECT_TRUE(core::convertUtf16(conv, c.text) == expected);
    }
}

TEST(PhraseConvert, KeyWithALineBreakKeepsLinesTogether) {
    PhraseConfig c;
    c.segmentation = {{{"a\nb", "X"}}};
    c.steps.push_back({{{"a\nb", "X"}}});
    const auto conv = PhraseConverter::build(c);
    EXPECT_FALSE(conv.linesConvertAlone());
    EXPECT_EQ(conv.convert("a\nba\n"), "Xa\n");
}

} // namespace

namespace {

// Random trees of dictionaries (nested groups, both policies), a normalization step, no
// segmentation at times, and texts with ideographic descriptions.
class RandomTrees : public ::testing::Test {
protected:
    std::mt19937 rng{7};
    const std::vector<std::string> alphabet{"a", "b", "c", "\n", "汉", "𠀀", "⿰", "⿲", "⿾", "丽"};
    std::deque<core::PhraseDictionary> dicts; // the trees point into it

    std::string randomText(std::size_t maxLen) {
        std::string s;
        for (std::size_t n = rng() % (maxLen + 1); n > 0; --n)
            s += alphabet[rng() % alphabet.size()];
        return s;
    }
    core::PhraseTree randomTree(int depth) {
        core::PhraseTree t;
        if (depth == 0 || rng() % 3 == 0) {
            auto &d = dicts.emplace_back();
            for (std::size_t n = rng() % 8; n > 0; --n) {
                // Keys and values without description characters, as in every real dictionary.
                std::string key, value;
                for (std::size_t k = 1 + rng() % 3; k > 0; --k)
                    key += alphabet[rng() % 6];
                for (std::size_t k = rng() % 3; k > 0; --k)
                    value += alphabet[rng() % 6];
                d.push_back({key, value});
            }
            t.dict = &d;
            return t;
        }
        t.policy = rng() % 2 ? core::MatchPolicy::Union : core::MatchPolicy::ShortCircuit;
        for (std::size_t n = 1 + rng() % 3; n > 0; --n)
            t.members.push_back(randomTree(depth - 1));
        return t;
    }
    core::PhraseConfigView randomView() {
        core::PhraseConfigView v;
        if (rng() % 3)
            v.segmentation = randomTree(2);
        for (std::size_t n = 1 + rng() % 3; n > 0; --n)
            v.steps.push_back(randomTree(2));
        if (rng() % 2) {
            auto &norm = dicts.emplace_back(core::PhraseDictionary{{"丽", "麗"}, {"c", "b"}});
            v.normalization.push_back({&norm, core::MatchPolicy::ShortCircuit, {}});
        }
        return v;
    }
};

TEST_F(RandomTrees, EqualTheReferenceWholeAndInPieces) {
    for (int round = 0; round < 400; ++round) {
        const auto view = randomView();
        const auto conv = core::PhraseConverter::build(view);
        const testsupport::PhraseReference ref(view);
        for (int t = 0; t < 10; ++t) {
            const std::string text = randomText(40);
            SCOPED_TRACE("round " + std::to_string(round) + " text " + text);
            const std::string whole = conv.convert(text);
            ASSERT_EQ(whole, ref.convert(text));
            ASSERT_EQ(convertInPieces(conv, text, rng, 7), whole);
            expectSegmentationCovers(conv, text);
        }
    }
}

TEST(PhraseConvert, GroupPoliciesAndDescriptions) {
    const core::PhraseDictionary chars{{"发", "發"}, {"面", "麪"}, {"干", "幹"}};
    const core::PhraseDictionary shortPhrases{{"发面", "發麪"}};
    const core::PhraseDictionary longPhrases{{"发面包", "X"}, {"干杯", "乾杯"}};
    using core::MatchPolicy;
    auto leaf = [](const core::PhraseDictionary &d) {
        return core::PhraseTree{&d, MatchPolicy::ShortCircuit, {}};
    };
    struct Case {
        const char *what;
        core::PhraseTree step;
        const char *in, *out;
    };
    const Case cases[] = {
        {"short circuit: the first member that matches, with its own longest key",
         {nullptr, MatchPolicy::ShortCircuit, {leaf(shortPhrases), leaf(longPhrases), leaf(chars)}},
         "发面包干杯",
         "發麪包乾杯"},
        {"union: the longest key of all",
         {nullptr, MatchPolicy::Union, {leaf(shortPhrases), leaf(longPhrases), leaf(chars)}},
         "发面包干杯",
         "X乾杯"},
        {"nested: a union tried before the characters",
         {nullptr,
          MatchPolicy::ShortCircuit,
          {{nullptr, MatchPolicy::Union, {leaf(shortPhrases), leaf(longPhrases)}}, leaf(chars)}},
         "发面包发",
         "X發"},
        {"a description stays whole where nothing matches", leaf(chars), "⿰发面发", "⿰发面發"},
        {"an incomplete description is an ordinary character", leaf(chars), "发⿰发", "發⿰發"},
        {"a nested description", leaf(chars), "⿱⿰发面干发", "⿱⿰发面干發"},
        {"a key matches before a description", leaf(shortPhrases), "⿰发面", "⿰发面"},
        {"a line break completes a description", leaf(chars), "⿰\n发发", "⿰\n发發"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        core::PhraseConfigView v;
        v.steps.push_back(c.step);
        const auto conv = core::PhraseConverter::build(v);
        EXPECT_EQ(conv.convert(c.in), c.out);
        EXPECT_EQ(testsupport::PhraseReference(v).convert(c.in), c.out);
    }
}

TEST(PhraseConvert, NormalizationComesFirstButNotInsideDescriptions) {
    // U+F95E and U+2F800, compatibility ideographs, normalize to 麗 and 丽.
    const std::string compat1 = "\xef\xa5\x9e", compat2 = "\xf0\xaf\xa0\x80";
    const core::PhraseDictionary norm{{compat1, "麗"}, {compat2, "丽"}};
    const core::PhraseDictionary step{{"麗", "丽"}, {"丽", "X"}};
    core::PhraseConfigView v;
    v.normalization.push_back({&norm, core::MatchPolicy::ShortCircuit, {}});
    v.steps.push_back({&step, core::MatchPolicy::ShortCircuit, {}});
    const auto conv = core::PhraseConverter::build(v);
    const std::string text = compat1 + compat2 + compat1 + "⿰" + compat1 + compat1;
    EXPECT_EQ(conv.convert(text), "丽X丽⿰" + compat1 + compat1);
    EXPECT_EQ(testsupport::PhraseReference(v).convert(text), conv.convert(text));
    // In pieces, the text cut after each character (pieces of at most one byte, widened to whole
    // characters): as whole.
    std::mt19937 rng;
    EXPECT_EQ(convertInPieces(conv, text, rng, 1), conv.convert(text));
}

// Each output piece is attributed to exactly the text it came from, through every step: a
// segmentation key, characters gathered between keys, and a later step's key that joins the
// outputs of an earlier step.
TEST(PhraseConvert, SegmentationFollowsEveryStep) {
    const auto conv = PhraseConverter::build(lettersConfig());
    struct Case {
        std::string in;
        std::vector<core::Segment> segments;
        const char *why;
    };
    const Case cases[] = {
        {"abcd", {{0, 2, 0, 2}, {2, 3, 2, 3}, {3, 4, 3, 4}}, "ab a key; c and d mapped one by one"},
        {"bca", {{0, 2, 0, 1}, {2, 3, 1, 4}}, "bc to Z by step 1; a to 1, then to one by step 2"},
        {"xa", {{0, 1, 0, 1}, {1, 2, 1, 4}}, "a key, then a character through both steps"},
        {"", {}, "nothing"},
        {"é𠀀", {{0, 1, 0, 1}, {1, 2, 1, 4}}, "a character beyond U+FFFF counts as one"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        std::string out;
        std::vector<core::Segment> segments;
        conv.convertSegmented(c.in, out, segments);
        EXPECT_EQ(out, conv.convert(c.in));
        ASSERT_EQ(segments.size(), c.segments.size());
        for (std::size_t i = 0; i < segments.size(); ++i) {
            EXPECT_EQ(segments[i].srcBegin, c.segments[i].srcBegin) << i;
            EXPECT_EQ(segments[i].srcEnd, c.segments[i].srcEnd) << i;
            EXPECT_EQ(segments[i].outBegin, c.segments[i].outBegin) << i;
            EXPECT_EQ(segments[i].outEnd, c.segments[i].outEnd) << i;
        }
    }
}

// A step whose key spans the outputs of two keys of the step before joins their sources into one
// segment: ab -> 12 (a, b apart), then 12 -> Q joins them.
TEST(PhraseConvert, SegmentationJoinsWhatALaterStepJoins) {
    PhraseConfig c;
    c.segmentation = {{}};
    c.steps.push_back({{{"a", "1"}, {"b", "2"}, {"c", "3"}}});
    c.steps.push_back({{{"12", "Q"}, {"3", "33"}}});
    const auto conv = PhraseConverter::build(c);
    std::string out;
    std::vector<core::Segment> segments;
    conv.convertSegmented("abc", out, segments);
    EXPECT_EQ(out, "Q33");
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].srcEnd, 2u);
    EXPECT_EQ(segments[0].outEnd, 1u);
    EXPECT_EQ(segments[1].srcEnd, 3u);
    EXPECT_EQ(segments[1].outEnd, 3u);
}

} // namespace
