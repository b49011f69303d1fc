// halvo-cli simulate FILE.hvf: runs the Simulate command on a project and prints the monthly result
// tables of all walls and of each wall, with the design fan power and pressure of each wall, then
// the results pages ("All Walls" and each wall: monthly rows, annual row, bottom block) and the
// financial results over the months chosen with --months. The project file is only read, never
// written.

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "engine/control/control.h"
#include "engine/sim/run_progress.h"
#include "engine/sim/simulate.h"
#include "project/doc.h"
#include "project/maker/file.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "project/units.h"
#include "results/cli_report.h"

namespace {

struct SimulateOptions {
    std::string file;
    std::string units = "si";
    bool json = false;
    bool csv = false;
    std::string control;
    std::string hourly;
    std::string columns;
    std::string months = "1-12";  // months of the annual results and the financial analysis
};

struct CTableInfo {
    EResultTable id;
    const char* key;      // JSON and CSV name
    const char* caption;  // text output
    bool energy;          // GJ in the project; MMBTU with --units ip
    const char* unit;     // unit of a table that is not an energy
};

const CTableInfo kTables[kResultTableCount] = {
    {EResultTable::SolarIncidentTotal, "solarIncidentTotal", "Solar incident, total", true, ""},
    {EResultTable::SolarIncidentOperating, "solarIncidentOperating", "Solar incident during operation", true, ""},
    {EResultTable::SolarCollected, "solarCollected", "Solar collected", true, ""},
    {EResultTable::InsulationSavings, "insulationSavings", "Insulation savings", true, ""},
    {EResultTable::DestratSavings, "destratSavings", "Destratification savings", true, ""},
    {EResultTable::TotalSavings, "totalSavings", "Total savings", true, ""},
    {EResultTable::OperatingSolar, "operatingSolar", "Operating solar", true, ""},
    {EResultTable::BaseLoadDay, "baseLoadDay", "Day-time base load", true, ""},
    {EResultTable::BaseLoadNight, "baseLoadNight", "Night-time base load", true, ""},
    {EResultTable::RecapturedDay, "recapturedDay", "Day-time recaptured heat", true, ""},
    {EResultTable::CollectorFlow, "collectorFlow", "Collector flow", false, "kg/h x h"},
    {EResultTable::DegreeDays, "degreeDays", "Degree days (base 18 C)", false, "C day"},
    {EResultTable::FlowDay, "flowDay", "Day-time flow", false, "kg/h x h"},
    {EResultTable::FlowNight, "flowNight", "Night-time flow", false, "kg/h x h"},
    {EResultTable::SolarRiseDay, "solarRiseDay", "Day-time solar rise", false, "kJ/h x h"},
    {EResultTable::SolarRiseNight, "solarRiseNight", "Night-time solar rise", false, "kJ/h x h"},
    {EResultTable::HoursDay, "hoursDay", "Day-time hours", false, "h"},
    {EResultTable::HoursNight, "hoursNight", "Night-time hours", false, "h"},
};

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A progress bar on a terminal: "Wall 2  Day 120  [#####.....]  45 %".
class CCliProgress final : public CRunProgress {
public:
    explicit CCliProgress(std::ostream& err) : m_err(err) {}
    void Start(int walls) override {
        m_walls = walls;
        m_last = -1;
    }
    void Update(int wall, int day, int hours) override {
        const int p = RunProgressPercent(m_walls, wall, day, hours);
        if (p == m_last) return;
        m_last = p;
        char bar[21];
        for (int i = 0; i < 20; ++i) bar[i] = i < p / 5 ? '#' : '.';
        bar[20] = 0;
        char line[96];
        std::snprintf(line, sizeof line, "\rWall %d  Day %-3d  [%s] %3d %%", wall, day, bar, p);
        m_err << line << std::flush;
    }
    void Close() override { m_err << "\r" << std::string(48, ' ') << "\r" << std::flush; }

private:
    std::ostream& m_err;
    int m_walls = 1;
    int m_last = -1;
};

double Shown(const CTableInfo& t, float v, bool ip) {
    if (t.energy && ip) return CUnitConverter::EnergyToIP(static_cast<double>(v) * 1e9) / 1e6;
    return v;
}

const char* UnitOf(const CTableInfo& t, bool ip) {
    if (t.energy) return ip ? "MMBTU" : "GJ";
    return t.unit;
}

std::string RowName(int row) { return row == 0 ? "All walls" : "Wall " + std::to_string(row); }
std::string RowKey(int row) { return row == 0 ? "all" : "wall" + std::to_string(row); }

// One row of a monthly table as every output form shows it: the twelve months (IP energies in
// MMBTU) and their sum.
struct CShownRow {
    double months[12];
    double year = 0;
};
template <class Row>
CShownRow ShownRow(const CTableInfo& t, const Row& row, bool ip) {
    CShownRow r;
    for (int m = 0; m < 12; ++m) {
        r.months[m] = Shown(t, row[m], ip);
        r.year += r.months[m];
    }
    return r;
}

void PrintText(const CHalvo98Doc& doc, int n, bool ip, std::ostream& out) {
    char buf[256];
    out << "Project: " << doc.pathName << "\n";
    out << "Application: " << ApplicationTypeName(doc.applicationType) << "\n";
    out << "Weather: " << doc.location.stationName << " (" << doc.location.weatherFile << ")\n";
    for (int w = 0; w < n; ++w) {
        const double power = doc.results.designFanPower[w], press = doc.results.designFanPressure[w];
        if (ip) {
            std::snprintf(buf, sizeof buf, "Wall %d: design fan power %.3f HP ea. fan, design fan pressure %.3f in-WG\n",
                          w + 1, CUnitConverter::PowerToIP(power), CUnitConverter::PressureToIP(press));
        } else {
            std::snprintf(buf, sizeof buf, "Wall %d: design fan power %.3f kW ea. fan, design fan pressure %.1f Pa\n",
                          w + 1, power, press);
        }
        out << buf;
    }
    for (const CTableInfo& t : kTables) {
        const MonthlyTable& table = doc.results.Table(t.id);
        out << "\n" << t.caption << " [" << UnitOf(t, ip) << "]\n";
        std::snprintf(buf, sizeof buf, "%-10s", "");
        out << buf;
        for (const char* m : kMonthNames) {
            std::snprintf(buf, sizeof buf, "%11s", m);
            out << buf;
        }
        out << "       Year\n";
        for (int row = 0; row <= n; ++row) {
            std::snprintf(buf, sizeof buf, "%-10s", RowName(row).c_str());
            out << buf;
            const CShownRow shown = ShownRow(t, table[row], ip);
            for (double v : shown.months) {
                std::snprintf(buf, sizeof buf, " %10.4g", v);
                out << buf;
            }
            std::snprintf(buf, sizeof buf, " %10.4g\n", shown.year);
            out << buf;
        }
    }
}

void PrintCsv(const CHalvo98Doc& doc, int n, bool ip, std::ostream& out) {
    char buf[64];
    out << "table,unit,row";
    for (const char* m : kMonthNames) out << ',' << m;
    out << ",Year\n";
    for (const CTableInfo& t : kTables) {
        const MonthlyTable& table = doc.results.Table(t.id);
        for (int row = 0; row <= n; ++row) {
            out << t.key << ',' << UnitOf(t, ip) << ',' << RowKey(row);
            const CShownRow shown = ShownRow(t, table[row], ip);
            for (double v : shown.months) {
                std::snprintf(buf, sizeof buf, ",%.9g", v);
                out << buf;
            }
            std::snprintf(buf, sizeof buf, ",%.9g\n", shown.year);
            out << buf;
        }
    }
    for (int w = 0; w < n; ++w) {
        const double power = doc.results.designFanPower[w], press = doc.results.designFanPressure[w];
        std::snprintf(buf, sizeof buf, "%.9g", ip ? CUnitConverter::PowerToIP(power) : power);
        out << "designFanPower," << (ip ? "HP" : "kW") << ",wall" << w + 1 << ',' << buf << '\n';
        std::snprintf(buf, sizeof buf, "%.9g", ip ? CUnitConverter::PressureToIP(press) : press);
        out << "designFanPressure," << (ip ? "in-WG" : "Pa") << ",wall" << w + 1 << ',' << buf << '\n';
    }
}

void PrintJson(const CHalvo98Doc& doc, const std::string& file, int n, bool ip, const CMonthSelection& sel,
               std::ostream& out) {
    nlohmann::ordered_json j;
    j["file"] = file;
    j["applicationType"] = doc.applicationType;
    j["weatherFile"] = doc.location.weatherFile;
    j["station"] = doc.location.stationName;
    j["units"] = ip ? "IP" : "SI";
    j["walls"] = n;
    auto& fans = j["designFan"] = nlohmann::ordered_json::array();
    for (int w = 0; w < n; ++w) {
        const double power = doc.results.designFanPower[w], press = doc.results.designFanPressure[w];
        nlohmann::ordered_json f;
        f["wall"] = w + 1;
        f["power"] = ip ? CUnitConverter::PowerToIP(power) : power;
        f["powerUnit"] = ip ? "HP" : "kW";
        f["pressure"] = ip ? CUnitConverter::PressureToIP(press) : press;
        f["pressureUnit"] = ip ? "in-WG" : "Pa";
        fans.push_back(f);
    }
    auto& tables = j["tables"];
    for (const CTableInfo& t : kTables) {
        const MonthlyTable& table = doc.results.Table(t.id);
        nlohmann::ordered_json tj;
        tj["unit"] = UnitOf(t, ip);
        for (int row = 0; row <= n; ++row) {
            const CShownRow shown = ShownRow(t, table[row], ip);
            nlohmann::ordered_json months = nlohmann::ordered_json::array();
            for (double v : shown.months) months.push_back(v);
            const std::string key = RowKey(row);
            tj[key]["months"] = months;
            tj[key]["year"] = shown.year;
        }
        tables[t.key] = tj;
    }
    // The results pages ("All Walls" and each wall) and the financial results.
    j["results"] = nlohmann::ordered_json::parse(
        ResultsJson(BuildResultsReport(doc, sel, ip ? UnitSystem::IP : UnitSystem::SI)));
    out << j.dump(2) << '\n';
}

int RunSimulate(const SimulateOptions& o, CliContext& ctx) {
    if (o.json && o.csv) return ctx.Fail(kExitUsage, o.file, "--json and --csv exclude each other");
    if (!o.hourly.empty() && o.columns.empty())
        return ctx.Fail(kExitUsage, o.hourly, "--hourly needs --columns");
    CMonthSelection months;
    std::string badMonths;
    if (!ParseMonthSelection(o.months, months, &badMonths)) return ctx.Fail(kExitUsage, "--months", badMonths);
    // A control file named on the command line is an input of this command: one that cannot be read
    // stops it like an unreadable project, where the desktop program only warns and runs without.
    if (!o.control.empty()) {
        std::error_code ec;
        const std::string host = FILE_HostPath(o.control);
        std::ifstream probe(host, std::ios::binary);
        if (!probe || std::filesystem::is_directory(host, ec))
            return ctx.Fail(kExitUnreadable, o.control, "cannot open the control file");
    }
    auto doc = std::make_unique<CHalvo98Doc>();
    CScriptedMessenger quiet;
    std::string problem;
    if (ReadProject(*doc, o.file, quiet, &problem) != kReadOk) return ctx.Fail(kExitUnreadable, o.file, problem);
    doc->pathName = o.file;

    CControlOptions control;
    control.ControlPath = o.control;
    if (!o.hourly.empty()) {
        control.HourlyPath = o.hourly;
        if (SetHourlyColumns(control, o.columns) <= 0)
            return ctx.Fail(kExitUsage, o.hourly, "--columns names no column");
    }

    // A bar only where someone watches it: stderr of this process on a terminal.
    const bool bar = &ctx.err == &std::cerr && isatty(STDERR_FILENO);
    CCliProgress progress(ctx.err);
    const ESimulateResult r = SimulateProject(*doc, ctx.messenger, bar ? &progress : nullptr, &control);
    if (r != kSimulateDone) return kExitUnreadable;

    const bool ip = o.units == "ip";
    const int n = doc->WallCount();
    if (o.json) {
        PrintJson(*doc, o.file, n, ip, months, ctx.out);
    } else if (o.csv) {
        PrintCsv(*doc, n, ip, ctx.out);
    } else {
        PrintText(*doc, n, ip, ctx.out);
        ctx.out << '\n';
        PrintResultsReport(*doc, months, ctx.out, false, ip ? UnitSystem::IP : UnitSystem::SI);
    }
    return kExitOk;
}

}  // namespace

