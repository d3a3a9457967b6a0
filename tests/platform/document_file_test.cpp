// Whole documents made by LibreOffice and pandoc, converted and checked by what must hold for any
// document: each paragraph reads as the phrase engine converts it as text, the markup around the
// text and every other entry stay byte for byte, a document without Chinese comes out identical,
// and damaged, legacy, encrypted or inflating input is refused with nothing written.

#include "platform/document_file.h"
#include "platform/folder_mirror.h"
#include "platform/phrase_config.h"
#include "platform/text_codecs.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using core::document::Format;
using platform::DocumentStatus;

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path &path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path fixture(const std::string &name) {
    return fs::path(LANTERNFIN_DOCUMENT_TEST_DATA) / name;
}

// A ZIP's central directory read on its own (not through libzip), the oracle for what was kept.
struct RawEntry {
    std::string name;
    std::uint16_t method = 0, time = 0, date = 0;
    std::uint32_t crc = 0;
    std::string compressed; // the entry's data as stored
};

std::uint32_t le(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s.at(at + static_cast<std::size_t>(i)));
    return v;
}

std::vector<RawEntry> rawEntries(std::string_view zip) {
    const std::size_t end = zip.rfind(std::string_view("PK\x05\x06", 4));
    EXPECT_NE(end, std::string_view::npos);
    std::size_t at = le(zip, end + 16, 4);
    const std::size_t count = le(zip, end + 10, 2);
    std::vector<RawEntry> out;
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(zip.substr(at, 4), std::string_view("PK\x01\x02", 4));
        RawEntry e;
        e.method = static_cast<std::uint16_t>(le(zip, at + 10, 2));
        e.time = static_cast<std::uint16_t>(le(zip, at + 12, 2));
        e.date = static_cast<std::uint16_t>(le(zip, at + 14, 2));
        e.crc = le(zip, at + 16, 4);
        const std::size_t csize = le(zip, at + 20, 4);
        const std::size_t nameLength = le(zip, at + 28, 2), extra = le(zip, at + 30, 2),
                          comment = le(zip, at + 32, 2);
        const std::size_t local = le(zip, at + 42, 4);
        e.name = std::string(zip.substr(at + 46, nameLength));
        const std::size_t data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
        e.compressed = std::string(zip.substr(data, csize));
        out.push_back(std::move(e));
        at += 46 + nameLength + extra + comment;
    }
    return out;
}

std::string inflated(const std::string &zip, const std::string &name) {
    core::Message why;
    auto package = platform::ZipPackage::open(zip, why);
    EXPECT_TRUE(package) << why.in(core::Language::English);
    std::string out;
    if (package) {
        EXPECT_EQ(package->read(static_cast<std::size_t>(package->find(name)), out, why),
                  platform::ZipStatus::Ok);
    }
    return out;
}

// The markup with the text between tags taken out, and the values of the attributes that are text
// (title, alt, a picture's description, a pivot table's captions and items) emptied: what must not
// change at all.
std::string masked(std::string_view xml) {
    std::string out;
    bool inTag = false;
    for (std::size_t i = 0; i < xml.size(); ++i) {
        const char c = xml[i];
        if (c == '<')
            inTag = true;
        if (inTag)
            out += c;
        if (c == '>')
            inTag = false;
    }
    // Attributes that are text, and the string literals of formulas in attributes (OpenDocument's).
    static const std::regex textAttribute(R"((\s(?:title|alt|descr|office:string-value|\w+Caption)=)("[^"]*"|'[^']*'))");
    // A pivot table's data and custom field names, renamed items and its cache's items.
    static const std::regex pivotName(R"((<(?:dataField|pivotField|item|s)\s(?:[^>]*?\s)?(?:name|n|v)=)("[^"]*"))");
    // A page's description for search results.
    static const std::regex description(R"re((<meta name="(?:description|keywords)" content=)("[^"]*"))re");
    static const std::regex literal(R"(&quot;[^&"]*&quot;)");
    std::string maskedOut = std::regex_replace(out, textAttribute, "$1\"\"");
    maskedOut = std::regex_replace(maskedOut, pivotName, "$1\"\"");
    maskedOut = std::regex_replace(maskedOut, description, "$1\"\"");
    return std::regex_replace(maskedOut, literal, "&quot;&quot;");
}

// Each WordprocessingML paragraph's visible text (w:t, not field instructions or deleted text).
std::vector<std::string> paragraphs(const std::string &xml) {
    static const std::regex paragraph(R"(<w:p[ >][\s\S]*?</w:p>)");
    static const std::regex text(R"(<w:t(?: [^>]*)?>([^<]*)</w:t>)");
    std::vector<std::string> out;
    for (auto p = std::sregex_iterator(xml.begin(), xml.end(), paragraph); p != std::sregex_iterator(); ++p) {
        std::string joined;
        const std::string body = p->str();
        for (auto t = std::sregex_iterator(body.begin(), body.end(), text); t != std::sregex_iterator(); ++t)
            joined += (*t)[1].str();
        out.push_back(joined);
    }
    return out;
}

const core::PhraseConverter &converter(const std::string &name) {
    static std::map<std::string, core::PhraseConverter> loaded;
    auto found = loaded.find(name);
    if (found == loaded.end()) {
        auto load = platform::loadPhraseConverter(name);
        EXPECT_TRUE(load.converter) << load.failedPath << ": " << load.why;
        found = loaded.emplace(name, std::move(*load.converter)).first;
    }
    return found->second;
}

struct Converted {
    platform::DocumentOutcome outcome;
    std::string bytes;
};

Converted convert(std::string_view input, const std::string &config, platform::ZipLimits limits = {}) {
    const core::document::PhraseSegmentedConverter segmented(converter(config));
    Converted c;
    c.outcome = platform::convertDocument(input, c.bytes, {segmented, {}, limits, {}});
    return c;
}

TEST(DocumentFile, PackagesKeepEveryEntryAndAllMarkupAndConvertEachParagraphAsText) {
    const struct {
        const char *file;
        Format format;
        const char *paragraphPart; // WordprocessingML part whose paragraphs are compared, or ""
    } cases[] = {
        {"sample-lo.docx", Format::Word, "word/document.xml"},
        {"sample-pandoc.docx", Format::Word, "word/document.xml"},
        {"sample-lo.odt", Format::OdfText, ""},
        {"sample-pandoc.epub", Format::Epub, ""},
        {"bound-controls.docx", Format::Word, "word/document.xml"},
        {"formulas.xlsx", Format::Excel, ""},
        {"formulas.ods", Format::OdfSpreadsheet, ""},
        {"streamed-infozip.docx", Format::Word, "word/document.xml"},
        {"pivot.xlsx", Format::Excel, ""},
    };
    for (const auto &c : cases)
        for (const char *config : {"s2t", "t2s", "s2twp", "tw2sp"}) {
            SCOPED_TRACE(std::string(c.file) + " " + config);
            const std::string input = readFile(fixture(c.file));
            const auto result = convert(input, config);
            ASSERT_TRUE(result.outcome.ok()) << result.outcome.message.in(core::Language::English);
            EXPECT_EQ(result.outcome.format, c.format);
            const auto before = rawEntries(input), after = rawEntries(result.bytes);
            ASSERT_EQ(before.size(), after.size());
            for (std::size_t i = 0; i < before.size(); ++i) {
                SCOPED_TRACE(before[i].name);
                EXPECT_EQ(before[i].name, after[i].name);
                EXPECT_EQ(before[i].method, after[i].method);
                EXPECT_EQ(before[i].date, after[i].date);
                EXPECT_EQ(before[i].time, after[i].time);
                if (before[i].crc == after[i].crc) {
                    EXPECT_EQ(before[i].compressed, after[i].compressed)
                        << "an unchanged entry was not copied";
                } else {
                    EXPECT_EQ(masked(inflated(input, before[i].name)),
                              masked(inflated(result.bytes, after[i].name)));
                }
            }
            if (std::string_view(c.paragraphPart).empty()) {
                continue;
            }
            const auto original = paragraphs(inflated(input, c.paragraphPart));
            const auto converted = paragraphs(inflated(result.bytes, c.paragraphPart));
            ASSERT_EQ(original.size(), converted.size());
            for (std::size_t i = 0; i < original.size(); ++i)
                EXPECT_EQ(converted[i], converter(config).convert(original[i])) << "paragraph " << i;
        }
}

