// make_pinyin_data: builds lanternfin's pinyin reading data file from Debian's packages.
//
//   make_pinyin_data OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS UNIHAN_VARIANTS JIEBA_DICT PINYIN_SIMP_DICT
//                    T2S_CONFIG INFO...
//
// TERRA_DICT    rime-data-terra-pinyin's terra_pinyin.dict.yaml (curated word readings)
// TERRA_TABLE   rime-data-terra-pinyin's build/terra_pinyin.table.txt (word, reading, frequency)
// UNIHAN_READINGS  unicode-data's Unihan_Readings.txt (kTGHZ2013, kMandarin, kHanyuPinlu), uncompressed
// UNIHAN_VARIANTS  unicode-data's Unihan_Variants.txt, uncompressed
// JIEBA_DICT    python3-jieba's dict.txt (word, frequency): the word frequencies of segmentation
// PINYIN_SIMP_DICT  rime-data-pinyin-simp's pinyin_simp.dict.yaml (simplified words, toneless
//               syllables, weights): which letters a word's polyphones have
// T2S_CONFIG    OpenCC's t2s.json: terra's keys are traditional, text is mostly simplified
// INFO          lines written into the file's info text (package versions)
//
// Readings of a character: the frequencies of terra's readings summed over every character that
// t2s turns into it (个 alone lists gan4; with 個 it is ge4). Where terra's reading is not one of
// the Mainland 2013 standard readings (kTGHZ2013), the standard one replaces it (期 qi2 -> qi1,
// 什 she2 -> shen2, 子 zi5 -> zi3). kMandarin (else kTGHZ2013, kHanyuPinyin, kXHC1983) gives the
// readings of characters terra lacks.

#include "core/pinyin_data_format.h"
#include "core/utf.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {

using Word = std::u32string;

constexpr double kRareWordFrequency = 30;
// Of a word's two readings that differ in tone only, the one whose syllables kHanyuPinlu counts
// this many times more often is the Mainland reading.
constexpr double kClearlyMoreFrequent = 10;
// A character's spelling that pinyin_simp lists this many times as often as ours replaces ours.
constexpr double kClearlyMoreTyped = 5;
// Fewer typings than this say nothing of a character's or word's reading (rare characters: 伬 ze 3).
constexpr double kTypedEnough = 100;

[[noreturn]] void fail(const std::string &what) {
    std::cerr << "make_pinyin_data: " << what << "\n";
    std::exit(1);
}

std::string readFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    if (!f)
        fail("cannot read " + path);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::u32string decode(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < len && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += c;
        i += static_cast<std::size_t>(len);
    }
    return out;
}

std::string encode(std::u32string_view s) {
    std::string out;
    unsigned char bytes[4];
    for (char32_t c : s)
        out.append(reinterpret_cast<const char *>(bytes),
                   static_cast<std::size_t>(core::encodeCodePoint(c, bytes) - bytes));
    return out;
}

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    for (;;) {
        const auto p = s.find(sep);
        out.push_back(s.substr(0, p));
        if (p == std::string_view::npos)
            return out;
        s.remove_prefix(p + 1);
    }
}

bool isHan(char32_t c) {
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) ||
           c == 0x3007;
}

// A syllable with tone marks (Unihan: "zhǎng", "lǜ", "ń") as letters and a tone digit ("zhang3",
// "lv4", "n2"); a syllable without a mark gets 5.
std::string numbered(std::string_view marked) {
    static const std::map<char32_t, std::pair<char, int>> marks = {
        {U'ā', {'a', 1}},    {U'á', {'a', 2}},    {U'ǎ', {'a', 3}},    {U'à', {'a', 4}},   {U'ē', {'e', 1}},
        {U'é', {'e', 2}},    {U'ě', {'e', 3}},    {U'è', {'e', 4}},    {U'ī', {'i', 1}},   {U'í', {'i', 2}},
        {U'ǐ', {'i', 3}},    {U'ì', {'i', 4}},    {U'ō', {'o', 1}},    {U'ó', {'o', 2}},   {U'ǒ', {'o', 3}},
        {U'ò', {'o', 4}},    {U'ū', {'u', 1}},    {U'ú', {'u', 2}},    {U'ǔ', {'u', 3}},   {U'ù', {'u', 4}},
        {U'ǖ', {'v', 1}},    {U'ǘ', {'v', 2}},    {U'ǚ', {'v', 3}},    {U'ǜ', {'v', 4}},   {U'ü', {'v', 5}},
        {U'ḿ', {'m', 2}},    {U'ń', {'n', 2}},    {U'ň', {'n', 3}},    {U'ǹ', {'n', 4}},   {U'ê', {'e', 5}},
        {U'\u0304', {0, 1}}, {U'\u0301', {0, 2}}, {U'\u030C', {0, 3}}, {U'\u0300', {0, 4}}};
    std::string letters;
    int tone = 5;
    for (char32_t c : decode(marked)) {
        if (c < 0x80) {
            letters += static_cast<char>(c);
            continue;
        }
        const auto it = marks.find(c);
        if (it == marks.end())
            return {};
        if (it->second.first)
            letters += it->second.first;
        if (it->second.second != 5)
            tone = it->second.second;
    }
    return letters + static_cast<char>('0' + tone);
}

// Terra writes the 儿 of a word read with erhua as r5 (一下兒 yi2 xia4 r5); it is written er.
std::string syllableOf(std::string_view s) {
    return s == "r5" ? std::string("er5") : std::string(s);
}

