#include "pinyin_context_model.h"

#include "pinyin_mainland.h"
#include "pinyin_sources.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>

namespace pinyin_data {

namespace {

// Passes over the examples; the weights are averaged over every step of every pass.
// (Cross-validated: 12 passes 95.6%, 30 96.0%, 120 96.3%, 250 no better.)
constexpr int kEpochs = 120;
// A stored weight is the averaged one times this, rounded (int16 in the file).
constexpr double kWeightScale = 64;

// A name, mostly a foreign one: a word of three or more characters that jieba tags as a name (of
// people, places, transliterations, other proper names: 贝塞尔, 塞浦路斯), or a word whose characters
// all spell foreign names (塞尔, 塞拉利昂). jieba's tags of shorter words are not to be trusted here
// (塞满 nr, 塞车 ns).
bool isName(const std::u32string &word, const std::string &tag) {
    const bool nameTag = tag == "nr" || tag == "ns" || tag == "nrt" || tag == "nrfg" || tag == "nz";
    return (word.size() >= 3 && nameTag) ||
           (word.size() >= 2 && std::all_of(word.begin(), word.end(), core::spellsForeignNames));
}

std::string labelSyllable(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == 'u' && i + 1 < s.size() && s[i + 1] == ':') {
            out += 'v';
            ++i;
        } else {
            out += s[i];
        }
    }
    if (out == "r5")
        out = "er5";
    return out;
}

struct Example {
    std::vector<std::uint32_t> features;
    std::size_t label;
};

// Multi-class averaged perceptron, deterministic: the examples in a fixed order each pass.
std::map<std::uint32_t, std::vector<std::int16_t>> train(const std::vector<Example> &examples,
                                                         std::size_t classes) {
    std::map<std::uint32_t, std::vector<double>> w, u; // weights, and the step-weighted updates
    double step = 1;
    auto score = [&](const Example &e, std::size_t c) {
        double s = 0;
        for (std::uint32_t f : e.features)
            if (const auto it = w.find(f); it != w.end())
                s += it->second[c];
        return s;
    };
    // A fixed permutation per pass (a linear congruential generator), so that the order of the
    // file does not decide.
    std::vector<std::size_t> order(examples.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::uint64_t seed = 0x2545F4914F6CDD1Dull;
    for (int epoch = 0; epoch < kEpochs; ++epoch) {
        for (std::size_t i = order.size(); i > 1; --i) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            std::swap(order[i - 1], order[(seed >> 33) % i]);
        }
        for (std::size_t k : order) {
            const Example &e = examples[k];
            std::size_t best = 0;
            double bestScore = score(e, 0);
            for (std::size_t c = 1; c < classes; ++c)
                if (const double s = score(e, c); s > bestScore) {
                    best = c;
                    bestScore = s;
                }
            if (best != e.label)
                for (std::uint32_t f : e.features) {
                    auto &wf = w.try_emplace(f, classes, 0.0).first->second;
                    auto &uf = u.try_emplace(f, classes, 0.0).first->second;
                    wf[e.label] += 1;
                    uf[e.label] += step;
                    wf[best] -= 1;
                    uf[best] -= step;
                }
            step += 1;
        }
    }
    std::map<std::uint32_t, std::vector<std::int16_t>> out;
    for (const auto &[f, wf] : w) {
        std::vector<std::int16_t> q(classes);
        bool any = false;
        for (std::size_t c = 0; c < classes; ++c) {
            const double avg = wf[c] - u.at(f)[c] / step;
            q[c] = static_cast<std::int16_t>(std::clamp(std::lround(avg * kWeightScale), -32767L, 32767L));
            any = any || q[c] != 0;
        }
        if (any)
            out.emplace(f, std::move(q));
    }
    return out;
}

} // namespace

