// The floor for character conversion: decode UTF-8, map every code point through one flat table,
// encode it back. The table holds the same simplified -> traditional mapping as lanternfin-cli
// traditional, so the outputs can be compared.

#include "platform/character_maps.h"

#include <cstdio>
#include <string>
#include <vector>

int main() {
    const auto map = platform::loadCharacterDictionary(platform::openccDataDir() + "/STCharacters.ocd2");
    if (!map)
        return 2;
    std::vector<char32_t> table(0x110000);
    for (char32_t c = 0; c < 0x110000; ++c)
        table[c] = (*map)(c);
    std::vector<unsigned char> in(1 << 20);
    std::string out;
    std::size_t carried = 0;
    for (;;) {
        const std::size_t got = std::fread(in.data() + carried, 1, in.size() - carried, stdin);
        const std::size_t n = carried + got;
        std::size_t i = 0;
        out.clear();
        while (i < n) {
            const unsigned char b = in[i];
            std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            if (i + len > n)
                break;
            char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
            for (std::size_t k = 1; k < len; ++k)
                c = (c << 6) | (in[i + k] & 0x3F);
            c = table[c];
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (c >> 18));
                out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
            i += len;
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        carried = n - i;
        for (std::size_t k = 0; k < carried; ++k)
            in[k] = in[i + k];
        if (got == 0)
            return 0;
    }
}
