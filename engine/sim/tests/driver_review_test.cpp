// The run control around the hourly driver: the design point of every collector configuration, the
// transfer of the monthly sums into the project's tables, the hours the incident-solar sums count,
// the refusal of collector types outside the lists, and the progress percentage.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "collperf/collperf.h"
#include "engine/sim/run_progress.h"
#include "engine/sim/run_wall.h"
#include "engine/sim/simulate.h"
#include "engine/sim/tests/sim_fixture.h"
#include "engine/sim/wall_run.h"
#include "project/messages.h"

using simtest::MakeProgramFolder;
using simtest::SensibleProject;

namespace {

struct CCall {
    double fan = 0;
    double tColl = 0;
};

// The design point written out in full: 20 C, 0.01 kg/kg, twice the wind factor, area factor 1.1,
// clearness 0.9, 500 W/m2 at hour 12, hole diameter 1.6 mm, transmittance 0.8, every optional
// input "not supplied" (-9999.0, the maldistribution factor -9999.9); width and flow of one fan.
CCall Tp(const CWallRun& r, double h, double w, double depth, double a, double e, double flow,
         double press) {
    const int nf = r.NumFans;
    CCall c;
    double mal = -9999.9, q, p, eff, qr, qc, tsv, tp;
    TP_Performance(20.0, 0.01, 2.0 * r.WindFactor, h, w / nf, depth, 1.1, r.Slope, flow / nf, 0.9, 500.0,
                   12, static_cast<std::uint16_t>(r.Elevation), press, r.HolePitch, r.PitchFactor, 1.6,
                   r.Porosity, r.Thickness, a, e, -9999.0, -9999.0, -9999.0, -9999.0, &mal, &q, &c.tColl,
                   &p, &eff, &c.fan, &qr, &qc, &tsv, &tp);
    return c;
}

CCall Bp(const CWallRun& r, double h, double w, double depth, double a, double e, bool glazed, double flow,
         double press, double tIn) {
    const int nf = r.NumFans;
    CCall c;
    double q, p, eff, qr, qc, tsv, tp;
    BP_Performance(20.0, 0.01, 2.0 * r.WindFactor, h, w / nf, depth, 1.1, r.Slope, flow / nf, 0.9, 500.0,
                   12, static_cast<std::uint16_t>(r.Elevation), press, tIn, glazed, a, e, 0.8, -9999.0,
                   -9999.0, -9999.0, -9999.0, &q, &c.tColl, &p, &eff, &c.fan, &qr, &qc, &tsv, &tp);
    return c;
}

// A 20 m wide wall, 4 m of main collector under a 1 m canopy 0.5 m deep, 3000 l/s on two fans,
// 150 Pa of system pressure, at 300 m.
std::unique_ptr<CWallRun> DesignWall(int mainKind, int canopyKind) {
    auto r = std::make_unique<CWallRun>();
    r->MainKind = static_cast<std::int16_t>(mainKind);
    r->CanopyKind = static_cast<std::int16_t>(canopyKind);
    r->CollHeight = 4;
    r->CollWidth = 20;
    r->PlenumDepth = 0.2f;
    r->CanopyHeight = canopyKind ? 1.0f : 0.0f;
    r->CanopyWidth = canopyKind ? 20.0f : 0.0f;
    r->CanopyDepth = canopyKind ? 0.5f : 0.0f;
    r->MainAbsorptance = 0.95f;
    r->MainEmittance = 0.9f;
    r->CanopyAbsorptance = 0.8f;
    r->CanopyEmittance = 0.85f;
    r->Slope = 90;
    r->WindFactor = 0.35f;
    r->Porosity = 0.005f;
    r->HolePitch = 16;
    r->Thickness = 0.8f;
    r->PitchFactor = 1.6;
    r->Elevation = 300;
    r->DesignFlow = 3000;
    r->NumFans = 2;
    r->PressExtra = 150;
    r->FlowShareMain = 2.4f;
    r->FlowShareCanopy = 0.6f;
    return r;
}

}  // namespace

