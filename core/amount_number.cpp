#include "core/amount_number.h"

#include "core/number.h"
#include "core/utf.h"

#include <algorithm>
#include <string>

namespace core {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
// What may part a number from its sign, label or unit: any white space a reader sees as a gap
// (a no-break or thin space from a web page, a line break from a wrapped cell) and the invisible
// characters pasted beside it. Read as part of the label, a no-break space after "-" dropped the
// sign, and one before 万 its multiplier.
bool isGap(char16_t c) {
    return isSpaceOrInvisible(c);
}
bool isTenThousand(char16_t c) {
    return c == u'万' || c == u'萬';
}
bool isHundredMillion(char16_t c) {
    return c == u'亿' || c == u'億';
}

// The characters that write a number or one of its units in Chinese, ordinary or capital, simplified
// or traditional.
bool isNumeral(char16_t c) {
    static constexpr std::u16string_view kNumerals =
        u"零〇一二三四五六七八九十百千万亿两兩壹贰貳叁參肆伍陆陸柒捌玖拾佰仟萬億兆廿卅点點";
    return kNumerals.find(c) != std::u16string_view::npos;
}

// Characters from which the leading-number reading can find digits: a start anywhere else reads
// no number, and a start on a blank reads what the next character would.
bool canStart(char16_t c) {
    return isDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'&';
}

// What may stand between a label and its number.
enum class Mark { None, Blank, Minus, Plus, PlusMinus, Currency, Open, Dash, WordMinus, LineAbove };

// Dashes and minus look-alikes that people type for a minus (the hyphen, en and em dashes, the
// small and superscript minus, the heavy minus, the long dashes, the katakana prolonged sound mark
// an input method gives for "-"), the triangles that Japanese statements put before a negative
// number (△100) and the downward ones and arrows that statements mark a fall with (▼100, ↓100):
// read as neither a sign nor part of a label.
bool isDash(char16_t c) {
    return (c >= u'\u2010' && c <= u'\u2015') || c == u'\uFE63' || c == u'\uFE58' || c == u'\u207B' ||
           c == u'\u208B' || c == u'\u2796' || c == u'\u02D7' || c == u'\u25B2' || c == u'\u25B3' ||
           c == u'\u25BC' || c == u'\u25BD' || c == u'\u2193' || c == u'\u2E3A' || c == u'\u2E3B' ||
           c == u'\u30FC' || c == u'\uFF70';
}

// The mark of one or three characters ending just before `end`, with its length; None (length 0)
// when the text there is part of the label.
struct MarkAt {
    Mark mark = Mark::None;
    std::size_t length = 0;
};
MarkAt markBefore(std::u16string_view t, std::size_t end) {
    if (end >= 3) {
        const std::u16string_view word = t.substr(end - 3, 3);
        std::u16string upper(word);
        for (char16_t &c : upper)
            if (c >= u'a' && c <= u'z')
                c = static_cast<char16_t>(c - u'a' + u'A');
        if (upper == u"RMB" || upper == u"CNY" || word == u"人民币")
            return {Mark::Currency, 3};
    }
    if (end == 0)
        return {};
    const char16_t c = t[end - 1];
    if (c == u'\n' || c == u'\u2028' || c == u'\u2029' || c == u'\u0085') {
        // A line of dashes or rules above the number (合计 / -------- / 100.00) ends the label: its
        // dashes are no sign.
        std::size_t start = end - 1, rules = 0;
        bool onlyRules = true;
        while (start > 0 && t[start - 1] != u'\n' && onlyRules) {
            const char16_t r = t[--start];
            const bool rule = r == u'-' || r == u'=' || r == u'_' || r == u'*' || r == u'~' || r == u'·' ||
                              isDash(r) || (r >= u'\u2500' && r <= u'\u257F');
            rules += rule;
            onlyRules = rule || isGap(r);
        }
        return {onlyRules && rules >= 2 ? Mark::LineAbove : Mark::Blank, 1};
    }
    if (isGap(c))
        return {Mark::Blank, 1};
    if (c == u'±' || ((c == u'负' || c == u'負') && end >= 2 && t[end - 2] == u'正'))
        return {Mark::PlusMinus, c == u'±' ? std::size_t(1) : std::size_t(2)};
    // 负 at the end of a word belongs to it (自负 300, 胜负): no clear minus
    if ((c == u'负' || c == u'負') && end >= 2 && t[end - 2] >= u'\u4E00' && t[end - 2] <= u'\u9FFF')
        return {Mark::WordMinus, 1};
    if (c == u'-' || c == u'负' || c == u'負')
        return {Mark::Minus, 1};
    if (c == u'+')
        return {Mark::Plus, 1};
    if (c == u'￥' || c == u'¥')
        return {Mark::Currency, 1};
    if (c == u'(' || c == u'（')
        return {Mark::Open, 1};
    if (isDash(c))
        return {Mark::Dash, 1};
    return {};
}

// Currency signs other than ￥ and ¥ ($, €, £, ₩...), in either width.
bool isOtherCurrencySign(char16_t c) {
    return c == u'$' || c == u'\uFF04' || c == u'\uFE69' || (c >= u'\u00A2' && c <= u'\u00A4') ||
           (c >= u'\u20A0' && c <= u'\u20C0') || c == u'\uFFE0' || c == u'\uFFE1' || c == u'\uFFE6';
}

// Latin letters, in either width.
bool isLatinLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'\uFF21' && c <= u'\uFF3A') ||
           (c >= u'\uFF41' && c <= u'\uFF5A');
}

