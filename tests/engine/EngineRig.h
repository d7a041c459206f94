// EngineRig: a SynthEngine driven straight through its ParamBlock, as the
// plug-in drives it, and set up as a plain steady tone for measuring:
// oscillator 1 alone, no sub-oscillator, filter wide open without
// resonance, full sustain, instant attack and release, no glide, LFOs that
// change nothing, full volume. Tests change what they exercise.
#pragma once

#include <cmath>
#include <vector>

#include "engine/ParamBlock.h"
#include "engine/SynthEngine.h"

namespace rig {

constexpr float kRate = 44100.0f;

// Menu entries, as the editor's menus number them.
constexpr float kSaw = 0.0f, kPulse = 1.0f, kTri = 2.0f, kSine = 3.0f;  // WAVEFORMOSC1/2
constexpr float kMode1 = 0.0f, kMode2 = 1.0f, kMode3 = 2.0f;            // PORTAMENTOKEYTRIGGER
constexpr float kTrigger = 0.0f, kFree = 1.0f;                          // LFOxKEYTRIGGER
constexpr float kSync16th = 2.0f, kSyncQuarter = 4.0f;
constexpr float kToCutoff = 0.0f, kToOsc1 = 1.0f, kToLfo2Rate = 10.0f;  // LFOxDESTINATION
constexpr float kLfoSine = 0.0f, kLfoSquare = 3.0f;                     // LFOxWAVEFORM

// 440 x 2^((note - 69) / 12): the frequency a note should sound at.
inline double noteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

struct Voice {
    explicit Voice(float waveform = kSine, float rate = kRate) : engine(rate, params), rate(rate) {
        set(param::kVolume, 1.0f);
        set(param::kMasterPitch, 0.5f);
        set(param::kWaveformOsc1, waveform);
        set(param::kPwOsc1, 0.5f);
        set(param::kWaveformOsc2, kSine);
        set(param::kTuneOsc2, 0.5f);
        set(param::kFineTuneOsc2, 0.5f);
        set(param::kPwOsc2, 0.5f);
        set(param::kCutoff, 1.0f);
        set(param::kKeyFollow, 1.0f);  // opens the filter before the smoother has
        set(param::kSustain, 1.0f);
        set(param::kLfo1KeyTrigger, kFree);  // rate 0: LFO 1 stands still
        set(param::kLfo2KeyTrigger, kFree);  // runs, but at intensity 0 on the cutoff adds 0
    }

    void set(int index, float value) { params.set(index, value); }
    float gate() const { return params.get(ParamBlock::kSlotGate); }
    float note() const { return params.get(ParamBlock::kSlotNote); }

    // n output samples; an idle voice leaves the preset 0 in place.
    std::vector<float> render(size_t n) {
        std::vector<float> out(n, 0.0f);
        for (float& s : out) engine.renderSample(s);
        return out;
    }
    // Skips n samples (the cutoff smoother and envelopes settling).
    void run(size_t n) {
        for (size_t i = 0; i < n; ++i) {
            float s = 0.0f;
            engine.renderSample(s);
        }
    }

    ParamBlock params;
    SynthEngine engine;
    float rate;
};

}  // namespace rig
