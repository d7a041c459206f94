// Shared constants and input limits of the DSP units.
//
// The units compute in single precision with the constants the sound was
// tuned with. The limits below are what keeps a unit's arithmetic inside
// its tables and its phases bounded whatever a caller passes: the engine's
// own clamps make them no-ops for every value it sends.
#pragma once

constexpr float kPi = 3.14159274f;     // pi as the nearest float
constexpr float kTwoPi = 6.28318548f;  // 2 pi as the nearest float
// pi in double precision, for the work off the audio path (tunings, display
// texts); M_PI is no standard C++ and missing from some C libraries.
constexpr double kPiDouble = 3.14159265358979323846;

// Rate a unit falls back to when it is given no usable one (0, negative,
// NaN, infinite): the customary default of VST hosts.
constexpr float kFallbackSampleRate = 44100.0f;

// A sample rate the units can divide by: finite and positive, else fallback.
inline float usableSampleRate(float rate, float fallback = kFallbackSampleRate) {
    return rate > 0.0f && rate <= 3.4e38f ? rate : fallback;
}

// x limited to 0..1; NaN becomes 0.
inline float clampUnit(float x) {
    if (!(x > 0.0f)) return 0.0f;
    return x < 1.0f ? x : 1.0f;
}

// An oscillator frequency limited to 0..sampleRate, the Nyquist frequency of
// the twice-oversampled stream the units run in; NaN becomes 0. Within it
// no phase moves by more than one cycle per step, so one wrap per step
// keeps the phases bounded and each edge falls inside the current step.
inline float limitFrequency(float f, float sampleRate) {
    if (!(f > 0.0f)) return 0.0f;
    return f < sampleRate ? f : sampleRate;
}

// Parameter values arrive exactly as the host stored them, so a choice or a
// count can be any float. Converting a float beyond the int range is
// undefined, so those (and NaN) become -1, which no menu uses; every other
// value is truncated toward zero as usual.
inline int truncateIndex(float x) {
    constexpr float kIntLimit = 2147483648.0f;  // 2^31
    return (x > -kIntLimit && x < kIntLimit) ? static_cast<int>(x) : -1;
}

// x truncated toward zero, as a float, for any x: from 2^23 on every float
// is whole already, so only smaller ones go through an int.
inline float truncateWhole(float x) {
    constexpr float kWholeFrom = 8388608.0f;  // 2^23
    return (x > -kWholeFrom && x < kWholeFrom) ? static_cast<float>(static_cast<int>(x)) : x;
}

// max(x, 0) with NaN taken as 0.
inline float atLeastZero(float x) { return x > 0.0f ? x : 0.0f; }
