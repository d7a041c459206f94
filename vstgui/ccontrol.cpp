#include "vstgui/ccontrol.h"

#include <cstring>

#include "vstgui/cframe.h"

int32_t CControlListener::controlModifierClicked(VSTGUI::CDrawContext*, VSTGUI::CControl*, int32_t) {
    return 0;
}

namespace VSTGUI {

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
    setTransparency(false);
    setMouseEnabled(true);
    setBackground(background);
    setDirty(true);
}

CControl::~CControl() = default;

bool CControl::isDirty() const { return oldValue != value || bDirty; }

void CControl::setDirty(bool dirty) {
    bDirty = dirty;
    if (dirty)
        oldValue = value == -1.f ? 0.f : -1.f;
    else
        oldValue = value;
}

bool CControl::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "CControl") == 0) || CView::isTypeOf(className);
}

void CControl::doIdleStuff() {
    if (pParentFrame) pParentFrame->doIdleStuff();
}

void CControl::beginEdit() {
    if (!pParentFrame) return;
    pParentFrame->setFocusView(this);
    pParentFrame->beginEdit(tag);
}

void CControl::endEdit() {
    if (pParentFrame) pParentFrame->endEdit(tag);
}

void CControl::copyBackOffset() { backOffset = size.topLeft(); }

void CControl::bounceValue() {
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

bool CControl::checkDefaultValue(CDrawContext* context, int32_t buttons) {
    if (buttons != (kLButton | kControl)) return false;
    beginEdit();
    value = getDefaultValue();
    if (isDirty() && listener) listener->valueChanged(context, this);
    endEdit();
    return true;
}

bool CControl::offerModifierClick(CDrawContext* context, int32_t buttons) {
    return listener && (buttons & kModifierClickMask) &&
           listener->controlModifierClicked(context, this, buttons) != 0;
}

void CControl::reportEdit(CDrawContext* context) {
    beginEdit();
    if (listener) listener->valueChanged(context, this);
    endEdit();
}

bool CControl::isOnOpenFrame() const { return pParentFrame && pParentFrame->getOpenFlag(); }

}  // namespace VSTGUI
