#include "pinyin_reading.h"
#include "pinyin_rules.h"
#include "pinyin_rules_run.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

// The rules for polyphones standing alone as words, in one pass by character.

namespace core {

using namespace rules;

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
//   地 alone is the ground or a place, dì, after 在 or 其 alone (在地上爬, 于其地设郡), before
//     punctuation after a word of one character (晕倒在地。可触地，在藏地，), opening a line
//     (地上铺着地毯) or after a letter (从A地出发), after a few li (没跑出二里地) and
//     counted in 块, 亩 and 片 (这块地很肥, 两亩地; not 成片地倒伏): the particle leads a verb, follows
//     its adverbial (“砰”地一声), and before a comma follows adverbials of two characters or more
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
namespace {

// What 相 does with another, the first character of its verb (相联系, 相对于, 相比, 相继).
constexpr std::u32string_view kMutual =
    U"联关互对比同似近应连接继称识传助配处依交合当信爱见遇约逢映衬辅守结通符反聯關對"
    U"應連繼稱識傳處見遇約結";

// The peoples named by one character in a list (满、蒙、藏、回; 满藏蒙维汉五种文字).
constexpr std::u32string_view kPeoples = U"满汉蒙藏回维苗彝壮";

// Whether the character at `i` is one of such a list: a run of it alone between the list's commas,
// or standing beside two more of the peoples (满藏蒙, 满蒙回藏各族).
bool amongPeoples(const PinyinSegmentedRun &r, const RuleRun &ctx, std::size_t i) {
    if (ctx.n == 1)
        return r.openedBy == U'、' || r.closedBy == U'、';
    const auto people = [&](std::size_t k) { return k < ctx.n && in(kPeoples, ctx.text[k]); };
    return (i > 0 && people(i - 1) && people(i + 1)) || (i > 1 && people(i - 1) && people(i - 2)) ||
           (people(i + 1) && people(i + 2));
}

// Feelings and qualities that 得 after them measures (高兴得跳了起来, 整齐得像一条线).
constexpr std::u32string_view kFeelings[] = {
    U"高兴", U"激动", U"兴奋", U"紧张", U"感动", U"害怕", U"难受", U"开心", U"伤心", U"生气", U"着急",
    U"委屈", U"惊讶", U"吃惊", U"后悔", U"尴尬", U"舒服", U"难过", U"疲惫", U"辛苦", U"忙碌", U"漂亮",
    U"干净", U"清楚", U"明白", U"认真", U"仔细", U"精彩", U"热闹", U"安静", U"复杂", U"简单", U"严重",
    U"糟糕", U"顺利", U"聪明", U"整齐", U"清晰", U"流利", U"熟练", U"痛苦", U"可怜", U"得意", U"满意",
    U"失望", U"绝望", U"孤单", U"寂寞", U"幸福", U"快乐", U"悲伤", U"愤怒", U"慌张", U"焦急", U"惭愧",
    U"羞愧", U"恐惧", U"烦躁", U"郁闷", U"沮丧", U"感激", U"惊喜", U"欢喜", U"暖和", U"凉快", U"寒冷",
    U"炎热", U"潮湿", U"干燥", U"明亮", U"黑暗", U"安稳", U"踏实", U"利索", U"彻底", U"迅速", U"缓慢"};

} // namespace

void PinyinGrammarRules::readCharactersAlone(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    for (std::size_t i = 0; (ctx.has & kTrChars) && i < n; ++i) {
        if (!(triggersOf(run[i]) & kTrChars))
            continue;
        // A measure the segmentation joined to its number (三卷, 一杆, 一担水; 一担起责任) is read as one
        // standing alone.
        if (!r.standsAlone(i)) {
            const bool measure = in(U"卷杆", run[i]) ||
                                 (run[i] == U'担' && i + 1 < n && in(U"水米谷粮柴货肥土菜", run[i + 1]));
            // 大都 ending a clause, or named in 以大都为首都, is the Yuan capital (攻入大都，), not "mostly".
            const bool capital = run[i] == U'都' && i > 0 && run[i - 1] == U'大' &&
                                 ((i + 1 == n && r.after == PinyinBoundary::Punctuation) ||
                                  (i + 1 < n && run[i + 1] == U'为' && ctx.aloneBefore(i - 1, U'以')));
            // 相称 closing the clause is read below, by whether 以 leads it.
            const bool address = run[i] == U'称' && i + 1 == n && i > 0 && run[i - 1] == U'相';
            // 遂 in a word is read below as alone (尤三姐遂拔剑自刎).
            const bool then = run[i] == U'遂';
            // 服药 after a number or 这 counts doses (一服药, 这服药), read below as 服 alone.
            const bool dose = run[i] == U'服' && i > 0 &&
                              (isNumeral(run[i - 1]) || in(U"几这那", run[i - 1])) && i + 1 < n &&
                              run[i + 1] == U'药' && r.wordStart[i] && r.end[i] == i + 2;
            if (!capital && !address && !then && !dose &&
                (!measure ||
                 !(i > 0 && r.wordStart[i - 1] && r.end[i - 1] == i + 1 && isNumeral(run[i - 1]))))
                continue;
        }
        const bool last = i + 1 == n;
        switch (run[i]) {
        case kHang:
            if (m_hang2 != kNoSyllable &&
                (i == 0 ? r.before == PinyinBoundary::Digit : isNumeral(run[i - 1])) &&
                (!last ? !in(kParticles, run[i + 1])
                       : i > 0 || r.after == PinyinBoundary::Edge || r.after == PinyinBoundary::Digit ||
                             r.after == PinyinBoundary::Latin || r.after == PinyinBoundary::Space))
                syl[i] = m_hang2;
            // The lines of a text or the rows of a table after 的, closing the clause or before 的, 中 or
            // a verb, háng (输出所有不匹配的行, 合并这些表中的行, 打印包含关键字的行, 读入的行保存为变量;
            // 他的行。 is his going).
            else if (m_hang2 != kNoSyllable && i > 0 && run[i - 1] == U'的' &&
                     (last || in(U"的中", run[i + 1]) || isVerb(ctx.wordAtStart(i + 1))) &&
                     holdsOneOf(std::initializer_list<std::u32string_view>{U"匹配", U"文件", U"表中", U"输出",
                                                                           U"打印", U"包含", U"删除", U"显示",
                                                                           U"读取", U"文本", U"代码", U"输入",
                                                                           U"注释", U"重复", U"选中", U"字符",
                                                                           U"读入", U"生成", U"写入"},
                                std::u32string_view(run.data(), i)))
                syl[i] = m_hang2;
            // A line of text named by what it holds or what is done to it, háng: a new line (插入新行, 读入
            // 新行的情况), a line broken, wrapped or continued (自动折行, 一个断行, 以及续行), the lines
            // read, written or matched (获得输入行, 每一输出行, 注释行, 所有剩余行), put into a line (被插入
            // 到行中). 行 here stands alone: 新行业, 继续行驶, 输入行为 are other words.
            else if (m_hang2 != kNoSyllable && i > 0 && r.standsAlone(i) &&
                     ((r.standsAlone(i - 1) && in(U"新续折断", run[i - 1])) ||
                      oneOf(ctx.wordBefore(i),
                            {U"输入", U"输出", U"读入", U"注释", U"说明", U"配置", U"摘要", U"概要", U"起始",
                             U"剩余", U"可用", U"候选", U"匹配", U"任意", U"截断", U"读取"}) ||
                      (run[i - 1] == U'到' && !last && in(U"中首尾末", run[i + 1]))))
                syl[i] = m_hang2;
            break;
        case U'率': {
            // Leading troops or followers, shuài (邓艾率偏师, 率众来降; 率偏高 is a rate), also where
            // their count or kind comes first (率三十万大军, 率数百骑突围, 率淮军驰援, 率最精锐的部队;
            // 发病率军人中较高 is a rate).
            // Not after what it is the rate of (伤亡率最低的部队, 存活率排名第一的舰队).
            const std::u32string_view of = ctx.wordBefore(i);
            const bool rate =
                !of.empty() && in(U"亡损失活病勤用产化功格业学婚育长降升利汇税费频速概效存达", of.back());
            bool troops = false;
            for (std::size_t k = i + 1; !last && !rate && !troops && k < n && k <= i + 8; ++k) {
                const std::u32string_view w = ctx.wordAtStart(k);
                troops = oneOf(w, {U"军队", U"部队", U"舰队", U"兵马", U"军马", U"人马", U"部众", U"部下",
                                   U"水师", U"将士", U"骑兵", U"步兵", U"亲兵", U"援兵", U"大军", U"联军"}) ||
                         (in(U"军兵骑卒", run[k]) && r.standsAlone(k));
            }
            // One who leads stands before it alone (他率约三千人, 亲率, 遂率; 其率 may be its rate).
            const bool leads =
                !last && ((of.size() == 1 && in(U"他她亲遂乃即", of.front())) ||
                          (in(U"众部师军兵舰", run[i + 1]) && !(i + 2 < n && run[i + 2] == U'所')) ||
                          (run[i + 1] == U'偏' && i + 2 < n && run[i + 2] == U'师') ||
                          (troops && !in(kAfterRate, run[i + 1])));
            // After 所 standing alone it is led by someone (金兀术所率的铁浮图骑兵); before a named army in
            // quotation marks, after one who is no rate (戚继光率“戚家军”屡败倭寇).
            const bool named = last && !rate && r.closedBy == U'“' && i > 0 && !in(U"率", run[i - 1]);
            if (m_shuai4 != kNoSyllable &&
                (leads || named || (i > 0 && run[i - 1] == U'所' && r.standsAlone(i - 1))))
                syl[i] = m_shuai4;
            // A rate after the words of the few things no one is named after (出勤率所占的比例, 伤亡率,
            // 城镇化率约为74%; 市长率约为两百人的代表团 leads).
            else if (m_lv4 != kNoSyllable && i > 0 && syl[i] == m_shuai4 &&
                     (last || in(kAfterRate, run[i + 1]) ||
                      (i + 2 < n && run[i + 1] == U'约' && run[i + 2] == U'为' &&
                       !(!of.empty() && in(U"长官帅将王帝侯公者人", of.back()))) ||
                      (!of.empty() && in(U"亡损失活勤用产频速概税费汇", of.back()) &&
                       !in(U"团队部领兵军众", run[i + 1]))))
                syl[i] = m_lv4;
            break;
        }
        case U'过':
            // Too much, guò, before how much (温度过高); also before a word that opens with it after a
            // measure (角度过大会导致, 密度过大会使; 吃过大餐 is done).
            if (m_guo4 != kNoSyllable && !last && syl[i] == m_guo5 && in(kDegrees, run[i + 1]) &&
                (r.standsAlone(i + 1) || (i > 0 && in(U"度量率力压格例速", run[i - 1]))))
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
            // Before an adverb of degree it links a verb to how it was done (跑得比他快, 下得很大,
            // 肿得像个馒头); before a number of points it is scoring, dé (先得四分, 投中得三分,
            // 只要得十分就能晋级), unless 十分 is "very" before how it was done (发挥得十分出色).
            else if (m_de5 != kNoSyllable && i > 0 && !last && in(U"很太比更挺真像透", run[i + 1]))
                syl[i] = m_de5;
            // After a feeling or a quality it says how much, de (高兴得跳了起来, 痛苦得眼泪都流出来了,
            // 流利得像母语); the dictionary's parts of speech miss many of them (高兴, 精彩, 伤心).
            else if (m_de5 != kNoSyllable && i > 1 && !last && ctx.wordBefore(i).size() >= 2 &&
                     (isAdjective(ctx.wordBefore(i)) || std::find(std::begin(kFeelings), std::end(kFeelings),
                                                                  ctx.wordBefore(i)) != std::end(kFeelings)))
                syl[i] = m_de5;
            // ...also after a longer word that ends in hunger, tiredness, cold or pain (肚子饿得咕咕叫,
            // 头疼得厉害, 心急得直跺脚).
            else if (m_de5 != kNoSyllable && i > 1 && !last && ctx.wordBefore(i).size() >= 2 &&
                     in(U"饿累冷热疼痛急困渴慌", run[i - 1]))
                syl[i] = m_de5;
            // ...and before a complement of how much (生气得不得了, 精彩得要命, 疼得厉害).
            else if (m_de5 != kNoSyllable && i > 0 && !last &&
                     oneOf(ctx.wordAtStart(i + 1),
                           {U"不得了", U"要命", U"要死", U"厉害", U"够呛", U"发慌", U"发抖", U"不行"}))
                syl[i] = m_de5;
            // Before a doubled adjective of how it was done, de (码得整整齐齐, 洗得干干净净).
            else if (m_de5 != kNoSyllable && i > 0 && i + 4 < n && run[i + 1] == run[i + 2] &&
                     run[i + 3] == run[i + 4] && run[i + 1] != run[i + 3])
                syl[i] = m_de5;
            // Before an adverb that leads what must be done, děi (房子得重新装修, 这事得赶紧办, 孩子得多
            // 吃蔬菜); 多 only before a verb of daily care (贵得多, 好得多了 link, de).
            else if (m_dei3 != kNoSyllable && i > 0 && !last &&
                     (oneOf(ctx.wordAtStart(i + 1),
                            {U"重新", U"赶紧", U"尽快", U"按时", U"抓紧", U"赶快", U"及早", U"先"}) ||
                      (run[i + 1] == U'多' && i + 2 < n &&
                       in(U"吃喝穿练读看听想学做走晒睡用问注休锻运", run[i + 2]))))
                syl[i] = m_dei3;
            else if (m_de2 != kNoSyllable && i + 2 < n && isNumeral(run[i + 1]) && run[i + 2] == U'分' &&
                     !(i + 3 < n && (run[i + 3] == U'钟' || run[i + 3] == U'熟')))
                syl[i] = run[i + 1] == U'十' && i > 0 && i + 3 < n &&
                                 !in(U"了就才便也都能即可以", run[i + 3]) && m_de5 != kNoSyllable
                             ? m_de5
                             : m_de2;
            // ...and before a number of two or three characters of points (先得十一分者胜, 先得二十五分),
            // not after a verb of two characters it completes (收拾得十二分干净), nor before minutes.
            else if (m_de2 != kNoSyllable && i + 3 < n && isNumeral(run[i + 1]) && isNumeral(run[i + 2]) &&
                     ctx.wordBefore(i).size() < 2) {
                const std::size_t fen = run[i + 3] == U'分'                                         ? i + 3
                                        : i + 4 < n && isNumeral(run[i + 3]) && run[i + 4] == U'分' ? i + 4
                                                                                                    : 0;
                // 十二分 before how it was done is "utterly" (打得十二分激烈).
                const bool utterly = fen == i + 3 && run[i + 1] == U'十' && run[i + 2] == U'二' &&
                                     fen + 1 < n && !in(U"者的以后", run[fen + 1]);
                if (fen && !(fen + 1 < n && run[fen + 1] == U'钟') && !utterly)
                    syl[i] = m_de2;
            }
            break;
        case U'吐': {
            // A breath, smoke or spit let out of the mouth is tǔ (吐了一口气, 吐口唾沫); what comes up from
            // the stomach stays tù (他吐了, 吐了一口血, 吐了一地).
            std::size_t k = i + 1;
            if (k < n && run[k] == U'了')
                ++k;
            if (k < n && run[k] == kYi)
                ++k;
            if (m_tu3 != kNoSyllable && k + 1 < n && run[k] == U'口' &&
                oneOf(ctx.wordAtStart(k + 1).empty() ? std::u32string_view(run.data() + k + 1, 1)
                                                     : ctx.wordAtStart(k + 1),
                      {U"气", U"长气", U"浊气", U"闷气", U"痰", U"烟", U"烟圈", U"唾沫", U"口水", U"水"}))
                syl[i] = m_tu3;
            break;
        }
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
            // "More" and the particle after a word of degree (更多地关注, 较多地保留了, 越来越多地参与).
            else if (i >= 2 && !last && in(U"多少", run[i - 1]) && in(U"更较过太最愈越", run[i - 2]))
                syl[i] = m_de5;
            else if ((i == 0 && (r.before == PinyinBoundary::Edge || r.before == PinyinBoundary::Latin)) ||
                     (i >= 2 && run[i - 1] == U'里' && in(U"一二三四五六七八九十两几半", run[i - 2])) ||
                     (i > 0 && in(U"在其", run[i - 1]) && r.standsAlone(i - 1)) ||
                     // Places counted (粤港澳三地联合申报, 两地分居).
                     (i > 0 && in(U"两三四五六七八九十几", run[i - 1]) && r.standsAlone(i - 1)) ||
                     // After 的 no adverbial's particle can stand (低于0℃的地区划为寒带).
                     (i > 0 && run[i - 1] == U'的' && r.standsAlone(i - 1) && !last) ||
                     // The land of an old state or a province named by one character (楚地祭神的乐歌, 蜀地,
                     // 闽地; 清楚地, 整齐地 are adverbials).
                     (i > 0 && in(U"楚蜀吴越秦齐燕晋湘闽粤赣鲁豫皖滇黔桂陇胡", run[i - 1]) &&
                      r.standsAlone(i - 1)) ||
                     // Going down to the fields or kneeling on the ground (下地干活, 跪地叩首).
                     (i > 0 && !last && in(U"下跪趴伏卧", run[i - 1]) && r.standsAlone(i - 1) &&
                      !(i > 1 && run[i - 2] == U'上')) ||
                     // A floor or ground of a material (水泥地很滑, 泥地很难走, 瓷砖地很凉,
                     // 石板地被冲得很干净).
                     (i > 0 &&
                      oneOf(ctx.wordBefore(i), {U"泥", U"水泥", U"瓷砖", U"石板", U"砖", U"土", U"泥土",
                                                U"沙", U"沙土", U"碎石", U"柏油", U"大理石", U"水磨石",
                                                U"木板", U"石子", U"石头", U"黄土", U"烂泥", U"冻土"})) ||
                     (i >= 2 && in(U"块亩片垧顷", run[i - 1]) &&
                      (isNumeral(run[i - 2]) || in(U"这那哪几每", run[i - 2]))) ||
                     (last && r.after == PinyinBoundary::Punctuation && i > 0 && r.standsAlone(i - 1)))
                syl[i] = m_di4;
            break;
        case U'应': {
            // Answering an invitation, a summons or a demand, yìng (应普鲁士国王之邀, 应成吉思汗之召,
            // 应锁厅试, 应观众要求, 应市场需求), as answering a call or meeting a season (他应了一声,
            // 应者云集, 应下了, 应季水果, 来应门); standing alone before what ought to be done, yīng
            // (发烧时应多喝水, 废弃后应交由专门机构回收, 你应接受他之邀); not the second half of a word
            // the segmentation split (相对应的, 适应性).
            const std::u32string_view rest(run.data() + i + 1, std::min<std::size_t>(n - i - 1, 12));
            auto says = [&](std::initializer_list<std::u32string_view> words) {
                return std::any_of(words.begin(), words.end(), [&](std::u32string_view w) {
                    return rest.find(w) != std::u32string_view::npos;
                });
            };
            // (So too one's request: 应其请求, 应他们的要求.)
            const bool invited = (says({U"之邀", U"之召", U"之聘", U"之请", U"之约"}) ||
                                  (startsAsOneOf(rest, {U"其", U"他", U"她", U"对方"}) &&
                                   says({U"请求", U"要求", U"邀请"}))) &&
                                 !says({U"接受", U"参加", U"前往", U"答应"});
            const bool demanded = says({U"要求", U"需要", U"需求", U"委托", U"之约", U"变化"});
            // ...or sitting an examination named right after it (应博学鸿词科, 应进士举, 应童子试).
            const bool examined =
                !last && startsAsOneOf(rest, {U"博学鸿", U"进士", U"乡试", U"会试", U"殿试", U"制科",
                                              U"童子试", U"科举", U"贤良", U"明经"});
            if (m_ying4 != kNoSyllable && (invited || examined))
                syl[i] = m_ying4;
            else if (m_ying1 != kNoSyllable && syl[i] == m_ying4 && !last && !demanded &&
                     !in(U"邀召聘声试考征募诏了着过者性下季时门天届", run[i + 1]) &&
                     !ctx.nearAfter(i + 1, 12, U"邀召聘请试诏募") &&
                     !(i > 0 && in(U"对反照适响供答呼回感效报顺内", run[i - 1])))
                syl[i] = m_ying1;
            break;
        }
        case U'攒':
            // Saving up money or stamps, zǎn (攒了半年的零花钱, 攒了上千枚邮票); putting together, cuán (攒了
            // 一台电脑, 攒了个饭局, 攒了一桌酒席).
            if (m_zan3 != kNoSyllable && ctx.nearAfter(i + 1, 8, U"钱蓄票积币存"))
                syl[i] = m_zan3;
            break;
        case U'横':
            // Overbearing, hèng, after a word of degree or before 得 and how much (这家伙横得很, 态度太横了);
            // the stroke and lying across stay héng (这笔横得太长, 很横心, 横得平).
            if (m_heng4 != kNoSyllable && !(i > 0 && in(U"笔线一条竖撇", run[i - 1])) &&
                ((i > 0 && in(U"太很真挺好够", run[i - 1]) && !(!last && in(U"心行的着", run[i + 1]))) ||
                 (i + 2 < n && run[i + 1] == U'得' && r.wordStart[i + 1] && in(U"很要不没厉", run[i + 2]))))
                syl[i] = m_heng4;
            break;
        case U'捋':
            // Stroking a beard or hair smooth, lǚ (捋着胡子); rolling up a sleeve, luō.
            if (m_lv3 != kNoSyllable && ctx.nearAfter(i + 1, 6, U"胡须发"))
                syl[i] = m_lv3;
            break;
        case U'泡':
            // Soaking, pào, before what is soaked or how (泡水代茶, 泡坏了, 泡在水里); a bladder of
            // urine counted is pāo (一泡尿).
            // A lake of the northeast, pāo, before its reservoir or after 湖 (红旗泡水库, 湖泡星罗棋布).
            if (m_pao1 != kNoSyllable &&
                (ctx.wordAtStart(i + 1) == U"水库" || (i > 0 && run[i - 1] == U'湖' && r.standsAlone(i - 1))))
                syl[i] = m_pao1;
            else if (m_pao4 != kNoSyllable && !last && in(U"水茶澡脚坏软发开在着了一过上", run[i + 1]) &&
                     !ctx.afterCount(i, U"几"))
                syl[i] = m_pao4;
            break;
        case U'刨':
            // Planing wood, bào (把木板刨得又平又光, 刨着木板); digging is páo (刨着地里的红薯,
            // 刨得深一点, 刨了个坑).
            if (m_bao4 != kNoSyllable &&
                (ctx.nearAfter(i + 1, 4, U"木板") ||
                 (i + 2 < n && run[i + 1] == U'得' && ctx.nearAfter(i + 2, 3, U"平光滑") &&
                  ctx.nearBefore(i, 6, U"木板"))))
                syl[i] = m_bao4;
            break;
        case U'臊':
            // Shamed, sào, before 得 and a red face (臊得耳朵根都红了, 臊得无地自容); a stink, sāo, after
            // where it is (厕所里臊得很, 膻臊得很).
            if (m_sao4 != kNoSyllable && !last && run[i + 1] == U'得' &&
                ctx.nearAfter(i + 2, 6, U"红脸容抬躲羞") && !ctx.nearBefore(i, 3, U"里尿膻狐腥臭骚"))
                syl[i] = m_sao4;
            break;
        case U'系':
            // Tying, jì, a belt, a rope, a lace or a tie (腰系安全绳, 鞋带系了两次).
            if (m_ji4 != kNoSyllable && !(!last && in(U"他她我你由于", run[i + 1])) &&
                (ctx.nearBefore(i, 3, U"腰带绳鞋扣领") || ctx.nearAfter(i + 1, 4, U"带绳扣领鞋")))
                syl[i] = m_ji4;
            break;
        case U'削':
            // Peeling or paring, xiāo (削好的苹果, 削皮, 削成圆柱, 削铅笔); cutting down, xuē, in its words
            // and old titles (削减, 削藩, 被削了兵权).
            if (m_xiao1 != kNoSyllable && !last && in(U"好皮掉成铅苹尖得着", run[i + 1]))
                syl[i] = m_xiao1;
            break;
        case U'咽':
            // Swallowing, yàn, before what follows a verb or after how (硬咽, 咽又咽不下, 细嚼慢咽, 没咽好);
            // the throat is yān (口咽两侧, 咽痛, 利咽), sobbing after 哽 or 呜 yè.
            if (m_yan4 != kNoSyllable && ((!last && in(U"下了不又得着进回好", run[i + 1])) ||
                                          (i > 0 && in(U"硬慢吞难没往不强", run[i - 1]))))
                syl[i] = m_yan4;
            break;
        case U'咋':
            // How, zǎ (咋啦, 咋办); 咋舌 is a word.
            if (m_za3 != kNoSyllable)
                syl[i] = m_za3;
            break;
        case U'镐':
            // The pick, gǎo, swung or listed with other tools (抡镐刨地, 锄、镰、镐等, 镐的一端); Hao,
            // the Zhou capital, elsewhere (迁都于镐, 丰镐, 张镐).
            if (m_gao3 != kNoSyllable &&
                ((i > 0 && in(U"抡挥举铁洋用", run[i - 1])) || ctx.nearBefore(i, 4, U"锄镰锹铲斧镢锨") ||
                 ctx.nearAfter(i + 1, 4, U"锄镰锹铲斧镢锨") ||
                 (!last && run[i + 1] == U'的' && ctx.nearAfter(i + 2, 3, U"端尖刃柄"))))
                syl[i] = m_gao3;
            break;
        case U'和':
            // Mixing with water into dough or mud, huó (加水和成面团, 面粉和成团; 我和成团长, 和成团的游客
            // hé).
            // So the dough itself before how it is mixed (面团和得软硬适中, 面粉和好了).
            if (m_huo2 != kNoSyllable &&
                ((i + 2 < n && run[i + 1] == U'成' && in(U"面泥团浆", run[i + 2]) &&
                  ctx.nearBefore(i, 4, U"水粉面土灰")) ||
                 (!last &&
                  (in(U"得匀", run[i + 1]) ||
                   (run[i + 1] == U'好' && (i + 2 == n || in(U"了的后再", run[i + 2])))) &&
                  oneOf(ctx.wordBefore(i), {U"面团", U"面粉", U"白面", U"发面", U"死面"}))))
                syl[i] = m_huo2;
            break;
        case U'藏':
            // Tibet's, zàng, before its army, its style, its people abroad and the Burmese it is
            // grouped with (遭到藏军抵抗, 藏式碉房, 海外藏胞, 藏缅语族); hiding keeps cáng (藏军火, 内藏式).
            if (m_zang4 != kNoSyllable && !last && in(U"军式胞缅", run[i + 1]) &&
                !(i > 0 && in(U"内暗隐嵌埋收深", run[i - 1])) &&
                (r.standsAlone(i + 1) || oneOf(ctx.wordAtStart(i + 1), {U"语族", U"语支", U"甸"})))
                syl[i] = m_zang4;
            // Tibet entered or its parts, zàng (文成公主入藏，, 应邀入藏弘法, 入藏的必经之路, 藏东南;
            // 入藏国家图书馆, 凡入藏文物, 近年入藏的青铜器, 被收入藏 cáng).
            else if (m_zang4 != kNoSyllable &&
                     ((i > 0 && run[i - 1] == U'入' && r.standsAlone(i - 1) &&
                       !(i > 1 && in(U"被收购新所", run[i - 2])) &&
                       (last || in(U"后时前途弘传求平以之路线考定经反作驻镇征剿戡坐", run[i + 1]) ||
                        (run[i + 1] == U'的' && ctx.nearAfter(i + 2, 5, U"路道线途")))) ||
                      oneOf(ctx.wordAtStart(i + 1),
                            {U"东南", U"东北", U"西南", U"西北", U"东部", U"西部", U"南部", U"北部"})))
                syl[i] = m_zang4;
            // Tibet among the peoples listed, zàng (收录满藏蒙维汉五种文字, 满、蒙、藏、回).
            else if (m_zang4 != kNoSyllable && amongPeoples(r, ctx, i))
                syl[i] = m_zang4;
            // The Buddhist canon's three baskets, zàng (经藏、律藏和论藏).
            else if (m_zang4 != kNoSyllable && i > 0 && in(U"经律论", run[i - 1]) && r.standsAlone(i - 1) &&
                     ctx.nearAfter(0, n, U"经律论") && (last || in(U"、和与及", run[i + 1])))
                syl[i] = m_zang4;
            break;
        case U'蒙':
            // Mongolia among the peoples listed, měng (满、蒙、藏、回, 满藏蒙维汉).
            if (m_meng3 != kNoSyllable && amongPeoples(r, ctx, i))
                syl[i] = m_meng3;
            break;
        case U'累':
            // Promoted again and again, lěi, in a career (累迁至尚书, 累官至太子少保, 累擢御史, 累立战功,
            // 累赠太师; 累转 stays lěi): 累 tired stands before what it tires of, not a step of office.
            if (m_lei3 != kNoSyllable && !last &&
                (in(U"迁官擢转升拜授赠封", run[i + 1]) ||
                 (run[i + 1] == U'立' && i + 2 < n && in(U"战奇功军殊大首新", run[i + 2]))) &&
                !(i > 0 && in(U"太很真好挺特较更最点不", run[i - 1])) &&
                (r.standsAlone(i + 1) || oneOf(ctx.wordAtStart(i + 1), {U"官至", U"迁至", U"升至", U"擢至"})))
                syl[i] = m_lei3;
            break;
        case U'乐': {
            // Music of a rite or a court standing alone after what it serves, yuè (祭祀乐、朝会乐、宴飨乐,
            // 秦王破阵乐), and beside rites (礼与乐相辅相成).
            const std::u32string_view before = i > 1 ? std::u32string_view(run.data() + i - 2, 2) : U"";
            if (m_yue4 != kNoSyllable &&
                (oneOf(before, {U"祭祀", U"朝会", U"宴飨", U"导迎", U"宫廷", U"庙堂", U"鼓吹", U"破阵",
                                U"郊庙", U"房中", U"宴享", U"燕飨"}) ||
                 (i > 1 && in(U"与和", run[i - 1]) && run[i - 2] == U'礼')))
                syl[i] = m_yue4;
            break;
        }
        case U'拓':
            // Rubbing an inscription onto paper, tà, among steles, copybooks, ink and paper (乌金拓墨色
            // 浓黑, 依据旧拓重新摹刻, 将器形拓于纸上); opening up land or a road keeps tuò (增拓有子城,
            // 拓地).
            if (m_ta4 != kNoSyllable && !(i + 1 < n && in(U"跋展宽地土荒殖边疆扑", run[i + 1])) &&
                (ctx.nearBefore(i, 4, U"碑帖墨纸摹铭蝉") || ctx.nearAfter(i + 1, 4, U"碑帖墨纸摹铭")))
                syl[i] = m_ta4;
            break;
        case U'宁':
            // Rather, nìng, weighing one thing against another with 毋 or 勿 (宁拙毋巧, 宁支离毋轻滑).
            if (m_ning4 != kNoSyllable && i + 2 < n && ctx.nearAfter(i + 2, 3, U"毋勿"))
                syl[i] = m_ning4;
            break;
        case U'丧':
            // Mourning named as a thing, sāng, after 之 (遇父母之丧, 有母之丧).
            if (m_sang1 != kNoSyllable && i > 0 && run[i - 1] == U'之')
                syl[i] = m_sang1;
            break;
        case U'中':
            // Passing an imperial examination, zhòng, after when or how often one did and before the
            // examination or the degree it gives (二十九岁时中应天府乡试第一名, 后又中进士; 在乡试中, 其中
            // 进士三人 and 中书舍人 are not).
            if (m_zhong4 != kNoSyllable && !last && i > 0 &&
                in(U"时年岁后又再终均皆即遂乃并先亦曾", run[i - 1]) &&
                holdsOneOf(std::initializer_list<std::u32string_view>{U"乡试", U"会试", U"殿试", U"进士",
                                                                      U"举人", U"状元", U"秀才", U"解元",
                                                                      U"探花", U"榜眼"},
                           std::u32string_view(run.data() + i + 1, std::min<std::size_t>(n - i - 1, 8))))
                syl[i] = m_zhong4;
            // Failing one, 不中 closing the clause after the examination (屡应乡试不中, 会试不中).
            else if (m_zhong4 != kNoSyllable && last && i > 0 && run[i - 1] == U'不' &&
                     holdsOneOf(std::initializer_list<std::u32string_view>{U"乡试", U"会试", U"殿试", U"科举",
                                                                           U"进士", U"举人", U"应试",
                                                                           U"应举"},
                                std::u32string_view(run.data(), i)))
                syl[i] = m_zhong4;
            break;
        case U'遂':
            // Then, suì (遂下令废除, 遂改称为快); suí only in 半身不遂.
            if (m_sui4 != kNoSyllable && !(i > 1 && run[i - 1] == U'不' && run[i - 2] == U'身'))
                syl[i] = m_sui4;
            break;
        case U'称':
            // Called by, chēng, closing 以…相称, how people address one another (此后他人便以字相称, 多以
            // 兄弟相称; 与其身份相称 is fitting, chèn).
            if (m_cheng1 != kNoSyllable && last && i > 1 && run[i - 1] == U'相' && r.wordStart[i - 1] &&
                r.end[i - 1] == i + 1 && ctx.aloneBefore(i - 1, U'以'))
                syl[i] = m_cheng1;
            break;
        case U'夹':
            // Held between, jiā, before where or how it is held (将琴身夹在两腿之间, 夹着尾巴, 夹紧); the
            // double-layered jiá is a word's (夹袄, 夹被).
            if (m_jia1 != kNoSyllable && !last && in(U"在着住紧起了", run[i + 1]))
                syl[i] = m_jia1;
            break;
        case U'载':
            // Years counted, zǎi, standing alone after a number (天宝十二载抵达日本, 寒窗苦读十二载,
            // 批阅十载; 一载体 and 满载 are words of their own).
            if (m_zai3 != kNoSyllable && i > 0 && isNumeral(run[i - 1]))
                syl[i] = m_zai3;
            break;
        case U'哦':
            // The interjection standing between marks is ò, realizing (哦，原来如此), or ó, asking
            // (哦？); ending what it softens, the neutral o (一定要来哦！, 这很重要哦。).
            if (i == 0 && last && m_o2 != kNoSyllable && m_o4 != kNoSyllable)
                syl[i] = (r.closedBy == U'？' || r.closedBy == U'?') ? m_o2 : m_o4;
            else if (i > 0 && last && m_o5 != kNoSyllable)
                syl[i] = m_o5;
            break;
        case U'汗':
            if (m_han4 != kNoSyllable &&
                (i == 0 || in(U"身了擦流出冒盗虚冷热臭些点是多满把滴手脚额背排", run[i - 1])))
                syl[i] = m_han4;
            break;
        case U'长':
            if (m_chang2 != kNoSyllable && i > 0 && syl[i] == m_zhang3 &&
                (in(U"很太挺更最较", run[i - 1]) ||
                 (i + 2 < n && isNumeral(run[i + 1]) && !in(U"年月天周", run[i - 1]) &&
                  ctx.nearAfter(i + 2, 3, U"米尺寸里码丈")) ||
                 ((last ? r.after != PinyinBoundary::Edge : run[i + 1] == U'的') &&
                  !in(kOffices, run[i - 1])) ||
                 // A time or a way that is long (时间长了就习惯了, 寿命长, 距离长).
                 holdsOneOf(std::initializer_list<std::u32string_view>{U"时间", U"时期", U"周期", U"寿命",
                                                                       U"工期", U"疗程", U"距离", U"路程",
                                                                       U"里程", U"篇幅", U"日子"},
                            ctx.wordBefore(i))))
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
            // Giving back, huán: ending a clause (借东西要记得还。) or a line after a verb of must or
            // will (什么时候还, 借钱不还, 我一定还), before 了, 完 or 的 alone (他还了一半的钱, 还完了,
            // 每个月还的钱), to a person ending the clause or after 把 (快还我, 把钱还我吧), and 还上
            // ending the clause; the adverb leads a verb (他还我行我素 is not seen so).
            if (m_huan2 != kNoSyllable && i > 0 &&
                ((last && (r.after == PinyinBoundary::Punctuation ||
                           (r.after == PinyinBoundary::Edge && in(U"得要能会该没不候定", run[i - 1])))) ||
                 // 还我, 还他们 ending the clause, or after 把 (快还我, 把钱还他吧): given back to them.
                 (!last && in(U"我你他她它您", run[i + 1]) && r.standsAlone(i + 1) &&
                  (i + 2 == n || (run[i + 2] == U'们' && i + 3 == n) || in(U"吧啊呀呢", run[i + 2]) ||
                   ctx.occursBefore(i, U'把'))) ||
                 (!last && in(U"了完的", run[i + 1]) && r.standsAlone(i + 1)) ||
                 (!last && run[i + 1] == U'上' && r.standsAlone(i + 1) &&
                  (i + 2 == n || in(U"再吧", run[i + 2]) ||
                   (run[i + 2] == U'了' && (i + 3 == n || (i + 4 == n && in(U"吗吧", run[i + 3])))))) ||
                 // A car, a book or an umbrella returned, before when (还车时, 还书后, 还伞的时候).
                 (i + 2 < n && in(U"车书伞", run[i + 1]) && r.standsAlone(i + 1) &&
                  in(U"时后的", run[i + 2]) && (r.standsAlone(i + 2) || ctx.wordAtStart(i + 2) == U"时候"))))
                syl[i] = m_huan2;
            break;
        case U'量':
            if (m_liang2 != kNoSyllable && !last &&
                (run[i + 1] == kYi || run[i + 1] == U'量' ||
                 (i + 2 < n && isNumeral(run[i + 1]) && in(U"次遍下回", run[i + 2])) ||
                 (run[i + 1] == U'了' && i > 0 && in(U"他她你我们给帮先再", run[i - 1])) ||
                 // Measuring a temperature, a body or a line (给孩子量了体温, 用量角器量出度数).
                 ((run[i + 1] == U'出' && !(i + 2 < n && in(U"为制", run[i + 2]))) ||
                  ctx.nearAfter(i + 1, 3, U"体血身尺腰"))))
                syl[i] = m_liang2;
            break;
        case U'为':
            // Before digits it equals them, wéi (间隔为60, 必为512); so it names a species' family and
            // genus after the species and its bracket (苦槛蓝（学名：）为苦槛蓝科苦槛蓝属下的一个种;
            // ，为儿科患者家属提供 serves, wèi).
            if (m_wei2 != kNoSyllable && last && r.after == PinyinBoundary::Digit)
                syl[i] = m_wei2;
            else if (m_wei2 != kNoSyllable && !last && i == 0 && r.before == PinyinBoundary::Punctuation) {
                const std::u32string_view rest(run.data() + 1, n - 1);
                const auto family = rest.find(U'科');
                const auto genus = family == std::u32string_view::npos ? family : rest.find(U'属', family);
                if (genus != std::u32string_view::npos &&
                    (genus + 1 == rest.size() || in(U"下的", rest[genus + 1])))
                    syl[i] = m_wei2;
            }
            break;
        case U'调':
            // Set to a degree, tiáo: before 得 and how (温度调得过低, 调得到三十度; 调得动, 调得到人手 and
            // 他被调得很远 move someone, diào), before how much after 将 or 把 (将音量调为静音, 把字体
            // 调成宋体), and before a degree (调高分辨率, 调快播放速度).
            if (m_tiao2 != kNoSyllable && !ctx.occursBefore(i, U'被') &&
                ((i + 2 < n && run[i + 1] == U'得' && !in(U"动走来去回过出", run[i + 2]) &&
                  !(run[i + 2] == U'到' && !(i + 3 < n && (isNumeral(run[i + 3]) || run[i + 3] == U'最')))) ||
                 (!last && in(U"为成", run[i + 1]) &&
                  [&] {
                      // What 将 or 把 takes is a thing, not a person moved to a post (将他调为副局长).
                      std::size_t p = i;
                      while (p > 0 && run[p - 1] != U'将' && run[p - 1] != U'把')
                          --p;
                      return p > 0 &&
                             std::u32string_view(run.data() + p, i - p).find_first_of(U"他她我你其们人员") ==
                                 std::u32string_view::npos;
                  }()) ||
                 (!last && in(U"高低快慢亮暗大小", run[i + 1]) && r.wordStart[i + 1] &&
                  !(i + 2 < n && run[i + 2] == U'级'))))
                syl[i] = m_tiao2;
            break;
        case U'担':
            // The load, dàn, after a number or 每 (年产稻谷三千担, 每担米价; 一担任 is a word, and 唯一
            // 担得起 carries).
            if (m_dan4 != kNoSyllable && ctx.afterCount(i, U"几数每"))
                syl[i] = m_dan4;
            break;
        case U'斗':
            // The measure of grain, dǒu, after a number (三斗米, 十斗为一斛; 斗争 and 斗殴 are words).
            // Not after the 一 of 万一 or 唯一, nor before 不, 得, 过 or 地 (斗不过他, 斗地主).
            if (m_dou3 != kNoSyllable && ctx.afterCount(i, U"几数半") &&
                !(!last && in(U"不得过地", run[i + 1])))
                syl[i] = m_dou3;
            break;
        case U'着':
            // Touching the ground, zhuó dì, ending the clause after what lands (双脚着地, 飞机着地了;
            // 他盯着地 zhe).
            if (m_zhuo2 != kNoSyllable && m_di4 != kNoSyllable && i + 1 < n && run[i + 1] == U'地' &&
                (i == 0 || in(U"机脚身头手膝先轮尾背", run[i - 1])) && r.standsAlone(i + 1) &&
                (i + 2 == n || run[i + 2] == U'了')) {
                syl[i] = m_zhuo2;
                syl[i + 1] = m_di4;
            }
            // After a verb of two characters or more, the particle (生活着多种鸟类, 栖息着); 用不着 and
            // 睡得着 are reached, zháo, and so 仓库着了火.
            else if (m_zhe5 != kNoSyllable && syl[i] != m_zhe5 && ctx.wordBefore(i).size() >= 2 &&
                     !in(U"不得", run[i - 1]) && !(!last && in(U"火凉急迷陆落慌魔", run[i + 1])) &&
                     !(i + 2 < n && run[i + 1] == U'了' && in(U"火凉急迷慌魔", run[i + 2])))
                syl[i] = m_zhe5;
            break;
        case U'当':
            // Taken as, dàng: after 把 (把她当妹妹看, 别把我当小孩; 把他请来当顾问 serves, dāng) and
            // before a person who is taken for something (我当你是朋友, 她当我是空气; 当我是学生的
            // 时候 and 当你是初学者， opening a clause are when, dāng).
            if (m_dang4 != kNoSyllable && !(i > 0 && in(U"来去", run[i - 1])) &&
                (ctx.occursBefore(i, U'把') ||
                 (i > 0 && i + 2 < n && in(U"我你他她它", run[i + 1]) && run[i + 2] == U'是' &&
                  std::u32string_view(run.data() + i, n - i).find(U'时') == std::u32string_view::npos)))
                syl[i] = m_dang4;
            break;
        case U'冲':
            // Towards someone, chòng: 他冲我笑了笑, 你冲谁发火呢 (用开水冲你的奶粉 rinses, chōng).
            if (m_chong4 != kNoSyllable && !last && in(U"我你他她谁您咱", run[i + 1]) &&
                !ctx.occursBefore(i, U'用') && !ctx.nearAfter(i + 1, 3, U"的"))
                syl[i] = m_chong4;
            // A smell that is strong, chòng, after a word of degree ending the clause (味道很冲).
            else if (m_chong4 != kNoSyllable && i > 0 && in(U"很太真挺好够", run[i - 1]) &&
                     (last || in(U"了啊呀", run[i + 1])))
                syl[i] = m_chong4;
            break;
        case U'处':
            // Getting along, chǔ, after the ones who do: 我们俩处了三年, 你们处得怎么样 (调到宣传处了
            // is a department, chù).
            if (m_chu3 != kNoSyllable && i > 0 && !last && in(U"了得", run[i + 1]) &&
                in(U"俩们人他她我你", run[i - 1]))
                syl[i] = m_chu3;
            // Sentenced, chǔ, after 可, 并, 应 or 或 before the term (最高可处七年有期徒刑, 并处五年以下;
            // 无处可去 is a place).
            else if (m_chu3 != kNoSyllable && i > 0 && !last && in(U"可并应或均", run[i - 1]) &&
                     (isNumeral(run[i + 1]) || run[i + 1] == U'以'))
                syl[i] = m_chu3;
            break;
        case U'落':
            // Left behind, là: a thing one carries, after 把 or 将, before 在 or 了 (把钥匙落在家里了,
            // 如将行李落在车厢内).
            if (m_la4 != kNoSyllable && i > 2 && !last && in(U"在了", run[i + 1]) && !r.wordStart[i - 1]) {
                static constexpr std::u32string_view kCarried[] = {
                    U"钥匙", U"作业", U"作业本", U"手机", U"东西", U"书包", U"雨伞",   U"钱包",
                    U"本子", U"证件", U"身份证", U"外套", U"帽子", U"文件", U"充电器", U"眼镜",
                    U"课本", U"包",   U"充电宝", U"耳机", U"雨衣", U"卡",   U"行李",   U"箱子",
                    U"背包", U"护照", U"车票",   U"衣服", U"书本"};
                const std::u32string_view carried = ctx.wordBefore(i);
                if ((ctx.occursBefore(i - carried.size(), U'把') ||
                     ctx.occursBefore(i - carried.size(), U'将')) &&
                    std::find(std::begin(kCarried), std::end(kCarried), carried) != std::end(kCarried))
                    syl[i] = m_la4;
            }
            break;
        case U'剥':
            // Alone it is bāo (剥个橘子, 把虾剥了壳); bō lives in its words (剥削, 剥夺).
            if (m_bao1 != kNoSyllable)
                syl[i] = m_bao1;
            break;
        case U'转': {
            static constexpr std::u32string_view kCountsTurns[] = {U"分钟", U"转速", U"怠速"};
            // Turning round, zhuàn: 转着圈, 转得很快, 转个不停, 风车在转。地球绕着太阳转, 打着转儿 (转着弯,
            // 转个身 and 转得过去 turn or pass on, zhuǎn).
            if (m_zhuan4 != kNoSyllable && syl[i] == m_zhuan3 &&
                ((!last && in(U"着圈", run[i + 1]) && !(i + 2 < n && run[i + 2] == U'弯')) ||
                 (i + 2 < n && run[i + 1] == U'个' && run[i + 2] == U'不') ||
                 (last && ctx.occursBefore(i, U'绕')) ||
                 (i + 2 < n && run[i + 1] == U'得' && !in(U"过出回到进", run[i + 2])) ||
                 (i > 0 && run[i - 1] == U'在' && (last || in(kParticles, run[i + 1]))) ||
                 // Spinning in place (打着转儿, 石磨一圈圈地转。风扇一直狂转).
                 (!last && run[i + 1] == U'儿') || (last && i > 0 && in(U"地狂乱飞旋", run[i - 1])) ||
                 // A wheel or a top spinning faster or slower (陀螺越转越快, 轮子越转越慢; 风向越转越急 and
                 // 话锋越转越快 change, zhuǎn).
                 (i > 0 && i + 2 < n && run[i - 1] == U'越' && run[i + 1] == U'越' &&
                  in(U"快慢急猛", run[i + 2]) && ctx.nearBefore(i - 1, 6, U"螺轮磨扇桨叶达机盘车球")) ||
                 // Revolutions, after their number where minutes or 转速 count them (每分钟三千转,
                 // 转速达到六千转, 7200转/分; 这条微博1000转的时候, 三十万转 are reposts, zhuǎn).
                 (i == 0 ? r.before == PinyinBoundary::Digit && last && r.after == PinyinBoundary::Punctuation
                         : i > 1 && isNumeral(run[i - 1]) && isNumeral(run[i - 2]) &&
                               std::any_of(std::begin(kCountsTurns), std::end(kCountsTurns),
                                           [&](std::u32string_view w) {
                                               return std::u32string_view(run.data(), i).find(w) !=
                                                      std::u32string_view::npos;
                                           }) &&
                               (last || run[i + 1] == U'每' || run[i + 1] == U'的'))))
                syl[i] = m_zhuan4;
            // Turning one's body, a corner or a direction once is zhuǎn (他转了个身, 车子转了个弯, 把车转了个
            // 方向); going round stays zhuàn (转了一圈).
            else if (m_zhuan3 != kNoSyllable && syl[i] == m_zhuan4) {
                std::size_t k = i + 1;
                if (k < n && run[k] == U'了')
                    ++k;
                if (k < n && run[k] == kYi)
                    ++k;
                if (k < n && run[k] == U'个')
                    ++k;
                if (k > i + 1 && k < n && in(U"身弯头", run[k]) && !(k + 1 < n && in(U"子儿发", run[k + 1])))
                    syl[i] = m_zhuan3;
                else if (k > i + 1 && oneOf(ctx.wordAtStart(k), {U"方向", U"念头", U"话题", U"话锋"}))
                    syl[i] = m_zhuan3;
            }
            break;
        }
        case U'种':
            // Planted, zhòng: 种着很多树, 种了菜, 种满了花, 他种的菜, and before a crop (种谷子不如种糜子,
            // 圩内种稻) but where it counts kinds (这种菜, 三种花).
            if (m_zhong4 != kNoSyllable &&
                ((!last && in(U"着了过满", run[i + 1])) || (i > 0 && in(U"他她我你们", run[i - 1])) ||
                 (!(i == 0 ? r.before == PinyinBoundary::Digit
                           : isNumeral(run[i - 1]) || in(U"这那哪各每几多少么某此该另同本", run[i - 1])) &&
                  oneOf(ctx.wordAtStart(i + 1),
                        {U"谷子", U"谷",   U"稻",   U"稻子", U"水稻", U"麦",   U"麦子", U"小麦", U"豆",
                         U"豆子", U"大豆", U"菜",   U"蔬菜", U"瓜",   U"西瓜", U"树",   U"果树", U"棉花",
                         U"粮食", U"粮",   U"桑",   U"茶",   U"玉米", U"土豆", U"红薯", U"糜子", U"高粱",
                         U"庄稼", U"花生", U"芝麻", U"烟叶", U"甘蔗", U"药材", U"水果", U"葡萄", U"苹果"}))))
                syl[i] = m_zhong4;
            break;
        case U'柏':
            // The cypress, bǎi, before its branches, wood or leaves (柏枝, 柏木); 柏林 keeps bó.
            if (m_bai3 != kNoSyllable && !last && in(U"枝树木叶油香籽", run[i + 1]))
                syl[i] = m_bai3;
            break;
        case U'没':
            // Sunk, mò, before 于 and water, earth or battle (常年没于水下, 没于阵中; 没于规定时间内交货
            // did not, méi).
            if (m_mo4 != kNoSyllable && !last && run[i + 1] == U'于' && r.standsAlone(i + 1) &&
                ctx.nearAfter(i + 2, 2, U"水海江河湖阵乱战草林土沙泥雪浪波"))
                syl[i] = m_mo4;
            break;
        case U'炸':
            // Frying, zhá, before what is fried or 至 (炸油条, 炸带鱼, 炸至金黄); elsewhere bombs and
            // bursts keep zhà.
            if (m_zha2 != kNoSyllable && !last &&
                (run[i + 1] == U'至' ||
                 oneOf(ctx.wordAtStart(i + 1),
                       {U"油条", U"鸡",   U"鸡腿", U"鸡翅",   U"鱼",     U"带鱼", U"小鱼", U"薯条",
                        U"丸子", U"酱",   U"春卷", U"花生",   U"花生米", U"豆腐", U"肉",   U"虾",
                        U"糕",   U"麻花", U"馒头", U"年糕",   U"排骨",   U"里脊", U"鸡块", U"馓子",
                        U"茄盒", U"藕盒", U"酥肉", U"小黄鱼", U"鸡蛋"})) &&
                !ctx.nearBefore(i, 6, U"雷管药"))
                syl[i] = m_zha2;
            // Bombed, zhà, after 挨, 被 or 遭 (天天挨炸, 桥被炸了; 鸡腿被炸得金黄 is fried), and bursting
            // with anger (气炸了).
            else if (m_zha4 != kNoSyllable && i > 0 && in(U"挨被遭气", run[i - 1]) &&
                     !ctx.nearAfter(0, n, U"金黄酥脆油锅熟遍糊焦"))
                syl[i] = m_zha4;
            // Blasting rock, bridges and forts, or fish with detonators (开山炸石, 炸桥, 用雷管炸鱼).
            else if (m_zha4 != kNoSyllable &&
                     ((!last && in(U"石山桥堡楼", run[i + 1]) && r.standsAlone(i + 1)) ||
                      ctx.nearBefore(i, 6, U"雷管药")))
                syl[i] = m_zha4;
            break;
        case U'糊':
            // Burnt, hú, after a way of cooking or before 了 ending the clause after what is cooked
            // (炒糊了, 饭糊了。; 把饭糊了一脸 smears); paste and plaster keep their words.
            if (m_hu2 != kNoSyllable && i > 0 &&
                (in(U"炒烧烤煮熬烙焖煎蒸熏烘燎", run[i - 1]) ||
                 (i + 2 == n && run[i + 1] == U'了' && in(U"饭粥菜锅饼汤", run[i - 1]))))
                syl[i] = m_hu2;
            // Pasting paper or cloth over a thing, hú (用高丽纸糊窗, 用报纸糊窗缝, 糊纸人, 糊灯笼,
            // 在窗缝处糊上纸条, 用绢糊面); mud, plaster and glue smeared on are hū (黄泥糊墙, 用水泥糊上),
            // left to the model.
            else if (m_hu2 != kNoSyllable && !last && !ctx.nearBefore(i, 8, U"泥灰浆胶") &&
                     (in(U"窗墙纸灯顶盒", run[i + 1]) || (i > 0 && run[i - 1] == U'裱') ||
                      (in(U"上面好成", run[i + 1]) && r.standsAlone(i + 1) &&
                       (ctx.nearBefore(i, 8, U"纸绢布") || ctx.nearAfter(i + 1, 4, U"纸绢布")))))
                syl[i] = m_hu2;
            break;
        case U'钉':
            // Nailing, dìng, before where or how the nail goes (钉在墙上, 钉歪了, 钉上木板, 给骡马钉掌);
            // not the nail itself counted or named (一颗钉在墙上, 图钉).
            if (m_ding4 != kNoSyllable && !last && in(U"歪进上住在牢好死了着掌扣", run[i + 1]) &&
                ctx.wordAtStart(i + 1).size() == 1 &&
                !(i > 0 && in(U"颗枚根个只的铁图螺丝子骨钢鞋长种门铆这那", run[i - 1])))
                syl[i] = m_ding4;
            // The nail's own parts, dīng (钉尖上抹蜡, 钉头设油灰, 钉帽; 先钉头两颗扣子 nails the first two).
            else if (m_ding1 != kNoSyllable && !last && in(U"尖头帽", run[i + 1]) && r.standsAlone(i + 1) &&
                     !(i + 2 < n && isNumeral(run[i + 2])))
                syl[i] = m_ding1;
            break;
        case U'盛': {
            // What holds food, grain or water (盛在盘里, 先盛上一碗, 缸里盛着小米; 西乡隆盛在1877年 is a
            // name).
            static constexpr std::u32string_view kVessels =
                U"碗盘罐缸瓶篮盆桶匣盒杯锅筐碟坛瓮壶盏勺匾篓袋箱仓饭粥汤";
            // Filling a bowl, chéng: 给我盛了一碗饭, 盛满.
            // Holding, chéng, of a vessel: 内盛炭化的粟粒, 笼中盛有消化液, 盛在盘里, 先盛上一碗,
            // 能盛下半只鸡.
            if (m_cheng2 != kNoSyllable && !last &&
                ((in(U"了满碗饭汤", run[i + 1]) &&
                  !(i > 0 && in(U"正最很极", run[i - 1]) && !(i + 2 < n && isNumeral(run[i + 2])))) ||
                 ((run[i + 1] == U'有' || (i > 0 && run[i - 1] == U'内') ||
                   (in(U"在着上下入进于", run[i + 1]) && r.standsAlone(i + 1) &&
                    !(i > 0 && in(U"老小", run[i - 1])) &&
                    (ctx.nearAfter(i + 2, 5, kVessels) || ctx.nearBefore(i, 8, kVessels)))) &&
                  !(i > 0 && in(U"正最很极更尤", run[i - 1]))) ||
                 // ...and what it is for, before water, food or grain (用于炊煮和盛水, 可盛水二十升; 盛水期
                 // is the high water).
                 (i > 0 && in(U"于和来以可能用", run[i - 1]) && in(U"水饭汤粥酒米油", run[i + 1]) &&
                  !(i + 2 < n && in(U"期季时", run[i + 2])))))
                syl[i] = m_cheng2;
            // Flourishing in an age, shèng (始于唐代，盛于宋代, 盛于明清; 盛于碗中 holds).
            else if (m_sheng4 != kNoSyllable && i + 2 < n && run[i + 1] == U'于' &&
                     (ctx.nearAfter(i + 2, 4, U"代朝世唐宋元明清汉晋隋") || ctx.occursBefore(i, U'始')))
                syl[i] = m_sheng4;
            break;
        }
        case U'数':
            // Counting, shǔ: 在数钞票, 数错了, 数了好几遍, 数遍全班同学, 数得清清楚楚, 数他年纪最大; not the
            // noun after a measure or a demonstrative (这个数错了, 一个数得商), nor several (在数台机器上, 在
            // 数场比赛中, 反复数遍, 读了数遍), nor a number (浮点数来做, 字节数不同).
            if (m_shu3 != kNoSyllable && syl[i] == m_shu4 &&
                !(i > 0 && in(U"个这那此该某各每一两的些组", run[i - 1])) &&
                ((!last && in(U"了错得着过完遍你我他她", run[i + 1]) && r.standsAlone(i + 1) &&
                  !(run[i + 1] == U'遍' && i > 0 && in(U"复了", run[i - 1]))) ||
                 (i > 0 && run[i - 1] == U'在' && !last && !isNumeral(run[i + 1]) &&
                  !in(U"台个次条种名位家件年天月日小分秒场项所座轮篇页行列组份批户类", run[i + 1]))))
                syl[i] = m_shu3;
            // Several, shù, before a measure or a round number (从数吨矿渣中, 数座桥梁, 数十人, 数趟列车,
            // 数朵簇生, 数家公司, 原来的数百倍; 数头发 counts); not after a measure or a demonstrative
            // (这个数), nor counting what is counted (数件数).
            else if (m_shu4 != kNoSyllable && syl[i] == m_shu3 && !last &&
                     (in(U"吨座个位名次年台件条艘架辆项种十百千万亿倍", run[i + 1]) ||
                      (in(U"趟场家株棵处篇部本首只匹支封张块段批份户届期代轮朵枚颗粒片", run[i + 1]) &&
                       r.standsAlone(i + 1))) &&
                     !(i > 0 && in(U"个这那此该某各每一两的些组", run[i - 1]) &&
                       !(run[i - 1] == U'的' && in(U"十百千万", run[i + 1]))) &&
                     !(i + 2 < n && run[i + 2] == U'数'))
                syl[i] = m_shu4;
            break;
        case U'创':
            // Standing alone before what it founds or sets, chuàng (赵佶创瘦金体, 于鹤鸣山创五斗米道, 股价
            // 创了新高), or ending a clause after 所 where someone founded it (为耶律迭剌所创，); the wound
            // ends its clause or follows what dealt it (身中三处箭创, 划了一道创。, 旧创复发, 为流矢所创),
            // and lives in its words (创伤, 重创, 受创) and in surgery's 微创.
            if (m_chuang4 != kNoSyllable && ((!last && !in(U"伤口疤", run[i + 1]) &&
                                              !(i > 0 && in(U"刀枪金受重微箭剑道的个旧新", run[i - 1]))) ||
                                             (i > 0 && run[i - 1] == U'所' && !ctx.occursBefore(i, U'被') &&
                                              !ctx.nearBefore(i - 1, 4, U"矢弹箭刀枪敌兵"))))
                syl[i] = m_chuang4;
            break;
        case U'分':
            // Dividing into a number of parts, fēn: 分三期免息, 分两次付清.
            if (m_fen1 != kNoSyllable && syl[i] == m_fen4 && i + 2 < n && isNumeral(run[i + 1]) &&
                in(U"期次批步组类个份块段部", run[i + 2]))
                syl[i] = m_fen1;
            break;
        case U'缝':
            // A crack, fèng: 一条缝, 这个缝太大了, 门开了一道缝, 很长的缝。
            if (m_feng4 != kNoSyllable && i > 0 &&
                (in(U"条道个", run[i - 1]) || (last && run[i - 1] == U'的')))
                syl[i] = m_feng4;
            break;
        case U'倒': {
            // Poured or dumped where 把 leads what is poured, dào (把剩下的菜倒了吧, 把垃圾倒掉, 把水倒进
            // 杯里); what falls keeps dǎo after the verb that felled it (把杯子碰倒了, 把他推倒).
            const std::u32string_view before = ctx.wordBefore(i);
            if (m_dao4 != kNoSyllable && i > 1 && ctx.occursBefore(i, U'把') && !before.empty() &&
                before.front() != U'把' && !isVerb(before) && (last || in(U"了掉进出在入回满", run[i + 1])))
                syl[i] = m_dao4;
            break;
        }
        case U'空':
            // Left vacant is kòng where 着 closes the clause (这间屋子空着, 座位一直空着呢); empty-handed
            // stays kōng (空着手来的, 空着肚子).
            if (m_kong4 != kNoSyllable && i + 1 < n && run[i + 1] == U'着' &&
                (i + 2 == n || in(U"呢的吧了啊", run[i + 2])))
                syl[i] = m_kong4;
            break;
        case U'结': {
            // Bearing fruit or seed is jiē (桃树结了很多桃子, 藤上结了几根黄瓜); tying, freezing and
            // marrying stay jié (结了冰, 结了婚, 结了婚结果又离了: 果 of 结果, 如果, 效果 is no fruit).
            bool fruit = false;
            for (std::size_t k = i + 1; k < std::min(n, i + 7) && !fruit; ++k)
                fruit = in(U"果瓜桃籽穗荚枣梨杏柿", run[k]) &&
                        !(run[k] == U'果' && (in(U"结如效成后因战恶苦善", run[k - 1]) ||
                                              (k + 1 < n && in(U"然断真敢", run[k + 1]))));
            if (m_jie1 != kNoSyllable && fruit)
                syl[i] = m_jie1;
            break;
        }
        case U'服':
            // The measure of medicine, fù: 开了几服中药, 吃了一服药, 这服药.
            if (m_fu4 != kNoSyllable && i > 0 && !last &&
                (isNumeral(run[i - 1]) || in(U"几这那", run[i - 1])) && in(U"药中汤", run[i + 1]))
                syl[i] = m_fu4;
            break;
        case U'切':
            // Cutting, qiē, ending a clause or before what is cut into (逆着纹路切。切成丝, 切好);
            // qiè is in its words and before 不, 勿, 莫 (切中, 切不可).
            if (m_qie1 != kNoSyllable && !(i > 0 && in(U"真亲迫急殷确密贴恳悲", run[i - 1])) &&
                (last || in(U"成开好了碎块片丝段", run[i + 1])))
                syl[i] = m_qie1;
            break;
        case U'儿':
            // After a word, the ending of erhua (豆汁儿, 宝贝儿, 打着转儿); not opening a run (儿啊), in a
            // foreign name (笛卡儿), as a son (一儿一女, 吾儿, 弃儿) nor in 儿化. Nor where it ends a name of
            // one character and 儿, er (上官婉儿, 赵灵儿, 杨白劳之女喜儿, 新增角色晴儿, “蓉儿”): after a
            // surname, or after what names a person, or opening a quoted run.
            if (m_er5 != kNoSyllable && syl[i] == m_er2 && i > 0 && !spellsForeignNames(run[i - 1]) &&
                !in(U"一吾我弃孤婴胎健幼男女孙侄混", run[i - 1]) &&
                !(!last && in(U"子女童孙时歌科化", run[i + 1]))) {
                const bool name = r.wordStart[i - 1] && run[i - 1] != U'们' &&
                                  (i == 1 ? r.before == PinyinBoundary::Punctuation
                                          : in(U"赵钱孙李吴郑王冯陈褚蒋沈韩杨朱秦许吕施孔曹严魏陶姜谢邹苏潘"
                                               U"范彭鲁苗袁柳唐薛贺倪汤罗毕郝傅齐顾孟萧尹姚邵汪祁毛狄戴宋庞"
                                               U"熊纪屈项祝董梁杜阮闵贾颜郭梅钟徐邱骆夏蔡胡凌霍柯卢邓洪崔龚"
                                               U"邢裴荣翁曾殷官女色名叫称唤她",
                                               run[i - 2]));
                if (!name)
                    syl[i] = m_er5;
            }
            break;
        case U'卷':
            // Curled, juǎn, said of a thing before 的 (头发是卷的; AFS卷的 is a volume).
            // Counted rolls are juǎn too (一卷胶片, 每卷卫生纸; 第三卷, 一卷书, 三卷纸质文献, 三卷纸本 are
            // volumes).
            if (m_juan3 != kNoSyllable &&
                ((!last && run[i + 1] == U'的' && i > 0 && in(U"是很挺太都有点", run[i - 1])) ||
                 (ctx.afterCount(i, U"几数每") && ctx.nearAfter(i + 1, 3, U"纸胶布线绳钢带膜") &&
                  !(i + 2 < n && run[i + 1] == U'纸' && in(U"质张本墨盒面页品箱", run[i + 2])))))
                syl[i] = m_juan3;
            // Right after a title, the scroll or volume of it, juàn (《丹台春晓图》卷，《全唐诗》卷七六一,
            // 《传习录》卷上; 《繁花》卷入 and “双十一”卷价格 are drawn in and compete).
            else if (m_juan4 != kNoSyllable && i == 0 && r.startsAfterTitle &&
                     (last || !in(U"起成好住了着回走曲进入", run[i + 1])))
                syl[i] = m_juan4;
            // The first, middle or last volume, juàn, before what it holds or when it came out
            // (上卷于1946年出版, 下卷为…所题诗; 往下卷起来 rolls).
            else if (m_juan4 != kNoSyllable && i > 0 && in(U"上中下", run[i - 1]) && r.standsAlone(i - 1) &&
                     !last && in(U"于为收是共有", run[i + 1]))
                syl[i] = m_juan4;
            // A volume named as this one or the whole, juàn (该卷的发现, 全卷, 此卷为孤本; 几本卷了角的书
            // curls).
            else if (m_juan4 != kNoSyllable && i > 0 && in(U"该此全首末", run[i - 1]) &&
                     r.standsAlone(i - 1) && (last || !in(U"起成好住了着回走曲进入", run[i + 1])))
                syl[i] = m_juan4;
            // Rolling something up, juǎn, before how it ends (卷成筒状, 卷起袖子; 二十卷成书, 这套卷好难 are
            // volumes and papers).
            if (m_juan3 != kNoSyllable && !last && in(U"起成住回进", run[i + 1]) && r.standsAlone(i + 1) &&
                !ctx.afterCount(i, U"几数每套份张"))
                syl[i] = m_juan3;
            break;
        case U'钻':
            // Boring through or creeping in, zuān: 钻了几个孔, 钻出地面, 钻透岩石, 钻穿岩层, 井钻至8408米,
            // 钻来钻去, 迅速钻回洞内, 钻到桌子底下, 蚯蚓在土中钻行 (这颗钻来自南非, 粉钻至今, 冲击钻至少,
            // 碎钻穿成手链 are diamonds and drills, 钻行业 their trade, 钻回收 their buying back).
            if (m_zuan1 != kNoSyllable && !last &&
                (in(U"了出进透过去", run[i + 1]) || (in(U"回入到行", run[i + 1]) && r.standsAlone(i + 1)) ||
                 (run[i + 1] == U'至' && (i + 2 == n ? r.after == PinyinBoundary::Digit
                                                     : isNumeral(run[i + 2]) || in(U"地井底", run[i + 2]))) ||
                 (i + 2 < n && run[i + 1] == U'穿' && in(U"岩石地层墙板冰", run[i + 2])) ||
                 (run[i + 1] == U'来' && i + 2 < n && run[i + 2] == U'钻')))
                syl[i] = m_zuan1;
            break;
        case U'差':
            // A difference, chā, named as such (两个数的差是十五, 所得的差为正数).
            // The aberrations of a lens, chā (像差, 彗差, 球差).
            if (m_cha1 != kNoSyllable &&
                ((i > 1 && run[i - 1] == U'的' && run[i - 2] != U'出' && !last && in(U"是为", run[i + 1])) ||
                 (i > 0 && in(U"像彗球", run[i - 1]) && r.standsAlone(i - 1))))
                syl[i] = m_cha1;
            break;
        case U'貉':
            // The raccoon dog, hé (貉是犬科动物); háo lives in 貉子 and 貉绒.
            if (m_he2 != kNoSyllable)
                syl[i] = m_he2;
            break;
        case U'铺':
            // A place, pù: after a number of li (三十里铺村, 五里铺战役, 十里铺是个小镇; 十里铺完,
            // 五里铺有沥青 pū), or a name before 村, 镇 or 乡 standing alone, or before 站 that ends the
            // clause or says where it is (马家铺村, 泉河铺乡有, 红花铺站是; 新铺村级公路, 重铺乡村道路,
            // 用沥青铺乡村公路, 连夜铺站前的通道 pave, pū).
            if (m_pu4 != kNoSyllable && i > 0 &&
                ((i >= 2 && run[i - 1] == U'里' && isNumeral(run[i - 2]) &&
                  (last || in(U"村镇乡站街路战位是", run[i + 1])) &&
                  !(i + 2 < n && run[i + 1] == U'是' && run[i + 2] == U'不')) ||
                 (!last && in(U"村镇乡", run[i + 1]) && run[i - 1] == U'家' &&
                  !(i + 2 < n && in(U"级口道路里上间民", run[i + 2]))) ||
                 (!last && r.standsAlone(i + 1) &&
                  ((in(U"村镇乡", run[i + 1]) &&
                    !(i + 2 < n && in(U"级口道路里上间民内前委政庄外一巷", run[i + 2]))) ||
                   (run[i + 1] == U'站' && (i + 2 == n || in(U"是位于在", run[i + 2])))) &&
                  !in(U"重新再已正要来去先都也还将会在给帮为把被统铺就才又便并需须应可能得人们着夜青板泥",
                      run[i - 1]))))
                syl[i] = m_pu4;
            // A shop or a post station named as such, pù (京都的老铺, 招牌上写本铺, 县境设铺十二处,
            // 每铺置铺司, 铺兵四名; 每铺一层 paves, 老铺在地上, 老铺张, 设铺位 are left alone).
            else if (m_pu4 != kNoSyllable &&
                     ((i > 0 && in(U"老本设每各", run[i - 1]) && r.standsAlone(i - 1) &&
                       (last || in(U"已有置设之和与是的配", run[i + 1]) ||
                        (run[i - 1] == U'设' && isNumeral(run[i + 1])))) ||
                      (!last && in(U"司兵户", run[i + 1]) && r.standsAlone(i + 1)) ||
                      // ...after what it sells (皮货铺一度多达百余家, 首饰铺里, 典当铺和钱庄; 把布铺在,
                      // 糯米铺一层, 晚饭铺一下床, 卸完货铺的油布 pave).
                      (i > 0 && in(U"货饰肉米饭酒茶烟杂钱当叶缎", run[i - 1]) && !r.standsAlone(i - 1) &&
                       (last || in(U"已有和与是里内中", run[i + 1]) ||
                        (i + 2 < n && run[i + 1] == U'一' && run[i + 2] == U'度')))))
                syl[i] = m_pu4;
            break;
        case U'幢':
            // Counting buildings, zhuàng (三幢楼, 购入数幢唐楼); the pillar of sutras is a word (经幢).
            if (m_zhuang4 != kNoSyllable && ctx.afterCount(i, U"几数每"))
                syl[i] = m_zhuang4;
            break;
        case U'杆':
            // Counting what has a shaft, gǎn, named before or after the count (两杆枪, 几杆大旗, 步枪十余杆);
            // strokes and rods stay gān (打了五杆, 两杆受力相同).
            if (m_gan3 != kNoSyllable && ctx.afterCount(i, U"几数每余") &&
                ((!last && in(U"枪旗笔秤烟", run[i + 1])) ||
                 (i + 2 < n && !r.wordStart[i + 2] && in(U"枪旗笔秤烟", run[i + 2])) ||
                 ctx.nearBefore(i, 6, U"枪旗笔秤")))
                syl[i] = m_gan3;
            break;
        case U'葛':
            // Before a given name or a place, after 老 or 小, the surname gě (葛兆光, 葛洲坝, 老葛花了三天);
            // before 属, 藤, 根, 布 and the like standing alone, the vine gé (蓬莱葛属, 葛藤; 葛根本不知道,
            // 葛布置 gě); 葛是…, 野葛在… are left to the model.
            if (m_ge2 != kNoSyllable && m_ge3 != kNoSyllable && !last) {
                if (i > 0 && in(U"老小", run[i - 1]))
                    syl[i] = m_ge3;
                else if ((run[i + 1] == U'属' || (in(U"科藤根粉布衣麻覃叶花蔓纤", run[i + 1]) &&
                                                  (i + 2 >= n || r.wordStart[i + 2]))))
                    syl[i] = m_ge2;
                else if (!in(U"是在的为和与及也都", run[i + 1]) && !(i > 0 && in(U"野山粉葛", run[i - 1])))
                    syl[i] = m_ge3;
            }
            break;
        case U'劲':
            // Of a wind ending the clause, strong, jìng (霜风劲，西风正劲。北风甚劲; 东风的劲 jìn).
            if (m_jing4 != kNoSyllable && last && i > 0 && !in(U"的股", run[i - 1]) &&
                ctx.nearBefore(i, 3, U"风"))
                syl[i] = m_jing4;
            break;
        case U'都':
            // A capital ending the clause in 以…为都, dū (以咸阳为都。; 你认为都？ dōu).
            // A capital named by its place before a mark that ends the clause, dū (以洛阳为东都。元顺帝北走
            // 上都。攻入大都，): the adverb leads what it sums up (a line that ends in 中都 may go on).
            // So is 大都 named in 以大都为首都.
            if (m_du1 != kNoSyllable && i > 0 &&
                ((last && i > 1 && run[i - 1] == U'为' && ctx.occursBefore(i - 1, U'以')) ||
                 (last && r.after == PinyinBoundary::Punctuation &&
                  in(U"东西南北中上大神陪旧故新两留国酆", run[i - 1]) &&
                  (r.standsAlone(i - 1) ||
                   (run[i - 1] == U'大' && r.wordStart[i - 1] && r.end[i - 1] == i + 1))) ||
                 (!last && run[i + 1] == U'为' && run[i - 1] == U'大' && ctx.aloneBefore(i - 1, U'以')) ||
                 // A city's nickname closing its quotation marks (素有“瓷都”之称, 有“中华药都”之称; “我们
                 // 都” sums up).
                 (last && r.closedBy == U'”' && !in(U"们家人也还就全些", run[i - 1])) ||
                 // An old state's capital before its name (攻破楚都郢城, 魏军围攻赵都邯郸, 在宋都商丘
                 // 订立盟约; 秦都是 sums up).
                 (!last && i > 0 && in(U"楚赵齐秦燕韩魏鲁宋卫郑吴越晋", run[i - 1]) && r.standsAlone(i - 1) &&
                  i + 2 < n && ctx.nearBefore(i - 1, 4, U"攻围破在于入迁定建") &&
                  !in(U"是有在不没要会能可已很也还被将把曾为由对以从和与及给让叫使得十一", run[i + 1]))))
                syl[i] = m_du1;
            break;
        case U'呛':
            // Smoke and smells sting, qiàng (浓烟呛得睁不开眼, 辣味呛人); water and food choke, qiāng,
            // whatever smoke was about (烟雾里他被一口饭呛得直咳嗽).
            if (m_qiang4 != kNoSyllable && (last || in(U"得人鼻眼晕醒", run[i + 1])) &&
                ctx.nearBefore(i, 10, U"烟味辣椒雾硫熏臭毒尘") &&
                !ctx.nearBefore(i, 10, U"水汤饭奶喝吃粥茶酒"))
                syl[i] = m_qiang4;
            break;
        case U'樘':
            // Counting doors and windows, táng (入户门九十六樘, 每樘).
            if (m_tang2 != kNoSyllable && ctx.afterCount(i, U"几数每余"))
                syl[i] = m_tang2;
            break;
        case U'弄':
            // A lane counted in 条, lòng (三条弄。这条弄内; 这条弄不好, 把这条弄干净 nòng).
            if (m_long4 != kNoSyllable && i > 0 && run[i - 1] == U'条' &&
                (last || in(U"内口里中堂东西南北尾", run[i + 1])))
                syl[i] = m_long4;
            // Done at home, by an expert, by others, nòng (回家弄, 交给专家弄, 在家弄饭, 人家弄的): 家 ends
            // a word of its own there, not a family's name.
            else if (m_nong4 != kNoSyllable && i > 1 && run[i - 1] == U'家' &&
                     in(U"回在到离搬住全我你他她谁这那哪各每人大专自国作画管老娘婆东行商"
                        U"农渔亲冤当成安持出本店船庄买卖玩赢输酒",
                        run[i - 2]))
                syl[i] = m_nong4;
            // A lane named after a family, lòng, before the next name or the clause's end
            // (陈家宅、王家弄和张家桥).
            else if (m_long4 != kNoSyllable && i > 1 && run[i - 1] == U'家' && !r.wordStart[i - 1] &&
                     (last || in(U"和与及、口内", run[i + 1])))
                syl[i] = m_long4;
            // Doing, nòng, before what comes of it (这么弄好的, 免得弄混, 弄坏了, 弄丢了, 弄饭), where the
            // lanes' model read lòng.
            else if (m_nong4 != kNoSyllable && syl[i] != m_nong4 && !last &&
                     in(U"好混坏丢脏乱错明清懂得了着出到成完湿干破断伤醒来去回坏个点些饭菜钱", run[i + 1]))
                syl[i] = m_nong4;
            break;
        case U'将':
            // The general one is made, jiàng, ending the clause after 为 (以卫青为将，拜为将。).
            if (m_jiang4 != kNoSyllable && last && i > 0 && run[i - 1] == U'为')
                syl[i] = m_jiang4;
            // A general of a state or a dynasty before his name, jiàng (宋将葛怀敏, 被辽将耶律休哥击败;
            // 宋将出兵 and 老赵将王经理送到 stay "will").
            else if (m_jiang4 != kNoSyllable && i > 0 && !last &&
                     in(U"宋辽金元明清唐汉秦楚齐燕赵魏韩吴蜀晋隋周夏", run[i - 1]) && r.standsAlone(i - 1) &&
                     !(i > 1 && in(U"老小阿", run[i - 2])) && isName(ctx.wordAtStart(i + 1)))
                syl[i] = m_jiang4;
            break;
        case U'杈':
            // A fork of a tree or an antler, chà, after 的, 树, 枝, 大 or 小 or before 上 or 间 (树的杈上,
            // 角上的杈, 一根大杈); the pitchfork, chā, elsewhere (用杈挑麦秸, 木杈).
            if (m_cha4 != kNoSyllable &&
                ((i > 0 && in(U"的树枝大小", run[i - 1])) || (!last && in(U"上间", run[i + 1]))))
                syl[i] = m_cha4;
            break;
        case U'撮': {
            // A tuft of hair counted, zuǒ (一撮白发, 一撮胡子, 一撮长鬓角); a pinch of anything else is
            // cuō (一撮盐, 一撮胡椒, 一撮毛线, 一撮发菜).
            std::size_t p = i + 1;
            if (p < n && !in(U"发毛须鬓胡", run[p]))
                ++p;
            const bool hair =
                p < n &&
                ((in(U"发毛须鬓", run[p]) && !(p + 1 < n && in(U"菜酵线豆尖笔根椒丝酸面", run[p + 1]))) ||
                 (run[p] == U'胡' && p + 1 < n && in(U"子须", run[p + 1])));
            if (m_zuo3 != kNoSyllable && ctx.afterCount(i, U"几数每") && hair)
                syl[i] = m_zuo3;
            break;
        }
        case U'哩':
            // Ending a clause after a word, the particle li (还早着哩, 做哩！); after a number, 英 or
            // 多, 几, 来 that count, miles (三百哩, 79英哩, 一百多哩, 好几哩).
            if (m_li5 != kNoSyllable && last && i > 0 && !in(U"哩英海多来几半每余", run[i - 1]) &&
                !std::any_of(run.begin() + (i > 3 ? i - 3 : 0), run.begin() + i, isNumeral))
                syl[i] = m_li5;
            break;
        case U'厦':
            // Xiamen's xià, named beside its neighbours or as a place one goes to (厦航, 泉、厦、漳,
            // 福建厦岛, 在厦举行, 简称厦); a building is shà (将倾之厦, 这座厦, 新厦落成).
            if (m_xia4 != kNoSyllable && ((i > 0 && in(U"、泉漳京在从至到赴回返抵离称", run[i - 1])) ||
                                          (!last && in(U"航港禾鼓岛漳金门、", run[i + 1]))))
                syl[i] = m_xia4;
            break;
        case U'教': {
            // Teaching someone, jiāo, before the one taught (教村里的青年识字, 教农民种稻, 教观众做菜; 受教,
            // 就教 and 身教 are jiào).
            static constexpr std::u32string_view kTaught[] = {U"农民", U"观众", U"学生", U"孩子", U"青年",
                                                              U"村民", U"老人", U"妇女", U"儿童", U"大家",
                                                              U"人们", U"村里", U"徒弟", U"弟子"};
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            if (m_jiao1 != kNoSyllable && !(i > 0 && in(U"受就失身", run[i - 1])) &&
                std::any_of(std::begin(kTaught), std::end(kTaught),
                            [&](std::u32string_view w) { return rest.starts_with(w); }))
                syl[i] = m_jiao1;
            break;
        }
        case U'啦':
            // Ending a clause or said twice, the particle la (我们赢啦！开饭啦, 好啦好啦): the labels' lā is
            // of cheers and names (啦啦队, 哆啦A梦, 巴啦啦).
            if (m_la5 != kNoSyllable && i > 0 && !in(U"啦哆哩巴啪哗呼噼嘀叭拉", run[i - 1]) &&
                (last || run[i + 1] == run[i - 1]))
                syl[i] = m_la5;
            break;
        case U'陆': {
            // The six of amounts written in capitals, liù, beside another capital numeral or unit, or
            // before 万, 亿, 元, 圆 or 角 where a capital or 整 follows in the run (人民币陆万元整,
            // 陆拾陆元, 壹佰陆; 大陆, 着陆, 陆万里 lù).
            static constexpr std::u32string_view kCapitals = U"零壹贰叁肆伍陆柒捌玖拾佰仟";
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            if (m_liu4 != kNoSyllable &&
                ((i > 0 && in(kCapitals, run[i - 1])) || (!last && in(kCapitals, run[i + 1])) ||
                 (!last && in(U"万亿元圆角", run[i + 1]) &&
                  (rest.find_first_of(kCapitals) != std::u32string_view::npos ||
                   rest.find(U'整') != std::u32string_view::npos))))
                syl[i] = m_liu4;
            break;
        }
        case U'衰':
            // Waning, shuāi (由盛转衰, 阴盛阳衰, 天连衰草); cuī is of mourning dress and rank (齐衰, 斩衰,
            // 等衰) and of 赵衰.
            if (m_shuai1 != kNoSyllable && !(i > 0 && in(U"赵齐斩等", run[i - 1])) &&
                !(!last && in(U"绖麻服", run[i + 1])))
                syl[i] = m_shuai1;
            break;
        case U'靡':
            // The classical "no, none", mǐ, before what there is none of (靡室靡家, 靡日不思, 靡不有初); the
            // names of Wusun's kings (泥靡, 翁归靡) and 奢靡 keep mí.
            if (m_mi3 != kNoSyllable && !last && in(U"室家日不有然常所他遗", run[i + 1]))
                syl[i] = m_mi3;
            break;
        case U'垛':
            // A stack, duò, of straw, grain or firewood, and stacking (麦垛, 柴火垛, 码垛, 垛着柴火,
            // 兴化垛田); the battlement keeps duǒ (城垛, 门垛).
            if (m_duo4 != kNoSyllable && ((i > 0 && in(U"麦草柴粮秸稻谷棉煤码堆千", run[i - 1])) ||
                                          (!last && in(U"着起成田好", run[i + 1]) && r.standsAlone(i + 1))))
                syl[i] = m_duo4;
            break;
        case U'扒':
            // Pulling down or off, clinging, bā (把城门楼扒掉, 扒开, 扒乘货车, 扒着窗台); pá is of thieves
            // and of braising (扒手, 扒海参).
            if (m_ba1 != kNoSyllable && !last && in(U"掉开乘光住着下", run[i + 1]))
                syl[i] = m_ba1;
            break;
        case U'相':
            // A chancellor, xiàng, after what praises or ranks him (北宋名相寇准, 一代贤相, 首相); not
            // "each other" before its verb (登录名相联系).
            if (m_xiang4 != kNoSyllable && i > 0 && in(U"名贤良宰首", run[i - 1]) && r.standsAlone(i - 1) &&
                (last || !in(kMutual, run[i + 1])))
                syl[i] = m_xiang4;
            // "Each other", xiāng, before a verb of two characters or more that one does with another
            // (与标准输出相关联, 登录名相联系, 相对于当前目录, 与之相平行, 二人常相辩论).
            else if (m_xiang1 != kNoSyllable && !last && r.standsAlone(i) &&
                     (in(U"平区溶辩争", run[i + 1]) || in(kMutual, run[i + 1])) &&
                     ctx.wordAtStart(i + 1).size() >= 2)
                syl[i] = m_xiang1;
            break;
        case U'塞':
            // The frontier, sài, entered, left or counted (军入塞, 天下九塞, 紫塞); stopping up is sāi.
            if (m_sai4 != kNoSyllable && i > 0 && in(U"入九紫", run[i - 1]) && r.standsAlone(i - 1) &&
                (last || !in(U"了着进满住上下好", run[i + 1])))
                syl[i] = m_sai4;
            break;
        case U'坊':
            // A workshop, fáng, after what it makes (豆腐坊, 糟坊, 油坊, 粉坊); streets and arches keep fāng.
            if (m_fang2 != kNoSyllable && i > 0 && in(U"腐糟油粉酱醋染磨织纸", run[i - 1]))
                syl[i] = m_fang2;
            break;
        case U'干':
            // Dried food, gān, after what was dried (桂圆干, 奶干, 萝卜干, 葡萄干, 草莓干, 柿子干;
            // 鱿鱼干和虾干, 连城地瓜干、宁化 老鼠干); doing keeps gàn.
            if (m_gan1 != kNoSyllable && i > 0) {
                const bool food = (in(U"圆奶卜萄笋菜果枣柿虾鱼肉饼姜莓", run[i - 1]) ||
                                   (i > 1 && run[i - 1] == U'子' && in(U"柿杏李橘桃梨", run[i - 2]))) &&
                                  !r.standsAlone(i - 1);
                if ((food && (last || !in(U"了着过活完得部事到出起", run[i + 1]))) ||
                    (in(U"虾鱼肉菜笋瓜鼠果枣柿薯莓", run[i - 1]) &&
                     (last || in(U"、和与及的等", run[i + 1]))))
                    syl[i] = m_gan1;
            }
            break;
        case U'涌':
            // A creek of the Pearl River delta, chōng, named before where it rises or runs
            // (沙河涌发源于白云山, 荔枝湾涌曾被加盖, 西涌海滩, 凤安涌两岸); water, crowds and feelings
            // surging keep yǒng.
            if (m_chong1 != kNoSyllable && i > 0 && !in(U"潮泉水浪血泪汗人风云波情思喷奔翻", run[i - 1]) &&
                (oneOf(ctx.wordAtStart(i + 1), {U"发源", U"位于", U"两岸", U"沿岸", U"海滩", U"流域", U"河口",
                                                U"曾经", U"全长", U"河道"}) ||
                 (!last && in(U"曾河村镇桥", run[i + 1]) && r.standsAlone(i + 1))))
                syl[i] = m_chong1;
            break;
        case U'槛':
            // A cage or a railing, jiàn: a prisoner's cart and sending in one (槛车, 槛送京师), railings
            // broken or leant on (朱云折槛, 凭槛观鱼, 攀折殿槛), beasts caged (兽槛); 门槛 is kǎn.
            if (m_jian4 != kNoSyllable && ((!last && in(U"送车泉", run[i + 1]) && r.standsAlone(i + 1)) ||
                                           (i > 0 && in(U"折凭殿兽栏攀拂", run[i - 1]))))
                syl[i] = m_jian4;
            break;
        default:
            break;
        }
    }
}

} // namespace core