void AddSimulateCommand(CLI::App& app, CliContext& ctx) {
    auto opts = std::make_shared<SimulateOptions>();
    CLI::App* cmd = app.add_subcommand(
        "simulate",
        "run the Simulate command on a project and print the monthly results of all walls and of each "
        "wall, with each wall's design fan power and pressure, then the results pages and the financial "
        "results over the --months (the project file is not changed); "
        "exit code 3 when the project or its weather file cannot be read");
    cmd->add_option("FILE", opts->file, "project file to simulate (.hvf)")->required();
    cmd->add_option("--units", opts->units, "si: energies in GJ; ip: in MMBTU, fan power in HP, pressure in in-WG")
        ->check(CLI::IsMember({"si", "ip"}))
        ->capture_default_str();
    cmd->add_flag("--json", opts->json, "print the results as JSON");
    cmd->add_flag("--csv", opts->csv, "print the results as CSV (one line per table and row)");
    cmd->add_option("--control", opts->control,
                    "control file to use instead of \"halvopro.csv\" beside the program");
    cmd->add_option("--hourly", opts->hourly,
                    "write hourly output to this file, one per wall (FILE-w1.csv, FILE-w2.csv, ...)");
    cmd->add_option("--columns", opts->columns, "hourly output keywords, for example tamb,qsol,qcoll");
    cmd->add_option("--months", opts->months,
                    "months that enter the annual results and the financial analysis, for example 1-4,10-12")
        ->capture_default_str();
    cmd->callback([opts, &ctx] { ctx.exitCode = RunSimulate(*opts, ctx); });
}
