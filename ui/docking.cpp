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
    // Dragged or resized: the user's hand places the window, the pass moves nothing. Where it is
    // let go decides whether it is docked.
    if (w.inHand()) {
        s.kept = true;
        s.interval = kTickInterval;
        return;
    }
    // With a dialog open the window may show but not hide: the dialog would be left alone.
    const bool dialog = w.dialogOpen();
    const bool mayHide = !dialog && !s.kept;
    s.kept = dialog;
    if (stillHeld(w, s, x, y)) {
        // Shown and kept so: no pause after it, the hold took its place.
        s.Hids = kTrue;
        s.interval = kTickInterval;
        return;
    }

    // Shows a window restored from the tray at its edge and pauses.
    auto pauseShown = [&s](auto show) {
        s.interval = kRestoredPause;
        show();
        s.Hids = kTrue;
    };

    // One edge the window lies at: when the mouse is `away` from the window, it hides behind the
    // edge (or, restored from the tray, shows and pauses: true, the pass ends); when the mouse then
    // `touches` the edge along it, the window shows. Each test reads the window as it is then.
    auto atEdge = [&](auto away, auto touches, auto show, auto hide) {
        if (away(extentOf(w))) {
            if (s.Hids == kFalse) {
                pauseShown(show);
                return true;
            }
            if (mayHide)
                hide();
        }
        if (touches(extentOf(w)))
            show();
        return false;
    };
    if (w.top() <= 0 &&
        atEdge([&](const Extent &e) { return y > e.bottom || x > e.right || x < e.left; },
               [&](const Extent &e) { return e.left < x && x < e.right && y < 3; }, [&w] { w.setTop(0); },
               [&w] { w.setTop(kStrip - w.height()); }))
        return;
    if (w.left() <= 0 &&
        atEdge([&](const Extent &e) { return y > e.bottom || y < e.top || x > e.right; },
               [&](const Extent &e) { return e.top < y && y < e.bottom && x < 3; }, [&w] { w.setLeft(0); },
               [&w] { w.setLeft(kStrip - w.width()); }))
        return;
    // The right-edge test is made in single precision, as the positions are held.
    if (w.left() >= w.screenWidth() - w.width() &&
        atEdge([&](const Extent &e) { return y > e.bottom || y < e.top || x < e.left; },
               [&](const Extent &e) { return x > w.screenWidth() / kPixel - 3 && e.top < y && y < e.bottom; },
               [&w] { w.setLeft(w.screenWidth() - w.width()); }, [&w] { w.setLeft(w.screenWidth() - kStrip); }))
        return;
    s.interval = kTickInterval;
}

} // namespace ui
