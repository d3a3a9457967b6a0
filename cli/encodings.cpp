#include "cli/encodings.h"

#include "core/document/xml_part.h"
#include "core/subtitles.h"
#include "core/text_encoding.h"
#include "core/utf.h"
#include "platform/message_language.h"
#include "platform/text_codecs.h"
#include "platform/text_file.h"

#include <CLI/CLI.hpp>

#include <algorithm>
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
    return in.isStdin() ? platform::say(core::MessageId::StandardInput) : in.name();
}

std::optional<TextEncoding> encodingOption(const std::string &option, const std::string &name) {
    if (name.empty())
        return std::nullopt;
    if (const auto encoding = core::encodingByName(name))
        return encoding;
    throw CLI::ValidationError(option, platform::say(core::MessageId::UnknownEncoding, {name}));
}

// The head of `in`: up to kHead bytes of a file; of a pipe or terminal, what its first read gives,
// so that a stream that trickles in is converted as it comes, as before. `*atEnd` tells whether
// the input ended within it. False on a read error.
bool readHead(Input &in, std::string &head, bool *atEnd) {
    // A small file's head is sized by the file (one byte more, to see its end), not cleared to a
    // whole megabyte first: that clearing cost more than converting a folder's small files.
    const long long size = in.knownSize();
    const std::size_t want =
        size >= 0 ? static_cast<std::size_t>(std::min<long long>(static_cast<long long>(kHead), size + 1))
                  : kHead;
    head.resize(want);
    std::size_t got = 0;
    *atEnd = false;
    const bool file = in.isRegularFile();
    while (got < want) {
        const long n = in.read(head.data() + got, want - got);
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

class EncodedTransform {
public:
    EncodedTransform(Transform inner, std::optional<TextEncoding> from, std::optional<TextEncoding> to,
                     bool subtitles, CuePieces cues)
        : m_inner(std::move(inner)), m_from(from), m_to(to), m_subtitles(subtitles), m_cues(std::move(cues)),
          m_common(std::make_shared<std::optional<core::CommonHan>>()) {}

    Status operator()(Input &in, Writer &out) const {
        if (in.decidedText())
            return m_inner(in, out);
        std::string head;
        bool whole = false;
        if (!readHead(in, head, &whole))
            return readFailure(in);
        const auto mark = core::byteOrderMark(head);
        const bool utf8Only =
            (!m_from || *m_from == TextEncoding::Utf8) && (!m_to || *m_to == TextEncoding::Utf8);
        // UTF-8 that a code page may as well have written is left to the detection.
        if (utf8Only && !mark && core::validUtf8Prefix(head, whole).ok && !core::utf8MayBeCodePage(head) &&
            !(m_subtitles && core::detectSubtitles(head) != core::SubtitleFormat::None)) {
            // An input of ASCII alone (or nothing) reads the same in the output's encoding, unless
            // that is UTF-16: it takes on the encoding of the inputs around it.
            const bool ascii = whole && std::all_of(head.begin(), head.end(), [](char c) {
                                   return static_cast<unsigned char>(c) < 0x80;
                               });
            if (ascii && !(out.textEncoding && isUtf16(*out.textEncoding))) {
                out.asciiWritten = out.asciiWritten || !head.empty();
            } else if (auto refused = joined(TextEncoding::Utf8, out)) {
                return *refused;
            }
            in.unread(std::move(head));
            return m_inner(in, out);
        }
        std::string bytes = std::move(head);
        if (!whole && !in.readAll(bytes))
            return readFailure(in);
        if (utf8Only && !mark && core::looksLikeDamagedUtf8(bytes)) {
            if (auto refused = joined(TextEncoding::Utf8, out))
                return *refused;
            return asDamagedUtf8(in, std::move(bytes), out);
        }
        return convertWhole(in, std::move(bytes), out);
    }

private:
    // Inputs joined into one output must be written in one encoding: GBK after UTF-8 made a file
    // that no encoding reads. The refusal of an input in another one than the output so far.
    std::optional<Status> joined(TextEncoding encoding, Writer &out) const {
        // Text of ASCII alone before: UTF-8 as far as UTF-16 is concerned.
        const auto before = out.textEncoding                        ? out.textEncoding
                            : out.asciiWritten && isUtf16(encoding) ? std::optional(TextEncoding::Utf8)
                                                                    : std::nullopt;
        if (before && *before != encoding)
            return Status{kExitNoResult, platform::say(core::MessageId::JoinedInAnotherEncoding,
                                                       {std::string(core::encodingName(encoding)),
                                                        std::string(core::encodingName(*before))})};
        out.textEncoding = encoding;
        return std::nullopt;
    }

    // UTF-8 with a bad byte goes to the command as it always did, which converts and writes what
    // comes before the byte to standard output, then refuses it; a subtitle file is refused whole.
    Status asDamagedUtf8(Input &in, std::string bytes, Writer &out) const {
        if (m_subtitles && core::detectSubtitles(std::string_view(bytes).substr(
                               0, core::validUtf8Prefix(bytes, true).consumed)) != core::SubtitleFormat::None)
            return invalidUtf8();
        in.unread(std::move(bytes));
        return m_inner(in, out);
    }

    Status convertWhole(Input &in, std::string bytes, Writer &out) const {
        using Result = platform::TextFileReading::Result;
        // Named UTF-8 is read as the command reads it, with its own refusal of a bad byte.
        auto reading =
            platform::readTextFile(bytes, m_from, [this]() -> const core::CommonHan & { return common(); });
        switch (reading.result) {
        case Result::Ok:
            break;
        case Result::Undecided:
            return {kExitNoResult, platform::say(core::MessageId::EncodingUntold, {inputName(in)}), false,
                    true};
        case Result::NotText:
            // Neither UTF-8 nor Chinese in a code page: refused as invalid UTF-8 always was.
            return !m_to || *m_to == TextEncoding::Utf8 ? asDamagedUtf8(in, std::move(bytes), out)
                                                        : invalidUtf8();
        case Result::Invalid:
            return reading.encoding == TextEncoding::Utf8
                       ? invalidUtf8()
                       : Status{kExitIo, say(platform::invalidEncodingMessage(reading))};
        case Result::EuroBothWays:
            // Written in an encoding named, each € takes its form; written back, the text can only
            // be kept as it is, when nothing in it changes.
            if (!m_to)
                return keptOrRefused(in, bytes, reading, out);
            break;
        }
        // Written back in its code page, what the conversion leaves keeps the file's own bytes
        // (platform::writeTextFileKeeping): the file and its text are kept until then. An encoding
        // named for the output writes every character its own way (€ as that one writes it).
        const bool keeping = !m_to && reading.encoding != TextEncoding::Utf8 && !isUtf16(reading.encoding);
        if (!keeping)
            bytes = std::string();

        std::string output;
        Status status;
        if (!convertText(in, keeping ? reading.text : std::move(reading.text), output, status))
            return status;
        const TextEncoding target = m_to ? *m_to : reading.encoding;
        // A byte order mark for UTF-16, and where the input had one in the encoding it keeps.
        const bool withMark = m_to ? isUtf16(*m_to) || (*m_to == reading.encoding && reading.markSize > 0)
                                   : reading.markSize > 0;
        std::string encoded;
        std::size_t bad = 0;
        bool written = keeping ? platform::writeTextFileKeeping(output, bytes, reading, encoded, &bad)
                               : platform::writeTextFile(output, target, withMark, encoded, &bad);
        // GBK named for the output, or for the input written back in it, is Windows' code page 936,
        // which has no four-byte codes: a character only GB18030 codes is refused as one without
        // any code.
        const bool codePage936 = m_to ? *m_to == TextEncoding::Gbk : m_from == TextEncoding::Gbk;
        if (written && codePage936)
            if (const std::size_t four = platform::firstFourByteCode(encoded); four != std::string::npos) {
                std::string before;
                platform::decodeText(std::string_view(encoded).substr(0, four), TextEncoding::Gbk, before);
                bad = before.size();
                written = false;
            }
        if (!written)
            return {kExitNoResult,
                    say(platform::unencodableMessage(output, bad, codePage936 ? TextEncoding::Gbk : target)) +
                        platform::say(core::MessageId::ToEncodingHint)};
        const bool first = !out.textEncoding;
        if (auto refused = joined(target, out))
            return *refused;
        // One byte order mark, at the start of the output.
        const std::string_view byteMark = core::byteOrderMarkOf(target);
        if (!first && !byteMark.empty() && std::string_view(encoded).substr(0, byteMark.size()) == byteMark)
            encoded.erase(0, byteMark.size());
        out.write(encoded);
        return status;
    }

    // The command run on `text`, a subtitle file's on its cue text only, its result in `output`.
    // False when it gave none (a cue refused), with `status` saying why.
    bool convertText(Input &in, std::string text, std::string &output, Status &status) const {
        const auto format = m_subtitles ? core::detectSubtitles(text) : core::SubtitleFormat::None;
        if (format == core::SubtitleFormat::None) {
            status = runOnText(m_inner, in.name(), std::move(text), output);
            return true;
        }
        if (m_cues) {
            // A cue line of megabytes (no film has one) goes piece by piece through the plain
            // command, which streams: read together, its pieces would take fifty times their size.
            const core::CuePiecesConvert together = m_cues();
            const auto convert =
                [&](const std::vector<std::string_view> &pieces) -> std::optional<std::vector<std::string>> {
                std::size_t size = 0;
                for (const std::string_view p : pieces)
                    size += p.size();
                if (size <= core::document::kParagraphLimit)
                    return together(pieces);
                std::vector<std::string> out(pieces.size());
                for (std::size_t k = 0; k < pieces.size(); ++k) {
                    status = runOnText(m_inner, in.name(), std::string(pieces[k]), out[k]);
                    if (status.code != kExitOk)
                        return std::nullopt;
                }
                return out;
            };
            auto converted = core::convertSubtitleCues(text, format, convert);
            if (!converted)
                return false;
            output = std::move(*converted);
            return true;
        }
        auto converted =
            core::convertSubtitles(text, format, [&](std::string_view cue) -> std::optional<std::string> {
                std::string piece;
                status = runOnText(m_inner, in.name(), std::string(cue), piece);
                if (status.code != kExitOk)
                    return std::nullopt;
                return piece;
            });
        if (!converted)
            return false;
        output = std::move(*converted);
        return true;
    }

    // A text that writes € both ways, converted: its own `bytes` again when nothing in it changed,
    // else refused with where its € stand.
    Status keptOrRefused(Input &in, const std::string &bytes, const platform::TextFileReading &reading,
                         Writer &out) const {
        std::string output;
        Status status;
        if (!convertText(in, reading.text, output, status))
            return status;
        if (output != reading.text)
            return {kExitNoResult, say(platform::euroBothWaysMessage(reading.euro)) +
                                       platform::say(core::MessageId::EuroBothWaysHint)};
        if (auto refused = joined(reading.encoding, out))
            return *refused;
        out.write(bytes);
        return status;
    }

    static std::string say(const core::Message &message) { return message.in(platform::messageLanguage()); }

    const core::CommonHan &common() const {
        if (!*m_common)
            *m_common = platform::loadCommonHan();
        return **m_common;
    }

    Transform m_inner;
    std::optional<TextEncoding> m_from, m_to;
    bool m_subtitles;
    CuePieces m_cues;
    std::shared_ptr<std::optional<core::CommonHan>> m_common; // built when first needed
};

} // namespace

void addEncodingOptions(CLI::App &command, EncodingOptions &options) {
    command.add_option("--from-encoding", options.from, platform::say(core::MessageId::HelpFromEncoding))
        ->type_name("NAME");
    command.add_option("--to-encoding", options.to, platform::say(core::MessageId::HelpToEncoding))
        ->type_name("NAME");
}

Transform encodedTransform(Transform inner, const EncodingOptions &options, bool subtitles, CuePieces cues) {
    return EncodedTransform(std::move(inner), encodingOption("--from-encoding", options.from),
                            encodingOption("--to-encoding", options.to), subtitles, std::move(cues));
}

} // namespace cli
