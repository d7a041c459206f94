#include "engine/LadderFilter8.h"

void LadderFilter8::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    const float y8 = stages_.run(feedbackInput(sample, core_.coefficients.acr, jitter, core_.feedbackTap, r),
                                 core_.coefficients.tune);
    core_.feedbackTap = ladder::shapeOutput(delayedY8_);
    delayedY8_ = y8;
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}
