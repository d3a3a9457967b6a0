// The ways of 金额大写: the menu, each way's rewrite as one undo step, a refusal that keeps the
// workspace, and the stored default.

#include "window_fixture.h"
#include "real_text.h"
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using MoneyWaysTest = testsupport::WindowFixture;

TEST_F(MoneyWaysTest, MenuOffersTheDesignWayFirst) {
    auto form = newForm();
    emit form->cmdmoney->customContextMenuRequested(QPoint(2, 2));
    QMenu *menu = form->ways(form->cmdmoney)->menu();
    QStringList labels;
    for (QAction *a : menu->actions())
        if (!a->menu() && !a->isSeparator())
            labels << a->text();
    menu->hide();
    EXPECT_EQ(labels, (QStringList{"金额大写", "银行写法", "银行写法（圆）", "票据日期", "大写读回数字", "中文数字",
                                   "大写数字"}));
    EXPECT_EQ(form->ways(form->cmdmoney)->defaultKey(), "design");
    EXPECT_TRUE(form->cmdmoney->toolTip().contains("当前：金额大写"));
}

TEST_F(MoneyWaysTest, EachWayRewritesTheWorkspaceOnceAsOneUndoStep) {
    const struct {
        const char *key;
        const char *before;
        const char *after;
    } cases[] = {
        {"design", "16", "拾陆圆整"},
        {"bank", "16", "壹拾陆元整"},
        {"bank-round", "-10.05", "负壹拾圆零伍分"},
        {"date", "出票日期：2026-01-15", "贰零贰陆年零壹月壹拾伍日"},
        {"read-back", "人民币壹仟零伍元伍角\n", "1005.50"},
        {"numerals", "100010", "十万零一十"},
        {"capital-numerals", "1005.5", "壹仟零伍点伍"},
    };
    auto form = newForm();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        form->Text1->setPlainText(QString::fromUtf8(c.before));
        form->ways(form->cmdmoney)->run(QString::fromLatin1(c.key));
        EXPECT_EQ(form->workspaceText().toStdString(), c.after);
        form->Text1->undo();
        EXPECT_EQ(form->workspaceText().toStdString(), c.before);
    }
}

TEST_F(MoneyWaysTest, ARefusalShowsWhyAndKeepsTheWorkspace) {
    const struct {
        const char *key;
        const char *text;
        const char *why; // a part of the message
    } cases[] = {
        {"read-back", "壹仟伍圆整", "第3个字"},
        {"date", "2026-02-29", "2026"},
        {"date", "没有日期", ""},
        {"bank", "1e16", "数目太大"},
        {"numerals", "1e16", "数目太大"},
    };
    auto form = newForm();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key + std::string(" ") + c.text);
        form->Text1->setPlainText(QString::fromUtf8(c.text));
        watchdog.expected = true;
        watchdog.text.clear();
        form->ways(form->cmdmoney)->run(QString::fromLatin1(c.key));
        watchdog.expected = false;
        EXPECT_EQ(watchdog.title, "错误提示");
        EXPECT_FALSE(watchdog.text.isEmpty());
        EXPECT_TRUE(watchdog.text.contains(QString::fromUtf8(c.why))) << watchdog.text.toStdString();
        EXPECT_EQ(form->workspaceText().toStdString(), c.text);
        EXPECT_FALSE(form->Text1->document()->isUndoAvailable());
    }
}

TEST_F(MoneyWaysTest, TheChosenDefaultIsWhatALeftClickDoesAfterARestart) {
    {
        auto form = newForm();
        form->ways(form->cmdmoney)->setDefault("bank");
        EXPECT_EQ(settings.values.value("ways/cmdmoney"), "bank");
    }
    auto form = newForm();
    form->Text1->setPlainText("16");
    form->cmdmoney->click();
    EXPECT_EQ(form->workspaceText(), "壹拾陆元整");
    EXPECT_TRUE(form->cmdmoney->toolTip().contains("当前：银行写法"));
}

} // namespace
