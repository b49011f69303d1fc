// The wall heat balance and the application models on hand-made hours whose results can be worked
// out on paper.

#include <gtest/gtest.h>

#include <memory>

#include "collperf/collperf.h"
#include "engine/sim/app_models.h"
#include "engine/sim/heat_balance.h"
#include "engine/sim/run_wall.h"
#include "engine/sim/wall_run.h"

namespace {

// A 100 m2 black perforated wall with UAWall 150 kJ/(h K), at 0 C outside and 20 C inside, in the
// dark, with 1000 kg/h through it.
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
    r->MainKind = 1;
    r->MainAbsorptance = 0.95f;
    r->MainEmittance = 0.9f;
    r->CanopyKind = 0;
    r->UAWall = 150;
    r->TAmb = 0;
    r->HumRatio = 0.003;
    r->VWindSite = 1;
    r->QSol = 0;
    r->Clearness = 0;
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
    return r;
}

// Test coefficients that need no flow-rate correction at 4500 kg/h (test flow 1000 l/s at
// 1.25 kg/m3 is 1250 W/K, as 4500 kg/h is; test area = collector area).
void UseTestData(CWallRun& r, int kind = 5001) {
    r.UseTestData = 1;
    r.TestDataKind = kind;
    r.TestFRta = 0.8f;
    r.TestFRUL = 8.0f;
    r.TestFlow = 1000;
    r.TestArea = 100;
    r.QSol = 500;
    r.Clearness = 0.7f;
    r.Hour = 12;
}

void AllHoursOn(CWallRun& r, int on) {
    for (auto& h : r.HourOperation)
        for (auto& v : h) v = on;
    for (auto& d : r.DayOperation) d = on;
}

}  // namespace

// QIns for UAWall 150 and 100 m2: (150/3.6 - 1/(3.6/150 + 0.33/100)) x 3.6 = 18.1319 kJ/(h K).
constexpr double kInsPerK = 18.131868;

TEST(WallHeatBalance, NightHourRecapturesTheWallLoss) {
    // QRecap = (20 - 0 - 0) x 150 / (2 x 150 / 3000 + 1) = 2727.27; TColl = 2.7273;
    // TWall = 20 - 2727.27 / 150 = 1.8182. The collector model only runs in the dark when the hourly
    // output wants its losses; the balance is the same either way.
    for (int output = 0; output <= 1; ++output) {
        auto r = MakeHour(1);
        r->HourlyOutputActive = output;
        WallHeatBalance(*r);
        EXPECT_FLOAT_EQ(r->QColl, 0);
        EXPECT_NEAR(r->QRecap, 2727.27, 0.01);
        EXPECT_NEAR(r->TColl, 2.72727, 1e-4);
        EXPECT_NEAR(r->TWall, 1.81818, 1e-4);
        if (output) EXPECT_GT(r->FlowMalCorr, 0.0);  // the model's factor, not the sentinel
        else EXPECT_DOUBLE_EQ(r->FlowMalCorr, kNotApplicable);
    }
}

TEST(WallHeatBalance, ClosingRules) {
    struct Case {
        const char* name;
        int appType;
        float tAmb, tBuilding, tBypass, flow;
        double qRecap, tColl;
    };
    const Case cases[] = {
        // Above the bypass temperature the cladding only insulates: QIns = 18.1319 x 20.
        {"bypass", 1, 0, 20, -5, 1000, kInsPerK * 20, kInsPerK * 20 / 1000},
        // A building colder than the air outside gains nothing.
        {"building below ambient", 2, 25, 20, 9999.9f, 1000, 0, 25},
        // No flow: insulation gain, outlet at ambient.
        {"no flow", 2, 0, 20, 9999.9f, 0, kInsPerK * 20, 0},
        // The process air heater never counts recaptured heat.
        {"process", 3, 0, 20, 9999.9f, 1000, 0, 0},
    };
    for (const Case& c : cases) {
        auto r = MakeHour(c.appType);
        r->TAmb = c.tAmb;
        r->TBuilding = c.tBuilding;
        r->TBypass = c.tBypass;
        r->FlowColl = c.flow;
        WallHeatBalance(*r);
        EXPECT_NEAR(r->QRecap, c.qRecap, 1e-3 * (1 + c.qRecap)) << c.name;
        EXPECT_NEAR(r->TColl, c.tColl, 1e-4) << c.name;
        EXPECT_FLOAT_EQ(r->QColl, 0) << c.name;
    }
    auto r = MakeHour(2);
    r->FlowColl = 0;
    WallHeatBalance(*r);
    EXPECT_FLOAT_EQ(r->QRad, -99.9f);
    EXPECT_FLOAT_EQ(r->QConv, -99.9f);
    EXPECT_DOUBLE_EQ(r->TPlate, kNoCollector);
    EXPECT_DOUBLE_EQ(r->FlowMalCorr, kNotApplicable);
}

