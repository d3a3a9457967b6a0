#include "pinyin_reading.h"
#include "pinyin_rules.h"
#include "pinyin_rules_run.h"

#include <algorithm>
#include <iterator>
#include <string_view>

// The rules for 为: "for" (wèi) or the copula and "as" (wéi), by the words beside it.

namespace core {

using namespace rules;

namespace {

// The ones a thing is done for, by how their words end (中小企业, 外来务工人员).
constexpr std::u32string_view kServed[] = {
    U"员工", U"职工",   U"老人",   U"客户",   U"群众",   U"顾客",   U"用户", U"业主", U"患者",   U"病人",
    U"企业", U"商家",   U"商户",   U"市民",   U"孩子",   U"儿童",   U"居民", U"农民", U"农户",   U"村民",
    U"灾区", U"大家",   U"社会",   U"国家",   U"人民",   U"消费者", U"游客", U"读者", U"会员",   U"家庭",
    U"乘客", U"旅客",   U"百姓",   U"考生",   U"学生",   U"家长",   U"社区", U"部门", U"人们",   U"师生",
    U"人员", U"毕业生", U"新生",   U"残疾人", U"老年人", U"妇女",   U"青年", U"群体", U"客人",   U"地区",
    U"单位", U"选手",   U"运动员", U"观众",   U"学员",   U"嘉宾",   U"球迷", U"工人", U"其",     U"亲属",
    U"家属", U"子女",   U"劳动者", U"新人",   U"他人",   U"别人",   U"自己", U"家人", U"年轻人", U"家乡",
    U"生计", U"此事",   U"英雄",   U"军方",   U"官方",   U"对方",   U"日方", U"中方", U"美方",   U"外方"};

// How verbs of making something into something end, before 为 "as" (设置为, 替换为, 理解为).
constexpr std::u32string_view kMakesInto = U"定列视评称改选作成变分划命认封奉设记换排置译析化解型造";

// Who leads others, closing what one is named (国王为英国教会首脑).
constexpr std::u32string_view kHeads[] = {U"首脑", U"领袖", U"元首", U"首领", U"盟主", U"教主", U"宗主"};

// What ranks a thing first among others (为诸庙之首, 为四大名著之一).
constexpr std::u32string_view kAmongAll[] = {U"之一", U"之首", U"之冠", U"之最"};

// What is done for someone, wherever it stands in the clause after 为.
constexpr std::u32string_view kDoneFor[] = {U"着想", U"操心", U"担心", U"服务", U"提供", U"考虑", U"打算",
                                            U"效力", U"出力", U"谋",   U"想想", U"奔波", U"奔走", U"操劳",
                                            U"忙碌", U"修路", U"买单", U"办事", U"做事", U"付出", U"争取"};

} // namespace

void PinyinGrammarRules::readWeiBesideItsNeighbours(const RuleRun &ctx,
                                                    std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // 为 before a clause in which nothing is done, every word of it known and none a verb by the
    // dictionary's parts of speech, is the copula, wéi (，为五岳中的西岳, 该站为地下两层岛式站台车站,
    // 此为北洋军的前身); not before whom it serves or what it asks (为他们, 为此, 为何, 为啥), nor where the
    // clause goes on past a line's end, other text, a 、 or a title's end. The rules below then read
    // "for" where a verb of serving or acting for someone says so. A pronoun before it is the subject
    // (他为河北人, 我们为同学), though it makes one word with 为 for the "for" of 他为国家效力.
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && m_wei4 != kNoSyllable && m_verbTags[0] != 0)
        for (std::size_t i = 0; i + 2 < n; ++i) {
            const auto afterPronoun = [&] {
                std::size_t s = i;
                while (s > 0 && !r.wordStart[s])
                    --s;
                return s < i && r.wordStart[s] && r.end[s] == i + 1 && in(U"他她你您我咱", run[s]);
            };
            if (run[i] != U'为' || syl[i] != m_wei4 || !(r.standsAlone(i) || afterPronoun()) ||
                r.closedBy == 0 || in(U"、》〉", r.closedBy) ||
                in(U"他她它你您我咱大此何啥之其了什自人的", run[i + 1]))
                continue;
            // Verbs the dictionary tags as nouns or names.
            static constexpr std::u32string_view kDoings[] = {
                U"赋值", U"定义", U"命名", U"祝寿", U"作注", U"作序", U"题词", U"注释", U"檄",
                U"效力", U"争光", U"铺就", U"效劳", U"贡献", U"捐躯", U"祈福", U"助威", U"代言",
                U"买单", U"出力", U"代劳", U"背书", U"洗尘", U"祝福", U"默哀", U"守灵", U"添彩",
                U"效命", U"雪耻", U"正名", U"说情", U"讲情", U"圆场", U"张目", U"连下"};
            bool nothingDone = true;
            for (std::size_t k = i + 1; k < n && nothingDone;) {
                const std::u32string_view w = ctx.wordAtStart(k);
                // A thing counted after the first word is what is done to (为一个目录定义一个别名,
                // 为燕国连下七十余城).
                const bool counted = k > i + 1 && k + 1 < n &&
                                     ((in(U"一两几", run[k]) && in(kMeasures, run[k + 1])) ||
                                      (isNumeral(run[k]) && ctx.nearAfter(k + 1, 3, U"余")));
                // A degree and the word that closes the clause say how one feels about it
                // (老师为这件事很生气, 我为他非常难过); a degree before what is named stays
                // (为非常重要的湿地).
                const bool feels = !w.empty() && k + w.size() < n &&
                                   oneOf(w, {U"很", U"十分", U"非常", U"挺", U"太", U"特别", U"格外", U"有点",
                                             U"有些", U"真"}) &&
                                   r.wordStart[k + w.size()] && r.end[k + w.size()] == n;
                if (w.empty() || !wordAt(std::span(w.data(), w.size())) || isVerb(w) || counted || feels ||
                    in(U"了着过而所给让把被对向", w.front()) || endsAsOneOf(kServed, w) ||
                    std::find(std::begin(kDoings), std::end(kDoings), w) != std::end(kDoings))
                    nothingDone = false;
                k += std::max<std::size_t>(w.size(), 1);
            }
            if (nothingDone)
                syl[i] = m_wei2;
        }
    // 为 after a person named or chosen is "as", wéi (称他为英雄, 选他们为代表, 立他为太子), not the "for"
    // the pronoun before it takes elsewhere (他为人民服务).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable)
        for (std::size_t i = 2; i < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2)
                continue;
            std::size_t j = i - 1;
            if (run[j] == U'们' && j > 1)
                --j;
            if (in(U"他她你我它您", run[j]) && in(U"称叫选评封拜认视奉推任聘立尊", run[j - 1]))
                syl[i] = m_wei2;
            // ...or a thing named, a word of one to three characters after 称, 视 or 承认 (称锅为鼎, 称筷子
            // 为箸, 视金钱为粪土, 拒绝承认国王为英国教会首脑).
            const std::u32string_view named = ctx.wordBefore(i);
            if (r.standsAlone(i) && !named.empty() && named.size() <= 3 && i > named.size() &&
                !isVerb(named) &&
                ((in(U"称视", run[i - named.size() - 1]) && r.standsAlone(i - named.size() - 1)) ||
                 oneOf(ctx.wordBefore(i - named.size()),
                       {U"承认", U"尊奉", U"追认", U"公认", U"确认", U"认定"})))
                syl[i] = m_wei2;
        }
    // 为 alone after an adverb of how many or how often is the copula, wéi (两侧多为骑楼, 新生儿多为
    // 生理性, 患者均为男性), as after a measure of length or weight (前三千公里为磨合期, 每人限购两件，
    // 三件为上限; 每月五千元为家里还贷 is for), and after 贬, 擢, 迁, 拜, 授, 立, 降, 召, 讹 and 升
    // (被贬为黄州团练副使, 降为零下, 召为中太一宫使, 传讹为讲武城) and 辟 (辟为通商口岸). The rule below for
    // the ones served turns it back where a verb of serving follows (多为他人提供帮助).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2 || !r.standsAlone(i))
                continue;
            // (So too the upper or lower deck, 上层为六车道.)
            const bool measure =
                i >= 2 && in(U"里米克吨斤件亩升倍层", run[i - 1]) &&
                (isNumeral(run[i - 2]) || (i >= 3 && run[i - 2] == U'公' && isNumeral(run[i - 3])) ||
                 (run[i - 1] == U'层' && in(U"上下底顶", run[i - 2])));
            // Not before the ones served (多为子女铺条路) or 之 (亦为之动容), nor where the clause does
            // something for someone (多为城市未婚一族着想).
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            // (Only the ones served, joined by 和 or 与, are what the many are: 留守者多为老人和儿童.)
            std::size_t past = i + 1;
            while (past < n) {
                const std::u32string_view w = ctx.wordAtStart(past);
                if (w.empty() || !(endsAsOneOf(kServed, w) || oneOf(w, {U"和", U"与", U"及", U"或"})))
                    break;
                past += w.size();
            }
            const bool onlyServed = past == n;
            const bool forSomeone = (endsAsOneOf(kServed, ctx.wordAtStart(i + 1)) && !onlyServed) ||
                                    run[i + 1] == U'之' || holdsOneOf(kDoneFor, rest);
            // ...and after a verb of growing or changing into (后来发展为涵盖重工业的财阀, 逐渐演变为).
            // So too after 通常, 一般, 主要 (通常为无伴奏的单声部歌曲).
            const bool into =
                oneOf(ctx.wordBefore(i),
                      {U"发展", U"演变", U"演化", U"转变", U"蜕变", U"改建",   U"扩建", U"升格",
                       U"改组", U"扩充", U"合并", U"分化", U"通常", U"一般",   U"主要", U"大多",
                       U"大都", U"多半", U"往往", U"基本", U"全部", U"大部分", U"多数", U"大多数"});
            if (((in(U"多均皆俱亦仅贬擢迁拜授立降召讹升辟", run[i - 1]) && r.standsAlone(i - 1)) || measure ||
                 into) &&
                !forSomeone)
                syl[i] = m_wei2;
        }
    // 为 before the one served and a verb of serving is "for", wèi (公司为员工缴纳社保, 志愿者为老人
    // 理发, 银行为小微企业提供贷款), where the models read the copula after a noun; not where 以
    // leads it (以客户为中心提供服务), nor before anything else (其作用为提供电源, 目标为培养学生).
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable && m_wei2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i) {
            // (能为 the segmentation takes as a word, "ability", is mostly 能 and 为 here: 方能为皇室诊病.)
            const bool afterCan = run[i - 1] == U'能' && r.wordStart[i - 1] && r.end[i - 1] == i + 1;
            if (run[i] != U'为' || syl[i] != m_wei2 || !(r.standsAlone(i) || afterCan) ||
                isNumeral(run[i + 1]))
                continue;
            const bool led = ctx.aloneBefore(i, U'以');
            // What a copula leads: a verb of aim (目标为培养学生, 任务为帮助企业).
            static constexpr std::u32string_view kAims[] = {
                U"培养", U"提高", U"实现", U"保证", U"确保", U"促进", U"加强", U"推动", U"帮助", U"支持",
                U"让",   U"使",   U"满足", U"保障", U"建设", U"发展", U"提供", U"服务", U"解决", U"打造"};
            static constexpr std::u32string_view kServing[] = {
                U"提供", U"服务", U"办理", U"缴纳", U"安排", U"推出", U"开通", U"分配", U"代收", U"解决",
                U"创造", U"带来", U"准备", U"编制", U"理发", U"着想", U"操心", U"担心", U"加油", U"祝福",
                U"量身", U"打造", U"送上", U"献上", U"争光", U"鼓掌", U"发放", U"购买", U"支付", U"承担",
                U"调拨", U"免费", U"减税", U"送",   U"做",   U"办",   U"测量", U"更换", U"安装", U"检查",
                U"治疗", U"捐赠", U"修缮", U"修建", U"兴建", U"建造", U"盖",   U"谋",   U"争取", U"筹集",
                U"募捐", U"讨回", U"排忧", U"搭建", U"打开", U"讲",   U"讲解", U"表演", U"演出", U"义诊",
                U"上课", U"送去", U"送来", U"换货", U"换",   U"退",   U"退货", U"退款", U"开具", U"接种",
                U"注射", U"体检", U"诊治", U"包扎", U"效力", U"效劳", U"辩护", U"立传", U"修补", U"捕鱼",
                U"佩戴", U"选择", U"分配", U"预留", U"实施", U"命名", U"祝寿", U"设计", U"传粉", U"着色",
                U"诊病", U"治病", U"看病", U"注音", U"诊",   U"草拟", U"申请", U"拍摄", U"押送", U"研制",
                U"掌管", U"制造", U"作战", U"铸造", U"报仇", U"复仇", U"题写", U"织补", U"报时", U"平反",
                U"昭雪", U"作注"};
            // Verbs that read "for" only with an object after them (after 了 too): without one, 为 names
            // the doer (为丰田车队夺得冠军, 为礼拜堂绘制天顶画, 为蚜虫驱赶天敌; 该金牌为中国队夺得,
            // 该地图为清代绘制).
            static constexpr std::u32string_view kServingWithObject[] = {
                U"绘制", U"夺得", U"赢得", U"驱赶", U"配音", U"谱写", U"撰写", U"雕刻",
                U"演唱", U"起草", U"供奉", U"运送", U"拟定", U"烧造", U"烧制"};
            // Whether the verb at `v` is one of those with something after it in the run.
            const auto servesWithObject = [&](std::size_t v) {
                const std::u32string_view from(run.data() + v, n - v);
                return std::any_of(
                    std::begin(kServingWithObject), std::end(kServingWithObject), [&](std::u32string_view s) {
                        if (!from.starts_with(s))
                            return false;
                        const std::size_t o = v + s.size() + (v + s.size() < n && run[v + s.size()] == U'了');
                        return o < n && !in(U"的了过", run[o]);
                    });
            };
            // The one served: a word that ends as one of the list (中小企业, 外来务工人员), after at
            // most four words of five characters before it (每位用户, 新入职的员工), unless a verb of
            // aim comes first.
            std::size_t k = i + 1;
            if (led || std::find(std::begin(kAims), std::end(kAims), ctx.wordAtStart(k)) != std::end(kAims))
                continue;
            for (std::size_t before = 0; before < 4 && k - (i + 1) < 5; ++before) {
                const std::u32string_view w = ctx.wordAtStart(k);
                if (w.empty() || endsAsOneOf(kServed, w))
                    break;
                k += w.size();
            }
            if (!endsAsOneOf(kServed, ctx.wordAtStart(k))) {
                // Anyone or anything else, a few nouns long, right before a verb of serving that
                // closes no name with 的 (为宝玉修补孔雀裘, 为水稻提供肥料, 为数据包选择路径, 命令为它们
                // 提供了信息); not after what names an aim or a use, nor after a verb of making into
                // (其职能为政府提供咨询, 替换为当前服务名, 安排为通过选择序列生成).
                if (oneOf(ctx.wordBefore(i),
                          {U"目的", U"宗旨", U"任务", U"目标", U"功能", U"作用", U"职责", U"用途", U"职能",
                           U"使命", U"工作", U"业务", U"内容", U"方向"}) ||
                    (in(kMakesInto, run[i - 1]) && ctx.wordBefore(i) != U"奉命"))
                    continue;
                std::size_t v = i + 1;
                for (int word = 0; word < 3 && v < n && v - (i + 1) < 6; ++word) {
                    const std::u32string_view w = ctx.wordAtStart(v);
                    if (oneOf(w, {U"分别", U"专门", U"特意", U"特别", U"亲自", U"免费", U"共同", U"精心",
                                  U"连夜"}) &&
                        v > i + 1) {
                        v += w.size();
                        break;
                    }
                    if (w.empty() || in(U"了的是所和与及在", w.front()) ||
                        std::any_of(std::begin(kServing), std::end(kServing),
                                    [&](std::u32string_view s) { return w.starts_with(s); }) ||
                        (w.size() > 1 && (!wordAt(std::span(w.data(), w.size())) || isVerb(w))))
                        break;
                    v += w.size();
                }
                const std::u32string_view verb = ctx.wordAtStart(v);
                // Two characters at least, though the segmentation may part them (为皇室诊病): 换, 退,
                // 送 alone are too often the start of something else (转换为单个换行, 是否为成功退出).
                const std::u32string_view from(run.data() + v, n - v);
                const auto startsIt = [&](std::u32string_view s) {
                    return s.size() > 1 && from.starts_with(s);
                };
                // (Serving closes a name with 的 and still serves: 为工农兵服务的方向.)
                if (v > i + 1 && !verb.empty() &&
                    (!(v + verb.size() < n && run[v + verb.size()] == U'的') || verb == U"服务") &&
                    (std::any_of(std::begin(kServing), std::end(kServing), startsIt) || servesWithObject(v)))
                    syl[i] = m_wei4;
                continue;
            }
            k += ctx.wordAtStart(k).size();
            // Another after it (灾区群众, 社区老人).
            if (endsAsOneOf(kServed, ctx.wordAtStart(k)))
                k += ctx.wordAtStart(k).size();
            // Its verb right after it, or after one adverb (本店为顾客免费提供包装); right after it,
            // any verb done, before 了 (志愿者为灾区群众搭建了帐篷).
            for (int step = 0; step < 2 && k < n; ++step) {
                const std::u32string_view v = ctx.wordAtStart(k);
                if (v.empty())
                    break;
                const std::size_t after = k + v.size();
                const bool done = step == 0 && after < n && run[after] == U'了' && r.standsAlone(after) &&
                                  !in(U"了的是为", v.front());
                // ...or any verb right after it that closes no name with 的 (为每位毕业生拨穗, 自动为这些
                // 用户派生出管理器); not after a verb of making into or a measure (设置为其默认行为, 理解为
                // 用户视图, 保护期为作者终生), nor for the unit counted in (以字节为单位输出).
                const bool acts = step == 0 && isVerb(v) && !in(U"是有为在所会能要可将被得", v.front()) &&
                                  !(after < n && run[after] == U'的') && !in(kMakesInto, run[i - 1]) &&
                                  !in(U"期率量值额数比度", run[i - 1]) &&
                                  !oneOf(ctx.wordAtStart(i + 1), {U"单位"});
                if (done || acts || servesWithObject(k) ||
                    std::any_of(std::begin(kServing), std::end(kServing),
                                [&](std::u32string_view s) { return v.starts_with(s); })) {
                    syl[i] = m_wei4;
                    break;
                }
                k += v.size();
            }
        }
    // 为 alone between two quotations, the first taken by 称 or 以, is "as" (称“锅”为“鼎”).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && n == 1 && run[0] == U'为' && r.startsAfterClose &&
        r.quoteTaken)
        syl[0] = m_wei2;
    // 为 opening a clause that names what a thing is among others is the copula, wéi (巢湖位于安徽
    // 中部，为长江下游最大的湖泊; 该公司成立于1998年，为国内最大的乳企之一; 今为当地最古老的佛寺),
    // where the models read "for" from the clause before. Not where a verb is done for someone
    // (，为客户提供最好的服务, 为球队打进了最关键的一球, 为城市发展作出重要的贡献).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && m_wei4 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (run[i] != U'为' || syl[i] != m_wei4 || !r.standsAlone(i))
                continue;
            const bool opens =
                i == 0 ? r.before == PinyinBoundary::Punctuation
                       : (i == 1 && in(U"今曾均皆多亦也即仍则现乃实原现", run[0])) ||
                             (in(U"今曾均皆多亦即仍现乃实原", run[i - 1]) && r.standsAlone(i - 1)) ||
                             oneOf(ctx.wordBefore(i),
                                   {U"自古", U"历来", U"向来", U"素来", U"一向", U"古时", U"旧时", U"如今",
                                    U"现今", U"大多", U"大都", U"多半", U"大部分", U"绝大多数"});
            // Right after a quoted term or a title it names what that is (“南无”为梵语音译, 《法华经》为
            // 根本经典, 《神奈川冲浪里》为北斋晚年代表作).
            const bool afterName = i == 0 && r.startsAfterClose;
            // ...where 以, 视, 称... took the quotation (以“保密”为挡箭牌拒绝公开, 释“侗”为无知之貌) or the
            // clause ends in what a name is (a unit, a slogan, a theme, a kind of work or place: “头陀”为
            // 梵语音译, 《踏莎行》为词牌名), not in what is done for someone (“国家队”为国争光, “绿色通道”为
            // 急救车让路).
            static constexpr std::u32string_view kNamedAs =
                U"位号题头理由景容角牌色作名曲集篇卷宾书本典译称字物者器品类式型法语词文诗画剧派宗教士官神佛"
                U"地区国省市县州郡山峰河江湖岛寺庙塔馆院站港城镇村乡姓音义体壳种界团队会社司部局厂料药菌"
                U"虫鸟兽鱼花草树果具币证码值率论说观念系制刊报台机车船舰枪炮帖碑铭经史录志记传赋歌舞戏片影迹"
                U"处";
            if (!opens && !afterName)
                continue;
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            static constexpr std::u32string_view kAmong[] = {U"之一", U"之首", U"之所", U"之地", U"之冠"};
            // ...or a kind of place it is one of (，为道教名山, 今为县政府所在地), where no verb says
            // what it is done for (，为方便大家参观古迹, 为修复这处古迹).
            static constexpr std::u32string_view kPlaces[] = {
                U"名山", U"名胜", U"古迹", U"重镇", U"要冲",   U"门户",   U"枢纽",  U"首府", U"省会",
                U"县城", U"治所", U"驻地", U"故里", U"所在地", U"发源地", U"辖区",  U"口岸", U"商埠",
                U"港口", U"高峰", U"主峰", U"湖泊", U"淡水湖", U"管辖站", U"集中地"};
            // ...or a kind of thing protected (，为国家一级保护动物, 为全国重点文物保护单位).
            static constexpr std::u32string_view kProtected[] = {U"保护动物", U"保护植物", U"保护单位"};
            static constexpr std::u32string_view kGoals[] = {
                U"方便", U"修缮", U"建设", U"迎接", U"扩建", U"一睹", U"回到", U"修复", U"增援", U"保卫",
                U"寻找", U"重建", U"保护", U"纪念", U"参观", U"游览", U"开发", U"打造", U"争取", U"建立",
                U"修建", U"前往", U"到达", U"抵达", U"寻访", U"守卫", U"攻打", U"美化", U"服务", U"发展",
                U"守护", U"装点", U"管理", U"保障", U"确保", U"避免", U"防止", U"生计", U"奔波"};
            // ...or a kind of work or who founded a school (，为盛唐乐府名篇, ，为关学创始人), or what
            // ranks first of its kind (，为海内外收藏最多者).
            static constexpr std::u32string_view kWorks[] = {
                U"名篇",   U"名作",   U"名著",   U"代表作", U"杰作",     U"名曲", U"名画", U"名剧", U"佳作",
                U"创始人", U"奠基人", U"开创者", U"创立者", U"集大成者", U"领袖", U"盟主", U"首领"};
            // ...not what is made of a work for someone (，为青少年改编古典名著, 为学生讲解唐宋名篇).
            static constexpr std::u32string_view kMadeFor[] = {
                U"改编", U"讲解", U"创作", U"献上", U"留下", U"修复", U"编写", U"翻译",
                U"演奏", U"出版", U"推出", U"奉献", U"谱写", U"演唱", U"朗诵", U"讲授",
                U"写下", U"写出", U"选编", U"编选", U"整理", U"带来"};
            const bool place =
                ((endsAsOneOf(kWorks, rest) && !holdsOneOf(kMadeFor, rest)) || endsAsOneOf(kPlaces, rest) ||
                 (rest.back() == U'者' && rest.find(U'最') != std::u32string_view::npos)) &&
                !holdsOneOf(kGoals, rest);
            static constexpr std::u32string_view kFirst[] = {U"最",   U"唯一", U"现存", U"第一", U"第二",
                                                             U"第三", U"首个", U"首座", U"重要", U"主要",
                                                             U"著名", U"代表", U"早期", U"传统"};
            // ...ending in 之一 or the like, or a phrase with 的 that ranks it (最大的, 重要的), or the
            // kind of place it is (，为华南第一高峰, 为双塔斜拉桥, 为兰新客运专线的中间站).
            const bool kind = in(U"峰山湖河江岛港县市镇区站寺庙塔桥关", rest.back());
            // Lines and towns only after a rank (为中国第一条电气化铁路; 为燕国连下七十余城, 为成功
            // 铺就道路 are for).
            const bool ranked = kind || in(U"城路线段", rest.back());
            // The kind alone only where a region or a country says how far it ranks, 的 what it is of,
            // or a city or county whose district it is (为华南第一高峰, 为广深铁路的五等站, 今为长治市
            // 屯留区; ，为村民修桥, 为家乡捐建寺庙, 为李青山 are for).
            static constexpr std::u32string_view kScopes[] = {
                U"中国", U"全国", U"世界", U"亚洲", U"欧洲", U"华南", U"华北", U"华东", U"华中", U"东北",
                U"西北", U"西南", U"我国", U"该市", U"该省", U"该县", U"本市", U"本省", U"当地", U"境内",
                U"国内", U"省内", U"市内", U"县内", U"北方", U"南方", U"江南", U"全省", U"全市", U"全县"};
            // A thing counted after a verb is made for someone (，为村民架起一座桥), not what the place
            // is (为大运河最重要的一段, 为中国第一条电气化铁路).
            bool counted = false;
            for (std::size_t k = 1; k + 1 < rest.size(); ++k)
                counted = counted || (in(U"一两几", rest[k]) && in(U"座条所个项片道", rest[k + 1]) &&
                                      !in(U"第的", rest[k - 1]));
            // ...or the age a thing is of, opening what follows (，为清代晋商乔致庸的宅第, 大多为清代重建),
            // or one thing of a kind with what it is like (，为一座典型的徽派民居。; ，为一座城市带来 is for,
            // and so may be what a line break or other text cuts).
            static constexpr std::u32string_view kAges[] = {
                U"清代", U"明代", U"元代", U"宋代", U"唐代", U"汉代",   U"隋代",   U"清朝",  U"明朝", U"元朝",
                U"宋朝", U"唐朝", U"汉朝", U"北宋", U"南宋", U"西汉",   U"东汉",   U"晚清",  U"清初", U"明初",
                U"清末", U"明末", U"民国", U"近代", U"古代", U"清太祖", U"清太宗", U"明太祖"};
            // (A dynasty and its reign's years count too: ，为清嘉庆年间两淮盐商所建.)
            const bool aged =
                std::any_of(std::begin(kAges), std::end(kAges),
                            [&](std::u32string_view a) { return rest.starts_with(a); }) ||
                (in(U"清明元宋唐汉隋晋", rest.front()) && rest.find(U"年间") >= 2 && rest.find(U"年间") <= 4);
            const bool oneOfAKind = rest.size() >= 5 && rest[0] == U'一' && in(U"座处所种个条家", rest[1]) &&
                                    rest.find(U'的') != std::u32string_view::npos && r.closedBy != 0;
            const bool among =
                place || endsAsOneOf(kProtected, rest) ||
                ((aged || oneOfAKind) && !holdsOneOf(kGoals, rest)) ||
                (kind && !counted && !holdsOneOf(kGoals, rest) &&
                 (holdsOneOf(kScopes, rest) || rest.find(U'的') != std::u32string_view::npos ||
                  (rest.back() == U'区' && rest.find_first_of(U"市县省州旗") < rest.size() - 1))) ||
                std::any_of(std::begin(kAmong), std::end(kAmong),
                            [&](std::u32string_view a) { return rest.ends_with(a); }) ||
                ((ranked || rest.find(U'的') != std::u32string_view::npos) &&
                 std::any_of(std::begin(kFirst), std::end(kFirst), [&](std::u32string_view f) {
                     // Opening the clause or after a place or a time (国内最大的, 东北地区
                     // 重要的, 当地最古老的), not after a verb (作出重要的贡献, 贡献最大的力量).
                     const std::size_t at = rest.find(f);
                     return at != std::u32string_view::npos &&
                            (at == 0 ||
                             in(U"的内国界省市县区地洲存时上湾岸中外代东西南北积本", rest[at - 1]));
                 }));
            // What is done for someone: an aspect particle or a verb of giving or making.
            static constexpr std::u32string_view kDone[] = {
                U"提供", U"打造", U"带来", U"创造", U"准备", U"献上", U"送上", U"送去", U"赢得", U"争取",
                U"打进", U"买",   U"做",   U"写",   U"赢",   U"送",   U"介绍", U"讲述", U"展示", U"表演",
                U"演唱", U"设计", U"举办", U"开设", U"建立", U"修建", U"推荐", U"制定", U"立下"};
            const bool done = rest.find_first_of(U"了着过") != std::u32string_view::npos ||
                              std::any_of(std::begin(kDone), std::end(kDone), [&](std::u32string_view d) {
                                  return rest.find(d) != std::u32string_view::npos;
                              });
            // Nor before the ones it is done for (，为大家介绍, 为他们带来).
            static constexpr std::u32string_view kFor[] = {U"你",   U"您",   U"他",   U"她",  U"它",
                                                           U"大家", U"人们", U"我们", U"咱们"};
            const bool forSomeone = std::any_of(std::begin(kFor), std::end(kFor),
                                                [&](std::u32string_view f) { return rest.starts_with(f); });
            // The ones served in the first two words after 为, with more after them (“光明行动”为贫困
            // 患者免费治疗眼病; 《叮咯咙咚呛》为固定嘉宾 names what one was).
            const auto servedFirst = [&](std::size_t at) {
                std::size_t k = at + 1;
                for (int word = 0; word < 2 && k < n; ++word) {
                    const std::u32string_view w = ctx.wordAtStart(k);
                    if (w.empty())
                        return false;
                    if (endsAsOneOf(kServed, w))
                        return k + w.size() < n;
                    k += w.size();
                }
                return false;
            };
            // 以 or a verb of naming before the quotation make it 以A为B whatever follows (邓拓以
            // “马南邨”为笔名开设专栏).
            if (afterName && r.quoteTaken)
                syl[i] = m_wei2;
            else if ((among || (afterName && in(kNamedAs, rest.back()) && !holdsOneOf(kGoals, rest) &&
                                !servedFirst(i))) &&
                     !done && !forSomeone)
                syl[i] = m_wei2;
        }
    // 为 after 专门, 特地 or 专程 is "for" (镖局是专门为客商押送货物的行当).
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable)
        for (std::size_t i = 2; i + 1 < n; ++i)
            if (run[i] == U'为' && r.standsAlone(i) &&
                oneOf(ctx.wordBefore(i), {U"专门", U"特地", U"特意", U"专程"}))
                syl[i] = m_wei4;
    // 为之 before what is done is "for it", wèi (范仲淹曾为之作《岳阳楼记》, 全场为之一振); not what one
    // does after 而, 自, 所 or 敢 (刻意而为之, 好自为之), nor 之前 and 之后.
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i)
            if (run[i] == U'为' && run[i + 1] == U'之' && r.wordStart[i] &&
                (r.end[i] == i + 2 || (r.end[i] == i + 1 && r.end[i + 1] == i + 2)) &&
                !in(U"而自所敢可能难乐", run[i - 1]) && !in(U"前后间类所的", run[i + 2]))
                syl[i] = m_wei4;
    // 为 with a verb of speaking or acting for someone ending the clause is "for", wèi (国务卿为政府的
    // 对外政策辩护, 司马迁在《史记》中为其立传, 仍愿为国家队效力).
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable)
        for (std::size_t i = 0; i + 2 < n; ++i) {
            if (run[i] != U'为' || !r.standsAlone(i))
                continue;
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            static constexpr std::u32string_view kActsFor[] = {U"辩护", U"立传", U"效力", U"效劳", U"求情",
                                                               U"说情", U"作证", U"送行", U"饯行", U"撑腰",
                                                               U"做主", U"作序", U"鼓掌", U"喝彩", U"祈祷"};
            // ...or 为其 before writing or building something for that one (陈寅恪为其撰写碑铭, 为其建祠;
            // 为其所用 is the passive and 为其撰写的序言作者 names what one is, wéi).
            static constexpr std::u32string_view kMadeForOne[] = {
                U"撰写", U"题写", U"作序", U"立传", U"立碑", U"建祠", U"修墓", U"作注", U"题词", U"写序"};
            // ...or before whom a song or a score is made for, the making not closing a name with 的
            // (曾为多位歌手创作歌曲, 李宗盛为众多歌手创作歌曲; 为刘欢演唱的歌曲 is one sung by him).
            static constexpr std::u32string_view kComposes[] = {U"创作", U"演唱", U"作曲", U"作词",
                                                                U"谱曲", U"配乐", U"献唱", U"谱写"};
            bool composes = false;
            for (std::u32string_view v : kComposes)
                if (const auto at = rest.find(v);
                    at != std::u32string_view::npos && at >= 2 &&
                    rest.substr(0, at).find(U'所') == std::u32string_view::npos &&
                    !(at + v.size() < rest.size() && rest[at + v.size()] == U'的'))
                    composes = true;
            // ...or what a thing lays the ground for (这一发现为发电机的发明奠定了基础).
            static constexpr std::u32string_view kGround[] = {U"奠定了基础", U"奠定基础",   U"打下了基础",
                                                              U"打下基础",   U"铺平了道路", U"铺平道路"};
            if ((rest.size() > 2 && endsAsOneOf(kActsFor, rest)) || composes || holdsOneOf(kGround, rest) ||
                (rest.size() >= 3 && rest[0] == U'其' &&
                 rest.find_first_of(U"所的") == std::u32string_view::npos &&
                 std::any_of(std::begin(kMadeForOne), std::end(kMadeForOne), [&](std::u32string_view v) {
                     return rest.substr(1, 4).find(v) != std::u32string_view::npos;
                 })))
                syl[i] = m_wei4;
        }
}

