#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "results/economics.h"
#include "results/fuel.h"
#include "results/pages.h"

namespace {

// --- Fuel constants ---------------------------------------------------------------------------------
TEST(Fuel, ConstantsLabelsAndCostClasses) {
    const struct {
        int type;
        double units, co2, ipFactor;
        int costClass;
        const char *si, *ip;
    } cases[] = {
        {0, 26.839, 0.0498, 0.353147, 0, "Nat. Gas\n( m³ )", "Nat. Gas\n( therms )"},
        {1, 277.778, 0.2727273, 1, 1, "Elec.\n( kWh )", "Elec.\n( kWh )"},
        {2, 277.778, 0.1424242, 1, 1, "Elec.\n( kWh )", "Elec.\n( kWh )"},
        {3, 277.778, 0.2212121, 1, 1, "Elec.\n( kWh )", "Elec.\n( kWh )"},
        {4, 277.778, 0.0, 1, 1, "Elec.\n( kWh )", "Elec.\n( kWh )"},  // hydro saves no CO2
        {5, 37.5, 0.05993, 0.264172, 2, "Propane\n( l )", "Propane\n( GalUS )"},
        {6, 25.74, 0.07316, 0.264172, 3, "Oil\n( l )", "Oil\n( GalUS )"},
        {7, 0.08354219, 0.0, 1.1, 4, "Softwood\n( ton )", "Softwood\n( tonne )"},  // wood: no CO2
        {8, 0.06265664, 0.0, 1.1, 5, "Hardwood\n( ton )", "Hardwood\n( tonnne )"},
    };
    for (const auto& c : cases) {
        const CFuelConstants si = FuelConstants(c.type, UnitSystem::SI);
        const CFuelConstants ip = FuelConstants(c.type, UnitSystem::IP);
        EXPECT_DOUBLE_EQ(si.unitsPerGJ, c.units) << c.type;
        EXPECT_DOUBLE_EQ(ip.unitsPerGJ, c.units) << c.type;
        EXPECT_DOUBLE_EQ(si.co2Factor, c.co2) << c.type;
        EXPECT_DOUBLE_EQ(si.ipFactor, 1.0) << c.type;
        EXPECT_DOUBLE_EQ(ip.ipFactor, c.ipFactor) << c.type;
        EXPECT_EQ(si.label, c.si);
        EXPECT_EQ(ip.label, c.ip);
        EXPECT_EQ(FuelCostClass(c.type), c.costClass);
    }
    for (int bad : {-1, 9, 1000}) {
        const CFuelConstants c = FuelConstants(bad, UnitSystem::SI);
        EXPECT_EQ(c.unitsPerGJ, -1.0);
        EXPECT_EQ(c.co2Factor, 0.0);
        EXPECT_EQ(c.label, "ERROR");
        EXPECT_EQ(FuelCostClass(bad), 0);
    }
    EXPECT_EQ(FuelPriceUnit(0, UnitSystem::IP), "therm");
    EXPECT_EQ(FuelPriceUnit(5, UnitSystem::SI), "ton");
    EXPECT_DOUBLE_EQ(FuelPriceIPFactor(3), 3.7854);
}

TEST(Location, LineFromTheRawTexts) {
    EXPECT_EQ(LocationLine("Toronto", "ABCDEFGH", "abcdefghijkl"),
              "City: Toronto  Lat: ABCD°EFG'  Long: abcde°fgh'");
    // The texts as a weather file stores them for 43 40 N, 79 38 W: whole minutes on both.
    EXPECT_EQ(LocationLine("Toronto", std::string("N 43 40\0", 8), std::string("W  79 38\0\0\0\0", 12)),
              "City: Toronto  Lat: N 43° 40'  Long: W  79° 38'");
    EXPECT_EQ(LocationLine("X", "N4", ""), "City: X  Lat: N4°'  Long: °'");  // short texts: no overrun
    EXPECT_EQ(ApplicationHeading(1), "Destratification && Makeup Air Preheat");
    EXPECT_EQ(ApplicationHeading(3), "Process Air Heater");
}

// --- The page from a project -------------------------------------------------------------------------
struct Page : ::testing::Test {
    std::unique_ptr<CHalvo98Doc> doc = std::make_unique<CHalvo98Doc>();
    // Puts `gj` of total savings of wall `w` into January (and into the all-walls row).
    void Savings(int w, float gj) {
        doc->results.totalSavings[w][0] = gj;
        doc->results.totalSavings[0][0] += gj;
    }
};

// IP: 100 GJ of natural gas at 80 % shows 94.8 MMBTU and 100 x 26.839 x 0.353147 / 0.8 = 1184.8
// therms; at 0.30 per m3 with both taxes (x 1.15): 100 x 26.839 / 0.8 x 0.30 x 1.15 = 1157.43;
// CO2 100 x 0.0498 x 1.1 / 0.8 = 6.8475 tons.
TEST_F(Page, NaturalGasInIPUnits) {
    doc->unitsFlag = 0;
    doc->resultsValid = 1;
    doc->airSystems[0].heatingEfficiency = 80.0f;
    doc->economics.fuelPrice[0] = 0.30;
    Savings(1, 100.0f);
    const CFinancialResults r = RefreshFinancialResults(*doc, CMonthSelection{});
    ASSERT_TRUE(r.hasResults);
    EXPECT_EQ(r.walls[0].energyText, "        94.8");
    EXPECT_EQ(r.walls[0].fuelText, "      1184.8");
    EXPECT_EQ(r.walls[0].fuelLabel, "Nat. Gas\n( therms )");
    EXPECT_EQ(r.walls[0].costText, "     1157.43");
    EXPECT_EQ(r.co2Text, "     6.8");
    EXPECT_EQ(r.walls[0].sizeText, "  7534.74");  // 700 m2 x 10.76391
    EXPECT_EQ(r.sizeLabel, "( ft² )");
    EXPECT_EQ(r.energyLabel, "( MMBTU ) ");
    EXPECT_EQ(r.co2Caption, "Reduced Carbon Dioxide\nEmmissions (tons/year)");
}

TEST_F(Page, HydroAndWoodSaveNoCO2) {
    doc->resultsValid = 1;
    doc->wallPresent[1] = doc->wallPresent[2] = 1;
    doc->airSystems[0].heatingFuel = 4;
    doc->airSystems[1].heatingFuel = 7;
    doc->airSystems[2].heatingFuel = 8;
    for (int w = 1; w <= 3; ++w) Savings(w, 50.0f);
    const CFinancialResults r = RefreshFinancialResults(*doc, CMonthSelection{});
    EXPECT_EQ(r.totalCO2, 0.0);
    EXPECT_EQ(r.co2Text, "     0.0");
    EXPECT_GT(r.walls[1].fuel, 0.0);
}

TEST_F(Page, WithoutResultsOnlySizesAndCostsAreShown) {
    doc->wallPresent[1] = 1;
    doc->collectors[1].collectorWidth = 10.0f;
    doc->collectors[1].collectorHeight = 3.0f;
    doc->collectors[1].bypassType = 2;
    doc->collectors[1].numberOfBypassDampers = 2;
    doc->airSystems[1].numberOfFans = 4;
    Savings(1, 100.0f);
    const CFinancialResults r = RefreshFinancialResults(*doc, CMonthSelection{});
    EXPECT_FALSE(r.hasResults);
    for (const std::string* t : {&r.walls[0].energyText, &r.walls[0].fuelText, &r.walls[0].costText,
                                 &r.totalEnergyText, &r.totalCostText, &r.paybackText,
                                 &r.lifeCycleSavingsText, &r.irrText, &r.co2Text})
        EXPECT_EQ(*t, "N/A");
    EXPECT_EQ(r.walls[0].sizeText, "   700.00");
    EXPECT_EQ(r.totalSizeText, "   730.00");
    EXPECT_EQ(r.capitalCostText, "         58765");  // 730 m2 x 70 x 1.15 = 58765
    EXPECT_EQ(r.netCostText, "         58765");
    EXPECT_EQ(r.walls[2].title, "");  // inactive walls stay blank
    EXPECT_EQ(r.walls[2].sizeText, "");
    // The quantities that follow from the walls are stored in the cost items.
    EXPECT_DOUBLE_EQ(doc->economics.collector.quantity, 730.0);
    EXPECT_DOUBLE_EQ(doc->economics.bypassDamper.quantity, 2.0);  // wall 1 has no bypass
    EXPECT_DOUBLE_EQ(doc->economics.fans.quantity, 5.0);
}

TEST_F(Page, HugeAmountsAreShownInFull) {
    doc->economics.collector.unitCost = 1e200;  // K = 700 x 1e200 x 1.15, some 203 digits
    const CFinancialResults r = RefreshFinancialResults(*doc, CMonthSelection{});
    EXPECT_EQ(std::strtod(r.capitalCostText.c_str(), nullptr), r.capitalCost);
    EXPECT_NEAR(r.capitalCost / 8.05e202, 1.0, 1e-12);
}

TEST_F(Page, NoSavingsMeansNoPaybackAndNoIRR) {
    doc->resultsValid = 1;
    Savings(1, 100.0f);  // but every fuel price is 0
    const CFinancialResults r = RefreshFinancialResults(*doc, CMonthSelection{});
    EXPECT_EQ(r.paybackText, "N/A");
    EXPECT_EQ(r.irrText, "N/A");
    EXPECT_EQ(r.lifeCycleSavingsText, "N/A");
    EXPECT_EQ(r.walls[0].costText, "        0.00");
}

TEST_F(Page, FullAnalysisWithGrantAndCredits) {
    doc->resultsValid = 1;
    doc->economics.fuelPrice[0] = 0.35;
    doc->economics.grant = 10;
    doc->economics.creditWallCladding.amount = 5000;
    Savings(1, 1500.0f);
    doc->results.totalSavings[1][5] = 200.0f;  // June, left out below
    CMonthSelection sel;
    sel.selected[5] = false;
    const CFinancialResults r = RefreshFinancialResults(*doc, sel);
    // K = 700 x 70 x 1.15 = 56350; G = 5635; net = 56350 - 5000 - 5635 = 45715.
    EXPECT_EQ(r.capitalCostText, "         56350");
    EXPECT_EQ(r.grantText, "          5635");
    EXPECT_EQ(r.creditsText, "          5000");
    EXPECT_EQ(r.netCostText, "         45715");
    // S = 1500 x 26.839 / 0.85 x 0.35 x 1.15 = 19063.94...
    const double S = 1500.0 * 26.839 / 0.85 * 0.35 * 1.15;
    EXPECT_NEAR(r.totalCost, S, 1e-6);
    EXPECT_NEAR(r.payback, 45715.0 / S, 1e-9);
    EXPECT_EQ(r.paybackText, "     2.4");
    double irr = 0;
    const double lcs = CashFlowAnalysis(45715, 51350, 20, 10, 25, 7, 8, 3, 25, S, 0, 3, 0, &irr);
    ASSERT_TRUE(r.irrShown);
    EXPECT_DOUBLE_EQ(r.irr, irr);
    EXPECT_DOUBLE_EQ(r.lifeCycleSavings, lcs);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%8.1f", irr);
    EXPECT_EQ(r.irrText, buf);
    EXPECT_EQ(r.heading, "Destratification && Makeup Air Preheat");
    EXPECT_EQ(r.walls[0].title, "Wall 1");
}

}  // namespace
