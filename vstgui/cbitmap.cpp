#include "vstgui/cbitmap.h"

#include <map>
#include <mutex>
#include <utility>

#include "vstgui/cdrawcontext.h"
#include "vstgui/resourcebitmap.h"
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
// Scaled pictures are made once from the unscaled one and shared the same way.
std::shared_ptr<const PixelSurface> sharedPixels(int32_t id, int32_t scale) {
    static std::mutex lock;
    // By resource id and scale.
    static std::map<std::pair<int32_t, int32_t>, std::weak_ptr<const PixelSurface>> decoded;
    std::lock_guard<std::mutex> hold(lock);
    std::shared_ptr<const PixelSurface> pixels = decoded[{id, scale}].lock();
    if (pixels) return pixels;
    std::shared_ptr<const PixelSurface> plain = decoded[{id, 100}].lock();
    if (!plain) {
        plain = loadResourceBitmap(id);
        decoded[{id, 100}] = plain;
    }
    if (scale == 100 || !plain) return plain;
    pixels = std::make_shared<const PixelSurface>(
        resampleNearest(*plain, toPixels(plain->width(), scale), toPixels(plain->height(), scale)));
    decoded[{id, scale}] = pixels;
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
        if (!pHandle && loaded) pHandle = sharedPixels(resourceID, 100);
        return pHandle.get();
    }
    if (!scaledHandle || scaledPercent != scale) {
        scaledHandle = loaded ? sharedPixels(resourceID, scale) : nullptr;
        scaledPercent = scale;
    }
    return scaledHandle.get();
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
