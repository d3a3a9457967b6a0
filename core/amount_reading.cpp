#include "core/amount_reading.h"

#include "core/utf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace core {
namespace {

constexpr std::u16string_view kRmb = u"人民币";
constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000};

// What a character of an amount is. Every text character is looked up once, in a small table
// hashed by the character's code modulo 107, which puts each of the 24 amount characters in a
// slot of its own.
enum class Kind : std::uint8_t { Other, Digit, SmallUnit, Wan, Yi, Yuan, Jiao, Fen, Zheng, Minus };

struct CharClass {
    char16_t c = 0;
    Kind kind = Kind::Other;
    std::uint8_t value = 0; // a digit's value, a small unit's exponent
    char16_t normal = 0;    // the form the reader compares: 元 万 亿 正 as 圆 萬 億 整
};

constexpr std::size_t kSlots = 107;

struct ClassTable {
    std::array<CharClass, kSlots> slot{};
    constexpr void add(char16_t c, Kind kind, int value, char16_t normal) {
        CharClass &s = slot[c % kSlots];
        if (s.kind != Kind::Other)
            throw "two amount characters share a slot"; // a compile-time error
        s = {c, kind, static_cast<std::uint8_t>(value), normal};
    }
    constexpr ClassTable() {
        constexpr std::u16string_view digits = u"零壹贰叁肆伍陆柒捌玖";
        for (std::size_t d = 0; d < digits.size(); ++d)
            add(digits[d], Kind::Digit, static_cast<int>(d), digits[d]);
        add(u'拾', Kind::SmallUnit, 1, u'拾');
        add(u'佰', Kind::SmallUnit, 2, u'佰');
        add(u'仟', Kind::SmallUnit, 3, u'仟');
        add(u'萬', Kind::Wan, 0, u'萬');
        add(u'万', Kind::Wan, 0, u'萬');
        add(u'億', Kind::Yi, 0, u'億');
        add(u'亿', Kind::Yi, 0, u'億');
        add(u'圆', Kind::Yuan, 0, u'圆');
        add(u'元', Kind::Yuan, 0, u'圆');
        add(u'角', Kind::Jiao, 0, u'角');
        add(u'分', Kind::Fen, 0, u'分');
        add(u'整', Kind::Zheng, 0, u'整');
        add(u'正', Kind::Zheng, 0, u'整');
        add(u'负', Kind::Minus, 0, u'负');
    }
};
constexpr ClassTable kClasses;

CharClass classOf(char16_t c) {
    const CharClass &s = kClasses.slot[c % kSlots];
    return s.c == c && s.kind != Kind::Other ? s : CharClass{c, Kind::Other, 0, c};
}

char16_t normalised(char16_t c) {
    return classOf(c).normal;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r' || c == u'\n';
}

// Reads the capitals in one pass, checking the order of the places as it goes; the value it finds
// is then written again and compared with the text, which refuses every other writing.
class Reader {
public:
    explicit Reader(std::u16string_view text) : m_text(text) {}

    Outcome<Fen> read() {
        std::size_t end = m_text.size();
        while (end > 0 && isBlank(m_text[end - 1]))
            --end;
        std::size_t i = 0;
        while (i < end && isBlank(m_text[i]))
            ++i;
        if (i == end)
            return Outcome<Fen>::refused(0, Message(MessageId::NoAmount));
        m_begin = i;
        m_end = end;
        // A label before the capitals (人民币（大写）：, 大写：) is skipped as a label before a
        // number is: everything before the first character an amount is written with.
        const std::size_t label = i;
        while (i < end && classOf(m_text[i]).kind == Kind::Other)
            ++i;
        if (i > label && !labelEndsWell(label, i))
            return failure();
        std::size_t labelEnd = i;
        while (labelEnd > label && isBlank(m_text[labelEnd - 1]))
            --labelEnd;
        m_rmb = labelEnd >= label + kRmb.size() && m_text.substr(labelEnd - kRmb.size(), kRmb.size()) == kRmb;
        m_begin = i;
        // The prefixes 人民币 and 负, each at most once, in either order.
        for (;;) {
            if (!m_rmb && m_text.substr(i, kRmb.size()) == kRmb && i + kRmb.size() <= end) {
                m_rmb = true;
                i += kRmb.size();
            } else if (!m_negative && i < end && m_text[i] == u'负') {
                m_negative = true;
                ++i;
            } else {
                break;
            }
        }
        m_body = i;
        if (i == end) {
            refuse(end, MessageId::NoAmount);
            return failure();
        }
        for (; i < end; ++i)
            if (!take(i))
                return failure();
        if (!finish())
            return failure();
        const Fen amount{m_negative && m_value != 0, m_value};
        if (!matchesWriting(amount))
            return failure();
        return Outcome<Fen>::ok(amount);
    }

private:
    Outcome<Fen> failure() const { return {std::nullopt, m_refusal}; }

