// Modulation: the voice's two LFOs and where they are routed.
//
// Each LFO has an intensity, a rate, a waveform, a destination and a
// key-trigger/tempo-sync mode. Every rendered sample the LFO 1 stage and
// then the LFO 2 stage decide whether their LFO runs, set its rate (free
// from the rate knob, 0 to 20 Hz, or kept as the tempo sync left it at
// note-on) and add its scaled output to the sample's working values. LFO 1
// can also slow LFO 2 down ("lfo2 rate"). The working values are set afresh
// every sample, so modulation never accumulates.
//
// Destinations (v the LFO output -1..1, I the intensity 0..1):
//   "cutoff"                 + (v + 1) I^5 / 2, upward only
//   "osc1", "osc2", "osc1/2" pitch + v ((I - 0.5) 2)^5 48 semitones: none at
//                            I = 0.5, +-48 following v at 1, against it at 0
//   "osc1 fm" ... "osc1/2 fm" + (v + 1) I^4 / 2
//   "osc1 pw" ... "osc1/2 pw" + v I^4 / 2
//   "lfo2 rate" (LFO 1 only) LFO 2's free rate x 1 - (v + 1) I^5 / 2
#pragma once

#include "engine/Choices.h"
#include "engine/Lfo.h"
#include "engine/ParamBlock.h"
#include "engine/RandomSource.h"

// The working values of one rendered sample that the LFOs can move.
struct ModulationTargets {
    float cutoff;  // 0..1 before the engine's clamp
    float pitch1;  // semitones
    float pitch2;
    float fm1;
    float fm2;
    float pw1;
    float pw2;
};

class Modulation {
public:
    // Any thread: how the stages read their knobs. The free-running rate in
    // cycles per second for a rate knob; the pitch swing in semitones (at
    // LFO output 1) for an intensity; whether a destination number moves a
    // pitch, or nothing at all (for LFO 1 or LFO 2).
    static double freeRateHz(float knob);
    static float pitchDepthSemitones(float intensity);
    static bool movesPitch(int destination);
    static bool movesNothing(int destination, bool lfo1);

    // Engine construction (not the audio thread). random must outlive this.
    Modulation(float sampleRate, RandomSource& random);

    // While no audio runs. Fresh LFOs for the new rate: phase 0, 1 Hz, held
    // values 0. A synced LFO runs at that 1 Hz until the next note-on.
    void setSampleRate(float sampleRate, RandomSource& random);

    // Audio thread, once per rendered sample: the LFO 1 stage, then LFO 2.
    void step(const ParamBlock& params, ModulationTargets& targets);

    // Audio thread, note-on in LFO 1's "trigger" mode: LFO 1 restarts.
    void restartLfo1() { lfo1_.phase = 0.0f; }

    // Audio thread, last step of every note-on: each LFO in a synced mode
    // takes the tempo's rate (beats per minute) and restarts; LFO 2 in
    // "trigger" mode restarts.
    void noteOn(const ParamBlock& params, float tempo);

    // For tests (the audio thread, or any while no audio runs): the LFOs.
    const Lfo& lfo1() const { return lfo1_; }
    const Lfo& lfo2() const { return lfo2_; }

private:
    void apply(choice::LfoDestination destination, float v, float intensity, ModulationTargets& targets,
               float& lfo2Factor);

    Lfo lfo1_;
    Lfo lfo2_;
};
