// The factory programs, one readable table each: the name field (with
// whatever an earlier, longer name left after the terminator) and the 44
// parameter values by name. Each program's comment says what it is meant
// to sound like; what a value does is the engine's to say.
#include "plugin/FactoryBank.h"

#include <cstring>
#include <type_traits>

#include "engine/Choices.h"
#include "engine/SynthEngine.h"

namespace {

using namespace param;

// The menus' entries (a menu stores its entry's number).
using Wave = choice::OscWave;
using LfoWave = choice::LfoWave;
using To = choice::LfoDestination;
using Sync = choice::LfoTrigger;
using Glide = choice::GlideMode;
using Filter = choice::FilterType;
using Sub = choice::SubOffset;

// The TUNEOSC2 value in the middle of whole-semitone step n, so that the
// engine's truncation lands on n; the ends of the knob are exactly +-12.
constexpr float coarse(int n) {
    const float middle = static_cast<float>(n) + (n > 0 ? 0.5f : -0.5f);
    return n >= 12 ? 1.0f : n <= -12 ? 0.0f : n == 0 ? 0.5f : 0.5f + middle / SynthEngine::kCoarseTuneSpan;
}
// FINETUNEOSC2 for a detune in cents.
constexpr float cents(float c) { return 0.5f + c / (SynthEngine::kFineTuneSpan * 100.0f); }

struct Setting {
    constexpr Setting(Index i, float v) : index(i), value(v) {}
    template <typename Entry, typename = std::enable_if_t<std::is_enum_v<Entry>>>
    constexpr Setting(Index i, Entry entry) : index(i), value(choice::value(entry)) {}
    Index index;
    float value;
};

struct FactoryProgram {
    char name[kProgramNameSize];  // with the bytes after the terminator
    Setting settings[kCount];
};

// Every program ends the same: parameter 41 and the two learn switches off.
#define ORV_UNUSED_AND_LEARN_OFF {kUnused41, 0}, {kLearnAllPrograms, 0}, {kControllerLearn, 0}

constexpr FactoryProgram kPrograms[kNumPrograms] = {
    // 0 Saw Bass: two saws an octave apart over a loud sub two octaves down,
    // filter wide open, organ-like gate. The instrument's initial sound.
    {"Saw Bass",
     {{kVolume, 0.89824283f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, 0}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.74955606f}, {kVolumeSubOsc, 0.8714994f}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.9606679f}, {kResonance, 0}, {kKeyFollow, 0},
      {kFilterContour, 0}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 1}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 1}, {kSustain, 0}, {kRelease, 0},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kOsc1},
      {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 1 Ramp Bass: slightly detuned saws into the 24 dB filter, a short
    // filter ramp on every note; oscillators restart with each key for an
    // even attack.
    {"Ramp Bass",
     {{kVolume, 0.906f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.2f}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, cents(6)},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0.6f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.18f}, {kResonance, 0.35f}, {kKeyFollow, 0.1f},
      {kFilterContour, 0.45f}, {kFilterVelocityContour, 0.2f},
      {kFilterAttack, 0}, {kFilterDecay, 0.45f}, {kFilterSustain, 0.1f}, {kFilterRelease, 0.2f},
      {kAttack, 0}, {kDecay, 0.7f}, {kSustain, 0.8f}, {kRelease, 0.15f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 2 Acid Bass: one saw into the resonant 12 dB filter with a snappy,
    // velocity-accented envelope; legato notes slide without retriggering.
    {"Acid Bass",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.3f}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0.45f}, {kPortamentoKeyTrigger, Glide::kMode2},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.12f}, {kResonance, 0.85f}, {kKeyFollow, 0.15f},
      {kFilterContour, 0.5f}, {kFilterVelocityContour, 0.35f},
      {kFilterAttack, 0}, {kFilterDecay, 0.35f}, {kFilterSustain, 0}, {kFilterRelease, 0.1f},
      {kAttack, 0}, {kDecay, 0.8f}, {kSustain, 1}, {kRelease, 0.05f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 3 Dark Slap Bass: a narrow pulse and a saw an octave down behind a low
    // cutoff; a 70 ms filter snap gives the slap, the level decays to a
    // quiet sustain.
    {"Dark Slap Bass",
     {{kVolume, 0.96f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.5f}, {kWaveformOsc1, Wave::kRec}, {kPwOsc1, 0.3f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(-12)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.35f}, {kVolumeSubOsc, 0.5f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.1f}, {kResonance, 0.25f}, {kKeyFollow, 0.1f},
      {kFilterContour, 0.55f}, {kFilterVelocityContour, 0.3f},
      {kFilterAttack, 0}, {kFilterDecay, 0.25f}, {kFilterSustain, 0.05f}, {kFilterRelease, 0.1f},
      {kAttack, 0}, {kDecay, 0.62f}, {kSustain, 0.25f}, {kRelease, 0.12f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 4 Dark Bass: a warm saw, a sine an octave down and the sub two octaves
    // down, held under a closed 24 dB filter; soft start, full sustain.
    {"Dark Bass",
     {{kVolume, 0.891f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.7f}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSin}, {kTuneOsc2, coarse(-12)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.4f}, {kVolumeSubOsc, 0.7f}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.09f}, {kResonance, 0.15f}, {kKeyFollow, 0.08f},
      {kFilterContour, 0.12f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.6f}, {kFilterSustain, 0.3f}, {kFilterRelease, 0.2f},
      {kAttack, 0.05f}, {kDecay, 0.8f}, {kSustain, 0.9f}, {kRelease, 0.2f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 5 Funky Lead: pulse and saw through a resonant 12 dB filter with an
    // envelope "wah" on each note, a quick glide, light vibrato and a slow
    // pulse-width drift. Once called "Funky Resonant Lead 2".
    {"Funky Lead\0ant Lead 2",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kRec}, {kPwOsc1, 0.4f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, cents(6)},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.45f}, {kVolumeSubOsc, 0.4f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0.55f}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.2f}, {kResonance, 0.45f}, {kKeyFollow, 0.25f},
      {kFilterContour, 0.45f}, {kFilterVelocityContour, 0.25f},
      {kFilterAttack, 0.1f}, {kFilterDecay, 0.5f}, {kFilterSustain, 0.2f}, {kFilterRelease, 0.3f},
      {kAttack, 0.02f}, {kDecay, 0.7f}, {kSustain, 1}, {kRelease, 0.3f},
      {kLfo1Intensity, 0.62f}, {kLfo1Rate, 0.72f}, {kLfo1Waveform, LfoWave::kSin},
      {kLfo1Destination, To::kOsc12}, {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0.6f}, {kLfo2Rate, 0.45f}, {kLfo2Waveform, LfoWave::kTri},
      {kLfo2Destination, To::kOsc1Pw}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 6 Analog Lead: two saws 8 cents apart into the 24 dB filter, legato
    // glide without retrigger, a singing vibrato around 5.7 Hz.
    {"Analog Lead",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.2f}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, cents(8)},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0.35f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0.6f}, {kPortamentoKeyTrigger, Glide::kMode2},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.3f}, {kResonance, 0.3f}, {kKeyFollow, 0.3f},
      {kFilterContour, 0.3f}, {kFilterVelocityContour, 0.15f},
      {kFilterAttack, 0.15f}, {kFilterDecay, 0.55f}, {kFilterSustain, 0.4f}, {kFilterRelease, 0.3f},
      {kAttack, 0.05f}, {kDecay, 0.7f}, {kSustain, 0.85f}, {kRelease, 0.35f},
      {kLfo1Intensity, 0.64f}, {kLfo1Rate, 0.73f}, {kLfo1Waveform, LfoWave::kSin},
      {kLfo1Destination, To::kOsc12}, {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 7 Rising Industry Pad: a slow pulse pad gliding from note to note,
    // oscillator 2 a fourth down with a little FM grit; the filter opens
    // over seconds, LFO 1 sweeps oscillator 1's pulse width and LFO 2 moves
    // the cutoff in a slow triangle.
    {"Rising Industry Pad",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.8743341f}, {kWaveformOsc1, Wave::kRec}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kRec}, {kTuneOsc2, 0.2753991f},
      {kFineTuneOsc2, 0.546403f}, {kPwOsc2, 0.5f}, {kFmOsc2, 0.033231914f},
      {kVolumeOsc1Osc2, 0.39239034f}, {kVolumeSubOsc, 0.6146806f}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0.8484652f}, {kPortamentoKeyTrigger, Glide::kMode3},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.023482153f}, {kResonance, 0.4016109f},
      {kKeyFollow, 0.072791904f}, {kFilterContour, 0.7309408f},
      {kFilterVelocityContour, 0.27683288f},
      {kFilterAttack, 0.9629334f}, {kFilterDecay, 0.919254f}, {kFilterSustain, 0.41622272f},
      {kFilterRelease, 0.86146164f},
      {kAttack, 0.9016109f}, {kDecay, 1}, {kSustain, 0.7458171f}, {kRelease, 0.8333333f},
      {kLfo1Intensity, 1}, {kLfo1Rate, 0.5761335f}, {kLfo1Waveform, LfoWave::kSin},
      {kLfo1Destination, To::kOsc1Pw}, {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0.679135f}, {kLfo2Rate, 0.28134724f}, {kLfo2Waveform, LfoWave::kTri},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 8 Air Saw Fill: breathy noise and a saw an octave up swelling in and
    // out slowly, the cutoff drifting on a slow triangle: a fill behind
    // other parts.
    {"Air Saw Fill",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.6f}, {kWaveformOsc1, Wave::kNoise}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(12)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.55f}, {kVolumeSubOsc, 0.4f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.35f}, {kResonance, 0.2f}, {kKeyFollow, 0.2f},
      {kFilterContour, 0.3f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0.75f}, {kFilterDecay, 0.75f}, {kFilterSustain, 0.4f},
      {kFilterRelease, 0.7f},
      {kAttack, 0.72f}, {kDecay, 0.7f}, {kSustain, 1}, {kRelease, 0.68f},
      {kLfo1Intensity, 0.72f}, {kLfo1Rate, 0.45f}, {kLfo1Waveform, LfoWave::kTri},
      {kLfo1Destination, To::kCutoff}, {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0.6f}, {kLfo2Rate, 0.35f}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kOsc2}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 9 FM FX: only oscillator 2 sounds, a sine that LFO 1 sweeps down
    // through eight octaves every two bars of the host tempo while LFO 2's
    // triplet saw pumps its FM. Once called "FM Metal Clang FX".
    {"FM FX\0al Clang FX",
     {{kVolume, 0.4698885f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSin}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSin}, {kTuneOsc2, 0}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 1}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode2},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.14938197f}, {kResonance, 0}, {kKeyFollow, 0},
      {kFilterContour, 0.8333333f}, {kFilterVelocityContour, 0.35257196f},
      {kFilterAttack, 0}, {kFilterDecay, 0.9837085f}, {kFilterSustain, 0},
      {kFilterRelease, 0.8853194f},
      {kAttack, 0}, {kDecay, 1}, {kSustain, 1}, {kRelease, 0.9373055f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0.21146207f}, {kLfo1Waveform, LfoWave::kSaw},
      {kLfo1Destination, To::kOsc2}, {kLfo1KeyTrigger, Sync::k2_1},
      {kLfo2Intensity, 0.6721067f}, {kLfo2Rate, 0.4066625f}, {kLfo2Waveform, LfoWave::kSaw},
      {kLfo2Destination, To::kOsc12Fm}, {kLfo2KeyTrigger, Sync::k1_8T},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 10 Reverse Industry FX: noise and a gritty FM pulse swell in over most
    // of a second and stop dead, like a tape played backwards; a tempo-synced
    // sample-and-hold chops the resonant cutoff. Once "Reverse Industry Pad 2".
    {"Reverse Industry FX\0 2",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.3f}, {kWaveformOsc1, Wave::kNoise}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kRec}, {kTuneOsc2, coarse(-7)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.2f}, {kFmOsc2, 0.3f},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0.5f}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.1f}, {kResonance, 0.75f}, {kKeyFollow, 0.1f},
      {kFilterContour, 0.75f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0.85f}, {kFilterDecay, 0.3f}, {kFilterSustain, 0}, {kFilterRelease, 0.1f},
      {kAttack, 0.82f}, {kDecay, 0.15f}, {kSustain, 0}, {kRelease, 0.05f},
      {kLfo1Intensity, 0.75f}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kNoise},
      {kLfo1Destination, To::kCutoff}, {kLfo1KeyTrigger, Sync::k1_16},
      {kLfo2Intensity, 0.2f}, {kLfo2Rate, 0.62f}, {kLfo2Waveform, LfoWave::kSaw},
      {kLfo2Destination, To::kOsc2}, {kLfo2KeyTrigger, Sync::kTrigger},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 11 Random FX: the classic random computer bleeps: a sample-and-hold
    // jumps the pitch of both oscillators up to 7 semitones on every eighth
    // note of the host tempo, a second one jitters the cutoff.
    {"Random FX",
     {{kVolume, 0.977f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSin}, {kPwOsc1, 0.5f}, {kFmOsc1, 0.15f},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kTri}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.4f}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.45f}, {kResonance, 0.6f}, {kKeyFollow, 0.2f},
      {kFilterContour, 0}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.5f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.9f}, {kSustain, 1}, {kRelease, 0.5f},
      {kLfo1Intensity, 0.84f}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kNoise},
      {kLfo1Destination, To::kOsc12}, {kLfo1KeyTrigger, Sync::k1_8},
      {kLfo2Intensity, 0.78f}, {kLfo2Rate, 0.7f}, {kLfo2Waveform, LfoWave::kNoise},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 12 Clean Sweep FX: saws an octave apart under a closed, moderately
    // resonant 24 dB filter that a slow envelope opens over about two
    // seconds; no LFO, nothing but the sweep.
    {"Clean Sweep FX",
     {{kVolume, 0.988f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(12)}, {kFineTuneOsc2, cents(2)},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.4f}, {kVolumeSubOsc, 0.3f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.04f}, {kResonance, 0.45f}, {kKeyFollow, 0},
      {kFilterContour, 0.9f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0.92f}, {kFilterDecay, 0.9f}, {kFilterSustain, 0.6f},
      {kFilterRelease, 0.8f},
      {kAttack, 0.3f}, {kDecay, 0.8f}, {kSustain, 1}, {kRelease, 0.7f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kNone},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 13 Blupper Saw FX: a saw with its sub behind a highly resonant 12 dB
    // filter that a fast saw LFO (7 Hz, restarted with each key) keeps
    // bubbling open; a square LFO wobbles oscillator 1 by most of a semitone.
    {"Blupper Saw FX",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSaw}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSaw}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.3f}, {kVolumeSubOsc, 0.8f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.15f}, {kResonance, 0.65f}, {kKeyFollow, 0.1f},
      {kFilterContour, 0.2f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.5f}, {kFilterSustain, 0}, {kFilterRelease, 0.2f},
      {kAttack, 0}, {kDecay, 0.85f}, {kSustain, 1}, {kRelease, 0.3f},
      {kLfo1Intensity, 0.85f}, {kLfo1Rate, 0.78f}, {kLfo1Waveform, LfoWave::kSaw},
      {kLfo1Destination, To::kCutoff}, {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0.72f}, {kLfo2Rate, 0.6f}, {kLfo2Waveform, LfoWave::kRec},
      {kLfo2Destination, To::kOsc1}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 14 Rising Blops FX: sine and triangle blips gated by a square LFO on
    // the resonant cutoff, each cycle of a rising saw LFO lifting the pitch;
    // glide mode 3 makes every note slide up from the one before.
    {"Rising Blops FX",
     {{kVolume, 0.789f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSin}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kTri}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0.72f}, {kPortamentoKeyTrigger, Glide::kMode3},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.12f}, {kResonance, 0.7f}, {kKeyFollow, 0.2f},
      {kFilterContour, 0}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.5f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.85f}, {kSustain, 0.85f}, {kRelease, 0.4f},
      {kLfo1Intensity, 0.8f}, {kLfo1Rate, 0.68f}, {kLfo1Waveform, LfoWave::kSaw},
      {kLfo1Destination, To::kOsc12}, {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0.9f}, {kLfo2Rate, 0.75f}, {kLfo2Waveform, LfoWave::kRec},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kTrigger},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 15 Falling Pulse FX: two pulses a fifth apart whose pitch falls along
    // each cycle of a saw LFO (intensity below the centre turns the rising
    // saw into a falling pitch), their widths breathing on a triangle.
    {"Falling Pulse FX",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kRec}, {kPwOsc1, 0.25f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kRec}, {kTuneOsc2, coarse(7)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.7f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.4f}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.35f}, {kResonance, 0.25f}, {kKeyFollow, 0.2f},
      {kFilterContour, 0.3f}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.6f}, {kFilterSustain, 0}, {kFilterRelease, 0.3f},
      {kAttack, 0}, {kDecay, 0.9f}, {kSustain, 0}, {kRelease, 0.4f},
      {kLfo1Intensity, 0.2f}, {kLfo1Rate, 0.55f}, {kLfo1Waveform, LfoWave::kSaw},
      {kLfo1Destination, To::kOsc12}, {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0.75f}, {kLfo2Rate, 0.5f}, {kLfo2Waveform, LfoWave::kTri},
      {kLfo2Destination, To::kOsc12Pw}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 16 Glas Percusion: a sine with a touch of its own FM and a triangle a
    // twelfth above, struck and left to ring for about a second: a glassy
    // bell. A slow LFO lets the FM shimmer.
    {"Glas Percusion",
     {{kVolume, 0.901f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSin}, {kPwOsc1, 0.5f}, {kFmOsc1, 0.15f},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kTri}, {kTuneOsc2, coarse(7)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.35f}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.75f}, {kResonance, 0.1f}, {kKeyFollow, 0.2f},
      {kFilterContour, 0}, {kFilterVelocityContour, 0},
      {kFilterAttack, 0}, {kFilterDecay, 0.6f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.72f}, {kSustain, 0}, {kRelease, 0.62f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0.55f}, {kLfo2Rate, 0.65f}, {kLfo2Waveform, LfoWave::kTri},
      {kLfo2Destination, To::kOsc1Fm}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 17 Wood Percusion: a sine and a triangle an octave above, short and
    // dull like a struck wooden bar; harder hits open the filter further.
    {"Wood Percusion",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kTri}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSin}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.28f}, {kResonance, 0.2f}, {kKeyFollow, 0.3f},
      {kFilterContour, 0.35f}, {kFilterVelocityContour, 0.3f},
      {kFilterAttack, 0}, {kFilterDecay, 0.3f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.48f}, {kSustain, 0}, {kRelease, 0.35f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 18 Old Scool Snare C2: white noise for the snares over a triangle body
    // (an octave up, so 130 Hz when played at C2), both cut short.
    {"Old Scool Snare C2",
     {{kVolume, 1}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0.1f}, {kWaveformOsc1, Wave::kNoise}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kTri}, {kTuneOsc2, coarse(0)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.45f}, {kVolumeSubOsc, 0.4f}, {kSubOscOffset, Sub::kDown12},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp12}, {kCutoff, 0.7f}, {kResonance, 0.3f}, {kKeyFollow, 0.1f},
      {kFilterContour, 0.3f}, {kFilterVelocityContour, 0.2f},
      {kFilterAttack, 0}, {kFilterDecay, 0.3f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.45f}, {kSustain, 0}, {kRelease, 0.3f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},

    // 19 Reso Kick: sines and a deep sub under a nearly self-oscillating
    // 24 dB filter whose fast envelope drops from a click to a thump.
    {"Reso Kick",
     {{kVolume, 0.96f}, {kMasterPitch, 0.5f},
      {kWarmthOsc1, 0}, {kWaveformOsc1, Wave::kSin}, {kPwOsc1, 0.5f}, {kFmOsc1, 0},
      {kWarmthOsc2, 0}, {kWaveformOsc2, Wave::kSin}, {kTuneOsc2, coarse(-12)}, {kFineTuneOsc2, 0.5f},
      {kPwOsc2, 0.5f}, {kFmOsc2, 0},
      {kVolumeOsc1Osc2, 0.5f}, {kVolumeSubOsc, 0.8f}, {kSubOscOffset, Sub::kDown24},
      {kPortamento, 0}, {kPortamentoKeyTrigger, Glide::kMode1},
      {kFilterType, Filter::kLp24}, {kCutoff, 0.04f}, {kResonance, 0.9f}, {kKeyFollow, 0},
      {kFilterContour, 0.3f}, {kFilterVelocityContour, 0.2f},
      {kFilterAttack, 0}, {kFilterDecay, 0.3f}, {kFilterSustain, 0}, {kFilterRelease, 0},
      {kAttack, 0}, {kDecay, 0.5f}, {kSustain, 0}, {kRelease, 0.3f},
      {kLfo1Intensity, 0}, {kLfo1Rate, 0}, {kLfo1Waveform, LfoWave::kSin}, {kLfo1Destination, To::kCutoff},
      {kLfo1KeyTrigger, Sync::kTrigger},
      {kLfo2Intensity, 0}, {kLfo2Rate, 0}, {kLfo2Waveform, LfoWave::kSin},
      {kLfo2Destination, To::kCutoff}, {kLfo2KeyTrigger, Sync::kNone},
      ORV_UNUSED_AND_LEARN_OFF}},
};

