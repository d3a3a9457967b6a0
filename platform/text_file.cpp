#include "platform/text_file.h"

#include "core/utf.h"

#include <cstdio>

namespace platform {

namespace {

using core::TextEncoding;

bool isUtf16(TextEncoding e) {
    return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be;
}

std::size_t shifted(std::size_t offset, std::size_t by) {
    return offset == EuroBytes::kNone ? offset : offset + by;
}

} // namespace

TextFileReading readTextFile(std::string_view bytes, std::optional<TextEncoding> from,
                             const CommonHanSource &common) {
    TextFileReading r;
    if (from) {
        r.encoding = *from;
        const auto mark = core::byteOrderMark(bytes);
        if (mark && (mark->encoding == r.encoding || (isUtf16(r.encoding) && isUtf16(mark->encoding)))) {
            r.encoding = mark->encoding;
            r.markSize = mark->size;
        }
    } else {
        const auto found = detectEncoding(bytes, common());
        if (found.kind != Detection::Kind::Found) {
            r.result = found.kind == Detection::Kind::Undecided ? TextFileReading::Result::Undecided
                                                                : TextFileReading::Result::NotText;
            return r;
        }
        r.encoding = found.encoding;
        r.markSize = found.markSize;
        r.detected = true;
    }
    const std::string_view body = bytes.substr(r.markSize);
    std::size_t bad = 0;
    EuroBytes euro;
    bool ok = decodeText(body, r.encoding, r.text, &bad, &euro);
    if (!ok && r.detected && r.encoding == TextEncoding::Big5) {
        // Characters of the Hong Kong supplement beyond the part that was looked at.
        r.text.clear();
        r.encoding = TextEncoding::Big5Hkscs;
        ok = decodeText(body, r.encoding, r.text, &bad);
    }
    if (!ok) {
        r.text.clear();
        r.result = TextFileReading::Result::Invalid;
        r.badOffset = r.markSize + bad;
        return r;
    }
    r.euro = {shifted(euro.single, r.markSize), shifted(euro.pair, r.markSize)};
    if (r.euro.both())
        r.result = TextFileReading::Result::EuroBothWays;
    else
        r.encoding = r.euro.writtenAs(r.encoding);
    return r;
}

bool writeTextFile(std::string_view utf8, TextEncoding target, bool withMark, std::string &out,
                   std::size_t *badOffset) {
    out.assign(withMark ? core::byteOrderMarkOf(target) : std::string_view());
    if (encodeText(utf8, target, out, badOffset))
        return true;
    out.clear();
    return false;
}

core::Message unencodableMessage(std::string_view utf8, std::size_t offset, TextEncoding target) {
    char32_t c = 0xFFFD;
    int length = 0;
    if (offset < utf8.size())
        length = core::decodeUtf8Sequence(reinterpret_cast<const unsigned char *>(utf8.data() + offset),
                                          utf8.size() - offset, c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    const std::string shown =
        length > 0 && c >= 0x20 ? std::string(utf8.substr(offset, std::size_t(length))) + " " : "";
    return {core::MessageId::NoCodeInEncoding,
            {std::to_string(core::lineOfOffset(utf8, offset)), shown + "(" + code + ")",
             std::string(core::encodingName(target))}};
}

core::Message invalidEncodingMessage(const TextFileReading &reading) {
    if (reading.encoding == TextEncoding::Utf8)
        return {core::MessageId::InvalidUtf8};
    return {core::MessageId::InvalidInEncoding,
            {std::string(core::encodingName(reading.encoding)), std::to_string(reading.badOffset)}};
}

core::Message euroBothWaysMessage(const EuroBytes &euro) {
    return {core::MessageId::EuroBothWays, {std::to_string(euro.single), std::to_string(euro.pair)}};
}

} // namespace platform
