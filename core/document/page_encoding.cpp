// The prescan browsers run over a page's first bytes to find its encoding, step for step: it
// never parses the page, only skips comments and tags and reads the attributes of <meta>.

#include "core/document/page_encoding.h"

#include <optional>
#include <vector>

namespace core::document {

namespace {

constexpr std::size_t kMaxLabel = 64;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
    if (s.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(s[at + i]) != prefix[i])
            return false;
    return true;
}

PageDeclaration declaration(std::string_view label) {
    const PageCharset charset = charsetOfLabel(label);
    if (charset == PageCharset::None)
        return {};
    return {charset, std::string(label.substr(0, kMaxLabel))};
}

// One attribute of a tag, from `at`, which it moves past; nullopt at the tag's end or the bytes'.
struct Attribute {
    std::string name, value;
};

std::optional<Attribute> nextAttribute(std::string_view s, std::size_t &at) {
    while (at < s.size() && (isSpace(s[at]) || s[at] == '/'))
        ++at;
    if (at >= s.size() || s[at] == '>')
        return std::nullopt;
    Attribute a;
    // The name: up to '=', white space, '/' or '>' (a first '=' belongs to it).
    for (;; ++at) {
        if (at >= s.size())
            return std::nullopt;
        const char c = s[at];
        if (c == '=' && !a.name.empty()) {
            ++at;
            break;
        }
        if (isSpace(c)) {
            while (at < s.size() && isSpace(s[at]))
                ++at;
            if (at >= s.size())
                return std::nullopt;
            if (s[at] != '=')
                return a;
            ++at;
            break;
        }
        if (c == '/' || c == '>')
            return a;
        if (a.name.size() < kMaxLabel)
            a.name += lower(c);
    }
    while (at < s.size() && isSpace(s[at]))
        ++at;
    if (at >= s.size())
        return std::nullopt;
    if (s[at] == '"' || s[at] == '\'') {
        const char quote = s[at++];
        const std::size_t end = s.find(quote, at);
        if (end == std::string_view::npos)
            return std::nullopt;
        for (std::size_t i = at; i < end && a.value.size() < 4 * kMaxLabel; ++i)
            a.value += lower(s[i]);
        at = end + 1;
        return a;
    }
    if (s[at] == '>')
        return a;
    for (; at < s.size() && !isSpace(s[at]) && s[at] != '>'; ++at)
        if (a.value.size() < 4 * kMaxLabel)
            a.value += lower(s[at]);
    if (at >= s.size())
        return std::nullopt;
    return a;
}

// The charset named in a Content-Type value ("text/html; charset=gb2312"); nullopt for none.
std::optional<std::string> charsetInContent(std::string_view s) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t found = s.find("charset", at);
        if (found == std::string_view::npos)
            return std::nullopt;
        at = found + 7;
        while (at < s.size() && isSpace(s[at]))
            ++at;
        if (at >= s.size() || s[at] != '=')
            continue;
        ++at;
        while (at < s.size() && isSpace(s[at]))
            ++at;
        if (at >= s.size())
            return std::nullopt;
        if (s[at] == '"' || s[at] == '\'') {
            const std::size_t end = s.find(s[at], at + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            return std::string(s.substr(at + 1, end - at - 1));
        }
        std::size_t end = at;
        while (end < s.size() && !isSpace(s[end]) && s[end] != ';')
            ++end;
        return std::string(s.substr(at, end - at));
    }
}

// A <meta> tag's attributes from `at`: the charset it declares, or None.
PageDeclaration metaDeclaration(std::string_view s, std::size_t &at) {
    std::vector<std::string> seen;
    bool gotPragma = false;
    std::optional<bool> needPragma;
    PageDeclaration found;
    while (const auto a = nextAttribute(s, at)) {
        bool repeated = false;
        for (const std::string &name : seen)
            repeated = repeated || name == a->name;
        if (repeated)
            continue;
        seen.push_back(a->name);
        if (a->name == "http-equiv") {
            gotPragma = gotPragma || a->value == "content-type";
        } else if (a->name == "content" && found.charset == PageCharset::None) {
            if (const auto label = charsetInContent(a->value)) {
                found = declaration(*label);
                if (found.charset != PageCharset::None)
                    needPragma = true;
            }
        } else if (a->name == "charset" && found.charset == PageCharset::None) {
            found = declaration(a->value);
            needPragma = false;
        }
    }
    if (!needPragma || (*needPragma && !gotPragma))
        return {};
    return found;
}

