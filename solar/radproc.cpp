#include "solar/radproc.h"

#include <cmath>

#include "solar/astro.h"
#include "solar/scl_error.h"

double RADPROC_ClearnessIndex(double G, double I0n, double zenith) {
    SCL_CHECK(I0n > 0.0, 1024);
    SCL_CHECK(zenith >= 0.0 && zenith <= ASTRO_PI, 1026);
    SCL_CHECK(G >= 0.0, 1027);
    if (zenith > ASTRO_HALF_PI) return 1.0;
    return G / (I0n * std::cos(zenith));
}

double RADPROC_DiffuseFraction(double kt) {
    SCL_CHECK(kt >= 0.0 && kt <= 1.0, 1028);
    if (kt < 0.35) return 1.0 - 0.249 * kt;
    if (kt < 0.75) return 1.557 - 1.84 * kt;
    return 0.177;
}
