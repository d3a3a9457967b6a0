#include "core/pinyin_rules_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

using namespace core;
using namespace core::rules;

namespace {

// A run with its segmentation, given as the words of the run.
struct Segmented {
    std::u32string text;
    std::vector<std::uint8_t> wordStart, wordEnd;
    std::vector<std::uint32_t> end;
    PinyinSegmentedRun run;

    explicit Segmented(std::initializer_list<std::u32string_view> words) {
        for (std::u32string_view w : words) {
            const std::size_t from = text.size();
            text += w;
            for (std::size_t k = 0; k < w.size(); ++k) {
                wordStart.push_back(k == 0);
                wordEnd.push_back(w.size() > 1 && k + 1 == w.size());
                end.push_back(k == 0 ? static_cast<std::uint32_t>(from + w.size()) : 0);
            }
        }
        run = {text, wordStart, wordEnd, end, false, PinyinBoundary::Edge, PinyinBoundary::Edge};
    }
};

} // namespace

// The rules ask about places before a run's start and past its end (the word before the first
// character, what lies after the last): every question has an answer there, and none reads
// outside the run.
TEST(PinyinRuleRun, NeighboursAtTheRunsEdges) {
    const Segmented s({U"他", U"为", U"人民", U"服务"});
    const RuleRun ctx(s.run);
    struct {
        std::size_t k;
        std::u32string_view before, atStart;
    } const words[] = {{0, U"", U"他"},       {1, U"他", U"为"}, {2, U"为", U"人民"}, {3, U"人", U""},
                       {4, U"人民", U"服务"}, {6, U"服务", U""}, {7, U"", U""},       {100, U"", U""}};
    for (const auto &w : words) {
        SCOPED_TRACE(w.k);
        EXPECT_EQ(ctx.wordBefore(w.k), w.before);
        EXPECT_EQ(ctx.wordAtStart(w.k), w.atStart);
    }
    EXPECT_FALSE(ctx.occursBefore(0, U'他'));
    EXPECT_TRUE(ctx.occursBefore(1, U'他'));
    EXPECT_FALSE(ctx.nearBefore(0, 3, U"他"));
    EXPECT_FALSE(ctx.nearBefore(2, 1, U"他"));
    EXPECT_TRUE(ctx.nearBefore(2, 2, U"他"));
    EXPECT_TRUE(ctx.nearAfter(5, 10, U"务"));
    EXPECT_FALSE(ctx.nearAfter(6, 3, U"他"));
    EXPECT_FALSE(ctx.nearAfter(100, 3, U"他"));
}

TEST(PinyinRuleRun, CountsAndWordsStandingAlone) {
    const Segmented counted({U"三", U"只"});
    EXPECT_TRUE(RuleRun(counted.run).afterCount(1, U""));
    const Segmented only({U"唯一", U"只"});
    EXPECT_FALSE(RuleRun(only.run).afterCount(2, U""));
    const Segmented few({U"几", U"只"});
    EXPECT_FALSE(RuleRun(few.run).afterCount(1, U""));
    EXPECT_TRUE(RuleRun(few.run).afterCount(1, U"几"));
    EXPECT_FALSE(RuleRun(few.run).afterCount(0, U"几"));

    const Segmented led({U"以", U"客户", U"为", U"中心"});
    EXPECT_TRUE(RuleRun(led.run).aloneBefore(3, U'以'));
    const Segmented inWord({U"可以", U"为", U"由此"});
    EXPECT_FALSE(RuleRun(inWord.run).aloneBefore(2, U'以'));
}

// A run skips the passes it holds no character of; the characters outside the table's range are
// no pass's.
TEST(PinyinRuleRun, PassesARunNeeds) {
    struct {
        std::u32string_view text;
        std::uint16_t has, lacks;
    } const runs[] = {{U"他为人民", kTrWei, kTrYiBu},
                      {U"人民", 0, 0xFFFF},
                      {U"一个", kTrYiBu, kTrWei},
                      {U"看得见", kTrDe | kTrWords | kTrChars, kTrWei},
                      {U"ABC", 0, 0xFFFF}};
    for (std::size_t i = 0; i < std::size(runs); ++i) {
        const auto &c = runs[i];
        SCOPED_TRACE(i);
        const Segmented s({c.text});
        const RuleRun ctx(s.run);
        EXPECT_EQ(ctx.has & c.has, c.has);
        EXPECT_EQ(ctx.has & c.lacks, 0);
    }
    for (char32_t c : {U'A', U'\u4DFF', U'\uA000', U'\U00020000', U'\uFFFF'})
        EXPECT_EQ(triggersOf(c), 0) << static_cast<std::uint32_t>(c);
}
