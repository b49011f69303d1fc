#pragma once
// Shared pieces of the engine tests: a synthetic weather year written with the weather library, a
// program folder for it, and a sensible one-wall design.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "engine/sim/wall_run.h"
#include "engine/weather/weather_file.h"
#include "project/doc.h"
#include "solar/astro.h"

namespace simtest {

// A mid-latitude year (45 N): a mean of 7 C swinging 14 K over the year and 5 K over the day, clear
// skies on two days of three and overcast on the third, 3 m/s of wind.
inline void MakeSyntheticWeather(CWeatherFileData& data, double annualMean = 7.0) {
    data = CWeatherFileData{};
    SetWeatherStationName(data, "Synthetic Test Station");
    SetWeatherLatitudeField(data, "ON", 'N', 45, 0);
    data.elevation = 150;
    const double phi = 45.0 * M_PI / 180.0;
    for (int d = 0; d < kDaysPerYear; ++d) {
        CWeatherDay& day = data.days[d];
        day.groundReflectance = 2;
        const double tMean = annualMean - 14.0 * std::cos(2 * M_PI * (d + 1 - 20) / 365.0);
        const double sky = (d % 3 == 2) ? 0.25 : 0.75;
        for (int h = 0; h < kHoursPerDay; ++h) {
            CWeatherHour& hr = day.hours[h];
            const double t = tMean + 5.0 * std::sin(2 * M_PI * (h - 9) / 24.0);
            hr.dryBulb = static_cast<std::int16_t>(std::lround(t * 10));
            const double w = 0.0025 + 0.006 * (0.5 - 0.5 * std::cos(2 * M_PI * (d + 1 - 20) / 365.0));
            hr.humidityRatio = static_cast<std::int16_t>(std::lround(w * 1e6));
            hr.windSpeed = 30;
            double zen = 0, azi = 0;
            ASTRO_SunPosition(d + 1, h + 0.5, phi, zen, azi);
            const double cz = std::cos(zen);
            const double g = cz > 0 ? 1000.0 * sky * std::pow(cz, 1.15) : 0.0;
            hr.globalHoriz = static_cast<std::int16_t>(std::lround(g * 3.6));
        }
    }
}

// A program folder under the working directory with one weather file; HALVO_HOME names it.
// Returns the stored name of the weather file ("\Weather\Test\Synthetic.wth").
inline std::string MakeProgramFolder(const std::string& folder, double annualMean = 7.0,
                                     const char* name = "Synthetic.wth") {
    namespace fs = std::filesystem;
    const fs::path home = fs::absolute(folder);
    fs::create_directories(home / "Weather" / "Test");
    auto data = std::make_unique<CWeatherFileData>();
    MakeSyntheticWeather(*data, annualMean);
    std::string error;
    WriteWeatherFile((home / "Weather" / "Test" / name).string(), *data, error);
    setenv("HALVO_HOME", home.string().c_str(), 1);
    return std::string("\\Weather\\Test\\") + name;
}

// A warehouse wall: 30 m x 6 m, 4500 l/s (25 l/(s m2), porosity 0.0025, suction 0.025 m/s), black
// perforated plate, facing south, fans always on.
inline void SensibleWall(CHalvo98Doc& doc, int w) {
    CCollectorSpec& c = doc.collectors[w];
    CAirSystem& a = doc.airSystems[w];
    c.collectorType = 0;
    c.collectorWidth = 30.0f;
    c.collectorHeight = 6.0f;
    c.canopyType = 0;
    c.slope = 90.0f;
    c.azimuth = 0.0f;
    c.plenumDepth = 0.2f;
    a.designFlow = 4500.0f;
    a.exhaustFlow = 4500.0f;
    a.numberOfFans = 1;
    c.porosity = PorosityRule(a.designFlow, c.collectorHeight, c.collectorWidth);
    c.damperWidth = 1.5f;
    c.damperHeight = 1.5f;
    doc.schedules[w] = C_Schedule4Occ();
}

inline std::unique_ptr<CHalvo98Doc> SensibleProject(int appType, int walls, const std::string& weather) {
    auto doc = std::make_unique<CHalvo98Doc>();
    doc->applicationType = static_cast<std::int16_t>(appType);
    for (int w = 0; w < kWallCount; ++w) {
        doc->wallPresent[w] = w < walls ? 1 : 0;
        SensibleWall(*doc, w);
    }
    doc->location.weatherFile = weather;
    return doc;
}

// Energy sense of a year's results, wall row `row`.
inline void ExpectEnergySense(const CProjectResults& r, int row, double effLo, double effHi, const char* name) {
    double collected = 0, operating = 0, savings = 0;
    for (int t = 0; t < kResultTableCount; ++t)
        for (int m = 0; m < 12; ++m)
            EXPECT_TRUE(std::isfinite(r.Table(static_cast<EResultTable>(t))[row][m])) << name << " " << t;
    for (int m = 0; m < 12; ++m) {
        EXPECT_LT(r.solarCollected[row][m], r.solarIncidentTotal[row][m]) << name << " month " << m;
        collected += r.solarCollected[row][m];
        operating += r.operatingSolar[row][m];
        savings += r.totalSavings[row][m];
    }
    EXPECT_GT(collected, 0) << name;
    EXPECT_GT(savings, 0) << name;
    ASSERT_GT(operating, 0) << name;
    EXPECT_GT(collected / operating, effLo) << name;
    EXPECT_LT(collected / operating, effHi) << name;
}


}  // namespace simtest
