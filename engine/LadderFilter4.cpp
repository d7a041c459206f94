#include "engine/LadderFilter4.h"

LadderFilter4::LadderFilter4(RandomSource& random) : random_(&random) {
    coefficients_.update(0.0f);
}

void LadderFilter4::process(float& sample, float cutoff, float resonance, bool update) {
    cutoff = clampUnit(cutoff);
    const float r = clampUnit(resonance);
    if (update) coefficients_.update(cutoff);
    const float jitter = 1.0f + static_cast<float>(random_->next()) * kJitterDepth * cutoff;
    const float u = sample - coefficients_.acr * jitter * r * feedbackTap_ * kFeedbackGain;
    ladder::runStages(y_, ladder::limitInput(u), coefficients_.tune);
    const float average = (y_[3] + previousY4_) * 0.5f;
    previousY4_ = y_[3];
    feedbackTap_ = ladder::shapeOutput(average);
    sample = ladder::resonanceGain(r) * feedbackTap_;
}
