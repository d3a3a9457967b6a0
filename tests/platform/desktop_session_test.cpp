// The platform chosen for a session, and the login autostart entry.

#include "platform/autostart.h"
#include "platform/session.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SessionPlatform, X11ThroughXWaylandUnlessTheUserChose) {
    struct Case {
        platform::SessionEnvironment env;
        std::optional<std::string> request;
    };
    const Case cases[] = {
        {{"wayland", "wayland-0", ":0", ""}, "xcb"},
        {{"wayland", "", ":1", ""}, "xcb"},
        {{"", "wayland-0", ":0", ""}, "xcb"},
        {{"tty", "wayland-0", ":0", ""}, "xcb"},
        // No XWayland: Qt's own choice, native Wayland.
        {{"wayland", "wayland-0", "", ""}, std::nullopt},
        // The user's choice stands, whatever it is.
        {{"wayland", "wayland-0", ":0", "wayland"}, std::nullopt},
        {{"wayland", "wayland-0", ":0", "offscreen"}, std::nullopt},
        // X11 sessions and no session at all.
        {{"x11", "", ":0", ""}, std::nullopt},
        {{"", "", ":0", ""}, std::nullopt},
        {{"", "", "", ""}, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.env.sessionType + "|" + c.env.waylandDisplay + "|" + c.env.x11Display + "|" +
                     c.env.qtPlatform);
        EXPECT_EQ(platform::platformToRequest(c.env), c.request);
    }
}

TEST(SessionPlatform, OnlyWaylandKeepsTheWindowFromPlacingItself) {
    for (const char *name : {"wayland", "wayland-egl", "wayland-brcm"})
        EXPECT_FALSE(platform::windowPlacementWorks(name)) << name;
    for (const char *name : {"xcb", "offscreen", "minimal", "eglfs", ""})
        EXPECT_TRUE(platform::windowPlacementWorks(name)) << name;
}

TEST(Autostart, EntryPathFollowsXdgConfigHome) {
    struct Case {
        std::string configHome, home, path;
    };
    const Case cases[] = {
        {"/home/li/.cfg", "/home/li", "/home/li/.cfg/autostart/lanternfin.desktop"},
        {"/home/li/.cfg/", "/home/li", "/home/li/.cfg/autostart/lanternfin.desktop"},
        {"", "/home/li", "/home/li/.config/autostart/lanternfin.desktop"},
        // A relative XDG_CONFIG_HOME is ignored.
        {"cfg", "/home/li", "/home/li/.config/autostart/lanternfin.desktop"},
        {"/", "/root", "/autostart/lanternfin.desktop"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.configHome);
        EXPECT_EQ(platform::autostartEntryPath(c.configHome, c.home), c.path);
    }
}

TEST(Autostart, WritesAndRemovesTheEntry) {
    QTemporaryDir dir;
    platform::AutostartEntry entry(dir.filePath("config/autostart/lanternfin.desktop"));
    QString error;
    EXPECT_FALSE(entry.exists());
    // Removing what is not there is fine.
    EXPECT_TRUE(entry.set(false, error));
    ASSERT_TRUE(entry.set(true, error)) << error.toStdString();
    EXPECT_TRUE(entry.exists());
    QFile f(entry.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    f.close();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=lanternfin --tray\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    // Writing again replaces the file whole.
    ASSERT_TRUE(entry.set(true, error));
    EXPECT_EQ(QFileInfo(entry.path()).size(), text.size());
    ASSERT_TRUE(entry.set(false, error));
    EXPECT_FALSE(entry.exists());
}

} // namespace
