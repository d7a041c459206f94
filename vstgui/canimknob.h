// CAnimKnob: a knob drawn from a film strip, a bitmap of subPixmaps frames
// of heightOfOneImage pixels stacked top to bottom, minimum first. It drags,
// turns and steps like CKnob; only the drawing differs: the frame for the
// value, and a redraw only when the value moved the knob's pointer position
// by a whole pixel (or the knob was marked dirty). When only the value
// moved, only the box where the new frame differs from the one on screen is
// redrawn (its background, then the knob clipped to it).
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
    // A redraw of the changed box when that is all the value changed, else
    // of the whole knob.
    void update(CDrawContext* context) override;
    bool isTypeOf(const char* className) const override;

protected:
    // The frame the value shows.
    int32_t frameForValue() const;
    // The part of the knob (parent coordinates) a redraw must cover to show
    // the value's frame over the one drawn last; false when that is not
    // known and the whole knob must be drawn.
    bool changedSinceDrawn(CDrawContext* context, CRect& changed) const;

    int32_t subPixmaps;
    int32_t heightOfOneImage;
    bool bInverseBitmap = false;
    CPoint lastDrawnPoint;
    // What is on screen: the frame, from which strip, at which scale.
    int32_t drawnFrame = -1;
    const CBitmap* drawnStrip = nullptr;
    int32_t drawnScale = 0;
};

}  // namespace VSTGUI
