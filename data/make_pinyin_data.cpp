// make_pinyin_data: builds lanternfin's pinyin reading data file from Debian's packages.
//
//   make_pinyin_data [--hold-out F/K] OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS UNIHAN_VARIANTS
//                    JIEBA_DICT PINYIN_SIMP_DICT T2S_CONFIG LABELLED_SENT LABELLED_LB
//                    STANDARD_READINGS FIELDS INFO...
//
// TERRA_DICT    rime-data-terra-pinyin's terra_pinyin.dict.yaml (curated word readings)
// TERRA_TABLE   rime-data-terra-pinyin's build/terra_pinyin.table.txt (word, reading, frequency)
// UNIHAN_READINGS  unicode-data's Unihan_Readings.txt (kTGHZ2013, kMandarin, kHanyuPinlu), uncompressed
// UNIHAN_VARIANTS  unicode-data's Unihan_Variants.txt, uncompressed
// JIEBA_DICT    python3-jieba's dict.txt (word, frequency): the word frequencies of segmentation
// PINYIN_SIMP_DICT  rime-data-pinyin-simp's pinyin_simp.dict.yaml (simplified words, toneless
//               syllables, weights): which letters a word's polyphones have
// T2S_CONFIG    OpenCC's t2s.json: terra's keys are traditional, text is mostly simplified
// LABELLED_SENT, LABELLED_LB  sentences with one polyphone's reading written down by a person
//               (data/polyphones and data/polyphones-web, joined): what the context models learn from
// STANDARD_READINGS  data/standard-readings.txt: words read as the Mainland standard reads them
// FIELDS        data/polyphones-fields/sentences.tsv: sentences of many fields with every character
//               read by hand, learnt from after the labelled sentences (never held out: they are
//               not what bench/pinyin_polyphones.sh measures)
// INFO          lines written into the file's info text (package versions)
// --hold-out F/K  leaves sentence lines n with n % K == F out of training (for cross-validation)
//
// pinyin_sources reads the files, pinyin_policy chooses the readings, pinyin_context_model trains
// the polyphones' context models on the sentences as the engine without models reads them, and
// core's writePinyinData lays out the file.

#include "pinyin_context_model.h"
#include "pinyin_policy.h"
#include "pinyin_sources.h"

#include "core/pinyin_data_format.h"
#include "core/pinyin_reading.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>

using namespace pinyin_data;

namespace {
// Fewer labelled sentences than this: a character of the encyclopedic set alone.
constexpr std::size_t kFewLabelled = 100;
} // namespace

