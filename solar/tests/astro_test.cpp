#include "solar/astro.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

constexpr double kDeg = ASTRO_PI / 180.0;

// Day 1: Gamma = 0, so every sine term vanishes.
//   delta = 0.006918 - 0.399912 - 0.006758 - 0.002697 = -0.402449 rad
//   E0 = 1.00011 + 0.034221 + 0.000719 = 1.03505; I0n = 1367 E0 = 1414.91335 W/m2
TEST(Astro, DayOneValues) {
    EXPECT_DOUBLE_EQ(ASTRO_DayAngle(1), 0.0);
    EXPECT_NEAR(ASTRO_Declination(1), -0.402449, 1e-12);
    EXPECT_NEAR(ASTRO_EccentricityFactor(1), 1.03505, 1e-12);
    EXPECT_NEAR(ASTRO_ExtraterrestrialNormal(1), 1414.91335, 1e-8);
    EXPECT_NEAR(ASTRO_DayAngle(366), ASTRO_TWO_PI, 1e-15);
}

// Through the year every term of both series counts. Expected values: Spencer's series evaluated
// independently (Python, double precision); they are close to the equinox (0), solstices
// (+-0.41 rad) and the aphelion/perihelion extremes of E0.
TEST(Astro, SpencerSeriesThroughTheYear) {
    const struct { int n; double delta, E0; } cases[] = {
        {80, -0.001150591502, 1.007900125334},
        {172, 0.409315420330, 0.967442787916},
        {264, 0.017908363617, 0.991912782434},
        {355, -0.408754198046, 1.034117974055},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ASTRO_Declination(c.n), c.delta, 1e-11) << c.n;
        EXPECT_NEAR(ASTRO_EccentricityFactor(c.n), c.E0, 1e-11) << c.n;
        EXPECT_NEAR(ASTRO_ExtraterrestrialNormal(c.n), 1367 * c.E0, 1e-8) << c.n;
    }
}

TEST(Astro, HourAngle) {
    EXPECT_DOUBLE_EQ(ASTRO_HourAngle(12.0), 0.0);
    EXPECT_NEAR(ASTRO_HourAngle(6.0), -ASTRO_HALF_PI, 1e-15);
    EXPECT_NEAR(ASTRO_HourAngle(13.0), 15.0 * kDeg, 1e-15);
}

// At solar noon the sun stands in the meridian: zenith = phi - delta, azimuth 0 (south) north of
// the sun and +-pi south of it; half an hour later it has moved west (positive azimuth).
TEST(Astro, NoonAndAfternoonSunPosition) {
    const double phi = 45.0 * kDeg;
    const double delta = ASTRO_Declination(172);
    EXPECT_NEAR(delta, 0.409, 0.001);
    double z = 0, a = 0;
    ASTRO_SunPosition(172, 12.0, phi, z, a);
    EXPECT_NEAR(z, phi - delta, 1e-12);
    EXPECT_NEAR(a, 0.0, 1e-12);
    ASTRO_SunPosition(172, 12.5, phi, z, a);
    EXPECT_GT(a, 0.0);
    EXPECT_GT(z, phi - delta);
    ASTRO_SunPosition(172, 11.5, phi, z, a);
    EXPECT_LT(a, 0.0);

    // Equator at the June solstice: the noon sun is north of the zenith.
    ASTRO_SunPosition(172, 12.0, 0.0, z, a);
    EXPECT_NEAR(std::fabs(a), ASTRO_PI, 1e-12);
    EXPECT_NEAR(z, delta, 1e-12);

    // A sun below the horizon at midnight.
    ASTRO_SunPosition(172, 0.0, phi, z, a);
    EXPECT_NEAR(z, ASTRO_PI - (phi + delta), 1e-12);
}

TEST(Astro, SunAnglesClampAtZenith) {
    double z = 1, a = 1;
    ASTRO_SunAngles(0.3, 0.0, 0.3, z, a);  // sun exactly overhead
    EXPECT_DOUBLE_EQ(z, 0.0);
    ASTRO_SunAngles(-0.3, ASTRO_PI, 0.3, z, a);  // antipode: directly below
    EXPECT_NEAR(z, ASTRO_PI, 1e-7);
}

// x = -tan(phi) tan(delta): beyond +1 polar night (0), beyond -1 midnight sun (pi).
struct SunsetCase {
    double phi_deg;
    int day;
    double omega_s;
    double hours;
};
TEST(Astro, SunsetHourAngleAndDayLength) {
    const SunsetCase cases[] = {
        {80.0, 355, 0.0, 0.0},        // polar night
        {80.0, 172, ASTRO_PI, 24.0},  // midnight sun
        {-80.0, 172, 0.0, 0.0},
        {-80.0, 355, ASTRO_PI, 24.0},
        {0.0, 172, ASTRO_HALF_PI, 12.0},  // equator: 12 h every day
        {90.0, 80, -1, -1},               // pole near the equinox: any value, no crash
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "phi " << c.phi_deg << " day " << c.day);
        const double delta = ASTRO_Declination(c.day);
        const double ws = ASTRO_SunsetHourAngle(c.phi_deg * kDeg, delta);
        const double n = ASTRO_DayLength(c.phi_deg * kDeg, delta);
        if (c.omega_s < 0) {
            EXPECT_TRUE(ws >= 0.0 && ws <= ASTRO_PI);
            continue;
        }
        EXPECT_NEAR(ws, c.omega_s, 1e-12);
        EXPECT_NEAR(n, c.hours, 1e-12);
    }
    // 45 N at the June solstice: arccos(-tan 45 tan delta), about 15.4 h.
    const double delta = ASTRO_Declination(172);
    EXPECT_NEAR(ASTRO_SunsetHourAngle(45 * kDeg, delta), std::acos(-std::tan(delta)), 1e-12);
    EXPECT_NEAR(ASTRO_DayLength(45 * kDeg, delta), 15.4, 0.1);
}

// Kasten: m = 1 / (cos z + 0.15 (93.885 - z[deg])^-1.253); at z = 0 that is
// 1 / (1 + 0.15 * 93.885^-1.253) = 0.999494 (the formula, not 1); from the horizon down
// 1 / (0.15 * 3.885^-1.253) = 36.5103.
TEST(Astro, KastenAirMass) {
    EXPECT_NEAR(ASTRO_AirMass(0.0), 0.999494, 1e-6);
    EXPECT_NEAR(ASTRO_AirMass(ASTRO_HALF_PI), 36.5103, 1e-4);
    EXPECT_DOUBLE_EQ(ASTRO_AirMass(2.0), ASTRO_AirMass(ASTRO_HALF_PI));
    EXPECT_DOUBLE_EQ(ASTRO_AirMass(ASTRO_PI), ASTRO_AirMass(ASTRO_HALF_PI));
    // 60 degrees: 1 / (0.5 + 0.15 * 33.885^-1.253) = 1.9927
    EXPECT_NEAR(ASTRO_AirMass(60 * kDeg), 1.0 / (0.5 + 0.15 * std::pow(33.885, -1.253)), 1e-12);
    EXPECT_NEAR(ASTRO_AirMass(60 * kDeg), 1.9927, 1e-4);
}

}  // namespace
