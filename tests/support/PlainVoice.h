// Ambrell set up as a plain, steady tone for measuring: oscillator 1 alone
// (a sine unless told otherwise), no sub-oscillator, filter wide open and
// tracking the key, no envelope on the filter, an organ-like amplifier
// envelope (instant attack, full sustain, fastest release), no glide, no
// LFO, full volume. Any parameter can be changed afterwards.
#pragma once

#include "engine/ParamBlock.h"
#include "host/PluginHost.h"

namespace plain {

constexpr float kSine = 3.0f;  // WAVEFORMOSC1 entry "sin"
constexpr float kSaw = 0.0f;   // entry "saw"

inline void setVoice(PluginHost& host, float waveform = kSine) {
    float v[param::kCount] = {};
    v[param::kVolume] = 1.0f;
    v[param::kMasterPitch] = 0.5f;  // no offset
    v[param::kWaveformOsc1] = waveform;
    v[param::kPwOsc1] = 0.5f;
    v[param::kWaveformOsc2] = kSine;
    v[param::kTuneOsc2] = 0.5f;
    v[param::kFineTuneOsc2] = 0.5f;
    v[param::kPwOsc2] = 0.5f;
    v[param::kVolumeOsc1Osc2] = 0.0f;  // oscillator 1 only
    v[param::kVolumeSubOsc] = 0.0f;    // sub-oscillator off
    v[param::kCutoff] = 1.0f;
    v[param::kKeyFollow] = 1.0f;  // opens the filter from the first sample on
    v[param::kSustain] = 1.0f;
    v[param::kLfo1Intensity] = 0.5f;     // the centre: no pitch swing
    v[param::kLfo1KeyTrigger] = 1.0f;    // "none": with rate 0, LFO 1 stands still
    v[param::kLfo2KeyTrigger] = 1.0f;
    for (int i = 0; i < param::kCount; ++i) host.setParameter(i, v[i]);
}

}  // namespace plain
