// ParameterText: each parameter's name and its value as a musician reads it.
//
// One table holds, for every one of the 44 parameters, the name a host
// shows and the conversion from the stored value to a display text and a
// unit label: the cutoff as the frequency the filter rings at, envelope
// times as the time a stage takes at the current sample rate, tunings in
// semitones or cents, levels in dB or %, LFO rates in Hz or, when synced
// to the tempo, the note value; choices as their menu entry, switches as
// "on"/"off". Each conversion reads the value the way the engine reads it,
// so a value outside its domain shows what it really does (a cutoff of 1.7
// shows the fully open filter, a FILTERTYPE of 0.5 shows "LP 24dB").
//
// The host's generic view (effGetParamDisplay, effGetParamLabel), the
// editor's value readout and orv-host info all show these words. Texts fit
// the interface's customary 8 characters plus the terminator. The way back,
// from such a text to a value, is ParameterReading.h.
#pragma once

#include "engine/ParamBlock.h"

namespace parameter_text {

constexpr int kTextSize = 9;  // 8 characters and the terminator

// [any thread] The parameter's name ("CUTOFF"); "Param" for every index
// without one (41..43, and any outside 0..43).
const char* name(int index);

// [any thread] Values are read once each from params. Writes the display
// text and the label of parameter index (each at most kTextSize bytes,
// terminator included) at sampleRate (Hz). Some texts depend on other
// parameters: the LFO rate shows the synced note value, the LFO intensity
// semitones when it moves a pitch. An index outside 0..43 gives empty
// texts.
void describe(int index, const ParamBlock& params, float sampleRate, char* display, char* label);

// The same for value instead of the one params holds for index. Answers
// the number the display shows, before rounding, in the label's unit; NaN
// when the display is a word ("off", "saw").
double describeValue(int index, float value, const ParamBlock& params, float sampleRate, char* display,
                     char* label);

// Any thread. The label printed on the panel with its section title
// ("FILTER ENV DECAY", "OSC 1 WAVE"); null for a parameter without a
// control of its own and for any index outside 0..43.
const char* panelName(int index);

}  // namespace parameter_text
