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
    void process(float& sample, float cutoff, float resonance, bool update) {
        const float jitter = core_.begin(cutoff, resonance, update, kJitterDepth);
        call(sample, core_.coefficients, resonance, jitter, ladder::NothingBetween{}, 0);
    }

    // Audio thread. The frame of one host sample (two random draws).
    ladder::Frame frame(float cutoff, float resonance) { return core_.frame(cutoff, resonance, kJitterDepth); }

    // Audio thread. Both sub-samples of one host sample, exactly as
    // process(first, cutoff, resonance, true) and then process(second,
    // cutoff, resonance, false) with the frame those values give; calls
    // between(0..3) after the first call's stages and between(4..7) after
    // the second's.
    template <typename Between>
    void processPair(float& first, float& second, const ladder::Frame& f, Between&& between) {
        core_.coefficients = f.coefficients;
        call(first, f.coefficients, f.resonance, f.jitter1, between, 0);
        call(second, f.coefficients, f.resonance, f.jitter2, between, 4);
    }

private:
    // One call: r held within 0..1, jitter drawn for it.
    template <typename Between>
    void call(float& sample, const ladder::Coefficients& c, float r, float jitter, Between&& between, int first) {
        const float u = sample - c.acr * jitter * r * core_.feedbackTap * kFeedbackGain;
        const float y4 = stages_.run(ladder::limitInput(u), c.tune, between, first);
        const float average = (y4 + previousY4_) * 0.5f;
        previousY4_ = y4;
        core_.feedbackTap = ladder::shapeOutput(average);
        sample = ladder::resonanceGain(r) * core_.feedbackTap;
    }

    // Jitter depth 0.2/32767: the feedback gain varies by up to 20 % of the
    // cutoff value.
    static constexpr float kJitterDepth = 6.10370216e-06f;
    static constexpr float kFeedbackGain = 4.0999999f;

    ladder::Core core_;
    ladder::Stages<4> stages_;
    float previousY4_ = 0.0f;
};
