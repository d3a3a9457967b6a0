// The ways of a button: default resolution, the menu, the stored default and unavailable ways,
// on a bare button and through the window's 繁体 / 简体 / 汉字拼音 buttons.

#include "everyday_words.h"
#include "window_fixture.h"
#include "real_text.h"
#include "ui/button_ways.h"
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

namespace {

using ui::ButtonWay;
using ui::ButtonWays;

std::vector<ButtonWay> threeWays(QStringList &log, QString &missing) {
    auto way = [&log, &missing](const char *key, const char *label) {
        const QString k = QString::fromLatin1(key);
        return ButtonWay{k, QString::fromUtf8(label), [&log, k] { log << k; },
                             [&missing, k] { return k == QLatin1String("c") ? missing : QString(); }};
    };
    return {way("a", "甲"), way("b", "乙"), way("c", "丙")};
}

TEST(ButtonWaysDefault, StoredKeyOnlyWhenItNamesAWay) {
    QStringList log;
    QString missing;
    const auto ways = threeWays(log, missing);
    // The user's choice first, then the button's fallback, then its first way.
    const struct {
        const char *stored;
        const char *fallback;
        const char *expected;
    } cases[] = {{"", "", "a"},    {"b", "", "b"},  {"c", "", "c"},  {"B", "", "a"},  {"zz", "", "a"},
                 {"", "b", "b"},   {"a", "b", "a"}, {"zz", "c", "c"}, {"", "zz", "a"}, {"c", "zz", "c"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + c.fallback);
        EXPECT_EQ(ui::resolveDefaultKey(QString::fromLatin1(c.stored), ways, QString::fromLatin1(c.fallback)),
                  QString::fromLatin1(c.expected));
    }
    EXPECT_EQ(ui::resolveDefaultKey(QStringLiteral("a"), {}), QString());
}

class ButtonWaysTest : public ::testing::Test {
protected:
    void SetUp() override { button.setToolTip(QStringLiteral("提示")); }
    std::unique_ptr<ButtonWays> make() {
        return std::make_unique<ButtonWays>(&button, QStringLiteral("ways/test"), threeWays(log, missing), QString(),
                                            settings, nullptr);
    }
    QPushButton button{QStringLiteral("按钮")};
    testsupport::FakeSettings settings;
    QStringList log;
    QString missing;
};

TEST_F(ButtonWaysTest, LeftClickRunsTheDefaultAndPickingRunsOnceWithoutChangingIt) {
    auto ways = make();
    QObject::connect(&button, &QPushButton::clicked, ways.get(), &ButtonWays::trigger);
    QTest::mouseClick(&button, Qt::LeftButton);
    ways->run(QStringLiteral("b"));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(log, QStringList({"a", "b", "a"}));
    EXPECT_EQ(ways->defaultKey(), "a");
    EXPECT_TRUE(settings.values.isEmpty());
}

TEST_F(ButtonWaysTest, MakingADefaultIsStoredAndFoundAgainAfterARestart) {
    auto ways = make();
    ways->setDefault(QStringLiteral("b"));
    EXPECT_EQ(settings.values.value("ways/test"), "b");
    EXPECT_EQ(button.toolTip(), "提示\n当前：乙（右键选择其他方式）");
    ways.reset();
    button.setToolTip(QStringLiteral("提示"));
    auto again = make();
    EXPECT_EQ(again->defaultKey(), "b");
    again->trigger();
    EXPECT_EQ(log, QStringList({"b"}));
    // An unknown key changes nothing.
    again->setDefault(QStringLiteral("nope"));
    EXPECT_EQ(again->defaultKey(), "b");
    EXPECT_EQ(settings.values.value("ways/test"), "b");
}

TEST_F(ButtonWaysTest, MenuListsTheWaysInOrderThenTheDefaultSubmenu) {
    auto ways = make();
    QStringList labels;
    for (QAction *a : ways->menu()->actions())
        labels << (a->menu() ? QStringLiteral("[") + a->text() + "]" : a->text());
    EXPECT_EQ(labels, QStringList({"甲", "乙", "丙", "", "[设为默认]"}));
    ways->menu()->actions().at(1)->trigger();
    EXPECT_EQ(log, QStringList({"b"}));
    QMenu *defaults = ways->menu()->actions().at(4)->menu();
    defaults->actions().at(2)->trigger();
    EXPECT_EQ(ways->defaultKey(), "c");
    EXPECT_TRUE(defaults->actions().at(2)->isChecked());
    EXPECT_FALSE(defaults->actions().at(0)->isChecked());
}

TEST_F(ButtonWaysTest, AnUnavailableWayIsDisabledWithItsReasonAndNeverRuns) {
    missing = QStringLiteral("cannot load /x/s2tw.json");
    auto ways = make();
    ways->setDefault(QStringLiteral("c"));
    emit ways->menu()->aboutToShow();
    QAction *entry = ways->menu()->actions().at(2);
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_EQ(entry->toolTip(), missing);
    EXPECT_TRUE(ways->menu()->actions().at(0)->isEnabled());
    ways->trigger();
    ways->run(QStringLiteral("c"));
    EXPECT_TRUE(log.isEmpty());
    // Once the data is there, the same entry works.
    missing.clear();
    emit ways->menu()->aboutToShow();
    EXPECT_TRUE(entry->isEnabled());
    ways->trigger();
    EXPECT_EQ(log, QStringList({"c"}));
}

TEST_F(ButtonWaysTest, BuildingAsksNoWayWhetherItCanRun) {
    int asked = 0;
    std::vector<ButtonWay> ways{{QStringLiteral("a"), QStringLiteral("甲"), [] {},
                                     [&asked] {
                                         ++asked;
                                         return QString();
                                     }}};
    ButtonWays v(&button, QStringLiteral("ways/lazy"), ways, QString(), settings, nullptr);
    EXPECT_EQ(asked, 0);
}

TEST_F(ButtonWaysTest, RightClickAndMenuKeyOpenTheMenu) {
    auto ways = make();
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QMenu *menu = ways->menu();
    emit button.customContextMenuRequested(QPoint(2, 2));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Menu);
    QApplication::processEvents();
    EXPECT_TRUE(menu->isVisible());
    // A second request while it is open (xcb sends both the key and a context-menu request) keeps it.
    emit button.customContextMenuRequested(QPoint(2, 2));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_TRUE(log.isEmpty());
}

