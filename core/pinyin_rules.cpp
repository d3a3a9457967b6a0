#include "pinyin_rules.h"

#include "pinyin_reading.h"

#include <algorithm>
#include <string_view>

namespace core {

namespace {

constexpr char32_t kYi = U'一';
constexpr char32_t kBu = U'不';
constexpr char32_t kHang = U'行';

bool isNumeral(char32_t c) {
    return std::u32string_view(U"〇零一二三四五六七八九十百千万亿两").find(c) != std::u32string_view::npos;
}

bool isDigitNumeral(char32_t c) {
    return std::u32string_view(U"〇零一二三四五六七八九").find(c) != std::u32string_view::npos;
}

} // namespace

PinyinGrammarRules::PinyinGrammarRules(const PinyinReadingData &data)
    : m_data(data), m_yi1(data.syllableId("yi1")), m_yi2(data.syllableId("yi2")),
      m_yi4(data.syllableId("yi4")), m_bu2(data.syllableId("bu2")), m_bu4(data.syllableId("bu4")),
      m_hang2(data.syllableId("hang2")), m_lv4(data.syllableId("lv4")), m_shuai4(data.syllableId("shuai4")),
      m_fa1(data.syllableId("fa1")), m_fa4(data.syllableId("fa4")), m_guo4(data.syllableId("guo4")),
      m_guo5(data.syllableId("guo5")), m_ma5(data.syllableId("ma5")), m_le5(data.syllableId("le5")),
      m_dei3(data.syllableId("dei3")), m_de2(data.syllableId("de2")), m_jiao4(data.syllableId("jiao4")),
      m_zhe5(data.syllableId("zhe5")), m_pu4(data.syllableId("pu4")), m_di4(data.syllableId("di4")),
      m_de5(data.syllableId("de5")), m_jia4(data.syllableId("jia4")), m_xie3(data.syllableId("xie3")),
      m_ba5(data.syllableId("ba5")), m_chang2(data.syllableId("chang2")), m_zhang3(data.syllableId("zhang3")),
      m_han4(data.syllableId("han4")), m_xing2(data.syllableId("xing2")), m_wei2(data.syllableId("wei2")),
      m_huan2(data.syllableId("huan2")), m_liang2(data.syllableId("liang2")),
      m_tiao2(data.syllableId("tiao2")) {}

void PinyinGrammarRules::apply(const PinyinSegmentedRun &r, std::vector<std::uint16_t> &syl) const {
    const std::span<const char32_t> run = r.text;
    const std::size_t n = run.size();
    // Rules of grammar for polyphones standing alone, which the labelled sentences hold too few
    // examples of for the models to learn; the models learnt the rarer readings from sentences
    // chosen for them and, with little context (a line's start, a short question), took them.
    //   行 right after digits or numerals counts lines or rows (第3行, 10行代码, 第十行): háng;
    //     before a particle, or before punctuation after digits, it says yes to an offer
    //     (便宜点，80行吗, 100行不行, 50行。).
    //   率 after other words, with nothing it could lead after it (出勤率, 回款率为, 出勤率很高), is
    //     a rate, lǜ; leading (率团, 粟裕率新四军) it takes an object.
    //   过 before an adjective of degree standing alone is "too", guò (文件过大, 时间过长), not the
    //     particle of experience it is after a verb (看过, 去过大连).
    //   吗 is the question's particle, ma (确定删除吗, 是吗), but before 啡 (羟吗啡); 吧 ending a
    //     run is the particle ba (放几天假吧, 看看书吧), but after the places it names (贴吧, 网吧,
    //     迪吧).
    //   了 at the end of a run is the particle le (麻烦你了, 发给你了), but after 不 or 得, where it
    //     says whether a thing can be done (去不了, 走得了): liǎo.
    //   得 opening a line is "must", děi (得快点, 得换电池); before a numeral it is to win, dé
    //     (得第一); 得了 is read by its words.
    //   发 is fà, hair, only beside a character of the words for hair (黑头发, 护发素, 卷发星人);
    //     elsewhere it is the verb fā (发通知, 明天发工资, 发短信了吗).
    //   觉 is sleep, jiào, a little after 睡 ending the clause or before a particle (睡着觉,
    //     睡个好觉, 睡了一大觉, 睡着觉呢; not 睡前觉得, 睡时觉冷), after 午, 补 and 回笼, and in
    //     一觉醒来.
    //   地 alone is the ground or a place, dì, before punctuation after a word of one character
    //     (晕倒在地。可触地，在藏地，), opening a line (地上铺着地毯) and counted in 块, 亩 and 片
    //     (这块地很肥, 两亩地; not 成片地倒伏): the particle leads a verb, follows its adverbial
    //     (“砰”地一声), and before a comma follows adverbials of two characters or more
    //     (同样地，小心地，); at a line's end it is left to the model, as a hard-wrapped line may
    //     break between the particle and its verb. After a doubled word (一天天地, 一点一点地,
    //     大片大片地) it is the particle.
    //   长 after an adverb of degree is long, cháng (排得很长, 有点太长), as it is ending a clause
    //     or before 的 (以增量为步长，字符长。一个长的数据值) but after the offices it heads
    //     (代市长。旅长，).
    //   汗 opening a run or after the words sweat follows is sweat, hàn (一身汗, 流了很多汗, 汗都
    //     出来了); the labels hold khans (达延汗, 可汗, 蒙古大汗, 父亲的汗位) and hardly any sweat.
    //   假 after days or weeks, ending the clause, is leave, jià (请了三天假, 放几天假吧).
    //   血 alone ending a clause is the spoken xiě (流了点血, 满脸是血); its words keep xuè (血液,
    //     流血, 鲜血), as do 血的教训, 血与火 and O型血.
    //   还 ending a clause is to give back, huán (借东西要记得还。): the adverb leads a verb.
    //   量 before 一 or itself, or before 了 after the one who measures, is to measure, liáng
    //     (先量一下, 量量体重, 给他量了血压; 奶量了 stays liàng).
    //   铺 after a number of li is a post station, pù, in place names (十里铺, 三十里铺村; not
    //     十里铺着红地毯).
    //   着 after a verb of holding a hand or an eye is the particle zhe (背着手, 眯着眼), where the
    //     dictionary's 着手 and 着眼 (zhuó, to set about, to have in view) took it; before 了 it is
    //     zháo, done (摇着了).
    static constexpr std::u32string_view kParticles = U"吗嗎不了吧啊呀呢么麼嘛啦哦喔没沒";
    static constexpr std::u32string_view kAfterRate =
        U"为是达在的很较偏仍已均高低增降提升跌超不也都和与及必须应可需要能";
    static constexpr std::u32string_view kDegrees =
        U"大小多少长短高低快慢早晚重轻深浅宽窄热冷强弱厚薄粗细紧松贵远近硬软旧老";
    static constexpr std::u32string_view kHairBefore =
        U"头剪理洗护染烫脱梳卷秀毛短鬓白黑金银灰棕红黄长假披散束扎盘吹";
    static constexpr std::u32string_view kHairAfter = U"型际夹丝箍廊梢蜡胶髻饰质根量膜带油色尾片网簪圈";
    static constexpr std::u32string_view kHoldVerbs =
        U"背抱举拉握牵搓摇挥摆插揣拍甩扬伸摊捂攥扶搭揉闭眯睁瞪眨合翻";
    auto in = [](std::u32string_view set, char32_t c) { return set.find(c) != std::u32string_view::npos; };
    // "Must" is never followed by 了 alone: 得了 there is to win or catch, dé (今天得了冠军).
    if (m_dei3 != kNoSyllable && m_de2 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (syl[i] == m_dei3 && run[i + 1] == U'了' && r.standsAlone(i + 1))
                syl[i] = m_de2;
    // 为 after a person named or chosen is "as", wéi (称他为英雄, 选他们为代表), not the "for"
    // the pronoun before it takes elsewhere (他为人民服务).
    if (m_wei2 != kNoSyllable)
        for (std::size_t i = 2; i < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2)
                continue;
            std::size_t j = i - 1;
            if (run[j] == U'们' && j > 1)
                --j;
            if (in(U"他她你我它您", run[j]) && in(U"称叫选评封拜认视奉推任聘", run[j - 1]))
                syl[i] = m_wei2;
        }
    // 调到 after 把 and before a number or 最 sets a dial, tiáo (把空调调到二十六度, 把闹钟调到
    // 7点), alone or as the word, which reads the transfer, diào (他被调到北京, 把他调到销售部).
    if (m_tiao2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i)
            if (run[i] == U'调' && run[i + 1] == U'到' && r.wordStart[i] && r.end[i] <= i + 2 &&
                (isNumeral(run[i + 2]) || run[i + 2] == U'最') &&
                std::find(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(i), U'把') !=
                    run.begin() + static_cast<std::ptrdiff_t>(i))
                syl[i] = m_tiao2;
    // The word 一行 after a party (代表团一行, 市长一行, 他们一行) is the party, xíng.
    if (m_xing2 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i)
            if (run[i] == kYi && run[i + 1] == kHang && r.wordStart[i] && r.end[i] == i + 2 &&
                in(U"团长们组队员家人", run[i - 1]))
                syl[i + 1] = m_xing2;
    if (m_zhe5 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i)
            if (run[i] == U'着' && in(kHoldVerbs, run[i - 1]) && r.standsAlone(i - 1) &&
                !(i + 1 < n && run[i + 1] == U'了') &&
                (r.standsAlone(i) ||
                 (r.wordStart[i] && r.end[i] == i + 2 && (run[i + 1] == U'手' || run[i + 1] == U'眼')))) {
                syl[i] = m_zhe5;
                if (!r.standsAlone(i))
                    syl[i + 1] = m_data.syllableOf(run[i + 1]);
            }
    for (std::size_t i = 0; i < n; ++i) {
        if (!r.standsAlone(i))
            continue;
        const bool last = i + 1 == n;
        switch (run[i]) {
        case kHang:
            if (m_hang2 != kNoSyllable &&
                (i == 0 ? r.before == PinyinBoundary::Digit : isNumeral(run[i - 1])) &&
                (!last ? !in(kParticles, run[i + 1])
                       : i > 0 || r.after == PinyinBoundary::Edge || r.after == PinyinBoundary::Digit ||
                             r.after == PinyinBoundary::Latin || r.after == PinyinBoundary::Space))
                syl[i] = m_hang2;
            break;
        case U'率':
            if (m_lv4 != kNoSyllable && i > 0 && syl[i] == m_shuai4 && (last || in(kAfterRate, run[i + 1])))
                syl[i] = m_lv4;
            break;
        case U'过':
            if (m_guo4 != kNoSyllable && !last && syl[i] == m_guo5 && in(kDegrees, run[i + 1]) &&
                r.standsAlone(i + 1))
                syl[i] = m_guo4;
            break;
        case U'吗':
            if (m_ma5 != kNoSyllable && !(!last && run[i + 1] == U'啡'))
                syl[i] = m_ma5;
            break;
        case U'吧':
            if (m_ba5 != kNoSyllable && last && i > 0 && !in(U"贴网酒氧迪", run[i - 1]))
                syl[i] = m_ba5;
            break;
        case U'了':
            if (m_le5 != kNoSyllable && last && i > 0 && run[i - 1] != U'不' && run[i - 1] != U'得')
                syl[i] = m_le5;
            break;
        case U'得':
            if (m_dei3 != kNoSyllable && m_de2 != kNoSyllable && i == 0 && !last &&
                r.before == PinyinBoundary::Edge && run[1] != U'了')
                syl[i] = isNumeral(run[1]) || run[1] == U'第' ? m_de2 : m_dei3;
            break;
        case U'发':
            if (m_fa1 != kNoSyllable && syl[i] == m_fa4 && !(i > 0 && in(kHairBefore, run[i - 1])) &&
                !(!last && in(kHairAfter, run[i + 1])))
                syl[i] = m_fa1;
            break;
        case U'觉':
            if (m_jiao4 != kNoSyllable && i > 0) {
                bool afterSleep = false;
                for (std::size_t k = i > 4 ? i - 4 : 0; k < i; ++k)
                    afterSleep = afterSleep || run[k] == U'睡';
                afterSleep = afterSleep && (last || in(U"了的呢吧啊吗再去就", run[i + 1]));
                const char32_t p = run[i - 1];
                if (afterSleep || p == U'午' || p == U'补' || p == U'笼' ||
                    (p == U'一' && !last && run[i + 1] == U'醒'))
                    syl[i] = m_jiao4;
            }
            break;
        case U'地':
            if (m_di4 == kNoSyllable || m_de5 == kNoSyllable)
                break;
            if (i >= 2 && (run[i - 1] == run[i - 2] ||
                           (i >= 4 && run[i - 1] == run[i - 3] && run[i - 2] == run[i - 4])))
                syl[i] = m_de5;
            else if ((i == 0 && r.before == PinyinBoundary::Edge) ||
                     (i >= 2 && in(U"块亩片", run[i - 1]) &&
                      (isNumeral(run[i - 2]) || in(U"这那哪几每", run[i - 2]))) ||
                     (last && r.after == PinyinBoundary::Punctuation && i > 0 && r.standsAlone(i - 1)))
                syl[i] = m_di4;
            break;
        case U'汗':
            if (m_han4 != kNoSyllable &&
                (i == 0 || in(U"身了擦流出冒盗虚冷热臭些点是多满把滴手脚额背", run[i - 1])))
                syl[i] = m_han4;
            break;
        case U'长':
            if (m_chang2 != kNoSyllable && i > 0 && syl[i] == m_zhang3 &&
                (in(U"很太挺更最较", run[i - 1]) ||
                 ((last ? r.after != PinyinBoundary::Edge : run[i + 1] == U'的') &&
                  !in(U"市部校团旅师军营连排班会家县省局处科组院所队司厂社村乡镇署警官首酋族兄",
                      run[i - 1]))))
                syl[i] = m_chang2;
            break;
        case U'假':
            if (m_jia4 != kNoSyllable && i > 0 && (run[i - 1] == U'天' || run[i - 1] == U'周') &&
                (last || in(kParticles, run[i + 1])))
                syl[i] = m_jia4;
            break;
        case U'血':
            if (m_xie3 != kNoSyllable && (last || in(kParticles, run[i + 1])) &&
                !(i > 0 && run[i - 1] == U'型'))
                syl[i] = m_xie3;
            break;
        case U'还':
            if (m_huan2 != kNoSyllable && last && r.after == PinyinBoundary::Punctuation && i > 0)
                syl[i] = m_huan2;
            break;
        case U'量':
            if (m_liang2 != kNoSyllable && !last &&
                (run[i + 1] == kYi || run[i + 1] == U'量' ||
                 (run[i + 1] == U'了' && i > 0 && in(U"他她你我给帮先再", run[i - 1]))))
                syl[i] = m_liang2;
            break;
        case U'铺':
            if (m_pu4 != kNoSyllable && i >= 2 && run[i - 1] == U'里' && isNumeral(run[i - 2]) &&
                (last || in(U"村镇乡站街路", run[i + 1])))
                syl[i] = m_pu4;
            break;
        default:
            break;
        }
    }
    // 一 and 不 before the next syllable's own tone; before a neutral tone, the tone that
    // character has on its own (不是 shi5 still makes 不 bú). 一 in a sum keeps yī (一加一,
    // 从一到十, 从一数到十; 一加热, 再加一点, 自从一到北京 change).
    auto toneAt = [&](std::size_t k) {
        const int t = m_data.syllableName(syl[k]).back() - '0';
        return t != 5 ? t : m_data.syllableName(m_data.syllableOf(run[k])).back() - '0';
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (run[i] == kYi && m_yi1 != kNoSyllable && m_data.syllableName(syl[i]).starts_with("yi")) {
            const bool plain =
                r.wordEnd[i] || i + 1 == n || (i > 0 && (run[i - 1] == U'第' || isNumeral(run[i - 1]))) ||
                isDigitNumeral(run[i + 1]) || run[i + 1] == U'月' || run[i + 1] == U'号' ||
                (i > 0 && run[i - 1] == U'月' && (run[i + 1] == U'日' || run[i + 1] == U'号')) ||
                (i + 2 < n && in(U"加减乘除", run[i + 1]) && isNumeral(run[i + 2])) ||
                (i > 1 && in(U"加减乘除", run[i - 1]) && isNumeral(run[i - 2])) ||
                (i > 0 && run[i - 1] == U'从' &&
                 (run[i + 1] == U'数' || (i + 2 < n && in(U"到至", run[i + 1]) && isNumeral(run[i + 2]))));
            if (plain)
                syl[i] = m_yi1;
            else
                syl[i] = toneAt(i + 1) >= 4 ? m_yi2 : m_yi4;
        } else if (run[i] == kBu && m_bu4 != kNoSyllable && m_data.syllableName(syl[i]).starts_with("bu")) {
            syl[i] = !r.wordEnd[i] && i + 1 < n && toneAt(i + 1) == 4 ? m_bu2 : m_bu4;
        }
    }
}

} // namespace core
