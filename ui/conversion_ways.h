#pragma once

// The ways of the 繁体, 简体, 汉字拼音 and 金额大写 buttons by name, shared by the buttons' menus and the
// clipboard commands, so that both offer the same ways under the same names.

#include "core/money_ways.h"
#include "core/pinyin_reading.h"

#include <array>
#include <string_view>

namespace ui {

// The buttons' own ways: 繁体/简体 character by character, 汉字拼音 capitalised.
inline constexpr const char *kCharacterWayKey = "char";
inline constexpr const char16_t *kCharacterWayLabel = u"逐字";
inline constexpr const char *kCapitalisedWayKey = "capitalised";
inline constexpr const char16_t *kCapitalisedWayLabel = u"首字母大写";

// A phrase way: an OpenCC configuration, whose name is also its key.
struct PhraseWayName {
    const char *config;
    const char16_t *label;
};

inline constexpr std::array<PhraseWayName, 5> kTraditionalPhraseWays{{
    {"s2t", u"词组"},
    {"s2tw", u"台湾正体"},
    {"s2twp", u"台湾用词"},
    {"s2hk", u"香港繁体"},
    {"s2hkp", u"香港繁体（惯用词）"},
}};

inline constexpr std::array<PhraseWayName, 5> kSimplifiedPhraseWays{{
    {"t2s", u"词组"},
    {"tw2s", u"台湾→简体"},
    {"tw2sp", u"台湾用词→简体"},
    {"hk2s", u"香港→简体"},
    {"hk2sp", u"香港用词→简体"},
}};

// A reading way of 汉字拼音.
struct ReadingWayName {
    const char *key;
    const char16_t *label;
    core::PinyinTone tone;
    bool initials; // each syllable's first letter, written together (汉字 -> hz)
};

inline constexpr std::array<ReadingWayName, 4> kReadingWays{{
    {"marks", u"带声调", core::PinyinTone::Marks, false},
    {"numbers", u"数字声调", core::PinyinTone::Numbers, false},
    {"none", u"无声调", core::PinyinTone::None, false},
    {"initials", u"首字母", core::PinyinTone::None, true},
}};

// The reading way called `key`; null for any other key.
inline const ReadingWayName *readingWayNamed(std::string_view key) {
    for (const ReadingWayName &w : kReadingWays)
        if (key == w.key)
            return &w;
    return nullptr;
}

// How the way writes a reading: syllables apart, initials together.
inline core::PinyinStyle readingStyle(const ReadingWayName &way) {
    return {way.tone, way.initials ? "" : " ", way.initials};
}

// The amount button's own way, then the others.
inline constexpr const char *kDesignMoneyWayKey = "design";
inline constexpr const char16_t *kDesignMoneyWayLabel = u"金额大写";

struct MoneyWayName {
    const char *key;
    const char16_t *label;
    core::MoneyWay way;
};

inline constexpr std::array<MoneyWayName, 6> kMoneyWays{{
    {"bank", u"银行写法", core::MoneyWay::Bank},
    {"bank-round", u"银行写法（圆）", core::MoneyWay::BankRound},
    {"date", u"票据日期", core::MoneyWay::BillDate},
    {"read-back", u"大写读回数字", core::MoneyWay::ReadBack},
    {"numerals", u"中文数字", core::MoneyWay::Numerals},
    {"capital-numerals", u"大写数字", core::MoneyWay::CapitalNumerals},
}};

} // namespace ui
