#include "engine/LadderFilter4.h"

void LadderFilter4::process(float& sample, float cutoff, float r, bool update) {
    const float jitter = core_.begin(cutoff, r, update, kJitterDepth);
    const float u = sample - core_.coefficients.acr * jitter * r * core_.feedbackTap * kFeedbackGain;
    const float y4 = stages_.run(ladder::limitInput(u), core_.coefficients.tune);
    const float average = (y4 + previousY4_) * 0.5f;
    previousY4_ = y4;
    core_.feedbackTap = ladder::shapeOutput(average);
    sample = ladder::resonanceGain(r) * core_.feedbackTap;
}
