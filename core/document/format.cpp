#include "core/document/format.h"

#include "core/utf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace core::document {

namespace {

constexpr std::string_view kOleMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(s[i]) != lowerAscii(prefix[i]))
            return false;
    return true;
}

bool containsNoCase(std::string_view s, std::string_view needle) {
    if (needle.empty())
        return true;
    for (std::size_t i = 0; i + needle.size() <= s.size(); ++i)
        if (startsWithNoCase(s.substr(i), needle))
            return true;
    return false;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view skipSpace(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view withoutBom(std::string_view s) {
    return startsWith(s, "\xEF\xBB\xBF") ? s.substr(3) : s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The next line of `s` without its line end; `s` moves past it.
std::string_view nextLine(std::string_view &s) {
    const std::size_t end = s.find('\n');
    std::string_view line = s.substr(0, end);
    s = end == std::string_view::npos ? std::string_view() : s.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// "00:00:01,600 --> 00:00:04,200" (hours may have more digits; a dot is accepted for the comma).
bool isSubRipTiming(std::string_view line) {
    auto time = [](std::string_view &s) {
        std::size_t i = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        if (i == 0 || s.size() < i + 10)
            return false;
        const std::string_view t = s.substr(i, 10);
        const bool ok = t[0] == ':' && isDigit(t[1]) && isDigit(t[2]) && t[3] == ':' && isDigit(t[4]) &&
                        isDigit(t[5]) && (t[6] == ',' || t[6] == '.') && isDigit(t[7]) && isDigit(t[8]) &&
                        isDigit(t[9]);
        s.remove_prefix(i + 10);
        return ok;
    };
    std::string_view s = skipSpace(line);
    if (!time(s))
        return false;
    s = skipSpace(s);
    if (!startsWith(s, "-->"))
        return false;
    s = skipSpace(s.substr(3));
    return time(s);
}

bool isSubRip(std::string_view text) {
    std::string_view rest = text;
    std::string_view line;
    do {
        line = nextLine(rest);
    } while (line.empty() && !rest.empty());
    if (line.empty() || !std::all_of(line.begin(), line.end(), [](char c) { return isDigit(c) || c == ' '; }))
        return false;
    return isSubRipTiming(nextLine(rest));
}

bool isMarkup(std::string_view text, bool &xhtml) {
    std::string_view s = skipSpace(text);
    // Comments and an XML declaration may come before the root.
    xhtml = false;
    for (int guard = 0; guard < 16; ++guard) {
        if (startsWith(s, "<?xml")) {
            xhtml = true;
        } else if (!startsWith(s, "<!--")) {
            break;
        }
        const std::size_t end = startsWith(s, "<!--") ? s.find("-->") : s.find("?>");
        if (end == std::string_view::npos)
            return false;
        s = skipSpace(s.substr(end + 2 + (s[1] == '!' ? 1 : 0)));
    }
    if (startsWithNoCase(s, "<!doctype html") || startsWithNoCase(s, "<html") ||
        startsWithNoCase(s, "<head") || (xhtml && containsNoCase(s.substr(0, 4096), "<html"))) {
        // Read as XML only when it says it is XML; HTML rules read XHTML's syntax as well.
        return true;
    }
    // A page without <html> or <head>, which browsers show all the same: one that starts with an
    // element of a page's head or body. Read as text, its tags, links and scripts were converted
    // with its words.
    if (!xhtml && startsWith(s, "<")) {
        static constexpr std::string_view kElements[] = {
            "meta", "title", "base",  "link",       "style",    "script", "body",     "p",     "div",
            "span", "a",     "table", "h1",         "h2",       "h3",     "h4",       "h5",    "h6",
            "ul",   "ol",    "dl",    "section",    "article",  "header", "footer",   "nav",   "main",
            "form", "img",   "br",    "pre",        "center",   "font",   "b",        "i",     "strong",
            "em",   "u",     "hr",    "blockquote", "noscript", "iframe", "frameset", "aside", "figure"};
        std::size_t e = 1;
        while (e < s.size() && e < 16 &&
               ((s[e] >= 'a' && s[e] <= 'z') || (s[e] >= 'A' && s[e] <= 'Z') || (s[e] >= '0' && s[e] <= '9')))
            ++e;
        if (e < s.size() && (s[e] == '>' || s[e] == '/' || isSpace(s[e]))) {
            std::string name(s.substr(1, e - 1));
            for (char &c : name)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            return std::find(std::begin(kElements), std::end(kElements), name) != std::end(kElements);
        }
    }
    return false;
}

// The head of a text after a UTF-16 byte order mark, each character that is ASCII as itself and
// any other as one byte that is none (0x80): enough to see markup by its ASCII names.
std::string asciiOfUtf16(std::string_view head) {
    const bool little = head[0] == '\xFF';
    std::string out;
    for (std::size_t i = 2; i + 1 < head.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(head[little ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(head[little ? i + 1 : i]);
        out += hi == 0 && lo < 0x80 ? static_cast<char>(lo) : '\x80';
    }
    return out;
}

// An OLE file's directory entries name their streams in UTF-16LE.
bool holdsStreamName(std::string_view file, std::string_view ascii) {
    std::string wide;
    for (char c : ascii) {
        wide += c;
        wide += '\0';
    }
    return file.find(wide) != std::string_view::npos;
}

// --- XML attributes ------------------------------------------------------------------------------

std::string_view localNameOf(std::string_view qname) {
    const std::size_t colon = qname.rfind(':');
    return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

// An attribute value with its entities decoded; one that is not understood stays as written.
std::string decodeEntities(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    while (!v.empty()) {
        const std::size_t amp = v.find('&');
        out.append(v.substr(0, amp));
        if (amp == std::string_view::npos)
            break;
        v.remove_prefix(amp);
        const std::size_t semi = v.find(';');
        const std::string_view name =
            semi == std::string_view::npos ? std::string_view() : v.substr(1, semi - 1);
        static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed{
            {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
        bool done = false;
        for (const auto &[n, c] : kNamed)
            if (name == n) {
                out += c;
                done = true;
            }
        if (!done && name.size() >= 2 && name.size() <= 10 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            char32_t c = 0;
            bool ok = name.size() > (hex ? 2u : 1u);
            for (std::size_t i = hex ? 2 : 1; ok && i < name.size(); ++i) {
                const char d = lowerAscii(name[i]);
                const int digit = isDigit(d) ? d - '0' : (hex && d >= 'a' && d <= 'f') ? d - 'a' + 10 : -1;
                ok = digit >= 0 && c < 0x110000;
                c = c * (hex ? 16 : 10) + static_cast<char32_t>(digit < 0 ? 0 : digit);
            }
            if (ok && c > 0 && c < 0x110000 && (c < 0xD800 || c > 0xDFFF)) {
                appendUtf8(c, out);
                done = true;
            }
        }
        if (!done) {
            out += '&';
            v.remove_prefix(1);
        } else {
            v.remove_prefix(semi + 1);
        }
    }
    return out;
}

int hexValue(char c) {
    c = lowerAscii(c);
    return isDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// Excel's escapes of characters in its strings: _x000A_ for a line feed, _x005F_ for an underscore
// (each four hex digits between underscores); anything else stays as written.
std::string decodeExcelEscapes(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_' &&
            hexValue(s[i + 2]) >= 0 && hexValue(s[i + 3]) >= 0 && hexValue(s[i + 4]) >= 0 &&
            hexValue(s[i + 5]) >= 0) {
            char32_t c = 0;
            for (std::size_t k = i + 2; k < i + 6; ++k)
                c = c * 16 + static_cast<char32_t>(hexValue(s[k]));
            if (c < 0xD800 || c > 0xDFFF) {
                appendUtf8(c, out);
                i += 7;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

// --- content types -------------------------------------------------------------------------------

struct ContentTypeRule {
    std::string_view type; // without "+xml"
    Format format;         // the package kind it belongs to
    PartKind kind;
    bool main; // the main part that decides the package's kind
};

// Which content types hold text, and in which vocabulary. The main parts' types name the package.
constexpr ContentTypeRule kContentTypes[] = {
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main", Format::Word,
     PartKind::WordprocessingText, true},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.template.main", Format::Word,
     PartKind::WordprocessingText, true},
    {"application/vnd.ms-word.document.macroEnabled.main", Format::Word, PartKind::WordprocessingText, true},
    {"application/vnd.ms-word.template.macroEnabledTemplate.main", Format::Word, PartKind::WordprocessingText,
     true},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.document.glossary", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.header", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.footer", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.footnotes", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.endnotes", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.comments", Format::Word,
     PartKind::WordprocessingText, false},
    // the words of list numbers (第%1条), shown before every numbered paragraph
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.numbering", Format::Word,
     PartKind::WordprocessingText, false},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main", Format::Excel,
     PartKind::SpreadsheetStrings, true},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main", Format::Excel,
     PartKind::SpreadsheetStrings, true},
    {"application/vnd.ms-excel.sheet.macroEnabled.main", Format::Excel, PartKind::SpreadsheetStrings, true},
    {"application/vnd.ms-excel.template.macroEnabled.main", Format::Excel, PartKind::SpreadsheetStrings,
     true},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.comments", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.ms-excel.threadedcomments", Format::Excel, PartKind::SpreadsheetStrings, false},
    // a table: its filter's values, its total row's label and its columns' formulas (never its
    // columns' names)
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.table", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    // a pivot table: its captions and its data fields' names (never its fields' names), and its
    // cache: the items of each field and the records that use them, as the converted cells they
    // come from would give them on a refresh
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.pivotTable", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheDefinition", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheRecords", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.drawing", Format::Excel, PartKind::DrawingText, false},
    // the words of its number formats
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.styles", Format::Excel,
     PartKind::SpreadsheetStrings, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.presentation.main", Format::PowerPoint,
     PartKind::DrawingText, true},
    {"application/vnd.openxmlformats-officedocument.presentationml.slideshow.main", Format::PowerPoint,
     PartKind::DrawingText, true},
    {"application/vnd.openxmlformats-officedocument.presentationml.template.main", Format::PowerPoint,
     PartKind::DrawingText, true},
    {"application/vnd.ms-powerpoint.presentation.macroEnabled.main", Format::PowerPoint,
     PartKind::DrawingText, true},
    {"application/vnd.openxmlformats-officedocument.presentationml.slide", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.notesSlide", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.slideLayout", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.slideMaster", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.notesMaster", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.handoutMaster", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.openxmlformats-officedocument.presentationml.comments", Format::PowerPoint,
     PartKind::DrawingText, false},
    {"application/vnd.ms-powerpoint.comments", Format::PowerPoint, PartKind::DrawingText, false},
};

// Parts any Office package may hold: charts, SmartArt, the document's properties.
constexpr std::pair<std::string_view, PartKind> kSharedContentTypes[] = {
    {"application/vnd.openxmlformats-officedocument.drawingml.chart", PartKind::DrawingText},
    {"application/vnd.ms-office.chartex",
     PartKind::DrawingText}, // waterfall, treemap, funnel...: rich text only
    {"application/vnd.openxmlformats-officedocument.drawingml.chartshapes",
     PartKind::DrawingText}, // a chart's text boxes
    {"application/vnd.openxmlformats-officedocument.drawingml.diagramData", PartKind::DrawingText},
    {"application/vnd.ms-office.drawingml.diagramDrawing", PartKind::DrawingText},
    {"application/vnd.openxmlformats-package.core-properties", PartKind::CoreProperties},
    {"application/vnd.openxmlformats-officedocument.custom-properties", PartKind::CoreProperties},
    {"application/vnd.openxmlformats-officedocument.extended-properties", PartKind::ExtendedProperties},
};

// Parts that name fonts and languages but hold no text, converted only when fonts are asked for.
constexpr std::pair<std::string_view, PartKind> kFontContentTypes[] = {
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.styles", PartKind::WordprocessingText},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable",
     PartKind::WordprocessingText},
    {"application/vnd.openxmlformats-officedocument.theme", PartKind::DrawingText},
};

std::string_view withoutXmlSuffix(std::string_view type) {
    const std::size_t semi = type.find(';');
    type = type.substr(0, semi);
    while (!type.empty() && isSpace(type.back()))
        type.remove_suffix(1);
    if (type.size() > 4 && type.substr(type.size() - 4) == "+xml")
        type.remove_suffix(4);
    return type;
}

const ContentTypeRule *ruleFor(std::string_view type) {
    type = withoutXmlSuffix(type);
    for (const auto &rule : kContentTypes)
        if (rule.type == type)
            return &rule;
    return nullptr;
}

// Part name → content type, from the Override elements ("/word/document.xml" → "word/document.xml").
std::vector<std::pair<std::string, std::string>> overrides(std::string_view contentTypes) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto &element : elementsNamed(contentTypes, "Override")) {
        auto name = attribute(element, "PartName");
        auto type = attribute(element, "ContentType");
        if (!name || !type)
            continue;
        auto path = resolvePackagePath(
            "", std::string_view(*name).substr(name->empty() || (*name)[0] != '/' ? 0 : 1));
        if (path)
            out.emplace_back(std::move(*path), std::move(*type));
    }
    return out;
}

