// LadderFilter4: the four-stage ladder low-pass ("LP 12dB").
//
// Four saturating stages in a chain, resonance feedback of up to 4.1 times
// the shaped output (with a little random jitter that grows with the
// cutoff), and an output tap that averages the last two stage-4 values, a
// half-step delay that keeps the loop stable at high cutoffs. See
// LadderCore.h for the shared parts.
#pragma once

#include "engine/LadderCore.h"

class LadderFilter4 {
public:
    // Engine construction (not the audio thread). Draws its jitter from
    // random, which must outlive the filter.
    explicit LadderFilter4(RandomSource& random) : core_(random) {}

    // Audio thread. Filters one oversampled sub-sample in place. cutoff and
    // resonance 0..1 (held there); update: recompute the coefficients (the
    // first of the two calls per host sample).
    void process(float& sample, float cutoff, float resonance, bool update);

private:
    // Jitter depth 0.2/32767: the feedback gain varies by up to 20 % of the
    // cutoff value.
    static constexpr float kJitterDepth = 6.10370216e-06f;
    static constexpr float kFeedbackGain = 4.0999999f;

    ladder::Core core_;
    ladder::Stages<4> stages_;
    float previousY4_ = 0.0f;
};
