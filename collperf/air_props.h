// Air properties shared by both collector models and by the simulation engine (which needs the site
// pressure for its own hourly air density). One implementation, built into the static library
// `collperf_air`; libcollperf links it privately and exports none of it. Other targets use it with
// target_link_libraries(<target> PRIVATE collperf_air) and #include "collperf/air_props.h".
//
// Ranges: the viscosity and Prandtl fits hold for 200 K to 400 K and answer -1 outside; the pressure
// answers -1 below sea level. The fits are low-order polynomials in absolute temperature fitted to
// tabulated dry-air data; the dew point is the ASHRAE Handbook of Fundamentals correlation.
#pragma once

#include <cstdint>

// Kinematic viscosity of air [m2/s] at t [C]; -1 outside 200..400 K.
double KinViscosity(double t);

// Prandtl number of air [-] at t [C]; -1 outside 200..400 K.
double PrandtlNumber(double t);

// Standard-atmosphere pressure [kPa] at elevation z [m] (sea level 101.315 kPa); -1 for z < 0.
double AtmPressure(double z);

// Dew-point temperature [C] of air with water vapour partial pressure pw [kPa].
double DewPointTemp(double pw);

// Moist-air density [kg/m3] at t [C], humidity ratio w [kg/kg] and pressure p [kPa]
// (ideal gas, dry-air gas constant 0.287 kJ/(kg K), vapour factor 1.6078).
// Callers form p once with AtmPressure(elevation) and reuse it.
double MoistAirDensity(double t, double w, double p);