TEST(DocumentFile, MimetypeStaysFirstAndStored) {
    for (const char *file : {"sample-lo.odt", "sample-pandoc.epub"}) {
        SCOPED_TRACE(file);
        const auto result = convert(readFile(fixture(file)), "s2t");
        ASSERT_EQ(result.outcome.status, DocumentStatus::Converted)
            << result.outcome.message.in(core::Language::English);
        const auto entries = rawEntries(result.bytes);
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries[0].name, "mimetype");
        EXPECT_EQ(entries[0].method, 0);
    }
}

TEST(DocumentFile, FieldInstructionsAndStyleNamesStay) {
    const std::string input = readFile(fixture("sample-lo.docx"));
    const auto result = convert(input, "s2t");
    ASSERT_EQ(result.outcome.status, DocumentStatus::Converted);
    const std::string document = inflated(result.bytes, "word/document.xml");
    EXPECT_NE(document.find(R"(STYLEREF "标题 1" \* MERGEFORMAT)"), std::string::npos);
    EXPECT_NE(document.find("軟件開發說明"), std::string::npos) << "the field's result is text";
    EXPECT_EQ(inflated(result.bytes, "word/styles.xml"), inflated(input, "word/styles.xml"));
}

TEST(DocumentFile, DocumentsThatNeedNoChangeComeOutIdentical) {
    const struct {
        const char *file;
        const char *config;
    } cases[] = {
        {"english-pandoc.docx", "s2t"},
        {"english-pandoc.docx", "t2s"},
        {"sample-lo.docx", "t2s"}, // simplified already
        {"sample-pandoc.html", "t2s"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.config);
        const std::string input = readFile(fixture(c.file));
        const auto result = convert(input, c.config);
        EXPECT_EQ(result.outcome.status, DocumentStatus::Unchanged)
            << result.outcome.message.in(core::Language::English);
        EXPECT_TRUE(result.bytes == input);
    }
}

TEST(DocumentFile, WebPageTextConvertedMarkupKept) {
    const std::string input = readFile(fixture("sample-pandoc.html"));
    const auto result = convert(input, "s2t");
    ASSERT_EQ(result.outcome.status, DocumentStatus::Converted)
        << result.outcome.message.in(core::Language::English);
    EXPECT_EQ(result.outcome.format, Format::Html);
    EXPECT_EQ(masked(input), masked(result.bytes));
    EXPECT_NE(result.bytes.find("軟件"), std::string::npos);
}

// A ZIP made in memory: each entry's name, data and whether it is stored.
std::string makeZip(const std::vector<std::tuple<std::string, std::string, bool>> &entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *za = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_source_keep(buffer);
    for (const auto &[name, data, stored] : entries) {
        const zip_int64_t i = zip_file_add(
            za, name.c_str(), zip_source_buffer(za, data.data(), data.size(), 0), ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(za, static_cast<zip_uint64_t>(i), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
    }
    EXPECT_EQ(zip_close(za), 0);
    zip_stat_t st;
    zip_source_stat(buffer, &st);
    std::string out(st.size, '\0');
    zip_source_open(buffer);
    zip_source_read(buffer, out.data(), out.size());
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return out;
}

const std::string kContentTypes =
    R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.)"
    R"(wordprocessingml.document.main+xml"/></Types>)";

std::string wordDocument(const std::string &body) {
    return R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
           body + "</w:body></w:document>";
}

