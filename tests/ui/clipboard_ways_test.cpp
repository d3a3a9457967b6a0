// The buttons' other ways on the clipboard: their names on the command line, each way on a sample
// through a fake clipboard (phrase ways against libopencc itself), the tray entries' choice of way,
// and files that cannot be loaded.

#include "fakes.h"
#include "platform/character_maps.h"
#include "platform/instance_protocol.h"
#include "platform/phrase_config.h"
#include "platform/text_services.h"
#include "ui/clipboard_commands.h"

#include <opencc/SimpleConverter.hpp>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {

using ui::ClipboardRequest;
using ui::ClipboardCommand;
using ui::ClipboardResult;

// The real text services, with phrase configurations built from their dictionaries and no image
// written to the user's cache.
platform::TextServices freshText() {
    platform::TextServices text = platform::loadTextServices(platform::openccDataDir());
    text.phrases = std::make_shared<platform::PhraseConverters>(
        [](const std::string &name) { return platform::loadPhraseConverter(name, ""); });
    return text;
}

const platform::TextServices &sharedText() {
    static const platform::TextServices text = freshText();
    return text;
}

ClipboardRequest phrase(const char *config) {
    return ui::Way(ui::PhraseWay{config});
}

ClipboardRequest command(ClipboardCommand c) {
    return ui::clipboardRequestOf(c);
}

ClipboardRequest reading(const char *key) {
    return ui::Way(ui::ReadingWay{ui::readingWayNamed(key)});
}

ClipboardRequest money(const char *key) {
    for (const ui::MoneyWayName &w : ui::kMoneyWays)
        if (std::string_view(key) == w.key)
            return ui::Way(ui::AmountWay{&w});
    ADD_FAILURE() << "no money way " << key;
    return ui::Way(ui::AmountWay{nullptr});
}

TEST(ClipboardWays, NamesOnTheCommandLine) {
    struct Case {
        const char *name;
        std::optional<ClipboardRequest> action;
    };
    const Case cases[] = {
        {"traditional", phrase("s2t")},
        {"simplified", phrase("t2s")},
        {"pinyin", command(ClipboardCommand::Pinyin)},
        {"restore", command(ClipboardCommand::Restore)},
        {"convert:s2twp", phrase("s2twp")},
        {"convert:t2jp", phrase("t2jp")},
        {"convert:my-own_2", phrase("my-own_2")},
        {"pinyin:marks", reading("marks")},
        {"pinyin:numbers", reading("numbers")},
        {"pinyin:initials", reading("initials")},
        {"money:bank", money("bank")},
        {"money:date", money("date")},
        {"money:read-back", money("read-back")},
        {"money:", std::nullopt},
        {"money:design", std::nullopt},
        // A configuration name carries no folder, extension, capitals or spaces.
        {"convert:", std::nullopt},
        {"convert", std::nullopt},
        {"convert:S2T", std::nullopt},
        {"convert:s2t.json", std::nullopt},
        {"convert:/tmp/s2t", std::nullopt},
        {"convert: s2t", std::nullopt},
        {"convert:s2t\n", std::nullopt},
        {"pinyin:", std::nullopt},
        {"pinyin:tones", std::nullopt},
        {"pinyin:capitalised", std::nullopt},
        {"traditional:s2t", std::nullopt},
        {"繁体", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ui::clipboardRequestNamed(c.name), c.action);
        // Every name taken here travels to the running instance unchanged.
        std::string error;
        if (c.action) {
            EXPECT_TRUE(platform::decodeRequest(std::string("clipboard ") + c.name, error)) << error;
        }
    }
    const std::string longest = "convert:" + std::string(48, 'a');
    EXPECT_TRUE(ui::clipboardRequestNamed(longest));
    EXPECT_FALSE(ui::clipboardRequestNamed(longest + "a"));
    EXPECT_EQ(ui::clipboardWayList(), "convert:CONFIG, pinyin:marks|numbers|none|initials, "
                                          "money:bank|bank-round|date|read-back|numerals|capital-numerals");
}

