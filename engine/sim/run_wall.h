#pragma once
// The hourly driver: one wall, one year, day by day and hour by hour.

#include <cstdint>

#include "engine/sim/wall_run.h"

class CRunProgress;
class CMessenger;

// Three-way comparison with an absolute tolerance of 1e-7: 0 equal, 1 a > b, -1 otherwise.
int CompareTol(double a, double b);

// Runs wall `wall` (1..4) for its year: set-up, design conditions, the day and hour loop and the
// monthly accumulators. `progress` may be null. Returns 1.
int RunWall(CWallRun& run, int wall, CRunProgress* progress, CMessenger& messenger);

// Set-up pieces, exposed for the tests.
// Hole pitch [mm] of a porosity: 0.01 -> 11, 0.005 -> 16, 0.0025 -> 22. A porosity that matches none
// of them gets the pitch of the porosity the porosity rule gives for the wall's design flow per
// collector area (flowPerArea, l/(s m2)).
float HolePitchForPorosity(float porosity, float flowPerArea);
// Collector kind (1 transpired, 2 back-pass, 3 glazed back-pass) and absorptance of a collector type
// index 0..14; an index outside the list is taken as 0. Emittance is 0.9 for every type.
void CollectorTypeProperties(int collType, std::int16_t& kind, float& absorptance, float& emittance);
// The same for a canopy type 1..15; canopy type 0 (or outside the list) gives kind 0 and leaves
// absorptance and emittance as they are.
void CanopyTypeProperties(int canopyType, std::int16_t& kind, float& absorptance, float& emittance);
// Daylight fraction of `hour` (1..24) for a day of `dayLength` hours.
float DaylightFraction(float dayLength, int hour);
// The design-condition evaluation: fan energy per hour of one fan [kJ/h].
float DesignFanEnergy(const CWallRun& run);
