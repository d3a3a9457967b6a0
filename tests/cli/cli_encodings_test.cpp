// lanternfin-cli on files in UTF-16, GB18030 and Big5, and on subtitle files. The files are made
// and checked with iconv, an encoder other than the program's.

#include "cli_run.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <vector>

namespace {

using testsupport::readFile;

struct Folder : testsupport::TempDir {
    Folder() : TempDir("lanternfin-encodings") {}
};

using ShellRun = testsupport::CliRun;

// Runs `shell` with /bin/sh in `folder`, the program as $CLI.
ShellRun runShell(const Folder &folder, const std::string &shell) {
    return testsupport::runCli(folder, shell);
}

// Shell filters from UTF-8 to each encoding as files hold it (dash's printf takes octal escapes).
constexpr const char *kToGb18030 = "iconv -t GB18030";
constexpr const char *kToGbk = "iconv -t GBK"; // glibc's GBK writes € as 80, as Windows does
constexpr const char *kToGbkAndPair = "{ iconv -t GBK; printf '\\242\\343'; }"; // and one € as A2 E3
constexpr const char *kToBig5 = "iconv -t BIG5";
constexpr const char *kToUtf16Le = "{ printf '\\377\\376'; iconv -t UTF-16LE; }";
constexpr const char *kToUtf16Be = "{ printf '\\376\\377'; iconv -t UTF-16BE; }";
constexpr const char *kToUtf8Bom = "{ printf '\\357\\273\\277'; cat; }";
constexpr const char *kAsIs = "cat";

constexpr const char *kSimplified = "简体中文的报告，说明这个问题。\\r\\n第二行：我们明天开会。\\r\\n";
constexpr const char *kTraditional = "簡體中文的報告，說明這個問題。\\r\\n第二行：我們明天開會。\\r\\n";

// Runs `command` on in.txt, made of `input` through `inputFilter`; what it writes to standard
// output is in got.txt, and `output` through `outputFilter` in want.txt. One shell per case.
ShellRun runCase(const Folder &folder, const std::string &input, const char *inputFilter,
                 const std::string &command, const std::string &output, const char *outputFilter) {
    return runShell(folder, "printf '" + output + "' | " + outputFilter + " >want.txt && printf '" + input +
                                "' | " + inputFilter + " >in.txt && " + command + " >got.txt");
}

struct RoundTrip {
    const char *what;
    const char *input;
    const char *inputFilter;
    const char *command; // on in.txt, to standard output
    const char *output;
    const char *outputFilter;
};

void expectRoundTrips(const std::vector<RoundTrip> &cases) {
    Folder folder;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ShellRun run = runCase(folder, c.input, c.inputFilter, c.command, c.output, c.outputFilter);
        const bool refusesALine = std::string_view(c.command).find("--lines") != std::string_view::npos;
        EXPECT_EQ(run.status, refusesALine ? 1 : 0) << run.err;
        EXPECT_EQ(readFile(folder / "got.txt"), readFile(folder / "want.txt"));
    }
}

TEST(CliEncodings, EveryRouteWritesBackInTheInputsEncoding) {
    expectRoundTrips({
        {"GB18030", kSimplified, kToGb18030, "$CLI traditional in.txt", kTraditional, kToGb18030},
        {"GB18030 through standard input", kSimplified, kToGb18030, "$CLI traditional <in.txt", kTraditional,
         kToGb18030},
        {"GB18030 in place", kSimplified, kToGb18030, "$CLI traditional --in-place in.txt && cat in.txt",
         kTraditional, kToGb18030},
        {"GB18030 to -o", kSimplified, kToGb18030, "$CLI convert -c t2s -o out.txt in.txt && cat out.txt",
         kSimplified, kToGb18030},
        {"pinyin of a GBK file", "汉字\\n", kToGb18030, "$CLI pinyin --from-encoding GBK in.txt", "HanZi\\n",
         kAsIs},
        {"one refused line of money in GBK", "１２元\\n金额\\n", kToGb18030,
         "$CLI money --lines --from-encoding gbk in.txt", "拾贰圆整\\n\\n", kToGb18030},
        // ASCII alone, and an empty file, read the same in GBK: joined with it, they take it on
        {"GBK joined with ASCII and nothing", kSimplified, kToGb18030,
         "printf 'abc\\n' >a.txt && : >e.txt && $CLI traditional a.txt in.txt e.txt in.txt",
         "abc\\n簡體中文的報告，說明這個問題。\\r\\n第二行：我們明天開會。\\r\\n"
         "簡體中文的報告，說明這個問題。\\r\\n第二行：我們明天開會。\\r\\n",
         kToGb18030},
    });
}

