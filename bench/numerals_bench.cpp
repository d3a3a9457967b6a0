// Throughput of Chinese numerals (writing and the strict reading back) and of bill dates, beside
// daxie on the same amounts as the peer measured in the same run.

#include "core/amount.h"
#include "core/bill_date.h"
#include "core/numerals.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<core::Decimal> randomNumbers(std::size_t count) {
    std::mt19937_64 rng(42);
    std::vector<core::Decimal> out;
    for (std::size_t i = 0; i < count; ++i) {
        std::string s(1 + rng() % 16, '0');
        for (auto &c : s)
            c = static_cast<char>('0' + rng() % 10);
        s += '.' + std::to_string(rng() % 100);
        out.push_back(core::readLeadingDecimal(s));
    }
    return out;
}

void BM_chineseNumerals(benchmark::State &state) {
    const auto numbers = randomNumbers(4096);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(core::chineseNumerals(numbers[i++ & 4095], core::NumeralDigits::Capital));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_chineseNumerals);

void BM_readChineseNumerals(benchmark::State &state) {
    std::vector<std::u16string> texts;
    for (const auto &n : randomNumbers(4096))
        texts.push_back(*core::chineseNumerals(n, core::NumeralDigits::Ordinary).value);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(core::readChineseNumerals(texts[i++ & 4095]));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_readChineseNumerals);

// The peer: capitals of the same numbers as amounts.
void BM_daxiePeer(benchmark::State &state) {
    const auto numbers = randomNumbers(4096);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(core::daxie(numbers[i++ & 4095]));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_daxiePeer);

void BM_billDateText(benchmark::State &state) {
    const std::u16string text = u"出票日期：2026年12月7日";
    for (auto _ : state)
        benchmark::DoNotOptimize(core::billDateText(text));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_billDateText);

} // namespace

BENCHMARK_MAIN();
