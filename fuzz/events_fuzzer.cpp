// Event lists: any number of events of any type, size, offset and bytes,
// delivered over a few blocks of any length, at any sample rate. Every
// event lives in a buffer as long as a MIDI event, whatever its byteSize
// says; the list holds exactly the pointers it announces (or announces a
// negative count).
#include "fuzz/FuzzPlugin.h"

namespace {
constexpr int kMaxEvents = 600;  // beyond the queue's 500
constexpr int kMaxBlocks = 4;
constexpr VstInt32 kMaxFrames = 2048;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    fuzz::Plugin plugin;
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, in.take<float>());
    const int blocks = 1 + in.take<std::uint8_t>() % kMaxBlocks;
    for (int b = 0; b < blocks && !in.empty(); ++b) {
        const int count = in.take<std::uint16_t>() % (kMaxEvents + 1);
        std::vector<VstMidiEvent> events;
        events.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count && !in.empty(); ++i) events.push_back(in.take<VstMidiEvent>());
        VstEventList built(events.data(), events.size());
        VstEvents* list = built.get();
        const std::uint8_t flags = in.take<std::uint8_t>();
        if (flags & 1) list->numEvents = -1 - static_cast<VstInt32>(flags >> 1);
        if (flags & 2) list->events[0] = nullptr;  // always one of the slots there are
        plugin.dispatch(effProcessEvents, 0, 0, list);
        plugin.renderChecked(static_cast<VstInt32>(in.take<std::uint16_t>() % (kMaxFrames + 1)));
    }
    return 0;
}
