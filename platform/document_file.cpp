#include "platform/document_file.h"

#include "core/document/data_binding.h"
#include "core/document/page_encoding.h"
#include "core/document/run_mapping.h"
#include "core/subtitles.h"
#include "core/utf.h"
#include "platform/atomic_file.h"
#include "platform/folder_mirror.h"
#include "platform/mapped_file.h"
#include "platform/text_codecs.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    case Result::EuroBothWays:
        break; // kept as it is when nothing changes, refused below otherwise
    }
    std::vector<core::Segment> segments;
    std::string converted;
    const core::SubtitleFormat cues = core::detectSubtitles(reading.text);
    if (cues == core::SubtitleFormat::None) {
        job.converter.convert(reading.text, converted, segments);
    } else {
        // Subtitles in their cue text only, as the command line converts them: timings, style names
        // and override tags ({\fn黑体}) stay as they are, and a phrase they part is converted whole.
        converted =
            *core::convertSubtitleCues(reading.text, cues, [&](const std::vector<std::string_view> &pieces) {
                return std::optional<std::vector<std::string>>(
                    core::document::convertedPieces(pieces, job.converter));
            });
    }
    if (converted == reading.text) {
        out.assign(bytes);
        return {DocumentStatus::Unchanged, {}, format};
    }
    if (reading.result == Result::EuroBothWays)
        return failure(DocumentStatus::Refused, euroBothWaysMessage(reading.euro), format);
    std::size_t bad = 0;
    if (!writeTextFileKeeping(converted, bytes, reading, out, &bad))
        return failure(DocumentStatus::Refused, unencodableMessage(converted, bad, reading.encoding), format);
    return {DocumentStatus::Converted, {}, format};
}

// The refusal of character `bad` of `utf8` (a replacement), which `target` has no code for and
// a CDATA section cannot hold as a reference; `line` is where it stands in the page.
core::Message noReferenceMessage(std::string_view utf8, std::size_t bad, core::TextEncoding target,
                                 std::size_t line) {
    core::Message message = unencodableMessage(utf8, bad, target);
    message.id = core::MessageId::PageNoReferenceHere;
    message.args.at(0) = std::to_string(line);
    return message;
}

// How a page in a code page (or in ASCII under a label this program does not read) is written
// back: its own bytes around the changes, each change in its encoding, and a character it has no
// code for as a character reference where the markup decodes them.
struct PageEncoding {
    std::optional<core::TextEncoding> encoding; // nullopt: ASCII, every other character a reference
    CodeRange range = CodeRange::All;           // what its label lets a GB18030 page use
};

// Whether valid UTF-8 `bytes` hold a character of three bytes or more (Chinese is of three).
bool holdsWideUtf8(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xF0) >= 0xE0; });
}

