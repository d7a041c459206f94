// AEffGUIEditor: an editor whose window content is a VSTGUI frame.
//
// It keeps the window rectangle the host asks for, the frame while the
// editor is open, and the idle pump that controls use while they hold the
// mouse (doIdleStuff): at most every 100 ms it runs the editor's idle, serves
// one waiting paint and gives the host its idle time, during which a host
// idle call skips the frame's redraw pass. The knob mode the host sets is
// one value for every editor of the module.
//
// Threads as AEffEditor's: setParameter [any thread] must not touch the
// frame; construction and destruction [main thread]; everything else
// [ui thread].
#pragma once

#include <cstdint>

#include "plugin/AEffEditor.h"
#include "vstgui/frameeditor.h"

namespace VSTGUI {
class CFrame;
class WindowSystem;
}  // namespace VSTGUI

class AEffGUIEditor : public AEffEditor, public VSTGUI::FrameEditor {
public:
    // windows opens the frame's window and keeps the clock; it must outlive
    // the editor.
    AEffGUIEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows);

    // The address of the rectangle (all zero until a subclass fills it); true.
    bool getRect(ERect** rect) override;
    // Stores the host's window; true. Subclasses build the frame.
    bool open(void* window) override;
    // The frame's idle (its window's events, then the redraw of dirty
    // views), except while doIdleStuff is giving the host its idle time.
    void idle() override;
    // Passed to the frame; true when the frame answers 1.
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    // The frame's wheel at the pointer; no host request reaches it.
    bool onWheel(float distance) override;
    // Stores the mode for every editor; true.
    bool setKnobMode(VstInt32 mode) override;

    // [any thread] The plug-in has stored value as parameter index.
    void setParameter(VstInt32 index, float value) override;
    // [ui thread] From a control's mouse handling: the host hears the start
    // and end of an edit gesture on parameter index.
    void beginEdit(VstInt32 index) override;
    void endEdit(VstInt32 index) override;
    // [ui thread] From inside a control's mouse-tracking loop.
    void doIdleStuff() override;
    // [ui thread] Asks the host to make its window fit width x height; true
    // when the host did.
    bool requestHostResize(int32_t width, int32_t height) override;

    // Milliseconds from the window system's clock.
    uint32_t getTicks();
    // The knob mode last stored through any editor of the module.
    int32_t getKnobMode() const override { return knobMode; }
    VSTGUI::CFrame* getFrame() const { return frame; }

protected:
    VSTGUI::WindowSystem& windowSystem() { return windows_; }

    ERect rect{};
    uint32_t lastTicks;      // doIdleStuff does not run its pass again before this
    bool inIdleStuff = false;
    VSTGUI::CFrame* frame = nullptr;

private:
    VSTGUI::WindowSystem& windows_;
    inline static VstInt32 knobMode = 0;  // kCircularMode until the host sets one
};
