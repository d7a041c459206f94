#include "vstgui/pixelsurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace VSTGUI {

namespace {

// Pixels of one dash and of one gap of a dashed pen.
constexpr int64_t kDashLength = 3;
// Bytes the processor fetches at a time.
constexpr int64_t kCacheLine = 64;
// Rows of a large surface lie a page or more apart, where the processor's
// own prefetch stops, and a knob's row is short work: the row this many
// ahead is asked for while one is worked on (4 measured best at 200 %).
constexpr int64_t kPrefetchRows = 4;

// Asks for the bytes of a row about to be read (or written).
void prefetchRow(const Pixel* row, int64_t bytes, bool forWriting) {
    for (int64_t b = 0; b < bytes; b += kCacheLine) {
        if (forWriting)
            __builtin_prefetch(reinterpret_cast<const char*>(row) + b, 1);
        else
            __builtin_prefetch(reinterpret_cast<const char*>(row) + b);
    }
}

Pixel mix(Pixel under, Pixel over, uint32_t amount /* 0..255 */) {
    uint32_t rest = 255 - amount;
    uint32_t r = (((under >> 16) & 0xFF) * rest + ((over >> 16) & 0xFF) * amount + 127) / 255;
    uint32_t g = (((under >> 8) & 0xFF) * rest + ((over >> 8) & 0xFF) * amount + 127) / 255;
    uint32_t b = ((under & 0xFF) * rest + (over & 0xFF) * amount + 127) / 255;
    return (r << 16) | (g << 8) | b;
}

}  // namespace

PixelSurface::PixelSurface(int32_t width, int32_t height) {
    if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
        int64_t(width) * height <= kMaxPixels) {
        try {
            owned_.assign(size_t(width) * size_t(height), 0);
            pixels_ = owned_.data();
            width_ = width;
            height_ = height;
        } catch (const std::bad_alloc&) {
            owned_.clear();
        }
    }
    clip_ = bounds();
}

PixelSurface& PixelSurface::operator=(PixelSurface&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    owned_ = std::move(other.owned_);  // keeps its buffer, so pixels_ stays valid
    other.owned_.clear();
    pixels_ = std::exchange(other.pixels_, nullptr);
    clip_ = std::exchange(other.clip_, CRect());
    damage_ = std::exchange(other.damage_, CRect());
    std::copy(other.damageRects_, other.damageRects_ + other.damageCount_, damageRects_);
    damageCount_ = std::exchange(other.damageCount_, 0);
    return *this;
}

void PixelSurface::moveTo(Pixel* memory) {
    if (!memory || isEmpty() || memory == pixels_) return;
    std::memcpy(memory, pixels_, size_t(width_) * size_t(height_) * sizeof(Pixel));
    pixels_ = memory;
    std::vector<Pixel>().swap(owned_);
}

Pixel PixelSurface::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

void PixelSurface::setClip(const CRect& clip) {
    clip_ = clip;
    clip_.bound(bounds());
}

CRect PixelSurface::takeDamage() {
    CRect d = damage_;
    damage_ = CRect();
    damageCount_ = 0;
    return d;
}

namespace {

// A row's first and last changed pixel are looked for a run of pixels at a
// time (memcmp is several times faster than a loop over single pixels),
// then pixel by pixel inside the run that differs.
constexpr int64_t kCompareRun = 16;

// The first index where a and b differ; n when they are equal.
int64_t firstDifference(const Pixel* a, const Pixel* b, int64_t n) {
    int64_t i = 0;
    while (i + kCompareRun <= n && std::memcmp(a + i, b + i, kCompareRun * sizeof(Pixel)) == 0) i += kCompareRun;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

// The last such index.
int64_t lastDifference(const Pixel* a, const Pixel* b, int64_t n) {
    int64_t end = n;
    while (end >= kCompareRun &&
           std::memcmp(a + end - kCompareRun, b + end - kCompareRun, kCompareRun * sizeof(Pixel)) == 0)
        end -= kCompareRun;
    int64_t i = end - 1;
    while (a[i] == b[i]) --i;
    return i;
}

}  // namespace

bool differingSpan(const Pixel* a, const Pixel* b, int64_t n, int64_t& first, int64_t& last) {
    if (n <= 0) return false;
    first = firstDifference(a, b, n);
    if (first == n) return false;
    last = lastDifference(a, b, n);
    return true;
}

void PixelSurface::addDamage(const CRect& r) {
    if (r.isEmpty()) return;
    damage_.unite(r);
    // r swallows every listed rectangle it overlaps or touches; the grown
    // one may meet others that r alone did not, so the search starts over.
    CRect merged = r;
    for (int32_t i = 0; i < damageCount_;) {
        if (!damageRects_[i].rectOverlap(merged)) {
            ++i;
            continue;
        }
        merged.unite(damageRects_[i]);
        damageRects_[i] = damageRects_[--damageCount_];
        i = 0;
    }
    if (damageCount_ == kMaxDamageRects) {
        damageRects_[0] = damage_;
        damageCount_ = 1;
        return;
    }
    damageRects_[damageCount_++] = merged;
}

void PixelSurface::fill(const CRect& rect, Pixel color) {
    CRect r = rect;
    r.bound(clip_);
    if (r.isEmpty()) return;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        Pixel* row = pixels_ + size_t(y) * size_t(width_);
        std::fill(row + r.left, row + r.right, color);
    }
    addDamage(r);
}

