// Parts of each format converted: paragraphs as the engine converts them, field instructions,
// names and addresses untouched, every byte outside changed text kept, no-change parts identical.

#include "core/document/xml_part.h"
#include "small_phrases.h"

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace core::document;

const char *const kW = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";
const char *const kA = R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")";
const char *const kP = R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";

// `doc` with each (from, to) replaced in turn, each after the one before: the expected result
// written as the few places that change.
std::string replaced(std::string doc, const std::vector<std::pair<std::string, std::string>> &changes) {
    std::size_t at = 0;
    for (const auto &[from, to] : changes) {
        const std::size_t k = doc.find(from, at);
        EXPECT_NE(k, std::string::npos) << "no " << from << " in the test document";
        if (k == std::string::npos)
            break;
        doc.replace(k, from.size(), to);
        at = k + to.size();
    }
    return doc;
}

class XmlPart : public ::testing::Test {
protected:
    // Built once: the converter is immutable.
    static const core::PhraseConverter &phrases() {
        static const auto converter = core::PhraseConverter::build(testsupport::smallS2twpConfig());
        return converter;
    }
    PhraseSegmentedConverter conv{phrases()};

    void expectConverted(const std::string &in, PartKind kind, const std::string &out,
                         const PartOptions &options = {}) {
        const PartOutcome r = convertPart(in, kind, conv, options);
        EXPECT_TRUE(r.error.empty()) << r.error;
        EXPECT_EQ(r.bytes, out);
        EXPECT_EQ(r.changed, in != out);
    }
};

TEST_F(XmlPart, WordParagraphsFieldsAndRevisions) {
    const std::string doc =
        std::string(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)") + "\r\n<w:document " + kW +
        R"(><w:body>)"
        // a phrase across runs with other formatting, a bookmark between runs
        R"(<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>内</w:t></w:r><w:r><w:t>存</w:t></w:r>)"
        R"(<w:bookmarkStart w:id="0" w:name="软件"/><w:r><w:t xml:space="preserve">和软件 </w:t></w:r></w:p>)"
        // a field: the instruction never, the result as text of its own
        R"(<w:p><w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText xml:space="preserve"> STYLEREF "标题 1" </w:instrText></w:r>)"
        R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>内存</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r></w:p>)"
        R"(<w:p><w:fldSimple w:instr=" STYLEREF 软件 "><w:r><w:t>软件</w:t></w:r></w:fldSimple></w:p>)"
        // an insertion joins the paragraph; deleted text is converted in its own context
        R"(<w:p><w:ins w:id="1" w:author="张"><w:r><w:t>U</w:t></w:r></w:ins><w:r><w:t>盘</w:t></w:r>)"
        R"(<w:del w:id="2"><w:r><w:delText>内</w:delText></w:r></w:del><w:r><w:t>存</w:t></w:r>)"
        R"(<w:r><w:tab/><w:t>方便面</w:t></w:r></w:p>)"
        "\r\n</w:body></w:document>";
    expectConverted(doc, PartKind::WordprocessingText,
                    replaced(doc, {{"<w:t>内</w:t>", "<w:t>記憶體</w:t>"},
                                   {"<w:t>存</w:t>", "<w:t></w:t>"},
                                   {"和软件 ", "和軟體 "},
                                   {"\"标题 1\"", "\"标题 1\""},
                                   {"<w:t>内存</w:t>", "<w:t>記憶體</w:t>"},
                                   {"STYLEREF 软件", "STYLEREF 软件"},
                                   {"<w:t>软件</w:t>", "<w:t>軟體</w:t>"},
                                   {"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"},
                                   {"<w:t>盘</w:t>", "<w:t></w:t>"},
                                   {"<w:delText>内</w:delText>", "<w:delText>內</w:delText>"},
                                   {"<w:t>方便面</w:t>", "<w:t>泡麵</w:t>"}}));
}

// Hidden text (w:vanish in a run's own properties) is no part of the phrase a reader sees around it:
// 头 + hidden 简体 + 发 was 頭簡體發 (the page showed 頭發), hidden U + 盘 emptied the visible run.
TEST_F(XmlPart, WordHiddenRunsAreConvertedApartFromTheVisibleText) {
    const struct {
        const char *what;
        std::string paragraph;
        std::vector<std::pair<std::string, std::string>> changes;
    } cases[] = {
        {"hidden text inside a phrase",
         R"(<w:p><w:r><w:t>头</w:t></w:r><w:r><w:rPr><w:vanish/></w:rPr><w:t>简体</w:t></w:r><w:r><w:t>发</w:t></w:r></w:p>)",
         {{"<w:t>头</w:t>", "<w:t>頭</w:t>"}, {"<w:t>简体</w:t>", "<w:t>簡體</w:t>"}, {"<w:t>发</w:t>", "<w:t>髮</w:t>"}}},
        {"a hidden run does not take a visible phrase",
         R"(<w:p><w:r><w:rPr><w:vanish/></w:rPr><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>盘</w:t>", "<w:t>盤</w:t>"}}},
        {"w:val=\"0\" shows the run",
         R"(<w:p><w:r><w:rPr><w:vanish w:val="0"/></w:rPr><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘</w:t>", "<w:t></w:t>"}}},
        {"a paragraph mark's or a former formatting's vanish hides no run",
         R"(<w:p><w:pPr><w:rPr><w:vanish/></w:rPr></w:pPr><w:r><w:rPr><w:rPrChange w:id="1"><w:rPr><w:vanish/></w:rPr>)"
         R"(</w:rPrChange></w:rPr><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘</w:t>", "<w:t></w:t>"}}},
        {"only its text: a field's data inside it is no text",
         R"(<w:p><w:r><w:rPr><w:vanish/></w:rPr><w:fldChar w:fldCharType="begin"><w:fldData>头发</w:fldData></w:fldChar></w:r></w:p>)",
         {}},
        {"the blanks between hidden runs part no phrase",
         "<w:p><w:r><w:rPr><w:vanish/></w:rPr><w:t>头</w:t></w:r>\n  <w:r><w:rPr><w:vanish/></w:rPr><w:t>发</w:t></w:r></w:p>",
         {{"<w:t>头</w:t>", "<w:t>頭</w:t>"}, {"<w:t>发</w:t>", "<w:t>髮</w:t>"}}},
        {"a run inside a hidden run's text box leaves it hidden",
         R"(<w:p><w:r><w:rPr><w:vanish/></w:rPr><w:pict><w:txbxContent><w:p><w:r><w:t>软件</w:t></w:r></w:p></w:txbxContent>)"
         R"(</w:pict><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>软件</w:t>", "<w:t>軟體</w:t>"}, {"<w:t>盘</w:t>", "<w:t>盤</w:t>"}}},
        {"the next run is seen again",
         R"(<w:p><w:r><w:rPr><w:vanish/></w:rPr><w:t>注</w:t></w:r><w:r><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘</w:t>", "<w:t></w:t>"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string doc = std::string("<w:document ") + kW + "><w:body>" + c.paragraph + "</w:body></w:document>";
        expectConverted(doc, PartKind::WordprocessingText, replaced(doc, c.changes));
    }
}

