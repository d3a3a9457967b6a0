// The one table of ways and the one function that applies them: every way can be found again by
// its key, names are distinct on each button, and a way whose data is missing says so instead of
// running.

#include "real_text.h"
#include "ui/ways.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr ui::OwnWay kButtons[] = {ui::OwnWay::Traditional, ui::OwnWay::Simplified, ui::OwnWay::Upper,
                                   ui::OwnWay::Lower,       ui::OwnWay::Amount,     ui::OwnWay::Pinyin};

TEST(Ways, EveryWayIsFoundByItsKeyAndNamedOnce) {
    for (ui::OwnWay own : kButtons) {
        SCOPED_TRACE(static_cast<int>(own));
        const std::vector<ui::Way> ways = ui::buttonWays(own);
        ASSERT_FALSE(ways.empty());
        EXPECT_EQ(ways.front(), ui::Way(own));
        std::set<std::string> keys;
        std::set<std::u16string> labels;
        for (const ui::Way &way : ways) {
            const std::string key = ui::wayKey(way);
            SCOPED_TRACE(key);
            EXPECT_EQ(ui::wayNamed(own, key), way);
            EXPECT_TRUE(keys.insert(key).second);
            EXPECT_TRUE(labels.insert(ui::wayLabel(way)).second);
        }
        // Only the buttons with a menu have more than their own way, and those name every way.
        const bool menu = own != ui::OwnWay::Upper && own != ui::OwnWay::Lower;
        EXPECT_EQ(ways.size() > 1, menu);
        if (menu) {
            EXPECT_EQ(labels.count(u""), 0u);
        }
        EXPECT_FALSE(ui::wayNamed(own, "no such way"));
    }
}

TEST(Ways, AppendingWaysKeepTheTextAndOthersReplaceIt) {
    struct Case {
        ui::Way way;
        std::u16string in;
        ui::WayResult::Outcome outcome;
        std::u16string text;
        bool appends;
    };
    const Case cases[] = {
        {ui::OwnWay::Traditional, u"简体", ui::WayResult::Done, u"簡體", false},
        {ui::OwnWay::Upper, u"ab", ui::WayResult::Done, u"AB", false},
        {ui::OwnWay::Amount, u"16", ui::WayResult::Done, u"拾陆圆整", false},
        {ui::OwnWay::Amount, u"1e16", ui::WayResult::AmountTooLarge, u"", false},
        {ui::OwnWay::Amount, u"（1,234.50）", ui::WayResult::Done, u"负壹仟贰佰叁拾肆圆伍角整", false},
        {ui::OwnWay::Amount, u"--5", ui::WayResult::Refused, u"", false},
        {ui::OwnWay::Pinyin, u" 汉字 ", ui::WayResult::Done, u"HanZi", true},
        {ui::AmountWay{ui::moneyWayNamed("bank")}, u"16", ui::WayResult::Done, u"壹拾陆元整", false},
        {ui::AmountWay{ui::moneyWayNamed("read-back")}, u"壹圆贰", ui::WayResult::Refused, u"", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(ui::wayKey(c.way) + " " + std::string(c.in.begin(), c.in.end()));
        const ui::WayResult r = ui::applyWay(c.way, c.in, testsupport::realText());
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.appends, c.appends);
        EXPECT_EQ(r.message.empty(), c.outcome == ui::WayResult::Done);
    }
}

TEST(Ways, MissingDataMakesAWayUnavailableWithItsReason) {
    platform::TextServices empty;
    empty.dictionaryError = core::Message(core::MessageId::CannotLoad, {"STCharacters.ocd2"});
    empty.readings.reset();
    for (ui::OwnWay own : kButtons) {
        for (const ui::Way &way : ui::buttonWays(own)) {
            SCOPED_TRACE(ui::wayKey(way));
            const core::Message why = ui::wayUnavailable(way, empty);
            const ui::WayResult r = ui::applyWay(way, u"1", empty);
            // Whatever cannot run says why beforehand, and running it anyway changes nothing.
            if (r.outcome == ui::WayResult::Unavailable) {
                EXPECT_FALSE(why.empty());
                EXPECT_EQ(r.message, why);
                EXPECT_TRUE(r.text.empty());
            } else {
                EXPECT_TRUE(why.empty()) << why.in(core::Language::English);
            }
        }
    }
    EXPECT_EQ(ui::wayUnavailable(ui::OwnWay::Traditional, empty).in(core::Language::Chinese),
              "无法载入 STCharacters.ocd2");
    EXPECT_EQ(ui::wayUnavailable(ui::OwnWay::Pinyin, empty).in(core::Language::English),
              "the pinyin table is not loaded");
    EXPECT_TRUE(ui::wayUnavailable(ui::OwnWay::Upper, empty).empty());
}

} // namespace
