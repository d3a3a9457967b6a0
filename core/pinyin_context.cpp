#include "pinyin_context.h"

#include <string_view>

namespace core {

namespace {

constexpr std::uint32_t kPrime = 0x01000193u;

// FNV-1a over the feature's kind and its code points.
struct FeatureHash {
    std::uint32_t h;
    explicit FeatureHash(std::uint32_t kind) : h(0x811C9DC5u) { add(kind); }
    FeatureHash &add(std::uint32_t v) {
        for (int b = 0; b < 4; ++b)
            h = (h ^ ((v >> (8 * b)) & 0xFF)) * kPrime;
        return *this;
    }
};

// A character of the run, or the boundary beside it as a value no code point has.
std::uint32_t at(std::span<const char32_t> run, std::ptrdiff_t k, PinyinBoundary before,
                 PinyinBoundary after) {
    if (k < 0)
        return 0x110000u + static_cast<std::uint32_t>(before);
    if (static_cast<std::size_t>(k) >= run.size())
        return 0x110100u + static_cast<std::uint32_t>(after);
    return run[static_cast<std::size_t>(k)];
}

enum Kind : std::uint32_t {
    Bias = 1,
    Left1,
    Right1,
    Left2,
    Right2,
    Left3,
    Right3,
    Around,
    LeftPair,
    RightPair,
    PreviousWord,
    NextWord,
    PreviousWordLast,
    NextWordFirst,
    PreviousTag,
    NextTag,
    TagsAround,
    ForeignLeft,
    ForeignRight,
    ForeignAround,
    InWord,
};

} // namespace

bool spellsForeignNames(char32_t c) {
    static constexpr std::u32string_view spelling =
        U"阿埃艾奥欧巴贝比彼波伯布达德迪蒂杜多俄厄恩尔法菲费弗福盖格哥古哈"
        U"海赫胡霍基吉加贾杰捷卡凯坎科克库拉莱兰朗劳勒雷里利莉林隆卢鲁路伦罗"
        U"洛马迈曼梅蒙米密摩莫姆穆纳内尼努诺帕佩皮珀普齐奇乔切琼萨撒塞桑瑟森"
        U"沙什施斯索塔泰坦特提图托瓦威维温沃乌西希辛休雅亚扬耶伊因英尤约泽扎"
        U"詹";
    return spelling.find(c) != std::u32string_view::npos;
}

PinyinBoundary pinyinBoundaryOf(char32_t c) {
    if ((c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19))
        return PinyinBoundary::Digit;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0xFF41 && c <= 0xFF5A) || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7))
        return PinyinBoundary::Latin;
    // A line break is the edge of the text: each line reads as it would alone, so that a text
    // cut at line ends (by jobs, or by GNU parallel) reads as it does whole.
    if (c == '\n' || c == '\r')
        return PinyinBoundary::Edge;
    if (c == ' ' || c == '\t' || c == 0x3000 || c == 0xA0)
        return PinyinBoundary::Space;
    if (c < 0x80 || (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
        (c >= 0xFF00 && c <= 0xFFEF))
        return PinyinBoundary::Punctuation;
    return PinyinBoundary::Other;
}

