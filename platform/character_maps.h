#pragma once

#include "core/codepoint_map.h"

#include "core/messages.h"

#include <optional>
#include <string>

namespace platform {

// Where OpenCC's dictionaries are looked for: $LANTERNFIN_OPENCC_DIR when set, else Debian's
// /usr/share/opencc.
std::string openccDataDir();

inline constexpr const char *kSimplifiedToTraditionalFile = "STCharacters.ocd2";
inline constexpr const char *kTraditionalToSimplifiedFile = "TSCharacters.ocd2";

// The character dictionary `file` (one of the two above): in $LANTERNFIN_OPENCC_DIR when that is
// set, else the text form of the same dictionary that the program installs with its built-in
// OpenCC data (<builtinPhraseDir()>/STCharacters.txt).
std::string characterDictionaryPath(const std::string &file);

// The one-to-one character mapping of an OpenCC character dictionary (.ocd2, or OpenCC's text form
// when the path ends in .txt): keys of exactly one code point, each mapped to its first candidate
// where that is exactly one code point. nullopt with `why` set when the file is not a regular file,
// cannot be read, or is not such a dictionary ("damaged dictionary").
std::optional<core::CodePointMap> loadCharacterDictionary(const std::string &path,
                                                          core::Message *why = nullptr);

// Unicode simple case mappings (ICU u_toupper / u_tolower), one code point to one.
core::CodePointMap upperCaseMap();
core::CodePointMap lowerCaseMap();

} // namespace platform
