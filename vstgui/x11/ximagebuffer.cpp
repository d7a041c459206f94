#include "vstgui/x11/ximagebuffer.h"

#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>

namespace VSTGUI::x11 {

namespace {

// Table of one colour channel: the 8-bit value scaled to the mask's width
// and moved to its place.
void fillChannel(uint32_t (&table)[256], unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    const uint32_t top = uint32_t(mask);  // e.g. 0xFF for 8 bits, 0x3FF for 10
    for (uint32_t c = 0; c < 256; ++c) table[c] = ((c * top + 127) / 255) << shift;
}

bool littleEndianHost() {
    const uint16_t probe = 1;
    uint8_t first;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

}  // namespace

XImageBuffer::~XImageBuffer() { release(); }

void XImageBuffer::release() {
    if (image_) XDestroyImage(image_);  // frees the pixel memory too
    image_ = nullptr;
}

bool XImageBuffer::create(Display* display, Visual* visual, int depth, int32_t width, int32_t height) {
    release();
    if (!visual || (visual->c_class != TrueColor && visual->c_class != DirectColor)) return false;
    if (width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return false;
    image_ = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width),
                          unsigned(height), 32, 0);
    if (!image_) return false;
    image_->data = static_cast<char*>(std::calloc(size_t(image_->bytes_per_line), size_t(height)));
    if (!image_->data) {
        release();
        return false;
    }
    fillChannel(red_, visual->red_mask);
    fillChannel(green_, visual->green_mask);
    fillChannel(blue_, visual->blue_mask);
    const uint32_t depthBits = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
    opaque_ = depthBits & ~uint32_t(visual->red_mask | visual->green_mask | visual->blue_mask);
    return true;
}

void XImageBuffer::put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, CRect rect) {
    if (!image_) return;
    rect.bound(surface.bounds());
    rect.bound(CRect(0, 0, image_->width, image_->height));
    if (rect.isEmpty()) return;
    // 32-bit pixels in the host's own byte order can be stored directly.
    const bool direct = image_->bits_per_pixel == 32 &&
                        (image_->byte_order == LSBFirst) == littleEndianHost();
    const Pixel* pixels = surface.data();
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Pixel* from = pixels + size_t(y) * size_t(surface.width());
        auto* row = reinterpret_cast<uint32_t*>(image_->data + size_t(y) * size_t(image_->bytes_per_line));
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const Pixel p = from[x];
            const uint32_t value = red_[(p >> 16) & 0xFF] | green_[(p >> 8) & 0xFF] | blue_[p & 0xFF] | opaque_;
            if (direct)
                row[x] = value;
            else
                XPutPixel(image_, x, y, value);
        }
    }
    XPutImage(display, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top,
              unsigned(rect.width()), unsigned(rect.height()));
}

}  // namespace VSTGUI::x11
