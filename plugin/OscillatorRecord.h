// OscillatorRecord: the oscillator mode in the saved state, and its names.
//
// A clean instance saves one trailer record (StateTrailer.h), tag "OSCM",
// holding the mode's name; a classic one saves none, so its state is what
// it was before the choice existed. The names are also what the panel menu
// and orv-host --oscillators show and take.
//
// [any thread] Pure functions.
#pragma once

#include <string>

#include "engine/MinBlepRing.h"

namespace oscillator_record {

constexpr const char* kTag = "OSCM";
constexpr const char* kClassic = "classic";
constexpr const char* kClean = "clean";

inline const char* name(OscillatorMode mode) { return mode == OscillatorMode::kClean ? kClean : kClassic; }

// The mode named by text; false (mode untouched) for any other text.
inline bool read(const std::string& text, OscillatorMode& mode) {
    if (text == kClassic) {
        mode = OscillatorMode::kClassic;
    } else if (text == kClean) {
        mode = OscillatorMode::kClean;
    } else {
        return false;
    }
    return true;
}

}  // namespace oscillator_record
