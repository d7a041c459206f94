#include "editor/PanelReadout.h"

#include <algorithm>
#include <cstdio>

#include "editor/ControlLayout.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

using namespace VSTGUI;

PanelReadout::PanelReadout(const CRect& size, CControlListener* listener)
    : COptionMenu(size, listener, layout::kProgramTag, nullptr, nullptr, kCheckStyle) {}

void PanelReadout::programText(int32_t program, const char* name, char* text, std::size_t size) {
    std::snprintf(text, size, "%02d  %s", int(program) + 1, name ? name : "");
}

void PanelReadout::showText(const char* text) {
    const std::string next = text ? text : "";
    if (next == shown_) return;
    shown_ = next;
    setDirty(true);
}

void PanelReadout::draw(CDrawContext* context) {
    if (!showsProgram()) return drawText(context, shown_.c_str());
    COptionMenu::draw(context);
    drawArrow(context, int(size.left) + kStepWidth / 2, -1);
    drawArrow(context, int(size.right) - kStepWidth / 2, 1);
}

// A small solid triangle pointing left (-1) or right (1), drawn row by row
// from its upright back edge toward the point.
void PanelReadout::drawArrow(CDrawContext* context, int centreX, int direction) {
    const int middle = int(size.top + size.bottom) / 2;
    constexpr int kHalf = 4;
    const int back = centreX - direction * 2;
    context->setFrameColor(fontColor);
    context->setLineWidth(1);
    for (int dy = -kHalf; dy <= kHalf; ++dy) {
        const int end = back + direction * (kHalf - (dy < 0 ? -dy : dy));
        context->moveTo(CPoint(std::min(back, end), middle + dy));
        context->lineTo(CPoint(std::max(back, end) + 1, middle + dy));
    }
}

void PanelReadout::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    if (!bMouseEnabled || !context) return;
    if (buttons == kButtonsUnread) buttons = context->getMouseButtons();
    const int32_t count = getNbEntries();
    const bool back = where.h < size.left + kStepWidth, forward = where.h >= size.right - kStepWidth;
    if ((back || forward) && (buttons & kLButton) && count > 0) {
        const int32_t current = getCurrent() < 0 ? 0 : getCurrent();
        setValue(float((current + (forward ? 1 : count - 1)) % count));
        if (listener) listener->valueChanged(context, this);
        return;
    }
    if (beforePopup_) beforePopup_();
    COptionMenu::mouse(context, where, buttons);
}
