#pragma once
// The plain records of a project. Every physical value is held in SI; the units flag of the project
// only changes what is displayed. Defaults are those of a freshly constructed record; the project
// file stores the fields in the order of its own layout (project/project_file.cpp), not this one.

#include <cstdint>
#include <string>

constexpr int kWallCount = 4;          // walls 1..4, indexed 0..3
constexpr int kDaysPerYear = 365;      // no 29 February
constexpr int kHoursPerDay = 24;
constexpr int kHalfMonths = 24;
constexpr int kWeekdays = 7;

// Fixed sizes of the text fields of the location block, in bytes.
constexpr int kWeatherFileBytes = 255;  // zero-terminated when shorter
constexpr int kStationNameBytes = 100;  // zero-terminated when shorter
constexpr int kRegionCodeChars = 2;
constexpr int kLatitudeTextChars = 8;
constexpr int kLongitudeTextChars = 12;

// A [day 0..364][hour 0..23] table of one hourly weather quantity.
template <typename T>
using HourlyArray = T[kDaysPerYear][kHoursPerDay];

// The weather location of the project and the year of hourly weather read for one wall orientation.
struct CLocationData {
    // Path of the weather file relative to the program folder, backslash form as stored
    // ("\Weather\...\Toronto.wsw"); at most kWeatherFileBytes characters. Empty for a new project.
    std::string weatherFile;
    std::int16_t stationCode = 0;           // first 2 bytes of the weather file header, unchanged
    std::string stationName;                // at most kStationNameBytes characters
    char regionCode[kRegionCodeChars + 1] = {};   // two characters and a terminator
    char latitudeText[kLatitudeTextChars] = {};   // hemisphere letter, degrees, minutes; raw bytes
    char longitudeText[kLongitudeTextChars] = {}; // raw bytes, not used in calculations
    double latitude = 0.0;                  // [rad], north positive; derived, not stored
    float elevation = 0.0f;                 // [m]

    // Hourly weather, filled by the weather reader; only dryBulb[0][0] is stored in a project file.
    HourlyArray<float> dryBulb = {};         // dry-bulb temperature [C]
    HourlyArray<double> humidityRatio = {};  // [kg/kg]
    HourlyArray<float> windSpeed = {};       // weather-file wind speed [m/s]
    HourlyArray<float> globalHoriz = {};     // global horizontal irradiance [W/m2]
    HourlyArray<float> wallIrradiance = {};  // irradiance on the wall plane of the last read [W/m2]
    HourlyArray<float> clearnessIndex = {};  // [0..1]

    bool operator==(const CLocationData&) const = default;
};

// One wall's building and air handling system (its own fan system).
struct CAirSystem {
    double outsideAirPercent = 100.0;   // minimum outside air share of the supply [%]
    std::int32_t motorEfficiencyClass = 1;  // 0 Standard, 1 Medium, 2 High Efficiency
    std::int32_t fanEfficiencyClass = 1;    // same list
    std::int32_t heatingFuel = 0;       // 0 Natural Gas .. 8 Hardwood
    std::int32_t scheduleId = 1;        // id of the selected fan operating schedule
    std::int32_t exhaustFanLocation = 0;  // 0 Ceiling, 1 Floor, 2 Mid Height
    std::int32_t reservedA = 0;         // stored only
    std::int32_t numberOfFans = 1;      // fan systems, 1..25
    std::int32_t flowStraightener = 1;  // 1 if equipped
    std::int32_t taperedInlet = 1;      // 1 if equipped
    std::int32_t reservedB = 0;         // stored only
    std::int32_t reservedC = 0;         // stored only
    float ductLength = 100.0f;          // [m]
    float ductDiameter = 1.0f;          // diameter of each duct [m]
    float minSupplyTemp = 15.0f;        // minimum supply temperature [C]
    float maxUsefulSupplyTemp = 17.0f;  // maximum useful supply temperature [C]
    float designFlow = 1000.0f;         // duct flow of all fans [l/s]
    float heatingEfficiency = 85.0f;    // conventional heating efficiency [%], 0..100
    float indoorTemp = 20.0f;           // building temperature [C]
    float roofRValue = 5.28f;           // ceiling/roof thermal resistance [m2.K/W]
    float ceilingTemp = 25.0f;          // ceiling temperature before the solar system [C]
    float exhaustFlow = 1000.0f;        // [l/s]
    float wallRValue = 3.52f;           // [m2.K/W]
    float porosityCopy = 0.005f;        // collector porosity written by the wizard; stored only
    float ductPressureDrop = 125.0f;    // static pressure drop of the ducting [Pa], 0..9999

