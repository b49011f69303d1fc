// The small rules of the run: calendar, bypass input, system pressure, hole pitch, collector tables,
// daylight fraction, the tolerant comparison and the azimuth range.

#include <gtest/gtest.h>

#include "engine/sim/run_wall.h"
#include "engine/sim/simulate.h"

TEST(Calendar, HalfMonthOfDay) {
    // First halves are days 1-15 of a month, 1-14 in February.
    const struct { int day, k; } cases[] = {
        {1, 0}, {15, 0}, {16, 1}, {31, 1}, {32, 2}, {45, 2}, {46, 3}, {59, 3}, {60, 4},
        {74, 4}, {75, 5}, {181, 11}, {182, 12}, {334, 21}, {335, 22}, {349, 22}, {350, 23}, {365, 23}};
    for (const auto& c : cases) EXPECT_EQ(HalfMonthOfDay(c.day), c.k) << "day " << c.day;
}

TEST(RunInputs, BypassInput) {
    CCollectorSpec c;
    CAirSystem a;
    a.minSupplyTemp = 15.0f;
    c.bypassType = 0;
    c.bypassTemp = 10.0f;
    EXPECT_FLOAT_EQ(TBypass(c, a), 9999.9f);
    c.bypassType = 1;
    EXPECT_FLOAT_EQ(TBypass(c, a), 15.05f);
    c.bypassType = 2;
    c.bypassTemp = 18.0f;
    EXPECT_FLOAT_EQ(TBypass(c, a), 18.0f);
    c.bypassTemp = 15.0f;  // equal is not below
    EXPECT_FLOAT_EQ(TBypass(c, a), 15.0f);
}

TEST(RunInputs, SystemPressure) {
    // Hand calculation (rho 1.2): types 2 and 3 at 1000 l/s through a 1 m x 1 m damper, tapered
    // inlet: v = 1 m/s, inlet loss 0.5 x 1.2 x 1 / 2 = 0.3 Pa, plus the 125 Pa of the ducts; a flow
    // straightener multiplies by 1.2. Type 1, two 1 m ducts of 100 m: straight (theta 0) 0.6572 Pa,
    // at 35 degrees 0.7361 Pa, and 0.5561 Pa with the plain inlet (K = 0.2, inlet loss 0.12 Pa); a
    // second design (3000 l/s, 2 m2 damper, 0.8 m ducts of 60 m, straightener) 7.6295 Pa.
    struct Case { int type; int straightener, tapered; float flow, dw, dh, diam, len; double expect; };
    const Case cases[] = {
        {2, 0, 1, 1000, 1, 1, 1, 100, 125.3},   {2, 1, 1, 1000, 1, 1, 1, 100, 150.36},
        {3, 0, 1, 1000, 1, 1, 1, 100, 125.3},   {3, 1, 0, 1000, 1, 1, 1, 100, (125 + 0.12) * 1.2},
        {1, 1, 1, 1000, 1, 1, 1, 100, 0.65721}, {1, 0, 1, 1000, 1, 1, 1, 100, 0.73607},
        {1, 0, 0, 1000, 1, 1, 1, 100, 0.55607}, {1, 1, 1, 3000, 2, 1, 0.8f, 60, 7.62947},
    };
    for (const Case& c : cases) {
        CAirSystem a;
        CCollectorSpec s;
        a.flowStraightener = c.straightener;
        a.taperedInlet = c.tapered;
        a.designFlow = c.flow;
        a.ductDiameter = c.diam;
        a.ductLength = c.len;
        a.ductPressureDrop = 125.0f;
        s.damperWidth = c.dw;
        s.damperHeight = c.dh;
        EXPECT_NEAR(SystemPressure(a, s, c.type), c.expect, 2e-4 * c.expect)
            << "type " << c.type << " straightener " << c.straightener;
    }
}

