#include "engine/LadderFilter8.h"

void LadderFilter8::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    const float y8 = stages_.run(feedbackInput(sample, jitter, core_.feedbackTap, r), core_.coefficients.tune);
    core_.feedbackTap = ladder::shapeOutput(delayedY8_);
    delayedY8_ = y8;
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}

void LadderFilter8::processPair(float& first, float& second, float cutoff, float r) {
    const float jitter1 = core_.begin(cutoff, r, true, kJitterDepth);
    const float jitter2 = core_.begin(cutoff, r, false, kJitterDepth);  // held already: unchanged
    const float tap1 = ladder::shapeOutput(delayedY8_);                 // the first call's new tap
    const float tune = core_.coefficients.tune;
    // Saturated inputs of the current stage for the two calls.
    float su1 = ladder::saturateScaled(feedbackInput(first, jitter1, core_.feedbackTap, r));
    float su2 = ladder::saturateScaled(feedbackInput(second, jitter2, tap1, r));
    float y1 = 0.0f;
    for (int k = 0; k < 8; ++k) {
        float& y = stages_.y[k];
        float& sy = stages_.s[k];
        y1 = ladder::advance(y, sy, su1, tune);  // the first call's new state of this stage
        su1 = ladder::saturateScaled(y1);
        y = ladder::advance(y1, su1, su2, tune);  // the second call's, from it
        su2 = sy = ladder::saturateScaled(y);
    }
    core_.feedbackTap = ladder::shapeOutput(y1);  // the second call's tap: the first call's stage 8
    delayedY8_ = stages_.y[7];
    first = ladder::resonanceGain(r) * tap1;
    second = ladder::resonanceGain(r) * core_.feedbackTap;
}
