#pragma once
// What a file is, from its content (never from its name alone), and which parts of a package hold
// the text a reader sees. Pure: the container hands in its entry names and the few small parts
// that name the others ([Content_Types].xml, mimetype, META-INF/container.xml, the EPUB package).
//
//   PK\3\4 + [Content_Types].xml   Office Open XML: Word, Excel or PowerPoint by the main part's type
//   PK\3\4 + mimetype              OpenDocument (text, spreadsheet, presentation) or EPUB
//   D0 CF 11 E0 A1 B1 1A E1        OLE compound file: legacy .doc/.xls/.ppt or an encrypted Office
//                                  file, refused with what to do instead
//   <!DOCTYPE html, <html, <?xml…  web page (HTML or XHTML), in UTF-8, after a UTF-16 byte order mark,
//                                  or in an ASCII-based code page (its encoding: page_encoding.h)
//   WEBVTT, [Script Info], 1⏎00:…  subtitles (WebVTT, ASS/SSA, SubRip)
//   anything else                  plain text (its encoding is the text path's business)

#include "core/document/segments.h"
#include "core/document/xml_part.h"

#include "core/messages.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core::document {

enum class Format {
    PlainText,
    Html,
    Xhtml,
    SubRip,
    WebVtt,
    Ass,
    Zip,  // a ZIP package whose kind needs its entries (see packageFormat)
    Ole,  // an OLE compound file (legacy or encrypted Office), never converted
    Word, // .docx .docm .dotx .dotm
    Excel,
    PowerPoint,
    OdfText,
    OdfSpreadsheet,
    OdfPresentation,
    Epub,
};

// True for the formats that are ZIP packages of XML parts.
bool isPackage(Format format);

// What the first bytes of a file say it is: Zip for any ZIP (its kind comes from packageFormat),
// Ole, a markup or subtitle format, else PlainText. `head` may be the whole file or its first
// few kilobytes (4 KB suffice); an empty file is plain text.
Format sniffFormat(std::string_view head);

// Why an OLE compound file is refused, from the whole file (its directory names the streams):
// an encrypted Office document, or a legacy Word, Excel or PowerPoint file, with what to do.
core::Message oleRefusal(std::string_view file);

struct TextPart {
    std::string name; // the entry's name in the package
    PartKind kind;
    std::vector<ElementPath> bound = {}; // its elements that content controls show (data_binding.h)
};

// The small parts that decide a package's kind and its text parts, read by the container; an
// absent part is nullopt. `read` is asked only for names the package holds.
using ReadSmallPart = std::function<std::optional<std::string>(const std::string &name)>;

// The kind of a ZIP package from its entries: Word/Excel/PowerPoint by [Content_Types].xml's main
// part, OdfText/OdfSpreadsheet/OdfPresentation/Epub by `mimetype`; nullopt when it is none of them
// (any other ZIP file).
std::optional<Format> packageFormat(const std::vector<std::string> &names, const ReadSmallPart &read);

// The parts of a package of `format` that hold text, in the package's entry order. Office parts
// come from their content types, EPUB ones from the package document's manifest (hrefs relative to
// it, percent-decoded); parts the manifest names but the package lacks are left out. With `fonts`,
// also the parts that only name fonts and languages (Word's styles, font table and numbering, themes,
// an EPUB's style sheets).
std::vector<TextPart> textParts(Format format, const std::vector<std::string> &names,
                                const ReadSmallPart &read, bool fonts = false);

// The names a workbook gives its columns by their header cells' words: each table's column names
// (tableColumn) and each pivot cache's field names (cacheField), with Excel's _xHHHH_ escapes
// decoded, in no particular order; empty for other packages. A table whose header cells differ
// from its column names is damaged to Excel, which drops it; a pivot table loses the fields whose
// source column it no longer finds when it is refreshed. Formulas use these names too
// (表1[销售额]), so they are never converted, and the header cells stay with them (PartOptions).
std::vector<std::string> columnNames(Format format, const std::vector<std::string> &names,
                                     const ReadSmallPart &read);

// The items of a workbook's pivot caches (x:s) that `converter` would make equal to another item
// of the same cache, or to one that differs only in case: Excel drops a pivot table whose field
// holds an item twice, so these stay as they are, in the cells they come from too (PartOptions'
// kept strings). In no particular order; empty for other packages.
std::vector<std::string> pivotItemsThatWouldMerge(Format format, const std::vector<std::string> &names,
                                                  const ReadSmallPart &read,
                                                  const SegmentedConverter &converter);

// The names a workbook's formulas may spell out in a string literal (INDIRECT("销售!B1"),
// INDIRECT("'"&"销售"&"'!B2")): its sheets' names and its defined names, in no particular order;
// empty for other packages. Sheet and defined names are never converted, so such a literal
// stays as it is (PartOptions::formulaNames).
std::vector<std::string> formulaNames(Format format, const std::vector<std::string> &names,
                                      const ReadSmallPart &read);

// Appends the names an OpenDocument spreadsheet's formulas may spell out in a string literal,
// from its content.xml: its tables' names, its named ranges and expressions, and the source
// columns its pivot tables' fields name (which GETPIVOTDATA spells too).
void addSpreadsheetNames(std::string_view content, std::vector<std::string> &names);

// The parts [Content_Types].xml (`contentTypes`) gives the type `type` (without "+xml"), as the
// package writes their names, in its order.
std::vector<std::string> partsOfType(std::string_view contentTypes, const std::vector<std::string> &names,
                                     std::string_view type);

// --- small XML reading for the package's own index files ------------------------------------------

// Each start (or empty) element of `xml` whose local name is `localName`, as its attributes
// (local names, values with the five named and numeric entities decoded), in document order.
// Comments, CDATA, processing instructions and DOCTYPE are skipped; malformed markup ends the scan.
using Attributes = std::vector<std::pair<std::string, std::string>>;
std::vector<Attributes> elementsNamed(std::string_view xml, std::string_view localName);

// The value of attribute `name` (local name) or nullopt.
std::optional<std::string> attribute(const Attributes &attributes, std::string_view name);

// A package path joined to a relative reference from a part in folder `base` ("OEBPS/"), with
// "." and ".." resolved and %XX decoded; nullopt when it leaves the package or is absolute.
std::optional<std::string> resolvePackagePath(std::string_view base, std::string_view href);

} // namespace core::document
