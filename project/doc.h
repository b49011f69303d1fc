#pragma once
// The project document: everything a user enters about one installation plus the results of the
// last simulation. One instance per open project; it owns all its records by value. No UI here:
// every message and question goes through the CMessenger handed to an operation.
//
// The document is large (a year of hourly weather); allocate it on the heap
// (std::make_unique<CHalvo98Doc>()).

#include <cstdint>
#include <string>

#include "project/economic_inputs.h"
#include "project/maker/client.h"
#include "project/maker/schedule.h"
#include "project/records.h"

class CMessenger;

constexpr std::int32_t kFileVersion12 = 1020;
constexpr std::int32_t kFileVersion13 = 1030;
constexpr const char* kTemplateFileName = "default.hvf";
constexpr const char* kProgramCaption = "Halvo";

enum EApplicationType : std::int16_t {
    kAppDestratMakeup = 1,     // "Destratification & Makeup Air Heater"
    kAppVentilationPreheat = 2,  // "Ventilation Air Preheater"
    kAppProcessAir = 3,        // "Process Air Heater"
};
// Display name of an application type; empty for any other value.
const char* ApplicationTypeName(int type);

class CHalvo98Doc {
public:
    // --- Project header ---
    std::int16_t applicationType = kAppDestratMakeup;  // 1, 2 or 3
    std::int32_t wallPresent[kWallCount] = {1, 0, 0, 0};  // walls 1..n present, contiguous
    std::int32_t fileVersion = 0;   // 1020 / 1030 after a read; 0 while a read runs
    std::string pathName;           // host path of the project file; empty for a new project
    std::int32_t unitsFlag = 1;     // 1 SI display, 0 IP display (values are always held in SI)
    std::int32_t currency = 0;      // 0 "$", 1 "¥", 2 "£"
    std::int32_t language = 0;      // Preferences language index; not stored
    std::int32_t resultsValid = 0;  // 1 after a completed Simulate command
    bool modified = false;          // the document's modified flag

    // --- Records (index 0..3 = walls 1..4) ---
    CLocationData location;
    CAirSystem airSystems[kWallCount];
    CCollectorSpec collectors[kWallCount];
    C_Schedule4Occ schedules[kWallCount];
    C_ClientData client;
    C_Doc4Dealer dealer;
    CEconomicInputs economics;
    CProjectResults results;

    // Number of wall present entries equal to 1.
    int WallCount() const;

    // Resets the project to the record defaults with the changes of a new project, then reads the
    // template "default.hvf" from the program folder over it. Without a readable template the file
    // version becomes 1030 and the defaults stay. Marks the project modified. Returns true.
    bool NewProject(CMessenger& msg);

    // The wall rules. `selectedWall` is 1-based ("Wall 1"); both return the wall to select
    // afterwards (1-based), which is `selectedWall` itself when refused or cancelled.
    int AddWall(int selectedWall, CMessenger& msg);
    int RemoveWall(int selectedWall, CMessenger& msg);

    // Applies the porosity rule to wall `wall` (1-based) from its design flow and collector size.
    void SelectPorosity(int wall);

    void InvalidateResults() { resultsValid = 0; }
    void SetModifiedFlag(bool m = true) { modified = m; }
    bool IsModified() const { return modified; }

    // Copies every per-wall value (air system, collector, schedule) of wall index `from` to `to`.
    void CopyWall(int fromIndex, int toIndex);
};

// Porosity rule: x = flow / (height * width) in single precision [l/(s.m2)];
// x > 35 -> 0.01, x > 25 -> 0.005, else 0.0025.
float PorosityRule(float designFlowLps, float collectorHeight, float collectorWidth);
// The report's name of a porosity chosen by the rule: "High  ", "Medium" or "Low   ".
const char* PorosityRuleName(float porosity);

// Currency symbol of index 0..2 ("$", "¥", "£", UTF-8); empty for any other index.
std::string CurrencySymbol(int index);
