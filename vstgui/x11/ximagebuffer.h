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
//
// When the server runs on this machine (MIT-SHM), the direct layout goes
// through a memory segment that both map instead, and a put is a short
// request, where XPutImage would write every pixel through the socket,
// blocking while the server catches up (at 200 % an automated panel is some
// 300 KB a frame). A surface moved into the segment (sharedPixels) is sent
// as it is; another surface's rows are copied there first. The segment must
// not change under a put the server has not read yet: waitUntilRead. A
// server that cannot attach it (another machine, another IPC namespace)
// gets XPutImage.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

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
    // allowShared false keeps it off shared memory.
    bool create(Display* display, Visual* visual, int depth, int32_t width, int32_t height,
                bool allowShared = true);
    // Draws rects[0..count) of surface at the same places in drawable. Each
    // is cut to the surface and to the buffer's size.
    void put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, const CRect* rects,
             int32_t count);
    void put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, const CRect& rect) {
        put(display, drawable, gc, surface, &rect, 1);
    }
    // The shared segment, the buffer's size in pixels; null when not shared.
    Pixel* sharedPixels() const { return shared_ ? reinterpret_cast<Pixel*>(segment_.shmaddr) : nullptr; }
    // Returns once the server has read every put so far (at once, usually:
    // its answer is in). Call before changing the pixels of the segment.
    void waitUntilRead(Display* display);
    // Gives back the image and the segment. The segment's attachment is the
    // display's: call this (or destroy the buffer) before the display closes.
    void release();

private:
    bool createShared(Display* display, Visual* visual, int depth, int32_t width, int32_t height);
    void putShared(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, const CRect* rects,
                   int32_t count);
    void putConverted(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, const CRect& rect);

    // Direct: a header over no memory of its own, lent the surface's pixels
    // for each put. Converted: a strip of stripRows_ rows of the full width.
    // Shared: an image of the full size over the segment.
    XImage* image_ = nullptr;
    bool direct_ = false;
    bool shared_ = false;
    Display* display_ = nullptr;  // the segment's, while shared_
    XShmSegmentInfo segment_{};
    // The serial of the last shared put: the segment is free once the server
    // has answered a request at least that new.
    unsigned long lastPut_ = 0;
    int32_t width_ = 0, height_ = 0, stripRows_ = 0;
    uint32_t red_[256] = {};
    uint32_t green_[256] = {};
    uint32_t blue_[256] = {};
    uint32_t opaque_ = 0;  // bits of the depth that no colour uses: alpha, set full
};

}  // namespace VSTGUI::x11
