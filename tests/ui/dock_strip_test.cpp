#include "ui/dock_strip.h"
#include "ui/docking.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

const QRect kScreen(0, 0, 1920, 1080);
const QRect kRightScreen(1920, 0, 1920, 1080);

TEST(HiddenStrip, OnlyAThinPartAtTheTopLeftOrRightIsAStrip) {
    struct Case {
        const char *what;
        QRect frame, screen;
        std::optional<QRect> strip;
    };
    const Case cases[] = {
        {"top, 3 px on screen", QRect(700, -472, 417, 475), kScreen, QRect(700, 0, 417, 3)},
        {"top, 4 px: the most a strip keeps", QRect(700, -471, 417, 475), kScreen, QRect(700, 0, 417, 4)},
        {"top, 5 px: a window partly above the screen", QRect(700, -470, 417, 475), kScreen, std::nullopt},
        {"at the top, whole", QRect(700, 0, 417, 475), kScreen, std::nullopt},
        {"left, 3 px", QRect(-414, 300, 417, 475), kScreen, QRect(0, 300, 3, 475)},
        {"left, 100 px off: shown", QRect(-100, 0, 417, 475), kScreen, std::nullopt},
        {"right, 3 px", QRect(1917, 300, 417, 475), kScreen, QRect(1917, 300, 3, 475)},
        {"right, 5 px: shown", QRect(1915, 300, 417, 475), kScreen, std::nullopt},
        {"top-left corner", QRect(-414, -472, 417, 475), kScreen, QRect(0, 0, 3, 3)},
        {"top-right corner", QRect(1917, -472, 417, 475), kScreen, QRect(1917, 0, 3, 3)},
        {"bottom is no docking edge", QRect(700, 1077, 417, 475), kScreen, std::nullopt},
        {"taller than the screen, at the top", QRect(700, 0, 417, 1200), kScreen, std::nullopt},
        {"wholly above the screen: nothing to touch", QRect(700, -475, 417, 475), kScreen, std::nullopt},
        {"second screen's left edge: only its own part", QRect(1506, 300, 417, 475), kRightScreen,
         QRect(1920, 300, 3, 475)},
        {"second screen's top", QRect(2500, -472, 417, 475), kRightScreen, QRect(2500, 0, 417, 3)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ui::hiddenStrip(c.frame, c.screen, 4), c.strip);
    }
}

TEST(ShownAtEdge, MovesInsideAtTheEdgesItSticksOutOf) {
    struct Case {
        const char *what;
        QRect frame, screen;
        QPoint at;
    };
    const Case cases[] = {
        {"top", QRect(700, -472, 417, 475), kScreen, {700, 0}},
        {"left", QRect(-414, 300, 417, 475), kScreen, {0, 300}},
        {"right", QRect(1917, 300, 417, 475), kScreen, {1503, 300}},
        {"corner", QRect(-414, -472, 417, 475), kScreen, {0, 0}},
        {"inside: unchanged", QRect(700, 300, 417, 475), kScreen, {700, 300}},
        {"below the bottom: unchanged", QRect(700, 900, 417, 475), kScreen, {700, 900}},
        {"second screen's left edge", QRect(1506, 300, 417, 475), kRightScreen, {1920, 300}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QRect r = ui::shownAtEdge(c.frame, c.screen);
        EXPECT_EQ(r.topLeft(), c.at);
        EXPECT_EQ(r.size(), c.frame.size());
    }
}

TEST(StripThickness, FiftyTwipsRoundedUp) {
    struct Case {
        float tpp;
        int pixels;
    };
    // 96, 120, 144 and 192 DPI; a nonsense scale falls back to 96 DPI.
    const Case cases[] = {{15, 4}, {12, 5}, {10, 5}, {7.5f, 7}, {0, 4}, {-3, 4}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tpp);
        EXPECT_EQ(ui::stripThickness(c.tpp), c.pixels);
    }
}

// A window of whole pixels, moved by the docking pass as the window does it: twips to the
// nearest pixel at `tpp`.
struct PixelWindow : ui::DockWindow {
    float tpp;
    QRect frame;
    QRect screen;
    QPoint cursor;
    ui::WindowState state() const override { return ui::WindowState::Normal; }
    float left() const override { return float(frame.x() - screen.x()) * tpp; }
    float top() const override { return float(frame.y() - screen.y()) * tpp; }
    float width() const override { return float(frame.width()) * tpp; }
    float height() const override { return float(frame.height()) * tpp; }
    float screenWidth() const override { return float(screen.width()) * tpp; }
    int cursorX() const override { return cursor.x() - screen.x(); }
    int cursorY() const override { return cursor.y() - screen.y(); }
    void setLeft(float t) override { frame.moveLeft(screen.x() + int(std::lround(t / tpp))); }
    void setTop(float t) override { frame.moveTop(screen.y() + int(std::lround(t / tpp))); }
};

TEST(HiddenStrip, EveryPlaceThePassHidesAWindowAtIsAStrip) {
    // Whatever the display's scale and the window's size, where the pass hides a window leaves a
    // strip of 50 twips rounded to the pixel: never more than the strip's thickness, never none.
    for (float tpp : {15.0f, 12.0f, 10.0f, 7.5f}) {
        for (const QSize size : {QSize(417, 475), QSize(419, 500), QSize(200, 60)}) {
            for (const QPoint at : {QPoint(700, 0), QPoint(0, 300), QPoint(1920 - size.width(), 300)}) {
                SCOPED_TRACE(testing::Message() << tpp << " " << size.width() << "x" << size.height()
                                                << " at " << at.x() << "," << at.y());
                PixelWindow w;
                w.tpp = tpp;
                w.screen = kScreen;
                w.frame = QRect(at, size);
                w.cursor = QPoint(960, 1079);
                ui::DockState s;
                ui::dockPass(w, s);
                const auto strip = ui::hiddenStrip(w.frame, w.screen, ui::stripThickness(tpp));
                ASSERT_TRUE(strip.has_value());
                const int thin = std::min(strip->width(), strip->height());
                EXPECT_EQ(thin, int(std::lround(50 / tpp)));
                EXPECT_TRUE(kScreen.contains(*strip));
            }
        }
    }
}

} // namespace
