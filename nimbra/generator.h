#pragma once
// The weather generator's Create command without its dialog: the checks and messages, the output
// path from the region tables, the synthesis through libnimbra32 and the weather file.

#include <string>

#include "project/messages.h"

namespace nimbra {

// The fields of the generator dialog. Arrays are indexed by month 1..12 (element 0 unused).
struct SGeneratorFields {
    int region = 0;             // index of the region list (0 "Please Select a region")
    int subRegion = 0;          // province (Canada) or state (USA) list index, 0 = none chosen
    std::string abbreviation;   // country code for the world regions 4..8
    std::string city;           // city name, also the file name
    double latitude = 0;        // [deg]
    bool south = false;         // hemisphere combo "S"
    double longitude = 0;       // [deg]
    bool east = false;          // east/west combo "E"
    double elevation = 0;       // [m]
    int radiationSource = 0;    // 1 clearness, 2 mean daily radiation [MJ/m2 per day]
    double radiation[13] = {};
    double temperature[13] = {};  // [C]
    double humidity[13] = {};     // relative humidity [%]
    double wind[13] = {};         // [m/s]
};

// Caption of the generator's messages.
inline constexpr const char* kGeneratorCaption = "Nimbra";

// Outcome of a Create.
enum class ECreate {
    Created,  // the file was written and confirmed
    Refused,  // a check failed; its message was shown and nothing was written
    Failed,   // the file could not be written; reported, and any earlier file is untouched
};

// Runs Create for `fields` below the program folder `programFolder`: every check with its message,
// then the synthesis and the file "<programFolder>\Weather\<region folders>\<city>.wsw".
// `storedPath` receives that path relative to the program folder ("\Weather\...\<city>.wsw").
ECreate CreateWeatherFile(const SGeneratorFields& fields, const std::string& programFolder,
                          CMessenger& messenger, std::string* storedPath = nullptr);

// Humidity ratio [kg/kg] of the generator from t [C], relative humidity rh [%] and altitude z [m]:
// -1 for z outside 0..8853.5, -2 for t outside -120..120, -3 for rh outside 0..100.
double GeneratorHumidityRatio(double t, double rh, double z);

}  // namespace nimbra
