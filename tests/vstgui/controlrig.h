// ControlRig: a frame on the fake platform with an editor and a listener
// that record what controls report, and a pointer script played one step
// per turn of a control's mouse-tracking loop (each turn calls the editor's
// doIdleStuff), so drags are tested without a window.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fakeplatform.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/frameeditor.h"

namespace fake {

// One step of the pointer: where it is on the screen and what is held.
struct PointerStep {
    VSTGUI::CPoint where;
    int32_t buttons;
};

class ControlRig : public VSTGUI::FrameEditor, public CControlListener {
public:
    explicit ControlRig(VSTGUI::CRect size = VSTGUI::CRect(0, 0, 200, 100))
        : platform(size.width(), size.height()),
          frame(new VSTGUI::CFrame(size, platform.parent(), this, platform)),
          context(frame->createDrawContext()) {}
    ~ControlRig() {
        context->forget();
        frame->forget();
    }

    // Adds control to the frame; the frame takes over the creator's reference.
    template <class Control>
    Control* add(Control* control) {
        frame->addView(control);
        return control;
    }

    // Presses at where (frame and screen coordinates coincide) with buttons
    // held, then plays script one step per loop turn; after the last step
    // every button is released.
    void press(VSTGUI::CControl* control, VSTGUI::CPoint where, int32_t buttons,
               std::vector<PointerStep> steps = {}) {
        script = std::move(steps);
        turn = 0;
        platform.input.pointer = where;
        platform.input.buttons = buttons;
        VSTGUI::CRect parent;
        control->getParentView()->getViewSize(parent);
        control->mouse(context, VSTGUI::CPoint(where.h - parent.left, where.v - parent.top), buttons);
    }

    // --- FrameEditor
    void doIdleStuff() override {
        ++idleCalls;
        if (onIdle) onIdle();
        if (turn < script.size()) {
            platform.input.pointer = script[turn].where;
            platform.input.buttons = script[turn].buttons;
            ++turn;
        } else {
            platform.input.buttons = 0;
        }
    }
    void beginEdit(int32_t index) override { note("begin", index); }
    void endEdit(int32_t index) override { note("end", index); }
    bool requestHostResize(int32_t, int32_t) override { return false; }
    int32_t getKnobMode() const override { return knobMode; }

    // --- CControlListener
    void valueChanged(VSTGUI::CDrawContext*, VSTGUI::CControl* control) override {
        values.push_back(control->getValue());
        note("value", control->getTag());
    }
    int32_t controlModifierClicked(VSTGUI::CDrawContext*, VSTGUI::CControl*, int32_t buttons) override {
        modifierClicks.push_back(buttons);
        return takeModifierClicks;
    }

    Platform platform;
    VSTGUI::CFrame* frame;
    VSTGUI::CDrawContext* context;
    int32_t knobMode = 0;
    int32_t takeModifierClicks = 0;
    std::function<void()> onIdle;  // called at every turn, before the step
    std::vector<PointerStep> script;
    size_t turn = 0;
    int idleCalls = 0;
    std::vector<std::string> log;  // "begin 3", "value 3", "end 3" in order
    std::vector<float> values;     // every valueChanged's value
    std::vector<int32_t> modifierClicks;

private:
    void note(const char* what, int32_t tag) { log.push_back(std::string(what) + " " + std::to_string(tag)); }
};

}  // namespace fake
