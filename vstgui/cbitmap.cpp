#include "vstgui/cbitmap.h"

#include <mutex>

#include "resources/resources.h"
#include "vstgui/bmpdecoder.h"
#include "vstgui/cdrawcontext.h"

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
std::shared_ptr<const PixelSurface> sharedPixels(const resources::Resource& resource) {
    static std::mutex lock;
    static std::weak_ptr<const PixelSurface> decoded[64];  // by position in the resource table
    const auto slot = static_cast<std::size_t>(&resource - resources::kBitmapTable);
    if (slot >= resources::kBitmapCount || slot >= std::size(decoded))
        return decodeBmp(resource.data, resource.size);  // not from the table: not shared
    std::lock_guard<std::mutex> hold(lock);
    std::shared_ptr<const PixelSurface> pixels = decoded[slot].lock();
    if (!pixels) {
        pixels = decodeBmp(resource.data, resource.size);
        decoded[slot] = pixels;
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
    resource = nullptr;
    pHandle.reset();
    width = height = 0;
    noAlpha = true;
}

bool CBitmap::loadFromResource(int32_t id) {
    dispose();
    resourceID = id;
    const resources::Resource* found = resources::findBitmap(id);
    BmpLayout layout;
    if (!found || !readBmpLayout(found->data, found->size, layout)) return false;
    resource = found;
    width = layout.width;
    height = layout.height;
    noAlpha = true;
    return true;
}

const PixelSurface* CBitmap::getImage() const {
    if (!pHandle && resource) {
        pHandle = sharedPixels(*resource);
    }
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
