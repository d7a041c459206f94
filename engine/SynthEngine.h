// SynthEngine: the instrument's one voice.
//
// A monophonic subtractive synthesizer that makes one mono sample each time
// the plug-in asks. It reads the parameters straight from the shared
// ParamBlock on every sample (each value afresh where it is used, so a
// change lands at the next read), keeps the mono note state (sounding
// note, one remembered earlier note, glide offset, bend, velocity) and turns
// note events into voice behaviour: three glide/retrigger modes, envelope
// restarts, LFO and oscillator resets.
//
// Signal path per output sample: oscillator 1 (or noise) through the warmth
// low-pass, plus oscillator 2 and the square sub-oscillator, into the
// selected ladder filter, a gain of 0.8, the half-band decimator, the DC
// blocker, the amplifier envelope and the squared volume. Oscillators and
// filter run at twice the host rate (two sub-samples per output sample);
// glide, LFOs, envelopes, cutoff, DC blocking and gain run once per sample.
//
// The voice stops computing once its key is up and the amplifier envelope
// has reached 0: renderSample then leaves the output untouched and nothing
// advances until the next note-on.
//
// The filter's stages form a chain of dependent divisions that leaves the
// processor mostly waiting. render therefore runs a sample in three parts:
// the front end (everything up to the filter's input, its coefficients and
// random draws, and the amplifier envelope), the filter chain, and the back
// end (decimator, DC blocker, gain). The next sample's front end needs
// nothing from this sample's chain, so its pieces are placed between the
// chain's stages and computed while the chain waits. Every operation and
// every random draw happens on the same values and in the same order of
// draws as one sample after another: the output is the same to the bit, for
// any length of run.
//
// Every unit is held by value: nothing is allocated after construction.
#pragma once

#include "engine/DcBlocker.h"
#include "engine/Envelope.h"
#include "engine/HalfbandDecimator.h"
#include "engine/LadderFilter4.h"
#include "engine/LadderFilter8.h"
#include "engine/Modulation.h"
#include "engine/OscillatorBank.h"
#include "engine/ParamBlock.h"
#include "engine/PitchToFrequency.h"
#include "engine/PulseOsc.h"
#include "engine/RandomSource.h"
#include "engine/TuningTable.h"
#include "engine/WarmthSmoother.h"

class SynthEngine {
public:
    // TUNEOSC2 0..1 spans +-12 whole semitones (the value truncated towards
    // the centre), FINETUNEOSC2 +-1 semitone.
    static constexpr float kCoarseTuneSpan = 24.0f;
    static constexpr float kFineTuneSpan = 2.0f;

    // [main thread] [not while processing] sampleRate in Hz; params must
    // outlive the engine. Sets the sounding note (slot 45) to -1.
    SynthEngine(float sampleRate, ParamBlock& params);
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // [main thread] [not while processing] Retunes the oscillators and replaces
    // both envelopes and both LFOs with fresh ones for the new rate (Hz);
    // filters and note state stay. A rate that is not finite and positive
    // is ignored.
    void setSampleRate(float sampleRate);

    // [audio thread] Before each note-on: the host tempo in beats per minute,
    // read by the next note-on's tempo sync. A non-finite tempo is ignored.
    void setTempo(float bpm);

    // [audio thread] Note 0..127 (others, and keys the tuning leaves
    // unmapped, are ignored), velocity 0..1.
    void noteOn(int note, float velocity);
    // [audio thread] Note 0..127 (others are ignored; so is an unmapped key
    // unless it is the one sounding).
    void noteOff(int note);
    // [audio thread] Bend in semitones; a non-finite bend is ignored.
    void setPitchBend(float semitones);
    // [audio thread] Gate off, no bend, no remembered note; the envelopes
    // release as usual.
    void allNotesOff();

    // [audio thread] Writes the next output sample to out, or leaves out
    // untouched while the voice is idle.
    void renderSample(float& out) { render(&out, 1); }

    // [audio thread] The next n output samples, as n calls of renderSample
    // would give them: samples from the one where the voice is idle on are
    // left untouched. Nothing may change the note state or, on this
    // thread, the parameters during the run: the plug-in renders the frames
    // between two events in one call.
    void render(float* out, int n);

    // [audio thread] Where each key sounds. The sounding note follows a
    // change at its next sample; glide offsets already under way stay.
    TuningTable& tuning() { return tuning_; }
    const TuningTable& tuning() const { return tuning_; }

