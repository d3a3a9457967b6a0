// The tray menu's clipboard and autostart items and the answers to other starts, through the real
// window (offscreen) with fakes for the desktop services.

#include "everyday_words.h"
#include "window_fixture.h"
#include "platform/phrase_config.h"
#include "real_text.h"
#include "ui/button_ways.h"
#include "ui/desktop_integration.h"
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <opencc/SimpleConverter.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <span>

namespace {

using platform::Request;
using platform::Verb;
using testsupport::realText;

class DesktopIntegrationTest : public testsupport::WindowFixture {
protected:
    void SetUp() override {
        // The replies to other starts speak the locale's language: English here, unless a test
        // says otherwise.
        qputenv("LC_ALL", "C.UTF-8");
        makeForm();
        desktop = std::make_unique<ui::DesktopIntegration>(*form, clipboard, realText(),
                                                           platform::AutostartEntry(entryPath));
        showForm();
    }
    void TearDown() override {
        qunsetenv("LC_ALL");
        desktop.reset();
        WindowFixture::TearDown();
    }
    QAction *action(const char *name) { return form->sky->findChild<QAction *>(QLatin1String(name)); }
    // The reply to a request answered at once, as every request is with a clipboard that answers at once.
    platform::Reply handle(Verb verb, std::string argument = {}, std::function<bool()> wanted = {}) {
        std::optional<platform::Reply> r;
        desktop->handle(Request{verb, std::move(argument)}, wanted, [&r](platform::Reply reply) { r = reply; });
        settle();
        EXPECT_TRUE(r.has_value()) << "no reply";
        return r.value_or(platform::Reply{false, "no reply"});
    }

