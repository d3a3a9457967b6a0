// Content controls bound to data: which element a binding names, which part holds it, and that the
// element (and nothing else of its store) is converted with the control.

#include "core/document/data_binding.h"
#include "core/document/xml_part.h"
#include "small_phrases.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace core::document;

const std::string kCoreNs = "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
const std::string kDcNs = "http://purl.org/dc/elements/1.1/";
const std::string kCoreMappings = "xmlns:ns0='" + kDcNs + "' xmlns:ns1=\"" + kCoreNs + "\"";

TEST(DataBinding, PathsOfElementsAreUnderstoodAndAnythingElseIsNot) {
    const struct {
        std::string xpath, mappings;
        std::optional<ElementPath> path;
    } cases[] = {
        {"/ns1:coreProperties[1]/ns0:title[1]", kCoreMappings,
         ElementPath{{kCoreNs, "coreProperties", 1}, {kDcNs, "title", 1}}},
        // names without a prefix are in no namespace
        {"/root[1]/item[12]/name[1]", "", ElementPath{{"", "root", 1}, {"", "item", 12}, {"", "name", 1}}},
        // a repeating section's collection, not one control's text
        {"/ns0:a[1]/ns0:item", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns0:a[1]", "xmlns='urn:default' xmlns:ns0='urn:x'", ElementPath{{"urn:x", "a", 1}}},
        {"/ns0:a[1]/@ns0:b", "xmlns:ns0='urn:x'", std::nullopt},    // an attribute
        {"/ns0:a[1]//ns0:b[1]", "xmlns:ns0='urn:x'", std::nullopt}, // any depth
        {"/ns0:a[1]/*", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns0:a[@id='1']", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns0:a[0]", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns0:a[1]/text()", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns0:a[1]/..", "xmlns:ns0='urn:x'", std::nullopt},
        {"/ns9:a[1]", "xmlns:ns0='urn:x'", std::nullopt}, // undeclared prefix
        {"ns0:a[1]", "xmlns:ns0='urn:x'", std::nullopt},  // relative
        {"/ns0:a[1]/", "xmlns:ns0='urn:x'", std::nullopt},
        {"/a[1]", "xmlns:ns0='urn:x", std::nullopt}, // mappings cut short
        {"", "", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseBindingPath(c.xpath, c.mappings), c.path) << c.xpath;
}

TEST(DataBinding, ControlsOfAPartAreFoundWithTheirStores) {
    const std::string part =
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
        R"(<w:sdt><w:sdtPr><w:dataBinding w:prefixMappings="xmlns:ns0='urn:x'" w:xpath="/ns0:root[1]/ns0:name[1]" )"
        R"(w:storeItemID="{abcdef01-0000-0000-0000-000000000000}"/></w:sdtPr></w:sdt>)"
        R"(<w:sdt><w:sdtPr><w:dataBinding w:xpath="/root[1]/@id" w:storeItemID="{1}"/></w:sdtPr></w:sdt>)"
        R"(<w:sdt><w:sdtPr><w:dataBinding w:xpath="/root[1]/name[1]"/></w:sdtPr></w:sdt>)"
        R"(</w:body></w:document>)";
    std::vector<DataBinding> found;
    findDataBindings(part, found);
    ASSERT_EQ(found.size(), 1u); // an attribute's path and a binding without a store are left out
    EXPECT_EQ(found[0].storeItem, "{ABCDEF01-0000-0000-0000-000000000000}");
    EXPECT_EQ(found[0].path, (ElementPath{{"urn:x", "root", 1}, {"urn:x", "name", 1}}));
}

TEST(DataBinding, StoresAreFoundByTheirIds) {
    const std::map<std::string, std::string> package = {
        {"[Content_Types].xml",
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>)"
         R"(<Override PartName="/docProps/app.xml" ContentType="application/vnd.openxmlformats-officedocument.extended-properties+xml"/>)"
         R"(</Types>)"},
        {"customXml/item1.xml", "<root/>"},
        {"customXml/itemProps1.xml",
         R"(<ds:datastoreItem ds:itemID="{11111111-aaaa-0000-0000-000000000000}" )"
         R"(xmlns:ds="http://schemas.openxmlformats.org/officeDocument/2006/customXml"/>)"},
        {"customXml/_rels/item1.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXmlProps" Target="itemProps1.xml"/>)"
         R"(</Relationships>)"},
        {"docProps/app.xml", "<Properties/>"},
        {"docProps/core.xml", "<cp:coreProperties/>"},
        {"word/document.xml", "<w:document/>"},
    };
    const std::vector<std::string> names = {"[Content_Types].xml",      "customXml/item1.xml",
                                            "customXml/itemProps1.xml", "customXml/_rels/item1.xml.rels",
                                            "word/document.xml",        "docProps/app.xml",
                                            "docProps/core.xml"};
    const ReadSmallPart read = [&](const std::string &name) -> std::optional<std::string> {
        const auto it = package.find(name);
        return it == package.end() ? std::nullopt : std::optional(it->second);
    };
    const ElementPath creator{{kCoreNs, "coreProperties", 1}, {kDcNs, "creator", 1}};
    const ElementPath company{{"urn:extended", "Properties", 1}, {"urn:extended", "Company", 1}};
    const ElementPath name{{"", "root", 1}, {"", "name", 1}};
    const std::vector<DataBinding> bindings = {
        {"{6C3C8BC8-F283-45AE-878A-BAB7291924A1}", creator},
        {"{6C3C8BC8-F283-45AE-878A-BAB7291924A1}", creator}, // the same element twice
        {"{6668398D-A668-4E3E-A5EB-62B293D839F1}", company},
        {"{11111111-AAAA-0000-0000-000000000000}", name},
        {"{22222222-0000-0000-0000-000000000000}", name}, // a store the package lacks
    };
    std::vector<TextPart> parts = {{"word/document.xml", PartKind::WordprocessingText},
                                   {"docProps/core.xml", PartKind::CoreProperties}};
    addBoundParts(parts, names, read, bindings);
    ASSERT_EQ(parts.size(), 4u);
    const struct {
        std::string name;
        PartKind kind;
        std::vector<ElementPath> bound;
    } expected[] = {
        {"customXml/item1.xml", PartKind::BoundData, {name}},
        {"word/document.xml", PartKind::WordprocessingText, {}},
        {"docProps/app.xml", PartKind::BoundData, {company}},
        {"docProps/core.xml", PartKind::CoreProperties, {creator}},
    };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].name, expected[i].name);
        EXPECT_EQ(parts[i].kind, expected[i].kind) << parts[i].name;
        EXPECT_EQ(parts[i].bound, expected[i].bound) << parts[i].name;
    }
}

