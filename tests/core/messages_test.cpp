#include "core/messages.h"

#include "core/amount_number.h"
#include "core/amount_reading.h"
#include "core/bill_date.h"
#include "core/numerals.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::Language;
using core::MessageId;

TEST(Messages, WordedInEitherLanguageWithTheirArguments) {
    const struct {
        MessageId id;
        std::vector<std::string> args;
        std::string english, chinese;
    } cases[] = {
        {MessageId::NoTextOnClipboard, {}, "no text on the clipboard", "剪贴板上没有文字"},
        {MessageId::Line, {"3", "b is not a number"}, "line 3: b is not a number", "第 3 行：b is not a number"},
        {MessageId::Verbatim, {"第2个字“千”：不对"}, "第2个字“千”：不对", "第2个字“千”：不对"},
        // An argument is put in as it is, even when it looks like a placeholder itself.
        {MessageId::CannotLoad, {"/a/{2}"}, "cannot load /a/{2}", "无法载入 /a/{2}"},
        // A placeholder without its argument stays.
        {MessageId::Line, {"7"}, "line 7: {2}", "第 7 行：{2}"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(core::wording(c.id, Language::English, c.args), c.english);
        EXPECT_EQ(core::Message(c.id, c.args).in(Language::Chinese), c.chinese);
    }
    EXPECT_TRUE(core::Message().empty());
    // Regression: the empty message was worded "{1}", which made every way look unavailable.
    EXPECT_EQ(core::Message().in(Language::Chinese), "");
    EXPECT_TRUE(core::Message::verbatim("").empty());
    EXPECT_FALSE(core::Message(MessageId::NoResult).empty());
}

TEST(Messages, PartsAreWordedInTheSameLanguageAfterTheArguments) {
    const core::Message why(MessageId::CannotLoadWhy, {"/d/x.json"}, {core::Message(MessageId::LineHasNoTab, {"3"})});
    EXPECT_EQ(why.in(Language::English), "cannot load /d/x.json: line 3 has no tab");
    EXPECT_EQ(why.in(Language::Chinese), "无法载入 /d/x.json：第 3 行没有制表符");
    // Nested twice: a refusal inside a line of input.
    const core::Message line(MessageId::Line, {"2"},
                             {core::Message(MessageId::RefusedAtEnd, {"4"}, {core::Message(MessageId::ZhengMissing)})});
    EXPECT_EQ(line.in(Language::English), "line 2: character 4: the amount is incomplete: “整” is missing");
    EXPECT_EQ(line.in(Language::Chinese), "第 2 行：第4个字：金额不完整，缺少“整”");
    EXPECT_FALSE(core::Message(MessageId::Verbatim, {}, {core::Message(MessageId::NoResult)}).empty());
}

// The readers refuse with a message id and its arguments: the window shows the Chinese it always
// showed, the command line under an English locale the same refusal in English.
TEST(Messages, ReadersRefuseInEitherLanguage) {
    const auto amount = [](std::u16string_view t) { return core::readAmountNumber(t).refusal; };
    const auto capitals = [](std::u16string_view t) { return core::readAmountCapitals(t).refusal; };
    const auto date = [](std::u16string_view t) { return core::findBillDate(t).refusal; };
    const auto numerals = [](std::u16string_view t) { return core::readChineseNumerals(t).refusal; };
    const struct {
        core::Refusal refusal;
        std::string chinese, english;
    } cases[] = {
        {amount(u"abc"), "没有可换算的数字", "no number to convert"},
        {amount(u"--5"), "第1个字“-”：正负号重复，看不出金额是正是负",
         "character 1 “-”: the sign is written twice: the amount may be positive or negative"},
        {amount(u"5元和6元"), "第4个字“6”：文中不止一个数字，不是一个明确的金额",
         "character 4 “6”: the text holds more than one number: it is not one clear amount"},
        {capitals(u"壹仟元"), "第4个字：金额不完整，缺少“整”", "character 4: the amount is incomplete: “整” is missing"},
        {capitals(u"壹拾万零零柒仟元整"), "第5个字“零”：“零”重复", "character 5 “零”: “零” is written twice"},
        {capitals(u"壹拾伍万零柒仟元整"), "第5个字“零”：多余的“零”（应写作：壹拾伍万柒仟元整）",
         "character 5 “零”: a “零” too many (write: 壹拾伍万柒仟元整)"},
        {date(u"2026年2月30日"), "第1个字起的日期“2026年2月30日”不存在：2026年2月只有28天",
         "the date 2026-2-30 from character 1 does not exist: 2026-2 has only 28 days"},
        {date(u"无"), "没有找到日期（例如2026-12-07或2026年12月7日）", "no date found (such as 2026-12-07 or 2026年12月7日)"},
        {numerals(u"一百零零五"), "第4个字“零”：多余的“零”", "character 4 “零”: a “零” too many"},
        {numerals(u"两"), "第1个字“两”：“两”只用在百、千、万、亿前面，这里请写作“二”或“贰”",
         "character 1 “两”: “两” is used only before 百, 千, 万 and 亿: write “二” or “贰” here"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(c.refusal.message.in(Language::Chinese), c.chinese);
        EXPECT_EQ(c.refusal.message.in(Language::English), c.english);
    }
}

TEST(Messages, EveryMessageHasBothWordings) {
    for (int id = 0; id < core::kMessageCount; ++id) {
        SCOPED_TRACE(id);
        const std::string english = core::wording(static_cast<MessageId>(id), Language::English);
        const std::string chinese = core::wording(static_cast<MessageId>(id), Language::Chinese);
        EXPECT_FALSE(english.empty());
        EXPECT_FALSE(chinese.empty());
        if (id != static_cast<int>(MessageId::Verbatim)) {
            EXPECT_NE(english, chinese);
        }
    }
}

TEST(Messages, LanguageOfTheLocale) {
    const struct {
        const char *locale;
        Language language;
    } cases[] = {
        {"zh_CN.UTF-8", Language::Chinese}, {"zh_TW", Language::Chinese}, {"zh", Language::Chinese},
        {"zh_HK.UTF-8@x", Language::Chinese}, {"en_US.UTF-8", Language::English}, {"C", Language::English},
        {"C.UTF-8", Language::English},  {"", Language::English},      {"zha_CN", Language::English},
        {"POSIX", Language::English},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(core::languageOfLocale(c.locale), c.language);
    }
}

} // namespace
