#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <string>
#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "nimbra32/nimbra32.h"
#include "nimbra32/synth.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Mean daily global horizontal radiation [MJ/m2 per day] of a mid-latitude continental site
// (Toronto-like climate), January..December.
const double kTorontoMJ[13] = {0, 5.7, 8.9, 12.6, 16.2, 19.8, 21.9, 21.7, 18.6, 14.0, 8.8, 5.3, 4.4};

struct SYear {
    std::vector<int32_t> out = std::vector<int32_t>(8761, 0);
    std::unique_ptr<nimbra::SRadiationDetail> detail = std::make_unique<nimbra::SRadiationDetail>();
    int32_t code = -1;
    uint64_t draws = 0;
};

SYear Synthesise(double latDeg, int kind, const double* values, int mode = 1) {
    SYear y;
    nimbra::SRandomState st;
    y.code = nimbra::Radiation(y.out.data(), 1, mode, latDeg * kDeg, kind, values, st, y.detail.get());
    y.draws = st.draws;
    return y;
}

std::vector<double> Constant(double v) {
    std::vector<double> m(13, v);
    m[0] = 0;
    return m;
}

double MonthSumWh(const SYear& y, int m) {
    double s = 0;
    for (int n = nimbra::kMonthEnd[m - 1] + 1; n <= nimbra::kMonthEnd[m]; ++n)
        for (int h = 1; h <= 24; ++h) s += y.out[24 * (n - 1) + h];
    return s;
}

TEST(NimbraRadiation, MonthlyAndDailyTotalsHoldTheirBounds) {
    // With mode 1 each month's mean daily total is within 1 % of KT * H0bar (unless code 2), every
    // day's unrounded total is within 3 % of Kt * H0 (unless code 3); on the output in whole Wh a
    // month stays within 3 %.
    double southMJ[13] = {0};  // the same climate half a year later
    for (int m = 1; m <= 12; ++m) southMJ[m] = kTorontoMJ[(m + 5) % 12 + 1];
    const struct {
        double lat;
        const double* mj;
    } sites[] = {{43.67, kTorontoMJ}, {-33.9, southMJ}, {8.98, kTorontoMJ}};
    for (const auto& site : sites) {
        SCOPED_TRACE(site.lat);
        const double* mj = site.mj;
        const SYear y = Synthesise(site.lat, 2, mj);
        ASSERT_TRUE(y.code == 0 || y.code == 2 || y.code == 3) << y.code;
        const auto& d = *y.detail;
        for (int m = 1; m <= 12; ++m) {
            SCOPED_TRACE(m);
            const int first = nimbra::kMonthEnd[m - 1] + 1, days = nimbra::kDaysInMonth[m];
            const double target = d.monthKt[m] * d.monthH0[m];
            double mean = 0;
            for (int n = first; n < first + days; ++n) mean += d.dayKt[n] * d.dayH0[n];
            mean /= days;
            if (d.monthAttempts[m] < 1001) {
                EXPECT_LE(std::fabs(mean - target) / target, 0.01);
            } else {
                EXPECT_EQ(y.code, 2);
            }
            for (int n = first; n < first + days; ++n) {
                EXPECT_GE(d.dayKt[n], 0.03);
                EXPECT_LE(d.dayKt[n], nimbra::kKtMax);
                const double want = d.dayKt[n] * d.dayH0[n];
                if (d.dayAttempts[n] < 501) {
                    EXPECT_LE(std::fabs(d.dayTotal[n] - want) / want, 0.03) << "day " << n;
                }
                for (int h = 1; h <= 24; ++h) {
                    EXPECT_GE(d.hourKt[24 * (n - 1) + h], 0.0);
                    EXPECT_LE(d.hourKt[24 * (n - 1) + h], 0.9);
                }
            }
            const double outMean = MonthSumWh(y, m) * 3600.0 / days;
            EXPECT_LE(std::fabs(outMean - mj[m] * 1e6) / (mj[m] * 1e6), 0.03);
        }
    }
}

TEST(NimbraRadiation, ModeTwoTakesTheFirstSequence) {
    const SYear y = Synthesise(43.67, 2, kTorontoMJ, 2);
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(y.detail->monthAttempts[m], 1);
}

