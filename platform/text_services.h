#pragma once

// Everything the window's text commands need, loaded once at start-up.

#include "core/codepoint_map.h"
#include "core/pinyin.h"

#include <memory>
#include <optional>
#include <string>

namespace platform {

struct TextServices {
    // Null when the dictionary file could not be loaded; the error then names the file.
    std::unique_ptr<core::CodePointMap> toTraditional;
    std::unique_ptr<core::CodePointMap> toSimplified;
    std::string dictionaryError;
    core::CodePointMap toUpper;
    core::CodePointMap toLower;
    std::unique_ptr<core::CharCodeTable> codes;
    std::unique_ptr<core::PinyinTable> pinyin;
};

// Loads the code page table, the case maps and both character dictionaries from `openccDir`.
TextServices loadTextServices(const std::string &openccDir);

} // namespace platform
