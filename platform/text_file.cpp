#include "platform/text_file.h"

#include "core/utf.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

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

namespace {

// The bytes of one changed line: each character that stands where it stood keeps the bytes it was
// read from. Where the line keeps its number of characters, character by character; else the
// characters both ends share.
bool encodeLineKeeping(std::string_view line, std::string_view originalBytes, TextEncoding encoding,
                       std::string &out, std::size_t *badOffset) {
    std::string before;
    std::vector<std::uint32_t> origin;
    if (!decodeTextMapped(originalBytes, encoding, before, origin))
        return encodeText(line, encoding, out, badOffset);
    // The characters of each text as [start, end) byte ranges of its UTF-8.
    const auto characters = [](std::string_view text) {
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
                starts.push_back(i);
        starts.push_back(text.size());
        return starts;
    };
    const std::vector<std::size_t> was = characters(before), now = characters(line);
    const std::size_t nWas = was.size() - 1, nNow = now.size() - 1;
    const auto same = [&](std::size_t a, std::size_t b) {
        return before.substr(was[a], was[a + 1] - was[a]) == line.substr(now[b], now[b + 1] - now[b]);
    };
    const auto keep = [&](std::size_t a) { // the file's bytes of character a of `before`
        out.append(originalBytes.substr(origin[was[a]], origin[was[a + 1]] - origin[was[a]]));
    };
    const auto encode = [&](std::size_t from, std::size_t to) {
        std::size_t bad = 0;
        if (encodeText(line.substr(now[from], now[to] - now[from]), encoding, out, &bad))
            return true;
        if (badOffset)
            *badOffset = now[from] + bad;
        return false;
    };
    if (nWas == nNow) {
        for (std::size_t k = 0; k < nNow; ++k) {
            if (same(k, k))
                keep(k);
            else if (!encode(k, k + 1))
                return false;
        }
        return true;
    }
    std::size_t head = 0, tail = 0;
    while (head < nWas && head < nNow && same(head, head))
        ++head;
    while (tail < nWas - head && tail < nNow - head && same(nWas - 1 - tail, nNow - 1 - tail))
        ++tail;
    for (std::size_t k = 0; k < head; ++k)
        keep(k);
    if (!encode(head, nNow - tail))
        return false;
    for (std::size_t k = nWas - tail; k < nWas; ++k)
        keep(k);
    return true;
}

} // namespace

bool writeTextFileKeeping(std::string_view utf8, std::string_view original, const TextFileReading &reading,
                          std::string &out, std::size_t *badOffset) {
    const TextEncoding encoding = reading.encoding;
    const bool withMark = reading.markSize > 0;
    const std::string_view bytes = original.substr(std::min(reading.markSize, original.size()));
    if (encoding == TextEncoding::Utf8 || isUtf16(encoding))
        return writeTextFile(utf8, encoding, withMark, out, badOffset);
    if (utf8 == reading.text) {
        out.assign(original);
        return true;
    }
    // Most files read back as they were: then nothing of theirs can be lost.
    std::string again;
    if (encodeText(reading.text, encoding, again) && again == bytes)
        return writeTextFile(utf8, encoding, withMark, out, badOffset);
    // Lines end with the byte 0A in every code page read here (no second byte is 0A).
    const auto lines = [](std::string_view text) {
        std::vector<std::string_view> parts;
        for (std::size_t from = 0;;) {
            const std::size_t at = text.find('\n', from);
            if (at == std::string_view::npos) {
                parts.push_back(text.substr(from));
                return parts;
            }
            parts.push_back(text.substr(from, at + 1 - from));
            from = at + 1;
        }
    };
    const auto oldText = lines(reading.text), oldBytes = lines(bytes), newText = lines(utf8);
    if (oldText.size() != oldBytes.size() || newText.size() != oldText.size())
        return writeTextFile(utf8, encoding, withMark, out, badOffset);
    out.assign(original.substr(0, original.size() - bytes.size()));
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < newText.size(); ++i) {
        if (newText[i] == oldText[i]) {
            out.append(oldBytes[i]);
        } else if (!encodeLineKeeping(newText[i], oldBytes[i], encoding, out, badOffset)) {
            if (badOffset)
                *badOffset += lineStart;
            out.clear();
            return false;
        }
        lineStart += newText[i].size();
    }
    return true;
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
