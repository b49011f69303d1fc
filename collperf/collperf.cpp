// Exported entry points of the collector performance library (models are being filled in).
#include "collperf/collperf.h"

extern "C" {

COLLPERF_API int TP_Performance(double, double, double, double, double, double, double, double, double,
                                double, double, int16_t, uint16_t, double, double, double, double, double,
                                double, double, double, double, double, double, double, double*, double*,
                                double*, double*, double*, double*, double*, double*, double*, double*)
{
    return -2;
}

COLLPERF_API int BP_Performance(double, double, double, double, double, double, double, double, double,
                                double, double, int16_t, uint16_t, double, double, bool, double, double,
                                double, double, double, double, double, double*, double*, double*,
                                double*, double*, double*, double*, double*, double*)
{
    return -2;
}

COLLPERF_API bool TP_StatusText(int, char*, size_t) { return false; }
COLLPERF_API bool BP_StatusText(int, char*, size_t) { return false; }
}
