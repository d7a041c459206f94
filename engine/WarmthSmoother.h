// WarmthSmoother: the one-pole low-pass that darkens oscillator 1.
//
// y = (1 - k) x + k y_prev, with k = (warmth x 0.98)^4: warmth 0 passes the
// signal unchanged, warmth 1 gives k = 0.9224. The fourth power spreads the
// knob's travel towards the dark end. The engine keeps one smoother per
// sub-sample position, so each runs at the host rate: at warmth 1 the
// corner lies near 570 Hz at 44.1 kHz.
#pragma once

#include <cmath>

class WarmthSmoother {
public:
    // Audio thread, once per output sample. k for a WARMTHOSC1 value.
    static float coefficient(float warmth) {
        const float w = warmth * kWarmthScale;
        return w * w * w * w;
    }

    // Audio thread. Smooths one sub-sample with coefficient k.
    float process(float x, float k) {
        const float y = (1.0f - k) * x + k * state_;
        // A warmth far outside 0..1 gives k above 1, and the recursion
        // grows until it overflows: start again from silence then.
        state_ = std::isfinite(y) ? y : 0.0f;
        return state_;
    }

private:
    // Keeps k below 1 at warmth 1, so the smoother never holds still.
    static constexpr float kWarmthScale = 0.980000019f;

    float state_ = 0.0f;
};