// What a currency other than the yuan is written with before an amount: its signs, its code or
// the letters before its sign (USD, US$, HK$), and the characters of its Chinese name (美元, 港币,
// 欧元, 英镑...).
bool isCurrencyWordPart(char16_t c) {
    static constexpr std::u16string_view kNameCharacters = u"美港澳台欧日英加新韩瑞泰卢元圆币镑郎铢盾";
    return isOtherCurrencySign(c) || isLatinLetter(c) || kNameCharacters.find(c) != std::u16string_view::npos;
}

// A percent, per-mille or per-ten-thousand sign: "50%" is a share, and read as 50 it would
// become fifty yuan.
bool isPercent(char16_t c) {
    return c == u'%' || c == u'\uFF05' || c == u'\uFE6A' || c == u'\u2030' || c == u'\u2031' ||
           c == u'\u066A';
}

// The letters that people write after a number to multiply it ("15k" a salary, "1.5M", "3w" for
// 万, "2bn"): read as the number alone, 15k was fifteen yuan. The word of letters at `at` is one
// of them when it ends there (a word such as "kg" or "RMB" is no multiplier).
bool isLetterMultiplier(std::u16string_view t, std::size_t at) {
    std::string word;
    for (std::size_t i = at; i < t.size() && isLatinLetter(t[i]) && word.size() <= 8; ++i) {
        char16_t c = t[i] >= u'\uFF21' ? static_cast<char16_t>(t[i] - u'\uFF21' + u'A') : t[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        word += static_cast<char>(c);
    }
    static constexpr std::string_view kWords[] = {
        "K",   "M",        "B",       "W",       "KK",       "MM",   "BN",    "MN",    "MLN",
        "MIO", "THOUSAND", "MILLION", "BILLION", "TRILLION", "LAKH", "LAKHS", "CRORE", "CRORES"};
    return std::find(std::begin(kWords), std::end(kWords), word) != std::end(kWords);
}

bool isClose(char16_t c) {
    return c == u')' || c == u'）';
}

// The numerals that multiply the digit before them: 十 百 千 万 亿 in either form.
bool isNumeralUnit(char16_t c) {
    static constexpr std::u16string_view kUnits = u"十拾百佰千仟万萬亿億兆廿卅";
    return kUnits.find(c) != std::u16string_view::npos;
}

bool isYuan(char16_t c) {
    return c == u'元' || c == u'圆' || c == u'块' || c == u'塊';
}

bool isMinusWord(char16_t c) {
    return c == u'负' || c == u'負';
}

bool isOpen(char16_t c) {
    return c == u'(' || c == u'（';
}

bool isLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029' || c == u'\u0085';
}

bool isIdeograph(char16_t c) {
    return c >= u'\u4E00' && c <= u'\u9FFF';
}

// Digits of other scripts (Arabic-Indic, Devanagari, mathematical...), superscripts and subscripts,
// vulgar fractions, circled and parenthesised numbers, Roman numerals: right after the number
// they may write more of it ("10²", "1½", "10٠"), and the reading stopped before them.
bool isDigitOfAnotherKind(char32_t c) {
    struct Range {
        char32_t first, last;
    };
    // Decimal digits (general category Nd, Unicode 15) other than ASCII and full width, which
    // the reading knows; then the other characters that write numbers.
    static constexpr Range kRanges[] = {
        {0x660, 0x669},     {0x6F0, 0x6F9},     {0x7C0, 0x7C9},     {0x966, 0x96F},     {0x9E6, 0x9EF},
        {0xA66, 0xA6F},     {0xAE6, 0xAEF},     {0xB66, 0xB6F},     {0xBE6, 0xBEF},     {0xC66, 0xC6F},
        {0xCE6, 0xCEF},     {0xD66, 0xD6F},     {0xDE6, 0xDEF},     {0xE50, 0xE59},     {0xED0, 0xED9},
        {0xF20, 0xF29},     {0x1040, 0x1049},   {0x1090, 0x1099},   {0x17E0, 0x17E9},   {0x1810, 0x1819},
        {0x1946, 0x194F},   {0x19D0, 0x19D9},   {0x1A80, 0x1A89},   {0x1A90, 0x1A99},   {0x1B50, 0x1B59},
        {0x1BB0, 0x1BB9},   {0x1C40, 0x1C49},   {0x1C50, 0x1C59},   {0xA620, 0xA629},   {0xA8D0, 0xA8D9},
        {0xA900, 0xA909},   {0xA9D0, 0xA9D9},   {0xA9F0, 0xA9F9},   {0xAA50, 0xAA59},   {0xABF0, 0xABF9},
        {0x104A0, 0x104A9}, {0x10D30, 0x10D39}, {0x11066, 0x1106F}, {0x110F0, 0x110F9}, {0x11136, 0x1113F},
        {0x111D0, 0x111D9}, {0x112F0, 0x112F9}, {0x11450, 0x11459}, {0x114D0, 0x114D9}, {0x11650, 0x11659},
        {0x116C0, 0x116C9}, {0x11730, 0x11739}, {0x118E0, 0x118E9}, {0x11950, 0x11959}, {0x11C50, 0x11C59},
        {0x11D50, 0x11D59}, {0x11DA0, 0x11DA9}, {0x11F50, 0x11F59}, {0x16A60, 0x16A69}, {0x16AC0, 0x16AC9},
        {0x16B50, 0x16B59}, {0x1D7CE, 0x1D7FF}, {0x1E140, 0x1E149}, {0x1E2F0, 0x1E2F9}, {0x1E4F0, 0x1E4F9},
        {0x1E950, 0x1E959}, {0x1FBF0, 0x1FBF9}, {0xB2, 0xB3},       {0xB9, 0xB9},       {0xBC, 0xBE},
        {0x2070, 0x2079},   {0x2080, 0x2089},   {0x2150, 0x2189},   {0x2460, 0x24FF},   {0x2776, 0x2793},
        {0x3021, 0x3029},   {0x3220, 0x3229},   {0x3248, 0x325F},   {0x3280, 0x3289},   {0x32B1, 0x32BF},
        {0x1F100, 0x1F10C},
    };
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [c](const Range &r) { return c >= r.first && c <= r.last; });
}

