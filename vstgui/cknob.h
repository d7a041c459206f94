// CKnob: a rotary control. Its value maps onto an arc of the circle that
// fits the knob's width; by default the minimum lies at the lower left
// (225 degrees), the arc runs clockwise over the top to the maximum at the
// lower right (-45 degrees), and the 90 degrees at the bottom are a dead
// zone split at straight down (left half: minimum, right half: maximum).
//
// Angles are in radians, counter-clockwise from the positive x axis with y
// pointing up; points are in the knob's own coordinates (origin at its
// top-left). The value at an angle is linear: value = aCoef * angle + bCoef.
//
// Mouse: a press starts a drag that holds the mouse until the left button
// is released. Circular mode follows the pointer's angle (a jump across the
// dead zone sticks at the end the pointer came from); linear mode adds 1/200
// of the span per pixel moved right or up (1/300 with Shift). The host's
// knob mode (the frame's getKnobMode) picks the mode, Alt swaps it. The
// wheel and the arrow keys step by wheelInc (a tenth of that with Shift).
// The knob draws a background bitmap with a handle bitmap or two lines as
// pointer; CAnimKnob draws a film strip instead.
//
// [ui thread] only.
#pragma once

#include <cstdint>

#include "vstgui/ccolor.h"
#include "vstgui/ccontrol.h"

namespace VSTGUI {

// The host's knob modes (effSetEditKnobMode). Every mode but linear drags
// circularly.
enum CKnobMode : int32_t {
    kCircularMode = 0,
    kRelativCircularMode = 1,
    kLinearMode = 2,
};

class CKnob : public CControl {
public:
    // handle (none allowed) is the pointer picture; offset is where the
    // knob's picture starts in background.
    CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
          const CPoint& offset);
    ~CKnob() override;

    // --- CView
    void draw(CDrawContext* context) override;
    // The drag loop; returns when the left button is released, or when the
    // frame's window is gone.
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread) override;
    // Arrow keys step the value; other keys: -1.
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    using CControl::onWheel;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool isTypeOf(const char* className) const override;

    // --- the knob's own operations
    virtual void drawHandle(CDrawContext* context);
    // Each recomputes the angle coefficients and marks dirty.
    virtual void setStartAngle(float angle);
    virtual float getStartAngle() const { return startAngle; }
    virtual void setRangeAngle(float angle);
    virtual float getRangeAngle() const { return rangeAngle; }
    // The pointer tip for the current value, in the knob's own coordinates.
    virtual void valueToPoint(CPoint& point) const;
    // The value the pointer at point (the knob's own coordinates) stands for.
    virtual float valueFromPoint(CPoint& point) const;
    // How far inside the radius the pointer tip lies, in pixels.
    virtual void setInsetValue(int32_t value) { inset = value; }
    virtual void setColorShadowHandle(CColor color);
    virtual void setColorHandle(CColor color);
    // Takes a reference; the inset follows the picture's width.
    virtual void setHandleBitmap(CBitmap* handle);
    // Fine-adjustment factor of linear dragging with Shift.
    virtual void setZoomFactor(float factor) { zoomFactor = factor; }
    virtual float getZoomFactor() const { return zoomFactor; }

protected:
    // aCoef, bCoef and halfAngle from the angles; marks dirty.
    void compute();
    // A wheel or key step: moves the value by amount within min..max and
    // reports a visible change as one edit.
    void step(CDrawContext* context, float amount);

    CPoint offset;
    CColor colorHandle = kWhiteCColor;
    CColor colorShadowHandle = kGreyCColor;
    CBitmap* pHandle = nullptr;
    int32_t inset = 3;
    float startAngle = 0.f;
    float rangeAngle = 1.f;
    float halfAngle = 0.f;
    float aCoef = 0.f;
    float bCoef = 0.f;
    float radius;
    float zoomFactor = 1.5f;
};

}  // namespace VSTGUI
