#pragma once

// Everyday words that the character tables convert wrongly and the phrase tables rightly, as the
// built-in OpenCC 1.4.1 data converts them: each word, then by phrases (s2t / t2s), then character
// by character (STCharacters / TSCharacters).

namespace testsupport {

struct EverydayWord {
    const char *word;
    const char *byPhrase;
    const char *byCharacter;
};

// 繁体: simplified words made traditional.
inline constexpr EverydayWord kTraditionalWords[] = {
    {"头发", "頭髮", "頭發"}, {"面条", "麪條", "面條"}, {"干燥", "乾燥", "幹燥"}, {"皇后", "皇后", "皇後"},
    {"理发", "理髮", "理發"}, {"关系", "關係", "關系"}, {"钟表", "鐘錶", "鍾表"},
};

// 简体: traditional words made simplified.
inline constexpr EverydayWord kSimplifiedWords[] = {
    {"乾隆", "乾隆", "干隆"},
};

} // namespace testsupport
