// MinBlepRing: the correction buffer of a band-limited oscillator.
//
// A naive saw or pulse jumps at its edges and aliases. When an edge happens,
// the oscillator adds the difference between the ideal jump and the
// band-limited step (MinBlepTable) to the next 80 outputs, which turns the
// jump into the step. The correction is written once per edge (80
// additions); a step without an edge costs one slot clear and one read.
#pragma once

#include "engine/MinBlepTable.h"

class MinBlepRing {
public:
    static constexpr int kLength = 80;  // outputs covered by one edge's correction

    explicit MinBlepRing(const MinBlepTable& table) : table_(&table) {}

    // Audio thread. Splices in an edge of height -sign (sign +1: a fall of
    // 1, -1: a rise of 1). frac: how long ago the edge happened, in steps
    // (0..1 for an edge inside the current step; later positions that run
    // past the table add nothing).
    void addEdge(float frac, float sign) {
        if (!(frac >= 0.0f)) frac = 0.0f;
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

    const MinBlepTable* table_;
    float ring_[kLength] = {};
    int index_ = 0;
};
