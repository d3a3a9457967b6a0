#include "pinyin_reading.h"

#include "pinyin_data_format.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace core {

namespace {

// A run longer than this is read in pieces, so that memory stays flat on text without breaks.
constexpr std::size_t kMaxRun = 4096;

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// Latin letters beyond ASCII (é, ß, ł, ...: Latin-1 and Latin Extended-A/B, without × and ÷).
bool isLatinLetter(char32_t c) {
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

std::size_t padded(std::size_t n) {
    return (n + 3) & ~std::size_t(3);
}

} // namespace

std::optional<PinyinReadingData> PinyinReadingData::open(std::span<const unsigned char> bytes, Message *why) {
    auto refuse = [why](Message reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if constexpr (std::endian::native != std::endian::little)
        return refuse(MessageId::PinyinDataBigEndian);
    PinyinDataHeader h{};
    if (bytes.size() < sizeof h)
        return refuse(MessageId::PinyinDataTooShort);
    std::memcpy(&h, bytes.data(), sizeof h);
    if (std::memcmp(h.magic, kPinyinDataMagic, sizeof h.magic) != 0)
        return refuse(MessageId::NotPinyinData);
    if (h.version != kPinyinDataVersion)
        return refuse(MessageId::PinyinDataOtherVersion);
    if (reinterpret_cast<std::uintptr_t>(bytes.data()) % 4 != 0)
        return refuse(MessageId::PinyinDataNotAligned);
    if (h.slotCount == 0 || (h.slotCount & (h.slotCount - 1)) != 0 || h.syllableCount >= kNoSyllable ||
        (h.featureSlotCount & (h.featureSlotCount - 1)) != 0)
        return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartCounts}));
    const std::uint64_t need = sizeof h + padded(h.infoSize) + padded(h.syllableNamesSize) +
                               std::uint64_t(kPinyinPageIndexSize) * 2 + std::uint64_t(h.pageCount) * 512 +
                               std::uint64_t(h.pageCount) * 1024 + kPinyinFilterBits / 8 +
                               std::uint64_t(h.slotCount) * sizeof(PinyinTrieSlot) +
                               padded(std::uint64_t(h.readingCount) * 2) + padded(h.slotCount) +
                               std::uint64_t(h.modelCount) * sizeof(PinyinModelEntry) +
                               padded(std::uint64_t(h.classCount) * 2) +
                               std::uint64_t(h.featureSlotCount) * sizeof(PinyinFeatureSlot) +
                               padded(std::uint64_t(h.weightCount) * 2);
    if (need != bytes.size())
        return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartSize}));
    if (pinyinDataChecksum(bytes.data() + sizeof h, bytes.size() - sizeof h) != h.checksum)
        return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartChecksum}));

    PinyinReadingData d;
    const unsigned char *p = bytes.data() + sizeof h;
    d.m_info = std::string_view(reinterpret_cast<const char *>(p), h.infoSize);
    p += padded(h.infoSize);
    std::string_view names(reinterpret_cast<const char *>(p), h.syllableNamesSize);
    p += padded(h.syllableNamesSize);
    while (!names.empty()) {
        const auto nul = names.find('\0');
        if (nul == std::string_view::npos || nul < 2 || names[nul - 1] < '1' || names[nul - 1] > '5')
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartSyllables}));
        d.m_syllables.push_back(names.substr(0, nul));
        names.remove_prefix(nul + 1);
    }
    if (d.m_syllables.size() != h.syllableCount)
        return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartSyllables}));
    d.m_pageIndex = reinterpret_cast<const std::uint16_t *>(p);
    p += kPinyinPageIndexSize * 2;
    d.m_pages = reinterpret_cast<const std::uint16_t *>(p);
    p += std::size_t(h.pageCount) * 512;
    d.m_rootPages = reinterpret_cast<const std::uint32_t *>(p);
    p += std::size_t(h.pageCount) * 1024;
    d.m_filter = reinterpret_cast<const std::uint32_t *>(p);
    p += kPinyinFilterBits / 8;
    d.m_slots = {reinterpret_cast<const PinyinTrieSlot *>(p), h.slotCount};
    p += std::size_t(h.slotCount) * sizeof(PinyinTrieSlot);
    d.m_readings = {reinterpret_cast<const std::uint16_t *>(p), h.readingCount};
    p += padded(std::size_t(h.readingCount) * 2);
    d.m_tags = p;
    p += padded(h.slotCount);
    d.m_models = {reinterpret_cast<const PinyinModelEntry *>(p), h.modelCount};
    p += std::size_t(h.modelCount) * sizeof(PinyinModelEntry);
    d.m_classes = {reinterpret_cast<const std::uint16_t *>(p), h.classCount};
    p += padded(std::size_t(h.classCount) * 2);
    d.m_featureSlots = {reinterpret_cast<const PinyinFeatureSlot *>(p), h.featureSlotCount};
    p += std::size_t(h.featureSlotCount) * sizeof(PinyinFeatureSlot);
    d.m_weights = {reinterpret_cast<const std::int16_t *>(p), h.weightCount};
    d.m_slotMask = h.slotCount - 1;
    d.m_unknownCost = h.unknownCost;

    // Every number the reader follows must stay inside the file.
    for (std::uint32_t i = 0; i < kPinyinPageIndexSize; ++i)
        if (d.m_pageIndex[i] > h.pageCount)
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartPages}));
    for (std::size_t i = 0; i < std::size_t(h.pageCount) * 256; ++i)
        if (d.m_pages[i] != kNoSyllable && d.m_pages[i] >= h.syllableCount)
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartPages}));
    for (std::size_t i = 0; i < std::size_t(h.pageCount) * 256; ++i)
        if (d.m_rootPages[i] > h.slotCount)
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartPages}));
    for (std::uint16_t r : d.m_readings)
        if (r >= h.syllableCount)
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartReadings}));
    // Models: in code point order, of characters with readings, their classes and weights inside.
    d.m_hasModel.assign(0x40000 / 64, 0);
    for (std::size_t m = 0; m < d.m_models.size(); ++m) {
        const PinyinModelEntry &e = d.m_models[m];
        if ((m > 0 && e.cp <= d.m_models[m - 1].cp) || !d.hasReading(e.cp) || e.classCount == 0 ||
            std::size_t(e.firstClass) + e.classCount > d.m_classes.size())
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartModels}));
        d.m_hasModel[e.cp >> 6] |= std::uint64_t(1) << (e.cp & 63);
    }
    for (std::uint16_t c : d.m_classes)
        if (c >= h.syllableCount)
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartModels}));
    for (const PinyinFeatureSlot &f : d.m_featureSlots)
        if (f.key != 0 && f.weights > d.m_weights.size())
            return refuse(Message(MessageId::PinyinDataDamaged, {}, {MessageId::PinyinPartModels}));
    return d;
}