std::string baseOf(const std::string &syl) {
    return syl.substr(0, syl.size() - 1);
}

// Terra's reading of one character with its frequency, in terra's order.
struct Reading {
    std::string syllable;
    double weight = 0;
};

struct Sources {
    // Terra's single-character entries (keys as they are) and words (key, syllables, weight).
    std::map<char32_t, std::vector<Reading>> terraChars;
    struct TerraWord {
        Word key;
        std::vector<std::string> syllables;
        double weight;
    };
    std::vector<TerraWord> curated;                            // terra_pinyin.dict.yaml
    std::map<std::pair<Word, std::string>, double> wordWeight; // the table's, by word and reading
    std::set<Word> tableWords;
    std::map<char32_t, std::vector<std::string>> tghz, mandarin, hanyuPinyin, xhc;
    // kHanyuPinlu: how often each reading occurs in Mainland text (现代汉语频率词典).
    std::map<char32_t, std::map<std::string, double>> pinlu;
    std::map<char32_t, std::vector<char32_t>> variants;
    std::vector<std::pair<Word, double>> jieba;
    // rime-data-pinyin-simp's simplified words and characters: toneless readings with weights.
    std::map<Word, std::map<std::string, double>> toneless;
};

void readTerra(const std::string &text, Sources &src) {
    for (std::string_view line : split(text, '\n')) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto f = split(line, '\t');
        if (f.size() < 3)
            continue;
        const Word key = decode(f[0]);
        std::vector<std::string> syl;
        for (auto s : split(f[1], ' '))
            syl.push_back(syllableOf(s));
        const double weight = std::strtod(std::string(f[2]).c_str(), nullptr);
        if (key.empty() || key.size() != syl.size() || !std::all_of(key.begin(), key.end(), isHan))
            continue;
        if (key.size() == 1) {
            src.terraChars[key[0]].push_back({syl[0], weight});
        } else {
            src.wordWeight[{key, std::string(f[1])}] = weight;
            src.tableWords.insert(key);
        }
    }
}

// The words of the dictionary source: terra's curated readings. The compiled table also holds
// words of its essay, read by every combination of their characters' readings at one frequency
// (需要 xu1 yao1 beside xu1 yao4): those give no reading of their own.
void readTerraDict(const std::string &text, Sources &src) {
    const auto start = text.find("\n...\n");
    if (start == std::string::npos)
        fail("terra_pinyin.dict.yaml has no end of its header");
    for (std::string_view line : split(std::string_view(text).substr(start + 5), '\n')) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto f = split(line, '\t');
        if (f.size() < 2)
            continue;
        const Word key = decode(f[0]);
        std::vector<std::string> syl;
        for (auto s : split(f[1], ' '))
            syl.push_back(syllableOf(s));
        if (key.size() < 2 || key.size() != syl.size() || !std::all_of(key.begin(), key.end(), isHan))
            continue;
        const auto w = src.wordWeight.find({key, std::string(f[1])});
        src.curated.push_back({key, syl, w == src.wordWeight.end() ? 0.0 : w->second});
    }
}

void readUnihan(const std::string &text, Sources &src) {
    for (std::string_view line : split(text, '\n')) {
        if (line.size() < 3 || line[0] != 'U')
            continue;
        const auto f = split(line, '\t');
        if (f.size() < 3 || (f[1] != "kTGHZ2013" && f[1] != "kMandarin" && f[1] != "kHanyuPinyin" &&
                             f[1] != "kXHC1983" && f[1] != "kHanyuPinlu"))
            continue;
        const char32_t cp = static_cast<char32_t>(std::stoul(std::string(f[0].substr(2)), nullptr, 16));
        if (f[1] == "kHanyuPinlu") { // hào(462) hao(16) háo(12)
            for (auto item : split(f[2], ' ')) {
                const auto open = item.find('(');
                const std::string syl = numbered(item.substr(0, open));
                if (open != std::string_view::npos && !syl.empty())
                    src.pinlu[cp][syl] += std::strtod(std::string(item.substr(open + 1)).c_str(), nullptr);
            }
            continue;
        }
        auto &out = f[1] == "kTGHZ2013"      ? src.tghz[cp]
                    : f[1] == "kMandarin"    ? src.mandarin[cp]
                    : f[1] == "kHanyuPinyin" ? src.hanyuPinyin[cp]
                                             : src.xhc[cp];
        for (auto item : split(f[2], ' ')) {
            const auto colon = item.find(':');
            for (auto one : split(colon == std::string_view::npos ? item : item.substr(colon + 1), ',')) {
                const std::string syl = numbered(one);
                if (!syl.empty() && std::find(out.begin(), out.end(), syl) == out.end())
                    out.push_back(syl);
            }
        }
    }
}

void readVariants(const std::string &text, Sources &src) {
    for (std::string_view line : split(text, '\n')) {
        const auto f = split(line, '\t');
        if (f.size() < 3 || f[0].size() < 3 || f[0][0] != 'U')
            continue;
        const char32_t cp = static_cast<char32_t>(std::stoul(std::string(f[0].substr(2)), nullptr, 16));
        for (auto item : split(f[2], ' '))
            if (item.size() > 2 && item[0] == 'U')
                src.variants[cp].push_back(static_cast<char32_t>(
                    std::stoul(std::string(item.substr(2, item.find('<') - 2)), nullptr, 16)));
    }
}

