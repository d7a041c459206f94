// SawOsc: falling-edge sawtooth with band-limited edges.
//
// A phase ramps from 0 to 1 once per cycle; the output is the phase minus
// 0.5, so the wave rises from -0.5 to +0.5 and falls back at the wrap. The
// fall is replaced by the minimum-phase band-limited step (MinBlepRing),
// which overshoots a little: outputs are nominally -0.5..+0.5.
//
// The unit is stepped twice per host sample but counts with the plain host
// rate, so the phase moves by f x 0.5 / sampleRate per step and the saw
// sounds at f. Its built-in FM modulator runs at f as well.
#pragma once

#include "engine/BuiltInFm.h"
#include "engine/DspMath.h"
#include "engine/MinBlepRing.h"

class SawOsc {
public:
    // Engine construction (not the audio thread).
    SawOsc(float sampleRate, const MinBlepTable& table)
        : ring_(table), sampleRate_(usableSampleRate(sampleRate)) {}

    // While no audio runs. A plain store; an unusable rate is ignored.
    void setSampleRate(float sampleRate) { sampleRate_ = usableSampleRate(sampleRate, sampleRate_); }

    // Audio thread. How the edges read the step table, from the next edge on.
    void setMode(OscillatorMode mode) { ring_.setMode(mode); }

    // Audio thread (note-on in "trigger" mode). Puts the phase at the end of
    // a cycle so the next step starts a fresh one with a band-limited edge.
    // The ring keeps the corrections already under way.
    void reset() {
        fm_.reset();
        phase_ = 1.0f;
    }

    // Audio thread. One oscillator step. f: frequency in Hz; fm: FM amount
    // (0 or more, 0 = none).
    float step(float f, float fm) {
        // The unit counts half the frequency; f itself stays within the
        // oversampled Nyquist frequency, so edges come at most every other step.
        const float half = limitFrequency(f, sampleRate_) * 0.5f;
        const float g = fm_.apply(half, fm, kFmDepth, sampleRate_ * kFmLimit, sampleRate_);
        phase_ += g / sampleRate_;
        if (phase_ >= 1.0f) {
            phase_ -= 1.0f;
            // phase_ is now the part of this step after the wrap, in cycles;
            // in steps that is phase / (g / sampleRate).
            ring_.addEdge(phase_ * sampleRate_ / g, 1.0f);
        }
        return ring_.advance() + phase_ - 0.5f;
    }

private:
    // FM sweeps the frequency up to 41 times f at amount 1.
    static constexpr float kFmDepth = 20.0f;
    // Modulated g is held at a quarter of the host rate: the saw stays at or
    // below the host's Nyquist frequency.
    static constexpr float kFmLimit = 0.25f;

    MinBlepRing ring_;
    BuiltInFm fm_{0.0f};
    float phase_ = 1.0f;  // cycle fraction; 1.0 = wrap on the next step
    float sampleRate_;
};