// Through the window: the buttons' own ways come first, and each rewrite is one undo step.
class Form1WaysTest : public testsupport::WindowFixture {
protected:
    void SetUp() override { makeForm(); }
};

TEST_F(Form1WaysTest, EachMenuStartsWithTheButtonsOwnWay) {
    // 繁体 and 简体 convert by phrases until the user chooses otherwise; 逐字 still leads the menu.
    const struct {
        QPushButton *ui::Form1::*button;
        const char *defaultKey;
        const char *firstLabel;
    } cases[] = {{&ui::Form1::cmdft, "s2t", "逐字"},
                 {&ui::Form1::cmdjt, "t2s", "逐字"},
                 {&ui::Form1::CmdGetPY, "capitalised", "首字母大写"},
                 {&ui::Form1::cmdmoney, "design", "金额大写"}};
    for (const auto &c : cases) {
        QPushButton *b = form.get()->*c.button;
        SCOPED_TRACE(b->objectName().toStdString());
        ButtonWays *ways = form->ways(b);
        ASSERT_NE(ways, nullptr);
        EXPECT_EQ(ways->defaultKey(), c.defaultKey);
        EXPECT_EQ(ways->menu()->actions().first()->text(), QString::fromUtf8(c.firstLabel));
        EXPECT_EQ(b->contextMenuPolicy(), Qt::CustomContextMenu);
    }
    EXPECT_EQ(form->ways(form->cmdtol), nullptr);
}

TEST_F(Form1WaysTest, PickedWayRewritesAsOneUndoStep) {
    form->Text1->setPlainText(QStringLiteral("汉字"));
    form->ways(form->CmdGetPY)->run(QStringLiteral("capitalised"));
    EXPECT_EQ(form->workspaceText(), "汉字\nHanZi");
    form->ways(form->cmdft)->run(QStringLiteral("char"));
    EXPECT_EQ(form->workspaceText(), "漢字\nHanZi");
    form->Text1->undo();
    EXPECT_EQ(form->workspaceText(), "汉字\nHanZi");
    form->Text1->undo();
    EXPECT_EQ(form->workspaceText(), "汉字");
}

// Regression: a left click converted character by character, so that 头发 became 頭發 and 乾隆
// became 干隆; it converts by phrases, and a way the user made the default stays the default.
TEST_F(Form1WaysTest, LeftClickConvertsEverydayWordsByPhrases) {
    const struct {
        void (ui::Form1::*click)();
        const char *settingsKey;
        const std::span<const testsupport::EverydayWord> words;
    } buttons[] = {{&ui::Form1::cmdft_Click, "ways/cmdft", testsupport::kTraditionalWords},
                   {&ui::Form1::cmdjt_Click, "ways/cmdjt", testsupport::kSimplifiedWords}};
    for (const bool chosenByCharacter : {false, true}) {
        settings.values.clear();
        if (chosenByCharacter)
            settings.values = {{"ways/cmdft", "char"}, {"ways/cmdjt", "char"}};
        makeForm();
        for (const auto &button : buttons) {
            for (const testsupport::EverydayWord &w : button.words) {
                SCOPED_TRACE(std::string(w.word) + (chosenByCharacter ? " 逐字" : ""));
                form->Text1->setPlainText(QString::fromUtf8(w.word));
                (form.get()->*button.click)();
                EXPECT_EQ(form->workspaceText(), QString::fromUtf8(chosenByCharacter ? w.byCharacter : w.byPhrase));
            }
            EXPECT_EQ(settings.values.value(QString::fromLatin1(button.settingsKey)),
                      chosenByCharacter ? QStringLiteral("char") : QString());
        }
    }
}

} // namespace
