#include "platform/text_codecs.h"

#include "core/utf.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace platform {

namespace {

using core::TextEncoding;

constexpr std::string_view kEuroUtf8 = "\xE2\x82\xAC";

bool isGbFamily(TextEncoding encoding) {
    return encoding == TextEncoding::Gb18030 || encoding == TextEncoding::Gbk;
}

const char *converterName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Gb18030:
    case TextEncoding::Gbk: // ICU's windows-936 is another table (A2 E3 is private use there)
        return "gb18030";
    case TextEncoding::Big5:
        return "windows-950";
    case TextEncoding::Big5Hkscs:
        return "ibm-1375";
    default:
        return nullptr;
    }
}

struct CloseConverter {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

// Reads the byte 80 that GB18030 lacks as € where it stands alone, as Windows' code page 936 and
// browsers' GBK and GB18030 decoders read it; stops at every other invalid or unmapped sequence, as
// UCNV_TO_U_CALLBACK_STOP does. A trail byte 80 (81 80) is part of a two-byte code and never comes
// here, and neither does one after a fault, since the first fault stops the conversion.
void readLoneEuroByte(const void *, UConverterToUnicodeArgs *args, const char *codeUnits, int32_t length,
                      UConverterCallbackReason reason, UErrorCode *status) {
    if ((reason != UCNV_ILLEGAL && reason != UCNV_UNASSIGNED) || length != 1 || codeUnits[0] != '\x80')
        return;
    *status = U_ZERO_ERROR;
    const UChar euro = 0x20AC;
    ucnv_cbToUWriteUChars(args, &euro, 1, 0, status);
}

// A converter that stops at whatever it cannot convert and never uses a fallback mapping.
Converter openStrict(TextEncoding encoding) {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open(converterName(encoding), &status));
    if (U_FAILURE(status) || !conv)
        return nullptr;
    ucnv_setFallback(conv.get(), false);
    ucnv_setToUCallBack(conv.get(), isGbFamily(encoding) ? readLoneEuroByte : UCNV_TO_U_CALLBACK_STOP,
                        nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(conv) : nullptr;
}

// Where the bytes that stopped `conv` begin in `bytes`, `source` being how far it read.
std::size_t invalidOffset(UConverter *conv, std::string_view bytes, const char *source) {
    char invalid[32];
    int8_t length = sizeof invalid;
    UErrorCode ignored = U_ZERO_ERROR;
    ucnv_getInvalidChars(conv, invalid, &length, &ignored);
    const auto consumed = static_cast<std::size_t>(source - bytes.data());
    return consumed - std::min<std::size_t>(consumed, U_SUCCESS(ignored) ? std::size_t(length) : 0);
}

// `bytes` of a code page as UTF-16. Unless `final`, a character cut by the end is no fault.
bool toUtf16(std::string_view bytes, TextEncoding encoding, bool final, std::u16string &out,
             std::size_t *badOffset) {
    const Converter conv = openStrict(encoding);
    if (!conv) {
        if (badOffset)
            *badOffset = 0;
        return false;
    }
    // No code page of these writes more UTF-16 units than it reads bytes.
    out.resize(bytes.size() + 2);
    UChar *target = reinterpret_cast<UChar *>(out.data());
    const char *source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(conv.get(), &target, target + out.size(), &source, bytes.data() + bytes.size(), nullptr,
                   final, &status);
    out.resize(static_cast<std::size_t>(target - reinterpret_cast<UChar *>(out.data())));
    if (U_SUCCESS(status))
        return true;
    if (badOffset)
        *badOffset = invalidOffset(conv.get(), bytes, source);
    return false;
}

// Where € stands each way in `bytes` of the GB18030 family, which decoded without a fault: so a
// character starts at each step (ASCII and 80 of one byte, a second byte 30..39 making four).
EuroBytes euroBytesOf(std::string_view bytes) {
    EuroBytes euro;
    for (std::size_t i = 0; i < bytes.size() && !euro.both();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b <= 0x80) {
            if (b == 0x80 && euro.single == EuroBytes::kNone)
                euro.single = i;
            ++i;
            continue;
        }
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (b == 0xA2 && next == 0xE3 && euro.pair == EuroBytes::kNone)
            euro.pair = i;
        i += next >= 0x30 && next <= 0x39 ? 4 : 2;
    }
    return euro;
}

} // namespace

