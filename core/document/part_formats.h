#pragma once

// The formats as tables: for each kind of part, which elements are paragraphs, which hold text,
// which cut a paragraph, which are never converted, and which attributes are text, fonts or
// language tags. Names are written with each format's usual prefixes; the walker (xml_part.cpp)
// resolves the prefixes a part declares to these through the namespaces, so that a part written
// with other prefixes or a default namespace reads the same. Internal to the document engine.

#include "core/document/xml_part.h"
#include "core/document/xml_tokens.h"

#include <span>
#include <string>
#include <string_view>

namespace core::document {

enum class ElementRole : unsigned char {
    None,          // transparent: its text, if any, is text only as its parent says
    Paragraph,     // a unit; only the text of its Text elements is converted
    TextParagraph, // a unit whose character data (its own and its descendants') is all text
    Text,          // its character data is text of the paragraph around it
    DeletedText,   // text of deleted runs: converted in a context of its own
    Boundary,      // cuts the paragraph around it (tab, break, field character, drawing...)
    Never,         // nothing inside it is converted, and it cuts the paragraph around it
    // nothing inside it is converted, and the paragraph goes on around it: a phonetic guide, whose
    // base text reads as one text (干<rt>gān</rt>燥 is 干燥, not 干 and 燥)
    Aside,
    HeaderFooter, // spreadsheet header or footer: text with &-codes that are kept as they are
    LanguageText, // its text is a language tag (mapped only with fonts)
    // a spreadsheet formula: only the text of its string literals is converted, each literal a
    // text of its own ("销售部" in SUMIF(A:A,"销售部",B:B)); it cuts the paragraph around it
    Formula,
    Cell,         // a spreadsheet cell: transparent; says whether its formula's result is a string
    CachedResult, // a formula's result as last computed: text when its cell says it is a string
    // Word's run, its properties and their hidden mark (w:vanish): a hidden run's text is no text
    // of the paragraph a reader sees, and is converted in a context of its own, as deleted text is
    Run,
    RunProperties,
    HiddenMark,
    // a hyperlink or a simple field (w:hyperlink, text:a, <a>): transparent, but a phrase that
    // changes length and starts before it never takes all its text (run_mapping.h)
    Link,
    // a DrawingML run's link (a:hlinkClick in a:rPr): the run is a link, as above
    LinkMark,
    // a Word field's instruction (w:instrText): only the words the field shows are text (an index
    // entry's, a hyperlink's tip, a macro button's caption); it cuts the paragraph around it
    FieldCode,
    // a Word complex field's mark (w:fldChar: begin, separate, end), a boundary: the instruction
    // between begin and separate is read as one, whatever runs Word split it into
    FieldMark,
};

enum class AttributeRole : unsigned char {
    Text,     // converted as a text of its own (HTML title and alt)
    Font,     // a font name (mapped only with fonts)
    Language, // a language tag such as zh-CN (mapped only with fonts)
    Country,  // a country code beside a language attribute "zh" (ODF; only with fonts)
    Formula,  // a formula: only its string literals are converted (as ElementRole::Formula)
    // a number format's code (0"个", 0\个): its quoted words and the characters a backslash
    // makes literal are converted, the codes kept
    NumberFormat,
    // a button's label (HTML input value): text where the form never sends it, a button or reset,
    // or a submit button without a name
    ButtonLabel,
    // a page's description for search results and shared links (HTML meta content): text where
    // its name or property says what a reader sees (description, keywords, og:title...)
    MetaContent,
    Style,    // CSS declarations (HTML style): their font names (mapped only with fonts)
    FontList, // a comma-separated list of font names (HTML font face; only with fonts)
    // a link within the document to a heading, by the heading's text (#软件开发概述|outline): that
    // text converted as the heading is; any other link kept
    OutlineLink,
    FieldCode, // a Word simple field's instruction (w:instr), as ElementRole::FieldCode
};

struct ElementRule {
    std::string_view name;
    ElementRole role;
    // When not empty: the attribute that gives the element's value a type; with a type other
    // than "string" (a number, a date, a boolean) its content is a value, never text. Or
    // "attribute!=value": the element is no text where its attribute says that value.
    std::string_view valueType = {};
};

struct AttributeRule {
    std::string_view element; // "*": any element
    std::string_view attribute;
    AttributeRole role;
};

struct NamespaceName {
    std::string_view prefix; // as the rules write it
    std::string_view uri;
};

struct PartFormat {
    MarkupMode mode = MarkupMode::Xml;
    // HTML and XHTML: names are matched by their local part, in lower case, without namespaces.
    bool byLocalName = false;
    // HTML and XHTML: all character data outside Never elements is text; Boundary elements end a
    // paragraph (there is no Paragraph element).
    bool textEverywhere = false;
    std::span<const ElementRule> elements;
    std::span<const AttributeRule> attributes;
    std::span<const NamespaceName> namespaces;
    // Word and Excel drop the white space at either end of a text element unless it says
    // xml:space="preserve": a text element whose text comes to begin or end with a space is given it.
    bool spaceNeedsPreserve = false;
};

const PartFormat &partFormat(PartKind kind);

// Font names and language tags with the script, as PartOptions describes; `value` itself when it
// is not one that changes.
std::string mapFontName(std::string_view value, ScriptDirection direction);
std::string mapLanguageTag(std::string_view value, const PartOptions &options);

} // namespace core::document
