#pragma once

// Everything the window's text commands need, loaded once at start-up.

#include "core/codepoint_map.h"
#include "core/pinyin.h"
#include "platform/pinyin_data.h"
#include "platform/phrase_config.h"

#include <memory>
#include <optional>
#include <string>

namespace platform {

struct TextServices {
    // Null when the dictionary file could not be loaded; the error then names the file.
    std::unique_ptr<core::CodePointMap> toTraditional;
    std::unique_ptr<core::CodePointMap> toSimplified;
    core::Message dictionaryError;
    core::CodePointMap toUpper;
    core::CodePointMap toLower;
    std::unique_ptr<core::CharCodeTable> codes;
    std::unique_ptr<core::PinyinTable> pinyin;
    // The readings of the pinyin engine, loaded on first use (never null after loading).
    std::unique_ptr<PinyinDataSource> readings;
    // The phrase conversions (OpenCC configurations), each loaded when first used.
    std::shared_ptr<PhraseConverters> phrases = std::make_shared<PhraseConverters>();
};

// Loads the code page table, the case maps and both character dictionaries from `openccDir` (empty:
// where characterDictionaryPath() says); the pinyin readings are found in lanternfinDataDir() and
// loaded when first asked for.
TextServices loadTextServices(const std::string &openccDir);

} // namespace platform
