#include "core/text_encoding.h"

#include "core/utf.h"

#include <algorithm>
#include <cctype>

namespace core {

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16Le:
        return "UTF-16LE";
    case TextEncoding::Utf16Be:
        return "UTF-16BE";
    case TextEncoding::Gb18030:
        return "GB18030";
    case TextEncoding::Gbk:
        return "GBK";
    case TextEncoding::Big5:
        return "BIG5";
    case TextEncoding::Big5Hkscs:
        return "BIG5-HKSCS";
    }
    return "UTF-8";
}

std::optional<TextEncoding> encodingByName(std::string_view name) {
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_')
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Alias {
        std::string_view name;
        TextEncoding encoding;
    };
    static constexpr Alias kAliases[] = {
        {"UTF8", TextEncoding::Utf8},           {"UTF16", TextEncoding::Utf16Le},
        {"UTF16LE", TextEncoding::Utf16Le},     {"UTF16BE", TextEncoding::Utf16Be},
        {"GB18030", TextEncoding::Gb18030},     {"GBK", TextEncoding::Gbk},
        {"GB2312", TextEncoding::Gbk},          {"CP936", TextEncoding::Gbk},
        {"BIG5", TextEncoding::Big5},           {"CP950", TextEncoding::Big5},
        {"BIG5HKSCS", TextEncoding::Big5Hkscs},
    };
    for (const auto &alias : kAliases)
        if (alias.name == key)
            return alias.encoding;
    return std::nullopt;
}

std::optional<ByteOrderMark> byteOrderMark(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return ByteOrderMark{TextEncoding::Utf8, 3};
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return ByteOrderMark{TextEncoding::Utf16Be, 2};
    if (bytes.substr(0, 2) == "\xFF\xFE" && bytes.substr(0, 4) != std::string_view("\xFF\xFE\0\0", 4))
        return ByteOrderMark{TextEncoding::Utf16Le, 2};
    return std::nullopt;
}

std::string_view byteOrderMarkOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "\xEF\xBB\xBF";
    case TextEncoding::Utf16Le:
        return "\xFF\xFE";
    case TextEncoding::Utf16Be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

bool decodeUtf16(std::string_view bytes, bool bigEndian, std::string &utf8, std::size_t *badOffset) {
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    };
    const auto fail = [&](std::size_t at) {
        if (badOffset)
            *badOffset = at;
        return false;
    };
    utf8.reserve(utf8.size() + bytes.size() / 2 * 3);
    unsigned char buf[4];
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unitAt(i);
        if (isLowSurrogate(c))
            return fail(i);
        if (isHighSurrogate(c)) {
            if (i + 3 >= bytes.size() || !isLowSurrogate(unitAt(i + 2)))
                return fail(i);
            c = combineSurrogates(c, unitAt(i + 2));
            i += 2;
        }
        utf8.append(reinterpret_cast<const char *>(buf),
                    static_cast<std::size_t>(encodeCodePoint(c, buf) - buf));
    }
    return i == bytes.size() || fail(i);
}

void encodeUtf16(std::string_view utf8, bool bigEndian, std::string &out) {
    out.reserve(out.size() + utf8.size() * 2);
    const auto put = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    forEachCodePoint(utf8, true, [&](char32_t c) {
        if (c >= 0x10000) {
            put(highSurrogateOf(c));
            put(lowSurrogateOf(c));
        } else {
            put(static_cast<char16_t>(c));
        }
    });
}

bool looksLikeDamagedUtf8(std::string_view bytes) {
    if (validUtf8Prefix(bytes, true).ok)
        return false;
    if (validUtf8Prefix(bytes, false).ok)
        return true;
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t good = 0, bad = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t c;
        const int length = decodeUtf8Sequence(s + i, bytes.size() - i, c);
        if (length > 0) {
            ++good;
            i += static_cast<std::size_t>(length);
        } else {
            ++bad;
            ++i;
        }
    }
    return good >= 2 && good > 2 * bad;
}

