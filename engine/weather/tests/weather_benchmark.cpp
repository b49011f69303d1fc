// ReadWeather of one station-year for one wall: 8760 hours of sun position, clearness index and
// sky model, plus the file read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "engine/weather/tests/weather_fixture.h"

static void BM_ReadWeather(benchmark::State& state) {
    CScratchDir dir;
    setenv("HALVO_HOME", dir.path.c_str(), 1);
    std::string err;
    auto data = MakeSyntheticWeather();
    if (WriteWeatherFile((dir.path / "Toronto.wsw").string(), *data, err) != 0) {
        state.SkipWithError(err.c_str());
        return;
    }
    auto location = std::make_unique<CLocationData>();
    for (auto _ : state) {
        if (ReadWeather(*location, "\\Toronto.wsw", 90.0, 0.0, err) != 0) {
            state.SkipWithError(err.c_str());
            break;
        }
        benchmark::DoNotOptimize(location->wallIrradiance[171][12]);
    }
}
BENCHMARK(BM_ReadWeather)->Unit(benchmark::kMillisecond);
