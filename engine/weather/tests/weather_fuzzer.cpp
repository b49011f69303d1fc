// Arbitrary bytes as a weather file: the reader either refuses them with a message or composes a
// year for a wall without reaching a fatal check of the solar routines.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/weather/weather_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static auto data = std::make_unique<CWeatherFileData>();
    static auto location = std::make_unique<CLocationData>();
    std::string error;
    if (ParseWeatherFile(bytes, size, *data, "fuzz.wsw", error) != 0) return 0;
    // The orientation from the last two bytes: slope 0..180, azimuth -180..180 and a few outside.
    const double slope = bytes[size - 2] * 0.75 - 5.0;
    const double azimuth = bytes[size - 1] * 1.5 - 190.0;
    ComposeWeather(*location, "fuzz.wsw", *data, slope, azimuth, error);
    return 0;
}
