#include "phrase_stream.h"

#include "core/utf.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace platform {

Utf8Prefix validUtf8Prefix(std::string_view in, bool final) {
    const core::Utf8DecodeResult r = core::validUtf8Prefix(in, final);
    return {r.consumed, r.ok};
}

namespace {

// Where `text` may be cut in two for converting the halves apart: just after the line break
// nearest its middle where that is safe; 0 when there is none.
std::size_t lineCutNearMiddle(std::string_view text) {
    const std::size_t mid = text.size() / 2;
    for (std::size_t from = mid; from < text.size();) {
        const void *nl = std::memchr(text.data() + from, '\n', text.size() - from);
        if (!nl)
            break;
        const std::size_t cut = static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
        if (core::lineCutIsSafe(text, cut))
            return cut;
        from = cut;
    }
    for (std::size_t to = mid; to > 0;) {
        const void *nl = memrchr(text.data(), '\n', to);
        if (!nl)
            break;
        const std::size_t cut = static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
        if (core::lineCutIsSafe(text, cut))
            return cut;
        to = cut - 1;
    }
    return 0;
}

} // namespace

StreamResult convertStream(const core::PhraseConverter &converter, const StreamRead &read,
                           const StreamWrite &write, std::size_t block) {
    // When lines convert on their own, a block is cut at a line break and its first part converted
    // on a second thread while this one converts the rest.
    // (The count of cores is read from /sys each time it is asked: once is enough for a run of
    // thousands of small files.)
    static const bool cores = std::thread::hardware_concurrency() >= 2;
    const bool twoThreads = converter.linesConvertAlone() && cores;
    // The text is the first `held` bytes of `space` (`room` bytes, left uncleared), so that a block
    // is read into memory already there rather than into bytes cleared first.
    std::unique_ptr<char[]> space;
    std::size_t room = 0, held = 0;
    std::string firstOut, converted;
    std::size_t start = 0; // bytes of the text already converted
    for (;;) {
        // Keep the unconverted rest, then read a block after it; at least as much as was kept, so
        // that text which cannot be cut yet is not scanned again and again.
        if (start > 0 && held > start)
            std::memmove(space.get(), space.get() + start, held - start);
        held -= start;
        start = 0;
        const std::size_t had = held;
        const std::size_t want = std::max(block, had);
        if (room < had + want) {
            // With some slack, as what is kept from one block to the next varies a little.
            room = had + want + (had + want) / 8;
            std::unique_ptr<char[]> bigger(new char[room]);
            if (had > 0)
                std::memcpy(bigger.get(), space.get(), had);
            space = std::move(bigger);
        }
        std::size_t got = 0;
        bool final = false;
        while (got < want) {
            const long n = read(space.get() + had + got, want - got);
            if (n < 0)
                return StreamResult::ReadError;
            if (n == 0) {
                final = true;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        held = had + got;
        const std::string_view buf(space.get(), held);

        const std::size_t cut =
            twoThreads && buf.size() >= (std::size_t(1) << 16) ? lineCutNearMiddle(buf) : 0;
        Utf8Prefix firstPrefix;
        firstOut.clear();
        std::thread first;
        if (cut) {
            first = std::thread([&] {
                const std::string_view part = buf.substr(0, cut);
                firstPrefix = validUtf8Prefix(part, true);
                converter.convert(part.substr(0, firstPrefix.valid), firstOut, true);
            });
        }
        const std::string_view rest = buf.substr(cut);
        const Utf8Prefix prefix = validUtf8Prefix(rest, final);
        converted.clear();
        const std::size_t done =
            converter.convert(rest.substr(0, prefix.valid), converted, final || !prefix.ok);
        if (cut) {
            first.join();
            if (!write(firstOut))
                return StreamResult::WriteError;
            if (!firstPrefix.ok)
                return StreamResult::InvalidUtf8;
        }
        start = cut + done;
        if (!write(converted))
            return StreamResult::WriteError;
        if (!prefix.ok)
            return StreamResult::InvalidUtf8;
        if (final)
            return StreamResult::Ok;
    }
}

StreamResult convertStream(const core::PhraseConverter &converter, std::FILE *in, std::FILE *out,
                           std::size_t block) {
    const StreamResult result = convertStream(
        converter,
        [in](char *data, std::size_t n) -> long {
            const std::size_t got = std::fread(data, 1, n, in);
            return got == 0 && std::ferror(in) ? -1 : static_cast<long>(got);
        },
        [out](std::string_view bytes) {
            return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        },
        block);
    if (std::fflush(out) != 0 && result == StreamResult::Ok)
        return StreamResult::WriteError;
    return result;
}

} // namespace platform
