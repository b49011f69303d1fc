// More hand-made hours for the wall heat balance and the application models: the collector calls of
// every wall configuration, the imposed wall temperature, the ceiling balance and its saving, the cut
// of useful heat above the maximum useful supply temperature, the summer bypass of the ventilation
// preheater, the day and night split and the fan energy of an imposed supply flow.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "collperf/collperf.h"
#include "engine/sim/app_models.h"
#include "engine/sim/heat_balance.h"
#include "engine/sim/wall_run.h"

namespace {

// A 100 m2 black perforated wall, UAWall 150 kJ/(h K), 0 C outside, 20 C inside, in the dark at
// 1.25 kg/m3, with 1000 kg/h through it; a 9-hour day (sunrise 7.5, sunset 16.5 solar hours).
std::unique_ptr<CWallRun> MakeHour(int appType) {
    auto r = std::make_unique<CWallRun>();
    r->AppType = appType;
    r->AreaMain = 100;
    r->CollArea = 100;
    r->CollHeight = 5;
    r->CollWidth = 20;
    r->PlenumDepth = 0.2f;
    r->Porosity = 0.0025f;
    r->HolePitch = 22;
    r->Thickness = 0.8f;
    r->MainKind = 1;
    r->MainAbsorptance = 0.95f;
    r->MainEmittance = 0.9f;
    r->CanopyKind = 0;
    r->UAWall = 150;
    r->TAmb = 0;
    r->HumRatio = 0.003;
    r->VWindSite = 1;
    r->AirDensity = 1.25f;
    r->Day = 15;
    r->Hour = 3;
    r->Weekday = 2;
    r->TBuilding = 20;
    r->TFloor = 20;
    r->TBypass = 9999.9f;
    r->FlowColl = 1000;
    r->DayLengthHours[15] = 9;
    r->TSupplyMin = 15;
    r->TSupplyMaxUseful = 17;
    r->TCeilingDesign = 25;
    r->TCeilingState = 25;
    r->NumFans = 1;
    for (auto& h : r->HourOperation)
        for (auto& v : h) v = 1;
    for (auto& d : r->DayOperation) d = 1;
    return r;
}

void Sunny(CWallRun& r) {
    r.QSol = 500;
    r.WeaQSol[r.Day - 1][r.Hour - 1] = 500;
    r.Clearness = 0.7f;
    r.Hour = 12;
    r.WeaQSol[r.Day - 1][r.Hour - 1] = 500;
}

// Test coefficients that need no flow-rate correction at 4500 kg/h (1000 l/s at 1.25 kg/m3 is
// 1250 W/K, as 4500 kg/h is): 100 m2 x 500 W/m2 x 0.8 x 3.6 = 144000 kJ/h.
void UseTestData(CWallRun& r) {
    r.UseTestData = 1;
    r.TestDataKind = 5001;
    r.TestFRta = 0.8f;
    r.TestFRUL = 8.0f;
    r.TestFlow = 1000;
    r.TestArea = 100;
}

void Impose(CWallRun& r, EAltKey key, float v) {
    if (!r.AltInputActive) {
        ClearAltInput(r.Control.Alt);
        r.AltInputActive = 1;
    }
    r.Control.Alt.Table[static_cast<int>(key)][r.Day - 1][r.Hour - 1] = v;
}

struct CDirect {
    double q = 0, t = 0, qRad = 0, qConv = 0, skyView = 0, plate = 0, mal = 0;
};

struct COpt {
    double tSky = kNotSuppliedHourly, tSkyView = kNotSuppliedHourly, qLong = kNotSuppliedHourly,
           hConv = kNotSuppliedHourly, mal = kNotSuppliedHourly;
};

// One collector call as the hour makes it, with the collector's own geometry and flow [kg/h].
CDirect DirectTP(const CWallRun& r, double h, double w, double depth, double abs, double emit,
                 double flowKgH, const COpt& o = {}) {
    CDirect d;
    double pd, eff, fan;
    d.mal = o.mal;
    TP_Performance(r.TAmb, r.HumRatio, r.VWindSite, h, w, depth, 1.1, r.Slope, flowKgH / 3600 / 1.2,
                   r.Clearness, r.QSol, static_cast<std::int16_t>(r.Hour - 1),
                   static_cast<std::uint16_t>(r.Elevation), r.PressExtra, r.HolePitch, r.PitchFactor, 1.6,
                   r.Porosity, r.Thickness, abs, emit, o.tSky, o.tSkyView, o.qLong, o.hConv, &d.mal, &d.q,
                   &d.t, &pd, &eff, &fan, &d.qRad, &d.qConv, &d.skyView, &d.plate);
    return d;
}

CDirect DirectBP(const CWallRun& r, double h, double w, double depth, double abs, double emit,
                 double flowKgH, double tIn, bool glazed) {
    CDirect d;
    double pd, eff, fan;
    const double o = kNotSuppliedHourly;
    BP_Performance(r.TAmb, r.HumRatio, r.VWindSite, h, w, depth, 1.1, r.Slope, flowKgH / 3600 / 1.2,
                   r.Clearness, r.QSol, static_cast<std::int16_t>(r.Hour - 1),
                   static_cast<std::uint16_t>(r.Elevation), r.PressExtra, tIn, glazed, abs, emit, 0.8, o, o,
                   o, o, &d.q, &d.t, &pd, &eff, &fan, &d.qRad, &d.qConv, &d.skyView, &d.plate);
    return d;
}

void AddCanopy(CWallRun& r, int kind) {
    r.AreaMain = 80;
    r.AreaCanopy = 20;
    r.CollHeight = 4;
    r.CanopyKind = static_cast<std::int16_t>(kind);
    r.CanopyHeight = 1;
    r.CanopyWidth = 20;
    r.CanopyDepth = 0.5f;
    r.CanopyAbsorptance = 0.85f;
    r.CanopyEmittance = 0.88f;
}

}  // namespace

