#include "pinyin_rules.h"

#include "pinyin_reading.h"
#include "pinyin_rules_run.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace core {

using namespace rules;

namespace rules {

namespace {

constexpr std::array<std::uint16_t, kTriggerLast - kTriggerFirst + 1> makeTriggers() {
    std::array<std::uint16_t, kTriggerLast - kTriggerFirst + 1> t{};
    auto mark = [&](std::u32string_view chars, std::uint16_t bit) {
        for (char32_t ch : chars)
            t[ch - kTriggerFirst] |= bit;
    };
    mark(U"得", kTrDe);
    mark(U"为", kTrWei);
    mark(kSurnames, kTrSurname);
    mark(U"调", kTrTiao);
    mark(U"地", kTrDi);
    mark(U"长", kTrChang);
    mark(U"卷", kTrJuan);
    mark(U"将", kTrJiang);
    mark(U"大", kTrDa);
    mark(U"分", kTrFen);
    mark(U"行", kTrHang);
    mark(U"着", kTrZhe);
    mark(U"将幢引只降角得场为着地汗种重少率盛朝弄目", kTrWords);
    mark(U"行率过吗吧了得发觉地应攒横捋泡刨臊系削咽咋镐和汗长假血还量为调担斗着当冲"
         U"处落剥转种盛数创分缝服切儿卷钻差貉铺幢杆葛劲都呛樘弄将杈撮哩厦教啦陆炸糊钉柏没藏累"
         U"衰靡垛扒相塞坊干涌槛哦载中夹遂称蒙丧宁拓乐吐结空倒",
         kTrChars);
    mark(U"一不", kTrYiBu);
    return t;
}

} // namespace

constinit const std::array<std::uint16_t, kTriggerLast - kTriggerFirst + 1> kTriggers = makeTriggers();

} // namespace rules

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
      m_tiao2(data.syllableId("tiao2")), m_bao1(data.syllableId("bao1")), m_zhuan3(data.syllableId("zhuan3")),
      m_zhuan4(data.syllableId("zhuan4")), m_zhong4(data.syllableId("zhong4")),
      m_cheng2(data.syllableId("cheng2")), m_shu3(data.syllableId("shu3")), m_shu4(data.syllableId("shu4")),
      m_chuang4(data.syllableId("chuang4")), m_fen1(data.syllableId("fen1")), m_fen4(data.syllableId("fen4")),
      m_feng4(data.syllableId("feng4")), m_fu4(data.syllableId("fu4")), m_wei4(data.syllableId("wei4")),
      m_qie1(data.syllableId("qie1")), m_er2(data.syllableId("er2")), m_er5(data.syllableId("er5")),
      m_juan3(data.syllableId("juan3")), m_juan4(data.syllableId("juan4")), m_zuan1(data.syllableId("zuan1")),
      m_cha1(data.syllableId("cha1")), m_he2(data.syllableId("he2")), m_zhuo2(data.syllableId("zhuo2")),
      m_dang4(data.syllableId("dang4")), m_chong4(data.syllableId("chong4")), m_chu3(data.syllableId("chu3")),
      m_la4(data.syllableId("la4")), m_jiang1(data.syllableId("jiang1")), m_dou3(data.syllableId("dou3")),
      m_da4(data.syllableId("da4")), m_fu1(data.syllableId("fu1")), m_dan4(data.syllableId("dan4")),
      m_jiang4(data.syllableId("jiang4")), m_liu4(data.syllableId("liu4")), m_la5(data.syllableId("la5")),
      m_zhuang4(data.syllableId("zhuang4")), m_gan3(data.syllableId("gan3")), m_ge2(data.syllableId("ge2")),
      m_ge3(data.syllableId("ge3")), m_jing4(data.syllableId("jing4")), m_du1(data.syllableId("du1")),
      m_qiang4(data.syllableId("qiang4")), m_tang2(data.syllableId("tang2")),
      m_long4(data.syllableId("long4")), m_cha4(data.syllableId("cha4")), m_zuo3(data.syllableId("zuo3")),
      m_li5(data.syllableId("li5")), m_xia4(data.syllableId("xia4")), m_jiao1(data.syllableId("jiao1")),
      m_huo2(data.syllableId("huo2")), m_gao3(data.syllableId("gao3")), m_xiang2(data.syllableId("xiang2")),
      m_jue2(data.syllableId("jue2")), m_zhi1(data.syllableId("zhi1")), m_ying1(data.syllableId("ying1")),
      m_ying4(data.syllableId("ying4")), m_yan4(data.syllableId("yan4")), m_zan3(data.syllableId("zan3")),
      m_heng4(data.syllableId("heng4")), m_nong4(data.syllableId("nong4")), m_lv3(data.syllableId("lv3")),
      m_pao4(data.syllableId("pao4")), m_bao4(data.syllableId("bao4")), m_sao4(data.syllableId("sao4")),
      m_ji4(data.syllableId("ji4")), m_xiao1(data.syllableId("xiao1")), m_za3(data.syllableId("za3")),
      m_zhao2(data.syllableId("zhao2")), m_zha2(data.syllableId("zha2")), m_hu2(data.syllableId("hu2")),
      m_ding4(data.syllableId("ding4")), m_bai3(data.syllableId("bai3")), m_mo4(data.syllableId("mo4")),
      m_zhong3(data.syllableId("zhong3")), m_zang4(data.syllableId("zang4")), m_lei3(data.syllableId("lei3")),
      m_shao4(data.syllableId("shao4")), m_chao2(data.syllableId("chao2")), m_ding1(data.syllableId("ding1")),
      m_zha4(data.syllableId("zha4")), m_shuai1(data.syllableId("shuai1")), m_mi3(data.syllableId("mi3")),
      m_duo4(data.syllableId("duo4")), m_ba1(data.syllableId("ba1")), m_xiang4(data.syllableId("xiang4")),
      m_xiang1(data.syllableId("xiang1")), m_sai4(data.syllableId("sai4")), m_fang2(data.syllableId("fang2")),
      m_gan1(data.syllableId("gan1")), m_chong1(data.syllableId("chong1")), m_jian4(data.syllableId("jian4")),
      m_pao1(data.syllableId("pao1")), m_o2(data.syllableId("o2")), m_o4(data.syllableId("o4")),
      m_o5(data.syllableId("o5")), m_zai3(data.syllableId("zai3")), m_jia1(data.syllableId("jia1")),
      m_zhi3(data.syllableId("zhi3")), m_sui4(data.syllableId("sui4")), m_cheng1(data.syllableId("cheng1")),
      m_meng3(data.syllableId("meng3")), m_sheng4(data.syllableId("sheng4")),
      m_sang1(data.syllableId("sang1")), m_ning4(data.syllableId("ning4")), m_ta4(data.syllableId("ta4")),
      m_yue4(data.syllableId("yue4")), m_tu3(data.syllableId("tu3")), m_jie1(data.syllableId("jie1")),
      m_kong4(data.syllableId("kong4")),
      m_dao4(data.syllableId("dao4")), m_surnames{data.syllableId("shan4"), data.syllableId("xie4"),
                                                  data.syllableId("ou1"),   data.syllableId("qiu2"),
                                                  data.syllableId("miao4"), data.syllableId("zha1"),
                                                  data.syllableId("piao2"), data.syllableId("ji3"),
                                                  data.syllableId("hua4"),  data.syllableId("zeng1"),
                                                  data.syllableId("ren2"),  data.syllableId("qin2"),
                                                  data.syllableId("ge3"),   data.syllableId("zhai2")} {
    const std::u32string_view verbs[] = {U"提供", U"发展", U"喝", U"持续"};
    for (std::size_t k = 0; k < m_verbTags.size(); ++k)
        m_verbTags[k] = m_data.tagOf(wordAt(std::span(verbs[k].data(), verbs[k].size())));
    const std::u32string_view names[] = {U"李白", U"刘备"};
    for (std::size_t k = 0; k < m_nameTags.size(); ++k)
        m_nameTags[k] = m_data.tagOf(wordAt(std::span(names[k].data(), names[k].size())));
    const std::u32string_view adjectives[] = {U"豪爽", U"狠毒"};
    for (std::size_t k = 0; k < m_adjectiveTags.size(); ++k)
        m_adjectiveTags[k] = m_data.tagOf(wordAt(std::span(adjectives[k].data(), adjectives[k].size())));
}

