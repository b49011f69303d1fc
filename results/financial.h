#pragma once
// The financial results page: per wall the collector size and the energy, fuel and cost savings,
// for the project the capital cost, credits, grant, net cost, payback, IRR, life-cycle savings and
// CO2. Computed into a plain record of values and the exact texts the page, the printed report and
// the command line show.

#include <array>
#include <string>

#include "project/economic_inputs.h"
#include "project/records.h"
#include "results/fuel.h"

// What the financial page needs to know about one wall.
struct CWallFinancialInputs {
    bool present = false;
    int fuelType = 0;                // heating fuel of the wall's air system, 0..8
    double heatingEfficiency = 85.0; // [%]
    double collectorArea = 0.0;      // width x height [m2]
    int bypassType = 0;              // 0 None, 1 Wall, 2 Roof
    int bypassDampers = 0;
    int fans = 0;
    double annualSavingsGJ = 0.0;    // selected-month total savings of the wall [GJ]
};

// Project-level inputs of the page.
struct CFinancialContext {
    bool resultsValid = false;
    int applicationType = 1;
    UnitSystem units = UnitSystem::SI;
    std::string currency = "$";
    std::string city;           // station name of the location
    std::string latitudeText;   // raw latitude text of the location (8 characters)
    std::string longitudeText;  // raw longitude text (12 characters)
    std::array<CWallFinancialInputs, kWallCount> walls;
};

struct CFinancialWall {
    bool active = false;
    // Values, SI: area [m2], energy [GJ], fuel [display fuel units], cost [currency], CO2 [display t].
    double area = 0.0, energy = 0.0, fuel = 0.0, cost = 0.0, co2 = 0.0;
    // Texts; all empty for an inactive wall.
    std::string title;      // "Wall 1" .. "Wall 4"
    std::string sizeText;   // "%9.2f", ft2 in IP
    std::string energyText; // "%12.1f", MMBTU in IP
    std::string fuelText;   // "%12.1f" in the wall's fuel units
    std::string fuelLabel;  // "Nat. Gas\n( m³ )", ...
    std::string costText;   // "%12.2f"
};

struct CFinancialResults {
    bool hasResults = false;

    // Values (SI, currency): totals, capital cost and the analysis.
    double totalArea = 0.0, totalEnergy = 0.0, totalCost = 0.0, totalCO2 = 0.0;
    double capitalCost = 0.0, credits = 0.0, grant = 0.0, netCost = 0.0;
    double payback = 0.0;           // years; meaningful when paybackShown
    double lifeCycleSavings = 0.0;  // meaningful when irrShown
    double irr = 0.0;               // % or kNoIRR
    bool paybackShown = false;
    bool irrShown = false;

    // Texts of the page.
    std::string heading;       // application type
    std::string locationLine;  // "City: ...  Lat: ...  Long: ..."
    std::string sizeLabel;     // "( m² )" / "( ft² )"
    std::string energyLabel;   // "( GJ ) " / "( MMBTU ) "
    std::string co2Caption;
    std::string currency;
    std::array<CFinancialWall, kWallCount> walls;
    std::string totalSizeText, totalEnergyText, totalCostText;
    std::string capitalCostText, creditsText, grantText, netCostText;
    std::string paybackText, lifeCycleSavingsText, irrText, co2Text;
};

// "Destratification && Makeup Air Preheat", "Ventilation Air Preheater", "Process Air Heater"
// (application type 1, 2, 3; "" otherwise).
std::string ApplicationHeading(int applicationType);

// "City: " + city + "  Lat: " + ddd°mmm' + "  Long: " + ddddd°mmm' from the raw location texts; a
// text shorter than its pieces contributes what it holds.
std::string LocationLine(const std::string& city, const std::string& latitudeText,
                         const std::string& longitudeText);

// Recomputes every value of the page. Stores the collector area, the number of bypass dampers and
// the number of fans of the present walls as quantities of their cost items in `econ`. Without
// results, the result texts show "N/A" and no cash flow is computed; sizes and costs are shown.
CFinancialResults ComputeFinancialResults(CEconomicInputs& econ, const CFinancialContext& ctx);
