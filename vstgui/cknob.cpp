#include "vstgui/cknob.h"

#include <cmath>
#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

namespace VSTGUI {

namespace {

constexpr float kPi = 3.14159265f;
// 2 pi in single precision wraps angles; the test for "above a full turn"
// compares with the exact (double) value, which the float lies just above.
constexpr float kTwoPi = 6.2831855f;
constexpr double kTwoPiExact = 6.283185307179586;
// A linear drag covers the whole span in this many pixels (right plus up).
constexpr float kLinearSpan = 200.f;
// A wheel notch or arrow key with Shift moves this fraction of a step.
constexpr float kFineStep = 0.1f;

// x truncated toward zero; 0 for what no pixel position can be (NaN, a
// value whose angle is undefined).
int32_t truncated(float x) { return std::isfinite(x) && std::fabs(x) < 1e9f ? int32_t(x) : 0; }

// An angle in 0..2pi (one wrap either way).
float wrapped(float alpha) {
    if (alpha < 0.f) return alpha + kTwoPi;
    if (alpha > kTwoPiExact) return alpha - kTwoPi;
    return alpha;
}

}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
             const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), pHandle(handle), radius(size.width() / 2.f) {
    if (pHandle) pHandle->remember();
    setStartAngle(5.f * kPi / 4.f);
    setRangeAngle(-3.f * kPi / 2.f);
    setWantsFocus(true);
}

CKnob::~CKnob() {
    if (pHandle) pHandle->forget();
}

bool CKnob::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CKnob") == 0) || CControl::isTypeOf(className);
}

// --- angles

void CKnob::setStartAngle(float angle) {
    startAngle = angle;
    compute();
}

void CKnob::setRangeAngle(float angle) {
    rangeAngle = angle;
    compute();
}

void CKnob::compute() {
    aCoef = (vmax - vmin) / rangeAngle;
    bCoef = vmin - aCoef * startAngle;
    halfAngle = (kTwoPi - std::fabs(rangeAngle)) * 0.5f;
    setDirty(true);
}

void CKnob::valueToPoint(CPoint& point) const {
    const float alpha = (value - bCoef) / aCoef;
    const float reach = radius - float(inset);
    point.h = truncated(radius + std::cos(alpha) * reach + 0.5f);
    point.v = truncated(radius - std::sin(alpha) * reach + 0.5f);
}

float CKnob::valueFromPoint(CPoint& point) const {
    float alpha = std::atan2(radius - float(point.v), float(point.h) - radius);
    if (alpha < 0.f) alpha += kTwoPi;
    float alpha2 = alpha - startAngle;
    if (rangeAngle < 0.f) {
        // Measured from the maximum, clockwise; past the arc the dead zone
        // splits at its middle.
        alpha2 -= rangeAngle;
        const float alpha3 = wrapped(alpha2);
        if (alpha3 > halfAngle - rangeAngle) return vmax;
        if (alpha3 > -rangeAngle) return vmin;
        if (alpha2 > halfAngle - rangeAngle)
            alpha2 -= kTwoPi;
        else if (alpha2 < -halfAngle)
            alpha2 += kTwoPi;
        return aCoef * alpha2 + vmax;
    }
    const float alpha3 = wrapped(alpha2);
    if (alpha3 > rangeAngle + halfAngle) return vmin;
    if (alpha3 > rangeAngle) return vmax;
    if (alpha2 > halfAngle + rangeAngle)
        alpha2 -= kTwoPi;
    else if (alpha2 < -halfAngle)
        alpha2 += kTwoPi;
    return aCoef * alpha2 + vmin;
}

// --- drawing

void CKnob::draw(CDrawContext* context) {
    drawBitmap(context, pBackground, size, offset);
    drawHandle(context);
    setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
    if (!context) return;
    CPoint where;
    valueToPoint(where);
    if (pHandle) {
        const int32_t w = pHandle->getWidth();
        const int32_t h = pHandle->getHeight();
        where.offset(size.left - w / 2, size.top - h / 2);
        pHandle->drawTransparent(context, CRect(where.h, where.v, where.h + w, where.v + h));
        return;
    }
    // A shadow line, then the pointer one pixel up and right of it.
    CPoint origin(size.width() / 2, size.height() / 2);
    where.offset(size.left - 1, size.top);
    origin.offset(size.left - 1, size.top);
    context->setFrameColor(colorShadowHandle);
    context->moveTo(where);
    context->lineTo(origin);
    where.offset(1, -1);
    origin.offset(1, -1);
    context->setFrameColor(colorHandle);
    context->moveTo(where);
    context->lineTo(origin);
}