// QIns for UAWall 150 and 100 m2: (150/3.6 - 1/(3.6/150 + 0.33/100)) x 3.6 = 18.1319 kJ/(h K).
constexpr double kInsPerK = 18.131868;

TEST(WallHeatBalanceCalls, EveryConfigurationCallsTheModelsInOrder) {
    // Each configuration against the same collector calls made directly: the main collector (its
    // share of 5000 kg/h by area, inlet at ambient), then the canopy with its share, a back-pass
    // canopy fed at the main collector's outlet. Heat and losses are the sums x 3.6; plate and
    // surroundings temperatures and the maldistribution factor are the last call's.
    struct Case { int canopy, main; };
    const Case cases[] = {{0, 1}, {0, 2}, {0, 3}, {1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 1}, {3, 2}};
    for (const Case& c : cases) {
        auto r = MakeHour(2);
        Sunny(*r);
        r->TAmb = 5;
        r->PressExtra = 120;
        r->Elevation = 300;
        r->FlowColl = 5000;
        r->MainKind = static_cast<std::int16_t>(c.main);
        if (c.canopy) AddCanopy(*r, c.canopy);
        WallHeatBalance(*r);

        const double mainFlow = c.canopy ? 4000 : 5000;
        const double h = r->CollHeight, depth = r->PlenumDepth, a = r->MainAbsorptance,
                     e = r->MainEmittance;
        CDirect m = c.main == 1 ? DirectTP(*r, h, 20, depth, a, e, mainFlow)
                                : DirectBP(*r, h, 20, depth, a, e, mainFlow, 5, c.main == 3);
        CDirect k;
        const double cd = r->CanopyDepth, ca = r->CanopyAbsorptance, ce = r->CanopyEmittance;
        if (c.canopy == 1) k = DirectTP(*r, 1, 20, cd, ca, ce, 1000);
        if (c.canopy >= 2) k = DirectBP(*r, 1, 20, cd, ca, ce, 1000, m.t, c.canopy == 3);
        const CDirect& last = c.canopy ? k : m;
        ASSERT_GT(m.q, 0) << c.canopy << c.main;
        const double q = (m.q + k.q) * 3.6;
        EXPECT_NEAR(r->QColl, q, 1e-5 * q) << c.canopy << c.main;
        EXPECT_NEAR(r->QRad, (m.qRad + k.qRad) * 3.6, 1e-3 + 1e-5 * std::fabs(m.qRad + k.qRad) * 3.6)
            << c.canopy << c.main;
        EXPECT_NEAR(r->QConv, (m.qConv + k.qConv) * 3.6, 1e-3 + 1e-5 * std::fabs(m.qConv + k.qConv) * 3.6)
            << c.canopy << c.main;
        EXPECT_DOUBLE_EQ(r->TPlate, last.plate) << c.canopy << c.main;
        EXPECT_DOUBLE_EQ(r->TSkyView, last.skyView) << c.canopy << c.main;
        const bool lastTranspired = c.canopy == 1 || (c.canopy == 0 && c.main == 1);
        if (lastTranspired) EXPECT_DOUBLE_EQ(r->FlowMalCorr, last.mal) << c.canopy << c.main;
        else EXPECT_DOUBLE_EQ(r->FlowMalCorr, kNotApplicable) << c.canopy << c.main;
    }

    // A canopy over a collector kind the models do not know, or a canopy kind out of range: no model
    // runs, no solar heat, the loss outputs carry their sentinels.
    const Case none[] = {{1, 0}, {2, 7}, {4, 1}};
    for (const Case& c : none) {
        auto r = MakeHour(2);
        Sunny(*r);
        r->MainKind = static_cast<std::int16_t>(c.main);
        AddCanopy(*r, c.canopy);
        WallHeatBalance(*r);
        EXPECT_FLOAT_EQ(r->QColl, 0) << c.canopy << c.main;
        EXPECT_FLOAT_EQ(r->QRad, kNoCollector) << c.canopy << c.main;
        EXPECT_DOUBLE_EQ(r->TPlate, kNoCollector) << c.canopy << c.main;
        EXPECT_DOUBLE_EQ(r->FlowMalCorr, kNotApplicable) << c.canopy << c.main;
        EXPECT_NEAR(r->TColl, r->QRecap / 1000, 1e-5) << c.canopy << c.main;
    }
}

