// Decodes the run-length coded pictures the module carries for scaled
// editors (resources/draw_artwork.py writes them): "ORLE", width and height
// as 32-bit little-endian numbers, then packets over the pixels, row after
// row from the top: a byte n < 128 followed by n + 1 pixels, or a byte
// n >= 128 followed by one pixel that stands for n - 126. A pixel is three
// bytes R, G, B. Data that ends early, overruns the picture or leaves it
// short gives nothing: resource data is checked like any other input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vstgui/pixelsurface.h"

namespace VSTGUI {

// [any thread] True when data starts like such a picture, with its size
// (within PixelSurface::kMaxSide); reads the header only.
bool readRunLengthSize(const unsigned char* data, std::size_t size, int32_t& width, int32_t& height);

// [any thread] The pixels, or nothing.
std::unique_ptr<PixelSurface> decodeRunLength(const unsigned char* data, std::size_t size);

}  // namespace VSTGUI
