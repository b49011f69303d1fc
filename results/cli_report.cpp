#include "results/cli_report.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "results/economics.h"
#include "results/pages.h"

namespace {

// A page text for one line of output: the "\n" of two-line labels becomes a blank and the
// dialog's "&&" escape a single "&".
std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n') c = ' ';
    for (std::size_t p = s.find("&&"); p != std::string::npos; p = s.find("&&", p + 1)) s.erase(p, 1);
    return s;
}

std::string Pad(const std::string& s, std::size_t width, bool right) {
    // Width in characters, counting UTF-8 continuation bytes as nothing.
    std::size_t chars = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++chars;
    if (chars >= width) return s;
    const std::string fill(width - chars, ' ');
    return right ? fill + s : s + fill;
}

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

void JsonString(std::ostream& out, const std::string& s) {
    out << '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"': out << "\\\""; break;
        case '\\': out << "\\\\"; break;
        case '\n': out << "\\n"; break;
        case '\t': out << "\\t"; break;
        case '\r': out << "\\r"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out << buf;
            } else {
                out << static_cast<char>(c);
            }
        }
    }
    out << '"';
}

void JsonNumber(std::ostream& out, double v) {
    if (!std::isfinite(v)) {
        out << "null";
        return;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    out << buf;
}

void JsonKey(std::ostream& out, const char* key) {
    JsonString(out, key);
    out << ':';
}

std::string PageTitle(int row) { return row == 0 ? "All Walls" : "Wall " + std::to_string(row); }

constexpr std::size_t kLabelWidth = 20;
constexpr std::size_t kCellWidth = 9;

void PrintRow(std::ostream& out, const std::string& label, const CResultsRow& row) {
    out << "  " << Pad(label, kLabelWidth, false);
    for (const std::string& t : row.text) out << Pad(Trim(t), kCellWidth, true);
    out << '\n';
}

void PrintPage(std::ostream& out, const CMonthlyPage& page, const std::string& months) {
    out << "Results page: " << PageTitle(page.row) << " (selected months: "
        << (months.empty() ? "none" : months) << ")\n";
    out << "  columns:";
    for (int c = 0; c < kResultsColumnCount; ++c) out << (c ? " |" : "") << ' ' << c + 1 << ' ' << page.captions[c];
    out << '\n';
    out << "  " << Pad("Month", kLabelWidth, false);
    for (int c = 0; c < kResultsColumnCount; ++c) out << Pad(std::to_string(c + 1), kCellWidth, true);
    out << '\n';
    for (int m = 0; m < kMonths; ++m)
        PrintRow(out, std::string(page.monthEnabled[m] ? "[x] " : "[ ] ") + MonthName(m), page.months[m]);
    PrintRow(out, "Annual Total/Avg.", page.annual.annual);
    for (int i = 0; i < kBottomLines; ++i) {
        const CBottomLine& b = page.annual.bottom[i];
        if (i == 0 || i == 2)
            out << "  " << Pad("", 36, false) << Pad(b.firstColumnCaption, 10, true) << Pad("Total", 10, true)
                << '\n';
        out << "  " << Pad(b.caption, 36, false) << Pad(Trim(b.firstText), 10, true)
            << Pad(Trim(b.totalText), 10, true) << '\n';
    }
    out << '\n';
}

void PrintFinancial(std::ostream& out, const CFinancialResults& f, UnitSystem units) {
    const std::string cur = f.currency;
    out << "Financial results: " << OneLine(f.heading) << '\n';
    out << "  " << f.locationLine << '\n';
    out << "  " << Pad("", 8, false) << Pad("Size " + f.sizeLabel, 16, true)
        << Pad("Energy " + Trim(f.energyLabel), 18, true) << Pad("Fuel", 14, true) << "  "
        << Pad("", 20, false) << Pad("Cost (" + cur + ")", 14, true) << '\n';
    for (const CFinancialWall& w : f.walls) {
        if (!w.active) continue;
        out << "  " << Pad(w.title, 8, false) << Pad(Trim(w.sizeText), 16, true)
            << Pad(Trim(w.energyText), 18, true) << Pad(Trim(w.fuelText), 14, true) << "  "
            << Pad(OneLine(w.fuelLabel), 20, false) << Pad(Trim(w.costText), 14, true) << '\n';
    }
    out << "  " << Pad("Total", 8, false) << Pad(Trim(f.totalSizeText), 16, true)
        << Pad(Trim(f.totalEnergyText), 18, true) << Pad("", 14, true) << "  " << Pad("", 20, false)
        << Pad(Trim(f.totalCostText), 14, true) << '\n';
    const bool ip = units == UnitSystem::IP;
    const struct {
        std::string label, value;
    } lines[] = {
        {"Capital Costs (" + cur + ")", f.capitalCostText},
        {"Grant / Subsidy (" + cur + ")", f.grantText},
        {"Capital Cost Credits (" + cur + ")", f.creditsText},
        {"Net Cost (" + cur + ")", f.netCostText},
        {"Simple Payback (yrs)", f.paybackText},
        {"Internal Rate of Return (%/yr)", f.irrText},
        {"Life Cycle Savings (" + cur + ")", f.lifeCycleSavingsText},
        {std::string("Reduced  CO2 Emissions (") + (ip ? "tons/yr" : "tonnes/yr") + ")", f.co2Text},
    };
    for (const auto& l : lines) out << "  " << Pad(l.label, 36, false) << Pad(Trim(l.value), 16, true) << '\n';
}

void JsonRow(std::ostream& out, const CResultsRow& row) {
    out << "{\"values\":{";
    for (int c = 0; c < kResultsColumnCount; ++c) {
        if (c) out << ',';
        JsonKey(out, ResultsColumnKey(c));
        if (row.text[c] == "N/A" || row.text[c].empty()) out << "null";
        else JsonNumber(out, row.value[c]);
    }
    out << "},\"texts\":{";
    for (int c = 0; c < kResultsColumnCount; ++c) {
        if (c) out << ',';
        JsonKey(out, ResultsColumnKey(c));
        JsonString(out, row.text[c]);
    }
    out << "}}";
}

}  // namespace

