#include "editor/ControlLayout.h"

#include "engine/Choices.h"

namespace layout {
namespace {

using namespace param;

// Knobs are as large as their strip's frames; the switches sit in a row
// under the MIDI LEARN title, as large as half their picture.
constexpr int16_t kKnobSize = 40, kSmallKnobSize = 26;
constexpr int16_t kSwitchTop = 472, kSwitchWidth = 30, kSwitchHeight = 20;

constexpr Control knob(int16_t x, int16_t y, int32_t tag, int32_t strip = kKnobBitmap, int16_t size = kKnobSize) {
    return {Kind::knob, x, y, int16_t(x + size), int16_t(y + size), tag, strip};
}
// A knob whose middle means none: the arc grows from the top to either side.
constexpr Control bipolarKnob(int16_t x, int16_t y, int32_t tag) { return knob(x, y, tag, kBipolarKnobBitmap); }
constexpr Control smallKnob(int16_t x, int16_t y, int32_t tag) {
    return knob(x, y, tag, kSmallKnobBitmap, kSmallKnobSize);
}
constexpr Control menu(int16_t l, int16_t t, int16_t r, int16_t b, int32_t tag) {
    return {Kind::menu, l, t, r, b, tag, 0};
}
constexpr Control learnSwitch(int16_t x, int32_t tag, int32_t bitmap) {
    return {Kind::learnSwitch, x, kSwitchTop, int16_t(x + kSwitchWidth), int16_t(kSwitchTop + kSwitchHeight), tag, bitmap};
}

}  // namespace

const Control kControls[kControlCount] = {
    knob(193, 16, kWarmthOsc1),
    menu(197, 80, 230, 95, kWaveformOsc1),
    bipolarKnob(317, 16, kTuneOsc2),
    bipolarKnob(370, 16, kFineTuneOsc2),
    knob(317, 87, kFmOsc2),
    knob(370, 87, kPwOsc2),
    menu(268, 80, 301, 95, kWaveformOsc2),
    knob(442, 16, kVolumeOsc1Osc2),
    knob(442, 87, kVolumeSubOsc),
    menu(493, 102, 538, 118, kSubOscOffset),
    knob(157, 175, kCutoff),
    knob(211, 175, kResonance),
    knob(265, 175, kKeyFollow),
    knob(317, 175, kFilterContour),
    knob(370, 175, kFilterVelocityContour),
    knob(211, 246, kFilterAttack),
    knob(265, 246, kFilterDecay),
    knob(317, 246, kFilterSustain),
    knob(370, 246, kFilterRelease),
    menu(100, 192, 145, 207, kFilterType),
    knob(211, 339, kAttack),
    knob(265, 339, kDecay),
    knob(317, 339, kSustain),
    knob(370, 339, kRelease),
    knob(442, 175, kPortamento),
    menu(438, 238, 483, 253, kPortamentoKeyTrigger),
    bipolarKnob(442, 276, kMasterPitch),
    knob(442, 339, kVolume),
    knob(67, 16, kLfo1Intensity),
    knob(121, 16, kLfo1Rate),
    menu(67, 80, 167, 95, kLfo1Waveform),
    menu(67, 100, 167, 115, kLfo1Destination),
    menu(67, 120, 167, 135, kLfo1KeyTrigger),
    knob(67, 247, kLfo2Intensity),
    knob(121, 247, kLfo2Rate),
    menu(67, 311, 167, 326, kLfo2Waveform),
    menu(67, 331, 167, 346, kLfo2Destination),
    menu(67, 351, 167, 366, kLfo2KeyTrigger),
    learnSwitch(461, kControllerLearn, kLearnBitmap),
    learnSwitch(492, kLearnAllPrograms, kLearnAllBitmap),
    // Oscillator 1's pulse width and FM amount, under its wave menu.
    smallKnob(189, 104, kPwOsc1),
    smallKnob(217, 104, kFmOsc1),
};

const int32_t kMenuRefreshOrder[kMenuCount] = {
    kLfo1Waveform, kLfo2Waveform, kLfo1KeyTrigger, kLfo2KeyTrigger, kLfo1Destination, kLfo2Destination,
    kWaveformOsc1, kWaveformOsc2, kPortamentoKeyTrigger, kFilterType, kSubOscOffset,
};

int controlIndexOfTag(int32_t tag) {
    for (int i = 0; i < kControlCount; ++i)
        if (kControls[i].tag == tag) return i;
    return -1;
}

int32_t destinationOfDepth(int32_t tag) {
    return tag == kLfo1Intensity ? kLfo1Destination : tag == kLfo2Intensity ? kLfo2Destination : -1;
}

bool isPitchDestination(float destination) {
    // The entry is the value's integer part: "osc1", "osc2" and "osc1/2".
    using choice::LfoDestination;
    return destination >= float(choice::index(LfoDestination::kOsc1)) &&
           destination < float(choice::index(LfoDestination::kOsc12) + 1);
}

int32_t knobStrip(const Control& knob, float destination) {
    if (destinationOfDepth(knob.tag) >= 0 && isPitchDestination(destination)) return kBipolarKnobBitmap;
    return knob.bitmap;
}

Entries entriesOf(const Control& control) {
    const choice::Menu m = choice::menuFor(control.tag);
    return control.kind == Kind::menu ? Entries{m.texts, m.count} : Entries{};
}

}  // namespace layout
