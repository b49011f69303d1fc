// Whole runs: the Simulate command's refusals, the transfer into the results, the calendar of the
// driver, energy sense of a year, and two runs at once.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "engine/sim/run_progress.h"
#include "engine/sim/run_wall.h"
#include "engine/sim/simulate.h"
#include "engine/sim/tests/sim_fixture.h"
#include "project/messages.h"

using simtest::MakeProgramFolder;
using simtest::ExpectEnergySense;
using simtest::SensibleProject;

namespace {

bool SameResults(const CProjectResults& a, const CProjectResults& b) {
    return std::memcmp(&a, &b, sizeof(CProjectResults)) == 0;
}

class CCountingProgress final : public CRunProgress {
public:
    int walls = 0, updates = 0, closes = 0, lastPercent = -1;
    bool monotonic = true;
    void Start(int n) override { walls = n; }
    void Update(int wall, int day, int hours) override {
        const int p = RunProgressPercent(walls, wall, day, hours);
        if (p < lastPercent) monotonic = false;
        lastPercent = p;
        ++updates;
    }
    void Close() override { ++closes; }
};

}  // namespace

TEST(SimulateProject, RefusesBeforeAnythingChanges) {
    const std::string weather = MakeProgramFolder("home-refuse");
    {
        std::ofstream shortFile("home-refuse/Weather/Test/Short.wth", std::ios::binary);
        shortFile << std::string(1000, 'x');
    }
    struct Case {
        const char* name;
        std::string weatherFile;
        int slopeWall;  // wall index given a slope of 95 degrees, -1 for none
        ESimulateResult result;
        const char* caption;
        const char* textPart;
    };
    const Case cases[] = {
        {"missing", "\\Weather\\Test\\Nowhere.wth", -1, kSimulateNoWeather, "Weather Data",
         "Weather File Cannot be Found. Please Select a valid Location."},
        {"no location", "", -1, kSimulateNoWeather, "Weather Data",
         "Weather File Cannot be Found. Please Select a valid Location."},
        {"short", "\\Weather\\Test\\Short.wth", -1, kSimulateBadWeather, "Weather Data", "Short.wth"},
        {"slope", weather, 1, kSimulateBadWall, "Halvo", "Wall 2: the collector slope (95)"},
    };
    for (const Case& c : cases) {
        auto doc = SensibleProject(1, 2, c.weatherFile);
        if (c.slopeWall >= 0) doc->collectors[c.slopeWall].slope = 95.0f;
        doc->results.solarCollected[0][3] = 7.0f;
        doc->results.designFanPower[1] = 3.0f;
        doc->resultsValid = 0;
        const CProjectResults before = doc->results;
        CScriptedMessenger msg;
        CCountingProgress progress;
        EXPECT_EQ(SimulateProject(*doc, msg, &progress), c.result) << c.name;
        ASSERT_EQ(msg.shown.size(), 1u) << c.name;
        EXPECT_EQ(msg.shown[0].caption, c.caption) << c.name;
        EXPECT_EQ(msg.shown[0].icon, MsgIcon::Error) << c.name;
        EXPECT_NE(msg.shown[0].text.find(c.textPart), std::string::npos) << msg.shown[0].text;
        EXPECT_TRUE(SameResults(doc->results, before)) << c.name;
        EXPECT_EQ(doc->resultsValid, 0) << c.name;
        EXPECT_EQ(progress.updates, 0) << c.name;
    }
}

