// LadderFilter8: the eight-stage ladder low-pass ("LP 24dB").
//
// Eight saturating stages in a chain, resonance feedback of up to twice the
// shaped output (jitter half as deep as the four-stage filter's), and an
// output tap one call late: the stage-8 value of the previous call. See
// LadderCore.h for the shared parts.
#pragma once

#include "engine/LadderCore.h"

class LadderFilter8 {
public:
    // Engine construction (not the audio thread). Draws its jitter from
    // random, which must outlive the filter.
    explicit LadderFilter8(RandomSource& random) : core_(random) {}

    // Audio thread. As LadderFilter4::process.
    void process(float& sample, float cutoff, float resonance, bool update);

private:
    // Jitter depth 0.1/32767: up to 10 % of the cutoff value.
    static constexpr float kJitterDepth = 3.05185108e-06f;
    // Feedback r x 0.5 x 4: a gain of 2r.
    static constexpr float kFeedbackGain = 4.0f;

    ladder::Core core_;
    float y_[8] = {};
    float delayedY8_ = 0.0f;
};
