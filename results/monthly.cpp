#include "results/monthly.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// Display conversions of the results pages (SI x factor = IP).
constexpr double kGJToMMBTU = 0.94782;
constexpr double kKelvinToRankine = 1.8;        // degree days and temperature differences
constexpr double kGJPerM2ToMMBTUPerFt2 = 0.088055;

std::string Fmt(const char* format, double v) {
    char buf[400];  // room for the largest double in fixed notation, so no text is cut short
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

struct ColumnDef {
    const char* captionSI;
    const char* captionIP;
    const char* key;
    const char* format;
};

const ColumnDef kColumns[kResultsColumnCount] = {
    {"Degree Days (Base 18°C)", "Degree Days (Base 65°F)", "degree_days", "%6.0f"},
    {"Solar Incident (GJ)", "Solar Incident (MMBTU)", "solar_incident", "%6.1f"},
    {"Solar Incident Operation (GJ)", "Solar Incident Operation (MMBTU)", "solar_incident_operation", "%6.1f"},
    {"Avg. Day-time Temp. Rise (°C)", "Avg. Day-time Temp. Rise (°F)", "day_time_temp_rise", "%6.1f"},
    {"Fresh Air Ventilation (%)", "Fresh Air Ventilation (%)", "fresh_air_ventilation", "%3.0f"},
    {"Solar Collected (GJ)", "Solar Collected (MMBTU)", "solar_collected", "%6.1f"},
    {"Insulation Savings (GJ)", "Insulation Savings (MMBTU)", "insulation_savings", "%6.1f"},
    {"Destratification Savings (GJ)", "Destratification Savings (MMBTU)", "destratification_savings", "%6.1f"},
    {"Total Savings (GJ)", "Total Savings (MMBTU)", "total_savings", "%6.1f"},
};

// The quantities one row of the page is formed from: the table values of a month, or their sums
// over the selected months. Single precision, as the tables hold them.
struct Sums {
    float degreeDays = 0, incident = 0, operating = 0, collected = 0, insulation = 0, destrat = 0,
          total = 0, riseDay = 0, flowDay = 0, flowNight = 0, hoursDay = 0, collFlow = 0,
          baseDay = 0, baseNight = 0, recapDay = 0;
};

Sums MonthSums(const CProjectResults& r, int row, int m) {
    Sums s;
    s.degreeDays = r.degreeDays[1][m];
    s.incident = r.solarIncidentTotal[row][m];
    s.operating = r.operatingSolar[row][m];
    s.collected = r.solarCollected[row][m];
    s.insulation = r.insulationSavings[row][m];
    s.destrat = r.destratSavings[row][m];
    s.total = r.totalSavings[row][m];
    s.riseDay = r.solarRiseDay[row][m];
    s.flowDay = r.flowDay[row][m];
    s.flowNight = r.flowNight[row][m];
    s.hoursDay = r.hoursDay[row][m];
    s.collFlow = r.collectorFlow[row][m];
    s.baseDay = r.baseLoadDay[row][m];
    s.baseNight = r.baseLoadNight[row][m];
    s.recapDay = r.recapturedDay[row][m];
    return s;
}

CResultsRow MakeRow(const Sums& s, const CResultsContext& ctx) {
    const bool ip = ctx.units == UnitSystem::IP;
    const double e = ip ? kGJToMMBTU : 1.0;
    const double dt = ip ? kKelvinToRankine : 1.0;
    CResultsRow row;
    row.value[kColDegreeDays] = s.degreeDays * dt;
    row.value[kColSolarIncident] = s.incident * e;
    row.value[kColSolarOperation] = s.operating * e;
    row.value[kColTempRise] = s.hoursDay * s.flowDay > 0.0f ? double(s.riseDay / s.flowDay) * dt : 0.0;
    const float flowSum = s.flowDay + s.flowNight;
    row.value[kColFreshAir] = flowSum > 0.0f ? 100.0 * s.collFlow / flowSum : 0.0;
    row.value[kColSolarCollected] = s.collected * e;
    row.value[kColInsulation] = s.insulation * e;
    row.value[kColDestrat] = s.destrat * e;
    row.value[kColTotalSavings] = s.total * e;
    for (int c = 0; c < kResultsColumnCount; ++c)
        row.text[c] = ResultsColumnNotApplicable(c, ctx.applicationType)
                          ? std::string("N/A")
                          : Fmt(kColumns[c].format, row.value[c]);
    return row;
}

bool ValidRow(int row) { return row >= 0 && row < kResultRows; }

}  // namespace

