#pragma once

// A tokenizer of XML (and, leniently, HTML) that keeps where every token lies in the original
// bytes, so that a converter can copy unchanged bytes exactly and splice only the text it changes.
// Nothing is expanded or normalized: a token's bytes are the document's bytes.
//
//   <?xml version="1.0"?>        XmlDeclaration
//   <!DOCTYPE html>              Doctype (one that declares entities is refused: <!ENTITY ...>)
//   <w:t xml:space="preserve">   StartTag, name "w:t", one attribute (name and value spans)
//   a &amp; b                    Text (raw; decodeText gives "a & b" with each character's bytes)
//   <![CDATA[x<y]]>              CData (content span "x<y")
//   <br/>                        EmptyTag
//   </w:t>                       EndTag
//   <!-- c -->, <?pi x?>         Comment, ProcessingInstruction
//
// In HTML mode, attribute values may be unquoted or absent, void elements (<br>, <img>) need no end
// tag (the tokenizer itself does not pair tags in either mode), and the content of <script>,
// <style>, <title> and <textarea> is one Text token up to its end tag, never read as markup.
//
// Malformed input (a tag that does not close, a bad name, an unquoted value in XML, `<` in an
// attribute value, invalid UTF-8, a stray `&` that is no reference in XML) ends tokenization with an
// error and its byte offset; no input crashes or hangs the tokenizer, and its work is linear.

#include "core/messages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core::document {

// Bytes [begin, end) of the document.
struct ByteSpan {
    std::size_t begin = 0, end = 0;
    std::string_view of(std::string_view doc) const { return doc.substr(begin, end - begin); }
    std::size_t size() const { return end - begin; }
};

enum class TokenKind {
    Text,
    StartTag,
    EndTag,
    EmptyTag, // <x/>
    CData,
    Comment,
    ProcessingInstruction,
    XmlDeclaration,
    Doctype,
};

struct Attribute {
    ByteSpan name;
    ByteSpan value;   // between the quotes; empty (at the name's end) when the attribute has no value
    char quote = '"'; // '"' or '\'', 0 for an unquoted or absent value (HTML only)
};

struct Token {
    TokenKind kind = TokenKind::Text;
    ByteSpan whole;   // the token's bytes, markup included
    ByteSpan name;    // tags: the element's name as written (prefix included); PIs: the target
    ByteSpan content; // Text: the text; CData: between <![CDATA[ and ]]>; Comment: between <!-- and -->
    std::vector<Attribute> attributes; // tags, in document order
};

enum class MarkupMode { Xml, Html };

class XmlTokenizer {
public:
    // `doc` must outlive the tokenizer. A UTF-8 byte order mark at the start is a Text token of its
    // own (kept as it is).
    explicit XmlTokenizer(std::string_view doc, MarkupMode mode = MarkupMode::Xml);

    // The next token into `token` (its attribute vector reused); false at the end of the document
    // or at an error (then error() is not empty and errorOffset() says where).
    bool next(Token &token);

    const core::Message &error() const { return m_error; }
    std::size_t errorOffset() const { return m_errorOffset; }

private:
    bool fail(std::size_t at, core::MessageId why);
    bool readTag(Token &token);
    bool readMarkupDeclaration(Token &token);
    bool readProcessingInstruction(Token &token);

    std::string_view m_doc;
    MarkupMode m_mode;
    std::size_t m_pos = 0;
    std::string m_rawTextEnd; // HTML: the end tag that closes the raw text ("script", "style")
    core::Message m_error;
    std::size_t m_errorOffset = 0;
    bool m_done = false;
};

// One decoded character of a text: its code point and the bytes of the source it came from (one
// character, or one entity or character reference).
struct DecodedChar {
    char32_t cp;
    ByteSpan raw; // absolute, in the document
};

// Decodes the raw text or attribute value at `span` of `doc`: the predefined entities (&lt; &gt;
// &amp; &quot; &apos;) and character references (&#20013; &#x4E2D;). Any other entity (&nbsp;, or
// one an external DTD defines) is not a character here: it ends a piece of text (`pieceBreaks`
// receives the index in `out` where the text is cut) and stays as it is. Returns false (with
// `error`) on a reference that is malformed or names a code point that XML does not allow; in HTML
// mode an `&` that begins no reference is an ordinary character instead.
bool decodeText(std::string_view doc, ByteSpan span, MarkupMode mode, std::vector<DecodedChar> &out,
                std::vector<std::size_t> &pieceBreaks, core::Message &error);

// HTML's named references to the letters that have another case (&eacute; &Eacute; &alpha; &OElig;
// &sigmaf;): the letter, or 0 for any other name (decodeText leaves these as they are).
char32_t htmlLetterReference(std::string_view name);
// The name of such a reference to `c` (eacute for é), or empty where it has none.
std::string_view htmlLetterReferenceName(char32_t c);

// Where a replacement text is written, and how it is escaped there: in content `&`, `<` and `>`; in
// an attribute also its quote (for an unquoted HTML value, both quotes and spaces), and tab, line
// feed and carriage return as references so that a reader does not normalize them away; inside
// CDATA nothing, but "]]>" split across two sections.
enum class TextPlace { Content, Attribute, CData };
void encodeText(std::string_view utf8, TextPlace place, char quote, std::string &out);

} // namespace core::document