std::uint16_t PinyinReadingData::syllableId(std::string_view name) const {
    const auto it = std::lower_bound(m_syllables.begin(), m_syllables.end(), name);
    return it != m_syllables.end() && *it == name ? static_cast<std::uint16_t>(it - m_syllables.begin())
                                                  : kNoSyllable;
}

std::uint32_t PinyinReadingData::probe(std::uint32_t hash, std::uint32_t node, char32_t cp) const {
    // An empty slot ends the probe; a full table (never written so) would end after one lap.
    std::uint32_t i = hash & m_slotMask;
    for (std::uint32_t n = 0; n <= m_slotMask; ++n, i = (i + 1) & m_slotMask) {
        const PinyinTrieSlot &s = m_slots[i];
        if (s.cp() == cp && s.parent == node)
            return i + 1;
        if (s.cpAndCost == 0)
            return 0;
    }
    return 0;
}

int PinyinReadingData::findModel(char32_t cp) const {
    const auto it = std::lower_bound(m_models.begin(), m_models.end(), cp,
                                     [](const PinyinModelEntry &e, char32_t c) { return e.cp < c; });
    return it != m_models.end() && it->cp == cp ? static_cast<int>(it - m_models.begin()) : -1;
}

const PinyinFeatureSlot *PinyinReadingData::slotOf(int model, std::uint32_t feature) const {
    if (m_featureSlots.empty())
        return nullptr;
    const std::uint32_t mask = static_cast<std::uint32_t>(m_featureSlots.size() - 1);
    const std::uint32_t key = pinyinFeatureKey(feature, static_cast<std::uint32_t>(model));
    // An empty slot ends the probe; a full table (never written so) ends after one lap.
    std::uint32_t i = key & mask;
    for (std::uint32_t n = 0; n <= mask; ++n, i = (i + 1) & mask) {
        const PinyinFeatureSlot &s = m_featureSlots[i];
        if (s.key == key)
            return &s;
        if (s.key == 0)
            return nullptr;
    }
    return nullptr;
}

