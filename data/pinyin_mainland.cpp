#include "pinyin_mainland.h"

#include <algorithm>

namespace pinyin_data {

// A traditional character's Taiwan tone, which its simplified form does not have, as the
// Mainland reads the same character (髮 fa3 -> fa4, a reading of 发 too; else 理髮 would fall
// back to 发's fā): kMandarin gives the Mainland reading first and Taiwan's second.
std::string MainlandReadings::mainlandOf(char32_t traditional, char32_t simplified,
                                         const std::string &syl) const {
    if (traditional == simplified || isStandard(simplified, syl))
        return syl;
    const auto m = m_src.mandarin.find(traditional);
    if (m == m_src.mandarin.end() || m->second.size() < 2 || m->second[1] != syl ||
        baseOf(m->second[0]) != baseOf(syl))
        return syl;
    return m->second[0];
}

// Terra lists a few words of a merged traditional character twice: with Taiwan's tone, which
// the simplified character does not have, and with the neutral tone Mainland text gives it
// (頭髮 fa3 and fa5; kHanyuPinlu: 发 fa 174). Whether syllable `k` of curated word `i` is
// that neutral tone, the Mainland reading of the word.
bool MainlandReadings::isMainlandNeutral(std::size_t i, std::size_t k, char32_t simplified) const {
    const auto &word = m_src.curated[i];
    const std::string &syl = word.syllables[k];
    if (word.key[k] == simplified || syl.back() != '5' || pinluCount(simplified, syl) == 0)
        return false;
    const auto same = m_curatedByKey.find(word.key);
    if (same == m_curatedByKey.end())
        return false;
    return std::any_of(same->second.begin(), same->second.end(), [&](std::size_t j) {
        const std::string &other = m_src.curated[j].syllables[k];
        return j != i && baseOf(other) == baseOf(syl) && !isStandard(simplified, other);
    });
}

// The standard lists a character's full tones only (子 zǐ), yet the dictionaries of Mainland
// use list its neutral tone as a reading of its own, the suffix's (kXHC1983: 头 tou; kMandarin:
// 子 zi): where terra reads a word's last syllable in that neutral tone only, under no other
// listing of the word, it is the word's own (孩子 hái zi, 石头 shí tou), not a Taiwan tone to
// correct.
bool MainlandReadings::isOnlyNeutral(std::size_t i, std::size_t k, char32_t simplified) const {
    const auto &word = m_src.curated[i];
    const std::string &syl = word.syllables[k];
    if (k + 1 != word.syllables.size() || syl.back() != '5' ||
        (!lists(m_src.xhc, simplified, syl) && !lists(m_src.mandarin, simplified, syl)))
        return false;
    const auto same = m_curatedByKey.find(word.key);
    return same == m_curatedByKey.end() ||
           std::all_of(same->second.begin(), same->second.end(),
                       [&](std::size_t j) { return m_src.curated[j].syllables[k] == syl; });
}

bool lists(const std::map<char32_t, std::vector<std::string>> &field, char32_t cp, const std::string &syl) {
    const auto it = field.find(cp);
    return it != field.end() && std::find(it->second.begin(), it->second.end(), syl) != it->second.end();
}

bool MainlandReadings::isStandard(char32_t cp, const std::string &syl) const {
    const auto t = m_src.tghz.find(cp);
    return t == m_src.tghz.end() || std::find(t->second.begin(), t->second.end(), syl) != t->second.end();
}

double MainlandReadings::pinluCount(char32_t cp, const std::string &syl) const {
    const auto p = m_src.pinlu.find(cp);
    if (p == m_src.pinlu.end())
        return 0;
    const auto r = p->second.find(syl);
    return r == p->second.end() ? 0 : r->second;
}

// Whether Mainland text (kHanyuPinlu) reads the syllables where `a` and `b` differ clearly
// more often as `a` does; a reading Pinlu never met tells nothing (its corpus is small).
// Pinlu counts simplified text: a traditional character merged into another (髮 into 发)
// has no count of its own.
bool MainlandReadings::clearlyMoreFrequent(const Word &simplified, const Word &traditional,
                                           const std::vector<std::string> &a,
                                           const std::vector<std::string> &b) const {
    double mine = 1, theirs = 1;
    for (std::size_t k = 0; k < a.size() && k < b.size() && k < simplified.size(); ++k) {
        if (a[k] == b[k])
            continue;
        if (simplified[k] != traditional[k] && !m_src.pinlu.count(traditional[k]))
            return false;
        const double x = pinluCount(simplified[k], a[k]), y = pinluCount(simplified[k], b[k]);
        if (x == 0 || y == 0)
            return false;
        mine *= x;
        theirs *= y;
    }
    return mine >= kClearlyMoreFrequent * theirs;
}

bool sameLetters(const std::vector<std::string> &a, const std::vector<std::string> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (baseOf(a[k]) != baseOf(b[k]))
            return false;
    return true;
}

// `syl` as the Mainland standard reads it: kept when kTGHZ2013 lists it (or lists nothing
// for the character); else the standard reading of the same letters; else the standard
// reading that none of terra's readings of the character covers (什 she2 -> shen2).
std::string MainlandReadings::corrected(char32_t cp, const std::string &syl) const {
    const auto t = m_src.tghz.find(cp);
    if (t == m_src.tghz.end() || t->second.empty())
        return syl;
    const auto &standard = t->second;
    if (std::find(standard.begin(), standard.end(), syl) != standard.end())
        return syl;
    if (syl == "er5" && (cp == U'儿' || cp == U'兒')) // erhua: 一会儿 yí huì er
        return syl;
    // Of the standard readings with the same letters, the character's own reading, else
    // the one terra reads more often (这个 ge5 -> ge4, not the rarer ge3).
    const std::string base = baseOf(syl);
    // A neutral tone of letters the standard does not list for the character stays (钥匙 shi5).
    if (syl.back() == '5' && std::none_of(standard.begin(), standard.end(),
                                          [&](const std::string &s) { return baseOf(s) == base; }))
        return syl;
    const auto own = m_readings.find(cp);
    const auto def = m_defaults.find(cp);
    std::string pick;
    double pickWeight = -1;
    for (const auto &s : standard) {
        if (baseOf(s) != base)
            continue;
        double w = 0;
        if (def != m_defaults.end() && def->second == s)
            w = 1e300;
        else if (own != m_readings.end())
            for (const auto &r : own->second)
                if (r.syllable == s)
                    w = r.weight;
        if (w > pickWeight) {
            pick = s;
            pickWeight = w;
        }
    }
    if (!pick.empty())
        return pick;
    for (const auto &s : standard) {
        bool covered = false;
        if (own != m_readings.end())
            for (const auto &r : own->second)
                covered = covered || baseOf(r.syllable) == baseOf(s);
        if (!covered)
            return s;
    }
    // Else the standard reading terra reads most often (怎 ze3 -> zen3, 括 gua1 -> kuo4).
    std::string most = standard[0];
    double mostWeight = -1;
    if (own != m_readings.end())
        for (const auto &r : own->second)
            if (std::find(standard.begin(), standard.end(), r.syllable) != standard.end() &&
                r.weight > mostWeight) {
                most = r.syllable;
                mostWeight = r.weight;
            }
    return most;
}

} // namespace pinyin_data
