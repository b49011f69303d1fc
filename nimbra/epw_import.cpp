#include "nimbra/epw_import.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

#include "nimbra/fields.h"
#include "solar/astro.h"
#include "solar/psy.h"

namespace nimbra {

namespace {

constexpr int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kMonthEnd[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
constexpr int kHours = 8760;
constexpr int kFields = 35;

// Data columns used (0-based) with their names for messages.
enum EColumn { kDryBulb, kDewPoint, kPressure, kGlobal, kWind, kSnow, kColumns };
constexpr int kColumnIndex[kColumns] = {6, 7, 9, 13, 21, 30};
constexpr const char* kColumnName[kColumns] = {"dry bulb temperature", "dew point temperature",
                                               "station pressure", "global horizontal radiation",
                                               "wind speed", "snow depth"};

bool Missing(int column, double v) {
    switch (column) {
        case kDryBulb:
        case kDewPoint: return v >= 99.9 || v < -90.0;
        case kPressure: return v >= 999999.0 || v <= 0.0;
        case kGlobal: return v >= 9999.0 || v < 0.0;
        case kWind: return v >= 999.0 || v < 0.0;
        case kSnow: return v < 0.0 || v > 500.0;
    }
    return false;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            out.push_back(line.substr(start));
            return out;
        }
        out.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ParseNumber(std::string_view field, double& v) {
    field = Trim(field);
    if (field.empty() || field.size() > 40) return false;
    char buf[48];
    std::memcpy(buf, field.data(), field.size());
    buf[field.size()] = '\0';
    char* end = nullptr;
    errno = 0;
    v = std::strtod(buf, &end);
    return end == buf + field.size() && errno == 0 && std::isfinite(v);
}

bool ParseInt(std::string_view field, int& v) {
    double d = 0;
    if (!ParseNumber(field, d) || d != std::floor(d) || std::fabs(d) > 1e6) return false;
    v = static_cast<int>(d);
    return true;
}

std::string Where(std::string_view name, size_t line) {
    return std::string(name) + ", line " + std::to_string(line);
}

// Fills missing entries of a cyclic hourly series by linear interpolation between the nearest
// valid neighbours. Returns false when no entry is valid.
bool FillGaps(std::vector<double>& v, const std::vector<bool>& valid) {
    const int n = static_cast<int>(v.size());
    int first = -1;
    for (int i = 0; i < n; ++i)
        if (valid[i]) {
            first = i;
            break;
        }
    if (first < 0) return false;
    int prev = first;
    for (int step = 1; step <= n; ++step) {
        const int i = (first + step) % n;
        if (!valid[i]) continue;
        const int gap = (i - prev + n) % n;  // distance to the next valid entry
        for (int k = 1; k < gap; ++k) {
            const double a = static_cast<double>(k) / gap;
            v[(prev + k) % n] = (1.0 - a) * v[prev] + a * v[i];
        }
        prev = i;
    }
    return true;
}

int16_t Stored(double v, double lo, double hi) {
    const double r = std::floor(v + 0.5);  // nearest, halves up
    return static_cast<int16_t>(std::clamp(r, lo, hi));
}

}  // namespace

double EquationOfTime(int n) {
    const double g = ASTRO_DayAngle(n);
    return 229.18 * (0.000075 + 0.001868 * std::cos(g) - 0.032077 * std::sin(g) -
                     0.014615 * std::cos(2 * g) - 0.04089 * std::sin(2 * g));
}

int ImportEpw(std::string_view text, std::string_view name, const SEpwImportOptions& options,
              CWeatherFileData& result, std::vector<std::string>& warnings, std::string& error) {
    // Split into lines, keeping their numbers.
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    // LOCATION,station,state,country,source,WMO,latitude,longitude,timezone,elevation
    size_t locLine = lines.size(), dataLine = lines.size();
    for (size_t i = 0; i < lines.size() && dataLine == lines.size(); ++i) {
        if (locLine == lines.size() && lines[i].rfind("LOCATION", 0) == 0) locLine = i;
        if (lines[i].rfind("DATA PERIODS", 0) == 0) dataLine = i;
    }
    if (locLine == lines.size()) {
        error = std::string(name) + ": no LOCATION line; this is not an EPW weather file.";
        return kEpwMalformed;
    }
    if (dataLine == lines.size()) {
        error = std::string(name) + ": no DATA PERIODS line; this is not an EPW weather file.";
        return kEpwMalformed;
    }
    const auto loc = Split(lines[locLine]);
    if (loc.size() < 10) {
        error = Where(name, locLine + 1) + ": the LOCATION line has " + std::to_string(loc.size()) +
                " fields, 10 expected.";
        return kEpwMalformed;
    }
    double lat = 0, lon = 0, tz = 0, elev = 0;
    const struct {
        int index;
        const char* what;
        double* value;
        double lo, hi;
    } locFields[] = {{6, "latitude", &lat, -90, 90},
                     {7, "longitude", &lon, -180, 180},
                     {8, "time zone", &tz, -14, 14},
                     {9, "elevation", &elev, -1000, 9000}};
    for (const auto& lf : locFields) {
        if (!ParseNumber(loc[lf.index], *lf.value) || *lf.value < lf.lo || *lf.value > lf.hi) {
            error = Where(name, locLine + 1) + ", field " + std::to_string(lf.index + 1) + " (" +
                    lf.what + "): \"" + std::string(Trim(loc[lf.index])) + "\" is not a valid " +
                    lf.what + ".";
            return kEpwMalformed;
        }
    }

    // Hourly rows into the 365 x 24 calendar.
    std::vector<double> col[kColumns];
    std::vector<bool> ok[kColumns];
    for (int c = 0; c < kColumns; ++c) {
        col[c].assign(kHours, 0.0);
        ok[c].assign(kHours, false);
    }
    std::vector<size_t> rowLine(kHours, 0);
    int rows = 0, leapRows = 0;
    for (size_t i = dataLine + 1; i < lines.size(); ++i) {
        if (Trim(lines[i]).empty()) continue;
        const auto f = Split(lines[i]);
        if (f.size() != kFields) {
            error = Where(name, i + 1) + ": " + std::to_string(f.size()) + " fields, " +
                    std::to_string(kFields) + " expected.";
            return kEpwMalformed;
        }
        int month = 0, day = 0, hour = 0;
        if (!ParseInt(f[1], month) || month < 1 || month > 12) {
            error = Where(name, i + 1) + ", field 2 (month): \"" + std::string(Trim(f[1])) +
                    "\" is not a month 1-12.";
            return kEpwMalformed;
        }
        const int maxDay = month == 2 ? 29 : kDaysInMonth[month];
        if (!ParseInt(f[2], day) || day < 1 || day > maxDay) {
            error = Where(name, i + 1) + ", field 3 (day): \"" + std::string(Trim(f[2])) +
                    "\" is not a day of month " + std::to_string(month) + ".";
            return kEpwMalformed;
        }
        if (!ParseInt(f[3], hour) || hour < 1 || hour > 24) {
            error = Where(name, i + 1) + ", field 4 (hour): \"" + std::string(Trim(f[3])) +
                    "\" is not an hour 1-24.";
            return kEpwMalformed;
        }
        double v[kColumns];
        for (int c = 0; c < kColumns; ++c) {
            if (!ParseNumber(f[kColumnIndex[c]], v[c])) {
                error = Where(name, i + 1) + ", field " + std::to_string(kColumnIndex[c] + 1) + " (" +
                        kColumnName[c] + "): \"" + std::string(Trim(f[kColumnIndex[c]])) +
                        "\" is not a number.";
                return kEpwMalformed;
            }
        }
        if (month == 2 && day == 29) {
            ++leapRows;
            continue;
        }
        const int slot = 24 * (kMonthEnd[month - 1] + day - 1) + hour - 1;
        if (rowLine[slot] != 0) {
            error = Where(name, i + 1) + ": a second row for " + std::to_string(month) + "/" +
                    std::to_string(day) + " hour " + std::to_string(hour) + " (the first is line " +
                    std::to_string(rowLine[slot]) + ").";
            return kEpwMalformed;
        }
        rowLine[slot] = i + 1;
        ++rows;
        for (int c = 0; c < kColumns; ++c) {
            col[c][slot] = v[c];
            ok[c][slot] = !Missing(c, v[c]);
        }
    }
    if (rows < kHours) {
        int firstGap = 0;
        while (firstGap < kHours && rowLine[firstGap] != 0) ++firstGap;
        const int doy = firstGap / 24 + 1;
        int month = 1;
        while (kMonthEnd[month] < doy) ++month;
        error = std::string(name) + ": too few rows: " + std::to_string(rows) +
                " hourly rows of a 365-day year (8760 needed); the first missing is " +
                std::to_string(month) + "/" + std::to_string(doy - kMonthEnd[month - 1]) + " hour " +
                std::to_string(firstGap % 24 + 1) + ".";
        return kEpwMalformed;
    }
    if (leapRows > 0)
        warnings.push_back(std::string(name) + ": 29 February dropped (" + std::to_string(leapRows) +
                           " rows).");

    // Missing values.
    std::string filled;
    int filledTotal = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (c == kSnow) continue;  // missing snow data has a rule of its own
        const int missing = static_cast<int>(std::count(ok[c].begin(), ok[c].end(), false));
        if (missing == 0) continue;
        if (!FillGaps(col[c], ok[c])) {
            if (c == kPressure) {
                const double p = 101325.0 * std::pow(1.0 - 2.25577e-5 * std::max(elev, 0.0), 5.2559);
                std::fill(col[c].begin(), col[c].end(), p);
                warnings.push_back(std::string(name) +
                                   ": no station pressure given; the standard pressure at the "
                                   "station's elevation is used.");
                continue;
            }
            error = std::string(name) + ": no valid " + kColumnName[c] + " in any row.";
            return kEpwMalformed;
        }
        filledTotal += missing;
        if (!filled.empty()) filled += ", ";
        filled += std::string(kColumnName[c]) + " " + std::to_string(missing);
    }
    if (filledTotal > 0)
        warnings.push_back(std::string(name) + ": " + std::to_string(filledTotal) +
                           " missing values filled by interpolation from neighbouring hours (" + filled +
                           ").");

