// The span-keeping tokenizer of XML and HTML, and the decoding and encoding of text in markup.

#include "core/document/xml_tokens.h"

#include "core/utf.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace core::document {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}
bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
    if (s.size() - at < prefix.size() || at > s.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(s[at + i]) != lower(prefix[i]))
            return false;
    return true;
}
// Elements whose content HTML reads as text up to their end tag (plaintext: to the end).
bool isRawTextElement(std::string_view name) {
    static constexpr std::string_view names[] = {"script", "style",   "title",    "textarea", "xmp",
                                                 "iframe", "noembed", "noframes", "plaintext"};
    return std::any_of(std::begin(names), std::end(names), [&](std::string_view n) {
        return name.size() == n.size() && startsWithNoCase(name, 0, n);
    });
}

// Where in `s` an `&` begins no well-formed reference (&name; &#digits; &#xhex;), or npos. The
// references are not resolved here: decodeText does that for the text that is converted.
std::size_t badReference(std::string_view s) {
    for (std::size_t i = s.find('&'); i != std::string_view::npos; i = s.find('&', i + 1)) {
        std::size_t j = i + 1;
        if (j < s.size() && s[j] == '#') {
            ++j;
            const bool hex = j < s.size() && s[j] == 'x';
            j += hex;
            const std::size_t digits = j;
            while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) ||
                                    (hex && std::isxdigit(static_cast<unsigned char>(s[j])))))
                ++j;
            if (j == digits)
                return i;
        } else {
            if (j >= s.size() || !isNameStart(s[j]))
                return i;
            while (j < s.size() && isNameChar(s[j]))
                ++j;
        }
        if (j >= s.size() || s[j] != ';')
            return i;
    }
    return std::string_view::npos;
}

} // namespace

XmlTokenizer::XmlTokenizer(std::string_view doc, MarkupMode mode) : m_doc(doc), m_mode(mode) {}

bool XmlTokenizer::fail(std::size_t at, core::MessageId why) {
    m_error = core::Message(why);
    m_errorOffset = at;
    m_done = true;
    return false;
}

bool XmlTokenizer::next(Token &token) {
    if (m_done)
        return false;
    if (m_pos == 0) {
        const Utf8DecodeResult valid = validUtf8Prefix(m_doc, true);
        if (!valid.ok || valid.consumed != m_doc.size())
            return fail(valid.consumed, core::MessageId::XmlNotUtf8);
    }
    token.attributes.clear();
    token.name = token.content = {};
    if (m_pos >= m_doc.size()) {
        m_done = true;
        return false;
    }
    const std::size_t start = m_pos;
    if (!m_rawTextEnd.empty()) {
        // The content of a raw text element: up to its end tag, or to the end of the document.
        std::size_t at = start;
        for (;; ++at) {
            at = m_doc.find("</", at);
            if (at == std::string_view::npos) {
                at = m_doc.size();
                break;
            }
            const std::size_t after = at + 2 + m_rawTextEnd.size();
            if (startsWithNoCase(m_doc, at + 2, m_rawTextEnd) &&
                (after >= m_doc.size() || isSpace(m_doc[after]) || m_doc[after] == '>' ||
                 m_doc[after] == '/'))
                break;
        }
        m_rawTextEnd.clear();
        if (at > start) {
            token.kind = TokenKind::Text;
            token.whole = token.content = {start, at};
            m_pos = at;
            return true;
        }
    }
    if (start == 0 && m_doc.substr(0, 3) == "\xEF\xBB\xBF") {
        token.kind = TokenKind::Text;
        token.whole = token.content = {0, 3};
        m_pos = 3;
        return true;
    }
    if (m_doc[start] != '<' ||
        (m_mode == MarkupMode::Html && start + 1 < m_doc.size() && !isNameStart(m_doc[start + 1]) &&
         m_doc[start + 1] != '/' && m_doc[start + 1] != '!' && m_doc[start + 1] != '?')) {
        // Text up to the next markup (in HTML, a `<` that begins no markup is text).
        std::size_t at = start + 1;
        for (;; ++at) {
            at = m_doc.find('<', at);
            if (at == std::string_view::npos || m_mode == MarkupMode::Xml || at + 1 >= m_doc.size())
                break;
            const char c = m_doc[at + 1];
            if (isNameStart(c) || c == '/' || c == '!' || c == '?')
                break;
        }
        if (at == std::string_view::npos)
            at = m_doc.size();
        if (m_mode == MarkupMode::Xml) {
            const std::size_t bad = badReference(m_doc.substr(start, at - start));
            if (bad != std::string_view::npos)
                return fail(start + bad, core::MessageId::XmlStrayAmpersand);
        }
        token.kind = TokenKind::Text;
        token.whole = token.content = {start, at};
        m_pos = at;
        return true;
    }
    if (start + 1 >= m_doc.size())
        return fail(start, core::MessageId::XmlMarkupCutOff);
    const char c = m_doc[start + 1];
    if (c == '?')
        return readProcessingInstruction(token);
    if (c == '!')
        return readMarkupDeclaration(token);
    return readTag(token);
}

