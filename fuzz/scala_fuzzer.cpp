// The Scala files' reader: any bytes as a scale and, after the first zero
// byte, a keyboard map. A tuning that is built must be finite on every key.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tuning/Tuning.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string scale = input.substr(0, split);
    const std::string map = split == std::string::npos ? "" : input.substr(split + 1);
    Tuning tuning;
    std::string error;
    if (Tuning::fromText(scale, "fuzz.scl", map, "fuzz.kbm", tuning, error)) {
        for (float pitch : tuning.table.pitch)
            if (!std::isfinite(pitch)) std::abort();
    } else if (error.empty() || error.find('\n') != std::string::npos) {
        std::abort();  // a refusal is one line
    }
    return 0;
}