    // Humidity ratio of each EPW hour from its dew point and station pressure.
    std::vector<double> w(kHours);
    for (int i = 0; i < kHours; ++i) {
        const double td = std::clamp(col[kDewPoint][i], -100.0, 200.0);
        const double pws = PSY_SatPressure(td);
        const double p = col[kPressure][i];
        w[i] = p > pws ? 0.62198 * pws / (p - pws) : 0.032767;
    }

    // Solar time minus local standard time [h] of each day.
    double shift[366] = {};
    for (int n = 1; n <= 365; ++n) shift[n] = (4.0 * (lon - 15.0 * tz) + EquationOfTime(n)) / 60.0;

    // Radiation: EPW row i covers standard time [i, i+1) h, i.e. solar time [i+s, i+1+s).
    std::vector<double> g(kHours, 0.0);
    for (int i = 0; i < kHours; ++i) {
        const double s = i + shift[i / 24 + 1];
        const double j0 = std::floor(s);
        const double frac = s - j0;
        const int a = ((static_cast<int>(j0) % kHours) + kHours) % kHours;
        g[a] += (1.0 - frac) * col[kGlobal][i];
        g[(a + 1) % kHours] += frac * col[kGlobal][i];
    }
    // Point values: solar hour j ends at solar time j+1, standard time j+1-s, which is EPW row
    // j-s (row k stands for standard time k+1).
    auto at = [&](const std::vector<double>& v, int j) {
        const double q = j - shift[j / 24 + 1];
        const double k0 = std::floor(q);
        const double a = q - k0;
        const int i0 = ((static_cast<int>(k0) % kHours) + kHours) % kHours;
        return (1.0 - a) * v[i0] + a * v[(i0 + 1) % kHours];
    };

