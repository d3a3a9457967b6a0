// Start-up of the text services: the code page 936 table and both character dictionaries; the
// pinyin reading data loaded on first use.

#include "platform/character_maps.h"
#include "platform/codepage936.h"
#include "platform/pinyin_data.h"

#include "core/pinyin_reading.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void BM_codePage936Table(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::loadCodePage936());
}
BENCHMARK(BM_codePage936Table)->Unit(benchmark::kMillisecond);

void BM_bothDictionaries(benchmark::State &state) {
    const auto dir = platform::openccDataDir() + "/";
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            platform::loadCharacterDictionary(dir + platform::kSimplifiedToTraditionalFile));
        benchmark::DoNotOptimize(
            platform::loadCharacterDictionary(dir + platform::kTraditionalToSimplifiedFile));
    }
}
BENCHMARK(BM_bothDictionaries)->Unit(benchmark::kMillisecond);

void BM_textServicesStartup(benchmark::State &state) {
    const auto dir = platform::openccDataDir() + "/";
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::loadCodePage936());
        benchmark::DoNotOptimize(
            platform::loadCharacterDictionary(dir + platform::kSimplifiedToTraditionalFile));
        benchmark::DoNotOptimize(
            platform::loadCharacterDictionary(dir + platform::kTraditionalToSimplifiedFile));
    }
}
BENCHMARK(BM_textServicesStartup)->Unit(benchmark::kMillisecond);

// What the first use of a pinyin reading way costs the window: map and check the data file.
void BM_pinyinDataLoad(benchmark::State &state) {
    const auto path = platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::PinyinData::load(path));
}
BENCHMARK(BM_pinyinDataLoad)->Unit(benchmark::kMillisecond);

// The reading engine alone, in process, on the corpus (LANTERNFIN_CORPUS, else bench/corpus/zh.txt
// as bench/corpus.sh makes it): MB/s without process start, file reading or writing.
void BM_pinyinReadCorpus(benchmark::State &state) {
    const char *env = std::getenv("LANTERNFIN_CORPUS");
    std::ifstream f(env ? env : LANTERNFIN_SOURCE_DIR "/bench/corpus/zh.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const auto data =
        platform::PinyinData::load(platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile);
    if (text.empty() || !data) {
        state.SkipWithError("no corpus (run bench/corpus.sh) or no pinyin data");
        return;
    }
    core::PinyinStyle style;
    style.tone = core::PinyinTone::Numbers;
    std::string out;
    for (auto _ : state) {
        out.clear();
        core::PinyinReader reader(data->view(), style);
        reader.readWhole(text, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_pinyinReadCorpus)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
