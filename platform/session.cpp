#include "session.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> platformToRequest(const SessionEnvironment &env) {
    if (!env.qtPlatform.empty() || env.x11Display.empty())
        return std::nullopt;
    const bool wayland = env.sessionType == "wayland" || !env.waylandDisplay.empty();
    if (!wayland)
        return std::nullopt;
    return std::string("xcb");
}

bool windowPlacementWorks(std::string_view platformName) {
    return platformName.substr(0, 7) != "wayland";
}

SessionEnvironment currentSessionEnvironment() {
    auto get = [](const char *name) {
        const char *value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return {get("XDG_SESSION_TYPE"), get("WAYLAND_DISPLAY"), get("DISPLAY"), get("QT_QPA_PLATFORM")};
}

} // namespace platform
