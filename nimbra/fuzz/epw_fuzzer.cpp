// Feeds arbitrary text to the EPW importer: it must refuse or convert, never crash or read past
// its input.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "nimbra/epw_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto out = std::make_unique<CWeatherFileData>();
    std::vector<std::string> warnings;
    std::string error;
    nimbra::ImportEpw(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.epw", {}, *out,
                      warnings, error);
    return 0;
}
