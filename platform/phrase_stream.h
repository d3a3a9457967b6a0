#pragma once

// A stream of UTF-8 text through a phrase converter, with memory bounded by the block size.

#include "core/phrase_convert.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string_view>

namespace platform {

enum class StreamResult { Ok, InvalidUtf8, ReadError, WriteError };

// Converts `in` to `out` in blocks of about `block` bytes (two threads share a block when lines
// convert on their own). The output equals the conversion of the whole input at once. Memory stays
// near a few blocks, except where the converter finds no exact place to cut for longer than a
// block (characters gathered between segmentation keys, none of which can pass alone): such a
// stretch is held whole. On invalid UTF-8, the
// text before the bad byte is converted and written as if the input ended there, and InvalidUtf8 returned.
StreamResult convertStream(const core::PhraseConverter &converter, std::FILE *in, std::FILE *out,
                           std::size_t block = std::size_t(1) << 20);

// The same over functions: `read` fills up to n bytes and returns how many (0 at the end, -1 on
// an error); `write` takes the output in order and returns false when it cannot.
using StreamRead = std::function<long(char *data, std::size_t n)>;
using StreamWrite = std::function<bool(std::string_view bytes)>;
StreamResult convertStream(const core::PhraseConverter &converter, const StreamRead &read,
                           const StreamWrite &write, std::size_t block = std::size_t(1) << 20);

// The length of the longest prefix of `in` that is valid UTF-8 and, unless `final`, does not end
// inside a sequence that the bytes to come could complete; `ok` false when a bad byte follows it.
struct Utf8Prefix {
    std::size_t valid = 0;
    bool ok = true;
};
Utf8Prefix validUtf8Prefix(std::string_view in, bool final);

} // namespace platform