// The multipliers that a label may name as the unit its numbers count in.
bool isUnitMultiplier(char16_t c) {
    static constexpr std::u16string_view kUnits = u"万萬亿億千仟百佰";
    return kUnits.find(c) != std::u16string_view::npos;
}

// The end of the currency's name at `q` of `t` (before `end`), or `q` where none starts there:
// 元 or 圆, a currency's Chinese name (美元, 人民币, 港币, 英镑), or a code of three capitals (USD,
// RMB, HKD). A coin is none (纪念币, 金币).
std::size_t currencyAfter(std::u16string_view t, std::size_t q, std::size_t end) {
    if (q < end && isYuan(t[q]))
        return q + 1;
    static constexpr std::u16string_view kNames[] = {
        u"人民币", u"人民幣", u"新台币", u"新臺幣", u"美元", u"欧元", u"歐元", u"日元",
        u"港元",   u"港币",   u"港幣",   u"英镑",   u"英鎊", u"澳元", u"加元", u"韩元",
        u"韓元",   u"台币",   u"臺幣",   u"卢布",   u"盧布", u"法郎"};
    for (const std::u16string_view name : kNames)
        if (t.substr(q, std::min(name.size(), end - q)) == name)
            return q + name.size();
    std::size_t e = q;
    while (e < end && e < q + 4 && t[e] >= u'A' && t[e] <= u'Z')
        ++e;
    if (e == q + 3 && !(e < end && isLatinLetter(t[e])))
        return e;
    return q;
}

// Words of English statements that name the unit the numbers count in, in brackets: "(in
// thousands)", "(RMB'000)", "(mn)", "(k)"; never a capital alone, which may be a size ("T恤 (M)").
bool namesEnglishUnit(std::u16string_view inside) {
    std::string all;
    for (const char16_t c : inside) {
        const char16_t l = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
        all += l < 0x80 ? static_cast<char>(l) : (l == u'\u2019' ? '\'' : '?');
    }
    if (all.find("'000") != std::string::npos || inside == u"k") // RMB'000; k (K and M may be sizes)
        return true;
    std::size_t b = 0;
    while (b < all.size()) {
        std::size_t e = b;
        while (e < all.size() && all[e] != ' ' && all[e] != '/' && all[e] != ',')
            ++e;
        const std::string_view word = std::string_view(all).substr(b, e - b);
        for (std::string_view w : {"thousand", "thousands", "million", "millions", "billion", "billions",
                                   "mn", "bn", "000", "$000"})
            if (word == w)
                return true;
        b = e + 1;
    }
    return false;
}

// Whether a unit the numbers count in is named at `p` of `t`, before `end`: 万元, 亿元, 千元 (or
// 圆) that a bracket, a colon, a blank or `end` closes, or a bare multiplier in brackets or after a
// colon or 单位 ("(万)", "单位：万", "单位 万"). "万元户" and "百度" name none.
bool namesUnitAt(std::u16string_view t, std::size_t p, std::size_t end) {
    static constexpr std::u16string_view kBefore = u"(（〔［[【:：/／位", kAfter = u")）〕］]】:：";
    if (!isUnitMultiplier(t[p]))
        return false;
    std::size_t q = p + 1;
    const std::size_t currency = currencyAfter(t, q, end);
    const bool yuan = currency > q;
    q = currency;
    if (!(q == end || isGap(t[q]) || kAfter.find(t[q]) != std::u16string_view::npos))
        return false;
    std::size_t b = p;
    while (b > 0 && isGap(t[b - 1]))
        --b;
    return yuan || (b > 0 && kBefore.find(t[b - 1]) != std::u16string_view::npos);
}

