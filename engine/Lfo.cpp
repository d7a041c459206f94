#include "engine/Lfo.h"

#include <cmath>

#include "engine/DspMath.h"

namespace {
// Single-precision 1/255: the saw rises from -1 to exactly +1 at index 255.
constexpr float kSawSlope = 0.00392156886f;
// A nominal cycle is 256 table steps.
constexpr float kStepsPerCycle = 256.0f;

using choice::index;
using choice::LfoWave;
constexpr int kSine = index(LfoWave::kSin);
constexpr int kTriangle = index(LfoWave::kTri);
constexpr int kSaw = index(LfoWave::kSaw);
constexpr int kSquare = index(LfoWave::kRec);
}  // namespace

Lfo::Lfo(float rate, RandomSource& random) : sampleRate(usableSampleRate(rate)), random_(&random) {
    increment = kStepsPerCycle / sampleRate;
    // The sine is computed in extended precision and stored as float.
    const long double pi = 4.0L * std::atan(1.0L);
    for (int i = 0; i < kTablePoints; ++i) {
        tables_[kSine][i] = static_cast<float>(std::sin(2.0L * pi * i / 256.0L));
    }
    for (int k = 0; k < 64; ++k) {
        const float up = static_cast<float>(k) / 64.0f;
        tables_[kTriangle][k] = up;
        tables_[kTriangle][64 + k] = 1.0f - up;
        tables_[kTriangle][128 + k] = -up;
        tables_[kTriangle][192 + k] = up - 1.0f;
    }
    tables_[kTriangle][256] = 0.0f;
    for (int i = 0; i < 256; ++i) {
        tables_[kSaw][i] = static_cast<float>(i) * kSawSlope * 2.0f - 1.0f;
        tables_[kSquare][i] = i < 128 ? 1.0f : -1.0f;
    }
    tables_[kSaw][256] = -1.0f;
    tables_[kSquare][256] = 1.0f;
}

float Lfo::read(LfoWave waveform) {
    if (phase > kWrap) phase -= kWrap;
    // Only an increment that is negative, NaN or more than a cycle per read
    // gets here; the table index must stay within 0..255 whatever it is.
    if (!(phase >= 0.0f && phase <= kWrap)) bringPhaseIntoTable();
    const int i = static_cast<int>(phase);
    const float frac = phase - static_cast<float>(i);
    phase += increment;

    if (index(waveform) >= kSine && index(waveform) <= kSquare) {
        const float* table = tables_[index(waveform)];
        return (1.0f - frac) * table[i] + frac * table[i + 1];
    }
    if (waveform == LfoWave::kNoise) {
        if (i == 0) held_ = drawBipolar();
        return held_;
    }
    if (i == 0) {
        previousHeld_ = held_;
        held_ = drawBipolar();
    }
    return previousHeld_;
}

void Lfo::bringPhaseIntoTable() {
    if (!std::isfinite(phase)) {
        phase = 0.0f;
        return;
    }
    phase = std::fmod(phase, kWrap);
    if (phase < 0.0f) phase += kWrap;
    if (!(phase >= 0.0f && phase <= kWrap)) phase = 0.0f;  // rounding of a tiny negative
}