TEST(DesignConditions, EveryCollectorConfiguration) {
    // Main kind 1 transpired, 2 back-pass, 3 glazed back-pass; canopy kind 0 none, else as the main.
    const struct { int main, canopy; } cases[] = {{1, 0}, {2, 0}, {3, 0}, {1, 1}, {2, 1}, {3, 1},
                                                  {1, 2}, {1, 3}, {2, 2}, {3, 3}, {2, 3}};
    for (const auto& k : cases) {
        const auto r = DesignWall(k.main, k.canopy);
        const double full = 3.0, mainShare = 2.4f, canopyShare = 0.6f;
        const bool glazed = k.main == 3;
        double fan = 0;
        if (k.canopy == 0) {
            fan = k.main == 1 ? Tp(*r, 4, 20, 0.2f, 0.95f, 0.9f, full, 150).fan
                              : Bp(*r, 4, 20, 0.2f, 0.95f, 0.9f, glazed, full, 150, 20).fan;
        } else if (k.canopy == 1) {
            if (k.main == 1) {
                fan = Tp(*r, 5, 20, 0.2f, 0.95f, 0.9f, mainShare + canopyShare, 150).fan;
            } else {
                fan = Bp(*r, 4, 20, 0.2f, 0.95f, 0.9f, glazed, mainShare, 0, 20).fan +
                      Tp(*r, 1, 20, 0.5f, 0.8f, 0.85f, canopyShare, 150).fan;
            }
        } else {
            const CCall m = k.main == 1 ? Tp(*r, 4, 20, 0.2f, 0.95f, 0.9f, full, 0)
                                        : Bp(*r, 4, 20, 0.2f, 0.95f, 0.9f, glazed, full, 0, 20);
            ASSERT_GT(m.tColl, 20.5) << "the canopy must see a warmed inlet";
            fan = m.fan + Bp(*r, 1, 20, 0.5f, 0.8f, 0.85f, k.canopy == 3, full, 150, m.tColl).fan;
        }
        ASSERT_GT(fan, 0) << k.main << "/" << k.canopy;
        EXPECT_NEAR(DesignFanEnergy(*r), fan * 3.6, 1e-5 * fan * 3.6) << "main " << k.main << " canopy " << k.canopy;
    }
}

TEST(SimulateProject, TablesTakeTheWallsMonthlySums) {
    // Each wall row holds its run's sums: energies in GJ (kJ / 1e6), flows, degree days, solar rises
    // and hours as summed; the recaptured heat only without a process air heater, the
    // destratification saving only with destratification; the design fan power of one fan in kW and
    // its pressure on one fan's flow. Wall 2 has two fans and a back-pass canopy.
    const std::string weather = MakeProgramFolder("home-transfer");
    for (int app = 1; app <= 3; ++app) {
        auto doc = SensibleProject(app, 2, weather);
        doc->airSystems[1].numberOfFans = 2;
        doc->collectors[1].canopyType = 8;
        doc->collectors[1].canopyHeight = 1.0f;
        doc->collectors[1].canopyDepth = 0.3f;
        CScriptedMessenger msg;
        ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
        for (int w = 0; w < 2; ++w) {
            // The two walls face the same way, so the location still holds this wall's weather.
            auto run = std::make_unique<CWallRun>();
            FillWallRun(*run, *doc, w, 0);
            RunWall(*run, w + 1, nullptr, msg);
            const CProjectResults& res = doc->results;
            const int row = w + 1;
            ASSERT_GT(run->QFanDesign, 0);
            EXPECT_FLOAT_EQ(res.designFanPower[w], run->QFanDesign / 3600.0f);
            const float flowPerFan = doc->airSystems[w].designFlow / doc->airSystems[w].numberOfFans;
            EXPECT_FLOAT_EQ(res.designFanPressure[w], run->QFanDesign / 3.6f / flowPerFan * 1000.0f);
            for (int m = 0; m < 12; ++m) {
                const float* acc = run->Acc[m + 1];
                const struct { const MonthlyTable& table; float expect; } cells[] = {
                    {res.solarIncidentTotal, acc[0] / 1e6f},
                    {res.solarIncidentOperating, acc[1] / 1e6f},
                    {res.solarCollected, acc[2] / 1e6f},
                    {res.insulationSavings, app == 3 ? 0.0f : acc[5] / 1e6f},
                    {res.destratSavings, app == 1 ? acc[6] / 1e6f : 0.0f},
                    {res.totalSavings, acc[2] / 1e6f + (app == 3 ? 0.0f : acc[5] / 1e6f) +
                                           (app == 1 ? acc[6] / 1e6f : 0.0f)},
                    {res.operatingSolar, acc[9] / 1e6f},
                    {res.baseLoadDay, acc[10] / 1e6f},
                    {res.baseLoadNight, acc[15] / 1e6f},
                    {res.recapturedDay, acc[16] / 1e6f},
                    {res.collectorFlow, acc[7]},
                    {res.degreeDays, acc[8]},
                    {res.flowDay, acc[17]},
                    {res.flowNight, acc[18]},
                    {res.solarRiseDay, acc[11]},
                    {res.solarRiseNight, acc[13]},
                    {res.hoursDay, acc[12]},
                    {res.hoursNight, acc[14]},
                };
                for (int t = 0; t < kResultTableCount; ++t)
                    EXPECT_FLOAT_EQ(cells[t].table[row][m], cells[t].expect)
                        << "app " << app << " wall " << row << " table " << t << " month " << m;
            }
            // Fan energy and auxiliary heat are summed but carried into no table.
            EXPECT_GT(run->Acc[1][kAccQFan], 0);
        }
    }
}

