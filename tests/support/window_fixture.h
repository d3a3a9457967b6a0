#pragma once

// One fixture for every window suite: the desktop fakes, the window built on them, and a watchdog
// that closes message boxes as they appear. A box nobody expects fails the test instead of
// leaving it hanging in a modal loop.

#include "fakes.h"
#include "real_text.h"
#include "ui/form1.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

// Looks for a modal message box every 20 ms while it lives: records what it said and accepts it.
// Unless `expected`, finding one is a test failure.
class ModalWatchdog {
public:
    ModalWatchdog() {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (!expected)
                ADD_FAILURE() << "unexpected modal dialog: " << box->text().toStdString();
            ++count;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            box->accept();
        });
        m_timer.start();
    }

    bool expected = false;
    // The boxes closed so far, and what the last one said.
    int count = 0;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;

private:
    QTimer m_timer;
};

class WindowFixture : public ::testing::Test {
protected:
    void TearDown() override { form.reset(); }

    // A window on the fakes and `text` (the real text services by default).
    std::unique_ptr<ui::Form1> newForm(const platform::TextServices &text = realText()) {
        return std::make_unique<ui::Form1>(ui::Form1Services{clipboard, pages, tray, pointer, text, settings});
    }
    // The same, kept in `form`.
    void makeForm(const platform::TextServices &text = realText()) { form = newForm(text); }
    // Shows `form` and lets the window system catch up.
    void showForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        settle();
    }
    void settle() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    FakeClipboard clipboard;
    FakePageOpener pages;
    FakeTray tray;
    FakePointer pointer;
    FakeSettings settings;
    ModalWatchdog watchdog;
    std::unique_ptr<ui::Form1> form;
};

} // namespace testsupport
