#pragma once
// Import of EnergyPlus weather (EPW) typical-year files into the weather file layout.
//
// The calendar is built from month, day and hour alone (typical years mix years); 29 February is
// dropped. EPW hours are hour-ending local standard time, the weather file's hours are solar
// hours: each EPW hour's radiation is split between the two solar hours it overlaps (so daily
// totals are kept), and temperature, humidity and wind are interpolated linearly to the end of
// each solar hour, as the EPW values stand for the end of theirs.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/weather/weather_file.h"

namespace nimbra {

struct SEpwImportOptions {
    std::optional<std::string> stationName;  // default: the station of the LOCATION line
    std::optional<std::string> regionCode;   // default: the state/province field of LOCATION
    int stationCode = 1;                     // 11 for a city shown on a map, 1 for other hourly data
};

// Result codes.
inline constexpr int kEpwOk = 0;
inline constexpr int kEpwUnreadable = 3;  // cannot open or read the file
inline constexpr int kEpwMalformed = 4;   // not an EPW year we can use; `error` names the line

// Converts the text of an EPW file. `name` is the file name used in messages. Warnings (filled
// missing values, dropped 29 February, negative elevation) go to `warnings`.
int ImportEpw(std::string_view text, std::string_view name, const SEpwImportOptions& options,
              CWeatherFileData& data, std::vector<std::string>& warnings, std::string& error);

// Reads and converts the EPW file at the host path `path`.
int ImportEpwFile(const std::string& path, const SEpwImportOptions& options, CWeatherFileData& data,
                  std::vector<std::string>& warnings, std::string& error);

// Imports `in` and writes the weather file `out` (replaced only when complete). Returns 0, 1 when
// the output could not be written, or 3 when the input is unreadable or malformed; `error` says why.
int ConvertEpwFile(const std::string& in, const std::string& out, const SEpwImportOptions& options,
                   std::vector<std::string>& warnings, std::string& error);

// Equation of time [min] of day n (Spencer 1971): apparent solar time minus mean solar time.
double EquationOfTime(int n);

// The import-epw command shared by halvo-cli and nimbra-cli: args after the command name.
// Exit codes: 0 written, 1 output not written, 2 usage, 3 input unreadable or malformed.
int RunImportEpw(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace nimbra
