// XImageBuffer: puts rectangles of a PixelSurface on an X window.
//
// The surface holds 0x00RRGGBB pixels; the window's visual may arrange its
// colour bits differently (or have a 32-bit visual with alpha), so each
// rectangle shown is converted into a client-side XImage of the window's
// format through three 256-entry tables, then sent with XPutImage. Only
// TrueColor and DirectColor visuals are supported (every current server).
// GUI thread only.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "vstgui/pixelsurface.h"

namespace VSTGUI::x11 {

class XImageBuffer {
public:
    XImageBuffer() = default;
    ~XImageBuffer();
    XImageBuffer(const XImageBuffer&) = delete;
    XImageBuffer& operator=(const XImageBuffer&) = delete;

    // A buffer of width x height for windows of this visual and depth;
    // false (and empty) for an unsupported visual or size.
    bool create(Display* display, Visual* visual, int depth, int32_t width, int32_t height);
    // Converts rect of surface and draws it at the same place in drawable.
    // rect is cut to the surface and to the buffer.
    void put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, CRect rect);

private:
    void release();

    XImage* image_ = nullptr;
    uint32_t red_[256] = {};
    uint32_t green_[256] = {};
    uint32_t blue_[256] = {};
    uint32_t opaque_ = 0;  // bits of the depth that no colour uses: alpha, set full
};

}  // namespace VSTGUI::x11
