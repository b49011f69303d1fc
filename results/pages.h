#pragma once
// The results pages computed from a project document: the glue between CHalvo98Doc and the pure
// computations of monthly.h and financial.h. The desktop pages, the printed report and the command
// line all format from these.

#include "project/doc.h"
#include "results/financial.h"
#include "results/monthly.h"

// Page inputs taken from the project.
CResultsContext ResultsContextOf(const CHalvo98Doc& doc);

// The monthly results page for `selectedRow` (0 "All Walls", k wall k), lowered to the number of
// present walls first. Writes column 12 of the shown row's tables.
CMonthlyPage RefreshMonthlyResults(CHalvo98Doc& doc, int& selectedRow, const CMonthSelection& sel);

// The row's annual figures (UpdateAnnualResults of the page); totalSavingsGJ is -1 without results.
CAnnualResults UpdateAnnualResults(CHalvo98Doc& doc, int row, const CMonthSelection& sel);

// The financial results page. Takes each present wall's annual savings over the selected months
// (writing column 12 of the wall rows), and stores the collector area, damper and fan quantities
// in the project's economic inputs.
CFinancialResults RefreshFinancialResults(CHalvo98Doc& doc, const CMonthSelection& sel);

// The same over the given results and economic inputs in place of the document's own, and in the
// units of `ctx` (for callers that hold the project read-only, work on copies, or show other units
// than the project's).
CFinancialResults RefreshFinancialResults(const CHalvo98Doc& doc, const CResultsContext& ctx,
                                          CProjectResults& results, CEconomicInputs& econ,
                                          const CMonthSelection& sel);
