#include "vstgui/coffscreencontext.h"

#include <algorithm>

#include "vstgui/viewscale.h"

namespace VSTGUI {

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                                     const CColor& background)
    : CDrawContext(frame, nullptr, nullptr),
      height(height),
      width(width),
      backgroundColor(background),
      buffer(std::make_unique<PixelSurface>(toPixels(width, scale), toPixels(height, scale))) {
    clipRect = CRect(std::min(0, width), std::min(0, height), std::max(0, width), std::max(0, height));
    pSystemContext = buffer.get();
    pSystemContext->setClip(toPixels(clipRect, scale));

    // The fill leaves the top row and left column; the outline covers them.
    setFillColor(background);
    setFrameColor(background);
    fillRect(CRect(0, 0, width, height));
    drawRect(CRect(0, 0, width, height));
}

COffscreenContext::~COffscreenContext() = default;

void COffscreenContext::copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset) {
    if (!dest || !dest->getSystemContext()) return;
    dest->getSystemContext()->copy(*buffer, dest->toPixelRect(destRect), toPixels(srcOffset, scale));
}

}  // namespace VSTGUI
