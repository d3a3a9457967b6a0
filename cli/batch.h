#pragma once
// Many files at once: the folders and files of a command line mirrored into an output folder
// (-O DST), each text file converted by the way, each other file copied; files converted by
// several jobs (--jobs), a large text split at line ends across them; progress on a terminal, a
// summary at the end. The same jobs and progress serve a command without -O (standard output,
// -o FILE, --in-place).

#include "cli/command_line.h"
#include "cli/run.h"
#include "platform/folder_mirror.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct BatchOptions {
    bool recursive = false;     // -r: folders among the FILEs, with everything in them
    std::string outputDir;      // -O DST
    bool names = false;         // --names: file and folder names converted too
    unsigned jobs = 0;          // --jobs; 0: one per core
    bool progress = false;      // --progress: shown even when stderr is not a terminal
    bool noProgress = false;    // --no-progress
    bool skipExisting = false;  // --skip-existing: outputs newer than their source are kept
};

// Adds -r, -O, --names, --jobs, --progress, --no-progress and --skip-existing to a text command.
void addBatchOptions(CLI::App &command, BatchOptions &options);

// Whether the way that `command` (as parsed) runs gives, on a text, the outputs of its lines one
// after the other, so that a text may be cut at line ends and its parts converted apart:
//   traditional, simplified, upper, lower       always
//   pinyin --tone/--separator/--initials        always (a word never spans a line break)
//   convert -c NAME                             when no phrase of NAME holds a line break, which
//                                               is so for every configuration OpenCC ships; a cut
//                                               near an ideographic description is still avoided
//   any text command with --lines               always
//   money, date, numerals, pinyin (plain)       never: each reads its whole input as one text
//   any of them with --from-encoding or --to-encoding: never, the text is converted whole in memory
bool splitsAtLines(const CLI::App &command);

// Whether a file whose first megabyte is `head` may be cut into pieces: UTF-8 text that every way
// reads as it is, as the encodings' detection would decide on the same head (no byte order mark,
// valid UTF-8, no subtitles), and no document. Its pieces are then read as that text, each without
// looking again (Input::markDecidedText), so that a piece never reads otherwise than the whole (a
// bad byte a megabyte in is refused, as in the whole, not taken for the start of a GB18030 text).
// A text in another encoding goes whole to one job: UTF-16 cannot even be cut at a 0x0A byte.
bool isSplittableHead(std::string_view head);

// The documents engine's two hooks. Whether the first bytes of a file make it a document (a ZIP
// package, an OLE file, a web page) that a way converts whole, so that it is never cut into pieces;
// and whether the way converts documents (convert, traditional, simplified, upper, lower): with the
// others a document is copied unchanged.
bool isDocumentHead(std::string_view head);
bool convertsDocuments(const CLI::App &command);

// What a file is to the batch, by its name and first bytes: the folder mirror's classifier
// (platform/folder_mirror.h), which the window's folders share.
using FileKind = platform::FileKind;
using platform::classifyFile;

// `name` converted by `transform` as a one-line text; nullopt when the way refuses it or the result
// cannot be a file name (empty, ".", "..", holding '/' or NUL).
std::optional<std::string> convertName(const Transform &transform, const std::string &name);

// Runs a text command: with -O into the output folder, else through runTransform. `first` is the
// transform already built; `make` builds one more per job. Returns the exit status.
// How many converted files each job's committer may hold open while they wait to be flushed
// together, and how many it flushes at once, so that `jobs` jobs stay within `openFiles` open
// files (the soft limit of the process, with room kept for everything else; a file waiting holds
// its folder open too, see AtomicFile's constructor for a folder's files): 128 and 64 where the
// limit allows, fewer with many jobs or a low limit, at least 1 and 1. More files flushed at once
// means fewer waits for the disk.
struct CommitterRoom {
    std::size_t mostWaiting, atOnce;
};
CommitterRoom committerRoom(std::uint64_t openFiles, unsigned jobs);

int runFiles(const Transform &first, const TransformFactory &make, const CLI::App &command,
             const std::vector<std::string> &files, const Destination &to, const BatchOptions &options,
             int outFd, std::ostream &err);

} // namespace cli
