#pragma once

// Converting subtitles: the cue text only, never cue numbers, identifiers, timings, settings,
// style names, notes or tags. A cue's text is converted as one text; its formatting tags (<i>, and
// override blocks such as {\fn黑体} or {\an8}) join the text on either side, line breaks of ASS
// (\N, \n, \h) and VTT entities cut it. Everything else is copied byte for byte.
//
//   SubRip (.srt)   number, timing line (00:00:01,000 --> ...), text lines, blank line
//   WebVTT (.vtt)   WEBVTT header, optional identifier, timing line, text lines; NOTE, STYLE and
//                   REGION blocks never converted
//   ASS/SSA         the Text field of Dialogue: lines (after the ninth comma), nothing else

#include "core/document/xml_part.h"

#include <string_view>

namespace core::document {

enum class SubtitleFormat { Srt, WebVtt, Ass };

// `text` (UTF-8, line ends of any kind kept) with its cue text converted by `converter`; the
// outcome as convertPart gives it (identical bytes and changed false when nothing changes; an error
// when the text is not valid UTF-8).
PartOutcome convertSubtitles(std::string_view text, SubtitleFormat format,
                             const SegmentedConverter &converter);

} // namespace core::document
