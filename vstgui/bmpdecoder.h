// Decodes the Windows bitmap files the module carries as resources.
//
// Uncompressed 24- and 32-bit BMP files (the 40-byte info header or a later
// one), bottom-up or top-down. Anything else, or a file whose sizes and
// offsets do not fit inside the data, gives nothing: resource data is
// checked like any other input.
//
// The headers alone tell a picture's size, so a bitmap can be measured
// without decoding (readBmpLayout) and decoded when it is first drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vstgui/pixelsurface.h"

namespace VSTGUI {

// Where a checked file keeps its pixels.
struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    std::size_t bytesPerPixel = 0;
    std::size_t rowSize = 0;      // bytes per stored row, padded to 32 bits
    std::size_t pixelOffset = 0;  // from the start of the file
};

// [any thread] True, with the layout filled in, when the headers describe a
// file decodeBmp accepts whose rows all lie inside the data; reads only the
// headers.
bool readBmpLayout(const unsigned char* data, std::size_t size, BmpLayout& layout);

// [any thread] The pixels, or nothing for a file readBmpLayout refuses (or
// when the image cannot be allocated).
std::unique_ptr<PixelSurface> decodeBmp(const unsigned char* data, std::size_t size);

}  // namespace VSTGUI
