#pragma once
// The control file "halvopro.csv" of an expert user: collector settings the dialogs do not expose,
// an alternate input file that imposes values hour by hour, and an hourly output file.
//
// This header holds the data a wall's run keeps of it; it does not depend on CWallRun, so the hourly
// wall state can hold it by value:
//
//     #include "engine/control/control.h"
//     struct CWallRun { ...; CControlRun Control; };
//
// The operations that read or fill a CWallRun (ReadControlFile, WriteHourlyHeader, WriteHourlyLine,
// CloseHourlyOutput and the models' accessor AltInput) are in engine/control/control_file.h.
//
// Nothing here allocates in the hourly loop: the alternate input is a set of fixed 365 x 24 tables,
// and the hourly output columns are resolved to an enum when the control file is read.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class CMessenger;
class CFile;

constexpr int kAltDays = 365;
constexpr int kAltHours = 24;
// Marker of an hour without a value in every alternate-input table. A value above -999 counts as
// given (the models' own thresholds apply; see AltInput).
constexpr float kAltNoValue = -9999.0f;

// Column keywords of the alternate input file, in the order of their table, then the two tables
// that are derived and never read from the file.
enum class EAltKey : std::int32_t {
    HGlo,         // "hglo" horizontal global irradiance [W/m2] (derived: see ReadAlternateInput)
    TGlo,         // "tglo" irradiance on the wall plane [W/m2]
    TAmb,         // "tamb" ambient temperature [C]
    VWind,        // "vwind" wind at the weather station [m/s]
    VWindSite,    // "vwindsite" wind at the wall [m/s]
    RelHum,       // "relhum" relative humidity [fraction]; only feeds the humidity derivation
    TWet,         // "twet" wet-bulb temperature [C]; only feeds the humidity derivation
    TSky,         // "tsky" [C]
    TSkyView,     // "tskyview" [C]
    TLongwave,    // "tlongwave" net long-wave loss [W/m2]
    HConv,        // "hconv" [W/(m2 K)]
    FlowMalCorr,  // "flowmalcorr" [-]
    TColl,        // "tcoll" [C]
    TWall,        // "twall" [C]
    FColl,        // "fcoll" collector flow [l/s]
    FSupply,      // "fsupply" supply flow [l/s]
    FExhaust,     // "fexhaust" exhaust flow [l/s]
    Bypass,       // "bypass" bypass state
    FracFresh,    // "fracfresh" fraction of fresh air [-]
    TRecirc,      // "trecirc" [C]
    TCeiling,     // "tceiling" [C]
    TExhaust,     // "texhaust" [C]
    TFloor,       // "tfloor" [C]
    Simulate,     // "simulate" 1 when the hour is simulated and summed
    Clearness,    // derived clearness index [-]
    HumRatio,     // derived humidity ratio [kg/kg], held in 64 bits
};
constexpr int kAltFileKeys = 24;                                 // keys a file may name
constexpr int kAltFloatTables = kAltFileKeys + 1;                // with the derived clearness

// The keyword of a key as a file names it ("hglo", ...); "" for the derived tables.
const char* AltKeyword(EAltKey key);

// The imposed values of one run, [day - 1][hour - 1]. Large (about 0.95 MB): it lives inside the
// heap-held CWallRun.
struct CAltInput {
    std::string FileName;  // as named by the control file; empty when none was read
    float Table[kAltFloatTables][kAltDays][kAltHours];
    double HumRatio[kAltDays][kAltHours];
};

// Sets every table to kAltNoValue.
void ClearAltInput(CAltInput& alt);

// The stored value of `key` for day 1..365 and hour 1..24; kAltNoValue outside that range. It does
// not look at whether the alternate input is active: the models ask through AltInput.
inline double AltTableValue(const CAltInput& alt, EAltKey key, int day, int hour) {
    if (day < 1 || day > kAltDays || hour < 1 || hour > kAltHours) return kAltNoValue;
    const int k = static_cast<int>(key);
    if (key == EAltKey::HumRatio) return alt.HumRatio[day - 1][hour - 1];
    if (k < 0 || k >= kAltFloatTables) return kAltNoValue;
    return alt.Table[k][day - 1][hour - 1];
}

// Result codes of ReadAlternateInput.
constexpr int kAltReadOk = 0;
constexpr int kAltCannotOpen = -1;
constexpr int kAltRefused = -2;  // a value the solar or psychrometric routines would reject

// Reads the alternate input file `fileName` (host or stored separator form) into `alt`.
// 0 on success; -1 when the file cannot be opened ("Error Reading Alternate Input File: %s");
// -2 when a value is refused (the same message with the file, line, column and the reason).
// On failure every table holds kAltNoValue and the run goes on with the weather file.
int ReadAlternateInput(CAltInput& alt, const std::string& fileName, CMessenger& messenger);
// The same on a file already open (a host file or a memory view); `fileName` names it in messages.
int ReadAlternateInputFrom(CAltInput& alt, CFile& file, const std::string& fileName,
                           CMessenger& messenger);

