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

// The characters of a UTF-8 text: where each starts, and the text's end after the last.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() / 2 + 1);
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// Writes `now` (a changed line of the converted text) keeping the file's bytes of each character
// that stands where it stood in `was` (the same line as read, whose character k came from bytes
// [origin[was[k]], origin[was[k + 1]]) of `bytes`). The two are walked together; where they part,
// the nearest place they meet again (two characters alike, at most 8 characters on) ends the
// stretch that is written anew, as a conversion's phrases change a few characters at a time.
bool encodeLineKeeping(std::string_view now, std::string_view wasText,
                       const std::vector<std::uint32_t> &origin, std::size_t wasOffset,
                       std::string_view bytes, TextEncoding encoding, std::string &out,
                       std::size_t *badOffset) {
    const std::vector<std::size_t> a = characterStarts(wasText), b = characterStarts(now);
    const std::size_t na = a.size() - 1, nb = b.size() - 1;
    const auto charA = [&](std::size_t k) { return wasText.substr(a[k], a[k + 1] - a[k]); };
    const auto charB = [&](std::size_t k) { return now.substr(b[k], b[k + 1] - b[k]); };
    const auto meet = [&](std::size_t i, std::size_t j) {
        return i <= na && j <= nb && (i == na ? j == nb : j < nb && charA(i) == charB(j)) &&
               (i + 1 >= na || j + 1 >= nb || charA(i + 1) == charB(j + 1));
    };
    const auto keep = [&](std::size_t k) {
        const std::size_t from = origin[wasOffset + a[k]], to = origin[wasOffset + a[k + 1]];
        out.append(bytes.substr(from, to - from));
    };
    const auto write = [&](std::size_t from, std::size_t to) { // characters [from, to) of `now`
        const std::string_view run = now.substr(b[from], b[to] - b[from]);
        if (std::all_of(run.begin(), run.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            out.append(run); // ASCII is itself in every code page read here
            return true;
        }
        std::size_t bad = 0;
        if (encodeText(run, encoding, out, &bad))
            return true;
        if (badOffset)
            *badOffset = b[from] + bad;
        return false;
    };
    std::size_t i = 0, j = 0;
    while (j < nb) {
        if (i < na && charA(i) == charB(j)) {
            keep(i++);
            ++j;
            continue;
        }
        // The nearest place where the two meet again, both stretches counted.
        std::size_t di = na - i, dj = nb - j;
        bool found = false;
        for (std::size_t d = 1; d <= 16 && !found; ++d)
            for (std::size_t x = 0; x <= d && !found; ++x)
                if (x <= 8 && d - x <= 8 && meet(i + x, j + d - x)) {
                    di = x;
                    dj = d - x;
                    found = true;
                }
        if (!write(j, j + dj))
            return false;
        i += di;
        j += dj;
    }
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
    again = std::string();
    std::string decoded;
    std::vector<std::uint32_t> origin;
    if (!decodeTextMapped(bytes, encoding, decoded, origin) || decoded != reading.text)
        return writeTextFile(utf8, encoding, withMark, out, badOffset);
    // Line by line: a line left as it was is its own bytes again.
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
    const auto oldText = lines(decoded), newText = lines(utf8);
    if (newText.size() != oldText.size())
        return writeTextFile(utf8, encoding, withMark, out, badOffset);
    out.assign(original.substr(0, original.size() - bytes.size()));
    std::size_t wasOffset = 0, nowOffset = 0;
    for (std::size_t k = 0; k < newText.size(); ++k) {
        if (newText[k] == oldText[k]) {
            const std::size_t from = origin[wasOffset], to = origin[wasOffset + oldText[k].size()];
            out.append(bytes.substr(from, to - from));
        } else if (!encodeLineKeeping(newText[k], oldText[k], origin, wasOffset, bytes, encoding, out,
                                      badOffset)) {
            if (badOffset)
                *badOffset += nowOffset;
            out.clear();
            return false;
        }
        wasOffset += oldText[k].size();
        nowOffset += newText[k].size();
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