TEST(ClipboardWays, PhraseWaysConvertAsLibopencc) {
    const std::string simplified = "头发和软件，鼠标在计算机上。他在香港的出租车里看了一部电影。";
    const std::string traditional = "頭髮和軟體，滑鼠在電腦上。他在香港的計程車裡看了一部電影。";
    struct Case {
        const char *config;
        const std::string &in;
    };
    const Case cases[] = {
        {"s2t", simplified},  {"s2tw", simplified}, {"s2twp", simplified}, {"s2hk", simplified},
        {"t2s", traditional}, {"tw2s", traditional}, {"tw2sp", traditional}, {"hk2s", traditional},
        {"t2jp", traditional},
    };
    std::set<QString> outputs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.config);
        const std::string expected =
            opencc::SimpleConverter(platform::phraseConfigPath(c.config)).Convert(c.in);
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, sharedText());
        clipboard.m_text = QString::fromStdString(c.in);
        const ClipboardResult r = converter.run(*ui::clipboardRequestNamed(std::string("convert:") + c.config));
        EXPECT_EQ(r.outcome, ClipboardResult::Done) << r.message.in(core::Language::English);
        EXPECT_EQ(clipboard.m_text.toStdString(), expected);
        outputs.insert(clipboard.m_text);
        converter.run(ClipboardCommand::Restore);
        EXPECT_EQ(clipboard.m_text.toStdString(), c.in);
    }
    // The sample tells the configurations apart: a way mixed up with another would show.
    EXPECT_GE(outputs.size(), 6u);
}

TEST(ClipboardWays, ReadingWaysAppendTheReadingLine) {
    struct Case {
        const char *name;
        QString in, out;
    };
    const Case cases[] = {
        {"pinyin:marks", " 汉字 ", " 汉字 \nhàn zì"},
        {"pinyin:numbers", "汉字", "汉字\nhan4 zi4"},
        {"pinyin:none", "汉字", "汉字\nhan zi"},
        {"pinyin:initials", "汉字", "汉字\nhz"},
        // Polyphones read as their word, the sandhi of 一 and 不.
        {"pinyin:marks", "银行行走", "银行行走\nyín háng xíng zǒu"},
        {"pinyin:marks", "一个不对", "一个不对\nyí gè bú duì"},
        {"pinyin:numbers", "绿", "绿\nlü4"},
        {"pinyin:marks", "他红了20年", "他红了20年\ntā hóng le 20 nián"},
    };
    const core::PinyinReadingData *data = sharedText().readings->get();
    ASSERT_NE(data, nullptr) << sharedText().readings->error().in(core::Language::English);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name + std::string(" ") + c.in.toStdString());
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, sharedText());
        clipboard.m_text = c.in;
        EXPECT_EQ(converter.run(*ui::clipboardRequestNamed(c.name)).outcome, ClipboardResult::Done);
        EXPECT_EQ(clipboard.m_text, c.out);
    }
    // A longer text with letters and punctuation: the line is what the reading engine's stream
    // reader gives for the trimmed text.
    const std::string text = "我去银行取了100元，Beijing 的一个朋友不来。";
    for (const ui::ReadingWayName &way : ui::kReadingWays) {
        SCOPED_TRACE(way.key);
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, sharedText());
        clipboard.m_text = QString::fromStdString(text + "  ");
        converter.run(ui::Way(ui::ReadingWay{&way}));
        EXPECT_EQ(clipboard.m_text.toStdString(),
                  text + "  \n" + core::readPinyin(std::string_view(text), *data, ui::readingStyle(way)));
    }
}