// The encoding an XML declaration at the start of `s` names; None without one.
PageDeclaration xmlDeclaration(std::string_view s) {
    if (s.substr(0, 5) != "<?xml")
        return {};
    const std::size_t end = s.find('>');
    if (end == std::string_view::npos)
        return {};
    const std::string_view decl = s.substr(0, end);
    const std::size_t name = decl.find("encoding");
    if (name == std::string_view::npos)
        return {};
    std::size_t at = name + 8;
    while (at < decl.size() && isSpace(decl[at]))
        ++at;
    if (at >= decl.size() || decl[at] != '=')
        return {};
    ++at;
    while (at < decl.size() && isSpace(decl[at]))
        ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const std::size_t close = decl.find(decl[at], at + 1);
    if (close == std::string_view::npos)
        return {};
    return declaration(decl.substr(at + 1, close - at - 1));
}

} // namespace

PageCharset charsetOfLabel(std::string_view label) {
    while (!label.empty() && isSpace(label.front()))
        label.remove_prefix(1);
    while (!label.empty() && isSpace(label.back()))
        label.remove_suffix(1);
    if (label.empty())
        return PageCharset::None;
    std::string key;
    for (const char c : label.substr(0, kMaxLabel + 1))
        key += lower(c);
    struct Name {
        std::string_view label;
        PageCharset charset;
    };
    static constexpr Name kNames[] = {
        {"gbk", PageCharset::Gbk},
        {"gb2312", PageCharset::Gb2312},
        {"x-gbk", PageCharset::Gbk},
        {"chinese", PageCharset::Gb2312},
        {"csgb2312", PageCharset::Gb2312},
        {"csiso58gb231280", PageCharset::Gb2312},
        {"iso-ir-58", PageCharset::Gb2312},
        {"gb_2312", PageCharset::Gb2312},
        {"gb_2312-80", PageCharset::Gb2312},
        {"gb18030", PageCharset::Gb18030},
        {"big5", PageCharset::Big5},
        {"big5-hkscs", PageCharset::Big5},
        {"cn-big5", PageCharset::Big5},
        {"csbig5", PageCharset::Big5},
        {"x-x-big5", PageCharset::Big5},
        {"utf-8", PageCharset::Utf8},
        {"utf8", PageCharset::Utf8},
        {"unicode-1-1-utf-8", PageCharset::Utf8},
        {"unicode11utf8", PageCharset::Utf8},
        {"unicode20utf8", PageCharset::Utf8},
        {"x-unicode20utf8", PageCharset::Utf8},
        // UTF-16 named in ASCII bytes: browsers take the page for UTF-8.
        {"utf-16", PageCharset::Utf8},
        {"utf-16le", PageCharset::Utf8},
        {"utf-16be", PageCharset::Utf8},
        {"unicode", PageCharset::Utf8},
        {"ucs-2", PageCharset::Utf8},
        {"csunicode", PageCharset::Utf8},
        {"iso-10646-ucs-2", PageCharset::Utf8},
        {"unicodefeff", PageCharset::Utf8},
        {"unicodefffe", PageCharset::Utf8},
    };
    for (const Name &n : kNames)
        if (n.label == key)
            return n.charset;
    return PageCharset::Other;
}

PageDeclaration declaredEncoding(std::string_view page, bool xml) {
    const std::string_view s = page.substr(0, kPrescanBytes);
    const PageDeclaration fromXml = xmlDeclaration(s);
    if (xml && fromXml.charset != PageCharset::None)
        return fromXml;
    std::size_t at = 0;
    while (at < s.size()) {
        if (s.compare(at, 4, "<!--") == 0) {
            // "<!-->" ends where "-->" would: its dashes count for both.
            const std::size_t end = s.find("-->", at + 2);
            if (end == std::string_view::npos)
                break;
            at = end + 2;
        } else if (startsWithNoCase(s, at, "<meta") && at + 5 < s.size() &&
                   (isSpace(s[at + 5]) || s[at + 5] == '/')) {
            at += 6;
            PageDeclaration found = metaDeclaration(s, at);
            if (found.charset != PageCharset::None)
                return found;
        } else if (s[at] == '<' && at + 1 < s.size() &&
                   (isLetter(s[at + 1]) || (s[at + 1] == '/' && at + 2 < s.size() && isLetter(s[at + 2])))) {
            // Another tag: its name, then its attributes, whose values may hold a '>' or "<meta".
            while (at < s.size() && !isSpace(s[at]) && s[at] != '>')
                ++at;
            while (nextAttribute(s, at)) {
            }
        } else if (s.compare(at, 2, "<!") == 0 || s.compare(at, 2, "</") == 0 ||
                   s.compare(at, 2, "<?") == 0) {
            const std::size_t end = s.find('>', at + 2);
            if (end == std::string_view::npos)
                break;
            at = end;
        }
        ++at;
    }
    return fromXml;
}

} // namespace core::document
