#include "vstgui/canimknob.h"

#include <algorithm>
#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/stripsteps.h"
#include "vstgui/viewscale.h"

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                     int32_t heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage) {
    inset = 0;
}

CAnimKnob::~CAnimKnob() = default;

bool CAnimKnob::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CAnimKnob") == 0) || CKnob::isTypeOf(className);
}

int32_t CAnimKnob::frameForValue() const {
    if (value < 0.f || heightOfOneImage <= 0) return 0;
    const int32_t last = heightOfOneImage * (subPixmaps - 1);  // top of the last frame
    // Above 1.0 (set from outside) shows the last frame.
    const float position = std::min(bInverseBitmap ? 1.f - value : value, 1.f);
    const int32_t y = position > 0.f ? int32_t(position * float(last)) : 0;
    return y / heightOfOneImage;  // the frame that holds row y
}

void CAnimKnob::draw(CDrawContext* context) {
    const int32_t frame = frameForValue();
    drawBitmap(context, pBackground, size, CPoint(0, frame * heightOfOneImage));
    valueToPoint(lastDrawnPoint);
    drawnFrame = frame;
    drawnStrip = pBackground;
    drawnScale = context ? context->getScale() : 0;
    setDirty(false);
}

bool CAnimKnob::changedSinceDrawn(CDrawContext* context, CRect& changed) const {
    // Only a knob that the frame draws directly, over the strip and at the
    // scale it was drawn with, maps its pixels the same way again.
    if (bDirty || !context || drawnFrame < 0 || !pBackground || pBackground != drawnStrip ||
        context->getScale() != drawnScale || getParentView() != getFrame() || !getFrame())
        return false;
    const CRect pixels = toPixels(size, drawnScale);
    const std::vector<CRect>& steps =
        pBackground->getStripSteps(drawnScale, subPixmaps, heightOfOneImage, pixels.width(), pixels.height());
    if (steps.empty()) return false;
    CRect box = changedBetween(steps, drawnFrame, frameForValue());
    if (box.isEmpty()) {
        changed = CRect();
        return true;
    }
    box.offset(pixels.left, pixels.top);
    changed = coveringViewRect(box, drawnScale).bound(size);
    return true;
}

void CAnimKnob::update(CDrawContext* context) {
    if (!isDirty()) return;
    CRect changed;
    if (!changedSinceDrawn(context, changed)) return CKnob::update(context);
    if (changed.isEmpty()) {
        valueToPoint(lastDrawnPoint);  // the same picture: nothing to draw
    } else {
        redrawRect(context, changed);
    }
    setDirty(false);
}

bool CAnimKnob::isDirty() const {
    if (!bDirty) {
        CPoint now;
        valueToPoint(now);
        if (now == lastDrawnPoint) return false;
    }
    return CKnob::isDirty();
}

}  // namespace VSTGUI