TEST(WallHeatBalanceCalls, ImposedSkyWindAndMaldistributionReachTheModel) {
    auto r = MakeHour(2);
    Sunny(*r);
    r->FlowColl = 3000;
    Impose(*r, EAltKey::TSky, -20);
    Impose(*r, EAltKey::TSkyView, -8);
    Impose(*r, EAltKey::TLongwave, 40);
    Impose(*r, EAltKey::HConv, 12);
    Impose(*r, EAltKey::FlowMalCorr, 0.9f);
    WallHeatBalance(*r);
    COpt o;
    o.tSky = -20;
    o.tSkyView = -8;
    o.qLong = 40;
    o.hConv = 12;
    o.mal = static_cast<double>(0.9f);
    const CDirect d = DirectTP(*r, 5, 20, r->PlenumDepth, r->MainAbsorptance, r->MainEmittance, 3000, o);
    ASSERT_GT(d.q, 0);
    EXPECT_NEAR(r->QColl, d.q * 3.6, 1e-5 * d.q * 3.6);
    EXPECT_DOUBLE_EQ(r->TPlate, d.plate);
    EXPECT_DOUBLE_EQ(r->FlowMalCorr, d.mal);
    EXPECT_NEAR(r->FlowMalCorr, 0.9, 1e-6);
}

