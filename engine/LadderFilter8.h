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

    // Audio thread. The frame of one host sample (two random draws).
    ladder::Frame frame(float cutoff, float resonance) { return core_.frame(cutoff, resonance, kJitterDepth); }

    // Audio thread. Both sub-samples of one host sample, exactly as
    // process(first, cutoff, resonance, true) and then process(second,
    // cutoff, resonance, false) with the frame those values give. The
    // second call's feedback tap is the stage-8 value from before the first
    // call, so its stage k needs only the first call's stage k: done stage
    // by stage, the two chains run side by side in the processor instead of
    // one after the other. Calls between(k) after stage k of both.
    template <typename Between>
    void processPair(float& first, float& second, const ladder::Frame& f, Between&& between) {
        core_.coefficients = f.coefficients;
        const float r = f.resonance;
        const float acr = f.coefficients.acr;
        const float tune = f.coefficients.tune;
        const float tap1 = ladder::shapeOutput(delayedY8_);  // the first call's new tap
        // Saturated inputs of the current stage for the two calls.
        float su1 = ladder::saturateScaled(feedbackInput(first, acr, f.jitter1, core_.feedbackTap, r));
        float su2 = ladder::saturateScaled(feedbackInput(second, acr, f.jitter2, tap1, r));
        float y1 = 0.0f;
        for (int k = 0; k < 8; ++k) {
            float& y = stages_.y[k];
            float& sy = stages_.s[k];
            y1 = ladder::advance(y, sy, su1, tune);  // the first call's new state of this stage
            su1 = ladder::saturateScaled(y1);
            y = ladder::advance(y1, su1, su2, tune);  // the second call's, from it
            su2 = sy = ladder::saturateScaled(y);
            between(k);
        }
        core_.feedbackTap = ladder::shapeOutput(y1);  // the second call's tap: the first call's stage 8
        delayedY8_ = stages_.y[7];
        first = ladder::resonanceGain(r) * tap1;
        second = ladder::resonanceGain(r) * core_.feedbackTap;
    }

private:
    // The first stage's input: the sample minus the resonance feedback.
    static float feedbackInput(float sample, float acr, float jitter, float tap, float r) {
        return ladder::limitInput(sample - acr * jitter * tap * (r * 0.5f) * kFeedbackGain);
    }

    // Jitter depth 0.1/32767: up to 10 % of the cutoff value.
    static constexpr float kJitterDepth = 3.05185108e-06f;
    // Feedback r x 0.5 x 4: a gain of 2r.
    static constexpr float kFeedbackGain = 4.0f;

    ladder::Core core_;
    ladder::Stages<8> stages_;
    float delayedY8_ = 0.0f;
};
