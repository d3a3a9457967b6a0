#include "core/messages.h"

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