TEST(CliEncodings, ResultsGoBackInTheInputsEncodingWithLineEndsKept) {
    expectRoundTrips({
        {"traditional text in GB18030", kTraditional, kToGb18030, "$CLI simplified in.txt", kSimplified,
         kToGb18030},
        {"Big5", "abc 文件\\r\\n", kToBig5, "$CLI upper --from-encoding big5 in.txt", "ABC 文件\\r\\n",
         kToBig5},
        {"Big5 detected", kTraditional, kToBig5, "$CLI lower in.txt", kTraditional, kToBig5},
        {"Big5 to UTF-8", kTraditional, kToBig5, "$CLI simplified --to-encoding UTF-8 in.txt", kSimplified,
         kAsIs},
        {"UTF-8 to Big5", kSimplified, kAsIs, "$CLI traditional --to-encoding big5 in.txt", kTraditional,
         kToBig5},
        {"UTF-16LE with its mark", kSimplified, kToUtf16Le, "$CLI traditional in.txt", kTraditional,
         kToUtf16Le},
        {"UTF-16BE with its mark", kSimplified, kToUtf16Be, "$CLI traditional in.txt", kTraditional,
         kToUtf16Be},
        {"UTF-16 to GB18030", kSimplified, kToUtf16Be, "$CLI traditional --to-encoding GBK in.txt",
         kTraditional, kToGb18030},
        {"UTF-8 with its mark", kSimplified, kToUtf8Bom, "$CLI traditional in.txt", kTraditional, kToUtf8Bom},
        {"UTF-8 with its mark, UTF-8 named", kSimplified, kToUtf8Bom, "$CLI traditional --to-encoding utf-8 in.txt",
         kTraditional, kToUtf8Bom},
        {"UTF-8 to UTF-16", kSimplified, kAsIs, "$CLI traditional --to-encoding UTF-16 in.txt", kTraditional,
         kToUtf16Le},
        {"a short GBK text named", "中文\\n", kToGb18030, "$CLI traditional --from-encoding GB18030 in.txt",
         "中文\\n", kToGb18030},
    });
}

// A price list in euros, as Chinese Windows saves it (ANSI: € is the byte 80) or in GB18030 (A2 E3).
constexpr const char *kPrices = "简体中文的报告，说明这个问题。\\r\\n价格：5€，运费 2€。\\r\\n";
constexpr const char *kPricesOut = "簡體中文的報告，說明這個問題。\\r\\n價格：5€，運費 2€。\\r\\n";
constexpr const char *kPricesAndPair = "簡體中文的報告，說明這個問題。\\r\\n價格：5€，運費 2€。\\r\\n€";

TEST(CliEncodings, TheEuroComesBackAsTheFileWroteIt) {
    expectRoundTrips({
        {"GBK's 80 kept, the Chinese converted", kPrices, kToGbk, "$CLI traditional in.txt", kPricesOut,
         kToGbk},
        {"GBK's 80 kept in place", kPrices, kToGbk, "$CLI traditional -i in.txt && cat in.txt", kPricesOut,
         kToGbk},
        {"GB18030's A2 E3 kept", kPrices, kToGb18030, "$CLI traditional in.txt", kPricesOut, kToGb18030},
        {"A2 E3 kept, GBK named", kPrices, kToGb18030, "$CLI traditional --from-encoding GBK in.txt",
         kPricesOut, kToGb18030},
        {"80 kept, GB18030 named", kPrices, kToGbk, "$CLI traditional --from-encoding gb18030 in.txt",
         kPricesOut, kToGbk},
        {"a short price list, named", "价格 5€\\n", kToGbk, "$CLI traditional --from-encoding CP936 in.txt",
         "價格 5€\\n", kToGbk},
        {"80 to GB18030", kPrices, kToGbk, "$CLI traditional --to-encoding GB18030 in.txt", kPricesOut,
         kToGb18030},
        {"A2 E3 to GBK", kPrices, kToGb18030, "$CLI traditional --to-encoding GBK in.txt", kPricesOut,
         kToGbk},
        {"80 to UTF-8", kPrices, kToGbk, "$CLI traditional --to-encoding UTF-8 in.txt", kPricesOut, kAsIs},
        {"UTF-8 to GB2312, as Windows writes it", kPrices, kAsIs,
         "$CLI traditional --to-encoding GB2312 in.txt", kPricesOut, kToGbk},
        {"both ways and nothing to change: kept", kPricesAndPair, kToGbkAndPair, "$CLI traditional in.txt",
         kPricesAndPair, kToGbkAndPair},
        {"both ways to GB18030", kPrices, kToGbkAndPair, "$CLI traditional --to-encoding GB18030 in.txt",
         kPricesAndPair, kToGb18030},
    });
}

