#include "solar/astro.h"

#include <cmath>

#include "solar/scl_error.h"

namespace {

bool DayInRange(int n) { return n >= 1 && n <= 365; }
// Written so that a NaN fails the check as well.
bool LatitudeInRange(double phi) { return phi >= -ASTRO_HALF_PI && phi <= ASTRO_HALF_PI; }

}  // namespace

double ASTRO_DayAngle(int n) { return ASTRO_TWO_PI * (n - 1) / 365.0; }

double ASTRO_Declination(int n) {
    SCL_CHECK(DayInRange(n), 1);
    const double g = ASTRO_DayAngle(n);
    return 0.006918 - 0.399912 * std::cos(g) + 0.070257 * std::sin(g) -
           0.006758 * std::cos(2 * g) + 0.000907 * std::sin(2 * g) -
           0.002697 * std::cos(3 * g) + 0.00148 * std::sin(3 * g);
}

double ASTRO_HourAngle(double t) { return (t - 12.0) * ASTRO_PI_OVER_12; }

void ASTRO_SunPosition(int n, double t, double phi, double& zenith, double& azimuth) {
    SCL_CHECK(DayInRange(n), 1);
    SCL_CHECK(LatitudeInRange(phi), 8);
    ASTRO_SunAngles(ASTRO_Declination(n), ASTRO_HourAngle(t), phi, zenith, azimuth);
}

void ASTRO_SunAngles(double delta, double omega, double phi, double& zenith, double& azimuth) {
    SCL_CHECK(LatitudeInRange(phi), 8);
    const double sin_phi = std::sin(phi), cos_phi = std::cos(phi);
    const double sin_delta = std::sin(delta), cos_delta = std::cos(delta);
    const double cos_omega = std::cos(omega);
    double c = sin_phi * sin_delta + cos_phi * cos_delta * cos_omega;
    if (c >= 1.0) c = 1.0;
    if (c <= -1.0) c = -1.0;
    zenith = std::acos(c);
    azimuth = std::atan2(cos_delta * std::sin(omega), sin_phi * cos_delta * cos_omega - cos_phi * sin_delta);
}

double ASTRO_EccentricityFactor(int n) {
    SCL_CHECK(DayInRange(n), 1);
    const double g = ASTRO_DayAngle(n);
    return 1.00011 + 0.034221 * std::cos(g) + 0.00128 * std::sin(g) + 0.000719 * std::cos(2 * g) +
           0.000077 * std::sin(2 * g);
}

double ASTRO_ExtraterrestrialNormal(int n) {
    SCL_CHECK(DayInRange(n), 1030);
    return ASTRO_SOLAR_CONSTANT * ASTRO_EccentricityFactor(n);
}

double ASTRO_AirMass(double zenith) {
    SCL_CHECK(zenith >= 0.0 && zenith <= ASTRO_PI, 1025);
    if (zenith >= ASTRO_HALF_PI) return 1.0 / (0.15 * std::pow(3.885, -1.253));
    return 1.0 / (std::cos(zenith) + 0.15 * std::pow(93.885 - zenith * ASTRO_RAD_TO_DEG, -1.253));
}

double ASTRO_SunsetHourAngle(double phi, double delta) {
    SCL_CHECK(LatitudeInRange(phi), 8);
    const double x = -std::tan(phi) * std::tan(delta);
    if (x > 1.0) return 0.0;
    if (x < -1.0) return ASTRO_PI;
    return std::acos(x);
}

double ASTRO_DayLength(double phi, double delta) {
    return 2.0 * ASTRO_SunsetHourAngle(phi, delta) * ASTRO_RAD_TO_DEG / 15.0;
}
