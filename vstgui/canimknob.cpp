#include "vstgui/canimknob.h"

#include <algorithm>
#include <cstring>


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

void CAnimKnob::draw(CDrawContext* context) {
    CPoint where(0, 0);
    if (value >= 0.f && heightOfOneImage > 0) {
        const int32_t last = heightOfOneImage * (subPixmaps - 1);  // top of the last frame
        // Above 1.0 (set from outside) shows the last frame.
        const float position = std::min(bInverseBitmap ? 1.f - value : value, 1.f);
        int32_t y = position > 0.f ? int32_t(position * float(last)) : 0;
        // Down to the top of the frame that holds y.
        for (int32_t top = 0; top <= last; top += heightOfOneImage) {
            if (y < top) {
                y = std::max(top - heightOfOneImage, 0);
                break;
            }
        }
        where.v = y;
    }
    drawBitmap(context, pBackground, size, where);
    valueToPoint(lastDrawnPoint);
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