// A unit named in the label for the number that follows ("金额（万元）：1.5", "收入(万): 3",
// "（单位：万元）\n合计 1.5", "万元：1.5"): the number counts in it, and read in yuan it came out ten
// thousand times too small. The place of the unit, or npos.
std::size_t unitInLabel(std::u16string_view label) {
    static constexpr std::u16string_view kOpen = u"(（[［【〔", kClose = u")）]］】〕";
    for (std::size_t p = 0; p < label.size(); ++p) {
        if (namesUnitAt(label, p, label.size()))
            return p;
        if (kOpen.find(label[p]) != std::u16string_view::npos) {
            const std::size_t close = label.find_first_of(kClose, p + 1);
            if (close != std::u16string_view::npos && close - p <= 24 &&
                namesEnglishUnit(label.substr(p + 1, close - p - 1)))
                return p + 1;
        }
    }
    return std::u16string_view::npos;
}

// The same after the number, in brackets: "100（万元）", "1.5（单位：万元）"; "500（百度推广）" and
// "100(千克)" name none. The place of the unit, or npos.
std::size_t unitAfterNumber(std::u16string_view t, std::size_t k) {
    if (k >= t.size() || !isOpen(t[k]))
        return std::u16string_view::npos;
    std::size_t p = k + 1;
    if (t.substr(p, 2) == u"单位" || t.substr(p, 2) == u"單位") {
        p += 2;
        while (p < t.size() && (isGap(t[p]) || t[p] == u':' || t[p] == u'：'))
            ++p;
    }
    return p < t.size() && namesUnitAt(t, p, t.size()) ? p : std::u16string_view::npos;
}

// A sign or an opening parenthesis that starts a clause of the label's line with more words
// between it and the number ("-合计：100", "-:100", "-[100]", "负：100", "（负）100", "(约100)"):
// read as a label, it was dropped and the amount came out positive. A dash and a blank (a list's
// "- 金额：100"), a hyphen inside a word (e-mail), 负 that starts a word (负责人) and a parenthesis
// closed in the label ("(含税) 100") or whose amount no parenthesis closes stay a label. `closed`
// tells whether a closing parenthesis follows the number on its line. The place of the sign, or
// npos.
std::size_t signBeforeWords(std::u16string_view t, std::size_t labelEnd, bool closed) {
    static constexpr std::u16string_view kClauseOpeners = u":：,，、;；([（【「『“\"《<";
    std::size_t line = labelEnd;
    while (line > 0 && !isLineBreak(t[line - 1]))
        --line;
    std::size_t open = std::u16string_view::npos;
    for (std::size_t p = line; p < labelEnd; ++p) {
        const char16_t c = t[p];
        if (isClose(c))
            open = std::u16string_view::npos;
        const bool startsClause =
            p == line || isGap(t[p - 1]) || kClauseOpeners.find(t[p - 1]) != std::u16string_view::npos;
        if (!startsClause || p + 1 >= labelEnd)
            continue;
        const char16_t next = t[p + 1];
        // not a rule (---, -=-), an arrow (->) or a face (:-), :-()
        if ((c == u'-' || isDash(c)) && !isGap(next) && next != u'-' && next != u'=' && !isDash(next) &&
            next != u'>' && !isOpen(next) && !isClose(next))
            return p;
        if (isMinusWord(c) && !isGap(next) &&
            (next == u'数' || next == u'數' || (!isIdeograph(next) && !isLatinLetter(next))))
            return p;
        if (isOpen(c) && open == std::u16string_view::npos)
            open = p;
    }
    return closed ? open : std::u16string_view::npos;
}

// What a code or a word ends with when a hyphen after it joins a number to it (SKU-100, A-100,
// No.-100, 编号-100): that hyphen is no minus.
bool endsCode(std::u16string_view t, std::size_t at) {
    const char16_t c = t[at];
    return isLatinLetter(c) || isDigit(c) || c == u'.' || c == u'#' || c == u'_' || c == u'/' || c == u'号' ||
           c == u'號';
}