    bool refuse(std::size_t index, Message what) {
        // Blanks after the text are not quoted: the problem there is the end of the amount.
        m_refusal = refusalAt(m_text.substr(0, m_end), index, std::move(what));
        return false;
    }

    // A label must not end in what may be a part of the amount: "九拾伍元整" is not 拾伍元整 after a
    // label 九, and "-壹仟元整" is not 壹仟元整.
    bool labelEndsWell(std::size_t begin, std::size_t end) {
        std::size_t last = end;
        while (last > begin && isBlank(m_text[last - 1]))
            --last;
        if (last == begin)
            return true;
        // Besides the ordinary numerals, the forms people write for capitals that the reader does
        // not take (参 and 叄 for 叁, 弍 for 贰, 漆 for 柒, the traditional 貳 參 陸 圓), and digits in
        // other scripts (①, Ⅱ, ²): "参拾元整" is thirty, never 拾元整 after a label 参.
        static constexpr std::u16string_view kNumerals =
            u"〇一二三四五六七八九十百千两兩廿卅卌貳貮參参叄弌弍弎弐亖陸漆俩仨什陌阡圓点點"
            u"0123456789０１２３４５６７８９";
        // 負 is the traditional 负; △ and ▲ mark a negative number in Japanese statements.
        static constexpr std::u16string_view kSigns =
            u"-+－＋−負△▲\u2010\u2011\u2012\u2013\u2014\u2015\uFE63\uFE58\u207B\u208B\u2796\u02D7";
        const char16_t c = m_text[last - 1];
        if (kNumerals.find(c) != std::u16string_view::npos || isOtherDigit(c))
            return refuse(last - 1, MessageId::NotCapitalDigit);
        if (kSigns.find(c) != std::u16string_view::npos)
            return refuse(last - 1, MessageId::DashNotMinusCapitals);
        // An opening parenthesis that nothing closes: accountants write a debit in parentheses.
        if (c == u'(' || c == u'（')
            return refuse(last - 1, MessageId::ParenthesesNotAround);
        return true;
    }

    // Digits and numbers of other forms: superscripts and subscripts, Roman numerals, circled and
    // parenthesised numbers, Suzhou numerals, circled and parenthesised ideographs.
    static bool isOtherDigit(char16_t c) {
        return c == u'\u00B2' || c == u'\u00B3' || c == u'\u00B9' || (c >= u'\u2070' && c <= u'\u2079') ||
               (c >= u'\u2080' && c <= u'\u2089') || (c >= u'\u2150' && c <= u'\u218B') ||
               (c >= u'\u2460' && c <= u'\u24FF') || (c >= u'\u2776' && c <= u'\u2793') ||
               (c >= u'\u3021' && c <= u'\u3029') || (c >= u'\u3038' && c <= u'\u303A') ||
               (c >= u'\u3220' && c <= u'\u3229') || (c >= u'\u3248' && c <= u'\u325F') ||
               (c >= u'\u3280' && c <= u'\u3289') || (c >= u'\u32B1' && c <= u'\u32BF');
    }

    bool integerDigitsSeen() const {
        return m_high != 0 || m_group != 0 || m_section != 0 || m_lastSmall >= 0 || m_afterBig;
    }

    // Ends a group of four places at the 萬, 億 or 圆 at `index`: a digit left without a unit is
    // its units digit, which must not leave the place it stands for in doubt.
    bool closeSection() {
        if (m_pending >= 0) {
            if (!m_zeroPending && (m_lastSmall >= 2 || (m_lastSmall < 0 && m_afterBig)))
                return refuse(m_pendingAt, MessageId::DigitPlaceUnclear);
            m_section += static_cast<std::uint64_t>(m_pending);
            m_pending = -1;
        } else if (m_zeroPending) {
            return refuse(m_zeroAt, MessageId::DigitMissingAfterZero);
        }
        m_zeroPending = false;
        return true;
    }

