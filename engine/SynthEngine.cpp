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
// The last safety on the output: +9 dBFS. The loudest in-range settings
// found peak near +5 dBFS; the limit only bounds what out-of-range values
// (resonance, envelope levels) can do.
constexpr float kOutputLimit = 2.81838293f;
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

void SynthEngine::setOscillatorMode(OscillatorMode mode) {
    if (mode == oscillatorMode_) return;
    oscillatorMode_ = mode;
    osc1_.setMode(mode);
    osc2_.setMode(mode);
    sub_.setMode(mode);
}

void SynthEngine::setTempo(float bpm) {
    if (std::isfinite(bpm)) tempo_ = bpm;
}

void SynthEngine::noteOn(int note, float velocity) {
    if (!isNote(note) || !std::isfinite(velocity) || !tuning_.plays(note)) return;
    const float soundingNote = param(ParamBlock::kSlotNote);
    const int mode = truncateIndex(param(kPortamentoKeyTrigger));
    // Glides run between tuned pitches.
    const float sounding = tuning_.pitchOf(truncateIndex(soundingNote));
    const float target = tuning_.pitchOf(note);

    // Legato (a key still held): remember the held note and glide from it.
    // Detached: forget, and glide from the last note only in "mode 3".
    if (keyHeld_) {
        prevNote_ = truncateIndex(soundingNote);
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

    params_.set(ParamBlock::kSlotNote, static_cast<float>(note));
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
    // An unmapped key never played, so its release is no release.
    if (!releasesSounding && !tuning_.plays(note)) return;
    if (prevNote_ == -1 && releasesSounding) {
        setKeyHeld(false);
        return;
    }
    // Only one earlier note is remembered. Releasing the sounding note
    // glides back to it with the gate still on, continuing from the present
    // pitch; releasing any other key forgets it.
    if (releasesSounding) {
        glideOffset_ += tuning_.pitchOf(prevNote_) - tuning_.pitchOf(note);
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

void SynthEngine::render(float* out, int n) {
    Sample samples[2];
    Sample* current = &samples[0];
    Sample* next = &samples[1];
    if (n <= 0 || !start(*current)) return;  // nothing advances until the next note-on
    front(*current);
    // The next sample's front end in pieces between this sample's stages
    // (0..7: after each stage of the four-stage ladder's two calls, or of
    // the eight-stage ladder's paired calls), spread so that most stage
    // waits have independent work beside them. The pieces keep their order,
    // so the random draws keep theirs: modulation, noise, then the filter's
    // jitter.
    const auto nextFront = [this, &next](int stage) {
        switch (stage) {
            case 0: modulate(*next); break;
            case 1: oscillator1(*next); break;
            case 3: oscillator2(*next); break;
            case 5: subOscillator(*next); break;
            case 6: prepareFilter(*next); break;
            case 7: amplifierEnvelope(*next); break;
            default: break;
        }
    };
    for (int i = 0;; ++i) {
        // The idle test reads the amplifier envelope, which the front end
        // has already stepped for this sample.
        const bool more = i + 1 < n && start(*next);
        if (more)
            chain(*current, nextFront);
        else
            chain(*current, ladder::NothingBetween{});
        out[i] = back(*current);
        if (!more) return;
        Sample* done = current;
        current = next;
        next = done;
    }
}

// The sample's base values, the cutoff smoother and the glide.
bool SynthEngine::start(Sample& s) {
    s.gate = envelopeGate();
    if (idle()) return false;
    // The key's pitch is looked up afresh every sample, so a retune moves a
    // held note at once; the filter's key tracking follows it too.
    s.note = tuning_.pitchOf(truncateIndex(param(ParamBlock::kSlotNote)));

    float pitch = masterPitchSemitones(param(kMasterPitch)) + s.note + pitchBend_;

    cutoffSmoothed_ = (cutoffSmoothed_ * kCutoffMemory + param(kCutoff)) * kCutoffSmoothing + kCutoffFloor;
    // Only a CUTOFF near the float limit overflows the smoother.
    if (!std::isfinite(cutoffSmoothed_)) cutoffSmoothed_ = 0.0f;

    if (param(kPortamento) > 0.0f) pitch = glide(pitch);
    pitch_ = s.pitch = pitch;

    // The working values the LFOs move, set afresh every sample.
    s.m.cutoff = cutoffSmoothed_;
    s.m.pitch1 = s.m.pitch2 = pitch;
    s.m.fm1 = param(kFmOsc1);
    s.m.fm2 = param(kFmOsc2);
    s.m.pw1 = param(kPwOsc1);
    s.m.pw2 = param(kPwOsc2);
    return true;
}

void SynthEngine::front(Sample& s) {
    modulate(s);
    oscillator1(s);
    oscillator2(s);
    subOscillator(s);
    prepareFilter(s);
    amplifierEnvelope(s);
}

// Oscillator 1 (or noise) through the warmth smoothers: the two sub-samples
// start from it.
void SynthEngine::oscillator1(Sample& s) {
    const float gain1 = 1.0f - param(kVolumeOsc1Osc2);
    const float pitch1 = atLeastZero(s.m.pitch1);
    const float fm1 = atLeastZero(s.m.fm1);
    const float pw1 = clampUnit(s.m.pw1);
    float f = osc1Frequency_(pitch1);
    if (!(f <= kMaxOscillatorHz)) f = kMaxOscillatorHz;
    s.first = 0.0f;
    s.second = 0.0f;
    const int waveform1 = truncateIndex(param(kWaveformOsc1));
    if (waveform1 == index(choice::OscWave::kNoise)) {
        s.first += gain1 * (random_.nextUnit() - 0.5f) * kNoiseLevel;
        s.second += gain1 * (random_.nextUnit() - 0.5f) * kNoiseLevel;
    } else {
        osc1_.addTwoSteps(waveform1, f, fm1, pw1, gain1, s.first, s.second);
    }

    // Oscillator 2 and the sub-oscillator are added after this, so the
    // warmth acts on oscillator 1 alone.
    const float k = WarmthSmoother::coefficient(param(kWarmthOsc1));
    s.first = warmthA_.process(s.first, k);
    s.second = warmthB_.process(s.second, k);
}

void SynthEngine::oscillator2(Sample& s) {
    const float mix = param(kVolumeOsc1Osc2);
    const float pitch2 = atLeastZero(s.m.pitch2);
    const float fm2 = atLeastZero(s.m.fm2);
    const float pw2 = clampUnit(s.m.pw2);
    const float detune = coarseTuneSemitones(param(kTuneOsc2)) + fineTuneSemitones(param(kFineTuneOsc2));
    float f = osc2Frequency_(pitch2 + detune);
    if (!(f <= kMaxOscillatorHz)) f = kMaxOscillatorHz;
    osc2_.addTwoSteps(truncateIndex(param(kWaveformOsc2)), f, fm2, pw2, mix, s.first, s.second);
}

// The sub-oscillator follows the glided base pitch, not the LFOs; at level
// 0 it is not stepped at all.
void SynthEngine::subOscillator(Sample& s) {
    const float subLevel = param(kVolumeSubOsc);
    if (subLevel > 0.0f) {
        const bool twoOctaves = param(kSubOscOffset) == value(choice::SubOffset::kDown24);
        const float octaves = twoOctaves ? kSubTwoOctaves : kSubOneOctave;
        const float f = subFrequency_(s.pitch - octaves);
        s.first += sub_.step(f, 0.0f, kSquareWidth) * subLevel;
        s.second += sub_.step(f, 0.0f, kSquareWidth) * subLevel;
    }
}

// The selected filter's frame: its coefficients for this sample's cutoff
// and its two jitter draws.
void SynthEngine::prepareFilter(Sample& s) {
    const float cutoff = cutoffFor(s.m.cutoff, s.note, s.gate);
    const float resonance = param(kResonance);
    s.lp12 = param(kFilterType) == value(choice::FilterType::kLp12);
    s.frame = s.lp12 ? filter4_.frame(cutoff, resonance) : filter8_.frame(cutoff, resonance);
}

void SynthEngine::amplifierEnvelope(Sample& s) {
    s.amp = ampEnv_.step(param(kAttack), param(kDecay), s.gate, param(kSustain), param(kRelease));
}

template <typename Between>
void SynthEngine::chain(Sample& s, Between&& between) {
    if (s.lp12)
        filter4_.processPair(s.first, s.second, s.frame, between);
    else
        filter8_.processPair(s.first, s.second, s.frame, between);
}

// The filtered sub-samples down to one output sample, through the
// amplifier and the squared volume.
float SynthEngine::back(const Sample& s) {
    const float first = s.first * kPostFilterGain;
    const float second = s.second * kPostFilterGain;
    const float z = dcBlocker_.process(decimator_.process(first, second));
    // A stored volume beyond full (a preset's or a host's slip) plays as full.
    float volume = param(kVolume);
    if (volume > 1.0f) volume = 1.0f;
    if (volume < -1.0f) volume = -1.0f;
    const float o = volume * volume * (s.amp * z);
    // Within the parameter ranges the output stays well below the limit;
    // resonance or an envelope far outside them can drive it past it, or
    // overflow it.
    if (!std::isfinite(o)) return 0.0f;
    return o > kOutputLimit ? kOutputLimit : (o < -kOutputLimit ? -kOutputLimit : o);
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

// The cutoff of this sample: smoothed knob and LFO (cutoffWork), key
// tracking by the played key's tuned pitch (not moved by glide or bend), and the filter
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
