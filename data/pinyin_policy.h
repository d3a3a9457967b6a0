#pragma once

// The reading policy of make_pinyin_data: which reading each character and word of the sources
// gets, and which words the segmentation knows.

#include "core/pinyin_data_format.h"
#include "pinyin_sources.h"

#include <map>
#include <set>
#include <string>

namespace pinyin_data {

// The characters' and words' readings chosen from `src` (see data/README.md), keyed simplified and
// traditional; `t2sConfig` is OpenCC's t2s.json (its s2t.json sits beside it). The info text is
// left empty. `mergedFrom`, when given, receives the characters t2s turns into each character.
core::PinyinDataContent chooseReadings(const Sources &src, const std::string &t2sConfig,
                                       std::map<char32_t, std::set<char32_t>> *mergedFrom = nullptr);

} // namespace pinyin_data