// Patches the declared inflated size of entry `name` (local header and central directory).
void declareSize(std::string &zip, const std::string &name, std::uint32_t size) {
    auto put = [&zip](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            zip[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const struct {
        std::string_view signature;
        std::size_t sizeAt, nameAt;
    } headers[] = {{std::string_view("PK\x03\x04", 4), 22, 30}, {std::string_view("PK\x01\x02", 4), 24, 46}};
    for (const auto &h : headers)
        for (std::size_t at = 0; (at = zip.find(h.signature, at)) != std::string::npos; ++at)
            if (zip.compare(at + h.nameAt, name.size(), name) == 0)
                put(at + h.sizeAt, size);
}

// Archives written as a stream give their sizes and checksum in a data descriptor after each
// entry's data, and some writers still put one of them in the local header (Info-ZIP its inflated
// size, macOS its compressed size): those open. A local header that disagrees with the directory
// in anything else, or without a descriptor, leaves the archive refused.
TEST(DocumentFile, StreamedArchivesOpenWhileTheirHeadersAgree) {
    const std::string input =
        makeZip({{"[Content_Types].xml", kContentTypes, false},
                 {"word/document.xml", wordDocument("<w:p><w:r><w:t>软件</w:t></w:r></w:p>"), false}});
    const std::string expected = convert(input, "s2t").bytes;
    enum Field { Flags = 6, Method = 8, Crc = 14, Compressed = 18, Inflated = 22, Name = 30 };
    // Each local header with `field` set to `value` (bit 3 of the flags: a descriptor follows).
    auto patched = [&input](std::vector<std::pair<Field, std::uint32_t>> fields) {
        std::string zip = input;
        for (std::size_t at = 0; (at = zip.find(std::string_view("PK\x03\x04", 4), at)) != std::string::npos;
             ++at)
            for (const auto &[field, value] : fields)
                for (int i = 0; i < (field == Flags || field == Method ? 2 : field == Name ? 1 : 4); ++i)
                    zip[at + field + static_cast<std::size_t>(i)] =
                        static_cast<char>(field == Name ? value : (value >> (8 * i)) & 0xFF);
        return zip;
    };
    const struct {
        const char *what;
        std::vector<std::pair<Field, std::uint32_t>> fields;
        bool opens;
    } cases[] = {
        {"Info-ZIP: inflated size only", {{Flags, 8}, {Crc, 0}, {Compressed, 0}}, true},
        {"macOS: compressed size only", {{Flags, 8}, {Crc, 0}, {Inflated, 0}}, true},
        {"nothing in the local header", {{Flags, 8}, {Crc, 0}, {Compressed, 0}, {Inflated, 0}}, true},
        {"a size that differs", {{Flags, 8}, {Crc, 0}, {Compressed, 0}, {Inflated, 7}}, false},
        {"no descriptor", {{Crc, 0}, {Compressed, 0}}, false},
        {"another name", {{Flags, 8}, {Crc, 0}, {Compressed, 0}, {Name, 'X'}}, false},
        {"another method", {{Flags, 8}, {Crc, 0}, {Compressed, 0}, {Method, 0}}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = convert(patched(c.fields), "s2t");
        if (c.opens) {
            ASSERT_TRUE(result.outcome.ok()) << result.outcome.message.in(core::Language::English);
            EXPECT_EQ(inflated(result.bytes, "word/document.xml"), inflated(expected, "word/document.xml"));
        } else {
            EXPECT_EQ(result.outcome.status, DocumentStatus::Unreadable);
            EXPECT_NE(result.outcome.message.in(core::Language::English).find("disagree"), std::string::npos)
                << result.outcome.message.in(core::Language::English);
        }
    }
}

// A table's header cells name its columns, and Excel drops a table whose header disagrees with
// its part: the header keeps its words (as do the column names formulas use), the rest is
// converted, and the table part stays as it was.
TEST(DocumentFile, WorkbookTableHeadersStayAsTheirColumnNames) {
    const std::string types =
        R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
        R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
        R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>)"
        R"(<Override PartName="/xl/tables/table1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.table+xml"/></Types>)";
    const std::string ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string table =
        "<table " + ns +
        R"( id="1" name="表1" ref="A1:B2"><tableColumns count="2"><tableColumn id="1" name="头发"/>)"
        R"(<tableColumn id="2" name="软件"><calculatedColumnFormula>表1[[#This Row],[头发]]</calculatedColumnFormula></tableColumn></tableColumns></table>)";
    const std::string sheet =
        "<worksheet " + ns +
        R"(><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row>)"
        R"(<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2" t="str"><f>表1[[#This Row],[头发]]</f><v>头发和软件</v></c></row></sheetData></worksheet>)";
    const std::string strings =
        "<sst " + ns + "><si><t>头发</t></si><si><t>软件</t></si><si><t>头发和软件</t></si></sst>";
    const std::string input = makeZip({{"[Content_Types].xml", types, false},
                                       {"xl/workbook.xml", "<workbook " + ns + "/>", false},
                                       {"xl/worksheets/sheet1.xml", sheet, false},
                                       {"xl/tables/table1.xml", table, false},
                                       {"xl/sharedStrings.xml", strings, false}});
    const auto result = convert(input, "s2t");
    ASSERT_EQ(result.outcome.status, DocumentStatus::Converted)
        << result.outcome.message.in(core::Language::English);
    core::Message why;
    const auto package = platform::ZipPackage::open(result.bytes, why);
    ASSERT_TRUE(package) << why;
    auto part = [&](const std::string &name) {
        std::string bytes;
        EXPECT_EQ(package->read(static_cast<std::size_t>(package->find(name)), bytes, why),
                  platform::ZipStatus::Ok);
        return bytes;
    };
    EXPECT_EQ(part("xl/sharedStrings.xml"),
              "<sst " + ns + "><si><t>头发</t></si><si><t>软件</t></si><si><t>頭髮和軟件</t></si></sst>");
    EXPECT_EQ(part("xl/tables/table1.xml"), table);
    // The formula names the column as it was; its last result is the converted cell's text.
    std::string sheetAfter = sheet;
    sheetAfter.replace(sheetAfter.find("<v>头发和软件"), 18, "<v>頭髮和軟件");
    EXPECT_EQ(part("xl/worksheets/sheet1.xml"), sheetAfter);
}

// Word and LibreOffice fill a content control bound to data from the element it shows each time
// the document is opened: that element is converted with the control, wherever it lives (a custom
// XML part found by its id, the core properties), and the rest of its store stays as it was.
TEST(DocumentFile, ContentControlsBoundToDataShowTheirStoresConverted) {
    const std::string types =
        R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
        R"(<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/></Types>)";
    auto control = [](const std::string &mappings, const std::string &xpath, const std::string &store,
                      const std::string &text) {
        return R"(<w:sdt><w:sdtPr><w:dataBinding w:prefixMappings=")" + mappings + R"(" w:xpath=")" + xpath +
               R"(" w:storeItemID=")" + store + R"("/><w:text/></w:sdtPr><w:sdtContent><w:p><w:r><w:t>)" + text +
               "</w:t></w:r></w:p></w:sdtContent></w:sdt>";
    };
    const std::string document = wordDocument(
        "<w:p><w:r><w:t>头发</w:t></w:r></w:p>" +
        control("xmlns:ns0='urn:contract'", "/ns0:contract[1]/ns0:party[2]", "{5E0C1F2A-1111-4A4A-9B9B-0123456789AB}",
                "头发公司") +
        control("xmlns:ns0='http://purl.org/dc/elements/1.1/' "
                "xmlns:ns1='http://schemas.openxmlformats.org/package/2006/metadata/core-properties'",
                "/ns1:coreProperties[1]/ns0:creator[1]", "{6C3C8BC8-F283-45AE-878A-BAB7291924A1}", "头发"));
    const std::string item =
        R"(<?xml version="1.0"?><contract xmlns="urn:contract"><id>头发-7</id><party>软件公司</party>)"
        R"(<party>头发公司</party></contract>)";
    const std::string props =
        R"(<ds:datastoreItem ds:itemID="{5e0c1f2a-1111-4a4a-9b9b-0123456789ab}" )"
        R"(xmlns:ds="http://schemas.openxmlformats.org/officeDocument/2006/customXml"><ds:schemaRefs/></ds:datastoreItem>)";
    const std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXmlProps" Target="itemProps1.xml"/></Relationships>)";
    const std::string core =
        R"(<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" )"
        R"(xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:creator>头发</dc:creator><cp:lastModifiedBy>头发</cp:lastModifiedBy></cp:coreProperties>)";
    auto swapped = [](std::string s, const std::string &from, const std::string &to) {
        return s.replace(s.rfind(from), from.size(), to);
    };
    // The store in UTF-8, and in UTF-16 as some generators write it (which was refused whole).
    const auto utf16 = [](const std::string &utf8) {
        std::string out = "\xFF\xFE";
        EXPECT_TRUE(platform::encodeText(utf8, core::TextEncoding::Utf16Le, out));
        return out;
    };
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "UTF-16" : "UTF-8");
        const std::string input = makeZip({{"[Content_Types].xml", types, false},
                                           {"customXml/item1.xml", wide ? utf16(item) : item, false},
                                           {"customXml/itemProps1.xml", props, false},
                                           {"customXml/_rels/item1.xml.rels", rels, false},
                                           {"word/document.xml", document, false},
                                           {"docProps/core.xml", core, false}});
        const auto result = convert(input, "s2t");
        ASSERT_EQ(result.outcome.status, DocumentStatus::Converted)
            << result.outcome.message.in(core::Language::English);
        auto part = [&](const std::string &name) { return inflated(result.bytes, name); };
        const std::string store = swapped(item, "<party>头发公司", "<party>頭髮公司");
        EXPECT_EQ(part("customXml/item1.xml"), wide ? utf16(store) : store);
        EXPECT_EQ(part("docProps/core.xml"), swapped(core, "<dc:creator>头发", "<dc:creator>頭髮"));
        EXPECT_EQ(part("customXml/itemProps1.xml"), props);
        const std::string converted = part("word/document.xml");
        EXPECT_NE(converted.find("<w:t>頭髮公司</w:t>"), std::string::npos);
        EXPECT_EQ(converted.find("头发"), std::string::npos);
    }
}

// Word and PowerPoint draw a chart from the data cached in its part, and fill that cache again
// from the workbook embedded beside it when its data is edited: both are converted, the cached
// labels as the cells they repeat, the workbook as a document of its own; numbers and the
// references to cells stay.
TEST(DocumentFile, ChartsShowTheirConvertedLabelsAndEditTheirConvertedWorkbooks) {
    const std::string types =
        R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="xlsx" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"/>)"
        R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
        R"(<Override PartName="/word/charts/chart1.xml" ContentType="application/vnd.openxmlformats-officedocument.drawingml.chart+xml"/></Types>)";
    const std::string chart =
        R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart"><c:chart><c:plotArea><c:barChart><c:ser>)"
        R"(<c:tx><c:strRef><c:f>Sheet1!$B$1</c:f><c:strCache><c:ptCount val="1"/><c:pt idx="0"><c:v>软件</c:v></c:pt></c:strCache></c:strRef></c:tx>)"
        R"(<c:cat><c:strRef><c:f>Sheet1!$A$2:$A$3</c:f><c:strCache><c:ptCount val="2"/><c:pt idx="0"><c:v>头发</c:v></c:pt>)"
        R"(<c:pt idx="1"><c:v>内存</c:v></c:pt></c:strCache></c:strRef></c:cat>)"
        R"(<c:val><c:numRef><c:f>Sheet1!$B$2:$B$3</c:f><c:numCache><c:formatCode>0.0</c:formatCode><c:ptCount val="2"/>)"
        R"(<c:pt idx="0"><c:v>1.5</c:v></c:pt><c:pt idx="1"><c:v>2</c:v></c:pt></c:numCache></c:numRef></c:val>)"
        R"(</c:ser></c:barChart></c:plotArea></c:chart></c:chartSpace>)";
    const std::string ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string strings = "<sst " + ns + "><si><t>软件</t></si><si><t>头发</t></si><si><t>内存</t></si></sst>";
    const std::string workbook = makeZip(
        {{"[Content_Types].xml",
          R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
          R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
          R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>)",
          false},
         {"xl/workbook.xml", "<workbook " + ns + "/>", false},
         {"xl/sharedStrings.xml", strings, false}});
    const std::string input = makeZip({{"[Content_Types].xml", types, false},
                                       {"word/document.xml", wordDocument("<w:p><w:r><w:t>软件</w:t></w:r></w:p>"), false},
                                       {"word/charts/chart1.xml", chart, false},
                                       {"word/embeddings/Microsoft_Excel_Worksheet.xlsx", workbook, false}});
    const auto result = convert(input, "s2t");
    ASSERT_EQ(result.outcome.status, DocumentStatus::Converted)
        << result.outcome.message.in(core::Language::English);
    const std::string convertedChart = inflated(result.bytes, "word/charts/chart1.xml");
    std::string expected = chart;
    for (const auto &[from, to] : {std::pair<std::string, std::string>{"<c:v>软件", "<c:v>軟件"},
                                   {"<c:v>头发", "<c:v>頭髮"},
                                   {"<c:v>内存", "<c:v>內存"}})
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(convertedChart, expected);
    const std::string embedded = inflated(result.bytes, "word/embeddings/Microsoft_Excel_Worksheet.xlsx");
    EXPECT_EQ(inflated(embedded, "xl/sharedStrings.xml"),
              "<sst " + ns + "><si><t>軟件</t></si><si><t>頭髮</t></si><si><t>內存</t></si></sst>");
    EXPECT_EQ(inflated(embedded, "xl/workbook.xml"), "<workbook " + ns + "/>");
}

