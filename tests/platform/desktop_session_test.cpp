// The platform chosen for a session, and the login autostart entry.

#include "platform/autostart.h"
#include "platform/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

std::string slurp(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(unreadable)");
}

void spit(const QString &path, const std::string &text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
}

TEST(Autostart, AnEntryIsReadAsDesktopsReadIt) {
    const struct {
        const char *text;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nExec=lanternfin --tray\n", true},
        {"[Desktop Entry]\nExec=lanternfin\nHidden=true\n", false},
        {"[Desktop Entry]\nHidden = true\n", false},
        {"[Desktop Entry]\nHidden=false\n", true},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=true\nHidden=true\n", false},
        // Only the [Desktop Entry] group speaks for the entry; the last of a key counts.
        {"[Desktop Action x]\nHidden=true\n[Desktop Entry]\nExec=x\n", true},
        {"[Desktop Entry]\nHidden=true\nHidden=false\n", true},
        {"# Hidden=true\n[Desktop Entry]\n#Hidden=true\n", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(platform::autostartEnabled(c.text), c.enabled);
    }
}

TEST(Autostart, SwitchingSomeoneElsesEntryKeepsEveryOtherLine) {
    const std::string theirs =
        "# mine\n[Desktop Entry]\nType=Application\nExec=/opt/lf/lanternfin --tray --debug\n"
        "X-KDE-autostart-after=panel\n[Desktop Action y]\nHidden=true\n";
    const struct {
        std::string text;
        bool enabled;
        std::string switched;
    } cases[] = {
        {theirs, false,
         "# mine\n[Desktop Entry]\nHidden=true\nType=Application\nExec=/opt/lf/lanternfin --tray --debug\n"
         "X-KDE-autostart-after=panel\n[Desktop Action y]\nHidden=true\n"},
        {"[Desktop Entry]\nHidden=false\nExec=a", false, "[Desktop Entry]\nHidden=true\nExec=a"},
        {"[Desktop Entry]\nExec=a\nHidden=true\n[Desktop Action y]\nHidden=true\n", true,
         "[Desktop Entry]\nExec=a\n[Desktop Action y]\nHidden=true\n"},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\nExec=a\n", true,
         "[Desktop Entry]\nX-GNOME-Autostart-enabled=true\nExec=a\n"},
        {"Exec=a\n", false, "[Desktop Entry]\nHidden=true\nExec=a\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const std::string switched = platform::switchedAutostartEntry(c.text, c.enabled);
        EXPECT_EQ(switched, c.switched);
        EXPECT_EQ(platform::autostartEnabled(switched), c.enabled);
    }
}

TEST(Autostart, OnlyOurOwnEntryIsEverRemoved) {
    QTemporaryDir dir;
    const QString path = dir.filePath("autostart/lanternfin.desktop");
    platform::AutostartEntry entry(path);
    QString error;

    // The user's own entry, switched off: shown unticked, and ticking keeps their Exec line.
    const std::string theirs =
        "[Desktop Entry]\nType=Application\nExec=lanternfin --tray --verbose\nHidden=true\n";
    spit(path, theirs);
    EXPECT_FALSE(entry.enabled());
    ASSERT_TRUE(entry.set(true, error)) << error.toStdString();
    EXPECT_EQ(slurp(path), "[Desktop Entry]\nType=Application\nExec=lanternfin --tray --verbose\n");
    EXPECT_TRUE(entry.enabled());
    // Unticking it never deletes it.
    ASSERT_TRUE(entry.set(false, error)) << error.toStdString();
    EXPECT_EQ(slurp(path),
              "[Desktop Entry]\nHidden=true\nType=Application\nExec=lanternfin --tray --verbose\n");
    EXPECT_FALSE(entry.enabled());

    // Our own entry, through a link as dotfile managers keep it: the link stays while ticked.
    QFile::remove(path);
    QDir().mkpath(dir.filePath("dotfiles"));
    ASSERT_TRUE(QFile::link(dir.filePath("dotfiles/lanternfin.desktop"), path));
    ASSERT_TRUE(entry.set(true, error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(slurp(dir.filePath("dotfiles/lanternfin.desktop")), platform::autostartEntryText());
    EXPECT_TRUE(entry.enabled());
    ASSERT_TRUE(entry.set(false, error));
    EXPECT_FALSE(entry.exists());

    // What is not an entry is neither read nor touched, and never waited on.
    ASSERT_EQ(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(entry.enabled());
    EXPECT_FALSE(entry.set(true, error));
    // The window shows it: in Chinese.
    EXPECT_NE(error.indexOf(QStringLiteral("不是自动启动项")), -1) << error.toStdString();
    EXPECT_TRUE(QFileInfo(path).exists());
}

TEST(Autostart, ExecNamesTheRunningProgramWhenItIsNotOnPath) {
    const struct {
        const char *running;
        bool onPath;
        const char *exec;
    } cases[] = {
        {"/usr/bin/lanternfin", true, "lanternfin --tray"},
        {"/home/li/build/app/lanternfin", false, "/home/li/build/app/lanternfin --tray"},
        {"/opt/my apps/lanternfin", false, "\"/opt/my apps/lanternfin\" --tray"},
        {"/opt/$x/100%/lanternfin", false, "\"/opt/\\\\$x/100%%/lanternfin\" --tray"},
        {"/opt/a\\b/lanternfin", false, "\"/opt/a\\\\\\\\b/lanternfin\" --tray"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.running);
        const std::string text =
            platform::autostartEntryText(platform::autostartProgram(c.running, c.onPath));
        EXPECT_NE(text.find(std::string("\nExec=") + c.exec + "\n"), std::string::npos) << text;
        EXPECT_TRUE(platform::isOurAutostartEntry(text));
        EXPECT_TRUE(platform::autostartEnabled(text));
    }
    EXPECT_FALSE(platform::isOurAutostartEntry(platform::autostartEntryText() + "Hidden=false\n"));
}

} // namespace
