#include "host/core/VstEventList.h"

VstMidiEvent midiEvent(VstInt32 offset, int status, int data1, int data2) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = offset;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    return e;
}

// The slots are written through a plain pointer: indexing the declared
// two-slot array past its end is undefined, whatever storage lies behind it.
VstEventList::VstEventList(const std::vector<VstEvent*>& pointers) {
    VstEvent** slots = allocate(pointers.size());
    for (std::size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
}

VstEventList::VstEventList(const VstMidiEvent* events, std::size_t count) {
    VstEvent** slots = allocate(count);
    for (std::size_t i = 0; i < count; ++i)
        slots[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&events[i]));
}

VstEvent** VstEventList::allocate(std::size_t count) {
    constexpr std::size_t kDeclaredSlots = 2;  // VstEvents::events
    const std::size_t extra = count > kDeclaredSlots ? count - kDeclaredSlots : 0;
    storage_.assign(sizeof(VstEvents) + extra * sizeof(VstEvent*), 0);
    get()->numEvents = static_cast<VstInt32>(count);
    return get()->events;
}