TEST(CliEncodings, RefusalsNameWhyAndWriteNothing) {
    Folder folder;
    const struct {
        const char *what;
        const char *make; // shell that makes in.txt
        const char *command;
        int status;
        const char *message;
    } cases[] = {
        {"a simplified character has no code in Big5",
         "printf 'ABC 中文。\\r\\n說明這個。\\r\\n' | iconv -t BIG5", "$CLI simplified --in-place in.txt", 1,
         "lanternfin-cli: in.txt: line 2: 说 (U+8BF4) has no code in BIG5; nothing written"},
        {"too short to tell", "printf '\\326\\320\\n'", "$CLI traditional -o out.txt in.txt", 1,
         "lanternfin-cli: cannot tell the encoding of in.txt: use --from-encoding GB18030, BIG5 or UTF-8\n"},
        {"both readings as plausible",
         "printf '\\260\\241\\261\\242\\262\\243\\263\\244\\264\\245\\265\\246'",
         "$CLI convert -c s2t --in-place in.txt", 1,
         "lanternfin-cli: cannot tell the encoding of in.txt: use --from-encoding GB18030, BIG5 or UTF-8\n"},
        // GB18030 一 is D2 BB, valid UTF-8 for the Cyrillic һ: taken for UTF-8, upper case made it Һ
        // (D2 BA), which is 液.
        {"GB18030 that is valid UTF-8 too", "printf '\\322\\273\\n'", "$CLI upper --in-place in.txt", 1,
         "lanternfin-cli: cannot tell the encoding of in.txt: use --from-encoding GB18030, BIG5 or UTF-8\n"},
        {"standard input too short to tell", "printf '\\326\\320'", "$CLI upper <in.txt", 1,
         "lanternfin-cli: cannot tell the encoding of standard input: use --from-encoding GB18030, BIG5 or "
         "UTF-8\n"},
        {"neither text nor Chinese", "printf '\\244\\012\\244\\012'", "$CLI lower -o out.txt in.txt", 2,
         "lanternfin-cli: in.txt: input is not valid UTF-8\n"},
        {"odd UTF-16", "printf 'abc'", "$CLI lower --from-encoding UTF-16 --in-place in.txt", 4,
         "lanternfin-cli: in.txt: is not valid UTF-16LE (byte 2)\n"},
        {"invalid GB18030 named", "printf 'ab\\326\\320\\377'",
         "$CLI lower --from-encoding GB18030 -o out.txt in.txt", 4,
         "lanternfin-cli: in.txt: is not valid GB18030 (byte 4)\n"},
        {"€ both ways, with text to change",
         "{ printf '简体中文的报告，说明这个问题。\\r\\n价格 5€。\\n' | iconv -t GBK; printf '\\242\\343'; }",
         "$CLI traditional --in-place in.txt", 1,
         "lanternfin-cli: in.txt: writes € both as 80 (byte 38) and as A2 E3 (byte 42), and cannot be "
         "written back with both; nothing written (--to-encoding GBK writes each € as 80, GB18030 as A2 "
         "E3)\n"},
        {"an unknown encoding", "printf 'ab'", "$CLI lower --to-encoding latin1 -o out.txt in.txt", 2,
         "--to-encoding: unknown encoding latin1"},
        // GBK named for the output is code page 936, which reads no four-byte GB18030 code
        {"a character only GB18030 codes, GBK named", "printf 'caf\\303\\251 \\347\\256\\200\\n'",
         "$CLI upper --to-encoding gbk -o out.txt in.txt", 1,
         "lanternfin-cli: in.txt: line 1: É (U+00C9) has no code in GBK; nothing written"},
        // and so is GBK named for the input, written back in it: Ǚ was written as 81 30 A0 31
        {"a character only GB18030 codes, written back in GBK", "printf 'L\\250\\267 \\302\\300\\n'",
         "$CLI upper --from-encoding CP936 -o out.txt in.txt", 1,
         "lanternfin-cli: in.txt: line 1: Ǚ (U+01D9) has no code in GBK; nothing written"},
        // inputs joined into one output in two encodings made a file no encoding reads
        {"joined in two encodings",
         "printf '\\347\\256\\200\\344\\275\\223\\n' >u.txt && printf '简体中文的报告，说明这个问题。\\n' | "
         "iconv -t GBK >g.txt && cat u.txt",
         "$CLI traditional u.txt in.txt g.txt -o out.txt", 1,
         "lanternfin-cli: g.txt: its text would be written in GB18030 after output in UTF-8"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ShellRun run =
            runShell(folder, std::string(c.make) + " >in.txt && cp in.txt before.txt && rm -f out.txt && " +
                                 c.command);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readFile(folder / "in.txt"), readFile(folder / "before.txt"));
        EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
    }
}

