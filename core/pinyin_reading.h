#pragma once

// Pinyin as people read it: every character that has a reading, polyphones read as their word
// reads them, with the tone sandhi of 一 and 不.
//
//   银行 -> yín háng    行走 -> xíng zǒu    一个 -> yí gè    第一 -> dì yī    不对 -> bú duì
//
// Each run of characters with readings is split into words by the most probable sequence of
// dictionary words (the product of their probabilities, a dynamic programme over the run). A word
// the dictionary reads gets that reading; everything else is read character by character. 一 is yī at the end
// of a word or run, after 第 or a numeral, before a numeral digit, 月 or 号, between 月 and 日 (五月一日);
// else yí before a fourth tone and yì before the others. 不 is bú before a fourth tone, else bù. 行
// alone right after digits or numerals counts lines or rows (第3行, 10行代码, 第十行): háng; 率 alone
// after a word with nothing it could lead is a rate (出勤率 lǜ); 过 alone before an adjective alone
// is "too" (文件过大 guò); 发 alone is fà, hair, only beside a character of the words for hair
// (黑头发), else fā (明天发通知); 吗 alone is ma but before 啡; 了 alone ending a run is le but
// after 不 or 得 (麻烦你了 le, 去不了 liǎo); 得 alone opening a line is "must" (得走了 děi). A
// polyphone
// that stands alone as a word of one character is read by its context model where the data file has one
// (pinyin_context.h); so is one inside a word the data file marks as read both ways (教会 jiào huì
// "the church", jiāo huì "taught"), where its model learnt that word. Near the start or end of a line,
// a model that would leave the dictionary's reading decides again without what it sees past the
// line's edge (发了 fā le, not fà). Everything else (letters, digits,
// punctuation, characters without a reading) passes through unchanged and in order; the separator stands
// between a syllable and letters or digits next to it.

#include "core/messages.h"
#include "pinyin_context.h"
#include "pinyin_data_format.h"
#include "pinyin_rules.h"
#include "utf.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A checked view of a pinyin reading data file (see pinyin_data_format.h). The bytes stay owned by
// the caller and must outlive the view and every reader made from it.
class PinyinReadingData {
public:
    // nullopt, with the reason in `why`, when the bytes are not a data file of this version: a
    // wrong magic or version, a size that does not add up, a checksum that does not match, or
    // the wrong byte order. The bytes must be 4-byte aligned (a mapped or allocated file is).
    static std::optional<PinyinReadingData> open(std::span<const unsigned char> bytes,
                                                 Message *why = nullptr);

    // What the file was made from (package versions and source hashes), one item a line.
    std::string_view info() const { return m_info; }

    // The syllable of a code point's own reading ("zhong1", ü written v), or kNoSyllable.
    std::uint16_t syllableOf(char32_t cp) const {
        if (cp >= 0x40000)
            return 0xFFFF;
        const std::uint16_t page = m_pageIndex[cp >> 8];
        return page ? m_pages[(page - 1u) * 256 + (cp & 0xFF)] : std::uint16_t(0xFFFF);
    }
    bool hasReading(char32_t cp) const { return syllableOf(cp) != 0xFFFF; }
    std::size_t syllableCount() const { return m_syllables.size(); }
    std::string_view syllableName(std::uint16_t id) const { return m_syllables[id]; }
    std::uint16_t syllableId(std::string_view name) const; // kNoSyllable when unknown

    // The trie node of `cp` after `node` (0: the root), or 0 when no word continues so.
    std::uint32_t child(std::uint32_t node, char32_t cp) const {
        if (node == 0) {
            if (cp >= 0x40000)
                return 0;
            const std::uint16_t page = m_pageIndex[cp >> 8];
            return page ? m_rootPages[(page - 1u) * 256 + (cp & 0xFF)] : 0;
        }
        const std::uint32_t h = pinyinTrieHash(node, cp);
        const std::uint32_t bit = h & (kPinyinFilterBits - 1);
        if (!(m_filter[bit / 32] >> (bit % 32) & 1))
            return 0;
        return probe(h, node, cp);
    }
    const PinyinTrieSlot &slot(std::uint32_t node) const { return m_slots[node - 1]; }
    // The part of speech of a node's word (a number, 0 unknown); 0 for the root.
    std::uint8_t tagOf(std::uint32_t node) const {
        return node ? static_cast<std::uint8_t>(m_tags[node - 1] & ~kPinyinReadInContext) : 0;
    }
    // Whether a node's word has polyphones its characters' models read in context.
    bool readInContext(std::uint32_t node) const { return node && (m_tags[node - 1] & kPinyinReadInContext); }
    std::uint16_t readingAt(std::uint32_t i) const { return m_readings[i]; }
    std::size_t readingCount() const { return m_readings.size(); }
    std::uint32_t unknownCost() const { return m_unknownCost; }

