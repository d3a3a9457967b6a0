#include "core/document/format.h"
#include "core/phrase_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace core::document;

TEST(SniffFormat, TellsTheFormatFromTheFirstBytes) {
    const struct {
        std::string head;
        Format expected;
    } cases[] = {
        {std::string("PK\x03\x04\x14\x00", 6), Format::Zip},
        {std::string("PK\x05\x06", 4), Format::Zip}, // an empty archive
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10), Format::Ole},
        {"<!DOCTYPE html>\n<html><body>软件</body></html>", Format::Html},
        {"\xEF\xBB\xBF  <HTML lang=zh>", Format::Html},
        {"<!-- saved -->\n<html>", Format::Html},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">",
         Format::Xhtml},
        {"<?xml version=\"1.0\"?><note>软件</note>", Format::PlainText}, // XML that is no page
        {"WEBVTT\n\n00:01.000 --> 00:04.000\n软件", Format::WebVtt},
        {"WEBVTTX", Format::PlainText},
        {"[Script Info]\nTitle: 软件\n", Format::Ass},
        {"\n1\n00:00:01,600 --> 00:00:04,200\n软件\n", Format::SubRip},
        {"1\r\n00:00:01.600 --> 00:00:04.200\r\n", Format::SubRip},
        {"1\n软件开发\n", Format::PlainText},
        {"12 apples\n00:00:01,600 --> later", Format::PlainText},
        {"", Format::PlainText},
        {"软件开发 <html>", Format::PlainText},
        // Pages without <html> or <head>, which browsers show: read as text, their links and
        // scripts were converted with their words.
        {"<meta charset=\"utf-8\">\n<title>软件</title>", Format::Html},
        {"<!-- c --><P class=x>软件</p>", Format::Html},
        {"<div>", Format::Html},
        {"<软件>", Format::PlainText},
        {"<note>软件</note>", Format::PlainText},
        // Pages saved as UTF-16 (both byte orders); other UTF-16 text stays the text path's.
        {std::string("\xFF\xFE<\0!\0D\0O\0C\0T\0Y\0P\0E\0 \0h\0t\0m\0l\0>\0", 32), Format::Html},
        {std::string("\xFE\xFF\0<\0?\0x\0m\0l\0?\0>\0<\0h\0t\0m\0l\0>", 28), Format::Xhtml},
        {std::string("\xFF\xFE\x6F\x8F\xF6\x4E<\0h\0t\0m\0l\0>\0", 18), Format::PlainText},
        {std::string("\xFF\xFE"
                     "1\0\n\0",
                     6),
         Format::PlainText},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(sniffFormat(c.head), c.expected);
    }
}

TEST(OleRefusal, NamesWhatTheFileIsAndWhatToSaveItAs) {
    auto withStream = [](const std::string &name) {
        std::string file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        for (char c : name)
            file += std::string{c, '\0'};
        return file;
    };
    const struct {
        std::string stream;
        const char *says;
    } cases[] = {
        {"EncryptedPackage", "encrypted"}, {"WordDocument", ".doc)"},          {"Workbook", ".xlsx"},
        {"PowerPoint Document", ".pptx"},  {"Other", ".docx, .xlsx or .pptx"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stream);
        EXPECT_NE(oleRefusal(withStream(c.stream)).in(core::Language::English).find(c.says),
                  std::string::npos)
            << oleRefusal(withStream(c.stream)).in(core::Language::English);
    }
}

// A package as the container shows it: names in order, and the small parts it can read.
struct FakePackage {
    std::vector<std::string> names;
    std::map<std::string, std::string> parts;
    ReadSmallPart reader() const {
        return [this](const std::string &name) -> std::optional<std::string> {
            auto found = parts.find(name);
            return found == parts.end() ? std::nullopt : std::optional(found->second);
        };
    }
};

std::string contentTypes(const std::vector<std::pair<std::string, std::string>> &overrides) {
    std::string xml =
        R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)";
    for (const auto &[name, type] : overrides)
        xml += "<Override PartName=\"" + name + "\" ContentType=\"" + type + "\"/>";
    return xml + "</Types>";
}

constexpr const char *kOoxml = "application/vnd.openxmlformats-officedocument.";