// A phrase that changes length and starts before a link never takes all the link's text: the link
// would be left empty, where no one can see or click it (请插入U + link 盘 was 請插入隨身碟 + an empty
// link). Each side is then converted on its own; a link where the phrase starts takes it whole.
TEST_F(XmlPart, APhraseBeforeALinkNeverEmptiesIt) {
    const char *const kOdf = R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")";
    const std::string kR =
        R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    const struct {
        const char *what;
        PartKind kind;
        std::string doc;
        std::vector<std::pair<std::string, std::string>> changes;
    } cases[] = {
        {"Word hyperlink",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW + kR +
             R"(><w:r><w:t>插入U</w:t></w:r><w:hyperlink r:id="rId5"><w:r><w:t>盘</w:t></w:r></w:hyperlink></w:p>)",
         {{"<w:t>盘</w:t>", "<w:t>盤</w:t>"}}},
        {"Word simple field",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW +
             R"(><w:r><w:t>方便</w:t></w:r><w:fldSimple w:instr="REF a"><w:r><w:t>面</w:t></w:r></w:fldSimple></w:p>)",
         {}},
        {"a link where the phrase starts takes it",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW + kR +
             R"(><w:hyperlink r:id="rId5"><w:r><w:t>U</w:t></w:r></w:hyperlink><w:r><w:t>盘</w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘</w:t>", "<w:t></w:t>"}}},
        {"a phrase inside a link across its runs",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW + kR +
             R"(><w:hyperlink r:id="rId5"><w:r><w:t>U</w:t></w:r><w:r><w:t>盘</w:t></w:r></w:hyperlink></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘</w:t>", "<w:t></w:t>"}}},
        {"a link that keeps some of its text takes no part",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW + kR +
             R"(><w:r><w:t>U</w:t></w:r><w:hyperlink r:id="rId5"><w:r><w:t>盘</w:t></w:r><w:r><w:t>软件</w:t></w:r></w:hyperlink></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"},
          {"<w:t>盘</w:t>", "<w:t></w:t>"},
          {"<w:t>软件</w:t>", "<w:t>軟體</w:t>"}}},
        {"a phrase of the same length keeps each character in its place",
         PartKind::WordprocessingText,
         std::string("<w:p ") + kW + kR +
             R"(><w:r><w:t>软</w:t></w:r><w:hyperlink r:id="rId5"><w:r><w:t>件</w:t></w:r></w:hyperlink></w:p>)",
         {{"<w:t>软</w:t>", "<w:t>軟</w:t>"}, {"<w:t>件</w:t>", "<w:t>體</w:t>"}}},
        {"OpenDocument link",
         PartKind::OdfText,
         std::string("<text:p ") + kOdf + R"(>内<text:a xlink:href="x">存</text:a></text:p>)",
         {{">内<", ">內<"}}},
        {"HTML link, and the text after it",
         PartKind::Html,
         R"(<p>插入U<a href="x">盘</a>U盘</p>)",
         {{">盘</a>U盘", ">盤</a>隨身碟"}}},
        {"XHTML link",
         PartKind::Xhtml,
         R"(<html xmlns="http://www.w3.org/1999/xhtml"><p>U<a href="x">盘</a></p></html>)",
         {{">盘<", ">盤<"}}},
        {"slide run with a link",
         PartKind::DrawingText,
         std::string("<a:p ") + kA + kR +
             R"(><a:r><a:t>U</a:t></a:r><a:r><a:rPr><a:hlinkClick r:id="rId2"/></a:rPr><a:t>盘</a:t></a:r></a:p>)",
         {{"<a:t>盘</a:t>", "<a:t>盤</a:t>"}}},
        {"slide run without one",
         PartKind::DrawingText,
         std::string("<a:p ") + kA +
             R"(><a:r><a:t>U</a:t></a:r><a:r><a:rPr b="1"/><a:t>盘</a:t></a:r></a:p>)",
         {{"<a:t>U</a:t>", "<a:t>隨身碟</a:t>"}, {"<a:t>盘</a:t>", "<a:t></a:t>"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(c.doc, c.kind, replaced(c.doc, c.changes));
    }
}

// Of a field's instruction only the words the field shows a reader: an index or contents entry
// (an index updated from XE fields brought the old text back), XE's cross-reference, a hyperlink's
// tip, a macro button's caption; names, bookmarks, addresses and switches stay.
TEST_F(XmlPart, WordFieldInstructionsConvertOnlyTheWordsTheyShow) {
    const struct {
        const char *instruction;
        const char *converted;
    } cases[] = {
        {R"( XE "软件:内存" \t "参见 内存" \f "软件" )", R"( XE "軟體:記憶體" \t "参见 記憶體" \f "软件" )"},
        {R"( xe 软件 \b)", R"( xe 軟體 \b)"},
        {R"( TC "概述软件" \l 1)", R"( TC "概述軟體" \l 1)"},
        {R"( HYPERLINK "http://x/软件" \l "软件" \o "打开软件" )",
         R"( HYPERLINK "http://x/软件" \l "软件" \o "打开軟體" )"},
        {" MACROBUTTON NoMacro [单击此处输入软件名称] ", " MACROBUTTON NoMacro [单击此处输入軟體名称] "},
        {" MACROBUTTON 软件 ", " MACROBUTTON 软件 "},
        {R"( REF 软件 \h )", R"( REF 软件 \h )"},
        {R"( STYLEREF "标题 1" )", R"( STYLEREF "标题 1" )"},
        {R"( XE "软件)", R"( XE "软件)"}, // not closed: part of an instruction split across runs
        {R"( XE "软件!\"鼠标\"" )", R"( XE "軟體!\"滑鼠\"" )"},
        {R"( DOCPROPERTY "软件" )", R"( DOCPROPERTY "软件" )"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.instruction);
        auto doc = [](const std::string &instruction, const std::string &attribute) {
            return std::string("<w:document ") + kW +
                   "><w:body><w:p><w:r><w:instrText xml:space=\"preserve\">" + instruction +
                   "</w:instrText></w:r></w:p><w:p><w:fldSimple w:instr=\"" + attribute +
                   "\"><w:r><w:t>件</w:t></w:r></w:fldSimple></w:p></w:body></w:document>";
        };
        auto quoted = [](std::string s) {
            for (std::size_t k = s.find('"'); k != std::string::npos; k = s.find('"', k + 6))
                s.replace(k, 1, "&quot;");
            return s;
        };
        expectConverted(doc(c.instruction, quoted(c.instruction)), PartKind::WordprocessingText,
                        doc(c.converted, quoted(c.converted)));
    }
}

// Word splits an instruction into runs as it is edited: the pieces between a complex field's
// begin and separate marks are read as one instruction, each piece keeping its part.
TEST_F(XmlPart, WordFieldInstructionsSplitAcrossRunsReadAsOne) {
    const struct {
        std::vector<std::string> pieces, converted;
        bool separate = true; // else the part ends before the field's marks do
    } cases[] = {
        {{R"( XE "软件:内)", R"(存" )"}, {R"( XE "軟體:記憶體)", R"(" )"}}, // as runs: where it starts
        {{" XE ", R"("软件")", " "}, {" XE ", R"("軟體")", " "}},
        {{R"( HYPERLINK "http://x/软件" \o "打开)", R"(软件" )"},
         {R"( HYPERLINK "http://x/软件" \o "打开)", R"(軟體" )"}},
        {{" MACROBUTTON NoMacro [单击此处输入", "软件名称] "},
         {" MACROBUTTON NoMacro [单击此处输入", "軟體名称] "}},
        {{R"( REF "软)", R"(件" \h )"}, {R"( REF "软)", R"(件" \h )"}},
        {{R"( XE "软)", R"(件" )"}, {R"( XE "軟)", R"(體" )"}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pieces[0]);
        auto doc = [&](const std::vector<std::string> &pieces) {
            std::string d =
                std::string("<w:document ") + kW +
                R"(><w:body><w:p><w:r><w:t>内存</w:t></w:r><w:r><w:fldChar w:fldCharType="begin"/></w:r>)";
            for (const std::string &p : pieces)
                d += R"(<w:r><w:instrText xml:space="preserve">)" + p + "</w:instrText></w:r>";
            if (c.separate)
                d += R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>鼠标</w:t></w:r>)"
                     R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)";
            return d + "</w:p></w:body></w:document>";
        };
        std::string want = replaced(doc(c.converted), {{"<w:t>内存</w:t>", "<w:t>記憶體</w:t>"}});
        if (c.separate)
            want = replaced(want, {{"<w:t>鼠标</w:t>", "<w:t>滑鼠</w:t>"}});
        expectConverted(doc(c.pieces), PartKind::WordprocessingText, want);
    }
}

// A page's named references to letters change case with the text (CAF&eacute; showed CAFé) and
// keep being references; other named references and the phrases around them are as before.
TEST(XmlPartLetters, NamedLetterReferencesChangeCaseWithTheText) {
    core::CodePointMap upper, lower;
    for (char32_t c = U'a'; c <= U'z'; ++c)
        upper.set(c, c - 32), lower.set(c - 32, c);
    for (const auto &[small, capital] : {std::pair{U'é', U'É'}, {U'σ', U'Σ'}, {U'ς', U'Σ'}, {U'œ', U'Œ'}})
        upper.set(small, capital), lower.set(capital, small);
    const CodePointSegmentedConverter toUpper(upper), toLower(lower);
    const struct {
        const SegmentedConverter &conv;
        const char *in, *out;
    } cases[] = {
        {toUpper, "<p>caf&eacute; &Eacute;t&eacute;</p>", "<p>CAF&Eacute; &Eacute;T&Eacute;</p>"},
        {toUpper, "<p>&sigma;&sigmaf; &oelig;</p>", "<p>&Sigma;&Sigma; &OElig;</p>"},
        {toUpper, "<p>a&nbsp;b &copy;&amp; &eacute x</p>", "<p>A&nbsp;B &copy;&amp; &EACUTE X</p>"},
        {toLower, "<p title=\"&Eacute;T&Eacute;\">CAF&Eacute;</p>",
         "<p title=\"&eacute;t&eacute;\">caf&eacute;</p>"},
        {toUpper, "<p>&szlig;</p>", "<p>&szlig;</p>"}, // no capital of its own here
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        const PartOutcome r = convertPart(c.in, PartKind::Html, c.conv, {});
        EXPECT_TRUE(r.error.empty()) << r.error;
        EXPECT_EQ(r.bytes, c.out);
    }
}

// OpenDocument index and contents entries marked at a point, and an index's keys.
TEST_F(XmlPart, OpenDocumentIndexMarksAsTheIndexShowsThem) {
    const std::string doc =
        R"(<text:p xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">内存<text:alphabetical-index-mark )"
        R"(text:string-value="软件" text:key1="内存" text:string-value-phonetic="ruan"/><text:toc-mark )"
        R"(text:string-value="软件" text:outline-level="1"/><text:user-index-mark text:string-value="鼠标" )"
        R"(text:index-name="软件"/></text:p>)";
    expectConverted(
        doc, PartKind::OdfText,
        replaced(doc, {{">内存<", ">記憶體<"},
                       {"value=\"软件\" text:key1=\"内存\"", "value=\"軟體\" text:key1=\"記憶體\""},
                       {"value=\"软件\" text:outline", "value=\"軟體\" text:outline"},
                       {"value=\"鼠标\"", "value=\"滑鼠\""}}));
}

// A content control's list shows its choices converted, as the text it shows; the values it
// stores stay.
TEST_F(XmlPart, WordListChoicesShownConvertedTheirValuesKept) {
    const std::string doc = std::string("<w:document ") + kW +
                            R"(><w:body><w:sdt><w:sdtPr><w:dropDownList><w:listItem w:displayText="软件" w:value="软件"/>)"
                            R"(</w:dropDownList></w:sdtPr><w:sdtContent><w:p><w:r><w:t>软件</w:t></w:r></w:p></w:sdtContent>)"
                            R"(</w:sdt></w:body></w:document>)";
    expectConverted(doc, PartKind::WordprocessingText,
                    replaced(doc, {{"w:displayText=\"软件\"", "w:displayText=\"軟體\""}, {"<w:t>软件", "<w:t>軟體"}}));
}

TEST_F(XmlPart, WordTextBoxesInBothCopiesAndDrawingsCutTheParagraph) {
    const std::string box = R"(<w:txbxContent><w:p><w:r><w:t>软件</w:t></w:r></w:p></w:txbxContent>)";
    const std::string doc =
        std::string("<w:document ") + kW +
        R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" xmlns:v="urn:schemas-microsoft-com:vml"><w:body><w:p><w:r><w:t>内</w:t></w:r><w:r>)"
        R"(<mc:AlternateContent><mc:Choice Requires="wps"><w:drawing>)" +
        box + R"(</w:drawing></mc:Choice><mc:Fallback><w:pict><v:shape><v:textbox>)" + box +
        R"(</v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r><w:r><w:t>存</w:t></w:r></w:p></w:body></w:document>)";
    expectConverted(doc, PartKind::WordprocessingText,
                    replaced(doc, {{"<w:t>内</w:t>", "<w:t>內</w:t>"},
                                   {"<w:t>软件</w:t>", "<w:t>軟體</w:t>"},
                                   {"<w:t>软件</w:t>", "<w:t>軟體</w:t>"}}));
}

// A symbol (w:sym) is a character of a symbol font, named by its code there (a private-use code,
// F0A7 a Wingdings square): nothing of it is text, so it cuts the paragraph as a tab does, and its
// font stays even where fonts follow the script.
TEST_F(XmlPart, WordSymbolsCutTheParagraphAndKeepTheirFont) {
    const std::string doc =
        std::string("<w:document ") + kW +
        R"(><w:body><w:p><w:r><w:t>内</w:t></w:r><w:r><w:sym w:font="Wingdings" w:char="F0A7"/></w:r>)"
        R"(<w:r><w:t>存</w:t></w:r><w:r><w:sym w:font="宋体" w:char="F06C"/><w:t>软件</w:t></w:r></w:p></w:body></w:document>)";
    const std::string out =
        replaced(doc, {{"<w:t>内</w:t>", "<w:t>內</w:t>"}, {"<w:t>软件</w:t>", "<w:t>軟體</w:t>"}});
    PartOptions fonts;
    fonts.fonts = true;
    for (const auto &options : {PartOptions{}, fonts}) {
        SCOPED_TRACE(options.fonts ? "fonts mapped" : "fonts kept");
        expectConverted(doc, PartKind::WordprocessingText, out, options);
    }
}

// Random paragraphs of phrases that change length or keep it, cut into runs at random characters
// (empty runs and escaped characters among them): each paragraph reads as the engine converts its
// text, and the runs and everything between them stay as they were.
TEST_F(XmlPart, ParagraphsCutAnywhereReadAsTheEngineConvertsThem) {
    const std::vector<std::string> words{"内存", "方便面", "U盘", "软件", "鼠标", "头发",
                                         "内",   "存",     "面",  "&",    "的",   "盘"};
    std::mt19937 rng(2026);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> paragraphs;
        std::string doc = std::string("<w:body ") + kW + ">";
        for (int p = 0; p < 3; ++p) {
            std::string text;
            for (int k = rng() % 8; k > 0; --k)
                text += words[rng() % words.size()];
            paragraphs.push_back(text);
            doc += "<w:p>";
            // Cut at character boundaries into runs.
            std::size_t at = 0;
            while (at < text.size() || rng() % 4 == 0) {
                std::size_t end = at;
                for (int n = rng() % 4; n > 0 && end < text.size(); --n)
                    end += text[end] == '&' || text[end] == 'U' ? 1 : 3;
                doc += "<w:r><w:t>";
                for (const char c : text.substr(at, end - at))
                    doc += c == '&' ? std::string("&amp;") : std::string(1, c);
                doc += "</w:t></w:r>";
                at = end;
                if (at >= text.size() && rng() % 2)
                    break;
            }
            doc += "</w:p>";
        }
        doc += "</w:body>";
        SCOPED_TRACE(doc);
        const PartOutcome r = convertPart(doc, PartKind::WordprocessingText, conv, {});
        ASSERT_TRUE(r.error.empty()) << r.error;
        // Read the result back: the paragraphs' texts, and the markup without text.
        std::vector<std::string> read;
        std::string markup, inputMarkup;
        auto strip = [](const std::string &xml, std::vector<std::string> *texts, std::string &tags) {
            std::size_t i = 0;
            while (i < xml.size()) {
                if (xml.compare(i, 5, "<w:p>") == 0 && texts)
                    texts->emplace_back();
                if (xml.compare(i, 5, "<w:t>") == 0) {
                    const std::size_t e = xml.find("</w:t>", i);
                    std::string t;
                    for (std::size_t k = i + 5; k < e; ++k) {
                        t += xml[k];
                        if (xml.compare(k, 5, "&amp;") == 0)
                            k += 4;
                    }
                    if (texts)
                        texts->back() += t;
                    tags += "<w:t></w:t>";
                    i = e + 6;
                    continue;
                }
                tags += xml[i++];
            }
        };
        strip(r.bytes, &read, markup);
        strip(doc, nullptr, inputMarkup);
        EXPECT_EQ(markup, inputMarkup);
        ASSERT_EQ(read.size(), paragraphs.size());
        for (std::size_t p = 0; p < paragraphs.size(); ++p)
            EXPECT_EQ(read[p], phrases().convert(paragraphs[p]));
    }
}

TEST_F(XmlPart, EscapingOutsideTheChangedPhraseIsKept) {
    const std::string doc = std::string("<w:p ") + kW +
                            R"(><w:r><w:t>&lt;内存&gt; &#x5185;&#23384; &quot;软&quot;件</w:t></w:r></w:p>)";
    // A phrase written with references is written anew; its neighbours keep their references.
    expectConverted(doc, PartKind::WordprocessingText,
                    replaced(doc, {{"内存", "記憶體"}, {"&#x5185;&#23384;", "記憶體"}, {"软", "軟"}}));
}

TEST_F(XmlPart, NoChangeIsByteIdentical) {
    const std::string docs[] = {
        std::string("<w:document ") + kW +
            R"(><w:body><w:p><w:r><w:instrText> STYLEREF "标题 1" </w:instrText></w:r><w:bookmarkStart w:name="软件"/><w:r><w:t>English 數學</w:t></w:r></w:p></w:body></w:document>)",
        "<?xml version='1.0'?>\n<!-- 内存 --><x  a = '软件' >\r\n<?pi 软件?></x >",
    };
    for (const auto &doc : docs) {
        SCOPED_TRACE(doc);
        const PartOutcome r = convertPart(doc, PartKind::WordprocessingText, conv, {});
        EXPECT_TRUE(r.error.empty()) << r.error;
        EXPECT_FALSE(r.changed);
        EXPECT_EQ(r.bytes, doc);
    }
}

TEST_F(XmlPart, SlidesWithFontsAndLanguageOnRequest) {
    const std::string doc =
        std::string("<p:sld ") + kA + " " + kP +
        R"(><p:txBody><a:p><a:r><a:rPr lang="zh-CN" altLang="en-US"><a:ea typeface="宋体"/></a:rPr><a:t>方便</a:t></a:r>)"
        R"(<a:r><a:rPr lang="zh-CN" b="1"/><a:t>面</a:t></a:r><a:br/><a:r><a:t>内存</a:t></a:r></a:p></p:txBody></p:sld>)";
    const std::string text = replaced(doc, {{"<a:t>方便</a:t>", "<a:t>泡麵</a:t>"},
                                            {"<a:t>面</a:t>", "<a:t></a:t>"},
                                            {"<a:t>内存</a:t>", "<a:t>記憶體</a:t>"}});
    expectConverted(doc, PartKind::DrawingText, text);
    PartOptions fonts;
    fonts.fonts = true;
    fonts.traditionalLanguage = "zh-HK";
    expectConverted(doc, PartKind::DrawingText,
                    replaced(text, {{"zh-CN", "zh-HK"}, {"宋体", "新細明體"}, {"zh-CN", "zh-HK"}}), fonts);
}

TEST_F(XmlPart, SpreadsheetStringsWithoutPrefixesOrPhonetics) {
    const std::string strings =
        R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2"><si><t>内存</t></si>)"
        R"(<si><r><rPr><b/><rFont val="宋体"/></rPr><t>U</t></r><r><t>盘</t></r><rPh sb="0" eb="1"><t>软件</t></rPh></si></sst>)";
    expectConverted(strings, PartKind::SpreadsheetStrings,
                    replaced(strings, {{"<t>内存</t>", "<t>記憶體</t>"},
                                       {"<t>U</t>", "<t>隨身碟</t>"},
                                       {"<t>盘</t>", "<t></t>"}}));
    const std::string sheet =
        R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData><x:row>)"
        R"(<x:c r="A1" t="inlineStr"><x:is><x:t>软件</x:t></x:is></x:c><x:c r="B1" t="str"><x:f>"软件"&amp;A1</x:f><x:v>软件</x:v></x:c>)"
        R"(</x:row></x:sheetData><x:headerFooter><x:oddHeader>&amp;L&amp;"宋体,常规"软件&amp;12内存&amp;R&amp;P</x:oddHeader></x:headerFooter></x:worksheet>)";
    expectConverted(
        sheet, PartKind::SpreadsheetStrings,
        replaced(sheet, {{"<x:t>软件</x:t>", "<x:t>軟體</x:t>"},
                         {"\"软件\"", "\"軟體\""},
                         {"<x:v>软件", "<x:v>軟體"},
                         {"常规\"软件", "常规\"軟體"},
                         {"内存", "記憶體"}}));
}