// The sign that the marks before the number at `start` give it, or a refusal of a sign in doubt.
struct LeadIn {
    bool minus = false;
    bool open = false;
    std::size_t openAt = 0;
    std::optional<Refusal> refusal;
    std::size_t labelEnd = 0; // where the marks before the number start
};
LeadIn readLeadIn(std::u16string_view text, std::u16string_view t, std::size_t start) {
    LeadIn in;
    const bool ownSign = t[start] == u'-' || t[start] == u'+';
    std::size_t signs = ownSign ? 1 : 0, currencies = 0;
    std::size_t minusAt = t[start] == u'-' ? start : t.size(); // a hyphen-minus read as the sign
    // Walked from the number back to the label, so each refusal names the mark nearest the number.
    std::size_t end = start;
    while (end > 0) {
        const MarkAt m = markBefore(t, end);
        if (m.mark == Mark::None)
            break;
        end -= m.length;
        switch (m.mark) {
        case Mark::Minus:
        case Mark::Plus:
            if (++signs > 1)
                return {false, false, 0, refusalAt(text, end, Message(MessageId::SignTwice))};
            in.minus = m.mark == Mark::Minus;
            minusAt = in.minus && t[end] == u'-' ? end : t.size();
            break;
        case Mark::Currency:
            if (++currencies > 1)
                return {false, false, 0, refusalAt(text, end, Message(MessageId::CurrencyTwice))};
            break;
        case Mark::Open:
            if (in.open)
                return {false, false, 0, refusalAt(text, end, Message(MessageId::ParenthesisTwice))};
            in.open = true;
            in.openAt = end;
            break;
        case Mark::Dash:
            return {false, false, 0, refusalAt(text, end, Message(MessageId::DashNotMinus))};
        case Mark::PlusMinus: // ±5, 正负500: either sign
            return {false, false, 0, refusalAt(text, end, Message(MessageId::SignTwice))};
        case Mark::WordMinus:
            return {false, false, 0, refusalAt(text, end, Message(MessageId::MinusInWord))};
        case Mark::Blank:
        case Mark::None:
        case Mark::LineAbove:
            break;
        }
        if (m.mark == Mark::LineAbove)
            break;
    }
    if (in.open && signs > 0)
        return {false, false, 0, refusalAt(text, in.openAt, Message(MessageId::ParenthesesAndSign))};
    // A hyphen right after a code joins it to the number (SKU-100); after a currency's code it is
    // the sign (RMB-100).
    if (minusAt < t.size() && minusAt > 0 && endsCode(t, minusAt - 1) &&
        markBefore(t, minusAt).mark != Mark::Currency)
        return {false, false, 0, refusalAt(text, minusAt, Message(MessageId::HyphenAfterCode))};
    // Parentheses make the amount negative where they open its value: at the start, or after a
    // label that a colon or blanks set apart ("合计：（5）", "净利润\t(5)"). Right after a word they
    // may open a note on it ("差旅费（500元）", "人民币壹仟元整（￥1000.00）"), and read as a minus they
    // turned its sign.
    if (in.open && end > 0) {
        std::size_t p = in.openAt;
        bool apart = false;
        while (p > 0) {
            const MarkAt m = markBefore(t, p);
            if (m.mark != Mark::Blank && m.mark != Mark::Currency)
                break;
            apart = apart || m.mark == Mark::Blank;
            p -= m.length;
        }
        if (p > 0 && !apart && t[p - 1] != u':' && t[p - 1] != u'：')
            return {false, false, 0, refusalAt(text, in.openAt, Message(MessageId::ParenthesesAfterWord))};
    }
    // A sign or parenthesis before another currency ("-$100", "-USD 100", "（美元1,234.50）") is
    // parted from the number by that currency; read as a label, it was dropped and the amount
    // came out positive.
    // More than three letters in a row are a word of the label, not a currency code: "Sub-total 5".
    std::size_t word = end, letters = 0;
    while (word > 0 && letters <= 3 && (isCurrencyWordPart(t[word - 1]) || isGap(t[word - 1]))) {
        const char16_t c = t[word - 1] | 0x20;
        letters = c >= u'a' && c <= u'z' ? letters + 1 : 0;
        --word;
    }
    if (word < end && word > 0 && letters <= 3) {
        const Mark before = markBefore(t, word).mark;
        if (before == Mark::Minus || before == Mark::Plus || before == Mark::Open || before == Mark::Dash)
            return {false, false, 0, refusalAt(text, word - 1, Message(MessageId::SignBeforeOtherText))};
    }
    in.labelEnd = end;
    return in;
}

// The leading-number reading skips blanks anywhere ("1 2 3" is 123), which joins two numbers into
// one amount: "iPhone15 5999元" was 155999, two cells copied with a tab between one sum. In an
// amount one space may only part the integer's digits into groups of three ("1 234 567", as commas
// do). The place in `number` (the span read, from its sign or first digit) of what follows a blank
// that parts it otherwise, or 0.
std::size_t blankPartingNumbers(std::u16string_view number) {
    std::size_t group = 0;  // digits since the start or the last separator
    bool separated = false; // a space or comma has parted the integer already
    bool commaGrouped = false, blankGrouped = false; // by which
    bool integer = true;    // still among the integer's digits
    bool digits = false;    // a digit has been read
    for (std::size_t k = 0; k < number.size();) {
        const char16_t c = number[k];
        if (isDigit(c)) {
            ++group;
            ++k;
            digits = true;
            continue;
        }
        if (!isBlank(c)) {
            if (c == u',' && integer) {
                if (blankGrouped)
                    return k; // "1 234,567": blanks and commas do not group one number together
                separated = commaGrouped = true;
                group = 0;
            } else if (digits || (c != u'-' && c != u'+')) {
                integer = false; // a point, an exponent (a sign before the digits is none)
            }
            ++k;
            continue;
        }
        std::size_t next = k;
        while (next < number.size() && isBlank(number[next]))
            ++next;
        if (next == number.size())
            return 0; // blanks after the number
        if (!digits) {
            k = next; // after its sign
            continue;
        }
        std::size_t after = next;
        while (after < number.size() && isDigit(number[after]))
            ++after;
        const bool oneSpace = next == k + 1 && c == u' ';
        if (!integer || !isDigit(number[k - 1]) || !oneSpace || after - next != 3 || group > 3 ||
            (separated && group != 3) || commaGrouped)
            return next;
        separated = blankGrouped = true;
        group = 0;
        k = next;
    }
    return 0;
}

} // namespace

