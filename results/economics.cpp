#include "results/economics.h"

#include <algorithm>
#include <cmath>

double RoundHalfEven(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    const double scale = std::pow(10.0, decimals);
    const bool negative = x < 0.0;
    const double y = std::fabs(x) * scale;
    // From 2^52 on a double holds no fraction, so there is nothing to round; beyond the range the
    // scaled value would be infinite and the fraction undefined.
    if (!(y < 4503599627370496.0)) return x;
    double whole = std::floor(y);
    // The decision uses four digits of the fraction only, truncated; 4999 counts as a tie so that a
    // half that binary arithmetic stores slightly low is still treated as a half.
    // The digits are those of the decimal value: a fraction that binary arithmetic lands a few units
    // in the last place below a digit boundary (12.5001 held as 12.50009999999...) belongs to the
    // digit above, or .5001 would count as a tie and .4999 as below it.
    const double slack = 4.0 * (std::nextafter(y, INFINITY) - y) * 10000.0;
    const long long frac4 = static_cast<long long>((y - whole) * 10000.0 + slack);
    const bool odd = std::fmod(whole, 2.0) != 0.0;
    if (frac4 > 5000 || ((frac4 == 5000 || frac4 == 4999) && odd)) whole += 1.0;
    const double r = whole / scale;
    return negative ? -r : r;
}

double TaxFactor(double tax1Rate, int tax1Flag, double tax2Rate, int tax2Flag) {
    return (tax1Rate * tax1Flag + 100.0 + tax2Rate * tax2Flag) / 100.0;
}

namespace {

double ItemFactor(const CEconomicInputs& e, int tax1Flag, int tax2Flag) {
    return TaxFactor(e.tax1Rate, tax1Flag, e.tax2Rate, tax2Flag);
}

template <typename Item>
double Factor(const CEconomicInputs& e, const Item& item) {
    return ItemFactor(e, item.tax1Flag, item.tax2Flag);
}

double PercentItemCost(const CEconomicInputs& e, const CEconPercentItem& item, double subtotal) {
    const double f = Factor(e, item);
    if (item.lumpSumFlag) return RoundCents(f * item.lumpSum);
    return RoundCents(subtotal * item.percent / 100.0 * f);
}

// A year count given as a real: truncated, with NaN and absurd values kept to a bounded loop.
int YearCount(double years) {
    if (!(years > 0.0)) return 0;
    return static_cast<int>(std::min(years, 10000.0));
}

}  // namespace

CCapitalCost CapitalCostTotal(CEconomicInputs& econ, const CWallCostInputs (&walls)[kWallCount]) {
    CCapitalCost c;
    for (const CWallCostInputs& w : walls) {
        if (!w.present) continue;
        c.collectorArea += w.collectorArea;
        if (w.bypassType != 0) c.bypassDampers += w.bypassDampers;
        c.fans += w.fans;
    }
    econ.collector.quantity = c.collectorArea;
    econ.bypassDamper.quantity = c.bypassDampers;
    econ.fans.quantity = c.fans;

    c.subtotal = RoundCents(c.collectorArea * econ.collector.unitCost * Factor(econ, econ.collector)) +
                 RoundCents(Factor(econ, econ.collectorInstallation) * econ.collectorInstallation.cost) +
                 RoundCents(econ.ducting.quantity * econ.ducting.unitCost * Factor(econ, econ.ducting)) +
                 RoundCents(c.bypassDampers * econ.bypassDamper.unitCost * Factor(econ, econ.bypassDamper)) +
                 RoundCents(c.fans * econ.fans.unitCost * Factor(econ, econ.fans)) +
                 RoundCents(Factor(econ, econ.freight) * econ.freight.cost) +
                 RoundCents(Factor(econ, econ.mechInstallation) * econ.mechInstallation.cost);
    c.engineering = PercentItemCost(econ, econ.engineering, c.subtotal);
    c.overheadProfit = PercentItemCost(econ, econ.overheadProfit, c.subtotal);
    c.total = c.subtotal + c.engineering + c.overheadProfit;
    return c;
}

