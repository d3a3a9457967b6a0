// The text commands applied to the clipboard, through a fake clipboard and the real text services.

#include "fakes.h"
#include "real_text.h"
#include "ui/clipboard_commands.h"

#include <gtest/gtest.h>

namespace {

using testsupport::realText;
using ui::ClipboardCommand;
using ui::ClipboardResult;

TEST(ClipboardCommands, EveryNameFindsItsCommand) {
    for (const ui::ClipboardCommandName &c : ui::kClipboardCommands) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ui::clipboardCommandNamed(c.name), c.command);
    }
    for (const char *name : {"", "Traditional", "traditional ", "trad", "convert:s2twp", "繁体"})
        EXPECT_FALSE(ui::clipboardCommandNamed(name)) << name;
    EXPECT_EQ(ui::clipboardCommandList(), "traditional, simplified, upper, lower, money, pinyin, restore");
}

TEST(ClipboardCommands, ConvertLikeTheirButtonsAndRestoreTheText) {
    struct Case {
        const char *name;
        QString in, out;
    };
    const Case cases[] = {
        {"traditional", "简体 abc\n한😀", "簡體 abc\n한😀"},
        {"simplified", "簡體\n汉字", "简体\n汉字"},
        {"upper", "Abc 中文 123", "ABC 中文 123"},
        {"lower", "Abc 中文 123", "abc 中文 123"},
        {"upper", "a\u00A0b\u2028c", "A\u00A0B\u2028C"},
        {"money", "1005.5", "壹仟零伍圆伍角整"},
        {"money", "金额：1005.5元", "壹仟零伍圆伍角整"},
        {"money", "1.5万", "壹萬伍仟圆整"},
        {"money", "0", "零圆整"},
        {"money", "-￥1,234.56", "负壹仟贰佰叁拾肆圆伍角陆分"},
        {"pinyin", " 汉字 ", " 汉字 \nHanZi"},
        {"pinyin", "我爱Beijing 2008！", "我爱Beijing 2008！\nWoAiBeijing 2008"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.in.toStdString());
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, realText());
        clipboard.m_text = c.in;
        EXPECT_EQ(converter.run(*ui::clipboardCommandNamed(c.name)).outcome, ClipboardResult::Done);
        EXPECT_EQ(clipboard.m_text, c.out);
        ASSERT_TRUE(converter.canRestore());
        EXPECT_EQ(converter.run(ClipboardCommand::Restore).outcome, ClipboardResult::Done);
        EXPECT_EQ(clipboard.m_text, c.in);
        // A second restore brings the converted text back: nothing is ever lost.
        converter.run(ClipboardCommand::Restore);
        EXPECT_EQ(clipboard.m_text, c.out);
    }
}

