// The hourly driver of one wall: collector set-up, the design-condition evaluation for the design fan
// energy, and the year of days and hours with the monthly sums.

#include "engine/sim/run_wall.h"

#include <cmath>

#include "collperf/air_props.h"
#include "collperf/collperf.h"
#include "engine/control/control_file.h"
#include "engine/sim/alt_values.h"
#include "engine/sim/app_models.h"
#include "engine/sim/run_progress.h"
#include "solar/astro.h"

namespace {

constexpr int kMonthEnds[kMonths] = {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

struct CTypeEntry {
    std::int16_t kind;
    float absorptance;
};

// Collector types 0..14 (perforated 0..6, back-pass 7..13, glazed back-pass 14).
constexpr CTypeEntry kCollectorTypes[15] = {
    {1, 0.95f}, {1, 0.8f}, {1, 0.85f}, {1, 0.9f}, {1, 0.85f}, {1, 0.85f}, {1, 0.3f},
    {2, 0.95f}, {2, 0.8f}, {2, 0.9f}, {2, 0.85f}, {2, 0.85f}, {2, 0.85f}, {2, 0.3f},
    {3, 0.95f}};
// Canopy types 1..15, indexed by canopy type - 1. The perforated "Brown" and "Bronze" swap their
// absorptances compared with the collector list; that is how the tables stand.
constexpr CTypeEntry kCanopyTypes[15] = {
    {1, 0.95f}, {1, 0.8f}, {1, 0.9f}, {1, 0.85f}, {1, 0.85f}, {1, 0.85f}, {1, 0.3f},
    {2, 0.95f}, {2, 0.8f}, {2, 0.9f}, {2, 0.85f}, {2, 0.85f}, {2, 0.85f}, {2, 0.3f},
    {3, 0.95f}};

constexpr double kPi = 3.14159265358979323846;

// Collector call at design conditions; returns the fan power [W] and the outlet temperature.
struct CDesignCall {
    double fanPower = 0;
    double tColl = 20;
};

CDesignCall DesignTranspired(const CWallRun& r, double height, double width, double depth,
                             double absorptance, double emittance, double flow, double pressExtra) {
    const double nf = r.NumFans > 0 ? r.NumFans : 1;
    CDesignCall d;
    double malCorr = kNotSuppliedHourly;  // the maldistribution factor is "not supplied" here too
    double q = 0, press = 0, eff = 0, qRad = 0, qConv = 0, tsv = 0, tPlate = 0;
    // The design point is evaluated at solar noon: a fixed hour, independent of any earlier run.
    TP_Performance(20.0, 0.01, 2.0 * r.WindFactor, height, width / nf, depth, 1.1, r.Slope, flow / nf,
                   0.9, 500.0, 12, static_cast<std::uint16_t>(r.Elevation), pressExtra, r.HolePitch,
                   r.PitchFactor, 1.6, r.Porosity, r.Thickness, absorptance, emittance,
                   kNotSuppliedDesign, kNotSuppliedDesign, kNotSuppliedDesign, kNotSuppliedDesign,
                   &malCorr, &q, &d.tColl, &press, &eff, &d.fanPower, &qRad, &qConv, &tsv, &tPlate);
    return d;
}

CDesignCall DesignBackPass(const CWallRun& r, double height, double width, double depth,
                           double absorptance, double emittance, bool glazed, double flow,
                           double pressExtra, double tInlet) {
    const double nf = r.NumFans > 0 ? r.NumFans : 1;
    CDesignCall d;
    double q = 0, press = 0, eff = 0, qRad = 0, qConv = 0, tsv = 0, tPlate = 0;
    BP_Performance(20.0, 0.01, 2.0 * r.WindFactor, height, width / nf, depth, 1.1, r.Slope, flow / nf,
                   0.9, 500.0, 12, static_cast<std::uint16_t>(r.Elevation), pressExtra, tInlet, glazed,
                   absorptance, emittance, 0.8, kNotSuppliedDesign, kNotSuppliedDesign,
                   kNotSuppliedDesign, kNotSuppliedDesign, &q, &d.tColl, &press, &eff, &d.fanPower,
                   &qRad, &qConv, &tsv, &tPlate);
    return d;
}

// The hour's weather, from the alternate input where it imposes a value.
void SelectWeather(CWallRun& r) {
    const int d = r.Day - 1, h = r.Hour - 1;
    r.TAmb = r.WeaTAmb[d][h];
    r.HumRatio = r.WeaHumRatio[d][h];
    r.VWindSite = r.WeaVWind[d][h] * r.WindFactor;
    r.Clearness = r.WeaClearness[d][h];
    r.QSol = r.WeaQSol[d][h];
    r.HGlo = r.WeaHGlo[d][h];
    if (!r.AltInputActive) return;
    double v;
    if (AltGiven(v = AltValue(r, EAlt::TAmb))) r.TAmb = static_cast<float>(v);
    if (AltGiven(v = AltValue(r, EAlt::HumRatio))) r.HumRatio = v;
    if (AltGiven(v = AltValue(r, EAlt::VWind))) {
        r.VWindSite = static_cast<float>(v) * r.WindFactor;
    } else if (AltGiven(v = AltValue(r, EAlt::VWindSite))) {
        r.VWindSite = static_cast<float>(v);
    }
    if (AltGiven(v = AltValue(r, EAlt::Clearness))) r.Clearness = static_cast<float>(v);
    if (AltGiven(v = AltValue(r, EAlt::TGlo))) r.QSol = static_cast<float>(v);
    if (AltGiven(v = AltValue(r, EAlt::HGlo))) r.HGlo = static_cast<float>(v);
    if (AltGiven(v = AltValue(r, EAlt::TFloor))) r.TBuilding = static_cast<float>(v);
}

void AddHourSums(CWallRun& r) {
    float* acc = r.Acc[r.Month];
    const float incident = 3.6f * r.QSol * r.CollArea;
    acc[kAccSolarIncident] += incident;
    if (r.TAmb < r.TBypass && static_cast<double>(r.FlowSupply) > 0.01)
        acc[kAccSolarIncidentOp] += incident;
    acc[kAccQColl] += r.QColl;
    acc[kAccQAux] += r.QAux;
    acc[kAccQFan] += r.QFan;
    acc[kAccQRecap] += r.QRecap;
    acc[kAccQDestrat] += r.QDestrat;
    acc[kAccFlowColl] += r.FlowColl;
    acc[kAccQSolOp] += r.QSolOp;
    acc[kAccQBaseDay] += r.QBaseDay;
    acc[kAccQSolarDay] += r.QSolarDay;
    acc[kAccDayFraction] += r.DayFraction;
    acc[kAccQSolarNight] += r.QSolarNight;
    acc[kAccNightFraction] += r.NightFraction;
    acc[kAccQBaseNight] += r.QBaseNight;
    acc[kAccQRecapDay] += r.QRecapDay;
    acc[kAccFlowDay] += r.FlowDay;
    acc[kAccFlowNight] += r.FlowNight;
}

}  // namespace

int CompareTol(double a, double b) {
    if (std::fabs(a - b) < 1e-7) return 0;
    return a > b ? 1 : -1;
}

float HolePitchForPorosity(float porosity, float flowPerArea) {
    // The constants are the single-precision values widened to double, as the porosity is stored.
    const double p = porosity;
    if (CompareTol(p, static_cast<double>(0.01f)) == 0) return 11.0f;
    if (CompareTol(p, static_cast<double>(0.005f)) == 0) return 16.0f;
    if (CompareTol(p, static_cast<double>(0.0025f)) == 0) return 22.0f;
    // Any other porosity (a project file can carry one): the pitch of the porosity that the porosity
    // rule gives for this wall, never a value left from an earlier wall's run.
    if (flowPerArea > 35.0f) return 11.0f;
    if (flowPerArea > 25.0f) return 16.0f;
    return 22.0f;
}

void CollectorTypeProperties(int collType, std::int16_t& kind, float& absorptance, float& emittance) {
    const CTypeEntry& e = kCollectorTypes[(collType >= 0 && collType < 15) ? collType : 0];
    kind = e.kind;
    absorptance = e.absorptance;
    emittance = 0.9f;
}

void CanopyTypeProperties(int canopyType, std::int16_t& kind, float& absorptance, float& emittance) {
    if (canopyType < 1 || canopyType > 15) {
        kind = 0;
        return;
    }
    const CTypeEntry& e = kCanopyTypes[canopyType - 1];
    kind = e.kind;
    absorptance = e.absorptance;
    emittance = 0.9f;
}

float DaylightFraction(float dayLength, int hour) {
    const double e = 12.0 - dayLength / 2.0, s = 12.0 + dayLength / 2.0;
    const double f = hour - 0.5;
    const bool nearRise = std::fabs(f - e) < 0.5, nearSet = std::fabs(f - s) < 0.5;
    if (!nearRise && !nearSet) return (e <= f && f <= s) ? 1.0f : 0.0f;
    if (nearSet) return static_cast<float>(s - f + 0.5);
    return static_cast<float>(f - e + 0.5);
}

float DesignFanEnergy(const CWallRun& r) {
    const double fullFlow = r.DesignFlow / 1000.0;
    const bool mainTp = r.MainKind == 1;
    const bool mainGlazed = r.MainKind == 3;
    double fan = 0;
    switch (r.CanopyKind) {
    case 0:
        if (mainTp) {
            fan = DesignTranspired(r, r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance,
                                   r.MainEmittance, fullFlow, r.PressExtra).fanPower;
        } else {
            fan = DesignBackPass(r, r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance,
                                 r.MainEmittance, mainGlazed, fullFlow, r.PressExtra, 20.0).fanPower;
        }
        break;
    case 1:
        if (mainTp) {
            // One transpired collector over the whole wall height.
            fan = DesignTranspired(r, r.CollHeight + r.CanopyHeight, r.CollWidth, r.PlenumDepth,
                                   r.MainAbsorptance, r.MainEmittance,
                                   r.FlowShareMain + r.FlowShareCanopy, r.PressExtra).fanPower;
        } else {
            fan = DesignBackPass(r, r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance,
                                 r.MainEmittance, mainGlazed, r.FlowShareMain, 0.0, 20.0).fanPower;
            fan += DesignTranspired(r, r.CanopyHeight, r.CanopyWidth, r.CanopyDepth,
                                    r.CanopyAbsorptance, r.CanopyEmittance, r.FlowShareCanopy,
                                    r.PressExtra).fanPower;
        }
        break;
    case 2:
    case 3: {
        CDesignCall m;
        if (mainTp) {
            m = DesignTranspired(r, r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance,
                                 r.MainEmittance, fullFlow, 0.0);
        } else {
            m = DesignBackPass(r, r.CollHeight, r.CollWidth, r.PlenumDepth, r.MainAbsorptance,
                               r.MainEmittance, mainGlazed, fullFlow, 0.0, 20.0);
        }
        fan = m.fanPower + DesignBackPass(r, r.CanopyHeight, r.CanopyWidth, r.CanopyDepth,
                                          r.CanopyAbsorptance, r.CanopyEmittance, r.CanopyKind == 3,
                                          fullFlow, r.PressExtra, m.tColl).fanPower;
        break;
    }
    default:
        break;
    }
    return static_cast<float>(fan * 3.6);
}

int RunWall(CWallRun& r, int wall, CRunProgress* progress, CMessenger& messenger) {
    r.WallNumber = wall;
    r.Thickness = 0.8f;
    r.PitchFactor = 1.6;

    // Set-up.
    r.AltInputActive = 0;
    r.HourlyOutputActive = 0;
    r.FirstDay = 1;
    const float totalHeight = r.CollHeight + r.CanopyHeight;
    const float grossArea = totalHeight * r.CollWidth;
    r.HolePitch = HolePitchForPorosity(r.Porosity, grossArea > 0 ? r.DesignFlow / grossArea : 0.0f);
    CollectorTypeProperties(r.CollType, r.MainKind, r.MainAbsorptance, r.MainEmittance);
    CanopyTypeProperties(r.CanopyType, r.CanopyKind, r.CanopyAbsorptance, r.CanopyEmittance);
    if (r.ControlFilePresent) ReadControlFile(r, messenger);

    for (int m = 1; m <= kMonths; ++m) r.MonthEnd[m] = kMonthEnds[m - 1];
    r.CollArea = r.AreaMain + r.AreaCanopy;
    // A wall without resistance (an R-value of 0 from a hand-made file) has no defined balance;
    // the Simulate command refuses it, and a direct caller gets no wall loss rather than NaN.
    r.UAWall = r.WallR > 0 ? r.CollArea / r.WallR * 3.6f : 0.0f;
    r.UACeiling = r.RoofR > 0 ? r.DuctLength * r.CollWidth / r.RoofR * 3.6f : 0.0f;
    r.TCeilingState = r.TCeilingDesign;
    r.FlowShareMain = r.CollArea > 0 ? r.DesignFlow / 1000.0f * r.AreaMain / r.CollArea : 0.0f;
    r.FlowShareCanopy = r.DesignFlow / 1000.0f - r.FlowShareMain;
    r.QFanDesign = DesignFanEnergy(r);
    for (auto& month : r.Acc)
        for (float& a : month) a = 0;
    WriteHourlyHeader(r, messenger);
    r.Month = 1;
    r.Operating = 0;
    r.DailyMeanTemp = 0;

    // Day lengths for the daylight fraction, once per wall. The solar routines end the process on a
    // latitude beyond the poles; the weather reader never yields one, and a direct caller's value is
    // held to the pole.
    double lat = r.Latitude;
    if (!(lat >= -kPi / 2)) lat = -kPi / 2;
    if (lat > kPi / 2) lat = kPi / 2;
    for (int d = 1; d <= kDaysPerYear; ++d)
        r.DayLengthHours[d] = static_cast<float>(ASTRO_DayLength(lat, ASTRO_Declination(d)));

    // The site pressure depends only on the elevation (read as an unsigned count of metres).
    const double pressure = AtmPressure(static_cast<std::uint16_t>(r.Elevation));

    for (int day = 1; day <= kDaysPerYear; ++day) {
        if (progress) progress->Update(wall, day, kHoursPerDay);
        r.Day = day;
        r.Weekday = (day % 7) + 1;
        for (int hour = 1; hour <= kHoursPerDay; ++hour) {
            r.Hour = hour;
            SelectWeather(r);
            r.DailyMeanTemp += r.TAmb / 24.0f;
            double rho = pressure / ((r.TAmb + 273.15) * 0.287 * (1.0 + 1.6078 * r.HumRatio));
            if (!(rho >= 0)) rho = 1.2;  // negative or not a number
            r.AirDensity = static_cast<float>(rho);
            r.FlowDesign = r.DesignFlow * r.AirDensity * 3.6f;
            r.FlowExhaustDesign = r.ExhaustFlow * r.AirDensity * 3.6f;
            r.QRad = r.QConv = kNoCollector;
            r.TSkyView = r.TPlate = kNoCollector;
            r.FlowMalCorr = kNotApplicable;

            switch (r.AppType) {
            case 1: DestratModel(r); break;
            case 2: VentilationModel(r); break;
            case 3: ProcessModel(r); break;
            default: break;
            }

            bool summed = true;
            if (r.AltInputActive && CompareTol(AltValue(r, EAlt::Simulate), 0.0) <= 0) summed = false;
            if (summed) {
                AddHourSums(r);
                if (hour == kHoursPerDay) {
                    const float k = 18.0f - r.DailyMeanTemp;
                    if (k > 0) r.Acc[r.Month][kAccDegreeDays] += k;
                }
            }
            // The daily mean is reset at the end of every day, summed or not: a day that is not summed
            // must not carry its hours into the next day's mean.
            if (hour == kHoursPerDay) r.DailyMeanTemp = 0;
            if (r.HourlyOutputActive) WriteHourlyLine(r);
        }
        if (day == r.MonthEnd[r.Month]) {
            r.Operating = 0;
            r.Month = r.Month == kMonths ? 1 : r.Month + 1;
        }
        const float inc = r.Acc[r.Month][kAccSolarIncident];
        if (inc < 0 || std::isnan(inc)) break;
    }
    CloseHourlyOutput(r, messenger);
    return 1;
}
