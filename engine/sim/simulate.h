#pragma once
// The Simulate command: every present wall of a project through its year of hourly weather, with the
// results stored back into the project's CProjectResults. No UI: messages go through the CMessenger,
// progress through the CRunProgress; the caller redraws its views afterwards.

#include <string>

#include "engine/control/control.h"
#include "project/records.h"

class CHalvo98Doc;
class CMessenger;
class CRunProgress;
struct CWallRun;

// What a Simulate command ended with.
enum ESimulateResult : int {
    kSimulateDone = 0,         // every present wall ran; results valid
    kSimulateNoWeather = 1,    // the weather file is missing: "Weather File Cannot be Found. ..."
    kSimulateBadWeather = 2,   // the weather file is of the wrong size or refused by the reader
    kSimulateBadWall = 3,      // a wall's input would make the run meaningless (named in the message)
};

constexpr const char* kWeatherNotFoundText =
    "Weather File Cannot be Found. Please Select a valid Location.";
constexpr const char* kWeatherCaption = "Weather Data";

// Runs the command on `doc`. When refused, nothing in the project changes (results, their valid
// flag, the location). `progress` may be null; `control` gives a command line's control-file
// options (null: the control file beside the program, as the desktop program has it).
// Never writes a file of the project.
ESimulateResult SimulateProject(CHalvo98Doc& doc, CMessenger& messenger, CRunProgress* progress,
                                const CControlOptions* control = nullptr);

// Pressure of the wall's air handling system [Pa] (single precision): bypass damper inlet loss plus
// the duct pressure drop (types 2 and 3, x 1.2 with a flow straightener), or for the
// destratification ducts of type 1 the duct friction, discharge openings and inlet loss.
float SystemPressure(const CAirSystem& air, const CCollectorSpec& collector, int appType);

// The bypass input of a wall [C]: 9999.9 without a summer bypass; else the bypass temperature, or the
// minimum supply temperature + 0.05 when the bypass temperature is below it.
float TBypass(const CCollectorSpec& collector, const CAirSystem& air);

// Half-month 0..23 that contains day 1..365 (first halves: days 1-15, in February 1-14).
int HalfMonthOfDay(int day);

// An azimuth [deg] brought into -180..180 (270 -> -90).
double NormalizeAzimuth(double azimuth);

// Checks the inputs of wall index 0..3 that the run depends on; false with a message naming the wall
// and the field.
bool CheckWallInputs(const CHalvo98Doc& doc, int wallIndex, std::string& error);

// Fills the run's inputs of wall index 0..3 from the project (the location's hourly weather must
// already describe this wall's orientation). `controlPresent` becomes ControlFilePresent.
void FillWallRun(CWallRun& run, const CHalvo98Doc& doc, int wallIndex, int controlPresent);
