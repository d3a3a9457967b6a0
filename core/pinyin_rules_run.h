#pragma once

// What the rules of grammar share: the run they read with its segmentation, the tests they make of
// its characters and words, and the sets of characters they name. Only pinyin_rules*.cpp include it.

#include "pinyin_rules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string_view>

namespace core::rules {

inline constexpr char32_t kYi = U'一';
inline constexpr char32_t kBu = U'不';
inline constexpr char32_t kHang = U'行';

inline bool in(std::u32string_view set, char32_t c) {
    return set.find(c) != std::u32string_view::npos;
}

inline bool oneOf(std::u32string_view w, std::initializer_list<std::u32string_view> set) {
    return std::find(set.begin(), set.end(), w) != set.end();
}

// Whether `w` starts with one of `set` (廉州府 with 廉州).
inline bool startsAsOneOf(std::u32string_view w, std::initializer_list<std::u32string_view> set) {
    return std::any_of(set.begin(), set.end(), [&](std::u32string_view x) { return w.starts_with(x); });
}

// Whether `w` ends as one of `set`.
template <typename Set> bool endsAsOneOf(const Set &set, std::u32string_view w) {
    return !w.empty() &&
           std::any_of(std::begin(set), std::end(set), [&](std::u32string_view x) { return w.ends_with(x); });
}

// Whether one of `set` stands anywhere in `text`.
template <typename Set> bool holdsOneOf(const Set &set, std::u32string_view text) {
    return std::any_of(std::begin(set), std::end(set),
                       [&](std::u32string_view x) { return text.find(x) != std::u32string_view::npos; });
}

inline bool isNumeral(char32_t c) {
    return in(U"〇零一二三四五六七八九十百千万亿两", c);
}

inline bool isDigitNumeral(char32_t c) {
    return in(U"〇零一二三四五六七八九", c);
}

// The surnames the rules read: before a title, the first nine; opening a line, all of them.
inline constexpr std::u32string_view kSurnames = U"单解区仇缪查朴纪华曾任覃盖翟";
inline constexpr std::size_t kSurnamesBeforeTitles = 9;

inline constexpr std::u32string_view kParticles = U"吗嗎不了吧啊呀呢么麼嘛啦哦喔没沒";
inline constexpr std::u32string_view kMeasures = U"个位只条张件次名本台部辆把块座间所家种样项";
// What 长 heads as its chief, zhǎng (市长, 班长, 厂长).
inline constexpr std::u32string_view kOffices =
    U"市部校团旅师军营连排班会家县省局处科组院所队司厂社村乡镇署警官首酋族兄";
inline constexpr std::u32string_view kAfterRate =
    U"为是达在的很较偏仍已均高低增降提升跌超不也都和与及必须应可需要能太比设";
inline constexpr std::u32string_view kDegrees =
    U"大小多少长短高低快慢早晚重轻深浅宽窄热冷强弱厚薄粗细紧松贵远近硬软旧老烫凉辣咸甜苦酸稀稠亮暗湿";
inline constexpr std::u32string_view kHairBefore =
    U"头剪理洗护染烫脱梳卷秀毛短鬓白黑金银灰棕红黄长假披散束扎盘吹";
inline constexpr std::u32string_view kHairAfter = U"型际夹丝箍廊梢蜡胶髻饰质根量膜带油色尾片网簪圈";
inline constexpr std::u32string_view kHoldVerbs =
    U"背抱举拉握牵搓摇挥摆插揣拍甩扬伸摊捂攥扶搭揉闭眯睁瞪眨合翻";

// The characters each pass of the rules looks for, so that a run skips the passes it holds none
// of. A character added to a pass, or a case added to one of the two passes by character, must be
// marked in triggersOf() (pinyin_rules.cpp) too, or the rule never sees it.
enum Trigger : std::uint16_t {
    kTrDe = 1 << 0,      // 得 before 的, 了 or 过
    kTrWei = 1 << 1,     // the passes for 为
    kTrSurname = 1 << 2, // surnames before a title
    kTrTiao = 1 << 3,    // 调到
    kTrDi = 1 << 4,      // 地 after an adverbial
    kTrChang = 1 << 5,   // 长 before a length, 见长
    kTrJuan = 1 << 6,    // 卷 after an ordinal
    kTrJiang = 1 << 7,   // 将 closing a word
    kTrDa = 1 << 8,      // 大夫
    kTrFen = 1 << 9,     // 分子
    kTrHang = 1 << 10,   // 一行
    kTrZhe = 1 << 11,    // 着 after a verb of holding
    kTrWords = 1 << 12,  // the pass by character in pinyin_rules_words.cpp
    kTrChars = 1 << 13,  // the pass by character in pinyin_rules_alone.cpp
    kTrYiBu = 1 << 14,   // the tones of 一 and 不
};

// Every character a rule looks for lies among the unified ideographs of the basic plane.
inline constexpr char32_t kTriggerFirst = 0x4E00, kTriggerLast = 0x9FFF;
// The Trigger bits of each of those characters (made at compile time, in pinyin_rules.cpp).
extern const std::array<std::uint16_t, kTriggerLast - kTriggerFirst + 1> kTriggers;

// The passes' characters that `c` is one of (0 for the rest).
inline std::uint16_t triggersOf(char32_t c) {
    return c >= kTriggerFirst && c <= kTriggerLast ? kTriggers[c - kTriggerFirst] : 0;
}

// A run as the rules read it: its characters, their segmentation, and the passes it holds
// characters of.
struct RuleRun {
    const PinyinSegmentedRun &seg;
    std::span<const char32_t> text;
    std::size_t n;
    std::uint16_t has; // the Trigger bits of its characters

