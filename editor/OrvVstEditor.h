// OrvVstEditor: Ambrell's editor. For now it shows the background picture
// (bitmap 128) in a 600 x 500 frame; the controls come later.
//
// The window size is known from construction on, before any open. Parameter
// changes from any thread are only recorded (lock-free, no allocation) and
// taken by the GUI thread at its next idle, which is where the controls
// will be brought up to date: a control is never touched on the caller's
// thread, so close may destroy them at any time.
//
// Threads: setParameter from any thread; everything else on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/AEffGUIEditor.h"

namespace VSTGUI {
class CBitmap;
}

class OrvVstEditor : public AEffGUIEditor {
public:
    static constexpr std::int16_t kWidth = 600;
    static constexpr std::int16_t kHeight = 500;
    static constexpr std::int32_t kBackgroundBitmap = 128;

    // The editor's window comes from the X11 window system.
    explicit OrvVstEditor(AudioEffect* effect);
    OrvVstEditor(AudioEffect* effect, VSTGUI::WindowSystem& windows);
    ~OrvVstEditor() override;

    // Opens the frame inside window (the host's X11 window id). False, and
    // still closed, when no window can be made there. Opening again first
    // closes the editor where it was.
    bool open(void* window) override;
    // Destroys the frame (and its window) and lets go of the bitmaps.
    void close() override;
    // Takes the recorded parameter changes, then the frame's idle.
    void idle() override;

    // Any thread: records index for the next idle.
    void setParameter(VstInt32 index, float value) override;
    // GUI thread: the parameters changed since the last call (bit i for
    // parameter i), and forgets them.
    std::uint64_t takeChangedParameters();

private:
    VSTGUI::CBitmap* background_ = nullptr;  // one reference while held
    // The change record: any thread sets its parameter's bit (relaxed
    // fetch_or), the GUI thread takes and clears them all at once (relaxed
    // exchange); a change that races with a take shows in the next one.
    std::atomic<std::uint64_t> changed_{0};
};
