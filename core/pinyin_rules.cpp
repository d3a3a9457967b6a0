#include "pinyin_rules.h"

#include "pinyin_reading.h"

#include <algorithm>
#include <array>
#include <initializer_list>
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

// The characters each pass of the rules looks for, so that a run skips the passes it holds none
// of. A character added to a pass, or a case added to one of the two passes by character, must be
// added here too, or the rule never sees it.
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
    kTrWords = 1 << 12,  // the first pass by character
    kTrChars = 1 << 13,  // the second pass by character
    kTrYiBu = 1 << 14,   // the tones of 一 and 不
};

// Every character a rule looks for lies among the unified ideographs of the basic plane.
constexpr char32_t kTriggerFirst = 0x4E00, kTriggerLast = 0x9FFF;

std::uint16_t triggersOf(char32_t c) {
    static const auto table = [] {
        std::array<std::uint16_t, kTriggerLast - kTriggerFirst + 1> t{};
        auto mark = [&](std::u32string_view chars, std::uint16_t bit) {
            for (char32_t ch : chars)
                t[ch - kTriggerFirst] |= bit;
        };
        mark(U"得", kTrDe);
        mark(U"为", kTrWei);
        mark(U"单解区仇缪查朴纪华", kTrSurname);
        mark(U"调", kTrTiao);
        mark(U"地", kTrDi);
        mark(U"长", kTrChang);
        mark(U"卷", kTrJuan);
        mark(U"将", kTrJiang);
        mark(U"大", kTrDa);
        mark(U"分", kTrFen);
        mark(U"行", kTrHang);
        mark(U"着", kTrZhe);
        mark(U"将幢引只降角得场为着", kTrWords);
        mark(U"行率过吗吧了得发觉地应攒横捋泡刨臊系削咽咋镐和汗长假血还量为调担斗着当冲处落剥转种盛数创分缝服"
             U"切儿卷"
             U"钻差貉铺幢杆葛劲都呛樘弄将杈撮哩厦教啦陆",
             kTrChars);
        mark(U"一不", kTrYiBu);
        return t;
    }();
    return c >= kTriggerFirst && c <= kTriggerLast ? table[c - kTriggerFirst] : 0;
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
      m_zhao2(data.syllableId("zhao2")), m_surnames{data.syllableId("shan4"), data.syllableId("xie4"),
                                                    data.syllableId("ou1"),   data.syllableId("qiu2"),
                                                    data.syllableId("miao4"), data.syllableId("zha1"),
                                                    data.syllableId("piao2"), data.syllableId("ji3"),
                                                    data.syllableId("hua4")} {}

std::uint32_t PinyinGrammarRules::wordAt(std::span<const char32_t> chars) const {
    std::uint32_t node = 0;
    for (char32_t c : chars)
        if (!(node = m_data.child(node, c)))
            return 0;
    const PinyinTrieSlot &slot = m_data.slot(node);
    return slot.cost() != kNotASegmentationWord ? node : 0;
}

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
    //   着 after a verb of holding a hand or an eye is the particle zhe (背着手, 眯着眼), where the
    //     dictionary's 着手 and 着眼 (zhuó, to set about, to have in view) took it; before 了 it is
    //     zháo, done (摇着了).
    static constexpr std::u32string_view kParticles = U"吗嗎不了吧啊呀呢么麼嘛啦哦喔没沒";
    static constexpr std::u32string_view kMeasures = U"个位只条张件次名本台部辆把块座间所家种样项";
    // What 长 heads as its chief, zhǎng (市长, 班长, 厂长).
    static constexpr std::u32string_view kOffices =
        U"市部校团旅师军营连排班会家县省局处科组院所队司厂社村乡镇署警官首酋族兄";
    static constexpr std::u32string_view kAfterRate =
        U"为是达在的很较偏仍已均高低增降提升跌超不也都和与及必须应可需要能太比";
    static constexpr std::u32string_view kDegrees =
        U"大小多少长短高低快慢早晚重轻深浅宽窄热冷强弱厚薄粗细紧松贵远近硬软旧老烫凉辣咸甜苦酸稀稠亮暗湿";
    static constexpr std::u32string_view kHairBefore =
        U"头剪理洗护染烫脱梳卷秀毛短鬓白黑金银灰棕红黄长假披散束扎盘吹";
    static constexpr std::u32string_view kHairAfter = U"型际夹丝箍廊梢蜡胶髻饰质根量膜带油色尾片网簪圈";
    static constexpr std::u32string_view kHoldVerbs =
        U"背抱举拉握牵搓摇挥摆插揣拍甩扬伸摊捂攥扶搭揉闭眯睁瞪眨合翻";
    auto in = [](std::u32string_view set, char32_t c) { return set.find(c) != std::u32string_view::npos; };
    // Whether `c` stands in the run before position `k` (the 把 that leads a verb, the 用 of a tool).
    auto occursBefore = [&](std::size_t k, char32_t c) {
        return std::u32string_view(run.data(), k).find(c) != std::u32string_view::npos;
    };
    // Whether one of `set` stands among the `width` characters before position `k`.
    auto nearBefore = [&](std::size_t k, std::size_t width, std::u32string_view set) {
        const std::size_t from = k > width ? k - width : 0;
        return std::u32string_view(run.data() + from, k - from).find_first_of(set) !=
               std::u32string_view::npos;
    };
    // Whether one of `set` stands among the `width` characters from position `k` on.
    auto nearAfter = [&](std::size_t k, std::size_t width, std::u32string_view set) {
        const std::size_t from = std::min(k, n);
        return std::u32string_view(run.data() + from, std::min(width, n - from)).find_first_of(set) !=
               std::u32string_view::npos;
    };
    // The word of the segmentation that ends just before `k` (none at the run's start or past its end).
    auto wordBefore = [&](std::size_t k) {
        if (k == 0 || k > n)
            return std::u32string_view();
        std::size_t s = k - 1;
        while (s > 0 && !r.wordStart[s])
            --s;
        return std::u32string_view(run.data() + s, k - s);
    };
    // The word starting at `k`, or an empty view where none starts there.
    auto wordAtStart = [&](std::size_t k) {
        return k < n && r.wordStart[k] ? std::u32string_view(run.data() + k, r.end[k] - k)
                                       : std::u32string_view();
    };
    // Whether `c` stands alone as a word somewhere before `k` (以 leading a clause, not 所以 or 可以).
    auto aloneBefore = [&](std::size_t k, char32_t c) {
        for (std::size_t j = 0; j < k; ++j)
            if (run[j] == c && r.standsAlone(j))
                return true;
        return false;
    };
    // A number, or one of `also`, right before `k`; not the 一 that closes 万一 or 唯一.
    auto afterCount = [&](std::size_t k, std::u32string_view also) {
        return k > 0 && (isNumeral(run[k - 1]) || in(also, run[k - 1])) &&
               !(run[k - 1] == kYi && !r.wordStart[k - 1] && !(k > 1 && isNumeral(run[k - 2])));
    };
    // The passes below that a run holds none of the characters of are skipped: most runs need few
    // of them, and the passes together would cost more than the rest of the reading.
    std::uint16_t has = 0;
    for (char32_t c : run)
        has |= triggersOf(c);
    // "Must" is never followed by 的 or 了 alone: 得了 there is to win or catch, dé (今天得了冠军,
    // 他得的是胃炎), as 得过 is before a count (至少得过两次冠军).
    if ((has & kTrDe) && m_dei3 != kNoSyllable && m_de2 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (syl[i] == m_dei3 && (run[i + 1] == U'的' || (run[i + 1] == U'了' && r.standsAlone(i + 1)) ||
                                     (i + 2 < n && run[i + 1] == U'过' && isNumeral(run[i + 2]))))
                syl[i] = m_de2;
    // 为 after a person named or chosen is "as", wéi (称他为英雄, 选他们为代表), not the "for"
    // the pronoun before it takes elsewhere (他为人民服务).
    if ((has & kTrWei) && m_wei2 != kNoSyllable)
        for (std::size_t i = 2; i < n; ++i) {
            if (run[i] != U'为' || syl[i] == m_wei2)
                continue;
            std::size_t j = i - 1;
            if (run[j] == U'们' && j > 1)
                --j;
            if (in(U"他她你我它您", run[j]) && in(U"称叫选评封拜认视奉推任聘", run[j - 1]))
                syl[i] = m_wei2;
        }
    // 为 before the one served and a verb of serving is "for", wèi (公司为员工缴纳社保, 志愿者为老人
    // 理发, 银行为小微企业提供贷款), where the models read the copula after a noun; not where 以
    // leads it (以客户为中心提供服务), nor before anything else (其作用为提供电源, 目标为培养学生).
    if ((has & kTrWei) && m_wei4 != kNoSyllable && m_wei2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i) {
            if (run[i] != U'为' || syl[i] != m_wei2 || !r.standsAlone(i) || isNumeral(run[i + 1]))
                continue;
            const bool led = aloneBefore(i, U'以');
            static constexpr std::u32string_view kServed[] = {
                U"员工", U"职工", U"老人", U"客户", U"群众", U"顾客",   U"用户", U"业主",   U"患者",
                U"病人", U"企业", U"商家", U"商户", U"市民", U"孩子",   U"儿童", U"居民",   U"农民",
                U"农户", U"村民", U"灾区", U"大家", U"社会", U"国家",   U"人民", U"消费者", U"游客",
                U"读者", U"会员", U"家庭", U"乘客", U"旅客", U"百姓",   U"考生", U"学生",   U"家长",
                U"社区", U"部门", U"人们", U"师生", U"人员", U"毕业生", U"新生", U"残疾人", U"老年人",
                U"妇女", U"青年", U"群体", U"客人", U"地区", U"单位",   U"选手", U"运动员", U"观众",
                U"学员", U"嘉宾", U"球迷", U"工人"};
            // What a copula leads: a verb of aim (目标为培养学生, 任务为帮助企业).
            static constexpr std::u32string_view kAims[] = {
                U"培养", U"提高", U"实现", U"保证", U"确保", U"促进", U"加强", U"推动", U"帮助", U"支持",
                U"让",   U"使",   U"满足", U"保障", U"建设", U"发展", U"提供", U"服务", U"解决", U"打造"};
            static constexpr std::u32string_view kServing[] = {
                U"提供", U"服务", U"办理", U"缴纳", U"安排", U"推出", U"开通", U"分配", U"代收",
                U"解决", U"创造", U"带来", U"准备", U"编制", U"理发", U"着想", U"操心", U"担心",
                U"加油", U"祝福", U"量身", U"打造", U"送上", U"献上", U"争光", U"鼓掌", U"发放",
                U"购买", U"支付", U"承担", U"调拨", U"免费", U"减税", U"送",   U"做",   U"办",
                U"测量", U"更换", U"安装", U"检查", U"治疗", U"捐赠", U"修缮", U"修建", U"兴建",
                U"建造", U"盖",   U"谋",   U"争取", U"筹集", U"募捐", U"讨回", U"排忧"};
            auto among = [](const auto &set, std::u32string_view w) {
                return !w.empty() && std::any_of(std::begin(set), std::end(set),
                                                 [&](std::u32string_view x) { return w.ends_with(x); });
            };
            // The one served: a word that ends as one of the list (中小企业, 外来务工人员), after at
            // most four words of five characters before it (每位用户, 新入职的员工), unless a verb of
            // aim comes first.
            std::size_t k = i + 1;
            if (led || std::find(std::begin(kAims), std::end(kAims), wordAtStart(k)) != std::end(kAims))
                continue;
            for (std::size_t before = 0; before < 4 && k - (i + 1) < 5; ++before) {
                const std::u32string_view w = wordAtStart(k);
                if (w.empty() || among(kServed, w))
                    break;
                k += w.size();
            }
            if (!among(kServed, wordAtStart(k)))
                continue;
            k += wordAtStart(k).size();
            // Its verb right after it, or after one adverb (本店为顾客免费提供包装).
            for (int step = 0; step < 2 && k < n; ++step) {
                const std::u32string_view v = wordAtStart(k);
                if (v.empty())
                    break;
                if (std::any_of(std::begin(kServing), std::end(kServing),
                                [&](std::u32string_view s) { return v.starts_with(s); })) {
                    syl[i] = m_wei4;
                    break;
                }
                k += v.size();
            }
        }
    // 为 opening a clause that names what a thing is among others is the copula, wéi (巢湖位于安徽
    // 中部，为长江下游最大的湖泊; 该公司成立于1998年，为国内最大的乳企之一; 今为当地最古老的佛寺),
    // where the models read "for" from the clause before. Not where a verb is done for someone
    // (，为客户提供最好的服务, 为球队打进了最关键的一球, 为城市发展作出重要的贡献).
    if ((has & kTrWei) && m_wei2 != kNoSyllable && m_wei4 != kNoSyllable)
        for (std::size_t i = 0; i + 3 < n; ++i) {
            if (run[i] != U'为' || syl[i] != m_wei4 || !r.standsAlone(i))
                continue;
            const bool opens = i == 0 ? r.before == PinyinBoundary::Punctuation
                                      : i == 1 && in(U"今曾均皆多亦也即仍则现乃实原现", run[0]);
            if (!opens)
                continue;
            const std::u32string_view rest(run.data() + i + 1, n - i - 1);
            static constexpr std::u32string_view kAmong[] = {U"之一", U"之首", U"之所", U"之地", U"之冠"};
            static constexpr std::u32string_view kFirst[] = {U"最",   U"唯一", U"现存", U"第一",
                                                             U"首个", U"首座", U"重要", U"主要",
                                                             U"著名", U"代表", U"早期", U"传统"};
            // ...ending in 之一 or the like, or a phrase with 的 that ranks it (最大的, 重要的).
            const bool among =
                std::any_of(std::begin(kAmong), std::end(kAmong),
                            [&](std::u32string_view a) { return rest.ends_with(a); }) ||
                (rest.find(U'的') != std::u32string_view::npos &&
                 std::any_of(std::begin(kFirst), std::end(kFirst), [&](std::u32string_view f) {
                     // Opening the clause or after a place or a time (国内最大的, 东北地区
                     // 重要的, 当地最古老的), not after a verb (作出重要的贡献, 贡献最大的力量).
                     const std::size_t at = rest.find(f);
                     return at != std::u32string_view::npos &&
                            (at == 0 || in(U"的内国界省市县区地洲存时上湾岸中外", rest[at - 1]));
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
            if (among && !done && !forSomeone)
                syl[i] = m_wei2;
        }
    // A surname before a title reads as the surname (单经理 Shàn, 解主任 Xiè, 区先生 Ōu, 仇经理 Qiú,
    // 缪老师 Miào, 查老师 Zhā, 朴先生 Piáo, 纪老师 Jǐ, 华老师 Huà); those that are verbs or words of
    // their own only where no verb leads them (查会计账目, 请查老师的资料, 接单师傅, 在华律师).
    for (std::size_t i = 0; (has & kTrSurname) && i + 2 < n; ++i) {
        const auto surname = std::u32string_view(U"单解区仇缪查朴纪华").find(run[i]);
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
    // 调到 after 把 and before a number or 最 sets a dial, tiáo (把空调调到二十六度, 把闹钟调到
    // 7点), alone or as the word, which reads the transfer, diào (他被调到北京, 把他调到销售部).
    if ((has & kTrTiao) && m_tiao2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i)
            if (run[i] == U'调' && run[i + 1] == U'到' && r.wordStart[i] && r.end[i] <= i + 2 &&
                (isNumeral(run[i + 2]) || run[i + 2] == U'最') && occursBefore(i, U'把'))
                syl[i] = m_tiao2;
    // 地 after an adverbial the dictionary reads with it (高兴地, 认真地, 勇敢地) is the particle
    // before a verb, where the segmentation took 地 into a noun whose second character starts the
    // verb (高兴地点了点头, 认真地区分, 勇敢地面对, 小心地上前): that character with the one after it
    // is a word, or 点 nods (点了点头). Nouns after adjectives keep dì (重要地位, 贫困地区分布).
    if ((has & kTrDi) && m_de5 != kNoSyllable)
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
    // chief), but not the chief of an office nor growth (班长一米八五, 一年生长两米).
    if ((has & kTrChang) && m_chang2 != kNoSyllable)
        for (std::size_t i = 1; i + 2 < n; ++i)
            if (run[i] == U'长' && r.wordEnd[i] && !r.standsAlone(i) && isNumeral(run[i + 1]) &&
                !in(kOffices, run[i - 1]) && !in(U"年月天周生成增延助擅见特专", run[i - 1]) &&
                nearAfter(i + 2, 3, U"米尺寸里码丈"))
                syl[i] = m_chang2;
    // 卷 after an ordinal is a volume, juàn, in whatever word (第三卷; 共十卷 may be rolls).
    if ((has & kTrJuan) && m_juan4 != kNoSyllable)
        for (std::size_t i = 2; i < n; ++i) {
            if (run[i] != U'卷' || !isNumeral(run[i - 1]))
                continue;
            std::size_t k = i - 1;
            while (k > 0 && isNumeral(run[k - 1]))
                --k;
            if (k > 0 && run[k - 1] == U'第')
                syl[i] = m_juan4;
        }
    // 将 closing a general's word (蜀将, 敌将) before 其 leads what is done to, jiāng (秦将其击败);
    // before a name it stays the general (蜀将魏延), and so before 之 (名将之后, 主将之一). 上将 is
    // mostly 上 closing a place and the future (屏幕上将显示, 在这个问题上将有所突破, 在新的岗位上将
    // 继续, 在此基础上将与各方合作), as the dictionaries read it, but a rank opening the clause,
    // after a service, a grade, a country or one counted, before 军衔, ending the clause, and
    // before 的 or 和 where no 在 comes first (海军上将, 一级上将, 美国上将, 两名上将, 授予上将军衔,
    // 晋升为上将。, 上将和中将).
    if ((has & kTrJiang) && m_jiang1 != kNoSyllable && m_jiang4 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i) {
            if (run[i] != U'将' || !r.wordEnd[i])
                continue;
            if (run[i - 1] == U'上' && r.wordStart[i - 1]) {
                const bool rankBefore =
                    (i == 1 &&
                     (r.before == PinyinBoundary::Edge || r.before == PinyinBoundary::Punctuation) &&
                     !(i + 1 < n && in(U"它其之这那此该所", run[i + 1]))) ||
                    (i > 1 &&
                     (in(U"军级国老", run[i - 2]) ||
                      (in(U"名位", run[i - 2]) && !(i > 2 && in(U"岗职单地座部方学排", run[i - 3])))));
                const bool rankAfter = i + 1 == n || in(U"军衔", run[i + 1]) ||
                                       (in(U"的和与", run[i + 1]) && !occursBefore(i - 1, U'在'));
                if (rankBefore || rankAfter)
                    syl[i] = m_jiang4;
            } else if (i + 1 < n && run[i + 1] == U'其' && r.end[i + 1] == i + 2)
                syl[i] = m_jiang1;
        }
    auto oneOf = [](std::u32string_view w, std::initializer_list<std::u32string_view> set) {
        return std::find(set.begin(), set.end(), w) != set.end();
    };
    // Polyphones read by the words and characters around them, in one pass over the run.
    for (std::size_t i = 0; (has & kTrWords) && i < n; ++i) {
        if (!(triggersOf(run[i]) & kTrWords))
            continue;
        const bool last = i + 1 == n;
        switch (run[i]) {
        case U'将':
            // 将门 before what is done to a door is "the door", jiāng mén (请你将门关上, 他将门推开); the
            // general's house keeps jiàng (出身将门, 将门出虎子, 凭着将门关系, 将门开枝散叶).
            if (m_jiang1 != kNoSyllable && i + 2 < n && run[i + 1] == U'门' && r.wordStart[i] &&
                r.end[i] == i + 2 &&
                oneOf(wordAtStart(i + 2),
                      {U"关",   U"关上", U"关好", U"关紧", U"关掉", U"打开", U"推开", U"推",   U"锁上",
                       U"锁好", U"锁",   U"拉开", U"拉上", U"带上", U"掩上", U"堵上", U"堵住", U"封上",
                       U"封住", U"撞开", U"踢开", U"砸开", U"敲开", U"反锁", U"敞开"}))
                syl[i] = m_jiang1;
            // A general of a dynasty or state before his name, jiàng (明将袁崇焕, 吴将陆抗, 宋将岳飞); not a
            // person called so (老赵将王经理送到机场) nor before 于 (韩将于下周举行大选).
            else if (
                m_jiang4 != kNoSyllable && i > 0 && !last && r.standsAlone(i) && r.standsAlone(i - 1) &&
                in(U"秦楚齐燕赵韩魏蜀吴晋隋唐宋元明清金辽汉夏周", run[i - 1]) &&
                !(i > 1 && in(U"老小大阿姓", run[i - 2])) &&
                in(U"袁陆李张王刘陈杨黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩唐冯董萧程曹邓许傅沈曾彭吕苏卢"
                   U"蒋蔡贾丁魏薛叶阎余潘杜戴夏钟汪田任姜范方石姚谭廖邹熊金郝孔白崔康毛邱秦江史顾侯邵孟龙"
                   U"段雷钱汤尹黎易常武乔贺赖龚文关岳乐耿祖甘羊",
                   run[i + 1]) &&
                !oneOf(wordAtStart(i + 1), {U"王位", U"王国", U"王朝", U"金银", U"白菜", U"石头", U"马匹"}))
                syl[i] = m_jiang4;
            break;
        case U'幢':
            // 幢幢 before buildings counts them, zhuàng (幢幢高楼, 幢幢别墅); shadows that flicker stay
            // chuáng (人影幢幢, 鬼影幢幢的房间).
            if (m_zhuang4 != kNoSyllable && i + 2 < n && run[i + 1] == U'幢' && run[i + 2] != U'的' &&
                nearAfter(i + 2, 2, U"楼房厦宅舍墅筑"))
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
            // Counted animals and things, zhī, after a number however the segmentation took it (三千只,
            // 数千只白鹤, 几只小鸟); not the adverb after a number (三千万只是开始, 十五只能在家过, 第二只
            // 因为, 一千只够买一半), nor after the 一 of 唯一 or 统一, nor 数 (参数只能).
            if (m_zhi1 != kNoSyllable && i > 0 && afterCount(i, U"几") &&
                (isNumeral(run[i - 1]) || r.wordStart[i - 1]) &&
                !(!last &&
                  in(U"是能有因够买要好会在上说得剩用为需可差不花占考看做卖限怕收送比退换租借", run[i + 1])))
                syl[i] = m_zhi1;
            break;
        case U'降': {
            // Surrendering, xiáng: after 出, 投, 归, 纳, 招, 劝, 迎 or 诈 (刘禅出降, 皆出城迎降), or before
            // 于 and a state's army, court or king, or a people or a ruler (降于匈奴, 降于清军; 气温降于零下,
            // 飞机降于秦皇岛, 大雪降于晋北, 祸降于齐 fall, jiàng).
            if (m_xiang2 == kNoSyllable || !r.standsAlone(i))
                break;
            const std::u32string_view to = i + 2 < n && run[i + 1] == U'于' ? wordAtStart(i + 2) : U"";
            // 皆, 遂 and 乃 too where the word before names generals, armies or towns and the clause
            // ends (诸将皆降。诸郡皆降，; 物价皆降三成, 城内气温遂降, 守军士气遂降 jiàng).
            const std::u32string_view who = i > 1 ? wordBefore(i - 1) : std::u32string_view();
            const bool yielded = i > 1 && in(U"皆遂乃", run[i - 1]) && r.standsAlone(i - 1) &&
                                 (last || run[i + 1] == U'于') && !who.empty() &&
                                 in(U"将军郡城部众卒兵臣守士", who.back());
            if ((i > 0 && in(U"出投归纳招劝迎诈", run[i - 1]) && r.standsAlone(i - 1)) || yielded ||
                (to.size() == 1 && in(U"秦楚齐燕赵韩魏蜀吴晋隋唐宋元明清金辽汉曹刘", to[0]) && i + 3 < n &&
                 in(U"军国朝廷王", run[i + 3])) ||
                oneOf(to, {U"匈奴", U"突厥", U"鲜卑", U"后金", U"曹操", U"刘备", U"孙权", U"清朝",
                           U"明朝", U"元朝", U"金国", U"秦国", U"楚国", U"魏国", U"吴国", U"蜀汉",
                           U"西夏", U"辽国", U"蒙古", U"清军", U"金军", U"元军"}))
                syl[i] = m_xiang2;
            break;
        }
        case U'角': {
            // A part in a play, jué, counted after one who plays it (饰演的李白一角, 分饰两角; 饰品店位于
            // 商场一角, 打扮好后站在舞台一角 are corners).
            if (m_jue2 == kNoSyllable || i == 0 || !in(U"一两", run[i - 1]) || !r.wordStart[i - 1] ||
                r.end[i - 1] != i + 1)
                break;
            const std::size_t from = i > 15 ? i - 15 : 0;
            const std::u32string_view before(run.data() + from, i - 1 - from);
            // The verb, not the one who plays (饰演者坐在后台一角).
            bool plays = false;
            for (std::u32string_view v : {U"饰演", U"扮演", U"分饰"})
                for (auto at = before.find(v); at != std::u32string_view::npos; at = before.find(v, at + 1))
                    plays = plays || !(at + 2 < before.size() && before[at + 2] == U'者');
            if (plays)
                syl[i] = m_jue2;
            break;
        }
        case U'得': {
            // A subject and "must" the segmentation joined (他得, 我们得) before a number of points is
            // scoring, dé (他得九十五分, 我得八十分就够了); not 十分 "very" before what must be (我得十分
            // 小心), nor minutes (他得十五分钟).
            if (m_de2 != kNoSyllable && syl[i] == m_dei3 && i > 0 && r.wordEnd[i] && i + 2 < n &&
                isNumeral(run[i + 1])) {
                std::size_t k = i + 1;
                while (k < n && isNumeral(run[k]))
                    ++k;
                const bool points = k < n && run[k] == U'分' && !(k + 1 < n && in(U"钟熟", run[k + 1]));
                const bool very = k == i + 2 && run[i + 1] == U'十' && k + 1 < n &&
                                  !in(U"了就才便也都能即可以", run[k + 1]);
                if (points && !very)
                    syl[i] = m_de2;
                break;
            }
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
                nearAfter(0, n, U"赛戏演影"))
                break;
            std::size_t k = i + 1;
            if (k + 1 < n && in(U"大小暴春秋冬夏冰急重阵", run[k]))
                ++k;
            if (in(U"雨雪雹霜病灾", run[k]) && !(k + 1 < n && in(U"人景地天具衣伞季量水", run[k + 1])))
                syl[i] = m_chang2;
            break;
        }
        case U'着':
            // 着 closing a verb's word before 了 is reached, zháo (一根火柴划着了, 打火机打着了, 火点着了,
            // 球被他接着了); not 这么着了 and 怎么着了 (zhāo), nor before 了解 and its like.
            if (m_zhao2 != kNoSyllable && i > 0 && i + 1 < n && r.wordEnd[i] && r.wordStart[i - 1] &&
                run[i + 1] == U'了' && r.standsAlone(i + 1) && run[i - 1] != U'么')
                syl[i] = m_zhao2;
            break;
        case U'为':
            // 为由 after 以 is "as the reason", wéi (以风控为由取消了订单); the 以 standing alone, not in
            // 所以, 可以, 难以 (可以为由此带来的不便道歉 wèi).
            if (m_wei2 != kNoSyllable && i > 0 && !last && run[i + 1] == U'由' &&
                !(i + 2 < n && in(U"此他她于", run[i + 2])) && aloneBefore(i, U'以'))
                syl[i] = m_wei2;
            break;
        default:
            break;
        }
    }
    // 见长 after 以 is what one excels at, cháng (他的书法以行书见长, 该校以培养应用型人才见长;
    // 个子见长 grows, zhǎng, and so after 以 inside 以后, 所以, 可以, or where a speed grows:
    // 以肉眼可见的速度见长).
    if ((has & kTrChang) && m_chang2 != kNoSyllable)
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
        return k > 0 && r.wordStart[k - 1] && in(U"晋楚齐秦燕赵魏鲁宋卫郑吴越陈蔡曹", run[k - 1]);
    };
    if ((has & kTrDa) && m_da4 != kNoSyllable && m_fu1 != kNoSyllable)
        for (std::size_t i = 1; i + 1 < n; ++i)
            if (run[i] == U'大' && run[i + 1] == U'夫' && r.wordStart[i] && r.end[i] == i + 2 &&
                ofOldState(i)) {
                syl[i] = m_da4;
                syl[i + 1] = m_fu1;
            }
    // 分子 is a molecule, fēn (分子结构, 由于分子构象不同), and a member of a kind of people after
    // what they are, fèn (腐败分子, 好战分子, 恐怖主义分子, 右派分子, 其中一分子).
    if ((has & kTrFen) && m_fen1 != kNoSyllable && m_fen4 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (run[i] != U'分' || run[i + 1] != U'子' || !r.wordStart[i] || r.end[i] != i + 2)
                continue;
            static constexpr std::u32string_view kKinds[] = {
                U"腐败", U"好战", U"恐怖", U"犯罪", U"不法", U"积极", U"反动", U"极端", U"激进",
                U"武装", U"黑恶", U"危险", U"异己", U"坏",   U"骨干", U"分裂", U"叛乱", U"暴力",
                U"投机", U"落后", U"先进", U"进步", U"流氓", U"中坚", U"一",   U"敌对", U"反革命",
                U"右派", U"左派", U"不良", U"可疑", U"黑帮", U"贪腐", U"动乱", U"暴恐", U"腐化",
                U"堕落", U"精英", U"文艺", U"青年", U"活跃", U"核心", U"中产"};
            const std::u32string_view before = wordBefore(i);
            const bool kind =
                i > 0 && (before.ends_with(U"主义") || before.ends_with(U"派") ||
                          std::find(std::begin(kKinds), std::end(kKinds), before) != std::end(kKinds));
            syl[i] = kind ? m_fen4 : m_fen1;
        }
    // 传 alone ending a book's title is a biography, zhuàn (《诸葛亮传》, 《高僧传》; 《宣传》 and
    // 《名不虚传》 keep their words).
    if (r.endsTitle && m_zhuan4 != kNoSyllable && n >= 2 && run[n - 1] == U'传' && r.standsAlone(n - 1))
        syl[n - 1] = m_zhuan4;
    // 有多重 ending a run asks a weight, zhòng (这个箱子有多重？); elsewhere 多重 is manifold, chóng
    // (具有多重身份, 身份多重).
    if (m_zhong4 != kNoSyllable && n >= 3 && run[n - 3] == U'有' && run[n - 2] == U'多' &&
        run[n - 1] == U'重' && r.wordStart[n - 2] && r.end[n - 2] == n)
        syl[n - 1] = m_zhong4;
    // 一行 is a travelling party, xíng, after those who travel (代表团一行, 市长一行, 他们一行), before how
    // many they are (他一行三十余人; 一行二十字 and 一行八个人 are a line and a row) and before their journey
    // (玄奘一行历经艰险到达天竺).
    if ((has & kTrHang) && m_xing2 != kNoSyllable)
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
    if ((has & kTrZhe) && m_zhe5 != kNoSyllable)
        for (std::size_t i = 1; i < n; ++i)
            if (run[i] == U'着' && in(kHoldVerbs, run[i - 1]) && r.standsAlone(i - 1) &&
                !(i + 1 < n && run[i + 1] == U'了') &&
                (r.standsAlone(i) ||
                 (r.wordStart[i] && r.end[i] == i + 2 && (run[i + 1] == U'手' || run[i + 1] == U'眼')))) {
                syl[i] = m_zhe5;
                if (!r.standsAlone(i))
                    syl[i + 1] = m_data.syllableOf(run[i + 1]);
            }
    // 为 alone or after him or her (他为, a word of its own) is wéi where it makes someone something
    // (朝廷任命他为知府, 册封其女为皇后), names whose child one is or what a place is counted among
    // (他为唐太宗第九子, ，为全国重点文物保护单位), names an office or a native place closing the
    // clause (他为大将军长史, 他为会稽山阴人), takes the doer of a passive (他为袁世凯所器重, 为秦军
    // 所俘; 为自己所说的话负责 serves) or equals a measure (约为每秒三十万公里). It is wèi where it
    // gives the purpose of what is done (该寺为纪念玄奘而建).
    if ((has & kTrWei) && m_wei2 != kNoSyllable && m_wei4 != kNoSyllable)
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (run[i] != U'为' || !(r.standsAlone(i) || (i > 0 && r.wordEnd[i] && r.wordStart[i - 1] &&
                                                          in(U"他她它", run[i - 1]))))
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
            // What one does a thing for, before 而 and the thing (为纪念玄奘而建; 标记为非阻塞而, 以字节
            // 为单位而 name, wéi).
            static constexpr std::u32string_view kPurposes[] = {
                U"纪念", U"保护", U"躲避", U"逃避", U"避免", U"防止", U"庆祝", U"研究", U"支持", U"争取",
                U"实现", U"完成", U"满足", U"适应", U"配合", U"迎接", U"解决", U"表彰", U"悼念", U"报答",
                U"追求", U"抵御", U"防御", U"保障", U"维护", U"促进", U"推动", U"加强", U"提高", U"改善",
                U"筹备", U"应对", U"寻找", U"谋求", U"保卫", U"掩护", U"救济", U"安置", U"方便", U"照顾"};
            static constexpr std::u32string_view kKin[] = {U"长子", U"次子", U"幼子",    U"之子",
                                                           U"之女", U"长女", U"次女",    U"之孙",
                                                           U"后裔", U"之一", U"保护单位"};
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
                U"参军", U"从事", U"司马", U"太尉", U"司徒", U"司空", U"太傅", U"太师", U"少保", U"监生"};
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
                std::find(std::begin(kAbout), std::end(kAbout), wordBefore(i)) != std::end(kAbout);
            if (appointed || child || passive || office || equals)
                syl[i] = m_wei2;
            else if (const std::size_t er = opensAt(U'而', 12, false);
                     er && !(er + 1 < n && in(U"非不是", run[er + 1])) &&
                     std::any_of(std::begin(kPurposes), std::end(kPurposes),
                                 [&](std::u32string_view v) { return rest.starts_with(v); }))
                syl[i] = m_wei4;
        }
    for (std::size_t i = 0; (has & kTrChars) && i < n; ++i) {
        if (!(triggersOf(run[i]) & kTrChars))
            continue;
        // A measure the segmentation joined to its number (三卷, 一杆, 一担水; 一担起责任) is read as one
        // standing alone.
        if (!r.standsAlone(i)) {
            const bool measure = in(U"卷杆", run[i]) ||
                                 (run[i] == U'担' && i + 1 < n && in(U"水米谷粮柴货肥土菜", run[i + 1]));
            if (!measure || !(i > 0 && r.wordStart[i - 1] && r.end[i - 1] == i + 1 && isNumeral(run[i - 1])))
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
            break;
        case U'率': {
            // Leading troops or followers, shuài (邓艾率偏师, 率众来降; 率偏高 is a rate).
            const bool leads =
                !last && ((in(U"众部师军兵舰", run[i + 1]) && !(i + 2 < n && run[i + 2] == U'所')) ||
                          (run[i + 1] == U'偏' && i + 2 < n && run[i + 2] == U'师'));
            if (m_shuai4 != kNoSyllable && leads)
                syl[i] = m_shuai4;
            else if (m_lv4 != kNoSyllable && i > 0 && syl[i] == m_shuai4 &&
                     (last || in(kAfterRate, run[i + 1])))
                syl[i] = m_lv4;
            break;
        }
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
            // Before an adverb of degree it links a verb to how it was done (跑得比他快, 下得很大,
            // 肿得像个馒头); before a number of points it is scoring, dé (先得四分, 投中得三分,
            // 只要得十分就能晋级), unless 十分 is "very" before how it was done (发挥得十分出色).
            else if (m_de5 != kNoSyllable && i > 0 && !last && in(U"很太比更挺真像透", run[i + 1]))
                syl[i] = m_de5;
            else if (m_de2 != kNoSyllable && i + 2 < n && isNumeral(run[i + 1]) && run[i + 2] == U'分' &&
                     !(i + 3 < n && (run[i + 3] == U'钟' || run[i + 3] == U'熟')))
                syl[i] = run[i + 1] == U'十' && i > 0 && i + 3 < n &&
                                 !in(U"了就才便也都能即可以", run[i + 3]) && m_de5 != kNoSyllable
                             ? m_de5
                             : m_de2;
            // ...and before a number of two or three characters of points (先得十一分者胜, 先得二十五分),
            // not after a verb of two characters it completes (收拾得十二分干净), nor before minutes.
            else if (m_de2 != kNoSyllable && i + 3 < n && isNumeral(run[i + 1]) && isNumeral(run[i + 2]) &&
                     wordBefore(i).size() < 2) {
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
            else if ((i == 0 && (r.before == PinyinBoundary::Edge || r.before == PinyinBoundary::Latin)) ||
                     (i >= 2 && run[i - 1] == U'里' && in(U"一二三四五六七八九十两几半", run[i - 2])) ||
                     (i > 0 && in(U"在其", run[i - 1]) && r.standsAlone(i - 1)) ||
                     (i >= 2 && in(U"块亩片", run[i - 1]) &&
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
            const bool invited = says({U"之邀", U"之召", U"之聘", U"之请", U"之约"}) &&
                                 !says({U"接受", U"参加", U"前往", U"答应"});
            const bool demanded = says({U"要求", U"需要", U"需求", U"委托", U"之约", U"变化"});
            // Ending the clause it answers, yìng (敲了半天门，没人应。叫他不应): what ought to be
            // done leads a verb. Not the surname (他姓应).
            const bool answers = i > 0 && last && run[i - 1] != U'姓' &&
                                 (r.after == PinyinBoundary::Punctuation ||
                                  (r.after == PinyinBoundary::Edge && in(U"人不谁", run[i - 1])));
            if (m_ying4 != kNoSyllable && (invited || answers))
                syl[i] = m_ying4;
            else if (m_ying1 != kNoSyllable && syl[i] == m_ying4 && !last && !demanded &&
                     !in(U"邀召聘声试考征募诏了着过者性下季时门天届", run[i + 1]) &&
                     !nearAfter(i + 1, 12, U"邀召聘请试诏募") &&
                     !(i > 0 && in(U"对反照适响供答呼回感效报顺内", run[i - 1])))
                syl[i] = m_ying1;
            break;
        }
        case U'攒':
            // Saving up money or stamps, zǎn (攒了半年的零花钱, 攒了上千枚邮票); putting together, cuán (攒了
            // 一台电脑, 攒了个饭局, 攒了一桌酒席).
            if (m_zan3 != kNoSyllable && nearAfter(i + 1, 8, U"钱蓄票积币存"))
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
            if (m_lv3 != kNoSyllable && nearAfter(i + 1, 6, U"胡须发"))
                syl[i] = m_lv3;
            break;
        case U'泡':
            // Soaking, pào, before what is soaked or how (泡水代茶, 泡坏了, 泡在水里); a bladder of
            // urine counted is pāo (一泡尿).
            if (m_pao4 != kNoSyllable && !last && in(U"水茶澡脚坏软发开在着了一过上", run[i + 1]) &&
                !afterCount(i, U"几"))
                syl[i] = m_pao4;
            break;
        case U'刨':
            // Planing wood, bào (把木板刨得又平又光, 刨着木板); digging is páo (刨着地里的红薯,
            // 刨得深一点, 刨了个坑).
            if (m_bao4 != kNoSyllable && (nearAfter(i + 1, 4, U"木板") ||
                                          (i + 2 < n && run[i + 1] == U'得' &&
                                           nearAfter(i + 2, 3, U"平光滑") && nearBefore(i, 6, U"木板"))))
                syl[i] = m_bao4;
            break;
        case U'臊':
            // Shamed, sào, before 得 and a red face (臊得耳朵根都红了, 臊得无地自容); a stink, sāo, after
            // where it is (厕所里臊得很, 膻臊得很).
            if (m_sao4 != kNoSyllable && !last && run[i + 1] == U'得' &&
                nearAfter(i + 2, 6, U"红脸容抬躲羞") && !nearBefore(i, 3, U"里尿膻狐腥臭骚"))
                syl[i] = m_sao4;
            break;
        case U'系':
            // Tying, jì, a belt, a rope, a lace or a tie (腰系安全绳, 鞋带系了两次).
            if (m_ji4 != kNoSyllable && !(!last && in(U"他她我你由于", run[i + 1])) &&
                (nearBefore(i, 3, U"腰带绳鞋扣领") || nearAfter(i + 1, 3, U"带绳扣领鞋")))
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
                ((i > 0 && in(U"抡挥举铁洋用", run[i - 1])) || nearBefore(i, 4, U"锄镰锹铲斧镢锨") ||
                 nearAfter(i + 1, 4, U"锄镰锹铲斧镢锨") ||
                 (!last && run[i + 1] == U'的' && nearAfter(i + 2, 3, U"端尖刃柄"))))
                syl[i] = m_gao3;
            break;
        case U'和':
            // Mixing with water into dough or mud, huó (加水和成面团, 面粉和成团; 我和成团长, 和成团的游客
            // hé).
            if (m_huo2 != kNoSyllable && i + 2 < n && run[i + 1] == U'成' && in(U"面泥团浆", run[i + 2]) &&
                nearBefore(i, 4, U"水粉面土灰"))
                syl[i] = m_huo2;
            break;
        case U'汗':
            if (m_han4 != kNoSyllable &&
                (i == 0 || in(U"身了擦流出冒盗虚冷热臭些点是多满把滴手脚额背", run[i - 1])))
                syl[i] = m_han4;
            break;
        case U'长':
            if (m_chang2 != kNoSyllable && i > 0 && syl[i] == m_zhang3 &&
                (in(U"很太挺更最较", run[i - 1]) ||
                 (i + 2 < n && isNumeral(run[i + 1]) && !in(U"年月天周", run[i - 1]) &&
                  nearAfter(i + 2, 3, U"米尺寸里码丈")) ||
                 ((last ? r.after != PinyinBoundary::Edge : run[i + 1] == U'的') &&
                  !in(kOffices, run[i - 1]))))
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
                   occursBefore(i, U'把'))) ||
                 (!last && in(U"了完的", run[i + 1]) && r.standsAlone(i + 1)) ||
                 (!last && run[i + 1] == U'上' && r.standsAlone(i + 1) &&
                  (i + 2 == n || in(U"再吧", run[i + 2]) ||
                   (run[i + 2] == U'了' && (i + 3 == n || (i + 4 == n && in(U"吗吧", run[i + 3]))))))))
                syl[i] = m_huan2;
            break;
        case U'量':
            if (m_liang2 != kNoSyllable && !last &&
                (run[i + 1] == kYi || run[i + 1] == U'量' ||
                 (i + 2 < n && isNumeral(run[i + 1]) && in(U"次遍下回", run[i + 2])) ||
                 (run[i + 1] == U'了' && i > 0 && in(U"他她你我们给帮先再", run[i - 1])) ||
                 // Measuring a temperature, a body or a line (给孩子量了体温, 用量角器量出度数).
                 ((run[i + 1] == U'出' && !(i + 2 < n && in(U"为制", run[i + 2]))) ||
                  nearAfter(i + 1, 3, U"体血身尺腰"))))
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
            if (m_tiao2 != kNoSyllable && !occursBefore(i, U'被') &&
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
            if (m_dan4 != kNoSyllable && afterCount(i, U"几数每"))
                syl[i] = m_dan4;
            break;
        case U'斗':
            // The measure of grain, dǒu, after a number (三斗米, 十斗为一斛; 斗争 and 斗殴 are words).
            // Not after the 一 of 万一 or 唯一, nor before 不, 得, 过 or 地 (斗不过他, 斗地主).
            if (m_dou3 != kNoSyllable && afterCount(i, U"几数半") && !(!last && in(U"不得过地", run[i + 1])))
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
            else if (m_zhe5 != kNoSyllable && syl[i] != m_zhe5 && wordBefore(i).size() >= 2 &&
                     !in(U"不得", run[i - 1]) && !(!last && in(U"火凉急迷陆落慌魔", run[i + 1])) &&
                     !(i + 2 < n && run[i + 1] == U'了' && in(U"火凉急迷慌魔", run[i + 2])))
                syl[i] = m_zhe5;
            break;
        case U'当':
            // Taken as, dàng: after 把 (把她当妹妹看, 别把我当小孩; 把他请来当顾问 serves, dāng) and
            // before a person who is taken for something (我当你是朋友, 她当我是空气; 当我是学生的
            // 时候 and 当你是初学者， opening a clause are when, dāng).
            if (m_dang4 != kNoSyllable && !(i > 0 && in(U"来去", run[i - 1])) &&
                (occursBefore(i, U'把') ||
                 (i > 0 && i + 2 < n && in(U"我你他她它", run[i + 1]) && run[i + 2] == U'是' &&
                  std::u32string_view(run.data() + i, n - i).find(U'时') == std::u32string_view::npos)))
                syl[i] = m_dang4;
            break;
        case U'冲':
            // Towards someone, chòng: 他冲我笑了笑, 你冲谁发火呢 (用开水冲你的奶粉 rinses, chōng).
            if (m_chong4 != kNoSyllable && !last && in(U"我你他她谁您咱", run[i + 1]) &&
                !occursBefore(i, U'用') && !nearAfter(i + 1, 3, U"的"))
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
            break;
        case U'落':
            // Left behind, là: a thing one carries, after 把, before 在 or 了 (把钥匙落在家里了).
            if (m_la4 != kNoSyllable && i > 2 && !last && in(U"在了", run[i + 1]) && !r.wordStart[i - 1]) {
                static constexpr std::u32string_view kCarried[] = {
                    U"钥匙", U"作业", U"作业本", U"手机", U"东西", U"书包", U"雨伞",   U"钱包",
                    U"本子", U"证件", U"身份证", U"外套", U"帽子", U"文件", U"充电器", U"眼镜",
                    U"课本", U"包",   U"充电宝", U"耳机", U"雨衣", U"卡"};
                const std::u32string_view carried = wordBefore(i);
                if (occursBefore(i - carried.size(), U'把') &&
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
                 (last && occursBefore(i, U'绕')) ||
                 (i + 2 < n && run[i + 1] == U'得' && !in(U"过出回到进", run[i + 2])) ||
                 (i > 0 && run[i - 1] == U'在' && (last || in(kParticles, run[i + 1]))) ||
                 // Spinning in place (打着转儿, 石磨一圈圈地转。风扇一直狂转).
                 (!last && run[i + 1] == U'儿') || (last && i > 0 && in(U"地狂乱飞旋", run[i - 1])) ||
                 // Spinning faster or slower (陀螺越转越快, 轮子越转越慢).
                 (i > 0 && i + 2 < n && run[i - 1] == U'越' && run[i + 1] == U'越' &&
                  in(U"快慢急猛", run[i + 2])) ||
                 // Revolutions, after their number where minutes or 转速 count them (每分钟三千转,
                 // 转速达到六千转, 7200转/分; 这条微博1000转的时候, 三十万转 are reposts, zhuǎn).
                 (i == 0 ? r.before == PinyinBoundary::Digit && last && r.after == PinyinBoundary::Punctuation
                         : i > 1 && isNumeral(run[i - 1]) && isNumeral(run[i - 2]) &&
                               std::any_of(std::begin(kCountsTurns), std::end(kCountsTurns),
                                           [&](std::u32string_view w) {
                                               return std::u32string_view(run.data(), i).find(w) !=
                                                      std::u32string_view::npos;
                                           }) &&
                               (last || run[i + 1] == U'每'))))
                syl[i] = m_zhuan4;
            break;
        }
        case U'种':
            // Planted, zhòng: 种着很多树, 种了菜, 种满了花, 他种的菜.
            if (m_zhong4 != kNoSyllable &&
                ((!last && in(U"着了过满", run[i + 1])) || (i > 0 && in(U"他她我你们", run[i - 1]))))
                syl[i] = m_zhong4;
            break;
        case U'盛':
            // Filling a bowl, chéng: 给我盛了一碗饭, 盛满.
            if (m_cheng2 != kNoSyllable && !last && in(U"了满碗饭汤", run[i + 1]) &&
                !(i > 0 && in(U"正最很极", run[i - 1]) && !(i + 2 < n && isNumeral(run[i + 2]))))
                syl[i] = m_cheng2;
            break;
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
            break;
        case U'创':
            // Standing alone before what it founds or sets, chuàng (赵佶创瘦金体, 于鹤鸣山创五斗米道, 股价
            // 创了新高), or ending a clause after 所 where someone founded it (为耶律迭剌所创，); the wound
            // ends its clause or follows what dealt it (身中三处箭创, 划了一道创。, 旧创复发, 为流矢所创),
            // and lives in its words (创伤, 重创, 受创) and in surgery's 微创.
            if (m_chuang4 != kNoSyllable && ((!last && !in(U"伤口疤", run[i + 1]) &&
                                              !(i > 0 && in(U"刀枪金受重微箭剑道的个旧新", run[i - 1]))) ||
                                             (i > 0 && run[i - 1] == U'所' && !occursBefore(i, U'被') &&
                                              !nearBefore(i - 1, 4, U"矢弹箭刀枪敌兵"))))
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
        case U'服':
            // The measure of medicine, fù: 开了几服中药, 吃了一服药.
            if (m_fu4 != kNoSyllable && i > 0 && !last && (isNumeral(run[i - 1]) || run[i - 1] == U'几') &&
                in(U"药中汤", run[i + 1]))
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
            // After a word, the ending of erhua (豆汁儿, 宝贝儿); not opening a run (儿啊), in a foreign
            // name (笛卡儿), as a son (一儿一女, 吾儿, 弃儿) nor in 儿化.
            if (m_er5 != kNoSyllable && syl[i] == m_er2 && i > 0 && !spellsForeignNames(run[i - 1]) &&
                !in(U"一吾我弃孤婴胎健幼男女孙侄混", run[i - 1]) &&
                !(!last && in(U"子女童孙时歌科化", run[i + 1])))
                syl[i] = m_er5;
            break;
        case U'卷':
            // Curled, juǎn, said of a thing before 的 (头发是卷的; AFS卷的 is a volume).
            // Counted rolls are juǎn too (一卷胶片, 每卷卫生纸; 第三卷, 一卷书, 三卷纸质文献, 三卷纸本 are
            // volumes).
            if (m_juan3 != kNoSyllable &&
                ((!last && run[i + 1] == U'的' && i > 0 && in(U"是很挺太都有点", run[i - 1])) ||
                 (afterCount(i, U"几数每") && nearAfter(i + 1, 3, U"纸胶布线绳钢带膜") &&
                  !(i + 2 < n && run[i + 1] == U'纸' && in(U"质张本墨盒面页品箱", run[i + 2])))))
                syl[i] = m_juan3;
            break;
        case U'钻':
            // Boring through, zuān: 钻了几个孔, 钻出地面, 钻透岩石, 钻来钻去 (这颗钻来自南非 is a diamond).
            if (m_zuan1 != kNoSyllable && !last &&
                (in(U"了出进透过去", run[i + 1]) ||
                 (run[i + 1] == U'来' && i + 2 < n && run[i + 2] == U'钻')))
                syl[i] = m_zuan1;
            break;
        case U'差':
            // A difference, chā, named as such (两个数的差是十五, 所得的差为正数).
            if (m_cha1 != kNoSyllable && i > 1 && run[i - 1] == U'的' && run[i - 2] != U'出' && !last &&
                in(U"是为", run[i + 1]))
                syl[i] = m_cha1;
            break;
        case U'貉':
            // The raccoon dog, hé (貉是犬科动物); háo lives in 貉子 and 貉绒.
            if (m_he2 != kNoSyllable)
                syl[i] = m_he2;
            break;
        case U'铺':
            // A place, pù: after a number of li (三十里铺村, 五里铺战役, 十里铺是个小镇; 十里铺完,
            // 五里铺有沥青 pū) or a family's name before 村, 镇 or 乡 (马家铺村, 张家铺镇; 新铺村级公路,
            // 重铺乡村道路 pave, pū).
            if (m_pu4 != kNoSyllable && i > 0 &&
                ((i >= 2 && run[i - 1] == U'里' && isNumeral(run[i - 2]) &&
                  (last || in(U"村镇乡站街路战位是", run[i + 1])) &&
                  !(i + 2 < n && run[i + 1] == U'是' && run[i + 2] == U'不')) ||
                 (!last && in(U"村镇乡", run[i + 1]) && run[i - 1] == U'家' &&
                  !(i + 2 < n && in(U"级口道路里上间民", run[i + 2])))))
                syl[i] = m_pu4;
            break;
        case U'幢':
            // Counting buildings, zhuàng (三幢楼, 购入数幢唐楼); the pillar of sutras is a word (经幢).
            if (m_zhuang4 != kNoSyllable && afterCount(i, U"几数每"))
                syl[i] = m_zhuang4;
            break;
        case U'杆':
            // Counting what has a shaft, gǎn, named before or after the count (两杆枪, 几杆大旗, 步枪十余杆);
            // strokes and rods stay gān (打了五杆, 两杆受力相同).
            if (m_gan3 != kNoSyllable && afterCount(i, U"几数每余") &&
                ((!last && in(U"枪旗笔秤烟", run[i + 1])) ||
                 (i + 2 < n && !r.wordStart[i + 2] && in(U"枪旗笔秤烟", run[i + 2])) ||
                 nearBefore(i, 6, U"枪旗笔秤")))
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
                nearBefore(i, 3, U"风"))
                syl[i] = m_jing4;
            break;
        case U'都':
            // A capital ending the clause in 以…为都, dū (以咸阳为都。; 你认为都？ dōu).
            if (m_du1 != kNoSyllable && last && i > 1 && run[i - 1] == U'为' && occursBefore(i - 1, U'以'))
                syl[i] = m_du1;
            break;
        case U'呛':
            // Smoke and smells sting, qiàng (浓烟呛得睁不开眼, 辣味呛人); water and food choke, qiāng,
            // whatever smoke was about (烟雾里他被一口饭呛得直咳嗽).
            if (m_qiang4 != kNoSyllable && !last && in(U"得人鼻眼", run[i + 1]) &&
                nearBefore(i, 10, U"烟味辣椒雾硫熏臭") && !nearBefore(i, 10, U"水汤饭奶喝吃粥茶酒"))
                syl[i] = m_qiang4;
            break;
        case U'樘':
            // Counting doors and windows, táng (入户门九十六樘, 每樘).
            if (m_tang2 != kNoSyllable && afterCount(i, U"几数每余"))
                syl[i] = m_tang2;
            break;
        case U'弄':
            // A lane counted in 条, lòng (三条弄。这条弄内; 这条弄不好, 把这条弄干净 nòng).
            if (m_long4 != kNoSyllable && i > 0 && run[i - 1] == U'条' &&
                (last || in(U"内口里中堂东西南北尾", run[i + 1])))
                syl[i] = m_long4;
            // Doing, nòng, before what comes of it (这么弄好的, 免得弄混, 弄坏了, 弄丢了), where the lanes'
            // model read lòng.
            else if (m_nong4 != kNoSyllable && syl[i] != m_nong4 && !last &&
                     in(U"好混坏丢脏乱错明清懂得了着出到成完湿干破断伤醒来去回坏个点些", run[i + 1]))
                syl[i] = m_nong4;
            break;
        case U'将':
            // The general one is made, jiàng, ending the clause after 为 (以卫青为将，拜为将。).
            if (m_jiang4 != kNoSyllable && last && i > 0 && run[i - 1] == U'为')
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
            if (m_zuo3 != kNoSyllable && afterCount(i, U"几数每") && hair)
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
        default:
            break;
        }
    }
    // 一 and 不 before the next syllable's own tone; before a neutral tone, the tone that
    // character has on its own (不是 shi5 still makes 不 bú). 一 in a sum or a score keeps yī
    // (一加一, 三比一, 从一到十, 从一数到十; 一加热, 再加一点, 自从一到北京 change), as does
    // Monday (每周一至周五, 下周一起实施; 每周一次 changes) and the first of a month (五月一号; 小一号
    // changes).
    auto toneAt = [&](std::size_t k) {
        const int t = m_data.syllableName(syl[k]).back() - '0';
        return t != 5 ? t : m_data.syllableName(m_data.syllableOf(run[k])).back() - '0';
    };
    for (std::size_t i = 0; (has & kTrYiBu) && i < n; ++i) {
        if (run[i] == kYi && m_yi1 != kNoSyllable && m_data.syllableName(syl[i]).starts_with("yi")) {
            const bool plain =
                r.wordEnd[i] || i + 1 == n || (i > 0 && (run[i - 1] == U'第' || isNumeral(run[i - 1]))) ||
                isDigitNumeral(run[i + 1]) || run[i + 1] == U'月' ||
                (run[i + 1] == U'号' && !(i > 0 && in(U"大小加", run[i - 1]))) ||
                (i > 0 && run[i - 1] == U'周' && (i == 1 || in(U"每下上本这该", run[i - 2])) &&
                 !(i + 1 < n && in(U"次回遍个天周趟顿期篇歌练首份张本章节集幅", run[i + 1]))) ||
                (i > 0 && run[i - 1] == U'月' && (run[i + 1] == U'日' || run[i + 1] == U'号')) ||
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