// A formula's string literals go on matching the converted cells (SUMIF's criteria, IF's
// comparisons and answers, a validation list); references, names and whatever a literal may spell
// of them stay. A cell's result, as last computed, is converted when it is a string.
TEST_F(XmlPart, FormulaLiteralsAsTheCellsTheyMatch) {
    const struct {
        const char *what;
        std::string in, out;
    } cases[] = {
        {"criteria", R"(<f>SUMIF(A:A,"软件",B:B)</f>)", R"(<f>SUMIF(A:A,"軟體",B:B)</f>)"},
        {"escaped quotes, each literal alone", R"(<f>IF(A1=&quot;软件&quot;,&quot;鼠标&quot;,"")</f>)",
         R"(<f>IF(A1=&quot;軟體&quot;,&quot;滑鼠&quot;,"")</f>)"},
        {"a doubled quote inside a literal", R"(<f>"说""软件"""</f>)", R"(<f>"說""軟體"""</f>)"},
        {"a reference spelled out", R"(<f>INDIRECT("软件!B1")</f>)", R"(<f>INDIRECT("软件!B1")</f>)"},
        {"a sheet's name", R"(<f>INDIRECT("'"&amp;"销售"&amp;"'!B2")&amp;"软件"</f>)",
         R"(<f>INDIRECT("'"&amp;"销售"&amp;"'!B2")&amp;"軟體"</f>)"},
        {"a column's name, which its header cell keeps", R"(<f>MATCH("内存",1:1,0)</f>)",
         R"(<f>MATCH("内存",1:1,0)</f>)"},
        {"a quote inside a quoted sheet name", R"(<f>'软件 "内存'!A1&amp;"软件"</f>)",
         R"(<f>'软件 "内存'!A1&amp;"軟體"</f>)"},
        {"a quote inside a structured reference", R"(<f>表1[[#This Row],[软件"]]&amp;"软件"</f>)",
         R"(<f>表1[[#This Row],[软件"]]&amp;"軟體"</f>)"},
        {"addresses and paths", R"(<f>HYPERLINK("http://例子.cn/软件","软件")&amp;"\\服务器\软件"&amp;"mailto:软件@x.cn"</f>)",
         R"(<f>HYPERLINK("http://例子.cn/软件","軟體")&amp;"\\服务器\软件"&amp;"mailto:软件@x.cn"</f>)"},
        {"a literal not closed", R"(<f>"软件</f>)", R"(<f>"软件</f>)"},
        {"a validation list and its message",
         R"(<dataValidation prompt="鼠标" sqref="A1"><formula1>"软件,鼠标"</formula1></dataValidation>)",
         R"(<dataValidation prompt="滑鼠" sqref="A1"><formula1>"軟體,滑鼠"</formula1></dataValidation>)"},
        {"a defined name", R"(<definedName name="x">"软件"</definedName>)",
         R"(<definedName name="x">"軟體"</definedName>)"},
        {"a string result", R"(<c t="str"><f>A1</f><v>软件</v></c>)", R"(<c t="str"><f>A1</f><v>軟體</v></c>)"},
        {"an error, a shared string's number", R"(<c t="e"><f>X</f><v>#软件</v></c><c t="s"><v>0</v></c>)",
         R"(<c t="e"><f>X</f><v>#软件</v></c><c t="s"><v>0</v></c>)"},
        // A cell that names a sheet, or a sheet's cells, as INDIRECT(A1&"!B1") and HYPERLINK read it:
        // converted, the formula found no sheet (#REF!).
        {"cells naming a sheet", R"(<c t="inlineStr"><is><t>销售</t></is></c><c t="inlineStr"><is><t>销售!B1</t></is></c>)"
                                 R"(<c t="inlineStr"><is><t>'销售'!B1</t></is></c><c t="inlineStr"><is><t>软件</t></is></c>)",
         R"(<c t="inlineStr"><is><t>销售</t></is></c><c t="inlineStr"><is><t>销售!B1</t></is></c>)"
         R"(<c t="inlineStr"><is><t>'销售'!B1</t></is></c><c t="inlineStr"><is><t>軟體</t></is></c>)"},
        // A cell that only begins with a sheet's name is text: 销售!软件 was kept whole.
        {"a sheet's name before text", R"(<c t="inlineStr"><is><t>销售!软件</t></is></c><c t="inlineStr"><is><t>销售.软件</t></is></c><c t="inlineStr"><is><t>销售!</t></is></c>)",
         R"(<c t="inlineStr"><is><t>销售!軟體</t></is></c><c t="inlineStr"><is><t>销售.軟體</t></is></c><c t="inlineStr"><is><t>销售!</t></is></c>)"},
    };
    PartOptions options;
    options.formulaNames = {"销售"};
    options.keptStrings = {"内存"};
    const std::string head = R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(head + c.in + "</worksheet>", PartKind::SpreadsheetStrings, head + c.out + "</worksheet>",
                        options);
    }
}