TEST(PackageFormat, OfficeByItsMainPartOpenDocumentAndEpubByMimetype) {
    auto office = [](const std::string &mainType) {
        return FakePackage{{"[Content_Types].xml", "x/main.xml"},
                           {{"[Content_Types].xml", contentTypes({{"/x/main.xml", mainType}})}}};
    };
    auto mimetype = [](const std::string &type) { return FakePackage{{"mimetype"}, {{"mimetype", type}}}; };
    const struct {
        const char *what;
        FakePackage package;
        std::optional<Format> expected;
    } cases[] = {
        {"docx", office(std::string(kOoxml) + "wordprocessingml.document.main+xml"), Format::Word},
        {"dotx", office(std::string(kOoxml) + "wordprocessingml.template.main+xml"), Format::Word},
        {"docm", office("application/vnd.ms-word.document.macroEnabled.main+xml"), Format::Word},
        {"xlsx", office(std::string(kOoxml) + "spreadsheetml.sheet.main+xml"), Format::Excel},
        {"xlsm", office("application/vnd.ms-excel.sheet.macroEnabled.main+xml"), Format::Excel},
        {"pptx", office(std::string(kOoxml) + "presentationml.presentation.main+xml"), Format::PowerPoint},
        {"unknown main part", office("application/x-other+xml"), std::nullopt},
        {"odt", mimetype("application/vnd.oasis.opendocument.text"), Format::OdfText},
        {"ott", mimetype("application/vnd.oasis.opendocument.text-template"), Format::OdfText},
        {"ods", mimetype("application/vnd.oasis.opendocument.spreadsheet"), Format::OdfSpreadsheet},
        {"odp", mimetype("application/vnd.oasis.opendocument.presentation\n"), Format::OdfPresentation},
        {"odg", mimetype("application/vnd.oasis.opendocument.graphics"), std::nullopt},
        {"epub", mimetype("application/epub+zip"), Format::Epub},
        {"plain zip", FakePackage{{"a.txt"}, {}}, std::nullopt},
        {"main part named but missing",
         FakePackage{{"[Content_Types].xml"},
                     office(std::string(kOoxml) + "wordprocessingml.document.main+xml").parts},
         std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(packageFormat(c.package.names, c.package.reader()), c.expected);
    }
}

std::vector<std::pair<std::string, PartKind>> listed(const std::vector<TextPart> &parts) {
    std::vector<std::pair<std::string, PartKind>> out;
    for (const auto &p : parts)
        out.emplace_back(p.name, p.kind);
    return out;
}

TEST(TextParts, OfficePartsByContentTypeInEntryOrder) {
    const std::string wml = std::string(kOoxml) + "wordprocessingml.";
    FakePackage docx{{"[Content_Types].xml", "word/document.xml", "word/styles.xml", "word/header1.xml",
                      "word/footnotes.xml", "word/charts/chart1.xml", "word/media/a.png", "docProps/core.xml",
                      "word/comments.xml", "docProps/custom.xml", "docProps/app.xml", "word/numbering.xml"},
                     {}};
    docx.parts["[Content_Types].xml"] = contentTypes({
        {"/word/comments.xml", wml + "comments+xml"},
        {"/word/document.xml", wml + "document.main+xml"},
        {"/word/styles.xml", wml + "styles+xml"},
        {"/word/header1.xml", wml + "header+xml"},
        {"/WORD/FOOTNOTES.XML", wml + "footnotes+xml"}, // part names ignore case
        {"/word/charts/chart1.xml", std::string(kOoxml) + "drawingml.chart+xml"},
        {"/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml"},
        {"/docProps/custom.xml", std::string(kOoxml) + "custom-properties+xml"},
        {"/docProps/app.xml", std::string(kOoxml) + "extended-properties+xml"},
        {"/word/numbering.xml", wml + "numbering+xml"}, // list numbers' words
        {"/word/missing.xml", wml + "footer+xml"},
    });
    const std::vector<std::pair<std::string, PartKind>> expected{
        {"word/document.xml", PartKind::WordprocessingText},
        {"word/header1.xml", PartKind::WordprocessingText},
        {"word/footnotes.xml", PartKind::WordprocessingText},
        {"word/charts/chart1.xml", PartKind::DrawingText},
        {"docProps/core.xml", PartKind::CoreProperties},
        {"word/comments.xml", PartKind::WordprocessingText},
        {"docProps/custom.xml", PartKind::CoreProperties},
        {"docProps/app.xml", PartKind::ExtendedProperties},
        {"word/numbering.xml", PartKind::WordprocessingText},
    };
    EXPECT_EQ(listed(textParts(Format::Word, docx.names, docx.reader())), expected);
    // With fonts, styles name fonts too.
    auto withFonts = listed(textParts(Format::Word, docx.names, docx.reader(), true));
    EXPECT_EQ(withFonts.size(), expected.size() + 1);
    EXPECT_EQ(withFonts[1].first, "word/styles.xml");
    // A spreadsheet's parts do not count in a Word document.
    docx.parts["[Content_Types].xml"] =
        contentTypes({{"/word/document.xml", std::string(kOoxml) + "spreadsheetml.worksheet+xml"}});
    EXPECT_TRUE(textParts(Format::Word, docx.names, docx.reader()).empty());
}

// The notes and handout masters print on every notes page and handout; the newer chart types
// (chartex) hold titles in rich text as the older charts do, and a chart's text boxes their own.
TEST(TextParts, PresentationMastersAndNewerCharts) {
    const std::string pml = std::string(kOoxml) + "presentationml.";
    FakePackage pptx{{"[Content_Types].xml", "ppt/presentation.xml", "ppt/notesMasters/notesMaster1.xml",
                      "ppt/handoutMasters/handoutMaster1.xml", "ppt/charts/chartEx1.xml",
                      "ppt/drawings/drawing1.xml"},
                     {}};
    pptx.parts["[Content_Types].xml"] = contentTypes({
        {"/ppt/presentation.xml", pml + "presentation.main+xml"},
        {"/ppt/notesMasters/notesMaster1.xml", pml + "notesMaster+xml"},
        {"/ppt/handoutMasters/handoutMaster1.xml", pml + "handoutMaster+xml"},
        {"/ppt/charts/chartEx1.xml", "application/vnd.ms-office.chartex+xml"},
        {"/ppt/drawings/drawing1.xml",
         "application/vnd.openxmlformats-officedocument.drawingml.chartshapes+xml"},
    });
    const std::vector<std::pair<std::string, PartKind>> expected{
        {"ppt/presentation.xml", PartKind::DrawingText},
        {"ppt/notesMasters/notesMaster1.xml", PartKind::DrawingText},
        {"ppt/handoutMasters/handoutMaster1.xml", PartKind::DrawingText},
        {"ppt/charts/chartEx1.xml", PartKind::DrawingText},
        {"ppt/drawings/drawing1.xml", PartKind::DrawingText},
    };
    EXPECT_EQ(listed(textParts(Format::PowerPoint, pptx.names, pptx.reader())), expected);
}

TEST(TextParts, OpenDocumentAndEpubByTheirIndexes) {
    FakePackage odt{{"mimetype", "content.xml", "styles.xml", "meta.xml", "settings.xml", "Pictures/a.png",
                     "Object 1/content.xml", "Object 1/styles.xml", "Object 1/settings.xml",
                     "ObjectReplacements/Object 1"},
                    {}};
    // The objects embedded in it (a chart) are documents of their own in their folders.
    EXPECT_EQ(listed(textParts(Format::OdfText, odt.names, odt.reader())),
              (std::vector<std::pair<std::string, PartKind>>{{"content.xml", PartKind::OdfText},
                                                             {"styles.xml", PartKind::OdfText},
                                                             {"meta.xml", PartKind::OdfMeta},
                                                             {"Object 1/content.xml", PartKind::OdfText},
                                                             {"Object 1/styles.xml", PartKind::OdfText}}));
    FakePackage epub{{"mimetype", "META-INF/container.xml", "OPS/book.opf", "OPS/toc.ncx", "OPS/nav.xhtml",
                      "OPS/text/第一章.xhtml", "OPS/text/b.xhtml", "OPS/css/a.css", "evil.xhtml"},
                     {}};
    epub.parts["META-INF/container.xml"] =
        R"(<container><rootfiles><rootfile full-path="OPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)";
    epub.parts["OPS/book.opf"] =
        R"(<?xml version="1.0"?><package><!-- <item href="evil.xhtml" media-type="application/xhtml+xml"/> -->
        <manifest>
        <item id="b" href="text/b.xhtml#top" media-type="application/xhtml+xml"/>
        <item id="a" href="text/%E7%AC%AC%E4%B8%80%E7%AB%A0.xhtml" media-type="application/xhtml+xml"/>
        <item id="ncx" href='toc.ncx' media-type="application/x-dtbncx+xml"/>
        <item id="nav" href="./nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>
        <item id="again" href="text/../text/b.xhtml" media-type="application/xhtml+xml"/>
        <item id="out" href="../../evil.xhtml" media-type="application/xhtml+xml"/>
        <item id="gone" href="text/missing.xhtml" media-type="application/xhtml+xml"/>
        <item id="css" href="css/a.css" media-type="text/css"/></manifest></package>)";
    EXPECT_EQ(listed(textParts(Format::Epub, epub.names, epub.reader())),
              (std::vector<std::pair<std::string, PartKind>>{{"OPS/book.opf", PartKind::EpubPackage},
                                                             {"OPS/toc.ncx", PartKind::EpubNcx},
                                                             {"OPS/nav.xhtml", PartKind::Xhtml},
                                                             {"OPS/text/第一章.xhtml", PartKind::Xhtml},
                                                             {"OPS/text/b.xhtml", PartKind::Xhtml}}));
    // With fonts, the style sheets name fonts too.
    const auto withFonts = listed(textParts(Format::Epub, epub.names, epub.reader(), true));
    ASSERT_EQ(withFonts.size(), 6u);
    EXPECT_EQ(withFonts.back(), (std::pair<std::string, PartKind>{"OPS/css/a.css", PartKind::StyleSheet}));
}

