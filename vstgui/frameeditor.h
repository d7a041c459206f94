// FrameEditor: the editor as the toolkit knows it. The frame holds its
// editor (views reach it through getEditor) and calls it through this
// interface alone; AEffGUIEditor implements it, so the toolkit's library
// needs nothing of the editor's.
#pragma once

#include <cstdint>

namespace VSTGUI {

class FrameEditor {
public:
    // The idle pump for controls that hold the mouse.
    virtual void doIdleStuff() = 0;
    // A control's edit gesture on parameter index starts / ends.
    virtual void beginEdit(int32_t index) = 0;
    virtual void endEdit(int32_t index) = 0;
    // The host should make its window fit width x height; true when it did.
    virtual bool requestHostResize(int32_t width, int32_t height) = 0;
    // The host's knob mode: 0 circular (until the host sets one), 2 linear.
    virtual int32_t getKnobMode() const = 0;
    // The window now lies on a screen whose desktop asks for percent (a
    // step of kScaleSteps): the editor may redraw itself at that size.
    virtual void desktopScaleChanged(int32_t percent) { (void)percent; }

protected:
    ~FrameEditor() = default;
};

}  // namespace VSTGUI