TEST(DocumentFile, PartsPastTheLimitsAreRefusedBeforeOrWhileInflating) {
    const std::string zeros(1 << 20, '0');
    const std::string bomb = wordDocument("<w:p><w:r><w:t>" + zeros + "</w:t></w:r></w:p>");
    const std::string honest =
        makeZip({{"[Content_Types].xml", kContentTypes, false}, {"word/document.xml", bomb, false}});
    std::string lying = honest;
    declareSize(lying, "word/document.xml", 1000);
    std::string huge = honest;
    declareSize(huge, "word/document.xml", 0xFFFFFFF0u); // 4 GB declared: refused from the directory alone
    platform::ZipLimits small;
    small.maxEntrySize = 256 << 10;
    platform::ZipLimits ratio;
    ratio.maxRatio = 100;
    const struct {
        const char *what;
        const std::string &zip;
        platform::ZipLimits limits;
        DocumentStatus expected;
    } cases[] = {
        {"more times its compressed size than allowed", honest, ratio, DocumentStatus::Limit},
        {"past the size limit", honest, small, DocumentStatus::Limit},
        {"declares a size past the limits", huge, {}, DocumentStatus::Limit},
        {"inflates past the size it declares", lying, {}, DocumentStatus::Unreadable},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = convert(c.zip, "s2t", c.limits);
        EXPECT_EQ(result.outcome.status, c.expected) << result.outcome.message.in(core::Language::English);
        EXPECT_TRUE(result.bytes.empty());
        EXPECT_NE(result.outcome.message.in(core::Language::English).find("word/document.xml"),
                  std::string::npos)
            << result.outcome.message.in(core::Language::English);
    }
}

TEST(DocumentFile, RefusedInputLeavesNothingWritten) {
    const std::string docx = readFile(fixture("sample-lo.docx"));
    std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole.resize(1024, '\0');
    std::string encrypted = ole;
    for (char c : std::string("EncryptedPackage"))
        encrypted += std::string{c, '\0'};
    std::string legacyWord = ole;
    for (char c : std::string("WordDocument"))
        legacyWord += std::string{c, '\0'};
    std::string badPart =
        makeZip({{"[Content_Types].xml", kContentTypes, false},
                 {"word/document.xml", wordDocument("<w:p><w:r><w:t>软件</w:r></w:p>"), false}});
    // A stored part with one character changed after the package was made: its checksum fails.
    std::string badChecksum =
        makeZip({{"[Content_Types].xml", kContentTypes, false},
                 {"word/document.xml", wordDocument("<w:p><w:r><w:t>软件</w:t></w:r></w:p>"), true}});
    badChecksum.replace(badChecksum.find("件"), 3, "体");
    const struct {
        const char *what;
        std::string input;
        DocumentStatus expected;
        const char *says;
    } cases[] = {
        {"truncated", docx.substr(0, docx.size() / 2), DocumentStatus::Unreadable, "ZIP"},
        {"damaged central directory", docx.substr(0, docx.size() - 30) + std::string(30, 'x'),
         DocumentStatus::Unreadable, "ZIP"},
        {"encrypted Office file", encrypted, DocumentStatus::Unsupported, "encrypted"},
        {"legacy Word file", legacyWord, DocumentStatus::Unsupported, ".docx"},
        {"another ZIP archive", makeZip({{"a.txt", "软件", false}}), DocumentStatus::Unsupported,
         "not a document"},
        {"malformed part", badPart, DocumentStatus::Unreadable, "word/document.xml"},
        {"a part whose checksum fails", badChecksum, DocumentStatus::Unreadable,
         "word/document.xml: a checksum (CRC) does not match"},
        {"too little text to tell GB18030 from Big5", "\xC8\xED\xBC\xFE", DocumentStatus::Refused,
         "cannot tell its encoding"},
    };
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-doc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(dir / "in", c.input);
        const auto outcome = platform::convertDocumentFile(dir / "in", dir / "out", {segmented, {}, {}, {}});
        EXPECT_EQ(outcome.status, c.expected);
        EXPECT_NE(outcome.message.in(core::Language::English).find(c.says), std::string::npos)
            << outcome.message.in(core::Language::English);
        // The window shows the reason in Chinese: none is English text passed through.
        EXPECT_NE(outcome.message.in(core::Language::Chinese), outcome.message.in(core::Language::English));
        EXPECT_FALSE(fs::exists(dir / "out"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
            << "a temporary file stayed";
    }
    fs::remove_all(dir);
}

// A folder's file is read only while it is the file that was listed: one that someone with write
// access to the source swaps, after the listing, for a link to a private file of ours (or for a
// FIFO, or whose folder they swap) is refused, and nothing of the private file reaches the mirror.
TEST(FolderMirror, AFileReplacedSinceItWasListedIsNotRead) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-swap-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "src/sub");
    fs::create_directories(dir / "private");
    writeFile(dir / "private/key.txt", "私人的钥匙");
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    const struct {
        const char *what;
        std::function<void()> swap;
    } cases[] = {
        {"the file, for a link",
         [&] {
             fs::remove(dir / "src/sub/a.txt"),
                 fs::create_symlink(dir / "private/key.txt", dir / "src/sub/a.txt");
         }},
        {"its folder, for a link",
         [&] {
             fs::rename(dir / "src/sub", dir / "src/old");
             fs::copy_file(dir / "private/key.txt", dir / "private/a.txt");
             fs::create_directory_symlink(dir / "private", dir / "src/sub");
         }},
        {"the file, for a FIFO",
         [&] { fs::remove(dir / "src/sub/a.txt"), ::mkfifo((dir / "src/sub/a.txt").c_str(), 0600); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / "src");
        fs::remove_all(dir / "out");
        fs::remove(dir / "private/a.txt");
        fs::create_directories(dir / "src/sub");
        writeFile(dir / "src/sub/a.txt", "公开的文字");
        fs::create_directories(dir / "out");
        const platform::MirrorPlan plan =
            platform::planMirror({{(dir / "src").string(), "src"}}, (dir / "out").string(), {});
        const auto file =
            std::find_if(plan.entries.begin(), plan.entries.end(), [](const platform::MirrorEntry &e) {
                return e.type == platform::MirrorEntry::Type::File;
            });
        ASSERT_NE(file, plan.entries.end());
        for (const auto &e : plan.entries) {
            if (e.type == platform::MirrorEntry::Type::Folder) {
                EXPECT_TRUE(platform::makeMirrorFolder(e).empty());
            }
        }
        c.swap();
        core::Message why;
        EXPECT_EQ(platform::openMirrorSource(*file, why), -1);
        EXPECT_NE(why.in(core::Language::English).find("replaced"), std::string::npos)
            << why.in(core::Language::English);
        EXPECT_FALSE(platform::copyMirrorFile(*file, nullptr).empty());
        const auto outcome =
            platform::convertDocumentFile(file->src, file->dst, {segmented, {}, {}, {}}, &file->st);
        EXPECT_EQ(outcome.status, DocumentStatus::Unreadable);
        EXPECT_FALSE(fs::exists(file->dst));
    }
    fs::remove_all(dir);
}

