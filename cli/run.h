#pragma once
// halvo-cli as a function: `args` are the arguments after the program name. Returns the exit code
// (see cli/commands.h); writes results to `out` and diagnostics to `err`; never exits the process.

#include <ostream>
#include <string>
#include <vector>

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