    // The number of the context model of `cp`, or -1 where it has none.
    int modelOf(char32_t cp) const {
        if (cp >= 0x40000 || !(m_hasModel[cp >> 6] >> (cp & 63) & 1))
            return -1;
        return findModel(cp);
    }
    std::size_t modelCount() const { return m_models.size(); }
    // The reading a model gives in the context of `features`: the class of the highest sum of
    // weights, the first (the default) between equals.
    std::uint16_t predict(int model, std::span<const std::uint32_t> features) const;
    // The same for a run beside the edge of the text (the start or end of a line): where a reading
    // other than the default (the first class) wins and some features look past an edge that
    // `edges` names (kPastStart, kPastEnd; `beyond` as pinyinContextFeatures gives it), the
    // reading is decided again without those features (the default between equals).
    std::uint16_t predictNearEdge(int model, std::span<const std::uint32_t> features,
                                  std::span<const std::uint8_t> beyond, std::uint8_t edges) const;
    // Whether a model has weights for `feature`.
    bool knows(int model, std::uint32_t feature) const;

private:
    PinyinReadingData() = default;
    std::uint32_t probe(std::uint32_t hash, std::uint32_t node, char32_t cp) const;
    int findModel(char32_t cp) const;
    // A model's weights of a feature (one per class), or null where it has none.
    const std::int16_t *weightsOf(int model, std::uint32_t feature, std::size_t classes) const;
    // The slot of a model's feature in the table, or null when the model has no weight for it.
    const PinyinFeatureSlot *slotOf(int model, std::uint32_t feature) const;
    std::string_view m_info;
    std::vector<std::string_view> m_syllables;
    const std::uint16_t *m_pageIndex = nullptr;
    const std::uint16_t *m_pages = nullptr;
    const std::uint32_t *m_rootPages = nullptr;
    const std::uint32_t *m_filter = nullptr;
    std::span<const PinyinTrieSlot> m_slots;
    const std::uint8_t *m_tags = nullptr;
    std::span<const std::uint16_t> m_readings;
    std::uint32_t m_slotMask = 0;
    std::uint32_t m_unknownCost = 0;
    std::span<const PinyinModelEntry> m_models;
    std::span<const std::uint16_t> m_classes;
    std::span<const PinyinFeatureSlot> m_featureSlots;
    std::span<const std::int16_t> m_weights;
    std::vector<std::uint64_t> m_hasModel; // a bit per code point below U+40000
};

enum class PinyinTone {
    Marks,   // hàn zì, lǜ; the neutral tone without a mark
    Numbers, // han4 zi4, lü4; 5 for the neutral tone
    None,    // han zi, lü
};

struct PinyinStyle {
    PinyinTone tone = PinyinTone::Marks;
    std::string separator = " "; // between two consecutive syllables, and between a syllable and
                                 // Latin letters or digits next to it (他红了20年: le 20 nián)
    bool initials = false;       // each syllable's first letter (汉字 -> h z)
};

// Reads a UTF-8 stream piece by piece. Output for a run of characters is written once the run
// ends (at other text, or at the end of the stream), or every few thousand characters of a
// longer run.
class PinyinReader {
public:
    PinyinReader(const PinyinReadingData &data, const PinyinStyle &style);

    // Appends the reading of `in` to `out`. Returns as decodeUtf8: with `final` false, a sequence
    // cut by the end of `in` is not consumed (pass it again with the next piece); on a bad byte,
    // everything before it is written and `consumed` is its offset.
    Utf8DecodeResult feed(std::string_view in, std::string &out, bool final);

    // Appends the reading of the whole text `utf8`, read apart from anything fed before (invalid
    // sequences pass through as U+FFFD). One reader serves many texts, such as the lines of a
    // file, without rendering its syllables again for each.
    void readWhole(std::string_view utf8, std::string &out);

    // The reading of each of `pieces` (valid UTF-8), written as readWhole writes it alone, its
    // characters read as they read in the pieces joined: the pieces of a subtitle's cue line that
    // markup parts ({\k30}理{\k30}发 is lǐ and fà, not lǐ and fā alone).
    std::vector<std::string> readPieces(const std::vector<std::string_view> &pieces);

