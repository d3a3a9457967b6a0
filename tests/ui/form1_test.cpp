// The main window, headless, driven through its widgets with fakes for the desktop services.

#include "fakes.h"
#include "platform/character_maps.h"
#include "platform/text_services.h"
#include "real_text.h"
#include "ui/about.h"
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using testsupport::realText;

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<ui::Form1>(
            ui::Form1Services{clipboard, pages, tray, pointer, realText(), settings});
        // Watchdog: an unexpected modal dialog fails the test instead of hanging it.
        watchdog.setInterval(20);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (!expectModal)
                ADD_FAILURE() << "unexpected modal dialog: " << box->text().toStdString();
            modalTitle = box->windowTitle();
            modalText = box->text();
            modalIcon = box->icon();
            modalButtons = box->buttons().size();
            box->accept();
        });
        watchdog.start();
    }
    void TearDown() override {
        watchdog.stop();
        form.reset();
    }
    void showForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
    }
    void click(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    QString text() const { return form->workspaceText(); }
    void setText(const QString &t) { form->Text1->setPlainText(t); }

    testsupport::FakeClipboard clipboard;
    testsupport::FakePageOpener pages;
    testsupport::FakeTray tray;
    testsupport::FakePointer pointer;
    testsupport::FakeSettings settings;
    std::unique_ptr<ui::Form1> form;
    QTimer watchdog;
    bool expectModal = false;
    QString modalTitle, modalText;
    QMessageBox::Icon modalIcon = QMessageBox::NoIcon;
    qsizetype modalButtons = 0;
};