double CreditTotal(const CEconomicInputs& e) {
    return e.creditWallCladding.amount + e.creditMakeupAir.amount + e.creditFreight.amount +
           e.creditInstallation.amount + e.creditOverheadProfit.amount + e.creditEngineering.amount;
}

double NetPresentValue(const std::vector<double>& flows, double x) {
    double npv = 0.0;
    for (std::size_t j = 0; j < flows.size(); ++j)
        npv += flows[j] * std::pow(1.0 + x, -static_cast<double>(j));
    return npv;
}

double InternalRateOfReturn(const std::vector<double>& flows) {
    double lo = 0.0, hi = 0.05;
    double npvLo = NetPresentValue(flows, lo);
    double npvHi = NetPresentValue(flows, hi);
    for (int i = 0; i < 10000 && npvLo * npvHi >= 0.0; ++i) {
        if (std::fabs(npvHi) > std::fabs(npvLo)) {
            lo = lo - (hi - lo);
            npvLo = NetPresentValue(flows, lo);
        } else {
            hi = hi + (hi - lo);
            npvHi = NetPresentValue(flows, hi);
        }
    }
    // A bracket that ran into a pole of the discount factor or overflowed is no bracket.
    const double product = npvLo * npvHi;
    if (std::isnan(product) || product >= 0.0) return kNoIRR;

    double x0, step;
    if (npvLo < 0.0) {
        x0 = lo;
        step = hi - lo;
    } else {
        x0 = hi;
        step = lo - hi;
    }
    for (int i = 0; i < 10000; ++i) {
        step /= 2.0;
        const double mid = x0 + step;
        const double npvMid = NetPresentValue(flows, mid);
        if (npvMid <= 0.0) x0 = mid;
        if (std::fabs(step) < 1e-6 || npvMid == 0.0) break;
    }
    return 100.0 * x0;
}

double CashFlowAnalysis(double netCost, double depreciableCost, double equityPercent, double debtTerm,
                        double projectLife, double debtInterestPercent, double discountPercent,
                        double inflationPercent, double corporateTaxPercent, double firstYearSavings,
                        double annualOperatingCost, double fuelEscalationPercent,
                        double depreciationPercent, double* irrPercent, std::vector<double>* flows) {
    const int life = YearCount(projectLife);
    const int term = YearCount(debtTerm);
    const double a = netCost;
    const double b = depreciableCost;
    const double c = equityPercent / 100.0;
    const double d = debtInterestPercent / 100.0;
    const double discount = discountPercent / 100.0;
    const double inflation = inflationPercent / 100.0;
    const double taxRate = corporateTaxPercent / 100.0;
    const double escalation = fuelEscalationPercent / 100.0;
    const double t = depreciationPercent / 100.0;

    std::vector<double> p;
    p.reserve(static_cast<std::size_t>(life) + 1);

    double principal = 0.0;
    double payment = 0.0;
    if (term >= 1 && c < 1.0) {
        principal = (1.0 - c) * a;
        p.push_back(-c * a);
        if (d > 0.0) {
            const double g = std::pow(1.0 + d, term);
            payment = principal * d * g / (g - 1.0);
        } else {
            payment = principal / term;
        }
    } else {
        p.push_back(-a);
    }

    double lcs = -(a - principal);
    double h = firstYearSavings;
    double o = annualOperatingCost;
    double D = payment;
    for (int j = 1; j <= life; ++j) {
        h *= 1.0 + escalation;
        o *= 1.0 + inflation;
        double interest = 0.0;
        if (j <= term) {
            const double repaid = D * std::pow(1.0 + d, -static_cast<double>(term - j + 1));
            interest = D - repaid;
        } else {
            D = 0.0;  // the loan is paid off; no payment in this or any later year
        }
        // Declining balance, with the whole remaining balance written off in the last year.
        const double w = j < life ? t * b * std::pow(1.0 - t, j) : b * std::pow(1.0 - t, life);
        const double tax = taxRate * (h - o - w - interest);
        const double flow = h - D - o - tax;
        p.push_back(flow);
        lcs += flow / std::pow(1.0 + discount, j);
    }

    if (irrPercent) *irrPercent = InternalRateOfReturn(p);
    if (flows) *flows = std::move(p);
    return lcs;
}