TEST(WallHeatBalance, TestCoefficients) {
    // QColl = A x QSol x FRta x 3.6 = 100 x 500 x 0.8 x 3.6 = 144000 kJ/h at the test flow.
    // Mean-fluid coefficients (5002) divide by 1 + A FRUL / (2 Cu) = 1 + 800 / 2500 = 1.32.
    // Outlet coefficients (5003) divide by 1 + 800 / 1250 = 1.64.
    // A test flow of 1 l/s cannot carry FRUL A (the logarithm's argument is negative): no correction.
    struct Case { int kind; float testFlow, flow; double qColl; };
    const Case cases[] = {{5001, 1000, 4500, 144000.0},
                          {5002, 1000, 4500, 144000.0 / 1.32},
                          {5003, 1000, 4500, 144000.0 / 1.64},
                          {5001, 1, 4500, 144000.0},
                          {5001, 1, 9000, 144000.0}};
    for (const Case& c : cases) {
        auto r = MakeHour(3);
        UseTestData(*r, c.kind);
        r->TestFlow = c.testFlow;
        r->FlowColl = c.flow;
        WallHeatBalance(*r);
        EXPECT_NEAR(r->QColl, c.qColl, 1e-5 * c.qColl) << c.kind << " " << c.testFlow;
        EXPECT_NEAR(r->TColl, c.qColl / c.flow, 1e-4) << c.kind;  // process: no recapture
        EXPECT_FLOAT_EQ(r->QRad, -99.9f);
    }
    // Away from the test flow the correction moves FRta with the flow, and more flow collects more.
    auto lo = MakeHour(3), hi = MakeHour(3);
    UseTestData(*lo);
    UseTestData(*hi);
    lo->FlowColl = 2000;
    hi->FlowColl = 9000;
    WallHeatBalance(*lo);
    WallHeatBalance(*hi);
    EXPECT_LT(lo->QColl, 144000.0f);
    EXPECT_GT(hi->QColl, 144000.0f);
}

TEST(DestratModel, HourWithFansOff) {
    // Flags off: no supply air, the fan energy is still charged (design energy of both fans,
    // 2 x 1000), and QAux = QBase - QColl - QFan with QBase on the exhaust flow:
    // (15 - 0) x 5000 - 0 - 2000 = 73000.
    auto r = MakeHour(1);
    AllHoursOn(*r, 0);
    r->QFanDesign = 1000;
    r->NumFans = 2;
    r->FlowDesign = 5000;
    r->FlowExhaustDesign = 5000;
    DestratModel(*r);
    EXPECT_FLOAT_EQ(r->FlowSupply, 0);
    EXPECT_FLOAT_EQ(r->FlowColl, 0);
    EXPECT_FLOAT_EQ(r->QFan, 2000);
    EXPECT_FLOAT_EQ(r->QBase, 75000);
    EXPECT_FLOAT_EQ(r->QAux, 73000);
    EXPECT_FLOAT_EQ(r->FanRise, 0);
    EXPECT_FLOAT_EQ(r->TSupply, r->TAmb);
    EXPECT_FLOAT_EQ(r->DayFraction, 0);
    EXPECT_EQ(r->Operating, 0);
}

