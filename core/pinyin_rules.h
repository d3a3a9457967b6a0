#pragma once

// The rules of grammar the pinyin reader applies to a segmented run after its dictionary and
// context models: readings the labelled sentences teach too little of, and the tone changes of 一
// and 不. Pure functions of the run and the data file's syllables; no state between runs.

#include "pinyin_context.h"

#include <cstdint>
#include <span>
#include <vector>

namespace core {

class PinyinReadingData;

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
    bool endsTitle = false; // the run ends a book's title (before 》)

    bool standsAlone(std::size_t i) const { return pinyinStandsAlone(wordStart, besideText, i); }
};

// The rules of grammar the reader applies after its dictionary and models: polyphones the labelled
// sentences teach too little of (了, 得, 地, 着, 行...), then the tone changes of 一 and 不.
class PinyinGrammarRules {
public:
    explicit PinyinGrammarRules(const PinyinReadingData &data);
    // Corrects `syl`, the readings of `run` so far.
    void apply(const PinyinSegmentedRun &run, std::vector<std::uint16_t> &syl) const;

private:
    // The trie node of `chars` where the segmentation knows them as a word, else 0.
    std::uint32_t wordAt(std::span<const char32_t> chars) const;
    const PinyinReadingData &m_data;
    // The syllables the rules give, kNoSyllable where the data file lacks one.
    std::uint16_t m_yi1, m_yi2, m_yi4, m_bu2, m_bu4, m_hang2, m_lv4, m_shuai4, m_fa1, m_fa4, m_guo4, m_guo5,
        m_ma5, m_le5, m_dei3, m_de2, m_jiao4, m_zhe5, m_pu4, m_di4, m_de5, m_jia4, m_xie3, m_ba5, m_chang2,
        m_zhang3, m_han4, m_xing2, m_wei2, m_huan2, m_liang2, m_tiao2, m_bao1, m_zhuan3, m_zhuan4, m_zhong4,
        m_cheng2, m_shu3, m_shu4, m_chuang4, m_fen1, m_fen4, m_feng4, m_fu4, m_wei4, m_qie1, m_er2, m_er5,
        m_juan3, m_juan4, m_zuan1, m_cha1, m_he2, m_zhuo2, m_dang4, m_chong4, m_chu3;
    // The surnames' readings, in the order of the rule's characters (单解仇缪查朴纪华).
    std::uint16_t m_surnames[8];
};

} // namespace core
