// Pitch to frequency: semitones on the MIDI note scale to Hz.
//
// Note 69 is 440 Hz and each semitone is a twelfth of an octave. The
// exponent is formed in single precision (the offset of 69 taken as 24 and
// then 45, as the sound was tuned) and the power in double precision; the
// result is stored as a float. A pitch so high that the power overflows
// gives infinity, which every caller limits.
#pragma once

#include <cmath>
#include <limits>

// Single-precision 1/12: one semitone in octaves.
constexpr float kOctavesPerSemitone = 0.0833333358f;

inline float pitchToFrequency(float pitch) {
    const float octavesFromA4 = (pitch - 24.0f - 45.0f) * kOctavesPerSemitone;
    return static_cast<float>(440.0 * std::exp2(static_cast<double>(octavesFromA4)));
}

// pitchToFrequency with its last answer remembered: a voice's pitches hold
// still for as long as a note does, and the power is among the costliest
// steps of a sample. Answers exactly what pitchToFrequency answers.
class PitchToFrequencyCache {
public:
    // Audio thread.
    float operator()(float pitch) {
        if (!(pitch == pitch_)) {  // a NaN pitch is never remembered
            pitch_ = pitch;
            frequency_ = pitchToFrequency(pitch);
        }
        return frequency_;
    }

private:
    float pitch_ = std::numeric_limits<float>::quiet_NaN();  // nothing remembered yet
    float frequency_ = 0.0f;
};
