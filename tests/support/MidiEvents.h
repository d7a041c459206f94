// The tests' names for MIDI messages (built by host/core/VstEventList.h, which
// also makes the lists): each with its sample offset inside the block.
#pragma once

#include <vector>

#include "host/core/VstEventList.h"
#include "plugin/vst2.h"

namespace midi {

inline VstMidiEvent noteOn(VstInt32 offset, int note, int velocity = 100, int channel = 0) {
    return midiEvent(offset, 0x90 | channel, note, velocity);
}
inline VstMidiEvent noteOff(VstInt32 offset, int note, int channel = 0) {
    return midiEvent(offset, 0x80 | channel, note, 64);
}
inline VstMidiEvent controller(VstInt32 offset, int number, int value, int channel = 0) {
    return midiEvent(offset, 0xB0 | channel, number, value);
}
// Only the most significant byte moves the pitch; lsb is sent all the same.
inline VstMidiEvent pitchBend(VstInt32 offset, int msb, int lsb = 0, int channel = 0) {
    return midiEvent(offset, 0xE0 | channel, lsb, msb);
}

inline VstEvent* asEvent(VstMidiEvent& e) { return reinterpret_cast<VstEvent*>(&e); }

}  // namespace midi