TEST(ResolvePackagePath, StaysInsideThePackage) {
    const struct {
        const char *base, *href;
        std::optional<std::string> expected;
    } cases[] = {
        {"OPS/", "a.xhtml", "OPS/a.xhtml"},
        {"OPS/", "../a.xhtml", "a.xhtml"},
        {"OPS/", "../../a.xhtml", std::nullopt},
        {"OPS/", "/etc/passwd", std::nullopt},
        {"OPS/", "http://example.com/a.xhtml", std::nullopt},
        {"", "a%20b.xhtml?x#y", "a b.xhtml"},
        {"", "%zz", "%zz"},
        {"", "", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.base) + c.href);
        EXPECT_EQ(resolvePackagePath(c.base, c.href), c.expected);
    }
}

TEST(ElementsNamed, ReadsAttributesWithEntitiesAndSkipsWhatIsNotMarkup) {
    const auto found = elementsNamed(
        R"(<?xml version="1.0"?><!DOCTYPE x [<!ENTITY e "boom">]><a:item x:href="a&amp;b&#x4E2D;&#20013;&bogus;" m = 'q"'/>)"
        R"(<![CDATA[<item href="no"/>]]><item/><item href="unterminated)",
        "item");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(attribute(found[0], "href"), "a&b中中&bogus;");
    EXPECT_EQ(attribute(found[0], "m"), "q\"");
    EXPECT_TRUE(found[1].empty());
}

