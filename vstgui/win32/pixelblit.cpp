#include "vstgui/win32/pixelblit.h"

namespace VSTGUI::win32 {

void showPixels(HDC device, const PixelSurface& surface, const CRect& source, const CPoint& to) {
    CRect r = source;
    r.bound(surface.bounds());
    if (!device || r.isEmpty()) return;
    // A top-down DIB made of exactly the rows of r, so that its source
    // origin means the same read either way up; 0x00RRGGBB is BI_RGB's
    // 32-bit layout.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = surface.width();
    format.bmiHeader.biHeight = -r.height();
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const Pixel* rows = surface.data() + size_t(r.top) * size_t(surface.width());
    SetDIBitsToDevice(device, to.h + (r.left - source.left), to.v + (r.top - source.top), DWORD(r.width()),
                      DWORD(r.height()), r.left, 0, 0, UINT(r.height()), rows, &format, DIB_RGB_COLORS);
}

}  // namespace VSTGUI::win32