bool utf8MayBeCodePage(std::string_view bytes) {
    const auto isLetter = [](unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
    const std::size_t n = bytes.size();
    bool letter = false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80)
            continue;
        if (c >= 0xE0 || i + 1 >= n)
            return false;
        // A Latin letter (U+00C0..U+024F) inside a word of ASCII letters: an accent (café).
        if (c <= 0xC9 && ((i > 0 && isLetter(static_cast<unsigned char>(bytes[i - 1]))) ||
                          (i + 2 < n && isLetter(static_cast<unsigned char>(bytes[i + 2])))))
            return false;
        // A trail byte below A1 is no part of a character in GB 2312 or Big5's common ranges:
        // Cyrillic р (D1 80), Greek π (CF 80).
        const auto next = static_cast<unsigned char>(bytes[i + 1]);
        if (next < 0xA1)
            return false;
        // Signs below U+00C0 and × ÷ (¥100, £5, © 2026) are UTF-8 whatever stands around them:
        // no conversion changes them.
        letter = letter || (c > 0xC2 && !(c == 0xC3 && (next == 0x97 || next == 0xB7)));
        ++i;
    }
    return letter;
}

long ReadingScore::plausibility() const {
    return static_cast<long>(common) - static_cast<long>(rare) - 3 * static_cast<long>(odd);
}

namespace {

// Characters that a Chinese text hardly holds but that one code page's common ranges turn into
// when read in the other: GB 2312's rows of kana, Greek and Cyrillic under Big5's common
// characters; Big5's bopomofo under GBK's punctuation; private use under both.
bool isOdd(char32_t c) {
    return (c >= 0x80 && c < 0xA0)         // C1 controls
           || (c >= 0x370 && c < 0x530)    // Greek, Cyrillic
           || (c >= 0x3040 && c < 0x3100)  // kana
           || (c >= 0x3100 && c < 0x3130)  // bopomofo
           || (c >= 0x31A0 && c < 0x3200)  // extended bopomofo, katakana extensions
           || (c >= 0x3400 && c < 0x4DC0)  // extension A ideographs
           || (c >= 0xE000 && c < 0xF900)  // private use
           || (c >= 0xF900 && c < 0xFB00)  // compatibility ideographs
           || (c >= 0xFF61 && c < 0xFFA0)  // half-width katakana
           || (c >= 0xFFF0 && c < 0x10000) // specials, the replacement character
           || c >= 0x10000;                // beyond the basic plane
}

} // namespace

ReadingScore scoreReading(std::u16string_view text, const CommonHan &common) {
    ReadingScore score;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        if (c < 0x80)
            continue;
        if (c >= 0x4E00 && c < 0xA000)
            ++(common.contains(c) ? score.common : score.rare);
        else if (isSurrogate(c) || isOdd(c)) {
            ++score.odd;
            score.privateUse += c >= 0xE000 && c < 0xF900;
        } else
            ++score.neutral;
    }
    return score;
}

ChineseGuess chooseChineseEncoding(const std::optional<ReadingScore> &gb18030,
                                   const std::optional<ReadingScore> &big5) {
    const auto plausible = [](const std::optional<ReadingScore> &r) {
        return r && r->common >= 2 && r->plausibility() > 0;
    };
    const bool gb = plausible(gb18030), b5 = plausible(big5);
    if (!gb && !b5) {
        // A reading with a common character and little against it is Chinese too short to tell.
        const auto possible = [](const std::optional<ReadingScore> &r) {
            return r && r->common >= 1 && r->plausibility() > 0;
        };
        return possible(gb18030) || possible(big5) ? ChineseGuess::Undecided : ChineseGuess::Neither;
    }
    // Only one reading exists at all: it is the text's encoding when it looks like Chinese.
    if (!big5)
        return ChineseGuess::Gb18030;
    if (!gb18030)
        return ChineseGuess::Big5;
    const long g = gb18030->plausibility(), b = big5->plausibility();
    const auto chars = [](const ReadingScore &r) { return long(r.common + r.rare + r.odd + r.neutral); };
    const long margin = std::max(4L, std::max(chars(*gb18030), chars(*big5)) / 5);
    if (gb && g - b >= margin)
        return ChineseGuess::Gb18030;
    if (b5 && b - g >= margin)
        return ChineseGuess::Big5;
    return ChineseGuess::Undecided;
}

std::size_t lineOfOffset(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 +
           static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
}

} // namespace core