TEST(NimbraRadiation, ZeroMonthsAreDarkAndDrawNothing) {
    auto zero = Constant(0.0);
    const SYear none = Synthesise(43.67, 2, zero.data());
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(none.draws, 0u);
    for (int i = 1; i <= 8760; ++i) ASSERT_EQ(none.out[i], 0);

    // January without radiation: its days are dark, and the rest of the year is the year whose
    // generator starts at February, i.e. January drew nothing.
    auto values = Constant(0.5);
    values[1] = 0.0;
    const SYear y = Synthesise(43.67, 1, values.data());
    for (int i = 1; i <= 31 * 24; ++i) ASSERT_EQ(y.out[i], 0);
    EXPECT_EQ(y.detail->monthAttempts[1], 0);
    EXPECT_GT(MonthSumWh(y, 2), 0);
}

TEST(NimbraRadiation, PolarNightAndPolarDay) {
    // At 80 N the sun stays below the horizon from late October to mid February and above it
    // from late April to late August.
    auto values = Constant(0.5);
    const SYear y = Synthesise(80.0, 1, values.data());
    EXPECT_EQ(MonthSumWh(y, 12), 0);
    EXPECT_EQ(y.detail->monthH0[12], 0.0);
    for (int n = 166; n <= 178; ++n)  // around 21 June
        for (int h = 1; h <= 24; ++h) EXPECT_GT(y.out[24 * (n - 1) + h], 0) << n << " " << h;
}

TEST(NimbraRadiation, NightHoursAreExactlyZero) {
    const SYear y = Synthesise(43.67, 2, kTorontoMJ);
    for (int n = 1; n <= 365; ++n) {
        const auto g = nimbra::DayGeometry(n, 43.67 * kDeg);
        const double len = g.omegaS * 24.0 / 3.14159265358979;
        const double rise = 12.0 - len / 2, set = 12.0 + len / 2;
        for (int h = 1; h <= 24; ++h) {
            if (h <= std::floor(rise) || h > std::floor(set) + 1) {
                ASSERT_EQ(y.out[24 * (n - 1) + h], 0) << n << " " << h;
            }
        }
    }
}

TEST(NimbraRadiation, SouthernHemisphereHasItsSummerInJanuary) {
    auto values = Constant(0.5);
    const SYear south = Synthesise(-33.9, 1, values.data());
    const SYear north = Synthesise(33.9, 1, values.data());
    EXPECT_GT(MonthSumWh(south, 1), 1.5 * MonthSumWh(south, 6));
    EXPECT_GT(MonthSumWh(north, 6), 1.5 * MonthSumWh(north, 1));
    // Mirror days: 15 January in the south sees the extraterrestrial day of mid-July in the north.
    EXPECT_NEAR(south.detail->monthH0[12] / north.detail->monthH0[6], 1.0, 0.08);
}

