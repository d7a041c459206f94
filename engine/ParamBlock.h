// ParamBlock: the 47 floats shared by the plug-in object and the engine.
//
// Entries 0..43 are the parameter values exactly as the host or editor set
// them (no scaling, no clamping); 45 is the sounding note (-1 before the
// first note) and 46 the gate, both written by the engine; 44 is unused.
//
// Any host thread may store a parameter while the audio thread renders, so
// every entry is a relaxed atomic: a plain aligned 32-bit move on x86, never
// a lock. Callers check indexes; the block itself does not.
#pragma once

#include <atomic>

namespace param {
// Parameter indexes, in the host-visible order.
enum Index : int {
    kVolume = 0,
    kMasterPitch,
    kWarmthOsc1,
    kWaveformOsc1,
    kPwOsc1,
    kFmOsc1,
    kWarmthOsc2,
    kWaveformOsc2,
    kTuneOsc2,
    kFineTuneOsc2,
    kPwOsc2,  // 10
    kFmOsc2,
    kVolumeOsc1Osc2,
    kVolumeSubOsc,
    kPortamento,
    kPortamentoKeyTrigger,
    kCutoff,
    kResonance,
    kFilterVelocityContour,
    kKeyFollow,
    kFilterContour,  // 20
    kFilterAttack,
    kFilterDecay,
    kFilterSustain,
    kFilterRelease,
    kAttack,
    kDecay,
    kSustain,
    kRelease,
    kLfo1Intensity,
    kLfo1Rate,  // 30
    kLfo1Waveform,
    kLfo1Destination,
    kLfo1KeyTrigger,
    kLfo2Intensity,
    kLfo2Rate,
    kLfo2Waveform,
    kLfo2Destination,
    kLfo2KeyTrigger,
    kFilterType,
    kSubOscOffset,  // 40
    kUnused41,
    kLearnAllPrograms,
    kControllerLearn,
    kCount  // 44 host-visible parameters
};
}  // namespace param

class ParamBlock {
public:
    static constexpr int kSize = 47;
    static constexpr int kSlotNote = 45;  // sounding note, -1 before the first
    static constexpr int kSlotGate = 46;  // 1 while a key holds the note

    ParamBlock() {
        for (auto& v : values_) v.store(0.0f, std::memory_order_relaxed);
    }
    ParamBlock(const ParamBlock&) = delete;
    ParamBlock& operator=(const ParamBlock&) = delete;

    float get(int index) const { return values_[index].load(std::memory_order_relaxed); }
    void set(int index, float value) { values_[index].store(value, std::memory_order_relaxed); }

private:
    std::atomic<float> values_[kSize];
};

static_assert(std::atomic<float>::is_always_lock_free, "parameter stores must never lock");
