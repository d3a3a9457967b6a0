// Where the text is in each kind of part (the tables part_formats.h describes), and the font names
// and language tags that go with the script.

#include "core/document/part_formats.h"

#include <algorithm>
#include <iterator>

namespace core::document {

namespace {

using R = ElementRole;
using A = AttributeRole;

constexpr NamespaceName kOfficeNamespaces[] = {
    {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
    {"w", "http://purl.oclc.org/ooxml/wordprocessingml/main"},
    {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
    {"a", "http://purl.oclc.org/ooxml/drawingml/main"},
    {"p", "http://schemas.openxmlformats.org/presentationml/2006/main"},
    {"p", "http://purl.oclc.org/ooxml/presentationml/main"},
    {"x", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"},
    {"x", "http://purl.oclc.org/ooxml/spreadsheetml/main"},
    {"tc", "http://schemas.microsoft.com/office/spreadsheetml/2018/threadedcomments"},
    {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
    {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
    {"v", "urn:schemas-microsoft-com:vml"},
    {"c", "http://schemas.openxmlformats.org/drawingml/2006/chart"},
    {"cx", "http://schemas.microsoft.com/office/drawing/2014/chartex"},
    {"xm", "http://schemas.microsoft.com/office/excel/2006/main"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
    {"vt", "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes"},
    {"ep", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"},
    {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
    {"pic", "http://schemas.openxmlformats.org/drawingml/2006/picture"},
    {"xdr", "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing"},
    {"p14", "http://schemas.microsoft.com/office/powerpoint/2010/main"},
};

// Word: paragraphs of the body, headers, footers, notes, comments and text boxes. Runs, hyperlinks,
// insertions, smart tags, content controls and simple fields are transparent: their text joins
// the paragraph (a phrase that changes length never empties a hyperlink or a simple field); a
// phonetic guide's reading (w:rt) is never converted and leaves its base text to the paragraph. Of
// a field's instruction only the words the field shows are converted (XE "软件", \o "提示"); field
// characters cut the paragraph, so that a field's result is converted apart from the text around it.
constexpr ElementRule kWordElements[] = {
    {"w:p", R::Paragraph},
    {"w:t", R::Text},
    {"w:delText", R::DeletedText},
    {"w:r", R::Run},
    {"w:rPr", R::RunProperties},
    {"w:vanish", R::HiddenMark},
    {"w:hyperlink", R::Link},
    {"w:fldSimple", R::Link},
    {"m:t", R::Text},
    {"w:instrText", R::FieldCode},
    {"w:rt", R::Aside},
    {"w:delInstrText", R::Never},
    {"w:tab", R::Boundary},
    {"w:ptab", R::Boundary},
    {"w:br", R::Boundary},
    {"w:cr", R::Boundary},
    {"w:sym", R::Boundary},
    {"w:softHyphen", R::Boundary},
    {"w:noBreakHyphen", R::Boundary},
    {"w:fldChar", R::FieldMark},
    {"w:footnoteReference", R::Boundary},
    {"w:endnoteReference", R::Boundary},
    {"w:commentReference", R::Boundary},
    {"w:separator", R::Boundary},
    {"w:continuationSeparator", R::Boundary},
    {"w:drawing", R::Boundary},
    {"w:pict", R::Boundary},
    {"w:object", R::Boundary},
    {"mc:AlternateContent", R::Boundary},
    {"m:oMath", R::Boundary},
    {"m:oMathPara", R::Boundary},
};

constexpr AttributeRule kWordAttributes[] = {
    {"w:rFonts", "w:eastAsia", A::Font},   {"w:rFonts", "w:ascii", A::Font}, {"w:rFonts", "w:hAnsi", A::Font},
    {"w:rFonts", "w:cs", A::Font},         {"w:font", "w:name", A::Font},    {"w:altName", "w:val", A::Font},
    {"w:lang", "w:eastAsia", A::Language}, {"w:lang", "w:val", A::Language},
    // the choices a content control's list shows (never the values it stores)
    {"w:listItem", "w:displayText", A::Text},
    // a legacy drop-down's choices (it stores the index of the one shown); never its help, which
    // may name an AutoText entry, nor a text field's first text, which may be a calculation
    {"w:listEntry", "w:val", A::Text},
    {"w:hyperlink", "w:tooltip", A::Text},
    {"w:tblCaption", "w:val", A::Text}, // a table's alternative text
    {"w:tblDescription", "w:val", A::Text},
    {"w:fldSimple", "w:instr", A::FieldCode}, // the words it shows (as w:instrText)
    {"w:lvlText", "w:val", A::Text}, // a list number's words around its %1
    {"v:textpath", "string", A::Text}, // WordArt and a text watermark (内部资料, on every page)
    // a picture's or a shape's alternative text and a link's tip, in the drawings of every format
    {"wp:docPr", "descr", A::Text},
    {"wp:docPr", "title", A::Text},
    {"pic:cNvPr", "descr", A::Text},
    {"pic:cNvPr", "title", A::Text},
    {"a:hlinkClick", "tooltip", A::Text},
    {"a:hlinkHover", "tooltip", A::Text},
};

// Document properties: the title, subject, keywords, description, category and status (never the
// author's name or the dates); and the text values of the document's own properties (custom.xml: DOCPROPERTY fields
// show them, and are filled from them again when fields are updated), never their names.
constexpr ElementRule kCoreElements[] = {
    {"dc:title", R::TextParagraph},
    {"dc:subject", R::TextParagraph},
    {"cp:keywords", R::TextParagraph},
    {"dc:description", R::TextParagraph},
    {"cp:category", R::TextParagraph},
    {"cp:contentStatus", R::TextParagraph}, // 草稿, 终稿
    {"vt:lpwstr", R::TextParagraph},
    {"vt:bstr", R::TextParagraph},
};

// The application's properties: the company and the manager (a cover page shows the company).
// Never the titles of the parts, which are a workbook's sheet names, nor the application's name.
constexpr ElementRule kExtendedElements[] = {
    {"ep:Company", R::TextParagraph},
    {"ep:Manager", R::TextParagraph},
};

// Spreadsheets: shared strings and inline strings (each string a paragraph, its rich text runs
// joined, phonetic guides never), comments (threaded ones too), and header and footer text. Values
// are never text, nor are formulas but for their string literals, which must go on matching the
// converted cells (SUMIF(A:A,"销售部",B:B)); sheet names live in the workbook, which is not a text
// part.
constexpr ElementRule kSheetElements[] = {
    {"x:si", R::Paragraph},
    {"x:is", R::Paragraph},
    {"x:text", R::Paragraph},
    {"tc:text", R::TextParagraph}, // a threaded comment (Excel 365), whose copy in x:text is its fallback
    {"x:t", R::Text},
    {"x:rPh", R::Never},
    {"x:f", R::Formula},
    {"x:formula", R::Formula},  // conditional formatting
    {"x:formula1", R::Formula}, // data validation (its list: "销售部,技术部")
    {"x:formula2", R::Formula},
    {"xm:f", R::Formula}, // the same in the extensions of Excel 2010
    {"x:definedName", R::Formula},
    {"x:calculatedColumnFormula", R::Formula}, // a table's columns
    {"x:totalsRowFormula", R::Formula},
    {"x:c", R::Cell},
    {"x:v", R::CachedResult}, // a string result shows until the formula is computed again
    {"x:oddHeader", R::HeaderFooter},
    {"x:oddFooter", R::HeaderFooter},
    {"x:evenHeader", R::HeaderFooter},
    {"x:evenFooter", R::HeaderFooter},
    {"x:firstHeader", R::HeaderFooter},
    {"x:firstFooter", R::HeaderFooter},
};

// The values a filter keeps (autoFilter, in a sheet or a table), which must go on matching the
// converted cells, a table's total row label, which its cell repeats, and a validation's messages.
constexpr AttributeRule kSheetAttributes[] = {
    // a conditional format's text (containsText, beginsWith...), which its formula's literal repeats
    {"x:cfRule", "text", A::Text},
    {"x:filter", "val", A::Text},
    {"x:customFilter", "val", A::Text},
    {"x:tableColumn", "totalsRowLabel", A::Text},
    // what a validation tells the user who enters a cell, or a wrong value
    {"x:dataValidation", "promptTitle", A::Text},
    {"x:dataValidation", "prompt", A::Text},
    {"x:dataValidation", "errorTitle", A::Text},
    {"x:dataValidation", "error", A::Text},
    // a number format's own words (0"个", #,##0"万元"), in its quoted literals as a formula's
    {"x:numFmt", "formatCode", A::NumberFormat},
    // A pivot table writes its data fields' names (求和项:金额, which GETPIVOTDATA asks for), its
    // captions and the names its items were given into its cells each time it is refreshed; its
    // cache keeps each field's items (x:s, in the items and in the records), which GETPIVOTDATA
    // and the field's filter list go by until then.
    {"x:dataField", "name", A::Text},
    {"x:item", "n", A::Text},
    {"x:pivotField", "name", A::Text},
    {"x:pivotField", "subtotalCaption", A::Text},
    {"x:pivotTableDefinition", "dataCaption", A::Text},
    {"x:pivotTableDefinition", "grandTotalCaption", A::Text},
    {"x:pivotTableDefinition", "rowHeaderCaption", A::Text},
    {"x:pivotTableDefinition", "colHeaderCaption", A::Text},
    {"x:pivotTableDefinition", "errorCaption", A::Text},
    {"x:pivotTableDefinition", "missingCaption", A::Text},
    {"x:s", "v", A::Text},
};

// DrawingML: slides, notes, layouts, masters, charts, SmartArt and drawings of every format keep
// their text in a:p paragraphs of a:r runs; old-style presentation comments in p:text. A chart's
// data is cached beside the references to the cells it comes from (c:f, never converted): Word and
// PowerPoint draw a chart from its cache, so each cached point (a category, a series' name) is a
// paragraph of its own, as the converted cell it repeats; numbers are left as they are anyway.
constexpr ElementRule kDrawingElements[] = {
    {"a:p", R::Paragraph},
    {"a:t", R::Text},
    {"m:t", R::Text}, // an equation's text (a14:m), which PowerPoint shows before its fallback's
    {"a:r", R::Run},
    {"a:rPr", R::RunProperties},
    {"a:hlinkClick", R::LinkMark},
    {"a:br", R::Boundary},
    {"p:text", R::TextParagraph},
    {"c:pt", R::Paragraph},
    {"c:tx", R::Paragraph},
    {"c:v", R::Text},
    {"c:f", R::Never},
    {"cx:pt", R::TextParagraph},
    {"cx:v", R::TextParagraph},
    {"cx:f", R::Never},
};

constexpr AttributeRule kDrawingAttributes[] = {
    {"a:latin", "typeface", A::Font},  {"a:ea", "typeface", A::Font},
    {"a:cs", "typeface", A::Font},     {"a:font", "typeface", A::Font},
    {"a:rPr", "lang", A::Language},    {"a:rPr", "altLang", A::Language},
    {"a:defRPr", "lang", A::Language}, {"a:endParaRPr", "lang", A::Language},
    // a picture's or a shape's alternative text (slides, a sheet's drawings), a link's tip
    {"p:cNvPr", "descr", A::Text},     {"p:cNvPr", "title", A::Text},
    {"xdr:cNvPr", "descr", A::Text},   {"xdr:cNvPr", "title", A::Text},
    {"pic:cNvPr", "descr", A::Text},   {"pic:cNvPr", "title", A::Text},
    {"a:hlinkClick", "tooltip", A::Text}, {"a:hlinkHover", "tooltip", A::Text},
    {"p14:section", "name", A::Text}, // a presentation's sections, headings in the slide pane
};

constexpr NamespaceName kOdfNamespaces[] = {
    {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
    {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
    {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"calcext", "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"},
    {"number", "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"},
    {"presentation", "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"},
    {"loext", "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0"},
    {"form", "urn:oasis:names:tc:opendocument:xmlns:form:1.0"},
    {"xlink", "http://www.w3.org/1999/xlink"},
};

// OpenDocument: text:p and text:h are paragraphs, spans and links join them; tabs, line breaks,
// spaces, notes and frames cut them; a note's own paragraphs are paragraphs of their own. Note
// numbers, ruby readings and a comment's author and date are never converted. A soft page break
// (where the last layout turned the page, often inside a paragraph) is no text and cuts nothing.
constexpr ElementRule kOdfElements[] = {
    {"text:p", R::TextParagraph},
    {"text:h", R::TextParagraph},
    {"text:tab", R::Boundary},
    {"text:a", R::Link},
    {"text:line-break", R::Boundary},
    {"text:s", R::Boundary},
    {"text:note", R::Boundary},
    {"text:note-citation", R::Never},
    {"text:ruby-text", R::Aside},
    {"draw:frame", R::Boundary},
    {"draw:custom-shape", R::Boundary},
    {"office:annotation", R::Boundary},
    {"office:annotation-end", R::Boundary},
    {"dc:creator", R::Never},
    {"dc:date", R::Never},
    {"meta:date-string", R::Never},
    {"svg:title", R::TextParagraph},
    {"svg:desc", R::TextParagraph},
    {"text:index-title-template", R::TextParagraph}, // an index's title, written anew when it is updated
    {"number:text", R::TextParagraph},               // a number format's own words: 0"个", yyyy"年"
    // what a presentation's header, footer and fixed date show on every slide
    {"presentation:header-decl", R::TextParagraph},
    {"presentation:footer-decl", R::TextParagraph},
    {"presentation:date-time-decl", R::TextParagraph},
};

// A spreadsheet cell's string value, where a producer writes one, is the cell's content to a reader
// (LibreOffice shows it rather than the paragraph beside it): converted as its paragraph is. So is
// a user field's value, which its fields show in place of the text they were saved with.
constexpr AttributeRule kOdfAttributes[] = {
    {"text:a", "office:title", A::Text}, // a link's tip
    // the words of list and chapter numbers around the number (条款1、), in either notation
    {"text:list-level-style-number", "style:num-prefix", A::Text},
    {"text:list-level-style-number", "style:num-suffix", A::Text},
    {"text:list-level-style-number", "loext:num-list-format", A::Text},
    {"text:outline-level-style", "style:num-prefix", A::Text},
    {"text:outline-level-style", "style:num-suffix", A::Text},
    {"text:outline-level-style", "loext:num-list-format", A::Text},
    {"text:label", "text:value", A::Text}, // a drop-down field's choices: it shows the chosen one
    // a conditional field's two texts and a hidden one's: the field shows one of them again on
    // every recalculation
    {"text:conditional-text", "text:string-value-if-true", A::Text},
    {"text:conditional-text", "text:string-value-if-false", A::Text},
    {"text:hidden-text", "text:string-value", A::Text},
    // index and contents entries marked at a point (the marked text of a start and end pair is
    // the paragraph's), and an index's keys: an index updated from them shows them again
    {"text:alphabetical-index-mark", "text:string-value", A::Text},
    {"text:alphabetical-index-mark", "text:key1", A::Text},
    {"text:alphabetical-index-mark", "text:key2", A::Text},
    {"text:alphabetical-index-mark-start", "text:key1", A::Text},
    {"text:alphabetical-index-mark-start", "text:key2", A::Text},
    {"text:toc-mark", "text:string-value", A::Text},
    {"text:user-index-mark", "text:string-value", A::Text},
    // the labels of form controls
    {"form:button", "form:label", A::Text},
    {"form:checkbox", "form:label", A::Text},
    {"form:radio", "form:label", A::Text},
    {"form:fixed-text", "form:label", A::Text},
    {"form:frame", "form:label", A::Text},
    // a link to a heading names it by its text (#软件开发概述|outline)
    {"text:a", "xlink:href", A::OutlineLink},
    // a validation's titles, as its messages
    {"table:help-message", "table:title", A::Text},
    {"table:error-message", "table:title", A::Text},
    // what a form's lists, combo boxes and text fields show (never the values a list sends)
    {"form:option", "form:label", A::Text},
    {"form:item", "form:label", A::Text},
    {"form:combobox", "form:current-value", A::Text},
    {"form:text", "form:current-value", A::Text},
    {"form:text", "form:value", A::Text},
    {"form:textarea", "form:current-value", A::Text},
    {"form:textarea", "form:value", A::Text},
    {"table:named-expression", "table:expression", A::Formula}, // its literals, as a cell's formula's
    {"table:table-cell", "office:string-value", A::Text},
    {"table:covered-table-cell", "office:string-value", A::Text},
    {"text:user-field-decl", "office:string-value", A::Text},
    {"text:variable-set", "office:string-value", A::Text},
    {"table:table-cell", "table:formula", A::Formula},
    {"table:covered-table-cell", "table:formula", A::Formula},
    {"table:content-validation", "table:condition", A::Formula},
    {"calcext:condition", "calcext:value", A::Formula}, // conditional formats
    {"style:map", "style:condition", A::Formula},
    {"table:filter-condition", "table:value", A::Text}, // what a filter keeps
    {"style:font-face", "style:name", A::Font},
    {"style:font-face", "svg:font-family", A::Font},
    {"style:text-properties", "style:font-name", A::Font},
    {"style:text-properties", "style:font-name-asian", A::Font},
    {"style:text-properties", "style:font-family-asian", A::Font},
    {"style:text-properties", "fo:font-family", A::Font},
    {"style:text-properties", "fo:country", A::Country},
    {"style:text-properties", "style:country-asian", A::Country},
};

// The document's properties, and its own ones (meta:user-defined) that hold text: fields show
// these from here, whatever text they were saved with.
constexpr ElementRule kOdfMetaElements[] = {
    {"dc:title", R::TextParagraph},
    {"dc:subject", R::TextParagraph},
    {"dc:description", R::TextParagraph},
    {"meta:keyword", R::TextParagraph},
    {"meta:user-defined", R::TextParagraph, "meta:value-type"},
};

// HTML and XHTML: every text outside script and style; blocks (and breaks, images, form controls)
// cut paragraphs. title, alt and the few others shown to a reader are texts of their own; id,
// href, class, value and the rest never.
constexpr ElementRule kHtmlElements[] = {
    {"script", R::Never},     {"style", R::Never},         {"address", R::Boundary},
    {"article", R::Boundary}, {"aside", R::Boundary},      {"blockquote", R::Boundary},
    {"body", R::Boundary},    {"br", R::Boundary},         {"caption", R::Boundary},
    {"dd", R::Boundary},      {"div", R::Boundary},        {"dl", R::Boundary},
    {"dt", R::Boundary},      {"figcaption", R::Boundary}, {"figure", R::Boundary},
    {"footer", R::Boundary},  {"h1", R::Boundary},         {"h2", R::Boundary},
    {"h3", R::Boundary},      {"h4", R::Boundary},         {"h5", R::Boundary},
    {"h6", R::Boundary},      {"head", R::Boundary},       {"header", R::Boundary},
    {"hr", R::Boundary},      {"html", R::Boundary},       {"img", R::Boundary},
    {"input", R::Boundary},   {"li", R::Boundary},         {"main", R::Boundary},
    {"nav", R::Boundary},     {"ol", R::Boundary},         {"option", R::Boundary},
    {"p", R::Boundary},       {"pre", R::Boundary},        {"section", R::Boundary},
    {"select", R::Boundary},  {"table", R::Boundary},      {"tbody", R::Boundary},
    {"td", R::Boundary},      {"textarea", R::Boundary},   {"tfoot", R::Boundary},
    {"th", R::Boundary},      {"thead", R::Boundary},      {"title", R::Boundary},
    {"tr", R::Boundary},      {"ul", R::Boundary},         {"rt", R::Aside},
    {"rp", R::Aside},         {"svg", R::Boundary},        {"math", R::Boundary},
    {"a", R::Link},
};

constexpr AttributeRule kHtmlAttributes[] = {
    {"*", "title", A::Text},
    {"*", "alt", A::Text},
    // Shown or read out, never sent with a form: a field's hint, a label for screen readers, the
    // names of a list's groups and options and of a video's subtitle tracks.
    {"*", "placeholder", A::Text},
    {"*", "aria-label", A::Text},
    {"optgroup", "label", A::Text},
    {"option", "label", A::Text},
    {"track", "label", A::Text},
    {"input", "value", A::ButtonLabel},
    {"meta", "content", A::MetaContent},
    {"*", "lang", A::Language},
    {"*", "xml:lang", A::Language},
    {"*", "style", A::Style},
    {"font", "face", A::FontList},
};

constexpr NamespaceName kEpubNamespaces[] = {
    {"opf", "http://www.idpf.org/2007/opf"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"ncx", "http://www.daisy.org/z3986/2005/ncx/"},
};

constexpr ElementRule kOpfElements[] = {
    {"dc:title", R::TextParagraph},   {"dc:creator", R::TextParagraph}, {"dc:description", R::TextParagraph},
    {"dc:subject", R::TextParagraph}, {"dc:language", R::LanguageText},
    {"dc:publisher", R::TextParagraph}, {"dc:contributor", R::TextParagraph}, {"dc:rights", R::TextParagraph},
    // EPUB 3's refinements: a series (belongs-to-collection), a title's or a name's sorting form;
    // never a title or a name written in another script on purpose
    {"opf:meta", R::TextParagraph, "property!=alternate-script"},
};

constexpr AttributeRule kXmlLangAttribute[] = {{"*", "xml:lang", A::Language}};

// EPUB 2's guide names its landmarks (the cover, the table of contents) as a reader's menu shows them.
constexpr AttributeRule kOpfAttributes[] = {{"*", "xml:lang", A::Language}, {"opf:reference", "title", A::Text}};

constexpr ElementRule kNcxElements[] = {{"ncx:text", R::TextParagraph}};

const PartFormat kFormats[] = {
    /* WordprocessingText */ {MarkupMode::Xml, false, false, kWordElements, kWordAttributes,
                              kOfficeNamespaces, true},
    /* CoreProperties */ {MarkupMode::Xml, false, false, kCoreElements, {}, kOfficeNamespaces},
    /* ExtendedProperties */ {MarkupMode::Xml, false, false, kExtendedElements, {}, kOfficeNamespaces},
    /* SpreadsheetStrings */
    {MarkupMode::Xml, false, false, kSheetElements, kSheetAttributes, kOfficeNamespaces, true},
    /* DrawingText */
    {MarkupMode::Xml, false, false, kDrawingElements, kDrawingAttributes, kOfficeNamespaces},
    /* OdfText */ {MarkupMode::Xml, false, false, kOdfElements, kOdfAttributes, kOdfNamespaces},
    /* OdfMeta */ {MarkupMode::Xml, false, false, kOdfMetaElements, {}, kOdfNamespaces},
    /* Xhtml */ {MarkupMode::Xml, true, true, kHtmlElements, kHtmlAttributes, {}},
    /* Html */ {MarkupMode::Html, true, true, kHtmlElements, kHtmlAttributes, {}},
    /* EpubPackage */ {MarkupMode::Xml, false, false, kOpfElements, kOpfAttributes, kEpubNamespaces},
    /* EpubNcx */ {MarkupMode::Xml, false, false, kNcxElements, kXmlLangAttribute, kEpubNamespaces},
    /* BoundData */ {MarkupMode::Xml, false, false, {}, {}, {}},
    /* EmbeddedDocument */ {MarkupMode::Xml, false, false, {}, {}, {}},
    /* StyleSheet */ {MarkupMode::Xml, false, false, {}, {}, {}},
};

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto low = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return low(x) == low(y);
           });
}

// Font names, simplified form first; Latin names compare without regard to case.
struct FontPair {
    std::string_view simplified, traditional;
};
constexpr FontPair kFonts[] = {
    {"宋体", "新細明體"},
    {"SimSun", "PMingLiU"},
    {"新宋体", "細明體"},
    {"NSimSun", "MingLiU"},
    {"黑体", "微軟正黑體"},
    {"SimHei", "Microsoft JhengHei"},
    {"楷体", "標楷體"},
    {"KaiTi", "DFKai-SB"},
    {"楷体_GB2312", "標楷體"},
    {"微软雅黑", "微軟正黑體"},
    {"Microsoft YaHei", "Microsoft JhengHei"},
};

} // namespace

const PartFormat &partFormat(PartKind kind) {
    const auto i = static_cast<std::size_t>(kind);
    return kFormats[i < std::size(kFormats) ? i : 0];
}

std::string mapFontName(std::string_view value, ScriptDirection direction) {
    // A name in quotes ('宋体', as font-family lists write it) keeps its quotes.
    std::string_view name = value;
    std::string_view quote;
    if (name.size() >= 2 && (name.front() == '\'' || name.front() == '"') && name.back() == name.front()) {
        quote = name.substr(0, 1);
        name = name.substr(1, name.size() - 2);
    }
    for (const FontPair &f : kFonts) {
        const bool toTraditional = direction == ScriptDirection::ToTraditional;
        if (equalNoCase(name, toTraditional ? f.simplified : f.traditional))
            return std::string(quote) + std::string(toTraditional ? f.traditional : f.simplified) +
                   std::string(quote);
    }
    return std::string(value);
}

std::string mapLanguageTag(std::string_view value, const PartOptions &options) {
    if (options.direction == ScriptDirection::ToTraditional) {
        if (equalNoCase(value, "zh-CN") || equalNoCase(value, "zh-SG") || equalNoCase(value, "zh_CN"))
            return options.traditionalLanguage;
        if (equalNoCase(value, "zh-Hans"))
            return "zh-Hant";
        if (equalNoCase(value, "CN"))
            return options.traditionalLanguage.size() > 3 ? options.traditionalLanguage.substr(3) : "TW";
    } else {
        if (equalNoCase(value, "zh-TW") || equalNoCase(value, "zh-HK") || equalNoCase(value, "zh-MO") ||
            equalNoCase(value, "zh_TW"))
            return "zh-CN";
        if (equalNoCase(value, "zh-Hant"))
            return "zh-Hans";
        if (equalNoCase(value, "TW") || equalNoCase(value, "HK") || equalNoCase(value, "MO"))
            return "CN";
    }
    return std::string(value);
}

} // namespace core::document
