#pragma once

// The ways of the 繁体, 简体, 汉字拼音 and 金额大写 buttons: their names in tables (a new way is one
// row), and the one function that applies a way to a text, which the buttons and the clipboard
// commands both call, so that both offer the same ways under the same names and give the same text.

#include "core/messages.h"
#include "core/money_ways.h"
#include "core/pinyin_reading.h"
#include "platform/text_services.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ui {

// The buttons' own ways: 繁体/简体 character by character, 汉字拼音 capitalised.
inline constexpr const char *kCharacterWayKey = "char";
inline constexpr const char16_t *kCharacterWayLabel = u"逐字";
inline constexpr const char *kCapitalisedWayKey = "capitalised";
inline constexpr const char16_t *kCapitalisedWayLabel = u"首字母大写";

// A phrase way: an OpenCC configuration, whose name is also its key. The first of each table (词组)
// is what the button does until another way is made its default.
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

// The way of 金额大写 called `key` (not its own); null for any other key.
inline const MoneyWayName *moneyWayNamed(std::string_view key) {
    for (const MoneyWayName &w : kMoneyWays)
        if (key == w.key)
            return &w;
    return nullptr;
}

// ---- one way, whichever button or clipboard entry asks for it --------------------------------

// A button's own way: 繁体/简体 character by character, 大写/小写, 金额大写 in the design's
// capitals, 汉字拼音 capitalised.
enum class OwnWay { Traditional, Simplified, Upper, Lower, Amount, Pinyin };

// A phrase way: rewrites by the OpenCC configuration `config` (any name, not only the tables').
struct PhraseWay {
    std::string config;
    bool operator==(const PhraseWay &) const = default;
};

// A reading way of 汉字拼音: the text, a line break and its reading.
struct ReadingWay {
    const ReadingWayName *name;
    bool operator==(const ReadingWay &) const = default;
};

// A way of 金额大写 beside its own: the way's rewrite of the text.
struct AmountWay {
    const MoneyWayName *name;
    bool operator==(const AmountWay &) const = default;
};

using Way = std::variant<OwnWay, PhraseWay, ReadingWay, AmountWay>;

// Every way of the button whose own way is `own`, its own first; a button without other ways has
// only its own.
std::vector<Way> buttonWays(OwnWay own);

// The way a left click on the button of `own` runs until the user makes another one its default
// (设为默认): 词组 (s2t, t2s) for 繁体 and 简体, as their own character tables miss everyday words
// (头发 -> 頭發, 乾隆 -> 干隆), which the phrase tables get right; for the others, their own way.
Way defaultWayOf(OwnWay own);

// The way's key in the settings and on the command line ("char", "s2t", "numbers", "bank"; empty
// for 大写 and 小写, which have no menu).
std::string wayKey(const Way &way);
// The way's menu entry (UTF-16); a phrase way outside the tables is named by its configuration.
std::u16string wayLabel(const Way &way);

// The way of `button` called `key`; nullopt when it has none by that name.
std::optional<Way> wayNamed(OwnWay button, std::string_view key);

// What a way gives for a text.
struct WayResult {
    enum Outcome {
        Done,
        Unavailable,    // its data could not be loaded (message names the file or says why)
        AmountTooLarge, // 金额大写 of 10^16 or more (message is the limit's)
        Refused,        // 金额大写 or one of its ways refused the text (message says why)
    };
    Outcome outcome = Done;
    // Done: the text that replaces the input, or, when `appends`, what follows the input after a
    // line break (汉字拼音 keeps the text and adds its pinyin).
    std::u16string text;
    bool appends = false;
    // Why there is no text, worded where it is shown; empty when done.
    core::Message message;
};

// Applies `way` to `text` with the text services. Pure apart from loading data on first use;
// never throws on any text.
WayResult applyWay(const Way &way, std::u16string_view text, const platform::TextServices &services);

// Why `way` cannot be used now (naming the file that keeps it from loading); empty when it can.
// Quick: it does not build a phrase converter.
core::Message wayUnavailable(const Way &way, const platform::TextServices &services);

} // namespace ui