void PinyinGrammarRules::readWeiAlone(const RuleRun &ctx, std::vector<std::uint16_t> &syl) const {
    const PinyinSegmentedRun &r = ctx.seg;
    const std::span<const char32_t> run = ctx.text;
    const std::size_t n = ctx.n;
    // 为 alone or after him or her (他为, a word of its own) is wéi where it makes someone something
    // (朝廷任命他为知府, 册封其女为皇后), names whose child one is or what a place is counted among
    // (他为唐太宗第九子, ，为全国重点文物保护单位), names an office or a native place closing the
    // clause (他为大将军长史, 他为会稽山阴人), takes the doer of a passive (他为袁世凯所器重, 为秦军
    // 所俘; 为自己所说的话负责 serves) or equals a measure (约为每秒三十万公里). It is wèi where it
    // gives the purpose of what is done (该寺为纪念玄奘而建).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && m_wei4 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i) {
            // 即为, a word of its own, is the copula but before a purpose and 而 (即为纪念他而建).
            const bool afterJi = i > 0 && r.wordEnd[i] && r.wordStart[i - 1] && run[i - 1] == U'即';
            if (run[i] != U'为' ||
                !(r.standsAlone(i) || afterJi ||
                  (i > 0 && r.wordEnd[i] && r.wordStart[i - 1] && in(U"他她它", run[i - 1]))))
                continue;
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            // Where `c` opens a word within so many characters after 为 (所 alone; 而 also in 而立).
            const auto opensAt = [&](char32_t c, std::size_t within, bool alone) {
                for (std::size_t k = i + 1; k < n && k <= i + within; ++k)
                    if (run[k] == c && (alone ? r.standsAlone(k) : r.wordStart[k] != 0))
                        return k;
                return std::size_t{0};
            };
            static constexpr std::u32string_view kAppoint[] = {U"任命", U"委任", U"推举", U"推选", U"册封",
                                                               U"追封", U"晋封", U"改封", U"册立", U"擢升",
                                                               U"聘任", U"选举", U"拜",   U"擢"};
            // What one does a thing for, before 而 and the thing (为纪念玄奘而建, 梁武帝为超度亡灵而创设,
            // 即为供奉他而建; 标记为非阻塞而, 以字节为单位而 name, wéi).
            static constexpr std::u32string_view kNamingVerbs = U"定列视评称改选作成变分划命认封奉设记";
            static constexpr std::u32string_view kPurposes[] = {
                U"纪念", U"保护", U"躲避", U"逃避", U"避免", U"防止", U"庆祝", U"研究", U"支持",
                U"争取", U"实现", U"完成", U"满足", U"适应", U"配合", U"迎接", U"解决", U"表彰",
                U"悼念", U"报答", U"追求", U"抵御", U"防御", U"保障", U"维护", U"促进", U"推动",
                U"加强", U"提高", U"改善", U"筹备", U"应对", U"寻找", U"谋求", U"保卫", U"掩护",
                U"救济", U"安置", U"方便", U"照顾", U"观测", U"团结", U"招安", U"筹措", U"祝贺",
                U"庆贺", U"答谢", U"酬谢", U"嘉奖", U"褒奖", U"奖励", U"表扬"};
            static constexpr std::u32string_view kKin[] = {U"长子", U"次子", U"幼子",    U"之子",
                                                           U"之女", U"长女", U"次女",    U"之孙",
                                                           U"后裔", U"之一", U"保护单位"};
            // What lies between 为 and 而 names what one is, not a purpose: the first among others or
            // the place one comes from (因历史悠久为诸庙之首而被称为, 因关羽为解州常平村人而被尊为).
            const auto isWhatOneIs = [&](std::size_t er) {
                const std::u32string_view between(run.data() + i + 1, er - i - 1);
                return std::any_of(std::begin(kAmongAll), std::end(kAmongAll),
                                   [&](std::u32string_view a) { return between.ends_with(a); }) ||
                       (between.size() >= 3 && between.back() == U'人' &&
                        in(U"县州郡府省市国乡镇村阴阳山城江川宁安陵都京", between[between.size() - 2])) ||
                       // ...or what a thing is formed from before 而成 (界湖为火山口积水而成; 为纪念他而成立
                       // is a purpose)...
                       (er + 1 < n && run[er + 1] == U'成' &&
                        (er + 2 == n || !in(U"立为功就长", run[er + 2]))) ||
                       // ...or the one thing a place is named after (因背面图案为一艘帆船而得名; not
                       // 因燃灯为船只导航而得名, where it is for)...
                       (er + 2 < n && run[er + 1] == U'得' && run[er + 2] == U'名' && between.size() >= 3 &&
                        between[0] == U'一' && in(U"个只条座艘块张种位家所件幅颗棵尊", between[1])) ||
                       // ...or a colour (因成鸟枕部为白色而得名)...
                       (between.size() >= 2 && between.size() <= 4 && between.back() == U'色') ||
                       // ...or the head of something (承认国王为英国教会首脑而被处死).
                       (between.size() >= 3 &&
                        std::any_of(std::begin(kHeads), std::end(kHeads),
                                    [&](std::u32string_view h) { return between.ends_with(h); }));
            };
            const std::size_t from = i > 6 ? i - 6 : 0;
            const std::u32string_view before(run.data() + from, i - from);
            bool appointed = false;
            for (std::u32string_view v : kAppoint)
                // The verb, then one to three characters of whom it names (任命他为, 册封其女为).
                if (const auto at = before.rfind(v);
                    at != std::u32string_view::npos && before.size() - at - v.size() >= 1 &&
                    before.size() - at - v.size() <= 3 && (v.size() > 1 || r.standsAlone(from + at)))
                    appointed = true;
            const bool child = rest.size() <= 12 &&
                               rest.find_first_of(U"是的来带添") == std::u32string_view::npos &&
                               (std::any_of(std::begin(kKin), std::end(kKin),
                                            [&](std::u32string_view k) { return rest.ends_with(k); }) ||
                                (rest.size() >= 3 && rest[rest.size() - 3] == U'第' &&
                                 isNumeral(rest[rest.size() - 2]) && in(U"子女", rest.back())));
            const std::size_t suo = opensAt(U'所', 8, true);
            const bool passive = suo > i + 1 && suo + 1 < n && !in(U"这那一全该每哪几两各", run[suo - 1]) &&
                                 run[suo + 1] != U'选' &&
                                 rest.find(U'的', suo - i) == std::u32string_view::npos;
            // What one is, closing a short clause with an office, or the place one comes from (他为
            // 大将军长史, 他为会稽山阴人, 巴顿晋升为四星上将; 为求平安养子, 为更多人, 为该用户分配一个
            // 新口令 are for, wèi).
            static constexpr std::u32string_view kOffices2[] = {
                U"长史", U"太守", U"刺史", U"县令", U"宰相", U"丞相", U"相国", U"将军", U"校尉", U"都尉",
                U"大臣", U"尚书", U"侍郎", U"御史", U"知府", U"知县", U"巡抚", U"总督", U"度使", U"太子",
                U"皇后", U"皇帝", U"上将", U"中将", U"少将", U"元帅", U"大夫", U"博士", U"学士", U"主簿",
                U"参军", U"从事", U"司马", U"太尉", U"司徒", U"司空", U"太傅", U"太师", U"少保", U"监生",
                U"重臣", U"名臣", U"权臣", U"宠臣", U"近臣", U"功臣"};
            const bool office =
                rest.size() >= 3 && rest.size() <= 10 && !in(U"我你他她它咱", rest.front()) &&
                rest.find_first_of(U"求了着给让把对向多些的每更") == std::u32string_view::npos &&
                ((rest.back() == U'人' &&
                  in(U"县州郡府省市国乡镇阴阳山城江川宁安陵都京", rest[rest.size() - 2])) ||
                 std::any_of(std::begin(kOffices2), std::end(kOffices2),
                             [&](std::u32string_view o) { return rest.ends_with(o); }));
            // A measure it equals after 约, 分别, 均... (约为每秒三十万公里, 分别为三米和五米).
            static constexpr std::u32string_view kAbout[] = {U"约",   U"大约", U"分别", U"依次", U"均",
                                                             U"平均", U"总计", U"合计", U"共计", U"大致"};
            const bool equals =
                std::find(std::begin(kAbout), std::end(kAbout), ctx.wordBefore(i)) != std::end(kAbout);
            // Whom one is taken as, closing the clause (纳为妾, 削发为尼, 收为义子, 拜他为师, 待为上宾).
            const bool role = oneOf(rest, {U"妾",   U"妾室", U"妻",   U"妻室", U"尼",   U"僧",   U"道士",
                                           U"义子", U"义女", U"养子", U"养女", U"嗣",   U"嗣子", U"婿",
                                           U"师",   U"徒",   U"弟子", U"门徒", U"上宾", U"人质"});
            // The family or genus a species belongs to (，为鸢尾科番红花属植物, 貉为犬科貉属动物).
            static constexpr std::u32string_view kTaxa[] = {U"科植物", U"科动物", U"属植物", U"属动物",
                                                            U"科真菌", U"属真菌", U"科鱼类", U"科鸟类"};
            // ...right after 为 and closing the clause, or only a name after it (为姜科植物蓬莪术; 为保护这种
            // 猫科动物, 他为猫科动物拍了照片, 为犬科动物接种疫苗 are for).
            // Nothing done and no purpose opening the clause.
            const bool plain = rest.find_first_of(U"了着过") == std::u32string_view::npos &&
                               !std::any_of(std::begin(kPurposes), std::end(kPurposes),
                                            [&](std::u32string_view v) { return rest.starts_with(v); });
            bool taxon = false;
            for (std::u32string_view t : kTaxa)
                if (const auto at = rest.find(t); at != std::u32string_view::npos && at <= 8 &&
                                                  rest.size() - at - t.size() <= 3 && plain &&
                                                  !rest.starts_with(U"拯救"))
                    taxon = true;
            // ...or a family named near its start and then what of it (星天牛（学名：…）为天牛科的甲虫,
            // 为犀鸟目戴胜科戴胜属的鸟类, 为禾本科类芦属下的一个种; 为学科的发展, 为犬科动物接种疫苗 are
            // for). The clause ends in the kind of living thing it is (甲虫, 鸟类, 一种, 下的一个种), not in
            // what is done for it (为犬科的宠物洗澡, 为禾本科的作物选育良种, 为鸠鸽科的鸽子接种疫苗).
            static constexpr std::u32string_view kKinds[] = {U"一个种", U"一种", U"变种", U"亚种", U"变型"};
            const bool quiet =
                plain && (in(U"物虫类鸟鱼蝶蛾蛙蛇蜂蚁鼠兽木本菌型属草藻苔蕨贝蟹虾螺蚌龟", rest.back()) ||
                          endsAsOneOf(kKinds, rest));
            for (std::size_t p = 1; quiet && !taxon && p < rest.size() && p <= 10; ++p) {
                if (rest[p] != U'科' || (!(p + 1 < rest.size() && in(U"的下", rest[p + 1])) &&
                                         rest.find(U'属', p) == std::u32string_view::npos))
                    continue;
                std::size_t start = i + 1 + p; // the word that holds 科
                while (start > 0 && !r.wordStart[start])
                    --start;
                const std::u32string_view word(run.data() + start, r.end[start] - start);
                taxon = !oneOf(word, {U"学科", U"外科", U"内科", U"专科", U"本科", U"理科", U"文科", U"工科",
                                      U"医科", U"牙科", U"儿科", U"眼科", U"妇科", U"骨科", U"全科", U"分科",
                                      U"预科", U"前科", U"农科", U"商科", U"法科", U"科室"});
            }
            const std::size_t er = opensAt(U'而', 12, false);
            if (afterJi) {
                if (er && std::any_of(std::begin(kPurposes), std::end(kPurposes),
                                      [&](std::u32string_view v) { return rest.starts_with(v); }))
                    syl[i] = m_wei4;
                continue;
            }
            if (appointed || child || passive || office || equals || role || taxon || (er && isWhatOneIs(er)))
                syl[i] = m_wei2;
            // (After 多 or 均 it says how a thing mostly is: 民居多为依山而建的吊脚楼.)
            else if (er && !(er + 1 < n && in(U"非不是", run[er + 1])) &&
                     (std::any_of(std::begin(kPurposes), std::end(kPurposes),
                                  [&](std::u32string_view v) { return rest.starts_with(v); }) ||
                      (!ctx.occursBefore(i, U'以') && !(i > 0 && in(kNamingVerbs, run[i - 1])) &&
                       !(i > 0 && in(U"多均皆俱", run[i - 1]) && r.standsAlone(i - 1)))))
                syl[i] = m_wei4;
            // ...or repaying a debt of gratitude or of blood, whatever follows (为报答严仲子的知遇之恩,
            // 为报主仇, 为报父仇而从军).
            // (其目的为报答父母 names the aim, wéi.)
            else if ((ctx.wordAtStart(i + 1) == U"报答" || ctx.wordAtStart(i + 1) == U"报恩" ||
                      (run[i + 1] == U'报' && ctx.nearAfter(i + 2, 3, U"仇恩"))) &&
                     !oneOf(ctx.wordBefore(i),
                            {U"目的", U"宗旨", U"目标", U"任务", U"使命", U"用意", U"初衷"}))
                syl[i] = m_wei4;
            // ...or the word right after it is such a purpose (百姓为纪念其治水功绩，); not after what
            // names an aim or a use, in 以…为, nor where the clause ends in what a thing is (其宗旨为保护
            // 文物, 定为保护对象, 以送料机构为研究对象, ，为研究晚清人物的重要影像: wéi).
            else if (std::find(std::begin(kPurposes), std::end(kPurposes), ctx.wordAtStart(i + 1)) !=
                         std::end(kPurposes) &&
                     rest.find(U'的') == std::u32string_view::npos && !ctx.occursBefore(i, U'以') &&
                     !(i > 0 && in(kNamingVerbs, run[i - 1])) &&
                     !oneOf(ctx.wordBefore(i),
                            {U"目的", U"宗旨", U"任务", U"目标", U"功能", U"作用", U"职责",
                             U"用途", U"意义", U"主旨", U"重点", U"方针", U"原则", U"使命",
                             U"职能", U"用意", U"初衷", U"主题", U"口号", U"功效", U"疗效",
                             U"效果", U"工作", U"职务", U"特点", U"功用", U"内容", U"方向"}))
                syl[i] = m_wei4;
        }
    // 以…为 before what a thing is taken as, a setting, a base or a model, is the copula, wéi, whatever
    // is done after it (以此为背景创作小说, 以北京为中心修建铁路, 以其为原型拍摄电影; 以此为他们提供
    // 服务 is for).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i) {
            // (他为 may be a word of its own: 以他为背景.)
            if (run[i] != U'为' || syl[i] == m_wei2 ||
                !(r.standsAlone(i) || (r.wordEnd[i] && r.wordStart[i - 1] && in(U"他她它", run[i - 1]))))
                continue;
            static constexpr std::u32string_view kTakenAs[] = {
                U"背景", U"基础", U"中心", U"题材", U"原型", U"蓝本", U"核心", U"依据",   U"依托", U"主题",
                U"素材", U"起点", U"范本", U"榜样", U"模板", U"基地", U"据点", U"根据地", U"主线", U"线索"};
            const std::u32string_view before(run.data(), i);
            if (std::find(std::begin(kTakenAs), std::end(kTakenAs), ctx.wordAtStart(i + 1)) !=
                    std::end(kTakenAs) &&
                (ctx.aloneBefore(i, U'以') ||
                 holdsOneOf(
                     std::initializer_list<std::u32string_view>{U"以此", U"以其", U"以他", U"以她", U"以之"},
                     before)))
                syl[i] = m_wei2;
        }
    // 为…所, a verb and 的 before what closes the clause is the passive, wéi: the one it names did it
    // (他是为人民所爱戴的领袖, 成为为世人所熟知的画家); not where a verb follows what is named (为自己
    // 所说的话负责 is for).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && m_verbTags[0] != 0)
        for (std::size_t i = 0; i + 4 < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2 || !r.standsAlone(i))
                continue;
            const std::size_t suo =
                std::u32string_view(run.data() + i, std::min<std::size_t>(n - i, 7)).find(U'所');
            if (suo == std::u32string_view::npos || suo < 2)
                continue;
            const std::size_t de =
                std::u32string_view(run.data() + i + suo, std::min<std::size_t>(n - i - suo, 5)).find(U'的');
            if (de == std::u32string_view::npos || de < 2)
                continue;
            // Only a doer between 为 and 所, no verb done to something (为接口设定所用的中断值 is for).
            bool verbAfter = false;
            for (std::size_t k = i + 1; k < i + suo && !verbAfter;) {
                const std::u32string_view w = ctx.wordAtStart(k);
                verbAfter = !w.empty() && isVerb(w);
                k += std::max<std::size_t>(w.size(), 1);
            }
            for (std::size_t k = i + suo + de + 1; k < n && !verbAfter;) {
                const std::u32string_view w = ctx.wordAtStart(k);
                verbAfter = w.empty() || isVerb(w);
                k += std::max<std::size_t>(w.size(), 1);
            }
            if (!verbAfter && i + suo + de + 1 < n)
                syl[i] = m_wei2;
        }
    // 为…所 and a verb closing the clause is the passive too (为他所用, 为世人所知, 为他们所熟知),
    // also where 为 and a pronoun make one word of "for" (为他 of 为他服务).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable && m_verbTags[0] != 0)
        for (std::size_t i = 0; i + 3 < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2 || !r.wordStart[i])
                continue;
            const std::size_t suo =
                std::u32string_view(run.data() + i, std::min<std::size_t>(n - i, 6)).find(U'所');
            // (所 and its verb may be one word: 所用, 所知.)
            if (suo == std::u32string_view::npos || suo < 2 || !r.wordStart[i + suo] || n - (i + suo) > 3)
                continue;
            bool verbBetween = r.end[i] > i + suo;
            for (std::size_t k = r.end[i]; k < i + suo && !verbBetween;) {
                const std::u32string_view w = ctx.wordAtStart(k);
                verbBetween = w.empty() || isVerb(w) || in(U"的了着过", w.front());
                k += std::max<std::size_t>(w.size(), 1);
            }
            if (!verbBetween && n - (i + suo) >= 2 && r.closedBy != 0 && !in(U"、》〉", r.closedBy))
                syl[i] = m_wei2;
        }
    // 为 between a doer named after 是 and his kin, before 所, a verb and 的, is "for": the work is
    // what the doer made for them (郑文公碑是郑道昭为其父所刻的摩崖, 颜勤礼碑是颜真卿为其曾祖父所书的
    // 神道碑; 他是为人民所爱戴的领袖 names the doer, wéi).
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable)
        for (std::size_t i = 3; i + 4 < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei4 || !r.standsAlone(i) || run[i + 1] != U'其')
                continue;
            const std::u32string_view before(run.data(), i);
            const std::size_t is = before.rfind(U'是');
            const std::size_t suo =
                std::u32string_view(run.data() + i, std::min<std::size_t>(n - i, 8)).find(U'所');
            if (is == std::u32string_view::npos || i - is < 3 || in(U"一这那该其此", run[is + 1]) ||
                suo == std::u32string_view::npos ||
                !(in(U"父母祖兄弟妻子女师", run[i + 2]) ||
                  (in(U"曾高亡先", run[i + 2]) && in(U"父母祖", run[i + 3]))) ||
                !ctx.nearAfter(i + suo + 2, 2, U"的"))
                continue;
            syl[i] = m_wei4;
        }
    // 为 right after someone named, before a verb within a word or two, is what that one did for
    // something or someone (鲁迅为纪念遇害的青年作家, 毛泽东为创刊号题词, 诸葛亮为刘备出谋划策); what he
    // was keeps wéi (鲁迅为浙江绍兴人, 李世民为秦王时率军, 李白为唐代著名诗人).
    if ((ctx.has & kTrWei) && m_wei4 != kNoSyllable && m_nameTags[0] != 0 && m_verbTags[0] != 0)
        for (std::size_t i = 2; i + 2 < n; ++i) {
            // (Not in 以…为, before a name taken, nor before a family of plants or animals: 以白莲教为号召,
            // 阿克顿·贝尔为笔名出版, 紫藤为豆科攀援藤本.)
            if (run[i] != U'为' || syl[i] == m_wei4 || !r.standsAlone(i) || !isName(ctx.wordBefore(i)) ||
                ctx.aloneBefore(i, U'以') ||
                oneOf(ctx.wordAtStart(i + 1),
                      {U"笔名", U"化名", U"艺名", U"名义", U"号召", U"代价", U"契机"}) ||
                endsAsOneOf(std::initializer_list<std::u32string_view>{U"科", U"属", U"目", U"纲"},
                            ctx.wordAtStart(i + 1)))
                continue;
            bool done = false;
            std::size_t k = i + 1;
            for (int word = 0; word < 2 && k < n && !done; ++word) {
                const std::u32string_view w = ctx.wordAtStart(k);
                if (w.empty() || in(U"时后前间之的所是了着在", w.front()) || in(U"时后", w.back()))
                    break;
                // (Some verbs the dictionary tags as nouns: 纪念, 题词, 作注.)
                done = w.size() > 1 && (isVerb(w) || oneOf(w, {U"纪念", U"题词", U"作注", U"作序", U"立传",
                                                               U"庆祝", U"配音", U"出谋划策", U"效力"}));
                k += w.size();
            }
            // ...not where the verb goes on to 的 or 所 (为流传的版本).
            if (done && !(k < n && in(U"的所", run[k])))
                syl[i] = m_wei4;
        }
    // 为人 of one's conduct is wéi, where what follows says what kind of person (他为人很正直, 她为人
    // 和善, 为人所知, 为人父母), also where the pronoun before took 为 as "for" (他为 of 他为国家效力); not
    // where 人 opens a word of its own (为人民服务, 我为人人) or 为 closes one (因为人手不够).
    if ((ctx.has & kTrWei) && m_wei2 != kNoSyllable)
        for (std::size_t i = 0; i + 2 < n; ++i) {
            if (run[i] != U'为' || run[i + 1] != U'人' || syl[i] == m_wei2)
                continue;
            const bool wordOfTwo = r.wordStart[i] && r.end[i] == i + 2;
            const bool twoWords = r.wordStart[i + 1] && r.end[i + 1] == i + 2 &&
                                  (r.wordStart[i] || in(U"他她我你您们咱家", run[i > 0 ? i - 1 : i]));
            if (!wordOfTwo && !twoWords)
                continue;
            std::size_t k = i + 2;
            // (An adverb of "also" before the degree: 他为人也很随和.)
            if (k + 1 < n && in(U"也还却倒又都就亦则", run[k]) && r.wordStart[k] && r.end[k] == k + 1)
                ++k;
            const std::u32string_view w = ctx.wordAtStart(k);
            // Adverbs of degree, and what kind of person one is or what one is to others.
            static constexpr std::u32string_view kOfAPerson[] = {
                U"十分", U"非常", U"极为", U"甚为", U"颇为", U"较为", U"比较", U"相当", U"一向", U"向来",
                U"素来", U"历来", U"特别", U"更加", U"最为", U"一贯", U"极其", U"格外", U"尤其", U"正直",
                U"和善", U"热情", U"老实", U"厚道", U"低调", U"耿直", U"随和", U"坦率", U"实在", U"大方",
                U"机警", U"仁厚", U"处世", U"处事", U"师表", U"父母", U"子女", U"谦虚", U"谦逊", U"正派",
                U"好客", U"豁达", U"和蔼", U"善良", U"淳朴", U"朴实", U"憨厚", U"稳重", U"圆滑", U"谦和"};
            if (w.empty())
                continue;
            if ((w.size() == 1 && in(U"很甚颇较更最极挺太所臣妻夫师", w.front())) ||
                std::find(std::begin(kOfAPerson), std::end(kOfAPerson), w) != std::end(kOfAPerson) ||
                isAdjective(w))
                syl[i] = m_wei2;
        }
}

} // namespace core
