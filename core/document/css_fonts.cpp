#include "core/document/css_fonts.h"

#include "core/document/part_formats.h"
#include "core/utf.h"

#include <vector>

namespace core::document {

namespace {

struct Edit {
    std::size_t begin, end;
    std::string bytes;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
           u == '_' || u == '\\' || u >= 0x80;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        c = lower(c);
    return out;
}

// Past a comment that starts at `i` ("/*"), or past a string that starts at its quote; an
// unclosed one runs to the end (a string to its line's end, as CSS reads it).
std::size_t pastComment(std::string_view s, std::size_t i) {
    const std::size_t end = s.find("*/", i + 2);
    return end == std::string_view::npos ? s.size() : end + 2;
}

std::size_t pastString(std::string_view s, std::size_t i) {
    const char quote = s[i];
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i;
        else if (s[i] == quote)
            return i + 1;
        else if (s[i] == '\n')
            return i;
    }
    return s.size();
}

// A name with CSS's escapes (\5B8B, \"), and the white space between unquoted words, read as
// the characters they spell.
std::string plainName(std::string_view s) {
    std::string out;
    const bool quoted = !s.empty() && (s.front() == '"' || s.front() == '\'');
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            if (!isHex(s[i + 1])) {
                out += s[++i];
                continue;
            }
            char32_t cp = 0;
            std::size_t k = i + 1;
            for (; k < s.size() && k < i + 7 && isHex(s[k]); ++k)
                cp = cp * 16 + static_cast<char32_t>(s[k] <= '9' ? s[k] - '0' : lower(s[k]) - 'a' + 10);
            if (k < s.size() && isSpace(s[k]))
                k += s[k] == '\r' && k + 1 < s.size() && s[k + 1] == '\n' ? 2 : 1;
            appendUtf8(cp == 0 || cp > 0x10FFFF || isSurrogate(cp) ? U'\uFFFD' : cp, out);
            i = k - 1;
        } else if (!quoted && isSpace(s[i])) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

// One name of a family list, bytes [b, e) with the white space around it; an edit where it is a
// name that changes, its quotes kept.
void mapName(std::string_view css, std::size_t b, std::size_t e, ScriptDirection direction,
             std::vector<Edit> &edits) {
    while (b < e && isSpace(css[b]))
        ++b;
    while (e > b && isSpace(css[e - 1]))
        --e;
    if (b == e)
        return;
    const std::string name = plainName(css.substr(b, e - b));
    const std::string mapped = mapFontName(name, direction);
    if (mapped != name)
        edits.push_back({b, e, mapped});
}

// The names of the family list in bytes [b, e), split at the commas outside strings.
void mapList(std::string_view css, std::size_t b, std::size_t e, ScriptDirection direction,
             std::vector<Edit> &edits) {
    std::size_t item = b;
    for (std::size_t i = b; i < e;) {
        const char c = css[i];
        if (c == '"' || c == '\'') {
            i = std::min(pastString(css, i), e);
        } else if (c == '/' && i + 1 < e && css[i + 1] == '*') {
            i = std::min(pastComment(css, i), e);
        } else if (c == ',') {
            mapName(css, item, i, direction, edits);
            item = ++i;
        } else {
            ++i;
        }
    }
    mapName(css, item, e, direction, edits);
}

// The font shorthand's value, bytes [b, e): style, variant and weight, a size (with a line height
// after a slash), then the family list. Without a size it names a system font, and no family.
void mapShorthand(std::string_view css, std::size_t b, std::size_t e, ScriptDirection direction,
                  std::vector<Edit> &edits) {
    static constexpr std::string_view kSizes[] = {"xx-small", "x-small",  "small",     "medium", "large",
                                                  "x-large",  "xx-large", "xxx-large", "larger", "smaller"};
    bool sized = false, lineHeightNext = false;
    for (std::size_t i = b; i < e;) {
        if (isSpace(css[i])) {
            ++i;
            continue;
        }
        if (sized && !lineHeightNext && css[i] != '/') {
            mapList(css, i, e, direction, edits);
            return;
        }
        if (css[i] == '"' || css[i] == '\'' || css[i] == ',')
            return; // a family before any size: not a shorthand this reads
        // One token: up to white space, parentheses (calc(1em + 2px)) taken whole.
        const std::size_t start = i;
        int depth = 0;
        while (i < e && (depth > 0 || !isSpace(css[i]))) {
            depth += css[i] == '(' ? 1 : css[i] == ')' ? -1 : 0;
            ++i;
        }
        const std::string token = lowered(css.substr(start, i - start));
        if (lineHeightNext) {
            // "/ 1.5" or "/1.5": the line height, after which the families come
            lineHeightNext = token == "/";
            continue;
        }
        if (sized) { // the token begins with the slash of a line height
            lineHeightNext = token == "/";
            continue;
        }
        const bool digit = (token[0] >= '0' && token[0] <= '9') || token[0] == '.';
        const bool unit = token.find_first_of("abcdefghijklmnopqrstuvwxyz%") != std::string::npos;
        const bool function = token.find('(') != std::string::npos && token.rfind("var(", 0) != 0;
        bool keyword = false;
        for (std::string_view k : kSizes)
            keyword = keyword || token.substr(0, token.find('/')) == k;
        if ((digit && (unit || token == "0")) || keyword || function) {
            sized = true;
            const std::size_t slash = token.find('/');
            // "12px/1.5" holds its line height; "12px/" wants it next
            lineHeightNext = slash != std::string::npos && slash + 1 == token.size();
        }
    }
}

// Where a declaration's value ends: at ';', '}' or '{' outside strings, comments and parentheses.
std::size_t valueEnd(std::string_view css, std::size_t i) {
    int depth = 0;
    while (i < css.size()) {
        const char c = css[i];
        if (c == '"' || c == '\'') {
            i = pastString(css, i);
        } else if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            i = pastComment(css, i);
        } else {
            if (c == '(')
                ++depth;
            else if (c == ')' && depth > 0)
                --depth;
            else if (depth == 0 && (c == ';' || c == '}' || c == '{'))
                return i;
            ++i;
        }
    }
    return i;
}