CResultsReport BuildResultsReport(const CHalvo98Doc& doc, const CMonthSelection& sel,
                                  std::optional<UnitSystem> units) {
    CResultsReport report;
    report.months = sel;
    // The pages write their annual sums into the result tables and the cost quantities into the
    // economic inputs; work on copies so that printing leaves the project as it was.
    auto results = std::make_unique<CProjectResults>(doc.results);
    CEconomicInputs econ = doc.economics;
    CResultsContext ctx = ResultsContextOf(doc);
    if (units) ctx.units = *units;
    report.units = ctx.units;
    const int walls = ClampSelectedRow(ctx.wallCount, kWallCount);
    for (int row = 0; row <= walls; ++row) {
        int shown = row;
        report.pages.push_back(RefreshMonthlyResults(*results, ctx, shown, sel));
    }
    report.financial = RefreshFinancialResults(doc, ctx, *results, econ, sel);
    return report;
}

void PrintResultsText(const CResultsReport& report, std::ostream& out) {
    const std::string months = FormatMonthSelection(report.months);
    for (const CMonthlyPage& page : report.pages) PrintPage(out, page, months);
    PrintFinancial(out, report.financial, report.units);
}

void WriteResultsJson(const CResultsReport& report, std::ostream& out) {
    out << '{';
    JsonKey(out, "months");
    JsonString(out, FormatMonthSelection(report.months));
    out << ",\"pages\":[";
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        const CMonthlyPage& p = report.pages[i];
        if (i) out << ',';
        out << "{\"row\":" << p.row << ",\"title\":";
        JsonString(out, PageTitle(p.row));
        out << ",\"has_results\":" << (p.hasResults ? "true" : "false") << ",\"columns\":[";
        for (int c = 0; c < kResultsColumnCount; ++c) {
            if (c) out << ',';
            out << "{\"key\":";
            JsonString(out, ResultsColumnKey(c));
            out << ",\"caption\":";
            JsonString(out, p.captions[c]);
            out << '}';
        }
        out << "],\"monthly\":[";
        for (int m = 0; m < kMonths; ++m) {
            if (m) out << ',';
            out << "{\"month\":" << m + 1 << ",\"name\":";
            JsonString(out, MonthName(m));
            out << ",\"selected\":" << (p.monthEnabled[m] ? "true" : "false") << ",\"row\":";
            JsonRow(out, p.months[m]);
            out << '}';
        }
        out << "],\"annual\":";
        JsonRow(out, p.annual.annual);
        out << ",\"annual_total_savings_gj\":";
        JsonNumber(out, p.annual.totalSavingsGJ);
        out << ",\"bottom\":[";
        for (int b = 0; b < kBottomLines; ++b) {
            const CBottomLine& l = p.annual.bottom[b];
            if (b) out << ',';
            out << "{\"caption\":";
            JsonString(out, l.caption);
            out << ",\"first_caption\":";
            JsonString(out, l.firstColumnCaption);
            out << ",\"first\":";
            if (p.annual.hasResults) JsonNumber(out, l.first); else out << "null";
            out << ",\"total\":";
            if (p.annual.hasResults && b != 1) JsonNumber(out, l.total); else out << "null";
            out << ",\"first_text\":";
            JsonString(out, l.firstText);
            out << ",\"total_text\":";
            JsonString(out, l.totalText);
            out << '}';
        }
        out << "]}";
    }
    const CFinancialResults& f = report.financial;
    out << "],\"financial\":{\"has_results\":" << (f.hasResults ? "true" : "false");
    auto text = [&](const char* key, const std::string& v) {
        out << ',';
        JsonKey(out, key);
        JsonString(out, v);
    };
    auto number = [&](const char* key, double v, bool shown) {
        out << ',';
        JsonKey(out, key);
        if (shown) JsonNumber(out, v); else out << "null";
    };
    text("heading", f.heading);
    text("location", f.locationLine);
    text("currency", f.currency);
    text("size_label", f.sizeLabel);
    text("energy_label", f.energyLabel);
    text("co2_caption", f.co2Caption);
    out << ",\"walls\":[";
    bool first = true;
    for (const CFinancialWall& w : f.walls) {
        if (!w.active) continue;
        if (!first) out << ',';
        first = false;
        out << "{\"title\":";
        JsonString(out, w.title);
        number("area_m2", w.area, true);
        number("energy_gj", w.energy, f.hasResults);
        number("fuel", w.fuel, f.hasResults);
        number("cost", w.cost, f.hasResults);
        number("co2", w.co2, f.hasResults);
        text("size_text", w.sizeText);
        text("energy_text", w.energyText);
        text("fuel_text", w.fuelText);
        text("fuel_label", w.fuelLabel);
        text("cost_text", w.costText);
        out << '}';
    }
    out << ']';
    number("total_area_m2", f.totalArea, true);
    number("total_energy_gj", f.totalEnergy, f.hasResults);
    number("total_cost", f.totalCost, f.hasResults);
    number("total_co2", f.totalCO2, f.hasResults);
    number("capital_cost", f.capitalCost, true);
    number("credits", f.credits, true);
    number("grant", f.grant, true);
    number("net_cost", f.netCost, true);
    number("simple_payback", f.payback, f.paybackShown);
    number("irr_percent", f.irr, f.irrShown);
    number("life_cycle_savings", f.lifeCycleSavings, f.irrShown);
    text("total_size_text", f.totalSizeText);
    text("total_energy_text", f.totalEnergyText);
    text("total_cost_text", f.totalCostText);
    text("capital_cost_text", f.capitalCostText);
    text("credits_text", f.creditsText);
    text("grant_text", f.grantText);
    text("net_cost_text", f.netCostText);
    text("simple_payback_text", f.paybackText);
    text("irr_text", f.irrText);
    text("life_cycle_savings_text", f.lifeCycleSavingsText);
    text("co2_text", f.co2Text);
    out << "}}";
}

std::string ResultsJson(const CResultsReport& report) {
    std::ostringstream out;
    WriteResultsJson(report, out);
    return out.str();
}

void PrintResultsReport(const CHalvo98Doc& doc, const CMonthSelection& sel, std::ostream& out, bool json,
                        std::optional<UnitSystem> units) {
    const CResultsReport report = BuildResultsReport(doc, sel, units);
    if (json) WriteResultsJson(report, out);
    else PrintResultsText(report, out);
}
