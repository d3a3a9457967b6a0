#include "ui/dock_strip.h"
#include "ui/docking.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

const QRect kScreen(0, 0, 1920, 1080);

TEST(HiddenStrip, OnlyAThinPartAtTheTopLeftOrRightIsAStrip) {
    const QRect second(1920, 0, 1920, 1080);
    struct Case {
        const char *what;
        QRect frame, screen;
        std::optional<QRect> strip;
    };
    const Case cases[] = {
        {"top, 3 px on screen", QRect(700, -472, 417, 475), kScreen, QRect(700, 0, 417, 3)},
        {"top, 4 px: the most a strip keeps", QRect(700, -471, 417, 475), kScreen, QRect(700, 0, 417, 4)},
        {"top, 5 px: only partly above", QRect(700, -470, 417, 475), kScreen, std::nullopt},
        {"left, 3 px", QRect(-414, 300, 417, 475), kScreen, QRect(0, 300, 3, 475)},
        {"left, 100 px off: shown", QRect(-100, 0, 417, 475), kScreen, std::nullopt},
        {"right, 3 px", QRect(1917, 300, 417, 475), kScreen, QRect(1917, 300, 3, 475)},
        {"top-left corner", QRect(-414, -472, 417, 475), kScreen, QRect(0, 0, 3, 3)},
        {"bottom is no docking edge", QRect(700, 1077, 417, 475), kScreen, std::nullopt},
        {"taller than the screen, at the top", QRect(700, 0, 417, 1200), kScreen, std::nullopt},
        {"wholly above: nothing to touch", QRect(700, -475, 417, 475), kScreen, std::nullopt},
        {"second screen's left edge: its own part", QRect(1506, 300, 417, 475), second,
         QRect(1920, 300, 3, 475)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ui::hiddenStrip(c.frame, c.screen, 4), c.strip);
    }
}

// A window of whole pixels, moved by the docking pass as the window does it: twips to the
// nearest pixel at `tpp`.
struct PixelWindow : ui::DockWindow {
    float tpp = 15;
    QRect frame;
    ui::WindowState state() const override { return ui::WindowState::Normal; }
    float left() const override { return float(frame.x()) * tpp; }
    float top() const override { return float(frame.y()) * tpp; }
    float width() const override { return float(frame.width()) * tpp; }
    float height() const override { return float(frame.height()) * tpp; }
    float screenWidth() const override { return float(kScreen.width()) * tpp; }
    int cursorX() const override { return 960; }
    int cursorY() const override { return 1079; }
    bool focused() const override { return false; }
    bool inHand() const override { return false; }
    bool dialogOpen() const override { return false; }
    void setLeft(float t) override { frame.moveLeft(int(std::lround(t / tpp))); }
    void setTop(float t) override { frame.moveTop(int(std::lround(t / tpp))); }
};

TEST(HiddenStrip, EveryPlaceThePassHidesAWindowAtIsAStrip) {
    // At 96, 120, 144 and 192 DPI, whatever the window's size, the pass leaves 50 twips to the
    // nearest pixel on the screen: a strip, within the strip's thickness, that comes back whole.
    for (float tpp : {15.0f, 12.0f, 10.0f, 7.5f}) {
        for (const QSize size : {QSize(417, 475), QSize(419, 500), QSize(200, 60)}) {
            for (const QPoint at : {QPoint(700, 0), QPoint(0, 300), QPoint(1920 - size.width(), 300)}) {
                SCOPED_TRACE(testing::Message() << tpp << " twips/px, " << size.width() << "x"
                                                << size.height() << " at " << at.x() << "," << at.y());
                PixelWindow w;
                w.tpp = tpp;
                w.frame = QRect(at, size);
                ui::DockState s;
                ui::dockPass(w, s);
                const auto strip = ui::hiddenStrip(w.frame, kScreen, ui::stripThickness(tpp));
                ASSERT_TRUE(strip.has_value());
                EXPECT_EQ(std::min(strip->width(), strip->height()), int(std::lround(50 / tpp)));
                EXPECT_EQ(ui::shownAtEdge(w.frame, kScreen), QRect(at, size));
            }
        }
    }
}

} // namespace