// The changed page: `bytes` (whose characters start where `origin` says, and whose € stand where
// `euro` says) with each edit written in `to`. False with `failed` set when a character can be
// written neither in it nor as a reference, or a € in a page that writes it both ways.
bool writePageEdits(std::string_view bytes, std::string_view text, const std::vector<std::uint32_t> &origin,
                    const std::vector<core::document::PartEdit> &edits, const PageEncoding &to,
                    const EuroBytes &euro, std::string &out, core::Message &failed) {
    out.clear();
    out.reserve(bytes.size() + bytes.size() / 8);
    std::size_t copied = 0;
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    for (const auto &edit : edits) {
        // Should a change cover characters at its ends that stay as they are (a phrase whose length
        // changes is replaced whole), those keep their own bytes: a page labelled gb2312 holds
        // GBK characters as Word wrote them, which must not turn into references.
        const std::string_view was = text.substr(edit.begin, edit.end - edit.begin);
        std::string_view now = edit.bytes;
        std::size_t same = 0;
        while (same < was.size() && same < now.size() && was[same] == now[same])
            ++same;
        while (same > 0 && same < now.size() && continuation(now[same]))
            --same;
        std::size_t tail = 0;
        while (tail < was.size() - same && tail < now.size() - same &&
               was[was.size() - 1 - tail] == now[now.size() - 1 - tail])
            ++tail;
        while (tail > 0 && continuation(now[now.size() - tail]))
            --tail;
        now = now.substr(same, now.size() - same - tail);
        const std::size_t first = edit.begin + same, last = edit.end - tail;
        const std::size_t begin = origin.empty() ? first : origin[first];
        const std::size_t end = origin.empty() ? last : origin[last];
        if (begin < copied)
            continue;
        out.append(bytes.substr(copied, begin - copied));
        copied = end;
        std::size_t bad = 0;
        bool ok = true;
        if (euro.both() && now.find("\xE2\x82\xAC") != std::string_view::npos) {
            // Each € the page keeps keeps its bytes; one written anew would have to take one form.
            failed = euroBothWaysMessage(euro);
            out.clear();
            return false;
        }
        if (to.encoding) {
            ok = encodeMarkupText(now, *to.encoding, to.range, edit.references, out, &bad);
        } else {
            for (std::size_t i = 0; ok && i < now.size();) {
                char32_t c = 0;
                const int length = core::decodeUtf8Sequence(
                    reinterpret_cast<const unsigned char *>(now.data() + i), now.size() - i, c);
                if (length <= 0 || (c >= 0x80 && !edit.references)) {
                    ok = false;
                    bad = i;
                    break;
                }
                if (c < 0x80) {
                    out += static_cast<char>(c);
                } else {
                    char reference[16];
                    std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
                    out += reference;
                }
                i += static_cast<std::size_t>(length);
            }
        }
        if (!ok) {
            failed = noReferenceMessage(now, bad, to.encoding.value_or(core::TextEncoding::Utf8),
                                        core::lineOfOffset(text, first));
            if (!to.encoding)
                failed.args.at(2) = "ASCII";
            out.clear();
            return false;
        }
    }
    out.append(bytes.substr(copied));
    return true;
}

