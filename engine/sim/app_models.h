#pragma once
// The three application models. Each decides for one hour of one wall how much air the system moves,
// how much of it passes through the collectors (calling the wall heat balance with trial flows), and
// what that is worth: useful solar heat, auxiliary heat, fan energy, and for the destratification
// model the saving of a lower ceiling temperature.

#include "engine/sim/wall_run.h"

void DestratModel(CWallRun& run);       // application type 1: destratification and make-up air
void VentilationModel(CWallRun& run);   // application type 2: ventilation air preheater
void ProcessModel(CWallRun& run);       // application type 3: process air heater

// The hour's fan energy at full design flow, all of the wall's fans [kJ/h]. QFanDesign is one fan's.
inline float WallFanEnergy(const CWallRun& run) {
    return run.QFanDesign * static_cast<float>(run.NumFans > 0 ? run.NumFans : 1);
}
