// XImageBuffer: puts rectangles of a PixelSurface on an X window.
//
// The surface holds 0x00RRGGBB pixels. When the window's visual stores its
// pixels the same way (32 bits a pixel in the host's byte order, red, green
// and blue in the low three bytes, no alpha: every 24-bit TrueColor server
// on a little-endian machine), the surface's own memory is sent, without a
// copy. Otherwise (other masks, an alpha channel to set, 16-bit pixels) each
// rectangle is converted through three 256-entry tables into a strip of a
// few rows at a time and sent strip by strip, so the buffer stays small
// whatever the window's size. Only TrueColor and DirectColor visuals are
// supported (every current server). [ui thread] only.
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

    // A buffer for surfaces of width x height shown on windows of this
    // visual and depth; false (and empty) for an unsupported visual or size.
    bool create(Display* display, Visual* visual, int depth, int32_t width, int32_t height);
    // Draws rect of surface at the same place in drawable. rect is cut to
    // the surface and to the buffer's size.
    void put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, CRect rect);

private:
    void release();
    void putConverted(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, const CRect& rect);

    // Direct: a header over no memory of its own, lent the surface's pixels
    // for each put. Converted: a strip of stripRows_ rows of the full width.
    XImage* image_ = nullptr;
    bool direct_ = false;
    int32_t width_ = 0, height_ = 0, stripRows_ = 0;
    uint32_t red_[256] = {};
    uint32_t green_[256] = {};
    uint32_t blue_[256] = {};
    uint32_t opaque_ = 0;  // bits of the depth that no colour uses: alpha, set full
};

}  // namespace VSTGUI::x11
