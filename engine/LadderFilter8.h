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

    // Audio thread. Both sub-samples of one host sample, exactly as
    // process(first, cutoff, resonance, true) and then process(second,
    // cutoff, resonance, false), with the same random draws in the same
    // order. The second call's feedback tap is the stage-8 value from before
    // the first call, so its stage k needs only the first call's stage k:
    // done stage by stage, the two chains run side by side in the processor
    // instead of one after the other.
    void processPair(float& first, float& second, float cutoff, float resonance);

private:
    // The first stage's input: the sample minus the resonance feedback.
    float feedbackInput(float sample, float jitter, float tap, float r) const {
        return ladder::limitInput(sample - core_.coefficients.acr * jitter * tap * (r * 0.5f) * kFeedbackGain);
    }

    // Jitter depth 0.1/32767: up to 10 % of the cutoff value.
    static constexpr float kJitterDepth = 3.05185108e-06f;
    // Feedback r x 0.5 x 4: a gain of 2r.
    static constexpr float kFeedbackGain = 4.0f;

    ladder::Core core_;
    ladder::Stages<8> stages_;
    float delayedY8_ = 0.0f;
};
