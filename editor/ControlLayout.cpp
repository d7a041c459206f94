#include "editor/ControlLayout.h"

namespace layout {
namespace {

const char* const kOsc1Waves[] = {"saw", "rec", "tri", "sin", "noise"};
const char* const kOsc2Waves[] = {"saw", "rec", "tri", "sin"};
const char* const kSubOffsets[] = {"-24", "-12"};
const char* const kFilterTypes[] = {"LP 12dB", "LP 24dB"};
const char* const kGlideModes[] = {"mode 1", "mode 2", "mode 3"};
const char* const kLfoWaves[] = {"sin", "tri", "saw", "rec", "noise"};
// LFO 2 lists the same destinations without the last, "lfo2 rate".
const char* const kLfoDestinations[] = {"cutoff",  "osc1",    "osc2",    "osc1/2",    "osc1 fm",  "osc2 fm",
                                        "osc1/2 fm", "osc1 pw", "osc2 pw", "osc1/2 pw", "lfo2 rate"};
const char* const kLfoTriggers[] = {"trigger", "none", "1/16",  "1/8",   "1/4",  "1/2",  "1/1",
                                    "2/1",     "1/16T", "1/8T", "1/4T", "1/2T", "1/1T", "2/1T"};

template <int N>
constexpr int32_t count(const char* const (&)[N]) {
    return N;
}

constexpr Control knob(int16_t x, int16_t y, int32_t tag) {
    return {Kind::knob, x, y, int16_t(x + 40), int16_t(y + 40), tag, nullptr, 0, 0};
}
template <int N>
constexpr Control menu(int16_t l, int16_t t, int16_t r, int16_t b, int32_t tag, const char* const (&entries)[N],
                       int32_t n = N) {
    return {Kind::menu, l, t, r, b, tag, entries, n, 0};
}
constexpr Control learnSwitch(int16_t x, int32_t tag, int32_t bitmap) {
    return {Kind::learnSwitch, x, 472, int16_t(x + 30), 492, tag, nullptr, 0, bitmap};
}

}  // namespace

const Control kControls[kControlCount] = {
    knob(193, 16, 2),  // osc 1 warmth
    menu(197, 80, 230, 95, 3, kOsc1Waves),
    knob(317, 16, 8),  // osc 2 tune, fine tune, FM, pulse width
    knob(370, 16, 9),
    knob(317, 87, 11),
    knob(370, 87, 10),
    menu(268, 80, 301, 95, 7, kOsc2Waves),
    knob(442, 16, 12),  // oscillator and sub-oscillator levels, sub octave
    knob(442, 87, 13),
    menu(493, 102, 538, 118, 40, kSubOffsets),
    knob(157, 175, 16),  // filter: cutoff, resonance, key follow, envelope, velocity
    knob(211, 175, 17),
    knob(265, 175, 19),
    knob(317, 175, 20),
    knob(370, 175, 18),
    knob(211, 246, 21),  // filter envelope
    knob(265, 246, 22),
    knob(317, 246, 23),
    knob(370, 246, 24),
    menu(100, 192, 145, 207, 39, kFilterTypes),
    knob(211, 339, 25),  // amplifier envelope
    knob(265, 339, 26),
    knob(317, 339, 27),
    knob(370, 339, 28),
    knob(442, 175, 14),  // glide time and mode
    menu(438, 238, 483, 253, 15, kGlideModes),
    knob(442, 276, 1),  // master tune and volume
    knob(442, 339, 0),
    knob(67, 16, 29),  // LFO 1
    knob(121, 16, 30),
    menu(67, 80, 167, 95, 31, kLfoWaves),
    menu(67, 100, 167, 115, 32, kLfoDestinations),
    menu(67, 120, 167, 135, 33, kLfoTriggers),
    knob(67, 247, 34),  // LFO 2
    knob(121, 247, 35),
    menu(67, 311, 167, 326, 36, kLfoWaves),
    menu(67, 331, 167, 346, 37, kLfoDestinations, count(kLfoDestinations) - 1),
    menu(67, 351, 167, 366, 38, kLfoTriggers),
    learnSwitch(461, 43, kLearnBitmap),
    learnSwitch(492, 42, kLearnAllBitmap),
};

const int32_t kMenuRefreshOrder[kMenuCount] = {31, 36, 33, 38, 32, 37, 3, 7, 15, 39, 40};

int controlIndexOfTag(int32_t tag) {
    for (int i = 0; i < kControlCount; ++i)
        if (kControls[i].tag == tag) return i;
    return -1;
}

}  // namespace layout
