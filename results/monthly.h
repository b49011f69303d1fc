#pragma once
// The monthly results page: twelve monthly rows and the annual row of one results row ("All Walls"
// or one wall), the bottom block of annual ratios, and the savings graph's data and axis. Values
// come from the monthly result tables of the last run; this module only sums, converts and formats.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "project/records.h"
#include "results/fuel.h"

constexpr int kMonths = 12;
constexpr int kAnnualColumn = 12;  // column of the monthly tables that holds the selected-month sums

// Which months enter the annual figures. Belongs to the open project's results page; not stored in
// the project file. All months are selected for a new or opened project.
struct CMonthSelection {
    std::array<bool, kMonths> selected{true, true, true, true, true, true,
                                       true, true, true, true, true, true};
    bool IsSelected(int month) const { return month >= 0 && month < kMonths && selected[month]; }
    void Toggle(int month) {
        if (month >= 0 && month < kMonths) selected[month] = !selected[month];
    }
};

// Parses a month list such as "1-4,10-12" or "all" (months 1..12, ranges inclusive, blanks
// ignored). On failure returns false, leaves `out` unchanged and says why in *error.
bool ParseMonthSelection(std::string_view text, CMonthSelection& out, std::string* error);
// The inverse, in compact form ("1-4,10-12"; "" when none is selected).
std::string FormatMonthSelection(const CMonthSelection& sel);

// Columns of the monthly rows, in page order.
enum EResultsColumn : int {
    kColDegreeDays,
    kColSolarIncident,
    kColSolarOperation,
    kColTempRise,
    kColFreshAir,
    kColSolarCollected,
    kColInsulation,
    kColDestrat,
    kColTotalSavings,
    kResultsColumnCount
};

// Caption of a column ("Degree Days (Base 18°C)", "Total Savings (MMBTU)", ...).
std::string ResultsColumnCaption(int column, UnitSystem units);
// Short key of a column for machine-readable output ("degree_days", "total_savings", ...).
const char* ResultsColumnKey(int column);
// Whether a column shows "N/A" for the application type (1, 2 or 3): fresh air and insulation
// savings for type 3, destratification savings for every type but 1.
bool ResultsColumnNotApplicable(int column, int applicationType);

// Month names "January" .. "December" (index 0..11).
const char* MonthName(int month);
// Selector entries: "All Walls", then "Wall 1" .. "Wall n".
std::vector<std::string> WallSelectorEntries(int wallCount);
// The selected row lowered to the number of present walls (and kept at 0 or above).
int ClampSelectedRow(int row, int wallCount);

// One row of the page (a month or the annual row): values in display units and their texts.
struct CResultsRow {
    std::array<double, kResultsColumnCount> value{};
    std::array<std::string, kResultsColumnCount> text;
};

// One line of the bottom block: two values and their texts (the second of the efficiency line is
// always "----").
struct CBottomLine {
    std::string caption;
    std::string firstColumnCaption;  // "Solar" or "Day-time"
    double first = 0.0;
    double total = 0.0;
    std::string firstText;
    std::string totalText;
};
constexpr int kBottomLines = 4;  // annual savings per area, efficiency, ventilation load, load share

// Annual row and bottom block of one results row.
struct CAnnualResults {
    bool hasResults = false;
    double totalSavingsGJ = -1.0;  // annual total savings over the selected months [GJ]; -1 without results
    CResultsRow annual;            // "Annual Total/Avg."; every text "N/A" without results
    std::array<CBottomLine, kBottomLines> bottom;
};

// Inputs of the page that come from the project.
struct CResultsContext {
    bool resultsValid = false;
    int applicationType = 1;
    UnitSystem units = UnitSystem::SI;
    int wallCount = 1;
    std::array<double, kWallCount> wallArea{};  // collector width x height of each wall [m2]
};

// Collector area of a results row: the wall's, or for row 0 the sum over the present walls [m2].
double ResultsRowArea(const CResultsContext& ctx, int row);

// Sums the selected months of `row` (0 all walls, 1..4 a wall) into column 12 of every table,
// forms the annual row and the bottom block, and returns them. Degree days always come from row 1.
// Without results nothing is written, the texts are "N/A" and totalSavingsGJ is -1.
CAnnualResults UpdateAnnualResults(CProjectResults& results, const CResultsContext& ctx, int row,
                                   const CMonthSelection& sel);

// The whole page for one row.
struct CMonthlyPage {
    int row = 0;                                   // the row shown, after clamping
    std::vector<std::string> selector;             // "All Walls", "Wall 1", ...
    std::array<std::string, kResultsColumnCount> captions;
    bool hasResults = false;
    // Monthly rows; without results they are empty (the desktop page then keeps what it showed).
    std::array<CResultsRow, kMonths> months;
    std::array<bool, kMonths> monthEnabled{};      // false = greyed (unselected), values kept
    CAnnualResults annual;
};

// Builds the page for `selectedRow`, which is first lowered to the number of present walls (the
// caller keeps the lowered value). Writes column 12 like UpdateAnnualResults.
CMonthlyPage RefreshMonthlyResults(CProjectResults& results, const CResultsContext& ctx,
                                   int& selectedRow, const CMonthSelection& sel);

// Top of the savings graph's axis for a largest monthly total M (display units).
double SavingsGraphAxisTop(double maxMonthlyTotal);

// Data and labels of the savings graph of one row.
struct CSavingsGraph {
    std::array<double, kMonths> solarCollected{};  // display units
    std::array<double, kMonths> destrat{};
    std::array<double, kMonths> insulation{};
    std::array<double, kMonths> total{};
    std::array<bool, kMonths> drawn{};  // months whose button is down
    double axisTop = 1.0;
    // Axis labels from the top: T "%5.2f\n(GJ)", 3T/4, T/2, T/4, then "0.0".
    std::array<std::string, 5> axisLabels;
};
CSavingsGraph BuildSavingsGraph(const CProjectResults& results, const CResultsContext& ctx, int row,
                                const CMonthSelection& sel);
