// The settings file: a FIFO, a folder or a device at its path is never opened (a FIFO would hang
// the start); the program runs with its defaults and leaves the thing as it is.

#include "platform/qt_desktop.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(QtSettings, ARegularFileKeepsWhatIsSet) {
    testsupport::TempDir dir;
    const QString path = QString::fromStdString(dir.str() + "/Lanternfin.conf");
    platform::QtSettings(path).setValue(QStringLiteral("dock"), QStringLiteral("left"));
    EXPECT_EQ(platform::QtSettings(path).value(QStringLiteral("dock")), QStringLiteral("left"));
}

TEST(QtSettings, AnOddFileAtItsPathIsLeftAndDefaultsAreUsed) {
    enum Kind { Fifo, Folder, Device };
    for (const Kind kind : {Fifo, Folder, Device}) {
        SCOPED_TRACE(kind);
        testsupport::TempDir dir;
        const fs::path file = dir / "Lanternfin.conf";
        if (kind == Fifo)
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        else if (kind == Folder)
            fs::create_directory(file);
        else
            fs::create_symlink("/dev/null", file);
        const auto before = fs::symlink_status(file).type();
        platform::QtSettings settings(QString::fromStdString(file.string()));
        EXPECT_EQ(settings.value(QStringLiteral("dock")), QString());
        settings.setValue(QStringLiteral("dock"), QStringLiteral("right"));
        // Kept for this run, never written there.
        EXPECT_EQ(settings.value(QStringLiteral("dock")), QStringLiteral("right"));
        EXPECT_EQ(fs::symlink_status(file).type(), before);
        EXPECT_EQ(dir.entries(), 1u);
    }
}

} // namespace
