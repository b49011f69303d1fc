#include "solar/psy.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

// Saturation pressure against the ASHRAE Handbook table (Hyland-Wexler): 2338.8 Pa at 20 C over
// water, 259.9 Pa at -10 C over ice, 611.15 Pa at 0 C over ice; 7383.5 Pa at 40 C and
// 101418.7 Pa at 100 C from the water formula evaluated by hand.
TEST(Psy, SaturationPressureTable) {
    const struct { double t, pws, tol; } cases[] = {
        {20.0, 2338.8, 0.1}, {-10.0, 259.9, 0.1}, {40.0, 7383.46, 0.01}, {0.0, 611.15, 0.05},
        {-40.0, 12.84, 0.01}, {100.0, 101418.7, 0.1},
    };
    for (const auto& c : cases) EXPECT_NEAR(PSY_SatPressure(c.t), c.pws, c.tol) << c.t;
}

// t = 0 belongs to the ice branch: the two branches differ there by about 0.04 Pa, so the value
// at 0 must equal the ice curve's continuation and not the water curve's.
TEST(Psy, ZeroDegreesUsesIceBranch) {
    const double below = PSY_SatPressure(-1e-9);
    const double above = PSY_SatPressure(1e-9);
    EXPECT_NEAR(PSY_SatPressure(0.0), below, 1e-6);
    EXPECT_GT(std::fabs(above - below), 1e-3);
}

// 20 C, 50 %, 101325 Pa: pw = 0.5 * 2338.8 = 1169.4 Pa;
// W = 0.62198 * 1169.4 / (101325 - 1169.4) = 0.007262
TEST(Psy, HumidityRatio) {
    EXPECT_NEAR(PSY_VapPressureFromRelHum(20.0, 0.5), 1169.4, 0.05);
    EXPECT_NEAR(PSY_HumRatioFromRelHum(20.0, 0.5, 101325.0), 0.007262, 5e-7);
    EXPECT_NEAR(PSY_HumRatioFromVapPressure(1169.4, 101325.0), 0.62198 * 1169.4 / 100155.6, 1e-12);
    EXPECT_DOUBLE_EQ(PSY_HumRatioFromRelHum(20.0, 0.0, 101325.0), 0.0);
    EXPECT_DOUBLE_EQ(PSY_HumRatioFromRelHum(20.0, 1.0, 101325.0), PSY_SatHumRatio(20.0, 101325.0));
}

TEST(Psy, WetBulb) {
    // A wet bulb equal to the dry bulb means saturated air.
    for (double t : {-20.0, 0.0, 15.0, 35.0})
        EXPECT_NEAR(PSY_HumRatioFromWetBulb(t, t, 101325.0), PSY_SatHumRatio(t, 101325.0), 1e-15) << t;
    // 30 C dry bulb, 20 C wet bulb at 101325 Pa:
    // Ws(20) = 0.62198 * 2338.80 / (101325 - 2338.80) = 0.0146961
    // W = ((2501 - 47.62) * 0.0146961 - 10) / (2501 + 54.15 - 83.72) = 0.0105423
    EXPECT_NEAR(PSY_HumRatioFromWetBulb(30.0, 20.0, 101325.0), 0.0105423, 2e-7);
}

}  // namespace
