#pragma once
// A tree of folders mirrored into another folder, for every door that converts folders (the
// command line's -O, the window's dropped folders). It lists the tree, tells what each entry is and
// where it goes in the mirror, makes folders and links, copies files byte for byte and gives each
// written file its source's mode; how a text or a document is converted is the door's own step.
//
//   a folder                 made (open to its owner while it fills), walked in name order, its own
//                            permissions given once it is full (finishMirrorFolders)
//   a regular file           its kind (classifyFile): converted by the door, or copied as it is
//   a symbolic link          copied as a link, never followed (one named as a source is followed)
//   a FIFO, socket, device   refused and named: reading one could block or never end
//   two names made one       (names converted) both refused and named, neither written

#include "core/messages.h"
#include "platform/atomic_file.h"

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// What a file is to a mirror: a text the way converts, a document whose text it converts inside
// its format, or something else that is copied as it is.
enum class FileKind { Text, Document, Other };

// `name` is the file's name, `head` its first bytes (`whole`: all of them). The extensions of the
// formats the documents engine converts (.docx, .xlsx, .pptx, .odt, .ods, .odp, .epub) are documents
// (a damaged one is refused, not copied; a .zip or a legacy .doc is another file); known text
// extensions (.txt, .md, .csv, .srt, .html, ...) are text whatever they hold, so that a text in
// another encoding is refused rather than copied unconverted; any other non-empty file is text when
// its head is valid UTF-8 without a NUL byte.
FileKind classifyFile(std::string_view name, std::string_view head, bool whole);

// The last part of `path` ("a/b/" gives "b").
std::string baseName(std::string path);
// Whether `s` is one of `list`.
bool isOneOf(const std::string &s, std::initializer_list<std::string_view> list);

// How many first bytes of a file classifyFile is given.
inline constexpr std::size_t kMirrorHeadSize = 64 << 10;

// Up to head.size() first bytes of the file at `path` into `head`; how many were read (0 when it
// cannot be opened).
std::size_t readHead(const std::string &path, std::string &head);

// The kind of the regular file at `path` (of `size` bytes), by its name and first bytes.
FileKind fileKindOf(const std::string &path, std::uint64_t size);

// One entry of the mirror: what to make at `dst` from `src` (whose lstat, or stat for a source
// named by the user, is `st`).
struct MirrorEntry {
    enum class Type { Folder, File, Link };
    Type type = Type::File;
    std::string src, dst;
    // The output folder `dst` is in: below it, nothing is followed or written by path (openBeneath).
    std::string root;
    // That folder, held for the whole run by every entry of one plan.
    std::shared_ptr<HeldFolder> held;
    struct stat st {};
    // A link's target as the mirror writes it, when names are converted (empty: as it is read).
    std::optional<std::string> linkTarget;
};

// A source the mirror leaves out, and why. `failed`: it could not be read (else it is refused).
struct MirrorProblem {
    std::string path;
    core::Message why;
    bool failed = false;
};

struct MirrorPlan {
    std::vector<MirrorEntry> entries;    // a folder before what it holds
    std::vector<MirrorProblem> problems; // in the order they were found
};

// A name as it is written in the mirror; nullopt when it cannot be converted.
using MirrorNames = std::function<std::optional<std::string>(const std::string &)>;

struct MirrorOptions {
    MirrorNames names; // empty: names kept
    bool skip = false; // a folder never walked (the output folder inside a source)
    dev_t skipDev = 0;
    ino_t skipIno = 0;
    // Told each folder's path once it is listed, before what it holds is looked at: where a test
    // changes the tree as a neighbour might.
    std::function<void(const std::string &folder)> listed;
};

// The mirror of `sources` (a path and its name in `folder`) in `folder`, each folder with all it
// holds, its entries in name order. A source is followed when it is a link; a link found inside a
// folder is an entry of its own. Names (all but ".", ".." and "/") are converted by `names`; two
// sources of one folder whose names become one are both refused.
MirrorPlan planMirror(const std::vector<std::pair<std::string, std::string>> &sources,
                      const std::string &folder, const MirrorOptions &options);

// What is made in the output is made relative to a descriptor of its folder, reached from the
// entry's root without following a link (openBeneath): a folder of the output that someone swaps
// for a link, between the plan and the write or during it, makes that entry fail, and nothing is
// written, linked or given a mode outside the output.

// Makes the folder of `entry` (an existing folder is kept), open to its owner until
// finishMirrorFolders; the empty message when done.
core::Message makeMirrorFolder(const MirrorEntry &entry);

// Makes the link of `entry` again at its target, with the same text (a link there is replaced);
// the empty message when done.
core::Message makeMirrorLink(const MirrorEntry &entry);

// Gives each folder of `entries` its source's permissions, the deepest first.
void finishMirrorFolders(const std::vector<MirrorEntry> &entries);

// Gives the file written for `entry` its source's permission bits, when what stands at its place
// is a regular file (never through a link); for a file written by a step that does not keep them.
void keepMirrorMode(const MirrorEntry &entry);

// The file of `entry` opened for reading as it was listed: without waiting (a FIFO put in its place
// does not hang the run), and only while it is still the file listed, the same device and inode. A
// file that someone with write access to the source swapped for a link to a file of ours, or whose
// folder they swapped, is not read: its text would land in the mirror with their permissions.
// -1 with `why` set otherwise; the descriptor reads blocking.
int openMirrorSource(const MirrorEntry &entry, core::Message &why);
// Whether the file open at `fd` is the one `listed` describes (device and inode).
bool isListedFile(int fd, const struct stat &listed);

// Gives a file about to be committed the permission bits of its source (`st`); nothing for a
// target written directly (a device, a FIFO), whose mode is not ours.
void keepMode(AtomicFile &file, const struct stat &st);

// The file of `entry` copied byte for byte to its target, atomically, with its mode. `progress`
// is told each block's size; false from it cancels and nothing is left. The empty message when
// done; `cancelled` is set when it was cancelled. Its folder is synced by `later` when given.
core::Message copyMirrorFile(const MirrorEntry &entry, const std::function<bool(std::uint64_t)> &progress,
                             bool *cancelled = nullptr, FolderSyncs *later = nullptr);

} // namespace platform