void pinyinContextFeatures(std::span<const char32_t> run, std::span<const std::uint8_t> wordStart,
                           std::span<const std::uint8_t> wordTag, std::size_t i, PinyinBoundary before,
                           PinyinBoundary after, std::vector<std::uint32_t> &out,
                           std::vector<std::uint8_t> *beyond) {
    out.clear();
    if (beyond)
        beyond->clear();
    const auto p = static_cast<std::ptrdiff_t>(i);
    const auto size = static_cast<std::ptrdiff_t>(run.size());
    // What the feature pushed last sees past the run: its start, its end.
    auto mark = [&](bool start, bool end) {
        if (beyond)
            beyond->push_back(static_cast<std::uint8_t>((start ? kPastStart : 0) | (end ? kPastEnd : 0)));
    };
    auto c = [&](std::ptrdiff_t d) { return at(run, p + d, before, after); };
    out.push_back(FeatureHash(Bias).h);
    mark(false, false);
    out.push_back(FeatureHash(Left1).add(c(-1)).h);
    mark(p < 1, false);
    out.push_back(FeatureHash(Right1).add(c(1)).h);
    mark(false, p + 1 >= size);
    out.push_back(FeatureHash(Left2).add(c(-2)).h);
    mark(p < 2, false);
    out.push_back(FeatureHash(Right2).add(c(2)).h);
    mark(false, p + 2 >= size);
    out.push_back(FeatureHash(Left3).add(c(-3)).h);
    mark(p < 3, false);
    out.push_back(FeatureHash(Right3).add(c(3)).h);
    mark(false, p + 3 >= size);
    out.push_back(FeatureHash(Around).add(c(-1)).add(c(1)).h);
    mark(p < 1, p + 1 >= size);
    out.push_back(FeatureHash(LeftPair).add(c(-2)).add(c(-1)).h);
    mark(p < 2, false);
    out.push_back(FeatureHash(RightPair).add(c(1)).add(c(2)).h);
    mark(false, p + 2 >= size);
    // Beside characters that spell foreign names (塞尔维亚, 迈塞姆布里亚): a transliteration.
    const bool foreignLeft = p > 0 && spellsForeignNames(run[i - 1]);
    const bool foreignRight = i + 1 < run.size() && spellsForeignNames(run[i + 1]);
    if (foreignLeft) {
        out.push_back(FeatureHash(ForeignLeft).h);
        mark(false, false);
    }
    if (foreignRight) {
        out.push_back(FeatureHash(ForeignRight).h);
        mark(false, false);
    }
    if (foreignLeft && foreignRight) {
        out.push_back(FeatureHash(ForeignAround).h);
        mark(false, false);
    }
    // The words beside this one: whole, and the character that touches it.
    const std::size_t n = run.size();
    std::size_t end = i + 1;
    while (end < n && !wordStart[end])
        ++end;
    std::size_t start = i;
    while (start > 0 && !wordStart[start])
        --start;
    // The parts of speech of the words beside it (beyond the run: what lies there).
    auto tagAt = [&](std::size_t k) -> std::uint32_t { return k < wordTag.size() ? wordTag[k] : 0u; };
    std::uint32_t prevTag = 0x110000u + static_cast<std::uint32_t>(before);
    std::uint32_t nextTag = 0x110100u + static_cast<std::uint32_t>(after);
    if (start > 0) {
        std::size_t prev = start - 1;
        while (prev > 0 && !wordStart[prev])
            --prev;
        prevTag = tagAt(prev);
    }
    if (end < n)
        nextTag = tagAt(end);
    out.push_back(FeatureHash(PreviousTag).add(prevTag).h);
    mark(start == 0, false);
    out.push_back(FeatureHash(NextTag).add(nextTag).h);
    mark(false, end >= n);
    out.push_back(FeatureHash(TagsAround).add(prevTag).add(nextTag).h);
    mark(start == 0, end >= n);
    if (start > 0) {
        std::size_t prev = start - 1;
        while (prev > 0 && !wordStart[prev])
            --prev;
        FeatureHash w(PreviousWord);
        for (std::size_t k = prev; k < start; ++k)
            w.add(run[k]);
        out.push_back(w.h);
        mark(false, false);
        if (start - prev > 1) {
            out.push_back(FeatureHash(PreviousWordLast)
                              .add(run[start - 1])
                              .add(static_cast<std::uint32_t>(start - prev))
                              .h);
            mark(false, false);
        }
    } else {
        out.push_back(FeatureHash(PreviousWord).add(c(-1)).h);
        mark(p < 1, false);
    }
    if (end < n) {
        std::size_t next = end + 1;
        while (next < n && !wordStart[next])
            ++next;
        FeatureHash w(NextWord);
        for (std::size_t k = end; k < next; ++k)
            w.add(run[k]);
        out.push_back(w.h);
        mark(false, false);
        if (next - end > 1) {
            out.push_back(
                FeatureHash(NextWordFirst).add(run[end]).add(static_cast<std::uint32_t>(next - end)).h);
            mark(false, false);
        }
    } else {
        out.push_back(FeatureHash(NextWord).add(at(run, static_cast<std::ptrdiff_t>(n), before, after)).h);
        mark(false, true);
    }
    // Inside a word: the word and the place in it, last.
    if (end - start > 1) {
        FeatureHash w(InWord);
        for (std::size_t k = start; k < end; ++k)
            w.add(run[k]);
        out.push_back(w.add(static_cast<std::uint32_t>(i - start)).h);
        mark(false, false);
    }
}

} // namespace core
