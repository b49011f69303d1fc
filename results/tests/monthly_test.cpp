#include <gtest/gtest.h>

#include <memory>

#include "results/monthly.h"

namespace {

// --- Savings graph axis ---------------------------------------------------------------------------
TEST(SavingsGraph, AxisTop) {
    // 96.18: p = 1, f = 9, base 90, step 10 -> 100. 35: base 30, step 5 -> 35 (not below M).
    // 7 -> 10 (above 5), 3 -> 5, 0.4 -> 1; 250: base 200, step 50 -> 250; 1234: base 1000, step 500.
    const struct { double m, top; } cases[] = {
        {96.18, 100}, {35, 35}, {7, 10}, {3, 5}, {0.4, 1}, {0, 1}, {5, 5}, {10, 10},
        {250, 250}, {251, 300}, {1234, 1500}, {-3, 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(SavingsGraphAxisTop(c.m), c.top) << c.m;
}

// --- Month selection ---------------------------------------------------------------------------------
TEST(MonthSelection, ParsesListsAndRanges) {
    CMonthSelection sel;
    std::string err;
    ASSERT_TRUE(ParseMonthSelection("1-4, 10-12", sel, &err)) << err;
    const bool expected[12] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1};
    for (int m = 0; m < 12; ++m) EXPECT_EQ(sel.selected[m], expected[m]) << m;
    EXPECT_EQ(FormatMonthSelection(sel), "1-4,10-12");
    ASSERT_TRUE(ParseMonthSelection("7", sel, &err));
    EXPECT_EQ(FormatMonthSelection(sel), "7");
    ASSERT_TRUE(ParseMonthSelection("all", sel, &err));
    EXPECT_EQ(FormatMonthSelection(sel), "1-12");
}

TEST(MonthSelection, RefusesBadListsAndKeepsTheSelection) {
    for (const char* bad : {"", "0", "13", "4-1", "1,,2", "a", "1-", "-3", "1-2-3", "001"}) {
        CMonthSelection sel;
        sel.selected[5] = false;
        std::string err;
        EXPECT_FALSE(ParseMonthSelection(bad, sel, &err)) << bad;
        EXPECT_FALSE(err.empty()) << bad;
        EXPECT_FALSE(sel.selected[5]);
        EXPECT_TRUE(sel.selected[0]);
    }
}

TEST(WallSelector, EntriesAndClamping) {
    EXPECT_EQ(WallSelectorEntries(2), (std::vector<std::string>{"All Walls", "Wall 1", "Wall 2"}));
    EXPECT_EQ(ClampSelectedRow(4, 2), 2);  // a wall was removed: the index drops to the last wall
    EXPECT_EQ(ClampSelectedRow(1, 2), 1);
    EXPECT_EQ(ClampSelectedRow(-1, 2), 0);
}

// --- Annual row and bottom block ----------------------------------------------------------------------
// Two walls; every month m (0..11) of wall w (1, 2) holds simple multiples so that sums are easy:
// collected = w*(m+1), insulation = 0.5*w, destrat = 0.25*w, total = their sum; operating solar
// 4*collected; day flow 10, night flow 30, collector flow 8 (fresh air 20 %); day hours 5, solar
// rise 40 (temperature rise 4); base loads 2 and 3 per month; day recapture 0.1; degree days 100*w.
struct AnnualResults : ::testing::Test {
    std::unique_ptr<CProjectResults> r = std::make_unique<CProjectResults>();
    CResultsContext ctx;
    void SetUp() override {
        ctx.resultsValid = true;
        ctx.applicationType = 1;
        ctx.wallCount = 2;
        ctx.wallArea = {10.0, 30.0, 99.0, 99.0};
        for (int w = 1; w <= 2; ++w)
            for (int m = 0; m < 12; ++m) {
                const float c = float(w * (m + 1));
                Set(w, m, EResultTable::SolarCollected, c);
                Set(w, m, EResultTable::InsulationSavings, 0.5f * w);
                Set(w, m, EResultTable::DestratSavings, 0.25f * w);
                Set(w, m, EResultTable::TotalSavings, c + 0.75f * w);
                Set(w, m, EResultTable::OperatingSolar, 4 * c);
                Set(w, m, EResultTable::SolarIncidentTotal, 5 * c);
                Set(w, m, EResultTable::FlowDay, 10);
                Set(w, m, EResultTable::FlowNight, 30);
                Set(w, m, EResultTable::CollectorFlow, 8);
                Set(w, m, EResultTable::HoursDay, 5);
                Set(w, m, EResultTable::SolarRiseDay, 40);
                Set(w, m, EResultTable::BaseLoadDay, 2);
                Set(w, m, EResultTable::BaseLoadNight, 3);
                Set(w, m, EResultTable::RecapturedDay, 0.1f);
                Set(w, m, EResultTable::DegreeDays, 100.0f * w);
            }
    }
    // Writes a wall row and adds it into row 0, as a run does.
    void Set(int w, int m, EResultTable t, float v) {
        r->Table(t)[w][m] = v;
        r->Table(t)[0][m] += v;
    }
};

TEST_F(AnnualResults, AnnualRowSumsTheSelectedMonthsOnly) {
    CMonthSelection sel;
    ParseMonthSelection("1-4,10-12", sel, nullptr);
    const CAnnualResults a = UpdateAnnualResults(*r, ctx, 1, sel);
    ASSERT_TRUE(a.hasResults);
    // Months 1..4 and 10..12: sum of (m+1) = 10 + 33 = 43.
    EXPECT_FLOAT_EQ(a.totalSavingsGJ, 43 + 7 * 0.75f);
    EXPECT_FLOAT_EQ(r->solarCollected[1][12], 43.0f);  // written into column 12 of the shown row
    EXPECT_EQ(a.annual.text[kColSolarCollected], "  43.0");
    EXPECT_EQ(a.annual.text[kColDegreeDays], "   700");
    EXPECT_EQ(a.annual.text[kColTempRise], "   4.0");
    EXPECT_EQ(a.annual.text[kColFreshAir], " 20");
    // Bottom block: 43 / 10 m2; efficiency 25 %; load 14 and 35; shares (43 + 0.7)/14, (43 + 3.5)/35.
    EXPECT_EQ(a.bottom[0].firstText, "  4.30");
    EXPECT_EQ(a.bottom[0].totalText, "  4.83");
    EXPECT_EQ(a.bottom[1].firstText, "    25");
    EXPECT_EQ(a.bottom[1].totalText, "----");
    EXPECT_EQ(a.bottom[2].firstText, "  14.0");
    EXPECT_EQ(a.bottom[2].totalText, "  35.0");
    EXPECT_EQ(a.bottom[3].firstText, "   312");
    EXPECT_EQ(a.bottom[3].totalText, "   133");
}

TEST_F(AnnualResults, AllWallsRowUsesSummedAreaAndWallOneDegreeDays) {
    const CAnnualResults a = UpdateAnnualResults(*r, ctx, 0, CMonthSelection{});
    // Collected over both walls: 3 * 78 = 234 over 40 m2; degree days of wall 1 only: 1200.
    EXPECT_FLOAT_EQ(r->solarCollected[0][12], 234.0f);
    EXPECT_EQ(a.annual.text[kColDegreeDays], "  1200");
    EXPECT_EQ(a.bottom[0].firstText, "  5.85");
}

TEST_F(AnnualResults, NoMonthSelected) {
    CMonthSelection none;
    none.selected.fill(false);
    const CAnnualResults a = UpdateAnnualResults(*r, ctx, 2, none);
    EXPECT_EQ(a.totalSavingsGJ, 0.0);
    for (int c = 0; c < kResultsColumnCount; ++c) EXPECT_EQ(a.annual.value[c], 0.0) << c;
    for (const CBottomLine& b : a.bottom) {
        EXPECT_EQ(b.first, 0.0);
        EXPECT_EQ(b.total, 0.0);
    }
    EXPECT_EQ(a.bottom[1].firstText, "     0");
}

TEST_F(AnnualResults, ZeroDenominatorsGiveZero) {
    for (int m = 0; m < 12; ++m) {
        r->flowDay[1][m] = 0;
        r->flowNight[1][m] = 0;
        r->operatingSolar[1][m] = 0;
        r->baseLoadDay[1][m] = 0;
        r->baseLoadNight[1][m] = 0;
    }
    ctx.wallArea[0] = 0;
    const CAnnualResults a = UpdateAnnualResults(*r, ctx, 1, CMonthSelection{});
    EXPECT_EQ(a.annual.text[kColTempRise], "   0.0");
    EXPECT_EQ(a.annual.text[kColFreshAir], "  0");
    for (const CBottomLine& b : a.bottom) EXPECT_EQ(b.first, 0.0) << b.caption;
    EXPECT_EQ(a.bottom[3].total, 0.0);
}

TEST_F(AnnualResults, IPConversions) {
    ctx.units = UnitSystem::IP;
    CMonthSelection jan;
    jan.selected.fill(false);
    jan.selected[0] = true;
    const CAnnualResults a = UpdateAnnualResults(*r, ctx, 1, jan);
    EXPECT_NEAR(a.annual.value[kColDegreeDays], 180.0, 1e-9);          // x 1.8
    EXPECT_NEAR(a.annual.value[kColSolarCollected], 0.94782, 1e-9);    // GJ -> MMBTU
    EXPECT_NEAR(a.annual.value[kColTempRise], 7.2, 1e-6);              // temperature difference x 1.8
    EXPECT_NEAR(a.bottom[0].first, 0.1 * 0.088055, 1e-9);              // GJ/m2 -> MMBTU/ft2
    EXPECT_NEAR(a.bottom[1].first, 25.0, 1e-9);                        // shares are not converted
    EXPECT_EQ(a.bottom[0].caption, "Annual Savings (MMBTU/ft²)");
    EXPECT_EQ(ResultsColumnCaption(kColDegreeDays, UnitSystem::IP), "Degree Days (Base 65°F)");
    EXPECT_NEAR(a.totalSavingsGJ, 1.75, 1e-6);  // the return value stays in GJ
}

TEST_F(AnnualResults, NotApplicableColumnsByApplicationType) {
    const struct { int type; bool freshNA, insulationNA, destratNA; } cases[] = {
        {1, false, false, false}, {2, false, false, true}, {3, true, true, true}};
    for (const auto& c : cases) {
        ctx.applicationType = c.type;
        int row = 1;
        const CMonthlyPage page = RefreshMonthlyResults(*r, ctx, row, CMonthSelection{});
        for (const CResultsRow* line : {&page.months[3], &page.annual.annual}) {
            EXPECT_EQ(line->text[kColFreshAir] == "N/A", c.freshNA) << c.type;
            EXPECT_EQ(line->text[kColInsulation] == "N/A", c.insulationNA) << c.type;
            EXPECT_EQ(line->text[kColDestrat] == "N/A", c.destratNA) << c.type;
            EXPECT_NE(line->text[kColTotalSavings], "N/A");
        }
    }
}

TEST_F(AnnualResults, PageWithoutResults) {
    ctx.resultsValid = false;
    r->solarCollected[1][12] = 7;
    int row = 3;  // above the two present walls
    const CMonthlyPage page = RefreshMonthlyResults(*r, ctx, row, CMonthSelection{});
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(page.hasResults);
    EXPECT_EQ(page.months[0].text[kColTotalSavings], "");
    EXPECT_EQ(page.annual.totalSavingsGJ, -1.0);
    for (const std::string& t : page.annual.annual.text) EXPECT_EQ(t, "N/A");
    EXPECT_EQ(page.annual.bottom[2].totalText, "N/A");
    EXPECT_EQ(r->solarCollected[1][12], 7.0f);  // nothing written
}

TEST_F(AnnualResults, MonthlyRowsKeepValuesOfUnselectedMonths) {
    CMonthSelection sel;
    sel.selected[2] = false;
    int row = 2;
    const CMonthlyPage page = RefreshMonthlyResults(*r, ctx, row, sel);
    EXPECT_FALSE(page.monthEnabled[2]);
    EXPECT_EQ(page.months[2].text[kColSolarCollected], "   6.0");
    EXPECT_EQ(page.months[2].text[kColSolarIncident], "  30.0");
    EXPECT_FLOAT_EQ(page.annual.annual.value[kColSolarCollected], 2 * (78 - 3));
}

TEST_F(AnnualResults, GraphDataAndLabels) {
    for (int m = 0; m < 12; ++m) r->totalSavings[1][m] = 0;
    r->totalSavings[1][6] = 96.18f;
    CMonthSelection sel;
    sel.selected[0] = false;
    const CSavingsGraph g = BuildSavingsGraph(*r, ctx, 1, sel);
    EXPECT_DOUBLE_EQ(g.axisTop, 100.0);
    EXPECT_EQ(g.axisLabels[0], "100.00\n(GJ)");
    EXPECT_EQ(g.axisLabels[1], "75.00");
    EXPECT_EQ(g.axisLabels[2], "50.00");
    EXPECT_EQ(g.axisLabels[3], "25.00");
    EXPECT_EQ(g.axisLabels[4], "0.0");
    EXPECT_FALSE(g.drawn[0]);
    EXPECT_FLOAT_EQ(g.solarCollected[4], 5.0f);
    ctx.resultsValid = false;
    const CSavingsGraph empty = BuildSavingsGraph(*r, ctx, 1, sel);
    EXPECT_EQ(empty.total[6], 0.0);
    EXPECT_DOUBLE_EQ(empty.axisTop, 1.0);
}

}  // namespace
