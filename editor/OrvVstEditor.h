// OrvVstEditor: Ambrell's editor. A 600 x 500 panel (bitmap 128) with 29
// film-strip knobs, 11 pop-up menus and 2 learn switches laid over it as
// ControlLayout places them, each bound to the parameter its tag names; a
// readout at the foot that shows the current program, or the words and
// value of the control being moved; and a panel menu on a right click on
// the background (knob behaviour, programs, tunings, oscillator mode,
// about). The player's
// choices there are kept in UserSettings, read when the editor opens.
//
// Two directions of parameter flow:
// - user to host: a control's change reaches valueChanged, which sets the
//   parameter as an automated edit (the host hears it; the control's own
//   begin and end edit frame the gesture);
// - host to controls: the plug-in reports every stored value through
//   setParameter, from any thread. The editor only records the index there
//   (lock-free, no allocation) and the ui thread applies it at its next
//   idle, before the frame's redraw, so a knob or switch shows a host
//   change after the next idle call. The menus are compared with the
//   parameters on every idle call, after the frame's redraw, and set when
//   the value selects another entry, so they show a change after the
//   second; a menu that shows its entry already is not redrawn. A control
//   is never touched off the ui thread, so close may destroy them at any
//   time.
// Programs go the host's way: a choice on the panel selects it as
// effSetProgram does and tells the host (updateDisplay); a program change
// from the host shows in the readout at the next idle.
//
// The panel's size is known from construction on; the window's is the
// panel at the editor's scale, the first found of: the player's choice
// (settings), the host's (setHostScale), the desktop's, 100 %. The bitmaps
// are loaded at open and let go at close. The window comes from the
// toolkit's platform layer (X11 on Linux, Win32 on Windows).
//
// Threads: setParameter [any thread]; construction and destruction [main
// thread]; everything else [ui thread].
#pragma once

#include <atomic>
#include <cstdint>
#include <iterator>

#include "editor/AEffGUIEditor.h"
#include "editor/ControlLayout.h"
#include "editor/TuningMenu.h"
#include "editor/UserSettings.h"
#include "vstgui/ccontrol.h"

namespace VSTGUI {
class CBitmap;
class COptionMenu;
}  // namespace VSTGUI
class PanelMenu;
class PanelReadout;

class OrvVstEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int16_t kWidth = 600;
    static constexpr std::int16_t kHeight = 500;
    static constexpr std::int32_t kBackgroundBitmap = layout::kBackgroundBitmap;
    // How long the readout keeps a control's words after its gesture ends.
    static constexpr std::uint32_t kReadoutHoldMs = 1500;
    // The settings key of the knob behaviour and its values.
    static constexpr const char* kKnobsKey = "knobs";
    static constexpr const char* kKnobsCircular = "circular";
    static constexpr const char* kKnobsVertical = "vertical";
    // The settings key of the editor's size: a percentage of kScaleSteps.
    static constexpr const char* kSizeKey = "editor-size";
    // The environment variable through which a host without a scale call of
    // its own (orv-host --scale) gives the editor's scale in percent.
    static constexpr const char* kScaleVariable = "AMBRELL_EDITOR_SCALE";

    // The editor's window comes from the platform's window system.
    explicit OrvVstEditor(AudioEffect* effect);
    OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows);
    ~OrvVstEditor() override;

    // Opens the frame inside window (the host's window) and builds the
    // controls from the current parameter values; reads the player's
    // settings. False, and still closed, when no window can be made there.
    // Opening again first closes the editor where it was.
    bool open(void* window) override;
    // The window's rectangle: the panel at the scale the editor opens at
    // (or is open at).
    bool getRect(ERect** rect) override;
    // [ui thread] The host's scale for the editor in percent (any format's
    // scale call comes here); one that is not an offered size is none. Takes
    // effect at the next open.
    void setHostScale(int32_t percent);
    // The scale the editor opens or is open at, as the last open or getRect
    // found it.
    int32_t getScale() const { return scale_; }

    // Destroys the frame (and with it every control) and lets go of the
    // bitmaps.
    void close() override;
    // Applies the recorded parameter changes to knobs and switches, runs
    // the frame's idle (skipped inside doIdleStuff's host idle), then
    // refreshes the menus and the readout.
    void idle() override;

    // [any thread] Records index for the next idle.
    void setParameter(VstInt32 index, float value) override;
    // [ui thread] The parameters changed since the last call (bit i for
    // parameter i), and forgets them. Idle takes them this way.
    std::uint64_t takeChangedParameters();
    // [ui thread] A control's gesture starts or ends; the host hears it for
    // parameters only, and the readout follows it.
    void beginEdit(VstInt32 index) override;
    void endEdit(VstInt32 index) override;
    // The host's knob mode, unless the player chose vertical dragging.
    int32_t getKnobMode() const override;
    // [ui thread] The window moved to a screen of another density: without
    // the player's or the host's size the editor follows it, asking the
    // host at the next idle as a size chosen in the panel menu does.
    void desktopScaleChanged(int32_t percent) override;

    // [ui thread] A control changed through the user: a parameter (tags of
    // 44 and above are none), a program or a panel menu choice.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;

    // While open: the control of table position i (layout::kControls), the
    // readout; none while closed.
    VSTGUI::CControl* getControl(int i) const;
    PanelReadout* getReadout() const { return readout_; }
    // The parameter the readout shows or showed last, -1 before any
    // control was touched.
    std::int32_t getReadoutParameter() const { return readoutIndex_; }

