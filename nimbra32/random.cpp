// Random numbers of the synthesis: a shuffled combination of three linear congruential
// generators (the portable generator "ran1" of Press, Flannery, Teukolsky and Vetterling 1986,
// Numerical Recipes, 7.1) and the polar method of Marsaglia for normal deviates. All state
// arithmetic is exact 32-bit integer arithmetic, so the sequence is the same on every platform.

#include <cmath>

#include "nimbra32/synth.h"

namespace nimbra {

namespace {
constexpr int32_t kM1 = 259200, kIA1 = 7141, kIC1 = 54773;
constexpr int32_t kM2 = 134456, kIA2 = 8121, kIC2 = 28411;
constexpr int32_t kM3 = 243000, kIA3 = 4561, kIC3 = 51349;
// 1/259200 and 1/134456 as the original single-precision constants.
constexpr double kR1 = static_cast<double>(3.8580247e-6f);
constexpr double kR2 = static_cast<double>(7.4373775e-6f);

void Seed(SRandomState& st, int32_t* seedVar) {
    // % keeps the sign of the dividend; for the negative seeds of a call 54773 - seed is
    // positive. Formed in 64 bits and kept non-negative, so that no seed can overflow the
    // difference or turn the states (and the table slot taken from them) negative.
    const int64_t start = (static_cast<int64_t>(kIC1) - *seedVar) % kM1;
    st.i1 = static_cast<int32_t>(start < 0 ? start + kM1 : start);
    st.i1 = (kIA1 * st.i1 + kIC1) % kM1;
    st.i2 = st.i1 % kM2;
    st.i1 = (kIA1 * st.i1 + kIC1) % kM1;
    st.i3 = st.i1 % kM3;
    for (double& slot : st.table) {
        st.i1 = (kIA1 * st.i1 + kIC1) % kM1;
        st.i2 = (kIA2 * st.i2 + kIC2) % kM2;
        slot = (st.i1 + st.i2 * kR2) * kR1;
    }
    *seedVar = 1;
    st.initialised = true;
}
}  // namespace

SRandomState& ProcessRandomState() {
    static SRandomState state;
    return state;
}

double Uniform(SRandomState& st, int32_t* seedVar) {
    if (*seedVar < 0 || !st.initialised) Seed(st, seedVar);
    st.i1 = (kIA1 * st.i1 + kIC1) % kM1;
    st.i2 = (kIA2 * st.i2 + kIC2) % kM2;
    st.i3 = (kIA3 * st.i3 + kIC3) % kM3;
    ++st.draws;
    const int32_t j = (100 * st.i3) / kM3;
    const double r = st.table[j];
    st.table[j] = (st.i1 + st.i2 * kR2) * kR1;
    return r;
}

double Normal(SRandomState& st, int32_t* seedVar) {
    if (st.haveSpare) {
        st.haveSpare = false;
        return st.spare;
    }
    double a = 0, b = 0, r = 0;
    do {
        a = 2.0 * Uniform(st, seedVar) - 1.0;
        b = 2.0 * Uniform(st, seedVar) - 1.0;
        r = a * a + b * b;
    } while (r >= 1.0 || r == 0.0);  // r == 0 would make the log infinite
    const double f = std::sqrt(-2.0 * std::log(r) / r);
    st.spare = a * f;
    st.haveSpare = true;
    return b * f;
}

double Phi(double y) { return 0.5 * (1.0 + std::erf(y / std::sqrt(2.0))); }

double LogGamma(double x) {
    static const double c[6] = {76.18009173,  -86.50532033,   24.01409822,
                                -1.231739516, 0.00120858003, -0.00000536382};
    const double xm1 = x - 1.0;
    double tmp = xm1 + 5.5;
    tmp -= (xm1 + 0.5) * std::log(tmp);
    double ser = 1.0;
    double xx = xm1;
    for (double cj : c) {
        xx += 1.0;
        ser += cj / xx;
    }
    return -tmp + std::log(2.50662827465 * ser);
}

}  // namespace nimbra