    QTemporaryDir dir;
    QString entryPath = dir.filePath("autostart/lanternfin.desktop");
    std::unique_ptr<ui::DesktopIntegration> desktop;
};

TEST_F(DesktopIntegrationTest, TheMenuHasClipboardAndAutostartAboveQuit) {
    QStringList top;
    for (QAction *a : form->sky->actions())
        top << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(top, (QStringList{"剪贴板", "登录时启动", "-", "退出"}));
    QStringList sub;
    for (QAction *a : desktop->clipboardMenu->actions())
        sub << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(sub, (QStringList{"繁体", "简体", "大写", "小写", "金额大写", "汉字拼音", "-", "还原剪贴板"}));
    EXPECT_TRUE(desktop->autostart->isCheckable());
    EXPECT_FALSE(action("clipboard_restore")->isEnabled());
}

TEST_F(DesktopIntegrationTest, MenuConvertsTheClipboardAndRestoresIt) {
    clipboard.m_text = "简体";
    action("clipboard_traditional")->trigger();
    EXPECT_EQ(clipboard.m_text, "簡體");
    EXPECT_TRUE(action("clipboard_restore")->isEnabled());
    action("clipboard_restore")->trigger();
    EXPECT_EQ(clipboard.m_text, "简体");
    // The window's workspace is not touched.
    EXPECT_EQ(form->workspaceText(), "");
}

TEST_F(DesktopIntegrationTest, TrayEntriesConvertTheWayTheButtonsDo) {
    // Configurations loaded here leave their images in the test's folder.
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    auto opencc = [](const char *config, const QString &in) {
        return QString::fromStdString(
            opencc::SimpleConverter(platform::phraseConfigPath(config)).Convert(in.toStdString()));
    };
    form->ways(form->cmdft)->setDefault("s2twp");
    form->ways(form->cmdjt)->setDefault("tw2sp");
    form->ways(form->CmdGetPY)->setDefault("marks");
    emit desktop->clipboardMenu->aboutToShow();
    EXPECT_EQ(action("clipboard_traditional")->text(), "繁体（台湾用词）");
    EXPECT_EQ(action("clipboard_simplified")->text(), "简体（台湾用词→简体）");
    EXPECT_EQ(action("clipboard_pinyin")->text(), "汉字拼音（带声调）");
    EXPECT_EQ(settings.values.value("ways/cmdft"), "s2twp");

    struct Case {
        const char *entry;
        QString in, out;
    };
    const Case cases[] = {
        {"clipboard_traditional", "软件和鼠标", opencc("s2twp", "软件和鼠标")},
        {"clipboard_simplified", "軟體和滑鼠", opencc("tw2sp", "軟體和滑鼠")},
        {"clipboard_pinyin", "汉字", "汉字\nhàn zì"},
        {"clipboard_upper", "abc", "ABC"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        clipboard.m_text = c.in;
        action(c.entry)->trigger();
        EXPECT_EQ(clipboard.m_text, c.out);
    }
    EXPECT_EQ(opencc("s2twp", "软件和鼠标"), "軟體和滑鼠");
    // The command line's plain names follow the default way as the tray does; the explicit ways
    // stay what they name.
    const struct {
        const char *name;
        QString in, out;
    } commandLine[] = {
        {"traditional", "软件和鼠标", opencc("s2twp", "软件和鼠标")},
        {"simplified", "軟體和滑鼠", opencc("tw2sp", "軟體和滑鼠")},
        {"pinyin", "汉字", "汉字\nhàn zì"},
        {"convert:s2t", "软件和鼠标", opencc("s2t", "软件和鼠标")},
        {"pinyin:numbers", "汉字", "汉字\nhan4 zi4"},
        {"upper", "abc", "ABC"},
    };
    for (const auto &c : commandLine) {
        SCOPED_TRACE(c.name);
        clipboard.m_text = c.in;
        EXPECT_TRUE(handle(Verb::Clipboard, c.name).ok);
        EXPECT_EQ(clipboard.m_text, c.out);
    }

    // Back to the buttons' own ways.
    form->ways(form->cmdft)->setDefault("char");
    emit desktop->clipboardMenu->aboutToShow();
    EXPECT_EQ(action("clipboard_traditional")->text(), "繁体（逐字）");
    clipboard.m_text = "软件";
    action("clipboard_traditional")->trigger();
    EXPECT_EQ(clipboard.m_text, "軟件");
    clipboard.m_text = "软件和鼠标";
    EXPECT_TRUE(handle(Verb::Clipboard, "traditional").ok);
    EXPECT_EQ(clipboard.m_text, "軟件和鼠標");
    qunsetenv("XDG_CACHE_HOME");
}

// Regression: the tray's 繁体 / 简体 and --clipboard traditional / simplified converted character
// by character (头发 -> 頭發) until the user chose a way; they convert by phrases.
TEST_F(DesktopIntegrationTest, ClipboardConvertsEverydayWordsByPhrasesUntilAnotherWayIsChosen) {
    emit desktop->clipboardMenu->aboutToShow();
    EXPECT_EQ(action("clipboard_traditional")->text(), "繁体");
    EXPECT_EQ(action("clipboard_simplified")->text(), "简体");
    const struct {
        const char *entry, *name;
        std::span<const testsupport::EverydayWord> words;
    } commands[] = {{"clipboard_traditional", "traditional", testsupport::kTraditionalWords},
                    {"clipboard_simplified", "simplified", testsupport::kSimplifiedWords}};
    for (const auto &c : commands) {
        for (const testsupport::EverydayWord &w : c.words) {
            SCOPED_TRACE(w.word);
            clipboard.m_text = QString::fromUtf8(w.word);
            action(c.entry)->trigger();
            EXPECT_EQ(clipboard.m_text, QString::fromUtf8(w.byPhrase));
            clipboard.m_text = QString::fromUtf8(w.word);
            EXPECT_TRUE(handle(Verb::Clipboard, c.name).ok);
            EXPECT_EQ(clipboard.m_text, QString::fromUtf8(w.byPhrase));
        }
    }
}

TEST_F(DesktopIntegrationTest, DefaultsStoredBeforeStartUpNameTheEntries) {
    testsupport::FakeSettings stored;
    stored.values = {{"ways/cmdft", "s2hk"}, {"ways/cmdjt", "nonsense"}, {"ways/CmdGetPY", "numbers"}};
    ui::Form1 other(ui::Form1Services{clipboard, pages, tray, pointer, realText(), stored});
    ui::DesktopIntegration otherDesktop(other, clipboard, realText(), platform::AutostartEntry(entryPath));
    QStringList captions;
    for (QAction *a : otherDesktop.clipboardMenu->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_EQ(captions, (QStringList{"繁体（香港繁体）", "简体", "大写", "小写", "金额大写", "汉字拼音（数字声调）",
                                     "还原剪贴板"}));
    clipboard.m_text = "绿";
    otherDesktop.runFromMenu(ui::ClipboardCommand::Pinyin);
    EXPECT_EQ(clipboard.m_text, "绿\nlü4");
}

TEST_F(DesktopIntegrationTest, AnAmountTooLargeFromTheMenuShowsTheBoxAndChangesNothing) {
    clipboard.m_text = "10000000000000000";
    watchdog.expected = true;
    action("clipboard_money")->trigger();
    watchdog.expected = false;
    EXPECT_EQ(watchdog.title, "错误提示");
    EXPECT_EQ(watchdog.text, "数目太大，无法换算！请输入一亿亿以下的数字");
    EXPECT_EQ(clipboard.m_text, "10000000000000000");
    EXPECT_EQ(clipboard.writes, 0);
    // From the command line the same failure is a reply, never a box that would wait for a click.
    const platform::Reply r = handle(Verb::Clipboard, "money");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("too large"), std::string::npos);
    EXPECT_EQ(clipboard.writes, 0);
}

TEST_F(DesktopIntegrationTest, AClipboardCommandThatCannotApplyFailsWithTheClipboardUnchanged) {
    // No amount in the text: a refusal with the reason (the command line exits 1), never 整.
    clipboard.m_text = "no number here";
    const platform::Reply none = handle(Verb::Clipboard, "money");
    EXPECT_FALSE(none.ok);
    // Worded in the locale's language (English here), as the command line words it.
    EXPECT_EQ(none.message, "no number to convert");
    EXPECT_EQ(clipboard.m_text, "no number here");
    // A start that gave up while the command ran: nothing is applied.
    clipboard.m_text = "abc";
    const platform::Reply late = handle(Verb::Clipboard, "upper", [] { return false; });
    EXPECT_FALSE(late.ok);
    EXPECT_NE(late.message.find("given up"), std::string::npos) << late.message;
    EXPECT_EQ(clipboard.m_text, "abc");
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_FALSE(action("clipboard_restore")->isEnabled());
}

TEST_F(DesktopIntegrationTest, RequestsFromOtherStarts) {
    // toggle: as a left click on the icon.
    EXPECT_TRUE(handle(Verb::Toggle).ok);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(handle(Verb::Toggle).ok);
    EXPECT_TRUE(form->isVisible());
    // show: from the tray, from minimised, and when already shown.
    tray.click(514);
    settle();
    EXPECT_TRUE(handle(Verb::Show).ok);
    EXPECT_TRUE(form->isVisible());
    form->showMinimized();
    settle();
    handle(Verb::Show);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    handle(Verb::Show);
    EXPECT_TRUE(form->isVisible());
    // tray: the program already runs, nothing changes.
    EXPECT_TRUE(handle(Verb::Tray).ok);
    EXPECT_TRUE(form->isVisible());
    // clipboard: converted in place; an unknown name and an empty clipboard are errors.
    clipboard.m_text = "Abc";
    EXPECT_TRUE(handle(Verb::Clipboard, "upper").ok);
    EXPECT_EQ(clipboard.m_text, "ABC");
    const platform::Reply unknown = handle(Verb::Clipboard, "convert:");
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.message,
              "unknown clipboard command 'convert:' (one of traditional, simplified, upper, "
              "lower, money, pinyin, restore, convert:CONFIG, pinyin:marks|numbers|none|initials, "
                                          "money:bank|bank-round|date|read-back|numerals|capital-numerals)");
    clipboard.m_text.clear();
    EXPECT_EQ(handle(Verb::Clipboard, "lower"), (platform::Reply{false, "no text on the clipboard"}));
    // Regression: the replies were English under a Chinese locale too.
    qputenv("LC_ALL", "zh_CN.UTF-8");
    EXPECT_EQ(handle(Verb::Clipboard, "lower"), (platform::Reply{false, "剪贴板上没有文字"}));
    qputenv("LC_ALL", "C.UTF-8");
    // quit: answered first, then the program ends and the icon goes.
    tray.shown = true;
    std::optional<platform::Reply> quit;
    desktop->handle({Verb::Quit, {}}, {}, [&quit](platform::Reply r) { quit = r; });
    EXPECT_TRUE(quit && quit->ok);
    EXPECT_TRUE(tray.shown);
    settle();
    EXPECT_FALSE(tray.shown);
}

TEST_F(DesktopIntegrationTest, ShowBringsAWindowOutOfItsEdge) {
    form->move(600, 0);
    settle();
    const int h = form->frameGeometry().height();
    pointer.position = QPoint(700, h + 100);
    form->Timer1_Timer();
    settle();
    ASSERT_FALSE(form->isVisible()); // hidden behind its strip at the top edge
    handle(Verb::Show);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(600, 0));
    EXPECT_FALSE(form->dockStrip() && form->dockStrip()->isVisible());
    // Brought back to be used, it stays while it has the focus, the mouse away as it is...
    for (int pass = 0; pass < 10; ++pass) {
        form->Timer1_Timer();
        settle();
        ASSERT_TRUE(form->isVisible()) << pass;
    }
    EXPECT_EQ(form->Timer1->interval(), 500);
    // ...until the mouse has come in and gone out again.
    pointer.position = QPoint(700, 100);
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    pointer.position = QPoint(700, h + 100);
    form->Timer1_Timer();
    settle();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(DesktopIntegrationTest, AutostartItemWritesAndRemovesTheEntry) {
    EXPECT_FALSE(desktop->autostart->isChecked());
    desktop->autostart->trigger();
    EXPECT_TRUE(desktop->autostart->isChecked());
    ASSERT_TRUE(QFile::exists(entryPath));
    desktop->autostart->trigger();
    EXPECT_FALSE(desktop->autostart->isChecked());
    EXPECT_FALSE(QFile::exists(entryPath));
    // An entry made or removed elsewhere shows when the menu opens.
    QString error;
    ASSERT_TRUE(platform::AutostartEntry(entryPath).set(true, error));
    emit form->sky->aboutToShow();
    EXPECT_TRUE(desktop->autostart->isChecked());
}

TEST_F(DesktopIntegrationTest, AnEntryThatCannotBeWrittenIsReported) {
    QFile blocker(dir.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    watchdog.expected = true;
    desktop->autostart->trigger();
    watchdog.expected = false;
    EXPECT_TRUE(watchdog.text.startsWith(entryPath)) << watchdog.text.toStdString();
    EXPECT_FALSE(desktop->autostart->isChecked());
}

TEST_F(DesktopIntegrationTest, WithoutPlacementAutoHideIsOffAndSaysWhy) {
    desktop->disableDocking(QStringLiteral("no placement here"));
    EXPECT_FALSE(form->Check1->isChecked());
    EXPECT_FALSE(form->Check1->isEnabled());
    EXPECT_EQ(form->Check1->toolTip(), "no placement here");
    form->timerLoad_Timer();
    EXPECT_FALSE(form->Timer1->isActive());
}

} // namespace

// A clipboard owner that is slow to answer holds up only the clipboard commands: the window and the
// other requests go on, and each command answers once its clipboard has been read.
class SlowOwnerTest : public DesktopIntegrationTest {
protected:
    void SetUp() override {
        DesktopIntegrationTest::SetUp();
        slowForm = std::make_unique<ui::Form1>(
            ui::Form1Services{slow, pages, tray, pointer, realText(), settings});
        slowDesktop = std::make_unique<ui::DesktopIntegration>(*slowForm, slow, realText(),
                                                               platform::AutostartEntry(entryPath));
    }
    void TearDown() override {
        slowDesktop.reset();
        slowForm.reset();
        DesktopIntegrationTest::TearDown();
    }
    // Sends a request; its reply lands in `into` whenever it comes.
    void send(Verb verb, std::string argument, std::shared_ptr<std::optional<platform::Reply>> into,
              std::function<bool()> wanted = {}) {
        slowDesktop->handle(Request{verb, std::move(argument)}, wanted,
                            [into](platform::Reply r) { *into = std::move(r); });
    }
    static std::shared_ptr<std::optional<platform::Reply>> reply() {
        return std::make_shared<std::optional<platform::Reply>>();
    }
    testsupport::SlowClipboard slow;
    std::unique_ptr<ui::Form1> slowForm;
    std::unique_ptr<ui::DesktopIntegration> slowDesktop;
};

TEST_F(SlowOwnerTest, AShowIsAnsweredWhileAClipboardCommandWaits) {
    slowForm->hide();
    settle();
    slow.m_text = "abc";
    const auto upper = reply();
    send(Verb::Clipboard, "upper", upper);
    settle();
    ASSERT_EQ(slow.waiting.size(), 1u);
    EXPECT_FALSE(upper->has_value());

    const auto show = reply();
    send(Verb::Show, {}, show);
    settle();
    ASSERT_TRUE(show->has_value());
    EXPECT_TRUE((*show)->ok);
    EXPECT_TRUE(slowForm->isVisible());
    EXPECT_FALSE(upper->has_value());
    EXPECT_EQ(slow.writes, 0);

    ASSERT_TRUE(slow.answer());
    ASSERT_TRUE(upper->has_value());
    EXPECT_TRUE((*upper)->ok) << (*upper)->message;
    EXPECT_EQ(slow.m_text, "ABC");
}

TEST_F(SlowOwnerTest, WhatTheSlowReadEndsInDecidesTheReply) {
    struct Case {
        const char *name;
        std::function<void(testsupport::SlowClipboard &)> answer;
        bool stillWanted;
        bool ok;
        const char *messageHas;
        const char *after;
    };
    const Case cases[] = {
        {"answered in time", [](auto &c) { c.answer(); }, true, true, "", "ABC"},
        {"unreadable", [](auto &c) { c.fail(core::MessageId::ClipboardOwnerSilent); }, true, false,
         "does not answer", "abc"},
        {"start gave up meanwhile", [](auto &c) { c.answer(); }, false, false, "given up", "abc"},
        {"picture copied meanwhile", [](auto &c) { c.picture = true, c.m_text.clear(), c.answer(); }, true, false,
         "no text", ""},
        {"text beside rich text or a picture", [](auto &c) { c.picture = true, c.answer(); }, true, false,
         "more than plain text", "abc"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        slow.m_text = "abc";
        slow.picture = false;
        slow.writes = 0;
        bool wanted = true;
        const auto got = reply();
        send(Verb::Clipboard, "upper", got, [&wanted] { return wanted; });
        ASSERT_EQ(slow.waiting.size(), 1u);
        wanted = c.stillWanted;
        c.answer(slow);
        ASSERT_TRUE(got->has_value());
        EXPECT_EQ((*got)->ok, c.ok);
        EXPECT_NE((*got)->message.find(c.messageHas), std::string::npos) << (*got)->message;
        EXPECT_EQ(slow.m_text, QString::fromUtf8(c.after));
        EXPECT_EQ(slow.writes, c.ok ? 1 : 0);
    }
}

TEST_F(SlowOwnerTest, CommandsRunOneAfterTheOtherAndRestoreSeesTheFirstOnesResult) {
    slow.m_text = "abc";
    const auto upper = reply();
    const auto restore = reply();
    const auto gaveUp = reply();
    send(Verb::Clipboard, "upper", upper);
    send(Verb::Clipboard, "restore", restore);
    send(Verb::Clipboard, "lower", gaveUp, [] { return false; });
    // The restore is read only once the conversion is written.
    ASSERT_EQ(slow.waiting.size(), 1u);
    ASSERT_TRUE(slow.answer());
    EXPECT_TRUE(upper->has_value() && (*upper)->ok);
    EXPECT_EQ(slow.m_text, "ABC");
    ASSERT_EQ(slow.waiting.size(), 1u);
    EXPECT_FALSE(restore->has_value());
    ASSERT_TRUE(slow.answer());
    EXPECT_TRUE(restore->has_value() && (*restore)->ok);
    EXPECT_EQ(slow.m_text, "abc");
    // The one whose start gave up while it queued is never read.
    EXPECT_TRUE(slow.waiting.empty());
    ASSERT_TRUE(gaveUp->has_value());
    EXPECT_FALSE((*gaveUp)->ok);
    EXPECT_EQ(slow.writes, 2);
}

TEST_F(SlowOwnerTest, ARestoreAfterSomethingElseWasCopiedDuringTheReadKeepsIt) {
    slow.m_text = "abc";
    const auto upper = reply();
    send(Verb::Clipboard, "upper", upper);
    ASSERT_TRUE(slow.answer());
    const auto restore = reply();
    send(Verb::Clipboard, "restore", restore);
    slow.m_text = "ABC";
    slow.picture = true; // the same text, now beside a picture
    ASSERT_TRUE(slow.answer());
    ASSERT_TRUE(restore->has_value());
    EXPECT_FALSE((*restore)->ok);
    EXPECT_EQ(slow.writes, 1);
    EXPECT_TRUE(slow.picture);
}

TEST_F(SlowOwnerTest, AReadAnsweringAfterTheWindowIsGoneIsIgnored) {
    slow.m_text = "abc";
    const auto upper = reply();
    send(Verb::Clipboard, "upper", upper);
    slowDesktop.reset();
    EXPECT_TRUE(slow.answer());
    EXPECT_FALSE(upper->has_value());
    EXPECT_EQ(slow.writes, 0);
}

TEST_F(SlowOwnerTest, TheMenuWaitsForTheReadToo) {
    slow.m_text = "abc";
    slowDesktop->runFromMenu(ui::ClipboardCommand::Upper);
    EXPECT_EQ(slow.m_text, "abc");
    ASSERT_TRUE(slow.answer());
    EXPECT_EQ(slow.m_text, "ABC");
    // An unreadable clipboard is a warning, not a silent nothing.
    slowDesktop->runFromMenu(ui::ClipboardCommand::Lower);
    watchdog.expected = true;
    QTimer::singleShot(0, [this] { slow.fail(core::MessageId::ClipboardOwnerSilent); });
    QTest::qWait(200);
    watchdog.expected = false;
    // Regression: the window's boxes spoke English ("the program that owns the clipboard does not
    // answer") beside its Chinese captions.
    EXPECT_EQ(watchdog.text, "占有剪贴板的程序没有应答");
    EXPECT_EQ(slow.m_text, "ABC");
}
