#include "platform/document_file.h"

#include "core/subtitles.h"
#include "core/utf.h"
#include "platform/atomic_file.h"
#include "platform/mapped_file.h"
#include "platform/text_codecs.h"
#include "platform/text_file.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

using core::document::Format;
using core::document::PartKind;

// Index files that name the others ([Content_Types].xml, container.xml, the OPF) are small; one of
// more than this is not an index anyone wrote.
constexpr std::uint64_t kSmallPartLimit = 16u << 20;

// Whole files are read up to this size: a package of 4 GB or more is past ZIP's own limits, and
// its parts past ours.
constexpr std::size_t kMaxFileSize = std::size_t(4) << 30;

DocumentOutcome failure(DocumentStatus status, core::Message message, Format format) {
    return {status, std::move(message), format};
}

DocumentOutcome failure(DocumentStatus status, std::string message, Format format) {
    return {status, core::Message::verbatim(std::move(message)), format};
}

DocumentStatus statusOf(ZipStatus status) {
    switch (status) {
    case ZipStatus::Ok:
        return DocumentStatus::Converted;
    case ZipStatus::Limit:
        return DocumentStatus::Limit;
    case ZipStatus::Cancelled:
        return DocumentStatus::Cancelled;
    case ZipStatus::Damaged:
        return DocumentStatus::Unreadable;
    case ZipStatus::Failed:
        return DocumentStatus::WriteFailed;
    }
    return DocumentStatus::Unreadable;
}

// Plain text converted whole, and subtitles (SubRip, WebVTT, ASS) in their cue text, in any encoding
// the command line reads, and written back in its own encoding with its byte order mark.
DocumentOutcome convertText(std::string_view bytes, std::string &out, Format format, const DocumentJob &job) {
    using Result = TextFileReading::Result;
    std::optional<core::CommonHan> common;
    TextFileReading reading = readTextFile(bytes, std::nullopt, [&]() -> const core::CommonHan & {
        if (!common)
            common = loadCommonHan();
        return *common;
    });
    switch (reading.result) {
    case Result::Ok:
        break;
    case Result::Undecided:
        return failure(DocumentStatus::Refused, {core::MessageId::EncodingUntoldHere}, format);
    case Result::NotText:
        return failure(DocumentStatus::Refused, {core::MessageId::NotChineseText}, format);
    case Result::Invalid:
        return failure(reading.encoding == core::TextEncoding::Utf8 ? DocumentStatus::Refused
                                                                    : DocumentStatus::Unreadable,
                       invalidEncodingMessage(reading), format);
    }
    std::vector<core::Segment> segments;
    std::string converted;
    const core::SubtitleFormat cues = core::detectSubtitles(reading.text);
    if (cues == core::SubtitleFormat::None) {
        job.converter.convert(reading.text, converted, segments);
    } else {
        // Subtitles in their cue text only, as the command line converts them: timings, style names
        // and override tags ({\fn黑体}) stay as they are.
        converted = *core::convertSubtitles(reading.text, cues, [&](std::string_view cue) {
            std::string piece;
            job.converter.convert(cue, piece, segments);
            return std::optional<std::string>(std::move(piece));
        });
    }
    if (converted == reading.text) {
        out.assign(bytes);
        return {DocumentStatus::Unchanged, {}, format};
    }
    std::size_t bad = 0;
    if (!writeTextFile(converted, reading.encoding, reading.markSize > 0, out, &bad))
        return failure(DocumentStatus::Refused, unencodableMessage(converted, bad, reading.encoding), format);
    return {DocumentStatus::Converted, {}, format};
}

DocumentOutcome convertPage(std::string_view bytes, std::string &out, Format format, const DocumentJob &job) {
    const auto outcome = core::document::convertPart(
        bytes, format == Format::Xhtml ? PartKind::Xhtml : PartKind::Html, job.converter, job.options);
    if (!outcome.error.empty())
        return failure(DocumentStatus::Unreadable, outcome.error, format);
    if (!outcome.changed) {
        out.assign(bytes);
        return {DocumentStatus::Unchanged, {}, format};
    }
    out = std::move(outcome.bytes);
    return {DocumentStatus::Converted, {}, format};
}

