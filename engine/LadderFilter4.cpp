#include "engine/LadderFilter4.h"

void LadderFilter4::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    const float u = sample - core_.coefficients.acr * jitter * r * core_.feedbackTap * kFeedbackGain;
    ladder::runStages(y_, ladder::limitInput(u), core_.coefficients.tune);
    const float average = (y_[3] + previousY4_) * 0.5f;
    previousY4_ = y_[3];
    core_.feedbackTap = ladder::shapeOutput(average);
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}