// A neighbour who may write into the output swaps a folder the mirror made there for a link to a
// folder of ours, after it was made or while a file is written: nothing is written, linked or
// given a mode through the link, and a file being written lands in the folder it was begun in.
// A neighbour who may write in the source swaps a folder for a link to a private one once it is
// listed: what the plan goes on to look at is found in the folder as it was listed, never through
// the link, so nothing of the private folder is planned (its 0644 files came out readable).
TEST(FolderMirror, AFolderSwappedForALinkWhileListedLeadsNowhereElse) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-plan-swap-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "src/a/zsecret");
    fs::create_directories(dir / "victim/zsecret");
    writeFile(dir / "victim/zsecret/notes.txt", "私人的笔记");
    writeFile(dir / "src/a/公开.txt", "公开的文字");
    platform::MirrorOptions options;
    options.listed = [&](const std::string &folder) {
        if (fs::path(folder) == dir / "src/a") {
            fs::rename(dir / "src/a", dir / "src/moved");
            fs::create_directory_symlink(dir / "victim", dir / "src/a");
        }
    };
    const platform::MirrorPlan plan =
        platform::planMirror({{(dir / "src").string(), "src"}}, (dir / "out").string(), options);
    std::vector<std::string> planned;
    for (const auto &e : plan.entries)
        planned.push_back(fs::path(e.src).lexically_relative(dir).string());
    EXPECT_EQ(std::count(planned.begin(), planned.end(), "src/a/zsecret/notes.txt"), 0);
    EXPECT_EQ(std::count(planned.begin(), planned.end(), "src/a/zsecret"), 1); // the one listed, empty
    EXPECT_EQ(std::count(planned.begin(), planned.end(), "src/a/公开.txt"), 1);
    fs::remove_all(dir);
}

// A file that grows after it was listed is copied no further than its listed size: it is refused,
// and nothing of it is written (one that grew without end filled the disk).
TEST(FolderMirror, AFileThatGrewSinceItWasListedIsNotCopied) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-grow-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "src");
    writeFile(dir / "src/a.bin", std::string(10, 'x'));
    fs::create_directories(dir / "out");
    const platform::MirrorPlan plan =
        platform::planMirror({{(dir / "src").string(), "src"}}, (dir / "out").string(), {});
    for (const auto &e : plan.entries)
        if (e.type == platform::MirrorEntry::Type::Folder)
            EXPECT_TRUE(platform::makeMirrorFolder(e).empty());
    const auto file = std::find_if(plan.entries.begin(), plan.entries.end(), [](const platform::MirrorEntry &e) {
        return e.type == platform::MirrorEntry::Type::File;
    });
    ASSERT_NE(file, plan.entries.end());
    std::ofstream(dir / "src/a.bin", std::ios::app) << "more";
    const core::Message why = platform::copyMirrorFile(*file, nullptr);
    EXPECT_EQ(why.id, core::MessageId::GrewWhileCopied);
    EXPECT_FALSE(fs::exists(file->dst));
    fs::remove_all(dir);
}

TEST(FolderMirror, AnOutputFolderSwappedForALinkLeadsNothingOutOfTheOutput) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-race-" + std::to_string(::getpid()));
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    using platform::MirrorEntry;
    using Write = std::function<bool(const MirrorEntry &)>; // true when it was written
    const struct {
        const char *what;
        MirrorEntry::Type type;
        Write write;
    } cases[] = {
        {"a file copied", MirrorEntry::Type::File,
         [](const MirrorEntry &e) { return platform::copyMirrorFile(e, nullptr).empty(); }},
        {"a file converted", MirrorEntry::Type::File,
         [&](const MirrorEntry &e) {
             return platform::convertDocumentFile(e.src, e.dst, {segmented, {}, {}, {}}, &e.st, nullptr,
                                                  e.root)
                 .ok();
         }},
        {"a file written as a run writes it", MirrorEntry::Type::File,
         [](const MirrorEntry &e) {
             platform::AtomicFile file(e.dst, e.root);
             return file.fd() >= 0 && ::write(file.fd(), "x", 1) == 1 && file.commit();
         }},
        {"a folder", MirrorEntry::Type::Folder,
         [](const MirrorEntry &e) { return platform::makeMirrorFolder(e).empty(); }},
        {"a link", MirrorEntry::Type::Link,
         [](const MirrorEntry &e) { return platform::makeMirrorLink(e).empty(); }},
        {"a file's mode", MirrorEntry::Type::File,
         [](const MirrorEntry &e) {
             platform::keepMirrorMode(e);
             return false;
         }},
        {"a folder's mode at the end", MirrorEntry::Type::Folder,
         [](const MirrorEntry &e) {
             platform::finishMirrorFolders({e});
             return false;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir / "src/sub/deeper");
        writeFile(dir / "src/sub/a.txt", "公开的文字");
        fs::create_symlink("a.txt", dir / "src/sub/l");
        for (const char *open : {"src/sub", "src/sub/deeper", "src/sub/a.txt"})
            ::chmod((dir / open).c_str(), 0777);
        // A private folder of ours, with what the mirror's names would meet there.
        fs::create_directories(dir / "victim/deeper");
        writeFile(dir / "victim/a.txt", "mine");
        ::chmod((dir / "victim/a.txt").c_str(), 0600);
        ::chmod((dir / "victim/deeper").c_str(), 0700);
        ::chmod((dir / "victim").c_str(), 0700);
        fs::create_directories(dir / "out");
        const platform::MirrorPlan plan =
            platform::planMirror({{(dir / "src").string(), "src"}}, (dir / "out").string(), {});
        const MirrorEntry *target = nullptr;
        for (const MirrorEntry &e : plan.entries) {
            if (e.type == MirrorEntry::Type::Folder && e.dst != (dir / "out/src/sub/deeper").string()) {
                ASSERT_TRUE(platform::makeMirrorFolder(e).empty()) << e.dst;
            }
            if (e.type == c.type && fs::path(e.dst).parent_path() == dir / "out/src/sub")
                target = &e;
        }
        ASSERT_NE(target, nullptr);
        fs::rename(dir / "out/src/sub", dir / "out/src/old");
        fs::create_directory_symlink(dir / "victim", dir / "out/src/sub");
        EXPECT_FALSE(c.write(*target));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "victim"), fs::directory_iterator()), 2);
        EXPECT_EQ(readFile(dir / "victim/a.txt"), "mine");
        EXPECT_EQ(fs::status(dir / "victim/a.txt").permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(fs::status(dir / "victim/deeper").permissions(), fs::perms::owner_all);
        EXPECT_EQ(fs::status(dir / "victim").permissions(), fs::perms::owner_all);
    }
    // Swapped while the file is written: the file is renamed into the folder it was begun in.
    fs::remove_all(dir / "out");
    fs::create_directories(dir / "out/src/sub");
    platform::AtomicFile file((dir / "out/src/sub/a.txt").string(), (dir / "out").string());
    ASSERT_GE(file.fd(), 0) << file.why().in(core::Language::English);
    ASSERT_EQ(::write(file.fd(), "x", 1), 1);
    fs::rename(dir / "out/src/sub", dir / "out/src/old");
    fs::create_directory_symlink(dir / "victim", dir / "out/src/sub");
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(readFile(dir / "victim/a.txt"), "mine");
    EXPECT_EQ(readFile(dir / "out/src/old/a.txt"), "x");
    fs::remove_all(dir);
}

TEST(DocumentFile, CancelledConversionWritesNothing) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-cancel-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    int calls = 0;
    const auto outcome =
        platform::convertDocumentFile(fixture("sample-lo.docx"), dir / "out.docx",
                                      {segmented, {}, {}, [&calls](double) { return ++calls < 3; }});
    EXPECT_EQ(outcome.status, DocumentStatus::Cancelled);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

// A package whose size lies outside its text: a 2 MB picture stored, text parts that stay before
// and after the first one that changes (the one after stored), a stored one that changes, and
// (when `broken`) one that is not well-formed after the first change, so that it fails while the
// package is being written.
std::string mixedPackage(bool broken = false) {
    std::string picture(2 << 20, '\0');
    std::uint32_t x = 12345;
    for (char &c : picture) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    const std::string header = "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml";
    std::string types = kContentTypes.substr(0, kContentTypes.size() - std::string("</Types>").size());
    for (const char *name : {"header1", "header2", "header3"})
        types += R"(<Override PartName="/word/)" + std::string(name) + R"(.xml" ContentType=")" + header +
                 R"("/>)";
    types += "</Types>";
    auto part = [](const std::string &text) {
        return R"(<w:hdr xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:p><w:r><w:t>)" +
               text + "</w:t></w:r></w:p></w:hdr>";
    };
    return makeZip({{"[Content_Types].xml", types, false},
                    {"word/header1.xml", part("Before"), false},
                    {"word/media/image1.png", picture, true},
                    {"word/document.xml", wordDocument("<w:p><w:r><w:t>软件说明</w:t></w:r></w:p>"), false},
                    {"word/header2.xml", broken ? part("After</w:p>") : part("After"), true},
                    {"word/header3.xml", part("头发"), true}});
}