int main(int argc, char **argv) {
    std::size_t holdOut = 0, folds = 0;
    if (argc > 2 && std::string(argv[1]) == "--hold-out") {
        if (std::sscanf(argv[2], "%zu/%zu", &holdOut, &folds) != 2 || folds < 2 || holdOut >= folds)
            fail("--hold-out takes F/K with 0 <= F < K, K >= 2");
        argc -= 2;
        argv += 2;
    }
    if (argc < 13)
        fail("usage: make_pinyin_data [--hold-out F/K] OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS "
             "UNIHAN_VARIANTS "
             "JIEBA_DICT PINYIN_SIMP_DICT T2S_CONFIG LABELLED_SENT LABELLED_LB STANDARD_READINGS FIELDS "
             "[INFO...]");
    const std::string out = argv[1];
    const std::string terraDict = readFile(argv[2]), terra = readFile(argv[3]), unihan = readFile(argv[4]),
                      variants = readFile(argv[5]), jieba = readFile(argv[6]), simp = readFile(argv[7]);
    const std::string t2s = argv[8];
    const std::string labelledSent = readFile(argv[9]), labelledLb = readFile(argv[10]);
    const std::string standard = readFile(argv[11]), fields = readFile(argv[12]);

    // The sentences the models learn from, read first: a fault in them stops the build at once.
    auto sentences = readLabelled(labelledSent, labelledLb);
    if (sentences.empty())
        fail("no labelled sentences in " + std::string(argv[9]));
    // The fields' sentences teach the characters the labelled sets hold few sentences of (the
    // encyclopedic set's twenty or so each), in the readings the sets give them. The web set's
    // characters, each labelled in hundreds of sentences, learn from the sets alone: learnt from
    // encyclopedic prose too, they read everyday and manual text worse (一行 xíng, 显式地 dì, 将不
    // jiàng), where the fields had little more to teach them.
    std::map<char32_t, std::size_t> labelledCount;
    for (const LabelledSentence &s : sentences)
        ++labelledCount[s.text[s.at]];
    if (folds) {
        std::vector<LabelledSentence> kept;
        for (std::size_t i = 0; i < sentences.size(); ++i)
            if (i % folds != holdOut)
                kept.push_back(std::move(sentences[i]));
        sentences = std::move(kept);
    }
    // Only the readings the sentences learnt from give (a held-out fold's own teach nothing).
    std::set<std::pair<char32_t, std::string>> readings;
    for (const LabelledSentence &s : sentences)
        if (labelledCount[s.text[s.at]] < kFewLabelled)
            readings.insert({s.text[s.at], s.reading});
    std::string fieldError;
    auto fromFields = readFieldSentences(fields, readings, &fieldError);
    if (!fieldError.empty())
        fail(std::string(argv[12]) + ", " + fieldError);
    // A character the sets read in the neutral tone somewhere, which the writers never did, they
    // read by another convention (过 guò after every verb, 边 biān in 左边, 吧 bā): it learns from
    // the sets alone.
    std::set<char32_t> neutralInSets, neutralInFields;
    for (const auto &[c, reading] : readings)
        if (reading.back() == '5')
            neutralInSets.insert(c);
    for (const LabelledSentence &s : fromFields)
        if (s.reading.back() == '5')
            neutralInFields.insert(s.text[s.at]);
    std::erase_if(fromFields, [&](const LabelledSentence &s) {
        return neutralInSets.count(s.text[s.at]) && !neutralInFields.count(s.text[s.at]);
    });

    Sources src;
    readTerra(terra, src);
    readTerraDict(terraDict, src);
    readUnihan(unihan, src);
    readVariants(variants, src);
    readJieba(jieba, src);
    readToneless(simp, src);
    readStandard(standard, src);
    if (src.terraChars.empty() || src.tghz.empty() || src.jieba.empty())
        fail("an input file has none of the expected entries");

    std::map<char32_t, std::set<char32_t>> traditionalOf;
    core::PinyinDataContent content = chooseReadings(src, t2s, &traditionalOf);

    std::string info = "lanternfin pinyin reading data\n";
    for (int i = 13; i < argc; ++i)
        info += std::string(argv[i]) + "\n";
    info += "terra_pinyin.dict.yaml fnv64 " + fnv64(terraDict) + "\n";
    info += "terra_pinyin.table.txt fnv64 " + fnv64(terra) + "\n";
    info += "Unihan_Readings.txt fnv64 " + fnv64(unihan) + "\n";
    info += "Unihan_Variants.txt fnv64 " + fnv64(variants) + "\n";
    info += "jieba dict.txt fnv64 " + fnv64(jieba) + "\n";
    info += "pinyin_simp.dict.yaml fnv64 " + fnv64(simp) + "\n";
    info += "polyphones fnv64 " + fnv64(labelledSent + labelledLb) + "\n";
    info += "standard-readings.txt fnv64 " + fnv64(standard) + "\n";
    info += "polyphones-fields fnv64 " + fnv64(fields) + "\n";
    if (folds)
        info += "held out: lines n % " + std::to_string(folds) + " == " + std::to_string(holdOut) + "\n";
    content.info = std::move(info);
    std::string why;
    // The models learn from the sentences as the engine reads them without models.
    {
        std::vector<std::uint32_t> aligned;
        auto engine = [&] {
            const auto base = core::writePinyinData(content, &why);
            if (base.empty())
                fail(why);
            aligned.assign((base.size() + 3) / 4, 0);
            std::memcpy(aligned.data(), base.data(), base.size());
            core::Message unread;
            auto data = core::PinyinReadingData::open(
                {reinterpret_cast<const unsigned char *>(aligned.data()), base.size()}, &unread);
            if (!data)
                fail("the data without models does not read back: " + unread.in(core::Language::English));
            return *data;
        };
        std::set<char32_t> counted;
        for (const auto &[c, readings] : src.pinlu)
            counted.insert(c);
        for (auto &[c, reading] : labelledDefaults(engine(), sentences, counted))
            content.readings[c] = std::move(reading);
        const auto data = engine();
        // Words the labels read both ways are read by the models where they learnt them.
        const auto bothWays = wordsReadBothWays(data, sentences);
        // The fields' sentences teach the context models of the characters the sets made models
        // for, and correct words the sets hold none of (below). A rare character's own reading,
        // the words read both ways and the corrections of the words the sets hold stay what the
        // sets say: one sentence more of 芍陂 què made 芍药 què.
        content.models = trainContextModels(data, sentences, bothWays, fromFields);
        // Then Taiwan's tones the words kept where the labels read the Mainland's.
        std::set<std::u32string> standardWords;
        for (const auto &[word, syllables] : src.standard)
            standardWords.insert(word);
        correctWordTones(data, sentences, traditionalOf, content.readings, content.words, standardWords);
        correctTransliterations(data, sentences, traditionalOf, content.readings, content.words);
        for (auto &[word, reading] : wordCorrections(data, sentences, standardWords))
            if (const auto it = content.words.find(word); it != content.words.end())
                it->second.reading = std::move(reading);
        // Then the words the fields read otherwise than the engine and the sets hold none of
        // (任新民 rén, 折子戏 zhé zi xì; cross-validated, 擂鼓 léi and 太仆寺 pú of a fold learn
        // from the fields what the other folds cannot teach).
        for (auto &[word, reading] : fieldWordCorrections(data, fromFields, sentences, standardWords, src.toneless))
            if (const auto it = content.words.find(word); it != content.words.end())
                it->second.reading = std::move(reading);
        for (const auto &[word, place] : bothWays)
            if (const auto it = content.words.find(word); it != content.words.end())
                it->second.readInContext = true;
    }
    const auto file = core::writePinyinData(content, &why);
    if (file.empty())
        fail(why);
    std::size_t weights = 0;
    for (const auto &[c, m] : content.models)
        weights += m.weights.size();
    std::cerr << "make_pinyin_data: " << content.readings.size() << " characters, " << content.words.size()
              << " words, " << content.models.size() << " models with " << weights << " features, "
              << file.size() << " bytes; " << fromFields.size() << " examples from the fields\n";

    const std::string tmp = out + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!f)
            fail("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0)
        fail("cannot rename " + tmp + " to " + out);
    return 0;
}