// Toneless syllables as terra spells them: ü is v, also after l and n where it is written u (lue).
std::string tonelessSyllable(std::string_view s) {
    std::string out(s);
    if (out == "lue" || out == "nue")
        out[1] = 'v';
    return out;
}

// pinyin_simp.dict.yaml: word, toneless syllables, weight (lines after the header's "...").
void readToneless(const std::string &text, Sources &src) {
    const auto start = text.find("\n...\n");
    if (start == std::string::npos)
        fail("pinyin_simp.dict.yaml has no end of its header");
    for (std::string_view line : split(std::string_view(text).substr(start + 5), '\n')) {
        const auto f = split(line, '\t');
        if (f.size() < 3 || line[0] == '#')
            continue;
        const Word key = decode(f[0]);
        const auto syl = split(f[1], ' ');
        if (key.empty() || key.size() != syl.size() || !std::all_of(key.begin(), key.end(), isHan))
            continue;
        std::string joined;
        for (auto x : syl) {
            if (!joined.empty())
                joined += ' ';
            joined += tonelessSyllable(x);
        }
        src.toneless[key][joined] += std::strtod(std::string(f[2]).c_str(), nullptr);
    }
}

void readJieba(const std::string &text, Sources &src) {
    for (std::string_view line : split(text, '\n')) {
        const auto f = split(line, ' ');
        if (f.size() < 2)
            continue;
        src.jieba.emplace_back(decode(f[0]), std::strtod(std::string(f[1]).c_str(), nullptr));
    }
}

// The keys as an OpenCC configuration converts them (t2s.json: to simplified), each key on a
// line of one conversion; a key whose length changes stays as it is.
std::vector<Word> convertedBy(const std::string &config, const std::vector<Word> &keys) {
    opencc_t od = opencc_open(config.c_str());
    if (od == reinterpret_cast<opencc_t>(-1))
        fail("cannot open OpenCC config " + config);
    std::string joined;
    for (const Word &k : keys) {
        joined += encode(k);
        joined += '\n';
    }
    char *converted = opencc_convert_utf8(od, joined.data(), joined.size());
    if (!converted)
        fail("OpenCC conversion failed");
    const auto lines = split(converted, '\n');
    std::vector<Word> out;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Word s = i < lines.size() ? decode(lines[i]) : Word();
        out.push_back(s.size() == keys[i].size() ? s : keys[i]);
    }
    opencc_convert_utf8_free(converted);
    opencc_close(od);
    return out;
}

class Builder {
public:
    explicit Builder(Sources &src) : m_src(src) {}

