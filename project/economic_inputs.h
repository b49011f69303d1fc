#pragma once
// Economic inputs of a project: financial parameters, fuel prices, sales taxes, the capital cost items
// and the credit items. One record per project, owned by value by the project document.
//
// Percentages are held as percent values (8 means 8 %), money in the project's currency, physical
// quantities in SI. Reals are 64-bit. The order of the groups below is the order in which the project
// file stores them; the file reader and writer, the cost pages and the financial analysis all work on
// these fields directly, so the names are part of the project's interface.

#include <cstddef>

// Tax names are stored in the project file as their first 5 bytes (the terminator included), so a
// name keeps at most this many characters through a save and reload.
inline constexpr std::size_t kEconTaxNameMax = 4;

// Number of fuel cost classes: 0 Natural Gas, 1 Electricity, 2 Propane, 3 Oil, 4 Softwood, 5 Hardwood.
inline constexpr int kEconFuelClasses = 6;

// A cost or credit item priced as quantity x unit cost (collector, ducting, dampers, fans, cladding,
// makeup air system, credit freight and installation).
struct CEconQtyItem {
    int tax1Flag = 1;       // 1 when Tax 1 applies to the item
    int tax2Flag = 1;       // 1 when Tax 2 applies to the item
    double quantity = 0.0;  // units of the row (m2, m, kg, l/s, count ...), SI
    double unitCost = 0.0;  // currency per SI unit of the quantity
    double amount = 0.0;    // currency, taxes included, as last computed by the cost pages
};

// A cost item entered as one lump sum (collector installation, freight, mechanical installation).
struct CEconLumpItem {
    int tax1Flag = 1;
    int tax2Flag = 1;
    double cost = 0.0;    // currency, before taxes
    double amount = 0.0;  // currency, taxes included
};

// Overhead & Profit and Engineering: a percentage of the item subtotal, or a lump sum when the
// lump-sum flag is set.
struct CEconPercentItem {
    int tax1Flag = 1;
    int tax2Flag = 1;
    double percent = 0.0;  // % of the subtotal (used when lumpSumFlag == 0)
    double lumpSum = 0.0;  // currency, before taxes (used when lumpSumFlag != 0)
    double amount = 0.0;   // currency, taxes included
    int lumpSumFlag = 0;   // 0 percentage mode, 1 lump-sum mode
};

struct CEconomicInputs {
    // Three reals kept with the project that no calculation reads; stored and restored unchanged.
    double reserved[3] = {0.0, 0.0, 0.0};

    // --- Financial ---
    double projectLife = 25.0;       // years (used as an integer: the length of the cash flow)
    double inflation = 3.0;          // % per year, escalation of the annual operating cost
    double discountRate = 8.0;       // % per year, "Discount Rate (Cost of Money)"
    double debtRatio = 80.0;         // % of the net cost borrowed
    double debtInterestRate = 7.0;   // % per year
    double depreciationRate = 0.0;   // % per year, declining balance
    double debtTerm = 10.0;          // years (used as an integer)
    double grant = 0.0;              // "Grant or Subsidy", % of the capital cost
    double corporateTaxRate = 25.0;  // %

    // --- Fuel ---
    int fuelCostClassShown = 0;  // cost class last shown on the Financial page (0..5)
    // Price of the displaced fuel per cost class, currency per SI unit (m3, kWh, l, l, ton, ton).
    double fuelPrice[kEconFuelClasses] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double fuelEscalationRate = 3.0;  // % per year, growth of the annual savings

    // --- Sales taxes ---
    double tax1Rate = 8.0;  // %
    double tax2Rate = 7.0;  // %
    int fuelTax1Flag = 1;   // 1 when Tax 1 applies to the fuel price
    int fuelTax2Flag = 1;   // 1 when Tax 2 applies to the fuel price
    // Zero-terminated names; at most kEconTaxNameMax characters survive a save.
    char tax1Name[kEconTaxNameMax + 1] = "PST";
    char tax2Name[kEconTaxNameMax + 1] = "GST";

    // --- Cost items (capital cost) ---
    // quantity = collector area of the present walls (m2), set by the financial analysis.
    CEconQtyItem collector{1, 1, 0.0, 70.0, 0.0};
    CEconLumpItem collectorInstallation;
    CEconQtyItem ducting;
    int ductingUnitIndex = 0;  // 0 m (ft), 1 kg (lb), 2 L/s (cfm)
    // quantity = number of bypass dampers of the present walls with a bypass; set by the analysis.
    CEconQtyItem bypassDamper;
    // quantity = number of fans of the present walls; set by the analysis.
    CEconQtyItem fans;
    CEconLumpItem freight;
    CEconLumpItem mechInstallation;
    CEconPercentItem overheadProfit;
    CEconPercentItem engineering;

    // --- Credit items ---
    CEconQtyItem creditWallCladding;  // quantity in m2
    CEconQtyItem creditMakeupAir;     // quantity in l/s
    int creditMakeupAirUnitIndex = 0;  // 0 L/s (cfm)
    CEconQtyItem creditFreight;
    CEconQtyItem creditInstallation;
    CEconPercentItem creditOverheadProfit;
    CEconPercentItem creditEngineering;
};
