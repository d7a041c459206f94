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
        pHandle = decodeBmp(resource->data, resource->size);
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
