// Synthetic hourly global radiation from monthly means.
//
// Daily clearness indices follow the modified-gamma distribution of Bendt, Collares-Pereira and
// Rabl (1981, "The frequency distribution of daily insolation values", Solar Energy 27) with the
// lag-one day-to-day correlation of Aguiar, Collares-Pereira and Conde (1988, "Simple procedure
// for generating sequences of daily radiation values using a library of Markov transition
// matrices", Solar Energy 40). Hourly clearness indices are drawn from a bounded beta
// distribution around the expected value of Graham and Hollands (1990, "A method to generate
// synthetic hourly solar radiation globally", Solar Energy 44), with lag-one hour-to-hour
// correlation. Everything is computed in double precision; the acceptance tests may therefore
// take a different number of attempts than an extended-precision build on the same seed.

#include <algorithm>
#include <cmath>

#include "nimbra32/synth.h"

namespace nimbra {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPiOver365 = 0.01721420632328767;
constexpr double kDeclMax = 0.4092797096461111;  // 23.45 degrees
// 86400/pi, formed as the original does from the single-precision value of pi/180.
const double kSecondsPerRadian = 480.0 / 0.0174532924;
constexpr double kHourAngleMid = 0.2617993878333334;  // pi/12 with pi = 3.141592654
constexpr double kHourAngleEdge = 0.26179938783333334;
constexpr double kHourlyI0 = 18797599.340197593;  // 1367 * 43200 / pi
constexpr double kDayLength = 7.6394372674134736;  // 24/pi hours per radian
constexpr int kDailyAttempts = 1001;
constexpr int kHourlyAttempts = 501;

// Cumulative modified-gamma distribution of the daily clearness for one monthly mean.
struct SDailyDistribution {
    double gamma = 0, c = 0, d = 0;
    double F(double k) const {
        return (std::exp(gamma * k) * (1.0 - d * k) - 1.0) * c / (gamma * d * kKtMax);
    }
};

SDailyDistribution MakeDistribution(double kt) {
    SDailyDistribution dist;
    const double e = kKtMax / (kKtMax - kt);
    dist.gamma = (2.0 * e - 1062.0 * std::exp(-5.0426 * e) - 17.519 * std::exp(-1.3118 * e)) / kKtMax;
    const double g = dist.gamma;
    dist.c = g * g * kKtMax / (std::exp(g * kKtMax) - g * kKtMax - 1.0);
    dist.d = g / (1.0 + g * kKtMax);
    return dist;
}

// Per-call memory of the last value found, for the rare draw that has no answer (a deviate far
// out in a tail). Before the first answer of a call the nearer end of the range serves.
struct SLastValue {
    bool have = false;
    double value = 0;
};

// Bisection for F(k) = u on [0, kmax], with the tolerance in probability.
double InvertDaily(const SDailyDistribution& dist, double u, SLastValue& last) {
    const double f0 = dist.F(0.0), f1 = dist.F(kKtMax);
    auto fallback = [&]() {
        if (last.have) return last.value;
        return std::fabs(u - f0) <= std::fabs(u - f1) ? 0.0 : kKtMax;
    };
    double low = 0.0, high = kKtMax;
    if (f1 >= f0) {
        if (u == f0) return 0.0;
        if (u == f1) return kKtMax;
    } else {
        std::swap(low, high);
    }
    double flow = dist.F(low), fhigh = dist.F(high);
    // Each step halves the interval; after 200 steps it holds no further double between its ends.
    for (int step = 0; step < 200; ++step) {
        const double mid = 0.5 * (low + high);
        const double fmid = dist.F(mid);
        if (std::fabs(fmid - u) < 0.001) return mid;
        if (flow < u && u < fmid) {
            high = mid;
            fhigh = fmid;
        } else if (fmid < u && u < fhigh) {
            low = mid;
            flow = fmid;
        } else {
            break;
        }
    }
    return fallback();
}

}  // namespace

SDayGeometry DayGeometry(int n, double phi) {
    SDayGeometry g;
    g.decl = kDeclMax * std::sin((n + 284) * kTwoPiOver365);
    const double x = -std::tan(phi) * std::tan(g.decl);
    if (x > 1.0)
        g.omegaS = 0.0;
    else if (x < -1.0)
        g.omegaS = kPi;
    else
        g.omegaS = std::acos(x);
    g.h0 = 1367.0 * kSecondsPerRadian * (1.0 + 0.033 * std::cos(n * kTwoPiOver365)) *
           (std::cos(phi) * std::cos(g.decl) * std::sin(g.omegaS) +
            g.omegaS * std::sin(phi) * std::sin(g.decl));
    if (g.h0 < 0.0) g.h0 = 0.0;  // rounding at the polar-night limit
    return g;
}

