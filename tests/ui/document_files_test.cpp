// The window's file conversion without a window: names beside the original that never replace a
// file, the summary, and the files converted, refused or cancelled with nothing left behind; folders
// mirrored beside the original as lanternfin-cli -r -O mirrors them.

#include "ui/document_files.h"

#include "platform/character_maps.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using namespace ui;

TEST(ConvertedFilePath, BesideTheOriginalNamedAfterTheWayNeverOverAFile) {
    const struct {
        QString path;
        QStringList taken;
        QString expected;
    } cases[] = {
        {"/home/u/报告.docx", {}, "/home/u/报告（繁体）.docx"},
        {"/home/u/报告.docx", {"/home/u/报告（繁体）.docx"}, "/home/u/报告（繁体）(2).docx"},
        {"/home/u/报告.docx",
         {"/home/u/报告（繁体）.docx", "/home/u/报告（繁体）(2).docx"},
         "/home/u/报告（繁体）(3).docx"},
        {"/home/u/v1.2/notes", {}, "/home/u/v1.2/notes（繁体）"},
        {"/home/u/.profile", {}, "/home/u/.profile（繁体）"},
        {"/home/u/a.tar.gz", {}, "/home/u/a.tar（繁体）.gz"},
        {"报告.txt", {}, "报告（繁体）.txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QSet<QString> taken(c.taken.begin(), c.taken.end());
        EXPECT_EQ(convertedFilePath(c.path, QStringLiteral("繁体"),
                                    [&](const QString &p) { return taken.contains(p); }),
                  c.expected);
    }
    EXPECT_TRUE(convertedFilePath("/a/b.txt", QStringLiteral("繁体"), [](const QString &) {
                    return true;
                }).isEmpty());
}

TEST(ConvertedFolderPath, BesideTheFolderTheWholeNameNeverOverAFolder) {
    const struct {
        QString path;
        QStringList taken;
        QString expected;
    } cases[] = {
        {"/home/u/资料", {}, "/home/u/资料（繁体）"},
        {"/home/u/资料/", {}, "/home/u/资料（繁体）"},
        {"/home/u/资料", {"/home/u/资料（繁体）"}, "/home/u/资料（繁体）(2)"},
        {"/home/u/资料", {"/home/u/资料（繁体）", "/home/u/资料（繁体）(2)"}, "/home/u/资料（繁体）(3)"},
        {"/home/u/v1.2", {}, "/home/u/v1.2（繁体）"}, // no extension in a folder's name
        {"资料", {}, "资料（繁体）"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QSet<QString> taken(c.taken.begin(), c.taken.end());
        EXPECT_EQ(convertedFolderPath(c.path, QStringLiteral("繁体"),
                                      [&](const QString &p) { return taken.contains(p); }),
                  c.expected);
    }
    EXPECT_TRUE(
        convertedFolderPath("/a/b", QStringLiteral("繁体"), [](const QString &) { return true; }).isEmpty());
}

TEST(WayFileLabel, ButtonNamesForPlainWaysVariantNamesOtherwise) {
    const struct {
        Way way;
        QString expected;
    } cases[] = {
        {OwnWay::Traditional, "繁体"},     {OwnWay::Simplified, "简体"},
        {PhraseWay{"s2t"}, "繁体"},        {PhraseWay{"t2s"}, "简体"},
        {PhraseWay{"s2twp"}, "台湾用词"},  {PhraseWay{"s2hkp"}, "香港繁体惯用词"},
        {PhraseWay{"tw2s"}, "台湾转简体"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(wayFileLabel(c.way), c.expected);
    }
}

TEST(ConversionSummary, ListsWhatWasWrittenThenWhatWasNotAndWhy) {
    const std::vector<FileResult> results{{"/a/报告.docx", "/a/报告（繁体）.docx", {}, {}},
                                          {"/a/旧.doc", {}, "is a legacy Word document", {}}};
    const QString text = conversionSummary(results, false);
    EXPECT_LT(text.indexOf("报告（繁体）.docx"), text.indexOf("旧.doc：is a legacy Word document"));
    EXPECT_TRUE(text.contains("已写入 1 个文件"));
    EXPECT_TRUE(text.contains("未转换 1 个文件"));
    EXPECT_TRUE(conversionSummary({}, true).contains("已取消"));
    // A long list is cut where asked, saying how many more; the counts stay whole.
    std::vector<FileResult> many;
    for (int i = 0; i < 5; ++i)
        many.push_back({QStringLiteral("/a/%1.txt").arg(i), {}, "不是 UTF-8", {}});
    const QString cut = conversionSummary(many, false, 2);
    EXPECT_TRUE(cut.contains("未转换 5 个文件")) << cut.toStdString();
    EXPECT_TRUE(cut.contains("1.txt") && !cut.contains("2.txt")) << cut.toStdString();
    EXPECT_TRUE(cut.contains("另有 3 个")) << cut.toStdString();
    EXPECT_TRUE(conversionSummary(many, false).contains("4.txt"));
}

class ConvertFiles : public ::testing::Test {
protected:
    void SetUp() override {
        auto map = std::make_unique<core::CodePointMap>();
        map->set(U'软', U'軟');
        map->set(U'报', U'報');
        services.toTraditional = std::move(map);
        ASSERT_TRUE(dir.isValid());
    }
    QString write(const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QByteArray read(const QString &path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QStringList files() { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    platform::TextServices services;
    QTemporaryDir dir;
};

TEST_F(ConvertFiles, WritesBesideRefusesWithWhyAndKeepsOriginals) {
    const QString page = write("页.html", "<!DOCTYPE html><html><body><p>软件</p></body></html>");
    const QString legacy =
        write("旧.doc", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(512, '\0'));
    write("页（繁体）.html", "taken");
    bool cancelled = true;
    const auto results = convertFiles({page, legacy}, OwnWay::Traditional, services, {}, cancelled);
    EXPECT_FALSE(cancelled);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].output, dir.filePath("页（繁体）(2).html"));
    EXPECT_EQ(read(results[0].output), "<!DOCTYPE html><html><body><p>軟件</p></body></html>");
    EXPECT_EQ(read(dir.filePath("页（繁体）.html")), "taken");
    EXPECT_TRUE(results[1].output.isEmpty());
    EXPECT_TRUE(results[1].why.contains(".docx")) << results[1].why.toStdString();
    EXPECT_EQ(files(), (QStringList{"旧.doc", "页.html", "页（繁体）(2).html", "页（繁体）.html"}));
}

// 转换文件… on pages saved in GBK: written back in GBK (軟 DC9B, 報 88F3), or, labelled gb2312,
// with what GB 2312 lacks as references; a page its label contradicts is refused with why.
TEST_F(ConvertFiles, PagesInGbkComeBackInGbk) {
    const QByteArray head = "<html><head><meta charset=";
    const QByteArray body = "></head><body><p>\xC8\xED\xBC\xFE\xB1\xA8\xB8\xE6</p></body></html>"; // 软件报告
    const QString gbk = write("gbk.html", head + "gbk" + body);
    const QString gb2312 = write("gb2312.html", head + "gb2312" + body);
    const QString lying = write("lying.html", head + "gbk" + "><p>\x80\xFF</p>");
    bool cancelled = true;
    const auto results = convertFiles({gbk, gb2312, lying}, OwnWay::Traditional, services, {}, cancelled);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(read(results[0].output),
              head + "gbk></head><body><p>\xDC\x9B\xBC\xFE\x88\xF3\xB8\xE6</p></body></html>");
    EXPECT_EQ(read(results[1].output),
              head + "gb2312></head><body><p>&#x8EDF;\xBC\xFE&#x5831;\xB8\xE6</p></body></html>");
    EXPECT_TRUE(results[2].output.isEmpty());
    EXPECT_TRUE(results[2].why.contains("gbk")) << results[2].why.toStdString();
}

TEST_F(ConvertFiles, CancelledFileLeavesNothingAndTheRestAreNotStarted) {
    const QString a = write("a.txt", "软件");
    const QString b = write("b.txt", "报告");
    bool cancelled = false;
    const auto results = convertFiles(
        {a, b}, OwnWay::Traditional, services, [](int file, double) { return file == 0; }, cancelled);
    EXPECT_TRUE(cancelled);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(read(results[0].output), "軟件");
    EXPECT_EQ(files(), (QStringList{"a.txt", "a（繁体）.txt", "b.txt"}));
}

TEST_F(ConvertFiles, AWayWithoutItsDictionaryRefusesEveryFile) {
    const QString a = write("a.txt", "软件");
    bool cancelled = false;
    services.dictionaryError = core::Message::verbatim("cannot load STCharacters.txt");
    const auto results = convertFiles({a}, OwnWay::Simplified, services, {}, cancelled);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].why, "cannot load STCharacters.txt");
    EXPECT_EQ(files(), QStringList{"a.txt"});
}

namespace fs = std::filesystem;

mode_t modeOf(const fs::path &p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

TEST_F(ConvertFiles, FolderMirroredBesideItRefusalsNamedFromTheFolder) {
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "资料/子");
    testsupport::writeFile(root / "资料/a.txt", "软件");
    testsupport::writeFile(root / "资料/子/报.md", "报告");
    testsupport::writeFile(root / "资料/bad.txt", "软\xff");
    testsupport::writeFile(root / "资料/img.bin", std::string("\x89PNG\0软", 8));
    testsupport::writeFile(root / "资料/run.sh", "#!/bin/sh\n软\n");
    ::chmod((root / "资料/run.sh").c_str(), 0751);
    ::chmod((root / "资料/子").c_str(), 0750);
    fs::create_symlink("a.txt", root / "资料/link");
    ASSERT_EQ(::mkfifo((root / "资料/管道").c_str(), 0600), 0);
    fs::create_directory(root / "资料（繁体）"); // taken: never written into
    bool cancelled = true;
    const auto results = convertFiles({QString::fromStdString((root / "资料").string())}, OwnWay::Traditional,
                                      services, {}, cancelled);
    EXPECT_FALSE(cancelled);
    const fs::path out = root / "资料（繁体）(2)";
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results[0].output.toStdString(), out.string());
    EXPECT_TRUE(fs::is_empty(root / "资料（繁体）"));
    EXPECT_EQ(testsupport::readFile(out / "a.txt"), "軟件");
    EXPECT_EQ(testsupport::readFile(out / "子/报.md"), "報告");
    EXPECT_EQ(testsupport::readFile(out / "img.bin"), std::string("\x89PNG\0软", 8)); // copied, not converted
    EXPECT_EQ(testsupport::readFile(out / "run.sh"), "#!/bin/sh\n軟\n");
    EXPECT_EQ(modeOf(out / "run.sh"), 0751u);
    EXPECT_EQ(modeOf(out / "子"), 0750u);
    EXPECT_EQ(modeOf(out), modeOf(root / "资料"));
    EXPECT_EQ(fs::read_symlink(out / "link"), "a.txt");
    EXPECT_FALSE(fs::exists(out / "bad.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(out / "管道")));
    const QString summary = conversionSummary(results, cancelled);
    EXPECT_TRUE(summary.contains("资料（繁体）(2)（文件夹：转换 3 个文件，复制 1 个，链接 1 个）"))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains("资料/管道：不是文件、文件夹或链接")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("资料/bad.txt：")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("未转换 2 个文件")) << summary.toStdString();
}

TEST_F(ConvertFiles, CancelledFolderKeepsOnlyWholeFiles) {
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "资料");
    for (int i = 0; i < 6; ++i)
        testsupport::writeFile(root / "资料" / (std::to_string(i) + ".txt"), std::string(1000, 'x') + "软件");
    int calls = 0;
    bool cancelled = false;
    const auto results = convertFiles(
        {QString::fromStdString((root / "资料").string())}, OwnWay::Traditional, services,
        [&](int, double) { return ++calls < 8; }, cancelled);
    EXPECT_TRUE(cancelled);
    std::size_t written = 0;
    for (const auto &e : fs::directory_iterator(root / "资料（繁体）")) {
        SCOPED_TRACE(e.path().string());
        EXPECT_EQ(testsupport::readFile(e.path()), std::string(1000, 'x') + "軟件"); // no temporary, no half
        ++written;
    }
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, 6u);
    EXPECT_TRUE(conversionSummary(results, cancelled).contains("已取消"))
        << conversionSummary(results, cancelled).toStdString();
}

