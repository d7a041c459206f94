// VstEventList: MIDI events as a host hands them to effProcessEvents.
// VstEventBlock: one block's channel and system-exclusive messages, in
// order, as one such list.
//
// midiEvent fills one VstMidiEvent: the message's three bytes taken as they
// are (a test may send any byte), offset frames into the block. The list is
// the VstEvents record followed by its pointer slots: the two the record
// declares, or exactly as many as it holds when there are more, as hosts
// allocate them. orv-host's render and bench, and the tests, build their
// events here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "plugin/vst2.h"

VstMidiEvent midiEvent(VstInt32 offset, int status, int data1, int data2);

class VstEventList {
public:
    // A list of the given pointers, null or anything else included.
    explicit VstEventList(const std::vector<VstEvent*>& pointers = {}) { assign(pointers); }
    // The list made again of other pointers, in the room it has when that
    // is enough (reserve), so without allocating.
    void assign(const std::vector<VstEvent*>& pointers);
    void reserve(std::size_t count);
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

class VstEventBlock {
public:
    void clear();
    void addMidi(VstInt32 offset, int status, int data1, int data2);
    // bytes (F0 .. F7) must stay valid until the plug-in has taken the list.
    void addSysEx(VstInt32 offset, const std::uint8_t* bytes, std::size_t size);
    // A copy of a host's MIDI or system-exclusive event at offset; false,
    // and nothing added, for any other event.
    bool add(const VstEvent* event, VstInt32 offset);
    // Room for this many of each kind, so that filling and listing them
    // allocate nothing (an audio thread's list).
    void reserve(std::size_t midi, std::size_t sysex);

    bool empty() const { return order_.empty(); }
    std::size_t size() const { return order_.size(); }
    // The events in the order they were added, and the record holding them.
    const VstEvent* at(std::size_t i) const;
    VstEvents* list();

private:
    struct Entry {
        bool sysex;
        std::size_t index;
    };
    std::vector<VstMidiEvent> midi_;
    std::vector<VstMidiSysexEvent> sysex_;
    std::vector<Entry> order_;
    std::vector<VstEvent*> pointers_;
    VstEventList list_;
};
