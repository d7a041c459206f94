// The module's bitmap resources as CBitmap reads them: a picture's size,
// known without its pixels, and its pixels.
//
// On Linux the BMP files are compiled into the module (resources/) and
// decoded by x11/embeddedbitmaps.cpp; on Windows they are bitmap resources
// of the DLL, loaded with LoadBitmapA (win32/win32bitmaps.cpp). Exactly one
// of the two is linked. Read-only module data: any thread.
#pragma once

#include <cstdint>
#include <memory>

#include "vstgui/pixelsurface.h"

namespace VSTGUI {

// True, with the size, when the module carries a readable picture of id.
bool resourceBitmapSize(int32_t id, int32_t& width, int32_t& height);

// The pixels of picture id, or none when there is no such picture (or it
// cannot be read or allocated).
std::unique_ptr<PixelSurface> loadResourceBitmap(int32_t id);

}  // namespace VSTGUI
