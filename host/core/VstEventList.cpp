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
void VstEventList::assign(const std::vector<VstEvent*>& pointers) {
    VstEvent** slots = allocate(pointers.size());
    for (std::size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
}

VstEventList::VstEventList(const VstMidiEvent* events, std::size_t count) {
    VstEvent** slots = allocate(count);
    for (std::size_t i = 0; i < count; ++i)
        slots[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&events[i]));
}

void VstEventList::reserve(std::size_t count) { storage_.reserve(sizeof(VstEvents) + count * sizeof(VstEvent*)); }

VstEvent** VstEventList::allocate(std::size_t count) {
    constexpr std::size_t kDeclaredSlots = 2;  // VstEvents::events
    const std::size_t extra = count > kDeclaredSlots ? count - kDeclaredSlots : 0;
    storage_.assign(sizeof(VstEvents) + extra * sizeof(VstEvent*), 0);
    get()->numEvents = static_cast<VstInt32>(count);
    return get()->events;
}

void VstEventBlock::clear() {
    midi_.clear();
    sysex_.clear();
    order_.clear();
}

void VstEventBlock::addMidi(VstInt32 offset, int status, int data1, int data2) {
    order_.push_back({false, midi_.size()});
    midi_.push_back(midiEvent(offset, status, data1, data2));
}

void VstEventBlock::addSysEx(VstInt32 offset, const std::uint8_t* bytes, std::size_t size) {
    VstMidiSysexEvent e{};
    e.type = kVstSysExType;
    e.byteSize = sizeof(VstMidiSysexEvent);
    e.deltaFrames = offset;
    e.dumpBytes = static_cast<VstInt32>(size);
    e.sysexDump = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes));
    order_.push_back({true, sysex_.size()});
    sysex_.push_back(e);
}

bool VstEventBlock::add(const VstEvent* event, VstInt32 offset) {
    if (event && event->type == kVstMidiType) {
        const auto* m = reinterpret_cast<const VstMidiEvent*>(event);
        addMidi(offset, m->midiData[0], m->midiData[1], m->midiData[2]);
        return true;
    }
    if (event && event->type == kVstSysExType) {
        const auto* x = reinterpret_cast<const VstMidiSysexEvent*>(event);
        if (x->dumpBytes <= 0 || !x->sysexDump) return false;
        addSysEx(offset, reinterpret_cast<const std::uint8_t*>(x->sysexDump), std::size_t(x->dumpBytes));
        return true;
    }
    return false;
}

void VstEventBlock::reserve(std::size_t midi, std::size_t sysex) {
    midi_.reserve(midi);
    sysex_.reserve(sysex);
    order_.reserve(midi + sysex);
    pointers_.reserve(midi + sysex);
    list_.reserve(midi + sysex);
}

const VstEvent* VstEventBlock::at(std::size_t i) const {
    const Entry& e = order_[i];
    return e.sysex ? reinterpret_cast<const VstEvent*>(&sysex_[e.index])
                   : reinterpret_cast<const VstEvent*>(&midi_[e.index]);
}

VstEvents* VstEventBlock::list() {
    pointers_.clear();
    for (std::size_t i = 0; i < order_.size(); ++i) pointers_.push_back(const_cast<VstEvent*>(at(i)));
    list_.assign(pointers_);
    return list_.get();
}
