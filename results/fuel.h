#pragma once
// Fuel types of a wall and the constants that turn an energy saving into fuel, money and CO2.

#include <string>

// Display unit system of a project: the units flag is 1 for SI and 0 for IP.
enum class UnitSystem { IP = 0, SI = 1 };
inline UnitSystem UnitSystemFromFlag(int unitsFlag) { return unitsFlag == 1 ? UnitSystem::SI : UnitSystem::IP; }

inline constexpr int kFuelTypeCount = 9;  // "Natural Gas" .. "Hardwood"

struct CFuelConstants {
    double unitsPerGJ = -1.0;  // amount of fuel whose energy is 1 GJ, in SI units (m3, kWh, l, ton)
    double ipFactor = 1.0;     // SI unit count -> display unit count: the table factor in IP, 1 in SI
    double co2Factor = 0.0;    // tonnes of CO2 per GJ of fuel
    std::string label;         // column label of the fuel savings, "\n" separates the unit line
};

// Constants of wall fuel type `fuelType` (0..8) for display in `units`. A type outside 0..8 gives
// units per GJ -1, no CO2 and the label "ERROR".
CFuelConstants FuelConstants(int fuelType, UnitSystem units);

// Fuel cost class (0 Natural Gas, 1 Electricity, 2 Propane, 3 Oil, 4 Softwood, 5 Hardwood) of a wall
// fuel type; anything outside 0..8 maps to class 0.
int FuelCostClass(int fuelType);

// Prices are stored per SI unit; an IP price is the stored price times this factor
// (m3 per therm, litres per US gallon, ton per tonne, 1 for electricity). Class outside 0..5: 1.
double FuelPriceIPFactor(int costClass);

// Unit shown beside a fuel price: "m³", "kWh", "l", "ton" (SI); "therm", "kWh", "Gal US", "tonne" (IP).
std::string FuelPriceUnit(int costClass, UnitSystem units);

// Name of a cost class as the Financial page lists it ("Natural Gas", "Electricity", ...).
std::string FuelCostClassName(int costClass);