TEST(DataBinding, OnlyTheBoundElementsOfAStoreAreConverted) {
    static const auto phrases = core::PhraseConverter::build(testsupport::smallS2twpConfig());
    const PhraseSegmentedConverter conv(phrases);
    const struct {
        const char *what;
        PartKind kind;
        std::string in;
        std::vector<ElementPath> bound;
        std::string out;
    } cases[] = {
        {"the second of two same-named elements, by namespace not prefix",
         PartKind::BoundData,
         R"(<r:root xmlns:r="urn:x"><r:id>软件-1</r:id><r:name>软件</r:name><name xmlns="urn:x">软件</name></r:root>)",
         {{{"urn:x", "root", 1}, {"urn:x", "name", 2}}},
         R"(<r:root xmlns:r="urn:x"><r:id>软件-1</r:id><r:name>软件</r:name><name xmlns="urn:x">軟體</name></r:root>)"},
        {"an element in no namespace is not one in the default namespace",
         PartKind::BoundData,
         R"(<root><name>软件</name><x xmlns="urn:x"><name>软件</name></x></root>)",
         {{{"", "root", 1}, {"", "name", 1}}, {{"", "root", 1}, {"", "x", 1}, {"", "name", 1}}},
         R"(<root><name>軟體</name><x xmlns="urn:x"><name>软件</name></x></root>)"},
        {"an element inside the bound one is part of its text",
         PartKind::BoundData,
         R"(<root><note>软<b>件</b></note><note/><note>软件</note></root>)",
         {{{"", "root", 1}, {"", "note", 1}}, {{"", "root", 1}, {"", "note", 3}}},
         R"(<root><note>軟<b>體</b></note><note/><note>軟體</note></root>)"},
        {"the author, never converted unless a control shows it",
         PartKind::CoreProperties,
         R"(<cp:coreProperties xmlns:cp=")" + kCoreNs + R"(" xmlns:dc=")" + kDcNs +
             R"("><dc:title>软件</dc:title><dc:creator>软件</dc:creator><cp:lastModifiedBy>软件</cp:lastModifiedBy></cp:coreProperties>)",
         {{{kCoreNs, "coreProperties", 1}, {kDcNs, "creator", 1}},
          {{kCoreNs, "coreProperties", 1}, {kDcNs, "title", 1}}},
         R"(<cp:coreProperties xmlns:cp=")" + kCoreNs + R"(" xmlns:dc=")" + kDcNs +
             R"("><dc:title>軟體</dc:title><dc:creator>軟體</dc:creator><cp:lastModifiedBy>软件</cp:lastModifiedBy></cp:coreProperties>)"},
        {"a store without bound elements stays as it is",
         PartKind::BoundData,
         "<root><name>软件</name></root>",
         {},
         "<root><name>软件</name></root>"},
    };
    for (const auto &c : cases) {
        PartOptions options;
        options.boundElements = c.bound;
        const PartOutcome r = convertPart(c.in, c.kind, conv, options);
        EXPECT_TRUE(r.error.empty()) << c.what << ": " << r.error;
        EXPECT_EQ(r.bytes, c.out) << c.what;
    }
}

} // namespace
