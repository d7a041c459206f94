#include "engine/SynthEngine.h"

#include <cmath>

#include "engine/Choices.h"
#include "engine/DspMath.h"
#include "engine/PitchToFrequency.h"

namespace {

using namespace param;
using choice::GlideMode;
using choice::index;
using choice::value;

// MASTERPITCH 0..1 spans +-1 semitone around its centre.
constexpr float kMasterPitchSpan = 2.0f;
// Cutoff smoothing: a one-pole with a time constant of 1200 output samples
// (1/1200 as a float), plus a floor that keeps the smoothed value above 0.
constexpr float kCutoffMemory = 1199.0f;
constexpr float kCutoffSmoothing = 0.00083333335f;
constexpr float kCutoffFloor = 9.99999972e-10f;
// Glide step e^(0.6 - 10 x PORTAMENTO) semitones per output sample: about
// 1.82 just above 0, e^-9.4 (0.0000827) at 1.
constexpr float kGlideBase = 0.600000024f;
constexpr double kGlideSlope = 10.0;
// The main oscillators stay below 19 kHz; the sub-oscillator is not limited.
constexpr float kMaxOscillatorHz = 19000.0f;
// Uniform noise of +-0.75, a little louder than the saw (+-0.5).
constexpr float kNoiseLevel = 1.5f;
// Sub-oscillator: a square two ("-24") or one ("-12") octaves down.
constexpr float kSubTwoOctaves = 24.0f;
constexpr float kSubOneOctave = 12.0f;
constexpr float kSquareWidth = 0.5f;
// KEYFOLLOW 1 moves the cutoff by about 1/127 per note, the whole range
// over the MIDI notes.
constexpr float kKeyFollowPerNote = 0.00787399989f;
// Headroom after the filter, before decimation.
constexpr float kPostFilterGain = 0.800000012f;
// The MIDI note range; note events outside it are ignored.
constexpr int kLowestNote = 0;
constexpr int kHighestNote = 127;

bool isNote(int note) { return note >= kLowestNote && note <= kHighestNote; }

}  // namespace

float SynthEngine::masterPitchSemitones(float masterPitch) { return (masterPitch - 0.5f) * kMasterPitchSpan; }

float SynthEngine::coarseTuneSemitones(float tune) { return truncateWhole((tune - 0.5f) * kCoarseTuneSpan); }

float SynthEngine::fineTuneSemitones(float fineTune) { return (fineTune - 0.5f) * kFineTuneSpan; }

float SynthEngine::glideStep(float portamento) {
    return static_cast<float>(std::exp(static_cast<double>(kGlideBase) - kGlideSlope * portamento));
}

SynthEngine::SynthEngine(float sampleRate, ParamBlock& params)
    : params_(params),
      osc1_(sampleRate, MinBlepTable::shared()),
      osc2_(sampleRate, MinBlepTable::shared()),
      sub_(sampleRate, MinBlepTable::shared()),
      filterEnv_(sampleRate),
      ampEnv_(sampleRate),
      modulation_(sampleRate, random_),
      filter4_(random_),
      filter8_(random_) {
    params_.set(ParamBlock::kSlotNote, -1.0f);
}

void SynthEngine::setSampleRate(float sampleRate) {
    if (!(sampleRate > 0.0f) || !std::isfinite(sampleRate)) return;
    osc1_.setSampleRate(sampleRate);
    osc2_.setSampleRate(sampleRate);
    sub_.setSampleRate(sampleRate);
    filterEnv_ = Envelope(sampleRate);
    ampEnv_ = Envelope(sampleRate);
    modulation_.setSampleRate(sampleRate, random_);
}

void SynthEngine::setTempo(float bpm) {
    if (std::isfinite(bpm)) tempo_ = bpm;
}

