#include "ui/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The window started at the design's place at every start, a title bar's height lower at every
// other one; it starts where it was left, as long as its title bar can still be reached.
TEST(StartPlace, WhereItWasLeftWhileItsTitleBarIsOnAScreen) {
    const std::vector<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const std::vector<QRect> one = {QRect(0, 0, 1920, 1080)};
    const QSize frame(417, 500);
    const QPoint design(1484, 256);
    const struct {
        const char *what;
        std::optional<QPoint> left;
        const std::vector<QRect> &screens;
        QPoint expected;
    } cases[] = {
        {"first start: the design's place", std::nullopt, one, design},
        {"left in the middle", QPoint(300, 200), one, QPoint(300, 200)},
        {"shown at the top edge", QPoint(700, 0), one, QPoint(700, 0)},
        {"shown at the left edge", QPoint(0, 300), one, QPoint(0, 300)},
        {"shown at the right edge", QPoint(1920 - 417, 300), one, QPoint(1920 - 417, 300)},
        {"half off the left edge", QPoint(-200, 300), one, QPoint(-200, 300)},
        {"on the second screen", QPoint(2500, 400), two, QPoint(2500, 400)},
        {"second screen unplugged", QPoint(2500, 400), one, design},
        {"title bar above the screen", QPoint(300, -20), one, design},
        {"below the screen", QPoint(300, 1075), one, design},
        {"mostly off the left edge", QPoint(-300, 300), one, design},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ui::startPlace(c.left, frame, c.screens, design), c.expected);
    }
}

TEST(StoredPlace, ReadsTwoWholeNumbersOrNothing) {
    const struct {
        const char *x, *y;
        std::optional<QPoint> expected;
    } cases[] = {
        {"300", "200", QPoint(300, 200)}, {"-200", "0", QPoint(-200, 0)}, {" 12 ", "7", QPoint(12, 7)},
        {"", "200", std::nullopt},        {"300", "", std::nullopt},      {"3e2", "200", std::nullopt},
        {"300.5", "200", std::nullopt},   {"abc", "200", std::nullopt},   {"99999999999", "0", std::nullopt},
        {"100001", "0", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.x) + "," + c.y);
        EXPECT_EQ(ui::storedPlace(QString::fromLatin1(c.x), QString::fromLatin1(c.y)), c.expected);
    }
}

} // namespace
