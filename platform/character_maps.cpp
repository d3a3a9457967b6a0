#include "character_maps.h"

#include "core/utf.h"
#include "opencc_config.h"
#include "phrase_config.h"

#include <unicode/uchar.h>

#include "mapped_file.h"

#include <cstdlib>
#include <cstring>

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

std::optional<core::CodePointMap> loadCharacterDictionary(const std::string &path, core::Message *why) {
    // Read as every data file is (a FIFO or a device at the path is refused, never waited on); a
    // binary dictionary is then read by OpenCC in a child process, as a configuration's are.
    const bool text = path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
    DictionarySource source{text ? "text" : "ocd2", path, {}, {}};
    auto bytes = readDataFile(path, std::size_t(64) << 20, why);
    if (!bytes)
        return std::nullopt;
    source.bytes = std::move(*bytes);
    const auto dict = readDictionary(source, why);
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

core::CodePointMap upperCaseMap() { return caseMap(u_toupper); }

core::CodePointMap lowerCaseMap() { return caseMap(u_tolower); }

} // namespace platform
