#pragma once
// Internal interface of the weather synthesis: the pieces the two exports are built from, open to
// the tests so that they can check the values before the output is truncated to whole Wh.

#include <cstdint>

namespace nimbra {

inline constexpr int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
inline constexpr int kMonthEnd[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
// Upper bound of the daily clearness distribution.
inline constexpr double kKtMax = 0.864;

// Day geometry of day n (1..365) at latitude phi [rad].
struct SDayGeometry {
    double decl = 0;    // declination [rad]
    double omegaS = 0;  // sunset hour angle [rad]: 0 without sunrise, pi without sunset
    double h0 = 0;      // daily extraterrestrial radiation on a horizontal surface [J/m2]
};
SDayGeometry DayGeometry(int n, double phi);

// Monthly stage: the twelve monthly clearness indices (1-based) and the monthly mean daily
// extraterrestrial radiation [J/m2]. Returns 0, 1 (unknown input kind) or 4 (a month limited).
int MonthlyClearness(int inputKind, const double* monthlyValues, double phi, double kt[13],
                     double h0Mean[13]);

// The process-wide random state of the synthesis: three linear congruential generators with a
// 100-slot shuffle table, and the spare deviate of the polar method. It is the one mutable
// thing the library keeps between calls.
struct SRandomState {
    int32_t i1 = 0, i2 = 0, i3 = 0;
    double table[100] = {};
    bool initialised = false;
    bool haveSpare = false;
    double spare = 0;
    uint64_t draws = 0;  // uniform deviates drawn so far (for tests and diagnostics)
};
SRandomState& ProcessRandomState();
// Uniform deviate in [0, 1); re-seeds when *seedVar is negative or the state is fresh.
double Uniform(SRandomState& st, int32_t* seedVar);
// Standard normal deviate (polar method, one spare kept in the state).
double Normal(SRandomState& st, int32_t* seedVar);

// Standard normal cumulative distribution.
double Phi(double y);
// ln Gamma(x) for x > 0 (six-term Lanczos series).
double LogGamma(double x);

// What the radiation synthesis saw along the way, for checks on the unrounded values.
struct SRadiationDetail {
    double monthKt[13] = {};      // monthly clearness actually used
    double monthH0[13] = {};      // mean daily extraterrestrial radiation [J/m2]
    int monthAttempts[13] = {};   // daily-stage attempts (0 for a month without data)
    double dayKt[366] = {};       // daily clearness index, days 1..365
    double dayH0[366] = {};       // daily extraterrestrial radiation [J/m2]
    double dayTotal[366] = {};    // sum of the day's hourly totals before truncation [J/m2]
    int dayAttempts[366] = {};    // hourly-stage attempts (0 for a day without sun or data)
    double hourKt[8761] = {};     // hourly clearness index, index 24(n-1)+h
};

// The radiation synthesis behind NIMBRA_Radiation, with an optional detail record.
int32_t Radiation(int32_t* hourlyRadiation, int32_t seed, int32_t mode, double latitude,
                  int32_t inputKind, const double* monthlyValues, SRandomState& st,
                  SRadiationDetail* detail);

}  // namespace nimbra

namespace nimbra {
// The typical-day temperatures behind NIMBRA_Temperature.
int32_t Temperature(double* typicalDayTemperatures, const double* monthlyMeanTemperatures,
                    double latitude, int32_t inputKind, const double* monthlyValues);
}  // namespace nimbra
