#pragma once
// A command of lanternfin-cli is a transform: one input stream to the output, with a status. The
// same runner then gives every command files, standard input, -o FILE and --in-place.

#include "cli/io.h"
#include "platform/message_language.h"

#include <functional>
#include <new>
#include <string>

namespace cli {

// Exit statuses of lanternfin-cli.
constexpr int kExitOk = 0;
constexpr int kExitNoResult = 1; // no result; refused content (encoding untold, character uncodable)
constexpr int kExitUsage = 2;    // bad arguments, invalid UTF-8, missing data file
constexpr int kExitLimit = 3;    // money: amount of 10^16 or more
constexpr int kExitIo = 4;       // a file could not be read (or decoded), written or replaced

// What a transform made of one input. A failure's message is printed as
// "lanternfin-cli: [FILE: ]message" (each line of a message so), or as it stands when `plain` and
// the input is stdin; without "FILE: " when `namesInput` (the message names the input itself).
struct Status {
    int code = kExitOk;
    std::string message;
    bool plain = false;
    bool namesInput = false;
};

// One command's work on one input, built once per run. What it writes before a failure reaches
// stdout but never a file.
using Transform = std::function<Status(Input &in, Writer &out)>;

// Thrown while a transform is built when the command cannot run at all (a missing data file).
struct SetupFailure {
    Status status;
};

inline Status invalidUtf8() {
    return {kExitUsage, platform::say(core::MessageId::InvalidUtf8)};
}

// `transform` with running out of memory (a line of gigabytes without an end, a whole input too
// large to hold) turned into a failure of that input, instead of ending the program at once: a
// temporary file is then removed and the other inputs are still converted.
inline Transform refusingExhaustion(Transform transform) {
    return [transform = std::move(transform)](Input &in, Writer &out) -> Status {
        try {
            return transform(in, out);
        } catch (const std::bad_alloc &) {
            return {kExitIo, platform::say(core::MessageId::OutOfMemory)};
        }
    };
}

inline Status readFailure(const Input &in) {
    return {kExitIo, platform::say(core::MessageId::CannotRead, {errorText(in.error())})};
}

} // namespace cli
