// OrvVstEditor: Ambrell's editor. A 600 x 500 panel (bitmap 128) with 27
// film-strip knobs, 11 pop-up menus and 2 learn switches laid over it as
// ControlLayout places them, each bound to the parameter its tag names,
// and a readout that shows the name and value of the control being
// dragged or last touched.
//
// Two directions of parameter flow:
// - user to host: a control's change reaches valueChanged, which sets the
//   parameter as an automated edit (the host hears it; the control's own
//   begin and end edit frame the gesture);
// - host to controls: the plug-in reports every stored value through
//   setParameter, from any thread. The editor only records the index there
//   (lock-free, no allocation) and the GUI thread applies it at its next
//   idle, before the frame's redraw, so a knob or switch shows a host
//   change after the next idle call. The menus are compared with the
//   parameters on every idle call, after the frame's redraw, and set when
//   the value selects another entry, so they show a change after the
//   second; a menu that shows its entry already is not redrawn. A control
//   is never touched off the GUI thread, so close may destroy them at any
//   time.
//
// The window size is known from construction on, before any open; the
// bitmaps are loaded at open and let go at close.
//
// Threads: setParameter from any thread; everything else on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/AEffGUIEditor.h"
#include "editor/ControlLayout.h"
#include "vstgui/ccontrol.h"

namespace VSTGUI {
class CBitmap;
class CParamDisplay;
}  // namespace VSTGUI

class OrvVstEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int16_t kWidth = 600;
    static constexpr std::int16_t kHeight = 500;
    static constexpr std::int32_t kBackgroundBitmap = layout::kBackgroundBitmap;

    // The editor's window comes from the X11 window system.
    explicit OrvVstEditor(AudioEffect* effect);
    OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows);
    ~OrvVstEditor() override;

    // Opens the frame inside window (the host's X11 window id) and builds the
    // controls from the current parameter values. False, and still closed,
    // when no window can be made there. Opening again first closes the
    // editor where it was.
    bool open(void* window) override;
    // Destroys the frame (and with it every control) and lets go of the
    // bitmaps.
    void close() override;
    // Applies the recorded parameter changes to knobs and switches, runs
    // the frame's idle (skipped inside doIdleStuff's host idle), then
    // refreshes the menus.
    void idle() override;

    // Any thread: records index for the next idle.
    void setParameter(VstInt32 index, float value) override;
    // GUI thread: the parameters changed since the last call (bit i for
    // parameter i), and forgets them. Idle takes them this way.
    std::uint64_t takeChangedParameters();
    // GUI thread: a control's gesture starts; the readout follows it.
    void beginEdit(VstInt32 index) override;

    // GUI thread: a control changed through the user. Tags of 44 and above
    // are no parameter and are ignored.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;

    // While open: the control of table position i (layout::kControls), the
    // readout; none while closed.
    VSTGUI::CControl* getControl(int i) const;
    VSTGUI::CParamDisplay* getReadout() const { return readout_; }
    // The parameter the readout shows, -1 before any control was touched.
    std::int32_t getReadoutParameter() const { return readoutIndex_; }

private:
    VSTGUI::CControl* makeControl(const layout::Control& spec);
    void showInReadout(std::int32_t index);
    // The readout's text function (CParamDisplay's converter with user data).
    static void readoutText(float value, char* text, void* editor);

    // Bitmaps 128 to 131, one reference each while held.
    VSTGUI::CBitmap* bitmaps_[4] = {};
    VSTGUI::CControl* controls_[layout::kControlCount] = {};  // owned by the frame
    VSTGUI::CParamDisplay* readout_ = nullptr;                 // owned by the frame
    std::int32_t readoutIndex_ = -1;
    // The change record: any thread sets its parameter's bit (relaxed
    // fetch_or), the GUI thread takes and clears them all at once (relaxed
    // exchange); a change that races with a take shows in the next one. The
    // value itself is read afresh from the plug-in when the bit is taken.
    std::atomic<std::uint64_t> changed_{0};
};
