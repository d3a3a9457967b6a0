#pragma once
// Subtitle files (SubRip .srt, WebVTT .vtt, Advanced SubStation .ass/.ssa) converted in their cue
// text only. Everything else stays byte for byte: cue numbers and identifiers, timings and cue
// settings, the WebVTT header, NOTE, STYLE and REGION blocks, the script info and styles of ASS,
// its event fields before the text (style, speaker name, effect), and inside cue text the markup:
//   SRT/WebVTT  <i>, </font>, <c.yellow>, <v 老王>, <00:01.000>, {\an8}, &amp;
//   ASS         {\fn黑体\i1} override blocks, \N \n \h line breaks and hard spaces
// A cue's text between two pieces of markup is converted as one piece, its lines together.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class SubtitleFormat { None, Srt, WebVtt, Ass };

// The format a UTF-8 text is in, from its content: "WEBVTT" first; "[Script Info]" first, or an
// [Events] section with Dialogue lines; a number line then a timing line ("00:00:01,000 -->")
// first. Leading blank lines and a UTF-8 byte order mark are skipped. None for any other text.
SubtitleFormat detectSubtitles(std::string_view text);

// A byte range of the text.
struct TextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The spans of cue text in `text`, in order, none empty or overlapping, none holding markup.
std::vector<TextSpan> cueTextSpans(std::string_view text, SubtitleFormat format);

// `text` with each cue text span replaced by what `convert` makes of it, the rest as it was;
// nullopt as soon as `convert` gives nullopt. None: the text is returned as it is.
using CueConvert = std::function<std::optional<std::string>(std::string_view cueText)>;
std::optional<std::string> convertSubtitles(std::string_view text, SubtitleFormat format,
                                            const CueConvert &convert);

} // namespace core
