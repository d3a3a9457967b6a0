// The span-keeping tokenizer on any bytes, as XML (byte 0 even) or HTML (odd): it ends, its tokens
// tile the document up to the end or the error, every span lies inside its token, and the text it
// decodes, written back with encodeText, decodes to the same characters.

#include "core/document/xml_tokens.h"
#include "core/utf.h"
#include "fuzz_support.h"

#include <string>
#include <vector>

using namespace core::document;

namespace {

std::vector<char32_t> decodeAll(std::string_view doc, ByteSpan span, MarkupMode mode, bool &ok) {
    std::vector<DecodedChar> chars;
    std::vector<std::size_t> breaks;
    core::Message error;
    ok = decodeText(doc, span, mode, chars, breaks, error);
    std::vector<char32_t> cps;
    for (const auto &c : chars) {
        fuzz::check(c.raw.begin >= span.begin && c.raw.end <= span.end && c.raw.begin < c.raw.end,
                    "a character's bytes lie in its text");
        cps.push_back(c.cp);
    }
    return cps;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const MarkupMode mode = data[0] & 1 ? MarkupMode::Html : MarkupMode::Xml;
    const std::string_view doc(reinterpret_cast<const char *>(data + 1), size - 1);
    XmlTokenizer t(doc, mode);
    Token tok;
    std::size_t at = 0;
    while (t.next(tok)) {
        fuzz::check(tok.whole.begin == at && tok.whole.end > at && tok.whole.end <= doc.size(),
                    "tokens tile");
        auto inside = [&](ByteSpan s) {
            return s.size() == 0 || (s.begin >= tok.whole.begin && s.end <= tok.whole.end);
        };
        fuzz::check(inside(tok.name) && inside(tok.content), "spans inside their token");
        for (const auto &a : tok.attributes)
            fuzz::check(inside(a.name) && inside(a.value) && a.name.size() > 0,
                        "attributes inside their tag");
        at = tok.whole.end;
        if (tok.kind != TokenKind::Text)
            continue;
        bool ok = false;
        const std::vector<char32_t> cps = decodeAll(doc, tok.content, mode, ok);
        if (!ok)
            continue;
        // Written back (as UTF-8 of the characters) and read again: the same characters.
        std::string utf8, encoded;
        for (const char32_t c : cps) {
            unsigned char b[4];
            utf8.append(reinterpret_cast<const char *>(b),
                        static_cast<std::size_t>(core::encodeCodePoint(c, b) - b));
        }
        encodeText(utf8, TextPlace::Content, 0, encoded);
        bool again = false;
        const auto back = decodeAll(encoded, {0, encoded.size()}, MarkupMode::Xml, again);
        fuzz::check(again && back == cps, "encoded text decodes to the same characters");
    }
    fuzz::check(t.error().empty() ? at == doc.size() : t.errorOffset() <= doc.size(),
                "the end or an error inside the document");
    return 0;
}