TEST(DestratModel, BisectionEndsByToleranceOrByStep) {
    // At night the outlet is barely above ambient while the ceiling air is at 25 C: mixing reaches
    // 15 C somewhere between no and full collector flow, so the search ends within 0.1 K.
    auto r = MakeHour(1);
    AllHoursOn(*r, 1);
    r->FlowDesign = 5000;
    r->FlowExhaustDesign = 5000;
    r->QFanDesign = 500;
    r->UACeiling = 200;
    DestratModel(*r);
    EXPECT_EQ(r->Operating, 1);
    EXPECT_NEAR(r->TSupply, 15.0, 0.1);
    EXPECT_GT(r->FlowColl, 0);
    EXPECT_LT(r->FlowColl, 5000);
    EXPECT_NEAR(r->FracFresh, r->FlowColl / 5000, 1e-6);
    EXPECT_FLOAT_EQ(r->FanRise, 0.1f);
    // Ceiling kept within [TBuilding, TCeilingDesign] for the next hour.
    EXPECT_GE(r->TCeilingState, 20);
    EXPECT_LE(r->TCeilingState, 25);

    // A minimum supply temperature nothing can reach: the flow halves towards 0 until a step is
    // below 0.01 kg/h.
    auto s = MakeHour(1);
    AllHoursOn(*s, 1);
    s->FlowDesign = 5000;
    s->FlowExhaustDesign = 5000;
    s->TSupplyMin = 100;
    s->TSupplyMaxUseful = 110;
    DestratModel(*s);
    EXPECT_GT(s->FlowColl, 0);
    EXPECT_LT(s->FlowColl, 0.02);
    EXPECT_LT(s->TSupply, 100);
}

TEST(VentilationModel, MinimumOutdoorAir) {
    // No minimum outdoor air: the collector gets no flow.
    auto r = MakeHour(2);
    AllHoursOn(*r, 1);
    r->FlowDesign = 5000;
    r->MinOAFraction = 0;
    r->QFanDesign = 500;
    VentilationModel(*r);
    EXPECT_FLOAT_EQ(r->FlowColl, 0);
    EXPECT_FLOAT_EQ(r->FracFresh, 0);
    EXPECT_FLOAT_EQ(r->QColl, 0);
    EXPECT_FLOAT_EQ(r->TSupply, 20.1f);  // room air plus the fan rise 500 / 5000

    // A cold night: even half outdoor air mixed with 20 C room air stays below 15 C, so the system
    // stays at its minimum and the heater makes up the rest: QAux = (15 - TSupply) x 5000.
    auto c = MakeHour(2);
    AllHoursOn(*c, 1);
    c->TAmb = -25;
    c->FlowDesign = 5000;
    c->MinOAFraction = 0.5f;
    c->QFanDesign = 500;
    VentilationModel(*c);
    EXPECT_FLOAT_EQ(c->FlowColl, 2500);
    EXPECT_NEAR(c->FracFresh, 0.5, 1e-6);
    EXPECT_LE(c->TSupply, 15);
    EXPECT_NEAR(c->QAux, (15 - c->TSupply) * 5000, 1e-2);
    EXPECT_NEAR(c->QBase, 40 * 2500, 1e-2);
    EXPECT_EQ(c->Operating, 1);
}

TEST(ProcessModel, SummerBypassAndUsefulHeatCap) {
    // Summer: ambient at the bypass temperature; no collector, no flow reported, the heater lifts the
    // air to 30 C: (30 - 25) x 4500 - 900.
    auto s = MakeHour(3);
    AllHoursOn(*s, 1);
    s->TAmb = 25;
    s->TBypass = 25;
    s->TSupplyMin = 30;
    s->TSupplyMaxUseful = 35;
    s->FlowDesign = 4500;
    s->QFanDesign = 900;
    ProcessModel(*s);
    EXPECT_FLOAT_EQ(s->QColl, 0);
    EXPECT_FLOAT_EQ(s->Bypass, 0);
    EXPECT_FLOAT_EQ(s->FlowColl, 0);
    EXPECT_FLOAT_EQ(s->QAux, 5 * 4500 - 900);
    EXPECT_FLOAT_EQ(s->QRecap, 0);

    // Sun: the collector alone would give 0 + 144000 / 4500 = 32 C, plus the fan rise 0.2 K; the heat
    // above 20 C is not counted: QColl = (20 - 0.2 - 0) x 4500 = 89100, QAux 0, and the operating
    // solar scales by (20 - 0) / (32 - 0): 500 x 3.6 x 100 x 0.625 = 112500.
    auto r = MakeHour(3);
    AllHoursOn(*r, 1);
    UseTestData(*r);
    r->TSupplyMin = 10;
    r->TSupplyMaxUseful = 20;
    r->FlowDesign = 4500;
    r->QFanDesign = 900;
    ProcessModel(*r);
    EXPECT_FLOAT_EQ(r->Bypass, 1);
    EXPECT_NEAR(r->QColl, 89100, 0.05);
    EXPECT_FLOAT_EQ(r->QAux, 0);
    EXPECT_NEAR(r->QSolOp, 112500, 0.1);
    EXPECT_NEAR(r->TSupply, 20, 1e-4);
    EXPECT_FLOAT_EQ(r->FlowColl, 4500);
    EXPECT_FLOAT_EQ(r->QRecap, 0);
    EXPECT_NEAR(r->QSolarDay, r->QColl * r->DayFraction, 1e-3);
    EXPECT_FLOAT_EQ(r->QSolarNight, 0);
}

