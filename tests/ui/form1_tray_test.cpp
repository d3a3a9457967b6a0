// The tray icon and edge docking through the real window (offscreen), with fakes for the tray
// and the pointer.

#include "window_fixture.h"
#include "platform/character_maps.h"
#include "platform/text_services.h"
#include "real_text.h"
#include "ui/about.h"
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using testsupport::realText;

class Form1TrayTest : public testsupport::WindowFixture {
protected:
    void SetUp() override {
        makeForm();
        showForm();
    }
};

TEST_F(Form1TrayTest, LeftClickSendsToTheTrayAndBack) {
    const int adds = tray.adds;
    tray.click(514);
    settle();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(tray.adds, adds + 1);
    tray.click(514);
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    // Other messages do nothing.
    for (int m : {512, 513, 515, 516})
        tray.click(m);
    settle();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1TrayTest, AMaximisedWindowComesBackNormal) {
    form->showMaximized();
    settle();
    tray.click(514);
    settle();
    EXPECT_FALSE(form->isVisible());
    tray.click(514);
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMaximized());
}

TEST_F(Form1TrayTest, MinimisingHidesOnlyWhenThereIsATray) {
    form->showMinimized();
    settle();
    EXPECT_FALSE(form->isVisible());
    tray.click(514);
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());

    tray.isAvailable = false;
    form->showMinimized();
    settle();
    EXPECT_TRUE(form->isVisible()); // minimised the ordinary way, not hidden
}

TEST_F(Form1TrayTest, RightClickOpensTheMenuAtTheCursor) {
    pointer.position = QPoint(900, 600);
    bool opened = false;
    QPoint at;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (form->sky->isVisible()) {
            opened = true;
            at = form->sky->pos();
            form->sky->close();
        }
    });
    closer.start();
    tray.click(517);
    for (int i = 0; i < 50 && !opened; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(opened);
    EXPECT_EQ(at, QPoint(900, 600));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1TrayTest, AutoHideBoxAndDockingAgree) {
    auto *timer1 = form->findChild<QTimer *>("Timer1");
    EXPECT_FALSE(timer1->isActive());
    // A click in the first three seconds unticks the box and leaves docking off.
    QTest::mouseClick(form->Check1, Qt::LeftButton, {}, QPoint(8, form->Check1->height() / 2));
    EXPECT_FALSE(form->Check1->isChecked());
    EXPECT_FALSE(timer1->isActive());
    form->timerLoad_Timer();
    EXPECT_FALSE(timer1->isActive());
    QTest::mouseClick(form->Check1, Qt::LeftButton, {}, QPoint(8, form->Check1->height() / 2));
    EXPECT_TRUE(form->Check1->isChecked());
    EXPECT_TRUE(timer1->isActive());
    QTest::mouseClick(form->Check1, Qt::LeftButton, {}, QPoint(8, form->Check1->height() / 2));
    EXPECT_FALSE(timer1->isActive());
    form->Check1->setChecked(true);
    form->timerLoad_Timer();
    EXPECT_TRUE(timer1->isActive());
}

// The strip that stands for the window hidden at an edge, or an empty rectangle when none shows.
QRect stripShown(const ui::Form1 &form) {
    const QWidget *strip = form.dockStrip();
    return strip && strip->isVisible() ? strip->geometry() : QRect();
}

TEST_F(Form1TrayTest, DockingPassHidesTheWindowBehindAStrip) {
    form->move(600, 0);
    settle();
    const QSize size = form->frameGeometry().size();
    pointer.position = QPoint(700, size.height() + 100); // below the window
    form->Timer1_Timer();
    settle();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(stripShown(*form), QRect(600, 0, size.width(), 3));
    EXPECT_EQ(form->dockState().Hids, -1);
    // The pass goes on seeing the window where it hid it: nothing moves while the mouse is away.
    form->Timer1_Timer();
    settle();
    EXPECT_EQ(stripShown(*form), QRect(600, 0, size.width(), 3));
    pointer.position = QPoint(700, 1); // touches the top edge above it
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry(), QRect(QPoint(600, 0), size));
    EXPECT_EQ(stripShown(*form), QRect());

    // Sent to the tray while docked and back: shown, and kept while it has the focus; the mouse
    // in and out hides it again.
    tray.click(514);
    settle();
    form->Timer1_Timer();
    EXPECT_EQ(form->dockState().Hids, 0);
    tray.click(514);
    settle();
    // The user types in it: it has the focus (which the offscreen platform gives only on request).
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(form->isActiveWindow());
    pointer.position = QPoint(700, size.height() + 100);
    for (int pass = 0; pass < 10; ++pass) {
        form->Timer1_Timer();
        settle();
        ASSERT_TRUE(form->isVisible()) << pass;
    }
    EXPECT_EQ(form->frameGeometry().y(), 0);
    pointer.position = QPoint(700, 100);
    form->Timer1_Timer();
    settle();
    pointer.position = QPoint(700, size.height() + 100);
    form->Timer1_Timer();
    settle();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(stripShown(*form), QRect(600, 0, size.width(), 3));
    EXPECT_EQ(form->findChild<QTimer *>("Timer1")->interval(), 500);
}

