// A part of any kind (byte 0; a style sheet's CSS too) converted by a small s2twp-like converter, fonts on or
// off, column and sheet names kept or not and elements bound to content controls or not (byte 1); the part is
// also read for the content controls' bindings:
// no crash or hang; an error leaves no bytes; a result is still well-formed markup with the same
// tokens outside text; and a converter that changes nothing leaves the part byte-identical.

#include "core/codepoint_map.h"
#include "core/document/data_binding.h"
#include "core/document/xml_part.h"
#include "core/document/xml_tokens.h"
#include "fuzz_support.h"
#include "small_phrases.h"

#include <string>

using namespace core::document;

namespace {

std::size_t countTokens(std::string_view doc, MarkupMode mode, bool &ok) {
    XmlTokenizer t(doc, mode);
    Token tok;
    std::size_t n = 0;
    while (t.next(tok))
        n += tok.kind != TokenKind::Text && tok.kind != TokenKind::CData;
    ok = t.error().empty();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const auto phrases = core::PhraseConverter::build(testsupport::smallS2twpConfig());
    static const PhraseSegmentedConverter converter(phrases);
    static const core::CodePointMap identity;
    static const CodePointSegmentedConverter unchanged(identity);
    if (size < 2)
        return 0;
    const auto kind = static_cast<PartKind>(data[0] % (static_cast<int>(PartKind::StyleSheet) + 1));
    PartOptions options;
    options.fonts = data[1] & 1;
    options.direction = data[1] & 2 ? ScriptDirection::ToSimplified : ScriptDirection::ToTraditional;
    if (data[1] & 4) // a workbook's column names, whose strings stay
        options.keptStrings = {"软件", "U盘"};
    if (data[1] & 16) // a sheet's name, which formulas' literals keep
        options.formulaNames = {"销售"};
    if (data[1] & 8) // elements a content control shows
        options.boundElements = {{{"", "a", 1}}, {{"urn:x", "b", 1}, {"urn:x", "c", 2}}};
    const std::string_view xml(reinterpret_cast<const char *>(data + 2), size - 2);

    std::vector<DataBinding> bindings;
    findDataBindings(xml, bindings);
    for (const DataBinding &b : bindings)
        fuzz::check(!b.path.empty() && !b.storeItem.empty(), "a binding names a store and an element");

    const PartOutcome r = convertPart(xml, kind, converter, options);
    if (!r.error.empty()) {
        fuzz::check(r.bytes.empty() && !r.changed, "an error leaves nothing");
        return 0;
    }
    fuzz::check(r.changed == (r.bytes != xml), "changed says whether the bytes differ");
    if (kind == PartKind::StyleSheet) { // CSS, not markup: only its font names may change
        fuzz::check(options.fonts || !r.changed, "a style sheet changes only with fonts");
        return 0;
    }
    const MarkupMode mode = kind == PartKind::Html ? MarkupMode::Html : MarkupMode::Xml;
    bool inOk = false, outOk = false;
    const std::size_t before = countTokens(xml, mode, inOk), after = countTokens(r.bytes, mode, outOk);
    fuzz::check(outOk && before == after, "the result is markup with the same tags");

    PartOptions plain;
    const PartOutcome same = convertPart(xml, kind, unchanged, plain);
    fuzz::check(same.error.empty() && !same.changed && same.bytes == xml, "no change, the same bytes");
    return 0;
}
