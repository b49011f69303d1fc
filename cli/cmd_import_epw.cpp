// halvo-cli import-epw IN.epw -o OUT.wsw: converts an EPW typical-year file into a weather file.

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "nimbra/epw_import.h"

namespace {
struct SImportArgs {
    std::string in, out;
    std::optional<std::string> name, region;
    int code = 1;
};

int RunImportEpwCommand(const SImportArgs& a, CliContext& ctx) {
    if (a.name && (a.name->empty() || a.name->size() > 99)) {
        ctx.err << "halvo-cli: import-epw: the station name must have 1 to 99 characters.\n";
        return kExitUsage;
    }
    if (a.region && a.region->size() > 2) {
        ctx.err << "halvo-cli: import-epw: the region code has at most two characters.\n";
        return kExitUsage;
    }
    nimbra::SEpwImportOptions options;
    options.stationName = a.name;
    options.regionCode = a.region;
    options.stationCode = a.code;
    std::vector<std::string> warnings;
    std::string error;
    const int rc = nimbra::ConvertEpwFile(a.in, a.out, options, warnings, error);
    for (const std::string& w : warnings) ctx.err << "halvo-cli: warning: " << w << '\n';
    if (rc == 3) return ctx.Fail(kExitUnreadable, a.in, error);
    if (rc != 0) return ctx.Fail(kExitFailure, a.out, error);
    ctx.out << "Wrote " << a.out << '\n';
    return kExitOk;
}
}  // namespace

void AddImportEpwCommand(CLI::App& app, CliContext& ctx) {
    auto a = std::make_shared<SImportArgs>();
    CLI::App* cmd = app.add_subcommand(
        "import-epw",
        "convert an EPW typical-year weather file into a weather file (.wsw): solar hours, 365 days");
    cmd->add_option("IN", a->in, "EPW file to read")->required();
    cmd->add_option("-o,--output", a->out, "weather file to write (replaced only when complete)")->required();
    cmd->add_option("--name", a->name, "station name (default: the station of the LOCATION line)");
    cmd->add_option("--region", a->region, "two-character region code (default: the LOCATION state field)");
    cmd->add_option("--code", a->code, "station code: 11 a city shown on a map, 1 other hourly data")
        ->check(CLI::Range(-32768, 32767))
        ->capture_default_str();
    cmd->callback([a, &ctx] { ctx.exitCode = RunImportEpwCommand(*a, ctx); });
}
