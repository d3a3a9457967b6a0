#pragma once
// Text commands on files in any encoding the program reads (UTF-8, UTF-16, GB18030, Big5), and on
// subtitle files: a transform that works on UTF-8 text is wrapped so that
//   - UTF-8 input without a byte order mark goes to it as it comes, streamed (its first megabyte
//     is looked at to tell UTF-8 and subtitles from the rest);
//   - any other input is read whole, decoded to UTF-8 (its encoding named by --from-encoding or
//     detected), converted, and written back in its own encoding with its byte order mark, or in
//     the one --to-encoding names; a character that has no code there is refused with its line,
//     and nothing is written;
//   - with subtitles on, a subtitle file has only its cue text converted.

#include "cli/transform.h"
#include "core/subtitles.h"

#include <functional>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace cli {

struct EncodingOptions {
    std::string from; // --from-encoding; empty: detected
    std::string to;   // --to-encoding; empty: the input's
};

// Adds --from-encoding and --to-encoding to `command`.
void addEncodingOptions(CLI::App &command, EncodingOptions &options);

// Makes, for one input, what turns the pieces of a subtitle cue line that markup parts into their
// results together: a phrase across {\k30} or <i> stays a phrase, a polyphone is read in its word.
using CuePieces = std::function<core::CuePiecesConvert()>;

// `inner` for inputs in every encoding, and, with `subtitles`, converting subtitle files in their
// cue text only: with `cues`, the pieces of a cue line together, else each piece by `inner`.
// Throws CLI::ValidationError for an encoding name it does not know.
Transform encodedTransform(Transform inner, const EncodingOptions &options, bool subtitles,
                           CuePieces cues = {});

} // namespace cli
