// CPoint and CRect: whole-pixel positions and rectangles.
//
// A rectangle's right and bottom are one past its last pixel for sizes and
// drawing (width = right - left), but a hit test includes them: the point
// (10, 10) is inside (0, 0, 10, 10). Overlap counts touching edges too.
// Plain values, usable on any thread.
#pragma once

#include <algorithm>
#include <cstdint>

namespace VSTGUI {

struct CPoint {
    int32_t h = 0;  // x
    int32_t v = 0;  // y

    constexpr CPoint() = default;
    constexpr CPoint(int32_t h, int32_t v) : h(h), v(v) {}

    CPoint& offset(int32_t dh, int32_t dv) {
        h += dh;
        v += dv;
        return *this;
    }
    constexpr bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
};

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    // No pixel to draw: zero or negative width or height.
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint topLeft() const { return CPoint(left, top); }

    CRect& offset(int32_t dx, int32_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }

    // Intersection in place. An empty result collapses to zero width or
    // height at the far edge and never turns negative.
    CRect& bound(const CRect& r) {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::min(right, r.right);
        bottom = std::min(bottom, r.bottom);
        if (bottom < top) bottom = top;
        if (right < left) right = left;
        return *this;
    }

    // The bounding box of both, in place; an empty rectangle adds nothing.
    CRect& unite(const CRect& r) {
        if (r.isEmpty()) return *this;
        if (isEmpty()) return *this = r;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        return *this;
    }

    // True unless one lies strictly beyond the other: touching edges overlap.
    constexpr bool rectOverlap(const CRect& r) const {
        return !(right < r.left || r.right < left || bottom < r.top || r.bottom < top);
    }

    // Hit test, right and bottom edges included.
    constexpr bool pointInside(const CPoint& p) const {
        return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
    }

    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

}  // namespace VSTGUI