TEST(ClipboardCommands, FailuresLeaveTheClipboardAlone) {
    testsupport::FakeClipboard clipboard;
    ui::ClipboardConverter converter(clipboard, realText());
    // Nothing to restore before any conversion.
    const ClipboardResult none = converter.run(ClipboardCommand::Restore);
    EXPECT_EQ(none.outcome, ClipboardResult::NothingToRestore);
    EXPECT_FALSE(none.message.empty());
    // No text: every conversion refuses, money included (which would give 整).
    for (const ui::ClipboardCommandName &c : ui::kClipboardCommands) {
        if (c.command == ClipboardCommand::Restore)
            continue;
        SCOPED_TRACE(c.name);
        const ClipboardResult r = converter.run(c.command);
        EXPECT_EQ(r.outcome, ClipboardResult::NoText);
        EXPECT_EQ(r.message.in(core::Language::English), "no text on the clipboard");
        EXPECT_EQ(r.message.in(core::Language::Chinese), "剪贴板上没有文字");
    }
    EXPECT_EQ(clipboard.writes, 0);

    // An amount over the limit after a good conversion: the clipboard and the text to restore stay.
    clipboard.m_text = "abc";
    converter.run(ClipboardCommand::Upper);
    const int writes = clipboard.writes;
    for (const QString big : {"10000000000000000", "1e400", "9999999999999999.995"}) {
        SCOPED_TRACE(big.toStdString());
        clipboard.m_text = big;
        const ClipboardResult r = converter.run(ClipboardCommand::Money);
        EXPECT_EQ(r.outcome, ClipboardResult::AmountTooLarge);
        EXPECT_NE(r.message.in(core::Language::English).find("too large"), std::string::npos);
        EXPECT_EQ(r.message.in(core::Language::Chinese), "数目太大，无法换算！请输入一亿亿以下的数字");
        EXPECT_EQ(clipboard.m_text, big);
    }
    // A text that holds no amount, or more than one: refused with the reason, nothing written.
    for (const QString text : {"abc", "12\n34", "第3笔共1005.5元", "3两", "-"}) {
        SCOPED_TRACE(text.toStdString());
        clipboard.m_text = text;
        const ClipboardResult r = converter.run(ClipboardCommand::Money);
        EXPECT_EQ(r.outcome, ClipboardResult::Refused);
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(clipboard.m_text, text);
    }
    EXPECT_EQ(clipboard.writes, writes);
    // The text copied since the conversion is never replaced by a restore; once the clipboard
    // holds the conversion again, the restore puts the old text back.
    EXPECT_EQ(converter.run(ClipboardCommand::Restore).outcome, ClipboardResult::Changed);
    EXPECT_EQ(clipboard.m_text, "-");
    clipboard.m_text = "ABC";
    converter.run(ClipboardCommand::Restore);
    EXPECT_EQ(clipboard.m_text, "abc");
}

TEST(ClipboardCommands, RestoreNeverReplacesWhatWasCopiedSince) {
    struct Case {
        const char *what;
        QString now;  // the clipboard's text when the restore comes
        bool picture; // and whether it holds more than that text
        ClipboardResult::Outcome outcome;
    };
    const Case cases[] = {
        {"unchanged", "ABC", false, ClipboardResult::Done},
        {"a picture copied", "", true, ClipboardResult::Changed},
        {"the same text with a picture", "ABC", true, ClipboardResult::Changed},
        {"other text copied", "other", false, ClipboardResult::Changed},
        {"emptied", "", false, ClipboardResult::Changed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, realText());
        clipboard.m_text = "abc";
        ASSERT_EQ(converter.run(ClipboardCommand::Upper).outcome, ClipboardResult::Done);
        clipboard.m_text = c.now;
        clipboard.picture = c.picture;
        const int writes = clipboard.writes;
        const ClipboardResult r = converter.run(ClipboardCommand::Restore);
        EXPECT_EQ(r.outcome, c.outcome);
        if (c.outcome == ClipboardResult::Done) {
            EXPECT_EQ(clipboard.m_text, "abc");
            // The swap works both ways, and again only while nothing else was copied.
            clipboard.picture = true;
            EXPECT_EQ(converter.run(ClipboardCommand::Restore).outcome, ClipboardResult::Changed);
            clipboard.picture = false;
            EXPECT_EQ(converter.run(ClipboardCommand::Restore).outcome, ClipboardResult::Done);
            EXPECT_EQ(clipboard.m_text, "ABC");
            continue;
        }
        EXPECT_EQ(r.message.in(core::Language::English),
                  "the clipboard changed since the conversion; nothing was restored, so what it holds now is kept");
        EXPECT_EQ(clipboard.writes, writes);
        EXPECT_EQ(clipboard.m_text, c.now);
        EXPECT_EQ(clipboard.picture, c.picture);
        EXPECT_TRUE(converter.canRestore());
    }
}