    bool take(std::size_t i) {
        const CharClass k = classOf(m_text[i]);
        if (m_stage == Stage::AfterZheng)
            return refuse(i, k.kind == Kind::Jiao || k.kind == Kind::Fen ? MessageId::NoJiaoFenAfterZheng
                                                                         : MessageId::NothingAfterZheng);
        switch (k.kind) {
        case Kind::Digit:
            return k.value == 0 ? zero(i) : digit(i, k.value);
        case Kind::SmallUnit:
            return smallUnit(i, k.value);
        case Kind::Wan:
            return bigUnit(i, false);
        case Kind::Yi:
            return bigUnit(i, true);
        case Kind::Yuan:
            return yuan(i);
        case Kind::Jiao:
        case Kind::Fen:
            return fraction(i, k.kind == Kind::Jiao);
        case Kind::Zheng:
            return zheng(i);
        case Kind::Minus:
            return refuse(i, MessageId::MinusOnlyFirst);
        case Kind::Other:
            break;
        }
        return refuse(i, MessageId::NotAmountCharacter);
    }

    bool digit(std::size_t i, int d) {
        if (m_pending >= 0)
            return refuse(i, MessageId::TwoDigitsInARow);
        m_pending = d;
        m_pendingAt = i;
        return true;
    }

    bool zero(std::size_t i) {
        if (m_pending >= 0)
            return refuse(i, MessageId::DigitBeforeZeroLacksUnit);
        if (m_zeroPending)
            return refuse(i, MessageId::ZeroTwice);
        m_zeroPending = true;
        m_zeroAt = i;
        return true;
    }

    bool smallUnit(std::size_t i, int u) {
        if (m_stage != Stage::Integer)
            return refuse(i, MessageId::NotAfterYuan);
        if (m_lastSmall >= 0 && u >= m_lastSmall)
            return refuse(i, u == m_lastSmall ? MessageId::UnitTwice : MessageId::UnitLargerThanBefore);
        if (m_pending < 0) {
            // 拾伍圆整: ten to nineteen may start with a bare 拾.
            if (u == 1 && !integerDigitsSeen() && !m_zeroPending) {
                m_pending = 1;
                m_pendingAt = i;
            } else {
                return refuse(i, MessageId::DigitMissingBeforeUnit);
            }
        }
        const int expected = m_lastSmall >= 0 ? m_lastSmall - 1 : m_afterBig ? 3 : u;
        if (u < expected && !m_zeroPending)
            return refuse(m_pendingAt, MessageId::ZeroMissing);
        if (u == expected && m_zeroPending && m_lastSmall >= 0)
            return refuse(m_zeroAt, MessageId::ZeroSurplus);
        m_section += static_cast<std::uint64_t>(m_pending) * kPow10[u];
        m_lastSmall = u;
        m_pending = -1;
        m_zeroPending = false;
        return true;
    }

    bool bigUnit(std::size_t i, bool yi) {
        if (m_stage != Stage::Integer)
            return refuse(i, MessageId::NotAfterYuan);
        if (yi ? m_seenYi : m_seenWan)
            return refuse(i, MessageId::UnitTwice);
        if (m_pending < 0 && m_section == 0 && !m_zeroPending && (!yi || m_group == 0))
            return refuse(i, MessageId::DigitMissingBeforeUnit);
        if (!closeSection())
            return false;
        if (yi) {
            const std::uint64_t group = m_group + m_section;
            if (group == 0)
                return refuse(i, MessageId::DigitMissingBeforeUnit);
            m_high = group * 100'000'000;
            m_group = 0;
            m_seenWan = false;
            m_seenYi = true;
        } else {
            if (m_section == 0)
                return refuse(i, MessageId::DigitMissingBeforeUnit);
            m_group += m_section * 10'000;
            m_seenWan = true;
        }
        m_section = 0;
        m_lastSmall = -1;
        m_afterBig = true;
        return true;
    }

    bool yuan(std::size_t i) {
        if (m_stage != Stage::Integer)
            return refuse(i, MessageId::YuanTwice);
        if (m_zeroPending && m_pending < 0 && !integerDigitsSeen()) {
            m_zeroPending = false; // 零圆整
        } else {
            if (m_pending < 0 && !m_zeroPending && !integerDigitsSeen())
                return refuse(i, MessageId::DigitMissingBeforeYuan);
            if (!closeSection())
                return false;
        }
        m_value = (m_high + m_group + m_section) * 100;
        m_stage = Stage::AfterYuan;
        return true;
    }

