// Hostile workspaces and calculator boxes through the window's handlers: every command ends in a
// sound result and no character of the workspace is lost.

#include "window_fixture.h"
#include "platform/character_maps.h"
#include "platform/text_services.h"
#include "real_text.h"
#include "ui/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using testsupport::realText;

class HostileInput : public testsupport::WindowFixture {
protected:
    void SetUp() override {
        makeForm();
        // The amount's limit and refusals come as message boxes: counted and closed.
        watchdog.expected = true;
    }
    QString run(QPushButton *button, const QString &workspace) {
        form->Text1->setPlainText(workspace);
        QTest::mouseClick(button, Qt::LeftButton);
        return form->workspaceText();
    }
};

const QString kNuls = QString(3, QChar(0));
const QString kSurrogates = QString(QChar(0xD800)) + "x中" + QChar(0xDC00);
const QString kMillionDigits(1'000'000, QLatin1Char('7'));

TEST_F(HostileInput, WorkspaceKeepsEveryCharacter) {
    // The workspace takes NULs and lone surrogates as they are.
    for (const QString &t : {kNuls, kSurrogates}) {
        form->Text1->setPlainText(t);
        EXPECT_EQ(form->workspaceText(), t);
    }
}

TEST_F(HostileInput, ConversionsLeaveWhatTheyCannotConvert) {
    struct Case {
        QPushButton *ui::Form1::*button;
        QString in, out;
    };
    const Case cases[] = {
        {&ui::Form1::cmdft, kNuls, kNuls},
        {&ui::Form1::cmdjt, kNuls, kNuls},
        {&ui::Form1::cmdtol, kNuls, kNuls},
        {&ui::Form1::cmdtos, kNuls, kNuls},
        {&ui::Form1::cmdft, kSurrogates, QString(QChar(0xD800)) + "x中" + QChar(0xDC00)},
        {&ui::Form1::cmdtol, kSurrogates, QString(QChar(0xD800)) + "X中" + QChar(0xDC00)},
        {&ui::Form1::cmdtos, kMillionDigits, kMillionDigits},
        {&ui::Form1::CmdGetPY, kNuls, kNuls + "\n"},
        {&ui::Form1::CmdGetPY, kSurrogates, kSurrogates + "\n?xZhong?"},
        {&ui::Form1::CmdGetPY, "&H", "&H\n&H"},
        {&ui::Form1::cmdmoney, "1e-999999999", "零圆整"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in.left(20).toStdString());
        EXPECT_EQ(run(form.get()->*c.button, c.in), c.out);
        form->Text1->undo();
        EXPECT_EQ(form->workspaceText(), c.in);
    }
    EXPECT_EQ(watchdog.count, 0);
}

// Texts without an amount, and huge amounts: the message, and the workspace as it was.
TEST_F(HostileInput, RefusedAmountsShowWhyAndKeepTheText) {
    for (const QString &in : {kMillionDigits, QString("1e999999999"), QString("1e") + kMillionDigits, kNuls,
                              kSurrogates, QString("&H"), QString("-"), QString(".")}) {
        SCOPED_TRACE(in.left(20).toStdString());
        const int before = watchdog.count;
        EXPECT_EQ(run(form->cmdmoney, in), in);
        EXPECT_EQ(watchdog.count, before + 1);
    }
}

TEST_F(HostileInput, CalculatorBoxes) {
    struct Case {
        QString a, b, c;
        QString d; // what t1d shows afterwards, starting from "stale": empty without a result
    };
    const Case cases[] = {
        {kNuls, "1", "1", ""},
        {kSurrogates, "1", "1", ""},
        {kMillionDigits, "1", "1", ""}, // beyond the float range
        {"1e999999999", "1", "1", ""},
        {"&H", "1", "1", ""},
        {"-", "1", "1", ""},
        {".", "1", "1", ""},
        {"2", kMillionDigits, "1", ""},
        {"2", "&H10", ".", ""},
        {"2", "-", kNuls, ""},
        {"2", "&H10", "1", " 8"},
        {"1e-999999999", "1", "1", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.a.left(12) + "|" + c.b.left(12) + "|" + c.c.left(12)).toStdString());
        form->t1a->clear();
        form->t1d->setText("stale");
        form->t1b->setText(c.b);
        form->t1c->setText(c.c);
        form->t1a->setText(c.a);
        EXPECT_EQ(form->t1d->text(), c.d);
    }
    // The copy of hostile result-box texts leaves the clipboard alone.
    for (const QString &t : {kNuls, kSurrogates, kMillionDigits + "x", QString("1e999999999"), QString("&H"),
                             QString("-"), QString(".")}) {
        form->t1d->setText(t);
        const int writes = clipboard.writes;
        QTest::mouseClick(form->cmdRound, Qt::LeftButton);
        EXPECT_EQ(clipboard.writes, writes);
    }
    // A million digits is a number, and its copy is exact to 15 digits.
    form->t1d->setText(kMillionDigits.left(300));
    QTest::mouseClick(form->cmdRound, Qt::LeftButton);
    EXPECT_EQ(clipboard.m_text, "7.77777777777778E+299");
}

} // namespace
