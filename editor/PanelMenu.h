// The panel menu: what a right click on the panel's background (not on a
// control) pops up at the pointer. Its items are the editor's to choose:
// each is a text with an optional check mark, a sub-menu, a separator or a
// line that only informs, so later choices are one more item.
//
// PanelFrame is the editor's frame: it routes a right click that hits no
// control to the panel menu, every other click as a frame does.
//
// [ui thread] only.
#pragma once

#include <functional>

#include "vstgui/cframe.h"
#include "vstgui/coptionmenu.h"

// The menu itself: never drawn and never clicked, it only pops up (tag
// layout::kPanelMenuTag). A choice reaches the listener as the chosen item's
// position, or from a sub-menu as that sub-menu's own choice.
class PanelMenu : public VSTGUI::COptionMenu {
public:
    explicit PanelMenu(CControlListener* listener);

    // Forgets every item.
    void clear();
    // Items in order: a choice (checked shows its mark), a separator, a line
    // that informs (shown, not choosable) and a sub-menu.
    void addChoice(const char* text, bool checked);
    void addSeparator();
    void addInformation(const char* text);
    void addSubMenu(VSTGUI::COptionMenu* subMenu, const char* text);

    // Pops the menu up with its top-left at where (frame coordinates) and
    // returns once it is chosen from or dismissed.
    void popUpAt(VSTGUI::CDrawContext* context, const VSTGUI::CPoint& where);

    void draw(VSTGUI::CDrawContext*) override {}
};

class PanelFrame : public VSTGUI::CFrame {
public:
    using BackgroundClick = std::function<void(VSTGUI::CDrawContext*, const VSTGUI::CPoint&)>;

    PanelFrame(const VSTGUI::CRect& size, void* systemWindow, VSTGUI::FrameEditor* editor,
               VSTGUI::WindowSystem& windows, BackgroundClick onRightClick, int32_t scale = 100);

    void mouse(VSTGUI::CDrawContext* context, const VSTGUI::CPoint& where,
               int32_t buttons = VSTGUI::kButtonsUnread) override;

private:
    bool onControl(const VSTGUI::CPoint& where, int32_t buttons);

    BackgroundClick onRightClick_;
};