    explicit RuleRun(const PinyinSegmentedRun &r) : seg(r), text(r.text), n(r.text.size()), has(0) {
        for (char32_t c : text)
            has |= triggersOf(c);
    }
    // Whether `c` stands in the run before position `k` (the 把 that leads a verb, the 用 of a tool).
    bool occursBefore(std::size_t k, char32_t c) const {
        return std::u32string_view(text.data(), k).find(c) != std::u32string_view::npos;
    }
    // Whether one of `set` stands among the `width` characters before position `k`.
    bool nearBefore(std::size_t k, std::size_t width, std::u32string_view set) const {
        const std::size_t from = k > width ? k - width : 0;
        return std::u32string_view(text.data() + from, k - from).find_first_of(set) !=
               std::u32string_view::npos;
    }
    // Whether one of `set` stands among the `width` characters from position `k` on.
    bool nearAfter(std::size_t k, std::size_t width, std::u32string_view set) const {
        const std::size_t from = std::min(k, n);
        return std::u32string_view(text.data() + from, std::min(width, n - from)).find_first_of(set) !=
               std::u32string_view::npos;
    }
    // The word of the segmentation that ends just before `k`, or its part before `k` where `k` falls
    // inside a word (none at the run's start or past its end).
    std::u32string_view wordBefore(std::size_t k) const {
        if (k == 0 || k > n)
            return {};
        std::size_t s = k - 1;
        while (s > 0 && !seg.wordStart[s])
            --s;
        return {text.data() + s, k - s};
    }
    // The word starting at `k`, or an empty view where none starts there.
    std::u32string_view wordAtStart(std::size_t k) const {
        return k < n && seg.wordStart[k] ? std::u32string_view(text.data() + k, seg.end[k] - k)
                                         : std::u32string_view();
    }
    // Whether `c` stands alone as a word somewhere before `k` (以 leading a clause, not 所以 or 可以).
    bool aloneBefore(std::size_t k, char32_t c) const {
        for (std::size_t j = 0; j < k; ++j)
            if (text[j] == c && seg.standsAlone(j))
                return true;
        return false;
    }
    // A number, or one of `also`, right before `k`; not the 一 that closes 万一 or 唯一.
    bool afterCount(std::size_t k, std::u32string_view also) const {
        return k > 0 && (isNumeral(text[k - 1]) || in(also, text[k - 1])) &&
               !(text[k - 1] == kYi && !seg.wordStart[k - 1] && !(k > 1 && isNumeral(text[k - 2])));
    }
};

} // namespace core::rules
