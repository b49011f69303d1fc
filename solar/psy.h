#pragma once
// Moist-air properties (module PSYCHROM of the solar routine library).
//
// Units: temperatures t [C]; pressures [Pa]; relative humidity phi as a fraction 0..1 (not
// percent); humidity ratio W [kg water / kg dry air]. Stateless and reentrant; an argument outside
// its range ends the process through the library error report (solar/scl_error.h).
//
// Sources: Hyland, R.W. and Wexler, A. (1983), "Formulations for the thermodynamic properties of
// the saturated phases of H2O from 173.15 K to 473.15 K", ASHRAE Transactions 89(2A), 500-519
// (saturation pressure); ASHRAE Handbook of Fundamentals, Psychrometrics (humidity ratio,
// wet-bulb relation; 0.62198 is the ratio of the molecular weights of water and dry air).

// Saturation vapour pressure pws [Pa] at t [C]: over ice for t <= 0, over water above.
// t in [-100, 200] (code 1543).
double PSY_SatPressure(double t);

// Saturation humidity ratio Ws at t [C] and total pressure p [Pa]. Checks of PSY_SatPressure.
double PSY_SatHumRatio(double t, double p);

// Water-vapour partial pressure pw [Pa] at t [C] and relative humidity phi. phi in [0, 1] (1537).
double PSY_VapPressureFromRelHum(double t, double phi);

// Humidity ratio W from vapour pressure pw and total pressure p [Pa]. pw >= 0 (code 1539).
// Not meaningful for pw >= p (returned as computed).
double PSY_HumRatioFromVapPressure(double pw, double p);

// Humidity ratio W at t [C], relative humidity phi and total pressure p [Pa].
// phi in [0, 1] (code 1537), then the checks of the saturation pressure (1543).
double PSY_HumRatioFromRelHum(double t, double phi, double p);

// Humidity ratio W at dry bulb t, wet bulb tstar [C] and total pressure p [Pa].
// tstar <= t (code 1541), then the saturation-pressure check on tstar (1543).
double PSY_HumRatioFromWetBulb(double t, double tstar, double p);
