// OscillatorBank: one of the voice's two main oscillators.
//
// Four waveform units, of which only the selected one is stepped; the
// others keep their state, so switching waveforms resumes a unit where it
// stopped. Like every unit in the oversampled section it is stepped twice
// per output sample. Oscillator 1's fifth waveform, noise, has no unit and
// lives in the engine.
#pragma once

#include "engine/MinBlepTable.h"
#include "engine/Choices.h"
#include "engine/PulseOsc.h"
#include "engine/SawOsc.h"
#include "engine/SineOsc.h"
#include "engine/TriOsc.h"

class OscillatorBank {
public:
    // Engine construction (not the audio thread).
    OscillatorBank(float sampleRate, const MinBlepTable& table)
        : sine(sampleRate), tri(sampleRate), saw(sampleRate, table), pulse(sampleRate, table) {}

    // While no audio runs.
    void setSampleRate(float sampleRate) {
        sine.setSampleRate(sampleRate);
        tri.setSampleRate(sampleRate);
        saw.setSampleRate(sampleRate);
        pulse.setSampleRate(sampleRate);
    }

    // Audio thread. The edge waveforms' step reading (MinBlepRing.h).
    void setMode(OscillatorMode mode) {
        saw.setMode(mode);
        pulse.setMode(mode);
    }

    // Audio thread (note-on in "trigger" mode): the edge waveforms start a
    // fresh cycle. Sine and tri are never reset.
    void reset() {
        saw.reset();
        pulse.reset();
    }

    // Audio thread. Steps waveform (a choice::OscWave index) twice and adds
    // the two results, times gain, to first and second. A waveform it does
    // not have (noise, or outside the menu) adds nothing.
    void addTwoSteps(int waveform, float f, float fm, float pw, float gain, float& first, float& second) {
        using choice::OscWave;
        switch (static_cast<OscWave>(waveform)) {
            case OscWave::kSaw:
                first += saw.step(f, fm) * gain;
                second += saw.step(f, fm) * gain;
                break;
            case OscWave::kRec:
                first += pulse.step(f, fm, pw) * gain;
                second += pulse.step(f, fm, pw) * gain;
                break;
            case OscWave::kTri:
                first += tri.step(f, fm) * gain;
                second += tri.step(f, fm) * gain;
                break;
            case OscWave::kSin:
                first += sine.step(f, fm) * gain;
                second += sine.step(f, fm) * gain;
                break;
            default:
                break;
        }
    }

    SineOsc sine;
    TriOsc tri;
    SawOsc saw;
    PulseOsc pulse;
};
