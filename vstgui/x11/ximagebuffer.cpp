#include "vstgui/x11/ximagebuffer.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "vstgui/x11/errortrap.h"

namespace VSTGUI::x11 {

namespace {

// An image of XShmCreateImage points at the segment and at its description
// (obdata), neither of which XDestroyImage may free.
void destroySharedImage(XImage* image) {
    image->data = nullptr;
    image->obdata = nullptr;
    XDestroyImage(image);
}

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
    if (shared_) {
        // Requests are taken in order: a put still queued reads the segment
        // before the server lets go of it, through its own mapping.
        XShmDetach(display_, &segment_);
        shmdt(segment_.shmaddr);
        destroySharedImage(image_);
        image_ = nullptr;
    }
    if (image_) {
        if (direct_) image_->data = nullptr;  // the surface's, not ours
        XDestroyImage(image_);                // frees the strip's memory too
    }
    image_ = nullptr;
    direct_ = shared_ = false;
    display_ = nullptr;
    segment_ = {};
    lastPut_ = 0;
    width_ = height_ = stripRows_ = 0;
}

bool XImageBuffer::createShared(Display* display, Visual* visual, int depth, int32_t width, int32_t height) {
    if (!XShmQueryExtension(display)) return false;
    XImage* image = XShmCreateImage(display, visual, unsigned(depth), ZPixmap, nullptr, &segment_,
                                    unsigned(width), unsigned(height));
    if (!image) return false;
    if (image->bytes_per_line != width * 4) {  // rows laid out as the surface's, else not worth it
        destroySharedImage(image);
        return false;
    }
    segment_.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(height), IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
        destroySharedImage(image);
        return false;
    }
    segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    bool attached = segment_.shmaddr != reinterpret_cast<char*>(-1);
    if (attached) {
        segment_.readOnly = True;
        ErrorTrap trap(display);
        attached = XShmAttach(display, &segment_) && !trap.failed();
    }
    // Marked for removal now: it goes when both sides have let go, even if
    // the process ends without releasing it.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (segment_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment_.shmaddr);
        segment_ = {};
        destroySharedImage(image);
        return false;
    }
    image->data = segment_.shmaddr;
    image_ = image;
    display_ = display;
    shared_ = true;
    return true;
}

bool XImageBuffer::create(Display* display, Visual* visual, int depth, int32_t width, int32_t height,
                          bool allowShared) {
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
    if (direct_ && allowShared) {
        XImage* header = image_;
        image_ = nullptr;
        if (createShared(display, visual, depth, width, height)) {
            XDestroyImage(header);  // no data of its own
            return true;
        }
        image_ = header;
    }
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

void XImageBuffer::put(Display* display, Drawable drawable, GC gc, const PixelSurface& surface,
                       const CRect* rects, int32_t count) {
    if (!image_) return;
    const bool sameSize = surface.width() == width_ && surface.height() == height_;
    if (shared_ && sameSize) return putShared(display, drawable, gc, surface, rects, count);
    for (int32_t i = 0; i < count; ++i) {
        CRect rect = rects[i];
        rect.bound(surface.bounds());
        rect.bound(CRect(0, 0, width_, height_));
        if (rect.isEmpty()) continue;
        if (!direct_ || !sameSize) {
            putConverted(display, drawable, gc, surface, rect);
            continue;
        }
        // Lent for the request only: Xlib copies the rows into its output.
        image_->data = reinterpret_cast<char*>(const_cast<Pixel*>(surface.data()));
        XPutImage(display, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top, unsigned(rect.width()),
                  unsigned(rect.height()));
        image_->data = nullptr;
    }
}

void XImageBuffer::waitUntilRead(Display* display) {
    // The last put asked for a completion event; reading it (or any later
    // answer) moves the count of processed requests past the put.
    if (!shared_ || LastKnownRequestProcessed(display) >= lastPut_) return;
    XEventsQueued(display, QueuedAfterReading);
    if (LastKnownRequestProcessed(display) < lastPut_) XSync(display, False);
}

void XImageBuffer::putShared(Display* display, Drawable drawable, GC gc, const PixelSurface& surface,
                             const CRect* rects, int32_t count) {
    const bool inSegment = surface.data() == sharedPixels();
    if (!inSegment) waitUntilRead(display);
    int32_t last = -1;  // the last rectangle sent asks for the completion event
    for (int32_t i = 0; i < count; ++i) {
        CRect rect = rects[i];
        rect.bound(surface.bounds());
        if (rect.isEmpty()) continue;
        last = i;
        if (inSegment) continue;
        const size_t rowBytes = size_t(rect.width()) * sizeof(Pixel);
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            const size_t at = size_t(y) * size_t(width_) + size_t(rect.left);
            std::memcpy(segment_.shmaddr + at * sizeof(Pixel), surface.data() + at, rowBytes);
        }
    }
    for (int32_t i = 0; i <= last; ++i) {
        CRect rect = rects[i];
        rect.bound(surface.bounds());
        if (rect.isEmpty()) continue;
        XShmPutImage(display, drawable, gc, image_, rect.left, rect.top, rect.left, rect.top, unsigned(rect.width()),
                     unsigned(rect.height()), i == last ? True : False);
    }
    if (last >= 0) lastPut_ = NextRequest(display) - 1;
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