TEST_F(Form1Test, ControlsAsDesigned) {
    struct Control {
        const char *name;
        const char *kind;
        const char *parent;
        QString caption;
        QString tip;
        int left, top, width, height; // twips
        double points;
    };
    const Control controls[] = {
        {"Text1", "QPlainTextEdit", "Form1", "", "", 0, 0, 4215, 4935, 12},
        {"cmdtos", "QPushButton", "Form1", "小写", "", 4945, 600, 550, 375, 9},
        {"cmdtol", "QPushButton", "Form1", "大写", "", 4320, 600, 550, 375, 9},
        {"cmdend", "QPushButton", "Form1", "退 出", "", 4320, 4560, 1150, 375, 9},
        {"cmdclear", "QPushButton", "Form1", "清    空", "", 4320, 2160, 1150, 375, 9},
        {"cmdcopy", "QPushButton", "Form1", "全部复制", "", 4320, 2640, 1150, 375, 9},
        {"cmdpaste", "QPushButton", "Form1", "粘    贴", "", 4320, 3120, 1150, 375, 9},
        {"cmdjt", "QPushButton", "Form1", "简体", "当前：逐字（右键选择其他方式）", 4320, 120, 550, 405, 9},
        {"cmdft", "QPushButton", "Form1", "繁体", "当前：逐字（右键选择其他方式）", 4945, 120, 550, 405, 9},
        {"cmdabout", "QPushButton", "Form1", "Vesk's Web", "", 4320, 3600, 1150, 375, 9},
        {"Check1", "QCheckBox", "Form1", "自动隐藏", "", 4320, 4080, 1095, 375, 9},
        {"cmdmoney", "QPushButton", "Form1", "金额大写", "一亿亿以下\n当前：金额大写（右键选择其他方式）", 4320, 1200, 1150, 375, 9},
        {"Frame1", "QGroupBox", "Form1", "比例三求一", "", 120, 5160, 5415, 1335, 10.5},
        {"t1a", "QLineEdit", "Frame1", "", "", 120, 360, 1335, 375, 10.5},
        {"t1b", "QLineEdit", "Frame1", "", "", 1680, 360, 1335, 375, 10.5},
        {"t1c", "QLineEdit", "Frame1", "", "", 120, 840, 1335, 375, 10.5},
        {"t1d", "QLineEdit", "Frame1", "", "", 1680, 840, 1335, 375, 10.5},
        {"cmdRound", "QPushButton", "Frame1", "复制", "", 4560, 840, 735, 375, 10.5},
        {"Label1", "QLabel", "Frame1", "清 空", "", 4680, 480, 525, 210, 10.5},
        {"opt0", "QRadioButton", "Frame1", "整数", "", 3240, 240, 855, 255, 10.5},
        {"opt1", "QRadioButton", "Frame1", "小数一位", "", 3240, 600, 1215, 255, 10.5},
        {"opt2", "QRadioButton", "Frame1", "小数两位", "", 3240, 960, 1215, 255, 10.5},
        {"CmdGetPY", "QPushButton", "Form1", "汉字拼音", "大部分汉字\n当前：首字母大写（右键选择其他方式）",
         4320, 1680, 1150, 375, 9},
    };
    EXPECT_EQ(form->objectName(), "Form1");
    EXPECT_EQ(form->windowTitle(), "Lanternfin 2011");
    EXPECT_EQ(form->twipsPerPixel(), 15.0f);
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        auto *w = form->findChild<QWidget *>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(c.kind));
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(c.parent));
        QString caption;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            caption = b->text();
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            caption = g->title();
        else if (auto *l = qobject_cast<QLabel *>(w))
            caption = l->text();
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            caption = e->text();
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            caption = p->toPlainText();
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(w->toolTip(), c.tip);
        EXPECT_EQ(w->geometry(), QRect(qRound(c.left / 15.0), qRound(c.top / 15.0), qRound(c.width / 15.0),
                                       qRound(c.height / 15.0)));
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), c.points);
    }
    // Timers and the menu.
    auto *timer1 = form->findChild<QTimer *>("Timer1");
    auto *timerLoad = form->findChild<QTimer *>("timerLoad");
    ASSERT_TRUE(timer1 && timerLoad);
    EXPECT_EQ(timer1->interval(), 500);
    EXPECT_FALSE(timer1->isActive());
    EXPECT_EQ(timerLoad->interval(), 3000);
    EXPECT_TRUE(timerLoad->isActive());
    auto *sky = form->findChild<QMenu *>("sky");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->title(), "sky");
    ASSERT_EQ(sky->actions().size(), 1);
    EXPECT_EQ(sky->actions().front()->objectName(), "quit");
    EXPECT_EQ(sky->actions().front()->text(), "退出");
    // Colours.
    EXPECT_EQ(form->t1d->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(form->Label1->palette().color(QPalette::WindowText), QColor(128, 0, 0));
}

