#pragma once
// The command line of the weather generator: Create for every row of a CSV file of sites, and the
// EPW import. Tests call NimbraCliRun directly; nothing in it exits the process.

#include <iosfwd>
#include <string>
#include <vector>

namespace nimbra {

// args without the program name. Exit codes: 0 success, 1 a site refused or a file not written,
// 2 usage, 3 input unreadable or malformed.
int NimbraCliRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace nimbra
