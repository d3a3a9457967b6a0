#pragma once

// The source readers of make_pinyin_data: what each Debian package's file says, unjudged.
// How the readings are chosen from them is pinyin_policy's business.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pinyin_data {

using Word = std::u32string;

// Prints "make_pinyin_data: WHAT" and ends the program with status 1.
[[noreturn]] void fail(const std::string &what);

// The whole file; fails when it cannot be read.
std::string readFile(const std::string &path);

std::u32string decode(std::string_view utf8);
std::string encode(std::u32string_view text);
// The pieces between separators (n separators give n + 1 pieces, empty ones included).
std::vector<std::string_view> split(std::string_view s, char sep);
// CJK ideographs (the unified blocks, compatibility ideographs, extensions B-G) and 〇.
bool isHan(char32_t c);
// A syllable with tone marks (Unihan: "zhǎng", "lǜ", "ń") as letters and a tone digit ("zhang3",
// "lv4", "n2"); a syllable without a mark gets 5; empty for a mark it does not know.
std::string numbered(std::string_view marked);
// A syllable as terra writes it, in our spelling: the 儿 of erhua, r5 (一下兒 yi2 xia4 r5), is er5.
std::string syllableOf(std::string_view s);
// A numbered syllable's letters ("zhang3" -> "zhang").
std::string baseOf(const std::string &syl);
// A word's numbered syllables as pinyin_simp spells them: their letters, separated by spaces
// ("huan4 hang2" -> "huan hang").
std::string lettersOf(const std::vector<std::string> &syllables);
// The spelling of a word that pinyin_simp types most often, with its weight (the first of equals);
// `spellings` is one of Sources::toneless's, never empty.
const std::pair<const std::string, double> &mostTyped(const std::map<std::string, double> &spellings);

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
    std::map<Word, std::string> jiebaTag; // the part of speech jieba gives a word ("n", "v", "ns")
    // rime-data-pinyin-simp's simplified words and characters: toneless readings with weights.
    std::map<Word, std::map<std::string, double>> toneless;
    // data/standard-readings.txt: words with the Mainland standard's reading (numbered syllables).
    std::vector<std::pair<Word, std::vector<std::string>>> standard;
};

// terra_pinyin.table.txt: characters' readings and the table's word weights.
void readTerra(const std::string &text, Sources &src);
// terra_pinyin.dict.yaml: the curated word readings (after readTerra, whose weights they take).
void readTerraDict(const std::string &text, Sources &src);
// Unihan_Readings.txt: kTGHZ2013, kMandarin, kHanyuPinyin, kXHC1983 and kHanyuPinlu.
void readUnihan(const std::string &text, Sources &src);
// Unihan_Variants.txt: every variant of a character.
void readVariants(const std::string &text, Sources &src);
// pinyin_simp.dict.yaml: toneless spellings with weights.
void readToneless(const std::string &text, Sources &src);
// data/standard-readings.txt: a word, a tab and its syllables with tone marks on each line; '#'
// starts a comment line. Fails on a line it cannot read, naming it.
void readStandard(const std::string &text, Sources &src);
// jieba's dict.txt: words, their frequencies and parts of speech.
void readJieba(const std::string &text, Sources &src);

// The keys as an OpenCC configuration converts them (t2s.json: to simplified), each key on a
// line of one conversion; a key whose length changes stays as it is.
std::vector<Word> convertedBy(const std::string &config, const std::vector<Word> &keys);

// The data's checksum as 16 hex digits, naming a source's version in the info text.
std::string fnv64(const std::string &data);

} // namespace pinyin_data
