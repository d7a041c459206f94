#include "vstgui/viewscale.h"

#include <cmath>

#include "vstgui/pixelsurface.h"

namespace VSTGUI {

bool isScaleStep(int32_t percent) {
    for (int32_t step : kScaleSteps)
        if (step == percent) return true;
    return false;
}

int32_t nearestScaleStep(double percent) {
    if (!std::isfinite(percent) || percent <= 0) return 100;
    int32_t best = kScaleSteps[0];
    for (int32_t step : kScaleSteps)
        if (std::fabs(step - percent) < std::fabs(best - percent)) best = step;
    return best;
}

CRect toPixels(const CRect& r, int32_t percent) {
    return CRect(toPixels(r.left, percent), toPixels(r.top, percent), toPixels(r.right, percent),
                 toPixels(r.bottom, percent));
}

CPoint toPixels(const CPoint& p, int32_t percent) {
    return CPoint(toPixels(p.h, percent), toPixels(p.v, percent));
}

CRect coveringViewRect(const CRect& r, int32_t percent) {
    // The right edge: the first view unit whose pixels start at or after r.right.
    return CRect(toViewUnits(r.left, percent), toViewUnits(r.top, percent),
                 toViewUnits(r.right - 1, percent) + 1, toViewUnits(r.bottom - 1, percent) + 1);
}

PixelSurface resampleNearest(const PixelSurface& src, int32_t width, int32_t height) {
    PixelSurface out(width, height);
    if (out.isEmpty() || src.isEmpty()) return out;
    Pixel* to = out.data();
    for (int32_t y = 0; y < out.height(); ++y) {
        const int32_t sy = int32_t(int64_t(y) * src.height() / out.height());
        const Pixel* row = src.data() + size_t(sy) * size_t(src.width());
        for (int32_t x = 0; x < out.width(); ++x)
            *to++ = row[int64_t(x) * src.width() / out.width()];
    }
    return out;
}

}  // namespace VSTGUI
