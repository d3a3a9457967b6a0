#include "pinyin_reading.h"
#include "pinyin_rules.h"
#include "pinyin_rules_run.h"

#include <algorithm>
#include <array>
#include <string_view>

// The rules that read a polyphone by the words around it or the word it closes, whether or not
// it stands alone: 得 before its object, surnames before a title, 调到, 地 after an adverbial,
// 长 before a length, 卷, 将; then one pass by character (将门, 幢幢, 引得, 只, 降, 角, 得, 场,
// 着了, 为由); then 见长, 大夫, 分子, 传, 有多重, 一行 and 着 after a verb of holding.

namespace core {

using namespace rules;

namespace {

// What the adverb 只 leads where a count would fit before it too (三千万只是开始, 一千只够买一半,
// 他来只看了一眼): after these, 只 is "only", not a measure.
constexpr std::u32string_view kOnlyLeads =
    U"是能有因够买要好会在上说得剩用为需可差不花占考看做卖限怕收送比退换租借";

} // namespace

void PinyinGrammarRules::readMustBeforeItsObject(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // "Must" is never followed by 的 or 了 alone: 得了 there is to win or catch, dé (今天得了冠军,
    // 他得的是胃炎), as 得过 is before a count (至少得过两次冠军).
    if ((ctx.has & kTrDe) && m_dei3 != kNoSyllable && m_de2 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (syl[i] == m_dei3 && (run[i + 1] == U'的' || (run[i + 1] == U'了' && r.standsAlone(i + 1)) ||
                                     (i + 2 < n && run[i + 1] == U'过' && isNumeral(run[i + 2]))))
                syl[i] = m_de2;
}

void PinyinGrammarRules::readSurnamesAndWords(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // A surname before a title reads as the surname (单经理 Shàn, 解主任 Xiè, 区先生 Ōu, 仇经理 Qiú,
    // 缪老师 Miào, 查老师 Zhā, 朴先生 Piáo, 纪老师 Jǐ, 华老师 Huà); those that are verbs or words of
    // their own only where no verb leads them (查会计账目, 请查老师的资料, 接单师傅, 在华律师).
    for (std::size_t i = 0; (ctx.has & kTrSurname) && i + 2 < n; ++i) {
        const auto surname = kSurnames.substr(0, kSurnamesBeforeTitles).find(run[i]);
        if (surname == std::u32string_view::npos || !r.standsAlone(i) || !r.wordStart[i + 1] ||
            m_surnames[surname] == kNoSyllable)
            continue;
        static constexpr std::u32string_view kTitles[] = {
            U"经理", U"主任",   U"老师", U"先生", U"女士", U"小姐",   U"局长", U"处长", U"科长",
            U"部长", U"书记",   U"校长", U"院长", U"所长", U"厂长",   U"教授", U"医生", U"大夫",
            U"律师", U"师傅",   U"同学", U"阿姨", U"总监", U"主管",   U"会计", U"秘书", U"警官",
            U"队长", U"班长",   U"组长", U"市长", U"县长", U"董事长", U"某",   U"老板", U"大妈",
            U"大爷", U"老太太", U"大哥", U"大姐", U"大娘"};
        const std::u32string_view next(run.data() + i + 1, r.end[i + 1] - (i + 1));
        if (std::find(std::begin(kTitles), std::end(kTitles), next) == std::end(kTitles))
            continue;
        // 查, 解 and 区 only after a word that leads a person (区经理 at a run's start is an area's);
        // 单 and 华 not after the verbs they follow as words of their own (接单, 在华).
        static constexpr std::u32string_view kLeads = U"和跟与同向找对是给让叫问由被及、";
        if (in(U"查解区", run[i]) ? (i == 0 ? run[i] != U'解' : !in(kLeads, run[i - 1]))
                                  : i > 0 && in(run[i] == U'单'   ? U"接派抢开订买账菜名清传"
                                                : run[i] == U'华' ? U"在援访来驻"
                                                                  : U"",
                                                run[i - 1]))
            continue;
        syl[i] = m_surnames[surname];
    }
    // A line that opens with a name of two or three characters before （ or ， is a biography's or
    // a list's (曾宪梓（1934年－2019年）, 解振华（1949年－）, 仇士良（781年－843年）, 任航，): its first
    // character is the surname. Not where what follows it is a word of its own before ， (查资料，,
    // 解方程，), nor where it leads a verb or a pronoun or ends a nickname (曾说，, 任你选，, 曾记否，,
    // 华仔，), nor where its first two characters are a word the segmentation passed over, nor before
    // 后, 时... (单击后，), nor a place (华来镇，).
    if ((ctx.has & kTrSurname) && r.before == PinyinBoundary::Edge && (n == 2 || n == 3) &&
        r.standsAlone(0) &&
        (r.closedBy == U'（' || r.closedBy == U'(' || (r.closedBy == U'，' && !(n == 3 && r.end[1] == 3)))) {
        const auto k = kSurnames.find(run[0]);
        static constexpr std::u32string_view kNotOfNames =
            U"一了过在是有不没他她它你我们这那个着的被把将说看到于以为和与及也都就又再已经从自向对"
            U"等其此之所后前时中上下内外间记否仔";
        if (k != std::u32string_view::npos && m_surnames[k] != kNoSyllable && !in(kNotOfNames, run[1]) &&
            !in(kNotOfNames, run[n - 1]) && !in(U"镇乡村县市区省州街路山河湖岛港湾站寺庙", run[n - 1]) &&
            !wordAt(run.first(2)))
            syl[0] = m_surnames[k];
    }
    // 调到 after 把 and before a number or 最 sets a dial, tiáo (把空调调到二十六度, 把闹钟调到
    // 7点), alone or as the word, which reads the transfer, diào (他被调到北京, 把他调到销售部).
    if ((ctx.has & kTrTiao) && m_tiao2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i)
            if (run[i] == U'调' && run[i + 1] == U'到' && r.wordStart[i] && r.end[i] <= i + 2 &&
                (isNumeral(run[i + 2]) || run[i + 2] == U'最') && ctx.occursBefore(i, U'把'))
                syl[i] = m_tiao2;
    // 调 before how strong, bright, loud or fast a thing is set is adjusting, tiáo (把信号调强一点, 把灯
    // 调亮些, 调慢节奏), alone or as the word of the two; the transfer keeps diào where the next word
    // goes on (调小组, 调高层).
    if ((ctx.has & kTrTiao) && m_tiao2 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (run[i] == U'调' && syl[i] != m_tiao2 &&
                in(U"强弱亮暗大小高低快慢松紧粗细深浅冷热宽窄", run[i + 1]) && r.wordStart[i] &&
                (r.end[i] == i + 2 || (r.end[i] == i + 1 && r.wordStart[i + 1] && r.end[i + 1] == i + 2)))
                syl[i] = m_tiao2;
    // 地 after an adverbial the dictionary reads with it (高兴地, 认真地, 勇敢地) is the particle
    // before a verb, where the segmentation took 地 into a noun whose second character starts the
    // verb (高兴地点了点头, 认真地区分, 勇敢地面对, 小心地上前): that character with the one after it
    // is a word, or 点 nods (点了点头). Nouns after adjectives keep dì (重要地位, 贫困地区分布).
    if ((ctx.has & kTrDi) && m_de5 != kNoSyllable)
        for (std::size_t i = 2; i + 2 < n; ++i) {
            if (run[i] != U'地' || !r.wordStart[i] || r.end[i] != i + 2)
                continue;
            std::size_t s = i - 1;
            while (s > 0 && !r.wordStart[s])
                --s;
            if (i - s < 2)
                continue;
            const std::uint32_t adverbial = wordAt(run.subspan(s, i + 1 - s));
            if (!adverbial || m_data.slot(adverbial).reading == kNoWordReading ||
                m_data.readingAt(m_data.slot(adverbial).reading + (i - s)) != m_de5)
                continue;
            // Not where the segmentation took the verb's last character into a word of its own
            // (贫困地区分布; 积极地面对生活 is 对 alone).
            const std::uint32_t verb = r.end[i + 2] > i + 3 ? 0 : wordAt(run.subspan(i + 1, 2));
            // A verb parted by 了 (认真地道了歉, 深深地鞠了躬).
            const std::array<char32_t, 2> parted{run[i + 1], i + 3 < n ? run[i + 3] : U'\0'};
            const bool nods =
                run[i + 1] == U'点' &&
                (run[i + 2] == U'头' || (i + 3 < n && in(U"了点", run[i + 2]) && in(U"点头", run[i + 3])));
            if (verb || nods || (run[i + 2] == U'了' && i + 3 < n && wordAt(parted))) {
                syl[i] = m_de5;
                syl[i + 1] = verb && m_data.slot(verb).reading != kNoWordReading
                                 ? m_data.readingAt(m_data.slot(verb).reading)
                                 : m_data.syllableOf(run[i + 1]);
            }
        }
    // 长 closing a word before a length is long, cháng (这条河长三百公里, where 河长 is the river's
    // chief; 该船长约三百米, 镜厅长约73米, with 约, 近, 达, 逾, 可达 or 超过 before the number), but
    // not the chief of an office nor growth (班长一米八五, 一年生长两米, 船长约四十岁).
    if ((ctx.has & kTrChang) && m_chang2 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i) {
            if (run[i] != U'长' || !r.wordEnd[i] || r.standsAlone(i) || in(kOffices, run[i - 1]) ||
                in(U"年月天周生成增延助擅见特专", run[i - 1]))
                continue;
            std::size_t k = i + 1; // where the number starts
            if (in(U"约近达逾", run[k]))
                k += 1;
            else if (k + 1 < n &&
                     ((run[k] == U'可' && run[k + 1] == U'达') || (run[k] == U'超' && run[k + 1] == U'过')))
                k += 2;
            // After 约 and the like the number may be digits, which end the run (镜厅长约73米).
            const bool digits = k == n && k > i + 1 && r.after == PinyinBoundary::Digit;
            if ((k < n && isNumeral(run[k]) && ctx.nearAfter(k + 1, 4, U"米尺寸里码丈")) || digits)
                syl[i] = m_chang2;
        }
    // 长 of 成长 after a verb of shaping and before a strip or a block is long, cháng (切成长条,
    // 卷成长条, 揉成长块); 成长条件 grows.
    if ((ctx.has & kTrChang) && m_chang2 != kNoSyllable)
        for (std::size_t i = 2; i + 1 < n; ++i)
            if (run[i] == U'长' && run[i - 1] == U'成' && in(U"切卷排拉剪做搓揉织折裁编摆捏擀", run[i - 2]) &&
                in(U"条方块串", run[i + 1]))
                syl[i] = m_chang2;
    // 卷 after a number is a volume, juàn, in whatever word (第三卷, 共六十五卷, 三卷本, 《畸庵草》一卷。),
    // where no roll of paper, film or tape follows (十卷卫生纸, 一卷胶片; 三卷纸张泛黄 are volumes) and it
    // does not curl or roll up (一卷曲的毛发, 一卷起来).
    if ((ctx.has & kTrJuan) && m_juan4 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i) {
            if (run[i] != U'卷' || !isNumeral(run[i - 1]))
                continue;
            std::size_t k = i - 1;
            while (k > 0 && isNumeral(run[k - 1]))
                --k;
            const bool ordinal = k > 0 && run[k - 1] == U'第';
            const bool rolls = ctx.nearAfter(i + 1, 3, U"纸胶布线绳钢带膜") &&
                               !(i + 2 < n && run[i + 1] == U'纸' && in(U"质张本墨盒面页品箱", run[i + 2]));
            const bool counted = !rolls && !(i + 1 < n && in(U"曲起成住回进好", run[i + 1]));
            if (ordinal || counted)
                syl[i] = m_juan4;
        }
    // 将 closing a general's word (蜀将, 敌将) before 其 leads what is done to, jiāng (秦将其击败);
    // before a name it stays the general (蜀将魏延), and so before 之 (名将之后, 主将之一). 上将 is
    // mostly 上 closing a place and the future (屏幕上将显示, 在这个问题上将有所突破, 在新的岗位上将
    // 继续, 在此基础上将与各方合作), as the dictionaries read it, but a rank opening the clause,
    // after a service, a grade, a country or one counted, before 军衔, ending the clause, and
    // before 的 or 和 where no 在 comes first (海军上将, 一级上将, 美国上将, 两名上将, 授予上将军衔,
    // 晋升为上将。, 上将和中将). 中将 is read so too, the future where it is no rank (虫洞中将昆虫钩出,
    // 在比赛中将对手击败; 海军中将, 授予中将军衔).
    if ((ctx.has & kTrJiang) && m_jiang1 != kNoSyllable && m_jiang4 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i) {
            if (run[i] != U'将' || !r.wordEnd[i])
                continue;
            if (in(U"上中", run[i - 1]) && r.wordStart[i - 1]) {
                // (Not after a title or a quotation it closes: 《本草纲目》中将茶列入果部.)
                const bool rankBefore =
                    (i == 1 &&
                     (r.before == PinyinBoundary::Edge || r.before == PinyinBoundary::Punctuation) &&
                     !r.startsAfterClose && !(i + 1 < n && in(U"它其之这那此该所", run[i + 1]))) ||
                    (i > 1 &&
                     (in(U"军级国老", run[i - 2]) ||
                      (in(U"名位", run[i - 2]) && !(i > 2 && in(U"岗职单地座部方学排", run[i - 3])))));
                const bool rankAfter = i + 1 == n || in(U"军衔", run[i + 1]) ||
                                       (in(U"的和与", run[i + 1]) && !ctx.occursBefore(i - 1, U'在'));
                if (rankBefore || rankAfter)
                    syl[i] = m_jiang4;
                else if (run[i - 1] == U'中')
                    syl[i] = m_jiang1;
            } else if (i + 1 < n && run[i + 1] == U'其' && r.end[i + 1] == i + 2)
                syl[i] = m_jiang1;
            // ...and before what it names as another thing, jiāng, where nothing is done to the general
            // (据此庙名将澳门称为, 当地人名将此山视为圣山; 这位名将被誉为 stays).
            else if (const std::u32string_view rest(run.data() + i + 1, n - i - 1);
                     rest.size() >= 3 && rest.find(U'被') == std::u32string_view::npos &&
                     holdsOneOf(std::initializer_list<std::u32string_view>{U"称为", U"视为", U"命名为",
                                                                           U"改称", U"列为", U"定为", U"译为",
                                                                           U"改为"},
                                rest.substr(0, 10)))
                syl[i] = m_jiang1;
        }
    // Polyphones read by the words and characters around them, in one pass over the run.
    for (std::size_t i = 0; (ctx.has & kTrWords) && i < n; ++i) {
        if (!(triggersOf(run[i]) & kTrWords))
            continue;
        const bool last = i + 1 == n;
        switch (run[i]) {
        case U'将':
            // 将门 before what is done to a door is "the door", jiāng mén (请你将门关上, 他将门推开); the
            // general's house keeps jiàng (出身将门, 将门出虎子, 凭着将门关系, 将门开枝散叶).
            if (m_jiang1 != kNoSyllable && i + 2 < n && run[i + 1] == U'门' && r.wordStart[i] &&
                r.end[i] == i + 2 &&
                oneOf(ctx.wordAtStart(i + 2),
                      {U"关",   U"关上", U"关好", U"关紧", U"关掉", U"打开", U"推开", U"推",   U"锁上",
                       U"锁好", U"锁",   U"拉开", U"拉上", U"带上", U"掩上", U"堵上", U"堵住", U"封上",
                       U"封住", U"撞开", U"踢开", U"砸开", U"敲开", U"反锁", U"敞开"}))
                syl[i] = m_jiang1;
            // A general of a dynasty or state before his name, jiàng (明将袁崇焕, 吴将陆抗, 宋将岳飞, 魏将
            // 庞涓, 楚将项燕); not a person called so (老赵将王经理送到机场), nor before 于 (韩将于下周举行
            // 大选), nor where 的 follows the name (秦将项燕的旧部收编: 将 takes what is done to).
            else if (m_jiang4 != kNoSyllable && i > 0 && !last && r.standsAlone(i) && r.standsAlone(i - 1) &&
                     in(U"秦楚齐燕赵韩魏蜀吴晋隋唐宋元明清金辽汉夏周", run[i - 1]) &&
                     !(i > 1 && in(U"老小大阿姓", run[i - 2])) &&
                     in(U"袁陆李张王刘陈杨黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩唐冯董萧程曹邓许傅沈曾彭吕苏卢"
                        U"蒋蔡贾丁魏薛叶阎余潘杜戴夏钟汪田任姜范方石姚谭廖邹熊金郝孔白崔康毛邱秦江史顾侯邵孟"
                        U"龙"
                        U"段雷钱汤尹黎易常武乔贺赖龚文关岳乐耿祖甘羊庞项廉",
                        run[i + 1]) &&
                     !(i + 2 < n &&
                       std::u32string_view(run.data() + i + 2, std::min<std::size_t>(3, n - i - 2))
                               .find(U'的') != std::u32string_view::npos) &&
                     !startsAsOneOf(std::u32string_view(run.data() + i + 1, n - i - 1),
                                    {U"王位", U"王国", U"王朝", U"金银", U"白菜", U"石头", U"马匹", U"项目",
                                     U"项链", U"廉州", U"廉价", U"廉洁", U"庞大"}))
                syl[i] = m_jiang4;
            break;
        case U'重': {
            // 受 standing alone a little before: the one whose trust it is follows (受正祖重用; 受潮后不能
            // 重用 is a thing used again).
            const auto received = [&](std::size_t k) {
                for (std::size_t j = k > 6 ? k - 6 : 0; j < k; ++j)
                    if (run[j] == U'受' && r.standsAlone(j) &&
                        !in(U"潮损伤热冷压污限冻阻挫灾苦累害骗", run[j + 1]))
                        return true;
                return false;
            };
            static constexpr std::u32string_view kOfficials[] = {U"大臣", U"将领", U"文臣", U"武将",
                                                                 U"贤臣", U"名将", U"谋士", U"儒生",
                                                                 U"士人", U"官员", U"降将", U"旧臣"};
            // 重用 is trusting someone with high office, zhòng, after one who receives it or before
            // whom (受到重用, 受正祖重用, 不获重用, 重用亲信); a thing used again keeps chóng (可以被重用为
            // 输入, 代码重用, 考虑到重用性, 在新车型上得到重用).
            if (m_zhong4 != kNoSyllable && i + 1 < n && run[i + 1] == U'用' && r.wordStart[i] &&
                r.end[i] == i + 2 &&
                ((i > 0 && in(U"受获", run[i - 1])) || ctx.wordBefore(i) == U"受到" || received(i) ||
                 // ...after a ruler who trusts (汉武帝重用, 秦穆公重用百里奚), or one's trust closing the
                 // clause after 的 or 不被 (得到了皇帝的重用, 不被重用).
                 (i > 0 && in(U"帝王公宗祖", run[i - 1]) && !r.standsAlone(i - 1)) ||
                 (i + 2 == n && i > 0 && run[i - 1] == U'的' && ctx.nearBefore(i, 8, U"得获受")) ||
                 (i > 1 && run[i - 2] == U'不' && run[i - 1] == U'被') ||
                 // ...before or after one named (即位后重用李德裕, 苻坚重用汉人王猛), or after 深受 or
                 // 颇受 (深受武则天重用).
                 isName(ctx.wordAtStart(i + 2)) || (i > 1 && isName(ctx.wordBefore(i))) ||
                 holdsOneOf(
                     std::initializer_list<std::u32string_view>{U"深受", U"颇受", U"备受", U"甚受", U"深得"},
                     std::u32string_view(run.data() + (i > 8 ? i - 8 : 0), std::min<std::size_t>(i, 8))) ||
                 oneOf(ctx.wordAtStart(i + 2),
                       {U"亲信", U"人才", U"贤才", U"贤能", U"外戚", U"宦官", U"小人"}) ||
                 // ...or before those trusted, named a little later (重用魏征等大臣, 重用汉族将领).
                 holdsOneOf(kOfficials,
                            std::u32string_view(run.data() + i + 2, std::min<std::size_t>(8, n - i - 2)))))
                syl[i] = m_zhong4;
            // 重达 before how much is weighing, zhòng (重达数百斤, 重达455公斤; 重达标准, 重达巅峰 reach
            // again).
            else if (m_zhong4 != kNoSyllable && i + 1 < n && run[i + 1] == U'达' &&
                     ((r.wordStart[i] && r.end[i] == i + 2) || (r.standsAlone(i) && r.standsAlone(i + 1))) &&
                     (i + 2 == n ? r.after == PinyinBoundary::Digit
                                 : isNumeral(run[i + 2]) || in(U"数几近约逾上", run[i + 2])))
                syl[i] = m_zhong4;
            break;
        }
        case U'少':
            // 少时 of someone's youth, shào, after him or before what his youth was (范仲淹少时家贫, 陈涉
            // 少时尝与人佣耕, 他少时); when there is little of something, or a moment, it stays shǎo (用电
            // 少时电价也便宜, 人少时好办事, 车少时从这条路走, 较少时, 酒菜少时即到, 坐了少时).
            if (m_shao4 != kNoSyllable && i > 0 && i + 2 < n && run[i + 1] == U'时' &&
                ((r.wordStart[i] && r.end[i] == i + 2) || (r.standsAlone(i) && r.standsAlone(i + 1))) &&
                !in(U"较很减減缺稀太最多过過甚极極至不更越", run[i - 1]) &&
                (in(U"他她其吾余我", run[i - 1]) ||
                 startsAsOneOf(std::u32string_view(run.data() + i + 2, n - i - 2),
                               {U"家贫", U"孤贫", U"孤苦", U"好学", U"聪颖", U"聪慧", U"颖悟", U"丧父",
                                U"丧母", U"失怙", U"随父", U"随母", U"从师", U"习武", U"尝", U"曾", U"即有",
                                U"好读", U"喜读"})))
                syl[i] = m_shao4;
            break;
        case U'盛':
            // 盛放 after what it is used for holds things, chéng (可用于盛放试剂, 用来盛放供品); flowers
            // in bloom keep shèng (鲜花盛放).
            if (m_cheng2 != kNoSyllable && i + 1 < n && run[i + 1] == U'放' && r.wordStart[i] &&
                r.end[i] == i + 2 &&
                oneOf(ctx.wordBefore(i), {U"用于", U"用来", U"用以", U"可", U"可以", U"来", U"以", U"于"}))
                syl[i] = m_cheng2;
            break;
        case U'朝':
            // 朝阳 naming a place, cháo, before what kind of place (朝阳区, 朝阳川镇, 朝阳社区, 朝阳门); the
            // morning sun keeps zhāo (一轮朝阳).
            if (m_chao2 != kNoSyllable && i + 2 < n && run[i + 1] == U'阳' && r.wordStart[i] &&
                r.end[i] == i + 2 && in(U"区市县镇乡村路街门川社公寺站里沟", run[i + 2]))
                syl[i] = m_chao2;
            break;
        case U'率':
            // A year's date or a name before 率 and troops is not 年率 or 利率, a rate (于1219年率军西征,
            // 1661年率军渡海, 李广利率军远征).
            if (m_shuai4 != kNoSyllable && i > 0 && in(U"年利", run[i - 1]) && r.wordStart[i - 1] &&
                r.end[i - 1] == i + 1 && !last && in(U"军兵部师众舰", run[i + 1]) &&
                (r.standsAlone(i + 1) ||
                 oneOf(ctx.wordAtStart(i + 1), {U"部队", U"军队", U"大军", U"部众", U"舰队"})))
                syl[i] = m_shuai4;
            break;
        case U'幢':
            // 幢幢 before buildings counts them, zhuàng (幢幢高楼, 幢幢别墅); shadows that flicker stay
            // chuáng (人影幢幢, 鬼影幢幢的房间).
            if (m_zhuang4 != kNoSyllable && i + 2 < n && run[i + 1] == U'幢' && run[i + 2] != U'的' &&
                ctx.nearAfter(i + 2, 2, U"楼房厦宅舍墅筑"))
                syl[i] = syl[i + 1] = m_zhuang4;
            break;
        case U'引':
            // 引得 before what it brings about is causing, de (引得全场大笑, 引得网友热议, 被引得晕头转向);
            // the index keeps dé (引得编纂处, 书末引得按笔画排列, 引得是一种检索工具).
            if (m_de5 != kNoSyllable && i > 0 && i + 2 < n && run[i + 1] == U'得' && r.wordStart[i] &&
                r.end[i] == i + 2 && !in(U"编丛的按之中里部号书表卷法目是与和", run[i + 2]))
                syl[i + 1] = m_de5;
            break;
        case U'只':
            // Counted animals and things, zhī, after a number however the segmentation took it or written in
            // digits before what is not a verb (三千只, 数千只白鹤, 几只小鸟, 发现了8只野生个体;
            // Linux 2.0只支持); not the adverb after a number (三千万只是开始, 十五只能在家过, 第二只因为,
            // 一千只够买一半), nor after the 一 of 唯一 or 统一, nor 数 (参数只能).
            if (m_zhi1 != kNoSyllable &&
                ((i > 0 && ctx.afterCount(i, U"几") && (isNumeral(run[i - 1]) || r.wordStart[i - 1])) ||
                 (i == 0 && r.before == PinyinBoundary::Digit && !last && !isVerb(ctx.wordAtStart(1)))) &&
                !(!last && in(kOnlyLeads, run[i + 1])))
                syl[i] = m_zhi1;
            // Only, zhǐ, standing alone after an adverb (史书中常只记其姓氏, 他却只说了一句; 只字不提 is
            // a word's).
            else if (m_zhi3 != kNoSyllable && i > 0 && !last && r.standsAlone(i) &&
                     in(U"常也都就还却便仅才", run[i - 1]) && run[i + 1] != U'字')
                syl[i] = m_zhi3;
            // One of them taken, zhī, after a verb of taking, buying, raising or cooking (买只鸭, 来只烤鸭,
            // 给我拿只碗; 他来只看了一眼 and 买只是为了 are "only").
            else if (m_zhi1 != kNoSyllable && i > 0 && !last && r.standsAlone(i) && r.standsAlone(i - 1) &&
                     in(U"买拿抓养来要送捉宰烤炖煮借租牵抱领逮偷点", run[i - 1]) &&
                     !isVerb(ctx.wordAtStart(i + 1)) && !in(kOnlyLeads, run[i + 1]))
                syl[i] = m_zhi1;
            // Also where nothing counts it (标准只声明了两种, tar文件只备份设定的目录, 希望只更新; 这只猫叫,
            // 每只都会, 多只股票, 整只鸡, 一只只小鸟, 同一只小鼠, 首只克隆羊 and 买只小狗 are counted, 只数
            // is their number).
            else if (m_zhi3 != kNoSyllable && !last && r.standsAlone(i) && !in(U"字数", run[i + 1]) &&
                     (i > 0 ? !ctx.afterCount(i, U"几这那哪每某各两半单多数若只首整") &&
                                  !(run[i - 1] == kYi && !(i > 1 && in(U"唯统", run[i - 2]))) &&
                                  !(ctx.wordBefore(i).size() == 1 && isVerb(ctx.wordBefore(i)))
                            : r.before != PinyinBoundary::Digit))
                syl[i] = m_zhi3;
            break;
        case U'降': {
            // Surrendering, xiáng: after 出, 投, 归, 纳, 招, 劝, 迎 or 诈 (刘禅出降, 皆出城迎降), or before
            // 于 and a state's army, court or king, or a people or a ruler (降于匈奴, 降于清军; 气温降于零下,
            // 飞机降于秦皇岛, 大雪降于晋北, 祸降于齐 fall, jiàng).
            if (m_xiang2 == kNoSyllable || !r.standsAlone(i))
                break;
            const std::u32string_view to = i + 2 < n && run[i + 1] == U'于' ? ctx.wordAtStart(i + 2) : U"";
            // 皆, 遂 and 乃 too where the word before names generals, armies or towns and the clause
            // ends (诸将皆降。诸郡皆降，; 物价皆降三成, 城内气温遂降, 守军士气遂降 jiàng).
            const std::u32string_view who = i > 1 ? ctx.wordBefore(i - 1) : std::u32string_view();
            const bool yielded = i > 1 && in(U"皆遂乃", run[i - 1]) && r.standsAlone(i - 1) &&
                                 (last || run[i + 1] == U'于') && !who.empty() &&
                                 in(U"将军郡城部众卒兵臣守士", who.back());
            // Right before a state standing alone or a people (日逐王降汉，, 李陵兵败降匈奴, 洪承畴降清后;
            // 价格降至, 气温降到 are not such).
            const std::u32string_view next = ctx.wordAtStart(i + 1);
            const bool toState = next.size() == 1 &&
                                 in(U"秦楚齐燕赵韩魏蜀吴晋隋唐宋元明清金辽汉曹", next[0]) &&
                                 (i + 2 == n || in(U"后时以而", run[i + 2]));
            const bool toPeople =
                oneOf(next, {U"匈奴", U"突厥", U"鲜卑", U"后金", U"蒙古", U"清朝", U"清军"});
            // 而 before it ending the clause where a town gave itself up, troops were led over or no battle
            // was fought (开城而降, 率众而降, 力屈而降, 不战而降; 从天而降, 伞兵自空中而降, 军费应声而降
            // fall).
            const bool gave =
                last && i > 1 && run[i - 1] == U'而' &&
                (in(U"城众", run[i - 2]) || oneOf(ctx.wordBefore(i - 1), {U"力屈", U"不战", U"解甲", U"力竭",
                                                                          U"望风", U"闻风", U"势穷"}));
            // Refusing to surrender before dying for it (拒降殉国, 拒降死; 物业公司却拒降, 拒降价, 机场拒降
            // are prices and landings).
            const bool refused =
                i > 0 && run[i - 1] == U'拒' && r.standsAlone(i - 1) && !last && in(U"殉死", run[i + 1]);
            if ((i > 0 && in(U"出投归纳招劝迎诈", run[i - 1]) && r.standsAlone(i - 1)) || yielded || gave ||
                refused || toState || toPeople ||
                (to.size() == 1 && in(U"秦楚齐燕赵韩魏蜀吴晋隋唐宋元明清金辽汉曹刘", to[0]) && i + 3 < n &&
                 in(U"军国朝廷王", run[i + 3])) ||
                oneOf(to, {U"匈奴", U"突厥", U"鲜卑", U"后金", U"曹操", U"刘备", U"孙权", U"清朝",
                           U"明朝", U"元朝", U"金国", U"秦国", U"楚国", U"魏国", U"吴国", U"蜀汉",
                           U"西夏", U"辽国", U"蒙古", U"清军", U"金军", U"元军"}))
                syl[i] = m_xiang2;
            break;
        }
        case U'角': {
            // A part in a play, jué, counted after one who plays it (饰演的李白一角, 分饰两角,
            // 反串梁山伯一角; 饰品店位于商场一角, 打扮好后站在舞台一角 are corners).
            if (m_jue2 == kNoSyllable || i == 0 || !in(U"一两", run[i - 1]) || !r.wordStart[i - 1] ||
                r.end[i - 1] != i + 1)
                break;
            const std::size_t from = i > 15 ? i - 15 : 0;
            const std::u32string_view before(run.data() + from, i - 1 - from);
            // The verb, not the one who plays (饰演者坐在后台一角).
            bool plays = false;
            for (std::u32string_view v : {U"饰演", U"扮演", U"分饰", U"反串"})
                for (auto at = before.find(v); at != std::u32string_view::npos; at = before.find(v, at + 1))
                    plays = plays || !(at + 2 < before.size() && before[at + 2] == U'者');
            // ...or after it, where 由 names who plays it (都敏俊一角由金秀贤饰演).
            const std::u32string_view after(run.data() + i + 1, n - i - 1);
            if (after.starts_with(U"由") && (after.find(U"饰演") != std::u32string_view::npos ||
                                             after.find(U"扮演") != std::u32string_view::npos))
                plays = true;
            if (plays)
                syl[i] = m_jue2;
            break;
        }
        case U'得': {
            // Gaining, dé, after a verb of one character, alone or as the segmentation joined them: 深得
            // before whose favour (深得百姓爱戴, 和珅深得乾隆帝宠信; 河深得很, 深得看不见底 de), 测得 before
            // what was measured (测得一回归年为, 测得的值, 测得3.5; 测得准 de), 习得 and 拾得 before what
            // was gained (自崖州习得棉纺技术, 拾得佛像; 收拾得干净, 预习得不充分 de), 摘得 before a medal or
            // a crown (摘得金牌; 摘得很快 de).
            if (m_de2 == kNoSyllable || i == 0 || syl[i] == m_de2 || !in(U"深测习拾摘", run[i - 1]) ||
                !((r.standsAlone(i - 1) && r.standsAlone(i)) ||
                  (r.wordStart[i - 1] && r.end[i - 1] == i + 1)))
                break;
            const char32_t next = last ? 0 : run[i + 1];
            const bool gains =
                (run[i - 1] == U'深' && !last &&
                 !in(U"很能连见望准不太多透没看可要令让叫使都也就像似无吓难化", next)) ||
                (run[i - 1] == U'测' && (last ? r.after == PinyinBoundary::Digit
                                              : isNumeral(next) || in(U"的一该其数结值", next))) ||
                (in(U"习拾", run[i - 1]) && !last &&
                 !in(U"很能连见望准出来不太多透没好快慢清楚完过上下起真挺更够", next)) ||
                (run[i - 1] == U'摘' && !last && in(U"金银铜冠桂奖头", next));
            if (gains)
                syl[i] = m_de2;
            break;
        }
        case U'场': {
            // Weather and illness counted, cháng (一场大雨, 下了一场暴雨, 一场大病, 一场春雨一场暖); a match,
            // a show or a meeting is chǎng (三场雨中的球赛, 一场病人家属的座谈会, 两场雪景摄影展).
            if (m_chang2 == kNoSyllable || i == 0 || last || !isNumeral(run[i - 1]) ||
                ctx.nearAfter(0, n, U"赛戏演影"))
                break;
            std::size_t k = i + 1;
            if (k + 1 < n && in(U"大小暴春秋冬夏冰急重阵透", run[k]))
                ++k;
            if (in(U"雨雪雹霜病灾", run[k]) && !(k + 1 < n && in(U"人景地天具衣伞季量水", run[k + 1])))
                syl[i] = m_chang2;
            break;
        }
        case U'地':
            // 地 closing a word after a doubled character is the particle (一遍遍地纠正, 突突地跳,
            // 稳稳当当地, where the segmentation took 遍地, 突地, 当地); the character before reads on
            // its own. Not a doubled verb and its object (扫扫地, 拖拖地).
            if (m_de5 != kNoSyllable && i >= 2 && r.wordEnd[i] && r.wordStart[i - 1] &&
                run[i - 1] == run[i - 2] && !in(U"扫拖种锄犁翻耕擦洒铺落倒跪下着触扑", run[i - 1])) {
                syl[i] = m_de5;
                syl[i - 1] = m_data.syllableOf(run[i - 1]);
            }
            break;
        case U'目':
            // 目的 after 该项, 各项, 本项 and the like, where the segmentation took the purpose: the
            // project, 项目, and the particle (该项目的负责人, 各科目的成绩, 该栏目的主持人; 为了这个目的
            // and 本节目的 keep the aim).
            if (m_de5 != kNoSyllable && i >= 2 && i + 1 < n && run[i + 1] == U'的' && r.wordStart[i] &&
                r.end[i] == i + 2 && in(U"项科栏条剧", run[i - 1]) && r.wordStart[i - 2] &&
                r.end[i - 2] == i && in(U"该各此这那本每某单多", run[i - 2]))
                syl[i + 1] = m_de5;
            break;
        case U'种':
            // Kinds counted, zhǒng, where the segmentation took 种 into a word of planting (七种菜做的羹,
            // 这种花; 多种树, 少种菜, 另种玉米, 怎么种花, 同种菜的老农 and 该种树了 plant).
            if (m_zhong3 != kNoSyllable && i > 0 && r.wordStart[i] && r.end[i] > i + 1 &&
                (isNumeral(run[i - 1]) || in(U"这那哪各每几某此本", run[i - 1]) ||
                 // ...and after a number and 多 or 余 (三百多种菜式, 20多种菜).
                 (in(U"多余", run[i - 1]) &&
                  (i == 1 ? r.before == PinyinBoundary::Digit : isNumeral(run[i - 2])))))
                syl[i] = m_zhong3;
            break;
        case U'弄':
            // 里弄 taken as the lanes where 里 is "in" and 弄 the doing, nòng, before what comes of it
            // (在宗祠里弄到一部族谱, 屋里弄得很乱; 里弄里, 石库门里弄 stay lòng).
            if (m_nong4 != kNoSyllable && i > 1 && !last && run[i - 1] == U'里' && r.wordStart[i - 1] &&
                r.end[i - 1] == i + 1 && in(U"好坏丢脏乱错混到得成完湿干破断", run[i + 1]) &&
                !(run[i + 1] == U'到' && i + 2 < n && run[i + 2] == U'处'))
                syl[i] = m_nong4;
            break;
        case U'汗':
            // 大汗 ending a list of symptoms, or ending the clause after sweating, is sweat, hàn (寒战、
            // 高热和大汗, 出了一身大汗); the khans keep hán (蒙古大汗, 拖雷和大汗窝阔台, 走出大汗的金帐,
            // 去见满都海和大汗).
            if (m_han4 != kNoSyllable && i >= 2 && run[i - 1] == U'大' && r.wordStart[i - 1] &&
                (r.end[i - 1] == i + 1 || (r.standsAlone(i - 1) && r.standsAlone(i))) &&
                (i + 1 == n || in(U"了淋直", run[i + 1])) &&
                ((in(U"和与及、", run[i - 2]) && ctx.nearBefore(i - 2, 10, U"热痛晕吐泻咳烧冷颤抖寒")) ||
                 in(U"出冒身头满", run[i - 2])))
                syl[i] = m_han4;
            break;
        case U'着':
            // 着 closing a verb's word before 了 ending the clause, or before what is lit, is reached,
            // zháo (一根火柴划着了, 打火机打着了, 火点着了, 他划着了火柴); not 这么着了 and 怎么着了
            // (zhāo), nor the words that lead (沿着, 朝着, 接着), nor 了 before an object held (他打着了
            // 伞), nor before 了解 and its like.
            if (m_zhao2 != kNoSyllable && i > 0 && i + 1 < n && r.wordEnd[i] && r.wordStart[i - 1] &&
                run[i + 1] == U'了' && r.standsAlone(i + 1) &&
                !in(U"么沿朝冲靠接随顺对向照跟为本趁凭", run[i - 1]) &&
                (i + 2 == n || ctx.nearAfter(i + 2, 4, U"火灯烟烛炉")))
                syl[i] = m_zhao2;
            break;
        case U'为':
            // 为由 after 以 is "as the reason", wéi (以风控为由取消了订单); the 以 standing alone, not in
            // 所以, 可以, 难以 (可以为由此带来的不便道歉 wèi).
            if (m_wei2 != kNoSyllable && i > 0 && !last && run[i + 1] == U'由' &&
                !(i + 2 < n && in(U"此他她于", run[i + 2])) && ctx.aloneBefore(i, U'以'))
                syl[i] = m_wei2;
            break;
        default:
            break;
        }
    }
}

void PinyinGrammarRules::readWordsOfPlaceAndKind(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // 见长 after 以 is what one excels at, cháng (他的书法以行书见长, 该校以培养应用型人才见长;
    // 个子见长 grows, zhǎng, and so after 以 inside 以后, 所以, 可以, or where a speed grows:
    // 以肉眼可见的速度见长).
    // So too closing a run after 、, where the 以 stood before the list (以香辣、酸辣见长, 以针法细密、
    // 色彩雅洁见长).
    if ((ctx.has & kTrChang) && m_chang2 != kNoSyllable && n >= 3 && r.openedBy == U'、' &&
        run[n - 1] == U'长' && run[n - 2] == U'见' && r.wordEnd[n - 1] && r.wordStart[n - 2] &&
        run[n - 3] != U'地')
        syl[n - 1] = m_chang2;
    if ((ctx.has & kTrChang) && m_chang2 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i)
            if (run[i] == U'长' && run[i - 1] == U'见' && r.wordEnd[i] && r.wordStart[i - 1])
                for (std::size_t k = i > 12 ? i - 12 : 0; k + 1 < i; ++k)
                    if (run[k] == U'以' && r.standsAlone(k) &&
                        !(i > 2 && (run[i - 2] == U'地' || (run[i - 3] == U'速' && run[i - 2] == U'度'))))
                        syl[i] = m_chang2;
    // 大夫 of a state of old is its office, dà fū (晋国大夫赵盾, 齐国的大夫); elsewhere a doctor,
    // dài fu (中国大夫, 韩国大夫, 陈大夫, 也许大夫).
    const auto ofOldState = [&](std::size_t i) {
        std::size_t k = i - 1;
        if (run[k] == U'的' && k > 0)
            --k;
        if (run[k] != U'国')
            return r.wordStart[k] && in(U"晋楚鲁卫郑齐", run[k]); // 楚大夫屈原; not 陈大夫, 也许大夫
        return k > 0 && r.wordStart[k - 1] &&
               in(U"晋楚齐秦燕赵魏鲁宋卫郑吴越陈蔡曹虞虢邾莒许滕薛", run[k - 1]);
    };
    if ((ctx.has & kTrDa) && m_da4 != kNoSyllable && m_fu1 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i)
            if (run[i] == U'大' && run[i + 1] == U'夫' && r.wordStart[i] && r.end[i] == i + 2 &&
                ofOldState(i)) {
                syl[i] = m_da4;
                syl[i + 1] = m_fu1;
            }
    // 分子 is a molecule, fēn (分子结构, 由于分子构象不同), and a member of a kind of people after
    // what they are, fèn (腐败分子, 好战分子, 恐怖主义分子, 右派分子, 其中一分子).
    if ((ctx.has & kTrFen) && m_fen1 != kNoSyllable && m_fen4 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (run[i] != U'分' || run[i + 1] != U'子' || !r.wordStart[i] || r.end[i] != i + 2)
                continue;
            static constexpr std::u32string_view kKinds[] = {
                U"腐败", U"好战", U"恐怖", U"犯罪", U"不法", U"积极", U"反动", U"极端", U"激进",
                U"武装", U"黑恶", U"危险", U"异己", U"坏",   U"骨干", U"分裂", U"叛乱", U"暴力",
                U"投机", U"落后", U"先进", U"进步", U"流氓", U"中坚", U"一",   U"敌对", U"反革命",
                U"右派", U"左派", U"不良", U"可疑", U"黑帮", U"贪腐", U"动乱", U"暴恐", U"腐化",
                U"堕落", U"精英", U"文艺", U"青年", U"活跃", U"核心", U"中产"};
            const std::u32string_view before = ctx.wordBefore(i);
            const bool kind =
                i > 0 && (before.ends_with(U"主义") || before.ends_with(U"派") ||
                          std::find(std::begin(kKinds), std::end(kKinds), before) != std::end(kKinds));
            syl[i] = kind ? m_fen4 : m_fen1;
        }
    // 传 alone ending a book's title is a biography, zhuàn (《诸葛亮传》, 《高僧传》; 《宣传》 and
    // 《名不虚传》 keep their words).
    if (r.endsTitle() && m_zhuan4 != kNoSyllable && n >= 2 && run[n - 1] == U'传' && r.standsAlone(n - 1))
        syl[n - 1] = m_zhuan4;
    // 有多重 ending a run asks a weight, zhòng (这个箱子有多重？); elsewhere 多重 is manifold, chóng
    // (具有多重身份, 身份多重).
    if (m_zhong4 != kNoSyllable && n >= 3 && run[n - 3] == U'有' && run[n - 2] == U'多' &&
        run[n - 1] == U'重' && r.wordStart[n - 2] && r.end[n - 2] == n)
        syl[n - 1] = m_zhong4;
    // 一行 is a travelling party, xíng, after those who travel (代表团一行, 市长一行, 他们一行), before how
    // many they are (他一行三十余人; 一行二十字 and 一行八个人 are a line and a row) and before their journey
    // (玄奘一行历经艰险到达天竺).
    if ((ctx.has & kTrHang) && m_xing2 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i) {
            if (run[i] != kYi || run[i + 1] != kHang || !r.wordStart[i] || r.end[i] != i + 2)
                continue;
            const std::u32string_view after(run.data() + i + 2, n - i - 2);
            // Not a line or row counted (每一行, 下一行, 这一行 is also a trade).
            if (in(U"每下上这那第哪一", run[i - 1]))
                continue;
            std::size_t k = 0;
            while (k < after.size() && isNumeral(after[k]))
                ++k;
            const bool counted = k > 0 && k < after.size() &&
                                 (after[k] == U'人' || ((after[k] == U'余' || after[k] == U'多') &&
                                                        k + 1 < after.size() && after[k + 1] == U'人'));
            static constexpr std::u32string_view kJourney[] = {U"到达", U"抵达", U"来到", U"前往", U"历经",
                                                               U"离开", U"访问", U"出发", U"途经", U"经过",
                                                               U"一路", U"乘坐", U"赶到", U"到访"};
            // Not data passed through (一行经过处理的数据).
            const bool journey =
                std::any_of(std::begin(kJourney), std::end(kJourney),
                            [&](std::u32string_view v) { return after.starts_with(v); }) &&
                !after.starts_with(U"出发点") &&
                !(after.starts_with(U"经过") &&
                  after.substr(2, 2).find_first_of(U"处编解修计转压排格过") != std::u32string_view::npos);
            if (in(U"团长们组队员家人", run[i - 1]) || counted || journey)
                syl[i + 1] = m_xing2;
        }
    // 着 after a verb of holding a hand or an eye is the particle zhe (背着手, 眯着眼), where the
    // dictionary's 着手 and 着眼 (zhuó, to set about, to have in view) took it; before 了 it is
    // zháo, done (摇着了).
    if ((ctx.has & kTrZhe) && m_zhe5 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i)
            if (run[i] == U'着' && in(kHoldVerbs, run[i - 1]) && r.standsAlone(i - 1) &&
                !(i + 1 < n && run[i + 1] == U'了') &&
                (r.standsAlone(i) ||
                 (r.wordStart[i] && r.end[i] == i + 2 && (run[i + 1] == U'手' || run[i + 1] == U'眼')))) {
                syl[i] = m_zhe5;
                if (!r.standsAlone(i))
                    syl[i + 1] = m_data.syllableOf(run[i + 1]);
            }
}

} // namespace core
