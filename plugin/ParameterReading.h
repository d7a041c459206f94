// ParameterReading: from a value as a player writes it to the value a
// parameter stores; the way back from ParameterText's display texts.
//
// A text is read in any case and spacing: a menu entry ("LP 24dB", "saw",
// or a common name for it, "pulse"), a display text ("off", "1/16"), a
// number with a unit ("2kHz", "62 ms", "-12 st", "+5 cents", "-6 dB",
// "40%") or a plain number, which is the stored value itself. A number
// with a unit becomes the value in the parameter's domain whose display,
// computed by the same conversions describe uses, comes nearest to it; so
// whatever describe shows reads back to a value that shows the same. When
// the current value already shows the text, it stays.
#pragma once

#include "engine/ParamBlock.h"

namespace parameter_text {

// A parameter's value domain: lo..hi, whole numbers only for menus and
// switches.
struct Domain {
    float lo = 0.0f, hi = 1.0f;
    bool whole = false;
};
// Any index outside 0..43 gets 0..1.
Domain domain(int index);

enum class Reading {
    kValue,          // value holds the value to store
    kUnknown,        // not a text this parameter shows, nor a number
    kOutsideDomain,  // a plain number outside the domain, or a number with
                     // a unit that no value in the domain shows
};

// Any thread; reads params (for the texts that depend on other parameters
// and for the current value) and changes nothing. Sets value only when it
// answers kValue.
Reading read(int index, const char* text, const ParamBlock& params, float sampleRate, float& value);

}  // namespace parameter_text