// With a change of letter case, a literal a function reads as a code keeps its case (CONVERT(10,"km",
// "mi") became "KM","MI", an error); every other literal goes with the cells (FIND("tot",A1)).
TEST_F(XmlPart, FormulaLiteralsAFunctionReadsAsCodesKeepTheirCase) {
    const std::string head =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    PartOptions letterCase;
    letterCase.letterCase = true;
    const struct {
        const char *in, *out;
    } cases[] = {
        {R"(<f>CONVERT(10,"软件","鼠标")&amp;FIND("软件",A1)</f>)",
         R"(<f>CONVERT(10,"软件","鼠标")&amp;FIND("軟體",A1)</f>)"},
        {R"(<f>TEXT("软件",TEXT(A1,"软件"))</f>)", R"(<f>TEXT("軟體",TEXT(A1,"软件"))</f>)"},
        {R"(<f>HYPERLINK("软件","鼠标")&amp;CELL("软件",A1)&amp;_xlfn.CONVERT(1,"x","软件")</f>)",
         R"(<f>HYPERLINK("软件","滑鼠")&amp;CELL("软件",A1)&amp;_xlfn.CONVERT(1,"x","软件")</f>)"},
        {R"x(<f>IF(A1=")",")",TEXT(B1,"软件"),"软件")</f>)x",
         R"x(<f>IF(A1=")",")",TEXT(B1,"软件"),"軟體")</f>)x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        expectConverted(head + c.in + "</worksheet>", PartKind::SpreadsheetStrings,
                        head + c.out + "</worksheet>", letterCase);
    }
    const std::string ods =
        R"x(<table:table-cell xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )x"
        R"x(table:formula="of:=CONVERT(10;&quot;软件&quot;;&quot;鼠标&quot;)&amp;&quot;软件&quot;"/>)x";
    expectConverted(ods, PartKind::OdfText, replaced(ods, {{"&amp;&quot;软件", "&amp;&quot;軟體"}}),
                    letterCase);
}

// The same in OpenDocument's notation, where formulas are attributes and a sheet's cell is written
// after a dot.
TEST_F(XmlPart, OpenDocumentFormulaLiteralsAsTheCellsTheyMatch) {
    const std::string head = R"x(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )x"
                             R"x(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )x"
                             R"x(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">)x";
    const struct {
        const char *what;
        std::string in, out;
    } cases[] = {
        {"criteria, and the cell's text", R"x(<table:table-cell table:formula="of:=COUNTIF([.A1:.A3];&quot;软件&quot;)"><text:p>软件</text:p></table:table-cell>)x",
         R"x(<table:table-cell table:formula="of:=COUNTIF([.A1:.A3];&quot;軟體&quot;)"><text:p>軟體</text:p></table:table-cell>)x"},
        {"a sheet's cell after a dot", R"x(<table:table-cell table:formula='of:=INDIRECT("软件.B1")&amp;INDIRECT("$软件.$B$1")&amp;"1.5软件"'/>)x",
         R"x(<table:table-cell table:formula='of:=INDIRECT("软件.B1")&amp;INDIRECT("$软件.$B$1")&amp;"1.5軟體"'/>)x"},
        {"a sheet's name", R"x(<table:table-cell table:formula="of:=INDIRECT(&quot;'&quot;&amp;&quot;销售&quot;&amp;&quot;'.B2&quot;)"/>)x",
         R"x(<table:table-cell table:formula="of:=INDIRECT(&quot;'&quot;&amp;&quot;销售&quot;&amp;&quot;'.B2&quot;)"/>)x"},
        {"a validation list", R"x(<table:content-validation table:condition="of:cell-content-is-in-list(&quot;软件&quot;;&quot;鼠标&quot;)"/>)x",
         R"x(<table:content-validation table:condition="of:cell-content-is-in-list(&quot;軟體&quot;;&quot;滑鼠&quot;)"/>)x"},
        {"cells naming a sheet", R"x(<table:table-cell><text:p>销售</text:p></table:table-cell><table:table-cell><text:p>销售.B2</text:p></table:table-cell><table:table-cell><text:p>软件</text:p></table:table-cell>)x",
         R"x(<table:table-cell><text:p>销售</text:p></table:table-cell><table:table-cell><text:p>销售.B2</text:p></table:table-cell><table:table-cell><text:p>軟體</text:p></table:table-cell>)x"},
    };
    PartOptions options;
    options.formulaNames = {"销售"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(head + c.in + "</office:document-content>", PartKind::OdfText,
                        head + c.out + "</office:document-content>", options);
    }
}

// What a filter keeps goes on matching the converted cells; a value that is a column's name stays,
// as the header cells that hold it do.
TEST_F(XmlPart, FilterValuesAsTheCellsTheyMatch) {
    const std::string sheet =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><autoFilter ref="A1:A9">)"
        R"(<filterColumn colId="0"><filters><filter val="软件"/><filter val="内存"/></filters></filterColumn>)"
        R"(<filterColumn colId="1"><customFilters><customFilter operator="equal" val="*鼠标*"/></customFilters></filterColumn>)"
        R"(</autoFilter></worksheet>)";
    PartOptions options;
    options.keptStrings = {"内存"};
    expectConverted(sheet, PartKind::SpreadsheetStrings,
                    replaced(sheet, {{"\"软件\"", "\"軟體\""}, {"*鼠标*", "*滑鼠*"}}), options);
    const std::string table =
        R"(<table xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" name="表1"><tableColumns>)"
        R"(<tableColumn id="1" name="软件" totalsRowLabel="软件"/><tableColumn id="2" name="鼠标">)"
        R"(<calculatedColumnFormula>IF([@软件]="软件","鼠标","")</calculatedColumnFormula></tableColumn></tableColumns></table>)";
    expectConverted(table, PartKind::SpreadsheetStrings,
                    replaced(table, {{"totalsRowLabel=\"软件\"", "totalsRowLabel=\"軟體\""},
                                     {"=\"软件\",\"鼠标\"", "=\"軟體\",\"滑鼠\""}}));
    const std::string ods =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
        R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><table:filter-condition table:value="软件"/>)"
        R"(</office:document-content>)";
    expectConverted(ods, PartKind::OdfText, replaced(ods, {{"\"软件\"", "\"軟體\""}}));
}