int MonthlyClearness(int inputKind, const double* monthlyValues, double phi, double kt[13],
                     double h0Mean[13]) {
    if (inputKind != 1 && inputKind != 2) return 1;
    int code = 0;
    for (int m = 1; m <= 12; ++m) {
        double sum = 0.0;
        for (int n = kMonthEnd[m - 1] + 1; n <= kMonthEnd[m]; ++n) sum += DayGeometry(n, phi).h0;
        h0Mean[m] = sum / kDaysInMonth[m];
        if (inputKind == 2) {
            const double hm = monthlyValues[m] * 1.0e6;
            kt[m] = (hm == 0.0 || h0Mean[m] == 0.0) ? 0.0 : hm / h0Mean[m];
            if (kt[m] > kKtMax) {
                kt[m] = 0.8;
                code = 4;
            }
        } else {
            // Given directly; at the bound the distribution has no meaning, so the same limit
            // applies as for a derived value.
            kt[m] = monthlyValues[m];
            if (kt[m] >= kKtMax) {
                kt[m] = 0.8;
                code = 4;
            }
        }
    }
    return code;
}

int32_t Radiation(int32_t* out, int32_t seed, int32_t mode, double phi, int32_t inputKind,
                  const double* monthlyValues, SRandomState& st, SRadiationDetail* detail) {
    double kt[13] = {}, h0Mean[13] = {};
    int32_t code = MonthlyClearness(inputKind, monthlyValues, phi, kt, h0Mean);
    if (code == 1) return 1;

    double h0Day[366] = {};
    SDayGeometry geo[366];
    for (int n = 1; n <= 365; ++n) {
        geo[n] = DayGeometry(n, phi);
        h0Day[n] = geo[n].h0;
    }

    int32_t seedVar = ~seed;  // -(seed + 1)

    // Daily stage.
    double dayKt[366] = {};
    SLastValue lastDay;
    const double rho = 0.29, innov = std::sqrt(0.9159);
    for (int m = 1; m <= 12; ++m) {
        const int first = kMonthEnd[m - 1] + 1, days = kDaysInMonth[m];
        int attempts = 0;
        if (kt[m] > 0.0 && h0Mean[m] > 0.0) {
            const SDailyDistribution dist = MakeDistribution(kt[m]);
            const double target = kt[m] * h0Mean[m];
            auto draw = [&](double y) {
                const double k = InvertDaily(dist, Phi(y), lastDay);
                lastDay.have = true;
                lastDay.value = k;
                return std::max(k, 0.03);
            };
            double k[31] = {};
            double y = Normal(st, &seedVar);
            for (int j = 0; j < days; ++j) {
                y = rho * y + innov * Normal(st, &seedVar);
                k[j] = draw(y);
            }
            for (attempts = 1; mode != 2; ++attempts) {
                double mean = 0.0;
                for (int j = 0; j < days; ++j) mean += h0Day[first + j] * k[j];
                mean /= days;
                if (std::fabs(mean - target) / target <= 0.01) break;
                if (attempts == kDailyAttempts) {
                    code = 2;
                    break;
                }
                std::copy(k + 1, k + days, k);
                y = rho * y + innov * Normal(st, &seedVar);
                k[days - 1] = draw(y);
            }
            std::copy(k, k + days, dayKt + first);
        }
        if (detail) {
            detail->monthKt[m] = kt[m];
            detail->monthH0[m] = h0Mean[m];
            detail->monthAttempts[m] = attempts;
        }
    }

    // Hourly stage.
    SLastValue lastHour;
    const double rhoH = 0.54, innovH = std::sqrt(0.7084);
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    for (int n = 1; n <= 365; ++n) {
        int32_t* dayOut = out + 24 * (n - 1);
        for (int h = 1; h <= 24; ++h) dayOut[h] = 0;
        const double Kt = dayKt[n], H0 = h0Day[n];
        double total = 0.0;
        int attempts = 0;
        double ktHour[25] = {};
        if (Kt != 0.0 && H0 * Kt != 0.0) {
            const double eps = 0.979 * (1.0 - Kt);
            const double kappa = 1.141 * (1.0 - Kt) / Kt;
            const double sigma = 0.16 * std::sin(kPi * Kt / 0.9);
            const double decl = geo[n].decl, ws = geo[n].omegaS;
            const double cc = cosPhi * std::cos(decl), ss = sinPhi * std::sin(decl);

            const double len = ws * kDayLength;
            const int last = std::min(static_cast<int>(12.0 + len / 2.0) + 1, 24);
            const int firstH = std::max(static_cast<int>(12.0 - len / 2.0) + 1, 1);

            double Y[25] = {};
            Y[1] = Normal(st, &seedVar);
            for (int h = 2; h <= 24; ++h) Y[h] = rhoH * Y[h - 1] + innovH * Normal(st, &seedVar);

            double E[25] = {}, I0[25] = {};
            const double ecc = 1.0 + 0.033 * std::cos(n * kTwoPiOver365);
            double sumIE = 0.0;
            for (int h = firstH; h <= last; ++h) {
                const double w = (h - 12.5) * kHourAngleMid;
                const double cosZ = cc * std::cos(w) + ss;
                double airMass = cosZ > 0.0 ? 1.0 / cosZ : 30.0;
                airMass = std::min(airMass, 30.0);
                E[h] = eps * std::exp(-kappa * airMass);
                const double w1 = std::max((h - 13) * kHourAngleEdge, -ws);
                const double w2 = std::min((h - 12) * kHourAngleEdge, ws);
                const double i0 = ecc * (cc * (std::sin(w2) - std::sin(w1)) + (w2 - w1) * ss) * kHourlyI0;
                I0[h] = i0 > 0.0 ? i0 : 0.0;
                sumIE += I0[h] * E[h];
            }
            const double lambda = Kt - sumIE / H0;

            // Bounded beta distribution of each daylight hour, tabulated on 21 points.
            double lower[25] = {}, width[25] = {}, T[25][21] = {};
            bool degenerate[25] = {};
            double fixedKt[25] = {};
            for (int h = firstH; h <= last; ++h) {
                const double ktm = lambda + E[h];
                lower[h] = std::max(ktm - 4.0 * sigma, 0.0);
                const double upper = std::min(ktm + 4.0 * sigma, 0.9);
                width[h] = upper - lower[h];
                const double mu = width[h] > 0.0 ? (ktm - lower[h]) / width[h] : 0.0;
                const double s = width[h] > 0.0 ? sigma / width[h] : 0.0;
                const double alpha = s > 0.0 ? mu * mu * (1.0 - mu) / (s * s) - mu : 0.0;
                const double beta = mu > 0.0 ? alpha * (1.0 - mu) / mu : 0.0;
                if (!(width[h] > 0.0 && mu > 0.0 && mu < 1.0 && alpha > 0.0 && beta > 0.0)) {
                    // An expected value at or beyond the ends of [0, 0.9] leaves no distribution
                    // to draw from; the hour takes its expected value, kept within the range.
                    degenerate[h] = true;
                    fixedKt[h] = std::clamp(ktm, 0.0, 0.9);
                    continue;
                }
                const double lnNorm = LogGamma(alpha + beta) - LogGamma(alpha) - LogGamma(beta);
                auto density = [&](double x) {
                    if (x <= 0.0 || x >= 1.0) return 0.0;
                    return std::exp((alpha - 1.0) * std::log(x) + (beta - 1.0) * std::log(1.0 - x) + lnNorm);
                };
                double x = 0.0, px = density(0.0);
                T[h][0] = 0.0;
                for (int i = 1; i <= 19; ++i) {
                    x += 0.05;
                    const double p = density(x);
                    T[h][i] = T[h][i - 1] + 0.025 * (px + p);
                    px = p;
                }
                T[h][20] = 1.0;
            }

            const double want = Kt * H0;
            double G[25] = {};
            for (attempts = 1;; ++attempts) {
                total = 0.0;
                for (int h = firstH; h <= last; ++h) {
                    double kth = fixedKt[h];
                    if (!degenerate[h]) {
                        const double u = Phi(Y[h]);
                        bool found = false;
                        double x = 0.0;
                        for (int i = 0; i < 20; ++i) {
                            const double a = T[h][i], b = T[h][i + 1];
                            if (a <= u && u <= b) {
                                x = b > a ? 0.05 * i + 0.05 * (u - a) / (b - a) : 0.05 * i;
                                found = true;
                            }
                        }
                        if (!found) x = lastHour.have ? lastHour.value : (u < 0.5 ? 0.0 : 1.0);
                        lastHour.have = true;
                        lastHour.value = x;
                        kth = lower[h] + width[h] * x;
                    }
                    ktHour[h] = kth;
                    G[h] = I0[h] * kth;
                    total += G[h];
                }
                if (std::fabs(total - want) / want <= 0.03) break;
                if (attempts == kHourlyAttempts) {
                    code = 3;
                    break;
                }
                for (int h = 1; h <= 23; ++h) Y[h] = Y[h + 1];
                Y[24] = rhoH * Y[23] + innovH * Normal(st, &seedVar);
            }
            for (int h = firstH; h <= last; ++h) dayOut[h] = static_cast<int32_t>(G[h] / 3600.0);
        }
        if (detail) {
            detail->dayKt[n] = Kt;
            detail->dayH0[n] = H0;
            detail->dayTotal[n] = total;
            detail->dayAttempts[n] = attempts;
            for (int h = 1; h <= 24; ++h) detail->hourKt[24 * (n - 1) + h] = ktHour[h];
        }
    }
    return code;
}

}  // namespace nimbra
