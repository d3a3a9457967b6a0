#pragma once
// Text files in the encodings of core/text_encoding.h to UTF-8 and back, the code pages through
// ICU's converters (GB18030; Windows code page 950 for Big5; Big5-HKSCS 2008), strictly: a byte
// sequence that is invalid or unmapped, or a character without a code, stops the conversion, and
// no fallback mapping ever stands in for a character.
//
// One byte more than GB18030 has is read in the GB18030 family (GB18030 and GBK): a lone 80 where a
// character starts is €, as Windows' code page 936 writes it and browsers read it. GB18030 itself
// writes € as A2 E3, GBK as 80; where a text had its €, EuroBytes tells, so that it can be written
// back as it came.

#include "core/text_encoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where a text of the GB18030 family first writes € each way (byte offsets); kNone for a way it
// does not use.
struct EuroBytes {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t single = kNone; // the byte 80 of Windows' GBK
    std::size_t pair = kNone;   // GB18030's A2 E3

    bool both() const { return single != kNone && pair != kNone; }
    // The encoding that writes € as the text did: GBK for 80, GB18030 for A2 E3, `otherwise` when
    // it holds no € (or holds both, which no one encoding writes back).
    core::TextEncoding writtenAs(core::TextEncoding otherwise) const;
};

// The common Chinese characters: the first level of GB 2312 (B0A1..D7F9, 3755 characters) and of
// Big5 (A440..C67E, 5401), as ICU reads them. Empty when ICU lacks a converter.
core::CommonHan loadCommonHan();

// Appends `bytes` (without a byte order mark) decoded from `encoding` to `utf8`. False at the
// first invalid or unmapped sequence, with `*badOffset` the byte where it starts. With `euro`, for
// the GB18030 family, where € stands each way (filled only when it returns true).
bool decodeText(std::string_view bytes, core::TextEncoding encoding, std::string &utf8,
                std::size_t *badOffset = nullptr, EuroBytes *euro = nullptr);

// Appends valid UTF-8 `utf8` encoded in `encoding` (without a byte order mark) to `out`. False at
// the first character that has no code in it, with `*badOffset` its byte offset in `utf8`; what
// came before is appended.
bool encodeText(std::string_view utf8, core::TextEncoding encoding, std::string &out,
                std::size_t *badOffset = nullptr);

// `bytes` of a Chinese code page (GB18030, Big5, Big5-HKSCS) decoded as decodeText does, replacing
// `utf8`, with `origin` (replaced) giving for each byte of `utf8` the offset in `bytes` of the
// character it belongs to, and origin[utf8.size()] == bytes.size(). False as decodeText is, and for
// input of 2 GB or more; `euro` as decodeText's.
bool decodeTextMapped(std::string_view bytes, core::TextEncoding encoding, std::string &utf8,
                      std::vector<std::uint32_t> &origin, std::size_t *badOffset = nullptr,
                      EuroBytes *euro = nullptr);

// The codes of GB18030 a page's label lets it use: all, GBK's two-byte ones, or GB 2312's (both
// bytes A1..FE). Other code pages use all of theirs.
enum class CodeRange { All, Gbk, Gb2312 };

// Valid UTF-8 text of markup `utf8` appended to `out` in a Chinese code page (GBK, GB18030, Big5,
// Big5-HKSCS), one character at a time. A character without a code there, or whose code is outside
// `range`, is written as the reference &#xHHHH; when `references` (the place decodes them). Without
// `references`, false at the first character that has no code at all, with `*badOffset` its byte in
// `utf8` (codes outside `range` are then written: browsers read every GBK and GB 2312 label with the
// GB18030 decoder).
bool encodeMarkupText(std::string_view utf8, core::TextEncoding encoding, CodeRange range, bool references,
                      std::string &out, std::size_t *badOffset = nullptr);

// The byte offset in `bytes` (GB18030 or GBK as encodeText writes them) of the first four-byte
// code, which only GB18030 has: Windows' code page 936, which a GBK label names, cannot read it.
// npos when there is none.
std::size_t firstFourByteCode(std::string_view bytes);

// The encoding of a text file, decided as core/text_encoding.h says, on its first `sample` bytes
// for the Chinese code pages. `markSize` is the length of its byte order mark. The GB18030 family
// is found as GB18030; how it writes € shows when it is decoded (EuroBytes).
struct Detection {
    enum class Kind { Found, Undecided, NotText } kind = Kind::Found;
    core::TextEncoding encoding = core::TextEncoding::Utf8;
    std::size_t markSize = 0;
};
Detection detectEncoding(std::string_view bytes, const core::CommonHan &common,
                         std::size_t sample = std::size_t(1) << 20);

} // namespace platform
