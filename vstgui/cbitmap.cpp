#include "vstgui/cbitmap.h"

#include <map>
#include <mutex>
#include <tuple>

#include "vstgui/cdrawcontext.h"
#include "vstgui/resourcebitmap.h"
#include "vstgui/stripsteps.h"
#include "vstgui/viewscale.h"

namespace VSTGUI {

namespace {
// The context's surface and rect in its device coordinates, or none.
PixelSurface* target(CDrawContext* context, const CRect& rect, CRect& deviceRect) {
    if (!context || !context->getSystemContext()) return nullptr;
    deviceRect = context->toPixelRect(rect);
    return context->getSystemContext();
}

// The decoded pixels of each resource, shared by every bitmap of it in the
// process and freed when the last one lets go: the editors of several
// instances hold one background between them. Guarded by a lock because
// hosts may drive different instances' editors from different threads.
std::shared_ptr<const PixelSurface> loadShared(int32_t id) {
    return std::shared_ptr<const PixelSurface>(loadResourceBitmap(id));
}

// The picture of id for a frame at scale percent. It is made from the
// artwork drawn at the next larger factor (resource id + 1000 x factor),
// reduced by area where the scale lies between; only a picture without
// larger artwork is enlarged, pixel by pixel. key: the colour that is
// see-through, or none.
std::shared_ptr<const PixelSurface> makeScaled(int32_t id, int32_t scale, const Pixel* key) {
    int32_t width = 0, height = 0;
    if (!resourceBitmapSize(id, width, height)) return nullptr;
    const int32_t targetWidth = toPixels(width, scale), targetHeight = toPixels(height, scale);
    const int32_t factor = artworkFactor(scale);
    std::shared_ptr<const PixelSurface> drawn = loadShared(factor * 1000 + id);
    if (drawn && drawn->width() == width * factor && drawn->height() == height * factor) {
        if (scale == factor * 100) return drawn;
        return std::make_shared<const PixelSurface>(resampleArea(*drawn, targetWidth, targetHeight, key));
    }
    std::shared_ptr<const PixelSurface> plain = loadShared(id);
    if (!plain) return nullptr;
    return std::make_shared<const PixelSurface>(resampleNearest(*plain, targetWidth, targetHeight));
}

// Pictures for scaled frames are shared the same way, by id, scale and key.
std::shared_ptr<const PixelSurface> sharedPixels(int32_t id, int32_t scale, const Pixel* key) {
    static std::mutex lock;
    static std::map<std::tuple<int32_t, int32_t, int64_t>, std::weak_ptr<const PixelSurface>> decoded;
    std::lock_guard<std::mutex> hold(lock);
    if (scale == 100) key = nullptr;  // the picture as it is
    auto& slot = decoded[{id, scale, key ? int64_t(*key) : -1}];
    std::shared_ptr<const PixelSurface> pixels = slot.lock();
    if (!pixels) {
        pixels = scale == 100 ? loadShared(id) : makeScaled(id, scale, key);
        slot = pixels;
    }
    return pixels;
}
}  // namespace

CBitmap::CBitmap(int32_t id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::~CBitmap() = default;

void CBitmap::dispose() {
    loaded = false;
    pHandle.reset();
    scaledHandle.reset();
    stripSteps.clear();
    width = height = 0;
    noAlpha = true;
}

bool CBitmap::loadFromResource(int32_t id) {
    dispose();
    resourceID = id;
    int32_t w = 0, h = 0;
    if (!resourceBitmapSize(id, w, h)) return false;
    loaded = true;
    width = w;
    height = h;
    noAlpha = true;
    return true;
}

const PixelSurface* CBitmap::getImage() const { return getImage(100); }

const PixelSurface* CBitmap::getImage(int32_t scale) const {
    if (scale == 100) {
        if (!pHandle && loaded) pHandle = sharedPixels(resourceID, 100, nullptr);
        return pHandle.get();
    }
    if (!scaledHandle || scaledPercent != scale) {
        // A picture drawn with a key is reduced with it.
        const Pixel key = toPixel(transparentCColor);
        scaledHandle = loaded ? sharedPixels(resourceID, scale, keyed ? &key : nullptr) : nullptr;
        scaledPercent = scale;
    }
    return scaledHandle.get();
}

const std::vector<CRect>& CBitmap::getStripSteps(int32_t scale, int32_t frames, int32_t frameHeight, int32_t width,
                                                 int32_t height) const {
    for (const Steps& s : stripSteps)
        if (s.scale == scale && s.frames == frames && s.frameHeight == frameHeight && s.width == width &&
            s.height == height)
            return s.steps;
    const PixelSurface* image = getImage(scale);
    std::vector<CRect> steps = image ? VSTGUI::stripSteps(*image, scale, frames, frameHeight, width, height)
                                     : std::vector<CRect>();
    stripSteps.push_back({scale, frames, frameHeight, width, height, std::move(steps)});
    return stripSteps.back().steps;
}

bool CBitmap::loadFromPath(const void*) {
    dispose();
    return false;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage(context->getScale()) : nullptr;
    if (image) surface->copy(*image, r, toPixels(offset, context->getScale()));
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage(context->getScale()) : nullptr;
    if (image) surface->copyKeyed(*image, r, toPixels(offset, context->getScale()), toPixel(transparentCColor));
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             uint8_t alpha) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage(context->getScale()) : nullptr;
    if (image) surface->blend(*image, r, toPixels(offset, context->getScale()), alpha);
}

}  // namespace VSTGUI
