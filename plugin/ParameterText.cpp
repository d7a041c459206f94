#include "plugin/ParameterText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/Choices.h"
#include "engine/DspMath.h"
#include "engine/Envelope.h"
#include "engine/LadderTuning.h"
#include "engine/Modulation.h"
#include "engine/SynthEngine.h"
#include "engine/WarmthSmoother.h"

namespace parameter_text {
namespace {

using namespace param;

// What one conversion sees: the parameter's own value, the whole block for
// the texts that depend on other parameters, and the host rate.
struct Context {
    float value;
    const ParamBlock& params;
    float sampleRate;
};

// Where a conversion writes: display and label, kTextSize bytes each, and
// the number shown before it was rounded (NaN for a word).
struct Text {
    char* display;
    char* label;
    double amount = std::nan("");
    void set(const char* d, const char* l) {
        copy(display, d);
        copy(label, l);
    }
    // Cut to 8 characters; every text this table makes fits already.
    static void copy(char* to, const char* from) {
        const std::size_t n = strnlen(from, kTextSize - 1);
        std::memcpy(to, from, n);
        to[n] = '\0';
    }
};

// Three significant digits where they fit, fewer decimals as the number
// grows; a number too large for 8 characters in exponent form.
void number(Text& t, double v, const char* label, bool sign = false) {
    char text[32];
    if (std::isinf(v)) {
        std::snprintf(text, sizeof text, "%s", v < 0 ? "-inf" : "inf");
    } else {
        const double a = std::fabs(v);
        const int decimals = a < 10.0 ? 2 : a < 100.0 ? 1 : 0;
        std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, v);
        if (std::strlen(text) >= kTextSize) std::snprintf(text, sizeof text, "%.2g", v);
    }
    t.set(text, label);
    t.amount = v;
}

void seconds(Text& t, double s, const char* msLabel = "ms", const char* sLabel = "s") {
    if (s < 1.0) return number(t, s * 1000.0, msLabel);
    number(t, s, sLabel);
}

void hertz(Text& t, double hz) {
    if (hz < 1000.0) return number(t, hz, "Hz");
    number(t, hz / 1000.0, "kHz");
}

void decibels(Text& t, double gain) { number(t, 20.0 * std::log10(std::fabs(gain)), "dB"); }

void percent(Text& t, double fraction) { number(t, fraction * 100.0, "%"); }

// ---- conversions, one per kind of parameter --------------------------------

// The output is scaled by the volume squared; beyond full it plays as full.
void volume(Text& t, const Context& c) {
    const double v = std::fmin(std::fabs(double(c.value)), 1.0);
    decibels(t, v * v);
}

void masterPitch(Text& t, const Context& c) {
    number(t, SynthEngine::masterPitchSemitones(c.value) * 100.0, "cents", true);
}
void coarseTune(Text& t, const Context& c) {
    number(t, SynthEngine::coarseTuneSemitones(c.value), "semi", true);
}
void fineTune(Text& t, const Context& c) {
    number(t, SynthEngine::fineTuneSemitones(c.value) * 100.0, "cents", true);
}

// The warmth smoother's -3 dB frequency at the host rate; "off" while it
// passes everything.
void warmth(Text& t, const Context& c) {
    const double k = WarmthSmoother::coefficient(c.value);
    if (!(k > 0.0)) return t.set("off", "");
    if (!(k < 1.0)) return t.set("0.00", "Hz");  // the smoother holds still
    // |H|^2 = (1-k)^2 / (1 - 2k cos w + k^2) = 1/2.
    const double cosW = 1.0 - (1.0 - k) * (1.0 - k) / (2.0 * k);
    if (cosW <= -1.0) return t.set("off", "");  // never 3 dB down below Nyquist
    hertz(t, std::acos(cosW) / (2.0 * kPiDouble) * usableSampleRate(c.sampleRate));
}

// Share of the cycle spent low: 10 % at width 0, 90 % at 1.
void pulseWidth(Text& t, const Context& c) { percent(t, 0.1 + 0.8 * clampUnit(c.value)); }

void plainPercent(Text& t, const Context& c) { percent(t, c.value); }
void clampedPercent(Text& t, const Context& c) { percent(t, clampUnit(c.value)); }

// Oscillator 2's share of the mix; oscillator 1 gets the rest.
void oscMix(Text& t, const Context& c) { number(t, c.value * 100.0, "% osc2"); }

void level(Text& t, const Context& c) { decibels(t, c.value); }

// The glide as the time it takes over an octave.
void portamento(Text& t, const Context& c) {
    if (!(c.value > 0.0f)) return t.set("off", "");
    const double perSample = SynthEngine::glideStep(c.value);
    seconds(t, 12.0 / perSample / usableSampleRate(c.sampleRate), "ms/oct", "s/oct");
}

// The cutoff knob alone (no key tracking, envelope or LFO): where the
// selected filter rings.
void cutoff(Text& t, const Context& c) {
    const bool eightStages = c.params.get(kFilterType) != choice::value(choice::FilterType::kLp12);
    hertz(t, ladder::cornerHz(c.value, eightStages, c.sampleRate));
}

void attack(Text& t, const Context& c) { seconds(t, Envelope::attackSeconds(c.value, c.sampleRate)); }
void decay(Text& t, const Context& c) { seconds(t, Envelope::decaySeconds(c.value, c.sampleRate)); }
void release(Text& t, const Context& c) { seconds(t, Envelope::releaseSeconds(c.value, c.sampleRate)); }

// LFO intensity: the pitch swing in semitones when the LFO moves a pitch,
// else the share of its destination's range it moves (the fifth power of
// the knob for the cutoff and LFO 2's rate, the fourth for FM and width).
void lfoIntensity(Text& t, const Context& c, int destinationIndex, bool lfo1) {
    const int destination = truncateIndex(c.params.get(destinationIndex));
    if (Modulation::movesNothing(destination, lfo1)) return t.set("off", "");
    if (Modulation::movesPitch(destination))
        return number(t, Modulation::pitchDepthSemitones(c.value), "semi", true);
    const double i = c.value;
    const bool fifthPower = destination == 0 || destination == 10;
    percent(t, fifthPower ? i * i * i * i * i : i * i * i * i);
}
void lfo1Intensity(Text& t, const Context& c) { lfoIntensity(t, c, kLfo1Destination, true); }
void lfo2Intensity(Text& t, const Context& c) { lfoIntensity(t, c, kLfo2Destination, false); }

void entry(Text& t, int index, int number);

// The free-running rate, or the note value the mode syncs it to.
void lfoRate(Text& t, const Context& c, int modeIndex) {
    const int mode = truncateIndex(c.params.get(modeIndex));
    if (mode >= choice::index(choice::LfoTrigger::k1_16) && mode <= choice::index(choice::LfoTrigger::k2_1T))
        return entry(t, modeIndex, mode);
    hertz(t, Modulation::freeRateHz(c.value));
}
void lfo1Rate(Text& t, const Context& c) { lfoRate(t, c, kLfo1KeyTrigger); }
void lfo2Rate(Text& t, const Context& c) { lfoRate(t, c, kLfo2KeyTrigger); }

// The text of a menu parameter's entry number; a number beyond the menu
// as its number ("#7"): the engine makes of it what its code does with an
// index past the menu. The three entries longer than 8 characters
// ("osc1/2 fm", "osc1/2 pw", "lfo2 rate") lose their space to fit.
void entry(Text& t, int index, int number) {
    const choice::Menu menu = choice::menuFor(index);
    if (number >= 0 && number < menu.count) {
        const char* text = menu.texts[number];
        if (std::strlen(text) < kTextSize) return t.set(text, "");
        char compact[kTextSize * 2] = {};
        for (std::size_t from = 0, to = 0; text[from] && to + 1 < sizeof compact; ++from)
            if (text[from] != ' ') compact[to++] = text[from];
        return t.set(compact, "");
    }
    char text[16];
    if (number > 9999) return t.set("#>9999", "");
    if (number < -999) return t.set("#<-999", "");
    std::snprintf(text, sizeof text, "#%d", number);
    t.set(text, "");
}

// Menus the engine reads by truncating the value.
template <int kIndex>
void menuOf(Text& t, const Context& c) { entry(t, kIndex, truncateIndex(c.value)); }
// Two-entry menus the engine reads as "the first entry, or anything else".
template <int kIndex>
void zeroOrOther(Text& t, const Context& c) { entry(t, kIndex, c.value == 0.0f ? 0 : 1); }

void learnSwitch(Text& t, const Context& c) { t.set(c.value > 0.0f ? "on" : "off", ""); }

struct Parameter {
    const char* name;
    void (*convert)(Text&, const Context&);
};

// Every parameter, by index. The names of 33 and 38 are spelled with a
// zero after "LF"; 41..43 have none of their own.
const Parameter kParameters[kCount] = {
    {"VOLUME", volume},
    {"MASTERPITCH", masterPitch},
    {"WARMTHOSC1", warmth},
    {"WAVEFORMOSC1", menuOf<kWaveformOsc1>},
    {"PWOSC1", pulseWidth},
    {"FMOSC1", plainPercent},
    {"WARMTHOSC2", plainPercent},  // stored, but the voice does not read it
    {"WAVEFORMOSC2", menuOf<kWaveformOsc2>},
    {"TUNEOSC2", coarseTune},
    {"FINETUNEOSC2", fineTune},
    {"PWOSC2", pulseWidth},
    {"FMOSC2", plainPercent},
    {"VOLUMEOSC1OSC2", oscMix},
    {"VOLUMESUBOSC", level},
    {"PORTAMENTO", portamento},
    {"PORTAMENTOKEYTRIGGER", menuOf<kPortamentoKeyTrigger>},
    {"CUTOFF", cutoff},
    {"RESONANCE", clampedPercent},
    {"FILTERVELOCITYCONTOUR", plainPercent},
    {"KEYFOLLOW", plainPercent},
    {"FILTERCONTOUR", plainPercent},
    {"FILTERATTACK", attack},
    {"FILTERDECAY", decay},
    {"FILTERSUSTAIN", plainPercent},
    {"FILTERRELEASE", release},
    {"ATTACK", attack},
    {"DECAY", decay},
    {"SUSTAIN", level},
    {"RELEASE", release},
    {"LFO1INTENSITY", lfo1Intensity},
    {"LFO1RATE", lfo1Rate},
    {"LFO1WAVEFORM", menuOf<kLfo1Waveform>},
    {"LFO1DESTINATION", menuOf<kLfo1Destination>},
    {"LF01KEYTRIGGER", menuOf<kLfo1KeyTrigger>},
    {"LFO2INTENSITY", lfo2Intensity},
    {"LFO2RATE", lfo2Rate},
    {"LFO2WAVEFORM", menuOf<kLfo2Waveform>},
    {"LFO2DESTINATION", menuOf<kLfo2Destination>},
    {"LF02KEYTRIGGER", menuOf<kLfo2KeyTrigger>},
    {"FILTERTYPE", zeroOrOther<kFilterType>},
    {"SUBOSCOFFSET", zeroOrOther<kSubOscOffset>},
    {nullptr, plainPercent},  // stored in programs, read by nothing
    {nullptr, learnSwitch},   // learn in all programs
    {nullptr, learnSwitch},   // controller learn
};

// The label printed on the panel with its section title, as a player reads
// it; none for the parameters without a control.
const char* const kPanelNames[kCount] = {
    "MASTER VOLUME",      "MASTER TUNE",       "OSC 1 WARMTH",       "OSC 1 WAVE",
    "OSC 1 PW",           "OSC 1 FM",          nullptr,              "OSC 2 WAVE",
    "OSC 2 TUNE",         "OSC 2 FINE",        "OSC 2 PW",           "OSC 2 FM",
    "OSC MIX",            "SUB LEVEL",         "GLIDE TIME",         "GLIDE MODE",
    "FILTER CUTOFF",      "FILTER RESO",       "FILTER VEL",         "FILTER KEY",
    "FILTER ENV",         "FILTER ENV ATTACK", "FILTER ENV DECAY",   "FILTER ENV SUSTAIN",
    "FILTER ENV RELEASE", "AMP ENV ATTACK",    "AMP ENV DECAY",      "AMP ENV SUSTAIN",
    "AMP ENV RELEASE",    "LFO 1 DEPTH",       "LFO 1 RATE",         "LFO 1 WAVE",
    "LFO 1 DEST",         "LFO 1 SYNC",        "LFO 2 DEPTH",        "LFO 2 RATE",
    "LFO 2 WAVE",         "LFO 2 DEST",        "LFO 2 SYNC",         "FILTER TYPE",
    "SUB OCTAVE",         nullptr,             "MIDI LEARN ALL",     "MIDI LEARN",
};

}  // namespace

const char* name(int index) {
    if (index < 0 || index >= kCount || !kParameters[index].name) return "Param";
    return kParameters[index].name;
}

void describe(int index, const ParamBlock& params, float sampleRate, char* display, char* label) {
    if (index < 0 || index >= kCount) return Text{display, label}.set("", "");
    describeValue(index, params.get(index), params, sampleRate, display, label);
}

double describeValue(int index, float value, const ParamBlock& params, float sampleRate, char* display,
                     char* label) {
    Text t{display, label};
    if (index < 0 || index >= kCount) {
        t.set("", "");
        return t.amount;
    }
    kParameters[index].convert(t, Context{value, params, sampleRate});
    return t.amount;
}

const char* panelName(int index) { return index < 0 || index >= kCount ? nullptr : kPanelNames[index]; }

}  // namespace parameter_text
