// Runs the real lanternfin-cli binary and checks its output, errors and exit status.

#include "everyday_words.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <span>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs lanternfin-cli with `args` (shell-quoted by the caller) and `input` on stdin, in an English
// locale unless `env` sets another.
CliRun runCli(const std::string &args, const std::string &input, const std::string &env = "") {
    char inPath[] = "/tmp/lanternfin-cli-in-XXXXXX";
    char errPath[] = "/tmp/lanternfin-cli-err-XXXXXX";
    const int inFd = mkstemp(inPath);
    const int errFd = mkstemp(errPath);
    close(errFd);
    if (write(inFd, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        ADD_FAILURE() << "cannot write the input file";
    close(inFd);
    const std::string cmd =
        "LC_ALL=C.UTF-8 " + env + " " + std::string(LANTERNFIN_CLI) + " " + args + " <" + inPath + " 2>" + errPath;
    CliRun run;
    FILE *p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t got;
    while ((got = fread(buf, 1, sizeof buf, p)) > 0)
        run.out.append(buf, got);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    unlink(inPath);
    unlink(errPath);
    return run;
}

struct CliCase {
    const char *args;
    std::string input;
    std::string out;
    int status;
};

TEST(Cli, CommandsAsTheContractSays) {
    const CliCase cases[] = {
        {"money", "1005.5", "壹仟零伍圆伍角整\n", 0},
        {"money", "12\r\n34", "", 1},
        {"money", "", "", 1},
        {"money", "abc", "", 1},
        {"money", "0", "零圆整\n", 0},
        {"money", "金额：1005.5元", "壹仟零伍圆伍角整\n", 0},
        {"money", "１２３", "壹佰贰拾叁圆整\n", 0},
        {"money", "1.5万", "壹萬伍仟圆整\n", 0},
        {"money", "10亿元\n", "壹拾億圆整\n", 0},
        {"money", "1e16", "", 3},
        {"money --lines", "1\n-15\r\n1e16\n\n0.05", "壹圆整\n负拾伍圆整\n\n\n零伍分\n", 1},
        {"ratio 1 2 3", "", " 6\n", 0},
        {"ratio 4 1 -5", "", "-1.25\n", 0},
        {"ratio 0 1 2", "", "", 1},
        {"ratio 1 1e200 1e200", "", "", 1},
        {"ratio --lines", "1\t2\t3\n0\t1\t1\n4\t1\t-5\n3\t1\n1\t2\t3\t4\n", " 6\n\n-1.25\n\n\n", 1},
        {"round 0 ' 2.5'", "", "3\n", 0},
        {"round 2", " 2.675\n", "2.68\n", 0},
        {"round 1 abc", "", "", 1},
        {"round 2 --lines", " 0.125\nabc\n-1.25\n", "0.13\n\n-1.25\n", 1},
        {"round 1 --lines", "-1.25\r\n", "-1.2\n", 0},
        {"--help", "", "", 0},
        {"traditional", "简体 abc\n한😀", "簡體 abc\n한😀", 0},
        {"simplified", "簡體\r\n", "简体\r\n", 0},
        {"upper", "Abc 中文 ä", "ABC 中文 Ä", 0},
        {"lower", "Abc 中文 Ä", "abc 中文 ä", 0},
        {"pinyin", "  我爱Beijing 2008！ \n", "WoAiBeijing 2008 \n", 0},
        {"pinyin", "", "", 0},
        {"traditional --lines", "简体\r\n汉\n\nx", "簡體\n漢\n\nx\n", 0},
        {"upper --lines", "a\nb", "A\nB\n", 0},
        {"pinyin --lines", " 汉字 \n中国\r\n", "HanZi\nZhongGuo\n", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        if (std::string(c.args) != "--help") {
            EXPECT_EQ(run.out, c.out);
        }
    }
}

// The ways beside the capitals, bill dates and numerals: what each writes, and how a refusal is
// reported.
TEST(Cli, MoneyForBanks) {
    const struct {
        const char *args;
        std::string input;
        std::string out;
        std::string err; // a part of the diagnostics; empty: none at all
        int status;
    } cases[] = {
        {"money --decode", "壹仟零伍圆伍角整\n", "1005.50\n", "", 0},
        {"money --decode", "人民币负拾伍元正", "-15.00\n", "", 0},
        {"money --decode", "壹仟伍圆整", "", "lanternfin-cli: 第3个字“伍”：", 1},
        {"money --decode", "壹圆整\n贰圆整\n", "", "lanternfin-cli: 第4个字", 1},
        {"money --decode --lines", "壹圆整\n壹佰壹仟圆整\r\n\n零柒分", "1.00\n\n\n0.07\n",
         "lanternfin-cli: 第 2 行：第4个字“仟”：单位顺序不对", 1},
        {"money --verify 1005.5", "壹仟零伍元伍角", "1005.50\n", "", 0},
        {"money --verify 1,005", "壹仟伍佰圆整", "", "lanternfin-cli: 大写金额是 1500.00，不是 1005.00\n", 1},
        {"money --verify 1005 --lines", "壹仟零伍圆整\n壹仟伍佰圆整\n", "1005.00\n\n",
         "lanternfin-cli: 第 2 行：大写金额是 1500.00", 1},
        {"money --verify 1e16", "整", "", "数目太大", 3},
        {"money --style bank", "16", "壹拾陆元整\n", "", 0},
        {"money --style bank --yuan 圆", "-10.05", "负壹拾圆零伍分\n", "", 0},
        {"money --style design", "16", "拾陆圆整\n", "", 0},
        {"money --style bank --lines", "16\n1e16\n", "壹拾陆元整\n\n", "lanternfin-cli: 第 2 行：数目太大", 1},
        {"money --style bank", "100000", "壹拾万元整\n", "", 0},
        {"money --style bank", "1.5亿", "壹亿伍仟万元整\n", "", 0},
        {"money", "第3笔共1005.5元", "", "lanternfin-cli: 第5个字“1”：", 1},
        {"money", "abc", "", "lanternfin-cli: 没有可换算的数字\n", 1},
        {"numerals", "abc", "", "lanternfin-cli: 没有可换算的数字\n", 1},
        {"numerals --capitals", "5千", "", "lanternfin-cli: 第2个字“千”：", 1},
        {"numerals", "1.5万", "一万五千\n", "", 0},
        {"numerals --decode", "两千", "2000\n", "", 0},
        {"numerals --decode", "一万两千五百", "12500\n", "", 0},
        {"money --style bank", "1e16", "", "数目太大", 3},
        {"money --verify x", "整", "", "NUMBER 不是数字", 2},
        {"money --decode --style bank", "整", "", "不能与", 2},
        {"money --yuan 圆", "1", "", "需要同时给出 --style", 2},
        {"date", "出票日期：2026年1月15日\n", "贰零贰陆年零壹月壹拾伍日\n", "", 0},
        {"date", "20261020", "贰零贰陆年零壹拾月零贰拾日\n", "", 0},
        {"date", "2026-02-29", "", "lanternfin-cli: ", 1},
        {"date", "no date here", "", "lanternfin-cli: ", 1},
        {"date --lines", "2026.12.7\n2026-13-01\n\n2024/2/29", "贰零贰陆年壹拾贰月零柒日\n\n\n贰零贰肆年零贰月贰拾玖日\n",
         "lanternfin-cli: 第 2 行：", 1},
        {"numerals", "1005.5", "一千零五点五\n", "", 0},
        {"numerals --capitals", "100010", "拾万零壹拾\n", "", 0},
        {"numerals", "-0.05", "负零点零五\n", "", 0},
        {"numerals", "1e16", "", "数目太大", 3},
        {"numerals --decode", "十万零一十\n", "100010\n", "", 0},
        {"numerals --decode", "壹仟零伍点伍", "1005.5\n", "", 0},
        {"numerals --decode", "一千五", "", "lanternfin-cli: 第", 1},
        {"numerals --decode --lines", "十五\n十五十\n负零点五", "15\n\n-0.5\n", "lanternfin-cli: 第 2 行：", 1},
        {"numerals --decode --capitals", "十", "", "不能与", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args + std::string(" <<< ") + c.input);
        // The refusals as the window words them: in Chinese, under a Chinese locale.
        const CliRun run = runCli(c.args, c.input, "LC_ALL=zh_CN.UTF-8");
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

// Regression: negative amounts came out positive with exit 0, and --verify refused a NUMBER that
// money itself reads.
TEST(Cli, MoneyKeepsTheSignOrRefusesIt) {
    const CliCase cases[] = {
        {"money", "-￥1,234.56", "负壹仟贰佰叁拾肆圆伍角陆分\n", 0},
        {"money", "负1234", "负壹仟贰佰叁拾肆圆整\n", 0},
        {"money", "（1,234.50）", "负壹仟贰佰叁拾肆圆伍角整\n", 0},
        {"money --style bank", "−16", "负壹拾陆元整\n", 0},
        {"numerals", "(5)", "负五\n", 0},
        {"money", "--5", "", 1},
        {"money", "—5", "", 1},
        {"money", "(5", "", 1},
        {"money --verify 1005元", "壹仟零伍元整", "1005.00\n", 0},
        {"money --verify=-￥5", "负伍圆整", "-5.00\n", 0},
        {"money --verify 5", "负伍圆整", "", 1},
        {"money --verify 1005元5", "壹仟零伍元整", "", 2},
        {"money --decode", "人民币（大写）：壹拾万零柒仟元伍角叁分", "107000.53\n", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args + std::string(" <<< ") + c.input);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

// --lines is one rule for every command: a refused line gives an empty line and "line N: why" on
// stderr, the other lines go on, and the exit status is 1.
TEST(Cli, EveryCommandNamesTheLinesItRefuses) {
    const struct {
        const char *args;
        std::string input; // line 2 is refused
        std::string out;
    } cases[] = {
        {"money --lines", "5\nabc\n7", "伍圆整\n\n柒圆整\n"},
        {"money --lines", "5\n1e16\n7", "伍圆整\n\n柒圆整\n"},
        {"money --style bank --lines", "5\n3两\n7", "伍元整\n\n柒元整\n"},
        {"money --decode --lines", "伍圆整\n伍\n柒圆整", "5.00\n\n7.00\n"},
        {"numerals --lines", "5\n\n7", "五\n\n七\n"},
        {"numerals --decode --lines", "五\n五五\n七", "5\n\n7\n"},
        {"date --lines", "2026-1-2\nx\n2026-1-3", "贰零贰陆年零壹月零贰日\n\n贰零贰陆年零壹月零叁日\n"},
        {"ratio --lines", "1\t2\t3\n0\t1\t2\n4\t1\t-5", " 6\n\n-1.25\n"},
        {"round 1 --lines", "1.25\nabc\n2", "1.3\n\n2\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err.rfind("lanternfin-cli: line 2: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_GT(run.err.size(), std::string("lanternfin-cli: line 2: \n").size());
    }
}

TEST(Cli, LimitMessageGoesToStderr) {
    const CliRun run = runCli("money", "10000000000000000", "LC_ALL=zh_CN.UTF-8");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "数目太大，无法换算！请输入一亿亿以下的数字\n");
    EXPECT_EQ(runCli("money", "10000000000000000").err, "the amount is too large: it must be below 10^16\n");
}

TEST(Cli, InvalidUtf8IsRefusedWithNothingOnStdout) {
    for (const char *args : {"money", "money --lines", "round 0", "ratio --lines"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args, "12\n\xC3(");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "lanternfin-cli: input is not valid UTF-8\n");
    }
}

TEST(Cli, StreamingCommandsReportInvalidUtf8AfterWhatCameBefore) {
    for (const char *args : {"traditional", "simplified", "upper", "lower", "pinyin --lines"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args, "ab\xFF");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out.find('\xFF'), std::string::npos);
        EXPECT_EQ(run.err, "lanternfin-cli: input is not valid UTF-8\n");
    }
    const CliRun cut = runCli("upper", "a\xE4\xB8");
    EXPECT_EQ(cut.status, 2);
    const CliRun pinyin = runCli("pinyin", "汉字 " + std::string(3 << 20, 'a') + "\xED\xA0\x80");
    EXPECT_EQ(pinyin.status, 2);
    EXPECT_EQ(pinyin.out, "");
}

TEST(Cli, HostileInputEndsSoundly) {
    const std::string nuls("a\0\0b", 4);
    const std::string million(1'000'000, '7');
    const CliCase cases[] = {
        {"traditional", nuls, nuls, 0},
        {"simplified", nuls, nuls, 0},
        {"upper", nuls, std::string("A\0\0B", 4), 0},
        {"lower --lines", nuls + "\n", nuls + "\n", 0},
        {"pinyin", nuls, "ab", 0},
        {"money", nuls, "", 1},
        {"money", million, "", 3},
        {"money", "1e999999999", "", 3},
        {"money", "1e" + million, "", 3},
        {"money", "&H", "", 1},
        {"money", "-", "", 1},
        {"money", ".", "", 1},
        {"money --lines", million + "\n-\n.\n&H\n1e999999999\n", "\n\n\n\n\n", 1},
        {"ratio --lines", million + "\t1\t1\n2\t" + million + "\t1\n&H\t1\t1\n2\t-\t.\n", "\n\n\n\n", 1},
        {"round 0", million, "", 1},
        {"round 2", "0." + million, "0.78\n", 0},
        {"round 0 --lines", nuls + "\n&H\n-\n.\n", "\n\n\n\n", 1},
        {"traditional", std::string(3 << 20, '\0'), std::string(3 << 20, '\0'), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.out == c.out) << run.out.substr(0, 40);
    }
}

TEST(Cli, MissingDictionaryIsNamed) {
    const CliRun run = runCli("traditional", "简体");
    ASSERT_EQ(run.status, 0);
    const CliRun missing = runCli("simplified --by-character", "x", "LANTERNFIN_OPENCC_DIR=/nonexistent");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "lanternfin-cli: cannot load /nonexistent/TSCharacters.ocd2: No such file or directory\n");
}

// Regression: the calculator read b and c by their leading number, so that "x", "abc" or "NaN"
// counted as 0 and "12%", "5abc" or "1,5" as the number they start with, all with exit 0.
TEST(Cli, RatioReadsEachValueAsAWholeNumber) {
    const struct {
        const char *args;
        std::string input;
        std::string out, err;
        int status;
    } cases[] = {
        {"ratio 1 x 1", "", "", "lanternfin-cli: b is not a number\n", 1},
        {"ratio 1 1 abc", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio 1 1 ￥12", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio 1 1 NaN", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio 1 1 12%", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio 1 1 5abc", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio 3 2 1,5", "", "", "lanternfin-cli: c is not a number\n", 1},
        {"ratio '' 2 3", "", "", "lanternfin-cli: a is not a number\n", 1},
        {"ratio 0 2 3", "", "", "lanternfin-cli: no result: a is 0\n", 1},
        {"ratio 1 1e200 1e200", "", "", "lanternfin-cli: no result: out of range\n", 1},
        {"ratio 3 2 1", "", " 0.666666666666667\n", "", 0},
        {"ratio 1,000 1e3 '&H10'", "", " 16\n", "", 0},
        {"ratio -4 ' 1 ' -.5", "", " 0.125\n", "", 0},
        {"ratio --lines", "1 2 3\n1,2,3\n1, 2,\t3\n  4\t 1   -5  \n", " 6\n 6\n 6\n-1.25\n", "", 0},
        {"ratio --lines", "1 2\n1 2 3 4\n\n1,,3\n1 x 3\n2 3 4\n", "\n\n\n\n\n 6\n",
         "lanternfin-cli: line 1: needs the three values a b c, found 2\n"
         "lanternfin-cli: line 2: needs the three values a b c, found 4\n"
         "lanternfin-cli: line 3: needs the three values a b c, found 0\n"
         "lanternfin-cli: line 4: b is not a number\n"
         "lanternfin-cli: line 5: b is not a number\n",
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args + (" / " + c.input));
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

// Regression: traditional and simplified converted character by character, so that everyday words
// came out wrong (头发 -> 頭發, 乾隆 -> 干隆); they convert by phrases, --by-character as before.
TEST(Cli, TraditionalAndSimplifiedConvertByPhrases) {
    const struct {
        const char *command;
        std::span<const testsupport::EverydayWord> words;
    } commands[] = {{"traditional", testsupport::kTraditionalWords}, {"simplified", testsupport::kSimplifiedWords}};
    for (const auto &c : commands) {
        std::string in, byPhrase, byCharacter;
        for (const testsupport::EverydayWord &w : c.words) {
            in += std::string(w.word) + "\n";
            byPhrase += std::string(w.byPhrase) + "\n";
            byCharacter += std::string(w.byCharacter) + "\n";
        }
        const std::string command = c.command;
        for (const auto &[args, out] : {std::pair{command, byPhrase}, std::pair{command + " --lines", byPhrase},
                                        std::pair{command + " --by-character", byCharacter},
                                        std::pair{command + " --by-character --lines", byCharacter}}) {
            SCOPED_TRACE(args);
            const CliRun run = runCli(args, in);
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out, out);
        }
    }
}

// --lines for every text command, -- before values that start with "-", help that names what the
// commands do and take.
TEST(Cli, CommandLineKeepsItsWord) {
    const CliCase cases[] = {
        {"convert -c s2t --lines", "头发\r\n\n理发", "頭髮\n\n理髮\n", 0},
        {"convert --lines -c t2s", "乾隆", "乾隆\n", 0},
        {"round 2 -- -2.5", "", "-2.5\n", 0},
        {"round 0 -- -2.5", "", "-2\n", 0},
        {"ratio -- 4 1 -5", "", "-1.25\n", 0},
        {"ratio 4 -- 1 -5", "", "-1.25\n", 0},
        {"round 0 -- --5", "", "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
    }
    for (const char *command : {"ratio", "round"}) {
        SCOPED_TRACE(command);
        const CliRun help = runCli(std::string(command) + " --help", "");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.find("FILE..."), std::string::npos) << help.out;
        EXPECT_EQ(help.out.find("Files:"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find("Exit status:"), std::string::npos) << help.out;
    }
    const CliRun pinyin = runCli("pinyin --help", "");
    EXPECT_EQ(pinyin.out.find("the default"), std::string::npos) << pinyin.out;
    EXPECT_NE(pinyin.out.find("HanZi"), std::string::npos);
}

// Regression: messages were English in every locale, beside the Chinese of the amount refusals;
// then the amount refusals, the usage errors, the data files' reasons and the system's were
// Chinese, or English, whatever the locale. The language comes from LC_ALL, LC_MESSAGES and LANG
// alone, so these hold on a machine where no zh_* locale is installed.
TEST(Cli, MessagesFollowTheLocale) {
    const std::string badJson = (std::filesystem::temp_directory_path() /
                                 ("lanternfin-messages-" + std::to_string(getpid()) + ".json"))
                                    .string();
    std::ofstream(badJson) << "{";
    const std::string zh = "LC_ALL= LANG=zh_CN.UTF-8", c = "LC_ALL= LANG=C";
    const struct {
        std::string env;
        std::string args;
        std::string input, err;
        int status;
    } cases[] = {
        {"LC_ALL=zh_CN.UTF-8", "ratio 1 x 1", "", "lanternfin-cli: b 不是数字\n", 1},
        {"LC_ALL= LC_MESSAGES=zh_TW.UTF-8", "ratio --lines", "1 2\n",
         "lanternfin-cli: 第 1 行：需要 a b c 三个值，这里有 2 个\n", 1},
        {zh, "round 0 --lines", "x\n", "lanternfin-cli: 第 1 行：不是数字\n", 1},
        {"LC_ALL=zh_CN.UTF-8", "upper", "\xFF", "lanternfin-cli: 输入不是有效的 UTF-8\n", 2},
        {"LC_ALL=en_US.UTF-8 LANG=zh_CN.UTF-8", "ratio 1 x 1", "", "lanternfin-cli: b is not a number\n", 1},
        {"LC_ALL= LC_MESSAGES= LANG=", "ratio 0 1 1", "", "lanternfin-cli: no result: a is 0\n", 1},
        // A usage error of CLI11's, one of lanternfin-cli's own, and the usage line.
        {zh, "money --bogus", "",
         "lanternfin-cli: 多余的参数：--bogus\n用法：lanternfin-cli money [OPTIONS] [FILE...]（详见 "
         "lanternfin-cli money --help）\n",
         2},
        {c, "money --bogus", "",
         "lanternfin-cli: The following argument was not expected: --bogus\n"
         "Usage: lanternfin-cli money [OPTIONS] [FILE...]  (see lanternfin-cli money --help)\n",
         2},
        {zh, "money -o", "",
         "lanternfin-cli: --output：缺少 1 个 FILE 参数\n用法：lanternfin-cli money [OPTIONS] "
         "[FILE...]（详见 lanternfin-cli money --help）\n",
         2},
        {zh, "frobnicate", "",
         "lanternfin-cli: 没有这个命令：frobnicate\n用法：lanternfin-cli COMMAND [OPTIONS] [ARGS]（详见 "
         "lanternfin-cli --help）\n",
         2},
        // The readers' refusals, with the place and the character.
        {zh, "money", "--5", "lanternfin-cli: 第1个字“-”：正负号重复，看不出金额是正是负\n", 1},
        {c, "money", "--5",
         "lanternfin-cli: character 1 “-”: the sign is written twice: the amount may be positive or "
         "negative\n",
         1},
        {zh, "money --decode --lines", "壹仟元整\n壹仟元\n",
         "lanternfin-cli: 第 2 行：第4个字：金额不完整，缺少“整”\n", 1},
        {c, "money --decode --lines", "壹仟元整\n壹仟元\n",
         "lanternfin-cli: line 2: character 4: the amount is incomplete: “整” is missing\n", 1},
        {c, "money --verify 1,2,3x5", "壹圆整",
         "lanternfin-cli: money --verify: NUMBER is not a number: 1,2,3x5 (character 3 “2”: the text holds "
         "more than one number: it is not one clear amount)\n"
         "Usage: lanternfin-cli money [OPTIONS] [FILE...]  (see lanternfin-cli money --help)\n",
         2},
        // A data file that does not load, and the system's reason for a missing file.
        {zh, "convert --config " + badJson, "", "lanternfin-cli: 无法载入 " + badJson + "：不是 JSON\n", 2},
        {c, "convert --config " + badJson, "", "lanternfin-cli: cannot load " + badJson + ": not JSON\n", 2},
        {zh + " LANTERNFIN_DATA_DIR=/nonexistent", "pinyin --tone marks", "中",
         "lanternfin-cli: 无法载入 /nonexistent/pinyin.dat：没有那个文件或目录\n", 2},
        {zh, "upper /nonexistent/x", "", "lanternfin-cli: /nonexistent/x: 无法打开：没有那个文件或目录\n", 4},
        {c, "upper /nonexistent/x", "",
         "lanternfin-cli: /nonexistent/x: cannot open: No such file or directory\n", 4},
        // The output file's failed step, an option's value, -O's summary.
        {zh, "upper -o /nonexistent/x", "a",
         "lanternfin-cli: /nonexistent/x: 无法在它旁边创建临时文件：没有那个文件或目录\n", 4},
        {c, "upper -o /nonexistent/x", "a",
         "lanternfin-cli: /nonexistent/x: cannot create a temporary file beside it: No such file or "
         "directory\n",
         4},
        {zh, "upper --from-encoding bogus", "",
         "lanternfin-cli: --from-encoding：未知的编码 bogus（可用 "
         "UTF-8、UTF-16、UTF-16LE、UTF-16BE、GB18030、GBK、GB2312、CP936、BIG5、CP950 或 "
         "BIG5-HKSCS）\n用法：lanternfin-cli upper [OPTIONS] [FILE...]（详见 lanternfin-cli upper --help）\n",
         2},
        {zh, "upper --no-progress -O " + badJson + ".out " + badJson, "",
         "lanternfin-cli: 转换 1 个，复制 0 个，拒绝 0 个，用时 0:00\n", 0},
        {c, "upper --no-progress -O " + badJson + ".out " + badJson, "",
         "lanternfin-cli: 1 converted, 0 copied, 0 refused in 0:00\n", 0},
        {zh, "upper -O " + badJson + ".out", "",
         "lanternfin-cli: -O 需要给出要转换的文件或文件夹（不能是标准输入）\n", 2},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.env + " " + k.args);
        const CliRun run = runCli(k.args, k.input, k.env);
        EXPECT_EQ(run.err, k.err);
        EXPECT_EQ(run.status, k.status);
    }
    std::filesystem::remove(badJson);
    std::filesystem::remove_all(badJson + ".out");
}

// Regression: --help was English under a Chinese locale. Each command's help, and the
// program's, says every description in the locale's language: under zh_CN no line runs three
// English words together (option names, metavariables and examples aside).
TEST(Cli, HelpSpeaksTheLocalesLanguage) {
    const std::regex english(R"((^|[^-\w])[a-z]{2,} [a-z]{2,} [a-z]{2,}\b)");
    const struct {
        const char *command, *env;
        bool chinese;
    } cases[] = {
        {"", "LC_ALL=zh_CN.UTF-8", true},
        {"money", "LC_ALL=zh_CN.UTF-8", true},
        {"date", "LC_ALL=zh_CN.UTF-8", true},
        {"numerals", "LC_ALL=zh_CN.UTF-8", true},
        {"traditional", "LC_ALL=zh_CN.UTF-8", true},
        {"simplified", "LC_ALL=zh_CN.UTF-8", true},
        {"convert", "LC_ALL=zh_CN.UTF-8", true},
        {"upper", "LC_ALL=zh_CN.UTF-8", true},
        {"pinyin", "LC_ALL=zh_CN.UTF-8", true},
        {"ratio", "LC_ALL=zh_CN.UTF-8", true},
        {"round", "LC_ALL= LANG=zh_TW.UTF-8", true},
        {"money", "LC_ALL=C", false},
        {"ratio", "LC_ALL=C", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.env) + " " + c.command);
        const CliRun help = runCli(std::string(c.command) + " --help", "", c.env);
        EXPECT_EQ(help.status, 0);
        std::istringstream lines(help.out);
        int englishLines = 0;
        for (std::string line; std::getline(lines, line);) {
            if (!std::regex_search(line, english))
                continue;
            ++englishLines;
            if (c.chinese)
                ADD_FAILURE() << "English under a Chinese locale: " << line;
        }
        EXPECT_EQ(englishLines > 0, !c.chinese);
        // A value command's usage line names its values in either language.
        const std::string usage = std::string(c.chinese ? "用法" : "Usage") + ": lanternfin-cli " +
                                  c.command + (std::string(c.command) == "ratio" ? " [OPTIONS] A B C" : "");
        EXPECT_NE(help.out.find(usage), std::string::npos) << help.out;
    }
}

TEST(Cli, BadArgumentsPrintUsage) {
    for (const char *args : {"", "frobnicate", "ratio 1 2", "round 3 1", "round", "round x", "ratio --lines 1"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args, "");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: lanternfin-cli"), std::string::npos);
    }
    const CliRun help = runCli("--help", "");
    EXPECT_NE(help.out.find("Usage: lanternfin-cli"), std::string::npos);
}

} // namespace

namespace {

TEST(CliPinyin, ReadingOptions) {
    const CliCase cases[] = {
        {"pinyin --tone marks", "银行 Beijing 2008！\n", "yín háng Beijing 2008！\n", 0},
        {"pinyin --tone numbers", "汉字绿", "han4 zi4 lü4", 0},
        {"pinyin --tone=none", "一个", "yi ge", 0},
        {"pinyin --tone numbers --separator ''", "汉字 好了", "han4zi4 hao3le5", 0},
        {"pinyin --separator -", "汉字", "hàn-zì", 0},
        {"pinyin --initials", "汉字", "h z", 0},
        {"pinyin --initials --separator ''", "汉字", "hz", 0},
        {"pinyin --tone numbers --lines", " 汉字 \r\n中国\n", " han4 zi4 \nzhong1 guo2\n", 0},
        {"pinyin --tone numbers", "", "", 0},
        // The window's pinyin without options, as before.
        {"pinyin", "  我爱Beijing 2008！ \n", "WoAiBeijing 2008 \n", 0},
    };
    for (const CliCase &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

TEST(CliPinyin, BadReadingOptionsAndMissingData) {
    for (const char *args :
         {"pinyin --tone", "pinyin --tone loud", "pinyin --separator"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args, "汉");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
    }
    const CliRun missing = runCli("pinyin --tone marks", "汉", "LANTERNFIN_DATA_DIR=/nonexistent");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "lanternfin-cli: cannot load /nonexistent/pinyin.dat: No such file or directory\n");
    char dir[] = "/tmp/lanternfin-data-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string damaged = std::string(dir) + "/pinyin.dat";
    std::ofstream(damaged) << "LFPINYIN but not really";
    const CliRun refused = runCli("pinyin --tone marks", "汉", "LANTERNFIN_DATA_DIR=" + std::string(dir));
    unlink(damaged.c_str());
    rmdir(dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "lanternfin-cli: cannot load " + damaged + ": too short for a pinyin data file\n");
    // The window's pinyin needs no data file.
    EXPECT_EQ(runCli("pinyin", "汉", "LANTERNFIN_DATA_DIR=/nonexistent").out, "Han");
    const CliRun bad = runCli("pinyin --tone numbers", "汉字a\xFF汉");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "han4 zi4 a");
}

} // namespace

TEST(CliConvert, PhrasesStreamedWithTheProjectRules) {
    using namespace std::string_literals;
    char cache[] = "/tmp/lanternfin-cli-cache-XXXXXX";
    const std::string env = "XDG_CACHE_HOME="s + mkdtemp(cache);
    struct Case {
        const char *args;
        std::string input, out, err;
        int status;
    };
    const Case cases[] = {
        {"convert -c s2t", "头发\r\n干杯", "頭髮\r\n乾杯", "", 0},
        {"convert -c s2twp.json", "软件U盘", "軟體隨身碟", "", 0},
        {"convert --config=t2s", "頭髮", "头发", "", 0},
        {"convert -c s2t", "头发\0头发"s, "頭髮\0頭髮"s, "", 0},
        {"convert -c s2t", "头发\xff头发"s, "頭髮", "lanternfin-cli: input is not valid UTF-8\n", 2},
        {"convert -c nope", "x", "", "lanternfin-cli: cannot load /usr/share/opencc/nope.json: No such file or directory\n", 2},
        {"convert -c /nonexistent/x.json", "x", "", "lanternfin-cli: cannot load /nonexistent/x.json: No such file or directory\n", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = runCli(c.args, c.input, env);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.out == c.out) << run.out;
        EXPECT_EQ(run.err, c.err);
    }
    for (const char *args : {"convert", "convert -c", "convert s2t"}) {
        SCOPED_TRACE(args);
        const CliRun run = runCli(args, "x", env);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: lanternfin-cli"), std::string::npos);
    }
    std::filesystem::remove_all(cache);
}