private:
    VSTGUI::CControl* makeControl(const layout::Control& row);
    VSTGUI::CBitmap* bitmap(int32_t id) const;
    void showInReadout(std::int32_t index);
    void refreshReadout();
    void refreshDepthStrips();
    // Fills menu with the programs, "03  Acid Bass", the current one current;
    // with currentOnly, brings only the current program's entry up to date
    // unless another program became current.
    void listPrograms(VSTGUI::COptionMenu& menu, bool currentOnly = false);
    void selectProgram(std::int32_t program);
    void openPanelMenu(VSTGUI::CDrawContext* context, const VSTGUI::CPoint& where);
    void choosePanelItem(int32_t position);
    void setVerticalKnobs(bool vertical);
    // The first found of the player's, the host's and the desktop's scale
    // (for an editor inside parent, the host's window; none: the last one
    // opened in); fills rect with the panel at it.
    void chooseScale(const UserSettings& settings, void* parent);
    // The player chose size position of kScaleSteps: saved, and asked of
    // the host at the next idle; a host that refuses keeps the window as it
    // is until the editor opens again.
    void chooseSize(int32_t position);
    void applyPendingScale();
    void chooseTuning(int32_t entry);
    void chooseOscillators(OscillatorMode mode);

    VSTGUI::CBitmap* bitmaps_[std::size(layout::kBitmapIds)] = {};  // one reference each while held
    VSTGUI::CControl* controls_[layout::kControlCount] = {};         // owned by the frame
    PanelReadout* readout_ = nullptr;                                // owned by the frame
    PanelMenu* panelMenu_ = nullptr;                                 // owned by the frame
    std::int32_t readoutIndex_ = -1;
    std::int32_t editing_ = -1;     // the parameter whose gesture runs
    std::uint32_t holdUntil_ = 0;   // ticks: the readout shows the program again
    UserSettings settings_;
    TuningMenu tunings_;
    bool verticalKnobs_ = false;
    std::int16_t panelWidth_ = kWidth;
    std::int16_t panelHeight_ = kHeight;
    std::int32_t scale_ = 100;
    std::int32_t hostScale_ = 0;     // none
    std::int32_t pendingScale_ = 0;  // none
    // The desktop's answer for desktopParent_, -1 when not asked yet: the
    // answer costs a connection on X11.
    std::int32_t desktopScale_ = -1;
    void* desktopParent_ = nullptr;
    // The change record: any thread sets its parameter's bit (relaxed
    // fetch_or), the ui thread takes and clears them all at once (relaxed
    // exchange); a change that races with a take shows in the next one. The
    // value itself is read afresh from the plug-in when the bit is taken.
    std::atomic<std::uint64_t> changed_{0};
};
