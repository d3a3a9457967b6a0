#pragma once

// The minimum size the window holds itself at, side by side, in whole pixels, without any widget.
//
// A held side has the minimum outer size less the frame the window manager announces now. Window
// managers make this harder than it looks, at every start:
// - the frame may come after the window sized itself, from a frame of nothing: the held sides are
//   worked out again once it is known;
// - the window manager may put back the size the window had before it was held;
// - it answers resize requests late and in any order: after asking for 475 and then 450 pixels of
//   height, the window may be told 450 and then 475. A side showing a size the window asked for
//   earlier is such a late answer, not the user's doing.
// So a side stays held until it takes a size of the user's: one at or above the minimum that the
// window never asked for. The layout raises a side that goes below the minimum again.

#include <optional>

namespace ui {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize &, const PixelSize &) = default;
};

class HeldSize {
public:
    // How many late answers a side takes, in the window's life, before they count as the user's
    // resizing: a window manager that keeps imposing an earlier size must not set off a loop.
    static constexpr int kMaxLateAnswers = 8;

    // One pass of the minimum-size step for a window whose client area is `client` and whose
    // frame adds `frame`. `minimum` is the outer minimum; `raisedWidth` and `raisedHeight` are
    // the outer sides that the layout raised in this pass. Returns the client size to ask for, or
    // nothing when the window keeps its size.
    std::optional<PixelSize> hold(PixelSize client, PixelSize frame, PixelSize minimum,
                                  std::optional<int> raisedWidth, std::optional<int> raisedHeight);

    // True when a pass is due although the layout may raise nothing: a held side no longer has
    // its size (the frame changed, or the window manager answered an earlier request late).
    bool stale(PixelSize client, PixelSize frame) const;

private:
    struct Side {
        bool held = false;
        int asked = 0;
        // Sizes asked for before `asked`, the newest last (a start asks two or three times).
        int earlier[4] = {};
        int earlierCount = 0;
        int lateAnswers = 0;

        bool lateAnswer(int size) const;
        void ask(int size);
        // Whether `size` (with `frame`, against the outer `minimum`) is still the window's own
        // doing or the window manager's, rather than the user's.
        bool ours(int size, int frame, int minimum) const;
        bool due(int size, int frame, int minimum) const;
    };

    static int holdSide(Side &side, int now, int frame, int minimum, std::optional<int> raised);

    Side m_width;
    Side m_height;
    PixelSize m_minimum;
};

} // namespace ui
