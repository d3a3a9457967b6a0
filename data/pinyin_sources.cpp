#include "pinyin_sources.h"

#include "core/pinyin_data_format.h"
#include "core/utf.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace pinyin_data {

std::string syllableOf(std::string_view s) {
    return s == "r5" ? std::string("er5") : std::string(s);
}

void fail(const std::string &what) {
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

std::string baseOf(const std::string &syl) {
    return syl.substr(0, syl.size() - 1);
}

std::string lettersOf(const std::vector<std::string> &syllables) {
    std::string out;
    for (const std::string &y : syllables) {
        if (!out.empty())
            out += ' ';
        out += baseOf(y);
    }
    return out;
}

const std::pair<const std::string, double> &mostTyped(const std::map<std::string, double> &spellings) {
    return *std::max_element(spellings.begin(), spellings.end(),
                             [](const auto &a, const auto &b) { return a.second < b.second; });
}

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
static std::string tonelessSyllable(std::string_view s) {
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

void readStandard(const std::string &text, Sources &src) {
    std::size_t number = 0;
    // A word written down twice must read alike both times: otherwise the later line silently
    // overrides the earlier, and a reader of the file cannot tell which one holds.
    std::map<Word, std::pair<std::vector<std::string>, std::size_t>> seen;
    for (std::string_view line : split(text, '\n')) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        const auto f = split(line, '\t');
        const Word key = f.empty() ? Word() : decode(f[0]);
        std::vector<std::string> syl;
        if (f.size() == 2)
            for (auto x : split(f[1], ' '))
                syl.push_back(numbered(x));
        if (f.size() != 2 || key.empty() || key.size() != syl.size() ||
            !std::all_of(key.begin(), key.end(), isHan) ||
            std::any_of(syl.begin(), syl.end(), [](const std::string &x) { return x.size() < 2; }))
            fail("standard readings, line " + std::to_string(number) +
                 ": not a word, a tab and one syllable per "
                 "character");
        const auto [at, first] = seen.try_emplace(key, syl, number);
        if (!first && at->second.first != syl)
            fail("standard readings, line " + std::to_string(number) + ": the word of line " +
                 std::to_string(at->second.second) + " again, read otherwise");
        src.standard.emplace_back(key, std::move(syl));
    }
}

void readJieba(const std::string &text, Sources &src) {
    for (std::string_view line : split(text, '\n')) {
        const auto f = split(line, ' ');
        if (f.size() < 2)
            continue;
        src.jieba.emplace_back(decode(f[0]), std::strtod(std::string(f[1]).c_str(), nullptr));
        if (f.size() > 2 && !f[2].empty())
            src.jiebaTag[src.jieba.back().first] = std::string(f[2].substr(0, f[2].find('\r')));
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

std::string fnv64(const std::string &data) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx",
                  static_cast<unsigned long long>(core::pinyinDataChecksum(
                      reinterpret_cast<const unsigned char *>(data.data()), data.size())));
    return buf;
}

} // namespace pinyin_data
