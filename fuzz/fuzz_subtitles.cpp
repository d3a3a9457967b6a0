// Subtitles of any format (byte 0) converted by a small s2twp-like converter: no crash or hang, an
// error leaves nothing, and a converter that changes nothing leaves the bytes as they were.

#include "core/codepoint_map.h"
#include "core/document/subtitles.h"
#include "fuzz_support.h"
#include "small_phrases.h"

using namespace core::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const auto phrases = core::PhraseConverter::build(testsupport::smallS2twpConfig());
    static const PhraseSegmentedConverter converter(phrases);
    static const core::CodePointMap identity;
    static const CodePointSegmentedConverter unchanged(identity);
    if (size < 1)
        return 0;
    const auto format = static_cast<SubtitleFormat>(data[0] % 3);
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
    const PartOutcome r = convertSubtitles(text, format, converter);
    if (!r.error.empty()) {
        fuzz::check(r.bytes.empty() && !r.changed, "an error leaves nothing");
        return 0;
    }
    fuzz::check(r.changed == (r.bytes != text), "changed says whether the bytes differ");
    const PartOutcome same = convertSubtitles(text, format, unchanged);
    fuzz::check(same.error.empty() && !same.changed && same.bytes == text, "no change, the same bytes");
    return 0;
}
