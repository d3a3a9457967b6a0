// The span-keeping tokenizer: what each kind of markup becomes, that the spans give back the exact
// bytes, the decoding and encoding of text, and malformed input refused without a crash.

#include "core/document/xml_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace core::document;

// Tokens as a short text: kind, name, attributes with their quote, content; "!error@offset" at an
// error. Also checks that the tokens' spans tile the document.
std::string dump(std::string_view doc, MarkupMode mode = MarkupMode::Xml) {
    XmlTokenizer t(doc, mode);
    Token tok;
    std::string s;
    std::size_t at = 0;
    while (t.next(tok)) {
        EXPECT_EQ(tok.whole.begin, at) << "tokens leave a gap or overlap";
        at = tok.whole.end;
        static const char *const kinds[] = {"T", "S", "E", "Z", "CD", "C", "PI", "XML", "DT"};
        s += kinds[static_cast<int>(tok.kind)];
        s += "(";
        s += tok.name.of(doc);
        for (const auto &a : tok.attributes) {
            s += " ";
            s += a.name.of(doc);
            s += "=";
            if (a.quote)
                s += a.quote;
            s += a.value.of(doc);
            if (a.quote)
                s += a.quote;
        }
        if (tok.kind == TokenKind::Text || tok.kind == TokenKind::CData || tok.kind == TokenKind::Comment) {
            s += "|";
            s += tok.content.of(doc);
        }
        s += ")";
    }
    if (!t.error().empty())
        return s + "!error@" + std::to_string(t.errorOffset());
    EXPECT_EQ(at, doc.size()) << "tokens do not reach the end";
    return s;
}

TEST(XmlTokens, EachKindOfMarkup) {
    struct Case {
        std::string in, out;
        const char *why;
    };
    const Case cases[] = {
        {R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?><a/>)", "XML(xml)Z(a)",
         "declaration, empty element"},
        {"<w:t xml:space='preserve'> 中 </w:t>", "S(w:t xml:space='preserve')T(| 中 )E(w:t)",
         "single quotes, spaces kept"},
        {"<a  x = \"1\"\r\n\ty='2' />", "Z(a x=\"1\" y='2')", "spacing and CRLF inside a tag"},
        {"<a>x &amp; &lt;y&gt;</a>", "S(a)T(|x &amp; &lt;y&gt;)E(a)", "entities stay as written"},
        {"<a><![CDATA[<b>&amp;]]></a>", "S(a)CD(|<b>&amp;)E(a)", "CDATA content is raw"},
        {"<!-- 注释 --><?pi data?>", "C(| 注释 )PI(pi)", "comment and processing instruction"},
        {"<!DOCTYPE html><p/>", "DT()Z(p)", "a DOCTYPE without entities"},
        {"<!DOCTYPE x [<!ELEMENT x ANY>]><x/>", "DT()Z(x)", "an internal subset without entities"},
        {"\xEF\xBB\xBF<a/>", "T(|\xEF\xBB\xBF)Z(a)", "a byte order mark is a token of its own"},
        {"a\r\nb", "T(|a\r\nb)", "CRLF in text is kept"},
        {"<a>]]></a>", "S(a)T(|]]>)E(a)", "]]> in text is passed through"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(dump(c.in), c.out);
    }
}

