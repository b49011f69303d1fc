#pragma once
// The binary weather file: one station-year of hourly weather (365 days x 24 hours), 70 936 bytes,
// little-endian and packed:
//
//   offset  size  field
//        0     2  station code, int16 (0 for files made by the weather generator)
//        2   100  station name, characters
//      102    10  latitude field: 1-2 region code, 3 hemisphere letter ("N" or "S"), 5-6 whole
//                 degrees, 8-9 minutes (4, 7 and 10 are separators), e.g. "ONN 43 40\0"
//      112    12  longitude text, kept unchanged, not used in calculations
//      124     2  elevation [m], int16
//      126  365 x 194 day records, day 1 first: int16 ground reflectance x 10, then 24 hour records
//                 (hours 0..23) of four int16: dry bulb [0.1 C], humidity ratio [1e-6 kg/kg],
//                 wind speed [0.1 m/s], global horizontal irradiation of the hour [kJ/m2]
//
// Two levels:
//  * CWeatherFileData with ReadWeatherFile / WriteWeatherFile: the raw contents exactly as stored,
//    for the weather generator, the importer and tests that make synthetic files;
//  * ReadWeather: the engine's reader, which fills CLocationData with the station header, the hourly
//    weather and, for one wall orientation, the clearness index and the irradiance on the wall.
//
// Every function returns 0 on success and one of the WEATHER_ codes on failure, with a message for
// the user in `error` that names the file (and the field for a refused value). Nothing throws.
// A file whose values would reach a fatal argument check of the solar routine library (a latitude
// beyond 90 degrees, a ground reflectance outside 0..10 tenths) is refused like a short file, so
// that no weather file can end the program.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/records.h"

constexpr std::size_t kWeatherFileSize = 70936;     // bytes of a complete file
constexpr std::size_t kWeatherHeaderSize = 126;
constexpr std::size_t kWeatherDayRecordSize = 194;
constexpr int kWeatherStationNameBytes = 100;
constexpr int kWeatherLatitudeFieldBytes = 10;
constexpr int kWeatherLongitudeBytes = 12;

// Result codes (0 = success).
constexpr int WEATHER_CANNOT_OPEN = 1;      // missing or unreadable file, or not a regular file
constexpr int WEATHER_TOO_SHORT = 2;        // fewer than kWeatherFileSize bytes
constexpr int WEATHER_BAD_FIELD = 3;        // a value the solar routines cannot take (named)
constexpr int WEATHER_BAD_ORIENTATION = 4;  // slope or azimuth of the wall out of range (ReadWeather)
constexpr int WEATHER_CANNOT_WRITE = 5;     // WriteWeatherFile: temp file or rename failed

// One hour record, values as stored in the file.
struct CWeatherHour {
    std::int16_t dryBulb = 0;        // [0.1 C]
    std::int16_t humidityRatio = 0;  // [1e-6 kg/kg]
    std::int16_t windSpeed = 0;      // [0.1 m/s]
    std::int16_t globalHoriz = 0;    // global horizontal irradiation of the hour [kJ/m2]
};

// One day record.
struct CWeatherDay {
    std::int16_t groundReflectance = 0;  // [tenths], 0..10
    CWeatherHour hours[kHoursPerDay];
};

// The whole file as stored. Text fields are raw bytes (not necessarily zero-terminated).
struct CWeatherFileData {
    std::int16_t stationCode = 0;
    char stationName[kWeatherStationNameBytes] = {};
    char latitudeField[kWeatherLatitudeFieldBytes] = {};
    char longitudeText[kWeatherLongitudeBytes] = {};
    std::int16_t elevation = 0;  // [m]
    CWeatherDay days[kDaysPerYear];
};

// Fills the latitude field: region code (first two characters, blank-padded), hemisphere letter
// 'N' or 'S', whole degrees 0..90 and minutes 0..59 as two digits each: "ONN 43 40" plus a
// terminator. Returns false (field unchanged) for values that do not fit.
bool SetWeatherLatitudeField(CWeatherFileData& data, std::string_view region, char hemisphere,
                             int degrees, int minutes);

// Copies `name` into the station name field, zero-padded (cut at 100 bytes).
void SetWeatherStationName(CWeatherFileData& data, std::string_view name);

// Latitude [rad] of a latitude field: (degrees + minutes / 60) * pi / 180, negative for "S" or "s".
// The degrees and minutes are two-character decimal fields (blanks allowed before or after the
// digits). Returns false with `error` naming the field when a field holds anything else or the
// latitude lies beyond 90 degrees.
bool WeatherLatitude(const char (&field)[kWeatherLatitudeFieldBytes], double& latitude,
                     std::string& error);

// Checks the values the solar routines depend on (latitude field, daily ground reflectance).
// `name` is the file name used in the message. Returns 0 or WEATHER_BAD_FIELD.
int CheckWeatherFileData(const CWeatherFileData& data, std::string_view name, std::string& error);

// Decodes kWeatherFileSize bytes (a longer buffer: the rest is ignored) and checks them as
// CheckWeatherFileData does. `name` is used in messages. Never reads past `size`.
int ParseWeatherFile(const void* bytes, std::size_t size, CWeatherFileData& data,
                     std::string_view name, std::string& error);

// Encodes `data` into exactly kWeatherFileSize bytes (no checks).
void EncodeWeatherFile(const CWeatherFileData& data, std::vector<unsigned char>& bytes);

// Reads the file at `path` (a host path or one in backslash form; translated by the file library,
// letter case resolved). `data` is unchanged on failure.
int ReadWeatherFile(const std::string& path, CWeatherFileData& data, std::string& error);

// Writes `data` to `path` (translated as above) through a temporary file in the same folder that
// is renamed over the target, so the target is either the complete new file or left as it was.
// Refuses (WEATHER_BAD_FIELD) data that ReadWeather would refuse.
int WriteWeatherFile(const std::string& path, const CWeatherFileData& data, std::string& error);

// The engine's weather reader. `weatherFile` is the path as a project stores it, relative to the
// program folder in backslash form ("\Weather\Canada\Ontario\Toronto.wsw"); `slope` and `azimuth`
// [deg] are the wall's (slope 0..180 from horizontal, azimuth -180..180, 0 south, positive west).
// On success the location holds the file name, the station header, the latitude, the hourly
// weather and, for this orientation, the clearness index and the wall-plane irradiance.
// On failure `location` is left exactly as it was and `error` holds the message for the user
// (the caller shows it, e.g. through its CMessenger, caption "Weather Data").
int ReadWeather(CLocationData& location, const std::string& weatherFile, double slope,
                double azimuth, std::string& error);

// The hourly composition of ReadWeather from data already read and checked; `weatherFile` is only
// stored. Same results and failure rules as ReadWeather (checks the data and the orientation).
int ComposeWeather(CLocationData& location, const std::string& weatherFile,
                   const CWeatherFileData& data, double slope, double azimuth, std::string& error);
