// The alternate input file: a table of hourly values imposed on a wall's run, with the derived
// clearness, irradiance and humidity-ratio tables.
//
// Every value that reaches the solar routines (whose argument checks end the process) is checked
// here first; a value they would reject refuses the whole file with a message naming the file, the
// line and the column, and the run goes on with the weather file.

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/control/control.h"
#include "engine/control/text.h"
#include "project/maker/file.h"
#include "project/messages.h"
#include "solar/astro.h"
#include "solar/psy.h"
#include "solar/radproc.h"
#include "solar/tilt.h"

namespace {

constexpr std::size_t kAltLineMax = 230;  // keyword line and data lines
constexpr int kAltMaxColumns = 23;
constexpr double kAltPressure = 101325.0;      // [Pa]
constexpr double kAltLatitude = ASTRO_PI / 4;  // 45 degrees
constexpr double kAltSlope = 90.0 * ASTRO_PI / 180.0;
constexpr double kAltAzimuth = 0.0;
constexpr double kAltReflectance = 0.2;
// Saturation pressure range of the psychrometric routines [C].
constexpr double kPsyTMin = -100.0;
constexpr double kPsyTMax = 200.0;

const char* const kKeywords[kAltFileKeys] = {
    "hglo", "tglo", "tamb", "vwind", "vwindsite", "relhum", "twet", "tsky", "tskyview",
    "tlongwave", "hconv", "flowmalcorr", "tcoll", "twall", "fcoll", "fsupply", "fexhaust",
    "bypass", "fracfresh", "trecirc", "tceiling", "texhaust", "tfloor", "simulate",
};

int KeyOf(std::string_view keyword) {
    for (int k = 0; k < kAltFileKeys; ++k)
        if (keyword == kKeywords[k]) return k;
    return -1;
}

// Why a file is refused: where, and the reason as one clause.
struct CRefusal {
    int line = 0;
    int column = 0;
    std::string reason;
    std::string header;  // the lower-cased keyword line, to name the column

    void Set(int lineNo, int col, std::string why) {
        line = lineNo;
        column = col;
        reason = std::move(why);
    }
    std::string Keyword() const {
        std::string_view names[kAltMaxColumns];
        const int n = Tokenize(header, names, kAltMaxColumns, false);
        return column >= 1 && column <= n ? std::string(names[column - 1]) : std::string();
    }
};

std::string Fmt(const char* format, double a, double b = 0.0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, a, b);
    return buf;
}

// Irradiances of an hour whose horizontal global irradiance G [W/m2] is imposed: the hourly
// composition of the weather loading (without its limit of 15 G) for a south-facing vertical wall at
// 45 degrees north with ground reflectance 0.2. G >= 0 (checked by the caller).
void DeriveIrradiance(int day, int hour, double G, double& kt, double& It) {
    double zenith = 0.0, azimuth = 0.0;
    ASTRO_SunPosition(day, hour - 0.5, kAltLatitude, zenith, azimuth);
    const double m = ASTRO_AirMass(zenith);
    const double I0n = ASTRO_ExtraterrestrialNormal(day);
    kt = RADPROC_ClearnessIndex(G, I0n, zenith);
    if (kt > 1.0) kt = 1.0;
    if (kt < 0.0) kt = 0.0;
    const double F = RADPROC_DiffuseFraction(kt);
    const double Ib = (1.0 - F) * G;
    const double Id = G - Ib;
    It = G > 0.0 ? TILT_Perez(Ib, Id, I0n, zenith, azimuth, m, kAltSlope, kAltAzimuth, kAltReflectance)
                 : G;
}