// The same package converted in memory, through files, and through descriptors that are written
// directly or by way of a temporary file: the same bytes every way, every entry kept but the text.
TEST(DocumentFile, PackagesWrittenToFilesMatchThoseMadeInMemory) {
    const std::string input = mixedPackage();
    const auto inMemory = convert(input, "s2t");
    ASSERT_EQ(inMemory.outcome.status, DocumentStatus::Converted)
        << inMemory.outcome.message.in(core::Language::English);
    const auto before = rawEntries(input), after = rawEntries(inMemory.bytes);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].name);
        EXPECT_EQ(before[i].name, after[i].name);
        EXPECT_EQ(before[i].method, after[i].method);
        EXPECT_EQ(std::tie(before[i].date, before[i].time), std::tie(after[i].date, after[i].time));
        const bool text = before[i].name == "word/document.xml" || before[i].name == "word/header3.xml";
        EXPECT_EQ(before[i].compressed == after[i].compressed, !text);
    }
    EXPECT_NE(inflated(inMemory.bytes, "word/header3.xml").find("頭髮"), std::string::npos);

    const fs::path dir = fs::temp_directory_path() / ("lanternfin-stream-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeFile(dir / "in.docx", input);
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    for (const bool scratch : {true, false}) {
        SCOPED_TRACE(scratch ? "written directly" : "by way of a temporary file");
        const int in = ::open((dir / "in.docx").c_str(), O_RDONLY);
        const int out = ::open((dir / "out.docx").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        const auto outcome = platform::convertDocumentDescriptor(in, out, scratch, {segmented, {}, {}, {}});
        ::close(in);
        ::close(out);
        EXPECT_EQ(outcome.status, DocumentStatus::Converted) << outcome.message.in(core::Language::English);
        EXPECT_TRUE(readFile(dir / "out.docx") == inMemory.bytes);
    }
    fs::remove(dir / "out.docx");
    const auto outcome =
        platform::convertDocumentFile(dir / "in.docx", dir / "out.docx", {segmented, {}, {}, {}});
    EXPECT_EQ(outcome.status, DocumentStatus::Converted);
    EXPECT_TRUE(readFile(dir / "out.docx") == inMemory.bytes);
    fs::remove_all(dir);
}

// Stopped at any point, before or while the package is written, or failing on a part once writing
// has begun: nothing is left, not even a temporary file, and a descriptor that is not the
// conversion's own is never written.
TEST(DocumentFile, StoppedOrFailingWritesLeaveNothing) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-stop-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeFile(dir / "in.docx", mixedPackage());
    writeFile(dir / "broken.docx", mixedPackage(true));
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    int calls = 0;
    platform::DocumentJob counting{segmented, core::document::PartOptions(), {}, {}};
    counting.progress = [&calls](double) { return ++calls > 0; };
    ASSERT_TRUE(platform::convertDocumentFile(dir / "in.docx", dir / "out.docx", counting).ok());
    fs::remove(dir / "out.docx");
    const int total = calls;
    ASSERT_GT(total, 4) << "the progress is told of the parts and of the writing";
    for (int stop = 1; stop <= total; ++stop) {
        SCOPED_TRACE("stopped at call " + std::to_string(stop));
        calls = 0;
        platform::DocumentJob job{segmented, core::document::PartOptions(), {}, {}};
        job.progress = [&calls, stop](double) { return ++calls < stop; };
        const auto outcome = platform::convertDocumentFile(dir / "in.docx", dir / "out.docx", job);
        EXPECT_EQ(outcome.status, DocumentStatus::Cancelled);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    }
    const auto broken =
        platform::convertDocumentFile(dir / "broken.docx", dir / "out.docx", {segmented, {}, {}, {}});
    EXPECT_EQ(broken.status, DocumentStatus::Unreadable);
    EXPECT_NE(broken.message.in(core::Language::English).find("word/header2.xml"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    const int in = ::open((dir / "broken.docx").c_str(), O_RDONLY);
    const int out = ::open((dir / "out.docx").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    EXPECT_EQ(platform::convertDocumentDescriptor(in, out, false, {segmented, {}, {}, {}}).status,
              DocumentStatus::Unreadable);
    ::close(in);
    ::close(out);
    EXPECT_EQ(fs::file_size(dir / "out.docx"), 0u);
    fs::remove_all(dir);
}

// A document that needs no change is copied from the file as it is, in place too.
TEST(DocumentFile, UnchangedFilesComeOutIdentical) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-same-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string input = readFile(fixture("sample-lo.docx"));
    writeFile(dir / "in.docx", input);
    const core::document::PhraseSegmentedConverter segmented(converter("t2s"));
    for (const char *out : {"out.docx", "in.docx"}) {
        SCOPED_TRACE(out);
        const auto outcome =
            platform::convertDocumentFile(dir / "in.docx", dir / out, {segmented, {}, {}, {}});
        EXPECT_EQ(outcome.status, DocumentStatus::Unchanged) << outcome.message.in(core::Language::English);
        EXPECT_TRUE(readFile(dir / out) == input);
    }
    fs::remove_all(dir);
}

// `utf8` in `code` by glibc's iconv, an encoder other than the program's (ICU).
std::string iconvTo(const char *code, const std::string &utf8) {
    iconv_t cd = iconv_open(code, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << code;
    std::string out(utf8.size() * 4 + 8, '\0');
    char *in = const_cast<char *>(utf8.data()), *to = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &to, &outLeft), static_cast<std::size_t>(-1)) << code;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// `bytes` with each EURO put as A2 E3, GB18030's €, beside what glibc's GBK writes as 80.
std::string withEuroPair(std::string bytes) {
    for (std::size_t at; (at = bytes.find("EURO")) != std::string::npos;)
        bytes.replace(at, 4, "\xA2\xE3");
    return bytes;
}

TEST(DocumentFile, TextFilesInEveryEncodingComeBackInTheirOwn) {
    const std::string simplified =
        "简体中文的报告，说明这个问题。\r\n第二行：我们明天开会，讨论头发和软件。\r\n";
    const std::string traditional =
        "簡體中文的報告，說明這個問題。\r\n第二行：我們明天開會，討論頭髮和軟件。\r\n";
    const std::string bomLe("\xFF\xFE", 2), bomBe("\xFE\xFF", 2), bom8("\xEF\xBB\xBF", 3);
    // A page saved as UTF-16: its text converted, never its addresses, classes or script.
    const std::string page = "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-16\"><title>报告</title>"
                             "<script>var s = \"简体\";</script></head><body class=\"报告\">"
                             "<a href=\"报告.html\" title=\"头发\">说明这个问题</a></body></html>\r\n";
    const std::string pageOut = "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-16\"><title>報告</title>"
                                "<script>var s = \"简体\";</script></head><body class=\"报告\">"
                                "<a href=\"报告.html\" title=\"頭髮\">說明這個問題</a></body></html>\r\n";
    const std::string xhtml =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<body><p id=\"头发\">头发</p></body></html>";
    const std::string xhtmlOut =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<body><p id=\"头发\">頭髮</p></body></html>";
    // A price list in euros, as Chinese Windows saves it (ANSI: € is 80) or in GB18030 (A2 E3).
    const std::string prices = "价格：5€，运费 2€。\r\n", pricesOut = "價格：5€，運費 2€。\r\n";
    const std::string euroBoth =
        "writes € both as 80 (byte " + std::to_string(iconvTo("GBK", simplified + "价格：5").size()) +
        ") and as A2 E3 (byte " + std::to_string(iconvTo("GBK", simplified + prices).size()) +
        "), and cannot be written back with both; nothing written";
    const struct {
        const char *what;
        const char *config;
        std::string input;
        DocumentStatus expected;
        std::string output; // the file written; for a refusal, what the message says
    } cases[] = {
        {"UTF-8", "s2t", simplified, DocumentStatus::Converted, traditional},
        {"UTF-8 with its mark", "s2t", bom8 + simplified, DocumentStatus::Converted, bom8 + traditional},
        {"GB18030", "s2t", iconvTo("GB18030", simplified), DocumentStatus::Converted,
         iconvTo("GB18030", traditional)},
        {"GB18030 to simplified", "t2s", iconvTo("GB18030", traditional), DocumentStatus::Converted,
         iconvTo("GB18030", simplified)},
        {"UTF-16LE", "s2t", bomLe + iconvTo("UTF-16LE", simplified), DocumentStatus::Converted,
         bomLe + iconvTo("UTF-16LE", traditional)},
        {"UTF-16BE", "s2t", bomBe + iconvTo("UTF-16BE", simplified), DocumentStatus::Converted,
         bomBe + iconvTo("UTF-16BE", traditional)},
        {"Big5 that needs no change", "s2t", iconvTo("BIG5", traditional), DocumentStatus::Unchanged,
         iconvTo("BIG5", traditional)},
        {"GBK with € as 80, as Windows writes it", "s2t", iconvTo("GBK", simplified + prices),
         DocumentStatus::Converted, iconvTo("GBK", traditional + pricesOut)},
        {"GB18030 with € as A2 E3", "s2t", iconvTo("GB18030", simplified + prices), DocumentStatus::Converted,
         iconvTo("GB18030", traditional + pricesOut)},
        {"€ both ways, with text to change", "s2t", iconvTo("GBK", simplified + prices) + "\xA2\xE3",
         DocumentStatus::Refused, euroBoth},
        {"€ both ways, with nothing to change", "s2t", iconvTo("GBK", traditional + pricesOut) + "\xA2\xE3",
         DocumentStatus::Unchanged, iconvTo("GBK", traditional + pricesOut) + "\xA2\xE3"},
        {"Big5 whose simplified characters have no code", "t2s", iconvTo("BIG5", traditional),
         DocumentStatus::Refused, "line 1: 简 (U+7B80) has no code in BIG5; nothing written"},
        {"ASS subtitles: cue text only", "s2t",
         "[Script Info]\nTitle: 报告\n\n[V4+ Styles]\nStyle: 黑体,黑体,20\n\n[Events]\n"
         "Dialogue: 0,0:00:01.00,0:00:02.00,黑体,,0,0,0,,{\\fn黑体}软件和头发\\N说明\n",
         DocumentStatus::Converted,
         "[Script Info]\nTitle: 报告\n\n[V4+ Styles]\nStyle: 黑体,黑体,20\n\n[Events]\n"
         "Dialogue: 0,0:00:01.00,0:00:02.00,黑体,,0,0,0,,{\\fn黑体}軟件和頭髮\\N說明\n"},
        {"ASS karaoke: a phrase the tags part converted whole", "s2t",
         "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\k30}理{\\k30}发{\\k30}店\n",
         DocumentStatus::Converted,
         "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\k30}理{\\k30}髮{\\k30}店\n"},
        {"UTF-16LE web page", "s2t", bomLe + iconvTo("UTF-16LE", page), DocumentStatus::Converted,
         bomLe + iconvTo("UTF-16LE", pageOut)},
        {"UTF-16BE XHTML page", "s2t", bomBe + iconvTo("UTF-16BE", xhtml), DocumentStatus::Converted,
         bomBe + iconvTo("UTF-16BE", xhtmlOut)},
        {"UTF-16 page that is damaged", "s2t",
         bomLe + iconvTo("UTF-16LE", "<html><p>报告") + std::string("\0\xDC", 2), DocumentStatus::Unreadable,
         "is not valid UTF-16LE (byte 24)"},
        {"bytes that are no text", "s2t",
         std::string("\x81\x30\xFF\xFF\x00\x01\x80\x80", 8) + std::string(64, '\xFF'),
         DocumentStatus::Refused, "is neither UTF-8 text nor Chinese text in GB18030 or Big5"},
    };
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-enc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir / "out.txt");
        writeFile(dir / "in.txt", c.input);
        const core::document::PhraseSegmentedConverter segmented(converter(c.config));
        const auto outcome =
            platform::convertDocumentFile(dir / "in.txt", dir / "out.txt", {segmented, {}, {}, {}});
        const std::string said = outcome.message.in(core::Language::English);
        EXPECT_EQ(outcome.status, c.expected) << said;
        if (outcome.ok()) {
            EXPECT_EQ(readFile(dir / "out.txt"), c.output);
        } else {
            EXPECT_EQ(said, c.output);
            EXPECT_FALSE(fs::exists(dir / "out.txt"));
        }
    }
    fs::remove_all(dir);
}

