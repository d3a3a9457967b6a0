#pragma once
// Text files in every encoding the program reads (UTF-8, UTF-16, GB18030, Big5, Big5-HKSCS), as the
// command line and the window both convert them: the encoding named or detected, the bytes decoded
// to UTF-8, and the converted text written back in the file's own encoding (with its byte order
// mark) or in another one. What cannot be told, read or written is refused with a message that
// says why.
//
// A text in the GB18030 family comes back with its € as it wrote them: one that holds the byte 80
// for € (GBK as Windows writes it) is read as GBK, one that holds A2 E3 as GB18030. One that holds
// both can be written back as it is only where nothing in it changes: written anew, each € would
// take one encoding's form, and which € was which is not kept.

#include "core/messages.h"
#include "core/text_encoding.h"
#include "platform/text_codecs.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct TextFileReading {
    enum class Result {
        Ok,           // `text` holds the file's text
        Undecided,    // GB18030 and Big5 read equally well, or the text is too short to tell
        NotText,      // neither UTF-8 nor Chinese in a code page
        Invalid,      // not valid in the encoding it was read in (named, or told by a byte order mark)
        EuroBothWays, // GB18030 or GBK writing € both as 80 and as A2 E3: `text` holds its text,
                      // which no encoding writes back as it was (`euro` says where)
    };
    Result result = Result::Ok;
    core::TextEncoding encoding = core::TextEncoding::Utf8; // the one it was read in; for the GB18030
                                                            // family, the one that writes its €
    std::size_t markSize = 0;                               // its byte order mark's length
    bool detected = false;                                  // told from the bytes, not named
    std::size_t badOffset = 0;                              // Invalid: the file's byte where it fails
    EuroBytes euro;                                         // the GB18030 family: the file's bytes
                                                            // where its € first stand, each way
    std::string text;                                       // Ok, EuroBothWays: UTF-8, without the mark
};

// The common characters that tell GB18030 from Big5 (loadCommonHan), asked for only when needed.
using CommonHanSource = std::function<const core::CommonHan &()>;

// `bytes` read in `from` when it is given (a byte order mark of that encoding, or of either UTF-16
// for UTF-16, is skipped and decides the byte order), else in the encoding detectEncoding finds;
// Big5 that turns out to hold the Hong Kong supplement past the part looked at is read as
// Big5-HKSCS, and the GB18030 family as GBK or GB18030 by its €, as named when it holds none.
TextFileReading readTextFile(std::string_view bytes, std::optional<core::TextEncoding> from,
                             const CommonHanSource &common);

// Valid UTF-8 `utf8` in `target`, after its byte order mark when `withMark`, replacing `out`. False
// at a character that has no code there, with `out` empty and `*badOffset` its byte in `utf8`.
bool writeTextFile(std::string_view utf8, core::TextEncoding target, bool withMark, std::string &out,
                   std::size_t *badOffset);

// The converted text `utf8` of the file `original` (its bytes, mark and all), read as `reading`
// says, written back in the encoding it was read in: as writeTextFile, but what the conversion left
// as it was keeps the file's own bytes. A code page that reads two codes as one character (Big5's
// A2CC and A451 both 十, A2A4 and F9F9 both ═) would write them back as one, changing bytes the
// conversion never touched; lines, and characters of a changed line, that stay as they were are
// copied instead.
bool writeTextFileKeeping(std::string_view utf8, std::string_view original, const TextFileReading &reading,
                          std::string &out, std::size_t *badOffset);

// The refusal of the character at byte `offset` of `utf8`, which has no code in `target`: its line,
// the character and its code point, and that nothing was written.
core::Message unencodableMessage(std::string_view utf8, std::size_t offset, core::TextEncoding target);

// The refusal of bytes that are not valid in `reading.encoding`, with the byte where they fail.
core::Message invalidEncodingMessage(const TextFileReading &reading);

// The refusal to write back a text that writes € both ways, with the first byte of each.
core::Message euroBothWaysMessage(const EuroBytes &euro);

} // namespace platform
