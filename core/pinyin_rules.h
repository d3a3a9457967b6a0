#pragma once

// The rules of grammar the pinyin reader applies to a segmented run after its dictionary and
// context models: readings the labelled sentences teach too little of, and the tone changes of 一
// and 不. Pure functions of the run and the data file's syllables; no state between runs.

#include "pinyin_context.h"
#include "pinyin_data_format.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace core {

class PinyinReadingData;
namespace rules {
struct RuleRun;
}

// Whether the character at `i` is a word of one character beside other characters or text, by the
// segmentation's word starts (one flag per character); `besideText` says whether anything lies
// beside a run of one.
inline bool pinyinStandsAlone(std::span<const std::uint8_t> wordStart, bool besideText, std::size_t i) {
    const std::size_t n = wordStart.size();
    return (n > 1 || besideText) && wordStart[i] && (i + 1 == n || wordStart[i + 1]);
}

// A run of characters as the reader segmented it, for the rules below.
struct PinyinSegmentedRun {
    std::span<const char32_t> text;
    std::span<const std::uint8_t> wordStart; // a word begins here
    std::span<const std::uint8_t> wordEnd;   // a word of two or more characters ends here
    std::span<const std::uint32_t> end;      // at a word start: where its word ends
    bool besideText;
    PinyinBoundary before, after;
    bool startsAfterClose = false; // the run follows a closing quotation mark or 》
    bool quoteTaken = false;       // and 以 or a verb of naming took it (以“樘”为, 释“侗”为)
    char32_t closedBy = 0;         // the mark right after the run (0 at a line's end, before other text)
    bool startsAfterTitle = false; // the run follows 》 or 〉 (《全唐诗》卷七六一)
    char32_t openedBy = 0;         // the mark right before the run (0 after a line's start or text)

    bool standsAlone(std::size_t i) const { return pinyinStandsAlone(wordStart, besideText, i); }
    // The run ends a book's title (before 》 or 〉).
    bool endsTitle() const { return closedBy == U'》' || closedBy == U'〉'; }
};