TEST(NimbraRadiation, ResultCodes) {
    struct Case {
        const char* what;
        int kind;
        double jan, feb;
        int32_t code;
        double febKtUsed;
    };
    // Derived KT: 30 MJ/m2 per day in February at 43.67 N is far above the 0.864 bound.
    const Case cases[] = {
        {"clearness in range", 1, 0.5, 0.5, 0, 0.5},
        {"clearness at the bound is limited", 1, 0.5, 0.864, 4, 0.8},
        {"derived clearness above the bound", 2, 5.7, 30.0, 4, 0.8},
        // No day falls below 0.03, so a mean of 0.02 is never reached: the daily stage gives up
        // and its code hides the limit of February.
        {"unreachable monthly mean", 1, 0.02, 0.9, 2, 0.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto values = Constant(c.kind == 1 ? 0.5 : 10.0);
        values[1] = c.jan;
        values[2] = c.feb;
        const SYear y = Synthesise(43.67, c.kind, values.data());
        EXPECT_EQ(y.code, c.code);
        EXPECT_DOUBLE_EQ(y.detail->monthKt[2], c.febKtUsed);
        if (c.code == 2) {
            EXPECT_EQ(y.detail->monthAttempts[1], 1001);
        }
    }

    std::vector<int32_t> out(8761, 77);
    auto values = Constant(0.5);
    EXPECT_EQ(NIMBRA_Radiation(out.data(), 1, 1, 0.7, 3, values.data()), 1);
    EXPECT_EQ(out[1], 77);  // returns at once, nothing written
    EXPECT_EQ(NIMBRA_Radiation(out.data(), 1, 1, 0.7, 0, values.data()), 1);
}

TEST(NimbraRadiation, OnlyTheSpareDeviateCarriesOver) {
    nimbra::SRandomState st;
    std::vector<int32_t> a(8761), b(8761), c(8761);
    nimbra::Radiation(a.data(), 1, 1, 0.76, 2, kTorontoMJ, st, nullptr);
    const bool spare = st.haveSpare;
    st.haveSpare = false;
    nimbra::Radiation(b.data(), 1, 1, 0.76, 2, kTorontoMJ, st, nullptr);
    EXPECT_EQ(a, b);
    if (spare) {
        st.haveSpare = true;
        st.spare = 0.123;
        nimbra::Radiation(c.data(), 1, 1, 0.76, 2, kTorontoMJ, st, nullptr);
        EXPECT_NE(a, c);
    }
}

// One call of the exported function in a child process; the child sends its year back.
std::vector<int32_t> YearInFreshProcess() {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::vector<int32_t> out(8761, 0);
        NIMBRA_Radiation(out.data(), 1, 1, 43.67 * kDeg, 2, kTorontoMJ);
        const char* p = reinterpret_cast<const char*>(out.data());
        size_t left = out.size() * sizeof(int32_t);
        while (left > 0) {
            const ssize_t w = write(fds[1], p, left);
            if (w <= 0) _exit(1);
            p += w;
            left -= static_cast<size_t>(w);
        }
        _exit(0);
    }
    close(fds[1]);
    std::vector<int32_t> out(8761, 0);
    char* p = reinterpret_cast<char*>(out.data());
    size_t left = out.size() * sizeof(int32_t);
    while (left > 0) {
        const ssize_t r = read(fds[0], p, left);
        if (r <= 0) break;
        p += r;
        left -= static_cast<size_t>(r);
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (left != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    return out;
}

TEST(NimbraRadiation, FreshProcessesGiveIdenticalYears) {
    const auto first = YearInFreshProcess();
    const auto second = YearInFreshProcess();
    ASSERT_EQ(first.size(), 8761u);
    EXPECT_EQ(first, second);
    EXPECT_GT(std::accumulate(first.begin(), first.end(), 0LL), 0);
    // The library's own state matches the internal one started fresh.
    const SYear y = Synthesise(43.67, 2, kTorontoMJ);
    EXPECT_EQ(first, y.out);
}

TEST(NimbraRadiation, YearMatchesAnIndependentImplementation) {
    // Hour values and the annual total for the Toronto-like year at 43.67 N (input kind 2,
    // seed 1, mode 1), from a separate step-by-step implementation of the synthesis in double
    // precision written without this code: any change of a constant, of the order of the draws
    // or of a matching loop moves them.
    const SYear y = Synthesise(43.67, 2, kTorontoMJ);
    EXPECT_EQ(y.code, 0);
    const int32_t jan1[24] = {0, 0, 0, 0, 0, 0, 0, 7, 124, 185, 273, 265,
                              258, 326, 267, 82, 9, 0, 0, 0, 0, 0, 0, 0};
    const int32_t jun21[24] = {0, 0, 0, 0, 11, 46, 186, 391, 305, 520, 623, 830,
                               1019, 955, 821, 594, 284, 136, 96, 19, 0, 0, 0, 0};
    for (int h = 1; h <= 24; ++h) {
        EXPECT_EQ(y.out[h], jan1[h - 1]) << "1 January, hour " << h;
        EXPECT_EQ(y.out[24 * 171 + h], jun21[h - 1]) << "21 June, hour " << h;
    }
    EXPECT_EQ(std::accumulate(y.out.begin() + 1, y.out.end(), 0LL), 1335047LL);
}

TEST(NimbraRandom, NormalDeviatesAreStandard) {
    nimbra::SRandomState st;
    int32_t seed = -2;
    double sum = 0, sum2 = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const double z = nimbra::Normal(st, &seed);
        sum += z;
        sum2 += z * z;
    }
    EXPECT_EQ(seed, 1);
    EXPECT_NEAR(sum / n, 0.0, 0.01);
    EXPECT_NEAR(sum2 / n, 1.0, 0.01);
}


TEST(NimbraRandom, FirstUniformDeviatesAndAnySeed) {
    // The first draws after seeding with -2 (the seed of the generator program), worked out by
    // hand-following the seeding and the shuffled draw in exact integer arithmetic.
    const double expected[] = {0.41428288413486647, 0.21984210387304057, 0.63181812054603614,
                               0.60198854385888256, 0.14572318382318683, 0.29663785740448384};
    nimbra::SRandomState st;
    int32_t seed = -2;
    for (double e : expected) EXPECT_NEAR(nimbra::Uniform(st, &seed), e, 1e-15);

    // Seeds far from the generator program's: the states stay in range (no overflow, no table
    // slot outside the table) and every deviate lies in [0, 1).
    for (int32_t s : {INT32_MIN, INT32_MIN + 1, -54774, 54774, 100000, INT32_MAX}) {
        nimbra::SRandomState fresh;
        int32_t v = s;
        for (int i = 0; i < 1000; ++i) {
            const double u = nimbra::Uniform(fresh, &v);
            ASSERT_GE(u, 0.0) << s;
            ASSERT_LT(u, 1.0) << s;
        }
    }
    std::vector<int32_t> out(8761, 0);
    for (int32_t s : {INT32_MAX, -100000, INT32_MIN}) {
        nimbra::SRandomState fresh;
        nimbra::Radiation(out.data(), s, 1, 0.76, 2, kTorontoMJ, fresh, nullptr);
        EXPECT_GT(std::accumulate(out.begin(), out.end(), 0LL), 0) << s;
    }
}
TEST(NimbraRandom, LogGammaMatchesTheLibrary) {
    for (double x : {0.3, 1.0, 2.5, 7.0, 40.0, 150.0})
        EXPECT_NEAR(nimbra::LogGamma(x), std::lgamma(x), 1e-8 * std::max(1.0, std::fabs(std::lgamma(x)))) << x;
}

// Typical days.
struct STempCase {
    const char* what;
    int kind;
    double value;       // KT or MJ/m2 per day in every month
    double amplitude;   // expected A = 25.8 KT - 5.21 [C]
    int32_t code;
};

class NimbraTemperature : public ::testing::TestWithParam<STempCase> {};

TEST_P(NimbraTemperature, ShapeAndAmplitude) {
    const STempCase& c = GetParam();
    std::vector<double> out(289, -1e9);
    std::vector<double> mean(13);
    for (int m = 1; m <= 12; ++m) mean[m] = -10.0 + 2.5 * m;
    auto values = Constant(c.value);
    ASSERT_EQ(NIMBRA_Temperature(out.data(), mean.data(), 43.67 * kDeg, c.kind, values.data()), c.code);
    // Shape values from the four-term series: minimum -0.4513 at hour 6, maximum 0.5245 at 15.
    for (int m = 1; m <= 12; ++m) {
        const double* day = out.data() + 24 * (m - 1);
        EXPECT_NEAR(std::accumulate(day + 1, day + 25, 0.0) / 24.0, mean[m], 1e-5);
        EXPECT_NEAR(day[6], mean[m] - 0.4513 * c.amplitude, 2e-4 * std::fabs(c.amplitude) + 1e-9);
        EXPECT_NEAR(day[15], mean[m] + 0.5245 * c.amplitude, 2e-4 * std::fabs(c.amplitude) + 1e-9);
        const auto [lo, hi] = std::minmax_element(day + 1, day + 25);
        if (c.amplitude > 0.01) {
            EXPECT_EQ(lo - day, 6);
            EXPECT_EQ(hi - day, 15);
        } else if (c.amplitude < -0.01) {
            EXPECT_EQ(hi - day, 6);
            EXPECT_EQ(lo - day, 15);
        } else {
            EXPECT_NEAR(*hi - *lo, 0.0, 1e-5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NimbraTemperature,
    ::testing::Values(STempCase{"clear", 1, 0.6, 25.8 * 0.6 - 5.21, 0},
                      STempCase{"flat", 1, 5.21 / 25.8, 0.0, 0},
                      STempCase{"dark months invert the shape", 1, 0.0, -5.21, 0},
                      STempCase{"derived KT limited", 2, 60.0, 15.43, 4},
                      STempCase{"given KT limited", 1, 0.95, 15.43, 4}),
    [](const ::testing::TestParamInfo<STempCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

TEST(NimbraTemperatureCodes, UnknownInputKind) {
    std::vector<double> out(289, 5.0), mean(13, 0.0), values(13, 0.5);
    EXPECT_EQ(NIMBRA_Temperature(out.data(), mean.data(), 0.7, 3, values.data()), 1);
    EXPECT_EQ(out[1], 5.0);
}

}  // namespace