    // Derived from the wall's schedule by C_Schedule4Occ::Convert2BOOLs; not stored.
    std::int32_t halfMonthOperation[kHalfMonths] = {};           // 1 if the fans run in half-month k
    std::int32_t hourlyOperation[kHoursPerDay][kWeekdays] = {};  // [hour 0..23][weekday 0..6]

    bool operator==(const CAirSystem&) const = default;
};

// One wall's collector.
struct CCollectorSpec {
    std::int32_t reservedD = 0;     // stored only (raw 32 bits)
    std::int32_t reservedE = 0;     // stored only (raw 32 bits)
    // Reserved cost block, stored only.
    std::int32_t reservedCost1 = 10;
    float reservedCost2 = 100.0f;
    float reservedCost3 = 1.5f;
    float reservedCost4 = 150.0f;
    float windFactor = 0.35f;       // wall / weather-file wind speed: 0.35 Normal, 0.2 Protected, 0.5 Exposed
    // Reserved cost block 2, stored only, in record order 1st..11th.
    std::int32_t reservedCostB1 = 1;
    float reservedCostB2 = 10.0f;
    std::int32_t reservedCostB3 = 1;
    std::int32_t reservedCostB4 = 1;
    float reservedCostB5 = 250.0f;
    float reservedCostB6 = 10.0f;
    float reservedCostB7 = 85.0f;
    std::int32_t reservedCostB8 = 1;
    float reservedCostB9 = 100.0f;
    float reservedCostB10 = 85.0f;
    std::int32_t reservedCostB11 = 0;
    std::int32_t numberOfBypassDampers = 1;
    float canopyDepth = 1.0f;       // horizontal depth of the canopy channel [m]
    float porosity = 0.05f;         // open-area fraction of the plate; set by the porosity rule
    std::int32_t reservedF = 0;     // stored only (raw 32 bits)
    std::int32_t pictureCode = 0;   // + 2000 = collector item id of the picture; display only
    float damperWidth = 1.0f;       // bypass damper width [m]
    float damperHeight = 1.0f;      // bypass damper height [m]
    float canopyHeight = 1.0f;      // height of the canopy part of the wall [m]
    float reservedG = 1.0f;         // stored only
    float bypassTemp = 99.0f;       // ambient temperature above which the summer bypass opens [C]
    std::int32_t bypassType = 0;    // 0 None, 1 Wall, 2 Roof
    float collectorWidth = 100.0f;  // [m]
    float collectorHeight = 7.0f;   // total height including any canopy [m]
    float slope = 90.0f;            // tilt from horizontal [deg], 0..90
    float azimuth = 0.0f;           // [deg], 0 south, -90 east, +90 west, +-180 north
    float plenumDepth = 0.25f;      // depth of the air channel behind the absorber [m]
    std::int32_t canopyType = 0;    // 0 no canopy, 1..15 = collector type index + 1
    std::int32_t collectorType = 1; // 0..6 perforated, 7..13 back-pass, 14 glazed back-pass
    float testFrTauAlpha = 0.8f;    // test intercept FR(tau alpha), 0..1
    float testFrUL = 8.0f;          // test slope FR.UL [W/(m2.K)]
    float testFlow = 1000.0f;       // flow of the test [l/s]
    float testArea = 50.0f;         // area of the tested collector [m2]; in files from version 1.3 on
    std::int32_t testDataKind = 5001;  // 5001 FrTA/FrUL, 5002 FavTA/FavUL, 5003 FoTA/FoUL
    std::int32_t useTestData = 0;   // 1 = "Use Test Data" ticked