TEST(SimulateProject, AllWallsRowIsTheSumOfThePresentWalls) {
    const std::string weather = MakeProgramFolder("home-rows");
    auto doc = SensibleProject(1, 4, weather);
    // Four different walls: orientation, size and a canopy.
    doc->collectors[1].azimuth = 270.0f;  // taken as -90 (east)
    doc->collectors[2].collectorWidth = 15.0f;
    doc->collectors[3].canopyType = 1;
    doc->collectors[3].canopyHeight = 1.0f;
    CScriptedMessenger msg;
    CCountingProgress progress;
    ASSERT_EQ(SimulateProject(*doc, msg, &progress), kSimulateDone);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(doc->resultsValid, 1);
    EXPECT_EQ(progress.walls, 4);
    EXPECT_EQ(progress.updates, 4 * 365);
    EXPECT_EQ(progress.closes, 1);
    EXPECT_TRUE(progress.monotonic);
    // At the start of the last day of the last wall the day already counts as done.
    EXPECT_EQ(progress.lastPercent, 100);
    const CProjectResults fourWalls = doc->results;

    doc->wallPresent[3] = 0;
    ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
    for (int t = 0; t < kResultTableCount; ++t) {
        const MonthlyTable& table = doc->results.Table(static_cast<EResultTable>(t));
        const MonthlyTable& before = fourWalls.Table(static_cast<EResultTable>(t));
        for (int m = 0; m < 12; ++m) {
            const double sum = double(table[1][m]) + table[2][m] + table[3][m];
            EXPECT_NEAR(table[0][m], sum, 1e-5 * (1 + std::fabs(sum))) << "table " << t << " month " << m;
            EXPECT_EQ(table[4][m], before[4][m]) << "row 4 must be left as it was";
            for (int row = 1; row <= 3; ++row) EXPECT_EQ(table[row][m], before[row][m]);
        }
    }
    // Wall 2 faces east: less sun than the south wall 1, more than nothing.
    const auto& inc = doc->results.solarIncidentTotal;
    EXPECT_LT(inc[2][0], inc[1][0]);
    EXPECT_GT(inc[2][0], 0);
    EXPECT_EQ(doc->results.designFanPower[3], fourWalls.designFanPower[3]);
}

TEST(RunWall, DegreeDaysAndWeekdays) {
    // Constant 20 C except a day 1 of -5 C: January gets 23 degree days and no other day adds any.
    // Fans only on weekday 2 (day 1 is weekday 2, day 7 weekday 1): January runs on days 1, 8, 15,
    // 22 and 29, February on 36, 43, 50 and 57, and the ventilation model charges fan energy only
    // then.
    const std::string weather = MakeProgramFolder("home-calendar");
    auto doc = SensibleProject(2, 1, weather);
    CScriptedMessenger msg;
    ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);  // fills the location's weather

    auto run = std::make_unique<CWallRun>();
    FillWallRun(*run, *doc, 0, 0);
    for (int d = 0; d < kDaysPerYear; ++d)
        for (int h = 0; h < kHoursPerDay; ++h) run->WeaTAmb[d][h] = d == 0 ? -5.0f : 20.0f;
    for (int h = 1; h <= 24; ++h)
        for (int wd = 1; wd <= 7; ++wd) run->HourOperation[h][wd] = wd == 2 ? 1 : 0;
    RunWall(*run, 1, nullptr, msg);
    EXPECT_NEAR(run->Acc[1][kAccDegreeDays], 23.0, 1e-4);
    for (int m = 2; m <= 12; ++m) EXPECT_EQ(run->Acc[m][kAccDegreeDays], 0) << m;
    ASSERT_GT(run->QFanDesign, 0);
    EXPECT_NEAR(run->Acc[1][kAccQFan], 5 * 24 * run->QFanDesign, 1e-5 * 120 * run->QFanDesign);
    EXPECT_NEAR(run->Acc[2][kAccQFan], 4 * 24 * run->QFanDesign, 1e-5 * 96 * run->QFanDesign);
}

TEST(RunWall, SeveralFansChargeTheWholeWall) {
    // Two fans of the same wall: the design point is one fan's (half the width, half the flow) and
    // the hourly fan energy is both fans'. The design pressure is formed on one fan's flow, so it
    // stays near the one-fan wall's (the collector's own drop changes a little with the narrower
    // plenum) instead of halving, as it would on the whole wall's flow.
    const std::string weather = MakeProgramFolder("home-fans");
    auto one = SensibleProject(2, 1, weather);
    auto two = SensibleProject(2, 1, weather);
    two->airSystems[0].numberOfFans = 2;
    CScriptedMessenger msg;
    ASSERT_EQ(SimulateProject(*one, msg, nullptr), kSimulateDone);
    ASSERT_EQ(SimulateProject(*two, msg, nullptr), kSimulateDone);
    const float p1 = one->results.designFanPower[0], p2 = two->results.designFanPower[0];
    EXPECT_GT(p1, 0);
    EXPECT_NEAR(p2, p1 / 2, 0.05 * p1);  // per fan
    EXPECT_NEAR(two->results.designFanPressure[0], one->results.designFanPressure[0],
                0.15 * one->results.designFanPressure[0]);
}