void SynthEngine::noteOn(int note, float velocity) {
    if (!isNote(note) || !std::isfinite(velocity)) return;
    const float sounding = param(ParamBlock::kSlotNote);
    const int mode = truncateIndex(param(kPortamentoKeyTrigger));
    const float target = static_cast<float>(note);

    // Legato (a key still held): remember the held note and glide from it.
    // Detached: forget, and glide from the last note only in "mode 3".
    if (keyHeld_) {
        prevNote_ = truncateIndex(sounding);
        glideOffset_ = target - sounding;
    } else {
        prevNote_ = -1;
        glideOffset_ = mode == index(GlideMode::kMode3) ? target - sounding : 0.0f;
    }

    // The amplifier climbs again from where it is; the filter envelope
    // starts from 0.
    if (!keyHeld_ || mode == index(GlideMode::kMode1)) {
        filterEnv_.setLevel(0.0f);
        filterEnv_.restart();
        ampEnv_.restart();
    }

    params_.set(ParamBlock::kSlotNote, target);
    setKeyHeld(true);
    velocity_ = velocity;

    if (param(kLfo1KeyTrigger) == value(choice::LfoTrigger::kTrigger)) {
        modulation_.restartLfo1();
        osc1_.reset();
        osc2_.reset();
        sub_.reset();
    }
    // Every pulse starts the note with exactly its set width.
    osc1_.pulse.alignPhases();
    osc2_.pulse.alignPhases();
    sub_.alignPhases();

    modulation_.noteOn(params_, tempo_);
}

void SynthEngine::noteOff(int note) {
    if (!isNote(note)) return;
    const float sounding = param(ParamBlock::kSlotNote);
    const bool releasesSounding = note == truncateIndex(sounding);
    if (prevNote_ == -1 && releasesSounding) {
        setKeyHeld(false);
        return;
    }
    // Only one earlier note is remembered. Releasing the sounding note
    // glides back to it with the gate still on, continuing from the present
    // pitch; releasing any other key forgets it.
    if (releasesSounding) {
        glideOffset_ += static_cast<float>(prevNote_) - static_cast<float>(note);
        params_.set(ParamBlock::kSlotNote, static_cast<float>(prevNote_));
    }
    prevNote_ = -1;
}

void SynthEngine::setPitchBend(float semitones) {
    if (std::isfinite(semitones)) pitchBend_ = semitones;
}

void SynthEngine::allNotesOff() {
    setKeyHeld(false);
    pitchBend_ = 0.0f;
    prevNote_ = -1;
}

void SynthEngine::renderSample(float& out) {
    const float gate = envelopeGate();
    const float note = param(ParamBlock::kSlotNote);
    if (idle()) return;  // nothing advances until the next note-on

    float pitch = masterPitchSemitones(param(kMasterPitch)) + note + pitchBend_;

    cutoffSmoothed_ = (cutoffSmoothed_ * kCutoffMemory + param(kCutoff)) * kCutoffSmoothing + kCutoffFloor;
    // Only a CUTOFF near the float limit overflows the smoother.
    if (!std::isfinite(cutoffSmoothed_)) cutoffSmoothed_ = 0.0f;

    if (param(kPortamento) > 0.0f) pitch = glide(pitch);
    pitch_ = pitch;

    // The working values the LFOs move, set afresh every sample.
    ModulationTargets m;
    m.cutoff = cutoffSmoothed_;
    m.pitch1 = m.pitch2 = pitch;
    m.fm1 = param(kFmOsc1);
    m.fm2 = param(kFmOsc2);
    m.pw1 = param(kPwOsc1);
    m.pw2 = param(kPwOsc2);
    modulation_.step(params_, m);

    float first = 0.0f;
    float second = 0.0f;
    renderOscillators(m, pitch, first, second);
    filter(first, second, cutoffFor(m.cutoff, note, gate));
    first *= kPostFilterGain;
    second *= kPostFilterGain;

    const float z = dcBlocker_.process(decimator_.process(first, second));
    const float a = ampEnv_.step(param(kAttack), param(kDecay), gate, param(kSustain), param(kRelease));
    const float volume = param(kVolume);
    const float o = volume * volume * (a * z);
    // Within the parameter ranges the output stays within a few units; a
    // volume or envelope knob far outside them can overflow it.
    out = std::isfinite(o) ? o : 0.0f;
}

