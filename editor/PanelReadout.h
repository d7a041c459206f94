// PanelReadout: the line of text at the foot of the panel. While no control
// moves it shows the current program ("03  Acid Bass") between a step back
// and a step forward; a click on the name pops up every program, the current
// one marked. While a control moves, and for a moment after, it shows what
// the editor gives it (the control's words and value) instead.
//
// A menu of the programs (tag layout::kProgramTag): a choice, from the
// pop-up or a step, reaches the listener as the chosen program's number.
// The steps wrap around at both ends.
//
// [ui thread] only.
#pragma once

#include <functional>
#include <string>

#include "vstgui/coptionmenu.h"

class PanelReadout : public VSTGUI::COptionMenu {
public:
    // The width of each step button at the ends.
    static constexpr int kStepWidth = 18;

    PanelReadout(const VSTGUI::CRect& size, CControlListener* listener);

    // Program number's entry text, "03  Acid Bass" for 2; size bytes.
    static void programText(int32_t program, const char* name, char* text, std::size_t size);

    // Text shown instead of the program; empty for the program again. Marks
    // the readout dirty only when what it shows changes.
    void showText(const char* text);
    bool showsProgram() const { return shown_.empty(); }
    // Called before the programs pop up, to bring their names up to date.
    void setBeforePopup(std::function<void()> refresh) { beforePopup_ = std::move(refresh); }
    const std::string& shownInstead() const { return shown_; }

    void draw(VSTGUI::CDrawContext* context) override;
    // Steps on the arrows (left button), the pop-up elsewhere.
    void mouse(VSTGUI::CDrawContext* context, const VSTGUI::CPoint& where,
               int32_t buttons = VSTGUI::kButtonsUnread) override;

private:
    void drawArrow(VSTGUI::CDrawContext* context, int centreX, int direction);

    std::string shown_;
    std::function<void()> beforePopup_;
};
