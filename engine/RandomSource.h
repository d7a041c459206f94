// RandomSource: the engine's one source of random numbers.
//
// Uniform integers 0..32767, the range the sound was designed around: the
// LFO's sample-and-hold, the filters' feedback jitter and the noise waveform
// all scale a draw by 1/32767. One instance per engine, handed by reference
// to every unit that draws, so a render is reproducible from its seed.
//
// A 32-bit linear congruential generator; the top 15 bits of its state are
// the draw (the low bits of an LCG repeat with short periods, the high bits
// do not). No allocation, no system call: safe on the audio thread.
#pragma once

#include <cstdint>

class RandomSource {
public:
    static constexpr int kMax = 32767;

    explicit RandomSource(uint32_t seed = kDefaultSeed) : state_(seed) {}

    // Any thread that owns the engine; restarts the sequence.
    void seed(uint32_t seed) { state_ = seed; }

    // Audio thread. Next integer, uniform over 0..kMax.
    int next() {
        state_ = state_ * kMultiplier + kIncrement;
        return static_cast<int>(state_ >> 17);
    }

    // Audio thread. Next draw scaled by 1/32767, uniform over 0..1.
    float nextUnit() { return static_cast<float>(next()) / static_cast<float>(kMax); }

private:
    // Knuth's and Lewis' full-period constants for a 2^32 modulus.
    static constexpr uint32_t kMultiplier = 1664525u;
    static constexpr uint32_t kIncrement = 1013904223u;
    static constexpr uint32_t kDefaultSeed = 22222u;

    uint32_t state_;
};
