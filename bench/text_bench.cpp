// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <cstdint>

#include "hextext.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

void BM_Hex8(benchmark::State& state)
{
    std::uint32_t value = 0x37E0'0000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(Hex8(value));
    }
}
BENCHMARK(BM_Hex8);

// The two digits of a thermal field, and the three characters of the
// family detection's "&h" text.
void BM_HexDigitsToDecimal(benchmark::State& state)
{
    const std::wstring digits = state.range(0) == 2 ? L"37" : L"&h1";
    for (auto _ : state) {
        benchmark::DoNotOptimize(digits.data());
        benchmark::DoNotOptimize(HexDigitsToDecimal(digits));
    }
}
BENCHMARK(BM_HexDigitsToDecimal)->Arg(2)->Arg(3);

void BM_TemperatureCaption(benchmark::State& state)
{
    long long celsius = 55;
    for (auto _ : state) {
        benchmark::DoNotOptimize(celsius);
        benchmark::DoNotOptimize(temperatureCaption(celsius));
    }
}
BENCHMARK(BM_TemperatureCaption);

}  // namespace
}  // namespace veltaro