bool PinyinReadingData::knows(int model, std::uint32_t feature) const {
    return slotOf(model, feature) != nullptr;
}

const std::int16_t *PinyinReadingData::weightsOf(int model, std::uint32_t feature,
                                                 std::size_t classes) const {
    const PinyinFeatureSlot *s = slotOf(model, feature);
    return s && s->weights + classes <= m_weights.size() ? m_weights.data() + s->weights : nullptr;
}

namespace {

constexpr std::size_t kMaxClasses = 16;

std::size_t best(const std::int32_t *score, std::size_t classes) {
    std::size_t b = 0;
    for (std::size_t c = 1; c < classes; ++c)
        if (score[c] > score[b])
            b = c;
    return b;
}

} // namespace

std::uint16_t PinyinReadingData::predict(int model, std::span<const std::uint32_t> features) const {
    const PinyinModelEntry &e = m_models[static_cast<std::size_t>(model)];
    const std::size_t classes = std::min<std::size_t>(e.classCount, kMaxClasses);
    std::int32_t score[kMaxClasses] = {};
    for (std::uint32_t f : features)
        if (const std::int16_t *w = weightsOf(model, f, classes))
            for (std::size_t c = 0; c < classes; ++c)
                score[c] += w[c];
    return m_classes[e.firstClass + best(score, classes)];
}

std::uint16_t PinyinReadingData::predictNearEdge(int model, std::span<const std::uint32_t> features,
                                                 std::span<const std::uint8_t> beyond,
                                                 std::uint8_t edges) const {
    const PinyinModelEntry &e = m_models[static_cast<std::size_t>(model)];
    const std::size_t classes = std::min<std::size_t>(e.classCount, kMaxClasses);
    std::int32_t score[kMaxClasses] = {}, inside[kMaxClasses] = {};
    bool nearEdge = false;
    for (std::size_t k = 0; k < features.size(); ++k) {
        const bool past = k < beyond.size() && (beyond[k] & edges);
        nearEdge = nearEdge || past;
        if (const std::int16_t *w = weightsOf(model, features[k], classes))
            for (std::size_t c = 0; c < classes; ++c) {
                score[c] += w[c];
                inside[c] += past ? 0 : w[c];
            }
    }
    const std::size_t top = best(score, classes);
    if (top == 0 || !nearEdge)
        return m_classes[e.firstClass + top];
    // The labelled sentences meet the edge of a text only where they start: what the model learnt
    // there is of sentence starts, and with the context cut short it decides alone (发了 fà, 乐不思蜀
    // yuè). A reading other than the dictionary's must come from the text itself.
    return m_classes[e.firstClass + best(inside, classes)];
}

