// The editor's scale: the view tree keeps the panel's own coordinates, the
// window's pixels are those coordinates times a percentage. These turn one
// into the other; 100 % is the identity, so the unscaled panel draws
// exactly as it always has.
#pragma once

#include <cstdint>

#include "vstgui/crect.h"

namespace VSTGUI {

class PixelSurface;
using Pixel = uint32_t;

// The sizes the editor offers.
constexpr int32_t kScaleSteps[] = {100, 125, 150, 175, 200, 250, 300};

bool isScaleStep(int32_t percent);
// The offered size closest to percent (ties go to the smaller one); 100 for
// anything that is not a positive, finite number.
int32_t nearestScaleStep(double percent);

// View coordinate v as a pixel coordinate, rounded down.
constexpr int32_t toPixels(int32_t v, int32_t percent) {
    const int64_t p = int64_t(v) * percent;
    return int32_t(p >= 0 ? p / 100 : -((-p + 99) / 100));
}
// The view coordinate whose pixels include pixel coordinate p: the last v
// with toPixels(v) <= p, that is v * percent < (p + 1) * 100. (At 125 %,
// unit 49 starts at pixel 61, since 49 x 1.25 = 61.25.)
constexpr int32_t toViewUnits(int32_t p, int32_t percent) {
    const int64_t n = (int64_t(p) + 1) * 100 - 1;
    return int32_t(n >= 0 ? n / percent : -((-n + percent - 1) / percent));
}
// The pixels of a view rectangle: every edge scaled, so neighbouring
// rectangles stay neighbours.
CRect toPixels(const CRect& r, int32_t percent);
CPoint toPixels(const CPoint& p, int32_t percent);
// The smallest view rectangle whose pixels cover pixel rectangle r.
CRect coveringViewRect(const CRect& r, int32_t percent);

// The factor of the artwork drawn larger that a scale is made from: the
// smallest of 1, 2 and 3 times that is at least as large.
int32_t artworkFactor(int32_t percent);

// src reduced to width x height (no larger than src) by the area each
// target pixel covers. With a key, pixels of that colour are see-through:
// they do not colour their neighbours, and a target pixel mostly over them
// stays the key; no other becomes it.
PixelSurface resampleArea(const PixelSurface& src, int32_t width, int32_t height, const Pixel* key);

// src resampled to width x height by nearest pixel: key colours stay
// exact and a strip's frames do not bleed into each other. None when the
// size is out of range.
PixelSurface resampleNearest(const PixelSurface& src, int32_t width, int32_t height);

}  // namespace VSTGUI