// A pivot table writes its captions and its data fields' names into its cells on every refresh,
// and GETPIVOTDATA asks for a data field by that name and for items as its cache holds them: all
// converted as the cells are. Its own name and its fields' names (the columns' names) stay.
TEST_F(XmlPart, PivotTablesAndTheirCachesAsTheCellsTheyShow) {
    const std::string table =
        R"(<pivotTableDefinition xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" name="软件表" )"
        R"(dataCaption="U盘" grandTotalCaption="头发" rowHeaderCaption="鼠标" colHeaderCaption="软件" )"
        R"(errorCaption="简体" missingCaption="汉语"><pivotFields count="2"><pivotField name="内存" axis="axisRow" )"
        R"(subtotalCaption="这个"><items count="2"><item n="软件书" x="0"/><item t="default"/></items></pivotField>)"
        R"(<pivotField name="鼠标" dataField="1"/></pivotFields><dataFields count="1">)"
        R"(<dataField name="说:内存" fld="1"/></dataFields></pivotTableDefinition>)";
    PartOptions options;
    options.keptStrings = {"内存"};
    expectConverted(table, PartKind::SpreadsheetStrings,
                    replaced(table, {{"\"U盘\"", "\"隨身碟\""},
                                     {"\"头发\"", "\"頭髮\""},
                                     {"rowHeaderCaption=\"鼠标\"", "rowHeaderCaption=\"滑鼠\""},
                                     {"colHeaderCaption=\"软件\"", "colHeaderCaption=\"軟體\""},
                                     {"\"简体\"", "\"簡體\""},
                                     {"\"汉语\"", "\"漢語\""},
                                     {"\"这个\"", "\"這個\""},
                                     {"\"软件书\"", "\"軟體書\""},
                                     {"name=\"鼠标\"", "name=\"滑鼠\""},
                                     {"\"说:内存\"", "\"說:記憶體\""}}),
                    options);
    const std::string cache =
        R"(<pivotCacheDefinition xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><cacheFields count="1">)"
        R"(<cacheField name="软件"><sharedItems count="3"><s v="鼠标"/><s v="内存"/><s v="1-10"/></sharedItems></cacheField>)"
        R"(</cacheFields></pivotCacheDefinition>)";
    expectConverted(cache, PartKind::SpreadsheetStrings, replaced(cache, {{"\"鼠标\"", "\"滑鼠\""}}), options);
    const std::string records =
        R"(<pivotCacheRecords xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2">)"
        R"(<r><s v="软件"/><n v="5"/></r><r><x v="0"/><s v="内存"/></r></pivotCacheRecords>)";
    expectConverted(records, PartKind::SpreadsheetStrings, replaced(records, {{"\"软件\"", "\"軟體\""}}), options);
}

// Text a reader sees outside paragraphs: each converted as a text of its own, the markup and every
// name and value around it kept.
TEST_F(XmlPart, AlternativeTextTipsFormFieldsNumberFormatsAndProperties) {
    const std::string w = R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";
    const std::string wp = R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")";
    const std::string a = R"( xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")";
    const std::string p = R"( xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";
    const std::string xdr = R"( xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing")";
    const std::string x = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string vt = R"( xmlns:vt="http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes")";
    const std::string odf = R"( xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0")"
                            R"( xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0")"
                            R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
                            R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")";
    const std::string opf = R"( xmlns="http://www.idpf.org/2007/opf" xmlns:dc="http://purl.org/dc/elements/1.1/")";
    const struct {
        const char *what;
        PartKind kind;
        std::string in, out;
    } cases[] = {
        {"a legacy drop-down's choices (it stores an index); never help (an AutoText's name) or a "
         "calculation",
         PartKind::WordprocessingText,
         "<w:ffData" + w + R"(><w:name w:val="软件"/><w:helpText w:type="text" w:val="鼠标"/><w:statusText w:val="U盘"/>)"
             R"(<w:ddList><w:result w:val="1"/><w:listEntry w:val="软件"/><w:listEntry w:val="头发"/></w:ddList>)"
             R"(<w:textInput><w:default w:val="内存"/></w:textInput></w:ffData>)",
         "<w:ffData" + w + R"(><w:name w:val="软件"/><w:helpText w:type="text" w:val="鼠标"/><w:statusText w:val="U盘"/>)"
             R"(<w:ddList><w:result w:val="1"/><w:listEntry w:val="軟體"/><w:listEntry w:val="頭髮"/></w:ddList>)"
             R"(<w:textInput><w:default w:val="内存"/></w:textInput></w:ffData>)"},
        {"a link's tip, a picture's alternative text and title", PartKind::WordprocessingText,
         "<w:body" + w + wp + a + R"(><w:hyperlink w:tooltip="软件" r:id="软件"/><wp:docPr id="1" name="鼠标" descr="头发" title="U盘"/>)"
             R"(<a:hlinkClick tooltip="内存"/></w:body>)",
         "<w:body" + w + wp + a + R"(><w:hyperlink w:tooltip="軟體" r:id="软件"/><wp:docPr id="1" name="鼠标" descr="頭髮" title="隨身碟"/>)"
             R"(<a:hlinkClick tooltip="記憶體"/></w:body>)"},
        {"a slide's picture and a sheet's drawing", PartKind::DrawingText,
         "<p:sld" + p + xdr + a + R"(><p:cNvPr id="2" name="软件" descr="鼠标" title="头发"/><xdr:cNvPr id="3" name="U盘" descr="内存"/>)"
             R"(<a:hlinkHover tooltip="软件"/></p:sld>)",
         "<p:sld" + p + xdr + a + R"(><p:cNvPr id="2" name="软件" descr="滑鼠" title="頭髮"/><xdr:cNvPr id="3" name="U盘" descr="記憶體"/>)"
             R"(<a:hlinkHover tooltip="軟體"/></p:sld>)"},
        {"number formats' quoted words", PartKind::SpreadsheetStrings,
         "<styleSheet" + x + R"(><numFmts count="2"><numFmt numFmtId="164" formatCode="0&quot;软件&quot;"/>)"
             R"(<numFmt numFmtId="165" formatCode="[$-804]#,##0.00&quot;头发&quot;;[Red]\-0"/></numFmts></styleSheet>)",
         "<styleSheet" + x + R"(><numFmts count="2"><numFmt numFmtId="164" formatCode="0&quot;軟體&quot;"/>)"
             R"(<numFmt numFmtId="165" formatCode="[$-804]#,##0.00&quot;頭髮&quot;;[Red]\-0"/></numFmts></styleSheet>)"},
        {"number formats' characters a backslash makes literal (LibreOffice's General\\个)",
         PartKind::SpreadsheetStrings,
         "<styleSheet" + x +
             R"(><numFmts count="2"><numFmt numFmtId="164" formatCode="General\个"/>)"
             R"(<numFmt numFmtId="165" formatCode="0\个\\\发[$-804]\-0"/></numFmts></styleSheet>)",
         "<styleSheet" + x +
             R"(><numFmts count="2"><numFmt numFmtId="164" formatCode="General\個"/>)"
             R"(<numFmt numFmtId="165" formatCode="0\個\\\發[$-804]\-0"/></numFmts></styleSheet>)"},
        {"the document's own properties: values, never names", PartKind::CoreProperties,
         "<Properties" + vt + R"(><property pid="2" name="软件"><vt:lpwstr>鼠标</vt:lpwstr></property>)"
             R"(<property pid="3" name="U盘"><vt:bstr>头发</vt:bstr></property><property pid="4" name="n"><vt:i4>5</vt:i4></property></Properties>)",
         "<Properties" + vt + R"(><property pid="2" name="软件"><vt:lpwstr>滑鼠</vt:lpwstr></property>)"
             R"(<property pid="3" name="U盘"><vt:bstr>頭髮</vt:bstr></property><property pid="4" name="n"><vt:i4>5</vt:i4></property></Properties>)"},
        {"the company and the manager, never the parts' titles (sheet names)", PartKind::ExtendedProperties,
         R"(<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties")" + vt +
             R"(><Application>软件</Application><TitlesOfParts><vt:vector size="1" baseType="lpstr"><vt:lpstr>鼠标</vt:lpstr>)"
             R"(</vt:vector></TitlesOfParts><Manager>头发</Manager><Company>U盘</Company></Properties>)",
         R"(<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties")" + vt +
             R"(><Application>软件</Application><TitlesOfParts><vt:vector size="1" baseType="lpstr"><vt:lpstr>鼠标</vt:lpstr>)"
             R"(</vt:vector></TitlesOfParts><Manager>頭髮</Manager><Company>隨身碟</Company></Properties>)"},
        {"OpenDocument: a number format's words, the slides' footer, a link's tip", PartKind::OdfText,
         "<office:document-styles" + odf + R"(><number:number-style style:name="N1"><number:number/><number:text>软件</number:text></number:number-style>)"
             R"(<presentation:footer-decl presentation:name="ftr1">头发</presentation:footer-decl>)"
             R"(<text:p><text:a xlink:href="#软件" office:title="鼠标">U盘</text:a></text:p></office:document-styles>)",
         "<office:document-styles" + odf + R"(><number:number-style style:name="N1"><number:number/><number:text>軟體</number:text></number:number-style>)"
             R"(<presentation:footer-decl presentation:name="ftr1">頭髮</presentation:footer-decl>)"
             R"(<text:p><text:a xlink:href="#软件" office:title="滑鼠">隨身碟</text:a></text:p></office:document-styles>)"},
        {"list numbers' words, around the number", PartKind::WordprocessingText,
         "<w:numbering" + w + R"(><w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0"><w:numFmt w:val="chineseCounting"/>)"
             R"(<w:lvlText w:val="软件%1头发"/></w:lvl></w:abstractNum></w:numbering>)",
         "<w:numbering" + w + R"(><w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0"><w:numFmt w:val="chineseCounting"/>)"
             R"(<w:lvlText w:val="軟體%1頭髮"/></w:lvl></w:abstractNum></w:numbering>)"},
        {"a presentation's sections", PartKind::DrawingText,
         "<p:presentation" + p + R"( xmlns:p14="http://schemas.microsoft.com/office/powerpoint/2010/main"><p14:section name="软件" id="{1}"/></p:presentation>)",
         "<p:presentation" + p + R"( xmlns:p14="http://schemas.microsoft.com/office/powerpoint/2010/main"><p14:section name="軟體" id="{1}"/></p:presentation>)"},
        {"OpenDocument: list and chapter numbers' words, a drop-down's choices, a validation's titles",
         PartKind::OdfText,
         "<office:document-content" + odf + R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
             R"( xmlns:loext="urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0")"
             R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0">)"
             R"(<text:list-level-style-number text:level="1" style:num-prefix="软件" style:num-suffix="、" loext:num-list-format="软件%1%、"/>)"
             R"(<text:outline-level-style text:level="1" style:num-suffix="头发"/>)"
             R"(<text:p><text:drop-down text:name="软件"><text:label text:value="鼠标" text:current-selected="true"/>鼠标</text:drop-down></text:p>)"
             R"(<table:help-message table:title="U盘"/><table:error-message table:title="内存"/></office:document-content>)",
         "<office:document-content" + odf + R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
             R"( xmlns:loext="urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0")"
             R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0">)"
             R"(<text:list-level-style-number text:level="1" style:num-prefix="軟體" style:num-suffix="、" loext:num-list-format="軟體%1%、"/>)"
             R"(<text:outline-level-style text:level="1" style:num-suffix="頭髮"/>)"
             R"(<text:p><text:drop-down text:name="软件"><text:label text:value="滑鼠" text:current-selected="true"/>滑鼠</text:drop-down></text:p>)"
             R"(<table:help-message table:title="隨身碟"/><table:error-message table:title="記憶體"/></office:document-content>)"},
        {"WordArt and a text watermark; the shape's name and style kept", PartKind::WordprocessingText,
         "<w:pict" + w + R"( xmlns:v="urn:schemas-microsoft-com:vml"><v:shape id="软件"><v:textpath style="font-family:&quot;宋体&quot;" string="内存"/></v:shape></w:pict>)",
         "<w:pict" + w + R"( xmlns:v="urn:schemas-microsoft-com:vml"><v:shape id="软件"><v:textpath style="font-family:&quot;宋体&quot;" string="記憶體"/></v:shape></w:pict>)"},
        {"a conditional format's text, as its formula's literal", PartKind::SpreadsheetStrings,
         "<worksheet" + x + R"(><conditionalFormatting sqref="A1"><cfRule type="containsText" operator="containsText" text="软件">)"
             R"(<formula>NOT(ISERROR(SEARCH("软件",A1)))</formula></cfRule></conditionalFormatting></worksheet>)",
         "<worksheet" + x + R"(><conditionalFormatting sqref="A1"><cfRule type="containsText" operator="containsText" text="軟體">)"
             R"(<formula>NOT(ISERROR(SEARCH("軟體",A1)))</formula></cfRule></conditionalFormatting></worksheet>)"},
        {"OpenDocument: conditional and hidden texts, form labels, a link to a heading by its text", PartKind::OdfText,
         "<office:document-content" + odf + R"( xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:form="urn:oasis:names:tc:opendocument:xmlns:form:1.0">)"
             R"(<text:p><text:conditional-text text:condition="ooow:a==1" text:string-value-if-true="软件" text:string-value-if-false="鼠标">软件</text:conditional-text>)"
             R"(<text:hidden-text text:condition="ooow:b" text:string-value="头发">头发</text:hidden-text></text:p>)"
             R"(<form:button form:name="软件" form:label="U盘"/><form:checkbox form:name="c" form:label="内存"/>)"
             R"(<text:p><text:a xlink:href="#软件|outline">软件</text:a><text:a xlink:href="#软件|table">表</text:a>)"
             R"(<text:a xlink:href="#%E8%BD%AF|outline">a</text:a></text:p></office:document-content>)",
         "<office:document-content" + odf + R"( xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:form="urn:oasis:names:tc:opendocument:xmlns:form:1.0">)"
             R"(<text:p><text:conditional-text text:condition="ooow:a==1" text:string-value-if-true="軟體" text:string-value-if-false="滑鼠">軟體</text:conditional-text>)"
             R"(<text:hidden-text text:condition="ooow:b" text:string-value="頭髮">頭髮</text:hidden-text></text:p>)"
             R"(<form:button form:name="软件" form:label="隨身碟"/><form:checkbox form:name="c" form:label="記憶體"/>)"
             R"(<text:p><text:a xlink:href="#軟體|outline">軟體</text:a><text:a xlink:href="#软件|table">表</text:a>)"
             R"(<text:a xlink:href="#%E8%BD%AF|outline">a</text:a></text:p></office:document-content>)"},
        {"an EPUB's publisher, contributor, rights and series", PartKind::EpubPackage,
         "<package" + opf + R"(><metadata><dc:publisher>软件</dc:publisher><dc:contributor>鼠标</dc:contributor>)"
             R"(<dc:rights>U盘</dc:rights><meta property="belongs-to-collection" id="c1">头发</meta>)"
             R"(<meta refines="#t" property="alternate-script" xml:lang="ja">软件</meta></metadata></package>)",
         "<package" + opf + R"(><metadata><dc:publisher>軟體</dc:publisher><dc:contributor>滑鼠</dc:contributor>)"
             R"(<dc:rights>隨身碟</dc:rights><meta property="belongs-to-collection" id="c1">頭髮</meta>)"
             R"(<meta refines="#t" property="alternate-script" xml:lang="ja">软件</meta></metadata></package>)"},
        // What a reader sees that stayed as it was: an OpenDocument form's list entries and text
        // fields (never the values a list sends), a named expression's literals, a Word table's
        // alternative text, EPUB 2's guide, a slide's equation.
        {"OpenDocument form lists and fields, named expressions", PartKind::OdfText,
         "<office:document-content" + odf +
             R"( xmlns:form="urn:oasis:names:tc:opendocument:xmlns:form:1.0")"
             R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><form:listbox form:name="软件">)"
             R"(<form:option form:label="鼠标" form:value="内存"/></form:listbox><form:combobox form:current-value="U盘">)"
             R"(<form:item form:label="头发"/></form:combobox><form:text form:value="软件" form:current-value="内存"/>)"
             R"(<table:named-expression table:name="软件" table:expression="of:&quot;鼠标&quot;"/></office:document-content>)",
         "<office:document-content" + odf +
             R"( xmlns:form="urn:oasis:names:tc:opendocument:xmlns:form:1.0")"
             R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><form:listbox form:name="软件">)"
             R"(<form:option form:label="滑鼠" form:value="内存"/></form:listbox><form:combobox form:current-value="隨身碟">)"
             R"(<form:item form:label="頭髮"/></form:combobox><form:text form:value="軟體" form:current-value="記憶體"/>)"
             R"(<table:named-expression table:name="软件" table:expression="of:&quot;滑鼠&quot;"/></office:document-content>)"},
        {"a Word table's alternative text", PartKind::WordprocessingText,
         "<w:tblPr" + w +
             R"(><w:tblStyle w:val="软件"/><w:tblCaption w:val="鼠标"/><w:tblDescription w:val="头发"/></w:tblPr>)",
         "<w:tblPr" + w +
             R"(><w:tblStyle w:val="软件"/><w:tblCaption w:val="滑鼠"/><w:tblDescription w:val="頭髮"/></w:tblPr>)"},
        {"EPUB 2's guide", PartKind::EpubPackage,
         "<package" + opf +
             R"(><guide><reference type="toc" title="软件" href="软件.xhtml"/></guide></package>)",
         "<package" + opf +
             R"(><guide><reference type="toc" title="軟體" href="软件.xhtml"/></guide></package>)"},
        {"a slide's equation", PartKind::DrawingText,
         "<a:p" + a +
             R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math"><m:r><m:t>软件</m:t></m:r></a:p>)",
         "<a:p" + a +
             R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math"><m:r><m:t>軟體</m:t></m:r></a:p>)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(c.in, c.kind, c.out);
    }
}

