#pragma once
// Economic analysis of a project: capital cost and credits, the conversion of energy savings into
// fuel, money and CO2, the after-tax debt-financed cash flow with its life-cycle savings, and the
// internal rate of return.
//
// All money is in the project's currency; rates are passed as percent values (8 means 8 %).

#include <vector>

#include "project/economic_inputs.h"
#include "project/records.h"

// Returned as the IRR when the cash flows have none (all of one sign, or no bracket was found).
inline constexpr double kNoIRR = -2000000.0;
// An IRR at or below this shows "N/A".
inline constexpr double kIRRShownAbove = -1990000.0;

// Rounds x to `decimals` places, half to even, deciding on the first four digits of the scaled
// fraction: the fraction is truncated to four digits and .4999 is taken for a tie (so a value that
// binary floating point stores just below a half, such as 2.675, still counts as one). Above .5000
// rounds away from zero; a tie rounds away only when the integer part is odd. Symmetric in the sign.
double RoundHalfEven(double x, int decimals);
// R(x) of the cost pages: money rounded to cents.
inline double RoundCents(double x) { return RoundHalfEven(x, 2); }

// Tax factor of a cost row or of the fuel price: (tax1 x flag1 + 100 + tax2 x flag2) / 100.
double TaxFactor(double tax1Rate, int tax1Flag, double tax2Rate, int tax2Flag);

// What the cost total needs to know about one wall.
struct CWallCostInputs {
    bool present = false;
    double collectorArea = 0.0;  // width x height [m2]
    int bypassType = 0;          // 0 None, 1 Wall, 2 Roof
    int bypassDampers = 0;       // number of bypass dampers of the wall
    int fans = 0;                // number of fans of the wall
};

struct CCapitalCost {
    double collectorArea = 0.0;  // total of the present walls [m2]
    int bypassDampers = 0;       // of the present walls with a bypass
    int fans = 0;                // of the present walls
    double subtotal = 0.0;       // the seven priced items
    double engineering = 0.0;
    double overheadProfit = 0.0;
    double total = 0.0;          // K = subtotal + engineering + overhead & profit
};

// Capital cost total K of the cost items. Stores the collector area, the number of bypass dampers
// and the number of fans of the present walls as the quantities of their cost items in `econ`.
CCapitalCost CapitalCostTotal(CEconomicInputs& econ, const CWallCostInputs (&walls)[kWallCount]);

// Credit total Cr: the six credit amounts as stored.
double CreditTotal(const CEconomicInputs& econ);

// After-tax cash flow of the project over its life, with the loan, declining-balance depreciation
// and corporate tax.
//   netCost         a = capital cost - grant - credits
//   depreciableCost b = capital cost - credits
//   equityPercent   share of the net cost not borrowed [%] (100 - debt ratio)
//   debtTerm        loan length n [years], truncated to an integer
//   projectLife     length N of the cash flow [years], truncated to an integer
//   firstYearSavings S, the savings before escalation (year 1 already carries one year of it)
//   annualOperatingCost o0 (the financial results pass 0)
// Returns the life-cycle savings (discounted at discountPercent); the IRR in % goes to *irrPercent
// (kNoIRR when there is none). `flows`, when given, receives p0 .. pN.
double CashFlowAnalysis(double netCost, double depreciableCost, double equityPercent, double debtTerm,
                        double projectLife, double debtInterestPercent, double discountPercent,
                        double inflationPercent, double corporateTaxPercent, double firstYearSavings,
                        double annualOperatingCost, double fuelEscalationPercent,
                        double depreciationPercent, double* irrPercent,
                        std::vector<double>* flows = nullptr);

// Net present value of flows p0 .. pN at rate x (a fraction): sum of p_j (1 + x)^-j.
double NetPresentValue(const std::vector<double>& flows, double x);

// Internal rate of return of flows p0 .. pN in %, or kNoIRR. Brackets outward from [0, 0.05] and
// then bisects to a step below 1e-6.
double InternalRateOfReturn(const std::vector<double>& flows);