    void mergeCharacters(const std::string &t2sConfig) {
        std::vector<Word> keys;
        for (const auto &[cp, readings] : m_src.terraChars)
            keys.push_back(Word(1, cp));
        const auto simplified = convertedBy(t2sConfig, keys);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char32_t t = keys[i][0], s = simplified[i][0];
            m_mergedFrom[s].insert(t);
            for (const Reading &r : m_src.terraChars[t]) {
                addWeight(s, r);
                if (s != t)
                    addWeight(t, r);
            }
        }
        for (auto &[cp, readings] : m_readings)
            m_default[cp] = corrected(cp, pickDefault(cp, readings));
        // Characters terra lacks: kMandarin, else the first reading of the dictionaries Unihan
        // cites (the 2013 standard, Hanyu Da Zidian, Xiandai Hanyu Cidian).
        for (const auto *field : {&m_src.mandarin, &m_src.tghz, &m_src.hanyuPinyin, &m_src.xhc})
            for (const auto &[cp, readings] : *field)
                if (!m_default.count(cp) && !readings.empty() && isHan(cp))
                    m_default[cp] = readings[0];
        // A character with no reading in any source reads as a variant of it that has one
        // (Unihan_Variants: simplified, traditional, semantic, z-variants).
        for (const auto &[cp, variants] : m_src.variants)
            if (!m_default.count(cp) && isHan(cp))
                for (char32_t v : variants)
                    if (const auto it = m_default.find(v); it != m_default.end()) {
                        m_variantDefault[cp] = it->second;
                        break;
                    }
        m_default.merge(m_variantDefault);
    }

    // Terra's curated words keyed by their simplified form; of two keys that meet, the more
    // frequent reading stays, then the standard one, then terra's first. Words read as their
    // characters are kept only as known words.
    void mergeWords(const std::string &t2sConfig) {
        std::vector<Word> keys;
        for (const auto &w : m_src.curated)
            keys.push_back(w.key);
        const auto simplified = convertedBy(t2sConfig, keys);
        struct Best {
            double weight;
            int nonStandard;
            Word traditional; // terra's key
            int ownReadings;
            std::vector<std::string> syl;
        };
        std::map<Word, Best> best;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const Word &key = simplified[i];
            if (!std::all_of(key.begin(), key.end(), [&](char32_t c) { return m_default.count(c) > 0; }))
                continue;
            Best b{m_src.curated[i].weight, 0, keys[i], 0, {}};
            for (std::size_t k = 0; k < key.size(); ++k) {
                const std::string &syl = m_src.curated[i].syllables[k];
                const char32_t c = m_src.tghz.count(key[k]) ? key[k] : keys[i][k];
                b.syl.push_back(corrected(c, syl));
                b.nonStandard += !isStandard(c, syl);
            }
            for (std::size_t k = 0; k < key.size(); ++k)
                b.ownReadings += b.syl[k] != m_default[key[k]];
            // Terra lists some words under two readings at one frequency (角色 jiao3 se4, jue2 se4):
            // the standard one, then the one unlike its characters' own readings, is why it is listed.
            // Two readings of the same letters differ in tone only, mostly Taiwan's against the
            // Mainland's (口號 hao2, hao4; 看看 kan1 kan1, kan4 kan5): the tones clearly more
            // frequent in Mainland text (kHanyuPinlu) win; where both are common (相應 ying1, ying4)
            // the character alone cannot tell.
            auto it = best.find(key);
            auto rank = [&](const Best &x, const Best &other) {
                const bool mainland = sameLetters(x.syl, other.syl) &&
                                      clearlyMoreFrequent(key, x.traditional, x.syl, other.syl);
                return std::make_tuple(mainland, -x.nonStandard, x.ownReadings);
            };
            if (it == best.end() || b.weight > it->second.weight ||
                (b.weight == it->second.weight && rank(b, it->second) > rank(it->second, b)))
                best[key] = std::move(b);
        }
        // A word terra does not read itself takes the reading it has inside the curated words
        // that hold it (長大 inside 長大成人), the more frequent container first.
        std::map<Word, std::map<std::vector<std::string>, double>> evidence;
        for (const auto &[key, b] : best)
            for (std::size_t from = 0; from < key.size(); ++from)
                for (std::size_t len = 2; from + len <= key.size(); ++len)
                    if (len < key.size())
                        evidence[key.substr(from, len)][std::vector<std::string>(
                            b.syl.begin() + static_cast<std::ptrdiff_t>(from),
                            b.syl.begin() + static_cast<std::ptrdiff_t>(from + len))] += b.weight + 1;
        for (auto &[key, b] : best)
            addKnown(key, b.syl);
        std::vector<Word> others;
        for (const auto &[w, f] : m_src.jieba)
            others.push_back(w);
        // The table's own readings of a word it does not curate, by simplified key. t2s merges
        // characters of different readings (儘 jin3 and 盡 jin4 into 尽, 捨 she3 into 舍, 劃 hua4
        // and 划 hua2 into 划); in a word listed once, under one reading, the traditional
        // character gives the merged one the reading it lost (儘管 jin3 guan3, 划船 hua2). A word
        // listed under several readings at one frequency (換行 hang2, xing2) says nothing.
        struct Listed {
            Word traditional; // terra's key
            std::vector<std::string> syl;
            double weight;
        };
        std::map<Word, std::vector<Listed>> listed;
        {
            std::vector<Word> table(m_src.tableWords.begin(), m_src.tableWords.end());
            const auto simplifiedTable = convertedBy(t2sConfig, table);
            std::map<Word, Word> toSimplified;
            for (std::size_t i = 0; i < table.size(); ++i)
                toSimplified[table[i]] = simplifiedTable[i];
            for (const auto &[kr, weight] : m_src.wordWeight) {
                const auto it = toSimplified.find(kr.first);
                if (it == toSimplified.end())
                    continue;
                const Word &key = it->second;
                std::vector<std::string> syl;
                for (auto part : split(kr.second, ' '))
                    syl.push_back(syllableOf(part));
                if (syl.size() == key.size())
                    listed[key].push_back({kr.first, std::move(syl), weight});
            }
            for (auto &w : simplifiedTable)
                others.push_back(std::move(w));
        }
        for (const Word &w : others) {
            if (w.size() < 2 || best.count(w) ||
                !std::all_of(w.begin(), w.end(), [&](char32_t c) { return m_default.count(c) > 0; }))
                continue;
            const auto e = evidence.find(w);
            if (e != evidence.end()) {
                const auto top =
                    std::max_element(e->second.begin(), e->second.end(),
                                     [](const auto &a, const auto &b) { return a.second < b.second; });
                // Inside those containers a character may carry a tone that belongs to them (強制執行
                // qiang3): where it differs from the character's default in tone only and Mainland text
                // reads the default clearly more often, the default holds for the word alone (强制
                // qiáng).
                std::vector<std::string> syl = top->first;
                for (std::size_t k = 0; k < w.size(); ++k)
                    if (const std::string &def = m_default[w[k]];
                        syl[k] != def && baseOf(syl[k]) == baseOf(def) &&
                        clearlyMoreFrequent(w.substr(k, 1), w.substr(k, 1), {def}, {syl[k]}))
                        syl[k] = def;
                addKnown(w, syl);
                continue;
            }
            // Else the curated words inside it, longest first from the left (文本处理: 处理 chu3 li3).
            std::vector<std::string> syl;
            for (std::size_t i = 0; i < w.size();) {
                std::size_t len = w.size() - i;
                for (; len >= 2; --len)
                    if (const auto it = best.find(w.substr(i, len)); it != best.end()) {
                        syl.insert(syl.end(), it->second.syl.begin(), it->second.syl.end());
                        break;
                    }
                if (len < 2) {
                    syl.push_back(m_default[w[i]]);
                    len = 1;
                }
                i += len;
            }
            if (const auto l = listed.find(w); l != listed.end()) {
                double top = 0;
                for (const Listed &x : l->second)
                    top = std::max(top, x.weight);
                const Listed *only = nullptr;
                int count = 0;
                for (const Listed &x : l->second)
                    if (x.weight == top) {
                        only = &x;
                        ++count;
                    }
                if (count == 1)
                    for (std::size_t k = 0; k < w.size(); ++k)
                        if (const auto m = m_mergedFrom.find(w[k]);
                            m != m_mergedFrom.end() && m->second.size() > 1)
                            syl[k] = corrected(w[k], only->syl[k]);
            }
            addKnown(w, syl);
        }
    }

    // A character's default reading takes the letters pinyin_simp clearly types it with most
    // often (谁 shui 41704 against shei 11979, 塞 sai against se): its reading with those letters
    // that is most frequent in terra. Runs before the words, which keep a reading of their own
    // only where it differs from their characters' defaults.
    void respellDefaults() {
        for (auto &[cp, def] : m_default) {
            const auto it = m_src.toneless.find(Word(1, cp));
            if (it == m_src.toneless.end() || m_variantDefault.count(cp))
                continue;
            const auto &spellings = it->second;
            const auto top =
                std::max_element(spellings.begin(), spellings.end(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
            const std::string ours = baseOf(def);
            if (top->first == ours || top->second < kTypedEnough)
                continue;
            // Ours must be listed: pinyin_simp knows rare characters by one reading only, not
            // always theirs (冘 you). Short of five times, a margin that Mainland text clearly
            // agrees with (kHanyuPinlu: 谁 shuí 1065, no shéi).
            const auto mine = spellings.find(ours);
            if (mine == spellings.end() ||
                (mine->second * kClearlyMoreTyped > top->second &&
                 (mine->second >= top->second || pinluLetters(cp, top->first) == 0 ||
                  pinluLetters(cp, top->first) < kClearlyMoreFrequent * pinluLetters(cp, ours))))
                continue;
            if (std::string r = withLetters(cp, top->first); !r.empty())
                def = std::move(r);
        }
    }

    // The letters of a word's syllables as the simplified words of an input method's dictionary
    // mostly spell them (pinyin_simp: 换行 huan hang; 标识 biao shi 2175 against biao zhi 124).
    // Where our reading's letters differ from the most frequent spelling, and that dictionary
    // does not list ours at least as often, each differing character takes its own reading with
    // those letters, and with it that reading's tone.
    void applyToneless() {
        for (const auto &[w, spellings] : m_src.toneless) {
            if (w.size() < 2 || !allKnown(w))
                continue;
            std::vector<std::string> syl;
            if (const auto it = m_words.find(w); it != m_words.end() && !it->second.reading.empty())
                syl = it->second.reading;
            else
                for (char32_t c : w)
                    syl.push_back(m_default[c]);
            const auto top =
                std::max_element(spellings.begin(), spellings.end(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
            std::string ours;
            for (const auto &x : syl) {
                if (!ours.empty())
                    ours += ' ';
                ours.append(x, 0, x.size() - 1);
            }
            if (ours == top->first || top->second < kTypedEnough)
                continue;
            if (const auto mine = spellings.find(ours);
                mine != spellings.end() && mine->second >= top->second)
                continue;
            const auto letters = split(top->first, ' ');
            bool complete = true;
            for (std::size_t k = 0; k < w.size() && complete; ++k)
                if (baseOf(syl[k]) != letters[k]) {
                    syl[k] = withLetters(w[k], std::string(letters[k]));
                    complete = !syl[k].empty();
                }
            if (complete) {
                addKnown(w, syl);
                m_respelled.insert(w);
            }
        }
    }

    void addJieba() {
        double total = 0;
        for (const auto &[w, f] : m_src.jieba)
            total += f;
        m_unknownCost = costOf(1, total);
        for (const auto &[w, f] : m_src.jieba) {
            if (w.empty() ||
                !std::all_of(w.begin(), w.end(), [&](char32_t c) { return m_default.count(c) > 0; }))
                continue;
            // A rare word that reads as its characters only moves word boundaries, and seldom
            // for the better: leaving out those under 30 in jieba's count keeps the agreement
            // measured by bench/pinyin_accuracy.sh (99.08% -> 99.14%) at a third of the file.
            const auto known = m_words.find(w);
            if (f < kRareWordFrequency && w.size() > 1 &&
                (known == m_words.end() || known->second.reading.empty() || m_respelled.count(w)))
                continue;
            m_words[w].cost = costOf(f, total);
        }
        // The segmentation uses jieba's words only: a word it never picks needs no place.
        std::erase_if(m_words, [](const auto &w) { return w.second.cost == core::kNotASegmentationWord; });
    }

    // Traditional text splits and reads as its simplified form does: each word in its
    // traditional form (OpenCC's s2t) with the same cost and reading.
    void addTraditional(const std::string &t2sConfig) {
        std::vector<Word> keys;
        for (const auto &[w, e] : m_words)
            keys.push_back(w);
        std::string s2tConfig = t2sConfig;
        s2tConfig.replace(s2tConfig.rfind("t2s"), 3, "s2t");
        const auto traditional = convertedBy(s2tConfig, keys);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const Word &t = traditional[i];
            if (t == keys[i] || m_words.count(t) ||
                !std::all_of(t.begin(), t.end(), [&](char32_t c) { return m_default.count(c) > 0; }))
                continue;
            Entry e = m_words[keys[i]];
            if (!e.reading.empty()) {
                // Read as the characters' own readings where the simplified word is.
                bool asCharacters = true;
                for (std::size_t k = 0; k < t.size(); ++k)
                    asCharacters = asCharacters && e.reading[k] == m_default[t[k]];
                if (asCharacters)
                    e.reading.clear();
            } else {
                bool same = true;
                for (std::size_t k = 0; k < t.size(); ++k)
                    same = same && m_default[t[k]] == m_default[keys[i][k]];
                if (!same)
                    for (char32_t c : keys[i])
                        e.reading.push_back(m_default[c]);
            }
            m_words[t] = std::move(e);
        }
    }

    std::vector<unsigned char> write(const std::string &info) {
        // Syllables: every default and word reading, and those the 一/不 rules give.
        std::set<std::string> names = {"yi1", "yi2", "yi4", "bu2", "bu4"};
        for (const auto &[cp, s] : m_default)
            names.insert(s);
        for (const auto &[w, e] : m_words)
            names.insert(e.reading.begin(), e.reading.end());
        std::map<std::string, std::uint16_t> id;
        std::string namePool;
        for (const auto &n : names) {
            id[n] = static_cast<std::uint16_t>(id.size());
            namePool += n;
            namePool += '\0';
        }
        // Character pages.
        std::vector<std::uint16_t> pageIndex(core::kPinyinPageIndexSize, 0);
        std::vector<std::uint16_t> pages;
        for (const auto &[cp, s] : m_default) {
            if (cp >> 8 >= core::kPinyinPageIndexSize)
                continue;
            std::uint16_t &p = pageIndex[cp >> 8];
            if (!p) {
                pages.resize(pages.size() + 256, core::kNoSyllable);
                p = static_cast<std::uint16_t>(pages.size() / 256);
            }
            pages[(p - 1u) * 256 + (cp & 0xFF)] = id[s];
        }
        // Word trie. The map's order puts every prefix before the words that extend it.
        std::size_t nodes = 0;
        {
            std::set<Word> prefixes;
            for (const auto &[w, e] : m_words)
                for (std::size_t k = 1; k <= w.size(); ++k)
                    prefixes.insert(w.substr(0, k));
            nodes = prefixes.size();
        }
        std::uint32_t slotCount = 1;
        while (slotCount < nodes * 5 / 4)
            slotCount <<= 1;
        std::vector<core::PinyinTrieSlot> slots(slotCount, core::PinyinTrieSlot{0, 0, core::kNoWordReading});
        std::vector<std::uint16_t> readings;
        for (const auto &[w, e] : m_words) {
            std::uint32_t node = 0;
            for (char32_t c : w)
                node = findOrInsert(slots, node, c);
            core::PinyinTrieSlot &s = slots[node - 1];
            s.cpAndCost = s.cp() | std::uint32_t(e.cost) << core::kPinyinCodePointBits;
            if (!e.reading.empty()) {
                s.reading = static_cast<std::uint32_t>(readings.size());
                for (const auto &syl : e.reading)
                    readings.push_back(id[syl]);
            }
        }
        std::vector<std::uint32_t> rootPages(pages.size(), 0);
        std::vector<std::uint64_t> filter(core::kPinyinFilterBits / 64, 0);
        for (std::uint32_t i = 0; i < slotCount; ++i) {
            const core::PinyinTrieSlot &s = slots[i];
            if (s.cpAndCost == 0)
                continue;
            if (s.parent == 0) {
                const std::uint16_t p = s.cp() >> 8 < core::kPinyinPageIndexSize ? pageIndex[s.cp() >> 8] : 0;
                if (!p)
                    fail("a word starts with a character without a reading");
                rootPages[(p - 1u) * 256 + (s.cp() & 0xFF)] = i + 1;
            } else {
                const std::uint32_t bit =
                    core::pinyinTrieHash(s.parent, s.cp()) & (core::kPinyinFilterBits - 1);
                filter[bit / 64] |= std::uint64_t(1) << (bit % 64);
            }
        }
        std::cerr << "make_pinyin_data: " << m_default.size() << " characters, " << m_words.size()
                  << " words, " << nodes << " trie nodes in " << slotCount << " slots, " << names.size()
                  << " syllables\n";

        std::vector<unsigned char> body(sizeof(core::PinyinDataHeader)); // filled in at the end
        auto put = [&body](const void *p, std::size_t n) {
            const auto *b = static_cast<const unsigned char *>(p);
            body.insert(body.end(), b, b + n);
            while (body.size() % 4)
                body.push_back(0);
        };
        put(info.data(), info.size());
        put(namePool.data(), namePool.size());
        put(pageIndex.data(), pageIndex.size() * 2);
        put(pages.data(), pages.size() * 2);
        put(rootPages.data(), rootPages.size() * 4);
        put(filter.data(), filter.size() * 8);
        put(slots.data(), slots.size() * sizeof(core::PinyinTrieSlot));
        put(readings.data(), readings.size() * 2);

        core::PinyinDataHeader h{};
        std::memcpy(h.magic, core::kPinyinDataMagic, 8);
        h.version = core::kPinyinDataVersion;
        h.infoSize = static_cast<std::uint32_t>(info.size());
        h.checksum = core::pinyinDataChecksum(body.data() + sizeof h, body.size() - sizeof h);
        h.syllableCount = static_cast<std::uint32_t>(names.size());
        h.syllableNamesSize = static_cast<std::uint32_t>(namePool.size());
        h.pageCount = static_cast<std::uint32_t>(pages.size() / 256);
        h.slotCount = slotCount;
        h.readingCount = static_cast<std::uint32_t>(readings.size());
        h.unknownCost = m_unknownCost;
        std::memcpy(body.data(), &h, sizeof h);
        return body;
    }

private:
    struct Entry {
        std::uint16_t cost = core::kNotASegmentationWord;
        std::vector<std::string> reading;
    };

    static std::uint16_t costOf(double freq, double total) {
        const double c =
            std::round((std::log(total) - std::log(std::max(freq, 1.0))) * core::kPinyinCostScale);
        if (c >= core::kNotASegmentationWord)
            fail("a word cost does not fit the data file's 14 bits");
        return static_cast<std::uint16_t>(std::max(c, 0.0));
    }

    static std::uint32_t findOrInsert(std::vector<core::PinyinTrieSlot> &slots, std::uint32_t parent,
                                      char32_t c) {
        const std::uint32_t mask = static_cast<std::uint32_t>(slots.size() - 1);
        for (std::uint32_t i = core::pinyinTrieHash(parent, c) & mask;; i = (i + 1) & mask) {
            if (slots[i].cpAndCost == 0) {
                slots[i].parent = parent;
                slots[i].cpAndCost = c | core::kNotASegmentationWord << core::kPinyinCodePointBits;
                return i + 1;
            }
            if (slots[i].parent == parent && slots[i].cp() == c)
                return i + 1;
        }
    }

    void addKnown(const Word &key, const std::vector<std::string> &syl) {
        bool asCharacters = true;
        for (std::size_t k = 0; k < key.size(); ++k)
            asCharacters = asCharacters && syl[k] == m_default[key[k]];
        Entry &e = m_words[key];
        e.reading = asCharacters ? std::vector<std::string>() : syl;
    }

    // kHanyuPinlu's count of the character's readings with these letters, all tones.
    double pinluLetters(char32_t cp, const std::string &letters) const {
        double n = 0;
        if (const auto p = m_src.pinlu.find(cp); p != m_src.pinlu.end())
            for (const auto &[syl, count] : p->second)
                if (baseOf(syl) == letters)
                    n += count;
        return n;
    }

    bool allKnown(const Word &w) const {
        return std::all_of(w.begin(), w.end(), [&](char32_t c) { return m_default.count(c) > 0; });
    }

    // The character's reading with these letters: its default; else terra's most frequent one,
    // between equals the one Mainland text reads more often (kHanyuPinlu: 着 zhao2, not zhao1),
    // as the standard reads it; else the first of Unihan's dictionaries that has one. Empty where
    // no source reads the character so.
    std::string withLetters(char32_t cp, const std::string &letters) const {
        const std::string &def = m_default.at(cp);
        if (baseOf(def) == letters)
            return def;
        if (const auto own = m_readings.find(cp); own != m_readings.end()) {
            const Reading *best = nullptr;
            for (const Reading &r : own->second)
                if (baseOf(r.syllable) == letters &&
                    (!best || r.weight > best->weight ||
                     (r.weight == best->weight &&
                      pinluCount(cp, r.syllable) > pinluCount(cp, best->syllable))))
                    best = &r;
            if (best) {
                std::string c = corrected(cp, best->syllable);
                if (baseOf(c) == letters)
                    return c;
            }
        }
        for (const auto *field : {&m_src.tghz, &m_src.mandarin, &m_src.hanyuPinyin, &m_src.xhc})
            if (const auto it = field->find(cp); it != field->end())
                for (const auto &s : it->second)
                    if (baseOf(s) == letters)
                        return s;
        return {};
    }

    void addWeight(char32_t cp, const Reading &r) {
        auto &list = m_readings[cp];
        for (auto &x : list)
            if (x.syllable == r.syllable) {
                x.weight += r.weight;
                return;
            }
        list.push_back(r);
    }

    // The most frequent reading; among equals the one kMandarin gives, then terra's first.
    std::string pickDefault(char32_t cp, const std::vector<Reading> &readings) const {
        const auto m = m_src.mandarin.find(cp);
        auto rank = [&](const Reading &r) {
            const bool mandarin =
                m != m_src.mandarin.end() && !m->second.empty() && m->second[0] == r.syllable;
            return std::make_pair(r.weight, mandarin ? 1 : 0);
        };
        const Reading *best = &readings[0];
        for (const Reading &r : readings)
            if (rank(r) > rank(*best))
                best = &r;
        return best->syllable;
    }

    bool isStandard(char32_t cp, const std::string &syl) const {
        const auto t = m_src.tghz.find(cp);
        return t == m_src.tghz.end() || std::find(t->second.begin(), t->second.end(), syl) != t->second.end();
    }

    double pinluCount(char32_t cp, const std::string &syl) const {
        const auto p = m_src.pinlu.find(cp);
        if (p == m_src.pinlu.end())
            return 0;
        const auto r = p->second.find(syl);
        return r == p->second.end() ? 0 : r->second;
    }

    // Whether Mainland text (kHanyuPinlu) reads the syllables where `a` and `b` differ clearly
    // more often as `a` does; a reading Pinlu never met tells nothing (its corpus is small).
    // Pinlu counts simplified text: a traditional character merged into another (髮 into 发)
    // has no count of its own.
    bool clearlyMoreFrequent(const Word &simplified, const Word &traditional,
                             const std::vector<std::string> &a, const std::vector<std::string> &b) const {
        double mine = 1, theirs = 1;
        for (std::size_t k = 0; k < a.size() && k < b.size() && k < simplified.size(); ++k) {
            if (a[k] == b[k])
                continue;
            if (simplified[k] != traditional[k] && !m_src.pinlu.count(traditional[k]))
                return false;
            const double x = pinluCount(simplified[k], a[k]), y = pinluCount(simplified[k], b[k]);
            if (x == 0 || y == 0)
                return false;
            mine *= x;
            theirs *= y;
        }
        return mine >= kClearlyMoreFrequent * theirs;
    }

    static bool sameLetters(const std::vector<std::string> &a, const std::vector<std::string> &b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if (baseOf(a[k]) != baseOf(b[k]))
                return false;
        return true;
    }

    // `syl` as the Mainland standard reads it: kept when kTGHZ2013 lists it (or lists nothing
    // for the character); else the standard reading of the same letters; else the standard
    // reading that none of terra's readings of the character covers (什 she2 -> shen2).
    std::string corrected(char32_t cp, const std::string &syl) const {
        const auto t = m_src.tghz.find(cp);
        if (t == m_src.tghz.end() || t->second.empty())
            return syl;
        const auto &standard = t->second;
        if (std::find(standard.begin(), standard.end(), syl) != standard.end())
            return syl;
        if (syl == "er5" && (cp == U'儿' || cp == U'兒')) // erhua: 一会儿 yí huì er
            return syl;
        // Of the standard readings with the same letters, the character's own reading, else
        // the one terra reads more often (这个 ge5 -> ge4, not the rarer ge3).
        const std::string base = baseOf(syl);
        // A neutral tone of letters the standard does not list for the character stays (钥匙 shi5).
        if (syl.back() == '5' && std::none_of(standard.begin(), standard.end(),
                                              [&](const std::string &s) { return baseOf(s) == base; }))
            return syl;
        const auto own = m_readings.find(cp);
        const auto def = m_default.find(cp);
        std::string pick;
        double pickWeight = -1;
        for (const auto &s : standard) {
            if (baseOf(s) != base)
                continue;
            double w = 0;
            if (def != m_default.end() && def->second == s)
                w = 1e300;
            else if (own != m_readings.end())
                for (const auto &r : own->second)
                    if (r.syllable == s)
                        w = r.weight;
            if (w > pickWeight) {
                pick = s;
                pickWeight = w;
            }
        }
        if (!pick.empty())
            return pick;
        for (const auto &s : standard) {
            bool covered = false;
            if (own != m_readings.end())
                for (const auto &r : own->second)
                    covered = covered || baseOf(r.syllable) == baseOf(s);
            if (!covered)
                return s;
        }
        // Else the standard reading terra reads most often (怎 ze3 -> zen3, 括 gua1 -> kuo4).
        std::string most = standard[0];
        double mostWeight = -1;
        if (own != m_readings.end())
            for (const auto &r : own->second)
                if (std::find(standard.begin(), standard.end(), r.syllable) != standard.end() &&
                    r.weight > mostWeight) {
                    most = r.syllable;
                    mostWeight = r.weight;
                }
        return most;
    }

    Sources &m_src;
    std::map<char32_t, std::vector<Reading>> m_readings;
    std::map<char32_t, std::string> m_default;
    std::map<char32_t, std::string> m_variantDefault;
    std::map<char32_t, std::set<char32_t>> m_mergedFrom; // terra's characters t2s turns into each
    std::map<Word, Entry> m_words;
    std::set<Word> m_respelled; // words whose letters pinyin_simp's spelling changed
    std::uint16_t m_unknownCost = 0;
};

std::string fnv64(const std::string &data) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx",
                  static_cast<unsigned long long>(core::pinyinDataChecksum(
                      reinterpret_cast<const unsigned char *>(data.data()), data.size())));
    return buf;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 9)
        fail("usage: make_pinyin_data OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS UNIHAN_VARIANTS JIEBA_DICT "
             "PINYIN_SIMP_DICT T2S_CONFIG [INFO...]");
    const std::string out = argv[1];
    const std::string terraDict = readFile(argv[2]), terra = readFile(argv[3]), unihan = readFile(argv[4]),
                      variants = readFile(argv[5]), jieba = readFile(argv[6]), simp = readFile(argv[7]);
    const std::string t2s = argv[8];
    Sources src;
    readTerra(terra, src);
    readTerraDict(terraDict, src);
    readUnihan(unihan, src);
    readVariants(variants, src);
    readJieba(jieba, src);
    readToneless(simp, src);
    if (src.terraChars.empty() || src.tghz.empty() || src.jieba.empty())
        fail("an input file has none of the expected entries");

    Builder b(src);
    b.mergeCharacters(t2s);
    b.respellDefaults();
    b.mergeWords(t2s);
    b.applyToneless();
    b.addJieba();
    b.addTraditional(t2s);

    std::string info = "lanternfin pinyin reading data\n";
    for (int i = 9; i < argc; ++i)
        info += std::string(argv[i]) + "\n";
    info += "terra_pinyin.dict.yaml fnv64 " + fnv64(terraDict) + "\n";
    info += "terra_pinyin.table.txt fnv64 " + fnv64(terra) + "\n";
    info += "Unihan_Readings.txt fnv64 " + fnv64(unihan) + "\n";
    info += "Unihan_Variants.txt fnv64 " + fnv64(variants) + "\n";
    info += "jieba dict.txt fnv64 " + fnv64(jieba) + "\n";
    info += "pinyin_simp.dict.yaml fnv64 " + fnv64(simp) + "\n";
    const auto file = b.write(info);

    const std::string tmp = out + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!f)
            fail("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0)
        fail("cannot rename " + tmp + " to " + out);
    return 0;
}
