// Air properties and the sky model shared by both collectors.
#include <gtest/gtest.h>

#include "collperf/air_props.h"
#include "collperf/model_common.h"

namespace {

// Expected values evaluated by hand from the fits (double precision, python):
//   AtmPressure(z) = 101.315 (1 - 2.25577e-5 z)^5.2559
//   KinViscosity(20 C): T = 293.15 K, 1.114286e-10 T^2 + 2.746286e-8 T - 2.282571e-6
//   PrandtlNumber(20 C): 18.373184 / 293.15 + 0.645794
TEST(AirProps, FitsAtKnownPoints)
{
    EXPECT_DOUBLE_EQ(AtmPressure(0.0), 101.315);  // this model's sea level, not 101.325
    EXPECT_NEAR(AtmPressure(200.0), 98.93554935640199, 1e-11);
    EXPECT_NEAR(AtmPressure(1000.0), 89.86564949034403, 1e-11);
    EXPECT_NEAR(KinViscosity(20.0), 1.5343997371483496e-05, 1e-18);
    EXPECT_NEAR(PrandtlNumber(20.0), 0.7084690264369776, 1e-14);
    // Ideal-gas dry air at 20 C and 101.325 kPa: 101.325 / (293.15 * 0.287).
    EXPECT_NEAR(MoistAirDensity(20.0, 0.0, 101.325), 1.2043280930847857, 1e-12);
    // Water vapour is lighter: the same air at W = 0.01 is less dense by the factor 1 + 1.6078 W.
    EXPECT_NEAR(MoistAirDensity(20.0, 0.01, 101.325), 1.2043280930847857 / 1.016078, 1e-12);
}

TEST(AirProps, OutsideTheirRangeAnswerMinusOne)
{
    EXPECT_EQ(KinViscosity(-73.2), -1.0);  // below 200 K
    EXPECT_GT(KinViscosity(-73.0), 0.0);
    EXPECT_EQ(KinViscosity(127.0), -1.0);  // above 400 K
    EXPECT_GT(KinViscosity(126.7), 0.0);
    EXPECT_EQ(PrandtlNumber(-80.0), -1.0);
    EXPECT_EQ(PrandtlNumber(130.0), -1.0);
    EXPECT_EQ(AtmPressure(-1.0), -1.0);
}

// The dew point of air at its saturation pressure is that temperature (saturation pressures from the
// ASHRAE tables: 0.6112 kPa at 0 C, 2.339 kPa at 20 C, 0.2600 kPa at -10 C over ice).
TEST(AirProps, DewPointOfSaturatedAir)
{
    struct Case { double pw, td, tol; };
    const Case cases[] = {{0.6112, 0.0, 0.05}, {2.339, 20.0, 0.1}, {0.2600, -10.0, 0.3}};
    for (const Case& c : cases)
        EXPECT_NEAR(DewPointTemp(c.pw), c.td, c.tol) << "pw " << c.pw;
}

// Cloud fraction: 1 below kt 0.35; (1.577 - 1.84 kt) 1.215 - 0.215 on [0.35, 0.75] (both ends
// included): 0.918595 at 0.35 and 0.024355 at 0.75; 0 above 0.75.
TEST(SkyModel, CloudFractionBands)
{
    using collperf::CloudFraction;
    EXPECT_EQ(CloudFraction(0.0), 1.0);
    EXPECT_EQ(CloudFraction(0.3499), 1.0);
    EXPECT_NEAR(CloudFraction(0.35), 0.918595, 1e-12);
    EXPECT_NEAR(CloudFraction(0.75), 0.024355, 1e-12);
    EXPECT_EQ(CloudFraction(0.7501), 0.0);
    EXPECT_EQ(CloudFraction(1.0), 0.0);
}

TEST(SkyModel, SkyColderThanAirAndOvercastAtAir)
{
    const double ta = 283.15;
    const double clear = collperf::SkyTemperature(ta, 0.0, 12, 0.0);
    const double overcast = collperf::SkyTemperature(ta, 0.0, 12, 1.0);
    EXPECT_LT(clear, ta - 10.0);  // clear skies are well below air temperature
    EXPECT_GT(clear, ta - 40.0);
    EXPECT_NEAR(overcast, ta * std::sqrt(std::sqrt(0.96)), 1e-9);
    // Emissivity 0.711 + 0.013 cos(15 deg * hour) at a dew point of 0 C: noon is the lowest.
    EXPECT_NEAR(clear, ta * std::pow(0.711 + 0.013 * std::cos(collperf::kPi), 0.25), 1e-9);
    EXPECT_NEAR(collperf::SkyTemperature(ta, 0.0, 0, 0.0), ta * std::pow(0.724, 0.25), 1e-9);
}

}  // namespace
