// FrameEditor: what a frame asks of the editor that owns it. AEffGUIEditor
// implements it; the toolkit calls the editor through it alone, so the
// toolkit's library needs nothing of the editor's.
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

protected:
    ~FrameEditor() = default;
};

}  // namespace VSTGUI
