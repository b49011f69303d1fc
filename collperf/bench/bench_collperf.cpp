// One call of each collector model at typical daytime conditions and at night. A wall-year makes
// 35 000 to 40 000 transpired calls (the application models search the collector flow), so a
// four-wall year within 50 ms needs a call well under a microsecond.
#include <benchmark/benchmark.h>

#include "collperf/tests/collperf_calls.h"

namespace {

using collperf_test::BpCall;
using collperf_test::TpCall;

void RunTp(benchmark::State& state, double qsol)
{
    TpCall c;
    c.QSol = qsol;
    for (auto _ : state) {
        c.FlowMalCorr = -9.9;
        benchmark::DoNotOptimize(c.TAmb);  // keep the inputs opaque to the optimiser
        benchmark::DoNotOptimize(c.Run());
        benchmark::ClobberMemory();
    }
}

void RunBp(benchmark::State& state, double qsol, bool glazed)
{
    BpCall c;
    c.QSol = qsol;
    c.Glazed = glazed;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.TAmb);
        benchmark::DoNotOptimize(c.Run());
        benchmark::ClobberMemory();
    }
}

void BM_TP_Day(benchmark::State& s) { RunTp(s, 600.0); }
void BM_TP_Night(benchmark::State& s) { RunTp(s, 0.0); }
void BM_BP_Day(benchmark::State& s) { RunBp(s, 600.0, false); }
void BM_BP_DayGlazed(benchmark::State& s) { RunBp(s, 600.0, true); }
void BM_BP_Night(benchmark::State& s) { RunBp(s, 0.0, false); }

// A flow search of an application model: the same hour at a range of trial flows.
void BM_TP_FlowSweep(benchmark::State& state)
{
    TpCall c;
    int i = 0;
    for (auto _ : state) {
        c.SetSuction(0.002 + 0.001 * (i++ % 80));
        c.FlowMalCorr = -9.9;
        benchmark::DoNotOptimize(c.Run());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_TP_Day);
BENCHMARK(BM_TP_Night);
BENCHMARK(BM_TP_FlowSweep);
BENCHMARK(BM_BP_Day);
BENCHMARK(BM_BP_DayGlazed);
BENCHMARK(BM_BP_Night);
