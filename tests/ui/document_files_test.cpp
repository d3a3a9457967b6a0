// The window's file conversion without a window: names beside the original that never replace a
// file, the summary, and the files converted, refused or cancelled with nothing left behind.

#include "ui/document_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

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
    const std::vector<FileResult> results{{"/a/报告.docx", "/a/报告（繁体）.docx", {}},
                                          {"/a/旧.doc", {}, "is a legacy Word document"}};
    const QString text = conversionSummary(results, false);
    EXPECT_LT(text.indexOf("报告（繁体）.docx"), text.indexOf("旧.doc：is a legacy Word document"));
    EXPECT_TRUE(text.contains("已写入 1 个文件"));
    EXPECT_TRUE(text.contains("未转换 1 个文件"));
    EXPECT_TRUE(conversionSummary({}, true).contains("已取消"));
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
    services.dictionaryError = "cannot load STCharacters.txt";
    const auto results = convertFiles({a}, OwnWay::Simplified, services, {}, cancelled);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].why, "cannot load STCharacters.txt");
    EXPECT_EQ(files(), QStringList{"a.txt"});
}

} // namespace
