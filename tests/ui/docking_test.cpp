#include "ui/docking.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// A window 6300 x 7500 twips (420 x 500 pixels) on a 1920-pixel screen, unless a case says more.
struct FakeWindow : ui::DockWindow {
    ui::WindowState st = ui::WindowState::Normal;
    float l = 0, t = 0, w = 6300, h = 7500, s = 28800;
    int x = 0, y = 0;
    bool focus = false;
    bool hand = false, dialog = false;
    int moves = 0;
    ui::WindowState state() const override { return st; }
    float left() const override { return l; }
    float top() const override { return t; }
    float width() const override { return w; }
    float height() const override { return h; }
    float screenWidth() const override { return s; }
    int cursorX() const override { return x; }
    int cursorY() const override { return y; }
    bool focused() const override { return focus; }
    bool inHand() const override { return hand; }
    bool dialogOpen() const override { return dialog; }
    void setLeft(float v) override {
        l = v;
        ++moves;
    }
    void setTop(float v) override {
        t = v;
        ++moves;
    }
};

TEST(DockPass, EdgesHideAndShow) {
    struct Case {
        const char *what;
        float l, t;
        int x, y;
        std::int16_t hids;
        ui::WindowState state;
        float l2, t2;
        std::int16_t hids2;
        int interval;
        int moves;
    };
    using S = ui::WindowState;
    const Case cases[] = {
        {"top, mouse below: hides up", 3000, 0, 300, 600, -1, S::Normal, 3000, -7450, -1, 500, 1},
        {"top, mouse beside: hides up", 3000, 0, 100, 100, -1, S::Normal, 3000, -7450, -1, 500, 1},
        {"top, mouse over: stays", 3000, 0, 300, 100, -1, S::Normal, 3000, 0, -1, 500, 0},
        {"top hidden, row 2 inside: shows", 3000, -7450, 300, 2, -1, S::Normal, 3000, 0, -1, 500, 1},
        {"top hidden, row 0: shows", 3000, -7450, 201, 0, -1, S::Normal, 3000, 0, -1, 500, 1},
        {"top hidden, row 3: stays hidden", 3000, -7450, 300, 3, -1, S::Normal, 3000, -7450, -1, 500, 0},
        {"top hidden, own left column: stays", 3000, -7450, 200, 0, -1, S::Normal, 3000, -7450, -1, 500, 0},
        {"top hidden, right column: stays", 3000, -7450, 620, 0, -1, S::Normal, 3000, -7450, -1, 500, 0},
        {"above the top: docked too", 3000, -100, 300, 900, -1, S::Normal, 3000, -7450, -1, 500, 1},
        {"left, mouse right of it: hides", 0, 3000, 500, 300, -1, S::Normal, -6250, 3000, -1, 500, 1},
        {"left, mouse above: hides", 0, 3000, 100, 100, -1, S::Normal, -6250, 3000, -1, 500, 1},
        {"left hidden, column 2: shows", -6250, 3000, 2, 300, -1, S::Normal, 0, 3000, -1, 500, 1},
        {"left hidden, column 3: stays", -6250, 3000, 3, 300, -1, S::Normal, -6250, 3000, -1, 500, 0},
        {"left hidden, row = top: stays", -6250, 3000, 0, 200, -1, S::Normal, -6250, 3000, -1, 500, 0},
        {"right, mouse left of it: hides", 22500, 3000, 1000, 300, -1, S::Normal, 28750, 3000, -1, 500, 1},
        {"right hidden, column 1918: shows", 28750, 3000, 1918, 300, -1, S::Normal, 22500, 3000, -1, 500, 1},
        {"right hidden, column 1919: shows", 28750, 3000, 1919, 300, -1, S::Normal, 22500, 3000, -1, 500, 1},
        {"right hidden, column 1917: stays", 28750, 3000, 1917, 300, -1, S::Normal, 28750, 3000, -1, 500, 0},
        {"corner: hides up and left in one pass", 0, 0, 1000, 1000, -1, S::Normal, -6250, -7450, -1, 500, 2},
        {"away from every edge: never moves", 3000, 3000, 0, 0, -1, S::Normal, 3000, 3000, -1, 500, 0},
        {"away, mouse at the right edge", 3000, 3000, 1919, 300, -1, S::Normal, 3000, 3000, -1, 500, 0},
        {"minimised: Hids false, nothing else", 3000, 0, 1000, 1000, -1, S::Minimised, 3000, 0, 0, 777, 0},
        {"maximised: nothing", 0, 0, 1000, 1000, 0, S::Maximised, 0, 0, 0, 777, 0},
        {"restored at the top: shown and paused", 3000, -7450, 300, 900, 0, S::Normal, 3000, 0, -1, 3000, 1},
        {"restored at the left: shown and paused", -6250, 3000, 900, 900, 0, S::Normal, 0, 3000, -1, 3000, 1},
        {"restored at the right", 28750, 3000, 10, 10, 0, S::Normal, 22500, 3000, -1, 3000, 1},
        {"restored, mouse over it: waits", 3000, 0, 300, 100, 0, S::Normal, 3000, 0, 0, 500, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeWindow w;
        w.l = c.l;
        w.t = c.t;
        w.x = c.x;
        w.y = c.y;
        w.st = c.state;
        ui::DockState s{c.hids, 777};
        ui::dockPass(w, s);
        EXPECT_EQ(w.l, c.l2);
        EXPECT_EQ(w.t, c.t2);
        EXPECT_EQ(s.Hids, c.hids2);
        EXPECT_EQ(s.interval, c.interval);
        EXPECT_EQ(w.moves, c.moves);
    }
}

TEST(DockPass, RestoreSequencePausesThenHides) {
    FakeWindow w;
    w.l = 3000;
    w.t = 0;
    w.x = 300;
    w.y = 900;
    ui::DockState s;
    w.st = ui::WindowState::Minimised;
    ui::dockPass(w, s);
    EXPECT_EQ(s.Hids, 0);
    w.st = ui::WindowState::Normal;
    ui::dockPass(w, s);
    EXPECT_EQ(w.t, 0);
    EXPECT_EQ(s.interval, 3000);
    EXPECT_EQ(s.Hids, -1);
    ui::dockPass(w, s);
    EXPECT_EQ(w.t, -7450);
    EXPECT_EQ(s.interval, 500);
}

// A window brought back by a command or the tray at the top edge, passes scripted one by one: it
// stays while it has the focus, and hides once the mouse has entered and left it, or once it has
// lost the focus (or never got it).
TEST(DockPass, BroughtBackStaysWhileFocused) {
    struct Pass {
        int x, y;
        bool focus;
        float top; // after the pass
    };
    constexpr int away = 900, over = 100;
    const struct {
        const char *what;
        std::vector<Pass> passes;
    } cases[] = {
        {"typing, mouse away: stays for good",
         {{300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0},
          {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0},
          {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0},
          {300, away, true, 0}, {300, away, true, 0}}},
        {"mouse in, then out: hides on leaving",
         {{300, away, true, 0}, {300, over, true, 0}, {300, over, true, 0}, {300, away, true, -7450}}},
        {"mouse in and out without the focus",
         {{300, over, false, 0}, {300, away, false, -7450}}},
        {"focus lost: hides with the mouse away",
         {{300, away, true, 0}, {300, away, true, 0}, {300, away, false, -7450}}},
        {"focus lost, mouse over it: stays until it leaves",
         {{300, away, true, 0}, {300, over, false, 0}, {300, over, false, 0}, {300, away, false, -7450}}},
        {"never focused: hides after the pause",
         {{300, away, false, 0}, {300, away, false, 0}, {300, away, false, 0}, {300, away, false, 0},
          {300, away, false, 0}, {300, away, false, 0}, {300, away, false, -7450}}},
        {"focus comes late, then stays",
         {{300, away, false, 0}, {300, away, false, 0}, {300, away, true, 0}, {300, away, true, 0},
          {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0}, {300, away, true, 0},
          {300, away, true, 0}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeWindow w;
        w.l = 3000;
        w.t = 0;
        ui::DockState s;
        ui::holdBroughtBack(s);
        for (std::size_t i = 0; i < c.passes.size(); ++i) {
            SCOPED_TRACE(i);
            const Pass &p = c.passes[i];
            w.x = p.x;
            w.y = p.y;
            w.focus = p.focus;
            ui::dockPass(w, s);
            ASSERT_EQ(w.t, p.top);
            EXPECT_EQ(s.interval, 500);
        }
    }
    // After the hold, docking is as ever: the mouse at the edge shows it, leaving hides it.
    FakeWindow w;
    w.l = 3000;
    w.t = 0;
    w.y = away;
    w.focus = true;
    ui::DockState s;
    ui::holdBroughtBack(s);
    ui::dockPass(w, s);
    ASSERT_EQ(w.t, 0);
    w.focus = false;
    ui::dockPass(w, s);
    ASSERT_EQ(w.t, -7450);
    w.x = 300;
    w.y = 1;
    ui::dockPass(w, s);
    EXPECT_EQ(w.t, 0);
    w.y = away;
    w.focus = true;
    ui::dockPass(w, s);
    EXPECT_EQ(w.t, -7450);
}

// A window docked at the top (or hidden there), passes scripted one by one with the mouse held on
// it or its frame, or moved by its window manager (`hand`), or with a dialog or menu open. The
// window once hid in the middle of a drag by its title bar, and behind its own message box.
TEST(DockPass, NeverHidesInTheUsersHandsOrBehindADialog) {
    struct Pass {
        int x, y;
        bool hand, dialog;
        float top; // after the pass
    };
    constexpr int away = 900, over = 100;
    constexpr float hidden = -7450;
    const struct {
        const char *what;
        float top;
        std::vector<Pass> passes;
    } cases[] = {
        {"dragged, the mouse ahead of the window: stays",
         0,
         {{300, away, true, false, 0}, {700, away, true, false, 0}, {700, away, true, false, 0}}},
        {"let go docked, mouse away: hides one pass later",
         0,
         {{300, away, true, false, 0}, {300, away, false, false, 0}, {300, away, false, false, hidden}}},
        {"message box open, mouse away: stays",
         0,
         {{300, away, false, true, 0}, {300, away, false, true, 0}, {300, away, false, true, 0}}},
        {"dialog closed: the wait starts then",
         0,
         {{300, away, false, true, 0}, {300, away, false, false, 0}, {300, away, false, false, hidden}}},
        {"menu open over it, then mouse away",
         0,
         {{300, over, false, true, 0},
          {300, away, false, true, 0},
          {300, away, false, false, 0},
          {300, away, false, false, hidden}}},
        {"hidden, menu open: the edge still shows it",
         hidden,
         {{300, 1, false, true, 0}, {300, away, false, true, 0}}},
        {"in hand above the top edge: not pulled down",
         -300,
         {{300, 10, true, false, -300}, {300, 1, true, false, -300}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeWindow w;
        w.l = 3000;
        w.t = c.top;
        ui::DockState s;
        for (std::size_t i = 0; i < c.passes.size(); ++i) {
            SCOPED_TRACE(i);
            const Pass &p = c.passes[i];
            w.x = p.x;
            w.y = p.y;
            w.hand = p.hand;
            w.dialog = p.dialog;
            ui::dockPass(w, s);
            ASSERT_EQ(w.t, p.top);
            EXPECT_EQ(s.interval, 500);
        }
    }
}

TEST(DockPass, ComparisonsUseFifteenTwipsPerPixel) {
    // A 1920-pixel screen at 120 DPI is 23040 twips; its right band starts beyond 23040/15 - 3.
    FakeWindow w;
    w.s = 1920 * 12;
    w.l = w.s - w.w; // 16740 twips: 1116 in the pass's pixels
    w.t = 3000;
    w.x = 1117;
    w.y = 300;
    ui::DockState s;
    ui::dockPass(w, s);
    EXPECT_EQ(w.l, w.s - w.w); // over the window as the pass sees it
    w.x = 1115;
    ui::dockPass(w, s);
    EXPECT_EQ(w.l, w.s - 50);
    w.x = 1533;
    ui::dockPass(w, s);
    EXPECT_EQ(w.l, w.s - 50);
    w.x = 1534;
    ui::dockPass(w, s);
    EXPECT_EQ(w.l, w.s - w.w);
}

} // namespace
