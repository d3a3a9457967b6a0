#include "phrase_stream.h"

#include "core/utf.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

namespace platform {

Utf8Prefix validUtf8Prefix(std::string_view in, bool final) {
    const auto s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned b = s[i];
        if (b < 0x80) {
            ++i;
            // Eight ASCII bytes at a time.
            std::uint64_t w;
            while (i + 8 <= n && (std::memcpy(&w, s + i, 8), (w & 0x8080808080808080ull) == 0))
                i += 8;
            continue;
        }
        // Three-byte sequences (all of CJK) checked in place: continuation bytes, no overlong form,
        // no surrogate.
        if (b >= 0xE0 && b <= 0xEF && i + 2 < n) {
            const unsigned b1 = s[i + 1], b2 = s[i + 2];
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && (b != 0xE0 || b1 >= 0xA0) &&
                (b != 0xED || b1 < 0xA0)) {
                i += 3;
                continue;
            }
        }
        char32_t cp;
        const int len = core::decodeUtf8Sequence(s + i, n - i, cp);
        if (len > 0) {
            i += static_cast<std::size_t>(len);
        } else if (len == 0 && !final) {
            return {i, true};
        } else {
            return {i, false};
        }
    }
    return {i, true};
}

namespace {

// Where `text` may be cut in two for converting the halves apart: just after the line break
// nearest its middle; 0 when it holds none.
std::size_t lineCutNearMiddle(std::string_view text) {
    const std::size_t mid = text.size() / 2;
    if (const void *nl = std::memchr(text.data() + mid, '\n', text.size() - mid))
        return static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
    if (const void *nl = memrchr(text.data(), '\n', mid))
        return static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
    return 0;
}

} // namespace

StreamResult convertStream(const core::PhraseConverter &converter, const StreamRead &read,
                           const StreamWrite &write, std::size_t block) {
    // When lines convert on their own, a block is cut at a line break and its first part converted
    // on a second thread while this one converts the rest.
    const bool twoThreads = converter.linesConvertAlone() && std::thread::hardware_concurrency() >= 2;
    std::string buf, firstOut, converted;
    std::size_t start = 0; // bytes of buf already converted
    for (;;) {
        // Keep the unconverted rest, then read a block after it; at least as much as was kept, so
        // that text which cannot be cut yet is not scanned again and again.
        buf.erase(0, start);
        start = 0;
        const std::size_t had = buf.size();
        const std::size_t want = std::max(block, had);
        buf.resize(had + want);
        std::size_t got = 0;
        bool final = false;
        while (got < want) {
            const long n = read(buf.data() + had + got, want - got);
            if (n < 0)
                return StreamResult::ReadError;
            if (n == 0) {
                final = true;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        buf.resize(had + got);

        const std::size_t cut =
            twoThreads && buf.size() >= (std::size_t(1) << 16) ? lineCutNearMiddle(buf) : 0;
        Utf8Prefix firstPrefix;
        firstOut.clear();
        std::thread first;
        if (cut) {
            first = std::thread([&] {
                const std::string_view part = std::string_view(buf).substr(0, cut);
                firstPrefix = validUtf8Prefix(part, true);
                converter.convert(part.substr(0, firstPrefix.valid), firstOut, true);
            });
        }
        const std::string_view rest = std::string_view(buf).substr(cut);
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