// The value without a trailing "!important".
std::size_t withoutImportant(std::string_view css, std::size_t b, std::size_t e) {
    std::size_t bang = std::string_view::npos;
    for (std::size_t i = b; i < e;) {
        if (css[i] == '"' || css[i] == '\'') {
            i = std::min(pastString(css, i), e);
        } else {
            if (css[i] == '!')
                bang = i;
            ++i;
        }
    }
    if (bang == std::string_view::npos)
        return e;
    std::size_t k = bang + 1;
    while (k < e && isSpace(css[k]))
        ++k;
    std::size_t end = e;
    while (end > k && isSpace(css[end - 1]))
        --end;
    return lowered(css.substr(k, end - k)) == "important" ? bang : e;
}

std::string applied(std::string_view in, const std::vector<Edit> &edits) {
    if (edits.empty())
        return std::string(in);
    std::string out;
    out.reserve(in.size() + 16 * edits.size());
    std::size_t copied = 0;
    for (const Edit &edit : edits) {
        out.append(in.substr(copied, edit.begin - copied));
        out += edit.bytes;
        copied = edit.end;
    }
    out.append(in.substr(copied));
    return out;
}

} // namespace

std::string mapCssFonts(std::string_view css, ScriptDirection direction) {
    std::vector<Edit> edits;
    // What came before a name, comments and white space aside: '{' or ';' (or the start, as in a
    // style attribute) makes it a property's name.
    char before = '{';
    for (std::size_t i = 0; i < css.size();) {
        const char c = css[i];
        if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            i = pastComment(css, i);
        } else if (c == '"' || c == '\'') {
            i = pastString(css, i);
            before = '"';
        } else if (isSpace(c)) {
            ++i;
        } else if (isNameChar(c)) {
            std::size_t end = i;
            while (end < css.size() && isNameChar(css[end]))
                end += css[end] == '\\' && end + 1 < css.size() ? 2 : 1;
            const std::string name = lowered(css.substr(i, end - i));
            const bool property = before == '{' || before == ';';
            before = 'a';
            const bool family = name.size() >= 11 && name.compare(name.size() - 11, 11, "font-family") == 0;
            if (!property || (!family && name != "font")) {
                i = end;
                continue;
            }
            std::size_t colon = end;
            while (colon < css.size() && isSpace(css[colon]))
                ++colon;
            if (colon == css.size() || css[colon] != ':') {
                i = end;
                continue;
            }
            const std::size_t stop = valueEnd(css, colon + 1);
            // A selector (font:hover {) is no declaration; a value that uses variables is unknown.
            const std::string_view value = css.substr(colon + 1, stop - colon - 1);
            if (stop == css.size() || css[stop] != '{') {
                if (value.find("var(") == std::string_view::npos) {
                    const std::size_t e = withoutImportant(css, colon + 1, stop);
                    if (family)
                        mapList(css, colon + 1, e, direction, edits);
                    else
                        mapShorthand(css, colon + 1, e, direction, edits);
                }
            }
            i = stop;
        } else {
            before = c;
            ++i;
        }
    }
    return applied(css, edits);
}

std::string mapFontFamilies(std::string_view list, ScriptDirection direction) {
    std::vector<Edit> edits;
    mapList(list, 0, list.size(), direction, edits);
    return applied(list, edits);
}

} // namespace core::document