TEST(ClipboardWays, MoneyWaysRewriteOrRefuseLeavingTheClipboard) {
    struct Case {
        const char *name;
        QString in, out; // out empty: refused, the clipboard unchanged
    };
    const Case cases[] = {
        {"money:bank", "16", "壹拾陆元整"},
        {"money:date", "2026/12/7", "贰零贰陆年壹拾贰月零柒日"},
        {"money:read-back", "壹仟零伍圆伍角整", "1005.50"},
        {"money:capital-numerals", "15", "拾伍"},
        {"money:read-back", "壹仟伍圆整", ""},
        {"money:date", "2026-02-29", ""},
        {"money:numerals", "1e16", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name + std::string(" ") + c.in.toStdString());
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, sharedText());
        clipboard.m_text = c.in;
        const ClipboardResult r = converter.run(*ui::clipboardRequestNamed(c.name));
        if (c.out.isEmpty()) {
            EXPECT_EQ(r.outcome, ClipboardResult::Refused);
            EXPECT_FALSE(r.message.empty());
            EXPECT_EQ(clipboard.m_text, c.in);
        } else {
            EXPECT_EQ(r.outcome, ClipboardResult::Done) << r.message.in(core::Language::English);
            EXPECT_EQ(clipboard.m_text, c.out);
        }
    }
}

TEST(ClipboardWays, TrayEntriesFollowTheButtonsDefaults) {
    struct Case {
        ClipboardCommand command;
        const char *defaultKey;
        ClipboardRequest action;
        std::u16string caption;
    };
    const Case cases[] = {
        {ClipboardCommand::Traditional, "char", ui::Way(ui::OwnWay::Traditional), u"繁体（逐字）"},
        {ClipboardCommand::Traditional, "s2t", phrase("s2t"), u"繁体"},
        {ClipboardCommand::Traditional, "s2twp", phrase("s2twp"), u"繁体（台湾用词）"},
        {ClipboardCommand::Traditional, "s2hk", phrase("s2hk"), u"繁体（香港繁体）"},
        {ClipboardCommand::Simplified, "char", ui::Way(ui::OwnWay::Simplified), u"简体（逐字）"},
        {ClipboardCommand::Simplified, "t2s", phrase("t2s"), u"简体"},
        {ClipboardCommand::Simplified, "tw2sp", phrase("tw2sp"), u"简体（台湾用词→简体）"},
        {ClipboardCommand::Simplified, "hk2s", phrase("hk2s"), u"简体（香港→简体）"},
        {ClipboardCommand::Pinyin, "capitalised", command(ClipboardCommand::Pinyin), u"汉字拼音"},
        {ClipboardCommand::Pinyin, "numbers", reading("numbers"), u"汉字拼音（数字声调）"},
        {ClipboardCommand::Pinyin, "initials", reading("initials"), u"汉字拼音（首字母）"},
        // A key of another button's way, or none it knows, keeps the entry's default way: 词组
        // for 繁体 and 简体, the button's own way for the others.
        {ClipboardCommand::Traditional, "t2s", phrase("s2t"), u"繁体"},
        {ClipboardCommand::Simplified, "s2t", phrase("t2s"), u"简体"},
        {ClipboardCommand::Pinyin, "s2t", command(ClipboardCommand::Pinyin), u"汉字拼音"},
        {ClipboardCommand::Traditional, "", phrase("s2t"), u"繁体"},
        {ClipboardCommand::Upper, "s2t", command(ClipboardCommand::Upper), u"大写"},
        {ClipboardCommand::Money, "marks", command(ClipboardCommand::Money), u"金额大写"},
        {ClipboardCommand::Money, "design", command(ClipboardCommand::Money), u"金额大写"},
        {ClipboardCommand::Money, "bank", money("bank"), u"金额大写（银行写法）"},
        {ClipboardCommand::Money, "read-back", money("read-back"), u"金额大写（大写读回数字）"},
        {ClipboardCommand::Restore, "s2t", command(ClipboardCommand::Restore), u"还原剪贴板"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromStdU16String(c.caption).toStdString() + " " + c.defaultKey);
        EXPECT_EQ(ui::menuRequest(c.command, c.defaultKey), c.action);
        EXPECT_EQ(ui::menuCaption(c.command, c.defaultKey), c.caption);
    }
}