// Reads the table; false with `refusal` filled when a value is refused.
bool ReadTable(CAltInput& alt, CLineReader& reader, CRefusal& refusal) {
    std::string line;
    if (reader.Read(line, kAltLineMax) != 0) return true;  // an empty file imposes nothing

    refusal.header = ToLowerAscii(line);
    const std::string& header = refusal.header;
    std::string_view names[kAltMaxColumns];
    const int numColumns = Tokenize(header, names, kAltMaxColumns, false);
    int keys[kAltMaxColumns];
    int columnOf[kAltFileKeys];
    for (int& c : columnOf) c = 0;
    for (int i = 0; i < numColumns; ++i) {
        keys[i] = KeyOf(names[i]);
        if (keys[i] >= 0 && columnOf[keys[i]] == 0) columnOf[keys[i]] = i + 1;
    }

    // The humidity derivation switches and the last values carry over from line to line. A
    // no-value marker in one of these columns makes the current value "none" (until a line gives
    // one again): the hour keeps the weather file's value rather than an earlier hour's.
    bool relHumOn = true;
    bool wetBulbOn = false;
    double relHum = 0.5;
    bool relHumGiven = true;
    double wetBulb = 0.0;
    bool wetBulbGiven = false;
    double hglo = 0.0;
    bool hgloGiven = false;

    const int simulateKey = static_cast<int>(EAltKey::Simulate);
    const int tambKey = static_cast<int>(EAltKey::TAmb);
    bool atEnd = false;
    for (int d = 1; d <= kAltDays && !atEnd; ++d) {
        for (int h = 1; h <= kAltHours; ++h) {
            if (reader.Read(line, kAltLineMax) != 0) {
                atEnd = true;
                break;
            }
            if (line.empty()) break;  // the rest of the day keeps no value
            const int lineNo = reader.LineNumber();

            std::string_view values[kAltMaxColumns];
            int numValues = Tokenize(line, values, kAltMaxColumns, true);
            if (numValues > numColumns) numValues = numColumns;
            for (int i = 0; i < numValues; ++i) {
                const int key = keys[i];
                if (key < 0) break;  // an unknown keyword ends the line's values
                bool outOfRange = false;
                const double v = LeadingNumber(values[i], &outOfRange);
                if (outOfRange || std::fabs(v) > FLT_MAX) {
                    refusal.Set(lineNo, i + 1,
                               "the value " + std::string(values[i].substr(0, 40)) + " is too large");
                    return false;
                }
                const bool given = v > -999.0;
                switch (static_cast<EAltKey>(key)) {
                case EAltKey::HGlo:
                    hgloGiven = given;
                    if (!given) break;
                    if (v < 0.0) {
                        refusal.Set(lineNo, i + 1,
                                   Fmt("the horizontal irradiance %g W/m2 is negative", v));
                        return false;
                    }
                    hglo = v;
                    break;
                case EAltKey::RelHum:
                    relHumGiven = given;
                    if (!given) break;
                    if (v < 0.0 || v > 1.0) {
                        refusal.Set(lineNo, i + 1,
                                   Fmt("the relative humidity %g is outside 0 to 1 (it is a fraction, "
                                       "not a percentage)", v));
                        return false;
                    }
                    relHum = v;
                    relHumOn = true;
                    break;
                case EAltKey::TWet:
                    wetBulbGiven = given;
                    if (!given) break;
                    wetBulb = v;
                    wetBulbOn = true;
                    relHumOn = false;
                    break;
                default:
                    alt.Table[key][d - 1][h - 1] = static_cast<float>(v);
                    break;
                }
            }

            if (!(alt.Table[simulateKey][d - 1][h - 1] >= 1.0f)) continue;

            if (hgloGiven) {
                double kt = 0.0, It = 0.0;
                DeriveIrradiance(d, h, hglo, kt, It);
                if (!(std::fabs(It) <= FLT_MAX)) {  // the table holds single precision
                    refusal.Set(lineNo, columnOf[static_cast<int>(EAltKey::HGlo)],
                               Fmt("the horizontal irradiance %g W/m2 is too large", hglo));
                    return false;
                }
                alt.Table[static_cast<int>(EAltKey::Clearness)][d - 1][h - 1] = static_cast<float>(kt);
                alt.Table[static_cast<int>(EAltKey::HGlo)][d - 1][h - 1] = static_cast<float>(hglo);
                alt.Table[static_cast<int>(EAltKey::TGlo)][d - 1][h - 1] = static_cast<float>(It);
            }

            // Without the hour's own "tamb" the hour keeps the weather file's humidity.
            const double t = alt.Table[tambKey][d - 1][h - 1];
            if (!(t > -999.0) || (!relHumOn && !wetBulbOn)) continue;
            double W = 0.0;
            bool haveW = false;
            if (relHumOn && relHumGiven) {
                if (t < kPsyTMin || t > kPsyTMax) {
                    refusal.Set(lineNo, columnOf[tambKey],
                               Fmt("the ambient temperature %g C is outside -100 to 200 C", t));
                    return false;
                }
                W = PSY_HumRatioFromRelHum(t, relHum, kAltPressure);
                haveW = true;
            }
            const int wetColumn = columnOf[static_cast<int>(EAltKey::TWet)];
            if (wetBulbOn) haveW = false;  // its result replaces the first
            if (wetBulbOn && wetBulbGiven) {
                if (wetBulb > t) {
                    refusal.Set(lineNo, wetColumn,
                               Fmt("the wet-bulb temperature %g C is above the dry-bulb temperature %g C",
                                   wetBulb, t));
                    return false;
                }
                if (wetBulb < kPsyTMin || wetBulb > kPsyTMax) {
                    refusal.Set(lineNo, wetColumn,
                               Fmt("the wet-bulb temperature %g C is outside -100 to 200 C", wetBulb));
                    return false;
                }
                W = PSY_HumRatioFromWetBulb(t, wetBulb, kAltPressure);
                haveW = true;
            }
            if (!haveW) continue;
            if (!std::isfinite(W) || W < 0.0) {
                refusal.Set(lineNo, wetBulbOn ? wetColumn : columnOf[tambKey],
                           Fmt("no humidity ratio can be formed for this hour (%g kg/kg)", W));
                return false;
            }
            alt.HumRatio[d - 1][h - 1] = W;
        }
    }
    return true;
}

}  // namespace