std::string renderSyllable(std::string_view numbered, PinyinTone tone) {
    if (numbered.size() < 2)
        return std::string(numbered);
    const int t = numbered.back() - '0';
    const std::string_view letters = numbered.substr(0, numbered.size() - 1);
    std::string out;
    if (tone == PinyinTone::Numbers || tone == PinyinTone::None || t < 1 || t > 4) {
        for (char c : letters) {
            if (c == 'v')
                out += "ü";
            else
                out += c;
        }
        if (tone == PinyinTone::Numbers)
            out += numbered.back();
        return out;
    }
    // The mark goes on a or e; on the o of ou; else on the last vowel; a syllable without
    // vowels (m, n, ng, hm) carries it on its first m or n.
    std::size_t at = letters.find_first_of("ae");
    if (at == std::string_view::npos)
        at = letters.find("ou");
    if (at == std::string_view::npos)
        at = letters.find_last_of("iouv");
    if (at == std::string_view::npos)
        at = letters.find_first_of("mn");
    static const char *const marked[][4] = {{"ā", "á", "ǎ", "à"}, {"ē", "é", "ě", "è"}, {"ī", "í", "ǐ", "ì"},
                                            {"ō", "ó", "ǒ", "ò"}, {"ū", "ú", "ǔ", "ù"}, {"ǖ", "ǘ", "ǚ", "ǜ"},
                                            {"m̄", "ḿ", "m̌", "m̀"}, {"n̄", "ń", "ň", "ǹ"}};
    const std::string_view vowels = "aeiouvmn";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto v = vowels.find(letters[i]);
        if (i == at && v != std::string_view::npos)
            out += marked[v][t - 1];
        else if (letters[i] == 'v')
            out += "ü";
        else
            out += letters[i];
    }
    return out;
}

PinyinReader::PinyinReader(const PinyinReadingData &data, const PinyinStyle &style)
    : m_data(data), m_rules(data), m_style(style) {
    m_rendered.reserve(data.syllableCount());
    for (std::size_t i = 0; i < data.syllableCount(); ++i) {
        const std::string_view name = data.syllableName(static_cast<std::uint16_t>(i));
        m_rendered.push_back(style.initials ? std::string(1, name[0] == 'v' ? 'u' : name[0])
                                            : renderSyllable(name, style.tone));
        m_longest = std::max(m_longest, m_rendered.back().size());
    }
    if (m_longest <= kSlot && m_style.separator.size() <= kSlot) {
        m_slots.resize(m_rendered.size());
        for (std::size_t i = 0; i < m_rendered.size(); ++i) {
            std::memcpy(m_slots[i].bytes, m_rendered[i].data(), m_rendered[i].size());
            m_slots[i].size = static_cast<std::uint8_t>(m_rendered[i].size());
        }
        std::memcpy(m_separatorSlot.bytes, m_style.separator.data(), m_style.separator.size());
        m_separatorSlot.size = static_cast<std::uint8_t>(m_style.separator.size());
    }
}

