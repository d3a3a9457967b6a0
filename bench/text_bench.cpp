// Start-up of the text services: the code page 936 table and both character dictionaries; the
// pinyin reading data loaded on first use.

#include "platform/character_maps.h"
#include "platform/codepage936.h"
#include "platform/pinyin_data.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK_MAIN();
