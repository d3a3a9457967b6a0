// The clipboard read through a child process: what each way the child ends is taken for, the limit,
// and a clipboard object gone before its child answered. The child is a shell standing in for the
// program's own reader.

#include "platform/qt_desktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;

// Reads `clipboard` and runs the event loop until it answers, for at most 20 s.
std::optional<platform::ClipboardContents> readNow(platform::QtClipboard &clipboard) {
    std::optional<platform::ClipboardContents> got;
    int calls = 0;
    clipboard.read([&](platform::ClipboardContents c) {
        ++calls;
        got = std::move(c);
    });
    QElapsedTimer clock;
    clock.start();
    while (!got && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Whatever else the child's end brings, the answer came once.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_LE(calls, 1);
    return got;
}

TEST(QtClipboardRead, HowTheReaderEndsIsWhatTheCommandSees) {
    struct Case {
        const char *script;
        bool read;
        const char *text;
        bool onlyText;
        const char *whyHas;
    };
    const Case cases[] = {
        {"printf 'abc'; exit 0", true, "abc", true, ""},
        {"printf '\\346\\261\\211\\345\\255\\227\\n'; exit 0", true, "汉字\n", true, ""},
        {"printf 'abc'; exit 2", true, "abc", false, ""},
        {"exit 1", true, "", false, ""},
        {"exit 3", false, "", false, "does not answer"},
        {"printf 'partial'; exit 4", false, "", false, "could not be read"},
        {"kill -9 $$", false, "", false, "crashed"},
        {"sleep 30", false, "", false, "longer than"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        platform::QtClipboard clipboard;
        clipboard.readThrough(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromUtf8(c.script)},
                              std::chrono::milliseconds(1500));
        QElapsedTimer clock;
        clock.start();
        const auto got = readNow(clipboard);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(got->read, c.read) << got->why.in(core::Language::English);
        EXPECT_EQ(got->text, QString::fromUtf8(c.text));
        EXPECT_EQ(got->onlyText, c.onlyText);
        const std::string why = got->why.in(core::Language::English);
        EXPECT_NE(why.find(c.whyHas), std::string::npos) << why;
        // A reader over the limit is stopped then, not waited for.
        EXPECT_LT(clock.elapsed(), 10000);
    }
}

// Whoever owns the clipboard decides its size: a reader that prints more than the most a command
// takes is stopped there (an endless one too, long before the time limit), and nothing is kept.
TEST(QtClipboardRead, MoreTextThanACommandTakesIsRefusedAsItComes) {
    struct Case {
        const char *script;
        int length; // of the text read; -1: refused as too large
    };
    const Case cases[] = {
        {"head -c 1000 /dev/zero | tr '\\0' a; exit 0", 1000},
        {"head -c 1001 /dev/zero | tr '\\0' a; exit 0", -1},
        {"head -c 1001 /dev/zero | tr '\\0' a; exit 2", -1},
        {"yes", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        platform::QtClipboard clipboard;
        clipboard.readThrough(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromUtf8(c.script)},
                              15s, 1000);
        QElapsedTimer clock;
        clock.start();
        const auto got = readNow(clipboard);
        ASSERT_TRUE(got.has_value());
        EXPECT_LT(clock.elapsed(), 10000);
        if (c.length < 0) {
            EXPECT_FALSE(got->read);
            EXPECT_EQ(got->why.id, core::MessageId::ClipboardTooLarge);
            EXPECT_TRUE(got->text.isEmpty());
        } else {
            EXPECT_TRUE(got->read) << got->why.in(core::Language::English);
            EXPECT_EQ(got->text.size(), c.length);
        }
    }
}

TEST(QtClipboardRead, AReaderThatCannotStartIsNamed) {
    platform::QtClipboard clipboard;
    clipboard.readThrough(QStringLiteral("/nonexistent/lanternfin"), {}, 5s);
    const auto got = readNow(clipboard);
    ASSERT_TRUE(got.has_value());
    EXPECT_FALSE(got->read);
    const std::string why = got->why.in(core::Language::English);
    EXPECT_NE(why.find("/nonexistent/lanternfin"), std::string::npos) << why;
}

TEST(QtClipboardRead, AClipboardGoneBeforeItsReaderAnsweredCallsNoOne) {
    bool called = false;
    {
        platform::QtClipboard clipboard;
        clipboard.readThrough(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 30")}, 20s);
        clipboard.read([&called](platform::ClipboardContents) { called = true; });
        QThread::msleep(50);
    }
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(called);
}

TEST(QtClipboardRead, WithoutAReaderTheClipboardIsReadAtOnce) {
    platform::QtClipboard clipboard;
    clipboard.setText(QStringLiteral("在此进程"));
    std::optional<platform::ClipboardContents> got;
    clipboard.read([&got](platform::ClipboardContents c) { got = std::move(c); });
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(got->read);
    EXPECT_EQ(got->text, QStringLiteral("在此进程"));
    EXPECT_TRUE(got->onlyText);
}

} // namespace