bool XmlTokenizer::readProcessingInstruction(Token &token) {
    const std::size_t start = m_pos;
    const std::size_t end = m_doc.find("?>", start + 2);
    if (end == std::string_view::npos)
        return fail(start, core::MessageId::XmlPiNotClosed);
    std::size_t n = start + 2;
    while (n < end && isNameChar(m_doc[n]))
        ++n;
    if (n == start + 2)
        return fail(start, core::MessageId::XmlPiWithoutTarget);
    token.name = {start + 2, n};
    token.content = {n, end};
    token.whole = {start, end + 2};
    token.kind = token.name.of(m_doc) == "xml" ? TokenKind::XmlDeclaration : TokenKind::ProcessingInstruction;
    m_pos = end + 2;
    return true;
}

bool XmlTokenizer::readMarkupDeclaration(Token &token) {
    const std::size_t start = m_pos;
    if (m_doc.substr(start, 4) == "<!--") {
        if (m_mode == MarkupMode::Html) {
            // Browsers end a comment at <!--> and <!---> too, and at --!>.
            for (const std::string_view empty : {std::string_view("<!-->"), std::string_view("<!--->")})
                if (m_doc.substr(start, empty.size()) == empty) {
                    token.kind = TokenKind::Comment;
                    token.content = {start + 4, start + 4};
                    token.whole = {start, start + empty.size()};
                    m_pos = start + empty.size();
                    return true;
                }
            const std::size_t plain = m_doc.find("-->", start + 4), bang = m_doc.find("--!>", start + 4);
            if (bang < plain) {
                token.kind = TokenKind::Comment;
                token.content = {start + 4, bang};
                token.whole = {start, bang + 4};
                m_pos = bang + 4;
                return true;
            }
        }
        const std::size_t end = m_doc.find("-->", start + 4);
        if (end == std::string_view::npos)
            return fail(start, core::MessageId::XmlCommentNotClosed);
        token.kind = TokenKind::Comment;
        token.content = {start + 4, end};
        token.whole = {start, end + 3};
        m_pos = end + 3;
        return true;
    }
    if (m_doc.substr(start, 9) == "<![CDATA[") {
        const std::size_t end = m_doc.find("]]>", start + 9);
        if (end == std::string_view::npos)
            return fail(start, core::MessageId::XmlCdataNotClosed);
        token.kind = TokenKind::CData;
        token.content = {start + 9, end};
        token.whole = {start, end + 3};
        m_pos = end + 3;
        return true;
    }
    if (m_mode == MarkupMode::Xml ? m_doc.substr(start, 9) == "<!DOCTYPE"
                                  : startsWithNoCase(m_doc, start, "<!doctype")) {
        // Up to the `>` outside quotes and outside the internal subset.
        char quote = 0;
        int depth = 0;
        for (std::size_t i = start + 9; i < m_doc.size(); ++i) {
            const char ch = m_doc[i];
            if (quote) {
                if (ch == quote)
                    quote = 0;
            } else if (ch == '"' || ch == '\'') {
                quote = ch;
            } else if (ch == '[') {
                ++depth;
            } else if (ch == ']') {
                if (--depth < 0)
                    return fail(i, core::MessageId::XmlDoctypeUnbalanced);
            } else if (ch == '<' && depth > 0 && m_doc.substr(i, 8) == "<!ENTITY") {
                return fail(i, core::MessageId::XmlDoctypeEntities);
            } else if (ch == '>' && depth == 0) {
                token.kind = TokenKind::Doctype;
                token.whole = {start, i + 1};
                token.content = {start + 9, i};
                m_pos = i + 1;
                return true;
            }
        }
        return fail(start, core::MessageId::XmlDoctypeNotClosed);
    }
    if (m_mode == MarkupMode::Html) {
        // A bogus comment, as browsers read one.
        const std::size_t end = m_doc.find('>', start + 2);
        if (end == std::string_view::npos)
            return fail(start, core::MessageId::XmlDeclarationNotClosed);
        token.kind = TokenKind::Comment;
        token.content = {start + 2, end};
        token.whole = {start, end + 1};
        m_pos = end + 1;
        return true;
    }
    return fail(start, core::MessageId::XmlUnknownDeclaration);
}

