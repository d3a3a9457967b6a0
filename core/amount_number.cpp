#include "core/amount_number.h"

#include <algorithm>
#include <string>

namespace core {
namespace {

// Full-width digits, point and signs as their ASCII forms; every other unit as it is, so that
// indices into the result are indices into the text.
char16_t halfWidth(char16_t c) {
    if (c >= u'０' && c <= u'９')
        return static_cast<char16_t>(u'0' + (c - u'０'));
    switch (c) {
    case u'．':
        return u'.';
    case u'＋':
        return u'+';
    case u'－':
        return u'-';
    default:
        return c;
    }
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
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
        u"零〇一二三四五六七八九十百千万亿两兩壹贰貳叁參肆伍陆陸柒捌玖拾佰仟萬億廿卅点點";
    return kNumerals.find(c) != std::u16string_view::npos;
}

// Characters from which the leading-number reading can find digits: a start anywhere else reads
// no number, and a start on a blank reads what the next character would.
bool canStart(char16_t c) {
    return isDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'&';
}

} // namespace

Outcome<Decimal> readAmountNumber(std::u16string_view text) {
    std::u16string plain(text);
    std::transform(plain.begin(), plain.end(), plain.begin(), halfWidth);
    const std::u16string_view t = plain;
    const std::size_t n = t.size();

    // Each try stops at the first character that cannot continue a number, so the tries together
    // look at each character a bounded number of times.
    std::size_t i = 0;
    LeadingSpan number;
    for (; i < n; ++i) {
        if (!canStart(t[i]))
            continue;
        number = readLeadingSpan(t.substr(i));
        if (number.hasDigits)
            break;
    }
    if (i == n)
        return Outcome<Decimal>::refused(0, u"没有可换算的数字");

    Decimal value = std::move(number.value);
    std::size_t k = i + number.end;
    auto skipBlanks = [&] {
        while (k < n && isBlank(t[k]))
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
    if (k < n && isNumeral(t[k]))
        return {std::nullopt, refusalAt(text, k, u"数字后面还有数字，不是一个明确的金额")};
    for (; k < n; ++k)
        if (isDigit(t[k]))
            return {std::nullopt, refusalAt(text, k, u"文中不止一个数字，不是一个明确的金额")};
    return Outcome<Decimal>::ok(std::move(value));
}

} // namespace core
