// How the readings are chosen. Readings of a character: the frequencies of terra's readings summed
// over every character that t2s turns into it (个 alone lists gan4; with 個 it is ge4). Where
// terra's reading is not one of the Mainland 2013 standard readings (kTGHZ2013), the standard one
// replaces it (期 qi2 -> qi1, 什 she2 -> shen2, 子 zi5 -> zi3). kMandarin (else kTGHZ2013,
// kHanyuPinyin, kXHC1983) gives the readings of characters terra lacks.

#include "pinyin_policy.h"

#include "pinyin_mainland.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <set>
#include <tuple>

namespace pinyin_data {

namespace {

constexpr double kRareWordFrequency = 30;

// Words left out of the segmentation, their characters read apart: the old vernacular's 端的 duān
// dì ("indeed") took the 端 of a side or terminal and the particle after it (服务端的程序, 手机端的,
// as 服务 + 端的 dì), 一数 the 数 of counting (从一数到十 as 从 + 一数 shù), and the taxis 面的
// and 打的 dī the particle after a noun or verb (买面的钱, 他打的电话).
const std::set<Word> kLeftOutWords = {U"端的", U"一数", U"面的", U"打的"};
// A character's spelling that pinyin_simp lists this many times as often as ours replaces ours.
constexpr double kClearlyMoreTyped = 5;
// Fewer typings than this say nothing of a character's or word's reading (rare characters: 伬 ze 3).
constexpr double kTypedEnough = 100;

class Builder {
public:
    explicit Builder(const Sources &src) : m_src(src) {}

