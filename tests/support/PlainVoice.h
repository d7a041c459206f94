// The plain voice: Ambrell set up as a steady tone for measuring.
// Oscillator 1 alone (a sine unless told otherwise), no sub-oscillator,
// filter wide open and tracking the key, no envelope on the filter, an
// organ-like amplifier envelope (instant attack, full sustain, fastest
// release), no glide, LFOs that change nothing, full volume. Tests change
// what they exercise afterwards.
//
// The same values serve a SynthEngine driven straight through its
// ParamBlock (Voice, as the plug-in drives it) and a loaded module
// (setVoice, through the host's setParameter).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "engine/Choices.h"
#include "engine/ParamBlock.h"
#include "engine/SynthEngine.h"

namespace plain {

constexpr float kRate = 44100.0f;

// 440 x 2^((note - 69) / 12): the frequency a note should sound at.
inline double noteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// The 44 parameter values of the plain voice.
inline std::array<float, param::kCount> values(choice::OscWave waveform = choice::OscWave::kSin) {
    using choice::value;
    std::array<float, param::kCount> v{};
    v[param::kVolume] = 1.0f;
    v[param::kMasterPitch] = 0.5f;  // no offset
    v[param::kWaveformOsc1] = value(waveform);
    v[param::kPwOsc1] = 0.5f;
    v[param::kWaveformOsc2] = value(choice::OscWave::kSin);
    v[param::kTuneOsc2] = 0.5f;
    v[param::kFineTuneOsc2] = 0.5f;
    v[param::kPwOsc2] = 0.5f;
    v[param::kVolumeOsc1Osc2] = 0.0f;  // oscillator 1 only
    v[param::kVolumeSubOsc] = 0.0f;    // sub-oscillator off
    v[param::kCutoff] = 1.0f;
    v[param::kKeyFollow] = 1.0f;  // opens the filter before the cutoff smoother has
    v[param::kSustain] = 1.0f;
    v[param::kLfo1Intensity] = 0.5f;  // the centre: no pitch swing should it run
    // "none" at rate 0: LFO 1 stands still; LFO 2 runs, but at intensity 0
    // on the cutoff it adds 0.
    v[param::kLfo1KeyTrigger] = value(choice::LfoTrigger::kNone);
    v[param::kLfo2KeyTrigger] = value(choice::LfoTrigger::kNone);
    return v;
}

// Sets the plain voice through host.setParameter (a PluginHost or the like).
template <typename Host>
void setVoice(Host& host, choice::OscWave waveform = choice::OscWave::kSin) {
    const auto v = values(waveform);
    for (int i = 0; i < param::kCount; ++i) host.setParameter(i, v[i]);
}

// A SynthEngine set up as the plain voice and driven through its block.
struct Voice {
    explicit Voice(choice::OscWave waveform = choice::OscWave::kSin, float rate = kRate)
        : engine(rate, params), rate(rate) {
        const auto v = values(waveform);
        for (int i = 0; i < param::kCount; ++i) params.set(i, v[i]);
    }

    void set(int index, float value) { params.set(index, value); }
    // A menu entry: set(param::kFilterType, choice::FilterType::kLp24).
    template <typename Entry, typename = std::enable_if_t<std::is_enum_v<Entry>>>
    void set(int index, Entry entry) {
        params.set(index, choice::value(entry));
    }
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

}  // namespace plain
