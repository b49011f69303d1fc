// Back-pass collector: channel and absorber balance and channel friction.
// Internal to collperf; BP_Performance in collperf.cpp validates and calls these.
#pragma once

#include <cstdint>

#include "collperf/model_common.h"

namespace collperf {

struct BpInputs {
    double TAmb;           // [C]
    double HumRatio;       // [kg/kg]
    double VWind;          // [m/s]
    double Height;         // [m] flow length of the channel
    double Width;          // [m]
    double PlenumDepth;    // [m] channel depth
    double Slope;          // [deg]
    double Flow;           // [m3/s]
    double Clearness;      // [-]
    double QSol;           // [W/m2]
    int16_t Hour;          // [h]
    double PAtm;           // [kPa] AtmPressure(Elevation)
    double TInlet;         // [C]
    bool Glazed;
    double Absorptance;    // [-]
    double Emittance;      // [-]
    double Transmittance;  // [-]
    double TSky;           // [C] optional
    double TSkyView;       // [C] optional
    double QLongwave;      // [W/m2] optional
    double HConv;          // [W/(m2 K)] optional
};

using BpThermal = CollectorThermal;

enum class BpBalance { Ok, ReynoldsTooHigh, NotConverged };

// Channel Nusselt number for channel Reynolds number re (valid up to 150000).
double ChannelNusselt(double re);
// Fanning friction factor of the channel.
double ChannelFriction(double re);

// Channel and absorber balance; `out` is written only for BpBalance::Ok.
BpBalance BackPlateCollEff(const BpInputs& in, BpThermal& out);

// Channel friction pressure drop [Pa].
double BackPlatePressDrop(const BpInputs& in);

}  // namespace collperf
