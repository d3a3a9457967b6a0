#pragma once
// Documents on the command line: a file whose content makes it a document (Word, Excel, PowerPoint,
// OpenDocument, EPUB, a web page; a legacy or encrypted Office file, refused) is converted whole by
// the document engine; anything else goes to the command's text transform as before.

#include "cli/transform.h"
#include "core/document/segments.h"
#include "core/document/xml_part.h"

#include <memory>
#include <optional>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace cli {

struct DocumentOptions {
    bool fonts = false; // --fonts
};

// `text` for text inputs (standard input always), and for a named file that is a document its
// conversion by `converter` with `part`, written to the output only when it succeeded: exit 1
// refused content, 3 a part past the limits, 4 unreadable, damaged or not a supported document.
// With `lines` (--lines, which converts text line by line) a document is refused (exit 2).
Transform withDocuments(Transform text, std::shared_ptr<const core::document::SegmentedConverter> converter,
                        core::document::PartOptions part, bool lines = false);

// The direction of a configuration by its usual name (s2t, s2twp, t2s, tw2sp, hk2s, ...; a path's
// file name counts), for the names that follow the script; nullopt when the name does not say.
std::optional<core::document::PartOptions> scriptOfConfig(const std::string &config);

// Segmented converters that own what they convert with, for withDocuments.
std::shared_ptr<const core::document::SegmentedConverter>
codePointDocuments(std::shared_ptr<const core::CodePointMap> map);
std::shared_ptr<const core::document::SegmentedConverter>
phraseDocuments(std::shared_ptr<const core::PhraseConverter> converter);

// The part options of a command: its direction, fonts only when --fonts was given. A convert
// configuration whose direction its name does not tell cannot map fonts (a usage error).
core::document::PartOptions partOptions(core::document::ScriptDirection direction,
                                        const DocumentOptions &options);
core::document::PartOptions partOptionsOfConfig(const std::string &config, const DocumentOptions &options);

// Adds --fonts to `command`.
void addFontsOption(CLI::App &command, DocumentOptions &options);

} // namespace cli