bool PinyinGrammarRules::isAdjective(std::u32string_view chars) const {
    const std::uint8_t tag = m_data.tagOf(wordAt(std::span(chars.data(), chars.size())));
    return tag != 0 &&
           std::find(m_adjectiveTags.begin(), m_adjectiveTags.end(), tag) != m_adjectiveTags.end();
}

bool PinyinGrammarRules::isName(std::u32string_view chars) const {
    const std::uint8_t tag = m_data.tagOf(wordAt(std::span(chars.data(), chars.size())));
    return tag != 0 && std::find(m_nameTags.begin(), m_nameTags.end(), tag) != m_nameTags.end();
}

bool PinyinGrammarRules::isVerb(std::u32string_view chars) const {
    const std::uint8_t tag = m_data.tagOf(wordAt(std::span(chars.data(), chars.size())));
    return tag != 0 && std::find(m_verbTags.begin(), m_verbTags.end(), tag) != m_verbTags.end();
}

std::uint32_t PinyinGrammarRules::wordAt(std::span<const char32_t> chars) const {
    if (chars.empty())
        return 0;
    std::uint32_t node = 0;
    for (char32_t c : chars)
        if (!(node = m_data.child(node, c)))
            return 0;
    const PinyinTrieSlot &slot = m_data.slot(node);
    return slot.cost() != kNotASegmentationWord ? node : 0;
}
void PinyinGrammarRules::apply(const PinyinSegmentedRun &r, std::vector<std::uint16_t> &syl) const {
    // The passes in the order they correct one another: 得 and 为 before their neighbours, the
    // words, then the characters standing alone, then the tones of 一 and 不. A pass whose
    // characters the run holds none of is skipped: most runs need few of them, and the passes
    // together would cost more than the rest of the reading.
    const RuleRun ctx(r);
    if (ctx.has & kTrDe)
        readMustBeforeItsObject(ctx, syl);
    if (ctx.has & kTrWei)
        readWeiBesideItsNeighbours(ctx, syl);
    if (ctx.has & (kTrSurname | kTrTiao | kTrDi | kTrChang | kTrJuan | kTrJiang | kTrWords))
        readSurnamesAndWords(ctx, syl);
    readWordsOfPlaceAndKind(ctx, syl);
    if (ctx.has & kTrWei)
        readWeiAlone(ctx, syl);
    if (ctx.has & kTrChars)
        readCharactersAlone(ctx, syl);
    if (ctx.has & kTrYiBu)
        readToneChanges(ctx, syl);
}

