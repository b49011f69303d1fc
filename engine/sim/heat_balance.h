#pragma once
// The hourly wall heat balance: from the collector air flow an application model chose for the hour
// (FlowColl) and the indoor temperature at the wall (TFloor), the useful solar heat QColl, the
// recaptured wall loss QRecap, the outlet temperature TColl and the collectors' losses. May be called
// several times in one hour with trial flows; every call recomputes all its results.

#include "engine/sim/wall_run.h"

void WallHeatBalance(CWallRun& run);

// Heat the cladding saves by adding 0.33 m2 K/W over the collector area to the building wall [kJ/h].
float InsulationGain(const CWallRun& run);
