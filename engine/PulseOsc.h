// PulseOsc: variable-width pulse with band-limited edges.
//
// The pulse is the difference of two ramps of the same frequency: phaseA
// wraps at 1 (a fall of the difference), phaseB wraps when it reaches a
// threshold set by the pulse width (a rise). Once phaseB has been aligned
// with phaseA, each cycle is -0.5 from its start until the cycle fraction
// reaches the threshold and +0.5 for the rest: the low part lasts 10 % of
// the cycle at width 0, 50 % at 0.5 (a square) and 90 % at 1. Each wrap
// splices in a band-limited step of its own sign.
//
// Stepped twice per host sample with the host rate, like SawOsc.
#pragma once

#include "engine/BuiltInFm.h"
#include "engine/DspMath.h"
#include "engine/MinBlepRing.h"

class PulseOsc {
public:
    // Engine construction (not the audio thread).
    PulseOsc(float sampleRate, const MinBlepTable& table)
        : ring_(table), sampleRate_(usableSampleRate(sampleRate)) {}

    // While no audio runs. A plain store; an unusable rate is ignored.
    void setSampleRate(float sampleRate) { sampleRate_ = usableSampleRate(sampleRate, sampleRate_); }

    // Audio thread. How the edges read the step table, from the next edge on.
    void setMode(OscillatorMode mode) { ring_.setMode(mode); }

    // Audio thread (note-on in "trigger" mode). Both phases at the end of a
    // cycle: the next step starts a fresh cycle. The ring is kept.
    void reset() {
        fm_.reset();
        phaseA_ = 1.0f;
        phaseB_ = 1.0f;
    }

    // Audio thread (every note-on). Lines the width ramp up with the cycle
    // ramp, so the pulse has exactly its set width from here on.
    void alignPhases() { phaseB_ = phaseA_; }

    // Audio thread. One oscillator step. f: Hz; fm: FM amount (0 = none);
    // pw: pulse width 0..1 (held there).
    float step(float f, float fm, float pw) {
        // The unit counts half the frequency; f itself stays within the
        // oversampled Nyquist frequency, so edges come at most every other step.
        const float half = limitFrequency(f, sampleRate_) * 0.5f;
        const float g = fm_.apply(half, fm, kFmDepth, sampleRate_ * kFmLimit, sampleRate_);
        const float increment = g / sampleRate_;
        phaseA_ += increment;
        phaseB_ += increment;
        const float threshold = clampUnit(pw) * kWidthSpan + kWidthMinimum;
        if (phaseA_ >= 1.0f && phaseB_ == phaseA_) {
            // Both ramps stood together at the end of a cycle (after a reset,
            // or an alignment past the threshold): the fall and the rise
            // happen at the same instant and cancel, so the pulse starts its
            // cycle low without splicing in either edge.
            phaseA_ -= 1.0f;
            phaseB_ -= 1.0f;
            return phaseA_ + ring_.advance() - phaseB_ - 0.5f;
        }
        if (phaseA_ >= 1.0f) {
            phaseA_ -= 1.0f;
            ring_.addEdge(phaseA_ * sampleRate_ / g, 1.0f);
        }
        if (phaseB_ >= threshold) {
            phaseB_ -= 1.0f;
            // How far phaseB went past the threshold; more than one step when
            // a width change moved the threshold below it, and then the edge
            // is spliced in late (or not at all once past the table).
            float past = phaseB_ + 1.0f - threshold;
            if (past < 0.0f) past = 0.0f;
            ring_.addEdge(past * sampleRate_ / g, -1.0f);
        }
        return phaseA_ + ring_.advance() - phaseB_ - 0.5f;
    }

private:
    static constexpr float kFmDepth = 20.0f;  // as SawOsc
    static constexpr float kFmLimit = 0.25f;  // as SawOsc
    // Width 0..1 maps to a threshold of 0.1..0.9: the pulse never vanishes.
    static constexpr float kWidthSpan = 0.800000012f;
    static constexpr float kWidthMinimum = 0.100000001f;

    MinBlepRing ring_;
    BuiltInFm fm_{0.0f};
    float phaseA_ = 1.0f;  // cycle ramp
    float phaseB_ = 1.0f;  // width ramp
    float sampleRate_;
};
