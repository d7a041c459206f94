// SynthEngine: the instrument's one voice. Placeholder with the final
// interface; it renders silence until the voice is built.
#pragma once

#include "engine/ParamBlock.h"

class SynthEngine {
public:
    // GUI/host thread, no audio running.
    SynthEngine(float sampleRate, ParamBlock& params);
    void setSampleRate(float sampleRate);

    // Audio thread.
    void setTempo(float bpm);
    void noteOn(int note, float velocity);
    void noteOff(int note);
    void setPitchBend(float semitones);
    void allNotesOff();
    void renderSample(float& out);

private:
    ParamBlock& params_;
};
