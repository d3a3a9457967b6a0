// lanternfin-cli on documents: told by content, converted whole, refused with the file named and
// the documented exit status, nothing written on failure; text still goes the text path.

#include "temp_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

struct CliRun {
    int status = -1;
    std::string err;
};

CliRun run(const fs::path &folder, const std::string &arguments) {
    // Messages in English, whatever the locale the tests run in.
    const std::string cmd = "cd '" + folder.string() + "' && LC_ALL=C.UTF-8 '" LANTERNFIN_CLI "' " +
                            arguments + " </dev/null >.stdout 2>.stderr";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(folder / ".stderr")};
}

fs::path fixture(const char *name) {
    return fs::path(LANTERNFIN_DOCUMENT_TEST_DATA) / name;
}

TEST(CliDocuments, CommandsConvertDocumentsToldByTheirContent) {
    testsupport::TempDir dir("lanternfin-docs");
    // A .docx under a name that says nothing: the content decides.
    fs::copy_file(fixture("sample-lo.docx"), dir.path / "report");
    for (const char *arguments : {"convert -c s2t report -o out.docx", "traditional report -o out.docx",
                                  "lower report -o out.docx"}) {
        SCOPED_TRACE(arguments);
        fs::remove(dir.path / "out.docx");
        const CliRun r = run(dir.path, arguments);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = readFile(dir.path / "out.docx");
        EXPECT_EQ(out.substr(0, 4), "PK\x03\x04");
        EXPECT_TRUE(out != readFile(dir.path / "report")) << "nothing converted";
    }
    // Already simplified: comes back byte for byte, in place too.
    fs::copy_file(fixture("sample-lo.docx"), dir.path / "same.docx");
    EXPECT_EQ(run(dir.path, "simplified --in-place same.docx").status, 0);
    EXPECT_EQ(readFile(dir.path / "same.docx"), readFile(fixture("sample-lo.docx")));
}

// A package goes straight into -o's temporary file, or into a file of its own that is then copied
// to standard output, a file or a pipe: the same bytes everywhere, and none on failure.
TEST(CliDocuments, StandardOutputGetsTheSamePackageAndNothingOnFailure) {
    testsupport::TempDir dir("lanternfin-docs");
    fs::copy_file(fixture("sample-lo.docx"), dir.path / "report.docx");
    const std::string docx = readFile(dir.path / "report.docx");
    writeFile(dir.path / "cut.docx", docx.substr(0, docx.size() / 2));
    ASSERT_EQ(run(dir.path, "traditional report.docx -o out.docx").status, 0);
    const std::string expected = readFile(dir.path / "out.docx");
    ASSERT_TRUE(expected != docx);
    const struct {
        const char *input;
        bool pipe; // standard output a pipe, else a regular file
        bool written;
    } cases[] = {
        {"report.docx", false, true},
        {"report.docx", true, true},
        {"cut.docx", false, false},
        {"cut.docx", true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.input) + (c.pipe ? " | cat" : ""));
        const std::string pipe = "cd '" + dir.path.string() + "' && LC_ALL=C.UTF-8 '" LANTERNFIN_CLI
                                 "' traditional " + c.input + " </dev/null 2>.stderr | cat >.stdout";
        if (c.pipe)
            EXPECT_EQ(std::system(pipe.c_str()), 0);
        else
            EXPECT_EQ(run(dir.path, std::string("traditional ") + c.input).status, c.written ? 0 : 4);
        EXPECT_TRUE(readFile(dir.path / ".stdout") == (c.written ? expected : std::string()));
        EXPECT_EQ(readFile(dir.path / ".stderr").empty(), c.written) << readFile(dir.path / ".stderr");
    }
}

TEST(CliDocuments, RefusalsNameTheFileAndWriteNothing) {
    testsupport::TempDir dir("lanternfin-docs");
    std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole += std::string(512, '\0');
    for (char c : std::string("WordDocument"))
        ole += std::string{c, '\0'};
    writeFile(dir.path / "old.doc", ole);
    const std::string docx = readFile(fixture("sample-lo.docx"));
    writeFile(dir.path / "cut.docx", docx.substr(0, docx.size() / 2));
    writeFile(dir.path / "good.docx", docx);
    writeFile(dir.path / "a.txt", "汉字\n");
    const struct {
        const char *arguments;
        int status;
        const char *says;
    } cases[] = {
        {"convert -c s2t old.doc -o out", 4,
         "old.doc: is a legacy Word document (.doc), which cannot be converted: open it and save it as "
         ".docx"},
        {"traditional cut.docx -o out", 4, "cut.docx: not a ZIP archive"},
        {"convert -c s2t --in-place old.doc", 4, "old.doc: is a legacy Word document"},
        // Two inputs joined into one file: a document among them would come out broken.
        {"traditional a.txt good.docx -o out", 2, "good.docx: is a document, which cannot be joined"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun r = run(dir.path, c.arguments);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.path / "out"));
        EXPECT_EQ(readFile(dir.path / "old.doc"), ole);
    }
}

TEST(CliDocuments, FontsNeedAConfigurationThatSaysItsDirection) {
    testsupport::TempDir dir("lanternfin-docs");
    writeFile(dir.path / "a.txt", "软件");
    EXPECT_EQ(run(dir.path, "convert -c s2twp --fonts a.txt").status, 0);
    EXPECT_EQ(run(dir.path, "convert -c s2t --fonts a.txt").status, 0);
    const CliRun r = run(dir.path, "convert -c jp2t --fonts a.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("which way the script goes"), std::string::npos) << r.err;
}

// --lines converts text line by line; a document has no lines, so it is refused rather than
// converted whole behind the option's back, and nothing is written.
TEST(CliDocuments, LinesRefusesDocuments) {
    testsupport::TempDir dir("lanternfin-doc-lines");
    fs::copy_file(fixture("sample-lo.docx"), dir.path / "report.docx");
    for (const char *arguments :
         {"convert -c s2t --lines report.docx -o out.docx", "traditional --lines report.docx -o out.docx",
          "simplified --by-character --lines report.docx -o out.docx",
          "upper --lines report.docx -o out.docx"}) {
        SCOPED_TRACE(arguments);
        const CliRun r = run(dir.path, arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "lanternfin-cli: report.docx: is a document, converted whole: --lines converts text "
                         "only, line by "
                         "line (leave it out)\n");
        EXPECT_FALSE(fs::exists(dir.path / "out.docx"));
    }
}

} // namespace
