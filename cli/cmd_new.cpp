// halvo-cli new FILE.hvf [--from FILE.json] [--location WEATHER] [--force]: a new project from the
// template beside the program, optionally changed by the fields of a JSON document (the form `show`
// prints) and given a location the way the location picker gives one.

#include <CLI/CLI.hpp>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "cli/project_json.h"
#include "project/doc.h"
#include "project/maker/file.h"
#include "project/project_file.h"
#if defined(HALVO_CLI_HAS_WEATHER)
#include "engine/weather/weather_file.h"
#endif

namespace {
struct NewOptions {
    std::string file;
    std::string from;
    std::string location;
    bool force = false;
};

int RunNew(const NewOptions& o, CliContext& ctx) {
    if (o.file.empty()) return ctx.Fail(kExitUsage, "new", "the project file name is empty");
    // The writer resolves each path component ignoring letter case, so the test must too: "P.HVF"
    // would replace an existing "p.hvf".
    if (!o.force && FILE_FileExists(o.file))
        return ctx.Fail(kExitUsage, o.file, "already exists (use --force to replace it)");
    auto doc = std::make_unique<CHalvo98Doc>();
    doc->NewProject(ctx.messenger);
    if (!o.from.empty()) {
        std::ifstream in(o.from, std::ios::binary);
        if (!in) return ctx.Fail(kExitUnreadable, o.from, "cannot open the file");
        std::ostringstream text;
        text << in.rdbuf();
        if (in.bad()) return ctx.Fail(kExitUnreadable, o.from, "read error");
        std::string problem;
        if (!ApplyProjectJson(*doc, text.str(), problem)) return ctx.Fail(kExitUnreadable, o.from, problem);
    }
#if defined(HALVO_CLI_HAS_WEATHER)
    if (!o.location.empty()) {
        // As choosing a location does: the weather file is read at once for wall 1's orientation,
        // which stores its station header in the project, and the results are no longer valid.
        std::string problem;
        const CCollectorSpec& wall1 = doc->collectors[0];
        if (ReadWeather(doc->location, o.location, wall1.slope, wall1.azimuth, problem) != 0)
            return ctx.Fail(kExitUnreadable, o.location, problem);
        doc->InvalidateResults();
    }
#endif
    std::string problem;
    if (!WriteProjectFile(*doc, o.file, &problem)) return ctx.Fail(kExitFailure, o.file, problem);
    return kExitOk;
}
}  // namespace

void AddNewCommand(CLI::App& app, CliContext& ctx) {
    auto opts = std::make_shared<NewOptions>();
    CLI::App* cmd = app.add_subcommand("new", "write a new project made from the template \"default.hvf\" "
                                              "beside the program (record defaults without it)");
    cmd->add_option("FILE", opts->file, "project file to write (.hvf)")->required();
    cmd->add_option("--from", opts->from,
                    "JSON document (as printed by show) whose fields replace the template's; "
                    "fields left out keep the template's values");
#if defined(HALVO_CLI_HAS_WEATHER)
    cmd->add_option("--location", opts->location,
                    "weather file of the project's location, as stored: relative to the program folder "
                    "in backslash form (e.g. \"\\Weather\\North America\\Canada\\Ontario\\Toronto.wsw\"); "
                    "its station header is read into the project, after --from");
#endif
    cmd->add_flag("--force", opts->force, "replace FILE when it exists");
    cmd->callback([opts, &ctx] { ctx.exitCode = RunNew(*opts, ctx); });
}