TEST(SimulateProject, AYearMakesEnergySense) {
    const std::string weather = MakeProgramFolder("home-sense");
    for (int type = 1; type <= 3; ++type) {
        auto doc = SensibleProject(type, 1, weather);
        if (type == 2) doc->airSystems[0].outsideAirPercent = 30.0;
        if (type == 3) {
            doc->airSystems[0].minSupplyTemp = 25.0f;
            doc->airSystems[0].maxUsefulSupplyTemp = 45.0f;
        }
        CScriptedMessenger msg;
        ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
        const std::string name = "type " + std::to_string(type);
        ExpectEnergySense(doc->results, 1, 0.2, 0.8, name.c_str());
        EXPECT_GT(doc->results.designFanPower[0], 0) << name;
        if (type == 3) {
            for (int m = 0; m < 12; ++m) EXPECT_EQ(doc->results.insulationSavings[1][m], 0);
        }
        if (type != 1) {
            for (int m = 0; m < 12; ++m) EXPECT_EQ(doc->results.destratSavings[1][m], 0);
        }
    }
}

TEST(SimulateProject, TwoProjectsOnTwoThreadsMatchOneAfterTheOther) {
    const std::string weather = MakeProgramFolder("home-threads");
    auto a = SensibleProject(1, 2, weather);
    auto b = SensibleProject(2, 3, weather);
    b->collectors[1].collectorType = 7;
    b->collectors[2].collectorType = 14;
    auto a2 = std::make_unique<CHalvo98Doc>(*a);
    auto b2 = std::make_unique<CHalvo98Doc>(*b);
    CScriptedMessenger ma, mb;
    ASSERT_EQ(SimulateProject(*a, ma, nullptr), kSimulateDone);
    ASSERT_EQ(SimulateProject(*b, mb, nullptr), kSimulateDone);

    CScriptedMessenger ma2, mb2;
    ESimulateResult ra = kSimulateBadWall, rb = kSimulateBadWall;
    std::thread ta([&] { ra = SimulateProject(*a2, ma2, nullptr); });
    std::thread tb([&] { rb = SimulateProject(*b2, mb2, nullptr); });
    ta.join();
    tb.join();
    EXPECT_EQ(ra, kSimulateDone);
    EXPECT_EQ(rb, kSimulateDone);
    EXPECT_TRUE(SameResults(a->results, a2->results));
    EXPECT_TRUE(SameResults(b->results, b2->results));
}

