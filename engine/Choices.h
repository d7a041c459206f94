// Choices: the entries of the menu parameters.
//
// A menu parameter stores the 0-based number of its entry as a float
// (WAVEFORMOSC1 = 3.0 is "sin"). Each menu below is an enum in menu order
// with the entry texts beside it, so the engine, the factory bank, the
// editor's menus, the hosts' display texts and the tests all read the same
// numbering. The engine truncates a menu value to an index; where it tests
// one entry it compares the float with value(entry), exactly, as it always
// has (FILTERTYPE 0.5 selects "LP 24dB").
#pragma once

#include <iterator>

#include "engine/ParamBlock.h"

namespace choice {

// WAVEFORMOSC1, WAVEFORMOSC2. "noise" is on oscillator 1's menu only.
enum class OscWave : int { kSaw, kRec, kTri, kSin, kNoise };
inline constexpr const char* kOscWaveTexts[] = {"saw", "rec", "tri", "sin", "noise"};

// PORTAMENTOKEYTRIGGER. A legato note glides in every mode; "mode 1" also
// restarts the envelopes on it, "mode 3" also glides between detached notes.
enum class GlideMode : int { kMode1, kMode2, kMode3 };
inline constexpr const char* kGlideModeTexts[] = {"mode 1", "mode 2", "mode 3"};

// FILTERTYPE: the four-stage or the eight-stage ladder.
enum class FilterType : int { kLp12, kLp24 };
inline constexpr const char* kFilterTypeTexts[] = {"LP 12dB", "LP 24dB"};

// SUBOSCOFFSET: the sub-oscillator two or one octaves below the note.
enum class SubOffset : int { kDown24, kDown12 };
inline constexpr const char* kSubOffsetTexts[] = {"-24", "-12"};

// LFO1WAVEFORM, LFO2WAVEFORM. Not the oscillators' order.
enum class LfoWave : int { kSin, kTri, kSaw, kRec, kNoise };
inline constexpr const char* kLfoWaveTexts[] = {"sin", "tri", "saw", "rec", "noise"};

// LFO1DESTINATION, LFO2DESTINATION. "lfo2 rate" is on LFO 1's menu only.
enum class LfoDestination : int {
    kCutoff,
    kOsc1,
    kOsc2,
    kOsc12,
    kOsc1Fm,
    kOsc2Fm,
    kOsc12Fm,
    kOsc1Pw,
    kOsc2Pw,
    kOsc12Pw,
    kLfo2Rate,
};
inline constexpr const char* kLfoDestinationTexts[] = {"cutoff",  "osc1",    "osc2",      "osc1/2",
                                                       "osc1 fm", "osc2 fm", "osc1/2 fm", "osc1 pw",
                                                       "osc2 pw", "osc1/2 pw", "lfo2 rate"};

// LFO1KEYTRIGGER, LFO2KEYTRIGGER: restart at each note-on, run free, or
// run at a note value of the host tempo (restarting at each note-on).
enum class LfoTrigger : int {
    kTrigger,
    kNone,
    k1_16,
    k1_8,
    k1_4,
    k1_2,
    k1_1,
    k2_1,
    k1_16T,
    k1_8T,
    k1_4T,
    k1_2T,
    k1_1T,
    k2_1T,
};
inline constexpr const char* kLfoTriggerTexts[] = {"trigger", "none",  "1/16", "1/8",  "1/4",
                                                   "1/2",     "1/1",   "2/1",  "1/16T", "1/8T",
                                                   "1/4T",    "1/2T",  "1/1T", "2/1T"};

template <typename Entry>
constexpr int index(Entry entry) {
    return static_cast<int>(entry);
}
// The parameter value that selects entry.
template <typename Entry>
constexpr float value(Entry entry) {
    return static_cast<float>(index(entry));
}

static_assert(std::size(kOscWaveTexts) == index(OscWave::kNoise) + 1, "one text per entry");
static_assert(std::size(kGlideModeTexts) == index(GlideMode::kMode3) + 1, "one text per entry");
static_assert(std::size(kFilterTypeTexts) == index(FilterType::kLp24) + 1, "one text per entry");
static_assert(std::size(kSubOffsetTexts) == index(SubOffset::kDown12) + 1, "one text per entry");
static_assert(std::size(kLfoWaveTexts) == index(LfoWave::kNoise) + 1, "one text per entry");
static_assert(std::size(kLfoDestinationTexts) == index(LfoDestination::kLfo2Rate) + 1, "one text per entry");
static_assert(std::size(kLfoTriggerTexts) == index(LfoTrigger::k2_1T) + 1, "one text per entry");

// A parameter's menu: its entry texts in order. count is 0 for a parameter
// that is not a menu. Any thread.
struct Menu {
    const char* const* texts = nullptr;
    int count = 0;
};

constexpr Menu menuFor(int parameter) {
    switch (parameter) {
        case param::kWaveformOsc1: return {kOscWaveTexts, index(OscWave::kNoise) + 1};
        case param::kWaveformOsc2: return {kOscWaveTexts, index(OscWave::kSin) + 1};
        case param::kPortamentoKeyTrigger: return {kGlideModeTexts, index(GlideMode::kMode3) + 1};
        case param::kFilterType: return {kFilterTypeTexts, index(FilterType::kLp24) + 1};
        case param::kSubOscOffset: return {kSubOffsetTexts, index(SubOffset::kDown12) + 1};
        case param::kLfo1Waveform:
        case param::kLfo2Waveform: return {kLfoWaveTexts, index(LfoWave::kNoise) + 1};
        case param::kLfo1Destination:
            return {kLfoDestinationTexts, index(LfoDestination::kLfo2Rate) + 1};
        case param::kLfo2Destination:
            return {kLfoDestinationTexts, index(LfoDestination::kOsc12Pw) + 1};
        case param::kLfo1KeyTrigger:
        case param::kLfo2KeyTrigger: return {kLfoTriggerTexts, index(LfoTrigger::k2_1T) + 1};
        default: return {};
    }
}

}  // namespace choice