// A folder of OpenCC data where s2twp cannot be loaded in several ways, and t2s loads.
class UnloadableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path().toStdString();
        const char *old = std::getenv("LANTERNFIN_OPENCC_DIR");
        saved = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("LANTERNFIN_OPENCC_DIR", folder.c_str(), 1);
    }
    void TearDown() override {
        if (saved)
            setenv("LANTERNFIN_OPENCC_DIR", saved->c_str(), 1);
        else
            unsetenv("LANTERNFIN_OPENCC_DIR");
    }
    void write(const std::string &name, const std::string &content) const {
        std::ofstream(folder + "/" + name) << content;
    }
    QTemporaryDir dir;
    std::string folder;
    std::optional<std::string> saved;
};

TEST_F(UnloadableTest, FilesThatCannotBeLoadedAreNamedAndTheClipboardStays) {
    const std::string dictionaryOnly =
        R"({"name":"x","segmentation":{"type":"mmseg","dict":{"type":"text","file":"%s"}},)"
        R"("conversion_chain":[{"dict":{"type":"text","file":"%s"}}]})";
    auto config = [&](const std::string &file) {
        std::string s = dictionaryOnly;
        for (std::size_t at; (at = s.find("%s")) != std::string::npos;)
            s.replace(at, 2, file);
        return s;
    };
    write("broken.json", "{ not json");
    write("nodict.json", config("Missing.txt"));
    write("good.json", config("Good.txt"));
    write("Good.txt", "软件\t軟體\n");
    struct Case {
        const char *name;
        std::string failed; // the path in the message
    };
    const Case cases[] = {
        {"convert:absent", folder + "/absent.json"},
        {"convert:broken", folder + "/broken.json"},
        {"convert:nodict", folder + "/Missing.txt"},
    };
    platform::TextServices text = freshText();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::FakeClipboard clipboard;
        ui::ClipboardConverter converter(clipboard, text);
        clipboard.m_text = "软件";
        const ClipboardResult r = converter.run(*ui::clipboardRequestNamed(c.name));
        EXPECT_EQ(r.outcome, ClipboardResult::Unavailable);
        EXPECT_EQ(r.message.in(core::Language::English), "cannot load " + c.failed);
        EXPECT_EQ(clipboard.m_text, "软件");
        EXPECT_EQ(clipboard.writes, 0);
        EXPECT_FALSE(converter.canRestore());
    }
    // The folder's own configuration is one like any other.
    testsupport::FakeClipboard clipboard;
    ui::ClipboardConverter converter(clipboard, text);
    clipboard.m_text = "软件";
    EXPECT_EQ(converter.run(phrase("good")).outcome, ClipboardResult::Done);
    EXPECT_EQ(clipboard.m_text, "軟體");

    // The reading data file.
    text.readings = std::make_unique<platform::PinyinDataSource>(folder + "/pinyin.dat");
    write("pinyin.dat", "not a data file");
    for (const ui::ReadingWayName &way : ui::kReadingWays) {
        SCOPED_TRACE(way.key);
        testsupport::FakeClipboard clip;
        ui::ClipboardConverter conv(clip, text);
        clip.m_text = "汉字";
        const ClipboardResult r = conv.run(ui::Way(ui::ReadingWay{&way}));
        EXPECT_EQ(r.outcome, ClipboardResult::Unavailable);
        EXPECT_EQ(r.message.in(core::Language::English),
                  "cannot load " + folder + "/pinyin.dat: too short for a pinyin data file");
        EXPECT_EQ(clip.m_text, "汉字");
        EXPECT_EQ(clip.writes, 0);
    }
}

} // namespace
