#pragma once
// Text files in the encodings of core/text_encoding.h to UTF-8 and back, the code pages through
// ICU's converters (GB18030; Windows code page 950 for Big5; Big5-HKSCS 2008), strictly: a byte
// sequence that is invalid or unmapped, or a character without a code, stops the conversion, and
// no fallback mapping ever stands in for a character.

#include "core/text_encoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The common Chinese characters: the first level of GB 2312 (B0A1..D7F9, 3755 characters) and of
// Big5 (A440..C67E, 5401), as ICU reads them. Empty when ICU lacks a converter.
core::CommonHan loadCommonHan();

// Appends `bytes` (without a byte order mark) decoded from `encoding` to `utf8`. False at the
// first invalid or unmapped sequence, with `*badOffset` the byte where it starts.
bool decodeText(std::string_view bytes, core::TextEncoding encoding, std::string &utf8,
                std::size_t *badOffset = nullptr);

// Appends valid UTF-8 `utf8` encoded in `encoding` (without a byte order mark) to `out`. False at
// the first character that has no code in it, with `*badOffset` its byte offset in `utf8`; what
// came before is appended.
bool encodeText(std::string_view utf8, core::TextEncoding encoding, std::string &out,
                std::size_t *badOffset = nullptr);

// `bytes` of a Chinese code page (GB18030, Big5, Big5-HKSCS) decoded as decodeText does, replacing
// `utf8`, with `origin` (replaced) giving for each byte of `utf8` the offset in `bytes` of the
// character it belongs to, and origin[utf8.size()] == bytes.size(). False as decodeText is, and for
// input of 2 GB or more.
bool decodeTextMapped(std::string_view bytes, core::TextEncoding encoding, std::string &utf8,
                      std::vector<std::uint32_t> &origin, std::size_t *badOffset = nullptr);

// The codes of GB18030 a page's label lets it use: all, GBK's two-byte ones, or GB 2312's (both
// bytes A1..FE). Other code pages use all of theirs.
enum class CodeRange { All, Gbk, Gb2312 };

// Valid UTF-8 text of markup `utf8` appended to `out` in a Chinese code page, one character at a
// time. A character without a code there, or whose code is outside `range`, is written as the
// reference &#xHHHH; when `references` (the place decodes them). Without `references`, false at
// the first character that has no code at all, with `*badOffset` its byte in `utf8` (codes outside
// `range` are then written: browsers read every GBK and GB 2312 label with the GB18030 decoder).
bool encodeMarkupText(std::string_view utf8, core::TextEncoding encoding, CodeRange range, bool references,
                      std::string &out, std::size_t *badOffset = nullptr);

// The encoding of a text file, decided as core/text_encoding.h says, on its first `sample` bytes
// for the Chinese code pages. `markSize` is the length of its byte order mark.
struct Detection {
    enum class Kind { Found, Undecided, NotText } kind = Kind::Found;
    core::TextEncoding encoding = core::TextEncoding::Utf8;
    std::size_t markSize = 0;
};
Detection detectEncoding(std::string_view bytes, const core::CommonHan &common,
                         std::size_t sample = std::size_t(1) << 20);

} // namespace platform
