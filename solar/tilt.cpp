#include "solar/tilt.h"

#include <algorithm>
#include <cmath>

#include "solar/astro.h"
#include "solar/scl_error.h"

namespace {

constexpr double kKappa = 1.041;
constexpr double kEdges[7] = {1.065, 1.23, 1.5, 1.95, 2.8, 4.5, 6.2};
constexpr double kLimitAngle = 1.4835298641951802;  // 85 degrees

// F11 F12 F13 F21 F22 F23 for the eight clearness bins (Perez et al. 1990, all-site composite).
constexpr double kF[8][6] = {
    {-0.008, 0.588, -0.062, -0.060, 0.072, -0.022},
    {0.130, 0.683, -0.151, -0.019, 0.066, -0.029},
    {0.330, 0.487, -0.221, 0.055, -0.064, -0.026},
    {0.568, 0.187, -0.295, 0.109, -0.152, -0.014},
    {0.873, -0.392, -0.362, 0.226, -0.462, 0.001},
    {1.132, -1.237, -0.412, 0.288, -0.823, 0.056},
    {1.060, -1.600, -0.359, 0.264, -1.127, 0.131},
    {0.678, -0.327, -0.250, 0.156, -1.377, 0.251},
};

bool AzimuthInRange(double a) { return a >= -ASTRO_PI && a <= ASTRO_PI; }

}  // namespace

int TILT_PerezBin(double epsilon) {
    for (int i = 0; i < 7; ++i)
        if (epsilon <= kEdges[i]) return i;
    return 7;
}

double TILT_Perez(double Ib, double Id, double I0n, double zenith, double solar_azimuth, double m,
                  double beta, double gamma, double rho) {
    SCL_CHECK(Ib >= 0.0, 769);
    SCL_CHECK(Id >= 0.0, 769);
    SCL_CHECK(I0n >= 0.0, 769);
    SCL_CHECK(zenith >= 0.0 && zenith <= ASTRO_PI, 770);
    SCL_CHECK(AzimuthInRange(solar_azimuth), 771);
    SCL_CHECK(m >= 1.0, 774);
    SCL_CHECK(beta >= 0.0 && beta <= ASTRO_PI, 772);
    SCL_CHECK(AzimuthInRange(gamma), 771);
    SCL_CHECK(rho >= 0.0 && rho <= 1.0, 773);

    const double cos_z = std::cos(zenith);
    const double cos_b = std::cos(beta), sin_b = std::sin(beta);
    const double cos_inc = cos_b * cos_z + sin_b * std::sin(zenith) * std::cos(gamma - solar_azimuth);
    const double Gh = Ib + Id;

    if (Id <= 0.0 && Ib <= 0.0) return 0.0;
    if (zenith > ASTRO_HALF_PI) return Gh;

    // I0n = 0 passes the check; a sky without extraterrestrial light has no brightness term
    // rather than an infinite one.
    const double delta = I0n > 0.0 ? Id * m / I0n : 0.0;
    // With no diffuse light the sky is clearer than every edge.
    int bin = 7;
    if (Id > 0.0) {
        const double In = Ib / cos_z;
        const double epsilon = 1.0 + (In / Id) / (1.0 + kKappa * zenith * zenith * zenith);
        bin = TILT_PerezBin(epsilon);
    }
    const double* f = kF[bin];

    const double a = std::max(0.0, cos_inc);
    const double b = std::max(std::cos(kLimitAngle), cos_z);
    const double F1 = std::max(0.0, f[0] + f[1] * delta + f[2] * zenith);
    const double F2 = f[3] + f[4] * delta + f[5] * zenith;

    const double Dt = Id * ((1.0 - F1) * (1.0 + cos_b) / 2.0 + F1 * a / b + F2 * sin_b);
    double Bt = Ib * cos_inc / cos_z;
    if (!(Bt > 0.0)) Bt = 0.0;
    const double Rt = rho * (Ib + Id) * (1.0 - cos_b) / 2.0;
    return Bt + Dt + Rt;
}
