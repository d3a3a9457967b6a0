#pragma once

// The window's layout arithmetic, in twips (1/1440 inch), without any widget: the workspace grows
// with the window, the button column follows its right edge, the calculator frame keeps a fixed
// distance from the window's bottom, and the window is held at 6260 x 7125 twips at least.
//
// For a window 6300 x 7500 twips at 15 twips per pixel: Frame1 at (100, 5500), Text1 at (50, 50)
// sized 4800 x 5300 (5295 high once held in whole pixels), the wide buttons at left 4920, cmdtos
// and cmdft at 5520, cmdabout / Check1 / cmdend at tops 4095 / 4495 / 4935.

#include <optional>
#include <string_view>
#include <vector>

namespace ui {

inline constexpr float kMinimumWidth = 6260;
inline constexpr float kMinimumHeight = 7125;

// One property that a layout pass writes, in the order the pass writes them.
struct LayoutMove {
    std::string_view control;
    enum class Property { Left, Top, Width, Height } property;
    float twips;
};

struct LayoutPass {
    std::vector<LayoutMove> moves;
    // The minimum-size step: the window's new outer height or width, if it needs one. Only one
    // is set per pass (height first); the pass that the change raises sees to the width.
    std::optional<float> newHeight;
    std::optional<float> newWidth;
};

// The moves of one resize pass for a window whose outer size is `width` x `height` twips, on a
// screen with `twipsPerPixel`; sizes the widgets hold in whole pixels are read back as such.
// Windows narrower than 1500 or lower than 2200 twips give the workspace a size of zero.
// `cmdtolTop` is the top of cmdtol, which no pass moves (600 at design time).
LayoutPass layoutPass(float width, float height, float twipsPerPixel, float cmdtolTop = 600);

// A size in twips as the widgets hold it: the nearest whole number of pixels, in twips.
float heldInPixels(float twips, float twipsPerPixel);

} // namespace ui
