#pragma once
// Subtitle files (SubRip .srt, WebVTT .vtt, Advanced SubStation .ass/.ssa) converted in their cue
// text only. Everything else stays byte for byte: cue numbers and identifiers, timings and cue
// settings, the WebVTT header, NOTE, STYLE and REGION blocks, the script info and styles of ASS,
// its event fields before the text (style, speaker name, effect), and inside cue text the markup:
//   SRT/WebVTT  <i>, </font>, <c.yellow>, <v 老王>, <00:01.000>, {\an8}, &amp;
//   ASS         {\fn黑体\i1} override blocks, \N \n \h line breaks and hard spaces
// A cue's text between two pieces of markup is one piece, its lines together; convertSubtitleCues
// hands the pieces of a cue line together ({\k30}皇{\k30}后, <i>理</i>发), so that a phrase the
// markup parts is still converted as a phrase.

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

// The pieces of cue text that only markup parts (no line break between them, nor ASS's \N, \n or
// \h, nor a character reference such as &amp;: one line of a karaoke cue), in order.
std::vector<std::vector<TextSpan>> cueTextGroups(std::string_view text, SubtitleFormat format);

// `text` with the pieces of each group replaced by what `convert` makes of them, one result per
// piece; nullopt as soon as `convert` gives nullopt (or a count of results other than pieces).
using CuePiecesConvert =
    std::function<std::optional<std::vector<std::string>>(const std::vector<std::string_view> &pieces)>;
std::optional<std::string> convertSubtitleCues(std::string_view text, SubtitleFormat format,
                                               const CuePiecesConvert &convert);

} // namespace core
