// The parts of the batch runner that decide without files: the classifier, converted names, the
// pieces of a split text and their refusals' line numbers, the progress line.

#include "cli/batch.h"
#include "cli/progress.h"
#include "cli/split.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

namespace {

using namespace cli;

// A line-local way for the tests: each line upper-cased in ASCII, "bad" refused as --lines does.
Transform upperLines() {
    return [](Input &in, Writer &out) -> Status {
        std::string text;
        if (!in.readAll(text))
            return readFailure(in);
        std::string refusals;
        std::size_t number = 0, start = 0;
        while (start < text.size()) {
            ++number;
            std::size_t end = text.find('\n', start);
            std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            start = end == std::string::npos ? text.size() : end + 1;
            if (line == "bad") {
                refusals += (refusals.empty() ? "" : "\n") + ("line " + std::to_string(number) + ": no result");
                line.clear();
            }
            for (char &c : line)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out.write(line + "\n");
        }
        return refusals.empty() ? Status{} : Status{kExitNoResult, refusals};
    };
}

std::string run(const Transform &t, const std::string &text, Status *status = nullptr) {
    Input in("-", text);
    std::string out;
    Writer w(out);
    const Status s = t(in, w);
    w.flush();
    if (status)
        *status = s;
    return out;
}

TEST(SplitAtLines, PiecesGiveTheWholeOutputInOrder) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line " + std::to_string(i) + (i % 7 ? " abc" : "") + "\n";
    const struct {
        const char *name;
        std::string input;
        std::size_t piece;
    } cases[] = {
        {"many pieces", text, 8000},
        {"no final line break", text + "tail", 777},
        {"one piece", text, 1 << 20},
        {"one line longer than a piece", std::string(20000, 'x') + "\n" + text, 5000},
        // past sixteen pieces without a line end, the rest streams through one job
        {"a line past sixteen pieces, first", std::string(100000, 'x') + "\n" + text, 5000},
        {"a line past sixteen pieces, later", text + std::string(100000, 'x') + "\n" + text, 5000},
        {"empty", "", 100},
        {"CRLF", "a\r\nb\r\nc\r\n", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (int jobs : {1, 2, 3}) { // one: where only one transform could be built
            std::vector<Transform> ts(static_cast<std::size_t>(jobs), upperLines());
            EXPECT_EQ(run(splitAtLines(ts, c.piece), c.input), run(upperLines(), c.input));
        }
    }
}

TEST(SplitAtLines, RefusedLinesKeepTheirNumbersInTheWholeInput) {
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += i == 7 || i == 250 ? "bad\n" : "ok\n";
    Status whole, split;
    const std::string expected = run(upperLines(), text, &whole);
    EXPECT_EQ(run(splitAtLines({upperLines(), upperLines()}, 64), text, &split), expected);
    EXPECT_EQ(split.code, kExitNoResult);
    EXPECT_EQ(split.message, whole.message);
    EXPECT_EQ(split.message, "line 7: no result\nline 250: no result");
    // and in what streams through one job after a line too long to cut
    const std::string longLine = text + std::string(5000, 'x') + "\nbad\n";
    const std::string expectedLong = run(upperLines(), longLine, &whole);
    EXPECT_EQ(run(splitAtLines({upperLines(), upperLines()}, 64), longLine, &split), expectedLong);
    EXPECT_EQ(split.message, "line 7: no result\nline 250: no result\nline 302: no result");
}

// A way that fails by throwing (out of memory, say) in one piece: the failure reaches the caller
// as it would without jobs, and no job's thread is left behind.
TEST(SplitAtLines, AFailureThrownInAPieceReachesTheCaller) {
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += i == 333 ? "throw\n" : "ok\n";
    const Transform throwing = [](Input &in, Writer &out) -> Status {
        std::string piece;
        in.readAll(piece);
        if (piece.find("throw") != std::string::npos)
            throw std::runtime_error("piece failed");
        out.write(piece);
        return {};
    };
    for (int jobs : {1, 2, 3}) {
        SCOPED_TRACE(jobs);
        std::vector<Transform> ts(static_cast<std::size_t>(jobs), throwing);
        EXPECT_THROW(run(splitAtLines(ts, 40), text), std::runtime_error);
        EXPECT_EQ(run(splitAtLines(ts, 40), "ok\nok\n" + std::string(100, 'x') + "\n"),
                  "ok\nok\n" + std::string(100, 'x') + "\n");
    }
}

TEST(SplitAtLines, CutsOnlyWhereLinesConvertAlone) {
    // An ideographic description (⿰) may take the line break after it as a part.
    EXPECT_EQ(lastSafeLineCut("ab\ncd\n"), 6u);
    EXPECT_EQ(lastSafeLineCut("ab\n⿰\ncd"), 3u);
    EXPECT_EQ(lastSafeLineCut("no line break"), 0u);
}

// A piece's refusals name its lines in the locale's language; both are moved on to the whole
// input's numbers (the Chinese ones once stayed those of the piece).
TEST(SplitAtLines, RenumbersRefusalsInEitherLanguage) {
    const struct {
        const char *message, *renumbered;
    } cases[] = {
        {"line 3: x\nother\nline 12: y", "line 13: x\nother\nline 22: y"},
        {"第 3 行：不是数字\n第 12 行：x", "第 13 行：不是数字\n第 22 行：x"},
        {"line x: y\n第 行：z\nline 4 no colon", "line x: y\n第 行：z\nline 4 no colon"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(renumberLines(c.message, 10), c.renumbered);
    }
}

TEST(ClassifyFile, ExtensionsThenContent) {
    const struct {
        const char *name;
        std::string head;
        bool whole;
        FileKind kind;
    } cases[] = {
        {"a.txt", "\xff\xfe", true, FileKind::Text}, // refused later, not copied unconverted
        {"报告.DOCX", "PK", true, FileKind::Document},
        {"archive.zip", std::string("PK\x03\x04\0\0", 6), true, FileKind::Other}, // a ZIP that is no document
        {"notes", "汉字\n", true, FileKind::Text},
        {"script.py", "print('汉字')", true, FileKind::Text},
        {"image.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10), true, FileKind::Other},
        {"latin1", "caf\xe9", true, FileKind::Other},
        {"cut", "\xe6\xb1", false, FileKind::Text}, // a sequence cut by the end of the head
        {"cut-but-whole", "\xe6\xb1", true, FileKind::Other},
        {"empty", "", true, FileKind::Other},
        {".hidden", "text", true, FileKind::Text},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(classifyFile(c.name, c.head, c.whole), c.kind);
    }
}

TEST(ConvertName, RefusesWhatCannotBeAName) {
    const Transform same = [](Input &in, Writer &out) {
        std::string s;
        in.readAll(s);
        out.write(s == "slash" ? "a/b" : s == "dot" ? "." : s == "refuse" ? "" : s + "\n");
        return s == "refuse" ? Status{kExitNoResult, "no"} : Status{};
    };
    EXPECT_EQ(convertName(same, "报告.txt"), "报告.txt"); // the line break a line way adds is dropped
    EXPECT_EQ(convertName(same, "slash"), std::nullopt);
    EXPECT_EQ(convertName(same, "dot"), std::nullopt);
    EXPECT_EQ(convertName(same, "refuse"), std::nullopt);
    // A name's own line break at its end is kept, whether or not the way adds one: it used to be
    // dropped by a way that streams, and "notes\n" was written as "notes".
    const Transform streams = [](Input &in, Writer &out) {
        std::string s;
        in.readAll(s);
        out.write(s);
        return Status{};
    };
    for (const Transform *way : {&same, &streams}) {
        EXPECT_EQ(convertName(*way, "notes\n"), "notes\n");
        EXPECT_EQ(convertName(*way, "notes"), "notes");
    }
}

// Every job's waiting files fit in the open files the process may have: 64 jobs under the usual
// desktop limit of 1,024 had asked for 3,072, and the files past the limit failed. A waiting file
// holds its folder open too.
TEST(CommitterRoom, JobsTimesFilesHeldFitTheLimit) {
    const struct {
        std::uint64_t limit;
        unsigned jobs;
        std::size_t most, atOnce;
    } cases[] = {
        {1u << 20, 1, 128, 64}, {1u << 20, 64, 128, 64}, {1024, 1, 128, 64}, {1024, 2, 128, 64},
        {1024, 8, 46, 23},      {1024, 64, 3, 1},        {64, 4, 1, 1},      {48, 2, 1, 1},
        {0, 1, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.limit) + " files, " + std::to_string(c.jobs) + " jobs");
        const CommitterRoom room = cli::committerRoom(c.limit, c.jobs);
        EXPECT_EQ(room.mostWaiting, c.most);
        EXPECT_EQ(room.atOnce, c.atOnce);
        if (c.most > 1) { // room for the rest beside what the committers hold, waiting and flushing
            EXPECT_LE(48 + c.jobs * (6 + 2 * room.mostWaiting + room.atOnce), c.limit);
        }
    }
}

TEST(ProgressLine, SaysDoneTotalRateAndTimeLeftInEitherLanguage) {
    using core::Language;
    const struct {
        ProgressSnapshot at;
        Language language;
        std::string line;
    } cases[] = {
        {{12, 2000, 50'000'000, 200'000'000, 10},
         Language::English,
         "12/2000 files, 50.0 MB of 200.0 MB, 5.0 MB/s, 0:30 left"},
        {{12, 2000, 50'000'000, 200'000'000, 10},
         Language::Chinese,
         "12/2000 个文件，50.0 MB / 200.0 MB，5.0 MB/秒，还需 0:30"},
        {{0, 0, 3'000'000, 0, 2}, Language::English, "3.0 MB, 1.5 MB/s"},
        {{0, 0, 3'000'000, 0, 2}, Language::Chinese, "3.0 MB，1.5 MB/秒"},
        {{0, 0, 0, 100, 0}, Language::English, "0.0 MB of 0.0 MB, 0.0 MB/s"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(progressLine(c.at, c.language), c.line);
    }
    EXPECT_EQ(clockText(3725), "1:02:05");
}

} // namespace
