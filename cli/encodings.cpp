#include "cli/encodings.h"

#include "core/subtitles.h"
#include "core/text_encoding.h"
#include "core/utf.h"
#include "platform/text_codecs.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace cli {

namespace {

using core::TextEncoding;

// How much of an input is looked at before it goes to a command as UTF-8 as it comes.
constexpr std::size_t kHead = std::size_t(1) << 20;

bool isUtf16(TextEncoding e) {
    return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be;
}

std::string inputName(const Input &in) {
    return in.isStdin() ? "standard input" : in.name();
}

std::optional<TextEncoding> encodingOption(const std::string &option, const std::string &name) {
    if (name.empty())
        return std::nullopt;
    if (const auto encoding = core::encodingByName(name))
        return encoding;
    throw CLI::ValidationError(option,
                               "unknown encoding " + name +
                                   " (UTF-8, UTF-16, UTF-16LE, UTF-16BE, GB18030, BIG5 or BIG5-HKSCS)");
}

// The head of `in`: up to kHead bytes of a file; of a pipe or terminal, what its first read gives,
// so that a stream that trickles in is converted as it comes, as before. `*atEnd` tells whether
// the input ended within it. False on a read error.
bool readHead(Input &in, std::string &head, bool *atEnd) {
    head.resize(kHead);
    std::size_t got = 0;
    *atEnd = false;
    const bool file = in.isRegularFile();
    while (got < kHead) {
        const long n = in.read(head.data() + got, kHead - got);
        if (n < 0)
            return false;
        if (n == 0) {
            *atEnd = true;
            break;
        }
        got += static_cast<std::size_t>(n);
        if (!file)
            break;
    }
    head.resize(got);
    return true;
}

// The command's transform over a text in memory, its output appended to `output`.
Status runOnText(const Transform &inner, const std::string &name, std::string text, std::string &output) {
    Input in(name, std::move(text));
    Writer out(output);
    return inner(in, out);
}

// The refusal of a character at `offset` of `text` that has no code in `target`.
Status unencodable(std::string_view text, std::size_t offset, TextEncoding target) {
    char32_t c = 0xFFFD;
    int length = 0;
    if (offset < text.size())
        length = core::decodeUtf8Sequence(reinterpret_cast<const unsigned char *>(text.data() + offset),
                                          text.size() - offset, c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    const std::string shown =
        length > 0 && c >= 0x20 ? std::string(text.substr(offset, std::size_t(length))) + " " : "";
    return {kExitNoResult, "line " + std::to_string(core::lineOfOffset(text, offset)) + ": " + shown + "(" +
                               code + ") has no code in " + std::string(core::encodingName(target)) +
                               "; nothing written (--to-encoding UTF-8 or GB18030 can write it)"};
}

class EncodedTransform {
public:
    EncodedTransform(Transform inner, std::optional<TextEncoding> from, std::optional<TextEncoding> to,
                     bool subtitles)
        : m_inner(std::move(inner)), m_from(from), m_to(to), m_subtitles(subtitles),
          m_common(std::make_shared<std::optional<core::CommonHan>>()) {}

    Status operator()(Input &in, Writer &out) const {
        std::string head;
        bool whole = false;
        if (!readHead(in, head, &whole))
            return readFailure(in);
        const auto mark = core::byteOrderMark(head);
        const bool utf8Only =
            (!m_from || *m_from == TextEncoding::Utf8) && (!m_to || *m_to == TextEncoding::Utf8);
        if (utf8Only && !mark && core::validUtf8Prefix(head, whole).ok &&
            !(m_subtitles && core::detectSubtitles(head) != core::SubtitleFormat::None)) {
            in.unread(std::move(head));
            return m_inner(in, out);
        }
        std::string bytes = std::move(head);
        if (!whole && !in.readAll(bytes))
            return readFailure(in);
        if (utf8Only && !mark && core::looksLikeDamagedUtf8(bytes))
            return asDamagedUtf8(in, std::move(bytes), out);
        return convertWhole(in, std::move(bytes), mark, out);
    }

private:
    // UTF-8 with a bad byte goes to the command as it always did, which converts and writes what
    // comes before the byte to standard output, then refuses it; a subtitle file is refused whole.
    Status asDamagedUtf8(Input &in, std::string bytes, Writer &out) const {
        if (m_subtitles && core::detectSubtitles(std::string_view(bytes).substr(
                               0, core::validUtf8Prefix(bytes, true).consumed)) != core::SubtitleFormat::None)
            return invalidUtf8();
        in.unread(std::move(bytes));
        return m_inner(in, out);
    }

    Status convertWhole(Input &in, std::string bytes, const std::optional<core::ByteOrderMark> &mark,
                        Writer &out) const {
        TextEncoding encoding = TextEncoding::Utf8;
        std::size_t markSize = 0;
        bool detected = false;
        if (m_from) {
            encoding = *m_from;
            if (mark && (mark->encoding == encoding || (isUtf16(encoding) && isUtf16(mark->encoding)))) {
                encoding = mark->encoding;
                markSize = mark->size;
            }
        } else {
            const auto found = platform::detectEncoding(bytes, common());
            if (found.kind == platform::Detection::Kind::Undecided)
                return {kExitNoResult,
                        "cannot tell the encoding of " + inputName(in) +
                            ": use --from-encoding GB18030 or BIG5",
                        false, true};
            // Neither UTF-8 nor Chinese in a code page: refused as invalid UTF-8 always was.
            if (found.kind == platform::Detection::Kind::NotText)
                return !m_to || *m_to == TextEncoding::Utf8 ? asDamagedUtf8(in, std::move(bytes), out)
                                                            : invalidUtf8();
            encoding = found.encoding;
            markSize = found.markSize;
            detected = true;
        }

        std::string text;
        std::size_t bad = 0;
        const std::string_view body = std::string_view(bytes).substr(markSize);
        bool ok = platform::decodeText(body, encoding, text, &bad);
        if (!ok && detected && encoding == TextEncoding::Big5) {
            // Characters of the Hong Kong supplement beyond the part that was looked at.
            text.clear();
            encoding = TextEncoding::Big5Hkscs;
            ok = platform::decodeText(body, encoding, text, &bad);
        }
        if (!ok)
            return encoding == TextEncoding::Utf8
                       ? invalidUtf8()
                       : Status{kExitIo, "is not valid " + std::string(core::encodingName(encoding)) +
                                             " (byte " + std::to_string(markSize + bad) + ")"};
        bytes = std::string();

        std::string output;
        Status status;
        const auto format = m_subtitles ? core::detectSubtitles(text) : core::SubtitleFormat::None;
        if (format != core::SubtitleFormat::None) {
            auto converted =
                core::convertSubtitles(text, format, [&](std::string_view cue) -> std::optional<std::string> {
                    std::string piece;
                    status = runOnText(m_inner, in.name(), std::string(cue), piece);
                    if (status.code != kExitOk)
                        return std::nullopt;
                    return piece;
                });
            if (!converted)
                return status;
            output = std::move(*converted);
        } else {
            status = runOnText(m_inner, in.name(), std::move(text), output);
        }

        const TextEncoding target = m_to ? *m_to : encoding;
        const bool withMark = m_to ? isUtf16(*m_to) : markSize > 0;
        std::string encoded(withMark ? core::byteOrderMarkOf(target) : std::string_view());
        if (!platform::encodeText(output, target, encoded, &bad))
            return unencodable(output, bad, target);
        out.write(encoded);
        return status;
    }

    const core::CommonHan &common() const {
        if (!*m_common)
            *m_common = platform::loadCommonHan();
        return **m_common;
    }

    Transform m_inner;
    std::optional<TextEncoding> m_from, m_to;
    bool m_subtitles;
    std::shared_ptr<std::optional<core::CommonHan>> m_common; // built when first needed
};

} // namespace

void addEncodingOptions(CLI::App &command, EncodingOptions &options) {
    command
        .add_option(
            "--from-encoding", options.from,
            "the input's encoding: UTF-8, UTF-16 (LE, BE), GB18030 (GBK), BIG5 or BIG5-HKSCS; by default "
            "a byte order mark decides, else UTF-8, else GB18030 or Big5 by which reads as Chinese")
        ->type_name("NAME");
    command
        .add_option(
            "--to-encoding", options.to,
            "the output's encoding, one of the same; by default the input's (with its byte order mark; "
            "GBK written as GB18030)")
        ->type_name("NAME");
}

Transform encodedTransform(Transform inner, const EncodingOptions &options, bool subtitles) {
    return EncodedTransform(std::move(inner), encodingOption("--from-encoding", options.from),
                            encodingOption("--to-encoding", options.to), subtitles);
}

} // namespace cli
