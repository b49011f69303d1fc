#pragma once
// A synthetic station-year for the weather tests and the benchmark: Toronto's latitude, a clear
// bell of irradiation over every day, temperatures and humidity that vary by day and hour.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "engine/weather/weather_file.h"

inline std::unique_ptr<CWeatherFileData> MakeSyntheticWeather() {
    auto w = std::make_unique<CWeatherFileData>();
    w->stationCode = 6158;
    SetWeatherStationName(*w, "Toronto");
    SetWeatherLatitudeField(*w, "ON", 'N', 43, 40);
    std::memcpy(w->longitudeText, "W  79 24\0\0\0\0", kWeatherLongitudeBytes);
    w->elevation = 113;
    for (int d = 0; d < kDaysPerYear; ++d) {
        CWeatherDay& day = w->days[d];
        day.groundReflectance = (d < 80 || d > 334) ? 7 : 2;  // snow in winter
        const double peak = 1800.0 + 1400.0 * std::sin(3.14159 * d / 365.0);  // [kJ/m2]
        for (int h = 0; h < kHoursPerDay; ++h) {
            CWeatherHour& hr = day.hours[h];
            hr.dryBulb = static_cast<std::int16_t>(-150 + d + 3 * h);
            hr.humidityRatio = static_cast<std::int16_t>(2000 + 20 * d + h);
            hr.windSpeed = static_cast<std::int16_t>(20 + (d + h) % 60);
            const double s = std::sin(3.14159265 * (h - 4.5) / 15.0);
            hr.globalHoriz = static_cast<std::int16_t>(h >= 5 && h <= 19 ? peak * s * s : 0);
        }
    }
    return w;
}

// A scratch folder removed at the end of its scope.
struct CScratchDir {
    std::filesystem::path path;
    CScratchDir() {
        char tmpl[] = "/tmp/weather_test_XXXXXX";
        if (mkdtemp(tmpl)) path = tmpl;
    }
    ~CScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};