const char* AltKeyword(EAltKey key) {
    const int k = static_cast<int>(key);
    return k >= 0 && k < kAltFileKeys ? kKeywords[k] : "";
}

void ClearAltInput(CAltInput& alt) {
    alt.FileName.clear();
    for (auto& table : alt.Table)
        for (auto& day : table)
            for (float& v : day) v = kAltNoValue;
    for (auto& day : alt.HumRatio)
        for (double& v : day) v = kAltNoValue;
}

int ReadAlternateInputFrom(CAltInput& alt, CFile& file, const std::string& fileName,
                           CMessenger& messenger) {
    ClearAltInput(alt);
    CLineReader reader(file);
    CRefusal refusal;
    if (!ReadTable(alt, reader, refusal)) {
        ClearAltInput(alt);
        std::string text = "Error Reading Alternate Input File: " + fileName + "\nLine " +
                           std::to_string(refusal.line) + ", column " + std::to_string(refusal.column) + " (\"" + refusal.Keyword() + "\")";
        text += ": " + refusal.reason + ".\nThe simulation uses the weather file.";
        messenger.Show(text, "Halvo", MsgIcon::Warning, MsgButtons::Ok);
        return kAltRefused;
    }
    alt.FileName = fileName;
    return kAltReadOk;
}

int ReadAlternateInput(CAltInput& alt, const std::string& fileName, CMessenger& messenger) {
    ClearAltInput(alt);
    CFile file;
    if (FILE_Open(file, fileName, 0, 0) != 0 || GEN_GetRetCode() != 0) {
        messenger.Show("Error Reading Alternate Input File: " + fileName, "Halvo", MsgIcon::Warning,
                       MsgButtons::Ok);
        return kAltCannotOpen;
    }
    const int rc = ReadAlternateInputFrom(alt, file, fileName, messenger);
    FILE_Close(file);
    return rc;
}
