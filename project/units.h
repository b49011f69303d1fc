#pragma once
// Display conversions between the stored SI values and IP units. ToIP: SI value -> IP value;
// FromIP: the inverse, applied to an IP entry before it is stored. Dialogs and the report use
// slightly different factors for some quantities; both are kept as the program shows them.

class CUnitConverter {
public:
    // length m <-> ft
    static double LengthToIP(double m) { return m * 3.281; }
    static double LengthFromIP(double ft) { return ft / 3.281; }
    static double LengthToIPReport(double m) { return m * 3.28084; }
    static double LengthFromIPReport(double ft) { return ft / 3.28084; }
    // area m2 <-> ft2
    static double AreaToIP(double m2) { return m2 * 10.7639; }
    static double AreaFromIP(double ft2) { return ft2 / 10.7639; }
    static double AreaToIPReport(double m2) { return m2 * 10.76391; }
    static double AreaFromIPReport(double ft2) { return ft2 / 10.76391; }
    // small length (plenum depth) m <-> in
    static double SmallLengthToIP(double m) { return m * 1000.0 / 25.4; }
    static double SmallLengthFromIP(double in) { return in * 25.4 / 1000.0; }
    // air flow l/s <-> CFM
    static double AirFlowToIP(double lps) { return lps * 2.1186; }
    static double AirFlowFromIP(double cfm) { return cfm / 2.1186; }
    static double AirFlowToIPReport(double lps) { return lps * 2.11888; }
    static double AirFlowFromIPReport(double cfm) { return cfm / 2.11888; }
    // temperature C <-> F
    static double TemperatureToIP(double c) { return c * 9.0 / 5.0 + 32.0; }
    static double TemperatureFromIP(double f) { return (f - 32.0) * 5.0 / 9.0; }
    // thermal resistance m2.K/W <-> ft2.F.h/Btu
    static double ResistanceToIP(double r) { return r * 5.678; }
    static double ResistanceFromIP(double r) { return r / 5.678; }
    static double ResistanceToIPReport(double r) { return r * 5.678263; }
    static double ResistanceFromIPReport(double r) { return r / 5.678263; }
    // pressure Pa <-> in-WG
    static double PressureToIP(double pa) { return pa / 248.84; }
    static double PressureFromIP(double inwg) { return inwg * 248.84; }
    // power kW <-> HP
    static double PowerToIP(double kw) { return kw * 1.341022; }
    static double PowerFromIP(double hp) { return hp / 1.341022; }
    // mass kg <-> lb
    static double MassToIP(double kg) { return kg * 2.205; }
    static double MassFromIP(double lb) { return lb / 2.205; }
    // energy J <-> Btu
    static double EnergyToIP(double j) { return j / 1055.056; }
    static double EnergyFromIP(double btu) { return btu * 1055.056; }
    // heat loss coefficient W/(m2.K) <-> Btu/(h.ft2.F)
    static double HeatLossCoeffToIP(double u) { return u * 3600.0 / (10.7639 * 1055.056) * 5.0 / 9.0; }
    static double HeatLossCoeffFromIP(double u) { return u / (3600.0 / (10.7639 * 1055.056) * 5.0 / 9.0); }
};
