#include "codepage936.h"

#include "core/utf.h"

#include <unicode/ucnv.h>

#include <vector>

namespace platform {

std::unique_ptr<core::CharCodeTable> loadCodePage936(core::Message *error) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open("windows-936", &status);
    if (U_FAILURE(status) || !conv) {
        if (error)
            *error = core::Message(core::MessageId::NoWindows936, {u_errorName(status)});
        return nullptr;
    }
    auto table = std::make_unique<core::CharCodeTable>();
    table->code.fill(63);

    // One conversion of all non-surrogate units; the offsets tell which unit wrote which bytes,
    // and the converter's substitute for an unencodable unit is the question mark, code 63.
    std::vector<UChar> units;
    units.reserve(65536);
    for (std::uint32_t u = 1; u < 0x10000; ++u)
        if (!core::isSurrogate(u))
            units.push_back(static_cast<UChar>(u));
    std::vector<char> bytes(units.size() * 4);
    std::vector<int32_t> offsets(bytes.size(), -1);
    char *target = bytes.data();
    const UChar *source = units.data();
    status = U_ZERO_ERROR;
    ucnv_fromUnicode(conv, &target, bytes.data() + bytes.size(), &source, units.data() + units.size(),
                     offsets.data(), true, &status);
    const std::size_t written = static_cast<std::size_t>(target - bytes.data());
    for (std::size_t i = 0; i < written;) {
        const int32_t from = offsets[i];
        std::size_t len = 1;
        while (i + len < written && offsets[i + len] == from)
            ++len;
        if (from >= 0) {
            const auto b0 = static_cast<unsigned char>(bytes[i]);
            const UChar unit = units[static_cast<std::size_t>(from)];
            if (len == 1)
                table->code[unit] = static_cast<std::int16_t>(b0);
            else if (len == 2)
                table->code[unit] =
                    static_cast<std::int16_t>(b0 * 256 + static_cast<unsigned char>(bytes[i + 1]) - 65536);
        }
        i += len;
    }
    table->code[0] = 0;

    // The characters of the one-byte codes.
    table->singleByte.fill(u'?');
    for (int b = 1; b < 160; ++b) {
        const char in = static_cast<char>(b);
        UChar out[4];
        status = U_ZERO_ERROR;
        ucnv_reset(conv);
        const int32_t n = ucnv_toUChars(conv, out, 4, &in, 1, &status);
        if (U_SUCCESS(status) && n == 1 && out[0] != 0xFFFD)
            table->singleByte[static_cast<std::size_t>(b)] = out[0];
    }
    ucnv_close(conv);
    return table;
}

} // namespace platform
