// libFuzzer entry: any bytes given to the project reader must give a clean refusal or a project
// that saves and reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "project/doc.h"
#include "project/messages.h"
#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CScriptedMessenger msg;
    auto doc = std::make_unique<CHalvo98Doc>();
    if (ReadProjectBytes(*doc, data, size, "fuzz.hvf", msg) == kReadOk) {
        std::vector<unsigned char> bytes = ProjectFileBytes(*doc);
        auto again = std::make_unique<CHalvo98Doc>();
        if (ReadProjectBytes(*again, bytes.data(), bytes.size(), "again.hvf", msg) != kReadOk) std::abort();
        if (ProjectFileBytes(*again) != bytes) std::abort();
    }
    return 0;
}
