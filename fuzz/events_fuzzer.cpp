// Event lists: any number of events of any type, size, offset and bytes,
// delivered over a few blocks of any length, at any sample rate. Every
// event lives in a buffer as long as a MIDI event, whatever its byteSize
// says, except a system-exclusive one, which is the record a host sends for
// it, its dump any of the input's bytes (MIDI tuning messages among them);
// the list holds exactly the pointers it announces (or announces a negative
// count).
#include "fuzz/FuzzPlugin.h"

namespace {
constexpr int kMaxEvents = 600;  // beyond the queue's 500
constexpr int kMaxBlocks = 4;
constexpr VstInt32 kMaxFrames = 2048;
constexpr std::size_t kMaxDump = 600;  // beyond the longest tuning message
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    fuzz::Plugin plugin;
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, in.take<float>());
    const int blocks = 1 + in.take<std::uint8_t>() % kMaxBlocks;
    for (int b = 0; b < blocks && !in.empty(); ++b) {
        const int count = in.take<std::uint16_t>() % (kMaxEvents + 1);
        std::vector<VstMidiEvent> events;
        std::vector<VstMidiSysexEvent> sysex;
        std::vector<std::vector<std::uint8_t>> dumps;
        events.reserve(static_cast<std::size_t>(count));
        sysex.reserve(static_cast<std::size_t>(count));
        dumps.reserve(static_cast<std::size_t>(count));
        std::vector<VstEvent*> pointers;
        for (int i = 0; i < count && !in.empty(); ++i) {
            const VstMidiEvent e = in.take<VstMidiEvent>();
            if (e.type != kVstSysExType) {
                events.push_back(e);
                pointers.push_back(reinterpret_cast<VstEvent*>(&events.back()));
                continue;
            }
            std::vector<std::uint8_t>& dump = dumps.emplace_back();
            for (std::size_t n = in.take<std::uint16_t>() % (kMaxDump + 1); n > 0 && !in.empty(); --n)
                dump.push_back(in.take<std::uint8_t>());
            VstMidiSysexEvent& x = sysex.emplace_back();
            std::memcpy(&x, &e, sizeof(VstEvent));  // type, sizes, offset, flags as given
            x.dumpBytes = static_cast<VstInt32>(dump.size());
            x.sysexDump = reinterpret_cast<char*>(dump.data());
            pointers.push_back(reinterpret_cast<VstEvent*>(&x));
        }
        VstEventList built(pointers);
        VstEvents* list = built.get();
        const std::uint8_t flags = in.take<std::uint8_t>();
        if (flags & 1) list->numEvents = -1 - static_cast<VstInt32>(flags >> 1);
        if (flags & 2) list->events[0] = nullptr;  // always one of the slots there are
        plugin.dispatch(effProcessEvents, 0, 0, list);
        plugin.renderChecked(static_cast<VstInt32>(in.take<std::uint16_t>() % (kMaxFrames + 1)));
    }
    return 0;
}
