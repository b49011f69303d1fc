// Transpired (unglazed perforated) collector: absorber balance and air-side pressure drop.
// Internal to collperf; TP_Performance in collperf.cpp validates and calls these.
#pragma once

#include <cstdint>

#include "collperf/model_common.h"

namespace collperf {

// Inputs of one hour after validation (HumRatio already floored), with the site pressure formed once.
struct TpInputs {
    double TAmb;         // [C]
    double HumRatio;     // [kg/kg]
    double VWind;        // [m/s]
    double Height;       // [m]
    double Width;        // [m]
    double PlenumDepth;  // [m]
    double AreaFactor;   // [-]
    double Slope;        // [deg]
    double Flow;         // [m3/s]
    double Clearness;    // [-]
    double QSol;         // [W/m2]
    int16_t Hour;        // [h]
    double PAtm;         // [kPa] AtmPressure(Elevation)
    double HolePitch;    // [mm]
    double PitchFactor;  // [-]
    double HoleDiam;     // [mm]
    double Porosity;     // [-]
    double Thickness;    // [mm]
    double Absorptance;  // [-]
    double Emittance;    // [-]
    double TSky;         // [C] optional
    double TSkyView;     // [C] optional
    double QLongwave;    // [W/m2] optional
    double HConv;        // [W/(m2 K)] optional
};

using TpThermal = CollectorThermal;

// Heat-exchange effectiveness of the perforated cladding [-] (front, hole and back parts combined).
// nu [m2/s], pr [-], vs suction velocity [m/s].
double TranspiraEffectiveness(const TpInputs& in, double nu, double pr, double vs);

// Absorber energy balance with correction factor f. Returns false when the absorber iteration does
// not settle within 50 passes (then `out` is unspecified); the efficiency itself may be any value.
bool TranspiraEff(const TpInputs& in, double f, TpThermal& out);

// Air-side pressure drop [Pa] with outlet temperature tOut [C].
double TranspiraPressDrop(const TpInputs& in, double tOut);

}  // namespace collperf
