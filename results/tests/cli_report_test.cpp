#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "results/cli_report.h"

namespace {

// Two walls with a year of results; wall 2 heats with propane.
std::unique_ptr<CHalvo98Doc> TwoWallProject() {
    auto doc = std::make_unique<CHalvo98Doc>();
    doc->wallPresent[1] = 1;
    doc->airSystems[1].heatingFuel = 5;
    doc->resultsValid = 1;
    doc->economics.fuelPrice[0] = 0.30;
    doc->economics.fuelPrice[2] = 0.50;
    doc->location.stationName = "Toronto";
    for (int w = 1; w <= 2; ++w)
        for (int m = 0; m < 12; ++m) {
            const float v = float(10 * w + m);
            CProjectResults& r = doc->results;
            for (auto* t : {&r.solarCollected, &r.totalSavings, &r.operatingSolar}) {
                (*t)[w][m] = v;
                (*t)[0][m] += v;
            }
            r.degreeDays[w][m] = 500;
            r.degreeDays[0][m] += 500;
        }
    return doc;
}

// Whether braces and brackets balance outside strings and strings are closed: enough to catch a
// missing comma-free structure fault; the content is checked by the substrings.
bool Balanced(const std::string& s) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            else if (static_cast<unsigned char>(c) < 0x20) return false;
            continue;
        }
        if (c == '"') inString = true;
        else if (c == '{' || c == '[') ++depth;
        else if (c == '}' || c == ']') {
            if (--depth < 0) return false;
        }
    }
    return depth == 0 && !inString;
}

TEST(ResultsReport, TextShowsEveryPageAndTheFinancialTexts) {
    auto doc = TwoWallProject();
    CMonthSelection sel;
    ParseMonthSelection("1-4,10-12", sel, nullptr);
    std::ostringstream out;
    PrintResultsReport(*doc, sel, out, false);
    const std::string s = out.str();
    for (const char* want : {"Results page: All Walls (selected months: 1-4,10-12)",
                             "Results page: Wall 1", "Results page: Wall 2", "[ ] May", "[x] April",
                             "Annual Total/Avg.", "Collector Efficiency (%)", "----",
                             "Financial results: Destratification & Makeup Air Preheat",
                             "City: Toronto", "Propane ( l )", "Simple Payback (yrs)",
                             "Internal Rate of Return (%/yr)", "Reduced  CO2 Emissions (tonnes/yr)"})
        EXPECT_NE(s.find(want), std::string::npos) << want;
    EXPECT_EQ(s.find("Results page: Wall 3"), std::string::npos);
    // Wall 1, selected months: total 10+11+12+13 + 19+20+21 = 106; degree days 7 x 500.
    EXPECT_NE(s.find("Annual Total/Avg.        3500"), std::string::npos) << s;
    EXPECT_NE(s.find("106.0"), std::string::npos);
}

TEST(ResultsReport, LeavesTheProjectAsItWas) {
    auto doc = TwoWallProject();
    std::ostringstream out;
    PrintResultsReport(*doc, CMonthSelection{}, out, true);
    EXPECT_EQ(doc->results.totalSavings[1][12], 0.0f);
    EXPECT_EQ(doc->economics.collector.quantity, 0.0);
}

TEST(ResultsReport, JsonCarriesValuesAndTexts) {
    auto doc = TwoWallProject();
    doc->unitsFlag = 0;
    doc->applicationType = 3;
    std::ostringstream out;
    PrintResultsReport(*doc, CMonthSelection{}, out, true);
    const std::string s = out.str();
    EXPECT_TRUE(Balanced(s)) << s;
    EXPECT_EQ(s.front(), '{');
    EXPECT_EQ(s.back(), '}');
    for (const char* want : {"\"months\":\"1-12\"", "\"title\":\"All Walls\"", "\"title\":\"Wall 2\"",
                             "\"caption\":\"Degree Days (Base 65°F)\"", "\"fresh_air_ventilation\":null",
                             "\"fresh_air_ventilation\":\"N/A\"", "\"heading\":\"Process Air Heater\"",
                             "\"fuel_label\":\"Propane\\n( GalUS )\"", "\"irr_percent\":",
                             "\"co2_caption\":\"Reduced Carbon Dioxide\\nEmmissions (tons/year)\""})
        EXPECT_NE(s.find(want), std::string::npos) << want;
}

TEST(ResultsReport, UnitsOverrideTheProjects) {
    auto doc = TwoWallProject();  // SI project
    std::ostringstream out;
    PrintResultsReport(*doc, CMonthSelection{}, out, false, UnitSystem::IP);
    EXPECT_NE(out.str().find("Total Savings (MMBTU)"), std::string::npos);
    EXPECT_NE(out.str().find("Size ( ft² )"), std::string::npos);
    EXPECT_EQ(out.str().find("(GJ)"), std::string::npos);
}

TEST(ResultsReport, WithoutResults) {
    auto doc = TwoWallProject();
    doc->resultsValid = 0;
    std::ostringstream text, json;
    PrintResultsReport(*doc, CMonthSelection{}, text, false);
    PrintResultsReport(*doc, CMonthSelection{}, json, true);
    EXPECT_NE(text.str().find("N/A"), std::string::npos);
    EXPECT_TRUE(Balanced(json.str()));
    EXPECT_NE(json.str().find("\"simple_payback\":null"), std::string::npos);
    EXPECT_NE(json.str().find("\"annual_total_savings_gj\":-1"), std::string::npos);
}

}  // namespace
