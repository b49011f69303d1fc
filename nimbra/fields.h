#pragma once
// Header fields of a weather file as the generator and the importer write them: the latitude
// characters, the longitude text, and the generator's rounding of minutes and elevation.

#include <string_view>

#include "engine/weather/weather_file.h"

namespace nimbra {

// Rounds to the nearest integer; a fractional part from 0.4999 up to (not including) 0.5001 counts
// as one half, and halves go to the even neighbour. The result keeps the sign of v.
double RoundGenerator(double v);

// Latitude field: the first two characters of `region` (zero bytes when shorter), the hemisphere
// letter and a blank, the whole degrees of |degrees| right-aligned in 2 characters, a blank, the
// rounded minutes (0..60) right-aligned in 2 characters, a zero byte. A negative value swaps the
// hemisphere, so that the field describes the latitude the synthesis used.
// `south`: the hemisphere chosen is "S". Returns false when |degrees| > 90.
bool FillLatitudeField(CWeatherFileData& data, std::string_view region, bool south, double degrees);

// Longitude text: "W " or "E ", the whole degrees of |degrees| right-aligned in 3 characters, a
// blank, the minutes right-aligned in 2 characters, a zero byte, three zero bytes. Returns false
// when |degrees| > 180.
bool FillLongitudeText(CWeatherFileData& data, bool east, double degrees);

// Ground reflectance of the generator's rule in tenths: 2 (no snow) when the month's mean
// temperature is above 0 C, otherwise 6 (snow).
inline int ReflectanceFromMonthMean(double meanTemperature) { return meanTemperature > 0.0 ? 2 : 6; }

}  // namespace nimbra