// Pages in the Chinese code pages, read in what they declare (or, declaring nothing, in what their
// text is told to be in), converted as pages and written back in it: every byte of markup, script,
// comment and address as it was, a character the code page lacks as a character reference.
TEST(DocumentFile, PagesInCodePagesComeBackInTheirOwn) {
    // Never converted: the script, the style, the class, the comment, the address (`kept`).
    const auto page = [](const std::string &head, const std::string &title, const std::string &tip,
                         const std::string &text, const std::string &kept = "简体") {
        return "<!DOCTYPE html>\r\n<html><head>" + head + "<title>" + title + "</title><script>var s = \"" +
               kept + "\";</script><style>." + kept + "{}</style></head><body class=\"" + kept + "\"><!-- " +
               kept + " --><a href=\"" + kept + ".html\" title=\"" + tip + "\">" + text +
               "</a><p>&amp;</p></body></html>\r\n";
    };
    const std::string gbMeta = "<meta charset=\"gbk\">";
    const std::string gb2312Meta = "<meta charset=\"gb2312\">";
    const std::string gbEquiv = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GBK\">";
    const std::string b5Meta = "<meta charset=\"big5\">";
    const std::string simplified = "说明这个问题，我们明天开会讨论软件";
    const std::string traditional = "說明這個問題，我們明天開會討論軟件";
    const std::string xhtml =
        "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<head><title>报告</title></head><body><p id=\"头发\">头发<![CDATA[软件]]></p></body></html>";
    const std::string xhtmlOut =
        "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
        "<head><title>報告</title></head><body><p id=\"头发\">頭髮<![CDATA[軟件]]></p></body></html>";
    const struct {
        const char *what;
        const char *config;
        std::string input;
        DocumentStatus expected;
        std::string output; // the file written; for a refusal, what the message says
    } cases[] = {
        {"GBK meta charset", "s2t", iconvTo("GB2312", page(gbMeta, "报告", "头发", simplified)),
         DocumentStatus::Converted, iconvTo("GBK", page(gbMeta, "報告", "頭髮", traditional))},
        {"GB2312: what it lacks as references", "s2t",
         iconvTo("GB2312", page(gb2312Meta, "报告", "头发", "说明")), DocumentStatus::Converted,
         iconvTo("GB2312", page(gb2312Meta, "&#x5831;告", "&#x982D;&#x9AEE;", "&#x8AAA;明"))},
        {"GBK http-equiv, back to simplified", "t2s",
         iconvTo("GBK", page(gbEquiv, "報告", "頭髮", traditional)), DocumentStatus::Converted,
         iconvTo("GBK", page(gbEquiv, "报告", "头发", simplified))},
        {"XHTML declaring GBK in its XML declaration", "s2t", iconvTo("GBK", xhtml),
         DocumentStatus::Converted, iconvTo("GBK", xhtmlOut)},
        {"Big5: simplified characters as references in text, title and attributes", "t2s",
         iconvTo("BIG5", page(b5Meta, "報告", "頭髮", "說明問題", "繁體")), DocumentStatus::Converted,
         iconvTo("BIG5",
                 page(b5Meta, "&#x62A5;告", "&#x5934;&#x53D1;", "&#x8BF4;明&#x95EE;&#x9898;", "繁體"))},
        {"Big5 XHTML: no reference in a CDATA section", "t2s",
         iconvTo("BIG5",
                 "<?xml version=\"1.0\" encoding=\"big5\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
                 "<body><p>\n<![CDATA[說明]]></p></body></html>"),
         DocumentStatus::Refused,
         "line 3: 说 (U+8BF4) has no code in BIG5, and where it stands (a CDATA section, <xmp>, <plaintext>, "
         "<noframes>) a character reference shows as written; nothing written"},
        {"Big5 HTML: no reference in <xmp>, whose text shows as written", "t2s",
         iconvTo("BIG5",
                 "<html><head>" + b5Meta + "</head><body><p>繁體</p>\n<xmp>說明 &amp;</xmp></body></html>"),
         DocumentStatus::Refused,
         "line 2: 说 (U+8BF4) has no code in BIG5, and where it stands (a CDATA section, <xmp>, <plaintext>, "
         "<noframes>) a character reference shows as written; nothing written"},
        {"GBK HTML: <xmp> converted as it stands", "s2t",
         iconvTo("GBK",
                 "<html><head>" + gbMeta + "</head><body><xmp>头发 &amp; <b>说明</b></xmp></body></html>"),
         DocumentStatus::Converted,
         iconvTo("GBK",
                 "<html><head>" + gbMeta + "</head><body><xmp>頭髮 &amp; <b>說明</b></xmp></body></html>")},
        {"GB2312 label: the GBK characters Word wrote stay as they are", "s2t",
         iconvTo("GBK", "<html><head>" + gb2312Meta + "</head><p>說明书</p></html>"),
         DocumentStatus::Converted,
         iconvTo("GBK", "<html><head>" + gb2312Meta + "</head><p>說明&#x66F8;</p></html>")},
        {"undeclared GBK, told from its text", "s2t", iconvTo("GBK", page("", "报告", "头发", simplified)),
         DocumentStatus::Converted, iconvTo("GBK", page("", "報告", "頭髮", traditional))},
        {"undeclared and too short to tell", "s2t", iconvTo("GBK", "<html><p>软件</p></html>"),
         DocumentStatus::Refused,
         "the page declares no encoding, and its text is too short to tell GB18030 from Big5, or reads as "
         "both: "
         "add <meta charset=\"gbk\"> or <meta charset=\"big5\"> to its head"},
        // (80 is € in GBK, as browsers read it; FF is nothing.)
        {"a declaration its bytes contradict", "s2t", "<html><head><meta charset=gbk></head><p>\x80\xFF</p>",
         DocumentStatus::Refused, "the page declares gbk, but byte 41 is not valid GBK; nothing written"},
        {"GBK with € as 80", "s2t", iconvTo("GBK", page(gbMeta, "报告", "头发", simplified + "，5€")),
         DocumentStatus::Converted, iconvTo("GBK", page(gbMeta, "報告", "頭髮", traditional + "，5€"))},
        {"€ both ways: each kept where it stands", "s2t",
         withEuroPair(iconvTo("GBK", page(gbMeta, "报告EURO", "头发", simplified + "，5€"))),
         DocumentStatus::Converted,
         withEuroPair(iconvTo("GBK", page(gbMeta, "報告EURO", "頭髮", traditional + "，5€")))},
        {"GBK declared, UTF-8 written", "s2t", page(gbMeta, "报告", "头发", simplified),
         DocumentStatus::Refused,
         "the page declares gbk, but its Chinese is in UTF-8: correct its <meta charset> to utf-8; nothing "
         "written"},
        {"UTF-8 declared, GBK written", "s2t",
         "<html><meta charset=utf-8><p>" + iconvTo("GBK", simplified) + "</p>", DocumentStatus::Refused,
         "the page declares utf-8, but byte 31 is not valid UTF-8; nothing written"},
        {"another encoding, all ASCII: references stay references", "s2t",
         "<html><meta charset=windows-1252><p>&#x8F6F;&#x4EF6; &amp; caf&eacute;</p></html>",
         DocumentStatus::Converted,
         "<html><meta charset=windows-1252><p>&#x8EDF;&#x4EF6; &amp; caf&eacute;</p></html>"},
        {"another encoding with its own bytes", "s2t", "<html><meta charset=iso-8859-1><p>caf\xE9</p></html>",
         DocumentStatus::Refused,
         "the page declares its encoding as iso-8859-1, which is not read here: save it as UTF-8, GBK or "
         "Big5"},
        {"UTF-8 declared", "s2t", page("<meta charset=utf-8>", "报告", "头发", simplified),
         DocumentStatus::Converted, page("<meta charset=utf-8>", "報告", "頭髮", traditional)},
        {"GBK that needs no change", "t2s", iconvTo("GBK", page(gbMeta, "报告", "头发", simplified)),
         DocumentStatus::Unchanged, iconvTo("GBK", page(gbMeta, "报告", "头发", simplified))},
    };
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-pages-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir / "out.html");
        writeFile(dir / "in.html", c.input);
        const core::document::PhraseSegmentedConverter segmented(converter(c.config));
        const auto outcome =
            platform::convertDocumentFile(dir / "in.html", dir / "out.html", {segmented, {}, {}, {}});
        const std::string said = outcome.message.in(core::Language::English);
        EXPECT_EQ(outcome.status, c.expected) << said;
        if (outcome.ok()) {
            EXPECT_EQ(readFile(dir / "out.html"), c.output);
        } else {
            EXPECT_EQ(said, c.output);
            EXPECT_FALSE(fs::exists(dir / "out.html"));
        }
    }
    fs::remove_all(dir);
}