#undef ORV_UNUSED_AND_LEARN_OFF

// Every table sets each of the 44 parameters exactly once.
constexpr bool setsEveryParameterOnce(const FactoryProgram& p) {
    int seen[kCount] = {};
    for (const Setting& s : p.settings) {
        if (s.index < 0 || s.index >= kCount || seen[s.index]++ != 0) return false;
    }
    return true;
}

constexpr bool everyTableComplete() {
    for (const FactoryProgram& p : kPrograms)
        if (!setsEveryParameterOnce(p)) return false;
    return true;
}
static_assert(everyTableComplete(), "each factory program sets all 44 parameters once");

ProgramBank buildBank() {
    ProgramBank bank;
    std::memset(bank.data(), 0, sizeof(bank));
    for (int p = 0; p < kNumPrograms; ++p) {
        ProgramRecord& r = bank[p];
        std::memcpy(r.name, kPrograms[p].name, sizeof(r.name));
        for (const Setting& s : kPrograms[p].settings) r.values[s.index] = s.value;
        // Controllers 36 and 38 play the filter in every factory program.
        r.controllers.target[36] = kCutoff;
        r.controllers.target[38] = kResonance;
    }
    return bank;
}

}  // namespace

const ProgramBank& factoryBank() {
    static const ProgramBank bank = buildBank();
    return bank;
}
