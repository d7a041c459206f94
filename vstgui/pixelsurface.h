// PixelSurface: the raster that stands behind every drawing context.
//
// A 32-bit buffer of 0x00RRGGBB pixels (the layout of a 24-bit TrueColor X
// image), row after row with no padding, with a clip rectangle and the pixel
// rules of the classic Windows device context that the toolkit's drawing was
// designed against:
//   - fill(r) covers left..right-1 by top..bottom-1 (the half-open box);
//   - line(a, b) sets the pixels from a towards b but not b itself;
//   - fillEllipse(r) fills the ellipse inscribed in the half-open box r;
//   - copy, keyed copy and constant-alpha blend take pixels from another
//     surface; source pixels outside the source leave the target unchanged.
// Everything is clipped to the clip rectangle, which never leaves the
// surface. The surface also collects what it changed ("damage") so that a
// window shows only those pixels: the rectangles drawn into, except that a
// copy counts only the pixels whose value it changed (a control redrawn as
// it was changes nothing), as a few separate rectangles (two knobs far
// apart are not the whole panel between them) and their bounding box.
//
// Coordinates here are device coordinates; CDrawContext adds its offsets
// before calling. [ui thread] only.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "vstgui/ccolor.h"
#include "vstgui/crect.h"

namespace VSTGUI {

using Pixel = uint32_t;

constexpr Pixel toPixel(const CColor& c) {
    return (Pixel(c.red) << 16) | (Pixel(c.green) << 8) | Pixel(c.blue);
}

// Rows a and b of n pixels: false when they are equal, else true with the
// first and last index where they differ.
bool differingSpan(const Pixel* a, const Pixel* b, int64_t n, int64_t& first, int64_t& last);

class PixelSurface {
public:
    // Widest and tallest surface, and the most pixels in all: a film strip
    // drawn at three times its size is a tall one (120 x 9603), while 64 Mi
    // pixels keep one buffer at 256 MB. Larger or negative sizes give an
    // empty surface that ignores every drawing operation.
    static constexpr int32_t kMaxSide = 16384;
    static constexpr int64_t kMaxPixels = int64_t(8192) * 8192;

    PixelSurface(int32_t width, int32_t height);
    PixelSurface(PixelSurface&& other) noexcept { *this = std::move(other); }
    PixelSurface& operator=(PixelSurface&& other) noexcept;
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool isEmpty() const { return pixels_ == nullptr; }
    const Pixel* data() const { return pixels_; }
    Pixel* data() { return pixels_; }
    // Moves the pixels to memory the caller provides (width() x height()),
    // where the surface draws from now on: a segment the X server reads. The
    // caller keeps the memory until the surface is destroyed or replaced.
    void moveTo(Pixel* memory);
    CRect bounds() const { return CRect(0, 0, width_, height_); }

    // The pixel at (x, y); 0 outside the surface.
    Pixel pixel(int32_t x, int32_t y) const;

    // Clip in device coordinates, bounded to the surface.
    void setClip(const CRect& clip);
    void resetClip() { clip_ = bounds(); }
    const CRect& clip() const { return clip_; }

    // Bounding box of the pixels changed since the last takeDamage().
    const CRect& damage() const { return damage_; }
    // The same as separate rectangles: overlapping or touching ones are
    // merged; past kMaxDamageRects they all become the bounding box.
    static constexpr int32_t kMaxDamageRects = 64;
    int32_t damageCount() const { return damageCount_; }
    const CRect& damageRect(int32_t i) const { return damageRects_[i]; }
    // Answers the bounding box and forgets all damage.
    CRect takeDamage();

    void fill(const CRect& rect, Pixel color);
    // A pen of width 1 or more (square); dashed draws 3 pixels on, 3 off.
    void line(const CPoint& from, const CPoint& to, Pixel color, int32_t penWidth = 1,
              bool dashed = false);
    void fillEllipse(const CRect& box, Pixel color);
    // Mixes color over the pixel by coverage/255 (anti-aliased glyph edges).
    void blendPixel(int32_t x, int32_t y, Pixel color, uint8_t coverage);

    // Copies the region of dst's size starting at srcOrigin in src to dst.
    void copy(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin);
    // As copy, but source pixels equal to key leave the target unchanged.
    void copyKeyed(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin, Pixel key);
    // Source over target with constant opacity alpha (0 none, 255 opaque).
    void blend(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin, uint8_t alpha);

private:
    template <class RowOp>
    void transfer(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin, RowOp op);
    template <class PixelOp>
    void transferEach(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin, PixelOp op);
    void addDamage(const CRect& r);

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<Pixel> owned_;  // the pixels, unless moved to the caller's memory
    Pixel* pixels_ = nullptr;
    CRect clip_;
    CRect damage_;
    // 64 rectangles: one for each control of a panel that changed at once
    // (Ambrell's has 41 views), so automation shows them one by one.
    CRect damageRects_[kMaxDamageRects];
    int32_t damageCount_ = 0;
};

}  // namespace VSTGUI
