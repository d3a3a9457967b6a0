#pragma once

// Pinyin of Chinese characters without a dictionary of characters: the first-level block of
// GB2312 (code page 936 codes 0xB0A1 to 0xD7F9) is sorted by pinyin, so a table of the code at
// which each syllable's characters begin gives the syllable of every character in the block.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "utf.h"

namespace core {

// The character code of every UTF-16 unit: its code page 936 encoding read as a signed 16-bit
// number (one byte: the byte; two bytes: lead * 256 + trail - 65536, always negative; a unit the
// code page cannot encode: 63, the question mark). Filled by the platform's code page converter.
struct CharCodeTable {
    std::array<std::int16_t, 65536> code{};
    // The unit that one byte 1..159 decodes to ('?' where the byte is no character by itself).
    std::array<char16_t, 160> singleByte{};
};

// One entry of the syllable table: the syllable (first letter capital, no tone) and the
// character code of the first character read with it.
struct Syllable {
    std::u16string_view name;
    std::int16_t number;
};

// The 396 syllables in insertion order, strictly ascending by number, A -20319 to Zuo -10254.
std::span<const Syllable> Initdictinary();

// What one character code gives: codes 1..159 the one-byte character itself; codes -20319 to
// -10247 the syllable of the entry with the greatest number not above the code; every other
// code (0, 160 and above, the rest of the two-byte codes) the empty text.
std::u16string_view g(std::int16_t code, const CharCodeTable &codes);

// g of every UTF-16 unit's code, worked out once (about a millisecond), so that the pinyin of a
// long text costs one table lookup per unit. Gives the same texts as g, as UTF-16 and as UTF-8.
class PinyinTable {
public:
    explicit PinyinTable(const CharCodeTable &codes);

    std::u16string_view of(char16_t unit) const { return m_u16[m_token[unit]]; }
    std::string_view utf8Of(char16_t unit) const {
        const Utf8Slot &slot = m_utf8[m_token[unit]];
        return {slot.bytes.data(), slot.length};
    }

    // The UTF-8 of a unit in an 8-byte slot, so that it can be copied with one fixed-size move.
    struct Utf8Slot {
        std::array<char, 8> bytes{};
        std::size_t length = 0;
    };
    const Utf8Slot &utf8SlotOf(char16_t unit) const { return m_utf8[m_token[unit]]; }

private:
    std::array<std::uint16_t, 65536> m_token{};
    std::u16string m_u16Pool;
    std::vector<std::u16string_view> m_u16;
    std::vector<Utf8Slot> m_utf8;
};

// The pinyin of `text`: g of each UTF-16 unit's code, joined without separators
// (我爱Beijing 2008！ -> WoAiBeijing 2008).
std::u16string c(std::u16string_view text, const PinyinTable &table);

// Appends c(text) to `out`.
void appendPinyin(std::u16string_view text, const PinyinTable &table, std::u16string &out);

// The pinyin of UTF-8 text appended to `out` as UTF-8, with the strict decoding of decodeUtf8
// (a code point beyond U+FFFF is two units, each giving "?"). On a bad byte, the result says
// where decoding stopped.
Utf8DecodeResult appendPinyinUtf8(std::string_view text, const PinyinTable &table, std::string &out);

// `text` without the U+0020 spaces at both ends (tabs and line breaks stay).
std::u16string_view trimSpaces(std::u16string_view text);

// What the pinyin command makes of the workspace text T: T, a line break "\n", and the pinyin
// of T trimmed of spaces at both ends. An empty workspace becomes "\n".
std::u16string pinyinCommandText(std::u16string_view workspace, const PinyinTable &table);

} // namespace core