TEST_F(ConvertFiles, FolderCancelledWhileCopyingLeavesNoPartOfTheCopy) {
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "资料");
    testsupport::writeFile(root / "资料/big.bin", std::string(3 << 20, '\0')); // copied in blocks
    int calls = 0;
    bool cancelled = false;
    const auto results = convertFiles({QString::fromStdString((root / "资料").string())}, OwnWay::Traditional,
                                      services, [&](int, double) { return ++calls < 4; }, cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(fs::is_empty(root / "资料（繁体）")); // neither the file nor its temporary
}

// Both trees alike: the same entries, links with the same text, files with the same bytes and modes.
void expectSameTree(const fs::path &a, const fs::path &b) {
    std::vector<fs::path> left, right;
    for (const auto &e : fs::recursive_directory_iterator(a))
        left.push_back(e.path().lexically_relative(a));
    for (const auto &e : fs::recursive_directory_iterator(b))
        right.push_back(e.path().lexically_relative(b));
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    ASSERT_EQ(left, right);
    for (const fs::path &p : left) {
        SCOPED_TRACE(p.string());
        EXPECT_EQ(modeOf(a / p), modeOf(b / p));
        if (fs::is_symlink(a / p)) {
            EXPECT_EQ(fs::read_symlink(a / p), fs::read_symlink(b / p));
        } else if (fs::is_regular_file(a / p)) {
            EXPECT_EQ(testsupport::readFile(a / p), testsupport::readFile(b / p));
        }
    }
}

