// Argument bundles for calling the two exported models from tests: typical daytime inputs of a
// 5 m x 10 m south wall, changed field by field in each case.
#pragma once

#include <cstdint>

#include "collperf/collperf.h"

namespace collperf_test {

constexpr double kNotGiven = -9999.9;

struct TpCall {
    double TAmb = 0.0, HumRatio = 0.003, VWind = 2.0, Height = 5.0, Width = 10.0, PlenumDepth = 0.2;
    double AreaFactor = 1.2, Slope = 90.0;
    double Flow = 0.03 * 5.0 * 10.0 * 1.2;  // suction velocity 0.03 m/s
    double Clearness = 0.6, QSol = 600.0;
    int16_t Hour = 12;
    uint16_t Elevation = 200;
    double PressExtra = 100.0, HolePitch = 25.0, PitchFactor = 1.6, HoleDiam = 1.6, Porosity = 0.01;
    double Thickness = 0.8, Absorptance = 0.94, Emittance = 0.9;
    double TSky = kNotGiven, TSkyView = kNotGiven, QLongwave = kNotGiven, HConv = kNotGiven;
    double FlowMalCorr = -9.9;
    // Results, pre-filled with a value no path writes so that a missed write shows.
    double QColl = 12345.0, TColl = 12345.0, PressDrop = 12345.0, Eff = 12345.0, FanPower = 12345.0;
    double QRad = 12345.0, QConv = 12345.0, TSkyViewOut = 12345.0, TPlate = 12345.0;

    void SetSuction(double vs) { Flow = vs * Height * Width * AreaFactor; }

    template <typename Fn>
    int RunWith(Fn fn)
    {
        return fn(TAmb, HumRatio, VWind, Height, Width, PlenumDepth, AreaFactor, Slope, Flow, Clearness, QSol,
                  Hour, Elevation, PressExtra, HolePitch, PitchFactor, HoleDiam, Porosity, Thickness,
                  Absorptance, Emittance, TSky, TSkyView, QLongwave, HConv, &FlowMalCorr, &QColl, &TColl,
                  &PressDrop, &Eff, &FanPower, &QRad, &QConv, &TSkyViewOut, &TPlate);
    }
    int Run() { return RunWith(&TP_Performance); }
};

struct BpCall {
    double TAmb = 0.0, HumRatio = 0.003, VWind = 2.0, Height = 5.0, Width = 10.0, PlenumDepth = 0.15;
    double AreaFactor = 1.0, Slope = 90.0, Flow = 0.03 * 5.0 * 10.0, Clearness = 0.6, QSol = 600.0;
    int16_t Hour = 12;
    uint16_t Elevation = 200;
    double PressExtra = 100.0, TInlet = 0.0;
    bool Glazed = false;
    double Absorptance = 0.94, Emittance = 0.9, Transmittance = 0.85;
    double TSky = kNotGiven, TSkyView = kNotGiven, QLongwave = kNotGiven, HConv = kNotGiven;
    double QColl = 12345.0, TColl = 12345.0, PressDrop = 12345.0, Eff = 12345.0, FanPower = 12345.0;
    double QRad = 12345.0, QConv = 12345.0, TSkyViewOut = 12345.0, TPlate = 12345.0;

    template <typename Fn>
    int RunWith(Fn fn)
    {
        return fn(TAmb, HumRatio, VWind, Height, Width, PlenumDepth, AreaFactor, Slope, Flow, Clearness, QSol,
                  Hour, Elevation, PressExtra, TInlet, Glazed, Absorptance, Emittance, Transmittance, TSky,
                  TSkyView, QLongwave, HConv, &QColl, &TColl, &PressDrop, &Eff, &FanPower, &QRad, &QConv,
                  &TSkyViewOut, &TPlate);
    }
    int Run() { return RunWith(&BP_Performance); }
};

}  // namespace collperf_test
