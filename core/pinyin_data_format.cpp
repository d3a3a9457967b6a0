#include "pinyin_data_format.h"

#include "pinyin_context.h"

#include <set>

namespace core {

namespace {

std::uint32_t findOrInsert(std::vector<PinyinTrieSlot> &slots, std::uint32_t parent, char32_t c) {
    const std::uint32_t mask = static_cast<std::uint32_t>(slots.size() - 1);
    for (std::uint32_t i = pinyinTrieHash(parent, c) & mask;; i = (i + 1) & mask) {
        if (slots[i].cpAndCost == 0) {
            slots[i].parent = parent;
            slots[i].cpAndCost = c | kNotASegmentationWord << kPinyinCodePointBits;
            return i + 1;
        }
        if (slots[i].parent == parent && slots[i].cp() == c)
            return i + 1;
    }
}

} // namespace

std::vector<unsigned char> writePinyinData(const PinyinDataContent &content, std::string *why) {
    auto refuse = [why](const std::string &reason) {
        if (why)
            *why = reason;
        return std::vector<unsigned char>();
    };
    constexpr char32_t kCodePointLimit = char32_t(kPinyinPageIndexSize) << 8;
    // Syllables: every character's and word's reading, and those the 一/不 rules give.
    std::set<std::string> names = {"yi1", "yi2", "yi4", "bu2", "bu4"};
    for (const auto &[cp, s] : content.readings)
        names.insert(s);
    for (const auto &[w, e] : content.words) {
        if (!e.reading.empty() && e.reading.size() != w.size())
            return refuse("a word's reading is not as long as the word");
        for (char32_t c : w)
            if (c >= kCodePointLimit)
                return refuse("a word holds a code point beyond U+3FFFF");
        if (e.cost > kNotASegmentationWord)
            return refuse("a word's cost does not fit its 14 bits");
        names.insert(e.reading.begin(), e.reading.end());
    }
    std::size_t classTotal = 0;
    for (const auto &[cp, m] : content.models) {
        const auto own = content.readings.find(cp);
        if (own == content.readings.end() || cp >= kCodePointLimit)
            return refuse("a model of a character without a reading");
        if (m.classes.empty() || m.classes.size() > 255)
            return refuse("a model needs 1 to 255 readings");
        for (const auto &[f, w] : m.weights)
            if (w.size() != m.classes.size())
                return refuse("a model's weights are not one per reading");
        names.insert(m.classes.begin(), m.classes.end());
        classTotal += m.classes.size();
    }
    if (classTotal > 0xFFFF)
        return refuse("more model readings than the file numbers");
    for (const auto &n : names)
        if (n.size() < 2 || n.back() < '1' || n.back() > '5' || n.find('\0') != std::string::npos)
            return refuse("a syllable is not letters and a tone digit: " + n);
    if (names.size() >= kNoSyllable)
        return refuse("more syllables than the file can number");
    std::map<std::string, std::uint16_t> id;
    std::string namePool;
    for (const auto &n : names) {
        const auto next = static_cast<std::uint16_t>(id.size());
        id[n] = next;
        namePool += n;
        namePool += '\0';
    }
    // Character pages.
    std::vector<std::uint16_t> pageIndex(kPinyinPageIndexSize, 0);
    std::vector<std::uint16_t> pages;
    for (const auto &[cp, s] : content.readings) {
        if (cp >= kCodePointLimit)
            continue;
        std::uint16_t &p = pageIndex[cp >> 8];
        if (!p) {
            pages.resize(pages.size() + 256, kNoSyllable);
            p = static_cast<std::uint16_t>(pages.size() / 256);
        }
        pages[(p - 1u) * 256 + (cp & 0xFF)] = id[s];
    }
    // Word trie. The map's order puts every prefix before the words that extend it.
    std::set<std::u32string> prefixes;
    for (const auto &[w, e] : content.words)
        for (std::size_t k = 1; k <= w.size(); ++k)
            prefixes.insert(w.substr(0, k));
    std::uint32_t slotCount = 1;
    while (slotCount < prefixes.size() * 5 / 4)
        slotCount <<= 1;
    std::vector<PinyinTrieSlot> slots(slotCount, PinyinTrieSlot{0, 0, kNoWordReading});
    std::set<std::string> tagNames;
    for (const auto &[w, e] : content.words)
        if (!e.tag.empty())
            tagNames.insert(e.tag);
    if (tagNames.size() >= kPinyinReadInContext)
        return refuse("more than 127 parts of speech");
    std::map<std::string, std::uint8_t> tagId;
    for (const auto &t : tagNames) {
        const auto next = static_cast<std::uint8_t>(tagId.size() + 1);
        tagId[t] = next;
    }
    std::vector<std::uint8_t> tags(slotCount, 0);
    std::vector<std::uint16_t> readings;
    for (const auto &[w, e] : content.words) {
        std::uint32_t node = 0;
        for (char32_t c : w)
            node = findOrInsert(slots, node, c);
        if (node == 0)
            continue; // the empty word
        PinyinTrieSlot &s = slots[node - 1];
        s.cpAndCost = s.cp() | std::uint32_t(e.cost) << kPinyinCodePointBits;
        if (!e.tag.empty())
            tags[node - 1] = tagId[e.tag];
        if (e.readInContext)
            tags[node - 1] |= kPinyinReadInContext;
        if (!e.reading.empty()) {
            s.reading = static_cast<std::uint32_t>(readings.size());
            for (const auto &syl : e.reading)
                readings.push_back(id[syl]);
        }
    }
    std::vector<std::uint32_t> rootPages(pages.size(), 0);
    std::vector<std::uint64_t> filter(kPinyinFilterBits / 64, 0);
    for (std::uint32_t i = 0; i < slotCount; ++i) {
        const PinyinTrieSlot &s = slots[i];
        if (s.cpAndCost == 0)
            continue;
        if (s.parent == 0) {
            const std::uint16_t p = pageIndex[s.cp() >> 8];
            if (!p || pages[(p - 1u) * 256 + (s.cp() & 0xFF)] == kNoSyllable)
                return refuse("a word starts with a character without a reading");
            rootPages[(p - 1u) * 256 + (s.cp() & 0xFF)] = i + 1;
        } else {
            const std::uint32_t bit = pinyinTrieHash(s.parent, s.cp()) & (kPinyinFilterBits - 1);
            filter[bit / 64] |= std::uint64_t(1) << (bit % 64);
        }
    }

    // Models, in code point order; their features in one table.
    std::vector<PinyinModelEntry> models;
    std::vector<std::uint16_t> classes;
    std::size_t featureCount = 0;
    for (const auto &[cp, m] : content.models)
        featureCount += m.weights.size();
    std::uint32_t featureSlotCount = 0;
    if (featureCount) {
        featureSlotCount = 1;
        while (featureSlotCount < featureCount * 4 / 3 + 1)
            featureSlotCount <<= 1;
    }
    std::vector<PinyinFeatureSlot> featureSlots(featureSlotCount, PinyinFeatureSlot{0, 0});
    std::vector<std::int16_t> weights;
    for (const auto &[cp, m] : content.models) {
        const auto number = static_cast<std::uint32_t>(models.size());
        PinyinModelEntry e{};
        e.cp = cp;
        e.firstClass = static_cast<std::uint16_t>(classes.size());
        e.classCount = static_cast<std::uint16_t>(m.classes.size());
        models.push_back(e);
        for (const auto &c : m.classes)
            classes.push_back(id[c]);
        for (const auto &[feature, w] : m.weights) {
            const std::uint32_t key = pinyinFeatureKey(feature, number);
            const std::uint32_t mask = featureSlotCount - 1;
            std::uint32_t i = key & mask;
            while (featureSlots[i].key != 0 && featureSlots[i].key != key)
                i = (i + 1) & mask;
            if (featureSlots[i].key == key)
                continue; // two features of one model under one key: the first keeps it
            featureSlots[i] = {key, static_cast<std::uint32_t>(weights.size())};
            weights.insert(weights.end(), w.begin(), w.end());
        }
    }

    std::vector<unsigned char> body(sizeof(PinyinDataHeader)); // filled in at the end
    auto put = [&body](const void *p, std::size_t n) {
        const auto *b = static_cast<const unsigned char *>(p);
        body.insert(body.end(), b, b + n);
        while (body.size() % 4)
            body.push_back(0);
    };
    put(content.info.data(), content.info.size());
    put(namePool.data(), namePool.size());
    put(pageIndex.data(), pageIndex.size() * 2);
    put(pages.data(), pages.size() * 2);
    put(rootPages.data(), rootPages.size() * 4);
    put(filter.data(), filter.size() * 8);
    put(slots.data(), slots.size() * sizeof(PinyinTrieSlot));
    put(readings.data(), readings.size() * 2);
    put(tags.data(), tags.size());
    put(models.data(), models.size() * sizeof(PinyinModelEntry));
    put(classes.data(), classes.size() * 2);
    put(featureSlots.data(), featureSlots.size() * sizeof(PinyinFeatureSlot));
    put(weights.data(), weights.size() * 2);

    PinyinDataHeader h{};
    std::memcpy(h.magic, kPinyinDataMagic, 8);
    h.version = kPinyinDataVersion;
    h.infoSize = static_cast<std::uint32_t>(content.info.size());
    h.checksum = pinyinDataChecksum(body.data() + sizeof h, body.size() - sizeof h);
    h.syllableCount = static_cast<std::uint32_t>(names.size());
    h.syllableNamesSize = static_cast<std::uint32_t>(namePool.size());
    h.pageCount = static_cast<std::uint32_t>(pages.size() / 256);
    h.slotCount = slotCount;
    h.readingCount = static_cast<std::uint32_t>(readings.size());
    h.unknownCost = content.unknownCost;
    h.modelCount = static_cast<std::uint32_t>(models.size());
    h.classCount = static_cast<std::uint32_t>(classes.size());
    h.featureSlotCount = featureSlotCount;
    h.weightCount = static_cast<std::uint32_t>(weights.size());
    std::memcpy(body.data(), &h, sizeof h);
    return body;
}

} // namespace core
