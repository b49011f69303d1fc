/*
 * collperf: steady-state hourly performance of solar air-heating collectors.
 *
 * Two models are exported by name with C linkage:
 *   TP_Performance  unglazed perforated ("transpired") cladding drawn through into a plenum;
 *   BP_Performance  back-pass collector: air in a channel behind a solid absorber, optionally glazed.
 * and the texts of their collector statuses, TP_StatusText and BP_StatusText.
 *
 * Conventions shared by both models
 *  - Temperatures in degrees C at this interface; plate geometry in millimetres, every other length in
 *    metres; irradiance in W/m2; heat rates and powers in W; pressures in Pa; flows in m3/s.
 *  - Optional overrides (TSky, TSkyView, QLongwave, HConv): a value greater than -999 is used as given;
 *    -999 or less means "not supplied" and the model computes the quantity itself. Callers pass -9999.9.
 *  - Return value: the collector status, 1 on success, negative on failure. On success every result is
 *    written; on failure the fixed failure values are written (QColl 0, TColl = TAmb, PressDrop =
 *    PressExtra, Eff 0, FanPower 0, QRad 0, QConv 0, TSkyViewResult -99.9, TPlate -99.9, and for the
 *    transpired model FlowMalCorr -9.9).
 *  - Every pointer argument points to ONE double owned by the caller; the library only writes through
 *    it during the call and keeps no reference. A null result pointer is tolerated: that result is
 *    simply not written.
 *  - No state between calls, no allocation, no locks: the functions are reentrant and may run
 *    concurrently on different threads.
 *  - Nothing is thrown across this interface.
 */
#ifndef HALVO_COLLPERF_COLLPERF_H
#define HALVO_COLLPERF_COLLPERF_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(COLLPERF_BUILDING)
#define COLLPERF_API __attribute__((visibility("default")))
#else
#define COLLPERF_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Collector statuses (shared numbering of both models; each model produces only some of them). */
enum {
    COLLPERF_OK = 1,
    COLLPERF_ERR_OUTER_ITER = -1,   /* TP: outer iteration text only, never produced */
    COLLPERF_ERR_REYNOLDS = -1,     /* BP: channel Reynolds number above 150000 */
    COLLPERF_ERR_ITERATION = -2,    /* absorber / outer-surface iteration exceeded 50 passes */
    COLLPERF_ERR_TEMPERATURE = -3,  /* TAmb outside [-100, 120], or below -73.15 where the air fits end */
    COLLPERF_ERR_HUMIDITY = -4,     /* HumRatio outside [0, 0.05] */
    COLLPERF_ERR_AREA_FACTOR = -10, /* AreaFactor outside [1.0, 1.7] */
    COLLPERF_ERR_FLOW_TO_AREA = -11, /* TP text only; never produced */
    COLLPERF_ERR_SLOPE = -12,       /* text only; never produced */
    COLLPERF_ERR_CLEARNESS = -21,   /* Clearness outside [0, 1] */
    COLLPERF_ERR_SOLAR = -22        /* QSol outside [0, 2000] (TP) or [0, 1400] (BP) */
};

/*
 * Transpired (perforated, unglazed) collector, one hour, one wall. Returns the collector status.
 * All bounds listed are inclusive; the first failing check decides the status.
 */
COLLPERF_API int TP_Performance(
    double TAmb,          /*  1 in  [C]        ambient dry-bulb; [-100, 120] else -3 */
    double HumRatio,      /*  2 in  [kg/kg]    ambient humidity ratio; [0, 0.05] else -4; < 1e-6 -> 0.0005 */
    double VWind,         /*  3 in  [m/s]      wind speed at the collector */
    double Height,        /*  4 in  [m]        collector height (stack height of the plenum) */
    double Width,         /*  5 in  [m]        collector width */
    double PlenumDepth,   /*  6 in  [m]        plenum depth behind the cladding */
    double AreaFactor,    /*  7 in  [-]        corrugated / projected area; [1.0, 1.7] else -10 */
    double Slope,         /*  8 in  [deg]      slope from horizontal, 90 = vertical wall */
    double Flow,          /*  9 in  [m3/s]     air flow drawn through the collector */
    double Clearness,     /* 10 in  [-]        hourly clearness index; [0, 1] else -21 */
    double QSol,          /* 11 in  [W/m2]     irradiance on the collector plane; [0, 2000] else -22 */
    int16_t Hour,         /* 12 in  [h]        hour of day 0..23 from midnight */
    uint16_t Elevation,   /* 13 in  [m]        site elevation, whole metres */
    double PressExtra,    /* 14 in  [Pa]       pressure of the rest of the air system */
    double HolePitch,     /* 15 in  [mm]       hole pitch */
    double PitchFactor,   /* 16 in  [-]        hole pattern: 1.0 square, 1.6 triangular */
    double HoleDiam,      /* 17 in  [mm]       hole diameter */
    double Porosity,      /* 18 in  [-]        open-area fraction of the cladding */
    double Thickness,     /* 19 in  [mm]       cladding thickness */
    double Absorptance,   /* 20 in  [-]        solar absorptance of the cladding */
    double Emittance,     /* 21 in  [-]        long-wave emittance of the cladding */
    double TSky,          /* 22 in  [C]        imposed sky temperature, optional (<= -999: not supplied) */
    double TSkyView,      /* 23 in  [C]        imposed radiant temperature of the surroundings, optional */
    double QLongwave,     /* 24 in  [W/m2]     imposed net long-wave loss of the cladding, optional */
    double HConv,         /* 25 in  [W/(m2 K)] imposed outside convective coefficient, optional */
    double* FlowMalCorr,  /* 26 in/out [-]     in: flow maldistribution factor, used when
                                                finite and > 0, else 1.0 (null address: 1.0);
                                                out: the factor used (success) or -9.9 (failure) */
    double* QColl,        /* 27 out [W]        useful heat delivered to the air */
    double* TColl,        /* 28 out [C]        outlet air temperature */
    double* PressDrop,    /* 29 out [Pa]       air-side pressure drop of the collector */
    double* Eff,          /* 30 out [-]        thermal efficiency */
    double* FanPower,     /* 31 out [W]        fan power for collector and system pressure */
    double* QRad,         /* 32 out [W]        radiative loss of the cladding */
    double* QConv,        /* 33 out [W]        convective loss of the cladding */
    double* TSkyViewResult, /* 34 out [C]      effective radiant temperature of the surroundings */
    double* TPlate);      /* 35 out [C]        cladding (absorber) temperature, -99.9 at night */

