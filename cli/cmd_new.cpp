// halvo-cli new FILE.hvf [--from FILE.json] [--force]: a new project from the template beside the
// program, optionally changed by the fields of a JSON document (the form `show` prints).

#include <CLI/CLI.hpp>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "cli/project_json.h"
#include "project/doc.h"
#include "project/maker/file.h"
#include "project/project_file.h"

namespace {
struct NewOptions {
    std::string file;
    std::string from;
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
    cmd->add_flag("--force", opts->force, "replace FILE when it exists");
    cmd->callback([opts, &ctx] { ctx.exitCode = RunNew(*opts, ctx); });
}
