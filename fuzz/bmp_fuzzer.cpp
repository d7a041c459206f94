// The picture decoders (BMP, run-length coded): any bytes, in a buffer
// exactly that long.
#include <cstdint>
#include <vector>

#include "vstgui/bmpdecoder.h"
#include "vstgui/runlengthimage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> file(data, data + size);
    VSTGUI::decodeBmp(file.data(), file.size());
    VSTGUI::decodeRunLength(file.data(), file.size());
    return 0;
}
