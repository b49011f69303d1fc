// The two exports of libnimbra32; everything else in the library is hidden.

#include "nimbra32/nimbra32.h"
#include "nimbra32/synth.h"

extern "C" {

NIMBRA32_API int32_t NIMBRA_Radiation(int32_t* hourlyRadiation, int32_t seed, int32_t mode,
                                      double latitude, int32_t inputKind,
                                      const double* monthlyValues) {
    if (!hourlyRadiation || !monthlyValues) return 1;
    return nimbra::Radiation(hourlyRadiation, seed, mode, latitude, inputKind, monthlyValues,
                             nimbra::ProcessRandomState(), nullptr);
}

NIMBRA32_API int32_t NIMBRA_Temperature(double* typicalDayTemperatures,
                                        const double* monthlyMeanTemperatures, double latitude,
                                        int32_t inputKind, const double* monthlyValues) {
    if (!typicalDayTemperatures || !monthlyMeanTemperatures || !monthlyValues) return 1;
    return nimbra::Temperature(typicalDayTemperatures, monthlyMeanTemperatures, latitude, inputKind,
                               monthlyValues);
}
}
