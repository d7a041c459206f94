// LadderTuning: the frequency a ladder filter rings at, for a cutoff value.
//
// For small signals every stage is a one-pole low-pass whose step covers
// g = tune x thermal x 1.6 / 2 of the distance per call (the saturator's
// slope at 0 is 1/2). The resonance loop rings where the stages and the
// loop's own delay together turn the phase by half a cycle: the four-stage
// filter feeds back the average of its last two outputs one call late
// (1.5 calls of delay), the eight-stage filter its output two calls late.
// That frequency is the filter's corner: the resonant peak at high
// resonance. The filters run at twice the host rate, so it scales with the
// host rate. Not on the audio path: it scans the phase.
#pragma once

#include <cmath>

#include "engine/DspMath.h"
#include "engine/LadderCore.h"

namespace ladder {

// Any thread. cutoff as the engine passes it (held within 0..1),
// eightStages for "LP 24dB"; Hz at the host rate sampleRate.
inline double cornerHz(float cutoff, bool eightStages, float sampleRate) {
    Coefficients c;
    c.update(clampUnit(cutoff));
    const double g = double(c.tune) * kThermal * kStageDrive * 0.5;
    if (!(g > 0.0)) return 0.0;
    const double pole = 1.0 - g;
    const int stages = eightStages ? 8 : 4;
    const double delay = eightStages ? 2.0 : 1.5;
    // Phase lag of the loop at w (radians per call), minus half a cycle.
    const auto excess = [&](double w) {
        return stages * std::atan2(pole * std::sin(w), 1.0 - pole * std::cos(w)) + delay * w - kPiDouble;
    };
    // The first crossing, found on a grid and refined by bisection.
    constexpr int kGrid = 4096;
    double lo = 0.0, hi = kPiDouble;
    for (int i = 1; i <= kGrid; ++i) {
        const double w = kPiDouble * i / kGrid;
        if (excess(w) >= 0.0) {
            hi = w;
            lo = kPiDouble * (i - 1) / kGrid;
            break;
        }
    }
    for (int i = 0; i < 50; ++i) {
        const double mid = 0.5 * (lo + hi);
        (excess(mid) >= 0.0 ? hi : lo) = mid;
    }
    const double filterRate = 2.0 * double(usableSampleRate(sampleRate));
    return 0.5 * (lo + hi) / (2.0 * kPiDouble) * filterRate;
}

}  // namespace ladder