    void mergeCharacters(const std::string &t2sConfig) {
        std::vector<Word> keys;
        for (const auto &[cp, readings] : m_src.terraChars)
            keys.push_back(Word(1, cp));
        const auto simplified = convertedBy(t2sConfig, keys);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char32_t t = keys[i][0], s = simplified[i][0];
            m_mergedFrom[s].insert(t);
            for (const Reading &r : m_src.terraChars.at(t)) {
                addWeight(s, r);
                if (s != t)
                    addWeight(t, r);
            }
        }
        for (auto &[cp, readings] : m_readings)
            m_default[cp] = m_mainland.corrected(cp, pickDefault(cp, readings));
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
        // Copied, not merged: respellDefaults() leaves these alone, since the typings of a
        // variant's spelling say nothing of the character itself.
        // Copied, not merged (merge would move them out): respellDefaults() leaves these alone,
        // as the typings of the character say nothing of the variant's reading it borrowed.
        m_default.insert(m_variantDefault.begin(), m_variantDefault.end());
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
            int readAsInWords = 0;
        };
        std::map<Word, Best> best;
        for (std::size_t i = 0; i < keys.size(); ++i)
            m_curatedByKey[keys[i]].push_back(i);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const Word &key = simplified[i];
            if (!std::all_of(key.begin(), key.end(), [&](char32_t c) { return m_default.count(c) > 0; }))
                continue;
            Best b{m_src.curated[i].weight, 0, keys[i], 0, {}};
            for (std::size_t k = 0; k < key.size(); ++k) {
                const std::string &syl = m_src.curated[i].syllables[k];
                const char32_t c = m_src.tghz.count(key[k]) ? key[k] : keys[i][k];
                const bool standard = m_mainland.isStandard(c, syl) ||
                                      m_mainland.isMainlandNeutral(i, k, key[k]) ||
                                      m_mainland.isOnlyNeutral(i, k, key[k]);
                b.syl.push_back(
                    standard ? syl : m_mainland.corrected(c, m_mainland.mainlandOf(keys[i][k], key[k], syl)));
                b.nonStandard += !standard;
            }
            for (std::size_t k = 0; k < key.size(); ++k) {
                b.ownReadings += b.syl[k] != m_default[key[k]];
                b.readAsInWords += key[k] == U'血' && b.syl[k] == "xue4";
            }
            // Terra lists some words under two readings at one frequency (角色 jiao3 se4, jue2 se4):
            // the standard one, then the one unlike its characters' own readings, is why it is listed.
            // Before those, 血 reads xuè in words and xiě standing alone (the standard's reading of
            // words against the spoken one): of 血液 xie3 ye4 and xue4 ye4 the second (鲜血淋漓, 混血儿).
            // Two readings of the same letters differ in tone only, mostly Taiwan's against the
            // Mainland's (口號 hao2, hao4; 看看 kan1 kan1, kan4 kan5): the tones clearly more
            // frequent in Mainland text (kHanyuPinlu) win; where both are common (相應 ying1, ying4)
            // the character alone cannot tell.
            auto it = best.find(key);
            auto rank = [&](const Best &x, const Best &other) {
                const bool mainland = sameLetters(x.syl, other.syl) &&
                                      m_mainland.clearlyMoreFrequent(key, x.traditional, x.syl, other.syl);
                return std::make_tuple(mainland, x.readAsInWords, -x.nonStandard, x.ownReadings);
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
        for (auto &[key, b] : best) {
            addKnown(key, b.syl);
            m_curated.insert(key);
        }
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
                        m_mainland.clearlyMoreFrequent(w.substr(k, 1), w.substr(k, 1), {def}, {syl[k]}))
                        syl[k] = def;
                addKnown(w, syl);
                continue;
            }
            // Else the curated words inside it, longest first from the left (文本处理: 处理 chu3 li3).
            std::vector<std::string> syl;
            std::vector<Word> parts;
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
                parts.push_back(w.substr(i, len));
                i += len;
            }
            if (parts.size() > 1)
                m_readByParts[w] = std::move(parts);
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
                            m != m_mergedFrom.end() && m->second.size() > 1 &&
                            syl[k] != m_mainland.corrected(w[k], only->syl[k])) {
                            syl[k] = m_mainland.corrected(w[k], only->syl[k]);
                            m_mergedRead.insert(w);
                        }
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
            const auto top = &mostTyped(spellings);
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
            const auto top = &mostTyped(spellings);
            const std::string ours = lettersOf(syl);
            if (ours == top->first || top->second < kTypedEnough)
                continue;
            // A reading of terra's own words yields only to a spelling typed clearly more often
            // (模样 mu yang 474 against mo yang 1392 keeps terra's mú yàng).
            const bool terras = m_curated.count(w) > 0 && m_words.count(w) && !m_words.at(w).reading.empty();
            if (const auto mine = spellings.find(ours);
                mine != spellings.end() &&
                (mine->second >= top->second ||
                 (terras && mine->second >= kTypedEnough && mine->second * kClearlyMoreTyped > top->second)))
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

    // A word read as the curated words inside it reads them as the typists' spellings have
    // corrected them since (止血 zhǐ xuè, which terra reads xiě as Taiwan does, makes 止血带 xuè
    // too), but where its own spelling, the standard or a traditional character reads it. Only
    // the typists' corrections carry: the split is the longest words from the left, and a
    // standard word found so (留空 kòng in 保留空间) need not be one the word holds.
    void readPartsAgain() {
        for (const auto &[w, parts] : m_readByParts) {
            if (m_standard.count(w) || m_respelled.count(w) || m_mergedRead.count(w))
                continue;
            const auto known = m_words.find(w);
            if (known == m_words.end())
                continue;
            std::vector<std::string> syl = known->second.reading;
            if (syl.empty())
                for (char32_t c : w)
                    syl.push_back(m_default[c]);
            bool changed = false;
            std::size_t at = 0;
            for (const Word &part : parts) {
                const auto it = m_words.find(part);
                if (part.size() > 1 && m_respelled.count(part) && it != m_words.end()) {
                    for (std::size_t k = 0; k < part.size(); ++k) {
                        const std::string &now =
                            it->second.reading.empty() ? m_default[part[k]] : it->second.reading[k];
                        changed = changed || syl[at + k] != now;
                        syl[at + k] = now;
                    }
                }
                at += part.size();
            }
            if (changed)
                addKnown(w, syl);
        }
    }

    // The Mainland standard's readings of words the sources miss (模具 mú jù, 姓曾 xìng zēng)
    // override every other; they enter the segmentation as terra's curated words do.
    void applyStandard() {
        for (const auto &[w, syl] : m_src.standard) {
            if (!allKnown(w))
                fail("standard readings: " + encode(w) + " has a character without readings");
            // Kept whole, even where it reads as its characters now: their defaults may change.
            m_words[w].reading = syl;
            m_respelled.erase(w);
            m_standard.insert(w);
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
            // Nouns that start with 地 stay: 地 alone is read by its model, which learnt the
            // particle after adverbials and took it before a noun it did not know (铺地砖, 地漏);
            // not the others (地走了, 地大喊: the particle and a verb).
            const auto known = m_words.find(w);
            const auto tag = m_src.jiebaTag.find(w);
            const bool groundNoun = w.front() == U'地' && tag != m_src.jiebaTag.end() && tag->second == "n";
            if (f < kRareWordFrequency && w.size() > 1 && !groundNoun &&
                (known == m_words.end() || known->second.reading.empty() || m_respelled.count(w)))
                continue;
            if (kLeftOutWords.count(w))
                continue;
            m_words[w].cost = costOf(f, total);
            if (const auto tag = m_src.jiebaTag.find(w); tag != m_src.jiebaTag.end())
                m_words[w].tag = tag->second;
        }
        addCuratedWords();
        addAdverbialDe();
        addBenefactiveWei();
        addComplementDe();
        addObligativeDei();
        // The segmentation uses jieba's words and those above: a word it never picks needs no place.
        std::erase_if(m_words, [](const auto &w) { return w.second.cost == core::kNotASegmentationWord; });
    }

    // Terra's curated words that jieba lacks and that read otherwise than their characters do
    // (还钱 huán qián, 长得 zhǎng de), and the words a traditional character of the table gives
    // their reading (這隻 zhè zhī, 簡單地 jiǎn dān de), would never be picked. Those that
    // Mainland typists use as words, spelled as terra reads them, enter the segmentation (a rare
    // word of terra's, 中的 zhòng dì, would cut common text wrongly): each one costs a little less
    // than the cheapest way jieba's words split it, so that it wins where it stands whole and
    // moves no boundary around it. A longer phrase the typists' dictionary does not list enters
    // where the cheapest split would spell it otherwise (一行人 yì xíng rén, not 一行 + 人).
    void addCuratedWords() {
        std::vector<std::pair<Word, std::uint16_t>> added;
        std::set<Word> candidates = m_curated;
        candidates.insert(m_mergedRead.begin(), m_mergedRead.end());
        candidates.insert(m_standard.begin(), m_standard.end());
        for (const Word &w : m_respelled)
            if (typedOneWay(w))
                candidates.insert(w);
        for (const Word &w : candidates) {
            if (kLeftOutWords.count(w))
                continue;
            const auto it = m_words.find(w);
            // Read as a source spells it outright: no typing or split need confirm it.
            const bool given = m_standard.count(w) > 0 || typedOneWay(w);
            // A standard word that jieba counts rarely (行数 3, 首行 2) would lose to its split
            // everywhere: it too costs a little less than that split, unless it is cheaper already.
            if (w.size() < 2 || it == m_words.end() ||
                (it->second.cost != core::kNotASegmentationWord && !m_standard.count(w)) ||
                (m_respelled.count(w) && !given))
                continue;
            const std::vector<std::string> own = readingOf(w);
            const bool phrase = w.size() >= 3 && !m_src.toneless.count(w);
            if (!given && !phrase && (it->second.reading.empty() || !typedAs(w, own)))
                continue;
            std::vector<std::size_t> from;
            std::vector<double> best = cheapestSplit(w, from);
            // A standard word whose characters are rare apart costs the most a word can.
            if (m_standard.count(w))
                best[w.size()] = std::min<double>(best[w.size()], core::kNotASegmentationWord);
            if (best[w.size()] < 1 || best[w.size()] > core::kNotASegmentationWord ||
                (best[w.size()] == core::kNotASegmentationWord && !m_standard.count(w)))
                continue;
            if (phrase && !given) {
                std::vector<std::string> split;
                for (std::size_t end = w.size(); end > 0; end = from[end]) {
                    auto part = readingOf(w.substr(from[end], end - from[end]));
                    split.insert(split.begin(), part.begin(), part.end());
                }
                // Tones alone say nothing: a phrase's tones are often Taiwan's (孩子们 zǐ).
                if (std::equal(
                        split.begin(), split.end(), own.begin(), own.end(),
                        [](const std::string &a, const std::string &b) { return baseOf(a) == baseOf(b); }))
                    continue;
            }
            if (best[w.size()] - 1 < it->second.cost)
                added.emplace_back(w, static_cast<std::uint16_t>(best[w.size()] - 1));
        }
        for (const auto &[w, cost] : added)
            m_words[w].cost = cost;
    }

    // The cost of the cheapest split of `w` into the segmentation's shorter words and single
    // characters, at each length (best[k]: of its first k characters), and where each piece starts.
    std::vector<double> cheapestSplit(const Word &w, std::vector<std::size_t> &from) const {
        std::vector<double> best(w.size() + 1, 1e300);
        from.assign(w.size() + 1, 0);
        best[0] = 0;
        for (std::size_t i = 0; i < w.size(); ++i)
            for (std::size_t len = 1; i + len <= w.size() && len < w.size(); ++len) {
                double c = len == 1 ? m_unknownCost : 1e300;
                if (const auto x = m_words.find(w.substr(i, len));
                    x != m_words.end() && x->second.cost != core::kNotASegmentationWord)
                    c = x->second.cost;
                if (best[i] + c < best[i + len]) {
                    best[i + len] = best[i] + c;
                    from[i + len] = i;
                }
            }
        return best;
    }

    // `w` reads `syl`: a word of the segmentation already takes that reading; another enters it
    // with a cost a little below its cheapest split, which the caller gives it from `added` once
    // all are chosen (so that none changes another's split). One that no split reaches stays out.
    // A word of the standard's keeps its reading (重重地 zhòng, not 重重's chóng with de). A word
    // of the segmentation already that costs more than its split now (间接地, costed before 地
    // and 间接 were) is made to cost less, as the others are.
    void readAsWord(const Word &w, std::vector<std::string> syl,
                    std::vector<std::pair<Word, std::uint16_t>> &added) {
        std::vector<std::size_t> from;
        const double best = cheapestSplit(w, from).back();
        const bool reachable = best >= 1 && best < core::kNotASegmentationWord;
        if (const auto it = m_words.find(w);
            it != m_words.end() && it->second.cost != core::kNotASegmentationWord) {
            if (!m_standard.count(w))
                it->second.reading = std::move(syl);
            if (reachable && it->second.cost >= best)
                added.emplace_back(w, static_cast<std::uint16_t>(best - 1));
            return;
        }
        if (!reachable)
            return;
        m_words[w].reading = std::move(syl);
        added.emplace_back(w, static_cast<std::uint16_t>(best - 1));
    }

    // 地 after an adverbial (成功地, 不断地, 慢慢地, 毫不犹豫地, 创造性地) is the particle de, not
    // the ground. An adverbial here is a jieba word of two or more characters, not rare, that it
    // tags an adjective, adverb, descriptive word, idiom or set phrase, that doubles a character
    // (深深) or that ends in 性, and the words of manner and feeling jieba tags as nouns or verbs
    // (相反, 深入, 系统, 高兴, 伤心: 相反地, 深入地研究, 高兴地点了点头, 伤心地离开; not 目的地,
    // 出生地, 发源地). Each such word followed by 地 reads 地 de:
    // jieba's own (轻轻地, 深深地; not 湿地, 惊天动地), and the others enter the segmentation a little
    // cheaper than their cheapest split, so 成功地区 still splits 成功 地区.
    void addAdverbialDe() {
        const auto de = m_readings.count(U'地') ? withLetters(U'地', "de") : std::string();
        if (de.empty())
            return;
        // Not its distinguishing words: 主要地 and 所有地 are mostly lands.
        static const std::set<std::string> tags = {"a", "ad", "d", "z", "i", "l"};
        static const std::set<Word> manner = {
            U"相反", U"相应", U"类似", U"深入", U"独立", U"反复", U"主动", U"主观", U"客观", U"全面", U"合理",
            U"实际", U"形象", U"总体", U"整体", U"直观", U"私下", U"科学", U"粗略", U"统一", U"自动", U"间接",
            U"手动", U"历史", U"辩证", U"本能", U"机械", U"被动", U"持续", U"批判", U"片面", U"孤立", U"静态",
            U"动态", U"自发", U"人为", U"大量", U"安全", U"系统", U"具体", U"小心", U"大胆", U"热情", U"秘密",
            U"专门", U"刻意", U"任意", U"轮流", U"交替", U"临时", U"及时", U"准时", U"奇怪", U"可惜", U"高兴",
            U"伤心", U"放心", U"开心", U"安心", U"细心", U"热心", U"专心", U"用心", U"精心", U"虚心", U"担心",
            U"好心", U"忍心", U"贴心", U"潜心", U"衷心", U"倾心", U"愤怒", U"赞许", U"满意", U"兴奋", U"生气",
            U"失望", U"害怕", U"得意", U"委屈", U"微笑", U"感激", U"感动", U"疑惑", U"痛苦", U"自豪", U"欣慰",
            U"礼貌", U"客气", U"勉强", U"坚强", U"拼命", U"可靠", U"递归"};
        std::map<Word, double> frequency(m_src.jieba.begin(), m_src.jieba.end());
        auto adverbial = [&](const Word &w) {
            const auto f = frequency.find(w);
            const auto tag = m_src.jiebaTag.find(w);
            const bool doubled = w.size() == 2 && w[0] == w[1];
            return w.size() >= 2 && f != frequency.end() && f->second >= kRareWordFrequency &&
                   m_words.count(w) &&
                   (doubled || w.back() == U'性' || manner.count(w) ||
                    (tag != m_src.jiebaTag.end() && tags.count(tag->second)));
        };
        std::vector<std::pair<Word, std::uint16_t>> added;
        for (const auto &[w, f] : m_src.jieba) {
            if (!adverbial(w))
                continue;
            auto syl = readingOf(w);
            syl.push_back(de);
            readAsWord(w + U'地', std::move(syl), added);
        }
        for (const auto &[w, cost] : added)
            m_words[w].cost = cost;
    }

    // 为 next to a personal pronoun is "for", wèi: after it, the pronoun is the one who acts for
    // someone (我们为客户提供, 他为国家效力); before it, the one acted for (为您服务, 为他们提供).
    // The copula wéi follows nouns, verbs and 它, 其, 此 (人口为五万, 被评为, 它为一种植物). Each
    // pair enters the segmentation a little cheaper than its split, so that 为人, 为此, 为之 and
    // the listed 为我所用 (wéi, the passive) keep their own words.
    void addBenefactiveWei() {
        const auto own = m_readings.find(U'为');
        if (own == m_readings.end() || std::none_of(own->second.begin(), own->second.end(),
                                                    [](const Reading &r) { return r.syllable == "wei4"; }))
            return;
        std::vector<std::pair<Word, std::uint16_t>> added;
        for (const Word pronoun :
             {U"我", U"我们", U"你", U"你们", U"您", U"他", U"他们", U"她", U"她们", U"咱们", U"大家"}) {
            auto syl = readingOf(pronoun);
            syl.push_back("wei4");
            readAsWord(pronoun + U'为', syl, added);
            syl.pop_back();
            syl.insert(syl.begin(), "wei4");
            readAsWord(U'为' + pronoun, std::move(syl), added);
        }
        // After 它 and 其 it is the copula of definitions (它为多年生草本植物, 其为).
        for (const Word subject : {U"它", U"其"}) {
            auto syl = readingOf(subject);
            syl.push_back("wei2");
            readAsWord(subject + U'为', std::move(syl), added);
        }
        for (const auto &[w, cost] : added)
            m_words[w].cost = cost;
    }

    // 得 after an everyday verb or adjective links its complement and is the particle de (说得对,
    // 跑得快, 写得好, 做得不错, 累得要命). Each such pair enters the segmentation a little cheaper
    // than its split; the verbs for "obtain" (获得, 取得, 赢得, 求得, 分得) are jieba's words and keep
    // their dé, and 得到, 得了 and the like after a verb keep theirs where they are cheaper.
    void addComplementDe() {
        if (!m_default.count(U'得'))
            return;
        const std::string de = "de5";
        static const std::u32string heads =
            U"说跑写做唱吃喝看听走睡哭笑玩学跳飞讲干办弄搞穿住开想画读念教演弹"
            U"拉游站坐活过闹忙急气吓累冷热饿疼痛快慢好高低远近早晚大小红亮美静"
            U"打洗擦扫修练记背算答考问骂夸长";
        std::vector<std::pair<Word, std::uint16_t>> added;
        for (char32_t head : heads) {
            const Word w{head, U'得'};
            if (!allKnown(w))
                continue;
            // A word of the segmentation already (长得, 记得, 觉得) keeps its reading.
            if (const auto it = m_words.find(w);
                it != m_words.end() && it->second.cost != core::kNotASegmentationWord)
                continue;
            auto syl = readingOf(Word{head});
            syl.push_back(de);
            readAsWord(w, std::move(syl), added);
        }
        for (const auto &[w, cost] : added)
            m_words[w].cost = cost;
    }

    // 得 between its subject and a verb is "must", děi (他得走了, 我们得早点出发, 总得有人做饭, 至少得
    // 三个小时, 恐怕得下雨). A personal pronoun, an adverb of necessity or a guess, or 这事 before it
    // reads so as a word of the two, a little
    // cheaper than its split; 得到, 得以 and the like after it are cheaper still and keep dé, and
    // with 了 after it (他得了冠军) the three read dé le as a word of their own.
    void addObligativeDei() {
        const auto dei = m_default.count(U'得') ? withLetters(U'得', "dei") : std::string();
        if (dei.empty() || !m_default.count(U'了'))
            return;
        std::vector<std::pair<Word, std::uint16_t>> added;
        for (const Word subject :
             {U"我",   U"我们", U"你",   U"你们", U"您",     U"他",   U"他们", U"她",    U"她们", U"咱",
              U"咱们", U"大家", U"总",   U"非",   U"都",     U"也",   U"就",   U"还",    U"一定", U"必须",
              U"今天", U"明天", U"后天", U"现在", U"马上",   U"这次", U"下次", U"这",    U"那",   U"恐怕",
              U"至少", U"起码", U"最少", U"少说", U"看样子", U"怕是", U"这事", U"这事儿"}) {
            auto syl = readingOf(subject);
            syl.push_back(dei);
            readAsWord(subject + U'得', syl, added);
            syl.back() = "de2";
            syl.push_back(readingOf(Word{U'了'}).front());
            readAsWord(subject + U"得了", std::move(syl), added);
        }
        for (const auto &[w, cost] : added)
            m_words[w].cost = cost;
    }

    // A word's reading: its own, else its characters'.
    std::vector<std::string> readingOf(const Word &w) const {
        if (const auto it = m_words.find(w); it != m_words.end() && !it->second.reading.empty())
            return it->second.reading;
        std::vector<std::string> syl;
        for (char32_t c : w)
            syl.push_back(m_default.at(c));
        return syl;
    }

    // Whether pinyin_simp types a word its spelling respelled with those letters alone, often
    // enough (得去 dei qu, never de qu).
    bool typedOneWay(const Word &w) const {
        if (!m_respelled.count(w))
            return false;
        const auto it = m_src.toneless.find(w);
        return it != m_src.toneless.end() && it->second.size() == 1 &&
               it->second.begin()->second >= kTypedEnough;
    }

    // Whether pinyin_simp types the word often enough, mostly with the letters of `syl`.
    bool typedAs(const Word &w, const std::vector<std::string> &syl) const {
        const auto it = m_src.toneless.find(w);
        if (it == m_src.toneless.end())
            return false;
        const auto &top = mostTyped(it->second);
        return top.first == lettersOf(syl) && top.second >= kTypedEnough;
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

    core::PinyinDataContent result() const {
        core::PinyinDataContent c;
        c.readings = m_default;
        c.words = m_words;
        c.unknownCost = m_unknownCost;
        return c;
    }

    const std::map<char32_t, std::set<char32_t>> &mergedFrom() const { return m_mergedFrom; }

private:
    using Entry = core::PinyinWordEntry;

    static std::uint16_t costOf(double freq, double total) {
        const double c =
            std::round((std::log(total) - std::log(std::max(freq, 1.0))) * core::kPinyinCostScale);
        if (c >= core::kNotASegmentationWord)
            fail("a word cost does not fit the data file's 14 bits");
        return static_cast<std::uint16_t>(std::max(c, 0.0));
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
                      m_mainland.pinluCount(cp, r.syllable) > m_mainland.pinluCount(cp, best->syllable))))
                    best = &r;
            if (best) {
                std::string c = m_mainland.corrected(cp, best->syllable);
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

    const Sources &m_src;
    std::map<char32_t, std::vector<Reading>> m_readings;
    std::map<char32_t, std::string> m_default;
    std::map<char32_t, std::string> m_variantDefault;
    std::map<char32_t, std::set<char32_t>> m_mergedFrom; // terra's characters t2s turns into each
    std::map<Word, Entry> m_words;
    std::map<Word, std::vector<std::size_t>> m_curatedByKey; // terra's key -> its curated entries
    const MainlandReadings m_mainland{m_src, m_readings, m_default, m_curatedByKey};
    std::set<Word> m_curated;    // terra's curated words by simplified key
    std::set<Word> m_mergedRead; // words a traditional character's reading changed (這隻 zhè zhī)
    std::set<Word> m_respelled;  // words whose letters pinyin_simp's spelling changed
    std::set<Word> m_standard;   // words data/standard-readings.txt reads
    std::map<Word, std::vector<Word>> m_readByParts; // words read as the curated words inside them
    std::uint16_t m_unknownCost = 0;
};

} // namespace

core::PinyinDataContent chooseReadings(const Sources &src, const std::string &t2sConfig,
                                       std::map<char32_t, std::set<char32_t>> *mergedFrom) {
    Builder b(src);
    b.mergeCharacters(t2sConfig);
    b.respellDefaults();
    b.mergeWords(t2sConfig);
    b.applyToneless();
    b.applyStandard();
    b.readPartsAgain();
    b.addJieba();
    b.addTraditional(t2sConfig);
    if (mergedFrom)
        *mergedFrom = b.mergedFrom();
    return b.result();
}

} // namespace pinyin_data