// Big5 reads two codes as one character in places (A2CC and A451 both 十, A2A4 and F9F9 both ═,
// F9FA as ╭ of either table): written back from the character, the box drawing of a text changed
// though nothing converted it. What the conversion leaves keeps the file's bytes; only a character
// that changes is written anew. (The bytes: ═ ═ 〸 〹 ╭ 十 and "abc 中文", 中文 A4A4 A4E5.)
TEST(CliEncodings, Big5KeepsTheBytesOfWhatNoConversionChanged) {
    Folder folder;
    const std::string box = "\\242\\244\\371\\371\\242\\314\\242\\316\\371\\372\\244\\121";
    const std::string text = box + " abc \\244\\244\\244\\345\\n" + box + "\\n";
    const struct {
        const char *what;
        std::string command;
        std::string expected; // printf's escapes
    } cases[] = {
        {"nothing to change", "$CLI traditional --from-encoding big5 in.txt", text},
        {"in place", "$CLI convert -c t2tw --from-encoding big5 -i in.txt && cat in.txt", text},
        {"letters changed around it", "$CLI upper --from-encoding big5 in.txt",
         box + " ABC \\244\\244\\244\\345\\n" + box + "\\n"},
        {"a folder", "$CLI upper --from-encoding big5 -O out -r in.txt 2>/dev/null && cat out/in.txt",
         box + " ABC \\244\\244\\244\\345\\n" + box + "\\n"},
        // between phrases that change, one of another length: U盤 (55 BD4C) becomes 隨身碟 (C048
        // A8AD BAD0), 鼠標 (B9AB BCD0) 滑鼠 (B7C6 B9AB)
        {"between phrases of another length",
         "printf 'U\\275\\114" + box + "\\271\\253\\274\\320\\n' >>in.txt && $CLI convert -c s2twp --from-encoding big5 in.txt",
         text + "\\300\\110\\250\\255\\272\\320" + box + "\\267\\306\\271\\253\\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ShellRun run = runShell(folder, "rm -rf out; printf '" + text + "' >in.txt && printf '" + c.expected +
                                                  "' >want.txt && " + c.command + " >got.txt");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(folder / "got.txt"), readFile(folder / "want.txt"));
    }
}