TEST(ConvertFolder, GivesTheMirrorOfTheCommandLine) {
    platform::TextServices services = platform::loadTextServices(platform::openccDataDir());
    ASSERT_TRUE(services.toTraditional);
    testsupport::TempDir f("lanternfin-window-folder");
    fs::create_directories(f / "资料/sub/deep");
    testsupport::writeFile(f / "资料/a.txt", "简体字，银行行长。\n汉语 ABC 123\n");
    testsupport::writeFile(f / "资料/sub/b.md", "# 发展经济\n重要的数据\n");
    testsupport::writeFile(f / "资料/sub/deep/notes", "没有扩展名的中文文本\n");
    testsupport::writeFile(f / "资料/page.html",
                           "<html><head><title>简体</title></head><body><p>软件</p></body></html>");
    testsupport::writeFile(f / "资料/img.bin", std::string("\x89PNG\0\0简体\xff", 12));
    testsupport::writeFile(f / "资料/bad.txt", "好\xff\n");
    fs::copy_file(LANTERNFIN_DOCUMENT_TEST_DATA "/sample-lo.docx", f / "资料/报告.docx");
    testsupport::writeFile(f / "资料/run.sh", "#!/bin/sh\necho 汉字\n");
    ::chmod((f / "资料/run.sh").c_str(), 0755);
    ::chmod((f / "资料/sub").c_str(), 0750);
    fs::create_symlink("a.txt", f / "资料/link");
    fs::create_symlink("/etc/passwd", f / "资料/outside");
    const struct {
        Way way;
        const char *command;
        const char *label;
    } cases[] = {{OwnWay::Traditional, "traditional --by-character", "繁体"},
                 {PhraseWay{"s2twp"}, "convert -c s2twp", "台湾用词"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        bool cancelled = false;
        const auto results =
            convertFiles({QString::fromStdString((f / "资料").string())}, c.way, services, {}, cancelled);
        const std::string shell = "cd '" + f.str() + "' && '" LANTERNFIN_CLI "' " + c.command +
                                  " --no-progress -r 资料 -O cli 2>/dev/null";
        EXPECT_EQ(WEXITSTATUS(std::system(shell.c_str())), 1); // bad.txt refused by both
        ASSERT_FALSE(results.empty());
        EXPECT_EQ(results[0].output.toStdString(), (f / ("资料（" + std::string(c.label) + "）")).string());
        expectSameTree(f / "cli/资料", results[0].output.toStdString());
        fs::remove_all(f / "cli");
        fs::remove_all(results[0].output.toStdString());
    }
}

} // namespace
