// BuiltInFm: the sine modulator inside every oscillator.
//
// Each oscillator can modulate its own frequency with an internal sine whose
// frequency follows the carrier's. The modulation only raises the frequency:
// the carrier sweeps between f and (1 + 2 x depth x amount) x f once per
// modulator cycle, and is held at a limit so it never passes the rate the
// unit can represent.
#pragma once

#include <cmath>

#include "engine/DspMath.h"

class BuiltInFm {
public:
    explicit BuiltInFm(float startPhase) : phase_(startPhase) {}

    // Audio thread. Back to the start of a modulator cycle.
    void reset() { phase_ = 0.0f; }

    // Audio thread, once per oscillator step. The frequency the unit runs
    // at: f (Hz, as the unit counts it) held within 0..sampleRate, then, if
    // amount > 0, swept by the modulator and held at limit (and at
    // sampleRate). depth: the unit's FM depth.
    float apply(float f, float amount, float depth, float limit, float sampleRate) {
        f = limitFrequency(f, sampleRate);
        if (amount > 0.0f) {
            f = modulate(f, amount, depth, limit < sampleRate ? limit : sampleRate, sampleRate);
        }
        return f;
    }

private:
    float modulate(float f, float amount, float depth, float limit, float sampleRate) {
        phase_ += kPi * f / (sampleRate * 0.5f);
        f = ((std::sin(phase_) + 1.0f) * amount * depth + 1.0f) * f;
        // Written as "not below" so that a NaN from an infinite amount is
        // held at the limit too.
        if (!(f <= limit)) f = limit;
        if (phase_ > kTwoPi) phase_ -= kTwoPi;
        return f;
    }

    float phase_;  // radians
};