TEST(WallHeatBalanceCalls, ImposedWallTemperatureAndNoFlowWithImposedOutlet) {
    // Night, 1000 kg/h, "twall" 12 C: QRecap = 0.6 x 150 x (20 - 12) = 720, TColl = 0.72, TWall 12,
    // also at the bypass temperature itself. Above it the insulation gain wins over the imposed wall
    // temperature.
    // An imposed outlet temperature without flow: QRecap = QIns, no solar heat, TColl as imposed.
    struct Case { const char* name; float tBypass, flow, tcoll; double qRecap, tColl, tWall; };
    const Case cases[] = {
        {"twall", 9999.9f, 1000, -9999, 720, 0.72, 12},
        {"twall at the bypass temperature", 0, 1000, -9999, 720, 0.72, 12},
        {"twall above bypass", -5, 1000, -9999, kInsPerK * 20, kInsPerK * 20 / 1000, kNotComputed},
        {"tcoll without flow", 9999.9f, 0, 10, kInsPerK * 20, 10, kNotComputed},
    };
    for (const Case& c : cases) {
        auto r = MakeHour(1);
        r->TWall = kNotComputed;
        r->TBypass = c.tBypass;
        r->FlowColl = c.flow;
        Impose(*r, EAltKey::TWall, 12);
        if (c.tcoll > -999) Impose(*r, EAltKey::TColl, c.tcoll);
        WallHeatBalance(*r);
        EXPECT_FLOAT_EQ(r->QColl, 0) << c.name;
        EXPECT_NEAR(r->QRecap, c.qRecap, 1e-3) << c.name;
        EXPECT_NEAR(r->TColl, c.tColl, 1e-5) << c.name;
        EXPECT_NEAR(r->TWall, c.tWall, 1e-4) << c.name;
    }
}

TEST(DestratModelReview, CeilingBalanceAndSaving) {
    // Summer bypass hours (collector air at ambient, 5000 kg/h, fan rise 500 / 5000 = 0.1 K), ceiling
    // designed at 25 C, 20 C inside, exhaust of 5000 kg/h, roof 200 kJ/(h K). With Xe = 1 at 10 C:
    //   Ls = 200 x 15 + 2500 x 15 + 2500 x 5 = 53000;
    //   Tb = [(15 - 10.1) x 5000 - 15 x 5000 - 53000 - 2000] / (-5000 - 200) = 20.28846;
    //   QDestrat = (25 - Tb) x (5000 + 200) = 24500; TExhaust = 25 - (25 - Tb) = Tb.
    // At 11 C (above the bypass temperature 10 C) the saving is cleared: Tb = 108000 / 5200.
    // With Xe = 0 at 10 C: Ls = 40500, Tb = 93000 / 5200 = 17.88462, reported unlimited, while the
    // carried ceiling is held at 20: QDestrat = (25 - 20) x 200 = 1000; TExhaust = TFloor = 20.
    struct Case { float tAmb, xe; double tb, tc, qDestrat, tExhaust; };
    const Case cases[] = {
        {10, 1, 20.288462, 20.288462, 24500, 20.288462},
        {11, 1, 20.769231, 20.769231, 0, 20.769231},
        {10, 0, 17.884615, 20, 1000, 20},
    };
    for (const Case& c : cases) {
        auto r = MakeHour(1);
        r->TAmb = c.tAmb;
        r->TBypass = 10;
        r->ExhaustLocFactor = c.xe;
        r->FlowDesign = 5000;
        r->FlowExhaustDesign = 5000;
        r->QFanDesign = 500;
        r->UACeiling = 200;
        DestratModel(*r);
        EXPECT_FLOAT_EQ(r->Bypass, 0) << c.tAmb << " " << c.xe;
        EXPECT_FLOAT_EQ(r->FlowColl, 5000) << c.tAmb;
        EXPECT_FLOAT_EQ(r->TRecirc, 25) << c.tAmb;  // the ceiling carried from the hour before
        EXPECT_NEAR(r->TSupply, c.tAmb + 0.1, 1e-5) << c.tAmb;
        EXPECT_NEAR(r->TCeiling, c.tb, 1e-4) << c.tAmb << " " << c.xe;
        EXPECT_NEAR(r->TCeilingState, c.tc, 1e-4) << c.tAmb << " " << c.xe;
        EXPECT_NEAR(r->QDestrat, c.qDestrat, 0.05) << c.tAmb << " " << c.xe;
        EXPECT_NEAR(r->TExhaust, c.tExhaust, 1e-4) << c.tAmb << " " << c.xe;
        EXPECT_FLOAT_EQ(r->FlowExhaust, kNotComputed);
        EXPECT_NEAR(r->QRecap, kInsPerK * (20 - c.tAmb), 1e-3);  // the cladding insulates
        // QBase = (15 - TAmb) x 5000, QAux = QBase - 500.
        EXPECT_NEAR(r->QBase, (15 - c.tAmb) * 5000, 1e-2);
        EXPECT_NEAR(r->QAux, (15 - c.tAmb) * 5000 - 500, 1e-2);
    }

    // With an alternate input: the imposed ceiling is not limited and there is no bypass test;
    // "fexhaust" 1000 l/s is 4500 kg/h; with "texhaust" 21: (25 - 21) x 4500 + (25 - 22) x 200 =
    // 18600; without it: 4500 x 1 x 3 + 600 = 14100; a saving below 0 is 0.
    struct AltCase { float texhaust; double qDestrat, tExhaust; };
    const AltCase alt[] = {{21, 18600, 21}, {-9999, 14100, 22}, {30, 0, 30}};
    for (const AltCase& c : alt) {
        auto r = MakeHour(1);
        r->TAmb = 11;
        r->TBypass = 10;
        r->FlowDesign = 5000;
        r->FlowExhaustDesign = 5000;
        r->UACeiling = 200;
        Impose(*r, EAltKey::TCeiling, 22);
        Impose(*r, EAltKey::FExhaust, 1000);
        if (c.texhaust > -999) Impose(*r, EAltKey::TExhaust, c.texhaust);
        DestratModel(*r);
        EXPECT_FLOAT_EQ(r->FlowExhaust, 4500) << c.texhaust;
        EXPECT_FLOAT_EQ(r->TCeiling, 22) << c.texhaust;
        EXPECT_NEAR(r->QDestrat, c.qDestrat, 0.05) << c.texhaust;
        EXPECT_NEAR(r->TExhaust, c.tExhaust, 1e-4) << c.texhaust;
    }
}