TEST(CliEncodings, SubtitlesHaveOnlyTheirCueTextConverted) {
    Folder folder;
    const struct {
        const char *what;
        const char *input;
        const char *filter;
        const char *command;
        const char *output;
    } cases[] = {
        {"SubRip: numbers, timings and tags kept",
         "1\\r\\n00:00:01,000 --> 00:00:02,000\\r\\n<i>简体</i>字幕\\r\\n", kAsIs, "$CLI traditional in.txt",
         "1\\r\\n00:00:01,000 --> 00:00:02,000\\r\\n<i>簡體</i>字幕\\r\\n"},
        {"SubRip in upper case: tags and {\\\\i1} kept",
         "1\\n00:00:01,000 --> 00:00:02,000\\n{\\\\i1}<font color=red>ok</font>&amp;\\n", kAsIs,
         "$CLI upper in.txt",
         "1\\n00:00:01,000 --> 00:00:02,000\\n{\\\\i1}<font color=red>OK</font>&amp;\\n"},
        {"WebVTT by phrases", "WEBVTT\\n\\nNOTE 内存\\n\\n00:01.000 --> 00:02.000\\n内存不足\\n", kAsIs,
         "$CLI convert -c s2twp in.txt",
         "WEBVTT\\n\\nNOTE 内存\\n\\n00:01.000 --> 00:02.000\\n記憶體不足\\n"},
        {"ASS in GB18030: styles, names and {\\\\fn黑体} kept",
         "[Script Info]\\nTitle: 标题\\n\\n[V4+ Styles]\\nStyle: 默认,黑体,20\\n\\n[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,默认,张三,0,0,0,,{\\\\fn黑体}简体\\\\N说明\\n",
         kToGb18030, "$CLI traditional in.txt | iconv -f GB18030",
         "[Script Info]\\nTitle: 标题\\n\\n[V4+ Styles]\\nStyle: 默认,黑体,20\\n\\n[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,默认,张三,0,0,0,,{\\\\fn黑体}簡體\\\\N說明\\n"},
        // A phrase that karaoke tags or formatting part is converted whole: 理{\k30}发 was 理發.
        {"ASS karaoke by phrases",
         "[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\\\k30}皇{\\\\k30}后{\\\\k30}去{\\\\k30}理{\\\\k30}发"
         "{\\\\k30}店\\\\N头{\\\\i1}发\\n",
         kAsIs, "$CLI traditional in.txt",
         "[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\\\k30}皇{\\\\k30}后{\\\\k30}去{\\\\k30}理{\\\\k30}髮"
         "{\\\\k30}店\\\\N頭{\\\\i1}髮\\n"},
        {"SubRip tags by phrases, not across lines",
         "1\\n00:00:01,000 --> 00:00:02,000\\n<font color=red>皇</font>后去<i>理</i>发店\\n<i>头</i>\\n发\\n",
         kAsIs, "$CLI convert -c s2twp in.txt",
         "1\\n00:00:01,000 --> 00:00:02,000\\n<font "
         "color=red>皇</font>后去<i>理</i>髮店\\n<i>頭</i>\\n發\\n"},
        {"WebVTT karaoke timestamps by phrases", "WEBVTT\\n\\n00:01.000 --> 00:02.000\\n理<00:01.500>发\\n",
         kAsIs, "$CLI traditional in.txt", "WEBVTT\\n\\n00:01.000 --> 00:02.000\\n理<00:01.500>髮\\n"},
        // Karaoke syllables read in their word, each in its piece: 理{\k30}发 was lǐ fā.
        {"ASS karaoke pinyin by words",
         "[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\\\k30}理{\\\\k30}发{\\\\k30}店\\\\N发了\\n",
         kAsIs, "$CLI pinyin --tone numbers in.txt",
         "[Events]\\nDialogue: "
         "0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\\\k30}li3{\\\\k30}fa4{\\\\k30}dian4\\\\Nfa1 le5\\n"},
        {"SubRip pinyin by words", "1\\n00:00:01,000 --> 00:00:02,000\\n<b>银</b>行\\n", kAsIs,
         "$CLI pinyin --tone marks in.txt", "1\\n00:00:01,000 --> 00:00:02,000\\n<b>yín</b>háng\\n"},
        {"not subtitles with --lines", "1\\n00:00:01,000 --> 00:00:02,000\\n简体\\n", kAsIs,
         "$CLI traditional --lines in.txt", "1\\n00:00:01,000 --> 00:00:02,000\\n簡體\\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ShellRun run = runCase(folder, c.input, c.filter, c.command, c.output, kAsIs);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(folder / "got.txt"), readFile(folder / "want.txt"));
    }
}

} // namespace