TextEncoding EuroBytes::writtenAs(TextEncoding otherwise) const {
    if (both())
        return otherwise;
    if (single != kNone)
        return TextEncoding::Gbk;
    return pair != kNone ? TextEncoding::Gb18030 : otherwise;
}

core::CommonHan loadCommonHan() {
    core::CommonHan common;
    const auto addRange = [&](TextEncoding encoding, unsigned first, unsigned last, unsigned trailLow,
                              unsigned trailHigh) {
        std::string bytes;
        for (unsigned code = first; code <= last; ++code) {
            const unsigned trail = code & 0xFF;
            if (trail < trailLow || trail > trailHigh)
                continue;
            bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(trail);
        }
        std::u16string text;
        if (toUtf16(bytes, encoding, true, text, nullptr) && text.size() * 2 == bytes.size()) {
            for (const char16_t c : text)
                common.add(c);
            return;
        }
        // Each pair on its own, so that one unmapped code does not stop the rest.
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            if (toUtf16(std::string_view(bytes).substr(i, 2), encoding, true, text, nullptr) &&
                text.size() == 1)
                common.add(text[0]);
    };
    // GB 2312 level 1: rows 16..55; Big5 level 1: A440..C67E, trail bytes 40..7E and A1..FE.
    addRange(TextEncoding::Gb18030, 0xB0A1, 0xD7F9, 0xA1, 0xFE);
    addRange(TextEncoding::Big5, 0xA440, 0xC67E, 0x40, 0x7E);
    addRange(TextEncoding::Big5, 0xA4A1, 0xC5FE, 0xA1, 0xFE);
    return common;
}

bool decodeText(std::string_view bytes, TextEncoding encoding, std::string &utf8, std::size_t *badOffset,
                EuroBytes *euro) {
    switch (encoding) {
    case TextEncoding::Utf8: {
        const auto prefix = core::validUtf8Prefix(bytes, true);
        utf8.append(bytes.substr(0, prefix.consumed));
        if (!prefix.ok && badOffset)
            *badOffset = prefix.consumed;
        return prefix.ok;
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return core::decodeUtf16(bytes, encoding == TextEncoding::Utf16Be, utf8, badOffset);
    default: {
        std::u16string text;
        const bool ok = toUtf16(bytes, encoding, true, text, badOffset);
        core::encodeUtf8(text, utf8);
        if (ok && euro && isGbFamily(encoding))
            *euro = text.find(u'\u20AC') != std::u16string::npos ? euroBytesOf(bytes) : EuroBytes{};
        return ok;
    }
    }
}

bool encodeText(std::string_view utf8, TextEncoding encoding, std::string &out, std::size_t *badOffset) {
    switch (encoding) {
    case TextEncoding::Utf8:
        out.append(utf8);
        return true;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        core::encodeUtf16(utf8, encoding == TextEncoding::Utf16Be, out);
        return true;
    case TextEncoding::Gbk:
        // GB18030's bytes between the €s, each € the byte 80 (E2 82 AC is € wherever it stands
        // in valid UTF-8).
        for (std::size_t from = 0;;) {
            const std::size_t at = std::min(utf8.find(kEuroUtf8, from), utf8.size());
            std::size_t bad = 0;
            if (!encodeText(utf8.substr(from, at - from), TextEncoding::Gb18030, out, &bad)) {
                if (badOffset)
                    *badOffset = from + bad;
                return false;
            }
            if (at == utf8.size())
                return true;
            out += '\x80';
            from = at + kEuroUtf8.size();
        }
    default:
        break;
    }
    const auto text = core::utf8ToUtf16(utf8);
    const Converter conv = openStrict(encoding);
    if (!text || !conv) {
        if (badOffset)
            *badOffset = 0;
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start +
               static_cast<std::size_t>(
                   UCNV_GET_MAX_BYTES_FOR_STRING(text->size(), ucnv_getMaxCharSize(conv.get()))) +
               16);
    char *target = out.data() + start;
    const UChar *source = reinterpret_cast<const UChar *>(text->data());
    const UChar *const sourceEnd = source + text->size();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(conv.get(), &target, out.data() + out.size(), &source, sourceEnd, nullptr, true,
                     &status);
    if (U_SUCCESS(status)) {
        out.resize(static_cast<std::size_t>(target - out.data()));
        return true;
    }
    // The converter has consumed the character it stopped at: step back over it, then count the
    // UTF-8 bytes of the units before it.
    std::size_t units = static_cast<std::size_t>(source - reinterpret_cast<const UChar *>(text->data()));
    if (units > 0)
        --units;
    if (units > 0 && core::isLowSurrogate((*text)[units]) && core::isHighSurrogate((*text)[units - 1]))
        --units;
    // What was written may hold the start of the character; write again up to it alone.
    out.resize(start);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < units;) {
        const char32_t c = core::nextCodePoint(*text, i);
        offset += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    }
    encodeText(utf8.substr(0, offset), encoding, out, nullptr);
    if (badOffset)
        *badOffset = offset;
    return false;
}