// How a page without a byte order mark is read and written: `codePage` set for a code page (or
// for ASCII under another label), left empty for UTF-8; a refusal when its bytes are not what it
// declares, or when nothing tells its encoding.
std::optional<DocumentOutcome> choosePageEncoding(std::string_view bytes, Format format,
                                                  const core::document::PageDeclaration &declared,
                                                  std::optional<PageEncoding> &codePage) {
    using core::TextEncoding;
    using core::document::PageCharset;
    switch (declared.charset) {
    case PageCharset::Gb2312:
        codePage = PageEncoding{TextEncoding::Gb18030, CodeRange::Gb2312};
        break;
    case PageCharset::Gbk:
        codePage = PageEncoding{TextEncoding::Gb18030, CodeRange::Gbk};
        break;
    case PageCharset::Gb18030:
        codePage = PageEncoding{TextEncoding::Gb18030, CodeRange::All};
        break;
    case PageCharset::Big5:
        codePage = PageEncoding{TextEncoding::Big5, CodeRange::All};
        break;
    case PageCharset::Other:
        // Another encoding's page is converted only when it is all ASCII (its Chinese, if
        // any, in character references, which the converted text is written as too).
        if (!std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
            return failure(DocumentStatus::Refused, {core::MessageId::PageDeclaresOther, {declared.label}},
                           format);
        codePage = PageEncoding{std::nullopt, CodeRange::All};
        break;
    case PageCharset::Utf8:
        if (const auto prefix = core::validUtf8Prefix(bytes, true); !prefix.ok)
            return failure(DocumentStatus::Refused,
                           {core::MessageId::PageContradictsDeclaration,
                            {declared.label, std::to_string(prefix.consumed), "UTF-8"}},
                           format);
        break;
    case PageCharset::None:
        if (core::isValidUtf8(bytes))
            break;
        {
            const auto found = detectEncoding(bytes, loadCommonHan());
            if (found.kind == Detection::Kind::Undecided)
                return failure(DocumentStatus::Refused, {core::MessageId::PageEncodingUntold}, format);
            if (found.kind == Detection::Kind::NotText || found.encoding == TextEncoding::Utf8)
                return failure(DocumentStatus::Refused, {core::MessageId::NotChineseText}, format);
            codePage = PageEncoding{found.encoding, CodeRange::All};
        }
        break;
    }
    if (codePage && codePage->encoding && declared.charset != PageCharset::None && core::isValidUtf8(bytes) &&
        holdsWideUtf8(bytes)) {
        // Re-saved as UTF-8 with the old <meta> left in: Chinese in UTF-8 (three bytes a
        // character) is hardly ever valid GBK or Big5 text as well, and read in what the page
        // declares it would be converted as the mojibake browsers show, and written back so.
        return failure(DocumentStatus::Refused, {core::MessageId::PageIsUtf8, {declared.label}}, format);
    }
    return std::nullopt;
}

// A web page: in UTF-8, or in UTF-16 after its byte order mark (read as UTF-8 and written back in
// its own byte order with its mark, so that what its <meta charset> says stays true), or in the
// Chinese code page its <meta> or XML declaration names (GBK, GB18030, Big5), or, declaring none
// and not being UTF-8, the one its text is told to be in as a text file's is. A page in a code page
// is decoded, converted as a UTF-8 page is, and written back in it with its own bytes around the
// changed text; a character the code page lacks (or its label's range of GB18030: GBK's two-byte
// codes, GB 2312's) becomes a character reference (&#x4E13;).
DocumentOutcome convertPage(std::string_view bytes, std::string &out, Format format, const DocumentJob &job) {
    using core::TextEncoding;
    using core::document::PageCharset;
    std::optional<TextFileReading> wide;
    std::string_view page = bytes;
    const auto mark = core::byteOrderMark(bytes);
    PageEncoding encoding;
    bool codePage = false;
    core::document::PageDeclaration declared;
    if (mark &&
        (mark->encoding == core::TextEncoding::Utf16Le || mark->encoding == core::TextEncoding::Utf16Be)) {
        // Read in the encoding its mark names: nothing is detected, no character table is needed.
        wide = readTextFile(bytes, mark->encoding, {});
        if (wide->result != TextFileReading::Result::Ok)
            return failure(DocumentStatus::Unreadable, invalidEncodingMessage(*wide), format);
        page = wide->text;
    } else if (!mark) {
        declared = core::document::declaredEncoding(bytes, format == Format::Xhtml);
        std::optional<PageEncoding> chosen;
        if (auto refused = choosePageEncoding(bytes, format, declared, chosen))
            return *refused;
        if (chosen) {
            encoding = *chosen;
            codePage = true;
        }
    }
    std::string decoded;
    std::vector<std::uint32_t> origin;
    EuroBytes euro;
    if (codePage && encoding.encoding) {
        std::size_t bad = 0;
        bool ok = decodeTextMapped(bytes, *encoding.encoding, decoded, origin, &bad, &euro);
        if (!ok && *encoding.encoding == TextEncoding::Big5) {
            // Browsers read every Big5 label with the Hong Kong supplement.
            std::size_t badHk = 0;
            ok = decodeTextMapped(bytes, TextEncoding::Big5Hkscs, decoded, origin, &badHk);
            if (ok)
                encoding.encoding = TextEncoding::Big5Hkscs;
        }
        if (!ok) {
            const std::string name(core::encodingName(*encoding.encoding));
            if (declared.charset == PageCharset::None)
                return failure(DocumentStatus::Refused,
                               {core::MessageId::InvalidInEncoding, {name, std::to_string(bad)}}, format);
            return failure(
                DocumentStatus::Refused,
                {core::MessageId::PageContradictsDeclaration,
                 {declared.label, std::to_string(bad), encoding.range != CodeRange::All ? "GBK" : name}},
                format);
        }
        // A page that writes € as 80 (GBK as Windows writes it) has each € written anew so too.
        encoding.encoding = euro.writtenAs(*encoding.encoding);
        page = decoded;
    }
    core::document::PartOptions options = job.options;
    options.listEdits = codePage;
    auto outcome = core::document::convertPart(
        page, format == Format::Xhtml ? PartKind::Xhtml : PartKind::Html, job.converter, options);
    if (!outcome.error.empty())
        return failure(outcome.error.id == core::MessageId::ParagraphTooLong ? DocumentStatus::Limit
                                                                             : DocumentStatus::Unreadable,
                       outcome.error, format);
    if (!outcome.changed) {
        out.assign(bytes);
        return {DocumentStatus::Unchanged, {}, format};
    }
    if (codePage) {
        core::Message why;
        if (!writePageEdits(bytes, page, origin, outcome.edits, encoding, euro, out, why))
            return failure(DocumentStatus::Refused, why, format);
        return {DocumentStatus::Converted, {}, format};
    }
    if (!wide) {
        out = std::move(outcome.bytes);
        return {DocumentStatus::Converted, {}, format};
    }
    std::size_t bad = 0;
    if (!writeTextFile(outcome.bytes, wide->encoding, wide->markSize > 0, out, &bad))
        return failure(DocumentStatus::Refused, unencodableMessage(outcome.bytes, bad, wide->encoding),
                       format);
    return {DocumentStatus::Converted, {}, format};
}

bool writeAll(int fd, std::string_view bytes, int &error) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Where a converted document goes: a string, or a descriptor opened only once there is something
// to write, so that a document refused early never creates its output.
struct Target {
    std::string *bytes = nullptr;
    // The descriptor, written from its current offset; -1 with `failed` set when it cannot be had.
    std::function<int(DocumentOutcome &failed)> open;
    // Set by `open`: the descriptor is a new file of this conversion's own, which a package may be
    // written into directly (seeking back over it) and which is thrown away on failure. Otherwise
    // a package is made in a temporary file first and copied over once it is whole.
    bool scratch = false;
};

DocumentOutcome cannotWrite(int error, Format format) {
    return failure(DocumentStatus::WriteFailed, {core::MessageId::CannotWrite, {std::strerror(error)}},
                   format);
}

// All of `in` given to the target (appended to its string, or written to `fd`),
// a megabyte at a time.
DocumentOutcome copyOut(const ByteSource &in, std::string *bytes, int fd, Format format) {
    if (in.fd < 0 && bytes) {
        bytes->assign(in.bytes);
        return {};
    }
    std::vector<char> buffer(std::size_t(1) << 20);
    for (std::uint64_t at = 0; at < in.size;) {
        const long long n = in.read(at, buffer.data(), buffer.size());
        if (n <= 0)
            return failure(DocumentStatus::Unreadable,
                           {core::MessageId::CannotRead, {std::strerror(n < 0 ? errno : EIO)}}, format);
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(n));
        int error = 0;
        if (bytes)
            bytes->append(piece);
        else if (!writeAll(fd, piece, error))
            return cannotWrite(error, format);
        at += static_cast<std::uint64_t>(n);
    }
    return {};
}

