// Subtitle files: detection and the cue text walk end soundly on any bytes; the pieces of cue text
// are in order, inside the text, not empty, without white space at their ends; whatever the
// conversion, the bytes outside the pieces come out as they were; the groups of a cue line hold
// those pieces.

#include "core/subtitles.h"
#include "fuzz_support.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::vector<char> bytes(data, data + size);
    const std::string_view text(bytes.data(), bytes.size());
    const core::SubtitleFormat detected = core::detectSubtitles(text);
    for (const auto format :
         {detected, core::SubtitleFormat::Srt, core::SubtitleFormat::WebVtt, core::SubtitleFormat::Ass}) {
        const auto spans = core::cueTextSpans(text, format);
        std::size_t end = 0;
        for (const auto &span : spans) {
            fuzz::check(span.begin >= end && span.begin < span.end && span.end <= size,
                        "pieces in order, inside");
            const auto space = [](char c) {
                return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
            };
            fuzz::check(!space(text[span.begin]) && !space(text[span.end - 1]), "no white space at the ends");
            end = span.end;
        }
        // Same-length pieces of 'X': everything else stays in place.
        const auto same = core::convertSubtitles(text, format, [](std::string_view cue) {
            return std::optional<std::string>(std::string(cue.size(), 'X'));
        });
        fuzz::check(same && same->size() == size, "same length");
        std::size_t at = 0;
        for (const auto &span : spans) {
            fuzz::check(same->compare(at, span.begin - at, text.substr(at, span.begin - at)) == 0,
                        "bytes kept");
            fuzz::check(same->find_first_not_of('X', span.begin) >= span.end, "piece replaced");
            at = span.end;
        }
        fuzz::check(same->compare(at, std::string::npos, text.substr(at)) == 0, "tail kept");
        const auto identity = core::convertSubtitles(
            text, format, [](std::string_view cue) { return std::optional<std::string>(cue); });
        fuzz::check(identity && *identity == text, "identity");
        // The groups of a cue line's pieces hold the same pieces, in order, each group some.
        std::size_t k = 0;
        for (const auto &group : core::cueTextGroups(text, format)) {
            fuzz::check(!group.empty(), "no empty group");
            for (const auto &span : group) {
                fuzz::check(k < spans.size() && spans[k].begin == span.begin && spans[k].end == span.end,
                            "the groups hold the pieces");
                ++k;
            }
        }
        fuzz::check(k == spans.size(), "every piece in a group");
        const auto grouped =
            core::convertSubtitleCues(text, format, [](const std::vector<std::string_view> &pieces) {
                return std::optional<std::vector<std::string>>(
                    std::vector<std::string>(pieces.begin(), pieces.end()));
            });
        fuzz::check(grouped && *grouped == text, "identity by groups");
    }
    return 0;
}
