#include "nimbra/fields.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace nimbra {

double RoundGenerator(double v) {
    const double a = std::fabs(v);
    const double whole = std::floor(a);
    const double frac = a - whole;
    double r;
    if (frac >= 0.4999 && frac < 0.5001)
        r = std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0;
    else
        r = std::floor(a + 0.5);
    return v < 0 ? -r : r;
}

namespace {
// Whole degrees (truncated) and rounded minutes of |value|.
void DegreesMinutes(double value, int& degrees, int& minutes) {
    const double a = std::fabs(value);
    const double whole = std::trunc(a);
    degrees = static_cast<int>(whole);
    minutes = static_cast<int>(RoundGenerator((a - whole) * 60.0));
}
}  // namespace

bool FillLatitudeField(CWeatherFileData& data, std::string_view region, bool south, double value) {
    if (!(std::fabs(value) <= 90.0)) return false;
    if (value < 0) south = !south;
    int deg = 0, min = 0;
    DegreesMinutes(value, deg, min);
    char text[16];
    std::snprintf(text, sizeof text, "%c %2d %2d", south ? 'S' : 'N', deg, min);
    char* f = data.latitudeField;
    std::memset(f, 0, kWeatherLatitudeFieldBytes);
    for (std::size_t i = 0; i < 2 && i < region.size(); ++i) f[i] = region[i];
    std::memcpy(f + 2, text, 7);  // "N 43 40"; byte 10 stays the terminator
    return true;
}

bool FillLongitudeText(CWeatherFileData& data, bool east, double value) {
    if (!(std::fabs(value) <= 180.0)) return false;
    int deg = 0, min = 0;
    DegreesMinutes(value, deg, min);
    char text[16];
    std::snprintf(text, sizeof text, "%c %3d %2d", east ? 'E' : 'W', deg, min);
    std::memset(data.longitudeText, 0, kWeatherLongitudeBytes);
    std::memcpy(data.longitudeText, text, 8);  // then a zero byte and three more
    return true;
}

}  // namespace nimbra
