#pragma once

// The layout of lanternfin's pinyin reading data file, its writer (used by data/make_pinyin_data)
// and the checksum shared with the engine that reads it (pinyin_reading.cpp).
//
// All numbers are little-endian. The file is:
//   PinyinDataHeader
//   info text (infoSize bytes, UTF-8: what the file was made from), padded to 4 bytes
//   syllable names (syllableNamesSize bytes: "zhong1\0lv4\0..."; ü is written v, tone 1..5 last),
//     padded to 4 bytes
//   page index: kPinyinPageIndexSize uint16 (the page of code points cp >> 8; 0 = no readings)
//   pages: pageCount blocks of 256 uint16 (the syllable of each code point, kNoSyllable = none);
//     page number p (1-based) is block p - 1
//   root pages: pageCount blocks of 256 uint32 (the trie node of the one-character prefix, 0 none)
//   trie filter: kPinyinFilterBits bits, bit (hash & (kPinyinFilterBits - 1)) set for every node
//     below the root, so that most lookups of a missing word end without touching the trie
//   word trie: slotCount PinyinTrieSlot, an open-addressing hash table keyed by (parent, cp)
//   word readings: readingCount uint16 syllable numbers, padded to 4 bytes
//   word tags: slotCount uint8, the part of speech of each node's word (a number for each of
//     jieba's tags in their sorted order, from 1; 0 none) in the low 7 bits; the high bit
//     (kPinyinReadInContext) marks a word whose polyphones the models read where they learnt
//     the word; padded to 4 bytes
//   models: modelCount PinyinModelEntry, by code point: the polyphones read by their context
//     where they stand alone (see pinyin_context.h)
//   model classes: classCount uint16 syllable numbers (a model's readings, its default first),
//     padded to 4 bytes
//   feature slots: featureSlotCount PinyinFeatureSlot (a power of two, or 0), an open-addressing
//     hash table keyed by pinyinFeatureKey(feature, model number)
//   weights: weightCount int16, padded to 4 bytes; a slot's weights are one per class of its model
// The checksum covers every byte after the header.

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace core {

inline constexpr char kPinyinDataMagic[8] = {'L', 'F', 'P', 'I', 'N', 'Y', 'I', 'N'};
inline constexpr std::uint32_t kPinyinDataVersion = 4;
// The word tag's bit of a word read in context (its tag number is in the bits below).
inline constexpr std::uint8_t kPinyinReadInContext = 0x80;
inline constexpr std::uint32_t kPinyinPageIndexSize = 0x400; // code points up to U+3FFFF
inline constexpr std::uint16_t kNoSyllable = 0xFFFF;
inline constexpr std::uint32_t kPinyinFilterBits = 1u << 21;

// Costs are -ln(word probability) in units of 1/kPinyinCostScale, in 14 bits (jieba's rarest
// word costs about 16,100).
inline constexpr double kPinyinCostScale = 900.0;
inline constexpr std::uint32_t kNotASegmentationWord = 0x3FFF;
inline constexpr std::uint32_t kNoWordReading = 0xFFFFFFFF;
inline constexpr std::uint32_t kPinyinCodePointBits = 18;

struct PinyinDataHeader {
    char magic[8];
    std::uint32_t version;
    std::uint32_t infoSize;
    std::uint64_t checksum;
    std::uint32_t syllableCount;
    std::uint32_t syllableNamesSize;
    std::uint32_t pageCount;
    std::uint32_t slotCount; // a power of two
    std::uint32_t readingCount;
    std::uint32_t unknownCost; // the cost of a character that is no word of its own
    std::uint32_t modelCount;
    std::uint32_t classCount;
    std::uint32_t featureSlotCount;
    std::uint32_t weightCount;
};
static_assert(sizeof(PinyinDataHeader) == 64);

// A polyphone's model: its readings are classes [firstClass, firstClass + classCount).
struct PinyinModelEntry {
    std::uint32_t cp;
    std::uint16_t firstClass;
    std::uint16_t classCount;
};
static_assert(sizeof(PinyinModelEntry) == 8);

// A feature's weights for one model: weightCount(model) int16 from `weights`. Empty: key 0.
struct PinyinFeatureSlot {
    std::uint32_t key;
    std::uint32_t weights;
};
static_assert(sizeof(PinyinFeatureSlot) == 8);

// A node of the word trie: the word (or word prefix) made of the parent's characters and `cp`.
// A node's number is its slot index + 1; the root is 0. An empty slot is all 0.
struct PinyinTrieSlot {
    std::uint32_t parent;
    std::uint32_t cpAndCost; // the code point in the low 18 bits, the word's cost above it
                             // (kNotASegmentationWord: a prefix only)
    std::uint32_t reading;   // first syllable in the word readings, or kNoWordReading

    char32_t cp() const { return cpAndCost & ((1u << kPinyinCodePointBits) - 1); }
    std::uint32_t cost() const { return cpAndCost >> kPinyinCodePointBits; }
};
static_assert(sizeof(PinyinTrieSlot) == 12);

inline std::uint32_t pinyinTrieHash(std::uint32_t parent, std::uint32_t cp) {
    std::uint32_t h = parent * 0x9E3779B1u ^ cp * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// FNV-1a over little-endian 8-byte words in eight interleaved lanes (the tail byte by byte),
// combined at the end: cheap enough to check at every load (about a millisecond for the file).
inline std::uint64_t pinyinDataChecksum(const unsigned char *p, std::uint64_t n) {
    constexpr std::uint64_t prime = 0x100000001B3ull;
    std::uint64_t h[8];
    for (int lane = 0; lane < 8; ++lane)
        h[lane] = 0xCBF29CE484222325ull + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(lane);
    std::uint64_t i = 0;
    for (; i + 64 <= n; i += 64)
        for (int lane = 0; lane < 8; ++lane) {
            std::uint64_t w;
            std::memcpy(&w, p + i + 8 * lane, 8); // the files are little-endian, as the hosts that read them
            h[lane] = (h[lane] ^ w) * prime;
        }
    std::uint64_t r = 0;
    for (int lane = 0; lane < 8; ++lane)
        r = (r ^ h[lane]) * prime;
    for (; i < n; ++i)
        r = (r ^ p[i]) * prime;
    return r;
}

// One word of the data file: its segmentation cost (kNotASegmentationWord: a prefix only, never
// written) and its reading as numbered syllables, empty where it reads as its characters do.
struct PinyinWordEntry {
    std::uint16_t cost = kNotASegmentationWord;
    std::vector<std::string> reading;
    std::string tag; // its part of speech, empty where unknown
    // Read both ways where it stands (教会 jiào huì "the church", jiāo huì "taught"): the models of
    // its characters decide where they learnt the word, over `reading`.
    bool readInContext = false;
};

// A polyphone's context model: its readings (the default first) and, by feature hash, a weight
// per reading; the reading of the highest sum wins, the earlier between equals.
struct PinyinModel {
    std::vector<std::string> classes;
    std::map<std::uint32_t, std::vector<std::int16_t>> weights;
};

// What a data file holds, before it is laid out.
struct PinyinDataContent {
    std::string info;                                // what the file was made from, UTF-8
    std::map<char32_t, std::string> readings;        // each character's own reading ("zhong1")
    std::map<std::u32string, PinyinWordEntry> words; // the segmentation's words
    std::uint32_t unknownCost = 0;                   // the cost of a character that is no word
    std::map<char32_t, PinyinModel> models;          // polyphones read by their context
};

// The bytes of a data file holding `content`, which PinyinReadingData::open reads back. Empty,
// with the reason in `why`, where the content cannot be laid out: a word that starts with a
// character without a reading, a reading whose length is not its word's, a code point the file
// cannot hold (U+40000 and above), more syllables than the file numbers or 127 parts of speech, a model of a
// character without a reading, of no class or more than 255, or with weights not one per class.
std::vector<unsigned char> writePinyinData(const PinyinDataContent &content, std::string *why = nullptr);

} // namespace core
