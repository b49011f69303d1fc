// The project model: new project, wall rules, porosity rule, units and currency.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "project/doc.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "project/units.h"

namespace fs = std::filesystem;

namespace {
// Points the program folder somewhere else for the life of the object.
class CHomeOverride {
public:
    explicit CHomeOverride(const std::string& home) {
        const char* old = std::getenv("HALVO_HOME");
        m_had = old != nullptr;
        if (m_had) m_old = old;
        setenv("HALVO_HOME", home.c_str(), 1);
    }
    ~CHomeOverride() {
        if (m_had)
            setenv("HALVO_HOME", m_old.c_str(), 1);
        else
            unsetenv("HALVO_HOME");
    }

private:
    bool m_had = false;
    std::string m_old;
};

std::unique_ptr<CHalvo98Doc> DocWithWalls(int n) {
    auto d = std::make_unique<CHalvo98Doc>();
    for (int i = 0; i < 4; ++i) {
        d->wallPresent[i] = i < n ? 1 : 0;
        d->collectors[i].collectorWidth = 10.0f * (i + 1);  // tells the walls apart
    }
    return d;
}
}  // namespace

TEST(Model, NewProjectWithoutTemplateKeepsRecordDefaults) {
    fs::path empty = fs::current_path() / "empty-home";
    fs::create_directories(empty);
    CHomeOverride home(empty.string());
    auto d = std::make_unique<CHalvo98Doc>();
    d->wallPresent[1] = 1;
    d->pathName = "/x/old.hvf";
    d->collectors[0].collectorWidth = 3.0f;
    CScriptedMessenger msg;
    EXPECT_TRUE(d->NewProject(msg));
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(d->fileVersion, kFileVersion13);
    EXPECT_EQ(d->applicationType, 1);
    EXPECT_EQ(d->WallCount(), 1);
    EXPECT_TRUE(d->pathName.empty());
    EXPECT_TRUE(d->location.weatherFile.empty());
    EXPECT_TRUE(d->IsModified());
    const CAirSystem& a = d->airSystems[0];
    EXPECT_EQ(a.motorEfficiencyClass, 0);
    EXPECT_EQ(a.fanEfficiencyClass, 0);
    EXPECT_EQ(a.scheduleId, 0);
    EXPECT_EQ(a.flowStraightener, 0);
    EXPECT_EQ(a.taperedInlet, 0);
    EXPECT_EQ(a.numberOfFans, 1);
    EXPECT_EQ(a.designFlow, 1000.0f);
    EXPECT_EQ(a.roofRValue, 5.28f);
    EXPECT_EQ(d->airSystems[1].scheduleId, 1);  // other walls keep the record defaults
    EXPECT_EQ(d->airSystems[1].flowStraightener, 1);
    // Schedule 0: the fans run every hour of the year.
    for (int k = 0; k < 24; ++k) EXPECT_EQ(a.halfMonthOperation[k], 1);
    for (int h = 0; h < 24; ++h)
        for (int w = 0; w < 7; ++w) EXPECT_EQ(a.hourlyOperation[h][w], 1);
    const CCollectorSpec& c = d->collectors[0];
    EXPECT_EQ(c.collectorWidth, 100.0f);
    EXPECT_EQ(c.porosity, 0.05f);
    EXPECT_EQ(c.testArea, 50.0f);
    EXPECT_EQ(c.testDataKind, 5001);
    EXPECT_STREQ(d->economics.tax1Name, "PST");
}

TEST(Model, NewProjectReadsTheShippedTemplate) {
    fs::path stage = HALVO_TEST_STAGE_DIR;
    if (!fs::exists(stage / "default.hvf")) GTEST_SKIP() << "no template staged";
    CHomeOverride home(stage.string());
    auto d = std::make_unique<CHalvo98Doc>();
    CScriptedMessenger msg;
    d->NewProject(msg);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(d->fileVersion, kFileVersion13);
    EXPECT_TRUE(d->pathName.empty());
    EXPECT_TRUE(d->IsModified());
    // A sensible design: porosity by the rule and a suction velocity of 0.01..0.05 m/s.
    const CAirSystem& a = d->airSystems[0];
    const CCollectorSpec& c = d->collectors[0];
    EXPECT_EQ(c.porosity, PorosityRule(a.designFlow, c.collectorHeight, c.collectorWidth));
    double suction = a.designFlow / 1000.0 / (c.collectorWidth * c.collectorHeight);
    EXPECT_GE(suction, 0.01);
    EXPECT_LE(suction, 0.05);
}

