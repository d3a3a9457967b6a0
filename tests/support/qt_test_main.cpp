// main() for the window tests: a QApplication on the offscreen platform with a 1920 x 1080 screen
// at 96 DPI and no fake window frames, so that sizes and moves read back exactly.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("offscreen.json"));
    {
        QFile f(config);
        if (f.open(QIODevice::WriteOnly))
            f.write(R"({"synchronousWindowSystemEvents": true, "windowFrameMargins": false,
                        "screens": [{"name": "s0", "x": 0, "y": 0, "width": 1920, "height": 1080,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    const QByteArray platform = "offscreen:configfile=" + config.toLocal8Bit();
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