TEST_F(Form1Test, StartsOnTopAtTheRightEdgeWithTheTrayIcon) {
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->opt0->isChecked());
    EXPECT_FALSE(form->opt1->isChecked());
    EXPECT_TRUE(form->Check1->isChecked());
    EXPECT_EQ(form->dockState().Hids, -1);
    EXPECT_EQ(tray.adds, 1);
    EXPECT_EQ(tray.tip(), "Lanternfin");
    // 280 twips inside the right edge of a 1920-pixel screen by the minimum outer width (6260
    // twips) that the window has once shown, not by the narrower design client width.
    EXPECT_EQ(form->x(), qRound((28800.0 - 280 - 6260) / 15));
    EXPECT_FALSE(form->Text1->tabChangesFocus() == false);
    EXPECT_EQ(form->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(form->Text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(Form1Test, TabMovesAlongTheDesignOrder) {
    showForm();
    QApplication::setActiveWindow(form.get());
    form->Text1->setFocus();
    const char *order[] = {"Text1", "cmdtos", "cmdtol",   "cmdend", "cmdclear", "cmdcopy", "cmdpaste",
                           "cmdjt", "cmdft",  "cmdabout", "Check1", "cmdmoney", "t1a",     "t1b",
                           "t1c",   "t1d",    "cmdRound", "opt0",   "CmdGetPY"};
    for (const char *name : order) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(form->Text1->toPlainText(), "");
}

TEST_F(Form1Test, ConversionButtonsRewriteTheWorkspace) {
    struct Case {
        QPushButton *ui::Form1::*button;
        QString in, out;
    };
    const Case cases[] = {
        {&ui::Form1::cmdft, "简体 abc\n한😀", "簡體 abc\n한😀"},
        {&ui::Form1::cmdjt, "簡體\n汉字", "简体\n汉字"},
        {&ui::Form1::cmdtol, "Abc 中文 123", "ABC 中文 123"},
        {&ui::Form1::cmdtos, "Abc 中文 123", "abc 中文 123"},
        {&ui::Form1::cmdmoney, "1005.5", "壹仟零伍圆伍角整"},
        {&ui::Form1::cmdmoney, "金额：1005.5元\n", "壹仟零伍圆伍角整"},
        {&ui::Form1::cmdmoney, "0", "零圆整"},
        {&ui::Form1::CmdGetPY, " 汉字 ", " 汉字 \nHanZi"},
        {&ui::Form1::CmdGetPY, "", "\n"},
        {&ui::Form1::CmdGetPY, "我爱Beijing 2008！", "我爱Beijing 2008！\nWoAiBeijing 2008"},
        {&ui::Form1::cmdclear, "anything", ""},
        // No-break spaces and line separators survive a conversion.
        {&ui::Form1::cmdtol, "a\u00A0b\u2028c", "A\u00A0B\u2028C"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        setText(c.in);
        QTextCursor sel = form->Text1->textCursor();
        sel.setPosition(1);
        sel.setPosition(2, QTextCursor::KeepAnchor);
        form->Text1->setTextCursor(sel);
        click(form.get()->*c.button);
        EXPECT_EQ(text(), c.out);
        EXPECT_EQ(form->Text1->textCursor().position(), 0);
        EXPECT_FALSE(form->Text1->textCursor().hasSelection());
    }
}

TEST_F(Form1Test, EveryRewriteIsOneUndoStep) {
    QPushButton *ui::Form1::*buttons[] = {&ui::Form1::cmdft,    &ui::Form1::cmdjt,    &ui::Form1::cmdtol,
                                          &ui::Form1::cmdtos,   &ui::Form1::cmdmoney, &ui::Form1::CmdGetPY,
                                          &ui::Form1::cmdclear, &ui::Form1::cmdpaste};
    clipboard.m_text = "PASTED";
    for (auto button : buttons) {
        setText("简体 Abc 12\n繁體");
        click(form.get()->*button);
        ASSERT_NE(text(), "简体 Abc 12\n繁體");
        form->Text1->undo();
        EXPECT_EQ(text(), "简体 Abc 12\n繁體");
    }
}

// Every refusal of 金额大写 (the limit, no amount, more than one) shows why and keeps the text.
TEST_F(Form1Test, AmountRefusalShowsWhyAndKeepsTheWorkspace) {
    const struct {
        QString input;
        QString says; // a part of the message
    } cases[] = {
        {"10000000000000000", "数目太大，无法换算！请输入一亿亿以下的数字"},
        {"1e400", "数目太大"},
        {"9999999999999999.995", "数目太大"},
        {"abc", "没有可换算的数字"},
        {"", "没有可换算的数字"},
        {"第3笔共1005.5元", "第5个字“1”"},
        {"1万5千", "第3个字“5”"},
        {"5千", "第2个字“千”"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        setText(c.input);
        expectModal = true;
        modalText.clear();
        click(form->cmdmoney);
        expectModal = false;
        EXPECT_EQ(modalTitle, "错误提示");
        EXPECT_TRUE(modalText.contains(c.says)) << modalText.toStdString();
        EXPECT_EQ(modalIcon, QMessageBox::Information);
        EXPECT_EQ(modalButtons, 1);
        EXPECT_EQ(text(), c.input);
    }
}

TEST_F(Form1Test, CopyPasteAndClear) {
    setText("line one\nline two");
    QTextCursor sel = form->Text1->textCursor();
    sel.setPosition(5);
    sel.setPosition(8, QTextCursor::KeepAnchor);
    form->Text1->setTextCursor(sel);
    click(form->cmdcopy);
    EXPECT_EQ(clipboard.m_text, "line one\nline two");
    EXPECT_EQ(form->Text1->textCursor().selectedText(), "one");

    clipboard.m_text = "1\n2";
    click(form->cmdpaste);
    EXPECT_EQ(text(), "line 1\n2\nline two");
    click(form->cmdpaste);
    EXPECT_EQ(text(), "line 1\n21\n2\nline two");

    // Nothing on the clipboard: the selection stays.
    setText("keep me");
    sel = form->Text1->textCursor();
    sel.setPosition(0);
    sel.setPosition(4, QTextCursor::KeepAnchor);
    form->Text1->setTextCursor(sel);
    clipboard.m_text.clear();
    click(form->cmdpaste);
    EXPECT_EQ(text(), "keep me");
    EXPECT_EQ(form->Text1->textCursor().selectedText(), "keep");

    // Clear, then paste what was copied before.
    setText("copied");
    click(form->cmdcopy);
    click(form->cmdclear);
    EXPECT_EQ(text(), "");
    click(form->cmdpaste);
    EXPECT_EQ(text(), "copied");

    // Esc is the paste key; Enter starts a new line in the workspace.
    showForm();
    QApplication::setActiveWindow(form.get());
    setText("");
    form->Text1->setFocus();
    clipboard.m_text = "E";
    QTest::keyClick(form->Text1, Qt::Key_Escape);
    QTest::keyClick(form->Text1, Qt::Key_Return);
    EXPECT_EQ(text(), "E\n");
}

TEST_F(Form1Test, CalculatorFollowsEveryChange) {
    QTest::keyClicks(form->t1a, "2");
    EXPECT_EQ(form->t1d->text(), " 0");
    QTest::keyClicks(form->t1b, "3");
    EXPECT_EQ(form->t1d->text(), " 0");
    QTest::keyClicks(form->t1c, "4");
    EXPECT_EQ(form->t1d->text(), " 6");
    // a removed: no result, and the box is emptied.
    form->t1a->clear();
    EXPECT_EQ(form->t1d->text(), "");
    form->t1a->setText("abc");
    EXPECT_EQ(form->t1d->text(), "");
    form->t1a->setText("3");
    form->t1b->setText("2");
    form->t1c->setText("1");
    EXPECT_EQ(form->t1d->text(), " 0.666666666666667");

    struct Copy {
        QRadioButton *ui::Form1::*option;
        QString copied;
    };
    const Copy copies[] = {{&ui::Form1::opt0, "1"}, {&ui::Form1::opt1, "0.7"}, {&ui::Form1::opt2, "0.67"}};
    for (const auto &c : copies) {
        (form.get()->*c.option)->setChecked(true);
        click(form->cmdRound);
        EXPECT_EQ(clipboard.m_text, c.copied);
    }
    EXPECT_EQ(form->t1d->text(), " 0.666666666666667");

    // A result box that holds no number leaves the clipboard alone.
    form->t1d->setText("abc");
    const int writes = clipboard.writes;
    click(form->cmdRound);
    EXPECT_EQ(clipboard.writes, writes);

    QTest::mouseClick(form->Label1, Qt::LeftButton);
    for (QLineEdit *box : {form->t1a, form->t1b, form->t1c, form->t1d})
        EXPECT_EQ(box->text(), "");
    EXPECT_TRUE(form->opt2->isChecked());
}

// a, b, c that give no result empty d, so that 复制 cannot copy an answer to other inputs; what d
// then copies is nothing.
TEST_F(Form1Test, CalculatorEmptiesAStaleResult) {
    const struct {
        const char *a, *b, *c;
    } noResult[] = {
        {"0", "1", "-5"}, {"x", "1", "-5"}, {"", "1", "-5"}, {"1e300", "1e300", "1e30"}, {"1e400", "1", "1"},
        {"1", "1e400", "1"},
    };
    for (const auto &n : noResult) {
        SCOPED_TRACE(std::string(n.a) + " : " + n.b + " = " + n.c);
        form->t1a->setText("4");
        form->t1b->setText("1");
        form->t1c->setText("-5");
        ASSERT_EQ(form->t1d->text(), "-1.25");
        form->t1a->setText(n.a);
        form->t1b->setText(n.b);
        form->t1c->setText(n.c);
        EXPECT_EQ(form->t1d->text(), "");
        const int writes = clipboard.writes;
        click(form->cmdRound);
        EXPECT_EQ(clipboard.writes, writes);
    }
    // 清 空 still ends with four empty boxes.
    QTest::mouseClick(form->Label1, Qt::LeftButton);
    for (QLineEdit *box : {form->t1a, form->t1b, form->t1c, form->t1d})
        EXPECT_EQ(box->text(), "");
}

// A result longer than its box shows from its first character.
TEST_F(Form1Test, LongResultsShowFromTheirStart) {
    showForm();
    for (const char *a : {"3", "7", "-3"}) {
        SCOPED_TRACE(a);
        form->t1a->setText(a);
        form->t1b->setText("1");
        form->t1c->setText("1");
        ASSERT_GT(form->t1d->fontMetrics().horizontalAdvance(form->t1d->text()), form->t1d->width());
        EXPECT_EQ(form->t1d->cursorPosition(), 0);
        // The first character is where the box starts drawing text.
        const QRect cursor = form->t1d->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        EXPECT_LT(cursor.left(), form->t1d->width() / 4);
    }
    EXPECT_EQ(form->t1d->text(), "-0.333333333333333");
}

// 自动隐藏 is ticked on the first start and then as the user left it; the window only stores what
// the user clicked.
TEST_F(Form1Test, AutoHideIsRememberedAcrossStarts) {
    testsupport::FakeSettings stored;
    auto start = [&] {
        return std::make_unique<ui::Form1>(ui::Form1Services{clipboard, pages, tray, pointer, realText(), stored});
    };
    {
        auto first = start();
        EXPECT_TRUE(first->Check1->isChecked());
        EXPECT_TRUE(stored.values.isEmpty());
        first->Check1->click();
        EXPECT_FALSE(first->Check1->isChecked());
        EXPECT_FALSE(first->Timer1->isActive());
    }
    {
        auto second = start();
        EXPECT_FALSE(second->Check1->isChecked());
        second->timerLoad_Timer();
        EXPECT_FALSE(second->Timer1->isActive());
        second->Check1->click();
        EXPECT_TRUE(second->Timer1->isActive());
    }
    EXPECT_TRUE(start()->Check1->isChecked());
    // Unticked by the program (a session that cannot dock), not by the user: nothing stored.
    {
        auto third = start();
        third->Check1->setChecked(false);
        third->Check1_Click();
    }
    EXPECT_TRUE(start()->Check1->isChecked());
}

// Vesk's Web opens the About box: version, licence, every data source with its licence, and the
// homepage as a link that opens through the page service.
TEST_F(Form1Test, AboutShowsVersionLicencesAndTheHomepage) {
    setText("stays");
    const QRect before = form->geometry();
    click(form->cmdabout);
    auto *box = form->findChild<ui::AboutBox *>("about");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    const QString shown = box->text()->text();
    for (const char *part : {LANTERNFIN_VERSION, "Apache-2.0", "OpenCC", "Terra Pinyin", "pinyin_simp", "Unihan",
                             "jieba", "Park", "Interspeech 2020", "LGPL-3.0", "MIT", "Unicode-DFS-2016",
                             "CC-CEDICT", "Sun Junyi", "GONG Chen", ui::kProjectPage})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(part))) << part;
    for (const ui::DataSource &source : ui::kDataSources)
        EXPECT_TRUE(shown.contains(QString::fromUtf8(source.name).toHtmlEscaped())) << source.name;
    EXPECT_TRUE(pages.opened.isEmpty());
    emit box->text()->linkActivated(QString::fromLatin1(ui::kProjectPage));
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened.front(), QUrl(ui::kProjectPage));
    // A second click shows the same box; nothing else changes.
    box->close();
    click(form->cmdabout);
    EXPECT_EQ(form->findChildren<ui::AboutBox *>().size(), 1);
    EXPECT_EQ(text(), "stays");
    EXPECT_EQ(form->geometry(), before);
    box->close();
}

TEST_F(Form1Test, ExitRemovesTheTrayIcon) {
    click(form->cmdend);
    EXPECT_EQ(tray.removes, 1);
    EXPECT_FALSE(tray.shown);
    form->quit->trigger();
    EXPECT_EQ(tray.removes, 2);
    showForm();
    form->close();
    EXPECT_EQ(tray.removes, 3);
}

TEST_F(Form1Test, LayoutFollowsTheWindowAndHoldsTheMinimum) {
    showForm();
    // 6300 x 7500 twips.
    form->resize(420, 500);
    QApplication::processEvents();
    EXPECT_EQ(form->Frame1->pos(), QPoint(7, 367));
    EXPECT_EQ(form->Text1->geometry(), QRect(3, 3, 320, 353));
    EXPECT_EQ(form->cmdtol->x(), 328);
    EXPECT_EQ(form->cmdmoney->x(), 328);
    EXPECT_EQ(form->cmdtos->x(), 368);
    EXPECT_EQ(form->cmdft->x(), 368);
    EXPECT_EQ(form->cmdabout->y(), 273);
    EXPECT_EQ(form->Check1->y(), 300);
    EXPECT_EQ(form->cmdend->y(), 329);
    EXPECT_EQ(form->cmdmoney->y(), 73);
    EXPECT_EQ(form->cmdpaste->y(), 200);
    EXPECT_EQ(form->cmdjt->y(), 7);
    EXPECT_EQ(form->CmdGetPY->y(), 112);
    EXPECT_EQ(form->Frame1->size(), QSize(361, 89));

    struct Case {
        QSize requested, settled;
    };
    const Case cases[] = {
        {{300, 300}, {417, 475}}, // below both minimums
        {{400, 533}, {417, 533}}, // 8000 high, 6000 wide: widened only
        {{500, 400}, {500, 475}}, // too low only
        {{50, 60}, {417, 475}},   // below 1500 x 2200 twips: no failure
        {{417, 475}, {417, 475}},
    };
    for (const auto &c : cases) {
        form->resize(c.requested);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        EXPECT_EQ(form->size(), c.settled);
        EXPECT_EQ(form->Text1->size(), QSize(c.settled.width() - 100, c.settled.height() - 147));
    }
}

TEST(Form1Dictionary, MissingDataDisablesOnlyTheTwoButtons) {
    testsupport::FakeClipboard clipboard;
    testsupport::FakePageOpener pages;
    testsupport::FakeTray tray;
    testsupport::FakePointer pointer;
    testsupport::FakeSettings settings;
    const platform::TextServices text = platform::loadTextServices("/nonexistent");
    ui::Form1 form(ui::Form1Services{clipboard, pages, tray, pointer, text, settings});
    EXPECT_FALSE(form.cmdft->isEnabled());
    EXPECT_FALSE(form.cmdjt->isEnabled());
    EXPECT_EQ(form.cmdft->toolTip(), "cannot load /nonexistent/STCharacters.ocd2");
    EXPECT_TRUE(form.cmdtol->isEnabled());
    form.Text1->setPlainText("abc");
    QTest::mouseClick(form.cmdtol, Qt::LeftButton);
    EXPECT_EQ(form.workspaceText(), "ABC");
}

} // namespace

namespace {

// The window was placed by its width before the minimum-size step widened it, so its right edge
// ended past the screen and docking hid it a few seconds after start.
TEST_F(Form1Test, StartsWhollyOnScreen280TwipsFromTheRightEdge) {
    showForm();
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->frameGeometry().width() == 417; }, 2000));
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(frame.right() + 1, 1920 - 19);
    EXPECT_EQ(frame.top(), 256);
}

} // namespace
