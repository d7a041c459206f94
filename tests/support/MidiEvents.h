// MIDI events as a host builds them for effProcessEvents: each with its
// sample offset inside the block.
#pragma once

#include <utility>
#include <vector>

#include "plugin/vst2.h"

namespace midi {

inline VstMidiEvent message(VstInt32 offset, int status, int data1, int data2) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = offset;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    return e;
}

inline VstMidiEvent noteOn(VstInt32 offset, int note, int velocity = 100, int channel = 0) {
    return message(offset, 0x90 | channel, note, velocity);
}
inline VstMidiEvent noteOff(VstInt32 offset, int note, int channel = 0) {
    return message(offset, 0x80 | channel, note, 64);
}
inline VstMidiEvent controller(VstInt32 offset, int number, int value, int channel = 0) {
    return message(offset, 0xB0 | channel, number, value);
}
// Only the most significant byte moves the pitch; lsb is sent all the same.
inline VstMidiEvent pitchBend(VstInt32 offset, int msb, int lsb = 0, int channel = 0) {
    return message(offset, 0xE0 | channel, lsb, msb);
}

inline VstEvent* asEvent(VstMidiEvent& e) { return reinterpret_cast<VstEvent*>(&e); }

// A host's event list as it lies in memory: the record followed by exactly
// as many pointers as it holds (so a sanitizer sees any read past them).
// The pointers may be anything, null included; numEvents can be changed to
// play a host that announces something else.
class EventList {
public:
    explicit EventList(std::vector<VstEvent*> pointers)
        : storage_(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*)) {
        list()->numEvents = static_cast<VstInt32>(pointers.size());
        VstEvent** slots = list()->events;
        for (std::size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
    }
    // A list of the given events, which must outlive it.
    static EventList of(std::vector<VstMidiEvent>& events) {
        std::vector<VstEvent*> pointers;
        for (VstMidiEvent& e : events) pointers.push_back(asEvent(e));
        return EventList(std::move(pointers));
    }
    VstEvents* list() { return reinterpret_cast<VstEvents*>(storage_.data()); }

private:
    std::vector<unsigned char> storage_;
};

}  // namespace midi
