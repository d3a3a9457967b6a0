#pragma once

// Converting the text of one XML part of a document, changing only the bytes of the text that
// changes. Each kind of part is a table (which elements are paragraphs, which hold text, which cut
// a paragraph, which are never converted, which attributes are text) that one walker applies.
//
// Which parts are which kind (the container decides by the part's name and content type):
//   WordprocessingText   word/document.xml, header*.xml, footer*.xml, footnotes.xml, endnotes.xml,
//                        comments.xml (and commentsExtended-style parts holding w:p), glossary
//                        document, numbering.xml (list numbers' words); with fonts also styles.xml
//                        and fontTable.xml
//   CoreProperties       docProps/core.xml (dc:title, dc:subject, cp:keywords, dc:description,
//                        cp:category, cp:contentStatus) and custom.xml (the properties' values)
//   ExtendedProperties   docProps/app.xml (the company and the manager)
//   SpreadsheetStrings   xl/sharedStrings.xml, xl/worksheets/sheet*.xml (inline strings, header and
//                        footer text), xl/comments*.xml, tables, pivot tables and caches, styles
//                        (number formats' words)
//   DrawingText          ppt/slides, notesSlides, slideLayouts, slideMasters, notes and handout
//                        masters, ppt/comments (p:text and modern comments), charts of both kinds
//                        (rich text and the labels cached from their data), diagrams (SmartArt
//                        data and drawing), xl/drawings, word/charts; with fonts also theme parts
//   OdfText              content.xml and styles.xml of .odt/.ods/.odp and of the objects embedded
//                        in them (charts)
//   OdfMeta              meta.xml (dc:title, dc:subject, dc:description, meta:keyword, and the
//                        document's own properties that hold text, meta:user-defined)
//   Xhtml                EPUB content documents and .xhtml files (XML rules)
//   Html                 .html files (HTML tokenizing rules)
//   EpubPackage          the OPF package document (dc:title, dc:creator, dc:description, dc:subject,
//                        dc:publisher, dc:contributor, dc:rights, meta)
//   EpubNcx              toc.ncx (navLabel text, docTitle, docAuthor)
//   StyleSheet           an EPUB's CSS, with fonts only: its font names
//
// What is never converted, in every kind: element and attribute names, attribute values other than
// the few that are text (title and alt in HTML, alternative text and link tips in Office), field instructions
// (w:instrText, w:fldSimple's w:instr), style ids and names, font names (unless fonts is asked for), bookmark
// names, sheet names and formulas but for their string literals, phonetic guides, relationship targets and
// hyperlink addresses, script and style content, comments, processing instructions and CDATA
// outside text.

#include "core/document/segments.h"
#include "core/messages.h"

#include <compare>
#include <string>
#include <string_view>
#include <vector>

namespace core::document {

enum class PartKind {
    WordprocessingText,
    CoreProperties,
    ExtendedProperties, // app.xml: the company and the manager, never the parts' titles (sheet names)
    SpreadsheetStrings,
    DrawingText,
    OdfText,
    OdfMeta,
    Xhtml,
    Html,
    EpubPackage,
    EpubNcx,
    BoundData, // a data store of Word's content controls: only the elements they show (PartOptions)
    // an Office document inside this one (the workbook a chart's data is edited in), converted
    // whole as a document of its own by the container; never an XML part
    EmbeddedDocument,
    // a CSS style sheet (an EPUB's): with fonts its font names mapped (css_fonts.h), without them
    // left as it is; never read as XML
    StyleSheet,
};

// One step of a path to an element: its namespace and local name, and which of its parent's
// children of that name it is (from 1).
struct ElementStep {
    std::string uri;
    std::string local;
    unsigned index = 1;
    auto operator<=>(const ElementStep &) const = default;
};
using ElementPath = std::vector<ElementStep>;

// Which way the script goes, for the names that follow it (fonts and language tags).
enum class ScriptDirection { ToTraditional, ToSimplified };

struct PartOptions {
    // Also map East Asian font names and language tags with the script, as the word processors'
    // own conversion does: 宋体/SimSun <-> 新細明體/PMingLiU, 黑体/SimHei <-> 微軟正黑體/Microsoft
    // JhengHei, 楷体/KaiTi <-> 標楷體/DFKai-SB; zh-CN <-> `traditionalLanguage`.
    bool fonts = false;
    ScriptDirection direction = ScriptDirection::ToTraditional;
    // The tag simplified Chinese becomes: "zh-TW" or "zh-HK" (as the way's variant). Going to
    // simplified, zh-TW, zh-HK and zh-MO all become zh-CN.
    std::string traditionalLanguage = "zh-TW";
    // Spreadsheet strings left as they are when a whole string (a shared or inline string) is one
    // of these: the names the workbook gives its columns (columnNames), which their header cells
    // must repeat, or Excel takes the workbook for damaged and drops the table. Column names are
    // never converted, since formulas name them ([@销售额], 表1[销售额]).
    std::vector<std::string> keptStrings;
    // Names a formula may spell out in a string literal (sheet and defined names, formulaNames):
    // such a literal stays as it is, as does one that is a kept string or holds a reference ("销售!B1").
    std::vector<std::string> formulaNames;
    // A change of letter case: the string literals of formulas are converted with the cells
    // (FIND("tot",A1) goes on finding TOTAL) but where a function reads them as codes, whose case
    // it keeps: CONVERT's units ("km", "C"), TEXT's format ("mm" minutes, "MM" months), the address
    // HYPERLINK opens, CELL's and INFO's kinds.
    bool letterCase = false;
    // Also list the changes made (PartOutcome::edits), for a caller that writes the part in
    // another encoding and keeps its own bytes around them.
    bool listEdits = false;
    // Elements whose text a content control shows (data_binding.h), each converted as a paragraph
    // of its own besides what the kind converts.
    std::vector<ElementPath> boundElements;
};

// One change to a part: bytes [begin, end) of the input replaced by `bytes` (UTF-8, escaped as
// its place needs). `references` is true where markup decodes character references there
// (text and attribute values), false inside a CDATA section.
struct PartEdit {
    std::size_t begin = 0, end = 0;
    std::string bytes;
    bool references = true;
};

struct PartOutcome {
    std::string bytes;           // the converted part; empty when there is an error
    bool changed = false;        // false: `bytes` equals the input, byte for byte
    core::Message error;         // not empty: the part cannot be read (what and where), nothing converted
    std::vector<PartEdit> edits; // with listEdits: the changes, in order, none overlapping
};

// The most markup one paragraph may hold (its runs and text together) before it is refused: no
// document has one near it, and converting one costs some fifty times its size in memory (a
// 16 MB paragraph in a 25 kB file took 780 MB; several files convert at once).
inline constexpr std::size_t kParagraphLimit = std::size_t(4) << 20;

// `xml` (one part, UTF-8) with the text that `kind` says is text converted by `converter`, each
// paragraph as one text (PartKind's tables), and everything else byte for byte. A part that needs
// no change comes back identical with changed false. Malformed markup, a DOCTYPE that declares
// entities, a part that is not UTF-8 or a paragraph past kParagraphLimit gives an error.
PartOutcome convertPart(std::string_view xml, PartKind kind, const SegmentedConverter &converter,
                        const PartOptions &options = {});

} // namespace core::document
