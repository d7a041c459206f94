// Decodes the Windows bitmap files the module carries as resources.
//
// Uncompressed 24- and 32-bit BMP files (the 40-byte info header or a later
// one), bottom-up or top-down. Anything else, or a file whose sizes and
// offsets do not fit inside the data, gives nothing: resource data is
// checked like any other input.
#pragma once

#include <cstddef>
#include <memory>

#include "vstgui/pixelsurface.h"

namespace VSTGUI {

std::unique_ptr<PixelSurface> decodeBmp(const unsigned char* data, std::size_t size);

}  // namespace VSTGUI
