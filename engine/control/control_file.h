#pragma once
// The control file's operations on the hourly wall state, and the one accessor through which the
// driver, the heat balance and the application models read an alternate-input value.
//
// How RunWall uses them, per wall:
//   set-up step 1   run.AltInputActive = 0 (and run.HourlyOutputActive = 0)
//   set-up step 3   main/canopy absorptance and emittance from the type tables, HolePitch from the
//                   porosity, Thickness 0.8, PitchFactor 1.6, WindFactor from the wall
//   set-up step 4   ReadControlFile(run, messenger)   -- every wall; it looks for the file itself
//   set-up step 8   WriteHourlyHeader(run, messenger) -- opens the file, messages, header line
//   hour step 12    WriteHourlyLine(run)             -- when run.HourlyOutputActive
//   after the year  CloseHourlyOutput(run, messenger) -- also on an early end of the run
//
// The models ask: `double v = AltInput(run, EAltKey::TColl); if (v > kNotGivenLimit) ...`.

#include "engine/control/control.h"
#include "engine/sim/wall_run.h"

// The alternate-input value of `key` for the run's current day and hour (run.Day, run.Hour);
// kAltNoValue (-9999) when the alternate input is not active or the hour has no value. A value at or
// below -999 means not given (the models, which use -999.9, compare against that instead).
inline double AltInput(const CWallRun& run, EAltKey key) {
    if (!run.AltInputActive) return kAltNoValue;
    return AltTableValue(run.Control.Alt, key, run.Day, run.Hour);
}

// Reads the control file of the run (run.Control.Options, or "halvopro.csv" in the program folder),
// when there is one: reads the alternate input it names (run.AltInputActive), takes the hourly
// output name and columns, and applies settings lines 4..11 to MainAbsorptance, MainEmittance,
// CanopyAbsorptance, CanopyEmittance, Thickness, PitchFactor, HolePitch and WindFactor, in that
// order. An hourly output file of the options replaces the control file's. Messages go through
// `messenger`. Returns 0; a control file that cannot be read is reported and ignored.
int ReadControlFile(CWallRun& run, CMessenger& messenger);

// When hourly output was asked for: opens the file (replacing it when the run completes), shows
// "Writing hourly output to %s." or "Error writing to the specified output file %s.", writes the
// header line and sets run.HourlyOutputActive. Returns 0 when no output or the header was written.
int WriteHourlyHeader(CWallRun& run, CMessenger& messenger);

// Writes the hour's line (after the hour's sums); nothing when no output is open.
void WriteHourlyLine(CWallRun& run);

// Closes the hourly output and moves it into place; a write failure is reported.
void CloseHourlyOutput(CWallRun& run, CMessenger& messenger);