/*
 * Back-pass collector, one hour, one wall. Returns the collector status.
 */
COLLPERF_API int BP_Performance(
    double TAmb,          /*  1 in  [C]        ambient dry-bulb; [-100, 120] else -3 */
    double HumRatio,      /*  2 in  [kg/kg]    ambient humidity ratio; [0, 0.05] else -4; < 1e-6 -> 0.0001 */
    double VWind,         /*  3 in  [m/s]      wind speed at the collector */
    double Height,        /*  4 in  [m]        collector height (flow length of the channel) */
    double Width,         /*  5 in  [m]        collector width */
    double PlenumDepth,   /*  6 in  [m]        depth of the air channel behind the absorber */
    double AreaFactor,    /*  7 in  [-]        validated only; [1.0, 1.7] else -10 */
    double Slope,         /*  8 in  [deg]      slope from horizontal */
    double Flow,          /*  9 in  [m3/s]     air flow through the channel */
    double Clearness,     /* 10 in  [-]        hourly clearness index; [0, 1] else -21 */
    double QSol,          /* 11 in  [W/m2]     irradiance on the collector plane; [0, 1400] else -22 */
    int16_t Hour,         /* 12 in  [h]        hour of day 0..23 */
    uint16_t Elevation,   /* 13 in  [m]        site elevation, whole metres */
    double PressExtra,    /* 14 in  [Pa]       pressure of the rest of the air system */
    double TInlet,        /* 15 in  [C]        temperature of the air entering the channel */
    bool Glazed,          /* 16 in  [bool]     one byte; true when a glazing covers the absorber */
    double Absorptance,   /* 17 in  [-]        solar absorptance of the absorber */
    double Emittance,     /* 18 in  [-]        long-wave emittance of the absorber */
    double Transmittance, /* 19 in  [-]        solar transmittance of the glazing (used only when Glazed) */
    double TSky,          /* 20 in  [C]        imposed sky temperature, optional */
    double TSkyView,      /* 21 in  [C]        imposed radiant temperature of the surroundings, optional */
    double QLongwave,     /* 22 in  [W/m2]     imposed net long-wave loss, optional */
    double HConv,         /* 23 in  [W/(m2 K)] imposed outside convective coefficient, optional */
    double* QColl,        /* 24 out [W]        useful heat */
    double* TColl,        /* 25 out [C]        outlet air temperature (TAmb at night) */
    double* PressDrop,    /* 26 out [Pa]       channel pressure drop */
    double* Eff,          /* 27 out [-]        thermal efficiency */
    double* FanPower,     /* 28 out [W]        fan power for collector and system pressure */
    double* QRad,         /* 29 out [W]        radiative loss of the outer surface */
    double* QConv,        /* 30 out [W]        convective loss of the outer surface */
    double* TSkyViewResult, /* 31 out [C]      effective radiant temperature of the surroundings */
    double* TPlate);      /* 32 out [C]        outer surface (absorber, or glazing when glazed) */

/*
 * Status texts. Copies the text of `status` with its terminating NUL into buffer[0..capacity) and
 * returns true; returns false, leaving the buffer untouched, for a status without a text (1 included)
 * or when the text and its NUL do not fit in `capacity` bytes. Never writes past buffer + capacity.
 * A buffer of 128 bytes holds every text.
 */
COLLPERF_API bool TP_StatusText(int status, char* buffer, size_t capacity);
COLLPERF_API bool BP_StatusText(int status, char* buffer, size_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* HALVO_COLLPERF_COLLPERF_H */
