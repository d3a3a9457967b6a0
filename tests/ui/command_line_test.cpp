// The window program's command line: what each start asks for, and the usage errors.

#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cstdlib>
#include <string>

#include <algorithm>

namespace {

using platform::Request;
using platform::Verb;

TEST(CommandLine, EachOptionAsksForItsRequest) {
    struct Case {
        QStringList args;
        Request request;
        bool inTray;
    };
    const Case cases[] = {
        {{}, {Verb::Show, {}}, false},
        {{"--show"}, {Verb::Show, {}}, false},
        {{"--toggle"}, {Verb::Toggle, {}}, false},
        {{"--quit"}, {Verb::Quit, {}}, false},
        {{"--tray"}, {Verb::Tray, {}}, true},
        {{"--clipboard", "traditional"}, {Verb::Clipboard, "traditional"}, true},
        {{"--clipboard=pinyin"}, {Verb::Clipboard, "pinyin"}, true},
        {{"--clipboard", "restore"}, {Verb::Clipboard, "restore"}, true},
        {{"--clipboard", "convert:s2twp"}, {Verb::Clipboard, "convert:s2twp"}, true},
        {{"--clipboard=pinyin:initials"}, {Verb::Clipboard, "pinyin:initials"}, true},
        {{"--toggle", "--toggle"}, {Verb::Toggle, {}}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ui::Invocation inv = ui::parseCommandLine(QStringList{"lanternfin"} + c.args);
        EXPECT_FALSE(inv.exitStatus);
        EXPECT_EQ(inv.request, c.request);
        EXPECT_EQ(inv.startInTray, c.inTray);
    }
}

TEST(CommandLine, UsageErrorsExitWithTwoAndSayWhy) {
    struct Case {
        QStringList args;
        QString says;
    };
    const Case cases[] = {
        {{"--clipboard", "bogus"}, "unknown clipboard command 'bogus'"},
        {{"--clipboard", "pinyin:tones"}, "(one of traditional, simplified, upper, lower, money, pinyin, "
                                          "restore, convert:CONFIG, pinyin:marks|numbers|none|initials, "
                                          "money:bank|bank-round|date|read-back|numerals|capital-numerals)"},
        {{"--clipboard", "convert:"}, "unknown clipboard command 'convert:'"},
        {{"--clipboard", "convert:/usr/share/opencc/s2t.json"}, "unknown clipboard command"},
        {{"--clipboard"}, "Missing value after '--clipboard'"},
        {{"--clipboard", "upper", "--clipboard", "lower"}, "give one of"},
        {{"--toggle", "--quit"}, "give one of"},
        {{"--tray", "--clipboard", "upper"}, "give one of"},
        {{"file.txt"}, "unexpected argument 'file.txt'"},
        {{"--frobnicate"}, "Unknown option 'frobnicate'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ui::Invocation inv = ui::parseCommandLine(QStringList{"lanternfin"} + c.args);
        EXPECT_EQ(inv.exitStatus, ui::kExitUsage);
        EXPECT_TRUE(inv.error.contains(c.says)) << inv.error.toStdString();
        EXPECT_TRUE(inv.output.isEmpty());
    }
}

// Regression: the usage errors were English under a Chinese locale.
TEST(CommandLine, UsageErrorsFollowTheLocale) {
    const char *was = std::getenv("LC_ALL");
    const std::string saved = was ? was : "";
    const struct {
        const char *locale;
        QStringList args;
        QString says;
    } cases[] = {
        {"zh_CN.UTF-8", {"--frobnicate"}, "lanternfin: 没有“frobnicate”这个选项。\n请用“lanternfin --help”查看用法。\n"},
        {"zh_CN.UTF-8", {"--clipboard"}, "“--clipboard”后面缺少值。"},
        {"zh_CN.UTF-8", {"file.txt"}, "多余的参数“file.txt”"},
        {"zh_CN.UTF-8", {"--toggle", "--quit"}, "只能给出其中一个"},
        {"zh_CN.UTF-8", {"--clipboard", "bogus"}, "没有剪贴板命令“bogus”"},
        {"C", {"--frobnicate"}, "lanternfin: Unknown option 'frobnicate'.\nTry 'lanternfin --help'.\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.args.join(' ').toStdString());
        setenv("LC_ALL", c.locale, 1);
        const ui::Invocation inv = ui::parseCommandLine(QStringList{"lanternfin"} + c.args);
        EXPECT_EQ(inv.exitStatus, ui::kExitUsage);
        EXPECT_TRUE(inv.error.contains(c.says)) << inv.error.toStdString();
    }
    if (was)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

// Regression: --help was English under a Chinese locale, Qt's headings included.
TEST(CommandLine, HelpFollowsTheLocale) {
    const char *was = std::getenv("LC_ALL");
    const std::string saved = was ? was : "";
    const QRegularExpression english(QStringLiteral(R"((^|[^-\w])[a-z]{2,} [a-z]{2,} [a-z]{2,}\b)"));
    for (const char *locale : {"zh_CN.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        setenv("LC_ALL", locale, 1);
        const bool chinese = locale[0] == 'z';
        const QString help = ui::parseCommandLine({"lanternfin", "--help"}).output;
        EXPECT_TRUE(help.startsWith(chinese ? QStringLiteral("用法: ") : QStringLiteral("Usage: ")))
            << help.toStdString();
        EXPECT_EQ(help.contains(QStringLiteral("\n选项:\n")), chinese);
        EXPECT_EQ(help.contains(QStringLiteral("\nOptions:\n")), !chinese);
        int englishLines = 0;
        for (const QString &line : help.split('\n'))
            if (english.match(line).hasMatch()) {
                ++englishLines;
                if (chinese)
                    ADD_FAILURE() << "English under a Chinese locale: " << line.toStdString();
            }
        EXPECT_EQ(englishLines > 0, !chinese);
        // Qt wraps at spaces: a name in a run without them was cut across lines.
        for (const char *word :
             {"capital-numerals", "OpenCC 1.4.1", "LANTERNFIN_OPENCC_DIR", "hk2sp", "initials"})
            EXPECT_TRUE(help.contains(QLatin1String(word))) << word;
    }
    if (was)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST(CommandLine, HelpAndVersion) {
    const ui::Invocation help = ui::parseCommandLine({"lanternfin", "--help"});
    EXPECT_EQ(help.exitStatus, ui::kExitDone);
    for (const char *option :
         {"--toggle", "--show", "--quit", "--tray", "--clipboard <command>", "pinyin, restore", "convert:CONFIG",
          "pinyin:STYLE"})
        EXPECT_TRUE(help.output.contains(QLatin1String(option))) << option;
    EXPECT_EQ(ui::parseCommandLine({"lanternfin", "-h"}).output, help.output);
    // No word is cut across lines (Qt's wrapper once printed "capital-n" / "umerals"). Qt cuts only a
    // word longer than the description column, which then fills a line alone: no line holds a single
    // word that long, and the long names stand whole.
    for (const char *word : {"capital-numerals", "bank-round", "read-back", "money:WAY", "convert:CONFIG",
                             "pinyin:STYLE", "character"})
        EXPECT_TRUE(help.output.contains(QLatin1String(word))) << word;
    for (const QString &line : help.output.mid(help.output.indexOf("Options:")).split('\n')) {
        const QString content = line.trimmed();
        if (!content.contains(' ') && content.size() >= 40)
            ADD_FAILURE() << "a word cut across lines: " << content.toStdString();
    }
    EXPECT_EQ(ui::parseCommandLine({"lanternfin", "--help-all"}).exitStatus, ui::kExitUsage);
    const ui::Invocation version = ui::parseCommandLine({"lanternfin", "--version"});
    EXPECT_EQ(version.exitStatus, ui::kExitDone);
    EXPECT_EQ(version.output, QStringLiteral("lanternfin " LANTERNFIN_VERSION "\n"));
    EXPECT_NE(QStringLiteral(LANTERNFIN_VERSION), QStringLiteral(""));
}

} // namespace
