// TriOsc: a triangle-like wave from a cosine with squared phase feedback.
//
// Feeding the squared, smoothed output back into the cosine's phase bends
// it into a wave with mostly odd harmonics (at low pitches the third is
// about a quarter of the first). The bend fades out linearly with frequency
// and is gone from 10 kHz up, where the output is a plain cosine.
//
// The phase advances 2 pi f / sampleRate per step: stepped twice per host
// sample, the wave repeats at 2f, one octave above the other waveforms (and
// so does its FM modulator). The increment glides towards its target with a
// time constant of about 10 steps, so sudden frequency changes (FM included)
// are smoothed; a new unit starts from a standing phase.
#pragma once

#include <cmath>

#include "engine/BuiltInFm.h"
#include "engine/DspMath.h"

class TriOsc {
public:
    // Engine construction (not the audio thread).
    explicit TriOsc(float sampleRate) : sampleRate_(usableSampleRate(sampleRate)) {}

    // While no audio runs. A plain store; an unusable rate is ignored.
    void setSampleRate(float sampleRate) { sampleRate_ = usableSampleRate(sampleRate, sampleRate_); }

    // Audio thread. One step; f in Hz, fm the FM amount (0 = none). -1..1.
    float step(float f, float fm) {
        f = fm_.apply(f, fm, kFmDepth, kFmLimitHz, sampleRate_);
        float shape = (1.0f - f * kShapeFade) * kShapeDepth;
        const float target = kPi / (sampleRate_ * 0.5f) * f;
        increment_ = (target - increment_) * kIncrementSmoothing + increment_;
        if (shape < 0.0f) shape = 0.0f;
        phase_ += increment_;
        if (phase_ >= kPi) phase_ -= kTwoPi;
        output_ = std::cos(feedback_ * feedback_ * shape + phase_);
        feedback_ = output_ * kFeedbackOutput + feedback_ * kFeedbackMemory;
        return output_;
    }

private:
    static constexpr float kFmDepth = 10.0f;       // as SineOsc
    static constexpr float kFmLimitHz = 20000.0f;  // as SineOsc
    // The bend falls linearly from 2.3 at 0 Hz to 0 at 10 kHz.
    static constexpr float kShapeFade = 9.99999975e-05f;
    static constexpr float kShapeDepth = 2.29999995f;
    // One-pole glide of the increment: 10 % of the way per step.
    static constexpr float kIncrementSmoothing = 0.100000001f;
    // Feedback: a leaky mix of the new output and the previous feedback.
    static constexpr float kFeedbackOutput = 0.649999976f;
    static constexpr float kFeedbackMemory = 0.25f;

    BuiltInFm fm_{0.0f};
    float increment_ = 0.0f;  // smoothed phase increment, radians per step
    float phase_ = 0.0f;
    float output_ = 0.0f;
    float feedback_ = 0.0f;
    float sampleRate_;
};
