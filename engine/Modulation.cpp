#include "engine/Modulation.h"

#include "engine/Choices.h"
#include "engine/DspMath.h"

namespace {

using choice::index;
using choice::LfoDestination;
using choice::LfoTrigger;
using choice::LfoWave;
using choice::value;

// The key-trigger menu's tempo-synced entries, "1/16" .. "2/1T".
constexpr int kFirstSynced = index(LfoTrigger::k1_16);
constexpr int kLastSynced = index(LfoTrigger::k2_1T);

// A rate knob at 1 gives 20 Hz nominal; the fourth power spreads the knob
// over the slow rates.
constexpr float kMaxFreeHz = 20.0f;
// One nominal LFO cycle is 256 table steps.
constexpr float kStepsPerCycle = 256.0f;
// Pitch depth at the intensity's ends, in semitones (four octaves).
constexpr float kPitchDepth = 48.0f;

// Cycles per beat, at the tempo in beats per minute, for the synced modes
// "1/16" .. "2/1T". The tuned values are not the note lengths' exact ratios
// ("1/16" runs at 1/12 of the tempo, not 1/15, and "1/16T" at 1/8).
constexpr float kSyncMultiplier[] = {
    0.083333336f,   // "1/16"
    0.033333335f,   // "1/8"
    0.016666668f,   // "1/4"
    0.008333334f,   // "1/2"
    0.004166667f,   // "1/1"
    0.0020833334f,  // "2/1"
    0.125f,         // "1/16T"
    0.05f,          // "1/8T"
    0.025f,         // "1/4T"
    0.0125f,        // "1/2T"
    0.00625f,       // "1/1T"
    0.003125f,      // "2/1T"
};
static_assert(sizeof(kSyncMultiplier) / sizeof(float) ==
                  kLastSynced - kFirstSynced + 1,
              "one multiplier per synced mode");

// The pitch, FM and pulse-width destinations come in threes: oscillator 1
// (which 0), oscillator 2 (1), both (2), in menu order.
void addPerOscillator(int which, float amount, float& osc1, float& osc2) {
    if (which != 1) osc1 += amount;
    if (which != 0) osc2 += amount;
}

// Table steps per read for a free-running rate knob, scaled by factor.
float freeIncrement(float knob, float factor, float sampleRate) {
    return knob * knob * knob * knob * factor * kMaxFreeHz / sampleRate * kStepsPerCycle;
}

// The intensity's pitch curve, ((I - 0.5) 2)^5; times kPitchDepth it is
// the swing in semitones.
float pitchCurve(float intensity) {
    const float centred = (intensity - 0.5f) * 2.0f;
    return centred * centred * centred * centred * centred;
}

void syncToTempo(Lfo& lfo, int mode, float tempo) {
    if (mode < kFirstSynced || mode > kLastSynced) return;
    lfo.increment = tempo * kSyncMultiplier[mode - kFirstSynced] / lfo.sampleRate * kStepsPerCycle;
    lfo.phase = 0.0f;
}

// The entries a menu parameter selects (any integer; outside the menu
// too).
LfoWave waveform(const ParamBlock& params, int parameter) {
    return static_cast<LfoWave>(truncateIndex(params.get(parameter)));
}
LfoDestination destination(const ParamBlock& params, int parameter) {
    return static_cast<LfoDestination>(truncateIndex(params.get(parameter)));
}

}  // namespace

double Modulation::freeRateHz(float knob) {
    return double(freeIncrement(knob, 1.0f, 1.0f)) / Lfo::kCycleSteps;
}

float Modulation::pitchDepthSemitones(float intensity) { return pitchCurve(intensity) * kPitchDepth; }

bool Modulation::movesPitch(int destination) {
    return destination >= index(LfoDestination::kOsc1) && destination <= index(LfoDestination::kOsc12);
}

bool Modulation::movesNothing(int destination, bool lfo1) {
    const int last = index(lfo1 ? LfoDestination::kLfo2Rate : LfoDestination::kOsc12Pw);
    return destination < index(LfoDestination::kCutoff) || destination > last;
}

Modulation::Modulation(float sampleRate, RandomSource& random)
    : lfo1_(sampleRate, random), lfo2_(sampleRate, random) {}