// A package's entry names, looked up without a scan each (a crafted package names a hundred
// thousand parts): zip entry names as written; OPC part names ignore ASCII case.
class NameLookup {
public:
    explicit NameLookup(const std::vector<std::string> &names) {
        for (const auto &n : names) {
            m_exact.insert(n);
            m_folded.emplace(folded(n), &n); // the first of names alike but for case
        }
    }
    bool holds(std::string_view name) const { return m_exact.count(name) != 0; }
    const std::string *noCase(std::string_view name) const {
        const auto found = m_folded.find(folded(name));
        return found == m_folded.end() ? nullptr : found->second;
    }

private:
    static std::string folded(std::string_view s) {
        std::string out(s);
        for (char &c : out)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        return out;
    }
    std::unordered_set<std::string_view> m_exact;
    std::unordered_map<std::string, const std::string *> m_folded;
};

bool holds(const std::vector<std::string> &names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

const std::string *findNoCase(const std::vector<std::string> &names, std::string_view name) {
    for (const auto &n : names)
        if (n.size() == name.size() && startsWithNoCase(n, name))
            return &n;
    return nullptr;
}

std::string trimmed(std::string_view s) {
    s = skipSpace(s);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::vector<TextPart> inEntryOrder(std::vector<TextPart> parts, const std::vector<std::string> &names) {
    std::unordered_map<std::string_view, std::size_t> byName; // the first part of each name
    for (std::size_t i = 0; i < parts.size(); ++i)
        byName.emplace(parts[i].name, i);
    std::vector<TextPart> out;
    for (const auto &name : names)
        if (const auto found = byName.find(name); found != byName.end()) {
            out.push_back(std::move(parts[found->second]));
            byName.erase(found);
        }
    return out;
}

std::vector<TextPart> officeParts(Format format, const std::vector<std::string> &names,
                                  const ReadSmallPart &read, bool fonts) {
    std::vector<TextPart> parts;
    const auto types = read("[Content_Types].xml");
    if (!types)
        return parts;
    const NameLookup lookup(names);
    for (const auto &[name, type] : overrides(*types)) {
        const std::string *entry = lookup.noCase(name);
        if (!entry)
            continue;
        if (const auto *rule = ruleFor(type); rule && rule->format == format) {
            parts.push_back({*entry, rule->kind});
            continue;
        }
        const std::string_view bare = withoutXmlSuffix(type);
        for (const auto &[shared, kind] : kSharedContentTypes)
            if (bare == shared)
                parts.push_back({*entry, kind});
        if (fonts)
            for (const auto &[fontType, kind] : kFontContentTypes)
                if (bare == fontType)
                    parts.push_back({*entry, kind});
    }
    // The Office documents embedded in it: a chart's workbook above all, whose cells its cache
    // repeats (Word and PowerPoint show the cache, and fill it again from the workbook when its
    // data is edited).
    for (const auto &name : names) {
        const std::size_t dot = name.rfind('.');
        const std::string_view extension = dot == std::string::npos ? "" : std::string_view(name).substr(dot);
        static constexpr std::string_view kDocuments[] = {".xlsx", ".xlsm", ".docx", ".docm", ".pptx"};
        if (name.find("/embeddings/") != std::string::npos &&
            std::any_of(std::begin(kDocuments), std::end(kDocuments), [&](std::string_view d) {
                return extension.size() == d.size() && startsWithNoCase(extension, d);
            }))
            parts.push_back({name, PartKind::EmbeddedDocument});
    }
    return inEntryOrder(std::move(parts), names);
}

std::vector<TextPart> odfParts(const std::vector<std::string> &names) {
    std::vector<TextPart> parts;
    for (const auto &name : names)
        // and those of the objects embedded in it (Object 1/content.xml): a chart's titles and the
        // labels it caches from its data, as the converted cells it shows
        if (const std::string_view base = std::string_view(name).substr(name.rfind('/') + 1);
            base == "content.xml" || base == "styles.xml" || base == "meta.xml")
            parts.push_back({name, base == "meta.xml" ? PartKind::OdfMeta : PartKind::OdfText});
    return parts;
}

std::vector<TextPart> epubParts(const std::vector<std::string> &names, const ReadSmallPart &read,
                                bool fonts) {
    std::vector<TextPart> parts;
    const NameLookup lookup(names);
    const auto container =
        holds(names, "META-INF/container.xml") ? read("META-INF/container.xml") : std::nullopt;
    if (!container)
        return parts;
    for (const auto &rootfile : elementsNamed(*container, "rootfile")) {
        const auto path = attribute(rootfile, "full-path");
        const auto type = attribute(rootfile, "media-type");
        if (!path || (type && trimmed(*type) != "application/oebps-package+xml"))
            continue;
        const auto opfName = resolvePackagePath("", *path);
        if (!opfName || !holds(names, *opfName))
            continue;
        const auto opf = read(*opfName);
        if (!opf)
            continue;
        parts.push_back({*opfName, PartKind::EpubPackage});
        const std::string base = opfName->substr(0, opfName->rfind('/') + 1);
        for (const auto &item : elementsNamed(*opf, "item")) {
            const auto href = attribute(item, "href");
            const auto media = attribute(item, "media-type");
            if (!href || !media)
                continue;
            const std::string mediaType = trimmed(*media);
            PartKind kind;
            if (mediaType == "application/xhtml+xml")
                kind = PartKind::Xhtml;
            else if (mediaType == "application/x-dtbncx+xml")
                kind = PartKind::EpubNcx;
            else if (mediaType == "text/html")
                kind = PartKind::Html;
            else if (mediaType == "text/css" && fonts)
                kind = PartKind::StyleSheet;
            else
                continue;
            const auto name = resolvePackagePath(base, *href);
            if (name && lookup.holds(*name))
                parts.push_back({*name, kind});
        }
        break; // the first package document is the book
    }
    // One entry per part even when the manifest names it twice (inEntryOrder keeps the first).
    return inEntryOrder(std::move(parts), names);
}

} // namespace

bool isPackage(Format format) {
    switch (format) {
    case Format::Zip:
    case Format::Word:
    case Format::Excel:
    case Format::PowerPoint:
    case Format::OdfText:
    case Format::OdfSpreadsheet:
    case Format::OdfPresentation:
    case Format::Epub:
        return true;
    default:
        return false;
    }
}

Format sniffFormat(std::string_view head) {
    if (startsWith(head, "PK\x03\x04") || startsWith(head, std::string_view("PK\x05\x06", 4)))
        return Format::Zip;
    if (startsWith(head, kOleMagic))
        return Format::Ole;
    if (startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF")) {
        // A page saved as UTF-16 is a page all the same: read as text, its tags, addresses and
        // scripts would be converted with its words. Subtitles and other text are the text path's.
        bool xhtml = false;
        if (isMarkup(asciiOfUtf16(head), xhtml))
            return xhtml ? Format::Xhtml : Format::Html;
        return Format::PlainText;
    }
    const std::string_view text = withoutBom(head);
    const std::string_view start = skipSpace(text);
    if (startsWith(text, "WEBVTT") && (text.size() == 6 || isSpace(text[6])))
        return Format::WebVtt;
    if (startsWithNoCase(start, "[Script Info]"))
        return Format::Ass;
    bool xhtml = false;
    if (isMarkup(text, xhtml))
        return xhtml ? Format::Xhtml : Format::Html;
    if (isSubRip(text))
        return Format::SubRip;
    return Format::PlainText;
}

core::Message oleRefusal(std::string_view file) {
    if (holdsStreamName(file, "EncryptedPackage") || holdsStreamName(file, "EncryptionInfo"))
        return {core::MessageId::EncryptedOffice};
    if (holdsStreamName(file, "WordDocument"))
        return {core::MessageId::LegacyWord};
    if (holdsStreamName(file, "Workbook") || holdsStreamName(file, "Book"))
        return {core::MessageId::LegacyExcel};
    if (holdsStreamName(file, "PowerPoint Document"))
        return {core::MessageId::LegacyPowerPoint};
    return {core::MessageId::LegacyOffice};
}

std::optional<Format> packageFormat(const std::vector<std::string> &names, const ReadSmallPart &read) {
    if (holds(names, "[Content_Types].xml")) {
        const auto types = read("[Content_Types].xml");
        if (types)
            for (const auto &[name, type] : overrides(*types))
                if (const auto *rule = ruleFor(type); rule && rule->main && findNoCase(names, name))
                    return rule->format;
    }
    if (holds(names, "mimetype")) {
        const auto mimetype = read("mimetype");
        if (mimetype) {
            const std::string type = trimmed(*mimetype);
            constexpr std::string_view odf = "application/vnd.oasis.opendocument.";
            if (type == "application/epub+zip")
                return Format::Epub;
            if (startsWith(type, odf)) {
                const std::string_view kind = std::string_view(type).substr(odf.size());
                if (kind == "text" || kind == "text-template")
                    return Format::OdfText;
                if (kind == "spreadsheet" || kind == "spreadsheet-template")
                    return Format::OdfSpreadsheet;
                if (kind == "presentation" || kind == "presentation-template")
                    return Format::OdfPresentation;
            }
        }
    }
    return std::nullopt;
}

std::vector<TextPart> textParts(Format format, const std::vector<std::string> &names,
                                const ReadSmallPart &read, bool fonts) {
    switch (format) {
    case Format::Word:
    case Format::Excel:
    case Format::PowerPoint:
        return officeParts(format, names, read, fonts);
    case Format::OdfText:
    case Format::OdfSpreadsheet:
    case Format::OdfPresentation:
        return odfParts(names);
    case Format::Epub:
        return epubParts(names, read, fonts);
    default:
        return {};
    }
}

std::vector<std::string> columnNames(Format format, const std::vector<std::string> &names,
                                     const ReadSmallPart &read) {
    // Parts that name columns by their header's words, and the elements that do.
    static constexpr std::pair<std::string_view, std::string_view> kNaming[] = {
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.table", "tableColumn"},
        {"application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheDefinition", "cacheField"},
    };
    std::vector<std::string> columns;
    if (format != Format::Excel)
        return columns;
    const auto types = read("[Content_Types].xml");
    if (!types)
        return columns;
    const NameLookup lookup(names);
    for (const auto &[name, type] : overrides(*types)) {
        const std::string_view bare = withoutXmlSuffix(type);
        const auto naming = std::find_if(std::begin(kNaming), std::end(kNaming),
                                         [bare](const auto &n) { return n.first == bare; });
        if (naming == std::end(kNaming))
            continue;
        const std::string *entry = lookup.noCase(name);
        const auto part = entry ? read(*entry) : std::nullopt;
        if (!part)
            continue;
        for (const auto &column : elementsNamed(*part, naming->second))
            if (auto value = attribute(column, "name"))
                columns.push_back(decodeExcelEscapes(*value));
    }
    return columns;
}

std::vector<std::string> pivotItemsThatWouldMerge(Format format, const std::vector<std::string> &names,
                                                  const ReadSmallPart &read,
                                                  const SegmentedConverter &converter) {
    std::vector<std::string> kept;
    const auto types = format == Format::Excel ? read("[Content_Types].xml") : std::nullopt;
    if (!types)
        return kept;
    for (const auto &entry :
         partsOfType(*types, names,
                     "application/vnd.openxmlformats-officedocument.spreadsheetml.pivotCacheDefinition")) {
        const auto part = read(entry);
        if (!part)
            continue;
        // Each converted item, folded to lower case, and the items that give it.
        std::map<std::string, std::set<std::string>> byConverted;
        std::string converted;
        std::vector<Segment> segments;
        for (const auto &item : elementsNamed(*part, "s")) {
            const auto value = attribute(item, "v");
            if (!value || !isValidUtf8(*value))
                continue;
            converter.convert(*value, converted, segments);
            for (char &c : converted)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            byConverted[converted].insert(*value);
        }
        for (const auto &[_, originals] : byConverted)
            if (originals.size() > 1)
                kept.insert(kept.end(), originals.begin(), originals.end());
    }
    return kept;
}

std::vector<std::string> formulaNames(Format format, const std::vector<std::string> &names,
                                      const ReadSmallPart &read) {
    std::vector<std::string> found;
    const auto types = format == Format::Excel ? read("[Content_Types].xml") : std::nullopt;
    if (!types)
        return found;
    for (const auto &[name, type] : overrides(*types)) {
        const ContentTypeRule *rule = ruleFor(type);
        const std::string *entry =
            rule && rule->main && rule->format == format ? findNoCase(names, name) : nullptr;
        const auto workbook = entry ? read(*entry) : std::nullopt;
        if (!workbook)
            continue;
        for (const std::string_view element : {"sheet", "definedName"})
            for (const auto &named : elementsNamed(*workbook, element))
                if (auto value = attribute(named, "name"))
                    found.push_back(std::move(*value));
    }
    return found;
}

void addSpreadsheetNames(std::string_view content, std::vector<std::string> &names) {
    for (const std::string_view element : {"table", "named-range", "named-expression"})
        for (const auto &named : elementsNamed(content, element))
            if (auto value = attribute(named, "name"))
                names.push_back(std::move(*value));
    // A pivot table's (DataPilot's) fields name the columns of its source by their header cells:
    // converted alone, the header lost the pivot table its fields.
    for (const auto &field : elementsNamed(content, "data-pilot-field"))
        if (auto value = attribute(field, "source-field-name"); value && !value->empty())
            names.push_back(std::move(*value));
}

std::vector<std::string> partsOfType(std::string_view contentTypes, const std::vector<std::string> &names,
                                     std::string_view type) {
    std::vector<std::string> found;
    const NameLookup lookup(names);
    for (const auto &[name, partType] : overrides(contentTypes))
        if (withoutXmlSuffix(partType) == type)
            if (const std::string *entry = lookup.noCase(name))
                found.push_back(*entry);
    return found;
}

std::vector<Attributes> elementsNamed(std::string_view xml, std::string_view localName) {
    std::vector<Attributes> found;
    std::size_t i = 0;
    while ((i = xml.find('<', i)) != std::string_view::npos) {
        const std::string_view rest = xml.substr(i);
        std::string_view close;
        if (startsWith(rest, "<!--"))
            close = "-->";
        else if (startsWith(rest, "<![CDATA["))
            close = "]]>";
        else if (startsWith(rest, "<?"))
            close = "?>";
        else if (startsWith(rest, "<!"))
            close = ">"; // a DOCTYPE's internal subset is not read: its entities are never expanded
        if (!close.empty()) {
            const std::size_t end = rest.find(close);
            if (end == std::string_view::npos)
                break;
            i += end + close.size();
            continue;
        }
        if (startsWith(rest, "</")) {
            ++i;
            continue;
        }
        // A start tag: its name, then name="value" pairs until > or />.
        std::size_t p = 1;
        while (p < rest.size() && !isSpace(rest[p]) && rest[p] != '>' && rest[p] != '/')
            ++p;
        const bool wanted = localNameOf(rest.substr(1, p - 1)) == localName;
        Attributes attributes;
        bool closed = false;
        while (p < rest.size()) {
            while (p < rest.size() && isSpace(rest[p]))
                ++p;
            if (p >= rest.size())
                break;
            if (rest[p] == '>' || startsWith(rest.substr(p), "/>")) {
                closed = true;
                p += rest[p] == '>' ? 1 : 2;
                break;
            }
            const std::size_t nameStart = p;
            while (p < rest.size() && !isSpace(rest[p]) && rest[p] != '=' && rest[p] != '>' && rest[p] != '/')
                ++p;
            const std::string_view name = rest.substr(nameStart, p - nameStart);
            while (p < rest.size() && isSpace(rest[p]))
                ++p;
            if (p >= rest.size() || rest[p] != '=' || name.empty())
                break;
            ++p;
            while (p < rest.size() && isSpace(rest[p]))
                ++p;
            if (p >= rest.size() || (rest[p] != '"' && rest[p] != '\''))
                break;
            const char quote = rest[p++];
            const std::size_t end = rest.find(quote, p);
            if (end == std::string_view::npos)
                break;
            if (wanted)
                attributes.emplace_back(std::string(localNameOf(name)),
                                        decodeEntities(rest.substr(p, end - p)));
            p = end + 1;
        }
        if (!closed)
            break;
        if (wanted)
            found.push_back(std::move(attributes));
        i += p;
    }
    return found;
}

std::optional<std::string> attribute(const Attributes &attributes, std::string_view name) {
    for (const auto &[n, v] : attributes)
        if (n == name)
            return v;
    return std::nullopt;
}

std::optional<std::string> resolvePackagePath(std::string_view base, std::string_view href) {
    href = href.substr(0, href.find_first_of("#?"));
    if (href.empty() || href[0] == '/' || href.find("://") != std::string_view::npos)
        return std::nullopt;
    std::string decoded;
    for (std::size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size() && hexValue(href[i + 1]) >= 0 &&
            hexValue(href[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(href[i + 1]) * 16 + hexValue(href[i + 2]));
            i += 2;
        } else {
            decoded += href[i];
        }
    }
    std::vector<std::string> segments;
    auto push = [&segments](std::string_view path) {
        while (!path.empty()) {
            const std::size_t slash = path.find('/');
            const std::string_view segment = path.substr(0, slash);
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
            if (segment.empty() || segment == ".")
                continue;
            if (segment == "..") {
                if (segments.empty())
                    return false;
                segments.pop_back();
            } else {
                segments.emplace_back(segment);
            }
        }
        return true;
    };
    if (!push(base) || !push(decoded) || segments.empty())
        return std::nullopt;
    std::string out;
    for (const auto &segment : segments)
        out += (out.empty() ? "" : "/") + segment;
    return out;
}

} // namespace core::document
