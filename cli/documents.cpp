#include "cli/documents.h"

#include "platform/document_file.h"
#include "platform/message_language.h"

#include <CLI/CLI.hpp>

namespace cli {

namespace {

// ZIP's own limit is 4 GB.
constexpr std::size_t kMaxDocumentSize = std::size_t(4) << 30;

// A converter that keeps what it converts with alive as long as it lives.
template <class Owned, class Converter> class Owning final : public core::document::SegmentedConverter {
public:
    explicit Owning(std::shared_ptr<const Owned> owned) : m_owned(std::move(owned)), m_converter(*m_owned) {}
    void convert(std::string_view utf8, std::string &out,
                 std::vector<core::Segment> &segments) const override {
        m_converter.convert(utf8, out, segments);
    }

private:
    std::shared_ptr<const Owned> m_owned;
    Converter m_converter;
};

} // namespace

std::shared_ptr<const core::document::SegmentedConverter>
codePointDocuments(std::shared_ptr<const core::CodePointMap> map) {
    return std::make_shared<Owning<core::CodePointMap, core::document::CodePointSegmentedConverter>>(
        std::move(map));
}

std::shared_ptr<const core::document::SegmentedConverter>
phraseDocuments(std::shared_ptr<const core::PhraseConverter> converter) {
    return std::make_shared<Owning<core::PhraseConverter, core::document::PhraseSegmentedConverter>>(
        std::move(converter));
}

core::document::PartOptions partOptions(core::document::ScriptDirection direction,
                                        const DocumentOptions &options) {
    core::document::PartOptions part;
    part.direction = direction;
    part.fonts = options.fonts;
    return part;
}

core::document::PartOptions partOptionsOfConfig(const std::string &config, const DocumentOptions &options) {
    auto part = scriptOfConfig(config);
    if (!part) {
        if (options.fonts)
            throw CLI::ValidationError("--fonts",
                                       platform::say(core::MessageId::FontsWithoutDirection, {config}));
        return {};
    }
    part->fonts = options.fonts;
    return *part;
}

Transform withDocuments(Transform text, std::shared_ptr<const core::document::SegmentedConverter> converter,
                        core::document::PartOptions part, bool lines) {
    return [text = std::move(text), converter = std::move(converter), part = std::move(part),
            lines](Input &in, Writer &out) -> Status {
        // Standard input, FIFOs and devices are read as text, as they always were: only a regular
        // file or bytes in memory can be looked at first and then read whole. What decides is the
        // input's own content, never a file that happens to bear its name.
        if (in.isStdin() || !in.isRegularFile() || in.decidedText())
            return text(in, out);
        if (!platform::isDocument(in.head(4096)))
            return text(in, out);
        // A document has no lines to convert one by one: rather than ignore --lines, say so.
        if (lines)
            return {kExitUsage, platform::say(core::MessageId::DocumentLines)};
        const long long size = in.knownSize();
        if (size > static_cast<long long>(kMaxDocumentSize))
            return {kExitIo, platform::say(core::MessageId::DocumentTooLarge)};
        const platform::DocumentJob job{*converter, part, {}, {}};
        const auto failed = [](const platform::DocumentOutcome &outcome) -> Status {
            return {platform::exitStatusOf(outcome.status), outcome.message.in(platform::messageLanguage())};
        };
        // A file to a descriptor: read where needed and written straight out, so that a package
        // is never held whole, in or out.
        if (const int fd = in.untouchedFile(); fd >= 0 && out.fd() >= 0) {
            if (!out.flush())
                return {kExitIo, platform::say(core::MessageId::CannotWrite, {errorText(out.error())})};
            const auto outcome = platform::convertDocumentDescriptor(fd, out.fd(), out.scratch(), job);
            in.countRead(static_cast<std::uint64_t>(size));
            return outcome.ok() ? Status{} : failed(outcome);
        }
        std::string bytes;
        if (!in.readAll(bytes))
            return readFailure(in);
        std::string converted;
        const auto outcome = platform::convertDocument(bytes, converted, job);
        if (!outcome.ok())
            return failed(outcome);
        out.write(converted);
        return {};
    };
}

std::optional<core::document::PartOptions> scriptOfConfig(const std::string &config) {
    std::string name = config.substr(config.find_last_of('/') + 1);
    if (name.size() > 5 && name.substr(name.size() - 5) == ".json")
        name.resize(name.size() - 5);
    const std::size_t two = name.find('2');
    if (two == std::string::npos)
        return std::nullopt;
    const std::string from = name.substr(0, two), to = name.substr(two + 1);
    core::document::PartOptions options;
    if (to == "t" || to == "tw" || to == "twp" || to == "hk") {
        options.direction = core::document::ScriptDirection::ToTraditional;
        options.traditionalLanguage = to == "hk" ? "zh-HK" : "zh-TW";
        return from == "s" ? std::optional(options) : std::nullopt;
    }
    if (to == "s" || to == "sp") {
        options.direction = core::document::ScriptDirection::ToSimplified;
        return from == "t" || from == "tw" || from == "hk" ? std::optional(options) : std::nullopt;
    }
    return std::nullopt;
}

void addFontsOption(CLI::App &command, DocumentOptions &options) {
    command.add_flag("--fonts", options.fonts, platform::say(core::MessageId::HelpFonts));
}

} // namespace cli
