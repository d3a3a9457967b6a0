#pragma once

// The context models of make_pinyin_data: for each polyphone of the labelled sentences that the
// dictionary leaves open where it stands alone, an averaged perceptron over the features of
// core/pinyin_context.h, trained on the sentences as the engine segments them.

#include "core/pinyin_data_format.h"
#include "core/pinyin_reading.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace pinyin_data {

// A sentence with one character's reading written down by a person.
struct LabelledSentence {
    std::u32string text;
    std::size_t at = 0;  // the labelled character's index in `text`
    std::string reading; // numbered syllable, ü written v ("lv4")
};

// The sentences of SENT (the character marked by U+2581 on both sides) with the readings of the
// same lines of LB ("le5", "lu:4"); a line that is not so is left out.
std::vector<LabelledSentence> readLabelled(const std::string &sentText, const std::string &labelText);

// The sentences of data/polyphones-fields, one a line: "field TAB sentence TAB syllables", a
// numbered syllable for every Han character (isHan: the unified ideographs with extension A and
// beyond, the compatibility ones, 〇) in order. Each place of a character read as one of
// `readings` (a character and a reading the labelled sets give it) becomes a labelled sentence of
// its own. A line that is not so is an error: `error` names it, and nothing is returned.
std::vector<LabelledSentence> readFieldSentences(const std::string &text,
                                                 const std::set<std::pair<char32_t, std::string>> &readings,
                                                 std::string *error);

// Where a labelled character stands in the engine's reading of its sentence without models.
struct LabelledContext {
    bool alone = false;                  // a word of one character: the model decides
    std::u32string word;                 // else the word of the segmentation that holds it
    std::size_t offset = 0;              // and its place in that word
    std::string reading;                 // the engine's reading without models
    std::vector<std::uint32_t> features; // its context's (in a word too: the word's last)
};
LabelledContext contextOf(core::PinyinReader &reader, const core::PinyinReadingData &data,
                          const LabelledSentence &s);

// The readings the labels give polyphones inside words, where the engine reads them otherwise
// and more labels say so than agree with it (勃艮第 gèn, 黄陂 bēi): word -> its corrected reading,
// starting from `readingOf` (the engine's reading of the word alone). A word of `standard` (the
// Mainland standard's readings) counts the standard as one label agreeing: one sentence does not
// overturn it (独立总行的, labelled xíng, means the head office), two do (厚薄 báo).
std::map<std::u32string, std::vector<std::string>>
wordCorrections(const core::PinyinReadingData &data, const std::vector<LabelledSentence> &sentences,
                const std::set<std::u32string> &standard = {});

// The corrections the hand-read fields teach (wordCorrections of `fields`), for the words the
// labelled sentences never hold (there the sets decide). The writers read a word in the sense
// their prose meant, which is not always the everyday one, so a correction is left out where it
// takes a neutral tone away (管子 guǎn zǐ of the philosopher, 花子) or changes a syllable's letters
// and pinyin_simp (`toneless`: a word's spellings with the typists' weights) does not spell the
// word so more often than any other way (大夫 dà fū of the officials of old, 年率 shuài of 是年率军,
// 粘合剂 zhān). Tones alone may change (任新民 rén, 折子戏 zhé zi xì, 王谢堂前燕 yàn).
std::map<std::u32string, std::vector<std::string>>
fieldWordCorrections(const core::PinyinReadingData &data, const std::vector<LabelledSentence> &fields,
                     const std::vector<LabelledSentence> &labelled, const std::set<std::u32string> &standard,
                     const std::map<std::u32string, std::map<std::string, double>> &toneless);

// Taiwan's tone of a character that the words keep where Mainland text reads another (夹攻, 夹击
// jiá where the labels say jiā): where the labels read the character inside at least three words of
// `words` (their own readings) with other tones than those words give it, in more words than they
// agree, every word of `words` that gives the character (or a traditional form of it, by
// `traditionalOf`) that tone, by its own reading or its characters' `readings`, takes the labels'
// (but those the labels agree with, and the words of `standard`, whose readings are the Mainland
// standard's: 一场雨 cháng). Returns how many syllables changed.
std::size_t correctWordTones(const core::PinyinReadingData &data,
                             const std::vector<LabelledSentence> &sentences,
                             const std::map<char32_t, std::set<char32_t>> &traditionalOf,
                             const std::map<char32_t, std::string> &readings,
                             std::map<std::u32string, core::PinyinWordEntry> &words,
                             const std::set<std::u32string> &standard = {});

// The reading transliterations give a character, in the names the dictionaries spell otherwise
// (塞尔维亚人, 拉塞尔 sè where 塞尔维亚, 贝塞尔 read sài): where the labels read the character in
// at least two names beside a character that spells foreign names, one reading more often than any
// other, every such name of `words` that gives it a reading the labels never give there takes that
// one (but those labelled). Returns how many syllables changed.
std::size_t correctTransliterations(const core::PinyinReadingData &data,
                                    const std::vector<LabelledSentence> &sentences,
                                    const std::map<char32_t, std::set<char32_t>> &traditionalOf,
                                    const std::map<char32_t, std::string> &readings,
                                    std::map<std::u32string, core::PinyinWordEntry> &words);

// Better readings for rare characters: where Mainland text's counts say nothing of a character
// (it is not in `counted`, kHanyuPinlu's characters) and the labels give it another reading than
// `data` does, at least twice and more often than ours (晟 shèng, 陂 bēi): character -> reading.
std::map<char32_t, std::string> labelledDefaults(const core::PinyinReadingData &data,
                                                 const std::vector<LabelledSentence> &sentences,
                                                 const std::set<char32_t> &counted);

// A polyphone inside a word and the word: (word, place).
using WordPlace = std::pair<std::u32string, std::size_t>;

// The places of words that the labels read both ways, each way in at least three sentences (教会
// jiāo and jiào, 兴起 xīng and xìng), read with `data` (a data file without models).
std::set<WordPlace> wordsReadBothWays(const core::PinyinReadingData &data,
                                      const std::vector<LabelledSentence> &sentences);

// Models trained on `sentences`, read with `data` (a data file without models): each character
// learns from its sentences where it stands alone and where it stands at a place of `inContext`.
// A character gets a model where those labels hold a reading other than the engine's; its
// classes are the engine's reading first, then the others in order. Such a character learns from
// the sentences of `more` as well (the fields'), after its own; `more` never makes a model.
std::map<char32_t, core::PinyinModel> trainContextModels(const core::PinyinReadingData &data,
                                                         const std::vector<LabelledSentence> &sentences,
                                                         const std::set<WordPlace> &inContext = {},
                                                         const std::vector<LabelledSentence> &more = {});

} // namespace pinyin_data
