#include "engine/LadderFilter8.h"

LadderFilter8::LadderFilter8(RandomSource& random) : random_(&random) {
    coefficients_.update(0.0f);
}

void LadderFilter8::process(float& sample, float cutoff, float resonance, bool update) {
    cutoff = clampUnit(cutoff);
    const float r = clampUnit(resonance);
    if (update) coefficients_.update(cutoff);
    const float jitter = 1.0f + static_cast<float>(random_->next()) * kJitterDepth * cutoff;
    const float u = sample - coefficients_.acr * jitter * feedbackTap_ * (r * 0.5f) * kFeedbackGain;
    ladder::runStages(y_, ladder::limitInput(u), coefficients_.tune);
    feedbackTap_ = ladder::shapeOutput(delayedY8_);
    delayedY8_ = y_[7];
    sample = ladder::resonanceGain(r) * feedbackTap_;
}