    auto data = std::make_unique<CWeatherFileData>();
    data->stationCode = static_cast<int16_t>(options.stationCode);
    std::string station = options.stationName ? *options.stationName : std::string(Trim(loc[1]));
    if (station.size() > 99) station.resize(99);
    SetWeatherStationName(*data, station);
    std::string region = options.regionCode ? *options.regionCode : std::string(Trim(loc[2]));
    if (region.empty() && !options.regionCode) region = std::string(Trim(loc[3]));
    FillLatitudeField(*data, region, false, lat);
    FillLongitudeText(*data, lon >= 0.0, lon);
    if (elev < 0.0) {
        warnings.push_back(std::string(name) + ": elevation " + std::string(Trim(loc[9])) +
                           " m written as 0 m.");
        elev = 0.0;
    }
    data->elevation = static_cast<int16_t>(std::min(RoundGenerator(elev), 32767.0));

    std::vector<double> tSolar(kHours);
    for (int j = 0; j < kHours; ++j) tSolar[j] = at(col[kDryBulb], j);
    double monthMean[13] = {};
    for (int m = 1; m <= 12; ++m) {
        double sum = 0;
        for (int j = 24 * kMonthEnd[m - 1]; j < 24 * kMonthEnd[m]; ++j) sum += tSolar[j];
        monthMean[m] = sum / (24.0 * kDaysInMonth[m]);
    }
    // Snow on the ground: files with real data carry a depth above 0 somewhere; files whose snow
    // column is all zero (no snow data) or outside 0..500 cm (missing) get the generator's rule.
    bool snowData = false;
    for (int i = 0; i < kHours && !snowData; ++i) snowData = ok[kSnow][i] && col[kSnow][i] > 0.0;