void PinyinReader::readRun(std::span<const char32_t> run, std::vector<std::uint16_t> &syl,
                           PinyinBoundary before, PinyinBoundary after) {
    const std::size_t n = run.size();
    m_besideText = before != PinyinBoundary::Edge || after != PinyinBoundary::Edge;
    syl.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        syl[i] = m_data.syllableOf(run[i]);

    // The most probable split into words, from the end of the run back to its start.
    // Every place of these is written below before it is read.
    m_best.resize(n + 1);
    m_best[n] = 0;
    m_end.resize(n);
    m_node.resize(n);
    for (std::size_t i = n; i-- > 0;) {
        std::uint32_t best = m_data.unknownCost() + m_best[i + 1];
        std::uint32_t end = static_cast<std::uint32_t>(i + 1), bestNode = 0;
        std::uint32_t node = 0;
        for (std::size_t j = i; j < n; ++j) {
            node = m_data.child(node, run[j]);
            if (!node)
                break;
            const PinyinTrieSlot &s = m_data.slot(node);
            if (s.cost() == kNotASegmentationWord)
                continue;
            const std::uint32_t c = s.cost() + m_best[j + 1];
            if (c <= best) {
                best = c;
                end = static_cast<std::uint32_t>(j + 1);
                bestNode = node;
            }
        }
        m_best[i] = best;
        m_end[i] = end;
        m_node[i] = bestNode;
    }

    // Words of two or more characters take their own reading where they have one. (Matching the
    // dictionary's words again between them does worse: it finds essay words such as 中的 in
    // 系统中的.)
    m_wordEnd.assign(n, 0);
    m_wordStart.assign(n, 0);
    m_wordTag.assign(n, 0);
    m_anyInContext = false;
    for (std::size_t i = 0; i < n;) {
        const std::size_t e = m_end[i];
        m_wordStart[i] = 1;
        m_wordTag[i] = m_data.tagOf(m_node[i]);
        if (e - i >= 2) {
            m_wordEnd[e - 1] = 1;
            m_anyInContext = m_anyInContext || m_data.readInContext(m_node[i]);
            const PinyinTrieSlot &s = m_data.slot(m_node[i]);
            if (s.reading != kNoWordReading && s.reading <= m_data.readingCount() &&
                e - i <= m_data.readingCount() - s.reading)
                for (std::size_t k = i; k < e; ++k)
                    syl[k] = m_data.readingAt(static_cast<std::uint32_t>(s.reading + (k - i)));
        }
        i = e;
    }
    // A polyphone standing alone is read by its model, where it has one; a character with nothing
    // beside it (a word looked up by itself) keeps its dictionary reading. Near the start or end
    // of a line, a model that leaves the dictionary's reading decides again without what it sees
    // past the line's edge.
    if (m_data.modelCount())
        for (std::size_t i = 0; i < n; ++i)
            if (standsAlone(i))
                if (const int model = m_data.modelOf(run[i]); model >= 0) {
                    const std::uint8_t edges =
                        static_cast<std::uint8_t>((before == PinyinBoundary::Edge ? kPastStart : 0) |
                                                  (after == PinyinBoundary::Edge ? kPastEnd : 0));
                    pinyinContextFeatures(run, m_wordStart, m_wordTag, i, before, after, m_features,
                                          edges ? &m_beyond : nullptr);
                    syl[i] = edges ? m_data.predictNearEdge(model, m_features, m_beyond, edges)
                                   : m_data.predict(model, m_features);
                }
    // In a word read both ways, a polyphone whose model learnt the word reads as it decides.
    if (m_anyInContext)
        for (std::size_t i = 0; i < n; i = m_end[i]) {
            if (m_end[i] - i < 2 || !m_data.readInContext(m_node[i]))
                continue;
            for (std::size_t k = i; k < m_end[i]; ++k)
                if (const int model = m_data.modelOf(run[k]); model >= 0) {
                    pinyinContextFeatures(run, m_wordStart, m_wordTag, k, before, after, m_features);
                    if (m_data.knows(model, m_features.back()))
                        syl[k] = m_data.predict(model, m_features);
                }
        }
    m_rules.apply({run, m_wordStart, m_wordEnd, m_end, m_besideText, before, after, m_afterClose,
                   m_afterClose && m_quoteTaken, m_closedBy,
                   m_afterClose && (m_closeMark == U'》' || m_closeMark == U'〉'), m_openedBy},
                  syl);
}