void PixelSurface::blendPixel(int32_t x, int32_t y, Pixel color, uint8_t coverage) {
    if (coverage == 0 || x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom)
        return;
    Pixel& p = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    p = coverage == 255 ? color : mix(p, color, coverage);
    addDamage(CRect(x, y, x + 1, y + 1));
}

// Pixel i of the line (0 <= i < n, n the longer extent) lies i steps along
// the major axis and round(i * minor / n) along the minor one: Bresenham's
// choice, computed directly so that only the steps inside the clip are
// visited however long the line is.
void PixelSurface::line(const CPoint& from, const CPoint& to, Pixel color, int32_t penWidth,
                        bool dashed) {
    if (clip_.isEmpty()) return;
    const int64_t dx = int64_t(to.h) - from.h;
    const int64_t dy = int64_t(to.v) - from.v;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0) return;
    const int64_t minorExtent = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? from.h : from.v;
    const int64_t minorStart = xMajor ? from.v : from.h;
    const int64_t w = std::max<int32_t>(penWidth, 1);
    const int64_t before = (w - 1) / 2;  // pen pixels before the centre pixel

    // Steps whose major coordinate can touch the clip, pen width included.
    const int64_t lo = (xMajor ? clip_.left : clip_.top) - w;
    const int64_t hi = (xMajor ? clip_.right : clip_.bottom) + w;
    int64_t first = majorSign > 0 ? lo - majorStart : majorStart - hi;
    int64_t last = majorSign > 0 ? hi - majorStart : majorStart - lo;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, n - 1);

    for (int64_t i = first; i <= last; ++i) {
        if (dashed && (i / kDashLength) % 2 == 1) continue;
        const int64_t major = majorStart + majorSign * i;
        const int64_t minor = minorStart + minorSign * ((2 * i * minorExtent + n) / (2 * n));
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        if (w == 1) {
            if (x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom) {
                pixels_[size_t(y) * size_t(width_) + size_t(x)] = color;
                addDamage(CRect(int32_t(x), int32_t(y), int32_t(x) + 1, int32_t(y) + 1));
            }
        } else {
            const int64_t x0 = std::max<int64_t>(x - before, INT32_MIN);
            const int64_t y0 = std::max<int64_t>(y - before, INT32_MIN);
            fill(CRect(int32_t(x0), int32_t(y0), int32_t(std::min<int64_t>(x0 + w, INT32_MAX)),
                       int32_t(std::min<int64_t>(y0 + w, INT32_MAX))),
                 color);
        }
    }
}

// A pixel belongs to the ellipse when its centre lies inside the ellipse
// inscribed in the box.
void PixelSurface::fillEllipse(const CRect& box, Pixel color) {
    if (box.isEmpty()) return;
    CRect rows = box;
    rows.bound(clip_);
    if (rows.isEmpty()) return;
    const double cx = (double(box.left) + double(box.right)) * 0.5;
    const double cy = (double(box.top) + double(box.bottom)) * 0.5;
    const double rx = double(box.width()) * 0.5;
    const double ry = double(box.height()) * 0.5;
    for (int32_t y = rows.top; y < rows.bottom; ++y) {
        const double t = (y + 0.5 - cy) / ry;
        if (t * t > 1.0) continue;
        const double half = rx * std::sqrt(1.0 - t * t);
        // Pixel x is inside when cx - half <= x + 0.5 <= cx + half.
        const double xFirst = std::ceil(cx - half - 0.5);
        const double xEnd = std::floor(cx + half - 0.5) + 1.0;
        const double left = std::max(xFirst, double(clip_.left));
        const double right = std::min(xEnd, double(clip_.right));
        if (right <= left) continue;
        fill(CRect(int32_t(left), y, int32_t(right), y + 1), color);
    }
}