DocumentOutcome convertPackage(std::string_view bytes, std::string &out, const DocumentJob &job) {
    core::Message why;
    const auto package = ZipPackage::open(bytes, why, job.limits);
    if (!package)
        return failure(DocumentStatus::Unreadable, why, Format::Zip);
    const std::vector<std::string> names = package->names();
    core::Message readWhy;
    ZipStatus readStatus = ZipStatus::Ok;
    const core::document::ReadSmallPart readSmall =
        [&](const std::string &name) -> std::optional<std::string> {
        const long index = package->find(name);
        if (index < 0)
            return std::nullopt;
        if (package->entries()[static_cast<std::size_t>(index)].size > kSmallPartLimit) {
            readStatus = ZipStatus::Limit;
            readWhy = {core::MessageId::IndexPartTooLarge, {name, std::to_string(kSmallPartLimit >> 20)}};
            return std::nullopt;
        }
        std::string part;
        const ZipStatus status = package->read(static_cast<std::size_t>(index), part, why);
        if (status != ZipStatus::Ok) {
            readStatus = status;
            readWhy = why;
            return std::nullopt;
        }
        return part;
    };
    const auto format = core::document::packageFormat(names, readSmall);
    if (readStatus != ZipStatus::Ok)
        return failure(statusOf(readStatus), readWhy, Format::Zip);
    if (!format)
        return failure(DocumentStatus::Unsupported, {core::MessageId::ZipNotDocument}, Format::Zip);
    const auto parts = core::document::textParts(*format, names, readSmall, job.options.fonts);
    if (readStatus != ZipStatus::Ok)
        return failure(statusOf(readStatus), readWhy, *format);

    // Progress counts the parts' declared sizes: converting them is most of the work, writing the
    // package the rest.
    std::uint64_t total = 1, done = 0;
    for (const auto &part : parts)
        total += package->entries()[static_cast<std::size_t>(package->find(part.name))].size;
    auto report = [&](double fraction) { return !job.progress || job.progress(fraction); };

    std::map<std::size_t, std::string> replacements;
    std::string xml;
    for (const auto &part : parts) {
        if (!report(0.8 * static_cast<double>(done) / static_cast<double>(total)))
            return failure(DocumentStatus::Cancelled, {core::MessageId::DocumentCancelled}, *format);
        const auto index = static_cast<std::size_t>(package->find(part.name));
        const ZipStatus status = package->read(index, xml, why);
        if (status != ZipStatus::Ok)
            return failure(statusOf(status), why, *format);
        auto outcome = core::document::convertPart(xml, part.kind, job.converter, job.options);
        if (!outcome.error.empty())
            return failure(DocumentStatus::Unreadable, {core::MessageId::PartWhy, {part.name}, {outcome.error}},
                           *format);
        if (outcome.changed)
            replacements.emplace(index, std::move(outcome.bytes));
        done += package->entries()[index].size;
    }
    xml.clear();
    xml.shrink_to_fit();
    if (replacements.empty()) {
        out.assign(bytes);
        return {DocumentStatus::Unchanged, {}, *format};
    }
    const ZipStatus written =
        package->write(replacements, out, why, [&](double fraction) { return report(0.8 + 0.2 * fraction); });
    if (written != ZipStatus::Ok)
        return failure(statusOf(written), why, *format);
    return {DocumentStatus::Converted, {}, *format};
}

} // namespace

bool isDocument(std::string_view head) {
    const Format format = core::document::sniffFormat(head);
    return format == Format::Zip || format == Format::Ole || format == Format::Html ||
           format == Format::Xhtml;
}

DocumentOutcome convertDocument(std::string_view bytes, std::string &out, const DocumentJob &job) {
    out.clear();
    DocumentOutcome outcome;
    const Format format = core::document::sniffFormat(bytes.substr(0, 4096));
    switch (format) {
    case Format::Ole:
        outcome = failure(DocumentStatus::Unsupported, core::document::oleRefusal(bytes), format);
        break;
    case Format::Zip:
        outcome = convertPackage(bytes, out, job);
        break;
    case Format::Html:
    case Format::Xhtml:
        outcome = convertPage(bytes, out, format, job);
        break;
    default:
        outcome = convertText(bytes, out, format, job);
        break;
    }
    if (!outcome.ok())
        out.clear();
    return outcome;
}

DocumentOutcome convertDocumentFile(const std::string &inPath, const std::string &outPath,
                                    const DocumentJob &job) {
    std::string why;
    const auto input = MappedFile::open(inPath, kMaxFileSize, &why);
    if (!input)
        return failure(DocumentStatus::Unreadable, {core::MessageId::CannotRead, {why}}, Format::PlainText);
    std::string out;
    DocumentOutcome outcome = convertDocument(input->bytes(), out, job);
    if (!outcome.ok())
        return outcome;
    AtomicFile file(outPath);
    if (file.fd() < 0)
        return failure(DocumentStatus::WriteFailed, file.message(), outcome.format);
    std::string_view rest = out;
    while (!rest.empty()) {
        const ssize_t n = ::write(file.fd(), rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            file.discard();
            return failure(DocumentStatus::WriteFailed,
                           {core::MessageId::CannotWrite, {std::strerror(error)}}, outcome.format);
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    if (!file.commit())
        return failure(DocumentStatus::WriteFailed, file.message(), outcome.format);
    return outcome;
}

int exitStatusOf(DocumentStatus status) {
    switch (status) {
    case DocumentStatus::Converted:
    case DocumentStatus::Unchanged:
        return 0;
    case DocumentStatus::Refused:
        return 1;
    case DocumentStatus::Limit:
        return 3;
    case DocumentStatus::Unreadable:
    case DocumentStatus::Unsupported:
    case DocumentStatus::Cancelled:
    case DocumentStatus::WriteFailed:
        return 4;
    }
    return 4;
}

} // namespace platform