TEST(Model, AddWall) {
    auto d = DocWithWalls(2);
    CScriptedMessenger msg;
    msg.SetNextAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(d->AddWall(1, msg), 1);
    EXPECT_EQ(d->WallCount(), 2);
    EXPECT_EQ(msg.shown.back().text, "The new wall, Wall 3, will be based on the currently selected wall, Wall 1.");
    EXPECT_EQ(msg.shown.back().buttons, MsgButtons::OkCancel);
    d->schedules[0].AssignSchedule(3);
    EXPECT_EQ(d->AddWall(1, msg), 3);
    EXPECT_EQ(d->WallCount(), 3);
    EXPECT_EQ(d->collectors[2], d->collectors[0]);
    EXPECT_EQ(d->airSystems[2], d->airSystems[0]);
    EXPECT_EQ(d->schedules[2].id, 3);
    EXPECT_EQ(d->AddWall(2, msg), 4);
    EXPECT_EQ(d->collectors[3].collectorWidth, 20.0f);

    std::size_t shown = msg.shown.size();
    auto before = std::make_unique<CHalvo98Doc>(*d);
    EXPECT_EQ(d->AddWall(4, msg), 4);
    ASSERT_EQ(msg.shown.size(), shown + 1);
    EXPECT_EQ(msg.shown.back().text, "Halvo can only model four walls. Addition of another wall is not allowed.");
    EXPECT_EQ(msg.shown.back().icon, MsgIcon::Information);
    EXPECT_EQ(ProjectFileBytes(*d), ProjectFileBytes(*before));
}

TEST(Model, RemoveWallQuestionsAndMoves) {
    struct Case { int walls, selected; const char* question; int selectAfter; float widths[3]; };
    const Case cases[] = {
        {4, 2, "Are you sure you want to delete Wall 2? This action will copy, Wall 3 to Wall 2 and Wall 4 to Wall 3.",
         2, {10, 30, 40}},
        {4, 3, "Are you sure you want to delete Wall 3? This action will copy, Wall 4 to Wall 3.", 3, {10, 20, 40}},
        {4, 4, "Are you sure you want to delete Wall 4? ", 3, {10, 20, 30}},
        {4, 1, "Are you sure you want to delete Wall 1? This action will copy, Wall 2 to Wall 1, Wall 3 to Wall 2 "
               "and Wall 4 to Wall 3.", 1, {20, 30, 40}},
        {2, 2, "Are you sure you want to delete Wall 2? ", 1, {10, 0, 0}},
    };
    for (const Case& c : cases) {
        auto d = DocWithWalls(c.walls);
        CScriptedMessenger msg;
        EXPECT_EQ(d->RemoveWall(c.selected, msg), c.selectAfter);
        ASSERT_EQ(msg.shown.size(), 1u);
        EXPECT_EQ(msg.shown[0].text, c.question);
        EXPECT_EQ(d->WallCount(), c.walls - 1);
        for (int w = 0; w < c.walls - 1; ++w) {
            EXPECT_EQ(d->wallPresent[w], 1);
            EXPECT_EQ(d->collectors[w].collectorWidth, c.widths[w]) << c.question << " wall " << w + 1;
        }
        EXPECT_EQ(d->wallPresent[c.walls - 1], 0);
    }
    auto d = DocWithWalls(3);
    CScriptedMessenger msg;
    msg.SetNextAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(d->RemoveWall(2, msg), 2);
    EXPECT_EQ(d->WallCount(), 3);
    EXPECT_EQ(d->collectors[1].collectorWidth, 20.0f);

    auto one = DocWithWalls(1);
    EXPECT_EQ(one->RemoveWall(1, msg), 1);
    EXPECT_EQ(msg.shown.back().text, "You must have at least one wall.");
    EXPECT_EQ(one->WallCount(), 1);
}