void PinyinReader::flushRun(std::string &out, PinyinBoundary after) {
    if (m_run.empty())
        return;
    if (m_given) {
        // Readings decided before, in a wider context (readPieces): taken in order.
        const std::size_t take = std::min(m_run.size(), m_given->size() - m_givenAt);
        m_syl.assign(m_given->begin() + static_cast<std::ptrdiff_t>(m_givenAt),
                     m_given->begin() + static_cast<std::ptrdiff_t>(m_givenAt + take));
        m_givenAt += take;
        if (take < m_run.size()) { // not reached with pieces that join as they read apart
            std::vector<std::uint16_t> rest;
            readRun(std::span(m_run).subspan(take), rest, m_before, after);
            m_syl.insert(m_syl.end(), rest.begin(), rest.end());
        }
    } else {
        readRun(m_run, m_syl, m_before, after);
        if (m_capture)
            m_capture->insert(m_capture->end(), m_syl.begin(), m_syl.end());
    }
    // Room for the longest syllable and a separator each (whole slots where they are used),
    // filled in place and cut to size.
    const std::string_view sep = m_style.separator;
    const bool slots = !m_slots.empty();
    const std::size_t each = slots ? 2 * kSlot : m_longest + sep.size();
    const std::size_t room = (m_syl.size() + 1) * each;
    if (m_scratch.size() < room) // grows to the longest run once, never cleared per run
        m_scratch.resize(room);
    char *const start = m_scratch.data();
    char *p = start;
    if (slots) {
        for (std::uint16_t id : m_syl) {
            if (m_last != Last::Other) {
                std::memcpy(p, m_separatorSlot.bytes, kSlot);
                p += m_separatorSlot.size;
            }
            const Slot &s = m_slots[id];
            std::memcpy(p, s.bytes, kSlot);
            p += s.size;
            m_last = Last::Syllable;
        }
    } else {
        for (std::uint16_t id : m_syl) {
            if (m_last != Last::Other) {
                std::memcpy(p, sep.data(), sep.size());
                p += sep.size();
            }
            const std::string &s = m_rendered[id];
            std::memcpy(p, s.data(), s.size());
            p += s.size();
            m_last = Last::Syllable;
        }
    }
    out.append(start, static_cast<std::size_t>(p - start));
    m_run.clear();
}

Utf8DecodeResult PinyinReader::feed(std::string_view in, std::string &out, bool final) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t size = in.size();
    std::size_t i = 0;
    while (i < size) {
        if (s[i] < 0x80) {
            std::size_t j = i + 1;
            while (j < size && s[j] < 0x80)
                ++j;
            flushRun(out, pinyinBoundaryOf(s[i]));
            // Letters and digits next to a syllable stand apart from it as syllables do.
            if (m_last == Last::Syllable && isAsciiAlnum(s[i]))
                out += m_style.separator;
            out.append(in.data() + i, j - i);
            m_last = isAsciiAlnum(s[j - 1]) ? Last::Alphanumeric : Last::Other;
            m_before = pinyinBoundaryOf(s[j - 1]);
            m_openedBy = 0;
            if (std::memchr(s + i, '\n', j - i))
                forgetQuotes();
            else
                noteMark(0, {});
            i = j;
            continue;
        }
        char32_t cp = 0;
        const int len = stepUtf8(s + i, size - i, cp);
        if (len == 0 && !final)
            return {i, true};
        if (len <= 0) {
            flushRun(out, PinyinBoundary::Other);
            m_last = Last::Other; // the caller writes or stops at the bad byte
            m_before = PinyinBoundary::Other;
            m_openedBy = 0;
            forgetQuotes();
            return {i, false};
        }
        if (m_data.hasReading(cp)) {
            m_run.push_back(cp);
            if (m_run.size() >= kMaxRun) {
                flushRun(out, PinyinBoundary::Edge);
                m_before = PinyinBoundary::Edge;
                m_openedBy = 0;
                forgetQuotes();
            }
        } else {
            m_closedBy = cp;
            const std::u32string_view runTail(m_run.data() + m_run.size() -
                                                  std::min<std::size_t>(m_run.size(), 8),
                                              std::min<std::size_t>(m_run.size(), 8));
            flushRun(out, pinyinBoundaryOf(cp));
            m_closedBy = 0;
            m_before = pinyinBoundaryOf(cp);
            m_openedBy = cp;
            noteMark(cp, runTail);
            const bool latin = isLatinLetter(cp);
            if (latin && m_last == Last::Syllable)
                out += m_style.separator;
            out.append(in.data() + i, static_cast<std::size_t>(len));
            m_last = latin ? Last::Alphanumeric : Last::Other;
        }
        i += static_cast<std::size_t>(len);
    }
    if (final) {
        flushRun(out, PinyinBoundary::Edge);
        m_before = PinyinBoundary::Edge;
        m_openedBy = 0;
        forgetQuotes();
    }
    return {i, true};
}

