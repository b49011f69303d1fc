#include "results/pages.h"

CResultsContext ResultsContextOf(const CHalvo98Doc& doc) {
    CResultsContext ctx;
    ctx.resultsValid = doc.resultsValid != 0;
    ctx.applicationType = doc.applicationType;
    ctx.units = UnitSystemFromFlag(doc.unitsFlag);
    ctx.wallCount = doc.WallCount();
    for (int w = 0; w < kWallCount; ++w) {
        // Single-precision product, as the collector record holds width and height.
        const float area = doc.collectors[w].collectorWidth * doc.collectors[w].collectorHeight;
        ctx.wallArea[w] = area;
    }
    return ctx;
}

CMonthlyPage RefreshMonthlyResults(CHalvo98Doc& doc, int& selectedRow, const CMonthSelection& sel) {
    return RefreshMonthlyResults(doc.results, ResultsContextOf(doc), selectedRow, sel);
}

CAnnualResults UpdateAnnualResults(CHalvo98Doc& doc, int row, const CMonthSelection& sel) {
    return UpdateAnnualResults(doc.results, ResultsContextOf(doc), row, sel);
}

namespace {

std::string FixedText(const char* bytes, std::size_t n) {
    std::size_t len = 0;
    while (len < n && bytes[len] != '\0') ++len;
    return std::string(bytes, len);
}

}  // namespace

CFinancialResults RefreshFinancialResults(CHalvo98Doc& doc, const CMonthSelection& sel) {
    return RefreshFinancialResults(doc, ResultsContextOf(doc), doc.results, doc.economics, sel);
}

CFinancialResults RefreshFinancialResults(const CHalvo98Doc& doc, const CResultsContext& rctx,
                                          CProjectResults& results, CEconomicInputs& econ,
                                          const CMonthSelection& sel) {
    CFinancialContext ctx;
    ctx.resultsValid = rctx.resultsValid;
    ctx.applicationType = doc.applicationType;
    ctx.units = rctx.units;
    ctx.currency = CurrencySymbol(doc.currency);
    ctx.city = doc.location.stationName;
    ctx.latitudeText = FixedText(doc.location.latitudeText, sizeof doc.location.latitudeText);
    ctx.longitudeText = FixedText(doc.location.longitudeText, sizeof doc.location.longitudeText);
    for (int w = 0; w < kWallCount; ++w) {
        CWallFinancialInputs& in = ctx.walls[w];
        in.present = doc.wallPresent[w] == 1;
        in.fuelType = doc.airSystems[w].heatingFuel;
        in.heatingEfficiency = doc.airSystems[w].heatingEfficiency;
        in.collectorArea = rctx.wallArea[w];
        in.bypassType = doc.collectors[w].bypassType;
        in.bypassDampers = doc.collectors[w].numberOfBypassDampers;
        in.fans = doc.airSystems[w].numberOfFans;
        if (in.present && rctx.resultsValid)
            in.annualSavingsGJ = UpdateAnnualResults(results, rctx, w + 1, sel).totalSavingsGJ;
    }
    return ComputeFinancialResults(econ, ctx);
}