// Columns of the hourly output file, one per keyword of control-file line 3.
enum class EHourlyColumn : std::int32_t {
    Unknown,  // any other keyword: no header text, " -- ," in every line
    Month, DayNum, WeekDay, HourNum, Hour, TAmb, VWindSite, Hum, HGlo, QSol, QSolOp, QCollSol,
    QRecap, QDestrat, QRad, QConv, TSkyView, TPlate, FColl, FSupply, FExhaust, TColl, TRecirc,
    TCeiling, TFloor, TExhaust, TWall, ByPass, FracFresh, FlowMalCorr, Simulate,
};
constexpr int kMaxHourlyColumns = 31;

// The column of an output keyword (lower case; "qcoll" and "qcollsol" are one column).
EHourlyColumn HourlyColumnOf(std::string_view keyword);
// Its header text ("TAmb,"); "" for Unknown.
const char* HourlyHeaderText(EHourlyColumn column);

// A value of a settings line (lines 4..12). Given stays 0 when the line is missing, has its
// delimiter before position 2, an empty value or a number beyond single precision; the wall then
// keeps its own value.
struct CControlValue {
    std::int32_t Given = 0;
    double Value = 0.0;
};

// What the control file says, line by line. The defaults are the wall's own values, which RunWall
// sets before the control file is read and which a given setting replaces, in this order.
struct CControlSettings {
    std::string AltInputName;  // line 1; empty: no alternate input
    std::string HourlyName;    // line 2; empty: no hourly output
    std::int32_t NumColumns = 0;                        // line 3, read when line 2 names a file
    EHourlyColumn Columns[kMaxHourlyColumns] = {};
    CControlValue MainAbsorptance;    // line 4; default from the collector type table
    CControlValue MainEmittance;      // line 5; default 0.9
    CControlValue CanopyAbsorptance;  // line 6; default from the canopy type table
    CControlValue CanopyEmittance;    // line 7; default 0.9
    CControlValue Thickness;          // line 8, metres in the file, held in mm; default 0.8 mm
    CControlValue PitchFactor;        // line 9, "square" 1.0 or "triangle" 1.6; default 1.6
    CControlValue HolePitch;          // line 10, metres in the file, held in mm; default from porosity
    CControlValue WindFactor;         // line 11; default the wall's wind sheltering
    CControlValue Line12;             // line 12: read, not used
};

// What a command line gives instead of, or on top of, the control file beside the program. Empty
// for the desktop program.
struct CControlOptions {
    std::string ControlPath;  // read this control file instead of the program folder's
    std::string HourlyPath;   // hourly output to this file, one per wall: "out-w1.csv", ...
    std::int32_t NumColumns = 0;  // the columns of that output (from --columns)
    EHourlyColumn Columns[kMaxHourlyColumns] = {};
};

// Splits a keyword list ("tamb,qsol;hour") into the options' columns, as control-file line 3 is
// split (lower-cased, at most 31). Returns the number of columns.
int SetHourlyColumns(CControlOptions& options, std::string_view keywords);

// "out.csv" and wall 2 -> "out-w2.csv"; "out" -> "out-w2" (the extension of the last component).
std::string HourlyPathForWall(std::string_view path, int wallNumber);

// The path of the control file a run reads: the options' one, or "halvopro.csv" in the program folder.
std::string ControlFilePath(const CControlOptions& options);
// 1 when a run has a control file to read (the file exists) or hourly output from the options.
int ControlFilePresent(const CControlOptions& options);

// The open hourly output file of the running wall. Written to a temporary file beside the named
// one and moved over it when closed, so a failed run never destroys the previous output. A copy of
// the record does not own the file (it is empty).
class CHourlyFile {
public:
    CHourlyFile() = default;
    CHourlyFile(const CHourlyFile&) {}
    CHourlyFile& operator=(const CHourlyFile&) { return *this; }
    ~CHourlyFile();

    bool IsOpen() const { return m_fp != nullptr; }
    int Open(const std::string& path);   // 0 on success
    std::FILE* Stream() { return m_fp; }
    // Moves the written file into place; non-zero when a write failed (the old file is kept).
    int Close();

private:
    std::FILE* m_fp = nullptr;
    std::string m_path;
    std::string m_temp;
};

// Everything of the control file that one wall's run holds; a member of CWallRun.
struct CControlRun {
    CControlOptions Options;
    CControlSettings Settings;
    CAltInput Alt;
    CHourlyFile Hourly;
    std::string HourlyPathInUse;  // the output ReadControlFile asks WriteHourlyHeader to open
    std::string HourlyFileName;   // the output the running wall writes
};

// Splits a keyword line with the tokenizer (separators comma, semicolon, colon, blank or tab; a
// trailing single character is not a token) into at most `maxTokens` views into `text`.
int ControlTokenize(std::string_view text, std::string_view* tokens, int maxTokens);
