// nimbra-cli: the weather generator's Create for a file of sites, and the EPW import.
#include <iostream>
#include <string>
#include <vector>

#include "nimbra/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return nimbra::NimbraCliRun(args, std::cout, std::cerr);
}
