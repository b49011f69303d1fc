#include "nimbra/generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string_view>

#include "engine/weather/weather_file.h"
#include "nimbra/fields.h"
#include "nimbra/regions.h"
#include "nimbra32/nimbra32.h"
#include "project/maker/file.h"
#include "solar/psy.h"

namespace nimbra {

namespace {

constexpr int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void Tell(CMessenger& messenger, std::string_view text, MsgIcon icon = MsgIcon::Warning) {
    messenger.Show(text, kGeneratorCaption, icon, MsgButtons::Ok);
}

// The platform's range prompt of the dialog's data exchange.
bool InRange(CMessenger& messenger, double v, double lo, double hi, const char* loText,
             const char* hiText) {
    if (std::isnan(v)) {
        Tell(messenger, "Please enter a number.");
        return false;
    }
    if (v < lo || v > hi) {
        std::string text = "Please enter a number between ";
        text += loText;
        text += " and ";
        text += hiText;
        text += ".";
        Tell(messenger, text);
        return false;
    }
    return true;
}

bool FieldsInRange(const SGeneratorFields& f, CMessenger& m) {
    if (!InRange(m, f.latitude, -90, 90, "-90", "90")) return false;
    // The longitude text has three characters for the degrees.
    if (!InRange(m, f.longitude, -180, 180, "-180", "180")) return false;
    if (!InRange(m, f.elevation, -1000, 8000, "-1000", "8000")) return false;
    for (int i = 1; i <= 12; ++i) {
        if (std::isnan(f.radiation[i]) || std::isinf(f.radiation[i])) {
            Tell(m, "Please enter a number.");
            return false;
        }
        if (!InRange(m, f.temperature[i], -80, 80, "-80", "80")) return false;
        if (!InRange(m, f.humidity[i], 0, 100, "0", "100")) return false;
        if (!InRange(m, f.wind[i], 0, 30, "0", "30")) return false;
    }
    return true;
}

int16_t ToField(double v) {
    // Values are truncated toward zero as stored, then kept within the 16-bit field.
    const double t = std::trunc(v);
    if (!(t >= -32768.0)) return t > 0 ? 32767 : -32768;
    if (t > 32767.0) return 32767;
    return static_cast<int16_t>(t);
}

}  // namespace

double GeneratorHumidityRatio(double t, double rh, double z) {
    if (z < 0 || z > 8853.5) return -1;
    if (t < -120 || t > 120) return -2;
    if (rh < 0 || rh > 100) return -3;
    const double p = 101.315 * std::pow(1.0 - 2.25577e-5 * z, 5.2559);  // [kPa]
    // Below -100 C the vapour pressure is negligible; the saturation formula is not taken there.
    const double pws = PSY_SatPressure(std::max(t, -100.0)) / 1000.0;  // [kPa]
    const double pw = rh / 100.0 * pws;
    return 0.62198 * pw / (p - pw);
}

ECreate CreateWeatherFile(const SGeneratorFields& f, const std::string& programFolder,
                          CMessenger& messenger, std::string* storedPath) {
    if (!FieldsInRange(f, messenger)) return ECreate::Refused;
    if (f.radiationSource != 1 && f.radiationSource != 2) {
        Tell(messenger, "Type of radiation data not chosen!");
        return ECreate::Refused;
    }

    // Region folders (below the weather root), region code and the empty-city message.
    std::string folders, code;
    const char* emptyCity = nullptr;
    if (f.region == kRegionCanada) {
        if (f.subRegion < 1 || f.subRegion >= static_cast<int>(Provinces().size())) {
            Tell(messenger, "No Province Selected");
            return ECreate::Refused;
        }
        const SSubRegion& p = Provinces()[f.subRegion];
        folders = std::string("North America\\Canada\\") + p.folder;
        code = p.code;
        emptyCity = p.emptyCity;
    } else if (f.region == kRegionUSA) {
        if (f.subRegion < 1 || f.subRegion >= static_cast<int>(States().size())) {
            Tell(messenger, "No State Selected");
            return ECreate::Refused;
        }
        const SSubRegion& s = States()[f.subRegion];
        folders = std::string("North America\\USA\\") + s.folder;
        code = s.code;
        emptyCity = s.emptyCity;
    } else if (const SWorldRegion* w = WorldRegion(f.region)) {
        folders = w->folder;
        code = w->code ? w->code : f.abbreviation.substr(0, std::min<size_t>(2, f.abbreviation.size()));
        emptyCity = w->emptyCity;
    } else {
        Tell(messenger, "No Region Selected");
        return ECreate::Refused;
    }
    if (f.city.empty()) {
        Tell(messenger, emptyCity);
        return ECreate::Refused;
    }
    if (f.city.size() > 99) {
        Tell(messenger, "The City Name is too long (at most 99 characters).");
        return ECreate::Refused;
    }
    // The city name is also the file name: it must stay inside the region's folder.
    if (f.city.find_first_of("\\/:*?\"<>|") != std::string::npos || f.city == "." || f.city == ".." ||
        f.city.find('\0') != std::string::npos) {
        Tell(messenger, "The City Name cannot contain any of the characters \\ / : * ? \" < > |");
        return ECreate::Refused;
    }

    std::string root, folder, path;
    FILE_PathFile(root, programFolder, "Weather");
    FILE_PathFile(folder, root, folders);
    FILE_PathFile(path, folder, f.city + ".wsw");
    std::error_code ec;
    if (!std::filesystem::is_directory(FILE_HostPath(folder), ec)) {
        Tell(messenger, "The folder \"" + folder + "\" does not exist. No weather file was created.",
             MsgIcon::Error);
        return ECreate::Failed;
    }

    // Synthesis. The working storage for the year and the file is taken without exceptions, so
    // that a failure reaches the user as the generator's own message.
    std::unique_ptr<int32_t[]> hourly(new (std::nothrow) int32_t[8761]());
    std::unique_ptr<CWeatherFileData> data(new (std::nothrow) CWeatherFileData());
    if (!hourly || !data) {
        Tell(messenger, "Memory allocation failure!", MsgIcon::Error);
        return ECreate::Failed;
    }
    const double phi = f.latitude * (3.14159265358979323846 / 180.0) * (f.south ? -1.0 : 1.0);
    double typical[289] = {};
    double temps[13] = {}, rad[13] = {};
    for (int m = 1; m <= 12; ++m) {
        temps[m] = f.temperature[m];
        rad[m] = f.radiation[m];
    }
    NIMBRA_Temperature(typical, temps, phi, f.radiationSource, rad);
    NIMBRA_Radiation(hourly.get(), 1, 1, phi, f.radiationSource, rad);

    data->stationCode = 0;
    SetWeatherStationName(*data, f.city);
    FillLatitudeField(*data, code, f.south, f.latitude);
    FillLongitudeText(*data, f.east, f.longitude);
    data->elevation = static_cast<int16_t>(RoundGenerator(f.elevation));
    int n = 0;
    for (int m = 1; m <= 12; ++m) {
        const int16_t v10 = ToField(10.0 * f.wind[m]);
        for (int d = 0; d < kDaysInMonth[m]; ++d, ++n) {
            CWeatherDay& day = data->days[n];
            day.groundReflectance = static_cast<int16_t>(ReflectanceFromMonthMean(f.temperature[m]));
            for (int h = 1; h <= 24; ++h) {
                CWeatherHour& hr = day.hours[h - 1];
                hr.dryBulb = ToField(10.0 * typical[24 * (m - 1) + h]);
                const double w = GeneratorHumidityRatio(hr.dryBulb / 10.0, f.humidity[m], 0.0);
                hr.humidityRatio = w < 0 ? 0 : ToField(1.0e6 * w);
                hr.windSpeed = v10;
                hr.globalHoriz = ToField(3.6 * hourly[24 * n + h]);
            }
        }
    }

    std::string error;
    if (WriteWeatherFile(path, *data, error) != 0) {
        Tell(messenger, error.empty() ? "The weather file \"" + path + "\" could not be written." : error,
             MsgIcon::Error);
        return ECreate::Failed;
    }
    if (storedPath) {
        std::string rest = path.substr(programFolder.size());
        while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
        *storedPath = "\\" + rest;
    }
    messenger.Show("City: " + f.city + "\nWas created successfully!", "Weather File Created",
                   MsgIcon::Information, MsgButtons::Ok);
    return ECreate::Created;
}

}  // namespace nimbra
