// halvo-cli show FILE.hvf: every stored field of a project as JSON on stdout.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/commands.h"
#include "cli/project_json.h"
#include "project/doc.h"
#include "project/messages.h"
#include "project/project_file.h"

namespace {
int RunShow(const std::string& file, CliContext& ctx) {
    // The reader takes an empty path for "no file" and succeeds; here it can only be a mistake.
    if (file.empty()) return ctx.Fail(kExitUsage, "show", "the project file name is empty");
    auto doc = std::make_unique<CHalvo98Doc>();
    // The reader's own message boxes are collected; the one line below says the same with the name.
    CScriptedMessenger quiet;
    std::string problem;
    if (ReadProject(*doc, file, quiet, &problem) != kReadOk) return ctx.Fail(kExitUnreadable, file, problem);
    ctx.out << ProjectToJson(*doc);
    return kExitOk;
}
}  // namespace

void AddShowCommand(CLI::App& app, CliContext& ctx) {
    auto file = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("show", "print every stored field of a project file as JSON (SI values)");
    cmd->add_option("FILE", *file, "project file to read (.hvf)")->required();
    cmd->callback([file, &ctx] { ctx.exitCode = RunShow(*file, ctx); });
}