void PinyinGrammarRules::readToneChanges(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // 一 and 不 before the next syllable's own tone; before a neutral tone, the tone that
    // character has on its own (不是 shi5 still makes 不 bú). 一 in a sum or a score keeps yī
    // (一加一, 三比一, 从一到十, 从一数到十; 一加热, 再加一点, 自从一到北京 change), as does
    // Monday (每周一至周五, 下周一起实施; 每周一次 changes), the first of a month (五月一号; 小一号
    // changes) and the first of a rank (一年级, 一等奖, 一楼).
    auto toneAt = [&](std::size_t k) {
        const int t = m_data.syllableName(syl[k]).back() - '0';
        return t != 5 ? t : m_data.syllableName(m_data.syllableOf(run[k])).back() - '0';
    };
    for (std::size_t i = 0; (ctx.has & kTrYiBu) && i < n; ++i) {
        if (run[i] == kYi && m_yi1 != kNoSyllable && m_data.syllableName(syl[i]).starts_with("yi")) {
            const bool plain =
                r.wordEnd[i] || i + 1 == n || (i > 0 && (run[i - 1] == U'第' || isNumeral(run[i - 1]))) ||
                isDigitNumeral(run[i + 1]) || run[i + 1] == U'月' ||
                (run[i + 1] == U'号' && !(i > 0 && in(U"大小加", run[i - 1]))) ||
                (i > 0 && run[i - 1] == U'周' && (i == 1 || in(U"每下上本这该", run[i - 2])) &&
                 !(i + 1 < n && in(U"次回遍个天周趟顿期篇歌练首份张本章节集幅", run[i + 1]))) ||
                (i > 0 && run[i - 1] == U'月' && (run[i + 1] == U'日' || run[i + 1] == U'号')) ||
                // The first of a rank: grade one, a first prize, the first instance, the first floor,
                // the one in charge (一年级, 一等奖, 一审判决, 住在一楼, 单位的一把手; 一年 and 一等 stay).
                (i + 2 < n && run[i + 1] == U'年' && run[i + 2] == U'级') ||
                (i + 2 < n && run[i + 1] == U'等' && in(U"奖功品座", run[i + 2])) || run[i + 1] == U'审' ||
                (run[i + 1] == U'楼' && !(i + 2 < n && in(U"梯道", run[i + 2]))) ||
                (r.wordStart[i] && r.end[i] == i + 3 && run[i + 1] == U'把' && run[i + 2] == U'手') ||
                (i + 2 < n && in(U"加减乘除比", run[i + 1]) && isNumeral(run[i + 2]) &&
                 !(i + 3 < n && in(kMeasures, run[i + 3]))) ||
                (i > 1 && in(U"加减乘除比", run[i - 1]) && isNumeral(run[i - 2]) &&
                 !(i + 1 < n && in(kMeasures, run[i + 1]))) ||
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
