// Throughput of the amount conversion and the leading-number reading on random amounts.

#include "core/amount.h"
#include "core/amount_reading.h"
#include "core/number.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> randomAmounts(std::size_t count) {
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<int> digits(1, 16);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<std::u16string> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string s;
        const int n = digits(rng);
        for (int k = 0; k < n; ++k)
            s += static_cast<char16_t>(u'0' + digit(rng));
        s += u'.';
        s += static_cast<char16_t>(u'0' + digit(rng));
        s += static_cast<char16_t>(u'0' + digit(rng));
        out.push_back(std::move(s));
    }
    return out;
}

void BM_daxie(benchmark::State &state) {
    const auto amounts = randomAmounts(4096);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::daxie(amounts[i++ & 4095]));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_daxie);

// Capitals read back to their amount, the well-formedness check included.
void BM_readAmountCapitals(benchmark::State &state) {
    std::vector<std::u16string> capitals;
    for (const auto &a : randomAmounts(4096))
        capitals.push_back(*core::daxie(a));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::readAmountCapitals(capitals[i++ & 4095]));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_readAmountCapitals);

// The writer the reader checks against: capitals of an amount in fen.
void BM_daxieFen(benchmark::State &state) {
    std::vector<core::Fen> amounts;
    for (const auto &a : randomAmounts(4096))
        amounts.push_back(*core::toFen(core::readLeadingDecimal(a)));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::daxie(amounts[i++ & 4095]));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_daxieFen);

void BM_readLeadingNumber(benchmark::State &state) {
    const auto amounts = randomAmounts(4096);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::readLeadingNumber(amounts[i++ & 4095]));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_readLeadingNumber);

// The floor for reading: strtod on the same texts, already narrow.
void BM_strtodFloor(benchmark::State &state) {
    const auto amounts = randomAmounts(4096);
    std::vector<std::string> narrow;
    for (const auto &a : amounts)
        narrow.emplace_back(a.begin(), a.end());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtod(narrow[i++ & 4095].c_str(), nullptr));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_strtodFloor);

} // namespace

BENCHMARK_MAIN();