// ------------------------------------------------------------------ wiring of the collector calls

namespace {

struct CDirect {
    double q = 0, t = 0, fan = 0, plate = 0;
};

// Collector calls at the design point (20 C, 0.01 kg/kg, 500 W/m2, clearness 0.9, solar noon),
// one of `nf` fans.
CDirect DesignTP(const CWallRun& r, double h, double w, double depth, double abs, double emit,
                 double flow, double press, double nf) {
    CDirect d;
    double mal = kNotSuppliedHourly, pd, eff, qr, qc, tsv;
    const double o = kNotSuppliedDesign;
    TP_Performance(20, 0.01, 2 * r.WindFactor, h, w / nf, depth, 1.1, r.Slope, flow / nf, 0.9, 500, 12,
                   static_cast<std::uint16_t>(r.Elevation), press, r.HolePitch, r.PitchFactor, 1.6,
                   r.Porosity, r.Thickness, abs, emit, o, o, o, o, &mal, &d.q, &d.t, &pd, &eff, &d.fan, &qr,
                   &qc, &tsv, &d.plate);
    return d;
}

CDirect DesignBP(const CWallRun& r, double h, double w, double depth, double abs, double emit,
                 double flow, double press, double tin, bool glazed, double nf) {
    CDirect d;
    double pd, eff, qr, qc, tsv;
    const double o = kNotSuppliedDesign;
    BP_Performance(20, 0.01, 2 * r.WindFactor, h, w / nf, depth, 1.1, r.Slope, flow / nf, 0.9, 500, 12,
                   static_cast<std::uint16_t>(r.Elevation), press, tin, glazed, abs, emit, 0.8, o, o, o, o,
                   &d.q, &d.t, &pd, &eff, &d.fan, &qr, &qc, &tsv, &d.plate);
    return d;
}

}  // namespace

TEST(WallHeatBalance, BackPassCanopyTakesTheMainOutletAndItsShareOfTheFlow) {
    // 80 m2 transpired main collector under a 20 m2 back-pass canopy; 5000 kg/h shared by area.
    auto r = MakeHour(2);
    r->AreaMain = 80;
    r->AreaCanopy = 20;
    r->CollArea = 100;
    r->CollHeight = 4;
    r->CanopyKind = 2;
    r->CanopyHeight = 1;
    r->CanopyWidth = 20;
    r->CanopyDepth = 1;
    r->CanopyAbsorptance = 0.8f;
    r->CanopyEmittance = 0.9f;
    r->Thickness = 0.8f;
    r->TAmb = 5;
    r->QSol = 600;
    r->Clearness = 0.7f;
    r->Hour = 13;
    r->FlowColl = 5000;
    WallHeatBalance(*r);
    // The same two calls made directly: main with 4000 kg/h, canopy with 1000 kg/h fed at the main
    // collector's outlet temperature; hour 13 is passed as 12.
    double mal = kNotSuppliedHourly, q1, t1, pd, eff, fan, qr, qc, tsv, plate1;
    TP_Performance(5, r->HumRatio, r->VWindSite, 4, 20, r->PlenumDepth, 1.1, 90, 4000 / 3600.0 / 1.2, r->Clearness, 600, 12,
                   static_cast<std::uint16_t>(r->Elevation), 0.0, 22, 1.6, 1.6, r->Porosity, r->Thickness, r->MainAbsorptance, r->MainEmittance,
                   kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly, &mal,
                   &q1, &t1, &pd, &eff, &fan, &qr, &qc, &tsv, &plate1);
    double q2, t2, plate2;
    BP_Performance(5, r->HumRatio, r->VWindSite, 1, 20, 1, 1.1, 90, 1000 / 3600.0 / 1.2, r->Clearness, 600, 12,
                   static_cast<std::uint16_t>(r->Elevation), 0.0, t1, false, r->CanopyAbsorptance, r->CanopyEmittance, 0.8,
                   kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly, kNotSuppliedHourly, &q2,
                   &t2, &pd, &eff, &fan, &qr, &qc, &tsv, &plate2);
    ASSERT_GT(q1, 0);
    ASSERT_GT(t1, 5);
    EXPECT_NEAR(r->QColl, (q1 + q2) * 3.6, 1e-4 * (q1 + q2) * 3.6);
    EXPECT_DOUBLE_EQ(r->TPlate, plate2);              // the last call's
    EXPECT_DOUBLE_EQ(r->FlowMalCorr, kNotApplicable);  // a back-pass call has none
}

