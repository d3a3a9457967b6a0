// Simplified/traditional with OpenCC's real dictionaries, and letter case with ICU's: the same
// number of code points, each either mapped or unchanged in its place.

#include "core/text_convert.h"
#include "fuzz_support.h"
#include "platform/character_maps.h"

#include <cstdio>
#include <optional>

namespace {

void checkMapped(std::u16string_view in, const std::u16string &out, const core::CodePointMap &map) {
    fuzz::check(fuzz::codePoints(in) == fuzz::codePoints(out), "same number of code points");
    std::size_t i = 0, j = 0;
    while (i < in.size()) {
        char32_t a = in[i];
        std::size_t la = 1;
        if (a >= 0xD800 && a <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            a = 0x10000 + ((a - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            la = 2;
        }
        char32_t b = out[j];
        std::size_t lb = 1;
        if (b >= 0xD800 && b <= 0xDBFF && j + 1 < out.size() && out[j + 1] >= 0xDC00 &&
            out[j + 1] <= 0xDFFF) {
            b = 0x10000 + ((b - 0xD800) << 10) + (out[j + 1] - 0xDC00);
            lb = 2;
        }
        const bool lone = la == 1 && a >= 0xD800 && a <= 0xDFFF;
        fuzz::check(lone ? b == a : b == map(a), "each code point mapped in its place");
        i += la;
        j += lb;
    }
}

// OpenCC reads a binary dictionary in a child process limited by the processor time it uses, so a
// machine busy with other fuzzers does not fail a sound one; if it fails anyway, the reason is told.
std::optional<core::CodePointMap> loadDictionary(const char *file) {
    core::Message why;
    if (auto map = platform::loadCharacterDictionary(platform::openccDataDir() + "/" + file, &why))
        return map;
    std::fprintf(stderr, "%s: %s\n", file, why.in(core::Language::English).c_str());
    return std::nullopt;
}

struct Maps {
    std::optional<core::CodePointMap> st, ts;
    core::CodePointMap upper, lower;
};

const Maps &maps() {
    static const Maps m{loadDictionary("STCharacters.ocd2"), loadDictionary("TSCharacters.ocd2"),
                        platform::upperCaseMap(), platform::lowerCaseMap()};
    return m;
}

} // namespace

// The dictionaries load before the first input, so that their loading, slow under the sanitizers
// on a busy machine, is not counted against the time each input may take.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    maps();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const Maps &m = maps();
    fuzz::check(m.st && m.ts, "dictionaries load");
    const std::u16string text = fuzz::units(data, size);
    checkMapped(text, core::JToF(text, *m.st), *m.st);
    checkMapped(text, core::FToJ(text, *m.ts), *m.ts);
    checkMapped(text, core::upperCaseText(text, m.upper), m.upper);
    checkMapped(text, core::lowerCaseText(text, m.lower), m.lower);
    return 0;
}
