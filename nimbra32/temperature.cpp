// Typical-day air temperatures: a four-term Fourier shape of the diurnal variation whose
// amplitude grows with the monthly clearness index (Erbs, Klein and Beckman 1983, "Estimation of
// degree-days and ambient temperature bin data from monthly-average temperatures", ASHRAE
// Journal 25).

#include <cmath>

#include "nimbra32/synth.h"

namespace nimbra {

int32_t Temperature(double* out, const double* meanT, double phi, int32_t inputKind,
                    const double* monthlyValues) {
    double kt[13] = {}, h0Mean[13] = {};
    const int code = MonthlyClearness(inputKind, monthlyValues, phi, kt, h0Mean);
    if (code == 1) return 1;
    // The coefficients and pi are the single-precision values the shape was published with.
    static const float a[5] = {0.0f, 0.4632f, 0.0984f, 0.0168f, 0.0138f};
    static const float b[5] = {0.0f, 3.805f, 0.360f, 0.822f, 3.513f};
    const double pi = static_cast<double>(3.14159274f);
    for (int m = 1; m <= 12; ++m) {
        const double amplitude = 25.8 * kt[m] - 5.21;
        for (int h = 1; h <= 24; ++h) {
            const double t = (h - 1) * pi / 12.0;
            double s = 0.0;
            for (int k = 1; k <= 4; ++k) s += a[k] * std::cos(k * t - b[k]);
            out[24 * (m - 1) + h] = meanT[m] + amplitude * s;
        }
    }
    return code;
}

}  // namespace nimbra