bool XmlTokenizer::readTag(Token &token) {
    const std::size_t start = m_pos;
    const std::size_t n = m_doc.size();
    const bool end = m_doc[start + 1] == '/';
    std::size_t i = start + (end ? 2 : 1);
    if (i >= n || !isNameStart(m_doc[i]))
        return fail(start, core::MessageId::XmlTagWithoutName);
    const std::size_t nameBegin = i;
    while (i < n && isNameChar(m_doc[i]))
        ++i;
    token.name = {nameBegin, i};
    const bool html = m_mode == MarkupMode::Html;
    if (end) {
        while (i < n && isSpace(m_doc[i]))
            ++i;
        if (html)
            while (i < n && m_doc[i] != '>') // HTML ignores what an end tag holds
                ++i;
        if (i >= n || m_doc[i] != '>')
            return fail(start, core::MessageId::XmlEndTagNotClosed);
        token.kind = TokenKind::EndTag;
        token.whole = {start, i + 1};
        m_pos = i + 1;
        return true;
    }
    for (;;) {
        const std::size_t before = i;
        while (i < n && isSpace(m_doc[i]))
            ++i;
        if (i >= n)
            return fail(start, core::MessageId::XmlTagNotClosed);
        if (m_doc[i] == '>') {
            token.kind = TokenKind::StartTag;
            m_pos = i + 1;
            break;
        }
        if (m_doc[i] == '/') {
            if (i + 1 < n && m_doc[i + 1] == '>') {
                token.kind = TokenKind::EmptyTag;
                m_pos = i + 2;
                break;
            }
            if (!html)
                return fail(i, core::MessageId::XmlStraySlash);
            ++i;
            continue;
        }
        if (i == before && !html)
            return fail(i, core::MessageId::XmlAttributesNotSeparated);
        Attribute a;
        const std::size_t nb = i;
        if (html) {
            // The first character may be any but space, / and > (an = included), as HTML reads it.
            ++i;
            while (i < n && !isSpace(m_doc[i]) && m_doc[i] != '>' && m_doc[i] != '/' && m_doc[i] != '=')
                ++i;
        } else {
            if (!isNameStart(m_doc[i]))
                return fail(i, core::MessageId::XmlBadAttributeName);
            while (i < n && isNameChar(m_doc[i]))
                ++i;
        }
        a.name = {nb, i};
        std::size_t j = i;
        while (j < n && isSpace(m_doc[j]))
            ++j;
        if (j < n && m_doc[j] == '=') {
            ++j;
            while (j < n && isSpace(m_doc[j]))
                ++j;
            if (j >= n)
                return fail(start, core::MessageId::XmlTagNotClosed);
            if (m_doc[j] == '"' || m_doc[j] == '\'') {
                const char q = m_doc[j];
                const std::size_t close = m_doc.find(q, j + 1);
                if (close == std::string_view::npos)
                    return fail(j, core::MessageId::XmlAttributeValueNotClosed);
                if (!html && m_doc.substr(j + 1, close - j - 1).find('<') != std::string_view::npos)
                    return fail(j, core::MessageId::XmlLessThanInAttribute);
                if (!html) {
                    const std::size_t bad = badReference(m_doc.substr(j + 1, close - j - 1));
                    if (bad != std::string_view::npos)
                        return fail(j + 1 + bad, core::MessageId::XmlStrayAmpersand);
                }
                a.quote = q;
                a.value = {j + 1, close};
                i = close + 1;
            } else if (html) {
                std::size_t k = j;
                while (k < n && !isSpace(m_doc[k]) && m_doc[k] != '>')
                    ++k;
                a.quote = 0;
                a.value = {j, k};
                i = k;
            } else {
                return fail(j, core::MessageId::XmlAttributeValueNotQuoted);
            }
        } else if (!html) {
            return fail(i, core::MessageId::XmlAttributeWithoutValue);
        } else {
            a.quote = 0;
            a.value = {i, i};
        }
        token.attributes.push_back(a);
    }
    token.whole = {start, m_pos};
    // <script/> opens a script in HTML as <script> does.
    if (html && isRawTextElement(token.name.of(m_doc)))
        m_rawTextEnd = std::string(token.name.of(m_doc));
    return true;
}

