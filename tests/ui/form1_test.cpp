// The main window, headless, driven through its widgets with fakes for the desktop services.

#include "window_fixture.h"
#include "platform/character_maps.h"
#include "platform/text_services.h"
#include "real_text.h"
#include "ui/about.h"
#include "ui/form1.h"
#include "ui/form1_controls.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace {

using testsupport::realText;

class Form1Test : public testsupport::WindowFixture {
protected:
    void SetUp() override { makeForm(); }
    void click(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    QString text() const { return form->workspaceText(); }
    void setText(const QString &t) { form->Text1->setPlainText(t); }
};

// The window is what its design table says, and the table holds together: each control is the
// member of its name, lies inside the area it is placed in, and the tab key follows the table.
TEST_F(Form1Test, ControlsFollowTheDesignTable) {
    EXPECT_EQ(form->objectName(), "Form1");
    EXPECT_EQ(form->windowTitle(), "Lanternfin 2011");
    EXPECT_EQ(form->twipsPerPixel(), 15.0f);
    const QRectF client(0, 0, ui::kDesignClientWidth, ui::kDesignClientHeight);
    QRectF frame;
    std::set<std::string> names;
    for (const ui::ControlRow &row : ui::form1Controls()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(names.insert(row.name).second);
        QWidget *w = std::visit([this](auto member) -> QWidget * { return (*form).*member; }, row.member);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(w->parentWidget(), row.inFrame ? static_cast<QWidget *>(form->Frame1) : form.get());
        const QRectF design(row.left, row.top, row.width, row.height);
        EXPECT_GT(design.width() * design.height(), 0);
        EXPECT_TRUE((row.inFrame ? QRectF(QPointF(0, 0), frame.size()) : client).contains(design));
        if (std::string_view(row.name) == "Frame1")
            frame = design;
        EXPECT_EQ(w->geometry(), QRect(qRound(row.left / 15.0), qRound(row.top / 15.0), qRound(row.width / 15.0),
                                       qRound(row.height / 15.0)));
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), row.points > 0 ? row.points : 10.5);
    }
    // Apart from the workspace, the window's own controls do not overlap.
    for (QWidget *a : form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        for (QWidget *b : form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (a != b && !a->isWindow() && !b->isWindow() && !a->objectName().isEmpty() &&
                !b->objectName().isEmpty()) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " " << b->objectName().toStdString();
            }
    // The tips the buttons start with: their own, then the way a left click runs.
    EXPECT_EQ(form->cmdft->toolTip(), "当前：词组（右键选择其他方式）");
    EXPECT_EQ(form->cmdmoney->toolTip(), "一亿亿以下\n当前：金额大写（右键选择其他方式）");
    EXPECT_EQ(form->CmdGetPY->toolTip(), "大部分汉字\n当前：首字母大写（右键选择其他方式）");
    EXPECT_EQ(form->cmdtol->toolTip(), "");
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

// 汉字拼音 and the calculator's 清 空 were never reached by the tab key.
TEST_F(Form1Test, TabMovesAlongTheDesignOrder) {
    showForm();
    QApplication::setActiveWindow(form.get());
    form->Text1->setFocus();
    // The table's order over every control but the frame; of the option buttons, which form one
    // group, only the checked one is a tab stop (the arrow keys move within the group).
    std::vector<const char *> order;
    for (const ui::ControlRow &row : ui::form1Controls()) {
        const std::string_view name = row.name;
        if (name != "Frame1" && name != "opt1" && name != "opt2")
            order.push_back(row.name);
    }
    ASSERT_EQ(order.size(), 20u);
    order.push_back("Text1"); // and round again
    for (const char *name : order) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(form->Text1->toPlainText(), "");
    // 清 空 works from the keyboard as a button.
    form->t1a->setText("2");
    form->Label1->setFocus();
    QTest::keyClick(form->Label1, Qt::Key_Space);
    EXPECT_EQ(form->t1a->text(), "");
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

// Files and folders dropped on the window: on 简体 made simplified, anywhere else (the workspace
// too, which would otherwise take them as text) traditional, each written beside its original, a
// folder mirrored beside it; what is not a local file is left to the workspace and nothing is
// written.
TEST_F(Form1Test, DroppedFilesAreConvertedBesideThemByTheButtonUnderThePointer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const auto read = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };
    const auto drop = [&](QWidget *on, const QList<QUrl> &urls) {
        QMimeData mime;
        mime.setUrls(urls);
        const QPointF at = QRectF(on->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        const bool taken = enter.isAccepted();
        if (taken) {
            QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(on, &dropped);
        }
        for (int i = 0; i < 50 && watchdog.count == 0; ++i)
            QTest::qWait(20);
        return taken;
    };
    watchdog.expected = true;
    const QString report = write("报告.txt", "头发\n");
    const QString letter = write("信.txt", "頭髮和鬆緊\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("资料"));
    write("资料/说明.txt", "理发\n");
    struct Case {
        QWidget *on;
        QString file, written;
        QByteArray expected;
    };
    const Case cases[] = {
        {form->Text1->viewport(), report, "报告（繁体）.txt", "頭髮\n"},
        {form->cmdft, report, "报告（繁体）(2).txt", "頭髮\n"},
        {form->cmdjt, letter, "信（简体）.txt", "头发和松紧\n"},
        {form->Text1->viewport(), dir.filePath("资料"), "资料（繁体）/说明.txt", "理髮\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.written.toStdString());
        watchdog.count = 0;
        EXPECT_TRUE(drop(c.on, {QUrl::fromLocalFile(c.file)}));
        EXPECT_EQ(watchdog.count, 1);
        EXPECT_TRUE(watchdog.text.contains(c.written.section('/', 0, 0))) << watchdog.text.toStdString();
        EXPECT_EQ(read(dir.filePath(c.written)), c.expected);
    }
    // A link from a web page is not a file to convert: the workspace takes it as text.
    watchdog.count = 0;
    setText("");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    drop(form->Text1->viewport(), {QUrl("https://example.com/a.txt")});
    EXPECT_EQ(watchdog.count, 0);
    EXPECT_EQ(text(), "https://example.com/a.txt");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
}

// Typing, then a paste by Esc or 粘贴: Ctrl+Z took the typing away with the paste.
TEST_F(Form1Test, UndoAfterAPasteKeepsTheTypingBefore) {
    showForm();
    QApplication::setActiveWindow(form.get());
    clipboard.m_text = "XYZ";
    const struct {
        const char *what;
        std::function<void()> paste;
    } cases[] = {
        {"Esc", [this] { QTest::keyClick(form->Text1, Qt::Key_Escape); }},
        {"粘贴 clicked", [this] { click(form->cmdpaste); }},
        {"粘贴 by the keyboard",
         [this] {
             form->cmdpaste->setFocus();
             QTest::keyClick(form->cmdpaste, Qt::Key_Space);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setText("");
        form->Text1->setFocus();
        QTest::keyClicks(form->Text1, "my notes");
        c.paste();
        ASSERT_EQ(text(), "my notesXYZ");
        // Ctrl+Z where the focus is now: the workspace, or the button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(text(), "my notes");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(text(), "my notesXYZ");
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
        watchdog.expected = true;
        watchdog.text.clear();
        click(form->cmdmoney);
        watchdog.expected = false;
        EXPECT_EQ(watchdog.title, "错误提示");
        EXPECT_TRUE(watchdog.text.contains(c.says)) << watchdog.text.toStdString();
        EXPECT_EQ(watchdog.icon, QMessageBox::Information);
        EXPECT_EQ(watchdog.buttons, 1);
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
    // Regression: b or c left empty counted as 0, so that d showed " 0" and 复制 copied 0.
    QTest::keyClicks(form->t1a, "2");
    EXPECT_EQ(form->t1d->text(), "");
    QTest::keyClicks(form->t1b, "3");
    EXPECT_EQ(form->t1d->text(), "");
    const int before = clipboard.writes;
    click(form->cmdRound);
    EXPECT_EQ(clipboard.writes, before);
    QTest::keyClicks(form->t1c, "4");
    EXPECT_EQ(form->t1d->text(), " 6");
    // A box that is more than a number gives no result.
    for (const char *c : {"4%", "4abc", "4,5", "￥4", "NaN"}) {
        SCOPED_TRACE(c);
        form->t1c->setText(QString::fromUtf8(c));
        EXPECT_EQ(form->t1d->text(), "");
    }
    form->t1c->setText("4");
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

using Form1Dictionary = testsupport::WindowFixture;

// Without the character tables only 逐字 is missing: the buttons convert by phrases, and the menu
// says in Chinese why 逐字 cannot run, the system's reason included.
TEST_F(Form1Dictionary, MissingCharacterTablesDisableOnlyTheirWay) {
    const platform::TextServices text = platform::loadTextServices("/nonexistent");
    ui::Form1 &form = *(this->form = newForm(text));
    EXPECT_TRUE(form.cmdft->isEnabled());
    EXPECT_TRUE(form.cmdjt->isEnabled());
    EXPECT_EQ(form.ways(form.cmdft)->unavailableReason("char"),
              "无法载入 /nonexistent/STCharacters.ocd2：没有那个文件或目录");
    form.Text1->setPlainText("头发");
    form.ways(form.cmdft)->run("char");
    EXPECT_EQ(form.workspaceText(), "头发");
    QTest::mouseClick(form.cmdft, Qt::LeftButton);
    EXPECT_EQ(form.workspaceText(), "頭髮");
    EXPECT_TRUE(form.cmdtol->isEnabled());
    form.Text1->setPlainText("abc");
    QTest::mouseClick(form.cmdtol, Qt::LeftButton);
    EXPECT_EQ(form.workspaceText(), "ABC");
    this->form.reset(); // before the text services it rests on
}

// Without the code page table there is no capitalised pinyin: the button says why instead of
// running, and the workspace stays as it was.
TEST_F(Form1Dictionary, PinyinWithoutItsTableSaysWhyAndKeepsTheWorkspace) {
    platform::TextServices none;
    ui::Form1 &form = *(this->form = newForm(none));
    form.Text1->setPlainText("汉字");
    QTest::mouseClick(form.CmdGetPY, Qt::LeftButton);
    EXPECT_EQ(form.workspaceText(), "汉字");
    EXPECT_EQ(form.ways(form.CmdGetPY)->unavailableReason("capitalised"), "拼音表没有载入");
    this->form.reset(); // before the text services it rests on
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

namespace {

// The calculator's controls lie inside its frame, below its caption and top line (整数 lay over
// them), and its four boxes say which of a : b = c : d they are.
TEST_F(Form1Test, CalculatorControlsInsideTheirFrameWithHints) {
    showForm();
    QStyleOptionGroupBox option;
    option.initFrom(form->Frame1);
    option.text = form->Frame1->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    QStyle *style = form->Frame1->style();
    const QRect frame =
        style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, form->Frame1);
    const QRect caption =
        style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, form->Frame1);
    const QRect inside = frame.adjusted(1, 1, -1, -1); // within the frame's lines
    for (QWidget *w : form->Frame1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(inside.contains(w->geometry()))
            << "frame top " << frame.top() << ", control " << w->geometry().top();
        EXPECT_GT(w->geometry().top(), caption.bottom()); // below the caption and the line beside it
    }
    const std::pair<QLineEdit *, QString> boxes[] = {
        {form->t1a, "a"}, {form->t1b, "b"}, {form->t1c, "c"}, {form->t1d, "d"}};
    for (const auto &[box, letter] : boxes) {
        SCOPED_TRACE(letter.toStdString());
        EXPECT_EQ(box->placeholderText(), letter);
        EXPECT_TRUE(box->toolTip().endsWith(letter));
    }
}

// The window started at the design's place every time (a title bar lower every other start):
// it starts where it was left, and keeps where it comes to rest.
TEST_F(Form1Test, StartsWhereItWasLeft) {
    settings.values["window/x"] = "300";
    settings.values["window/y"] = "200";
    makeForm();
    showForm();
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(300, 200));
    form->move(500, 100);
    EXPECT_TRUE(QTest::qWaitFor([this] { return settings.values["window/x"] == "500"; }, 2000));
    EXPECT_EQ(settings.values["window/y"], "100");
    // A place off every screen: the design's.
    settings.values["window/x"] = "5000";
    makeForm();
    showForm();
    EXPECT_EQ(form->frameGeometry().top(), 256);
}

} // namespace
