#include "engine/weather/weather_file.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "project/maker/file.h"
#include "solar/astro.h"
#include "solar/radproc.h"
#include "solar/tilt.h"

namespace {

static_assert(kWeatherHeaderSize + kDaysPerYear * kWeatherDayRecordSize == kWeatherFileSize);

// Hourly irradiation [kJ/m2] to mean irradiance [W/m2]: the divisor is the single-precision 3.6
// (3.5999999046...) widened to double; the stored irradiances depend on it.
const double kKiloJoulePerHourToWatt = static_cast<double>(3.6f);

// An hour whose wall-plane irradiance reaches this multiple of the horizontal one is limited to it.
constexpr double kWallGainLimit = 15.0;

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// The bytes of a text field as a message shows them: padding zeros as blanks, other control
// characters as '?'.
std::string Printable(const char* p, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        s += c == 0 ? ' ' : (c < 32 || c == 127) ? '?' : static_cast<char>(c);
    }
    return s;
}

std::int16_t GetI16(const unsigned char* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void PutI16(unsigned char* p, std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<unsigned char>(u & 0xff);
    p[1] = static_cast<unsigned char>(u >> 8);
}

// A two-character decimal field: blanks or zeros around one or two digits.
bool ParseTwoDigits(const char* p, int& value) {
    int i = 0;
    while (i < 2 && (p[i] == ' ' || p[i] == '\0')) ++i;
    int digits = 0;
    value = 0;
    while (i < 2 && p[i] >= '0' && p[i] <= '9') {
        value = value * 10 + (p[i] - '0');
        ++i;
        ++digits;
    }
    while (i < 2 && (p[i] == ' ' || p[i] == '\0')) ++i;
    return digits > 0 && i == 2;
}

int ReadNamed(const std::string& path, std::string_view name, CWeatherFileData& data,
              std::string& error) {
    CFile file;
    if (FILE_Open(file, path, 0, 0) != 0) {
        error = "Cannot open the weather file " + Quoted(name) + ".";
        return WEATHER_CANNOT_OPEN;
    }
    const std::size_t size = file.Remaining();
    if (size < kWeatherFileSize) {
        FILE_Close(file);
        error = "The weather file " + Quoted(name) + " is incomplete: it has " +
                std::to_string(size) + " bytes, a weather file has " +
                std::to_string(kWeatherFileSize) + ".";
        return WEATHER_TOO_SHORT;
    }
    std::vector<unsigned char> bytes(kWeatherFileSize);
    const int rc = FILE_Read(file, bytes.data(), bytes.size(), 0);
    FILE_Close(file);
    if (rc != 0) {
        error = "Cannot read the weather file " + Quoted(name) + ".";
        return WEATHER_CANNOT_OPEN;
    }
    return ParseWeatherFile(bytes.data(), bytes.size(), data, name, error);
}

}  // namespace

bool SetWeatherLatitudeField(CWeatherFileData& data, std::string_view region, char hemisphere,
                             int degrees, int minutes) {
    if (hemisphere != 'N' && hemisphere != 'S') return false;
    if (degrees < 0 || minutes < 0 || minutes > 59 || degrees * 60 + minutes > 90 * 60) return false;
    char f[32];
    std::snprintf(f, sizeof f, "%c%c%c %02d %02d", region.size() > 0 ? region[0] : ' ',
                  region.size() > 1 ? region[1] : ' ', hemisphere, degrees, minutes);
    std::memcpy(data.latitudeField, f, kWeatherLatitudeFieldBytes);  // the tenth byte is the zero
    return true;
}

void SetWeatherStationName(CWeatherFileData& data, std::string_view name) {
    std::memset(data.stationName, 0, sizeof data.stationName);
    std::memcpy(data.stationName, name.data(),
                name.size() < sizeof data.stationName ? name.size() : sizeof data.stationName);
}