Outcome<Decimal> readAmountNumber(std::u16string_view text) {
    std::u16string plain(text);
    std::transform(plain.begin(), plain.end(), plain.begin(), halfWidthNumberChar);
    const std::u16string_view t = plain;
    const std::size_t n = t.size();

    // Each try stops at the first character that cannot continue a number, so the tries together
    // look at each character a bounded number of times.
    std::size_t i = 0;
    LeadingSpan number;
    for (; i < n; ++i) {
        if (!canStart(t[i]))
            continue;
        // The point of an abbreviation ("No.100", "Nr. 5") ends the label; read as the number's
        // own, "No.100" was 0.1. A currency's code is no abbreviation: "RMB.5" is 0.5.
        if (t[i] == u'.' && i > 0 && isLatinLetter(t[i - 1]) && markBefore(t, i).mark != Mark::Currency)
            continue;
        // Dots that lead to the number ("合计......100元") are no decimal point: 0.1 was read.
        if (t[i] == u'.' && i > 0 && t[i - 1] == u'.')
            continue;
        // "&O" and "&H" start an octal or hexadecimal number, but not inside a name: "P&O 100元"
        // was 64.
        if (t[i] == u'&' && i > 0 && isLatinLetter(t[i - 1]))
            continue;
        number = readLeadingSpan(t.substr(i));
        if (number.hasDigits)
            break;
    }
    if (i == n)
        return Outcome<Decimal>::refused(0, Message(MessageId::NoNumberToConvert));
    // An E or D that no digits follow is read as an exponent of none: in an amount it starts a
    // word ("100 EUR", "100 dollars"), which the number ends before; the value is the same.
    {
        std::size_t end = number.end;
        while (end > 0 && (isBlank(t[i + end - 1]) || t[i + end - 1] == u'+' || t[i + end - 1] == u'-'))
            --end;
        const char16_t last = end > 0 ? t[i + end - 1] : u'0';
        if (t[i] != u'&' && (last == u'E' || last == u'e' || last == u'D' || last == u'd'))
            number.end = end - 1;
    }

    LeadIn in = readLeadIn(text, t, i);
    if (in.refusal)
        return {std::nullopt, std::move(*in.refusal)};
    // Numerals before the digits that write a part of the amount in words, read as a label, were
    // dropped: "两万3000元" is 23000, "壹仟零5元" 1005. A unit numeral (十 百 千 万 亿) or 零 right
    // before the digits, or a unit after another numeral and a blank ("两千 500元"); a label that
    // ends in a numeral of its own (张三 1000, 周一 100元, 找零 5.00) stays a label.
    for (std::size_t p = i, gaps = 0; p > 0; ++gaps) {
        const char16_t c = t[--p];
        if (isGap(c))
            continue;
        // A numeral that starts a word right before the digits ("一5", "：三5") may write part of
        // the amount, or stand for a dash; one that ends a word is a name's or a day's (张三100元,
        // 周一100元), and 点 tells the time (十点100元).
        const bool adjacent = gaps == 0, zero = c == u'零' || c == u'〇', point = c == u'点' || c == u'點';
        const bool startsWord = p == 0 || (!isIdeograph(t[p - 1]) && !isLatinLetter(t[p - 1]));
        if ((isNumeralUnit(c) && (adjacent || (p > 0 && isNumeral(t[p - 1])))) || (zero && adjacent) ||
            (isNumeral(c) && !point && adjacent && startsWord))
            return {std::nullopt, refusalAt(text, p, Message(MessageId::NumeralsBeforeNumber))};
        break;
    }
    if (const std::size_t at = blankPartingNumbers(t.substr(i, number.end)); at != 0)
        return {std::nullopt, refusalAt(text, i + at, Message(MessageId::BlankInsideNumber))};
    // Digits that end a code or a number's name ("iPhone15 999元", "房间302 500元", "No.5 500",
    // "#5 500", "第3 500元") and the amount after a blank are two numbers, not one grouped in threes
    // (15999 was read); a currency's code before them is no code ("RMB1 000").
    static constexpr std::u16string_view kCodeEnds = u"#＃-号號第室间間";
    // A word that names a number before it, past a blank ("Room 302 500元", "房号 302 500元").
    const auto namesANumber = [&] {
        std::size_t e = i;
        while (e > 0 && isGap(t[e - 1]))
            --e;
        if (e == i)
            return false;
        std::size_t b = e;
        while (b > 0 && isLatinLetter(t[b - 1]))
            --b;
        std::string word;
        for (std::size_t k = b; k < e; ++k)
            word += static_cast<char>(t[k] >= u'a' && t[k] <= u'z' ? t[k] - 32 : t[k] < 0x80 ? t[k] : '?');
        static constexpr std::string_view kWords[] = {"ROOM", "RM",  "NO",    "NR", "UNIT", "APT", "SUITE",
                                                      "FLAT", "TEL", "PHONE", "ID", "CODE", "REF", "ITEM"};
        if (std::find(std::begin(kWords), std::end(kWords), word) != std::end(kWords))
            return true;
        return e > 0 && (kCodeEnds.find(t[e - 1]) != std::u16string_view::npos || t[e - 1] == u'座');
    };
    const bool afterCode =
        i > 0 && ((isLatinLetter(t[i - 1]) && markBefore(t, i).mark != Mark::Currency) ||
                  kCodeEnds.find(t[i - 1]) != std::u16string_view::npos ||
                  (t[i - 1] == u'.' && i > 1 && isLatinLetter(t[i - 2])) || namesANumber());
    if (afterCode)
        for (std::size_t k = i + 1; k < i + number.end; ++k)
            if (isGap(t[k]) && isDigit(t[k - 1])) {
                std::size_t next = k;
                while (next < i + number.end && isGap(t[next]))
                    ++next;
                if (next < i + number.end && isDigit(t[next]))
                    return {std::nullopt, refusalAt(text, next, Message(MessageId::BlankInsideNumber))};
            }

    if (const std::size_t at = unitInLabel(t.substr(0, in.labelEnd)); at != std::u16string_view::npos) {
        // The unit as the label writes it: a character, or an English word to its bracket.
        std::size_t end = at + 1;
        if (t[at] < 0x80)
            while (end < in.labelEnd && t[end] < 0x80 && t[end] != u')' && t[end] != u']')
                ++end;
        return {std::nullopt,
                refusalAt(text, at, Message(MessageId::UnitInLabel, {utf16ToUtf8(t.substr(at, end - at))}))};
    }
    {
        std::size_t line = i + number.end;
        while (line < n && !isLineBreak(t[line]) && !isClose(t[line]))
            ++line;
        const bool closed = line < n && isClose(t[line]);
        if (const std::size_t at = signBeforeWords(t, in.labelEnd, closed); at != std::u16string_view::npos)
            return {std::nullopt, refusalAt(text, at, Message(MessageId::SignBeforeOtherText))};
    }

    Decimal value = std::move(number.value);
    std::size_t k = i + number.end;
    if (k < n) {
        std::size_t at = k;
        if (const char32_t c = nextCodePoint(t, at); isDigitOfAnotherKind(c))
            return {std::nullopt,
                    refusalAt(text, k,
                              Message(MessageId::DigitOfAnotherKind, {utf16ToUtf8(t.substr(k, at - k))}))};
    }
    auto skipBlanks = [&] {
        while (k < n && isGap(t[k]))
            ++k;
    };
    skipBlanks();
    int times = 0; // the power of ten of the multiplier
    if (k < n && isTenThousand(t[k])) {
        ++k;
        times = 4;
        if (k < n && isHundredMillion(t[k])) {
            ++k;
            times = 12;
        }
    } else if (k < n && isHundredMillion(t[k])) {
        ++k;
        times = 8;
    }
    if (times != 0 && !value.isZero())
        value.point = std::min(value.point + times, kExponentClamp);
    skipBlanks();
    // "100（万元）": the unit the number counts in, in parentheses after it
    if (const std::size_t at = unitAfterNumber(t, k); at != std::u16string_view::npos)
        return {std::nullopt,
                refusalAt(text, at, Message(MessageId::UnitInLabel, {utf16ToUtf8(t.substr(at, 1))}))};
    if (k < n && isPercent(t[k]))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::PercentNotAmount))};
    if (k < n && isLetterMultiplier(t, k))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::LetterMultiplier))};
    if (k < n && isNumeral(t[k]))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::NumeralsAfterNumber))};
    if (k < n && (t[k] == u'角' || t[k] == u'毛' || t[k] == u'分')) // read as yuan, 10 or 100 times
        return {std::nullopt, refusalAt(text, k, Message(MessageId::SubunitAfterNumber))};
    // "100多元" and "1万余元" are more than the number, by an unknown part, as are "100元多" and
    // "100块多钱"; "100元余额" is a balance.
    const auto moreThan = [&](std::size_t at) {
        return at < n && (t[at] == u'多' || ((t[at] == u'余' || t[at] == u'餘') &&
                                             (at + 1 == n || (t[at + 1] != u'额' && t[at + 1] != u'額'))));
    };
    if (moreThan(k))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::MoreThanTheNumber))};
    if (k < n && (t[k] == u'元' || t[k] == u'圆' || t[k] == u'块' || t[k] == u'塊') && moreThan(k + 1))
        return {std::nullopt, refusalAt(text, k + 1, Message(MessageId::MoreThanTheNumber))};
    // "5折", "八五折" price at a share; "100折合美元" converts an amount.
    if (k < n && t[k] == u'折' && (k + 1 == n || (t[k + 1] != u'合' && t[k + 1] != u'算')))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::DiscountNotAmount))};
    if (k < n && (t[k] == u'-' || isMinusWord(t[k]) || isDash(t[k])))
        return {std::nullopt, refusalAt(text, k, Message(MessageId::MinusAfterNumber))};
    // After the unit, on its line: a minus that ends the amount ("100元-", "100元 −", "100元整（负）",
    // "100元（负数）") leaves the sign in doubt; a dash before more words ("100元 - 现金") parts
    // them, and 负责 is no sign. More of the amount in words ("3块五毛", "10元五角", "5块半",
    // "1万元零五百") is a part that was dropped; numerals or 半 before another word count or say
    // something else ("100元一张", "100元半价", "0.1元一分钟", "三分之一").
    if (std::size_t u = k; u < n && isYuan(t[u])) {
        const auto spaceOnLine = [&](std::size_t at) {
            return at < n && isGap(t[at]) && !isLineBreak(t[at]);
        };
        const auto ideograph = [&](std::size_t at) {
            return at < n && t[at] >= u'\u4E00' && t[at] <= u'\u9FFF';
        };
        ++u;
        while (spaceOnLine(u) || (u < n && (t[u] == u'整' || t[u] == u'正' || t[u] == u'(' || t[u] == u'（')))
            ++u;
        if (u < n && (t[u] == u'-' || isMinusWord(t[u]) || isDash(t[u]))) {
            std::size_t after = u + 1;
            if (isMinusWord(t[u]) && after < n && (t[after] == u'数' || t[after] == u'數'))
                ++after;
            while (spaceOnLine(after))
                ++after;
            if (after == n || isClose(t[after]) || isLineBreak(t[after]))
                return {std::nullopt, refusalAt(text, u, Message(MessageId::MinusAfterNumber))};
        }
        u = k + 1;
        while (spaceOnLine(u) || (u < n && (t[u] == u'零' || t[u] == u'〇')))
            ++u;
        std::size_t r = u;
        while (r < n && isNumeral(t[r]) && t[r] != u'点' && t[r] != u'點')
            ++r;
        // 角, 毛 or 分 as the unit of what the numerals count: at the end, or before 钱 or 整
        const bool subunit =
            r < n && (t[r] == u'角' || t[r] == u'毛' || t[r] == u'分') &&
            (!ideograph(r + 1) || t[r + 1] == u'钱' || t[r + 1] == u'錢' || t[r + 1] == u'整');
        const bool half = u < n && t[u] == u'半' && !ideograph(u + 1);
        if (half || (r > u && (subunit || !ideograph(r))))
            return {std::nullopt, refusalAt(text, u, Message(MessageId::WordsAfterUnit))};
    }
    // A unit or share after the bracket or quote that closes the number ("(1,234)万元", "“1.5”万元",
    // "[1.5]%") was dropped: read as the number alone, 10⁴ times too small.
    {
        static constexpr std::u16string_view kClosers = u")）]］】〕》〉」』”’\"'";
        std::size_t c = k;
        bool closer = false;
        for (;
             c < n && (isGap(t[c]) || kClosers.find(t[c]) != std::u16string_view::npos) && !isLineBreak(t[c]);
             ++c)
            closer = closer || !isGap(t[c]);
        if (closer && c < n &&
            (isNumeralUnit(t[c]) || isPercent(t[c]) || isLetterMultiplier(t, c) || moreThan(c) ||
             ((t[c] == u'角' || t[c] == u'毛' || t[c] == u'分') && (c + 1 == n || !isIdeograph(t[c + 1])))))
            return {std::nullopt, refusalAt(text, c, Message(MessageId::UnitAfterClosingMark))};
    }
    if (in.open) {
        std::size_t close = k;
        static constexpr std::u16string_view kBeforeClose = u"元圆整正";
        while (close < n && (isGap(t[close]) || kBeforeClose.find(t[close]) != std::u16string_view::npos))
            ++close;
        if (close == n || !isClose(t[close]))
            return {std::nullopt, refusalAt(text, in.openAt, Message(MessageId::ParenthesesNotAround))};
        // A minus after the parentheses would be a second sign: "(5)-" is not clearly -5.
        k = close + 1;
        skipBlanks();
        if (k < n && (t[k] == u'-' || isMinusWord(t[k]) || isDash(t[k])))
            return {std::nullopt, refusalAt(text, k, Message(MessageId::MinusAfterNumber))};
    }
    for (; k < n; ++k)
        if (isDigit(t[k]))
            return {std::nullopt, refusalAt(text, k, Message(MessageId::MoreThanOneNumber))};
    // A red-ink amount (红字发票, 红冲) is a negative one: read without a sign, it came out positive.
    if (!in.minus && !in.open && !value.negative) {
        const std::u16string_view label = t.substr(0, in.labelEnd);
        for (std::u16string_view red :
             {u"红字", u"紅字", u"红冲", u"紅沖", u"冲红", u"沖紅", u"红票", u"紅票"})
            if (const std::size_t at = label.find(red); at != std::u16string_view::npos)
                return {std::nullopt, refusalAt(text, at, Message(MessageId::RedInkWithoutSign))};
    }
    if (in.minus || in.open)
        value.negative = true;
    return Outcome<Decimal>::ok(std::move(value));
}

} // namespace core
