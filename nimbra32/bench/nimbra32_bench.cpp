#include <benchmark/benchmark.h>

#include <vector>

#include "nimbra32/nimbra32.h"

// One synthesised year, as the generator's Create command asks for it.
static void BM_NimbraRadiationYear(benchmark::State& state) {
    const double mj[13] = {0, 5.7, 8.9, 12.6, 16.2, 19.8, 21.9, 21.7, 18.6, 14.0, 8.8, 5.3, 4.4};
    std::vector<int32_t> out(8761);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NIMBRA_Radiation(out.data(), 1, 1, 0.7622, 2, mj));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NimbraRadiationYear)->Unit(benchmark::kMillisecond);
