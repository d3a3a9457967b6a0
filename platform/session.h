#pragma once

// Which Qt platform the window runs on in a desktop session, decided from the environment alone.
//
// The window places itself, stays above other windows and follows the pointer for edge docking.
// Native Wayland gives a client none of these, so on a Wayland session the program asks for X11
// (xcb, through XWayland) when XWayland is there and the user did not choose a platform:
//   XDG_SESSION_TYPE=wayland, DISPLAY=:0                      -> xcb
//   WAYLAND_DISPLAY=wayland-0, DISPLAY=:0                     -> xcb
//   WAYLAND_DISPLAY=wayland-0, no DISPLAY                     -> Qt's choice (native Wayland)
//   QT_QPA_PLATFORM=wayland (any session)                     -> the user's choice
//   an X11 session                                            -> Qt's choice

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The environment variables the choice rests on; an empty value counts as unset.
struct SessionEnvironment {
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string x11Display;     // DISPLAY
    std::string qtPlatform;     // QT_QPA_PLATFORM
};

// The platform to set in QT_QPA_PLATFORM before the application object is made; nullopt to leave
// it alone.
std::optional<std::string> platformToRequest(const SessionEnvironment &env);

// Whether a window on Qt platform `platformName` (QGuiApplication::platformName()) can place
// itself and read the pointer outside it: false on Wayland ("wayland", "wayland-egl"...).
bool windowPlacementWorks(std::string_view platformName);

// The environment of this process.
SessionEnvironment currentSessionEnvironment();

} // namespace platform
