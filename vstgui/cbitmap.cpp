#include "vstgui/cbitmap.h"

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
}  // namespace

CBitmap::CBitmap(int32_t id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::~CBitmap() = default;

void CBitmap::dispose() {
    pHandle.reset();
    width = height = 0;
    noAlpha = true;
}

bool CBitmap::loadFromResource(int32_t id) {
    dispose();
    resourceID = id;
    const resources::Resource* resource = resources::findBitmap(id);
    if (!resource) return false;
    pHandle = decodeBmp(resource->data, resource->size);
    if (!pHandle) return false;
    width = pHandle->width();
    height = pHandle->height();
    noAlpha = true;
    return true;
}

bool CBitmap::loadFromPath(const void*) {
    dispose();
    return false;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    if (surface && pHandle) surface->copy(*pHandle, r, offset);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    if (surface && pHandle) surface->copyKeyed(*pHandle, r, offset, toPixel(transparentCColor));
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             uint8_t alpha) {
    CRect r;
    PixelSurface* surface = target(context, rect, r);
    if (surface && pHandle) surface->blend(*pHandle, r, offset, alpha);
}

}  // namespace VSTGUI