    // [audio thread] How the saws, pulses and the sub-oscillator read their
    // band-limited step (MinBlepRing.h); classic until told. Takes effect at
    // each oscillator's next edge.
    void setOscillatorMode(OscillatorMode mode);
    OscillatorMode oscillatorMode() const { return oscillatorMode_; }

    // [audio thread] Idle: the key is up and the amplifier has died away.
    // renderSample then writes nothing and nothing advances; only a note-on
    // ends it.
    bool idle() const { return !keyHeld_ && ampEnv_.level() <= 0.0f; }

    // [any thread] How the voice reads its tuning and glide knobs. Semitones
    // added by MASTERPITCH, by TUNEOSC2 (whole ones) and by FINETUNEOSC2;
    // the glide's step in semitones per output sample for PORTAMENTO > 0.
    static float masterPitchSemitones(float masterPitch);
    static float coarseTuneSemitones(float tune);
    static float fineTuneSemitones(float fineTune);
    static float glideStep(float portamento);

    // For tests: the audio thread, or any thread while no audio runs.
    float pitch() const { return pitch_; }  // semitones of the last sample, after glide
    const Envelope& ampEnvelope() const { return ampEnv_; }
    const Envelope& filterEnvelope() const { return filterEnv_; }
    const Modulation& modulation() const { return modulation_; }

private:
    float param(int index) const { return params_.get(index); }
    // The gate: keyHeld_ is the state, slot 46 shows it to readers of the
    // block and the envelopes take it as 1 (held) or 0 (released).
    void setKeyHeld(bool held) {
        keyHeld_ = held;
        params_.set(ParamBlock::kSlotGate, envelopeGate());
    }
    float envelopeGate() const { return keyHeld_ ? 1.0f : 0.0f; }
    // One output sample between its parts: what the front end has worked
    // out for the filter chain and the back end.
    struct Sample {
        float gate;
        float note;   // tuned pitch of the sounding key, before bend and glide
        float pitch;  // glided base pitch
        ModulationTargets m;
        float first;  // the two sub-samples: into the filter, then out of it
        float second;
        bool lp12;    // which filter runs it
        ladder::Frame frame;
        float amp;    // amplifier envelope level
    };

    // The front end in its pieces, each after the one before. start answers
    // false (and does nothing) when the voice is idle.
    bool start(Sample& s);
    void modulate(Sample& s) { modulation_.step(params_, s.m); }
    void oscillator1(Sample& s);
    void oscillator2(Sample& s);
    void subOscillator(Sample& s);
    void prepareFilter(Sample& s);
    void amplifierEnvelope(Sample& s);
    void front(Sample& s);  // the pieces after start, one after another
    // The filter chain of s, calling between(0..7) along it.
    template <typename Between>
    void chain(Sample& s, Between&& between);
    float back(const Sample& s);

    float glide(float pitch);
    float cutoffFor(float cutoffWork, float note, float gate);

    ParamBlock& params_;
    RandomSource random_;  // before every unit that draws from it

    OscillatorBank osc1_;
    OscillatorBank osc2_;
    PulseOsc sub_;
    Envelope filterEnv_;
    Envelope ampEnv_;
    Modulation modulation_;
    LadderFilter4 filter4_;
    LadderFilter8 filter8_;
    DcBlocker dcBlocker_;
    WarmthSmoother warmthA_;  // first sub-sample
    WarmthSmoother warmthB_;  // second sub-sample
    HalfbandDecimator decimator_;
    PitchToFrequencyCache osc1Frequency_;
    PitchToFrequencyCache osc2Frequency_;
    PitchToFrequencyCache subFrequency_;

    // Audio thread only: filled whole by the plug-in between blocks, single
    // keys retuned by tuning messages at their sample.
    TuningTable tuning_ = TuningTable::standard();
    OscillatorMode oscillatorMode_ = OscillatorMode::kClassic;

    float cutoffSmoothed_ = 0.0f;
    float glideOffset_ = 0.0f;  // tuned semitones still to glide: sounding = target - offset
    float pitchBend_ = 0.0f;    // semitones
    float velocity_ = 0.0f;     // of the last note-on, 0..1
    float tempo_ = 0.0f;        // beats per minute
    float pitch_ = 0.0f;        // base pitch of the last sample
    int prevNote_ = -1;         // sounding note when the current one came legato; -1 none
    bool keyHeld_ = false;      // the gate: a key holds the sounding note
};