bool WeatherLatitude(const char (&field)[kWeatherLatitudeFieldBytes], double& latitude,
                     std::string& error) {
    const std::string shown = Quoted(Printable(field, kWeatherLatitudeFieldBytes));
    int degrees = 0, minutes = 0;
    if (!ParseTwoDigits(field + 4, degrees)) {
        error = "latitude field " + shown + ": the degrees (characters 5-6) are not a number";
        return false;
    }
    if (!ParseTwoDigits(field + 7, minutes)) {
        error = "latitude field " + shown + ": the minutes (characters 8-9) are not a number";
        return false;
    }
    double lat = (degrees + minutes / 60.0) * ASTRO_PI / 180.0;
    if (field[2] == 'S' || field[2] == 's') lat = -lat;
    // The same closed interval the sun-position routines accept.
    if (!(lat >= -ASTRO_HALF_PI && lat <= ASTRO_HALF_PI)) {
        error = "latitude field " + shown + ": the latitude lies beyond 90 degrees";
        return false;
    }
    latitude = lat;
    return true;
}

int CheckWeatherFileData(const CWeatherFileData& data, std::string_view name, std::string& error) {
    double lat = 0;
    std::string why;
    if (!WeatherLatitude(data.latitudeField, lat, why)) {
        error = "The weather file " + Quoted(name) + " cannot be used: " + why + ".";
        return WEATHER_BAD_FIELD;
    }
    for (int d = 0; d < kDaysPerYear; ++d) {
        const int rho = data.days[d].groundReflectance;
        if (rho < 0 || rho > 10) {
            error = "The weather file " + Quoted(name) + " cannot be used: the ground reflectance of day " +
                    std::to_string(d + 1) + " is " + std::to_string(rho) +
                    " tenths (0 to 10 allowed).";
            return WEATHER_BAD_FIELD;
        }
    }
    return 0;
}

int ParseWeatherFile(const void* bytes, std::size_t size, CWeatherFileData& data,
                     std::string_view name, std::string& error) {
    if (size < kWeatherFileSize) {
        error = "The weather file " + Quoted(name) + " is incomplete: it has " +
                std::to_string(size) + " bytes, a weather file has " +
                std::to_string(kWeatherFileSize) + ".";
        return WEATHER_TOO_SHORT;
    }
    auto parsed = std::make_unique<CWeatherFileData>();
    const auto* p = static_cast<const unsigned char*>(bytes);
    parsed->stationCode = GetI16(p);
    std::memcpy(parsed->stationName, p + 2, kWeatherStationNameBytes);
    std::memcpy(parsed->latitudeField, p + 102, kWeatherLatitudeFieldBytes);
    std::memcpy(parsed->longitudeText, p + 112, kWeatherLongitudeBytes);
    parsed->elevation = GetI16(p + 124);
    p += kWeatherHeaderSize;
    for (auto& day : parsed->days) {
        day.groundReflectance = GetI16(p);
        p += 2;
        for (auto& hour : day.hours) {
            hour.dryBulb = GetI16(p);
            hour.humidityRatio = GetI16(p + 2);
            hour.windSpeed = GetI16(p + 4);
            hour.globalHoriz = GetI16(p + 6);
            p += 8;
        }
    }
    if (int rc = CheckWeatherFileData(*parsed, name, error); rc != 0) return rc;
    data = *parsed;
    return 0;
}

void EncodeWeatherFile(const CWeatherFileData& data, std::vector<unsigned char>& bytes) {
    bytes.assign(kWeatherFileSize, 0);
    unsigned char* p = bytes.data();
    PutI16(p, data.stationCode);
    std::memcpy(p + 2, data.stationName, kWeatherStationNameBytes);
    std::memcpy(p + 102, data.latitudeField, kWeatherLatitudeFieldBytes);
    std::memcpy(p + 112, data.longitudeText, kWeatherLongitudeBytes);
    PutI16(p + 124, data.elevation);
    p += kWeatherHeaderSize;
    for (const auto& day : data.days) {
        PutI16(p, day.groundReflectance);
        p += 2;
        for (const auto& hour : day.hours) {
            PutI16(p, hour.dryBulb);
            PutI16(p + 2, hour.humidityRatio);
            PutI16(p + 4, hour.windSpeed);
            PutI16(p + 6, hour.globalHoriz);
            p += 8;
        }
    }
}

int ReadWeatherFile(const std::string& path, CWeatherFileData& data, std::string& error) {
    return ReadNamed(path, path, data, error);
}

int WriteWeatherFile(const std::string& path, const CWeatherFileData& data, std::string& error) {
    if (int rc = CheckWeatherFileData(data, path, error); rc != 0) return rc;
    std::vector<unsigned char> bytes;
    EncodeWeatherFile(data, bytes);

    std::string why;
    if (FILE_ReplaceContents(path, bytes.data(), bytes.size(), why) != 0) {
        error = "Cannot write the weather file " + Quoted(path) + ": " + why + ".";
        return WEATHER_CANNOT_WRITE;
    }
    return 0;
}