void Modulation::setSampleRate(float sampleRate, RandomSource& random) {
    lfo1_ = Lfo(sampleRate, random);
    lfo2_ = Lfo(sampleRate, random);
}

void Modulation::step(const ParamBlock& params, ModulationTargets& targets) {
    float lfo2Factor = 1.0f;

    // LFO 1 stands still, and modulates nothing, with its rate knob at 0
    // in the free-running modes ("trigger", "none"); a synced LFO keeps the
    // rate its last note-on set.
    const float rate1 = params.get(param::kLfo1Rate);
    const float mode1 = params.get(param::kLfo1KeyTrigger);
    if (rate1 > 0.0f || mode1 > value(LfoTrigger::kNone)) {
        if (mode1 < value(LfoTrigger::k1_16)) {
            lfo1_.increment = freeIncrement(rate1, 1.0f, lfo1_.sampleRate);
        }
        const float v = lfo1_.read(waveform(params, param::kLfo1Waveform));
        apply(destination(params, param::kLfo1Destination), v, params.get(param::kLfo1Intensity), targets,
              lfo2Factor);
    }

    // LFO 2 normally runs even with its rate knob at 0 (the factor is 1):
    // it then stands at its phase and keeps applying the value found there.
    const float rate2 = params.get(param::kLfo2Rate);
    const float mode2 = params.get(param::kLfo2KeyTrigger);
    if (lfo2Factor + rate2 > 0.0f || mode2 > value(LfoTrigger::kNone)) {
        if (mode2 < value(LfoTrigger::k1_16)) {
            lfo2_.increment = freeIncrement(rate2, lfo2Factor, lfo2_.sampleRate);
        }
        const float v = lfo2_.read(waveform(params, param::kLfo2Waveform));
        const LfoDestination to = destination(params, param::kLfo2Destination);
        if (to != LfoDestination::kLfo2Rate) {
            apply(to, v, params.get(param::kLfo2Intensity), targets, lfo2Factor);
        }
    }
}

void Modulation::apply(LfoDestination destination, float v, float intensity, ModulationTargets& t,
                       float& lfo2Factor) {
    const float i = intensity;
    const int d = index(destination);
    switch (destination) {
        case LfoDestination::kCutoff:
            t.cutoff += (v + 1.0f) * (i * i * i * i * i) * 0.5f;
            break;
        case LfoDestination::kOsc1:
        case LfoDestination::kOsc2:
        case LfoDestination::kOsc12: {
            const float amount = v * pitchCurve(i) * kPitchDepth;
            addPerOscillator(d - index(LfoDestination::kOsc1), amount, t.pitch1, t.pitch2);
            break;
        }
        case LfoDestination::kOsc1Fm:
        case LfoDestination::kOsc2Fm:
        case LfoDestination::kOsc12Fm:
            addPerOscillator(d - index(LfoDestination::kOsc1Fm), (v + 1.0f) * (i * i * i * i) * 0.5f, t.fm1,
                             t.fm2);
            break;
        case LfoDestination::kOsc1Pw:
        case LfoDestination::kOsc2Pw:
        case LfoDestination::kOsc12Pw:
            addPerOscillator(d - index(LfoDestination::kOsc1Pw), v * (i * i * i * i) * 0.5f, t.pw1, t.pw2);
            break;
        case LfoDestination::kLfo2Rate:
            lfo2Factor = 1.0f - (v + 1.0f) * (i * i * i * i * i) * 0.5f;
            // An intensity above 1 would push the factor below 0 and run
            // LFO 2 backwards out of its tables: it stops at 0 instead.
            if (!(lfo2Factor >= 0.0f)) lfo2Factor = 0.0f;
            break;
        default:
            break;  // outside the menu: no modulation
    }
}

void Modulation::noteOn(const ParamBlock& params, float tempo) {
    syncToTempo(lfo1_, truncateIndex(params.get(param::kLfo1KeyTrigger)), tempo);
    syncToTempo(lfo2_, truncateIndex(params.get(param::kLfo2KeyTrigger)), tempo);
    if (params.get(param::kLfo2KeyTrigger) == value(LfoTrigger::kTrigger)) lfo2_.phase = 0.0f;
}
