// libFuzzer target: the alternate input reader on arbitrary bytes. Any input must end in a return
// code, never in the solar library's fatal argument checks, a read past a buffer or a NaN table.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/control/control.h"
#include "project/maker/file.h"
#include "project/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto alt = std::make_unique<CAltInput>();
    CScriptedMessenger msg;
    CFile file;
    if (FILE_OpenMemory(file, data, size, "fuzz.csv") != 0) return 0;
    const int rc = ReadAlternateInputFrom(*alt, file, "fuzz.csv", msg);
    if (rc != kAltReadOk && rc != kAltRefused) std::abort();
    for (int d = 1; d <= kAltDays; ++d)
        for (int h = 1; h <= kAltHours; ++h) {
            if (std::isnan(AltTableValue(*alt, EAltKey::HumRatio, d, h))) std::abort();
            if (!std::isfinite(AltTableValue(*alt, EAltKey::TGlo, d, h))) std::abort();
        }
    return 0;
}
