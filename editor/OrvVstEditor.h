// OrvVstEditor: Ambrell's editor, for now without a window.
//
// It has the shape the host expects from the finished editor: the window
// size (600 x 500) is known from construction on, before any open; parameter
// changes from any thread are recorded, never applied to a control on the
// caller's thread, so the GUI thread can bring the controls up to date at its
// next idle. Opening builds nothing yet.
//
// Threads: setParameter may come from any thread (host automation, mapped
// MIDI controllers on the audio thread); everything else runs on the GUI
// thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/AEffEditor.h"

class OrvVstEditor : public AEffEditor {
public:
    static constexpr std::int16_t kWidth = 600;
    static constexpr std::int16_t kHeight = 500;

    explicit OrvVstEditor(AudioEffect* effect);

    bool getRect(ERect** rect) override;
    void idle() override;
    bool setKnobMode(VstInt32 mode) override;
    VstInt32 knobMode() const { return knobMode_; }

    // Any thread: the plug-in has stored value as parameter index. Only
    // records the index (lock-free, no allocation).
    virtual void setParameter(VstInt32 index, float value);

    // GUI thread: the parameters changed since the last call (bit i for
    // parameter i), and forgets them.
    std::uint64_t takeChangedParameters();

private:
    ERect rect_;
    std::atomic<std::uint64_t> changed_{0};
    VstInt32 knobMode_ = 0;
};