// Hands op each row of the target pixels whose source lies in src, within
// dst and the clip: op(out, in, count, x, y), out and in at the row's first
// pixel, (x, y) its place in this surface.
template <class RowOp>
void PixelSurface::transfer(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin,
                            RowOp op) {
    if (src.isEmpty() || isEmpty()) return;
    // Target pixels whose source lies inside src: x - dst.left + srcOrigin.h
    // in 0..src.width-1, likewise for y. 64-bit: host-sized inputs may be
    // anything.
    const int64_t sx = int64_t(srcOrigin.h) - dst.left;
    const int64_t sy = int64_t(srcOrigin.v) - dst.top;
    const int64_t left = std::max<int64_t>({dst.left, clip_.left, -sx});
    const int64_t top = std::max<int64_t>({dst.top, clip_.top, -sy});
    const int64_t right = std::min<int64_t>({dst.right, clip_.right, int64_t(src.width_) - sx});
    const int64_t bottom = std::min<int64_t>({dst.bottom, clip_.bottom, int64_t(src.height_) - sy});
    if (right <= left || bottom <= top) return;

    // Copying a surface onto itself: read from a snapshot of the source rows.
    std::vector<Pixel> snapshot;
    const Pixel* from = src.pixels_;
    if (&src == this) {
        snapshot.assign(pixels_, pixels_ + size_t(width_) * size_t(height_));
        from = snapshot.data();
    }
    const size_t inStride = size_t(src.width_), outStride = size_t(width_);
    const int64_t rowBytes = (right - left) * int64_t(sizeof(Pixel));
    for (int64_t y = top; y < bottom; ++y) {
        Pixel* out = pixels_ + size_t(y) * outStride + size_t(left);
        const Pixel* in = from + size_t(y + sy) * inStride + size_t(left + sx);
        if (y + kPrefetchRows < bottom) {
            prefetchRow(in + kPrefetchRows * inStride, rowBytes, false);
            prefetchRow(out + kPrefetchRows * outStride, rowBytes, true);
        }
        op(out, in, right - left, int32_t(left), int32_t(y));
    }
}

// A plain copy is how a window's surface receives what was drawn off
// screen, so it counts as damage only the pixels whose value changes: a
// control redrawn as it was shows nothing anew.
void PixelSurface::copy(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin) {
    CRect changed;
    transfer(src, dst, srcOrigin, [&changed](Pixel* out, const Pixel* in, int64_t n, int32_t x, int32_t y) {
        int64_t first = 0, last = 0;
        if (!differingSpan(out, in, n, first, last)) return;
        std::memcpy(out + first, in + first, size_t(last - first + 1) * sizeof(Pixel));
        changed.unite(CRect(x + int32_t(first), y, x + int32_t(last) + 1, y + 1));
    });
    addDamage(changed);
}

// Keyed and blended copies damage the whole area they cover.
template <class PixelOp>
void PixelSurface::transferEach(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin,
                                PixelOp op) {
    CRect covered;
    transfer(src, dst, srcOrigin, [&](Pixel* out, const Pixel* in, int64_t n, int32_t x, int32_t y) {
        for (int64_t i = 0; i < n; ++i) op(out[i], in[i]);
        covered.unite(CRect(x, y, x + int32_t(n), y + 1));
    });
    addDamage(covered);
}

void PixelSurface::copyKeyed(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin,
                             Pixel key) {
    // A select rather than a branch: the compiler then does a row several
    // pixels at a time.
    transferEach(src, dst, srcOrigin, [key](Pixel& out, Pixel in) { out = in != key ? in : out; });
}

void PixelSurface::blend(const PixelSurface& src, const CRect& dst, const CPoint& srcOrigin,
                         uint8_t alpha) {
    if (alpha == 0) return;
    transferEach(src, dst, srcOrigin, [alpha](Pixel& out, Pixel in) { out = mix(out, in, alpha); });
}

}  // namespace VSTGUI
