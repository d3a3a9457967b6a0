#pragma once

#include "core/messages.h"
#include "core/pinyin.h"

#include <memory>
#include <string>

namespace platform {

// The code page 936 character code of every UTF-16 unit, from ICU's "windows-936" converter.
// Units the code page cannot encode (lone surrogate halves, Hangul, most symbols) get 63.
// Returns null, with `error` set, only when ICU has no such converter.
std::unique_ptr<core::CharCodeTable> loadCodePage936(core::Message *error = nullptr);

} // namespace platform
