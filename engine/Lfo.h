// Lfo: the low-frequency oscillator (the engine owns two).
//
// Reads one of four single-cycle tables of 257 points with linear
// interpolation, or draws a sample-and-hold value. The phase counts table
// steps; the engine writes the increment (steps per output sample) from the
// rate knob or the host tempo and may put the phase back to 0 at note-on.
//
// The phase wraps at 255, not 256: each cycle is 255 steps long and skips
// the table segment from 255 to 256, so an increment of 256 x f / sampleRate
// runs at f x 256/255 Hz, and the saw and square jump back to their start
// value at the wrap.
//
// The sample-and-hold draws afresh on every read whose phase lies in the
// first table step, so each cycle opens with a short burst of new values
// and holds the last one for the rest of the cycle.
#pragma once

#include "engine/Choices.h"
#include "engine/RandomSource.h"

class Lfo {
public:
    // Engine construction or sample-rate change (not the audio thread).
    // Builds the tables; phase 0 and a 1 Hz nominal increment.
    Lfo(float sampleRate, RandomSource& random);
    virtual ~Lfo() = default;

    // Audio thread. The output at the current phase (-1..1), then advances.
    // "noise" is the sample-and-hold; a waveform outside the menu is the
    // sample-and-hold delayed by one draw.
    float read(choice::LfoWave waveform);

    // Table steps in one cycle: an increment of s steps per read runs at
    // s x sampleRate / kCycleSteps Hz.
    static constexpr float kCycleSteps = 255.0f;

    float phase = 0.0f;      // table steps; written by the engine at note-on
    float increment = 0.0f;  // table steps per read; written by the engine
    float sampleRate;        // Hz; read by the engine to compute increments

private:
    static constexpr int kTables = 4;  // "sin", "tri", "saw", "rec"
    static constexpr int kTablePoints = 257;  // 256 steps plus the closing point
    // Phase at which a cycle ends: 255 table steps per cycle.
    static constexpr float kWrap = kCycleSteps;

    float drawBipolar() { return (random_->nextUnit() - 0.5f) * 2.0f; }
    void bringPhaseIntoTable();

    float held_ = 0.0f;          // current sample-and-hold value
    float previousHeld_ = 0.0f;  // the value before the last draw
    RandomSource* random_;
    float tables_[kTables][kTablePoints];
};
