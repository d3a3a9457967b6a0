#include "docking.h"

namespace ui {
namespace {

constexpr double kPixel = 15; // twips per pixel in every comparison, whatever the display
constexpr float kStrip = 50;  // twips of a hidden window left on the screen

struct Extent {
    double left, right, top, bottom;
};

Extent extentOf(const DockWindow &w) {
    const double left = w.left() / kPixel;
    const double top = w.top() / kPixel;
    return {left, left + w.width() / kPixel, top, top + w.height() / kPixel};
}

} // namespace

void holdBroughtBack(DockState &s) {
    s.held = true;
    s.mouseEntered = false;
    s.hadFocus = false;
    s.unfocusedPasses = 0;
}

// Whether a window brought back still stays shown this pass; ends the hold when it does not.
bool stillHeld(const DockWindow &w, DockState &s, int x, int y) {
    if (!s.held)
        return false;
    const Extent e = extentOf(w);
    const bool inside = !(y > e.bottom || y < e.top || x > e.right || x < e.left);
    const bool focused = w.focused();
    s.mouseEntered = s.mouseEntered || inside;
    s.hadFocus = s.hadFocus || focused;
    if (!focused)
        ++s.unfocusedPasses;
    const bool release = (s.mouseEntered && !inside) ||
                         (!focused && (s.hadFocus || s.unfocusedPasses > kUnfocusedPasses));
    if (release)
        s.held = false;
    return !release;
}

void dockPass(DockWindow &w, DockState &s) {
    const int x = w.cursorX();
    const int y = w.cursorY();
    if (w.state() == WindowState::Minimised)
        s.Hids = kFalse;
    if (w.state() != WindowState::Normal)
        return;
    if (stillHeld(w, s, x, y)) {
        // Shown and kept so: no pause after it, the hold took its place.
        s.Hids = kTrue;
        s.interval = kTickInterval;
        return;
    }

    // Shows a window restored from the tray at its edge and pauses; true when the pass ends.
    auto pauseShown = [&s](auto show) {
        s.interval = kRestoredPause;
        show();
        s.Hids = kTrue;
    };

    if (w.top() <= 0) {
        const Extent e = extentOf(w);
        if (y > e.bottom || x > e.right || x < e.left) {
            if (s.Hids == kFalse) {
                pauseShown([&w] { w.setTop(0); });
                return;
            }
            w.setTop(kStrip - w.height());
        }
        const Extent e2 = extentOf(w);
        if (e2.left < x && x < e2.right && y < 3)
            w.setTop(0);
    }
    if (w.left() <= 0) {
        const Extent e = extentOf(w);
        if (y > e.bottom || y < e.top || x > e.right) {
            if (s.Hids == kFalse) {
                pauseShown([&w] { w.setLeft(0); });
                return;
            }
            w.setLeft(kStrip - w.width());
        }
        const Extent e2 = extentOf(w);
        if (e2.top < y && y < e2.bottom && x < 3)
            w.setLeft(0);
    }
    // The right-edge test is made in single precision, as the positions are held.
    if (w.left() >= w.screenWidth() - w.width()) {
        const Extent e = extentOf(w);
        if (y > e.bottom || y < e.top || x < e.left) {
            if (s.Hids == kFalse) {
                pauseShown([&w] { w.setLeft(w.screenWidth() - w.width()); });
                return;
            }
            w.setLeft(w.screenWidth() - kStrip);
        }
        const Extent e2 = extentOf(w);
        if (x > w.screenWidth() / kPixel - 3 && e2.top < y && y < e2.bottom)
            w.setLeft(w.screenWidth() - w.width());
    }
    s.interval = kTickInterval;
}

} // namespace ui
