#pragma once

// The Mainland's reading against Taiwan's, as the reading policy asks it: the 2013 standard
// (kTGHZ2013), the frequencies of Mainland text (kHanyuPinlu), kMandarin's Mainland-first
// readings and terra's own listings of a word.

#include "pinyin_sources.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace pinyin_data {

// Of a word's two readings that differ in tone only, the one whose syllables kHanyuPinlu counts
// this many times more often is the Mainland reading.
constexpr double kClearlyMoreFrequent = 10;

// Whether a Unihan field lists `syl` among the character's readings.
bool lists(const std::map<char32_t, std::vector<std::string>> &field, char32_t cp, const std::string &syl);

// Whether two readings of a word spell every syllable with the same letters (tones aside).
bool sameLetters(const std::vector<std::string> &a, const std::vector<std::string> &b);

class MainlandReadings {
public:
    // Reads the policy's state as it grows: terra's weighted readings per character, the
    // characters' defaults and terra's curated entries by key (indices into src.curated).
    MainlandReadings(const Sources &src, const std::map<char32_t, std::vector<Reading>> &readings,
                     const std::map<char32_t, std::string> &defaults,
                     const std::map<Word, std::vector<std::size_t>> &curatedByKey)
        : m_src(src), m_readings(readings), m_defaults(defaults), m_curatedByKey(curatedByKey) {}

    std::string mainlandOf(char32_t traditional, char32_t simplified, const std::string &syl) const;
    bool isMainlandNeutral(std::size_t i, std::size_t k, char32_t simplified) const;
    bool isOnlyNeutral(std::size_t i, std::size_t k, char32_t simplified) const;
    // Whether kTGHZ2013 lists `syl` for the character (or lists nothing for it).
    bool isStandard(char32_t cp, const std::string &syl) const;
    // kHanyuPinlu's count of the reading; 0 where it has none.
    double pinluCount(char32_t cp, const std::string &syl) const;
    bool clearlyMoreFrequent(const Word &simplified, const Word &traditional,
                             const std::vector<std::string> &a, const std::vector<std::string> &b) const;
    std::string corrected(char32_t cp, const std::string &syl) const;

private:
    const Sources &m_src;
    const std::map<char32_t, std::vector<Reading>> &m_readings;
    const std::map<char32_t, std::string> &m_defaults;
    const std::map<Word, std::vector<std::size_t>> &m_curatedByKey;
};

} // namespace pinyin_data