TEST(DestratModelReview, DayNightSplitAtSunrise) {
    // Hour 8 of a 9.4-hour day: sunrise at 7.3, the hour's midpoint 7.5, so 0.7 of it is day. Bypass
    // hour at 10 C: QRecap = 181.32, QBase = 25000.
    auto r = MakeHour(1);
    r->DayLengthHours[15] = 9.4f;
    r->Hour = 8;
    r->TAmb = 10;
    r->TBypass = 10;
    r->FlowDesign = 5000;
    r->FlowExhaustDesign = 5000;
    DestratModel(*r);
    const double qr = kInsPerK * 10;
    EXPECT_NEAR(r->DayFraction, 0.7, 1e-5);
    EXPECT_NEAR(r->NightFraction, 0.3, 1e-5);
    EXPECT_NEAR(r->QRecapDay, qr * 0.7, 1e-3);
    EXPECT_NEAR(r->QSolarDay, qr * 0.7, 1e-3);
    EXPECT_NEAR(r->QSolarNight, qr * 0.3, 1e-3);
    EXPECT_NEAR(r->FlowDay, 3500, 0.05);
    EXPECT_NEAR(r->FlowNight, 1500, 0.05);
    EXPECT_NEAR(r->QBaseDay, 17500, 0.5);
    EXPECT_NEAR(r->QBaseNight, 7500, 0.5);
}

TEST(DestratModelReview, SupplyJustAboveTheMinimumKeepsItsHeat) {
    // Imposed outlet 14.93 C for all of 4000 kg/h (fan rise 0.1 K): the supply at 15.03 C is above the
    // maximum useful 15 C but within 0.05 K of the minimum, so nothing is cut. The balance gives
    // T' = (5 x 4000 x 14.93 - 3 x 150 x 20) / (20000 - 300) = 14.70051, QColl = 58802.0.
    auto r = MakeHour(1);
    Sunny(*r);
    r->FlowDesign = 4000;
    r->QFanDesign = 400;
    r->TSupplyMaxUseful = 15;
    Impose(*r, EAltKey::FracFresh, 1);
    Impose(*r, EAltKey::TColl, 14.93f);
    DestratModel(*r);
    EXPECT_NEAR(r->TSupply, 15.03, 1e-4);
    EXPECT_NEAR(r->QColl, 58802.0, 0.5);
    EXPECT_NEAR(r->QSolOp, 180000, 0.5);
}