void CKnob::setColorShadowHandle(CColor color) {
    colorShadowHandle = color;
    setDirty(true);
}

void CKnob::setColorHandle(CColor color) {
    colorHandle = color;
    setDirty(true);
}

void CKnob::setHandleBitmap(CBitmap* handle) {
    if (handle) handle->remember();
    if (pHandle) pHandle->forget();
    pHandle = handle;
    // The tip sits half the picture (and a little) inside the rim.
    if (pHandle) inset = int32_t(pHandle->getWidth() * 0.5f + 2.5f);
}

// --- input

void CKnob::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    if (!bMouseEnabled) return;
    if (buttons == kButtonsUnread) buttons = context ? context->getMouseButtons() : 0;
    if (!(buttons & kLButton)) return;
    if (offerModifierClick(context, buttons)) return;
    if (checkDefaultValue(context, buttons)) return;

    // The loop calls out to the editor and the host; they may close the
    // editor, which releases the frame's reference to this knob.
    ScopedReference<CKnob> keep(this);
    float old = oldValue;
    float entry = value;
    const float middle = (vmax - vmin) * 0.5f;
    float range = kLinearSpan;
    float coef = (vmax - vmin) / range;
    int32_t heldButtons = buttons;
    const int32_t mode = pParentFrame ? pParentFrame->getKnobMode() : kCircularMode;
    const bool linear = (mode == kLinearMode) != ((buttons & kAlt) != 0);
    const CPoint first = where;
    if (linear) {
        if (buttons & kShift) range *= zoomFactor;
        coef = (vmax - vmin) / range;
    } else {
        CPoint own(where.h - size.left, where.v - size.top);
        old = valueFromPoint(own);
    }

    CPoint now = where;
    CPoint last(-1, -1);
    beginEdit();
    int32_t state;
    do {
        state = context ? context->getMouseButtons() : 0;
        if (now != last) {
            last = now;
            if (linear) {
                const int32_t diff = (now.h - first.h) + (first.v - now.v);
                if (state != heldButtons) {
                    // Shift pressed or released: the new scale starts from
                    // where the old one left the value.
                    range = kLinearSpan;
                    if (state & kShift) range *= zoomFactor;
                    const float coef2 = (vmax - vmin) / range;
                    entry += float(diff) * (coef - coef2);
                    coef = coef2;
                    heldButtons = state;
                }
                value = entry + float(diff) * coef;
                bounceValue();
            } else {
                CPoint own(now.h - size.left, now.v - size.top);
                value = valueFromPoint(own);
                if (old - value > middle)
                    value = vmax;
                else if (value - old > middle)
                    value = vmin;
                else
                    old = value;
            }
            if (isDirty() && listener) listener->valueChanged(context, this);
        }
        getMouseLocation(context, now);
        doIdleStuff();
    } while ((state & kLButton) && isOnOpenFrame());
    endEdit();
}

bool CKnob::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!bMouseEnabled) return false;
    const bool fine = context && (context->getMouseButtons() & kShift);
    step(context, wheelInc * distance * (fine ? kFineStep : 1.f));
    return true;
}

int32_t CKnob::onKeyDown(VstKeyCode& keyCode) {
    float direction;
    switch (keyCode.virt) {
    case VKEY_UP:
    case VKEY_RIGHT:
        direction = 1.f;
        break;
    case VKEY_DOWN:
    case VKEY_LEFT:
        direction = -1.f;
        break;
    default:
        return -1;
    }
    const bool fine = (keyCode.modifier & MODIFIER_SHIFT) != 0;
    step(nullptr, wheelInc * direction * (fine ? kFineStep : 1.f));
    return 1;
}

void CKnob::step(CDrawContext* context, float amount) {
    value += amount;
    bounceValue();
    if (isDirty() && listener) reportEdit(context);
}

}  // namespace VSTGUI