// Word and Excel drop white space at the ends of a text element that does not keep it: one whose
// text comes to begin with a space, when a phrase before it moves away, is told to keep it; one
// that says so already is left alone, and DrawingML keeps its spaces anyway.
TEST_F(XmlPart, TextThatComesToBeginWithASpaceKeepsIt) {
    const char *const kX = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const struct {
        const char *what;
        PartKind kind;
        std::string doc;
        std::vector<std::pair<std::string, std::string>> changes;
    } cases[] = {
        {"Word", PartKind::WordprocessingText,
         std::string("<w:p ") + kW + R"(><w:r><w:t>U</w:t></w:r><w:r><w:t>盘 和</w:t></w:r><w:r><w:t>盘 </w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {"<w:t>盘 和", "<w:t xml:space=\"preserve\"> 和"}, {"盘 ", "盤 "}}},
        {"Word, kept already", PartKind::WordprocessingText,
         std::string("<w:p ") + kW + R"(><w:r><w:t>U</w:t></w:r><w:r><w:t xml:space="default">盘 和</w:t></w:r></w:p>)",
         {{"<w:t>U</w:t>", "<w:t>隨身碟</w:t>"}, {">盘 和", "> 和"}}},
        {"Word, deleted", PartKind::WordprocessingText,
         std::string("<w:p ") + kW + R"(><w:del><w:r><w:delText>U</w:delText></w:r><w:r><w:delText>盘	和</w:delText></w:r></w:del></w:p>)",
         {{">U<", ">隨身碟<"}, {"<w:delText>盘", "<w:delText xml:space=\"preserve\">"}}},
        {"Excel", PartKind::SpreadsheetStrings,
         std::string("<sst ") + kX + R"(><si><r><t>U</t></r><r><t>盘 和</t></r></si></sst>)",
         {{"<t>U</t>", "<t>隨身碟</t>"}, {"<t>盘 和", "<t xml:space=\"preserve\"> 和"}}},
        {"DrawingML", PartKind::DrawingText,
         std::string("<a:p ") + kA + R"(><a:r><a:t>U</a:t></a:r><a:r><a:t>盘 和</a:t></a:r></a:p>)",
         {{"<a:t>U</a:t>", "<a:t>隨身碟</a:t>"}, {"<a:t>盘 和", "<a:t> 和"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(c.doc, c.kind, replaced(c.doc, c.changes));
    }
}

// Excel 365 shows a threaded comment from its own part (the legacy comment part holds a copy for
// older readers): its text is converted as the copy is; who wrote it and when stay.
TEST_F(XmlPart, ThreadedCommentsAsTheirLegacyCopy) {
    const std::string threaded =
        R"(<ThreadedComments xmlns="http://schemas.microsoft.com/office/spreadsheetml/2018/threadedcomments">)"
        R"(<threadedComment ref="A1" dT="2024-01-01T00:00:00.00" personId="{软件}" id="{1}"><text>内存和软件</text></threadedComment>)"
        R"(</ThreadedComments>)";
    expectConverted(threaded, PartKind::SpreadsheetStrings,
                    replaced(threaded, {{"{软件}", "{软件}"}, {"内存和软件", "記憶體和軟體"}}));
}

// A table's header cells must read as its column names, which formulas use: a string that is,
// whole, a column name stays in a workbook's strings; the same words elsewhere are converted.
TEST_F(XmlPart, TableColumnNamesStayInSpreadsheetStrings) {
    PartOptions options;
    options.keptStrings = {"软件", "U盘\n内存"};
    const std::string strings =
        R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>软件</t></si>)"
        R"(<si><r><t>U</t></r><r><t>盘)" "\n" R"(内存</t></r></si><si><t>软件和内存</t></si><si><t>内存</t></si></sst>)";
    expectConverted(strings, PartKind::SpreadsheetStrings,
                    replaced(strings, {{"软件和内存", "軟體和記憶體"}, {"<t>内存</t>", "<t>記憶體</t>"}}), options);
    const std::string sheet =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row>)"
        R"(<c r="A1" t="inlineStr"><is><t>软件</t></is></c><c r="B1" t="inlineStr"><is><t>鼠标</t></is></c></row></sheetData></worksheet>)";
    expectConverted(sheet, PartKind::SpreadsheetStrings, replaced(sheet, {{"鼠标", "滑鼠"}}), options);
    const std::string chart = std::string("<c:chart ") + kA +
                              R"( xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart"><a:p><a:r><a:t>软件</a:t></a:r></a:p></c:chart>)";
    expectConverted(chart, PartKind::DrawingText, replaced(chart, {{"软件", "軟體"}}), options);
}