bool ParseMonthSelection(std::string_view text, CMonthSelection& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    std::string s;
    for (char ch : text)
        if (!std::isspace(static_cast<unsigned char>(ch))) s += ch;
    if (s == "all" || s == "ALL" || s == "All") {
        out = CMonthSelection{};
        return true;
    }
    if (s.empty()) return fail("empty month list (use for example 1-4,10-12)");
    CMonthSelection sel;
    sel.selected.fill(false);
    std::size_t pos = 0;
    while (pos <= s.size()) {
        std::size_t comma = s.find(',', pos);
        if (comma == std::string::npos) comma = s.size();
        const std::string item = s.substr(pos, comma - pos);
        auto number = [](const std::string& t, int& v) {
            if (t.empty() || t.size() > 2) return false;
            v = 0;
            for (char ch : t) {
                if (ch < '0' || ch > '9') return false;
                v = v * 10 + (ch - '0');
            }
            return v >= 1 && v <= kMonths;
        };
        int first = 0, last = 0;
        const std::size_t dash = item.find('-');
        bool ok;
        if (dash == std::string::npos) {
            ok = number(item, first);
            last = first;
        } else {
            ok = number(item.substr(0, dash), first) && number(item.substr(dash + 1), last);
        }
        if (!ok) return fail("bad month item \"" + item + "\" (months are 1..12, e.g. 1-4,10-12)");
        if (last < first) return fail("month range \"" + item + "\" runs backwards");
        for (int m = first; m <= last; ++m) sel.selected[m - 1] = true;
        pos = comma + 1;
    }
    out = sel;
    return true;
}

std::string FormatMonthSelection(const CMonthSelection& sel) {
    std::string out;
    for (int m = 0; m < kMonths;) {
        if (!sel.selected[m]) {
            ++m;
            continue;
        }
        int end = m;
        while (end + 1 < kMonths && sel.selected[end + 1]) ++end;
        if (!out.empty()) out += ',';
        out += std::to_string(m + 1);
        if (end > m) out += "-" + std::to_string(end + 1);
        m = end + 1;
    }
    return out;
}

std::string ResultsColumnCaption(int column, UnitSystem units) {
    if (column < 0 || column >= kResultsColumnCount) return "";
    return units == UnitSystem::IP ? kColumns[column].captionIP : kColumns[column].captionSI;
}

const char* ResultsColumnKey(int column) {
    if (column < 0 || column >= kResultsColumnCount) return "";
    return kColumns[column].key;
}

bool ResultsColumnNotApplicable(int column, int applicationType) {
    switch (column) {
    case kColFreshAir:
    case kColInsulation: return applicationType == 3;
    case kColDestrat: return applicationType != 1;
    default: return false;
    }
}

const char* MonthName(int month) {
    static const char* const kNames[kMonths] = {"January", "February", "March",     "April",
                                                "May",     "June",     "July",      "August",
                                                "September", "October", "November", "December"};
    return month >= 0 && month < kMonths ? kNames[month] : "";
}

std::vector<std::string> WallSelectorEntries(int wallCount) {
    std::vector<std::string> entries{"All Walls"};
    for (int w = 1; w <= wallCount && w <= kWallCount; ++w) entries.push_back("Wall " + std::to_string(w));
    return entries;
}

int ClampSelectedRow(int row, int wallCount) {
    if (wallCount > kWallCount) wallCount = kWallCount;
    if (row > wallCount) row = wallCount;
    return row < 0 ? 0 : row;
}

double ResultsRowArea(const CResultsContext& ctx, int row) {
    if (row >= 1 && row <= kWallCount) return ctx.wallArea[row - 1];
    double a = 0.0;
    for (int w = 0; w < ctx.wallCount && w < kWallCount; ++w) a += ctx.wallArea[w];
    return a;
}

