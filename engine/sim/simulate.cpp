// The Simulate command and the per-wall inputs of the run: system pressure, bypass input, the
// schedule expansion and the transfer of the monthly sums into the project's results.

#include "engine/sim/simulate.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/control/control.h"
#include "engine/sim/run_progress.h"
#include "engine/sim/run_wall.h"
#include "engine/sim/wall_run.h"
#include "engine/weather/weather_file.h"
#include "project/doc.h"
#include "project/maker/file.h"
#include "project/messages.h"

namespace {

constexpr float kPiF = 3.14159265358979f;
constexpr int kMonthLength[kMonths] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

float SystemPressure(const CAirSystem& air, const CCollectorSpec& collector, int appType) {
    const float rho = 1.2f;
    const float q = air.designFlow / 1000.0f;
    const float area = collector.damperWidth * collector.damperHeight;
    const float v = q / area;
    const float k = air.taperedInlet ? 0.5f : 0.2f;
    const float dpIn = k * rho * v * v / 2.0f;
    if (appType != 1) {
        float p = dpIn + air.ductPressureDrop;
        if (air.flowStraightener) p = 1.2f * p;
        return p;
    }
    // Destratification ducts: two ducts with discharge openings of one inch radius.
    const float theta = air.flowStraightener ? 0.0f : 35.0f * kPiF / 180.0f;
    const float d = air.ductDiameter;
    const float ductArea = kPiF * (d / 2) * (d / 2);
    const float vd = (q / 2) / ductArea;
    const float le = air.ductLength / std::cos(theta);
    const float re = vd * d * rho / 1.9e-5f;
    const float fr = 1.0f / (1.86f * std::log(re / 6.9f));
    const float f = fr * fr;
    const float dpF = vd * vd * rho / 2 * f * le / d;
    const float hole = kPiF * 0.0254f * 0.0254f;
    const float n = 1.5f * ductArea / hole;
    const float vo = q / n / hole;
    const float dpO = vo * vo * (0.61f / std::cos(theta)) / 2 / 9.80665f * rho * 9.80665f;
    return dpF + dpO + dpIn;
}

float TBypass(const CCollectorSpec& collector, const CAirSystem& air) {
    if (collector.bypassType == 0) return 9999.9f;
    if (collector.bypassTemp < air.minSupplyTemp) return air.minSupplyTemp + 0.05f;
    return collector.bypassTemp;
}

int HalfMonthOfDay(int day) {
    int first = 1;
    for (int m = 0; m < kMonths; ++m) {
        const int last = first + kMonthLength[m] - 1;
        if (day <= last) {
            const int firstHalfDays = m == 1 ? 14 : 15;
            return 2 * m + (day - first < firstHalfDays ? 0 : 1);
        }
        first = last + 1;
    }
    return 23;
}

double NormalizeAzimuth(double azimuth) {
    if (!Finite(azimuth)) return azimuth;
    double a = std::fmod(azimuth, 360.0);
    if (a > 180.0) a -= 360.0;
    if (a < -180.0) a += 360.0;
    return a;
}

bool CheckWallInputs(const CHalvo98Doc& doc, int w, std::string& error) {
    const CCollectorSpec& c = doc.collectors[w];
    const CAirSystem& a = doc.airSystems[w];
    const int wall = w + 1;
    auto refuse = [&](const char* field, double value, const char* rule) {
        char buf[256];
        std::snprintf(buf, sizeof buf, "Wall %d: the %s (%g) %s.", wall, field, value, rule);
        error = buf;
        return false;
    };
    if (!(c.slope >= 0.0f && c.slope <= 90.0f))
        return refuse("collector slope", c.slope, "must lie between 0 and 90 degrees");
    if (!Finite(c.azimuth)) return refuse("collector azimuth", c.azimuth, "is not a number");
    // A type outside the lists (a hand-made file) would run as another collector, or count a canopy's
    // area with no canopy collector to heat it.
    if (!(c.collectorType >= 0 && c.collectorType <= 14))
        return refuse("collector type", c.collectorType, "must be one of the list (0 to 14)");
    if (!(c.canopyType >= 0 && c.canopyType <= 15))
        return refuse("canopy type", c.canopyType, "must be none (0) or one of the list (1 to 15)");
    if (!(c.collectorWidth > 0.0f)) return refuse("collector width", c.collectorWidth, "must be above 0");
    if (!(c.collectorHeight > 0.0f))
        return refuse("collector height", c.collectorHeight, "must be above 0");
    if (c.canopyType > 0 && !(c.canopyHeight > 0.0f && c.canopyHeight < c.collectorHeight))
        return refuse("canopy height", c.canopyHeight,
                      "must be above 0 and below the collector height");
    if (!(a.designFlow > 0.0f)) return refuse("design flow", a.designFlow, "must be above 0");
    if (!(a.numberOfFans >= 1)) return refuse("number of fans", a.numberOfFans, "must be at least 1");
    if (!(a.wallRValue > 0.0f)) return refuse("wall R-value", a.wallRValue, "must be above 0");
    if (!(a.roofRValue > 0.0f)) return refuse("roof R-value", a.roofRValue, "must be above 0");
    if (!(c.damperWidth > 0.0f && c.damperHeight > 0.0f))
        return refuse("bypass damper size", c.damperWidth * c.damperHeight, "must be above 0");
    if (doc.applicationType == 1 && !(a.ductDiameter > 0.0f))
        return refuse("duct diameter", a.ductDiameter, "must be above 0");
    return true;
}

void FillWallRun(CWallRun& r, const CHalvo98Doc& doc, int w, int controlPresent) {
    const CAirSystem& a = doc.airSystems[w];
    const CCollectorSpec& c = doc.collectors[w];
    const bool canopy = c.canopyType > 0;

    r.MinOAFraction = static_cast<float>(a.outsideAirPercent / 100.0);
    r.FirstDay = 1;
    r.LastDay = kDaysPerYear;
    r.AppType = doc.applicationType;
    r.CanopyPresent = canopy ? 1 : 0;
    r.AreaMain = canopy ? (c.collectorHeight - c.canopyHeight) * c.collectorWidth
                        : c.collectorHeight * c.collectorWidth;
    r.AreaCanopy = canopy ? c.canopyHeight * c.collectorWidth : 0.0f;
    r.CollHeight = canopy ? c.collectorHeight - c.canopyHeight : c.collectorHeight;
    r.CollWidth = c.collectorWidth;
    r.CanopyWidth = canopy ? c.collectorWidth : 0.0f;
    r.CanopyHeight = canopy ? c.canopyHeight : 0.0f;
    r.CanopyDepth = canopy ? c.canopyDepth : 0.0f;
    r.CanopyType = static_cast<std::int16_t>(canopy ? c.canopyType : 0);
    r.Slope = c.slope;
    r.PlenumDepth = c.plenumDepth;
    r.Porosity = c.porosity;
    r.CollType = static_cast<std::int16_t>(c.collectorType);
    r.WindFactor = c.windFactor;
    r.UseTestData = c.useTestData;
    r.TestDataKind = c.testDataKind;
    r.TestFlow = c.testFlow;
    r.TestArea = c.testArea;
    r.TestFRta = c.testFrTauAlpha;
    r.TestFRUL = c.testFrUL;
    // Truncated toward zero and held at 0 below: the collector models read the elevation as an
    // unsigned count of metres, so a site below sea level would turn every sum into NaN.
    float elev = std::trunc(doc.location.elevation);
    if (!(elev > 0.0f)) elev = 0.0f;
    if (elev > 32767.0f) elev = 32767.0f;
    r.Elevation = static_cast<std::int16_t>(elev);
    r.DesignFlow = a.designFlow;
    r.TSupplyMin = a.minSupplyTemp;
    r.TSupplyMaxUseful = a.maxUsefulSupplyTemp;
    r.ExhaustFlow = a.exhaustFlow;
    r.PressExtra = SystemPressure(a, c, doc.applicationType);
    r.NumFans = a.numberOfFans;
    switch (a.exhaustFanLocation) {
    case 1: r.ExhaustLocFactor = 0.0f; break;
    case 2: r.ExhaustLocFactor = 0.5f; break;
    default: r.ExhaustLocFactor = 1.0f; break;
    }
    for (int d = 1; d <= kDaysPerYear; ++d) r.DayOperation[d] = a.halfMonthOperation[HalfMonthOfDay(d)];
    for (int h = 1; h <= kHoursPerDay; ++h)
        for (int wd = 1; wd <= kWeekdays; ++wd) r.HourOperation[h][wd] = a.hourlyOperation[h - 1][wd - 1];
    r.RoofR = a.roofRValue;
    r.WallR = a.wallRValue;
    r.DuctLength = a.ductLength;
    r.TCeilingDesign = a.ceilingTemp;
    r.TBuilding = a.indoorTemp;
    r.TBypass = TBypass(c, a);

    const CLocationData& loc = doc.location;
    for (int d = 0; d < kDaysPerYear; ++d) {
        for (int h = 0; h < kHoursPerDay; ++h) {
            r.WeaHGlo[d][h] = loc.globalHoriz[d][h];
            r.WeaQSol[d][h] = loc.wallIrradiance[d][h];
            r.WeaTAmb[d][h] = loc.dryBulb[d][h];
            r.WeaVWind[d][h] = loc.windSpeed[d][h];
            r.WeaClearness[d][h] = loc.clearnessIndex[d][h];
            r.WeaHumRatio[d][h] = loc.humidityRatio[d][h];
        }
    }
    r.Latitude = loc.latitude;
    r.ControlFilePresent = controlPresent;
}

ESimulateResult SimulateProject(CHalvo98Doc& doc, CMessenger& messenger, CRunProgress* progress,
                                const CControlOptions* control) {
    const int n = doc.WallCount();

    // The weather file: missing, of the wrong size or refused, nothing changes.
    const std::string& stored = doc.location.weatherFile;
    const std::string path = stored.empty() ? std::string() : FILE_ProgramPath(stored);
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        messenger.Show(kWeatherNotFoundText, kWeatherCaption, MsgIcon::Error, MsgButtons::Ok);
        return kSimulateNoWeather;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size != kWeatherFileSize) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "The weather file %s is %llu bytes long; a weather file has %zu.",
                      path.c_str(), static_cast<unsigned long long>(ec ? 0 : size), kWeatherFileSize);
        messenger.Show(buf, kWeatherCaption, MsgIcon::Error, MsgButtons::Ok);
        return kSimulateBadWeather;
    }
    auto data = std::make_unique<CWeatherFileData>();
    std::string error;
    const int rc = ReadWeatherFile(path, *data, error);
    if (rc == WEATHER_CANNOT_OPEN) {
        messenger.Show(kWeatherNotFoundText, kWeatherCaption, MsgIcon::Error, MsgButtons::Ok);
        return kSimulateNoWeather;
    }
    if (rc != 0) {
        messenger.Show(error, kWeatherCaption, MsgIcon::Error, MsgButtons::Ok);
        return kSimulateBadWeather;
    }
    // Every wall's inputs, before anything is cleared.
    for (int w = 0; w < n; ++w) {
        if (!CheckWallInputs(doc, w, error)) {
            messenger.Show(error, kProgramCaption, MsgIcon::Error, MsgButtons::Ok);
            return kSimulateBadWall;
        }
    }

    CControlOptions noOptions;
    const CControlOptions& options = control ? *control : noOptions;
    doc.results.ClearAllWallsRow();
    if (progress) progress->Start(n);
    auto run = std::make_unique<CWallRun>();
    run->Control.Options = options;

    for (int w = 0; w < n; ++w) {
        const int controlPresent = ControlFilePresent(options);
        const CCollectorSpec& c = doc.collectors[w];
        const double azimuth = NormalizeAzimuth(c.azimuth);
        // The location already holds this orientation when the previous wall had the same one.
        const bool sameOrientation = w > 0 && doc.collectors[w - 1].slope == c.slope &&
                                     NormalizeAzimuth(doc.collectors[w - 1].azimuth) == azimuth;
        if (!sameOrientation &&
            ComposeWeather(doc.location, stored, *data, c.slope, azimuth, error) != 0) {
            // Not reached for a file and walls that passed the checks above; the run stops with
            // what the earlier walls stored, and does not report itself as done.
            messenger.Show(error, kWeatherCaption, MsgIcon::Error, MsgButtons::Ok);
            if (progress) progress->Close();
            return kSimulateBadWeather;
        }
        CAirSystem& air = doc.airSystems[w];
        doc.schedules[w].Convert2BOOLs(air.halfMonthOperation, air.hourlyOperation);
        FillWallRun(*run, doc, w, controlPresent);
        RunWall(*run, w + 1, progress, messenger);
        doc.resultsValid = 1;

        // The design fan energy is one fan's; its pressure is formed on one fan's flow.
        const float fanKJh = run->QFanDesign;
        doc.results.designFanPower[w] = fanKJh / 3600.0f;
        const float flowPerFan = air.designFlow / static_cast<float>(run->NumFans);
        doc.results.designFanPressure[w] = fanKJh / 3.6f / flowPerFan * 1000.0f;

        CProjectResults& res = doc.results;
        const int row = w + 1;
        const bool insulation = doc.applicationType != 3;
        const bool destrat = doc.applicationType == 1;
        for (int m = 0; m < kMonths; ++m) {
            const float* acc = run->Acc[m + 1];
            float v[kResultTableCount];
            v[static_cast<int>(EResultTable::SolarIncidentTotal)] = acc[kAccSolarIncident] / 1e6f;
            v[static_cast<int>(EResultTable::SolarIncidentOperating)] = acc[kAccSolarIncidentOp] / 1e6f;
            v[static_cast<int>(EResultTable::SolarCollected)] = acc[kAccQColl] / 1e6f;
            v[static_cast<int>(EResultTable::InsulationSavings)] = insulation ? acc[kAccQRecap] / 1e6f : 0.0f;
            v[static_cast<int>(EResultTable::DestratSavings)] = destrat ? acc[kAccQDestrat] / 1e6f : 0.0f;
            v[static_cast<int>(EResultTable::TotalSavings)] =
                v[static_cast<int>(EResultTable::SolarCollected)] +
                v[static_cast<int>(EResultTable::InsulationSavings)] +
                v[static_cast<int>(EResultTable::DestratSavings)];
            v[static_cast<int>(EResultTable::OperatingSolar)] = acc[kAccQSolOp] / 1e6f;
            v[static_cast<int>(EResultTable::BaseLoadDay)] = acc[kAccQBaseDay] / 1e6f;
            v[static_cast<int>(EResultTable::BaseLoadNight)] = acc[kAccQBaseNight] / 1e6f;
            v[static_cast<int>(EResultTable::RecapturedDay)] = acc[kAccQRecapDay] / 1e6f;
            v[static_cast<int>(EResultTable::CollectorFlow)] = acc[kAccFlowColl];
            v[static_cast<int>(EResultTable::DegreeDays)] = acc[kAccDegreeDays];
            v[static_cast<int>(EResultTable::FlowDay)] = acc[kAccFlowDay];
            v[static_cast<int>(EResultTable::FlowNight)] = acc[kAccFlowNight];
            v[static_cast<int>(EResultTable::SolarRiseDay)] = acc[kAccQSolarDay];
            v[static_cast<int>(EResultTable::SolarRiseNight)] = acc[kAccQSolarNight];
            v[static_cast<int>(EResultTable::HoursDay)] = acc[kAccDayFraction];
            v[static_cast<int>(EResultTable::HoursNight)] = acc[kAccNightFraction];
            for (int t = 0; t < kResultTableCount; ++t) {
                MonthlyTable& table = res.Table(static_cast<EResultTable>(t));
                table[row][m] = v[t];
                table[0][m] += v[t];
            }
        }
    }
    if (progress) progress->Close();
    doc.resultsValid = 1;
    return kSimulateDone;
}