// The outcome of a document converted in memory, its bytes `out` given to the target.
DocumentOutcome deliver(DocumentOutcome outcome, std::string &out, Target &to) {
    if (!outcome.ok())
        return outcome;
    if (to.bytes) {
        *to.bytes = std::move(out);
        return outcome;
    }
    DocumentOutcome failed;
    const int fd = to.open(failed);
    if (fd < 0) {
        failed.format = outcome.format;
        return failed;
    }
    int error = 0;
    if (!writeAll(fd, out, error))
        return cannotWrite(error, outcome.format);
    return outcome;
}

// An unnamed temporary file in $TMPDIR (or /tmp), gone when closed; -1 with errno set.
int unnamedTemporary() {
    const char *dir = std::getenv("TMPDIR");
    if (!dir || !*dir)
        dir = "/tmp";
    const int fd = ::open(dir, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    // A file system without O_TMPFILE: a named file, unlinked at once.
    std::string path = std::string(dir) + "/lanternfin-XXXXXX";
    const int named = ::mkostemp(path.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(path.c_str());
    return named;
}

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

DocumentOutcome convertPackage(const ByteSource &in, Target &to, const DocumentJob &job) {
    core::Message why;
    const auto package = in.fd >= 0 ? ZipPackage::openFile(in.fd, why, job.limits)
                                    : ZipPackage::open(in.bytes, why, job.limits);
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
    auto parts = core::document::textParts(*format, names, readSmall, job.options.fonts);
    // A workbook's header cells stay as its tables and pivot caches name their columns.
    core::document::PartOptions options = job.options;
    options.keptStrings = core::document::columnNames(*format, names, readSmall);
    // And the items a conversion would merge into one item of a pivot cache.
    for (auto &item : core::document::pivotItemsThatWouldMerge(*format, names, readSmall, job.converter))
        options.keptStrings.push_back(std::move(item));
    // Its sheets' names, from a workbook part of any reasonable size: one past the small parts'
    // limit (hundreds of thousands of defined names) leaves them unknown rather than refusing it.
    options.formulaNames = core::document::formulaNames(
        *format, names, [&](const std::string &name) -> std::optional<std::string> {
            const long index = package->find(name);
            if (index >= 0 && package->entries()[static_cast<std::size_t>(index)].size > kSmallPartLimit)
                return std::nullopt;
            return readSmall(name);
        });
    if (readStatus != ZipStatus::Ok)
        return failure(statusOf(readStatus), readWhy, *format);
    // A part read ahead, kept for its turn to be converted (the first one, mostly the largest).
    std::string readAhead;
    std::size_t readAheadIndex = names.size();
    if (*format == Format::Word) {
        // Content controls bound to data show an element of a store, converted with them.
        std::vector<core::document::DataBinding> bindings;
        std::string xml;
        for (const auto &part : parts) {
            if (part.kind != PartKind::WordprocessingText)
                continue;
            const auto index = static_cast<std::size_t>(package->find(part.name));
            const ZipStatus status = package->read(index, xml, why);
            if (status != ZipStatus::Ok)
                return failure(statusOf(status), why, *format);
            core::document::findDataBindings(xml, bindings);
            if (readAheadIndex == names.size()) {
                readAheadIndex = index;
                readAhead = std::move(xml);
                xml = std::string();
            }
        }
        core::document::addBoundParts(parts, names, readSmall, bindings);
        if (readStatus != ZipStatus::Ok)
            return failure(statusOf(readStatus), readWhy, *format);
    } else if (*format == Format::OdfSpreadsheet && package->find("content.xml") >= 0) {
        // Its sheets' names, which formulas may spell out in text, are in the content itself.
        readAheadIndex = static_cast<std::size_t>(package->find("content.xml"));
        const ZipStatus status = package->read(readAheadIndex, readAhead, why);
        if (status != ZipStatus::Ok)
            return failure(statusOf(status), why, *format);
        core::document::addSpreadsheetNames(readAhead, options.formulaNames);
    }

    // Progress counts the parts' declared sizes: converting them is most of the work, writing the
    // package the rest.
    std::uint64_t total = 1, done = 0;
    double written = 0;
    for (const auto &part : parts)
        total += package->entries()[static_cast<std::size_t>(package->find(part.name))].size;
    auto report = [&] {
        return !job.progress ||
               job.progress(0.8 * static_cast<double>(done) / static_cast<double>(total) + 0.2 * written);
    };

    // One part read and converted: `changed` and its new bytes, or a failure.
    std::string xml;
    const auto convertOne = [&](std::size_t index, const core::document::TextPart &part, std::string &bytes,
                                bool &changed, core::Message &failed) {
        if (!report()) {
            failed = core::MessageId::DocumentCancelled;
            return ZipStatus::Cancelled;
        }
        if (index == readAheadIndex) {
            xml = std::move(readAhead);
            readAhead = std::string();
            readAheadIndex = names.size();
        } else if (const ZipStatus status = package->read(index, xml, failed); status != ZipStatus::Ok) {
            return status;
        }
        if (part.kind == PartKind::EmbeddedDocument) {
            // Converted as a document of its own, with the options it was asked with; one that
            // cannot be (damaged, of another kind) stays as it is, as does one inside it.
            done += package->entries()[index].size;
            changed = false;
            if (job.embedded)
                return ZipStatus::Ok;
            const DocumentJob inner{job.converter, job.options, job.limits, {}, true};
            const DocumentOutcome nested = convertDocument(xml, bytes, inner);
            changed = nested.status == DocumentStatus::Converted;
            return ZipStatus::Ok;
        }
        options.boundElements = part.bound;
        // A part in UTF-16 (XML allows it, and some generators write their custom XML so) is
        // converted as UTF-8 and written back in its own byte order, after its mark.
        std::optional<TextFileReading> wide;
        std::string_view source = xml;
        if (const auto mark = core::byteOrderMark(xml);
            mark && (mark->encoding == core::TextEncoding::Utf16Le ||
                     mark->encoding == core::TextEncoding::Utf16Be)) {
            wide = readTextFile(xml, mark->encoding, {});
            if (wide->result != TextFileReading::Result::Ok) {
                failed = {core::MessageId::PartWhy,
                          {package->entries()[index].name},
                          {invalidEncodingMessage(*wide)}};
                return ZipStatus::Damaged;
            }
            source = wide->text;
        }
        auto outcome = core::document::convertPart(source, part.kind, job.converter, options);
        done += package->entries()[index].size;
        if (!outcome.error.empty()) {
            const bool limit = outcome.error.id == core::MessageId::ParagraphTooLong;
            failed = {core::MessageId::PartWhy, {package->entries()[index].name}, {outcome.error}};
            return limit ? ZipStatus::Limit : ZipStatus::Damaged;
        }
        changed = outcome.changed;
        if (changed && wide) {
            std::size_t bad = 0;
            if (!writeTextFile(outcome.bytes, wide->encoding, true, bytes,
                               &bad)) { // UTF-16 writes every character
                failed = {core::MessageId::PartWhy,
                          {package->entries()[index].name},
                          {unencodableMessage(outcome.bytes, bad, wide->encoding)}};
                return ZipStatus::Damaged;
            }
        } else if (changed) {
            bytes = std::move(outcome.bytes);
        }
        return ZipStatus::Ok;
    };

    // The parts converted in turn until one changes: a document that needs no change is known as
    // such without writing anything, and comes out as the same bytes.
    std::size_t first = 0;
    std::string held;
    for (; first < parts.size(); ++first) {
        bool changed = false;
        const auto index = static_cast<std::size_t>(package->find(parts[first].name));
        const ZipStatus status = convertOne(index, parts[first], held, changed, why);
        if (status != ZipStatus::Ok)
            return failure(statusOf(status), why, *format);
        if (changed)
            break;
    }
    // The part read last is let go: the held one and those still to come are memory enough.
    xml = std::string();
    if (first == parts.size()) {
        DocumentOutcome failed;
        const int fd = to.bytes ? -1 : to.open(failed);
        if (!to.bytes && fd < 0) {
            failed.format = *format;
            return failed;
        }
        const DocumentOutcome copied = copyOut(in, to.bytes, fd, *format);
        if (!copied.ok())
            return copied;
        return {DocumentStatus::Unchanged, {}, *format};
    }

    // The rest written with the package, each part converted when its entry's turn comes and let go
    // once written: the first changed part is held until then, the others are never all in memory.
    std::vector<std::size_t> replaced;
    std::map<std::size_t, const core::document::TextPart *> kinds;
    for (std::size_t i = first; i < parts.size(); ++i) {
        const auto index = static_cast<std::size_t>(package->find(parts[i].name));
        if (kinds.emplace(index, &parts[i]).second)
            replaced.push_back(index);
    }
    const std::size_t heldIndex = replaced.front();
    bool heldGiven = false;
    const ZipReplacer replace = [&](std::size_t index, std::string &bytes, bool &changed,
                                    core::Message &failed) {
        if (index == heldIndex && !heldGiven) {
            heldGiven = true;
            bytes = std::move(held);
            held = std::string();
            changed = true;
            return ZipStatus::Ok;
        }
        return convertOne(index, *kinds.at(index), bytes, changed, failed);
    };
    const ZipProgress progress = [&](double fraction) {
        written = fraction;
        return report();
    };
    ZipStatus status = ZipStatus::Ok;
    if (to.bytes) {
        status = package->write(replaced, replace, *to.bytes, why, progress);
    } else {
        DocumentOutcome failed;
        const int fd = to.open(failed);
        if (fd < 0) {
            failed.format = *format;
            return failed;
        }
        if (to.scratch) {
            status = package->write(replaced, replace, fd, why, progress);
        } else {
            // A device, a FIFO or a file of someone else's (standard output): nothing reaches it
            // before the package is whole.
            const Descriptor temporary{unnamedTemporary()};
            if (temporary.fd < 0)
                return cannotWrite(errno, *format);
            status = package->write(replaced, replace, temporary.fd, why, progress);
            if (status == ZipStatus::Ok) {
                const off_t size = ::lseek(temporary.fd, 0, SEEK_CUR);
                if (size < 0)
                    return cannotWrite(errno, *format);
                const DocumentOutcome copied =
                    copyOut({{}, temporary.fd, static_cast<std::uint64_t>(size), {}}, nullptr, fd, *format);
                if (!copied.ok())
                    return copied;
            }
        }
    }
    if (status != ZipStatus::Ok)
        return failure(statusOf(status), why, *format);
    return {DocumentStatus::Converted, {}, *format};
}

// The whole of `in` in memory: its bytes, or the file read into `whole`. False with errno set on a
// read error.
bool wholeOf(const ByteSource &in, std::string &whole, std::string_view &bytes) {
    if (in.fd < 0) {
        bytes = in.bytes;
        return true;
    }
    whole.resize(static_cast<std::size_t>(in.size));
    const long long n = in.read(0, whole.data(), whole.size());
    if (n < 0)
        return false;
    whole.resize(static_cast<std::size_t>(n));
    bytes = whole;
    return true;
}

DocumentOutcome convertSource(const ByteSource &in, Target &to, const DocumentJob &job) {
    char headBytes[4096];
    const long long got = in.read(0, headBytes, sizeof headBytes);
    if (got < 0)
        return failure(DocumentStatus::Unreadable, {core::MessageId::CannotRead, {std::strerror(errno)}},
                       Format::PlainText);
    const Format format =
        core::document::sniffFormat(std::string_view(headBytes, static_cast<std::size_t>(got)));
    if (format == Format::Zip)
        return convertPackage(in, to, job);
    std::string whole, out;
    std::string_view bytes;
    if (!wholeOf(in, whole, bytes))
        return failure(DocumentStatus::Unreadable, {core::MessageId::CannotRead, {std::strerror(errno)}},
                       format);
    switch (format) {
    case Format::Ole:
        return failure(DocumentStatus::Unsupported, core::document::oleRefusal(bytes), format);
    case Format::Html:
    case Format::Xhtml:
        return deliver(convertPage(bytes, out, format, job), out, to);
    default:
        return deliver(convertText(bytes, out, format, job), out, to);
    }
}

} // namespace

bool isDocument(std::string_view head) {
    const Format format = core::document::sniffFormat(head);
    return format == Format::Zip || format == Format::Ole || format == Format::Html ||
           format == Format::Xhtml;
}

DocumentOutcome convertDocument(std::string_view bytes, std::string &out, const DocumentJob &job) {
    out.clear();
    Target to;
    to.bytes = &out;
    const DocumentOutcome outcome = convertSource({bytes, -1, bytes.size(), {}}, to, job);
    if (!outcome.ok())
        out.clear();
    return outcome;
}

DocumentOutcome convertDocumentDescriptor(int in, int out, bool scratch, const DocumentJob &job) {
    struct stat st {};
    if (::fstat(in, &st) != 0)
        return failure(DocumentStatus::Unreadable, {core::MessageId::CannotRead, {std::strerror(errno)}},
                       Format::PlainText);
    if (!S_ISREG(st.st_mode))
        return failure(DocumentStatus::Unreadable, core::MessageId::NotRegularFile, Format::PlainText);
    Target to;
    to.scratch = scratch;
    to.open = [out](DocumentOutcome &) { return out; };
    return convertSource({{}, in, static_cast<std::uint64_t>(st.st_size), {}}, to, job);
}

DocumentOutcome convertDocumentFile(const std::string &inPath, const std::string &outPath,
                                    const DocumentJob &job, const struct stat *listed, FolderSyncs *later,
                                    const std::string &beneath, HeldFolder *held) {
    std::string why;
    std::size_t size = 0;
    const Descriptor input{openDataFile(inPath, kMaxFileSize, size, &why)};
    if (input.fd < 0)
        return failure(DocumentStatus::Unreadable, {core::MessageId::CannotRead, {why}}, Format::PlainText);
    if (listed && !isListedFile(input.fd, *listed))
        return failure(DocumentStatus::Unreadable, {core::MessageId::SourceReplaced}, Format::PlainText);
    std::optional<AtomicFile> file;
    Target to;
    to.open = [&](DocumentOutcome &failed) {
        // The output is a name the caller chose for this file: whatever stands there (a link a
        // neighbour planted beside the original, a FIFO) is replaced, never followed.
        if (held && held->path() == beneath)
            file.emplace(outPath, *held);
        else if (beneath.empty())
            file.emplace(outPath, AtomicFile::LastPart::Replace);
        else
            file.emplace(outPath, beneath);
        if (file->fd() < 0) {
            failed = failure(DocumentStatus::WriteFailed, file->message(), Format::PlainText);
            return -1;
        }
        to.scratch = !file->direct();
        return file->fd();
    };
    const DocumentOutcome outcome = convertSource({{}, input.fd, size, {}}, to, job);
    if (!outcome.ok()) {
        if (file)
            file->discard();
        return outcome;
    }
    if (!file || !file->commit(later))
        return failure(DocumentStatus::WriteFailed, file ? file->message() : std::string(), outcome.format);
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
