// VstEventList: MIDI events as a host hands them to effProcessEvents.
//
// midiEvent fills one VstMidiEvent: the message's three bytes taken as they
// are (a test may send any byte), offset frames into the block. The list is
// the VstEvents record followed by its pointer slots: the two the record
// declares, or exactly as many as it holds when there are more, as hosts
// allocate them. orv-host's render and bench, and the tests, build their
// events here.
#pragma once

#include <cstddef>
#include <vector>

#include "plugin/vst2.h"

VstMidiEvent midiEvent(VstInt32 offset, int status, int data1, int data2);

class VstEventList {
public:
    // A list of the given pointers, null or anything else included.
    explicit VstEventList(const std::vector<VstEvent*>& pointers = {});
    // A list of count events, which must outlive it; the plug-in only reads
    // them.
    VstEventList(const VstMidiEvent* events, std::size_t count);

    // The record to send. Its numEvents may be changed to play a host that
    // announces something else.
    VstEvents* get() { return reinterpret_cast<VstEvents*>(storage_.data()); }

private:
    // Room for count pointers; the first slot.
    VstEvent** allocate(std::size_t count);

    std::vector<unsigned char> storage_;
};