TEST(RunWall, IncidentSolarSumsEveryHourAndTheOperatingHoursBelowTheBypass) {
    // Fans only on weekday 2 and a bypass at 5 C: the total counts every hour, the operating sum only
    // the hours with the fans on and the ambient below 5 C.
    const std::string weather = MakeProgramFolder("home-incident");
    auto doc = SensibleProject(2, 1, weather);
    CScriptedMessenger msg;
    ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
    auto run = std::make_unique<CWallRun>();
    FillWallRun(*run, *doc, 0, 0);
    for (int h = 1; h <= 24; ++h)
        for (int wd = 1; wd <= 7; ++wd) run->HourOperation[h][wd] = wd == 2 ? 1 : 0;
    run->TBypass = 5.0f;
    RunWall(*run, 1, nullptr, msg);
    static constexpr int kEnds[12] = {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    double total[13] = {}, operating[13] = {};
    int month = 1;
    for (int d = 1; d <= kDaysPerYear; ++d) {
        const bool on = (d % 7) + 1 == 2;
        for (int h = 0; h < 24; ++h) {
            const double e = 3.6 * run->WeaQSol[d - 1][h] * run->CollArea;
            total[month] += e;
            if (on && run->WeaTAmb[d - 1][h] < 5.0f) operating[month] += e;
        }
        if (d == kEnds[month - 1]) ++month;
    }
    double yearOp = 0;
    for (int m = 1; m <= 12; ++m) {
        EXPECT_NEAR(run->Acc[m][kAccSolarIncident], total[m], 1e-5 * total[m]) << m;
        EXPECT_NEAR(run->Acc[m][kAccSolarIncidentOp], operating[m], 1e-5 * total[m] + 1) << m;
        yearOp += operating[m];
    }
    EXPECT_GT(yearOp, 0);
    EXPECT_EQ(run->Acc[7][kAccSolarIncidentOp], 0);  // July never drops below 5 C
}

TEST(SimulateProject, RefusesCollectorTypesOutsideTheLists) {
    const std::string weather = MakeProgramFolder("home-types");
    const struct { int collectorType, canopyType; const char* field; } cases[] = {
        {15, 0, "collector type"}, {-1, 0, "collector type"}, {0, 16, "canopy type"},
        {0, -1, "canopy type"}};
    for (const auto& c : cases) {
        auto doc = SensibleProject(2, 2, weather);
        doc->collectors[1].collectorType = c.collectorType;
        doc->collectors[1].canopyType = c.canopyType;
        doc->collectors[1].canopyHeight = 1.0f;
        doc->results.solarCollected[0][3] = 7.0f;
        const CProjectResults before = doc->results;
        CScriptedMessenger msg;
        EXPECT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateBadWall) << c.field;
        ASSERT_EQ(msg.shown.size(), 1u);
        EXPECT_NE(msg.shown[0].text.find(std::string("Wall 2: the ") + c.field), std::string::npos)
            << msg.shown[0].text;
        EXPECT_EQ(std::memcmp(&doc->results, &before, sizeof before), 0) << c.field;
    }
    // The last entries of both lists run.
    auto doc = SensibleProject(2, 1, weather);
    doc->collectors[0].collectorType = 14;
    doc->collectors[0].canopyType = 15;
    doc->collectors[0].canopyHeight = 1.0f;
    CScriptedMessenger msg;
    EXPECT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
}

TEST(RunProgress, Percentage) {
    // done = wall x 8760 + day x 24 - 8760 of walls x 8760 hours, integer part of the percentage.
    const struct { int walls, wall, day, percent; } cases[] = {
        {1, 1, 1, 0},    {1, 1, 5, 1},     {1, 1, 183, 50}, {1, 1, 365, 100}, {2, 1, 365, 50},
        {2, 2, 1, 50},   {3, 2, 183, 50},  {4, 1, 365, 25}, {4, 4, 365, 100}, {4, 3, 1, 50},
        {0, 1, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RunProgressPercent(c.walls, c.wall, c.day, 24), c.percent)
            << c.walls << " walls, wall " << c.wall << " day " << c.day;
}