Detection detectEncoding(std::string_view bytes, const core::CommonHan &common, std::size_t sample) {
    if (const auto mark = core::byteOrderMark(bytes))
        return {Detection::Kind::Found, mark->encoding, mark->size};
    const bool utf8 = core::isValidUtf8(bytes);
    if (utf8 && !core::utf8MayBeCodePage(bytes.substr(0, sample)))
        return {Detection::Kind::Found, TextEncoding::Utf8, 0};

    const bool whole = bytes.size() <= sample;
    const std::string_view part = bytes.substr(0, sample);
    const auto reading = [&](TextEncoding encoding) -> std::optional<core::ReadingScore> {
        std::u16string text;
        if (!toUtf16(part, encoding, whole, text, nullptr))
            return std::nullopt;
        return core::scoreReading(text, common);
    };
    const auto gb = reading(TextEncoding::Gb18030);
    // Windows' Big5 reads the Hong Kong supplement's codes as private use: where they occur, the
    // supplement is what the text is in.
    TextEncoding big5 = TextEncoding::Big5;
    auto b5 = reading(big5);
    if (!b5 || b5->privateUse > 0) {
        if (auto hk = reading(TextEncoding::Big5Hkscs); hk && (!b5 || hk->privateUse < b5->privateUse)) {
            big5 = TextEncoding::Big5Hkscs;
            b5 = hk;
        }
    }
    // Valid UTF-8 that a code page reads as Chinese is in doubt; taken for UTF-8, a GB18030 一
    // came out of upper case as 液 (the Cyrillic һ made Һ).
    if (utf8) {
        const bool chinese = core::chooseChineseEncoding(gb, b5) != core::ChineseGuess::Neither;
        return {chinese ? Detection::Kind::Undecided : Detection::Kind::Found, TextEncoding::Utf8, 0};
    }
    switch (core::chooseChineseEncoding(gb, b5)) {
    case core::ChineseGuess::Gb18030:
        return {Detection::Kind::Found, TextEncoding::Gb18030, 0};
    case core::ChineseGuess::Big5:
        return {Detection::Kind::Found, big5, 0};
    case core::ChineseGuess::Undecided:
        return {Detection::Kind::Undecided, TextEncoding::Utf8, 0};
    case core::ChineseGuess::Neither:
        break;
    }
    return {Detection::Kind::NotText, TextEncoding::Utf8, 0};
}