TEST(RunSetup, HolePitch) {
    const struct { float porosity, flowPerArea, pitch; } cases[] = {
        {0.01f, 0, 11}, {0.005f, 0, 16}, {0.0025f, 0, 22},
        // Any other porosity takes the pitch of the porosity the rule gives for the wall.
        {0.05f, 40, 11}, {0.05f, 30, 16}, {0.05f, 25, 22}, {0.007f, 10, 22}};
    for (const auto& c : cases)
        EXPECT_EQ(HolePitchForPorosity(c.porosity, c.flowPerArea), c.pitch) << c.porosity;
}

TEST(RunSetup, CollectorAndCanopyTables) {
    struct Case { bool canopy; int type; int kind; float absorptance; };
    const Case cases[] = {
        {false, 0, 1, 0.95f}, {false, 2, 1, 0.85f}, {false, 3, 1, 0.9f}, {false, 6, 1, 0.3f},
        {false, 7, 2, 0.95f}, {false, 9, 2, 0.9f},  {false, 10, 2, 0.85f}, {false, 14, 3, 0.95f},
        // As a canopy the perforated "Brown" and "Bronze" swap: canopy 3 is 0.9, canopy 4 is 0.85.
        {true, 1, 1, 0.95f}, {true, 3, 1, 0.9f}, {true, 4, 1, 0.85f}, {true, 10, 2, 0.9f},
        {true, 11, 2, 0.85f}, {true, 14, 2, 0.3f}, {true, 15, 3, 0.95f}};
    for (const Case& c : cases) {
        std::int16_t kind = -1;
        float a = -1, e = -1;
        if (c.canopy) CanopyTypeProperties(c.type, kind, a, e);
        else CollectorTypeProperties(c.type, kind, a, e);
        EXPECT_EQ(kind, c.kind) << (c.canopy ? "canopy " : "collector ") << c.type;
        EXPECT_FLOAT_EQ(a, c.absorptance) << (c.canopy ? "canopy " : "collector ") << c.type;
        EXPECT_FLOAT_EQ(e, 0.9f);
    }
    std::int16_t kind = 5;
    float a = 0.5f, e = 0.5f;
    CanopyTypeProperties(0, kind, a, e);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(a, 0.5f);  // left unset
}

TEST(RunSetup, DaylightFraction) {
    // A 12-hour day: sunrise 6, sunset 18. Hour 6 has its midpoint f = 5.5 exactly half an hour
    // before sunrise, which counts as outside the twilight band: 0; hour 7 is 1. A 12.6-hour day
    // (sunrise 5.7, sunset 18.3) gives hour 6: 5.5 - 5.7 + 0.5 = 0.3 and hour 19: 18.3 - 18.5 + 0.5
    // = 0.3. A 0.4-hour day (11.8 to 12.2) gives hour 12: 11.5 - 11.8 + 0.5 = 0.2.
    const struct { float len; int hour; float expect; } cases[] = {
        {12, 6, 0}, {12, 7, 1}, {12, 12, 1}, {12, 18, 1}, {12, 19, 0}, {12.6f, 6, 0.3f},
        {12.6f, 19, 0.3f}, {0, 12, 0}, {24, 1, 1}, {24, 24, 1}, {0.4f, 12, 0.2f}, {0.4f, 13, 0.2f}};
    for (const auto& c : cases)
        EXPECT_NEAR(DaylightFraction(c.len, c.hour), c.expect, 1e-5) << c.len << " h, hour " << c.hour;
}

TEST(RunSetup, CompareTolAndAzimuth) {
    EXPECT_EQ(CompareTol(1.0, 1.0 + 5e-8), 0);
    EXPECT_EQ(CompareTol(1.0, 1.0 + 2e-7), -1);
    EXPECT_EQ(CompareTol(1.0 + 2e-7, 1.0), 1);
    const struct { double in, out; } az[] = {{0, 0}, {270, -90}, {-270, 90}, {180, 180}, {-180, -180},
                                               {540, 180}, {90, 90}, {-450, -90}};
    for (const auto& c : az) EXPECT_DOUBLE_EQ(NormalizeAzimuth(c.in), c.out) << c.in;
}