    bool fraction(std::size_t i, bool jiao) {
        if (jiao && m_stage == Stage::AfterFen)
            return refuse(i, MessageId::JiaoBeforeFen);
        if (jiao ? m_stage >= Stage::AfterJiao : m_stage >= Stage::AfterFen)
            return refuse(i, MessageId::UnitTwice);
        if (m_pending < 0)
            return refuse(i, MessageId::DigitMissingBeforeUnit);
        if (m_stage == Stage::Integer && integerDigitsSeen())
            return refuse(m_pendingAt, MessageId::YuanMissing);
        m_value += static_cast<std::uint64_t>(m_pending) * (jiao ? 10 : 1);
        m_pending = -1;
        m_zeroPending = false;
        m_stage = jiao ? Stage::AfterJiao : Stage::AfterFen;
        return true;
    }

    bool zheng(std::size_t i) {
        if (m_stage == Stage::AfterFen)
            return refuse(i, MessageId::NoZhengAfterFen);
        if (m_pending >= 0)
            return refuse(m_pendingAt, MessageId::UnitMissing);
        if (m_zeroPending)
            return refuse(m_zeroAt, MessageId::DigitMissingAfterZero);
        if (m_stage == Stage::Integer && integerDigitsSeen())
            return refuse(i, MessageId::YuanMissing);
        m_stage = Stage::AfterZheng;
        return true;
    }

    bool finish() {
        if (m_pending >= 0)
            return refuse(m_pendingAt, MessageId::UnitMissing);
        if (m_zeroPending)
            return refuse(m_zeroAt, MessageId::DigitMissingAfterZero);
        if (m_stage == Stage::Integer || m_stage == Stage::AfterYuan)
            return refuse(m_end, MessageId::ZhengMissing);
        return true;
    }

    // The text, with the allowed variants undone, must be what daxie writes for `amount`, but for
    // the 零 that the bill rules leave to the writer: where a run of zeros takes in the lowest place
    // of a group (元, 万, 亿, 万亿) and ends just above a digit that is not zero at the top of the
    // next group (角, 仟), one 零 may stand there or none: 壹拾萬柒仟圆 and 壹拾萬零柒仟圆,
    // 壹仟陆佰捌拾圆叁角 and 壹仟陆佰捌拾圆零叁角, 壹億零柒仟圆 and 壹億柒仟圆. An amount below one
    // yuan may also start with 零圆 (零圆伍角, 零圆零伍分), and one below one jiao drop its first 零
    // (壹分 beside 零壹分).
    bool matchesWriting(const Fen &amount) {
        const AmountCapitals magnitude = capitalsOf(amount);
        std::array<char16_t, 64> written; // what daxie writes for the amount, without allocating
        std::size_t writtenLen = 0;
        if (amount.negative)
            written[writtenLen++] = u'负';
        const std::size_t canonicalBody = writtenLen;
        for (char16_t c : magnitude.view())
            written[writtenLen++] = c;
        const std::u16string_view canonical(written.data(), writtenLen);

        // The places in the canonical writing where a 零 may be written or left out.
        std::array<bool, 64> optionalZero{};
        auto pow10 = [](int e) {
            std::uint64_t p = 1;
            for (; e > 0; --e)
                p *= 10;
            return p;
        };
        const std::uint64_t m = amount.magnitude;
        for (int place : {0, 4, 8, 12}) {
            const int fen = place + 2; // the power of ten of the place, counted in fen
            if (m / pow10(fen) % 10 != 0 || m / pow10(fen - 1) % 10 == 0 || m / pow10(fen + 1) == 0)
                continue;
            // Where the writing of the digits below the place starts: the end of what the writing
            // of the places from `place` up has in common with the whole amount's.
            const AmountCapitals high = capitalsOf(Fen{false, m - m % pow10(fen)});
            std::size_t spot = 0;
            while (spot < high.view().size() && high.view()[spot] == magnitude.view()[spot])
                ++spot;
            optionalZero[canonicalBody + spot] = true;
        }

        struct Mark {
            char16_t c;
            std::uint32_t at;
        };
        std::array<Mark, 64> n; // the text's characters with their places, variants undone
        std::size_t len = 0;
        auto push = [&](char16_t c, std::size_t at) {
            if (len < n.size())
                n[len++] = {c, static_cast<std::uint32_t>(std::min<std::size_t>(at, UINT32_MAX))};
        };
        if (m_negative)
            push(u'负', m_text.find(u'负', m_begin));
        const std::size_t bodyStart = len;
        for (std::size_t i = m_body; i < m_end && len < n.size(); ++i)
            push(normalised(m_text[i]), i);
        auto erase = [&](std::size_t k) {
            for (std::size_t j = k; j + 1 < len; ++j)
                n[j] = n[j + 1];
            --len;
        };
        const bool bankTen = len - bodyStart >= 2 && n[bodyStart].c == u'壹' && n[bodyStart + 1].c == u'拾' &&
                             canonical.size() > canonicalBody && canonical[canonicalBody] == u'拾';
        if (bankTen)
            erase(bodyStart);
        const bool zeroYuan = m > 0 && m < 100 && len - bodyStart >= 2 && n[bodyStart].c == u'零' &&
                              n[bodyStart + 1].c == u'圆';
        if (zeroYuan) {
            erase(bodyStart);
            erase(bodyStart);
        } else if (m > 0 && m < 10) {
            optionalZero[canonicalBody] = true;
        }
        if (len > 0 && n[len - 1].c == u'角')
            push(u'整', m_end);

        // Both walked side by side; an optional 零 may be missing from the text or stand there
        // in addition.
        std::size_t i = 0, j = 0;
        for (;;) {
            if (i < canonical.size() && optionalZero[i]) {
                if (canonical[i] == u'零') {
                    if (!(j < len && n[j].c == u'零')) {
                        ++i;
                        continue;
                    }
                } else if (j < len && n[j].c == u'零') {
                    ++j;
                }
            }
            if (i < canonical.size() && j < len && n[j].c == canonical[i]) {
                ++i;
                ++j;
                continue;
            }
            break;
        }
        if (i == canonical.size() && j == len)
            return true;
        const std::size_t at = j < len ? n[j].at : m_end;
        const std::vector<std::string> should{utf16ToUtf8(suggestion(canonical, canonicalBody, bankTen, zeroYuan))};
        if (i < canonical.size() && canonical[i] == u'零' && (j >= len || n[j].c != u'零'))
            return refuse(at, Message(MessageId::ZeroMissingWrite, should));
        if (j < len && n[j].c == u'零')
            return refuse(at, Message(MessageId::ZeroSurplusWrite, should));
        return refuse(at, Message(MessageId::NotStandardAmount, should));
    }