std::size_t firstFourByteCode(std::string_view bytes) {
    const auto at = [&](std::size_t k) {
        return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0;
    };
    for (std::size_t i = 0; i < bytes.size();) {
        if (at(i) < 0x81)
            ++i;
        else if (at(i + 1) >= 0x30 && at(i + 1) <= 0x39)
            return i;
        else
            i += 2;
    }
    return std::string_view::npos;
}

bool decodeTextMapped(std::string_view bytes, TextEncoding encoding, std::string &utf8,
                      std::vector<std::uint32_t> &origin, std::size_t *badOffset, EuroBytes *euro) {
    utf8.clear();
    origin.clear();
    const Converter conv = converterName(encoding) ? openStrict(encoding) : nullptr;
    if (!conv || bytes.size() >= (std::size_t(1) << 31)) {
        if (badOffset)
            *badOffset = 0;
        return false;
    }
    std::u16string text(bytes.size() + 2, u'\0');
    std::vector<std::int32_t> offsets(text.size());
    UChar *target = reinterpret_cast<UChar *>(text.data());
    const char *source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(conv.get(), &target, target + text.size(), &source, bytes.data() + bytes.size(),
                   offsets.data(), true, &status);
    if (U_FAILURE(status)) {
        if (badOffset)
            *badOffset = invalidOffset(conv.get(), bytes, source);
        return false;
    }
    const auto units = static_cast<std::size_t>(target - reinterpret_cast<UChar *>(text.data()));
    utf8.reserve(units * 3 / 2);
    origin.reserve(units * 3 / 2 + 1);
    for (std::size_t i = 0; i < units;) {
        const std::size_t at = i;
        const char32_t c = core::nextCodePoint(std::u16string_view(text.data(), units), i);
        const std::size_t before = utf8.size();
        core::appendUtf8(c, utf8);
        origin.insert(origin.end(), utf8.size() - before, static_cast<std::uint32_t>(offsets[at]));
    }
    origin.push_back(static_cast<std::uint32_t>(bytes.size()));
    if (euro && isGbFamily(encoding))
        *euro = utf8.find(kEuroUtf8) != std::string::npos ? euroBytesOf(bytes) : EuroBytes{};
    return true;
}

bool encodeMarkupText(std::string_view utf8, TextEncoding encoding, CodeRange range, bool references,
                      std::string &out, std::size_t *badOffset) {
    const Converter conv = converterName(encoding) ? openStrict(encoding) : nullptr;
    if (!conv) {
        if (badOffset)
            *badOffset = 0;
        return false;
    }
    char bytes[16];
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const int length = core::decodeUtf8Sequence(reinterpret_cast<const unsigned char *>(utf8.data() + i),
                                                    utf8.size() - i, c);
        if (length <= 0) {
            if (badOffset)
                *badOffset = i;
            return false;
        }
        if (c == 0x20AC && encoding == TextEncoding::Gbk) { // GBK's € is the byte 80
            out += '\x80';
            i += static_cast<std::size_t>(length);
            continue;
        }
        UChar units[2];
        int count = 0;
        if (c >= 0x10000) {
            units[count++] = static_cast<UChar>(0xD800 + ((c - 0x10000) >> 10));
            units[count++] = static_cast<UChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units[count++] = static_cast<UChar>(c);
        }
        ucnv_resetFromUnicode(conv.get());
        char *target = bytes;
        const UChar *source = units;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_fromUnicode(conv.get(), &target, bytes + sizeof bytes, &source, units + count, nullptr, true,
                         &status);
        const auto written = static_cast<std::size_t>(target - bytes);
        const bool coded = U_SUCCESS(status);
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const bool inRange =
            range == CodeRange::All || written == 1 ||
            (written == 2 && (range == CodeRange::Gbk || (byte(0) >= 0xA1 && byte(1) >= 0xA1)));
        if (coded && (inRange || !references)) {
            out.append(bytes, written);
        } else if (references) {
            char reference[16];
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
            out += reference;
        } else {
            if (badOffset)
                *badOffset = i;
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

} // namespace platform
