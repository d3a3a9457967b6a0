#include "character_maps.h"

#include "core/utf.h"
#include "opencc_config.h"
#include "phrase_config.h"

#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>
#include <unicode/uchar.h>

#include "mapped_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {
namespace {

// The code point of a UTF-8 text of exactly one code point, or nullopt.
std::optional<char32_t> singleCodePoint(const std::string &utf8) {
    if (utf8.empty())
        return std::nullopt;
    char32_t c;
    const int len = core::decodeUtf8Sequence(reinterpret_cast<const unsigned char *>(utf8.data()), utf8.size(), c);
    if (len <= 0 || static_cast<std::size_t>(len) != utf8.size())
        return std::nullopt;
    return c;
}

// Cased letters all lie below U+20000.
constexpr char32_t kCaseLimit = 0x20000;

core::CodePointMap caseMap(UChar32 (*mapping)(UChar32)) {
    core::CodePointMap map;
    for (char32_t c = 0; c < kCaseLimit; ++c) {
        const auto m = static_cast<char32_t>(mapping(static_cast<UChar32>(c)));
        if (m != c)
            map.set(c, m);
    }
    return map;
}

} // namespace

std::string openccDataDir() {
    const char *dir = std::getenv("LANTERNFIN_OPENCC_DIR");
    return dir && *dir ? dir : "/usr/share/opencc";
}

std::string characterDictionaryPath(const std::string &file) {
    const char *dir = std::getenv("LANTERNFIN_OPENCC_DIR");
    if (dir && *dir)
        return std::string(dir) + "/" + file;
    return builtinPhraseDir() + "/" + file.substr(0, file.rfind('.')) + ".txt";
}

std::optional<core::CodePointMap> loadCharacterDictionary(const std::string &path) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
        std::string failed;
        DictionarySource source{"text", path, {}};
        const auto bytes = readDataFile(path, std::size_t(64) << 20);
        if (!bytes)
            return std::nullopt;
        source.bytes = *bytes;
        const auto dict = readDictionary(source);
        if (!dict)
            return std::nullopt;
        core::CodePointMap map;
        for (const auto &e : *dict) {
            const auto key = singleCodePoint(e.key);
            const auto value = singleCodePoint(e.value);
            if (key && value)
                map.set(*key, *value);
        }
        return map;
    }
    std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    // OpenCC leaks while it throws on a foreign file: such a file is refused on its header first.
    static constexpr char kHeader[] = "OPENCC_MARISA_0.2.5";
    char header[sizeof kHeader - 1] = {};
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header ||
        std::memcmp(header, kHeader, sizeof header) != 0)
        return std::nullopt;
    std::rewind(file.get());
    try {
        const auto dict = opencc::MarisaDict::NewFromFile(file.get());
        if (!dict)
            return std::nullopt;
        core::CodePointMap map;
        for (const auto &entry : *dict->GetLexicon()) {
            const auto key = singleCodePoint(entry->Key());
            if (!key || entry->NumValues() == 0)
                continue;
            const auto value = singleCodePoint(entry->Values().front());
            if (value)
                map.set(*key, *value);
        }
        return map;
    } catch (...) {
        // OpenCC throws on a damaged or foreign file; to the caller that is a file it cannot load.
        return std::nullopt;
    }
}

core::CodePointMap upperCaseMap() { return caseMap(u_toupper); }

core::CodePointMap lowerCaseMap() { return caseMap(u_tolower); }

} // namespace platform
