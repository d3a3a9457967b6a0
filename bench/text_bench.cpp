// Start-up of the text services: the code page 936 table and both character dictionaries.

#include "platform/character_maps.h"
#include "platform/codepage936.h"

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

} // namespace

BENCHMARK_MAIN();
