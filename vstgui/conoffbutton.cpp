#include "vstgui/conoffbutton.h"

#include <cmath>
#include <cstring>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                           int32_t style)
    : CControl(size, listener, tag, background), style(style) {}

COnOffButton::~COnOffButton() = default;

bool COnOffButton::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "COnOffButton") == 0) || CControl::isTypeOf(className);
}

void COnOffButton::draw(CDrawContext* context) {
    const int32_t top = value != 0.f && pBackground ? pBackground->getHeight() / 2 : 0;
    drawBitmap(context, pBackground, size, CPoint(0, top));
    setDirty(false);
}

void COnOffButton::mouse(CDrawContext* context, const CPoint&, int32_t buttons) {
    if (!bMouseEnabled) return;
    if (buttons == kButtonsUnread) buttons = context ? context->getMouseButtons() : 0;
    if (!(buttons & kLButton)) return;
    if (offerModifierClick(context, buttons)) return;

    // The idle pump calls out to the editor and the host, which may close
    // the editor and so release the frame's reference to this button.
    ScopedReference<COnOffButton> keep(this);
    // A value set from outside toggles by its whole part (NaN counts as on).
    value = std::trunc(value) == 0.f ? 1.f : 0.f;
    if (listener && style == kPostListenerUpdate) reportEdit(context);
    doIdleStuff();
    if (listener && style == kPreListenerUpdate) reportEdit(context);
}

}  // namespace VSTGUI
