#pragma once
// The hourly wall state: everything one wall's year-long run reads and writes. The Simulate command
// fills the inputs before each wall; RunWall adds the per-wall set-up, the per-hour quantities and the
// monthly accumulators. One instance serves all walls of a run in turn, and nothing here is shared
// between runs, so two projects can be simulated at the same time on two threads.
//
// The per-hour quantities carry the names the heat balance and the application models use, so the
// hourly output columns can read them by the same names. Units inside the run: heat rates kJ/h, air
// mass flows kg/h (air at a specific heat of 1 kJ/(kg K)), temperatures C, irradiances W/m2. Reals are
// 32-bit except where a 64-bit field is named as such; the results depend on it.
//
// The record is large (the year of hourly weather), so callers hold it on the heap.

#include <cstdint>

#include "engine/control/control.h"
#include "project/records.h"


// Result sentinels of values that an hour did not compute.
constexpr float kNotComputed = -999.9f;      // hourly temperatures and flows
constexpr float kNoCollector = -99.9f;       // collector temperatures and losses
constexpr float kNotApplicable = -9.9f;      // Bypass and FlowMalCorr
// Optional inputs at or below this are "not given".
constexpr double kNotGivenLimit = -999.0;
// What the hourly calls pass for an optional input not given, and what the design-condition calls pass.
constexpr double kNotSuppliedHourly = -9999.9;
constexpr double kNotSuppliedDesign = -9999.0;

constexpr int kMonths = 12;
constexpr int kAccumulators = 19;

// Monthly accumulators, numbered as in the result description (index = number - 1).
enum EAccumulator : int {
    kAccSolarIncident = 0,      //  1: 3.6 QSol CollArea, every hour
    kAccSolarIncidentOp = 1,    //  2: the same, when TAmb < TBypass and FlowSupply > 0.01
    kAccQColl = 2,              //  3
    kAccQAux = 3,               //  4
    kAccQFan = 4,               //  5
    kAccQRecap = 5,             //  6
    kAccQDestrat = 6,           //  7
    kAccFlowColl = 7,           //  8
    kAccDegreeDays = 8,         //  9: once a day
    kAccQSolOp = 9,             // 10
    kAccQBaseDay = 10,          // 11
    kAccQSolarDay = 11,         // 12
    kAccDayFraction = 12,       // 13
    kAccQSolarNight = 13,       // 14
    kAccNightFraction = 14,     // 15
    kAccQBaseNight = 15,        // 16
    kAccQRecapDay = 16,         // 17
    kAccFlowDay = 17,           // 18
    kAccFlowNight = 18,         // 19
};

struct CWallRun {
    // ---------------------------------------------------------------- inputs of the wall
    float MinOAFraction = 1.0f;        // minimum outdoor-air share of the supply [-]
    std::int32_t FirstDay = 1;
    std::int32_t LastDay = kDaysPerYear;
    std::int32_t AppType = 1;          // 1 destratification, 2 ventilation preheat, 3 process air
    std::int32_t CanopyPresent = 0;
    float AreaMain = 0.0f;             // [m2]
    float AreaCanopy = 0.0f;           // [m2]
    float CollHeight = 0.0f;           // main collector height (less the canopy) [m]
    float CollWidth = 0.0f;            // [m]
    float CanopyWidth = 0.0f;          // [m]
    float CanopyHeight = 0.0f;         // [m]
    float CanopyDepth = 0.0f;          // [m]
    std::int16_t CanopyType = 0;       // 0 none, 1..15
    float Slope = 90.0f;               // [deg]
    float PlenumDepth = 0.0f;          // collector depth [m]
    float Porosity = 0.0f;             // [-]
    std::int16_t CollType = 0;         // collector type index 0..14
    float WindFactor = 0.35f;          // [-]
    std::int32_t UseTestData = 0;
    std::int32_t TestDataKind = 5001;  // 5001 inlet, 5002 mean fluid, 5003 outlet based
    float TestFlow = 0.0f;             // [l/s]
    float TestArea = 0.0f;             // [m2]
    float TestFRta = 0.0f;             // [-]
    float TestFRUL = 0.0f;             // [W/(m2 K)]
    std::int16_t Elevation = 0;        // site elevation [m], never below 0 (see the Simulate command)
    float DesignFlow = 0.0f;           // design supply flow of all fans [l/s]
    float TSupplyMin = 15.0f;          // [C]
    float TSupplyMaxUseful = 17.0f;    // [C]
    float ExhaustFlow = 0.0f;          // [l/s]
    float PressExtra = 0.0f;           // pressure of the air system [Pa]
    std::int32_t NumFans = 1;
    float ExhaustLocFactor = 1.0f;     // Xe: 1 ceiling, 0 floor, 0.5 mid height
    std::int32_t DayOperation[kDaysPerYear + 1] = {};                 // [day 1..365], 0/1
    std::int32_t HourOperation[kHoursPerDay + 1][kWeekdays + 1] = {};  // [hour 1..24][weekday 1..7]
    float RoofR = 0.0f;                // [m2 K/W]
    float WallR = 0.0f;                // [m2 K/W]
    float DuctLength = 0.0f;           // [m]
    float TCeilingDesign = 25.0f;      // ceiling temperature without the solar system [C]
    float TBuilding = 20.0f;           // indoor temperature [C]; an alternate "tfloor" replaces it
    float TBypass = 9999.9f;           // ambient temperature from which the collector is bypassed [C]