// Moves the glide offset one step towards 0 (linear in semitones, a fixed
// step per output sample) and returns the sounding pitch.
float SynthEngine::glide(float pitch) {
    const float step = glideStep(param(kPortamento));
    if (glideOffset_ > 0.0f) {
        glideOffset_ -= step;
        if (glideOffset_ < 0.0f) glideOffset_ = 0.0f;
    } else if (glideOffset_ < 0.0f) {
        glideOffset_ += step;
        if (glideOffset_ > 0.0f) glideOffset_ = 0.0f;
    }
    return pitch - glideOffset_;
}

// Oscillator 1 (or noise) through the warmth smoothers, then oscillator 2
// and the sub-oscillator, crossfaded into the two sub-samples. m: the
// modulated working values; pitch: the glided base pitch.
void SynthEngine::renderOscillators(const ModulationTargets& m, float pitch, float& first, float& second) {
    const float mix = param(kVolumeOsc1Osc2);
    const float gain1 = 1.0f - mix;

    const float pitch1 = atLeastZero(m.pitch1);
    const float fm1 = atLeastZero(m.fm1);
    const float pw1 = clampUnit(m.pw1);
    float f = osc1Frequency_(pitch1);
    if (!(f <= kMaxOscillatorHz)) f = kMaxOscillatorHz;
    const int waveform1 = truncateIndex(param(kWaveformOsc1));
    if (waveform1 == index(choice::OscWave::kNoise)) {
        first += gain1 * (random_.nextUnit() - 0.5f) * kNoiseLevel;
        second += gain1 * (random_.nextUnit() - 0.5f) * kNoiseLevel;
    } else {
        osc1_.addTwoSteps(waveform1, f, fm1, pw1, gain1, first, second);
    }

    // Oscillator 2 and the sub-oscillator are added after this, so the
    // warmth acts on oscillator 1 alone.
    const float k = WarmthSmoother::coefficient(param(kWarmthOsc1));
    first = warmthA_.process(first, k);
    second = warmthB_.process(second, k);

    const float pitch2 = atLeastZero(m.pitch2);
    const float fm2 = atLeastZero(m.fm2);
    const float pw2 = clampUnit(m.pw2);
    const float detune = coarseTuneSemitones(param(kTuneOsc2)) + fineTuneSemitones(param(kFineTuneOsc2));
    f = osc2Frequency_(pitch2 + detune);
    if (!(f <= kMaxOscillatorHz)) f = kMaxOscillatorHz;
    osc2_.addTwoSteps(truncateIndex(param(kWaveformOsc2)), f, fm2, pw2, mix, first, second);

    // The sub-oscillator follows the glided base pitch, not the LFOs; at
    // level 0 it is not stepped at all.
    const float subLevel = param(kVolumeSubOsc);
    if (subLevel > 0.0f) {
        const bool twoOctaves = param(kSubOscOffset) == value(choice::SubOffset::kDown24);
        const float octaves = twoOctaves ? kSubTwoOctaves : kSubOneOctave;
        f = subFrequency_(pitch - octaves);
        first += sub_.step(f, 0.0f, kSquareWidth) * subLevel;
        second += sub_.step(f, 0.0f, kSquareWidth) * subLevel;
    }
}

// The cutoff of this sample: smoothed knob and LFO (cutoffWork), key
// tracking by the played note (not moved by glide or bend), and the filter
// envelope scaled by velocity and contour; held within 0..1.
float SynthEngine::cutoffFor(float cutoffWork, float note, float gate) {
    float c = cutoffWork + note * param(kKeyFollow) * kKeyFollowPerNote;
    const float e = filterEnv_.step(param(kFilterAttack), param(kFilterDecay), gate, param(kFilterSustain),
                                    param(kFilterRelease));
    c += e * (param(kFilterVelocityContour) * velocity_ + param(kFilterContour));
    if (c > 1.0f) c = 1.0f;
    if (!(c >= 0.0f)) c = 0.0f;
    return c;
}

// The selected ladder filter on both sub-samples; the coefficients are
// computed once per output sample.
void SynthEngine::filter(float& first, float& second, float cutoff) {
    const float resonance = param(kResonance);
    if (param(kFilterType) == value(choice::FilterType::kLp12)) {
        filter4_.process(first, cutoff, resonance, true);
        filter4_.process(second, cutoff, resonance, false);
    } else {
        filter8_.processPair(first, second, cutoff, resonance);
    }
}
