#include "cli/run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>

#include "cli/commands.h"

#ifndef HALVO_VERSION
#define HALVO_VERSION "0.0.0"
#endif

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CCliMessenger messenger(err);
    CliContext ctx{out, err, messenger};

    CLI::App app("Halvo batch front door: make, inspect and run solar air-heating wall projects.\n"
                 "Exit codes: 0 success, 1 failure of the work itself, 2 usage error, "
                 "3 input file unreadable or invalid.",
                 "halvo-cli");
    app.set_version_flag("--version", std::string("halvo-cli ") + HALVO_VERSION);
    std::string answer = "yes";
    app.add_option("--answer", answer, "answer to questions the program would ask (yes: OK/Yes, no: Cancel/No)")
        ->check(CLI::IsMember({"yes", "no"}))
        ->capture_default_str();
    app.require_subcommand(1);

    // One line per subcommand.
    AddNewCommand(app, ctx);
    AddShowCommand(app, ctx);
#if defined(HALVO_CLI_HAS_SIMULATE)
    AddSimulateCommand(app, ctx);
#endif
#if defined(HALVO_CLI_HAS_IMPORT_EPW)
    AddImportEpwCommand(app, ctx);
#endif

    // CLI11 takes the arguments in reverse order.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse_complete_callback([&] { messenger.affirmative = answer == "yes"; });
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "halvo-cli: " << e.what() << '\n' << "Run with --help for more information.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "halvo-cli: internal error: " << e.what() << '\n';
        return kExitFailure;
    }
    return ctx.exitCode;
}