TEST(ColumnNames, EveryTablesAndPivotCachesColumnsWithExcelsEscapesRead) {
    const std::map<std::string, std::string> parts{
        {"[Content_Types].xml",
         R"(<Types><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
         R"(<Override PartName="/xl/tables/table1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.table+xml"/>)"
         R"(<Override PartName="/xl/tables/table2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.table+xml"/>)"
         R"(<Override PartName="/xl/pivotCache/pivotCacheDefinition1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheDefinition+xml"/></Types>)"},
        {"xl/pivotCache/pivotCacheDefinition1.xml",
         R"(<pivotCacheDefinition><cacheFields count="1"><cacheField name="地区" numFmtId="0"><sharedItems><s v="华东"/></sharedItems></cacheField></cacheFields></pivotCacheDefinition>)"},
        {"xl/tables/table1.xml",
         R"(<table name="表1"><tableColumns count="2"><tableColumn id="1" name="销售额"/><tableColumn id="2" name="单价_x000a_(元) &amp; 税"/></tableColumns></table>)"},
        {"xl/tables/table2.xml",
         R"(<table><tableColumns><tableColumn id="1" name="_x005F_x0041_"/></tableColumns></table>)"},
    };
    std::vector<std::string> names;
    for (const auto &[name, part] : parts)
        names.push_back(name);
    const ReadSmallPart read = [&](const std::string &name) -> std::optional<std::string> {
        const auto found = parts.find(name);
        return found == parts.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(columnNames(Format::Excel, names, read),
              (std::vector<std::string>{"销售额", "单价\n(元) & 税", "_x0041_", "地区"}));
    EXPECT_TRUE(columnNames(Format::Word, names, read).empty());
}

TEST(FormulaNames, TheWorkbooksSheetsAndDefinedNames) {
    const std::map<std::string, std::string> parts{
        {"[Content_Types].xml",
         R"(<Types><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
         R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)"},
        {"xl/workbook.xml",
         R"(<workbook><sheets><sheet name="销售" sheetId="1"/><sheet name="a &amp; b" sheetId="2"/></sheets>)"
         R"(<definedNames><definedName name="税率">销售!$B$1</definedName></definedNames></workbook>)"},
        {"xl/worksheets/sheet1.xml", R"(<worksheet><sheetData/></worksheet>)"},
    };
    std::vector<std::string> names;
    for (const auto &[name, part] : parts)
        names.push_back(name);
    const ReadSmallPart read = [&](const std::string &name) -> std::optional<std::string> {
        const auto found = parts.find(name);
        return found == parts.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(formulaNames(Format::Excel, names, read), (std::vector<std::string>{"销售", "a & b", "税率"}));
    EXPECT_TRUE(formulaNames(Format::Word, names, read).empty());
    // An OpenDocument spreadsheet's, from its content: tables, named ranges and the source columns
    // its pivot tables' fields name (the data layout field names none).
    std::vector<std::string> odf;
    addSpreadsheetNames(
        R"(<office:document-content><table:table table:name="销售"/><table:named-range table:name="税率"/>)"
        R"(<table:data-pilot-table table:name="透视"><table:data-pilot-field table:source-field-name="地区"/>)"
        R"(<table:data-pilot-field table:source-field-name="" table:is-data-layout-field="true"/></table:data-pilot-table>)"
        R"(</office:document-content>)",
        odf);
    EXPECT_EQ(odf, (std::vector<std::string>{"销售", "税率", "地区"}));
}

} // namespace

// Items of one pivot cache that a conversion would make one (鍾氏 and 鐘氏 both 钟氏, an item and
// another in other case) are kept, all of them; items that stay apart, and those of another
// cache, are converted.
TEST(PivotItems, ThoseAConversionWouldMergeAreKept) {
    core::PhraseConfig config;
    config.segmentation = {{}};
    config.steps.push_back({{{"鍾", "钟"}, {"鐘", "钟"}, {"範", "范"}, {"A", "a"}}});
    struct Whole final : SegmentedConverter {
        explicit Whole(core::PhraseConverter c) : converter(std::move(c)) {}
        core::PhraseConverter converter;
        void convert(std::string_view utf8, std::string &out, std::vector<Segment> &segments) const override {
            out = converter.convert(utf8);
            segments.clear();
        }
    } segmented(core::PhraseConverter::build(config));
    FakePackage xlsx{{"[Content_Types].xml", "xl/pivotCache/pivotCacheDefinition1.xml",
                      "xl/pivotCache/pivotCacheDefinition2.xml"},
                     {}};
    const std::string cacheType = std::string(kOoxml) + "spreadsheetml.pivotCacheDefinition+xml";
    xlsx.parts["[Content_Types].xml"] =
        contentTypes({{"/xl/pivotCache/pivotCacheDefinition1.xml", cacheType},
                      {"/xl/pivotCache/pivotCacheDefinition2.xml", cacheType}});
    xlsx.parts["xl/pivotCache/pivotCacheDefinition1.xml"] =
        R"(<pivotCacheDefinition><cacheFields><cacheField name="姓"><sharedItems><s v="鍾氏"/><s v="鐘氏"/>)"
        R"(<s v="範氏"/><s v="Ab"/><s v="ab"/><s v="&#x9418;&#x6C0F;"/></sharedItems></cacheField></cacheFields></pivotCacheDefinition>)";
    xlsx.parts["xl/pivotCache/pivotCacheDefinition2.xml"] =
        R"(<pivotCacheDefinition><cacheFields><cacheField name="姓"><sharedItems><s v="鍾氏"/></sharedItems>)"
        R"(</cacheField></cacheFields></pivotCacheDefinition>)";
    auto kept = pivotItemsThatWouldMerge(Format::Excel, xlsx.names, xlsx.reader(), segmented);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"Ab", "ab", "鍾氏", "鐘氏"}));
    EXPECT_TRUE(pivotItemsThatWouldMerge(Format::Word, xlsx.names, xlsx.reader(), segmented).empty());
}
