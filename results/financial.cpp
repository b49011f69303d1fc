#include "results/financial.h"

#include <cstdio>

#include "results/economics.h"

namespace {

constexpr double kM2ToFt2 = 10.76391;
constexpr double kGJToMMBTU = 0.94782;
constexpr double kTonnesToTons = 1.1;

std::string Fmt(const char* format, double v) {
    char buf[400];  // room for the largest double in fixed notation, so no text is cut short
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// Bytes [from, from + n) of s, as far as s reaches.
std::string Piece(const std::string& s, std::size_t from, std::size_t n) {
    return from < s.size() ? s.substr(from, n) : std::string();
}

}  // namespace

std::string ApplicationHeading(int applicationType) {
    switch (applicationType) {
    case 1: return "Destratification && Makeup Air Preheat";
    case 2: return "Ventilation Air Preheater";
    case 3: return "Process Air Heater";
    default: return "";
    }
}

// The longitude text is "W", a blank, three degree characters, a blank and two minute characters
// ("W  79 38"), so the minutes follow the degrees after a blank exactly as in the latitude text.
// Taking only two characters after the degrees would show the blank and the tens of the minutes
// ("79° 3'" for 79 deg 38 min); three characters keep the whole minutes, as the latitude does.
std::string LocationLine(const std::string& city, const std::string& lat, const std::string& lon) {
    return "City: " + city + "  Lat: " + Piece(lat, 0, 4) + "°" + Piece(lat, 4, 3) + "'" +
           "  Long: " + Piece(lon, 0, 5) + "°" + Piece(lon, 5, 3) + "'";
}

CFinancialResults ComputeFinancialResults(CEconomicInputs& econ, const CFinancialContext& ctx) {
    CFinancialResults r;
    const bool ip = ctx.units == UnitSystem::IP;
    r.hasResults = ctx.resultsValid;
    r.heading = ApplicationHeading(ctx.applicationType);
    r.locationLine = LocationLine(ctx.city, ctx.latitudeText, ctx.longitudeText);
    r.sizeLabel = ip ? "( ft² )" : "( m² )";
    r.energyLabel = ip ? "( MMBTU ) " : "( GJ ) ";
    r.co2Caption = ip ? "Reduced Carbon Dioxide\nEmmissions (tons/year)"
                      : "Reduced Carbon Dioxide\nEmmissions (tonnes/year)";
    r.currency = ctx.currency;

    const double areaFactor = ip ? kM2ToFt2 : 1.0;
    const double energyFactor = ip ? kGJToMMBTU : 1.0;
    const double fuelTax = TaxFactor(econ.tax1Rate, econ.fuelTax1Flag, econ.tax2Rate, econ.fuelTax2Flag);

    CWallCostInputs costWalls[kWallCount];
    for (int w = 0; w < kWallCount; ++w) {
        const CWallFinancialInputs& in = ctx.walls[w];
        costWalls[w] = {in.present, in.collectorArea, in.bypassType, in.bypassDampers, in.fans};
        CFinancialWall& out = r.walls[w];
        if (!in.present) continue;
        out.active = true;
        out.title = "Wall " + std::to_string(w + 1);
        out.area = in.collectorArea;
        out.sizeText = Fmt("%9.2f", out.area * areaFactor);
        r.totalArea += out.area;

        const CFuelConstants fuel = FuelConstants(in.fuelType, ctx.units);
        out.fuelLabel = fuel.label;
        if (!ctx.resultsValid) {
            out.energyText = out.fuelText = out.costText = "N/A";
            continue;
        }
        const double eta = in.heatingEfficiency / 100.0;
        out.energy = in.annualSavingsGJ;
        out.fuel = out.energy * fuel.unitsPerGJ * fuel.ipFactor / eta;
        const int costClass = FuelCostClass(in.fuelType);
        out.cost = out.fuel * econ.fuelPrice[costClass] / fuel.ipFactor * fuelTax;
        out.co2 = out.energy * fuel.co2Factor * (ip ? kTonnesToTons : 1.0) / eta;
        out.energyText = Fmt("%12.1f", out.energy * energyFactor);
        out.fuelText = Fmt("%12.1f", out.fuel);
        out.costText = Fmt("%12.2f", out.cost);
        r.totalEnergy += out.energy;
        r.totalCost += out.cost;
        r.totalCO2 += out.co2;
    }

    const CCapitalCost capital = CapitalCostTotal(econ, costWalls);
    r.capitalCost = capital.total;
    r.credits = CreditTotal(econ);
    r.grant = r.capitalCost * econ.grant / 100.0;
    r.netCost = r.capitalCost - r.credits - r.grant;
    r.totalSizeText = Fmt("%9.2f", r.totalArea * areaFactor);
    r.capitalCostText = Fmt("%14.0f", r.capitalCost);
    r.creditsText = Fmt("%14.0f", r.credits);
    r.grantText = Fmt("%14.0f", r.grant);
    r.netCostText = Fmt("%14.0f", r.netCost);

    if (!ctx.resultsValid) {
        r.totalEnergyText = r.totalCostText = r.paybackText = r.lifeCycleSavingsText = r.irrText =
            r.co2Text = "N/A";
        r.irr = kNoIRR;
        return r;
    }

    r.totalEnergyText = Fmt("%12.1f", r.totalEnergy * energyFactor);
    r.totalCostText = Fmt("%12.2f", r.totalCost);
    r.co2Text = Fmt("%8.1f", r.totalCO2);

    const double S = r.totalCost;
    if (S > 0.0) {
        r.payback = (r.capitalCost - r.grant - r.credits) / S;
        r.paybackShown = true;
        r.paybackText = Fmt("%8.1f", r.payback);
    } else {
        r.paybackText = "N/A";
    }

    double irr = kNoIRR;
    const double lcs = CashFlowAnalysis(
        r.netCost, r.capitalCost - r.credits, 100.0 - econ.debtRatio, econ.debtTerm, econ.projectLife,
        econ.debtInterestRate, econ.discountRate, econ.inflation, econ.corporateTaxRate, S, 0.0,
        econ.fuelEscalationRate, econ.depreciationRate, &irr);
    r.irr = irr;
    if (irr > kIRRShownAbove) {
        r.irrShown = true;
        r.lifeCycleSavings = lcs;
        r.lifeCycleSavingsText = Fmt("%14.0f", lcs);
        r.irrText = Fmt("%8.1f", irr);
    } else {
        r.lifeCycleSavingsText = r.irrText = "N/A";
    }
    return r;
}
