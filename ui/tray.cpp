#include "tray.h"

namespace ui {

TrayAction decodeTrayMessage(float m, WindowState state) {
    if (m == kRightButtonUp)
        return TrayAction::OpenMenu;
    if (m != kLeftButtonUp)
        return TrayAction::None;
    return state == WindowState::Minimised ? TrayAction::Restore : TrayAction::SendToTray;
}

} // namespace ui
