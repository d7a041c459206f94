#include "engine/LadderFilter8.h"

void LadderFilter8::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    ladder::runStages(y_, feedbackInput(sample, jitter, core_.feedbackTap, r), core_.coefficients.tune);
    core_.feedbackTap = ladder::shapeOutput(delayedY8_);
    delayedY8_ = y_[7];
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}

void LadderFilter8::processPair(float& first, float& second, float cutoff, float r) {
    const float jitter1 = core_.begin(cutoff, r, true, kJitterDepth);
    const float jitter2 = core_.begin(cutoff, r, false, kJitterDepth);  // held already: unchanged
    const float tap1 = ladder::shapeOutput(delayedY8_);                 // the first call's new tap
    const float tune = core_.coefficients.tune;
    float u1 = feedbackInput(first, jitter1, core_.feedbackTap, r);
    float u2 = feedbackInput(second, jitter2, tap1, r);
    for (float& y : y_) {
        u1 = ladder::advance(y, u1, tune);       // the first call's new state of this stage
        y = u2 = ladder::advance(u1, u2, tune);  // the second call's, from it
    }
    core_.feedbackTap = ladder::shapeOutput(u1);  // the second call's tap: the first call's stage 8
    delayedY8_ = y_[7];
    first = ladder::resonanceGain(r) * tap1;
    second = ladder::resonanceGain(r) * core_.feedbackTap;
}
