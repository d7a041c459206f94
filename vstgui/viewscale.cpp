#include "vstgui/viewscale.h"

#include <algorithm>
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

int32_t artworkFactor(int32_t percent) { return percent <= 100 ? 1 : percent <= 200 ? 2 : 3; }

PixelSurface resampleArea(const PixelSurface& src, int32_t width, int32_t height, const Pixel* key) {
    PixelSurface out(width, height);
    if (out.isEmpty() || src.isEmpty() || width > src.width() || height > src.height()) return out;
    // Target pixel x covers source [x * sx, (x + 1) * sx).
    const double sx = double(src.width()) / width, sy = double(src.height()) / height;
    Pixel* to = out.data();
    for (int32_t y = 0; y < height; ++y) {
        const double y0 = y * sy, y1 = std::min((y + 1) * sy, double(src.height()));
        for (int32_t x = 0; x < width; ++x) {
            const double x0 = x * sx, x1 = std::min((x + 1) * sx, double(src.width()));
            double r = 0, g = 0, b = 0, covered = 0, seeThrough = 0;
            for (int32_t j = int32_t(y0); j < y1; ++j) {
                const double h = std::min(y1, j + 1.0) - std::max(y0, double(j));
                const Pixel* row = src.data() + size_t(j) * size_t(src.width());
                for (int32_t i = int32_t(x0); i < x1; ++i) {
                    const double w = (std::min(x1, i + 1.0) - std::max(x0, double(i))) * h;
                    const Pixel p = row[i];
                    if (key && p == *key) {
                        seeThrough += w;
                        continue;
                    }
                    r += w * ((p >> 16) & 0xFF);
                    g += w * ((p >> 8) & 0xFF);
                    b += w * (p & 0xFF);
                    covered += w;
                }
            }
            if (covered <= seeThrough) {
                *to++ = key ? *key : 0;
                continue;
            }
            Pixel p = Pixel(std::lround(r / covered)) << 16 | Pixel(std::lround(g / covered)) << 8 |
                      Pixel(std::lround(b / covered));
            if (key && p == *key) p ^= 1;  // a neighbour of the key, not the key
            *to++ = p;
        }
    }
    return out;
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