TEST(Model, PorosityRule) {
    // x = flow / area [l/(s.m2)]: 1000/28 = 35.7, 1000/35 = 28.6, 1000/700 = 1.4; the thresholds
    // themselves are not above.
    struct Case { float flow, height, width, porosity; const char* name; };
    const Case cases[] = {
        {1000, 7, 4, 0.01f, "High  "}, {1000, 7, 5, 0.005f, "Medium"}, {1000, 7, 100, 0.0025f, "Low   "},
        {3500, 10, 10, 0.005f, "Medium"}, {2500, 10, 10, 0.0025f, "Low   "},
    };
    for (const Case& c : cases) {
        CHalvo98Doc d;
        d.airSystems[1].designFlow = c.flow;
        d.collectors[1].collectorHeight = c.height;
        d.collectors[1].collectorWidth = c.width;
        d.SelectPorosity(2);
        EXPECT_EQ(d.collectors[1].porosity, c.porosity) << c.flow << " " << c.width;
        EXPECT_STREQ(PorosityRuleName(d.collectors[1].porosity), c.name);
        EXPECT_EQ(d.collectors[0].porosity, 0.05f);
    }
}

TEST(Model, UnitConversionsBothWays) {
    using U = CUnitConverter;
    struct Case { const char* what; double (*to)(double); double (*from)(double); double si, ip; };
    // IP values from the conversion table: SI x factor (or the stated formula).
    const Case cases[] = {
        {"length", U::LengthToIP, U::LengthFromIP, 10, 32.81},
        {"length report", U::LengthToIPReport, U::LengthFromIPReport, 10, 32.8084},
        {"area", U::AreaToIP, U::AreaFromIP, 2, 21.5278},
        {"area report", U::AreaToIPReport, U::AreaFromIPReport, 2, 21.52782},
        {"small length", U::SmallLengthToIP, U::SmallLengthFromIP, 0.254, 10},
        {"air flow", U::AirFlowToIP, U::AirFlowFromIP, 1000, 2118.6},
        {"air flow report", U::AirFlowToIPReport, U::AirFlowFromIPReport, 1000, 2118.88},
        {"temperature", U::TemperatureToIP, U::TemperatureFromIP, -40, -40},
        {"temperature 2", U::TemperatureToIP, U::TemperatureFromIP, 100, 212},
        {"resistance", U::ResistanceToIP, U::ResistanceFromIP, 2, 11.356},
        {"resistance report", U::ResistanceToIPReport, U::ResistanceFromIPReport, 2, 11.356526},
        {"pressure", U::PressureToIP, U::PressureFromIP, 248.84, 1},
        {"power", U::PowerToIP, U::PowerFromIP, 10, 13.41022},
        {"mass", U::MassToIP, U::MassFromIP, 10, 22.05},
        {"energy", U::EnergyToIP, U::EnergyFromIP, 1055.056, 1},
        {"heat loss coefficient", U::HeatLossCoeffToIP, U::HeatLossCoeffFromIP, 1, 3600.0 / (10.7639 * 1055.056) * 5 / 9},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.to(c.si), c.ip, 1e-9 * std::max(1.0, std::abs(c.ip))) << c.what;
        EXPECT_NEAR(c.from(c.ip), c.si, 1e-9 * std::max(1.0, std::abs(c.si))) << c.what;
        EXPECT_NEAR(c.from(c.to(c.si * 1.37)), c.si * 1.37, 1e-12 * std::max(1.0, std::abs(c.si))) << c.what;
    }
    EXPECT_NEAR(U::HeatLossCoeffToIP(5.678263), 1.0, 1e-3);  // 1 Btu/(h.ft2.F) = 5.678 W/(m2.K)
}

TEST(Model, CurrencyAndApplicationNames) {
    EXPECT_EQ(CurrencySymbol(0), "$");
    EXPECT_EQ(CurrencySymbol(1), "\xC2\xA5");
    EXPECT_EQ(CurrencySymbol(2), "\xC2\xA3");
    EXPECT_EQ(CurrencySymbol(3), "");
    EXPECT_EQ(CurrencySymbol(-1), "");
    EXPECT_STREQ(ApplicationTypeName(1), "Destratification & Makeup Air Heater");
    EXPECT_STREQ(ApplicationTypeName(2), "Ventilation Air Preheater");
    EXPECT_STREQ(ApplicationTypeName(3), "Process Air Heater");
    EXPECT_STREQ(ApplicationTypeName(0), "");
}
