// A year of a four-wall project, one wall of each collector configuration: transpired, back-pass,
// glazed back-pass, and transpired with a back-pass canopy.

#include <benchmark/benchmark.h>

#include <memory>

#include "engine/sim/simulate.h"
#include "engine/sim/tests/sim_fixture.h"
#include "engine/sim/wall_run.h"
#include "project/messages.h"

namespace {

std::unique_ptr<CHalvo98Doc> FourWalls(int appType) {
    static const std::string weather = simtest::MakeProgramFolder("bench-home");
    auto doc = simtest::SensibleProject(appType, 4, weather);
    doc->collectors[1].collectorType = 7;
    doc->collectors[2].collectorType = 14;
    doc->collectors[3].canopyType = 8;
    doc->collectors[3].canopyHeight = 1.0f;
    if (appType == 2) {
        for (auto& a : doc->airSystems) a.outsideAirPercent = 30.0;
    }
    return doc;
}

void BM_SimulateProject(benchmark::State& state) {
    auto doc = FourWalls(static_cast<int>(state.range(0)));
    CScriptedMessenger msg;
    for (auto _ : state) {
        SimulateProject(*doc, msg, nullptr);
        benchmark::DoNotOptimize(doc->results.solarCollected[0][0]);
    }
    state.SetLabel("application type " + std::to_string(state.range(0)));
}
BENCHMARK(BM_SimulateProject)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
