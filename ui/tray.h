#pragma once

// What a click on the notification-area icon does, decided without any widget.

namespace ui {

enum class WindowState { Normal, Minimised, Maximised };

enum class TrayAction {
    None,
    OpenMenu,   // open the menu `sky` at the cursor
    SendToTray, // minimise: the window goes into the tray
    Restore,    // bring the window back: normal state, visible, focused
};

// Mouse messages the icon delivers.
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kRightButtonUp = 517;

// The action for mouse message `m` on the icon while the window is in `state` (a window in the
// tray counts as minimised). 517 opens the menu in every state; 514 sends a shown window to the
// tray and brings back one that is there; every other message does nothing.
TrayAction decodeTrayMessage(float m, WindowState state);

} // namespace ui