TEST(DesignConditions, BackPassMainUnderPerforatedCanopyAddsBothFans) {
    // Main back-pass (PressExtra 0, inlet 20 C) with its flow share, then the perforated canopy with
    // its share and the system pressure; each call sees one of the two fans (half width, half flow).
    auto r = MakeHour(1);
    r->MainKind = 2;
    r->MainAbsorptance = 0.95f;
    r->CanopyKind = 1;
    r->CanopyHeight = 1;
    r->CanopyWidth = 20;
    r->CanopyDepth = 1;
    r->CanopyAbsorptance = 0.9f;
    r->CanopyEmittance = 0.9f;
    r->AreaMain = 80;
    r->AreaCanopy = 20;
    r->CollArea = 100;
    r->CollHeight = 4;
    r->NumFans = 2;
    r->WindFactor = 0.35f;
    r->PressExtra = 150;
    r->Thickness = 0.8f;
    r->FlowShareMain = 2.4f;
    r->FlowShareCanopy = 0.6f;
    const CDirect bp = DesignBP(*r, 4, 20, 0.2f, r->MainAbsorptance, r->MainEmittance, 2.4f, 0.0, 20.0,
                                 false, 2);
    const CDirect tp = DesignTP(*r, 1, 20, 1, r->CanopyAbsorptance, r->CanopyEmittance, 0.6f, 150, 2);
    ASSERT_GT(bp.fan, 0);
    ASSERT_GT(tp.fan, 0);
    EXPECT_NEAR(DesignFanEnergy(*r), (bp.fan + tp.fan) * 3.6, 1e-4 * (bp.fan + tp.fan) * 3.6);
}

// ------------------------------------------------------------------ imposed (alternate input) values

namespace {

// Activates the alternate input with no value anywhere, then imposes `v` for `key` at the hour.
void Impose(CWallRun& r, EAltKey key, float v) {
    if (!r.AltInputActive) {
        ClearAltInput(r.Control.Alt);
        r.AltInputActive = 1;
    }
    r.Control.Alt.Table[static_cast<int>(key)][r.Day - 1][r.Hour - 1] = v;
}

}  // namespace

TEST(WallHeatBalance, ImposedCollectorTemperature) {
    // tcoll 10 C at 1000 kg/h, 0 C outside, 20 C inside, UAWall 150:
    //  without twall: T' = (5 x 1000 x 10 + 0 - 3 x 150 x 20) / (5000 - 300) = 8.7234,
    //                 QColl = 8723.4, QRecap = 10000 - 8723.4 = 1276.6;
    //  with twall 15: QRecap = 0.6 x 150 x 5 = 450, QColl = 10000 - 450 = 9550.
    // The closing steps do not run: TColl stays exactly 10 and the process heater keeps QRecap.
    struct Case { float twall; double qColl, qRecap; };
    const Case cases[] = {{-9999.0f, 8723.404, 1276.596}, {15.0f, 9550.0, 450.0}};
    for (const Case& c : cases) {
        auto r = MakeHour(3);
        Impose(*r, EAltKey::TColl, 10.0f);
        if (c.twall > -999) Impose(*r, EAltKey::TWall, c.twall);
        WallHeatBalance(*r);
        EXPECT_EQ(r->TColl, 10.0f);
        EXPECT_NEAR(r->QColl, c.qColl, 0.01);
        EXPECT_NEAR(r->QRecap, c.qRecap, 0.01);
        EXPECT_FLOAT_EQ(r->QRad, -99.9f);
    }
}