    // The year of hourly weather for this wall's orientation, [day - 1][hour - 1].
    HourlyArray<float> WeaHGlo = {};       // horizontal global irradiance [W/m2]
    HourlyArray<float> WeaQSol = {};       // wall-plane irradiance [W/m2]
    HourlyArray<float> WeaTAmb = {};       // dry-bulb temperature [C]
    HourlyArray<float> WeaVWind = {};      // weather-file wind speed [m/s]
    HourlyArray<float> WeaClearness = {};  // clearness index [-]
    HourlyArray<double> WeaHumRatio = {};  // humidity ratio [kg/kg]
    double Latitude = 0.0;                 // [rad], for the daylight fraction

    std::int32_t ControlFilePresent = 0;   // "halvopro.csv" beside the program

    // ---------------------------------------------------------------- set once per wall by RunWall
    std::int32_t WallNumber = 1;       // 1..4
    float Thickness = 0.8f;            // plate thickness [mm]
    double PitchFactor = 1.6;          // hole pattern: 1.0 square, 1.6 triangular
    float HolePitch = 0.0f;            // [mm]
    std::int16_t MainKind = 1;         // 1 transpired, 2 back-pass, 3 glazed back-pass
    float MainAbsorptance = 0.0f;
    float MainEmittance = 0.0f;
    std::int16_t CanopyKind = 0;       // 0 none, else as MainKind
    float CanopyAbsorptance = 0.0f;
    float CanopyEmittance = 0.0f;
    std::int32_t MonthEnd[kMonths + 1] = {};  // [month 1..12] last day of the month
    std::int32_t AltInputActive = 0;   // an alternate input file was read for this run
    std::int32_t HourlyOutputActive = 0;
    float CollArea = 0.0f;             // AreaMain + AreaCanopy [m2]
    float UAWall = 0.0f;               // [kJ/(h K)]
    float UACeiling = 0.0f;            // [kJ/(h K)]
    float TCeilingState = 25.0f;       // Tc, the ceiling temperature carried from hour to hour [C]
    float FlowShareMain = 0.0f;        // [m3/s]
    float FlowShareCanopy = 0.0f;      // [m3/s]
    float QFanDesign = 0.0f;           // fan energy per hour at design conditions, one fan [kJ/h]
    float Acc[kMonths + 1][kAccumulators] = {};  // [month 1..12][accumulator]
    float DailyMeanTemp = 0.0f;        // running mean of the day's TAmb [C]
    float DayLengthHours[kDaysPerYear + 1] = {};  // [day 1..365] for the daylight fraction [h]

    // ---------------------------------------------------------------- set every hour by the driver
    std::int32_t Day = 1;              // 1..365
    std::int32_t Weekday = 2;          // 1..7
    std::int32_t Hour = 1;             // 1..24
    std::int32_t Month = 1;            // 1..12
    float TAmb = 0.0f;                 // [C]
    double HumRatio = 0.0;             // [kg/kg]
    float VWindSite = 0.0f;            // wind at the wall [m/s]
    float QSol = 0.0f;                 // wall-plane irradiance [W/m2]
    float HGlo = 0.0f;                 // horizontal irradiance [W/m2]
    float Clearness = 0.0f;            // [-]
    float AirDensity = 1.2f;           // [kg/m3]
    float FlowDesign = 0.0f;           // [kg/h]
    float FlowExhaustDesign = 0.0f;    // [kg/h]

    // ---------------------------------------------------------------- written by the models and balance
    std::int32_t Operating = 0;
    float QColl = 0.0f;                // useful solar heat [kJ/h]
    float QAux = 0.0f;                 // auxiliary heat still needed [kJ/h]
    float QRecap = 0.0f;               // recaptured wall loss [kJ/h]
    float QDestrat = 0.0f;             // destratification saving [kJ/h]
    float FlowColl = 0.0f;             // air through the collectors [kg/h]
    float TSupply = 0.0f;              // [C]
    float QFan = 0.0f;                 // fan energy of the hour [kJ/h]
    float FanRise = 0.0f;              // supply temperature rise from the fan [K]
    float QSolOp = 0.0f;               // operating solar [kJ/h]
    float QBase = 0.0f;                // base heating load [kJ/h]
    float QBaseDay = 0.0f;
    float QBaseNight = 0.0f;
    float QRecapDay = 0.0f;
    float FlowDay = 0.0f;
    float FlowNight = 0.0f;
    float FlowExhaust = kNotComputed;  // [kg/h]
    float QSolarDay = 0.0f;
    float QSolarNight = 0.0f;
    float DayFraction = 0.0f;
    float NightFraction = 0.0f;
    float FlowSupply = 0.0f;           // [kg/h]
    float TColl = 0.0f;                // air leaving the collector wall [C]
    float FracFresh = kNotComputed;
    float TCeiling = kNotComputed;
    float TRecirc = kNotComputed;
    float TFloor = kNotComputed;
    float TWall = kNotComputed;
    float TExhaust = kNotComputed;
    float Bypass = kNotApplicable;
    float QRad = kNoCollector;         // [kJ/h]
    float QConv = kNoCollector;        // [kJ/h]
    double TSkyView = kNoCollector;    // [C]
    double TPlate = kNoCollector;      // [C]
    double FlowMalCorr = kNotApplicable;
    std::int32_t CollStatus = 1;       // status of the last collector model call

    // ---------------------------------------------------------------- the control file of the run
    // Options from the caller (a command line's --control/--hourly), the settings read, the
    // alternate input tables and the open hourly output.
    CControlRun Control;
};
