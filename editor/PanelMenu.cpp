#include "editor/PanelMenu.h"

#include <string>

#include "editor/ControlLayout.h"
#include "vstgui/cbuttons.h"
#include "vstgui/cdrawcontext.h"

using namespace VSTGUI;

PanelMenu::PanelMenu(CControlListener* listener)
    : COptionMenu(CRect(0, 0, 0, 0), listener, layout::kPanelMenuTag, nullptr, nullptr, kMultipleCheckStyle) {
    setMouseEnabled(false);  // the frame opens it; a click never lands on it
}

void PanelMenu::clear() { removeAllEntry(); }

void PanelMenu::addChoice(const char* text, bool checked) {
    if (addEntry(text)) checkEntry(getNbEntries() - 1, checked);
}

void PanelMenu::addSeparator() { addEntry("-"); }

void PanelMenu::addInformation(const char* text) { addEntry(("-T" + std::string(text)).c_str()); }

void PanelMenu::addSubMenu(COptionMenu* subMenu, const char* text) { addEntry(subMenu, text); }

void PanelMenu::popUpAt(CDrawContext* context, const CPoint& where) {
    // Placed as a menu one pixel high at the pointer: the pop-up opens below it.
    setViewSize(CRect(where.h, where.v, where.h + 1, where.v + 1));
    lastButton = kRButton;
    takeFocus(context);
}

PanelFrame::PanelFrame(const CRect& size, void* systemWindow, FrameEditor* editor, WindowSystem& windows,
                       BackgroundClick onRightClick, int32_t scale)
    : CFrame(size, systemWindow, editor, windows, scale), onRightClick_(std::move(onRightClick)) {}

bool PanelFrame::onControl(const CPoint& where, int32_t buttons) {
    for (int32_t i = getNbViews(); i-- > 0;) {
        CView* view = getView(i);
        if (view && view->getMouseEnabled() && view->hitTest(where, buttons)) return true;
    }
    return false;
}

void PanelFrame::mouse(CDrawContext* context, const CPoint& where, int32_t buttons) {
    if (buttons == kButtonsUnread && context) buttons = context->getMouseButtons();
    if ((buttons & kRButton) && !getModalView() && onRightClick_ && !onControl(where, buttons)) {
        if (getFocusView()) setFocusView(nullptr);
        onRightClick_(context, where);
        return;
    }
    CFrame::mouse(context, where, buttons);
}
