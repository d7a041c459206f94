#include "engine/Envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/DspMath.h"

namespace {
// h = 0.12 - 0.1 x knob: from 0.12 (knob 0, fastest) to 0.02 (knob 1).
constexpr float kFastestH = 0.119999997f;
constexpr float kKnobToH = 0.100000001f;
// Offsets that keep the curves moving at level 0: the attack leaves 0 at
// once, decay and release reach 0 instead of creeping towards it.
constexpr float kAttackOffset = 0.200000003f;
constexpr float kFallOffset = 0.0399999991f;
// Speed scales: release is two thirds as fast as decay.
constexpr float kAttackSpeed = 1200.0f;
constexpr float kDecaySpeed = 1200.0f;
constexpr float kReleaseSpeed = 800.0f;
constexpr float kLevelCeiling = std::numeric_limits<float>::max();

float speed(float knob) {
    const float h = kFastestH - knob * kKnobToH;
    return h * h * h * h;
}

// Decay and release: dL/dn = -(L^2 + offset) c; from 1 to 0 that takes
// atan(1 / sqrt(offset)) / (sqrt(offset) c) steps (the steps are small
// beside the level, so the sum follows the integral).
double fallSeconds(float knob, float speedScale, float sampleRate) {
    const double c = 1000.0 / sampleRate * speed(knob) * speedScale;
    const double root = std::sqrt(double(kFallOffset));
    if (!(c > 0.0)) return std::numeric_limits<double>::infinity();
    return std::atan(1.0 / root) / (root * c) / sampleRate;
}
}  // namespace

// The attack: L + offset grows by a factor 1 + c per step, from the offset
// to above 1 + offset.
double Envelope::attackSeconds(float knob, float sampleRate) {
    const float rate = usableSampleRate(sampleRate);
    const double c = 1000.0 / rate * speed(knob) * kAttackSpeed;
    if (!(c > 0.0)) return std::numeric_limits<double>::infinity();
    const double steps = std::ceil(std::log((1.0 + kAttackOffset) / kAttackOffset) / std::log1p(c));
    return std::max(steps, 1.0) / rate;
}

double Envelope::decaySeconds(float knob, float sampleRate) {
    return fallSeconds(knob, kDecaySpeed, usableSampleRate(sampleRate));
}

double Envelope::releaseSeconds(float knob, float sampleRate) {
    return fallSeconds(knob, kReleaseSpeed, usableSampleRate(sampleRate));
}

Envelope::Envelope(float sampleRate) : rate_(1000.0f / usableSampleRate(sampleRate)) {}

float Envelope::step(float attack, float decay, float gate, float sustain, float release) {
    if (!attackDone_) {
        // Not clipped at 1: the step that crosses 1 may leave it a little
        // above, and the decay takes it back.
        level_ = level_ + (level_ + kAttackOffset) * rate_ * speed(attack) * kAttackSpeed;
        if (level_ > 1.0f || gate == 0.0f) attackDone_ = true;
    } else if (level_ > sustain && gate == 1.0f) {
        level_ = level_ - (level_ * level_ + kFallOffset) * rate_ * speed(decay) * kDecaySpeed;
    } else if (gate == 0.0f) {
        level_ = level_ - (level_ * level_ + kFallOffset) * rate_ * speed(release) * kReleaseSpeed;
    }
    // Below 0 becomes 0. Only absurd knob values (far outside 0..1) can
    // overflow the level; a level that is not a finite number becomes 0 too,
    // so the voice still falls idle.
    if (!(level_ >= 0.0f && level_ <= kLevelCeiling)) level_ = 0.0f;
    return level_;
}