TEST(AppModels, ImposedFreshAirShare) {
    // Ventilation, "fracfresh" 0.5 of 5000 kg/h: 2500 kg/h through the collector, no search; the supply
    // mixes it half and half with room air (20 C) plus the fan rise 500 / 5000.
    auto v = MakeHour(2);
    AllHoursOn(*v, 1);
    v->FlowDesign = 5000;
    v->QFanDesign = 500;
    v->MinOAFraction = 0.2f;
    Impose(*v, EAltKey::FracFresh, 0.5f);
    VentilationModel(*v);
    EXPECT_FLOAT_EQ(v->FlowColl, 2500);
    EXPECT_NEAR(v->TSupply, 0.5 * v->TColl + 0.5 * 20 + 0.1, 1e-4);

    // Destratification, "fracfresh" 0.25 of 4000 kg/h: 1000 kg/h, mixed 25/75 with the ceiling air
    // (25 C) plus the fan rise 400 / 4000. With an alternate input and no "fexhaust", the exhaust
    // flow is the design exhaust flow.
    auto d = MakeHour(1);
    AllHoursOn(*d, 1);
    d->FlowDesign = 4000;
    d->FlowExhaustDesign = 3000;
    d->QFanDesign = 400;
    Impose(*d, EAltKey::FracFresh, 0.25f);
    DestratModel(*d);
    EXPECT_FLOAT_EQ(d->FlowColl, 1000);
    EXPECT_FLOAT_EQ(d->Bypass, 1);
    EXPECT_NEAR(d->TSupply, 0.25 * d->TColl + 0.75 * 25 + 0.1, 1e-4);
    EXPECT_FLOAT_EQ(d->FlowExhaust, 3000);

    // Without an alternate input the hour's exhaust flow is not formed.
    auto n = MakeHour(1);
    AllHoursOn(*n, 1);
    n->FlowDesign = 4000;
    n->FlowExhaustDesign = 3000;
    DestratModel(*n);
    EXPECT_FLOAT_EQ(n->FlowExhaust, kNotComputed);
}

TEST(AppModels, ImposedProcessFlowsAndSkippedHours) {
    // Process heater with "fcoll" 500 l/s: the balance runs on 500 x 3.6 x 1.25 = 2250 kg/h (half
    // the test flow: F'UL = -12.5 ln(1 - 800 / 1250) = 12.770, r = [0.4894 (1 - e^-2.0433)] /
    // [0.9788 (1 - e^-1.0216)] = 0.6800, QColl = 97920), the reported flow is the supply flow, and
    // the supply air is the collected heat spread over the whole supply flow.
    auto p = MakeHour(3);
    AllHoursOn(*p, 1);
    UseTestData(*p);
    p->FlowDesign = 4500;
    p->TSupplyMin = 10;
    p->TSupplyMaxUseful = 100;
    Impose(*p, EAltKey::FColl, 500.0f);
    ProcessModel(*p);
    EXPECT_FLOAT_EQ(p->FlowColl, 4500);
    EXPECT_NEAR(p->QColl, 97920.0, 1.0);
    EXPECT_FLOAT_EQ(p->QAux, 0);
    EXPECT_NEAR(p->TSupply, p->QColl / 4500, 1e-4);

    // "bypass" 0: one balance without flow (the insulation effect, cleared for this application)
    // and no collector flow reported.
    auto b = MakeHour(3);
    AllHoursOn(*b, 1);
    b->FlowDesign = 4500;
    Impose(*b, EAltKey::Bypass, 0.0f);
    ProcessModel(*b);
    EXPECT_FLOAT_EQ(b->FlowColl, 0);
    EXPECT_FLOAT_EQ(b->QRecap, 0);
    EXPECT_FLOAT_EQ(b->QColl, 0);

    // "simulate" 0: the model returns with the reset values.
    for (int type = 1; type <= 3; ++type) {
        auto s = MakeHour(type);
        AllHoursOn(*s, 1);
        s->FlowDesign = 4500;
        s->QFanDesign = 100;
        Impose(*s, EAltKey::Simulate, 0.0f);
        if (type == 1) DestratModel(*s);
        else if (type == 2) VentilationModel(*s);
        else ProcessModel(*s);
        EXPECT_FLOAT_EQ(s->QFan, 0) << type;
        EXPECT_FLOAT_EQ(s->FlowColl, 0) << type;
        EXPECT_FLOAT_EQ(s->TFloor, kNotComputed) << type;
        EXPECT_FLOAT_EQ(s->Bypass, kNotApplicable) << type;
    }
}