    // The canonical writing as the text would have written it: its 元, 万, 亿 and 正, its 人民币,
    // 壹拾 and 零元.
    std::u16string suggestion(std::u16string_view canonical, std::size_t body, bool bankTen,
                              bool zeroYuan) const {
        const std::u16string_view text = m_text.substr(m_body, m_end - m_body);
        auto uses = [&](char16_t c) { return text.find(c) != std::u16string_view::npos; };
        std::u16string out;
        if (m_rmb)
            out += kRmb;
        out += canonical.substr(0, body);
        if (zeroYuan)
            out += u"零圆";
        if (bankTen)
            out += u'壹';
        out += canonical.substr(body);
        for (char16_t &c : out) {
            if (c == u'圆' && uses(u'元'))
                c = u'元';
            else if (c == u'萬' && uses(u'万'))
                c = u'万';
            else if (c == u'億' && uses(u'亿'))
                c = u'亿';
            else if (c == u'整' && uses(u'正'))
                c = u'正';
        }
        return out;
    }

    enum class Stage { Integer, AfterYuan, AfterJiao, AfterFen, AfterZheng };

    std::u16string_view m_text;
    std::size_t m_begin = 0, m_body = 0, m_end = 0;
    bool m_rmb = false, m_negative = false;
    Stage m_stage = Stage::Integer;
    // The integer part: the 億 part (already times 10^8), the 萬 group below it, the current section.
    std::uint64_t m_high = 0, m_group = 0, m_section = 0;
    int m_lastSmall = -1; // exponent of the last 拾/佰/仟 in the section, -1 none
    bool m_afterBig = false, m_seenWan = false, m_seenYi = false;
    int m_pending = -1; // a digit waiting for its unit
    std::size_t m_pendingAt = 0;
    bool m_zeroPending = false;
    std::size_t m_zeroAt = 0;
    std::uint64_t m_value = 0; // in fen
    Refusal m_refusal;
};

} // namespace

Outcome<Fen> readAmountCapitals(std::u16string_view text) {
    return Reader(text).read();
}

Outcome<AmountCheck> checkAmountCapitals(const Decimal &number, std::u16string_view capitals) {
    const auto expected = toFen(number);
    if (!expected)
        return Outcome<AmountCheck>::refused(0, Message(MessageId::AmountTooLarge));
    auto read = readAmountCapitals(capitals);
    if (!read)
        return {std::nullopt, std::move(read.refusal)};
    AmountCheck check{*read.value == *expected, *read.value, {}};
    if (!check.same) {
        const std::string said = amountText(check.stated), meant = amountText(*expected);
        check.message = Message(MessageId::CapitalsSayOther, {said, meant});
    }
    return Outcome<AmountCheck>::ok(std::move(check));
}

} // namespace core
