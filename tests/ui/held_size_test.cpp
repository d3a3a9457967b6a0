#include "ui/held_size.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using ui::PixelSize;

// The outer minimum at 96 DPI, and the frame openbox gives (a 25-pixel title bar, 1-pixel sides).
constexpr PixelSize kMinimum{417, 475};
constexpr PixelSize kNoFrame{0, 0};
constexpr PixelSize kFrame{2, 25};

// One pass of the minimum-size step, as the window meets it: its client size and frame, whether
// a pass is due though the layout might raise nothing, what the layout raised (outer pixels), and
// what the window must then ask for.
struct Step {
    PixelSize client;
    PixelSize frame;
    bool due;
    std::optional<int> raisedWidth, raisedHeight;
    std::optional<PixelSize> asks;
};

struct Sequence {
    const char *name;
    std::vector<Step> steps;
};

TEST(HeldSize, SequencesOfAStart) {
    const Sequence sequences[] = {
        {"framed before it is sized: one ask",
         {{{377, 437}, kFrame, false, {}, 475, PixelSize{377, 450}},
          {{377, 450}, kFrame, false, 417, {}, PixelSize{415, 450}},
          {{415, 450}, kFrame, false, {}, {}, std::nullopt}}},
        {"framed after it was sized: the held height is worked out again",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 475}, kFrame, true, 417, {}, PixelSize{415, 450}},
          {{415, 450}, kFrame, false, {}, {}, std::nullopt}}},
        // Seen under openbox: the window manager puts back the size of before, then answers the
        // first request after the second; the height must end at 450, not 475.
        {"late answer after the size of before came back",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 437}, kFrame, true, {}, 475, PixelSize{377, 450}},
          {{377, 475}, kFrame, true, 417, {}, PixelSize{415, 450}},
          {{415, 450}, kFrame, false, {}, {}, std::nullopt}}},
        // Seen too: both sides held before the frame came, both put back, both answered late.
        {"late answers on both sides after the size of before came back",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 475}, kNoFrame, false, 417, {}, PixelSize{417, 475}},
          {{377, 437}, kFrame, true, {}, 475, PixelSize{415, 450}},
          {{417, 475}, kFrame, true, {}, {}, PixelSize{415, 450}},
          {{415, 450}, kFrame, false, {}, {}, std::nullopt}}},
        {"late answer with nothing raised",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 475}, kFrame, true, {}, {}, PixelSize{377, 450}},
          {{377, 475}, kFrame, true, {}, {}, PixelSize{377, 450}},
          {{377, 450}, kFrame, false, {}, {}, std::nullopt}}},
        {"no window manager: the frame stays nothing",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 475}, kNoFrame, false, 417, {}, PixelSize{417, 475}},
          {{417, 475}, kNoFrame, false, {}, {}, std::nullopt}}},
        {"the user's height is kept when the frame changes later",
         {{{377, 437}, kNoFrame, false, {}, 475, PixelSize{377, 475}},
          {{377, 600}, kNoFrame, false, {}, {}, std::nullopt},
          {{377, 600}, kFrame, false, {}, {}, std::nullopt}}},
        {"the user's height below the minimum is raised again",
         {{{377, 437}, kFrame, false, {}, 475, PixelSize{377, 450}},
          {{377, 300}, kFrame, true, {}, 475, PixelSize{377, 450}},
          {{377, 700}, kFrame, false, {}, {}, std::nullopt}}},
        {"a held width follows the frame too",
         {{{300, 500}, kNoFrame, false, 417, {}, PixelSize{417, 500}},
          {{417, 500}, kFrame, true, {}, {}, PixelSize{415, 500}}}},
    };
    for (const auto &sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        ui::HeldSize held;
        int n = 0;
        for (const Step &step : sequence.steps) {
            SCOPED_TRACE("step " + std::to_string(++n));
            EXPECT_EQ(held.stale(step.client, step.frame), step.due);
            const auto asked = held.hold(step.client, step.frame, kMinimum, step.raisedWidth, step.raisedHeight);
            ASSERT_EQ(asked.has_value(), step.asks.has_value());
            if (asked) {
                EXPECT_EQ(asked->width, step.asks->width);
                EXPECT_EQ(asked->height, step.asks->height);
            }
        }
    }
}

TEST(HeldSize, StaleWhenTheFrameComesOrAnEarlierAskIsAnswered) {
    ui::HeldSize held;
    ASSERT_TRUE(held.hold({377, 437}, kNoFrame, kMinimum, {}, 475));
    EXPECT_FALSE(held.stale({377, 475}, kNoFrame));
    EXPECT_TRUE(held.stale({377, 475}, kFrame));  // framed in place
    EXPECT_FALSE(held.stale({377, 600}, kFrame)); // resized by the user meanwhile
    ASSERT_TRUE(held.hold({377, 475}, kFrame, kMinimum, {}, {}));
    EXPECT_FALSE(held.stale({377, 450}, kFrame));
    EXPECT_TRUE(held.stale({377, 475}, kFrame)); // the first request answered last
    EXPECT_FALSE(held.stale({377, 476}, kFrame));
}

TEST(HeldSize, AWindowManagerThatKeepsAnEarlierSizeWinsAfterAFewAsks) {
    ui::HeldSize held;
    ASSERT_TRUE(held.hold({377, 437}, kNoFrame, kMinimum, {}, 475));
    ASSERT_TRUE(held.hold({377, 475}, kFrame, kMinimum, {}, {}));
    int asks = 0;
    while (held.stale({377, 475}, kFrame) && asks < 100) {
        EXPECT_EQ(held.hold({377, 475}, kFrame, kMinimum, {}, {}).value_or(PixelSize{}), (PixelSize{377, 450}));
        ++asks;
    }
    EXPECT_EQ(asks, ui::HeldSize::kMaxLateAnswers);
    EXPECT_EQ(held.hold({377, 475}, kFrame, kMinimum, {}, {}), std::nullopt);
}

} // namespace
