#pragma once

// Edge docking with auto-hide: a window pushed against the top, left or right screen edge hides
// when the mouse leaves it, keeping a 50-twip strip on screen, and comes back when the mouse
// touches that screen edge along it. One pass runs per tick of Timer1.
//
// Positions are twips; the pass turns them into pixels by a fixed 15 and compares them strictly
// with the cursor. Reveal bands: pixel rows 0-2 (top), columns 0-2 (left), columns beyond
// S/15 - 3 (right; on a 1920-pixel screen only 1918 and 1919).

#include "tray.h"

#include <cstdint>

namespace ui {

// What the pass reads and moves. Every value is read when a step needs it, so a step sees the
// moves of the steps before it.
class DockWindow {
public:
    virtual ~DockWindow() = default;
    virtual WindowState state() const = 0;
    // The window's outer rectangle in twips, relative to the top-left of its screen.
    virtual float left() const = 0;
    virtual float top() const = 0;
    virtual float width() const = 0;
    virtual float height() const = 0;
    // The width in twips of the screen that holds the window.
    virtual float screenWidth() const = 0;
    // The cursor in pixels, relative to the top-left of that screen.
    virtual int cursorX() const = 0;
    virtual int cursorY() const = 0;
    // True while the window has the keyboard focus.
    virtual bool focused() const = 0;
    // True while a mouse button is held on the window or on its frame (a drag by the title bar,
    // a resize by a border), or while the window manager moves or resizes the window.
    virtual bool inHand() const = 0;
    // True while one of the program's own dialogs, message boxes or menus is open.
    virtual bool dialogOpen() const = 0;
    virtual void setLeft(float twips) = 0;
    virtual void setTop(float twips) = 0;
};

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;
inline constexpr int kTickInterval = 500;
inline constexpr int kRestoredPause = 3000;

// The docking state kept between passes.
struct DockState {
    // True (-1): a docked window may hide. False (0): the window was minimised since; the next
    // pass that finds it docked with the mouse away shows it at its edge and pauses instead.
    std::int16_t Hids = kTrue;
    // Timer1's interval in ms after the pass: 500, or 3000 after showing a restored window.
    int interval = kTickInterval;
    // A window brought back by a command or the tray stays shown while it has the keyboard focus:
    // the hold ends when the mouse has entered and left it, or when it loses the focus (or never
    // gets it within kUnfocusedPasses passes).
    bool held = false;
    bool mouseEntered = false;
    bool hadFocus = false;
    int unfocusedPasses = 0;
    // The last pass found the window in the user's hands or a dialog open: the next pass without
    // them may not hide yet, so that the wait starts when they end.
    bool kept = false;
};

inline constexpr int kUnfocusedPasses = 6;

// The window was brought back by a command or the tray: hold it shown (see DockState::held).
void holdBroughtBack(DockState &state);

// One docking pass (the body of Timer1_Timer). A window in the user's hands is never moved; with a
// dialog open a docked window may show but never hides. Either way the first pass after they end
// does not hide yet either: the wait for the mouse starts then.
void dockPass(DockWindow &window, DockState &state);

} // namespace ui
