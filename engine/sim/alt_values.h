#pragma once
// The one place where the hourly driver, the heat balance and the application models read the hour's
// imposed (alternate input) values. A value at or below -999 means "not given"; without an active
// alternate input every value reads as not given.

#include "engine/control/control_file.h"
#include "engine/sim/wall_run.h"

using EAlt = EAltKey;

// The value of `key` for the run's current day and hour.
inline double AltValue(const CWallRun& run, EAlt key) { return AltInput(run, key); }

inline bool AltGiven(double v) { return v > kNotGivenLimit; }
