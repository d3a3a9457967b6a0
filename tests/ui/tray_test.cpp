#include "ui/tray.h"

#include <gtest/gtest.h>

namespace {

using ui::TrayAction;
using ui::WindowState;

TEST(TrayDecoding, LeftTogglesRightOpensTheMenu) {
    struct Case {
        float m;
        WindowState state;
        TrayAction action;
    };
    const Case cases[] = {
        {514, WindowState::Normal, TrayAction::SendToTray},
        {514, WindowState::Maximised, TrayAction::SendToTray},
        {514, WindowState::Minimised, TrayAction::Restore},
        {517, WindowState::Normal, TrayAction::OpenMenu},
        {517, WindowState::Maximised, TrayAction::OpenMenu},
        {517, WindowState::Minimised, TrayAction::OpenMenu},
        {512, WindowState::Normal, TrayAction::None},
        {513, WindowState::Minimised, TrayAction::None},
        {515, WindowState::Normal, TrayAction::None},
        {516, WindowState::Normal, TrayAction::None},
        {514.5f, WindowState::Normal, TrayAction::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.m);
        EXPECT_EQ(ui::decodeTrayMessage(c.m, c.state), c.action);
    }
}

} // namespace