TEST_F(Form1TrayTest, ATrayClickBringsBackAWindowHiddenAtAnEdge) {
    form->move(0, 300);
    settle();
    pointer.position = QPoint(960, 1000);
    form->Timer1_Timer();
    settle();
    ASSERT_FALSE(form->isVisible());
    // The same path serves a click on the icon and a command from another instance.
    tray.click(514);
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(0, 300));
    EXPECT_EQ(stripShown(*form), QRect());
    // Kept while it has the focus; gone once the mouse has come in and left.
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    pointer.position = QPoint(100, 400);
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    pointer.position = QPoint(960, 1000);
    form->Timer1_Timer();
    settle();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1TrayTest, TheStripTakesNoFocusAndTheWindowGetsItsBack) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Text1->setFocus();
    form->move(700, 0);
    pointer.position = QPoint(960, 1000);
    form->Timer1_Timer();
    settle();
    // Never focused, above others, outside the window manager and the task bar. (The offscreen
    // platform activates every window it shows: the X focus is checked by docking_e2e.sh.)
    const QWidget *strip = form->dockStrip();
    ASSERT_TRUE(strip && strip->isVisible());
    EXPECT_EQ(strip->windowFlags(), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                        Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(strip->testAttribute(Qt::WA_ShowWithoutActivating));
    pointer.position = QPoint(800, 1);
    form->Timer1_Timer();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(form->Text1));
}

TEST_F(Form1TrayTest, DocksAtTheEdgesOfTheScreenThatHoldsIt) {
    // A second screen to the right of the first; its left edge at x = 1920 is a docking edge.
    pointer.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
    form->move(1920, 300);
    settle();
    const QSize size = form->frameGeometry().size();
    pointer.position = QPoint(3000, 900);
    form->Timer1_Timer();
    settle();
    // Hidden mostly over the first screen: only the strip on the second one shows.
    EXPECT_EQ(stripShown(*form), QRect(1920, 300, 3, size.height()));
    form->Timer1_Timer();
    settle();
    EXPECT_EQ(stripShown(*form), QRect(1920, 300, 3, size.height()));
    pointer.position = QPoint(1921, 400); // column 1 of the second screen
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(1920, 300));
}

TEST_F(Form1TrayTest, MouseMovesOverTheWindowNeverReachTheTray) {
    QTest::mouseMove(form.get(), QPoint(514 % form->width(), 10));
    QTest::mouseMove(form.get(), QPoint(517 % form->width(), 10));
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->sky->isVisible());
}

} // namespace

namespace {

// Docked at the top, the mouse below it: the window once hid behind its own About box and menus,
// and while the user dragged it by its title bar.
TEST_F(Form1TrayTest, StaysWhileADialogOrMenuIsOpen) {
    form->move(600, 0);
    settle();
    const QSize size = form->frameGeometry().size();
    pointer.position = QPoint(700, size.height() + 100);
    const struct {
        const char *what;
        std::function<QWidget *()> open;
    } cases[] = {
        {"About box",
         [this]() -> QWidget * {
             form->cmdabout->click();
             return form->findChild<ui::AboutBox *>();
         }},
        {"tray menu",
         [this]() -> QWidget * {
             form->sky->popup(QPoint(900, 700));
             return form->sky;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QWidget *open = c.open();
        settle();
        ASSERT_TRUE(open && open->isVisible());
        for (int pass = 0; pass < 3; ++pass) {
            form->Timer1_Timer();
            settle();
            ASSERT_TRUE(form->isVisible()) << pass;
        }
        open->hide();
        settle();
        // The wait for the mouse starts when it closes.
        form->Timer1_Timer();
        settle();
        EXPECT_TRUE(form->isVisible());
        form->Timer1_Timer();
        settle();
        EXPECT_FALSE(form->isVisible());
        // Back for the next case.
        pointer.position = QPoint(700, 1);
        form->Timer1_Timer();
        settle();
        ASSERT_TRUE(form->isVisible());
        pointer.position = QPoint(700, size.height() + 100);
    }
}

TEST_F(Form1TrayTest, StaysWhileHeldOrMovedAndIsLeftWhereDropped) {
    form->move(600, 0);
    settle();
    const QSize size = form->frameGeometry().size();
    pointer.position = QPoint(700, 100);
    form->Timer1_Timer();
    // A button held on the window, the mouse at its edge: in the user's hand.
    pointer.held = true;
    pointer.position = QPoint(600, 5);
    form->Timer1_Timer();
    settle();
    ASSERT_TRUE(form->isVisible());
    // Dragged along the top: the window manager moves it, the pointer goes with it.
    for (int x = 650; x <= 800; x += 50) {
        form->move(x, 0);
        pointer.position = QPoint(x + 5, 5);
        settle();
        form->Timer1_Timer();
        settle();
        ASSERT_TRUE(form->isVisible()) << x;
        EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(x, 0));
    }
    // A window manager that tells the new place only at the drop: the pointer leaves the window
    // as it is known, the button still held.
    pointer.position = QPoint(1500, 5);
    form->Timer1_Timer();
    settle();
    ASSERT_TRUE(form->isVisible());
    // Moved by the window manager with no button held (a move by the keyboard).
    pointer.held = false;
    pointer.position = QPoint(700, size.height() + 100);
    form->move(820, 0);
    settle();
    form->Timer1_Timer();
    settle();
    EXPECT_TRUE(form->isVisible());
    // Dropped away from the edges: no longer docked, it stays where it was left.
    form->move(820, 300);
    settle();
    for (int pass = 0; pass < 4; ++pass) {
        form->Timer1_Timer();
        settle();
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(820, 300));
    // A button held on another window keeps nothing: back at the edge, the window hides.
    QWidget other;
    other.setGeometry(100, 700, 200, 100);
    other.show();
    other.windowHandle()->requestActivate();
    form->move(820, 0);
    settle();
    ASSERT_NE(QGuiApplication::focusWindow(), form->windowHandle());
    form->Timer1_Timer();
    pointer.held = true;
    form->Timer1_Timer();
    form->Timer1_Timer();
    settle();
    EXPECT_FALSE(form->isVisible());
}

} // namespace