TEST(XmlTokens, MalformedInputIsAnErrorAtItsPlace) {
    struct Case {
        std::string in;
        std::size_t at;
        const char *why;
    };
    const Case cases[] = {
        {"<a", 0, "a tag cut off"},
        {"<a x=1>", 5, "an unquoted value in XML"},
        {"<a x>", 4, "an attribute without a value in XML"},
        {"<a x='1'y='2'>", 8, "attributes without space between"},
        {"<a x='<'>", 5, "< in a value"},
        {"<a x='1>", 5, "a value not closed"},
        {"<!-- x", 0, "a comment not closed"},
        {"<![CDATA[x", 0, "CDATA not closed"},
        {"<?pi x", 0, "a processing instruction not closed"},
        {"<1a/>", 0, "a name that starts with a digit"},
        {"</a", 0, "an end tag not closed"},
        {"<!ELEMENT x>", 0, "a declaration outside a DOCTYPE"},
        {"<!DOCTYPE x [<!ENTITY e \"boom\">]><x>&e;</x>", 13, "a DOCTYPE that declares entities"},
        {"<!DOCTYPE x [", 0, "a DOCTYPE not closed"},
        {"<a>\xC3(</a>", 3, "invalid UTF-8"},
        {"<a/\">", 2, "a stray slash"},
        {"<a>x & y</a>", 5, "an ampersand that begins no reference"},
        {"<a x='&#;'/>", 6, "a reference without digits in a value"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const std::string d = dump(c.in);
        EXPECT_NE(d.find("!error@" + std::to_string(c.at)), std::string::npos) << d;
    }
}

TEST(XmlTokens, HtmlIsReadLeniently) {
    struct Case {
        std::string in, out;
        const char *why;
    };
    const Case cases[] = {
        {"<p class=x hidden>a<br>b</P>", "S(p class=x hidden=)T(|a)S(br)T(|b)E(P)",
         "unquoted and absent values, void elements"},
        {"<script>if (a<b && c) x='</p>';</script>", "S(script)T(|if (a<b && c) x='</p>';)E(script)",
         "script is raw text up to its end tag"},
        {"<STYLE>p>a{}</style >", "S(STYLE)T(|p>a{})E(style)", "style, any case"},
        {"<title>a<b</title>", "S(title)T(|a<b)E(title)", "title holds text only"},
        {"a < b", "T(|a < b)", "a < that begins no tag is text"},
        {"<!doctype html><!x>", "DT()C(|x)", "doctype in lower case; a bogus comment"},
        {"<script>never closed", "S(script)T(|never closed)", "raw text to the end"},
        {"<a x/ =y>", "S(a x= =y=)", "an attribute name may begin with = (it was once read as empty)"},
        {"<script src=\"a.js\"/>x<y</script>", "Z(script src=\"a.js\")T(|x<y)E(script)",
         "<script/> opens a script too"},
        // comments browsers end early: the page was refused as one whose comment is not closed
        {"<!-->a<!--->b<!-- c --!>d", "C(|)T(|a)C(|)T(|b)C(| c )T(|d)",
         "<!-->, <!---> and --!> end a comment"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(dump(c.in, MarkupMode::Html), c.out);
    }
}

std::string decoded(std::string_view raw, MarkupMode mode = MarkupMode::Xml) {
    std::vector<DecodedChar> chars;
    std::vector<std::size_t> breaks;
    core::Message error;
    if (!decodeText(raw, {0, raw.size()}, mode, chars, breaks, error))
        return "!" + error.in(core::Language::English);
    std::string s;
    std::size_t b = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (b < breaks.size() && breaks[b] == i) {
            s += "|";
            ++b;
        }
        s += '[';
        s.append(raw.substr(chars[i].raw.begin, chars[i].raw.size()));
        s += ']';
    }
    if (b < breaks.size())
        s += "|";
    return s;
}

TEST(XmlTokens, TextDecodesWithEachCharactersBytes) {
    EXPECT_EQ(decoded("a&amp;&#20013;&#x4E2D;文"), "[a][&amp;][&#20013;][&#x4E2D;][文]");
    EXPECT_EQ(decoded("中&nbsp;文&custom;"), "[中]|[文]|") << "other entities cut the text and stay";
    EXPECT_EQ(decoded("a&b").substr(0, 1), "!") << "a stray ampersand in XML";
    EXPECT_EQ(decoded("&#0;").substr(0, 1), "!") << "a character XML does not allow";
    EXPECT_EQ(decoded("&#xD800;").substr(0, 1), "!") << "a surrogate";
    EXPECT_EQ(decoded("&#99999999999;").substr(0, 1), "!") << "a reference too long";
    EXPECT_EQ(decoded("a&b", MarkupMode::Html), "[a][&][b]") << "HTML: a literal ampersand";
    // Number references browsers read that XML does not: &#X, and no semicolon before a non-word
    // character (&#X5934;发 was 头 + 發, the reference left as text).
    EXPECT_EQ(decoded("&#X5934;&#x5934 &#22836发&#12a", MarkupMode::Html),
              "[&#X5934;][&#x5934][ ][&#22836][发][&][#][1][2][a]");
    EXPECT_EQ(decoded("&#X5934;").substr(0, 1), "!") << "XML writes x only";
}

TEST(XmlTokens, EncodingEscapesOnlyWhatThePlaceNeeds) {
    struct Case {
        std::string text;
        TextPlace place;
        char quote;
        std::string out;
    };
    const Case cases[] = {
        {"a<b>&\"'", TextPlace::Content, 0, "a&lt;b&gt;&amp;\"'"},
        {"\"'\t", TextPlace::Attribute, '"', "&quot;'&#9;"},
        {"\"'", TextPlace::Attribute, '\'', "\"&apos;"},
        {"a b", TextPlace::Attribute, 0, "a&#32;b"},
        {"x]]>y", TextPlace::CData, 0, "x]]]]><![CDATA[>y"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        std::string out;
        encodeText(c.text, c.place, c.quote, out);
        EXPECT_EQ(out, c.out);
    }
}

} // namespace
