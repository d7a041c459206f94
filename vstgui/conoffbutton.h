// COnOffButton: a two-state switch. Its background bitmap holds two
// pictures of the button's size one above the other, off on top, on below;
// a value other than 0 shows the on picture. A left click toggles between
// exactly 0.0 and 1.0 and tells the listener inside one edit gesture, either
// after the window was repainted (kPreListenerUpdate) or before.
//
// [ui thread] only.
#pragma once

#include <cstdint>

#include "vstgui/ccontrol.h"

namespace VSTGUI {

enum COnOffButtonStyle : int32_t {
    kPreListenerUpdate = 0,   // repaint, then tell the listener
    kPostListenerUpdate = 1,  // tell the listener, then repaint
};

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                 int32_t style = kPreListenerUpdate);
    ~COnOffButton() override;

    void draw(CDrawContext* context) override;
    // A left click toggles (modifier-clicks are offered to the listener first).
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread) override;
    bool isTypeOf(const char* className) const override;

    virtual int32_t getStyle() const { return style; }
    virtual void setStyle(int32_t newStyle) { style = newStyle; }

protected:
    int32_t style;
};

}  // namespace VSTGUI
