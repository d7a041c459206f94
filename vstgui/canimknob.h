// CAnimKnob: a knob drawn from a film strip, a bitmap of subPixmaps frames
// of heightOfOneImage pixels stacked top to bottom, minimum first. It drags,
// turns and steps like CKnob; only the drawing differs: the frame for the
// value, and a redraw only when the value moved the knob's pointer position
// by a whole pixel (or the knob was marked dirty).
//
// [ui thread] only.
#pragma once

#include <cstdint>

#include "vstgui/cknob.h"

namespace VSTGUI {

class CAnimKnob : public CKnob {
public:
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
              int32_t heightOfOneImage, CBitmap* background, const CPoint& offset);
    ~CAnimKnob() override;

    // The frame for the value: 0 below 0, the last at 1.0 and above, else
    // floor(floor(value * (subPixmaps - 1) * height) / height).
    void draw(CDrawContext* context) override;
    // Clean while the pointer position is the one last drawn and the knob
    // was not marked dirty, whatever the value did.
    bool isDirty() const override;
    bool isTypeOf(const char* className) const override;

protected:
    int32_t subPixmaps;
    int32_t heightOfOneImage;
    bool bInverseBitmap = false;
    CPoint lastDrawnPoint;
};

}  // namespace VSTGUI