std::vector<LabelledSentence> readLabelled(const std::string &sentText, const std::string &labelText) {
    const auto sents = split(sentText, '\n');
    const auto labels = split(labelText, '\n');
    std::vector<LabelledSentence> out;
    for (std::size_t i = 0; i < sents.size() && i < labels.size(); ++i) {
        const Word line = decode(sents[i]);
        const auto first = line.find(U'\u2581');
        if (first == Word::npos || first + 2 >= line.size() || line[first + 2] != U'\u2581' ||
            labels[i].size() < 2)
            continue;
        LabelledSentence s;
        s.text = line.substr(0, first) + line[first + 1] + line.substr(first + 3);
        s.at = first;
        s.reading = labelSyllable(labels[i]);
        if (s.reading.back() < '1' || s.reading.back() > '5')
            continue;
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<LabelledSentence> readFieldSentences(const std::string &text,
                                                 const std::set<std::pair<char32_t, std::string>> &readings,
                                                 std::string *error) {
    std::vector<LabelledSentence> out;
    std::size_t number = 0;
    for (const std::string_view line : split(text, '\n')) {
        ++number;
        if (line.empty())
            continue;
        const auto parts = split(line, '\t');
        const auto bad = [&](const std::string &why) {
            *error = "line " + std::to_string(number) + ": " + why;
            return std::vector<LabelledSentence>{};
        };
        if (parts.size() != 3)
            return bad("not field, sentence and syllables separated by tabs");
        const Word sentence = decode(parts[1]);
        std::vector<std::size_t> han;
        for (std::size_t i = 0; i < sentence.size(); ++i)
            if (isHan(sentence[i]))
                han.push_back(i);
        std::vector<std::string_view> syllables;
        for (const std::string_view s : split(parts[2], ' '))
            if (!s.empty())
                syllables.push_back(s);
        if (syllables.size() != han.size())
            return bad(std::to_string(han.size()) + " Han characters but " +
                       std::to_string(syllables.size()) + " syllables");
        for (std::size_t k = 0; k < han.size(); ++k) {
            const std::string_view y = syllables[k];
            if (y.size() < 2 || y.back() < '1' || y.back() > '5' ||
                !std::all_of(y.begin(), y.end() - 1, [](char c) { return c >= 'a' && c <= 'z'; }))
                return bad("\"" + std::string(y) + "\" is not a numbered syllable");
            const std::size_t at = han[k];
            const char32_t c = sentence[at];
            if (!readings.count({c, std::string(y)}))
                continue;
            out.push_back({sentence, at, std::string(y)});
        }
    }
    return out;
}

LabelledContext contextOf(core::PinyinReader &reader, const core::PinyinReadingData &data,
                          const LabelledSentence &s) {
    LabelledContext ctx;
    if (s.at >= s.text.size() || !data.hasReading(s.text[s.at]))
        return ctx;
    std::size_t from = s.at, to = s.at + 1;
    while (from > 0 && data.hasReading(s.text[from - 1]))
        --from;
    while (to < s.text.size() && data.hasReading(s.text[to]))
        ++to;
    const auto before = from > 0 ? core::pinyinBoundaryOf(s.text[from - 1]) : core::PinyinBoundary::Edge;
    const auto after = to < s.text.size() ? core::pinyinBoundaryOf(s.text[to]) : core::PinyinBoundary::Edge;
    const std::span<const char32_t> run(s.text.data() + from, to - from);
    std::vector<std::uint16_t> syl;
    reader.readRun(run, syl, before, after);
    const std::size_t i = s.at - from;
    ctx.reading = std::string(data.syllableName(syl[i]));
    ctx.alone = reader.standsAlone(i);
    core::pinyinContextFeatures(run, reader.wordStarts(), reader.wordTags(), i, before, after, ctx.features);
    if (!ctx.alone) {
        const auto starts = reader.wordStarts();
        std::size_t start = i, end = i + 1;
        while (start > 0 && !starts[start])
            --start;
        while (end < run.size() && !starts[end])
            ++end;
        ctx.word.assign(run.begin() + static_cast<std::ptrdiff_t>(start),
                        run.begin() + static_cast<std::ptrdiff_t>(end));
        ctx.offset = i - start;
    }
    return ctx;
}

std::map<std::u32string, std::vector<std::string>>
wordCorrections(const core::PinyinReadingData &data, const std::vector<LabelledSentence> &sentences,
                const std::set<std::u32string> &standard) {
    core::PinyinReader reader(data, {});
    // (word, place) -> label -> count, and what the engine reads there.
    std::map<std::pair<std::u32string, std::size_t>, std::map<std::string, int>> labels;
    std::map<std::u32string, std::vector<std::string>> engine;
    std::vector<std::uint16_t> syl;
    for (const LabelledSentence &s : sentences) {
        const LabelledContext ctx = contextOf(reader, data, s);
        if (ctx.word.size() < 2 || s.text[s.at] == U'一' || s.text[s.at] == U'不') // tone changes decide
            continue;
        ++labels[{ctx.word, ctx.offset}][s.reading];
        if (!engine.count(ctx.word)) {
            reader.readRun(ctx.word, syl);
            auto &r = engine[ctx.word];
            for (std::uint16_t x : syl)
                r.emplace_back(data.syllableName(x));
        }
    }
    std::map<std::u32string, std::vector<std::string>> out;
    for (const auto &[place, counts] : labels) {
        const auto &[word, k] = place;
        const std::string &ours = engine.at(word)[k];
        const auto top = std::max_element(counts.begin(), counts.end(),
                                          [](const auto &a, const auto &b) { return a.second < b.second; });
        const auto agree = counts.find(ours);
        const int agreeing = (agree != counts.end() ? agree->second : 0) + (standard.count(word) ? 1 : 0);
        if (top->first == ours || agreeing >= top->second)
            continue;
        auto &r = out.try_emplace(word, engine.at(word)).first->second;
        r[k] = top->first;
    }
    return out;
}

std::map<std::u32string, std::vector<std::string>>
fieldWordCorrections(const core::PinyinReadingData &data, const std::vector<LabelledSentence> &fields,
                     const std::vector<LabelledSentence> &labelled, const std::set<std::u32string> &standard,
                     const std::map<std::u32string, std::map<std::string, double>> &toneless) {
    core::PinyinReader reader(data, {});
    std::set<std::u32string> labelledWords;
    for (const LabelledSentence &s : labelled)
        labelledWords.insert(contextOf(reader, data, s).word);
    auto out = wordCorrections(data, fields, standard);
    std::vector<std::uint16_t> syl;
    std::erase_if(out, [&](const auto &entry) {
        const auto &[word, reading] = entry;
        if (labelledWords.count(word))
            return true;
        reader.readRun(word, syl);
        std::vector<std::string> ours;
        for (std::uint16_t x : syl)
            ours.emplace_back(data.syllableName(x));
        for (std::size_t k = 0; k < ours.size() && k < reading.size(); ++k)
            if (ours[k].back() == '5' && reading[k].back() != '5')
                return true;
        if (sameLetters(reading, ours))
            return false;
        const auto spelt = toneless.find(word);
        return spelt == toneless.end() || mostTyped(spelt->second).first != lettersOf(reading);
    });
    return out;
}

std::size_t correctWordTones(const core::PinyinReadingData &data,
                             const std::vector<LabelledSentence> &sentences,
                             const std::map<char32_t, std::set<char32_t>> &traditionalOf,
                             const std::map<char32_t, std::string> &readings,
                             std::map<std::u32string, core::PinyinWordEntry> &words,
                             const std::set<std::u32string> &standard) {
    // A word's syllable: its own reading's, else its character's.
    auto syllableAt = [&](const std::u32string &word, const core::PinyinWordEntry &entry, std::size_t k) {
        return entry.reading.size() == word.size() ? entry.reading[k] : readings.at(word[k]);
    };
    core::PinyinReader reader(data, {});
    // (character, the words' tone, whether they are names) -> the labels' other tone -> the words;
    // and the words agreed. Names and other words are counted apart: a tone names teach (塞尔维亚,
    // 塞浦路斯 sài) holds in names, and everyday words (塞进, 塞满 sāi) keep theirs unless they
    // teach it too.
    using Key = std::tuple<char32_t, std::string, bool>;
    std::map<Key, std::map<std::string, std::set<std::u32string>>> other;
    std::map<Key, std::set<std::u32string>> agreed;
    for (const LabelledSentence &s : sentences) {
        const LabelledContext ctx = contextOf(reader, data, s);
        const char32_t c = s.text[s.at];
        if (ctx.word.size() < 2 || c == U'一' || c == U'不') // tone changes decide
            continue;
        const auto w = words.find(ctx.word);
        if (w == words.end())
            continue;
        const std::string ours = syllableAt(w->first, w->second, ctx.offset);
        if (ours.back() == '5') // a neutral tone is the word's own (知识 shi, 这儿 er), not Taiwan's
            continue;
        const Key key{c, ours, isName(w->first, w->second.tag)};
        if (s.reading == ours)
            agreed[key].insert(ctx.word);
        else if (baseOf(s.reading) == baseOf(ours))
            other[key][s.reading].insert(ctx.word);
    }
    std::size_t changed = 0;
    for (const auto &[key, tones] : other) {
        const auto top = std::max_element(tones.begin(), tones.end(), [](const auto &a, const auto &b) {
            return a.second.size() < b.second.size();
        });
        const auto a = agreed.find(key);
        const std::size_t agree = a == agreed.end() ? 0 : a->second.size();
        // Names are fewer: two of them teach their tone (塞尔, 塞尔维亚 sài: 贝塞尔 too).
        if (top->second.size() < (std::get<2>(key) ? 2u : 3u) || top->second.size() <= agree)
            continue;
        std::set<char32_t> forms{std::get<0>(key)};
        if (const auto t = traditionalOf.find(std::get<0>(key)); t != traditionalOf.end())
            forms.insert(t->second.begin(), t->second.end());
        const bool names = std::get<2>(key);
        for (auto &[word, entry] : words) {
            if (word.size() < 2 || (a != agreed.end() && a->second.count(word)) ||
                isName(word, entry.tag) != names || standard.count(word))
                continue;
            for (std::size_t k = 0; k < word.size(); ++k)
                if (forms.count(word[k]) && syllableAt(word, entry, k) == std::get<1>(key)) {
                    if (entry.reading.size() != word.size()) // read as its characters until now
                        for (char32_t c : word)
                            entry.reading.push_back(readings.at(c));
                    entry.reading[k] = top->first;
                    ++changed;
                }
        }
    }
    return changed;
}

std::size_t correctTransliterations(const core::PinyinReadingData &data,
                                    const std::vector<LabelledSentence> &sentences,
                                    const std::map<char32_t, std::set<char32_t>> &traditionalOf,
                                    const std::map<char32_t, std::string> &readings,
                                    std::map<std::u32string, core::PinyinWordEntry> &words) {
    auto syllableAt = [&](const std::u32string &word, const core::PinyinWordEntry &entry, std::size_t k) {
        return entry.reading.size() == word.size() ? entry.reading[k] : readings.at(word[k]);
    };
    std::map<char32_t, char32_t> simplifiedOf;
    for (const auto &[s, forms] : traditionalOf)
        for (char32_t t : forms)
            simplifiedOf.emplace(t, s);
    auto simplified = [&](char32_t c) {
        const auto it = simplifiedOf.find(c);
        return it == simplifiedOf.end() ? c : it->second;
    };
    // A name whose character stands beside one that spells foreign names (in either script): a
    // transliteration.
    auto transliterates = [&](const std::u32string &word, const std::string &tag, std::size_t k) {
        std::u32string key;
        for (char32_t c : word)
            key += simplified(c);
        const bool spelled = tag == "nrt" || std::all_of(key.begin(), key.end(), core::spellsForeignNames);
        return spelled && ((k > 0 && core::spellsForeignNames(key[k - 1])) ||
                           (k + 1 < key.size() && core::spellsForeignNames(key[k + 1])));
    };
    core::PinyinReader reader(data, {});
    // character -> the labels' reading -> the transliterations read so; and the words labelled.
    std::map<char32_t, std::map<std::string, std::set<std::u32string>>> taught;
    std::set<std::u32string> labelled;
    for (const LabelledSentence &s : sentences) {
        const LabelledContext ctx = contextOf(reader, data, s);
        const auto w = words.find(ctx.word);
        if (ctx.word.size() < 2 || w == words.end() || !transliterates(w->first, w->second.tag, ctx.offset))
            continue;
        taught[simplified(s.text[s.at])][s.reading].insert(ctx.word);
        labelled.insert(ctx.word);
    }
    std::size_t changed = 0;
    for (const auto &[c, byReading] : taught) {
        const auto top =
            std::max_element(byReading.begin(), byReading.end(),
                             [](const auto &a, const auto &b) { return a.second.size() < b.second.size(); });
        std::size_t others = 0;
        for (const auto &[r, ws] : byReading)
            if (r != top->first)
                others = std::max(others, ws.size());
        if (top->second.size() < 2 || top->second.size() <= others)
            continue;
        for (auto &[word, entry] : words) {
            if (word.size() < 2 || labelled.count(word))
                continue;
            for (std::size_t k = 0; k < word.size(); ++k) {
                if (simplified(word[k]) != c || !transliterates(word, entry.tag, k))
                    continue;
                const std::string ours = syllableAt(word, entry, k);
                if (ours == top->first || ours.back() == '5' || byReading.count(ours))
                    continue;
                if (entry.reading.size() != word.size())
                    for (char32_t x : word)
                        entry.reading.push_back(readings.at(x));
                entry.reading[k] = top->first;
                ++changed;
            }
        }
    }
    return changed;
}

std::map<char32_t, std::string> labelledDefaults(const core::PinyinReadingData &data,
                                                 const std::vector<LabelledSentence> &sentences,
                                                 const std::set<char32_t> &counted) {
    std::map<char32_t, std::map<std::string, int>> labels;
    for (const LabelledSentence &s : sentences)
        if (const char32_t c = s.text[s.at]; !counted.count(c) && data.hasReading(c))
            ++labels[c][s.reading];
    std::map<char32_t, std::string> out;
    for (const auto &[c, counts] : labels) {
        const std::string ours(data.syllableName(data.syllableOf(c)));
        const auto top = std::max_element(counts.begin(), counts.end(),
                                          [](const auto &a, const auto &b) { return a.second < b.second; });
        const auto agree = counts.find(ours);
        if (top->first != ours && top->second >= 2 && (agree == counts.end() || agree->second < top->second))
            out.emplace(c, top->first);
    }
    return out;
}

std::set<WordPlace> wordsReadBothWays(const core::PinyinReadingData &data,
                                      const std::vector<LabelledSentence> &sentences) {
    // Fewer than three sentences a way, and the models learnt more harm than good from them
    // (cross-validated on the sentences: two a way cost more where characters stand alone
    // than they won in the words).
    constexpr int kSentencesEachWay = 3;
    core::PinyinReader reader(data, {});
    std::map<WordPlace, std::map<std::string, int>> labels;
    for (const LabelledSentence &s : sentences) {
        const LabelledContext ctx = contextOf(reader, data, s);
        if (ctx.word.size() >= 2 && s.text[s.at] != U'一' && s.text[s.at] != U'不') // tone changes decide
            ++labels[{ctx.word, ctx.offset}][s.reading];
    }
    std::set<WordPlace> out;
    for (const auto &[place, counts] : labels) {
        int ways = 0;
        for (const auto &[reading, n] : counts)
            ways += n >= kSentencesEachWay;
        if (ways >= 2)
            out.insert(place);
    }
    return out;
}

std::map<char32_t, core::PinyinModel> trainContextModels(const core::PinyinReadingData &data,
                                                         const std::vector<LabelledSentence> &sentences,
                                                         const std::set<WordPlace> &inContext,
                                                         const std::vector<LabelledSentence> &more) {
    core::PinyinReader reader(data, {});
    struct Seen {
        std::string engine; // the engine's reading of the character alone
        std::vector<std::pair<LabelledContext, std::string>> examples;
        bool otherwise = false; // `sentences` read it otherwise than the engine somewhere
    };
    std::map<char32_t, Seen> byChar;
    auto learn = [&](const LabelledSentence &s, bool own) {
        const char32_t c = s.text[s.at];
        if (c == U'一' || c == U'不') // read by their tone changes
            return;
        LabelledContext ctx = contextOf(reader, data, s);
        if (!ctx.alone && !inContext.count({ctx.word, ctx.offset}))
            return;
        Seen &seen = byChar[c];
        seen.engine = std::string(data.syllableName(data.syllableOf(c)));
        seen.otherwise = seen.otherwise || (own && s.reading != seen.engine);
        seen.examples.emplace_back(std::move(ctx), s.reading);
    };
    for (const LabelledSentence &s : sentences)
        learn(s, true);
    for (const LabelledSentence &s : more)
        learn(s, false);
    std::map<char32_t, core::PinyinModel> models;
    for (auto &[c, seen] : byChar) {
        if (!seen.otherwise)
            continue;
        core::PinyinModel m;
        m.classes.push_back(seen.engine);
        for (const auto &[ctx, label] : seen.examples)
            if (std::find(m.classes.begin(), m.classes.end(), label) == m.classes.end())
                m.classes.push_back(label);
        std::sort(m.classes.begin() + 1, m.classes.end());
        // The words it learnt, each by its last feature: kept with the weights even where these
        // come to nothing, as the engine asks a model only about the words it knows.
        std::set<std::uint32_t> words;
        for (const auto &[ctx, label] : seen.examples)
            if (!ctx.alone)
                words.insert(ctx.features.back());
        std::vector<Example> examples;
        for (auto &[ctx, label] : seen.examples)
            examples.push_back(
                {std::move(ctx.features),
                 static_cast<std::size_t>(std::find(m.classes.begin(), m.classes.end(), label) -
                                          m.classes.begin())});
        m.weights = train(examples, m.classes.size());
        for (std::uint32_t w : words)
            m.weights.try_emplace(w, m.classes.size(), std::int16_t(0));
        models.emplace(c, std::move(m));
    }
    return models;
}

} // namespace pinyin_data
