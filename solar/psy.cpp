#include "solar/psy.h"

#include <cmath>

#include "solar/scl_error.h"

namespace {

constexpr double kMolRatio = 0.62198;

bool FractionInRange(double phi) { return phi >= 0.0 && phi <= 1.0; }

}  // namespace

double PSY_SatPressure(double t) {
    SCL_CHECK(t >= -100.0 && t <= 200.0, 1543);
    const double T = t + 273.15;
    double ln_pws;
    if (t <= 0.0) {
        ln_pws = -5674.5359 / T + 6.3925247 - 0.009677843 * T + 6.2215701e-7 * T * T +
                 2.0747825e-9 * T * T * T - 9.484024e-13 * T * T * T * T + 4.1635019 * std::log(T);
    } else {
        ln_pws = -5800.2206 / T + 1.3914993 - 0.048640239 * T + 4.1764768e-5 * T * T -
                 1.4452093e-8 * T * T * T + 6.5459673 * std::log(T);
    }
    return std::exp(ln_pws);
}

double PSY_SatHumRatio(double t, double p) {
    const double pws = PSY_SatPressure(t);
    return kMolRatio * pws / (p - pws);
}

double PSY_VapPressureFromRelHum(double t, double phi) {
    SCL_CHECK(FractionInRange(phi), 1537);
    return phi * PSY_SatPressure(t);
}

double PSY_HumRatioFromVapPressure(double pw, double p) {
    SCL_CHECK(pw >= 0.0, 1539);
    return kMolRatio * pw / (p - pw);
}

double PSY_HumRatioFromRelHum(double t, double phi, double p) {
    SCL_CHECK(FractionInRange(phi), 1537);
    return PSY_HumRatioFromVapPressure(PSY_VapPressureFromRelHum(t, phi), p);
}

double PSY_HumRatioFromWetBulb(double t, double tstar, double p) {
    SCL_CHECK(tstar <= t, 1541);
    const double ws_star = PSY_SatHumRatio(tstar, p);
    return ((2501.0 - 2.381 * tstar) * ws_star - (t - tstar)) /
           (2501.0 + 1.805 * t - 4.186 * tstar);
}
