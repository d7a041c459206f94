// Copies pixels of a PixelSurface onto a GDI device.
#pragma once

#include <windows.h>

#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI::win32 {

// The pixels of source (surface coordinates, bounded to the surface) onto
// device with their top-left at to. [ui thread]
void showPixels(HDC device, const PixelSurface& surface, const CRect& source, const CPoint& to);

}  // namespace VSTGUI::win32