TEST(AppModelsReview, UsefulHeatAboveTheMaximumUsefulSupplyIsCut) {
    // 4500 kg/h all through the collector in sun (test coefficients: 144000 kJ/h), 0 C outside, fan
    // rise 450 / 4500 = 0.1 K. The wall is warmer than the room: QRecap = (20 - 21.3333) x 150 /
    // 1.02222 = -195.652, TColl = (144000 - 195.652) / 4500 = 31.95652, TSupply = 32.05652 > 17.
    // Kept: QColl = (17 - 0.1 - 0) x 4500 + 195.652 = 76245.65; the operating solar is scaled by
    // 17 / 31.95652: 180000 -> 95755.10 (the ventilation preheater takes the weather file's
    // 400 W/m2 in place of the hour's 500: 76604.08).
    struct Case { int type; double qSolOp; };
    const Case cases[] = {{1, 95755.102}, {2, 76604.082}};
    for (const Case& c : cases) {
        auto r = MakeHour(c.type);
        Sunny(*r);
        UseTestData(*r);
        r->WeaQSol[r->Day - 1][r->Hour - 1] = 400;
        r->FlowDesign = 4500;
        r->FlowExhaustDesign = 4500;
        r->QFanDesign = 450;
        r->MinOAFraction = 0.2f;
        if (c.type == 1) DestratModel(*r);
        else VentilationModel(*r);
        EXPECT_FLOAT_EQ(r->FlowColl, 4500) << c.type;
        EXPECT_FLOAT_EQ(r->FracFresh, 1) << c.type;
        EXPECT_NEAR(r->QRecap, -195.652, 1e-2) << c.type;
        EXPECT_NEAR(r->TColl, 31.95652, 1e-4) << c.type;
        EXPECT_NEAR(r->TSupply, 32.05652, 1e-4) << c.type;
        EXPECT_NEAR(r->QColl, 76245.65, 0.1) << c.type;
        EXPECT_NEAR(r->QSolOp, c.qSolOp, 0.1) << c.type;
        EXPECT_FLOAT_EQ(r->QAux, 0) << c.type;
        EXPECT_NEAR(r->QBase, 15 * 4500, 1e-2) << c.type;
    }

    // The ventilation preheater cuts only when all supply air is outdoor air: with "fracfresh" 0.5 the
    // mixed supply is above 17 C too, yet the balance's heat stands and the operating solar is the
    // weather file's 400 x 3.6 x 100.
    auto v = MakeHour(2);
    Sunny(*v);
    UseTestData(*v);
    v->WeaQSol[v->Day - 1][v->Hour - 1] = 400;
    v->FlowDesign = 4500;
    v->QFanDesign = 450;
    Impose(*v, EAltKey::FracFresh, 0.5f);
    VentilationModel(*v);
    EXPECT_FLOAT_EQ(v->FlowColl, 2250);
    ASSERT_GT(v->TSupply, 17);
    EXPECT_NEAR(v->QColl, (v->TColl - v->TAmb) * 2250 - v->QRecap, 0.5);
    EXPECT_NEAR(v->QSolOp, 144000, 0.5);
}

