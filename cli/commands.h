#pragma once
// The subcommands of halvo-cli. Each lives in its own cmd_<name>.cpp and registers itself on the
// application with one function declared here; run.cpp calls the registration functions.

#include <ostream>
#include <string>

#include "cli/cli_messenger.h"

namespace CLI {
class App;
}

// Exit codes of halvo-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;     // the work itself failed (for example an output file could not be written)
constexpr int kExitUsage = 2;       // wrong command line
constexpr int kExitUnreadable = 3;  // an input file cannot be read or is not valid

// What a subcommand works with. A subcommand's callback stores its result in `exitCode`.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    CCliMessenger& messenger;
    int exitCode = kExitOk;

    // Reports one problem with a file as one stderr line "halvo-cli: FILE: problem" and returns `code`.
    int Fail(int code, const std::string& file, const std::string& problem) const {
        err << "halvo-cli: " << file << ": " << problem << '\n';
        return code;
    }
};

void AddNewCommand(CLI::App& app, CliContext& ctx);
void AddShowCommand(CLI::App& app, CliContext& ctx);
#if defined(HALVO_CLI_HAS_SIMULATE)
void AddSimulateCommand(CLI::App& app, CliContext& ctx);
#endif
#if defined(HALVO_CLI_HAS_IMPORT_EPW)
void AddImportEpwCommand(CLI::App& app, CliContext& ctx);
#endif
