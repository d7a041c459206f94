#include "vstgui/x11/ximagebuffer.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace VSTGUI::x11 {

namespace {

// A converted strip holds about this many pixels (64 KB at 32 bits): a few
// dozen rows of an editor, so a whole window is a score of requests.
constexpr int32_t kStripPixels = 16384;

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

// 32-bit pixels in the host's own byte order: stored as whole words.
bool hostWords(const XImage* image) {
    return image->bits_per_pixel == 32 && (image->byte_order == LSBFirst) == littleEndianHost();
}

}  // namespace

XImageBuffer::~XImageBuffer() { release(); }

void XImageBuffer::release() {
    if (image_) {
        if (direct_) image_->data = nullptr;  // the surface's, not ours
        XDestroyImage(image_);                // frees the strip's memory too
    }
    image_ = nullptr;
    direct_ = false;
    width_ = height_ = stripRows_ = 0;
}

bool XImageBuffer::create(Display* display, Visual* visual, int depth, int32_t width, int32_t height) {
    release();
    if (!visual || (visual->c_class != TrueColor && visual->c_class != DirectColor)) return false;
    if (width <= 0 || height <= 0 || width > PixelSurface::kMaxSide || height > PixelSurface::kMaxSide)
        return false;
    fillChannel(red_, visual->red_mask);
    fillChannel(green_, visual->green_mask);
    fillChannel(blue_, visual->blue_mask);
    const uint32_t depthBits = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
    opaque_ = depthBits & ~uint32_t(visual->red_mask | visual->green_mask | visual->blue_mask);

    // First as a header over the surface's rows.
    image_ = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width),
                          unsigned(height), 32, 0);
    if (!image_) return false;
    width_ = width;
    height_ = height;
    direct_ = hostWords(image_) && image_->bytes_per_line == width * 4 && visual->red_mask == 0xFF0000 &&
              visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF && opaque_ == 0;
    if (direct_) return true;

    XDestroyImage(image_);
    stripRows_ = std::clamp(kStripPixels / width, 1, height);
    image_ = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width),
                          unsigned(stripRows_), 32, 0);
    if (image_) image_->data = static_cast<char*>(std::calloc(size_t(image_->bytes_per_line), size_t(stripRows_)));
    if (!image_ || !image_->data) {
        release();
        return false;
    }
    return true;
}

void XImageBuffer::put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface, CRect rect) {
    if (!image_) return;
    rect.bound(surface.bounds());
    rect.bound(CRect(0, 0, width_, height_));
    if (rect.isEmpty()) return;
    if (!direct_ || surface.width() != width_ || surface.height() != height_) {
        putConverted(display, drawable, gc, surface, rect);
        return;
    }
    // Lent for the request only: Xlib copies the rows into its output.
    image_->data = reinterpret_cast<char*>(const_cast<Pixel*>(surface.data()));
    XPutImage(display, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top, unsigned(rect.width()),
              unsigned(rect.height()));
    image_->data = nullptr;
}

void XImageBuffer::putConverted(Display* display, Drawable drawable, GC gc, const PixelSurface& surface,
                                const CRect& rect) {
    if (direct_) return;  // a surface of another size: nothing to convert into
    const bool words = hostWords(image_);
    const Pixel* pixels = surface.data();
    for (int32_t top = rect.top; top < rect.bottom; top += stripRows_) {
        const int32_t rows = std::min(stripRows_, rect.bottom - top);
        for (int32_t r = 0; r < rows; ++r) {
            const Pixel* from = pixels + size_t(top + r) * size_t(surface.width());
            auto* row = reinterpret_cast<uint32_t*>(image_->data + size_t(r) * size_t(image_->bytes_per_line));
            for (int32_t x = rect.left; x < rect.right; ++x) {
                const Pixel p = from[x];
                const uint32_t value = red_[(p >> 16) & 0xFF] | green_[(p >> 8) & 0xFF] | blue_[p & 0xFF] | opaque_;
                if (words)
                    row[x] = value;
                else
                    XPutPixel(image_, x, r, value);
            }
        }
        XPutImage(display, drawable, gc, image_, rect.left, 0, rect.left, top, unsigned(rect.width()),
                  unsigned(rows));
    }
}

}  // namespace VSTGUI::x11