TEST(AppModelsReview, VentilationBypassAndMixingSearch) {
    // At the bypass temperature (10 C): the minimum outdoor air (0.2 x 5000) goes round the collector,
    // no balance runs; TSupply = 10 x 0.2 + 20 x 0.8 + 0.1 = 18.1; QBase = 5 x 1000.
    auto b = MakeHour(2);
    b->TAmb = 10;
    b->TBypass = 10;
    b->FlowDesign = 5000;
    b->QFanDesign = 500;
    b->MinOAFraction = 0.2f;
    VentilationModel(*b);
    EXPECT_EQ(b->Operating, 1);
    EXPECT_FLOAT_EQ(b->FlowColl, 1000);
    EXPECT_FLOAT_EQ(b->FracFresh, 0.2f);
    EXPECT_NEAR(b->TSupply, 18.1, 1e-5);
    EXPECT_FLOAT_EQ(b->QColl, 0);
    EXPECT_FLOAT_EQ(b->QRecap, 0);
    EXPECT_FLOAT_EQ(b->QAux, 0);
    EXPECT_NEAR(b->QBase, 5000, 1e-3);
    EXPECT_FLOAT_EQ(b->TCeiling, kNotComputed);
    EXPECT_FLOAT_EQ(b->Bypass, kNotApplicable);

    // A night at 0 C: all outdoor air stays far below 15 C, the minimum (1000 kg/h at 2.727 C mixed
    // with room air) is above it, so the search finds the share that gives 15 C within 0.1 K.
    auto s = MakeHour(2);
    s->FlowDesign = 5000;
    s->QFanDesign = 500;
    s->MinOAFraction = 0.2f;
    VentilationModel(*s);
    EXPECT_NEAR(s->TSupply, 15, 0.1);
    EXPECT_GT(s->FlowColl, 1000);
    EXPECT_LT(s->FlowColl, 5000);
    EXPECT_NEAR(s->FracFresh, s->FlowColl / 5000, 1e-6);
    EXPECT_NEAR(s->QBase, 15 * s->FlowColl, 1e-2);
    EXPECT_NEAR(s->QAux, std::max(0.0, (15 - s->TSupply) * 5000.0), 1e-2);
}

TEST(AppModelsReview, FanEnergyAndFlowsOfImposedOrIdleSupply) {
    // "fsupply" 2000 l/s at 1.25 kg/m3 is 9000 kg/h, and the fan energy of all fans scales with it:
    // 9000 / 5000 x (2 x 500) = 1800 kJ/h, whatever the flags say.
    for (int type = 1; type <= 3; ++type) {
        auto r = MakeHour(type);
        for (auto& d : r->DayOperation) d = 0;
        r->FlowDesign = 5000;
        r->QFanDesign = 500;
        r->NumFans = 2;
        r->TBypass = -50;  // keep every model on a short path
        Impose(*r, EAltKey::FSupply, 2000);
        if (type == 1) DestratModel(*r);
        else if (type == 2) VentilationModel(*r);
        else ProcessModel(*r);
        EXPECT_FLOAT_EQ(r->FlowSupply, 9000) << type;
        EXPECT_NEAR(r->QFan, 1800, 1e-2) << type;
        EXPECT_NEAR(r->FanRise, 0.2, 1e-6) << type;
    }
    // Flags off: the ventilation preheater and the process heater charge no fan energy, and the
    // process heater reports no flow and no heat.
    for (int type = 2; type <= 3; ++type) {
        auto r = MakeHour(type);
        for (auto& d : r->DayOperation) d = 0;
        r->FlowDesign = 5000;
        r->QFanDesign = 500;
        if (type == 2) VentilationModel(*r);
        else ProcessModel(*r);
        EXPECT_FLOAT_EQ(r->FlowSupply, 0) << type;
        EXPECT_FLOAT_EQ(r->QFan, 0) << type;
        EXPECT_FLOAT_EQ(r->FlowColl, 0) << type;
        EXPECT_FLOAT_EQ(r->QAux, 0) << type;
        EXPECT_FLOAT_EQ(r->FanRise, 0) << type;
        EXPECT_EQ(r->Operating, 0) << type;
    }
    // Destratification with "fcoll" 200 l/s of 4000 kg/h: 200 x 3.6 x 1.25 = 900 kg/h, share 0.225;
    // "fcoll" 0 stops the supply and the fan.
    auto d = MakeHour(1);
    d->FlowDesign = 4000;
    d->QFanDesign = 400;
    Impose(*d, EAltKey::FColl, 200);
    DestratModel(*d);
    EXPECT_NEAR(d->FlowColl, 900, 1e-3);
    EXPECT_NEAR(d->FracFresh, 0.225, 1e-6);
    EXPECT_FLOAT_EQ(d->Bypass, 1);
    auto z = MakeHour(1);
    z->FlowDesign = 4000;
    z->QFanDesign = 400;
    Impose(*z, EAltKey::FColl, 0);
    DestratModel(*z);
    EXPECT_FLOAT_EQ(z->FlowSupply, 0);
    EXPECT_FLOAT_EQ(z->QFan, 0);
    EXPECT_EQ(z->Operating, 0);
}
