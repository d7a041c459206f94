#include "engine/LadderFilter8.h"

void LadderFilter8::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    const float u = sample - core_.coefficients.acr * jitter * core_.feedbackTap * (r * 0.5f) * kFeedbackGain;
    ladder::runStages(y_, ladder::limitInput(u), core_.coefficients.tune);
    core_.feedbackTap = ladder::shapeOutput(delayedY8_);
    delayedY8_ = y_[7];
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}