// The same prefix bound to other namespaces in sibling elements: each element read by its own.
TEST_F(XmlPart, PrefixesFollowTheirScope) {
    const std::string doc =
        R"(<root><q:p xmlns:q="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><q:t>软件</q:t></q:p>)"
        R"(<q:p xmlns:q="urn:other"><q:t>软件</q:t></q:p>)"
        R"(<p xmlns="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><t>内存</t></p></root>)";
    expectConverted(
        doc, PartKind::WordprocessingText,
        replaced(doc, {{"<q:t>软件", "<q:t>軟體"}, {"urn:other", "urn:other"}, {"<t>内存", "<t>記憶體"}}));
}

TEST_F(XmlPart, OpenDocumentParagraphsSpansAndNotes) {
    const std::string doc =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">)"
        R"(<office:body><office:text><text:h text:style-name="标题">内<text:span text:style-name="T1">存</text:span>和<text:note text:id="n1">)"
        R"(<text:note-citation>1</text:note-citation><text:note-body><text:p>软件</text:p></text:note-body></text:note>方便面<text:s/>U盘</text:h>)"
        R"(</office:text></office:body></office:document-content>)";
    expectConverted(doc, PartKind::OdfText,
                    replaced(doc, {{">内<", ">記憶體<"},
                                   {">存<", "><"},
                                   {"<text:p>软件", "<text:p>軟體"},
                                   {"方便面", "泡麵"},
                                   {"U盘", "隨身碟"}}));
}

// A cell's string value is what LibreOffice shows of the cell when a producer writes one (and the
// cached result of a formula): converted as the paragraph beside it, never the formula; a user
// field's declared value as the fields that show it, and an index's title as it is written anew.
TEST_F(XmlPart, OpenDocumentStringValuesAsTheTextsTheyStandFor) {
    const std::string doc =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0">)"
        R"(<office:body><office:spreadsheet><table:table table:name="软件"><table:table-row>)"
        R"(<table:table-cell office:value-type="string" office:string-value="方便面"><text:p>方便面</text:p></table:table-cell>)"
        R"(<table:table-cell table:formula="of:=[.A1]&amp;&quot;软件&quot;" office:value-type="string" office:string-value="方便面软件"><text:p>方便面软件</text:p></table:table-cell>)"
        R"(</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>)";
    expectConverted(doc, PartKind::OdfText,
                    replaced(doc, {{"\"方便面\"", "\"泡麵\""},
                                   {">方便面<", ">泡麵<"},
                                   {"&quot;软件&quot;", "&quot;軟體&quot;"},
                                   {"\"方便面软件\"", "\"泡麵軟體\""},
                                   {">方便面软件<", ">泡麵軟體<"}}));
    // A user field shows its declared value wherever it is used, whatever text it was saved with.
    const std::string text =
        R"(<office:text xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">)"
        R"(<text:user-field-decls><text:user-field-decl office:value-type="string" office:string-value="方便面" text:name="软件"/></text:user-field-decls>)"
        R"(<text:p><text:user-field-get text:name="软件">方便面</text:user-field-get></text:p>)"
        R"(<text:table-of-content><text:table-of-content-source><text:index-title-template>软件</text:index-title-template>)"
        R"(</text:table-of-content-source></text:table-of-content></office:text>)";
    expectConverted(text, PartKind::OdfText,
                    replaced(text, {{"\"方便面\"", "\"泡麵\""},
                                    {"\"软件\"", "\"软件\""},
                                    {">方便面<", ">泡麵<"},
                                    {">软件<", ">軟體<"}}));
}

TEST_F(XmlPart, XhtmlTextTitleAndAltButNeverScriptStyleOrAddresses) {
    const std::string doc =
        R"(<?xml version="1.0" encoding="utf-8"?><html xmlns="http://www.w3.org/1999/xhtml"><head><title>软件</title><style>p::before{content:"内存"}</style></head>)"
        R"(<body><p id="内存" class="软件" title="内存"><a href="软件.xhtml">内</a>存<img alt="U盘" src="U盘.png"/></p>)"
        R"(<script>var s = "内存";</script><p>方便<ruby>面<rt>miàn</rt></ruby></p></body></html>)";
    expectConverted(doc, PartKind::Xhtml,
                    replaced(doc, {{"<title>软件", "<title>軟體"},
                                   {"title=\"内存\"", "title=\"記憶體\""},
                                   {">内</a>存", ">記憶體</a>"},
                                   {"alt=\"U盘\"", "alt=\"隨身碟\""},
                                   {"方便<ruby>面", "泡麵<ruby>"}}));
}