    // Readings of one run of characters (all of them having readings), as syllable numbers;
    // `before` and `after` say what lies beside the run.
    void readRun(std::span<const char32_t> run, std::vector<std::uint16_t> &syllables,
                 PinyinBoundary before = PinyinBoundary::Edge, PinyinBoundary after = PinyinBoundary::Edge);

    // After readRun: whether position `i` of the run was a word of one character beside other
    // characters or text (a run of one between digits or punctuation: 3卷49首, 、鬲、), and so read
    // by its model where it has one (the dictionary leaves it open). A character with nothing
    // beside it (a word looked up by itself) is not.
    bool standsAlone(std::size_t i) const { return pinyinStandsAlone(m_wordStart, m_besideText, i); }
    // After readRun: the segmentation's word starts, one flag per character.
    std::span<const std::uint8_t> wordStarts() const { return m_wordStart; }
    // After readRun: the part of speech of the word starting at each word start (0 unknown).
    std::span<const std::uint8_t> wordTags() const { return m_wordTag; }

private:
    void flushRun(std::string &out, PinyinBoundary after);
    // While a run is flushed: the mark that ends it (0 at a line's end or before other text).
    // The rules read 传 and 帖 before 》 or 〉 as the biography and the calligraphy (《诸葛亮传》,
    // 《快雪时晴帖》), and a line's first run before （ or ， as may be a name (曾宪梓（1934年－）).
    char32_t m_closedBy = 0;
    // The mark right before the run being gathered (0 after a line's start or other text): a run
    // after 、 goes on the clause before it (以针法细密、色彩雅洁见长).
    char32_t m_openedBy = 0;
    // Whether the run being gathered follows a closing quotation mark or title mark
    // (“南无”为梵语音译, 《法华经》为根本经典): the rules read 为 there as after a noun; whether 以 or a
    // verb of naming took the quotation (以“樘”为, 释“侗”为); the nesting of the marks open so
    // far. Reset at every other mark outside a quotation and at a line's end.
    bool m_afterClose = false;
    char32_t m_closeMark = 0; // the last closing mark met
    bool m_quoteTaken = false;
    bool m_quoteList = false; // right after a quotation closed, or after it and 、
    int m_quoteDepth = 0;
    void noteMark(char32_t cp, std::u32string_view before);
    void forgetQuotes() {
        m_afterClose = false;
        m_quoteTaken = false;
        m_quoteList = false;
        m_quoteDepth = 0;
    }

    const PinyinReadingData &m_data;
    PinyinGrammarRules m_rules;
    PinyinStyle m_style;
    std::vector<std::string> m_rendered; // each syllable in the chosen style
    std::size_t m_longest = 0;
    // The same, each in a fixed slot, and the separator likewise, where all fit: a run is then
    // written by whole-slot copies the compiler inlines, not a library call per syllable.
    static constexpr std::size_t kSlot = 16;
    struct Slot {
        char bytes[kSlot];
        std::uint8_t size;
    };
    std::vector<Slot> m_slots;
    Slot m_separatorSlot{};
    std::string m_scratch; // a run's rendering before it joins the output
    std::vector<char32_t> m_run;
    std::vector<std::uint16_t> m_syl;
    std::vector<std::uint32_t> m_best, m_end, m_node;
    std::vector<std::uint8_t> m_wordEnd, m_wordStart, m_wordTag;
    bool m_anyInContext = false; // the run being read has a word read in context
    // readPieces: the readings of the joined pieces gathered, then given out in order.
    std::vector<std::uint16_t> *m_capture = nullptr;
    const std::vector<std::uint16_t> *m_given = nullptr;
    std::size_t m_givenAt = 0;
    std::vector<std::uint32_t> m_features;
    std::vector<std::uint8_t> m_beyond;             // what each feature looks past
    PinyinBoundary m_before = PinyinBoundary::Edge; // what lies before the run being gathered
    bool m_besideText = false;                      // the run read last has text before or after it
    // What the output ends with: a separator goes between syllables, and between a syllable and
    // Latin letters or digits.
    enum class Last { Other, Syllable, Alphanumeric };
    Last m_last = Last::Other;
};

// The reading of a whole UTF-8 text; invalid sequences pass through as U+FFFD.
std::string readPinyin(std::string_view utf8, const PinyinReadingData &data, const PinyinStyle &style);

// The reading of UTF-16 text (a lone surrogate passes through as U+FFFD).
std::u16string readPinyin(std::u16string_view text, const PinyinReadingData &data, const PinyinStyle &style);

// A syllable written with letters and a tone digit ("lv4") in `tone` style ("lǜ", "lü4", "lü").
std::string renderSyllable(std::string_view numbered, PinyinTone tone);

} // namespace core
