#pragma once

// The context of a polyphone that stands alone (a word of one character), as the reading engine's
// per-character models see it: the characters around it (three each side), the words before and
// after it and their parts of speech, what ends its run of characters (digits, Latin letters, punctuation,
// spaces, the text's edge). Each feature is a 32-bit hash; the data generator trains on the same features, so
// that one function serves both.

#include <cstdint>
#include <span>
#include <vector>

namespace core {

// What lies beside a run of characters with readings.
enum class PinyinBoundary : std::uint8_t {
    Edge,        // the start or end of the text, a line break (or the end of the piece read)
    Digit,       // 0-9, fullwidth digits
    Latin,       // Latin letters
    Punctuation, // ASCII and CJK punctuation, symbols
    Space,       // spaces, tabs
    Other,       // anything else without a reading (kana, hangul, emoji, ...)
};

PinyinBoundary pinyinBoundaryOf(char32_t c);

// Whether `c` is one of the characters that spell foreign names (阿, 尔, 塞, 斯, 维...).
bool spellsForeignNames(char32_t c);

// Appends the features of position `i` of `run` to `out` (cleared first). `wordStart[k]` is
// nonzero where a word of the segmentation begins (wordStart[0] always); `wordTag[k]` there is the
// word's part of speech (0 unknown; may be empty: all unknown). `before` and `after`: what lies
// beside the run. Where `i` is inside a word of two or more characters, the last feature is that
// word with the place of `i` in it. Where `beyond` is given, it gets a value per feature: which
// edges of the run the feature looks past (kPastStart, kPastEnd: to `before`, to `after`), else 0.
constexpr std::uint8_t kPastStart = 1, kPastEnd = 2;
void pinyinContextFeatures(std::span<const char32_t> run, std::span<const std::uint8_t> wordStart,
                           std::span<const std::uint8_t> wordTag, std::size_t i, PinyinBoundary before,
                           PinyinBoundary after, std::vector<std::uint32_t> &out,
                           std::vector<std::uint8_t> *beyond = nullptr);

// The key under which a model's weights of a feature are stored; never 0 (an empty slot).
inline std::uint32_t pinyinFeatureKey(std::uint32_t feature, std::uint32_t model) {
    std::uint32_t h = feature ^ (model + 1) * 0x9E3779B1u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h | 1u;
}

} // namespace core
