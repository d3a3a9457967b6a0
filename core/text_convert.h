#pragma once

// Character-for-character conversions of the workspace text: simplified <-> traditional and
// letter case. Each works on Unicode code points (a surrogate pair is one code point) through a
// one-to-one mapping handed in, so the result has as many code points as the text, each in its
// place; a character without a counterpart, a lone surrogate included, comes back unchanged.

#include "codepoint_map.h"
#include "utf.h"

#include <string>
#include <string_view>

namespace core {

// `str` with every code point replaced by what `mapping` gives for it.
std::u16string mapCodePoints(std::u16string_view str, const CodePointMap &mapping);

// Simplified to traditional characters (简体 -> 簡體) with the simplified -> traditional mapping.
std::u16string JToF(std::u16string_view str, const CodePointMap &simplifiedToTraditional);

// Traditional to simplified characters (簡體 -> 简体) with the traditional -> simplified mapping.
std::u16string FToJ(std::u16string_view str, const CodePointMap &traditionalToSimplified);

// The upper- and lower-case forms of `str` (Abc 中文 123 -> ABC 中文 123) with a simple case map.
std::u16string upperCaseText(std::u16string_view str, const CodePointMap &toUpper);
std::u16string lowerCaseText(std::u16string_view str, const CodePointMap &toLower);

} // namespace core

namespace core {

// The same conversion straight from UTF-8 to UTF-8, for streams: decodes `in` strictly (as
// decodeUtf8 does, with the same `final` rule for a cut sequence at the end), maps every code
// point and appends the UTF-8 of the result to `out`. On a bad byte, what came before it is
// converted and the result says where decoding stopped.
Utf8DecodeResult mapUtf8(std::string_view in, const CodePointMap &mapping, std::string &out, bool final);

} // namespace core
