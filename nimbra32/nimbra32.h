/* Weather synthesis library: one year of hourly global horizontal radiation and twelve
 * typical-day temperature profiles from twelve monthly mean values.
 *
 * C interface of libnimbra32. Every array is owned by the caller and is 1-based: element 0
 * exists but is neither read nor written. Nothing is allocated, nothing is freed, and no
 * exception leaves the library. The random generator behind NIMBRA_Radiation is one
 * process-wide state (see below); calls must not overlap.
 *
 * Result codes (a single value; a later stage overwrites an earlier one):
 *   0 success
 *   1 inputKind is neither 1 nor 2; nothing is computed and the output is left untouched
 *   2 in at least one month the daily sequence missed the monthly mean (within 1 %) after
 *     1001 attempts (the year is still complete)
 *   3 on at least one day the hourly values missed the daily total (within 3 %) after 501
 *     attempts (the year is still complete)
 *   4 at least one month's clearness was 0.864 or more as given, or above 0.864 as derived
 *     from the radiation; that month is computed with a clearness of 0.8
 */
#ifndef NIMBRA32_NIMBRA32_H
#define NIMBRA32_NIMBRA32_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(NIMBRA32_BUILDING)
#    define NIMBRA32_API __declspec(dllexport)
#  else
#    define NIMBRA32_API __declspec(dllimport)
#  endif
#elif defined(NIMBRA32_BUILDING)
#  define NIMBRA32_API __attribute__((visibility("default")))
#else
#  define NIMBRA32_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Input kinds of the monthly values. */
#define NIMBRA_INPUT_CLEARNESS 1 /* monthly mean daily clearness index KT [-] */
#define NIMBRA_INPUT_RADIATION 2 /* monthly mean daily global horizontal radiation [MJ/m2 per day] */

/* Synthesises one year (365 days, no 29 February) of hourly global horizontal radiation.
 *   hourlyRadiation  out: at least 8761 elements; day n (1..365), solar hour h (1..24, hour h
 *                    covers solar time h-1..h) at index 24*(n-1)+h [Wh/m2, truncated toward zero]
 *   seed             the generator restarts from -(seed+1) on every call (the generator program
 *                    passes 1)
 *   mode             2: the daily sequence is not fitted to the monthly mean; any other value: it is
 *   latitude         site latitude [rad], north positive
 *   inputKind        NIMBRA_INPUT_CLEARNESS or NIMBRA_INPUT_RADIATION
 *   monthlyValues    in: 13 elements, 1..12 = January..December
 * The uniform sequence restarts on every call; only the spare deviate of the normal generator
 * carries over from one call to the next, so a second call in the same process may differ from
 * the first. */
NIMBRA32_API int32_t NIMBRA_Radiation(int32_t* hourlyRadiation, int32_t seed, int32_t mode,
                                      double latitude, int32_t inputKind,
                                      const double* monthlyValues);

/* Twelve typical days of hourly air temperature; no random numbers, no state.
 *   typicalDayTemperatures   out: at least 289 elements; month m, hour h at 24*(m-1)+h [C]
 *   monthlyMeanTemperatures  in: 13 elements, 1..12 [C]
 *   latitude                 [rad], north positive (used with NIMBRA_INPUT_RADIATION only)
 *   inputKind, monthlyValues as for NIMBRA_Radiation */
NIMBRA32_API int32_t NIMBRA_Temperature(double* typicalDayTemperatures,
                                        const double* monthlyMeanTemperatures, double latitude,
                                        int32_t inputKind, const double* monthlyValues);

#ifdef __cplusplus
}
#endif

#endif