namespace {

bool allowedInXml(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

namespace {

struct LetterReference {
    std::string_view name;
    char32_t letter;
};

// Latin-1's letters, the Latin ones beyond it that HTML names, and the Greek ones.
constexpr LetterReference kLetterReferences[] = {
    {"Agrave", 0xC0},   {"Aacute", 0xC1},   {"Acirc", 0xC2},   {"Atilde", 0xC3},  {"Auml", 0xC4},
    {"Aring", 0xC5},    {"AElig", 0xC6},    {"Ccedil", 0xC7},  {"Egrave", 0xC8},  {"Eacute", 0xC9},
    {"Ecirc", 0xCA},    {"Euml", 0xCB},     {"Igrave", 0xCC},  {"Iacute", 0xCD},  {"Icirc", 0xCE},
    {"Iuml", 0xCF},     {"ETH", 0xD0},      {"Ntilde", 0xD1},  {"Ograve", 0xD2},  {"Oacute", 0xD3},
    {"Ocirc", 0xD4},    {"Otilde", 0xD5},   {"Ouml", 0xD6},    {"Oslash", 0xD8},  {"Ugrave", 0xD9},
    {"Uacute", 0xDA},   {"Ucirc", 0xDB},    {"Uuml", 0xDC},    {"Yacute", 0xDD},  {"THORN", 0xDE},
    {"szlig", 0xDF},    {"agrave", 0xE0},   {"aacute", 0xE1},  {"acirc", 0xE2},   {"atilde", 0xE3},
    {"auml", 0xE4},     {"aring", 0xE5},    {"aelig", 0xE6},   {"ccedil", 0xE7},  {"egrave", 0xE8},
    {"eacute", 0xE9},   {"ecirc", 0xEA},    {"euml", 0xEB},    {"igrave", 0xEC},  {"iacute", 0xED},
    {"icirc", 0xEE},    {"iuml", 0xEF},     {"eth", 0xF0},     {"ntilde", 0xF1},  {"ograve", 0xF2},
    {"oacute", 0xF3},   {"ocirc", 0xF4},    {"otilde", 0xF5},  {"ouml", 0xF6},    {"oslash", 0xF8},
    {"ugrave", 0xF9},   {"uacute", 0xFA},   {"ucirc", 0xFB},   {"uuml", 0xFC},    {"yacute", 0xFD},
    {"thorn", 0xFE},    {"yuml", 0xFF},     {"OElig", 0x152},  {"oelig", 0x153},  {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"Alpha", 0x391},  {"Beta", 0x392},   {"Gamma", 0x393},
    {"Delta", 0x394},   {"Epsilon", 0x395}, {"Zeta", 0x396},   {"Eta", 0x397},    {"Theta", 0x398},
    {"Iota", 0x399},    {"Kappa", 0x39A},   {"Lambda", 0x39B}, {"Mu", 0x39C},     {"Nu", 0x39D},
    {"Xi", 0x39E},      {"Omicron", 0x39F}, {"Pi", 0x3A0},     {"Rho", 0x3A1},    {"Sigma", 0x3A3},
    {"Tau", 0x3A4},     {"Upsilon", 0x3A5}, {"Phi", 0x3A6},    {"Chi", 0x3A7},    {"Psi", 0x3A8},
    {"Omega", 0x3A9},   {"alpha", 0x3B1},   {"beta", 0x3B2},   {"gamma", 0x3B3},  {"delta", 0x3B4},
    {"epsilon", 0x3B5}, {"zeta", 0x3B6},    {"eta", 0x3B7},    {"theta", 0x3B8},  {"iota", 0x3B9},
    {"kappa", 0x3BA},   {"lambda", 0x3BB},  {"mu", 0x3BC},     {"nu", 0x3BD},     {"xi", 0x3BE},
    {"omicron", 0x3BF}, {"pi", 0x3C0},      {"rho", 0x3C1},    {"sigmaf", 0x3C2}, {"sigma", 0x3C3},
    {"tau", 0x3C4},     {"upsilon", 0x3C5}, {"phi", 0x3C6},    {"chi", 0x3C7},    {"psi", 0x3C8},
    {"omega", 0x3C9},
};

} // namespace

char32_t htmlLetterReference(std::string_view name) {
    for (const LetterReference &r : kLetterReferences)
        if (r.name == name)
            return r.letter;
    return 0;
}

std::string_view htmlLetterReferenceName(char32_t c) {
    for (const LetterReference &r : kLetterReferences)
        if (r.letter == c)
            return r.name;
    return {};
}

bool decodeText(std::string_view doc, ByteSpan span, MarkupMode mode, std::vector<DecodedChar> &out,
                std::vector<std::size_t> &pieceBreaks, core::Message &error) {
    const auto *s = reinterpret_cast<const unsigned char *>(doc.data());
    std::size_t i = span.begin;
    const std::size_t e = std::min(span.end, doc.size());
    while (i < e) {
        if (s[i] != '&') {
            char32_t cp;
            const int len = stepUtf8(s + i, e - i, cp);
            if (len <= 0) {
                error = {core::MessageId::XmlWhyAtByte, {std::to_string(i)}, {{core::MessageId::XmlNotUtf8}}};
                return false;
            }
            out.push_back({cp, {i, i + static_cast<std::size_t>(len)}});
            i += static_cast<std::size_t>(len);
            continue;
        }
        // A reference: &name; or &#digits; or &#xhex; (at most 32 bytes).
        std::size_t semi = i + 1;
        while (semi < e && semi - i <= 32 && doc[semi] != ';' && doc[semi] != '&' && doc[semi] != '<' &&
               !isSpace(doc[semi]))
            ++semi;
        const bool closed = semi < e && doc[semi] == ';' && semi > i + 1;
        std::string_view body = closed ? doc.substr(i + 1, semi - i - 1) : std::string_view();
        bool ok = closed;
        std::uint32_t value = 0;
        bool isChar = false;
        if (ok && body[0] == '#') {
            // HTML reads &#X as &#x does
            const bool hex =
                body.size() > 1 && (body[1] == 'x' || (mode == MarkupMode::Html && body[1] == 'X'));
            std::string_view digits = body.substr(hex ? 2 : 1);
            ok = !digits.empty() && digits.size() <= 8;
            for (const char d : digits) {
                int v;
                if (d >= '0' && d <= '9')
                    v = d - '0';
                else if (hex && d >= 'a' && d <= 'f')
                    v = d - 'a' + 10;
                else if (hex && d >= 'A' && d <= 'F')
                    v = d - 'A' + 10;
                else {
                    ok = false;
                    break;
                }
                value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
            }
            ok = ok && allowedInXml(value);
            isChar = ok;
        } else if (ok) {
            static constexpr std::pair<std::string_view, char32_t> predefined[] = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            for (const auto &[name, cp] : predefined)
                if (body == name) {
                    value = cp;
                    isChar = true;
                }
            ok = isNameStart(body[0]) && std::all_of(body.begin(), body.end(), isNameChar);
        }
        if (!ok && mode == MarkupMode::Html && i + 2 < e && doc[i + 1] == '#') {
            // A number reference without its semicolon, which browsers read all the same
            // (&#x5934 发 shows 头 发): it ends where its digits do.
            std::size_t j = i + 2;
            const bool hex = doc[j] == 'x' || doc[j] == 'X';
            j += hex ? 1 : 0;
            const std::size_t first = j;
            std::uint32_t v = 0;
            while (j < e && j - first < 8 &&
                   (std::isdigit(static_cast<unsigned char>(doc[j])) ||
                    (hex && std::isxdigit(static_cast<unsigned char>(doc[j]))))) {
                const char d = doc[j];
                v = v * (hex ? 16 : 10) +
                    static_cast<std::uint32_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
                ++j;
            }
            const bool more = j < e && (std::isalnum(static_cast<unsigned char>(doc[j])) || doc[j] == ';');
            if (j > first && !more && allowedInXml(v)) {
                out.push_back({v, {i, j}});
                i = j;
                continue;
            }
        }
        if (!ok) {
            if (mode == MarkupMode::Html) { // a literal ampersand
                out.push_back({'&', {i, i + 1}});
                ++i;
                continue;
            }
            error = {core::MessageId::XmlWhyAtByte, {std::to_string(i)}, {{core::MessageId::XmlBadReference}}};
            return false;
        }
        if (isChar) {
            out.push_back({value, {i, semi + 1}});
        } else if (pieceBreaks.empty() || pieceBreaks.back() != out.size()) {
            pieceBreaks.push_back(out.size());
        }
        i = semi + 1;
    }
    return true;
}

void encodeText(std::string_view utf8, TextPlace place, char quote, std::string &out) {
    if (place == TextPlace::CData) {
        std::size_t at = 0;
        for (std::size_t k; (k = utf8.find("]]>", at)) != std::string_view::npos; at = k + 2) {
            out.append(utf8.substr(at, k + 2 - at));
            out += "]]><![CDATA[";
        }
        out.append(utf8.substr(at));
        return;
    }
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        default:
            break;
        }
        if (place == TextPlace::Attribute) {
            if (c == '"' && quote != '\'') {
                out += "&quot;";
                continue;
            }
            if (c == '\'' && quote != '"') {
                out += "&apos;";
                continue;
            }
            if (c == '\t' || c == '\n' || c == '\r' || (c == ' ' && quote == 0)) {
                out += "&#" + std::to_string(static_cast<int>(c)) + ";";
                continue;
            }
        }
        out += c;
    }
}

} // namespace core::document