CAnnualResults UpdateAnnualResults(CProjectResults& results, const CResultsContext& ctx, int row,
                                   const CMonthSelection& sel) {
    CAnnualResults out;
    const bool ip = ctx.units == UnitSystem::IP;
    out.bottom[0].caption = ip ? "Annual Savings (MMBTU/ft²)" : "Annual Savings (GJ/m²)";
    out.bottom[1].caption = "Collector Efficiency (%)";
    out.bottom[2].caption = ip ? "Annual Ventilation Load (MMBTU)" : "Annual Ventilation Load (GJ)";
    out.bottom[3].caption = "Ventilation Load by Collector (%)";
    out.bottom[0].firstColumnCaption = "Solar";
    out.bottom[1].firstColumnCaption = "Solar";
    out.bottom[2].firstColumnCaption = "Day-time";
    out.bottom[3].firstColumnCaption = "Day-time";

    if (!ctx.resultsValid || !ValidRow(row)) {
        for (auto& t : out.annual.text) t = "N/A";
        for (auto& b : out.bottom) b.firstText = b.totalText = "N/A";
        out.bottom[1].totalText = "----";
        return out;
    }

    // Every table's selected months go into its column 12 of the shown row; degree days are those of
    // wall 1, whatever row is shown (row 0 would hold the sum over the walls).
    for (int t = 0; t < kResultTableCount; ++t) {
        const auto id = static_cast<EResultTable>(t);
        const MonthlyTable& table = results.Table(id);
        const int src = id == EResultTable::DegreeDays ? 1 : row;
        float sum = 0.0f;
        for (int m = 0; m < kMonths; ++m)
            if (sel.selected[m]) sum += table[src][m];
        results.Table(id)[row][kAnnualColumn] = sum;
    }
    Sums s = MonthSums(results, row, kAnnualColumn);
    s.degreeDays = results.degreeDays[row][kAnnualColumn];

    out.hasResults = true;
    out.totalSavingsGJ = s.total;
    out.annual = MakeRow(s, ctx);

    const double e = ip ? kGJToMMBTU : 1.0;
    const double perArea = ip ? kGJPerM2ToMMBTUPerFt2 : 1.0;
    // A wall of zero area would divide by zero; show 0 as for the other empty denominators.
    const double area = ResultsRowArea(ctx, row);
    CBottomLine& savings = out.bottom[0];
    savings.first = area > 0.0 ? s.collected / area * perArea : 0.0;
    savings.total = area > 0.0 ? s.total / area * perArea : 0.0;
    savings.firstText = Fmt("%6.2f", savings.first);
    savings.totalText = Fmt("%6.2f", savings.total);

    CBottomLine& eff = out.bottom[1];
    eff.first = s.operating > 0.0f ? 100.0 * s.collected / s.operating : 0.0;
    eff.firstText = Fmt("%6.0f", eff.first);
    eff.totalText = "----";

    CBottomLine& load = out.bottom[2];
    const float baseAll = s.baseDay + s.baseNight;
    load.first = s.baseDay * e;
    load.total = baseAll * e;
    load.firstText = Fmt("%6.1f", load.first);
    load.totalText = Fmt("%6.1f", load.total);

    CBottomLine& share = out.bottom[3];
    share.first = s.baseDay > 0.0f ? 100.0 * (s.collected + s.recapDay) / s.baseDay : 0.0;
    share.total = baseAll > 0.0f ? 100.0 * (s.collected + s.insulation) / baseAll : 0.0;
    share.firstText = Fmt("%6.0f", share.first);
    share.totalText = Fmt("%6.0f", share.total);
    return out;
}

CMonthlyPage RefreshMonthlyResults(CProjectResults& results, const CResultsContext& ctx,
                                   int& selectedRow, const CMonthSelection& sel) {
    CMonthlyPage page;
    selectedRow = ClampSelectedRow(selectedRow, ctx.wallCount);
    page.row = selectedRow;
    page.selector = WallSelectorEntries(ctx.wallCount);
    for (int c = 0; c < kResultsColumnCount; ++c) page.captions[c] = ResultsColumnCaption(c, ctx.units);
    for (int m = 0; m < kMonths; ++m) page.monthEnabled[m] = sel.selected[m];
    page.hasResults = ctx.resultsValid;
    if (ctx.resultsValid)
        for (int m = 0; m < kMonths; ++m) page.months[m] = MakeRow(MonthSums(results, page.row, m), ctx);
    page.annual = UpdateAnnualResults(results, ctx, page.row, sel);
    return page;
}

double SavingsGraphAxisTop(double m) {
    if (m >= 1.0 && std::log10(m) >= 1.0) {
        const double p = std::floor(std::log10(m));
        const double scale = std::pow(10.0, p);
        const double f = std::floor(m / scale);
        const double base = f * scale;
        const double step = f > 4.0 ? scale : scale / 2.0;
        double top = base;
        while (top < m) top += step;
        return top;
    }
    if (m >= 1.0) return m > 5.0 ? 10.0 : 5.0;
    return 1.0;
}

CSavingsGraph BuildSavingsGraph(const CProjectResults& results, const CResultsContext& ctx, int row,
                                const CMonthSelection& sel) {
    CSavingsGraph g;
    const bool ip = ctx.units == UnitSystem::IP;
    const double e = ip ? kGJToMMBTU : 1.0;
    double largest = 0.0;
    for (int m = 0; m < kMonths; ++m) {
        g.drawn[m] = sel.selected[m];
        if (ctx.resultsValid && ValidRow(row)) {
            g.solarCollected[m] = results.solarCollected[row][m] * e;
            g.destrat[m] = results.destratSavings[row][m] * e;
            g.insulation[m] = results.insulationSavings[row][m] * e;
            g.total[m] = results.totalSavings[row][m] * e;
        }
        if (m == 0 || g.total[m] > largest) largest = g.total[m];
    }
    g.axisTop = SavingsGraphAxisTop(largest);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5.2f\n%s", g.axisTop, ip ? "(MMBTU)" : "(GJ)");
    g.axisLabels[0] = buf;
    g.axisLabels[1] = Fmt("%5.2f", g.axisTop * 3.0 / 4.0);
    g.axisLabels[2] = Fmt("%5.2f", g.axisTop / 2.0);
    g.axisLabels[3] = Fmt("%5.2f", g.axisTop / 4.0);
    g.axisLabels[4] = "0.0";
    return g;
}