// Converts 发 to 發 and reports each paragraph as one segment, as a phrase spanning it would: the
// page's change then covers the € between, which is written anew.
class WholeParagraph final : public core::document::SegmentedConverter {
public:
    void convert(std::string_view utf8, std::string &out,
                 std::vector<core::Segment> &segments) const override {
        out.assign(utf8);
        for (std::size_t at; (at = out.find("发")) != std::string::npos;)
            out.replace(at, 3, "發");
        const auto count = static_cast<std::size_t>(
            std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        segments.assign(count > 0 ? 1 : 0, core::Segment{0, count, 0, count});
    }
};

TEST(DocumentFile, AEuroThatAPageWritesAnewTakesThePagesForm) {
    const auto page = [](const std::string &title, const std::string &text) {
        return "<html><head><meta charset=\"gbk\"><title>" + title + "</title></head><p>" + text +
               "</p></html>";
    };
    const struct {
        const char *what;
        std::string input;
        DocumentStatus expected;
        std::string output; // the file written; for a refusal, what the message says
    } cases[] = {
        {"80 written as 80", iconvTo("GBK", page("5€", "发€发")), DocumentStatus::Converted,
         iconvTo("GBK", page("5€", "發€發"))},
        {"A2 E3 written as A2 E3", iconvTo("GB18030", page("5€", "发€发")), DocumentStatus::Converted,
         iconvTo("GB18030", page("5€", "發€發"))},
        {"both ways: the one written anew has no form to take",
         withEuroPair(iconvTo("GBK", page("5EURO", "发€发"))), DocumentStatus::Refused,
         "writes € both as 80 (byte 62) and as A2 E3 (byte 40), and cannot be written back with both; "
         "nothing written"},
    };
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-euro-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const WholeParagraph converter;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir / "out.html");
        writeFile(dir / "in.html", c.input);
        const auto outcome =
            platform::convertDocumentFile(dir / "in.html", dir / "out.html", {converter, {}, {}, {}});
        const std::string said = outcome.message.in(core::Language::English);
        EXPECT_EQ(outcome.status, c.expected) << said;
        if (outcome.ok()) {
            EXPECT_EQ(readFile(dir / "out.html"), c.output);
        } else {
            EXPECT_EQ(said, c.output);
            EXPECT_FALSE(fs::exists(dir / "out.html"));
        }
    }
    fs::remove_all(dir);
}

// The window writes 报告（繁体）.docx beside the original, in a folder others may write: a link put
// at that name (after the name was found free, or a dangling one, which "exists" missed) used to
// be followed, and the converted file was written where it led. It is replaced instead.
TEST(DocumentFile, ALinkAtTheOutputsNameIsReplacedNeverFollowed) {
    const fs::path dir = fs::temp_directory_path() / ("lanternfin-link-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeFile(dir / "in.txt", "软件\n");
    const core::document::PhraseSegmentedConverter segmented(converter("s2t"));
    for (const bool dangling : {true, false}) {
        SCOPED_TRACE(dangling ? "dangling" : "to a file");
        fs::remove(dir / "victim");
        fs::remove(dir / "out.txt");
        if (!dangling)
            writeFile(dir / "victim", "mine\n");
        fs::create_symlink(dir / "victim", dir / "out.txt");
        const auto outcome =
            platform::convertDocumentFile(dir / "in.txt", dir / "out.txt", {segmented, {}, {}, {}});
        EXPECT_TRUE(outcome.ok()) << outcome.message.in(core::Language::English);
        EXPECT_FALSE(fs::is_symlink(dir / "out.txt"));
        EXPECT_EQ(readFile(dir / "out.txt"), "軟件\n");
        EXPECT_EQ(fs::exists(dir / "victim"), !dangling);
        if (!dangling) {
            EXPECT_EQ(readFile(dir / "victim"), "mine\n");
        }
    }
    fs::remove_all(dir);
}

} // namespace
