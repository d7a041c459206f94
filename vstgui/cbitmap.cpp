#include "vstgui/cbitmap.h"

#include <map>
#include <mutex>

#include "vstgui/cdrawcontext.h"
#include "vstgui/resourcebitmap.h"

namespace VSTGUI {

namespace {
// The context's surface and rect in its device coordinates, or none.
PixelSurface* target(CDrawContext* context, const CRect& rect, CRect& deviceRect) {
    if (!context || !context->getSystemContext()) return nullptr;
    deviceRect = rect;
    deviceRect.offset(context->offset.h, context->offset.v);
    return context->getSystemContext();
}

// The decoded pixels of each resource, shared by every bitmap of it in the
// process and freed when the last one lets go: the editors of several
// instances hold one background between them. Guarded by a lock because
// hosts may drive different instances' editors from different threads.
std::shared_ptr<const PixelSurface> sharedPixels(int32_t id) {
    static std::mutex lock;
    static std::map<int32_t, std::weak_ptr<const PixelSurface>> decoded;  // by resource id
    std::lock_guard<std::mutex> hold(lock);
    std::shared_ptr<const PixelSurface> pixels = decoded[id].lock();
    if (!pixels) {
        pixels = loadResourceBitmap(id);
        decoded[id] = pixels;
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

const PixelSurface* CBitmap::getImage() const {
    if (!pHandle && loaded) pHandle = sharedPixels(resourceID);
    return pHandle.get();
}

bool CBitmap::loadFromPath(const void*) {
    dispose();
    return false;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage() : nullptr;
    if (image) surface->copy(*image, r, offset);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage() : nullptr;
    if (image) surface->copyKeyed(*image, r, offset, toPixel(transparentCColor));
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             uint8_t alpha) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    const PixelSurface* image = surface ? getImage() : nullptr;
    if (image) surface->blend(*image, r, offset, alpha);
}

}  // namespace VSTGUI
