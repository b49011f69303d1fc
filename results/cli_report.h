#pragma once
// The results pages as the command line prints them: for "All Walls" and each present wall the
// monthly rows, the annual row and the bottom block, then the financial results texts. Text for
// people, JSON for programs; both are built from the same page records as the desktop pages.
//
// Use from `halvo-cli simulate`, after the monthly tables of the run:
//     CMonthSelection months;                       // all twelve by default
//     if (!ParseMonthSelection(arg, months, &why))  // for "--months 1-4,10-12"; usage error on false
//     ...
//     PrintResultsReport(doc, months, out, json);   // text, or one JSON object value
// (pass UnitSystem::IP or ::SI as a last argument to show other units than the project's).
// The project is only read: the annual sums and the cost quantities are computed on copies.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "project/doc.h"
#include "results/financial.h"
#include "results/monthly.h"

// Everything the report shows, computed once.
struct CResultsReport {
    CMonthSelection months;
    UnitSystem units = UnitSystem::SI;
    std::vector<CMonthlyPage> pages;  // row 0 "All Walls", then walls 1..n
    CFinancialResults financial;
};
// `units` overrides the project's display units when given.
CResultsReport BuildResultsReport(const CHalvo98Doc& doc, const CMonthSelection& sel,
                                  std::optional<UnitSystem> units = std::nullopt);

// Plain text, several lines, ending with a newline.
void PrintResultsText(const CResultsReport& report, std::ostream& out);
// One JSON object value {"months": ..., "pages": [...], "financial": {...}}, no trailing newline,
// so that a caller can embed it as a member of its own object.
void WriteResultsJson(const CResultsReport& report, std::ostream& out);

// The same JSON as a string (for callers that build their output with a JSON library and embed
// it after parsing).
std::string ResultsJson(const CResultsReport& report);

// BuildResultsReport followed by PrintResultsText or WriteResultsJson.
void PrintResultsReport(const CHalvo98Doc& doc, const CMonthSelection& sel, std::ostream& out, bool json,
                        std::optional<UnitSystem> units = std::nullopt);
