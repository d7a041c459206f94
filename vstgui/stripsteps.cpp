#include "vstgui/stripsteps.h"

#include <algorithm>

#include "vstgui/viewscale.h"

namespace VSTGUI {

std::vector<CRect> stripSteps(const PixelSurface& image, int32_t scale, int32_t frames, int32_t frameHeight,
                              int32_t width, int32_t height) {
    if (frames < 1 || frameHeight <= 0 || width <= 0 || height <= 0 || width > image.width()) return {};
    auto top = [&](int32_t i) { return toPixels(int32_t(int64_t(i) * frameHeight), scale); };
    if (int64_t(top(frames - 1)) + height > image.height()) return {};
    std::vector<CRect> steps(static_cast<size_t>(frames));
    for (int32_t i = 1; i < frames; ++i) {
        const Pixel* before = image.data() + size_t(top(i - 1)) * size_t(image.width());
        const Pixel* after = image.data() + size_t(top(i)) * size_t(image.width());
        CRect box;
        for (int32_t y = 0; y < height; ++y) {
            const Pixel* a = before + size_t(y) * size_t(image.width());
            const Pixel* b = after + size_t(y) * size_t(image.width());
            int64_t first = 0, last = 0;
            if (differingSpan(a, b, width, first, last))
                box.unite(CRect(int32_t(first), y, int32_t(last) + 1, y + 1));
        }
        steps[size_t(i)] = box;
    }
    return steps;
}

CRect changedBetween(const std::vector<CRect>& steps, int32_t a, int32_t b) {
    if (a > b) std::swap(a, b);
    CRect box;
    for (int32_t i = std::max(a + 1, 1); i <= b && i < int32_t(steps.size()); ++i) box.unite(steps[size_t(i)]);
    return box;
}

}  // namespace VSTGUI
