// MinBlepTable: the minimum-phase band-limited unit step ("minBLEP") that
// SawOsc and PulseOsc splice into their output at every waveform edge.
//
// 500 values, 5 per oscillator step (10 per host sample). Indices 0..408
// hold the rising, overshooting and ringing step; from index 409 on the
// values are exactly 1.0, so an oscillator that reads 80 steps ahead ends
// its correction on a settled step. A minimum-phase step puts all of its
// rise right after the edge (nothing before it), which is what lets an
// oscillator correct an edge the moment it happens, with no look-ahead.
//
// Built once, at start-up, by the classic method (generate() in the .cpp):
// a Kaiser-windowed sinc, made minimum phase through the real cepstrum,
// integrated and normalised. Building allocates; reading never does.
#pragma once

class MinBlepTable {
public:
    static constexpr int kSize = 500;
    static constexpr int kPointsPerStep = 5;  // table points per oscillator step
    static constexpr int kSettledFrom = 409;  // first index that is exactly 1.0

    // Any thread, never the audio thread: builds the table (well under a
    // millisecond; allocates scratch memory).
    MinBlepTable();

    // The table every oscillator of the process shares, built on first use.
    // Call it while constructing the engine, not from the audio thread.
    static const MinBlepTable& shared();

    // Any thread. index must lie in 0..kSize-1.
    float operator[](int index) const { return values_[index]; }

private:
    float values_[kSize];
};
