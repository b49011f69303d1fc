#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "results/economics.h"

namespace {

// --- Rounding to cents -------------------------------------------------------------------------
// Inputs are chosen so that x * 100 lands well inside the four-digit bucket being tested; the
// expected values follow the rule by hand (scaled fraction truncated to four digits, .4999 and
// .5000 are ties that go to the odd neighbour's even side).
struct RoundCase {
    double x;
    double expected;
    const char* why;
};
const RoundCase kRoundCases[] = {
    {0.125, 0.12, ".5000, even integer part: down"},
    {0.135, 0.14, ".5000, odd integer part: up"},
    {0.1249995, 0.12, ".4999 is a tie, even: down"},
    {0.1349995, 0.14, ".4999 is a tie, odd: up"},
    {0.1349985, 0.13, ".4998 is below the tie"},
    {0.1250005, 0.12, ".50005 truncates to .5000, even: down"},
    {0.1250015, 0.13, ".5001 is above the tie"},
    {2.675, 2.68, "stored as 267.4999...: a tie, 267 odd: up"},
    // Decimal digits that binary arithmetic lands just below their boundary (54.5001 held as
    // 54.50009999...): the digits of the decimal value decide.
    {0.545001, 0.55, ".5001 held as .50009...: above the tie, up"},
    {1234.565001, 1234.57, ".5001 on a larger amount"},
    {0.814999, 0.82, ".4999 held as .49989...: a tie, 81 odd: up"},
    {-0.545001, -0.55, "negative, above the tie"},
    {0.126, 0.13, "plain round up"},
    {0.124, 0.12, "plain round down"},
    {-0.125, -0.12, "negative tie, even"},
    {-0.135, -0.14, "negative tie, odd"},
    {-0.1349985, -0.13, "negative below the tie"},
    {-2.675, -2.68, "negative stored low"},
    {0.0, 0.0, "zero"},
    {1234.5, 1234.5, "already whole cents"},
    {1e307, 1e307, "no fraction to round; scaled by 100 it would overflow"},
    {-1e307, -1e307, "the same, negative"},
    {45035996273704.96, 45035996273704.96, "2^52 / 100: whole when scaled"},
};

TEST(RoundCents, FourDigitHalfToEvenRule) {
    for (const RoundCase& c : kRoundCases)
        EXPECT_DOUBLE_EQ(RoundCents(c.x), c.expected) << c.x << ": " << c.why;
}

// --- Capital cost total ---------------------------------------------------------------------------
// Hand calculation (Tax 1 8 %, Tax 2 7 %):
//   collector 900 m2 x 70 x 1.15                    = 72450.00
//   installation 1000 x 1.08 (Tax 1 only)           =  1080.00
//   ducting 50 x 12.34 x 1.07 (Tax 2 only)          =   660.19
//   dampers 2 x 250 x 1.15 (wall 2 has no bypass)   =   575.00
//   fans 3 x 1999.99 x 1.15 = 6899.9655             =  6899.97
//   freight 333.33, no tax                          =   333.33
//   subtotal                                        = 81998.49
//   engineering 10 % x 1.15 = 9429.82635            =  9429.83
//   overhead & profit lump sum 500 x 1.08           =   540.00
//   K                                               = 91968.32
TEST(CapitalCost, SumsRoundedItemsAndStoresQuantities) {
    CEconomicInputs e;
    e.collectorInstallation = {1, 0, 1000.0, 0.0};
    e.ducting = {0, 1, 50.0, 12.34, 0.0};
    e.bypassDamper.unitCost = 250.0;
    e.fans.unitCost = 1999.99;
    e.freight = {0, 0, 333.33, 0.0};
    e.engineering.percent = 10.0;
    e.overheadProfit = {1, 0, 99.0, 500.0, 0.0, 1};
    const CWallCostInputs walls[kWallCount] = {
        {true, 700.0, 1, 2, 2},
        {true, 200.0, 0, 3, 1},
        {false, 999.0, 1, 5, 5},
        {false, 0.0, 0, 0, 0},
    };
    const CCapitalCost c = CapitalCostTotal(e, walls);
    EXPECT_NEAR(c.subtotal, 81998.49, 1e-6);
    EXPECT_NEAR(c.engineering, 9429.83, 1e-6);
    EXPECT_NEAR(c.overheadProfit, 540.0, 1e-6);
    EXPECT_NEAR(c.total, 91968.32, 1e-6);
    EXPECT_DOUBLE_EQ(e.collector.quantity, 900.0);
    EXPECT_DOUBLE_EQ(e.bypassDamper.quantity, 2.0);
    EXPECT_DOUBLE_EQ(e.fans.quantity, 3.0);
}

TEST(CapitalCost, CreditTotalIsTheStoredAmounts) {
    CEconomicInputs e;
    e.creditWallCladding.amount = 100.5;
    e.creditMakeupAir.amount = 200.0;
    e.creditFreight.amount = 3.0;
    e.creditInstallation.amount = 4.0;
    e.creditOverheadProfit.amount = 5.0;
    e.creditEngineering.amount = 6.25;
    e.creditWallCladding.quantity = 1e6;  // quantities do not enter: amounts are taken as stored
    EXPECT_DOUBLE_EQ(CreditTotal(e), 318.75);
}

// --- Cash flow ---------------------------------------------------------------------------------------
struct Project {
    double a = 100000, b = 100000, equity = 20, term = 10, life = 25, interest = 7, discount = 8,
           inflation = 3, tax = 25, savings = 15000, operating = 0, escalation = 3, depreciation = 0;
};

double RunProject(const Project& p, double* irr, std::vector<double>* flows) {
    return CashFlowAnalysis(p.a, p.b, p.equity, p.term, p.life, p.interest, p.discount, p.inflation,
                            p.tax, p.savings, p.operating, p.escalation, p.depreciation, irr, flows);
}

TEST(CashFlow, NoLoanWhenDebtRatioOrTermIsZero) {
    for (const bool byRatio : {true, false}) {
        Project p;
        p.life = 1;
        p.tax = 0;
        p.escalation = 0;
        p.discount = 0;
        if (byRatio) p.equity = 100; else p.term = 0;
        double irr = 0;
        std::vector<double> f;
        const double lcs = RunProject(p, &irr, &f);
        ASSERT_EQ(f.size(), 2u);
        EXPECT_DOUBLE_EQ(f[0], -100000.0);
        EXPECT_DOUBLE_EQ(f[1], 15000.0);  // no payment
        EXPECT_DOUBLE_EQ(lcs, -100000.0 + 15000.0);
    }
}

TEST(CashFlow, FullyBorrowed) {
    Project p;
    p.equity = 0;  // debt ratio 100
    p.tax = 0;
    p.escalation = 0;
    p.savings = 12000;  // below the loan payment: negative flows during the loan
    std::vector<double> f;
    double irr = 0;
    const double lcs = RunProject(p, &irr, &f);
    EXPECT_EQ(f[0], 0.0);
    // Annuity of 100000 over 10 years at 7 %.
    const double D = 100000 * 0.07 * std::pow(1.07, 10) / (std::pow(1.07, 10) - 1);
    EXPECT_NEAR(f[1], 12000 - D, 1e-6);
    EXPECT_NEAR(f[11], 12000, 1e-9);
    // Life-cycle savings start at -(a - P) = 0.
    double expected = 0;
    for (int j = 1; j <= 25; ++j) expected += f[j] / std::pow(1.08, j);
    EXPECT_NEAR(lcs, expected, 1e-6);
    // Flows 0, negative, then positive: a bracket is still found from [0, 0.05].
    EXPECT_GT(irr, kIRRShownAbove);
    EXPECT_NEAR(NetPresentValue(f, irr / 100), 0.0, 1.0);
    // With savings above the payment every flow is >= 0: no IRR.
    p.savings = 15000;
    RunProject(p, &irr, &f);
    EXPECT_EQ(irr, kNoIRR);
}

TEST(CashFlow, InterestFreeLoanHasNoInterestDeduction) {
    Project p;
    p.interest = 0;
    p.escalation = 0;
    p.life = 12;
    std::vector<double> f;
    RunProject(p, nullptr, &f);
    const double D = 80000.0 / 10;
    EXPECT_DOUBLE_EQ(f[0], -20000.0);
    EXPECT_NEAR(f[1], 15000 - D - 0.25 * 15000, 1e-9);
    EXPECT_NEAR(f[11], 15000 - 0.25 * 15000, 1e-9);
    EXPECT_NEAR(f[12], 15000 - 0.25 * (15000 - 100000), 1e-9);  // whole b written off in year N
}

TEST(CashFlow, DepreciationDecliningBalanceWithLastYearRest) {
    // t = 20 %, b = 1000, N = 3: W1 = 0.2*1000*0.8 = 160, W2 = 0.2*1000*0.64 = 128, W3 = 1000*0.512.
    // Tax 50 %, no loan, savings 1000 without escalation: p_j = 1000 - 0.5 (1000 - W_j).
    Project p;
    p.a = p.b = 1000;
    p.equity = 100;
    p.life = 3;
    p.tax = 50;
    p.savings = 1000;
    p.escalation = 0;
    p.depreciation = 20;
    std::vector<double> f;
    RunProject(p, nullptr, &f);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_NEAR(f[1], 580.0, 1e-9);
    EXPECT_NEAR(f[2], 564.0, 1e-9);
    EXPECT_NEAR(f[3], 756.0, 1e-9);
    // Depreciation 0: nothing until the last year, then all of b.
    p.depreciation = 0;
    RunProject(p, nullptr, &f);
    EXPECT_NEAR(f[1], 500.0, 1e-9);
    EXPECT_NEAR(f[3], 1000.0, 1e-9);
}

TEST(CashFlow, LifeShorterThanDebtTermHasNoBalloon) {
    Project p;
    p.life = 3;
    p.escalation = 0;
    std::vector<double> f;
    RunProject(p, nullptr, &f);
    ASSERT_EQ(f.size(), 4u);
    const double g = std::pow(1.07, 10);
    const double D = 80000 * 0.07 * g / (g - 1);
    const double interest3 = D - D * std::pow(1.07, -8);
    EXPECT_NEAR(f[3], 15000 - D - 0.25 * (15000 - 100000 - interest3), 1e-6);
}

TEST(CashFlow, EscalationStartsInYearOne) {
    Project p;
    p.equity = 100;
    p.tax = 0;
    p.life = 2;
    std::vector<double> f;
    RunProject(p, nullptr, &f);
    EXPECT_NEAR(f[1], 15000 * 1.03, 1e-9);
    EXPECT_NEAR(f[2], 15000 * 1.03 * 1.03, 1e-9);
}

TEST(IRR, NoneWhenAllFlowsShareASign) {
    EXPECT_EQ(InternalRateOfReturn({-100, -10, -10, -10}), kNoIRR);
    EXPECT_EQ(InternalRateOfReturn({0, 10, 10, 10}), kNoIRR);
    EXPECT_EQ(InternalRateOfReturn({}), kNoIRR);
    // A project with no savings, nothing borrowed and no tax.
    Project p;
    p.savings = 0;
    p.equity = 100;
    p.tax = 0;
    double irr = 0;
    RunProject(p, &irr, nullptr);
    EXPECT_EQ(irr, kNoIRR);
}

// Independent IRR: scan the NPV from -90 % upwards in steps of 0.5 % for the first sign change,
// then regula falsi (Illinois variant) on that interval, in long double.
long double ReferenceNpv(const std::vector<double>& f, long double x) {
    long double v = 0, df = 1;
    for (double p : f) {
        v += p * df;
        df /= 1 + x;
    }
    return v;
}
bool ReferenceIrr(const std::vector<double>& f, double* irr) {
    long double a = -0.9, fa = ReferenceNpv(f, a);
    for (long double b = a + 0.005; b < 20; b += 0.005) {
        long double fb = ReferenceNpv(f, b);
        if (fa * fb <= 0) {
            int side = 0;
            for (int i = 0; i < 200; ++i) {
                const long double c = (a * fb - b * fa) / (fb - fa);
                const long double fc = ReferenceNpv(f, c);
                if (fc * fb > 0) {
                    b = c; fb = fc;
                    if (side == -1) fa /= 2;
                    side = -1;
                } else {
                    a = c; fa = fc;
                    if (side == 1) fb /= 2;
                    side = 1;
                }
                if (std::fabs(static_cast<double>(b - a)) < 1e-12 || fc == 0) break;
            }
            *irr = static_cast<double>(100 * (a * fb - b * fa) / (fb - fa));
            return true;
        }
        a = b;
        fa = fb;
    }
    return false;
}

TEST(IRR, MatchesAnIndependentRootOfTheSameCashFlows) {
    // Realistic wall projects: capital cost of a few thousand to a few hundred thousand, savings of
    // a few percent to a third of the cost, with and without loan, depreciation, tax and escalation.
    std::vector<Project> table;
    table.push_back(Project{});  // default financial inputs
    Project p;
    p.a = p.b = 91968.32; p.savings = 7400; table.push_back(p);
    p = {}; p.equity = 100; table.push_back(p);                        // no loan
    p = {}; p.equity = 0; p.savings = 12000; table.push_back(p);       // fully borrowed
    p = {}; p.depreciation = 30; p.tax = 40; table.push_back(p);
    p = {}; p.interest = 0; table.push_back(p);
    p = {}; p.a = 60000; p.b = 80000; p.savings = 20000; table.push_back(p);  // grant
    p = {}; p.life = 5; p.savings = 30000; table.push_back(p);          // short life
    p = {}; p.a = p.b = 5200; p.savings = 400; p.escalation = 6; p.life = 30; table.push_back(p);
    p = {}; p.savings = 4000; p.escalation = 0; p.tax = 0; p.equity = 100; table.push_back(p);
    p = {}; p.a = p.b = 350000; p.savings = 110000; p.term = 5; table.push_back(p);
    for (std::size_t i = 0; i < table.size(); ++i) {
        double irr = 0;
        std::vector<double> f;
        RunProject(table[i], &irr, &f);
        double ref = 0;
        ASSERT_TRUE(ReferenceIrr(f, &ref)) << "project " << i;
        EXPECT_GT(irr, kIRRShownAbove) << "project " << i;
        EXPECT_NEAR(irr, ref, 5e-4) << "project " << i;  // bisection stops at a step below 1e-6
    }
}

}  // namespace