// A clipboard that offers more than its text (a web page's HTML, a picture) would lose the rest
// when the converted text is written: every conversion refuses it and writes nothing.
TEST(ClipboardCommands, TextBesideOtherFormatsIsRefusedAndKept) {
    for (const ClipboardCommand c :
         {ClipboardCommand::Upper, ClipboardCommand::Lower, ClipboardCommand::Traditional,
          ClipboardCommand::Simplified, ClipboardCommand::Pinyin, ClipboardCommand::Money}) {
        SCOPED_TRACE(static_cast<int>(c));
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, realText());
        clipboard.m_text = "123";
        clipboard.picture = true;
        const ClipboardResult r = converter.run(c);
        EXPECT_EQ(r.outcome, ClipboardResult::MoreThanText);
        EXPECT_EQ(r.message, core::Message(core::MessageId::ClipboardMoreThanText));
        EXPECT_EQ(clipboard.writes, 0);
        EXPECT_TRUE(clipboard.picture);
        EXPECT_FALSE(converter.canRestore());
    }
}

// A text over the converter's limit (8 units here) is refused whole and left as it is; one at the
// limit converts.
TEST(ClipboardCommands, TextOverTheLimitIsRefusedAndKept) {
    struct Case {
        QString in;
        bool converts;
    };
    const Case cases[] = {
        {"abcdefgh", true}, {"abcdefghi", false}, {"汉字汉字汉字汉字", true}, {"😀😀😀😀a", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, realText(), 8);
        clipboard.m_text = c.in;
        const ClipboardResult r = converter.run(ClipboardCommand::Upper);
        EXPECT_EQ(r.outcome, c.converts ? ClipboardResult::Done : ClipboardResult::TooLarge);
        EXPECT_EQ(clipboard.writes, c.converts ? 1 : 0);
        EXPECT_EQ(converter.canRestore(), c.converts);
        if (!c.converts) {
            EXPECT_EQ(r.message.id, core::MessageId::ClipboardTooLarge);
            EXPECT_EQ(clipboard.m_text, c.in);
        }
    }
}

TEST(ClipboardCommands, ACommandWhoseCallerGaveUpChangesNothing) {
    testsupport::FakeClipboard clipboard;
    ui::ClipboardConverter converter(clipboard, realText());
    clipboard.m_text = "abc";
    const auto gaveUp = [] { return false; };
    for (const ClipboardCommand c :
         {ClipboardCommand::Upper, ClipboardCommand::Pinyin, ClipboardCommand::Money}) {
        const ClipboardResult r = converter.run(ui::clipboardRequestOf(c), gaveUp);
        EXPECT_EQ(r.outcome,
                  c == ClipboardCommand::Money ? ClipboardResult::Refused : ClipboardResult::Abandoned);
    }
    EXPECT_FALSE(converter.canRestore());
    EXPECT_EQ(converter.run(ClipboardCommand::Upper).outcome, ClipboardResult::Done);
    EXPECT_EQ(converter.run(ui::clipboardRequestOf(ClipboardCommand::Restore), gaveUp).outcome,
              ClipboardResult::Abandoned);
    EXPECT_EQ(clipboard.m_text, "ABC");
    EXPECT_EQ(clipboard.writes, 1);
    EXPECT_EQ(converter.run(ClipboardCommand::Restore).outcome, ClipboardResult::Done);
}

TEST(ClipboardCommands, MissingDataIsReportedNotGuessed) {
    platform::TextServices empty;
    empty.dictionaryError = core::Message(core::MessageId::CannotLoad, {"STCharacters.ocd2"});
    testsupport::FakeClipboard clipboard;
    ui::ClipboardConverter converter(clipboard, empty);
    clipboard.m_text = "简体";
    for (ui::OwnWay byCharacter : {ui::OwnWay::Traditional, ui::OwnWay::Simplified}) {
        const ClipboardResult r = converter.run(ui::Way(byCharacter));
        EXPECT_EQ(r.outcome, ClipboardResult::Unavailable);
        EXPECT_EQ(r.message.in(core::Language::English), "cannot load STCharacters.ocd2");
    }
    EXPECT_EQ(converter.run(ClipboardCommand::Pinyin).outcome, ClipboardResult::Unavailable);
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_FALSE(converter.canRestore());
}

} // namespace
