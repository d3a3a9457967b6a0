#pragma once
// A whole document converted with one way: its format told from its content, each part that holds
// text converted by the document engine, everything else copied as it is. The one entry point the
// command line, the window and batch runs share.
//
//   Word/Excel/PowerPoint, OpenDocument, EPUB  the package's text parts converted, the others
//                                              copied with their compressed bytes
//   HTML, XHTML                                the page's text (never tags, scripts, addresses), in
//                                              UTF-8, UTF-16, or the GBK, GB18030 or Big5 it
//                                              declares (or is told to be in), written back in it
//   plain text, SubRip, WebVTT                 the text converted whole (cue numbers and timings
//                                              hold nothing to convert), in any encoding the
//                                              command line reads (platform/text_file.h), and
//                                              written back in it
//   ASS subtitles                              Unsupported here: the text path converts them
//   OLE compound file, other ZIP archives      Unsupported, with what the file is and what to do
//
// A document that needs no change comes out byte for byte as it went in.

#include "core/document/format.h"
#include "core/document/segments.h"
#include "core/document/xml_part.h"
#include "core/messages.h"
#include "platform/zip_package.h"

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>

namespace platform {

class FolderSyncs;
class HeldFolder;

enum class DocumentStatus {
    Converted,   // written, some text changed
    Unchanged,   // written, byte for byte the input
    Refused,     // content this program will not convert (encoding untold, a character uncodable)
    Limit,       // a part inflates past the limits
    Unreadable,  // cannot be read, or damaged (a bad ZIP, a part that is not well-formed)
    Unsupported, // not a document this program converts (legacy or encrypted Office, another ZIP)
    Cancelled,   // the progress callback asked to stop; nothing written
    WriteFailed, // the output could not be written; nothing written
};

struct DocumentOutcome {
    DocumentStatus status = DocumentStatus::Unchanged;
    core::Message message; // why it failed, without the file's name ("word/document.xml inflates to ...")
    core::document::Format format = core::document::Format::PlainText;

    bool ok() const { return status == DocumentStatus::Converted || status == DocumentStatus::Unchanged; }
};

// Called with the fraction of the work done (0..1); false cancels it.
using DocumentProgress = std::function<bool(double)>;

struct DocumentJob {
    const core::document::SegmentedConverter &converter;
    core::document::PartOptions options;
    ZipLimits limits;
    DocumentProgress progress;
    // Converting a document embedded in another: the documents embedded in it are left as they are.
    bool embedded = false;
};

// True when the first bytes of a file (`head`, 4 KB are enough) make it a document rather than
// plain text or subtitles: a ZIP package, an OLE file or a web page.
bool isDocument(std::string_view head);

// `bytes` converted into `out` (replaced). On failure `out` is empty.
DocumentOutcome convertDocument(std::string_view bytes, std::string &out, const DocumentJob &job);

// The file at `inPath` converted into the file at `outPath` (which may be the same path), written
// atomically and only when the conversion succeeded; nothing is left behind on failure or
// cancellation. A link, FIFO or device at `outPath` is replaced by the file, never followed. A package is
// read where needed and written straight into the temporary file, its text parts converted one at a time:
// memory follows the largest text part, never the file. With `listed`, the input is read only while it is
// that file (device and inode): a file of a folder replaced since it was listed is refused (Unreadable), see
// openMirrorSource. With `later`, the output's folder is synced by it (once for many files) rather than at
// once. With `beneath` (a mirror's output folder holding `outPath`), no folder below it is followed on the
// way to the output (AtomicFile's constructor for a folder's files); with `held` too, that folder is
// reached through it, held for the whole run.
DocumentOutcome convertDocumentFile(const std::string &inPath, const std::string &outPath,
                                    const DocumentJob &job, const struct stat *listed = nullptr,
                                    FolderSyncs *later = nullptr, const std::string &beneath = {},
                                    HeldFolder *held = nullptr);

// The regular file open at `in` (read with pread, its offset untouched) converted and written to
// `out` from its current offset. With `scratch`, `out` is a new file of the caller's own, which a
// package is written into directly and which the caller throws away on failure; otherwise (standard
// output, a device) a package is made in an unnamed temporary file and copied to `out` once whole,
// so that nothing reaches `out` on failure.
DocumentOutcome convertDocumentDescriptor(int in, int out, bool scratch, const DocumentJob &job);

// The exit status of lanternfin-cli for an outcome: 0, 1 refused, 3 limits, 4 unreadable.
int exitStatusOf(DocumentStatus status);

} // namespace platform
