// lanternfin-cli's UTF-8 decoding: valid input round-trips, chunked decoding agrees with whole
// decoding, the fused conversion agrees with decode + map + encode, the valid prefix that streamed
// conversion checks agrees with decoding, nothing reads past the end.

#include "core/text_convert.h"
#include "core/utf.h"
#include "fuzz_support.h"
#include "platform/phrase_stream.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // An exact-size copy, so that a read past the end is caught.
    const std::vector<char> bytes(data, data + size);
    const std::string_view in(bytes.data(), bytes.size());
    std::u16string whole;
    const auto r = core::decodeUtf8(in, whole, true);
    fuzz::check(r.consumed <= size, "consumed within the input");
    if (r.ok) {
        fuzz::check(r.consumed == size, "all consumed");
        fuzz::check(core::utf16ToUtf8(whole) == std::string(in), "round trip");
    }
    // Chunks of 7 bytes, the cut sequence carried over.
    std::u16string chunked;
    std::string carry;
    bool ok = true;
    for (std::size_t pos = 0; pos < size && ok; pos += 7) {
        carry.append(in.substr(pos, 7));
        const bool final = pos + 7 >= size;
        const auto c = core::decodeUtf8(carry, chunked, final);
        ok = c.ok;
        carry.erase(0, c.consumed);
    }
    if (size > 0)
        fuzz::check(ok == r.ok, "chunked validity agrees");
    if (ok && size > 0)
        fuzz::check(chunked == whole, "chunked decoding agrees");
    // The fused path with a small mapping.
    core::CodePointMap map;
    map.set(U'a', U'\U00010400');
    map.set(U'é', U'E');
    std::string fused;
    const auto f = core::mapUtf8(in, map, fused, true);
    fuzz::check(f.ok == r.ok && (!r.ok || f.consumed == r.consumed), "fused validity agrees");
    if (f.ok)
        fuzz::check(fused == core::utf16ToUtf8(core::mapCodePoints(whole, map)), "fused output agrees");
    // The valid prefix, checked many bytes at a time, with and without valid text before the input
    // so that its bytes fall at every place in the groups checked together.
    for (const bool final : {true, false}) {
        const auto d = core::decodeUtf8(in, whole, final);
        const auto p = platform::validUtf8Prefix(in, final);
        fuzz::check(p.valid == d.consumed && p.ok == d.ok, "valid prefix agrees");
        std::string padded = "\xe5\xa4\xb4\xe5\x8f\x91\xf0\x9f\x98\x80\xc3\xa9";
        padded.append(size % 61, 'a');
        const std::size_t pad = padded.size();
        padded.append(in);
        const std::vector<char> exact(padded.begin(), padded.end());
        const auto q = platform::validUtf8Prefix(std::string_view(exact.data(), exact.size()), final);
        fuzz::check(q.valid == pad + d.consumed && q.ok == d.ok, "valid prefix agrees after text");
    }
    return 0;
}