namespace {

// Whether the end of a run takes the quotation after it as 以A为B does: 以 among its last
// characters, of its own and not of 可以, 所以, 以及, 以后, 以色列... (你可以“点赞”为他加油 is for), or a
// verb of naming right before it (释“侗”为, 称“某”为; 把, 当, 作 and 拜 take things done for someone:
// 他把“快递”为邻居代收了).
bool takesQuotation(std::u32string_view before) {
    const auto in = [](std::u32string_view set, char32_t c) {
        return set.find(c) != std::u32string_view::npos;
    };
    if (!before.empty() && in(U"视奉称叫释训定封选评认尊", before.back()))
        return true;
    for (std::size_t k = 0; k < before.size(); ++k)
        if (before[k] == U'以' && (k == 0 || !in(U"可所难用加予足得借赖", before[k - 1])) &&
            (k + 1 == before.size() || !in(U"及后前上下来为便免致外内往至色", before[k + 1])))
            return true;
    return false;
}

} // namespace

void PinyinReader::noteMark(char32_t cp, std::u32string_view before) {
    constexpr std::u32string_view kOpen = U"《〈“‘「『", kClose = U"》〉”’」』";
    constexpr int kDeepest = 8; // marks left open beyond this are a text's fault, not a quotation
    if (kOpen.find(cp) != std::u32string_view::npos) {
        // A quotation right after another, or after another and 、, is taken as it was (以“阿明”“老猫”
        // 为笔名, 以“稳”、“准”、“狠”为原则).
        if (m_quoteDepth == 0 && !(before.empty() && m_quoteList))
            m_quoteTaken = takesQuotation(before);
        m_afterClose = false;
        m_quoteList = false;
        if (++m_quoteDepth > kDeepest)
            forgetQuotes();
    } else if (kClose.find(cp) != std::u32string_view::npos) {
        if (m_quoteDepth > 0)
            --m_quoteDepth;
        else
            m_quoteTaken = false;
        m_afterClose = m_quoteDepth == 0;
        m_closeMark = cp;
        m_quoteList = m_afterClose;
    } else if (cp == U'、' && before.empty() && m_quoteList) {
        m_afterClose = false;
    } else {
        m_afterClose = false;
        m_quoteList = false;
        if (m_quoteDepth == 0)
            m_quoteTaken = false;
    }
}

void PinyinReader::readWhole(std::string_view utf8, std::string &out) {
    m_run.clear();
    m_before = PinyinBoundary::Edge;
    m_openedBy = 0;
    forgetQuotes();
    m_last = Last::Other;
    for (;;) {
        const auto r = feed(utf8, out, true);
        if (r.ok)
            return;
        out += "\xEF\xBF\xBD";
        utf8.remove_prefix(r.consumed + 1);
    }
}

std::vector<std::string> PinyinReader::readPieces(const std::vector<std::string_view> &pieces) {
    std::vector<std::string> out(pieces.size());
    // A piece cut inside a character would read otherwise joined than apart: each alone then.
    const bool whole = std::all_of(pieces.begin(), pieces.end(),
                                   [](std::string_view p) { return validUtf8Prefix(p, true).ok; });
    std::vector<std::uint16_t> joint;
    if (whole && pieces.size() > 1) {
        std::string joined, ignored;
        for (std::string_view p : pieces)
            joined += p;
        m_capture = &joint;
        readWhole(joined, ignored);
        m_capture = nullptr;
        m_given = &joint;
        m_givenAt = 0;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i)
        readWhole(pieces[i], out[i]);
    m_given = nullptr;
    return out;
}

std::string readPinyin(std::string_view utf8, const PinyinReadingData &data, const PinyinStyle &style) {
    PinyinReader reader(data, style);
    std::string out;
    reader.readWhole(utf8, out);
    return out;
}

std::u16string readPinyin(std::u16string_view text, const PinyinReadingData &data, const PinyinStyle &style) {
    std::string utf8;
    encodeUtf8(text, utf8);
    std::u16string out;
    decodeUtf8(readPinyin(utf8, data, style), out, true);
    return out;
}

} // namespace core