    bool operator==(const CCollectorSpec&) const = default;
};

// The eighteen monthly result tables, in this order.
enum class EResultTable : int {
    SolarIncidentTotal,      // GJ
    SolarIncidentOperating,  // GJ
    SolarCollected,          // GJ
    InsulationSavings,       // GJ
    DestratSavings,          // GJ
    TotalSavings,            // GJ
    OperatingSolar,          // GJ
    BaseLoadDay,             // GJ
    BaseLoadNight,           // GJ
    RecapturedDay,           // GJ
    CollectorFlow,           // unscaled sum
    DegreeDays,              // unscaled sum
    FlowDay,                 // unscaled sum
    FlowNight,               // unscaled sum
    SolarRiseDay,            // unscaled sum
    SolarRiseNight,          // unscaled sum
    HoursDay,                // unscaled sum
    HoursNight,              // unscaled sum
};
constexpr int kResultTableCount = 18;
constexpr int kResultRows = 5;     // row 0 all walls, rows 1..4 walls 1..4
constexpr int kResultColumns = 13; // January..December, column 12 spare

using MonthlyTable = float[kResultRows][kResultColumns];

// Results of the last Simulate command; not stored in the project file.
struct CProjectResults {
    float designFanPower[kWallCount] = {};     // [kW]
    float designFanPressure[kWallCount] = {};  // [Pa]

    MonthlyTable solarIncidentTotal = {};      // wall-plane irradiance x area incl. canopy, every hour [GJ]
    MonthlyTable solarIncidentOperating = {};  // the same in operating hours below the bypass temperature [GJ]
    MonthlyTable solarCollected = {};          // QColl [GJ]
    MonthlyTable insulationSavings = {};       // QRecap [GJ]; 0 for application type 3
    MonthlyTable destratSavings = {};          // QDestrat [GJ]; 0 unless application type 1
    MonthlyTable totalSavings = {};            // collected + insulation + destratification [GJ]
    MonthlyTable operatingSolar = {};          // QSolOp [GJ]
    MonthlyTable baseLoadDay = {};             // QBaseDay [GJ]
    MonthlyTable baseLoadNight = {};           // QBaseNight [GJ]
    MonthlyTable recapturedDay = {};           // QRecapDay [GJ]
    MonthlyTable collectorFlow = {};           // FlowColl, unscaled sum
    MonthlyTable degreeDays = {};              // daily heating degree days base 18 C, unscaled sum
    MonthlyTable flowDay = {};                 // FlowDay, unscaled sum
    MonthlyTable flowNight = {};               // FlowNight, unscaled sum
    MonthlyTable solarRiseDay = {};            // QSolarDay, unscaled sum
    MonthlyTable solarRiseNight = {};          // QSolarNight, unscaled sum
    MonthlyTable hoursDay = {};                // DayFraction, unscaled sum
    MonthlyTable hoursNight = {};              // NightFraction, unscaled sum

    // The table of an id, for loops over all eighteen.
    MonthlyTable& Table(EResultTable id);
    const MonthlyTable& Table(EResultTable id) const;
    // Sets months 0..11 of row 0 of every table to 0 (start of a run).
    void ClearAllWallsRow();

    bool operator==(const CProjectResults&) const = default;
};

// The dealer (simulator) record: eleven texts in this fixed order.
struct C_Doc4Dealer {
    std::string address;
    std::string city;
    std::string company;
    std::string country;
    std::string email;
    std::string fax;
    std::string name;
    std::string postalCode;
    std::string provinceState;
    std::string telephone;
    std::string webSite;

    static constexpr int kFieldCount = 11;
    // The field at position i (0..10) of the fixed order above.
    std::string& Field(int i);
    const std::string& Field(int i) const;
    // The dialog's label of position i ("Address", ..., "WebSite").
    static const char* FieldLabel(int i);

    bool operator==(const C_Doc4Dealer&) const = default;
};
