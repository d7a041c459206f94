// MinBlepRing: the correction buffer of a band-limited oscillator.
//
// A naive saw or pulse jumps at its edges and aliases. When an edge happens,
// the oscillator adds the difference between the ideal jump and the
// band-limited step (MinBlepTable) to the next 80 outputs, which turns the
// jump into the step. The correction is written once per edge (80
// additions); a step without an edge costs one slot clear and one read.
//
// Two ways of reading the table at an edge's position between its points.
// Classic takes the nearest point: the instrument's own sound, whose timing
// error leaves alias about 31-38 dB down on high notes. Clean interpolates
// linearly between the two neighbouring points, which takes the alias below
// -60 dB; it walks the table in whole points and stops where the step has
// settled, so it costs no more than classic. The choice is made per edge.
#pragma once

#include "engine/MinBlepTable.h"

// How band-limited oscillators read their step: a per-instance choice.
enum class OscillatorMode : int { kClassic = 0, kClean = 1 };

class MinBlepRing {
public:
    static constexpr int kLength = 80;  // outputs covered by one edge's correction

    explicit MinBlepRing(const MinBlepTable& table) : table_(&table) {}

    // Audio thread. From the next edge on; corrections under way stay.
    void setMode(OscillatorMode mode) { clean_ = mode == OscillatorMode::kClean; }

    // Audio thread. Splices in an edge of height -sign (sign +1: a fall of
    // 1, -1: a rise of 1). frac: how long ago the edge happened, in steps
    // (0..1 for an edge inside the current step; later positions that run
    // past the table add nothing).
    void addEdge(float frac, float sign) {
        if (!(frac >= 0.0f)) frac = 0.0f;
        if (clean_) return addInterpolatedEdge(frac, sign);
        int slot = index_;
        for (int i = 0; i < kLength; ++i) {
            const float position = (static_cast<float>(i) + frac) * kPointsPerStep + 0.5f;
            if (!(position < static_cast<float>(MinBlepTable::kSize))) break;
            ring_[slot] += sign - (*table_)[static_cast<int>(position)] * sign;
            if (++slot == kLength) slot = 0;
        }
    }

    // Audio thread. Clears the slot of the step just finished, moves on and
    // returns the correction for the current output.
    float advance() {
        ring_[index_] = 0.0f;
        if (++index_ == kLength) index_ = 0;
        return ring_[index_];
    }

private:
    static constexpr float kPointsPerStep = static_cast<float>(MinBlepTable::kPointsPerStep);

    // Output i reads the table at (i + frac) x kPointsPerStep: whole points
    // apart, so every output shares the first one's place between points.
    // From the settled point on the step is 1 and corrects nothing.
    void addInterpolatedEdge(float frac, float sign) {
        const float start = frac * kPointsPerStep;
        if (!(start < static_cast<float>(MinBlepTable::kSettledFrom))) return;
        const int first = static_cast<int>(start);
        const float between = start - static_cast<float>(first);
        int slot = index_;
        const int end = first + kLength * MinBlepTable::kPointsPerStep;
        const int last = end < MinBlepTable::kSettledFrom ? end : MinBlepTable::kSettledFrom;
        for (int point = first; point < last; point += MinBlepTable::kPointsPerStep) {
            const float low = (*table_)[point];
            const float step = low + ((*table_)[point + 1] - low) * between;
            ring_[slot] += sign - step * sign;
            if (++slot == kLength) slot = 0;
        }
    }

    const MinBlepTable* table_;
    float ring_[kLength] = {};
    int index_ = 0;
    bool clean_ = false;
};