// The rules of grammar the reader applies after its dictionary and models: polyphones the labelled
// sentences teach too little of (了, 得, 地, 着, 行...), then the tone changes of 一 and 不.
// pinyin_rules.cpp holds the order of the passes and the tones; pinyin_rules_words.cpp the rules
// by the words around a character, pinyin_rules_wei.cpp those of 为, pinyin_rules_alone.cpp those
// of characters standing alone.
class PinyinGrammarRules {
public:
    explicit PinyinGrammarRules(const PinyinReadingData &data);
    // Corrects `syl`, the readings of `run` so far.
    void apply(const PinyinSegmentedRun &run, std::vector<std::uint16_t> &syl) const;

private:
    // The passes, in the order apply() runs them; each corrects `syl` where its rules hold.
    void readMustBeforeItsObject(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readWeiBesideItsNeighbours(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readSurnamesAndWords(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readWordsOfPlaceAndKind(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readWeiAlone(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readCharactersAlone(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    void readToneChanges(const rules::RuleRun &ctx, std::vector<std::uint16_t> &syl) const;
    // The trie node of `chars` where the segmentation knows them as a word, else 0.
    std::uint32_t wordAt(std::span<const char32_t> chars) const;
    const PinyinReadingData &m_data;
    // The syllables the rules give, kNoSyllable where the data file lacks one (or where the
    // constructor names none: then the rule that reads it stays off).
    std::uint16_t m_yi1{kNoSyllable}, m_yi2{kNoSyllable}, m_yi4{kNoSyllable}, m_bu2{kNoSyllable},
        m_bu4{kNoSyllable}, m_hang2{kNoSyllable}, m_lv4{kNoSyllable}, m_shuai4{kNoSyllable},
        m_fa1{kNoSyllable}, m_fa4{kNoSyllable}, m_guo4{kNoSyllable}, m_guo5{kNoSyllable}, m_ma5{kNoSyllable},
        m_le5{kNoSyllable}, m_dei3{kNoSyllable}, m_de2{kNoSyllable}, m_jiao4{kNoSyllable},
        m_zhe5{kNoSyllable}, m_pu4{kNoSyllable}, m_di4{kNoSyllable}, m_de5{kNoSyllable}, m_jia4{kNoSyllable},
        m_xie3{kNoSyllable}, m_ba5{kNoSyllable}, m_chang2{kNoSyllable}, m_zhang3{kNoSyllable},
        m_han4{kNoSyllable}, m_xing2{kNoSyllable}, m_wei2{kNoSyllable}, m_huan2{kNoSyllable},
        m_liang2{kNoSyllable}, m_tiao2{kNoSyllable}, m_bao1{kNoSyllable}, m_zhuan3{kNoSyllable},
        m_zhuan4{kNoSyllable}, m_zhong4{kNoSyllable}, m_cheng2{kNoSyllable}, m_shu3{kNoSyllable},
        m_shu4{kNoSyllable}, m_chuang4{kNoSyllable}, m_fen1{kNoSyllable}, m_fen4{kNoSyllable},
        m_feng4{kNoSyllable}, m_fu4{kNoSyllable}, m_wei4{kNoSyllable}, m_qie1{kNoSyllable},
        m_er2{kNoSyllable}, m_er5{kNoSyllable}, m_juan3{kNoSyllable}, m_juan4{kNoSyllable},
        m_zuan1{kNoSyllable}, m_cha1{kNoSyllable}, m_he2{kNoSyllable}, m_zhuo2{kNoSyllable},
        m_dang4{kNoSyllable}, m_chong4{kNoSyllable}, m_chu3{kNoSyllable}, m_la4{kNoSyllable},
        m_jiang1{kNoSyllable}, m_dou3{kNoSyllable}, m_da4{kNoSyllable}, m_fu1{kNoSyllable},
        m_dan4{kNoSyllable}, m_jiang4{kNoSyllable}, m_liu4{kNoSyllable}, m_la5{kNoSyllable},
        m_zhuang4{kNoSyllable}, m_gan3{kNoSyllable}, m_ge2{kNoSyllable}, m_ge3{kNoSyllable},
        m_jing4{kNoSyllable}, m_du1{kNoSyllable}, m_qiang4{kNoSyllable}, m_tang2{kNoSyllable},
        m_long4{kNoSyllable}, m_cha4{kNoSyllable}, m_zuo3{kNoSyllable}, m_li5{kNoSyllable},
        m_xia4{kNoSyllable}, m_jiao1{kNoSyllable}, m_huo2{kNoSyllable}, m_gao3{kNoSyllable},
        m_xiang2{kNoSyllable}, m_jue2{kNoSyllable}, m_zhi1{kNoSyllable}, m_ying1{kNoSyllable},
        m_ying4{kNoSyllable}, m_yan4{kNoSyllable}, m_zan3{kNoSyllable}, m_heng4{kNoSyllable},
        m_nong4{kNoSyllable}, m_lv3{kNoSyllable}, m_pao4{kNoSyllable}, m_bao4{kNoSyllable},
        m_sao4{kNoSyllable}, m_ji4{kNoSyllable}, m_xiao1{kNoSyllable}, m_za3{kNoSyllable},
        m_zhao2{kNoSyllable}, m_zha2{kNoSyllable}, m_hu2{kNoSyllable}, m_ding4{kNoSyllable},
        m_bai3{kNoSyllable}, m_mo4{kNoSyllable}, m_zhong3{kNoSyllable}, m_zang4{kNoSyllable},
        m_lei3{kNoSyllable}, m_shao4{kNoSyllable}, m_chao2{kNoSyllable}, m_ding1{kNoSyllable},
        m_zha4{kNoSyllable}, m_shuai1{kNoSyllable}, m_mi3{kNoSyllable}, m_duo4{kNoSyllable},
        m_ba1{kNoSyllable}, m_xiang4{kNoSyllable}, m_xiang1{kNoSyllable}, m_sai4{kNoSyllable},
        m_fang2{kNoSyllable}, m_gan1{kNoSyllable}, m_chong1{kNoSyllable}, m_jian4{kNoSyllable},
        m_pao1{kNoSyllable}, m_o2{kNoSyllable}, m_o4{kNoSyllable}, m_o5{kNoSyllable}, m_zai3{kNoSyllable},
        m_jia1{kNoSyllable}, m_zhi3{kNoSyllable}, m_sui4{kNoSyllable}, m_cheng1{kNoSyllable},
        m_meng3{kNoSyllable}, m_sheng4{kNoSyllable}, m_sang1{kNoSyllable}, m_ning4{kNoSyllable},
        m_ta4{kNoSyllable}, m_yue4{kNoSyllable}, m_tu3{kNoSyllable}, m_jie1{kNoSyllable},
        m_kong4{kNoSyllable}, m_dao4{kNoSyllable};
    // The dictionary's parts of speech of verbs (the tags of 提供, 发展, 喝, 持续; 0 where unknown).
    std::array<std::uint8_t, 4> m_verbTags{};
    // The dictionary's parts of speech of people's names (the tags of 李白 and 刘备; 0 where unknown).
    std::array<std::uint8_t, 2> m_nameTags{};
    // The dictionary's parts of speech of adjectives (the tags of 豪爽 and 狠毒; 0 where unknown).
    std::array<std::uint8_t, 2> m_adjectiveTags{};
    // Whether the word `chars` is a verb by its part of speech.
    bool isVerb(std::u32string_view chars) const;
    // Whether the word `chars` is a person's name by its part of speech.
    bool isName(std::u32string_view chars) const;
    // Whether the word `chars` is an adjective by its part of speech.
    bool isAdjective(std::u32string_view chars) const;
    // The surnames' readings, in the order of rules::kSurnames: those read before a title first
    // (单解区仇缪查朴纪华), then those only read opening a line (曾任覃盖翟).
    std::uint16_t m_surnames[14]{};
};

} // namespace core
