#include "phrase_stream.h"

#include "core/utf.h"

#include <cstring>
#include <string>

namespace platform {

Utf8Prefix validUtf8Prefix(std::string_view in, bool final) {
    const auto s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        // Eight ASCII bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t w;
            std::memcpy(&w, s + i, 8);
            if (w & 0x8080808080808080ull)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        // Three-byte sequences (all of CJK) checked in place: continuation bytes, no overlong form,
        // no surrogate.
        if (s[i] >= 0xE0 && s[i] <= 0xEF && i + 2 < n) {
            const unsigned b = s[i], b1 = s[i + 1], b2 = s[i + 2];
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && (b != 0xE0 || b1 >= 0xA0) && (b != 0xED || b1 < 0xA0)) {
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

StreamResult convertStream(const core::PhraseConverter &converter, std::FILE *in, std::FILE *out,
                           std::size_t block) {
    std::string buf, converted;
    std::size_t start = 0; // bytes of buf already converted
    for (;;) {
        // Keep the unconverted rest, then read a block after it.
        buf.erase(0, start);
        start = 0;
        const std::size_t had = buf.size();
        buf.resize(had + block);
        const std::size_t got = std::fread(buf.data() + had, 1, block, in);
        buf.resize(had + got);
        if (got < block && std::ferror(in))
            return StreamResult::ReadError;
        const bool final = got < block;
        const Utf8Prefix prefix = validUtf8Prefix(buf, final);
        converted.clear();
        const bool stop = final || !prefix.ok;
        start = converter.convert(std::string_view(buf).substr(0, prefix.valid), converted, stop);
        if (std::fwrite(converted.data(), 1, converted.size(), out) != converted.size())
            return StreamResult::WriteError;
        if (!prefix.ok) {
            std::fflush(out);
            return StreamResult::InvalidUtf8;
        }
        if (final)
            return std::fflush(out) == 0 ? StreamResult::Ok : StreamResult::WriteError;
    }
}

} // namespace platform
