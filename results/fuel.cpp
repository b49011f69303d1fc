#include "results/fuel.h"

namespace {

struct FuelRow {
    double unitsPerGJ;
    double co2Factor;
    double ipFactor;
    const char* labelSI;
    const char* labelIP;
};

// Units per GJ from the fuels' heating values; CO2 in tonnes per GJ of fuel burnt (for electricity:
// per GJ delivered from the named generation mix).
// The wood labels really do read "ton" in SI and "tonne" in IP (and "tonnne" for hardwood): they are
// the texts users of the page have always seen, so they stay.
const FuelRow kFuels[kFuelTypeCount] = {
    {26.839, 0.0498, 0.353147, "Nat. Gas\n( m³ )", "Nat. Gas\n( therms )"},
    {277.778, 0.2727273, 1.0, "Elec.\n( kWh )", "Elec.\n( kWh )"},
    {277.778, 0.1424242, 1.0, "Elec.\n( kWh )", "Elec.\n( kWh )"},
    {277.778, 0.2212121, 1.0, "Elec.\n( kWh )", "Elec.\n( kWh )"},
    {277.778, 0.0, 1.0, "Elec.\n( kWh )", "Elec.\n( kWh )"},
    {37.5, 0.05993, 0.264172, "Propane\n( l )", "Propane\n( GalUS )"},
    {25.74, 0.07316, 0.264172, "Oil\n( l )", "Oil\n( GalUS )"},
    {0.08354219, 0.0, 1.1, "Softwood\n( ton )", "Softwood\n( tonne )"},
    {0.06265664, 0.0, 1.1, "Hardwood\n( ton )", "Hardwood\n( tonnne )"},
};

}  // namespace

CFuelConstants FuelConstants(int fuelType, UnitSystem units) {
    CFuelConstants c;
    if (fuelType < 0 || fuelType >= kFuelTypeCount) {
        c.label = "ERROR";
        return c;
    }
    const FuelRow& r = kFuels[fuelType];
    c.unitsPerGJ = r.unitsPerGJ;
    c.co2Factor = r.co2Factor;
    c.ipFactor = units == UnitSystem::IP ? r.ipFactor : 1.0;
    c.label = units == UnitSystem::IP ? r.labelIP : r.labelSI;
    return c;
}

int FuelCostClass(int fuelType) {
    if (fuelType >= 1 && fuelType <= 4) return 1;
    if (fuelType >= 5 && fuelType <= 8) return fuelType - 3;
    return 0;
}

double FuelPriceIPFactor(int costClass) {
    switch (costClass) {
    case 0: return 2.8316819907857065;
    case 2:
    case 3: return 3.7854;
    case 4:
    case 5: return 0.9090909090909091;
    default: return 1.0;
    }
}

std::string FuelPriceUnit(int costClass, UnitSystem units) {
    const bool si = units == UnitSystem::SI;
    switch (costClass) {
    case 0: return si ? "m³" : "therm";
    case 1: return "kWh";
    case 2:
    case 3: return si ? "l" : "Gal US";
    case 4:
    case 5: return si ? "ton" : "tonne";
    default: return "";
    }
}

std::string FuelCostClassName(int costClass) {
    static const char* const kNames[] = {"Natural Gas", "Electricity", "Propane", "Oil", "Softwood", "Hardwood"};
    if (costClass < 0 || costClass > 5) return "";
    return kNames[costClass];
}
