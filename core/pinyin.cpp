#include "pinyin.h"

#include <algorithm>
#include <cstring>

namespace core {
namespace {

constexpr std::int16_t kBlockFirst = -20319; // 0xB0A1, 啊
constexpr std::int16_t kBlockLast = -10247;  // 0xD7F9, 座

constexpr Syllable kSyllables[] = {
    {u"A", -20319},     {u"Ai", -20317},     {u"An", -20304},     {u"Ang", -20295},   {u"Ao", -20292},
    {u"Ba", -20283},    {u"Bai", -20265},    {u"Ban", -20257},    {u"Bang", -20242},  {u"Bao", -20230},
    {u"Bei", -20051},   {u"Ben", -20036},    {u"Beng", -20032},   {u"Bi", -20026},    {u"Bian", -20002},
    {u"Biao", -19990},  {u"Bie", -19986},    {u"Bin", -19982},    {u"Bing", -19976},  {u"Bo", -19805},
    {u"Bu", -19784},    {u"Ca", -19775},     {u"Cai", -19774},    {u"Can", -19763},   {u"Cang", -19756},
    {u"Cao", -19751},   {u"Ce", -19746},     {u"Ceng", -19741},   {u"Cha", -19739},   {u"Chai", -19728},
    {u"Chan", -19725},  {u"Chang", -19715},  {u"Chao", -19540},   {u"Che", -19531},   {u"Chen", -19525},
    {u"Cheng", -19515}, {u"Chi", -19500},    {u"Chong", -19484},  {u"Chou", -19479},  {u"Chu", -19467},
    {u"Chuai", -19289}, {u"Chuan", -19288},  {u"Chuang", -19281}, {u"Chui", -19275},  {u"Chun", -19270},
    {u"Chuo", -19263},  {u"Ci", -19261},     {u"Cong", -19249},   {u"Cou", -19243},   {u"Cu", -19242},
    {u"Cuan", -19238},  {u"Cui", -19235},    {u"Cun", -19227},    {u"Cuo", -19224},   {u"Da", -19218},
    {u"Dai", -19212},   {u"Dan", -19038},    {u"Dang", -19023},   {u"Dao", -19018},   {u"De", -19006},
    {u"Deng", -19003},  {u"Di", -18996},     {u"Dian", -18977},   {u"Diao", -18961},  {u"Die", -18952},
    {u"Ding", -18783},  {u"Diu", -18774},    {u"Dong", -18773},   {u"Dou", -18763},   {u"Du", -18756},
    {u"Duan", -18741},  {u"Dui", -18735},    {u"Dun", -18731},    {u"Duo", -18722},   {u"E", -18710},
    {u"En", -18697},    {u"Er", -18696},     {u"Fa", -18526},     {u"Fan", -18518},   {u"Fang", -18501},
    {u"Fei", -18490},   {u"Fen", -18478},    {u"Feng", -18463},   {u"Fo", -18448},    {u"Fou", -18447},
    {u"Fu", -18446},    {u"Ga", -18239},     {u"Gai", -18237},    {u"Gan", -18231},   {u"Gang", -18220},
    {u"Gao", -18211},   {u"Ge", -18201},     {u"Gei", -18184},    {u"Gen", -18183},   {u"Geng", -18181},
    {u"Gong", -18012},  {u"Gou", -17997},    {u"Gu", -17988},     {u"Gua", -17970},   {u"Guai", -17964},
    {u"Guan", -17961},  {u"Guang", -17950},  {u"Gui", -17947},    {u"Gun", -17931},   {u"Guo", -17928},
    {u"Ha", -17922},    {u"Hai", -17759},    {u"Han", -17752},    {u"Hang", -17733},  {u"Hao", -17730},
    {u"He", -17721},    {u"Hei", -17703},    {u"Hen", -17701},    {u"Heng", -17697},  {u"Hong", -17692},
    {u"Hou", -17683},   {u"Hu", -17676},     {u"Hua", -17496},    {u"Huai", -17487},  {u"Huan", -17482},
    {u"Huang", -17468}, {u"Hui", -17454},    {u"Hun", -17433},    {u"Huo", -17427},   {u"Ji", -17417},
    {u"Jia", -17202},   {u"Jian", -17185},   {u"Jiang", -16983},  {u"Jiao", -16970},  {u"Jie", -16942},
    {u"Jin", -16915},   {u"Jing", -16733},   {u"Jiong", -16708},  {u"Jiu", -16706},   {u"Ju", -16689},
    {u"Juan", -16664},  {u"Jue", -16657},    {u"Jun", -16647},    {u"Ka", -16474},    {u"Kai", -16470},
    {u"Kan", -16465},   {u"Kang", -16459},   {u"Kao", -16452},    {u"Ke", -16448},    {u"Ken", -16433},
    {u"Keng", -16429},  {u"Kong", -16427},   {u"Kou", -16423},    {u"Ku", -16419},    {u"Kua", -16412},
    {u"Kuai", -16407},  {u"Kuan", -16403},   {u"Kuang", -16401},  {u"Kui", -16393},   {u"Kun", -16220},
    {u"Kuo", -16216},   {u"La", -16212},     {u"Lai", -16205},    {u"Lan", -16202},   {u"Lang", -16187},
    {u"Lao", -16180},   {u"Le", -16171},     {u"Lei", -16169},    {u"Leng", -16158},  {u"Li", -16155},
    {u"Lia", -15959},   {u"Lian", -15958},   {u"Liang", -15944},  {u"Liao", -15933},  {u"Lie", -15920},
    {u"Lin", -15915},   {u"Ling", -15903},   {u"Liu", -15889},    {u"Long", -15878},  {u"Lou", -15707},
    {u"Lu", -15701},    {u"Lv", -15681},     {u"Luan", -15667},   {u"Lue", -15661},   {u"Lun", -15659},
    {u"Luo", -15652},   {u"Ma", -15640},     {u"Mai", -15631},    {u"Man", -15625},   {u"Mang", -15454},
    {u"Mao", -15448},   {u"Me", -15436},     {u"Mei", -15435},    {u"Men", -15419},   {u"Meng", -15416},
    {u"Mi", -15408},    {u"Mian", -15394},   {u"Miao", -15385},   {u"Mie", -15377},   {u"Min", -15375},
    {u"Ming", -15369},  {u"Miu", -15363},    {u"Mo", -15362},     {u"Mou", -15183},   {u"Mu", -15180},
    {u"Na", -15165},    {u"Nai", -15158},    {u"Nan", -15153},    {u"Nang", -15150},  {u"Nao", -15149},
    {u"Ne", -15144},    {u"Nei", -15143},    {u"Nen", -15141},    {u"Neng", -15140},  {u"Ni", -15139},
    {u"Nian", -15128},  {u"Niang", -15121},  {u"Niao", -15119},   {u"Nie", -15117},   {u"Nin", -15110},
    {u"Ning", -15109},  {u"Niu", -14941},    {u"Nong", -14937},   {u"Nu", -14933},    {u"Nv", -14930},
    {u"Nuan", -14929},  {u"Nue", -14928},    {u"Nuo", -14926},    {u"O", -14922},     {u"Ou", -14921},
    {u"Pa", -14914},    {u"Pai", -14908},    {u"Pan", -14902},    {u"Pang", -14894},  {u"Pao", -14889},
    {u"Pei", -14882},   {u"Pen", -14873},    {u"Peng", -14871},   {u"Pi", -14857},    {u"Pian", -14678},
    {u"Piao", -14674},  {u"Pie", -14670},    {u"Pin", -14668},    {u"Ping", -14663},  {u"Po", -14654},
    {u"Pu", -14645},    {u"Qi", -14630},     {u"Qia", -14594},    {u"Qian", -14429},  {u"Qiang", -14407},
    {u"Qiao", -14399},  {u"Qie", -14384},    {u"Qin", -14379},    {u"Qing", -14368},  {u"Qiong", -14355},
    {u"Qiu", -14353},   {u"Qu", -14345},     {u"Quan", -14170},   {u"Que", -14159},   {u"Qun", -14151},
    {u"Ran", -14149},   {u"Rang", -14145},   {u"Rao", -14140},    {u"Re", -14137},    {u"Ren", -14135},
    {u"Reng", -14125},  {u"Ri", -14123},     {u"Rong", -14122},   {u"Rou", -14112},   {u"Ru", -14109},
    {u"Ruan", -14099},  {u"Rui", -14097},    {u"Run", -14094},    {u"Ruo", -14092},   {u"Sa", -14090},
    {u"Sai", -14087},   {u"San", -14083},    {u"Sang", -13917},   {u"Sao", -13914},   {u"Se", -13910},
    {u"Sen", -13907},   {u"Seng", -13906},   {u"Sha", -13905},    {u"Shai", -13896},  {u"Shan", -13894},
    {u"Shang", -13878}, {u"Shao", -13870},   {u"She", -13859},    {u"Shen", -13847},  {u"Sheng", -13831},
    {u"Shi", -13658},   {u"Shou", -13611},   {u"Shu", -13601},    {u"Shua", -13406},  {u"Shuai", -13404},
    {u"Shuan", -13400}, {u"Shuang", -13398}, {u"Shui", -13395},   {u"Shun", -13391},  {u"Shuo", -13387},
    {u"Si", -13383},    {u"Song", -13367},   {u"Sou", -13359},    {u"Su", -13356},    {u"Suan", -13343},
    {u"Sui", -13340},   {u"Sun", -13329},    {u"Suo", -13326},    {u"Ta", -13318},    {u"Tai", -13147},
    {u"Tan", -13138},   {u"Tang", -13120},   {u"Tao", -13107},    {u"Te", -13096},    {u"Teng", -13095},
    {u"Ti", -13091},    {u"Tian", -13076},   {u"Tiao", -13068},   {u"Tie", -13063},   {u"Ting", -13060},
    {u"Tong", -12888},  {u"Tou", -12875},    {u"Tu", -12871},     {u"Tuan", -12860},  {u"Tui", -12858},
    {u"Tun", -12852},   {u"Tuo", -12849},    {u"Wa", -12838},     {u"Wai", -12831},   {u"Wan", -12829},
    {u"Wang", -12812},  {u"Wei", -12802},    {u"Wen", -12607},    {u"Weng", -12597},  {u"Wo", -12594},
    {u"Wu", -12585},    {u"Xi", -12556},     {u"Xia", -12359},    {u"Xian", -12346},  {u"Xiang", -12320},
    {u"Xiao", -12300},  {u"Xie", -12120},    {u"Xin", -12099},    {u"Xing", -12089},  {u"Xiong", -12074},
    {u"Xiu", -12067},   {u"Xu", -12058},     {u"Xuan", -12039},   {u"Xue", -11867},   {u"Xun", -11861},
    {u"Ya", -11847},    {u"Yan", -11831},    {u"Yang", -11798},   {u"Yao", -11781},   {u"Ye", -11604},
    {u"Yi", -11589},    {u"Yin", -11536},    {u"Ying", -11358},   {u"Yo", -11340},    {u"Yong", -11339},
    {u"You", -11324},   {u"Yu", -11303},     {u"Yuan", -11097},   {u"Yue", -11077},   {u"Yun", -11067},
    {u"Za", -11055},    {u"Zai", -11052},    {u"Zan", -11045},    {u"Zang", -11041},  {u"Zao", -11038},
    {u"Ze", -11024},    {u"Zei", -11020},    {u"Zen", -11019},    {u"Zeng", -11018},  {u"Zha", -11014},
    {u"Zhai", -10838},  {u"Zhan", -10832},   {u"Zhang", -10815},  {u"Zhao", -10800},  {u"Zhe", -10790},
    {u"Zhen", -10780},  {u"Zheng", -10764},  {u"Zhi", -10587},    {u"Zhong", -10544}, {u"Zhou", -10533},
    {u"Zhu", -10519},   {u"Zhua", -10331},   {u"Zhuai", -10329},  {u"Zhuan", -10328}, {u"Zhuang", -10322},
    {u"Zhui", -10315},  {u"Zhun", -10309},   {u"Zhuo", -10307},   {u"Zi", -10296},    {u"Zong", -10281},
    {u"Zou", -10274},   {u"Zu", -10270},     {u"Zuan", -10262},   {u"Zui", -10260},   {u"Zun", -10256},
    {u"Zuo", -10254},
};

} // namespace

std::span<const Syllable> Initdictinary() {
    return kSyllables;
}

std::u16string_view g(std::int16_t code, const CharCodeTable &codes) {
    if (code > 0 && code < 160)
        return std::u16string_view(&codes.singleByte[static_cast<std::size_t>(code)], 1);
    if (code < kBlockFirst || code > kBlockLast)
        return {};
    // The entry with the greatest number not above the code; the first entry is the block's
    // first code, so there always is one.
    const auto it = std::upper_bound(std::begin(kSyllables), std::end(kSyllables), code,
                                     [](std::int16_t v, const Syllable &s) { return v < s.number; });
    return std::prev(it)->name;
}

PinyinTable::PinyinTable(const CharCodeTable &codes) {
    // Token 0 is the empty text; then every distinct text g can give, in the order first met.
    std::vector<std::u16string_view> texts{u""};
    std::vector<std::uint16_t> tokenOfCode(65536, 0xFFFF);
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
        const std::int16_t code = codes.code[unit];
        auto &token = tokenOfCode[static_cast<std::uint16_t>(code)];
        if (token == 0xFFFF) {
            const std::u16string_view text = g(code, codes);
            if (text.empty()) {
                token = 0;
            } else {
                token = static_cast<std::uint16_t>(texts.size());
                texts.push_back(text);
            }
        }
        m_token[unit] = token;
    }
    std::vector<std::size_t> u16Offsets;
    for (const auto text : texts) {
        u16Offsets.push_back(m_u16Pool.size());
        m_u16Pool += text;
        // Syllables have at most six letters, one-byte characters at most three UTF-8 bytes.
        const std::string utf8 = utf16ToUtf8(text);
        Utf8Slot slot;
        slot.length = std::min(utf8.size(), slot.bytes.size());
        std::memcpy(slot.bytes.data(), utf8.data(), slot.length);
        m_utf8.push_back(slot);
    }
    u16Offsets.push_back(m_u16Pool.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        m_u16.emplace_back(m_u16Pool.data() + u16Offsets[i], u16Offsets[i + 1] - u16Offsets[i]);
}

void appendPinyin(std::u16string_view text, const PinyinTable &table, std::u16string &out) {
    for (char16_t unit : text)
        out += table.of(unit);
}

std::u16string c(std::u16string_view text, const PinyinTable &table) {
    std::u16string out;
    out.reserve(text.size() * 2);
    appendPinyin(text, table, out);
    return out;
}

Utf8DecodeResult appendPinyinUtf8(std::string_view text, const PinyinTable &table, std::string &out) {
    const std::size_t n = text.size();
    // A unit gives at most six bytes (a syllable such as Zhuang); a sequence of k bytes holds at
    // most k / 2 + 1 units... so three output bytes per input byte always suffice.
    const std::size_t base = out.size();
    out.resize(base + 3 * n + 16); // + 16: room for the last fixed-size move
    char *o = out.data() + base;
    char *const o0 = o;
    auto put = [&table](char16_t unit, char *at) {
        const auto &slot = table.utf8SlotOf(unit);
        std::memcpy(at, slot.bytes.data(), 8); // fixed size: one move; the tail is overwritten
        return at + slot.length;
    };
    // A sequence cut by the end is as invalid as any other: the text comes whole.
    const Utf8DecodeResult result = putEachCodePoint(text, true, o, [&put](char32_t cp, char *at) {
        if (cp < 0x10000)
            return put(static_cast<char16_t>(cp), at);
        return put(lowSurrogateOf(cp), put(highSurrogateOf(cp), at));
    });
    out.resize(base + static_cast<std::size_t>(o - o0));
    return result;
}

std::u16string_view trimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return {};
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

std::u16string pinyinCommandText(std::u16string_view workspace, const PinyinTable &table) {
    // Sized exactly first: a long workspace would otherwise be copied as the result grows.
    const std::u16string_view trimmed = trimSpaces(workspace);
    std::size_t length = workspace.size() + 1;
    for (char16_t unit : trimmed)
        length += table.of(unit).size();
    std::u16string out;
    out.reserve(length);
    out += workspace;
    out += u'\n';
    appendPinyin(trimmed, table, out);
    return out;
}

} // namespace core