    int month = 1;
    for (int d = 0; d < 365; ++d) {
        while (kMonthEnd[month] <= d) ++month;
        CWeatherDay& day = data->days[d];
        int reflect = ReflectanceFromMonthMean(monthMean[month]);
        if (snowData) {
            int valid = 0, snowy = 0;
            for (int h = 0; h < 24; ++h) {
                const int i = 24 * d + h;
                if (!ok[kSnow][i]) continue;
                ++valid;
                if (col[kSnow][i] > 0.0) ++snowy;
            }
            if (valid > 0) reflect = 2 * snowy >= valid ? 6 : 2;
        }
        day.groundReflectance = static_cast<int16_t>(reflect);
        for (int h = 0; h < 24; ++h) {
            const int j = 24 * d + h;
            CWeatherHour& hr = day.hours[h];
            hr.dryBulb = Stored(10.0 * tSolar[j], -32768, 32767);
            hr.humidityRatio = Stored(1.0e6 * at(w, j), 0, 32767);
            hr.windSpeed = Stored(10.0 * at(col[kWind], j), 0, 32767);
            hr.globalHoriz = Stored(3.6 * g[j], 0, 32767);
        }
    }
    result = *data;
    return kEpwOk;
}

int ImportEpwFile(const std::string& path, const SEpwImportOptions& options, CWeatherFileData& data,
                  std::vector<std::string>& warnings, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Cannot open the EPW file \"" + path + "\".";
        return kEpwUnreadable;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = "Cannot read the EPW file \"" + path + "\".";
        return kEpwUnreadable;
    }
    std::string name = path;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    return ImportEpw(text.str(), name, options, data, warnings, error);
}

int ConvertEpwFile(const std::string& in, const std::string& out, const SEpwImportOptions& options,
                   std::vector<std::string>& warnings, std::string& error) {
    auto data = std::make_unique<CWeatherFileData>();
    if (ImportEpwFile(in, options, *data, warnings, error) != kEpwOk) return 3;
    if (WriteWeatherFile(out, *data, error) != 0) return 1;
    return 0;
}

int RunImportEpw(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const char* const kUsage =
        "usage: import-epw IN.epw -o OUT.wsw [--name STATION] [--region CODE] [--code N]\n"
        "Converts an EPW typical-year weather file into a weather file (.wsw).\n"
        "  -o OUT.wsw       the weather file to write (replaced only when complete)\n"
        "  --name STATION   station name (default: the station of the LOCATION line), at most 99\n"
        "                   characters\n"
        "  --region CODE    two-character region code (default: the state or province of LOCATION)\n"
        "  --code N         station code: 11 a city shown on a map, 1 other hourly data (default 1)\n"
        "Exit codes: 0 written, 1 output not written, 2 usage, 3 input unreadable or malformed.\n";
    std::string in, outPath;
    SEpwImportOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            out << kUsage;
            return 0;
        } else if (a == "-o" || a == "--output") {
            if (!value(outPath)) break;
        } else if (a == "--name") {
            if (!value(v)) {
                outPath.clear();
                break;
            }
            if (v.empty() || v.size() > 99) {
                err << "import-epw: the station name must have 1 to 99 characters.\n";
                return 2;
            }
            options.stationName = v;
        } else if (a == "--region") {
            if (!value(v)) {
                outPath.clear();
                break;
            }
            if (v.size() > 2) {
                err << "import-epw: the region code has at most two characters.\n";
                return 2;
            }
            options.regionCode = v;
        } else if (a == "--code") {
            int code = 0;
            if (!value(v) || !ParseInt(v, code) || code < -32768 || code > 32767) {
                err << "import-epw: --code needs a whole number (11 or 1).\n";
                return 2;
            }
            options.stationCode = code;
        } else if (!a.empty() && a[0] == '-') {
            err << "import-epw: unknown option \"" << a << "\".\n" << kUsage;
            return 2;
        } else if (in.empty()) {
            in = a;
        } else {
            err << "import-epw: more than one input file.\n" << kUsage;
            return 2;
        }
    }
    if (in.empty() || outPath.empty()) {
        err << kUsage;
        return 2;
    }
    std::vector<std::string> warnings;
    std::string error;
    const int rc = ConvertEpwFile(in, outPath, options, warnings, error);
    for (const std::string& w : warnings) err << "import-epw: warning: " << w << "\n";
    if (rc != 0) {
        err << "import-epw: " << error << "\n";
        return rc;
    }
    out << "Wrote " << outPath << "\n";
    return 0;
}

}  // namespace nimbra
