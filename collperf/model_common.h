// Constants, the optional-input convention and the sky model shared by the transpired and the
// back-pass collector models. Internal to collperf.
#pragma once

#include <cmath>
#include <cstdint>

namespace collperf {

constexpr double kKelvin = 273.15;
constexpr double kSigma = 5.67051e-8;  // Stefan-Boltzmann [W/(m2 K4)]
constexpr double kCpAir = 1007.0;      // specific heat of air [J/(kg K)]
constexpr double kGravity = 9.80665;   // [m/s2]
constexpr double kMolarRatio = 0.62198;  // water vapour / dry air
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;

// Thermal results of one collector balance, the same for both models.
struct CollectorThermal {
    double Eff;       // [-]
    double QColl;     // [W]
    double TColl;     // [C]
    double QRad;      // [W]
    double QConv;     // [W]
    double TSkyView;  // [C]
    double TPlate;    // [C]
};

// Sentinels written for results that are not formed.
constexpr double kNoTemperature = -99.9;
constexpr double kNoFlowMalCorr = -9.9;

// An optional override counts as given when it lies above -999; callers mark "not given" with
// -9999.9 (hourly) or -9999.0 (design conditions).
inline bool IsSupplied(double v) { return v > -999.0; }

// Inclusive range test; a NaN is out of every range.
inline bool InRange(double v, double lo, double hi) { return v >= lo && v <= hi; }

// Fraction of the sky under cloud, estimated from the hourly clearness index kt.
inline double CloudFraction(double kt)
{
    if (kt < 0.35)
        return 1.0;
    if (kt <= 0.75)
        return (1.577 - 1.84 * kt) * 1.215 - 0.215;
    return 0.0;
}

// Effective sky temperature [K] from the air temperature ta [K], the dew point td [C], the hour of
// the day and the cloud fraction. Clear-sky emissivity after Berdahl and Martin (1984), "Emissivity
// of clear skies", Solar Energy 32(5), with its diurnal cosine term; clouds radiate as a grey body at
// air temperature with emissivity 0.96.
inline double SkyTemperature(double ta, double td, int16_t hour, double cloud)
{
    const double epsClear =
        0.711 + 0.0056 * td + 0.000073 * td * td + 0.013 * std::cos(15.0 * kDegToRad * hour);
    const double tClear = ta * std::sqrt(std::sqrt(epsClear));
    const double tClear2 = tClear * tClear;
    const double ta2 = ta * ta;
    const double t4 = (1.0 - cloud) * tClear2 * tClear2 + 0.96 * cloud * ta2 * ta2;
    return std::sqrt(std::sqrt(t4));
}

// Water-vapour partial pressure [kPa] of air with humidity ratio w at total pressure p [kPa].
inline double VapourPressure(double p, double w) { return p * w / (kMolarRatio + w); }

}  // namespace collperf