// A paragraph past the limit, one run or many, is refused before it is converted (a run of a hundred
// megabytes took gigabytes); the limit is the paragraph's, not the part's.
TEST_F(XmlPart, AParagraphPastTheLimitIsRefused) {
    const std::string w = std::string("<w:body ") + kW + ">";
    const std::string run = "<w:r><w:t>" + std::string(std::size_t(1) << 20, 'a') + "</w:t></w:r>";
    std::string many = w + "<w:p>";
    for (std::size_t k = 0; k <= kParagraphLimit >> 20; ++k)
        many += run;
    many += "</w:p></w:body>";
    const std::string one = w + "<w:p><w:r><w:t>" + std::string(kParagraphLimit + 1, 'a') + "</w:t></w:r></w:p></w:body>";
    const std::string page = "<p>" + std::string(kParagraphLimit + 1, 'a');
    const std::pair<PartKind, const std::string *> cases[] = {
        {PartKind::WordprocessingText, &many}, {PartKind::WordprocessingText, &one}, {PartKind::Html, &page}};
    for (const auto &[kind, part] : cases) {
        const PartOutcome r = convertPart(*part, kind, conv);
        EXPECT_EQ(r.error.id, core::MessageId::ParagraphTooLong);
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST_F(XmlPart, HtmlReadLeniently) {
    const std::string doc =
        "<!DOCTYPE html><html lang=zh-CN><title>软件</title><p title=内存 class=软件>内存<br>U盘"
        "<script>if (a<b) s='内存';</script><p>方便面 &copy; &amp; 软件<script "
        "src=\"s.js\"/>s='内存'</script>";
    PartOptions fonts;
    fonts.fonts = true;
    expectConverted(doc, PartKind::Html,
                    replaced(doc, {{"zh-CN", "zh-TW"},
                                   {"<title>软件", "<title>軟體"},
                                   {"title=内存", "title=記憶體"},
                                   {">内存<br>U盘", ">記憶體<br>隨身碟"},
                                   {"方便面", "泡麵"},
                                   {"&amp; 软件", "&amp; 軟體"}}),
                    fonts);
}

// A page's fonts, in its style sheet, its style attributes and its font elements, follow the
// script with fonts only; a style sheet is never text, whatever it holds.
TEST_F(XmlPart, PageFontsFollowTheScriptOnlyWithFonts) {
    const std::string html = "<html><head><style>p{font-family:宋体,SimSun}</style></head>"
                             "<body><p style=\"font:12pt 黑体\">软件<font face='宋体,Arial'>内存</font></p>";
    const std::string converted = replaced(html, {{">软件<", ">軟體<"}, {">内存<", ">記憶體<"}});
    PartOptions fonts;
    fonts.fonts = true;
    expectConverted(html, PartKind::Html, converted);
    expectConverted(html, PartKind::Html,
                    replaced(converted, {{"宋体,SimSun", "新細明體,PMingLiU"},
                                         {"12pt 黑体", "12pt 微軟正黑體"},
                                         {"'宋体,Arial'", "'新細明體,Arial'"}}),
                    fonts);
    // XHTML: a style sheet in CDATA too; a reference in a style attribute is read
    const std::string xhtml = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><style><![CDATA[p{font-family:宋体}]]>"
                              "</style></head><body><p style=\"font-family:&quot;SimSun&quot;\">软件</p></body></html>";
    expectConverted(xhtml, PartKind::Xhtml,
                    replaced(xhtml, {{"font-family:宋体", "font-family:新細明體"},
                                     {"&quot;SimSun&quot;", "&quot;PMingLiU&quot;"},
                                     {">软件<", ">軟體<"}}),
                    fonts);
    // An EPUB's own style sheets: only their font names, and only with fonts
    const std::string css = "body{font-family:\"宋体\"} p:before{content:\"软件\"}";
    expectConverted(css, PartKind::StyleSheet, css);
    expectConverted(css, PartKind::StyleSheet, replaced(css, {{"\"宋体\"", "\"新細明體\""}}), fonts);
}

// A button's label is converted where no form sends it: a button, a reset, a submit without a name.
// A named submit's value and every other field's go to the server as they were written.
TEST_F(XmlPart, HtmlButtonLabelsButNeverValuesAFormSends) {
    const struct {
        std::string in, out;
    } cases[] = {
        {R"(<input type="button" value="软件">)", R"(<input type="button" value="軟體">)"},
        {R"(<INPUT TYPE=Reset VALUE=软件>)", R"(<INPUT TYPE=Reset VALUE=軟體>)"},
        {R"(<input type="submit" value="软件">)", R"(<input type="submit" value="軟體">)"},
        {R"(<input type="submit" name="go" value="软件">)", R"(<input type="submit" name="go" value="软件">)"},
        {R"(<input type="hidden" value="软件">)", R"(<input type="hidden" value="软件">)"},
        {R"(<input value="软件">)", R"(<input value="软件">)"},
        {R"(<option value="软件">软件</option>)", R"(<option value="软件">軟體</option>)"},
        // what search results and shared links show; never a value a program reads
        {R"(<meta name="Description" content="软件"><meta property="og:title" content="鼠标"><meta name="DCTERMS.title" content="U盘">)",
         R"(<meta name="Description" content="軟體"><meta property="og:title" content="滑鼠"><meta name="DCTERMS.title" content="隨身碟">)"},
        {R"(<meta name="author" content="软件"><meta http-equiv="refresh" content="5;url=软件.html"><meta content="鼠标">)",
         R"(<meta name="author" content="软件"><meta http-equiv="refresh" content="5;url=软件.html"><meta content="鼠标">)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        expectConverted("<p>" + c.in, PartKind::Html, "<p>" + c.out);
    }
}

TEST_F(XmlPart, PropertiesAndPackageMetadata) {
    const std::string core =
        R"(<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" xmlns:dc="http://purl.org/dc/elements/1.1/">)"
        R"(<dc:title>内存</dc:title><dc:creator>软件</dc:creator><cp:keywords>U盘</cp:keywords>)"
        R"(<cp:category>鼠标</cp:category><cp:contentStatus>头发</cp:contentStatus></cp:coreProperties>)";
    expectConverted(core, PartKind::CoreProperties,
                    replaced(core, {{">内存<", ">記憶體<"}, {">U盘<", ">隨身碟<"}, {">鼠标<", ">滑鼠<"}, {">头发<", ">頭髮<"}}));
    const std::string opf =
        R"(<package xmlns="http://www.idpf.org/2007/opf"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>内存</dc:title>)"
        R"(<dc:creator>软件</dc:creator><dc:subject>U盘</dc:subject><dc:language>zh-CN</dc:language></metadata><manifest><item href="内存.xhtml"/></manifest></package>)";
    PartOptions fonts;
    fonts.fonts = true;
    expectConverted(
        opf, PartKind::EpubPackage,
        replaced(opf, {{">内存<", ">記憶體<"}, {">软件<", ">軟體<"}, {">U盘<", ">隨身碟<"}, {"zh-CN", "zh-TW"}}),
        fonts);
    // An OpenDocument's own properties that hold text, which its fields show; values of other
    // types are never text.
    const std::string meta =
        R"(<office:meta xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0">)"
        R"(<meta:user-defined meta:name="软件">内存</meta:user-defined><meta:user-defined meta:name="U盘" meta:value-type="string">U盘</meta:user-defined>)"
        R"(<meta:user-defined meta:name="内存" meta:value-type="float">内存</meta:user-defined></office:meta>)";
    expectConverted(meta, PartKind::OdfMeta,
                    replaced(meta, {{"\"软件\">内存<", "\"软件\">記憶體<"}, {">U盘<", ">隨身碟<"}}));
    const std::string ncx =
        R"(<ncx xmlns="http://www.daisy.org/z3986/2005/ncx/"><navMap><navPoint><navLabel><text>软件</text></navLabel><content src="软件.xhtml"/></navPoint></navMap></ncx>)";
    expectConverted(ncx, PartKind::EpubNcx, replaced(ncx, {{">软件<", ">軟體<"}}));
}

// What stands beside a paragraph's text without being text cuts nothing: a phonetic guide over
// each character (Word's and OpenDocument's ruby, HTML's rt and rp), a soft page break where the
// last layout turned the page, an element's title. 方便面 read as one phrase, not 方, 便 and 面;
// the guides themselves never converted.
TEST_F(XmlPart, GuidesPageBreaksAndTitlesDoNotCutAPhrase) {
    const char *const kOdf = R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")";
    auto wordRuby = [](const char *base) {
        return std::string(R"(<w:r><w:ruby><w:rubyPr/><w:rt><w:r><w:t>软</w:t></w:r></w:rt><w:rubyBase><w:r><w:t>)") +
               base + "</w:t></w:r></w:rubyBase></w:ruby></w:r>";
    };
    auto odfRuby = [](const char *base) {
        return std::string("<text:ruby><text:ruby-base>") + base +
               "</text:ruby-base><text:ruby-text>软</text:ruby-text></text:ruby>";
    };
    auto htmlRuby = [](const char *base) {
        return std::string("<ruby>") + base + "<rp>(</rp><rt>软</rt><rp>)</rp></ruby>";
    };
    const struct {
        const char *what;
        PartKind kind;
        std::string doc;
        std::vector<std::pair<std::string, std::string>> changes;
    } cases[] = {
        {"Word ruby", PartKind::WordprocessingText,
         std::string("<w:p ") + kW + ">" + wordRuby("方") + wordRuby("便") + wordRuby("面") + "</w:p>",
         {{"<w:t>方</w:t>", "<w:t>泡麵</w:t>"}, {"<w:t>便</w:t>", "<w:t></w:t>"}, {"<w:t>面</w:t>", "<w:t></w:t>"}}},
        {"OpenDocument ruby", PartKind::OdfText,
         std::string("<text:p ") + kOdf + ">" + odfRuby("方") + odfRuby("便") + odfRuby("面") + "</text:p>",
         {{">方<", ">泡麵<"}, {">便<", "><"}, {">面<", "><"}}},
        {"OpenDocument soft page break", PartKind::OdfText,
         std::string("<text:p ") + kOdf + ">软件方便<text:soft-page-break/>面</text:p>",
         {{"软件方便", "軟體泡麵"}, {"/>面<", "/><"}}},
        {"HTML ruby", PartKind::Html, "<p>" + htmlRuby("方") + htmlRuby("便") + htmlRuby("面") + "</p>",
         {{">方<", ">泡麵<"}, {">便<", "><"}, {">面<", "><"}}},
        {"XHTML ruby", PartKind::Xhtml,
         R"(<html xmlns="http://www.w3.org/1999/xhtml"><p>)" + htmlRuby("方") + htmlRuby("便") + htmlRuby("面") +
             "</p></html>",
         {{">方<", ">泡麵<"}, {">便<", "><"}, {">面<", "><"}}},
        {"HTML title", PartKind::Html, R"(<p>方便<abbr title="软件">面</abbr></p>)",
         {{"方便", "泡麵"}, {"title=\"软件\">面", "title=\"軟體\">"}}},
        {"HTML hints and labels, never values", PartKind::Html,
         R"(<p>内<input name="软件" value="软件" placeholder="软件" aria-label="鼠标">存<select><optgroup label="U盘">)"
         R"(<option value="内存" label="内存">内存</select></p>)",
         {{"内<", "內<"}, // a form control cuts the text
          {"placeholder=\"软件\" aria-label=\"鼠标\">", "placeholder=\"軟體\" aria-label=\"滑鼠\">"},
          {"label=\"U盘\"", "label=\"隨身碟\""},
          {"value=\"内存\" label=\"内存\">内存", "value=\"内存\" label=\"記憶體\">記憶體"}}},
        {"XHTML title", PartKind::Xhtml,
         R"(<html xmlns="http://www.w3.org/1999/xhtml"><p>方便<abbr title="软件">面</abbr></p></html>)",
         {{"方便", "泡麵"}, {"title=\"软件\">面", "title=\"軟體\">"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectConverted(c.doc, c.kind, replaced(c.doc, c.changes));
    }
}

// Each refusal says what and where, in either language.
TEST_F(XmlPart, DamagedOrDangerousPartsAreRefused) {
    const struct {
        std::string doc, english, chinese;
    } cases[] = {
        {"<!DOCTYPE x [<!ENTITY e \"内存\">]><x>&e;</x>",
         "DOCTYPE declares entities, which are not expanded here at byte 13", "第 13 字节处DOCTYPE 声明了实体，本程序不展开实体"},
        {"<w:p><w:t>内存</w:p>", "end tag </w:p> does not match at byte 16", "第 16 字节处的结束标签 </w:p> 与开始标签不配"},
        {"<a>内存", "element <a> not closed at the end", "元素 <a> 到结尾都没有结束"},
        {"<a>&bogus</a>", "an & that begins no reference at byte 3", "第 3 字节处“&”后面不是字符引用"},
        {"<a>\xff</a>", "not valid UTF-8 at byte 3", "第 3 字节处不是有效的 UTF-8"},
        {"<a b=c>内存</a>", "attribute value not quoted at byte 5", "第 5 字节处属性值没有加引号"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.doc);
        const PartOutcome r = convertPart(c.doc, PartKind::WordprocessingText, conv, {});
        EXPECT_EQ(r.error.in(core::Language::English), c.english);
        EXPECT_EQ(r.error.in(core::Language::Chinese), c.chinese);
        EXPECT_EQ(r.bytes, "");
        EXPECT_FALSE(r.changed);
    }
}

} // namespace
