// The program and bank file reader: any bytes as a file. What it accepts
// must write back to a file that reads again into the same bytes, so a
// preset that loads can always be saved and loaded again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/core/PresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> file(data, data + size);
    preset::Preset first;
    std::string error;
    if (!preset::read(file, first, error)) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const std::vector<unsigned char> written = preset::write(first);
    preset::Preset second;
    if (!preset::read(written, second, error)) std::abort();
    if (preset::write(second) != written) std::abort();
    return 0;
}
