// SineOsc: a plain cosine oscillator with built-in FM.
//
// The phase runs from -pi to pi and advances pi x f / sampleRate per step;
// stepped twice per host sample, the cosine sounds at f. The FM modulator
// advances twice as fast, so it sounds at 2f.
#pragma once

#include <cmath>

#include "engine/BuiltInFm.h"
#include "engine/DspMath.h"

class SineOsc {
public:
    // Engine construction (not the audio thread).
    explicit SineOsc(float sampleRate) : sampleRate_(usableSampleRate(sampleRate)) {}

    // While no audio runs. A plain store; an unusable rate is ignored.
    void setSampleRate(float sampleRate) { sampleRate_ = usableSampleRate(sampleRate, sampleRate_); }

    // Audio thread. One step; f in Hz, fm the FM amount (0 = none). -1..1.
    float step(float f, float fm) {
        f = fm_.apply(f, fm, kFmDepth, kFmLimitHz, sampleRate_);
        phase_ += kPi / (sampleRate_ / f);
        if (phase_ >= kPi) phase_ -= kTwoPi;
        return std::cos(phase_);
    }

private:
    // FM sweeps the frequency up to 21 times f at amount 1, but never above
    // 20 kHz.
    static constexpr float kFmDepth = 10.0f;
    static constexpr float kFmLimitHz = 20000.0f;

    BuiltInFm fm_{-kPi};
    float phase_ = -kPi;
    float sampleRate_;
};