TEST(SimulateProject, EveryWallSeesTheControlFileBesideTheProgram) {
    // A settings line lowers the absorptance of every wall; an alternate input without a "simulate"
    // column leaves every monthly sum at 0 (no hour counts as simulated).
    const std::string weather = MakeProgramFolder("home-control");
    auto plain = SensibleProject(2, 2, weather);
    CScriptedMessenger m0;
    ASSERT_EQ(SimulateProject(*plain, m0, nullptr), kSimulateDone);

    {
        std::ofstream ctl("home-control/halvopro.csv");
        ctl << "alternate input,\nhourly output,\n\nabsorptance,0.30\n";
    }
    auto dull = SensibleProject(2, 2, weather);
    CScriptedMessenger m1;
    ASSERT_EQ(SimulateProject(*dull, m1, nullptr), kSimulateDone);
    EXPECT_TRUE(m1.shown.empty());
    for (int row = 1; row <= 2; ++row) {
        EXPECT_LT(dull->results.solarCollected[row][0], 0.5f * plain->results.solarCollected[row][0]);
        EXPECT_EQ(dull->results.solarIncidentTotal[row][0], plain->results.solarIncidentTotal[row][0]);
    }

    const std::string alt = std::filesystem::absolute("home-control/alt.txt").string();
    {
        std::ofstream a(alt);
        a << "tamb\n-10\n";
        std::ofstream ctl("home-control/halvopro.csv");
        ctl << "alternate input," << alt << "\nhourly output,\n";
    }
    auto imposed = SensibleProject(2, 2, weather);
    CScriptedMessenger m2;
    ASSERT_EQ(SimulateProject(*imposed, m2, nullptr), kSimulateDone);
    ASSERT_EQ(m2.shown.size(), 2u);  // once per wall
    EXPECT_EQ(m2.shown[1].text, "Halvo will use the Alternate Input file '" + alt + "'");
    for (int t = 0; t < kResultTableCount; ++t)
        for (int row = 0; row <= 2; ++row)
            for (int m = 0; m < 12; ++m)
                EXPECT_EQ(imposed->results.Table(static_cast<EResultTable>(t))[row][m], 0) << t;
    EXPECT_GT(imposed->results.designFanPower[0], 0);
    std::filesystem::remove("home-control/halvopro.csv");
}

TEST(SimulateProject, SiteBelowSeaLevelRunsAtSeaLevel) {
    const std::string weather = MakeProgramFolder("home-elevation");
    auto doc = SensibleProject(1, 1, weather);
    CScriptedMessenger msg;
    ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone);
    doc->location.elevation = -28.0f;  // the Dead Sea shore would be -430
    auto run = std::make_unique<CWallRun>();
    FillWallRun(*run, *doc, 0, 0);
    EXPECT_EQ(run->Elevation, 0);
    doc->location.elevation = 151.9f;
    FillWallRun(*run, *doc, 0, 0);
    EXPECT_EQ(run->Elevation, 151);  // truncated toward zero
}

TEST(SimulateProject, HourlyOutputLeavesTheResultsAsTheyAre) {
    // With hourly output the collector models also run in dark hours (for their loss columns); the
    // sums must not move. Each wall writes its own file of a header and 8760 lines.
    const std::string weather = MakeProgramFolder("home-hourly");
    auto quiet = SensibleProject(1, 2, weather);
    auto loud = SensibleProject(1, 2, weather);
    loud->collectors[1].collectorType = 7;
    quiet->collectors[1].collectorType = 7;
    CScriptedMessenger m1, m2;
    ASSERT_EQ(SimulateProject(*quiet, m1, nullptr), kSimulateDone);
    CControlOptions options;
    options.HourlyPath = std::filesystem::absolute("home-hourly/out.csv").string();
    ASSERT_EQ(SetHourlyColumns(options, "daynum,hour,tamb,qcoll,qrad,tplate"), 6);
    ASSERT_EQ(SimulateProject(*loud, m2, nullptr, &options), kSimulateDone);
    EXPECT_TRUE(SameResults(quiet->results, loud->results));
    for (const char* f : {"home-hourly/out-w1.csv", "home-hourly/out-w2.csv"}) {
        std::ifstream in(f);
        ASSERT_TRUE(in.good()) << f;
        std::string line;
        int lines = 0, nightLosses = 0;
        while (std::getline(in, line)) {
            ++lines;
            if (lines == 1) {
                EXPECT_EQ(line, "DayNum,Hour,TAmb,QCollSol,QRad,TPlate,");
                continue;
            }
            // Hour 2 of a day is dark at 45 N; the model's loss (not the -99.9 of "no model") is
            // reported there.
            std::stringstream fields(line);
            std::string day, hour, tamb, qcoll, qrad;
            std::getline(fields, day, ',');
            std::getline(fields, hour, ',');
            std::getline(fields, tamb, ',');
            std::getline(fields, qcoll, ',');
            std::getline(fields, qrad, ',');
            if (hour == "2" && qrad.find("-99.9") == std::string::npos) ++nightLosses;
        }
        EXPECT_EQ(lines, 8761) << f;
        EXPECT_EQ(nightLosses, 365) << f;
    }
}