int ComposeWeather(CLocationData& location, const std::string& weatherFile,
                   const CWeatherFileData& data, double slope, double azimuth, std::string& error) {
    if (int rc = CheckWeatherFileData(data, weatherFile, error); rc != 0) return rc;
    // Degrees to radians with pi as 2 acos(0); the ranges are those the sky model accepts.
    const double toRad = 2.0 * std::acos(0.0) / 180.0;
    const double beta = slope * toRad;
    const double gamma = azimuth * toRad;
    if (!(beta >= 0.0 && beta <= ASTRO_PI) || !(gamma >= -ASTRO_PI && gamma <= ASTRO_PI)) {
        error = "Cannot compute the irradiance on the wall from the weather file " +
                Quoted(weatherFile) + ": the slope must be 0 to 180 degrees and the azimuth -180 to 180 degrees (slope " +
                std::to_string(slope) + ", azimuth " + std::to_string(azimuth) + ").";
        return WEATHER_BAD_ORIENTATION;
    }
    double latitude = 0.0;
    std::string why;
    WeatherLatitude(data.latitudeField, latitude, why);  // checked above

    location.weatherFile = weatherFile;
    location.stationCode = data.stationCode;
    location.stationName.assign(data.stationName,
                                strnlen(data.stationName, kWeatherStationNameBytes));
    location.regionCode[0] = data.latitudeField[0];
    location.regionCode[1] = data.latitudeField[1];
    location.regionCode[2] = '\0';
    std::memcpy(location.latitudeText, data.latitudeField + 2, kLatitudeTextChars);
    std::memcpy(location.longitudeText, data.longitudeText, kLongitudeTextChars);
    location.latitude = latitude;
    location.elevation = static_cast<float>(data.elevation);

    for (int d = 0; d < kDaysPerYear; ++d) {
        const CWeatherDay& day = data.days[d];
        const int n = d + 1;
        const double rho = day.groundReflectance / 10.0;
        // Per-day values of the sun-position routine, which are the same for every hour.
        const double declination = ASTRO_Declination(n);
        const double I0n = ASTRO_ExtraterrestrialNormal(n);
        for (int h = 0; h < kHoursPerDay; ++h) {
            const CWeatherHour& hour = day.hours[h];
            location.dryBulb[d][h] = static_cast<float>(hour.dryBulb / 10.0);
            location.humidityRatio[d][h] = hour.humidityRatio / 1000000.0;
            location.windSpeed[d][h] = static_cast<float>(hour.windSpeed / 10.0);

            double G = hour.globalHoriz / kKiloJoulePerHourToWatt;
            if (!(G > 0.0)) G = 0.0;
            // The file's hours are solar hours; the sun is taken at the middle of the hour.
            double zenith = 0.0, sunAzimuth = 0.0;
            ASTRO_SunAngles(declination, ASTRO_HourAngle(h + 0.5), latitude, zenith, sunAzimuth);
            double kt = RADPROC_ClearnessIndex(G, I0n, zenith);
            if (kt > 1.0) kt = 1.0;
            if (kt < 0.0) kt = 0.0;
            const double F = RADPROC_DiffuseFraction(kt);
            const double Ib = (1.0 - F) * G;
            const double Id = G - Ib;
            double It = G;
            if (G > 0.0) {
                It = TILT_Perez(Ib, Id, I0n, zenith, sunAzimuth, ASTRO_AirMass(zenith), beta, gamma,
                                rho);
                if (It / G >= kWallGainLimit) It = kWallGainLimit * G;
            }
            location.clearnessIndex[d][h] = static_cast<float>(kt);
            location.globalHoriz[d][h] = static_cast<float>(G);
            location.wallIrradiance[d][h] = static_cast<float>(It);
        }
    }
    return 0;
}

int ReadWeather(CLocationData& location, const std::string& weatherFile, double slope,
                double azimuth, std::string& error) {
    auto data = std::make_unique<CWeatherFileData>();
    if (int rc = ReadNamed(FILE_ProgramPath(weatherFile), weatherFile, *data, error); rc != 0)
        return rc;
    return ComposeWeather(location, weatherFile, *data, slope, azimuth, error);
}
