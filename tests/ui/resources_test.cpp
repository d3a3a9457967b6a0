#include "platform/qt_desktop.h"
#include "ui/form1.h"
#include "ui/resources.h"

#include <gtest/gtest.h>

namespace {

// Regression: the icons live in a static library's resources, which were not registered, so the
// window and the tray showed no icon at all.
TEST(ProgramIcon, HasBothImages) {
    const QIcon icon = ui::programIcon();
    ASSERT_FALSE(icon.isNull());
    const auto sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST(TrayIcon, TipReadsLanternfin) {
    platform::QtTrayIcon tray(ui::programIcon(), QString::fromLatin1(ui::kTrayTip));
    EXPECT_EQ(tray.tip(), "Lanternfin");
}

} // namespace
