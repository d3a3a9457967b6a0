#pragma once
// Encodings of text files: their names, byte order marks, UTF-16 both ways, and the choice between
// the two Chinese code pages that a text without a mark may be in.
//
// How a file's encoding is decided, in this order:
//   - a byte order mark decides (EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE);
//   - else text that is valid UTF-8 is UTF-8;
//   - else it is read both as GB18030 and as Big5 and each reading is scored (scoreReading): the
//     reading made of the common characters of either script wins, the other is full of rare
//     characters, kana, bopomofo, Greek, Cyrillic and private-use codes, because the common ranges
//     of one code page fall on those in the other. A text too short to show it, or whose readings
//     are about as good, is left undecided (chooseChineseEncoding), for the user to name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

enum class TextEncoding {
    Utf8,
    Utf16Le,
    Utf16Be,
    Gb18030,   // also GBK and GB 2312, which it extends; € is A2 E3
    Gbk,       // GBK as Windows writes it (code page 936): GB18030's codes, but € is the single byte
               // 80. Either reads both forms of €; each writes its own.
    Big5,      // Big5 as Windows code page 950 has it
    Big5Hkscs, // Big5 with the Hong Kong supplement
};

// "UTF-8", "UTF-16LE", "UTF-16BE", "GB18030", "GBK", "BIG5", "BIG5-HKSCS".
std::string_view encodingName(TextEncoding encoding);

// The encoding a user names, in any case: those names, UTF8, UTF-16 and UTF16 (little-endian, as
// Windows writes it), UTF-16LE/BE, GB2312 and CP936 (GBK: Windows reads and writes a GB 2312 text
// as code page 936, and browsers write the gb2312 label with the GBK encoder), CP950, BIG5HKSCS.
// nullopt for any other.
std::optional<TextEncoding> encodingByName(std::string_view name);

// The byte order mark `bytes` starts with and its length; nullopt without one. Four bytes
// FF FE 00 00 (UTF-32LE) are not taken for UTF-16.
struct ByteOrderMark {
    TextEncoding encoding;
    std::size_t size;
};
std::optional<ByteOrderMark> byteOrderMark(std::string_view bytes);

// The mark written at the start of a text in `encoding`: UTF-8's, UTF-16's in its byte order;
// empty for the code pages, which have none.
std::string_view byteOrderMarkOf(TextEncoding encoding);

// UTF-16 bytes (without their mark) appended to `utf8`. False at an odd length or an unpaired
// surrogate, with `*badOffset` set to the byte where it is; what comes before is appended.
bool decodeUtf16(std::string_view bytes, bool bigEndian, std::string &utf8, std::size_t *badOffset = nullptr);

// Valid UTF-8 `utf8` appended to `out` as UTF-16 (without a mark).
void encodeUtf16(std::string_view utf8, bool bigEndian, std::string &out);

// Whether `bytes` are UTF-8 damaged rather than text in a code page:
// valid but for a sequence cut at their end, or holding at least two valid multi-byte sequences and
// more than twice as many of them as bad bytes. (Chinese text in GB18030 or Big5, read as UTF-8,
// has several bad bytes for each sequence that happens to be valid.) False for valid UTF-8.
bool looksLikeDamagedUtf8(std::string_view bytes);

// Whether valid UTF-8 `bytes` may just as well be Chinese in a code page whose bytes happen to be
// valid UTF-8 too: GB18030 一 is D2 BB, the Cyrillic һ in UTF-8, and 磨 is C4 A5, ĥ. True when
// every character beyond ASCII is of two bytes (below U+0800: no Chinese character) whose second
// byte is one that GB 2312 and Big5 use for their characters (A1 to BF), at least one
// of them a letter (from U+00C0: a case conversion would change it), and no Latin letter stands
// beside an ASCII letter, as accented letters do inside words (café, Müller; but "ABC一" in GB18030
// reads as ABCһ). Such a text is taken for UTF-8 only when no code page reads it as Chinese.
bool utf8MayBeCodePage(std::string_view bytes);

// The characters counted as common Chinese: a set over the Unified Ideographs U+4E00..U+9FFF,
// filled by the caller (the first levels of GB 2312 and Big5, which hold each script's most
// frequent characters).
class CommonHan {
public:
    static constexpr char32_t kFirst = 0x4E00;
    static constexpr char32_t kEnd = 0xA000;
    void add(char32_t c) {
        if (c >= kFirst && c < kEnd)
            m_bits[(c - kFirst) / 64] |= std::uint64_t(1) << ((c - kFirst) % 64);
    }
    bool contains(char32_t c) const {
        return c >= kFirst && c < kEnd && (m_bits[(c - kFirst) / 64] >> ((c - kFirst) % 64) & 1);
    }

private:
    std::array<std::uint64_t, (kEnd - kFirst + 63) / 64> m_bits{};
};

// What a reading of a text is made of, counting characters beyond ASCII only.
struct ReadingScore {
    std::size_t common = 0;     // common Chinese characters
    std::size_t rare = 0;       // other Unified Ideographs
    std::size_t odd = 0;        // what Chinese text hardly holds: kana, bopomofo, Greek, Cyrillic,
                                // private use, compatibility or extension ideographs, C1 controls
    std::size_t neutral = 0;    // punctuation, full-width forms, symbols, other letters
    std::size_t privateUse = 0; // of the odd ones, private-use codes (where Windows' Big5 puts the
                                // Hong Kong supplement)

    // common - rare - 3 * odd: how much the reading looks like Chinese (can be negative).
    long plausibility() const;
};

// Scores a reading given as UTF-16.
ReadingScore scoreReading(std::u16string_view text, const CommonHan &common);

// The decision between the GB18030 and the Big5 reading of one text; a reading is nullopt when
// the bytes are not valid in that encoding.
enum class ChineseGuess {
    Gb18030,
    Big5,
    Undecided, // too short, or both readings about as plausible: the user names the encoding
    Neither,   // not valid in either encoding, or no reading has a common character that its rare
               // and odd ones do not outweigh: not Chinese text in these encodings
};
// The reading that is plausible (at least two common characters, which outweigh its rare and odd
// ones) wins when it is the only one, or leads the other by at least max(4, one fifth of its
// non-ASCII characters).
ChineseGuess chooseChineseEncoding(const std::optional<ReadingScore> &gb18030,
                                   const std::optional<ReadingScore> &big5);

// The line (from 1) that byte `offset` of `text` lies on.
std::size_t lineOfOffset(std::string_view text, std::size_t offset);

} // namespace core
