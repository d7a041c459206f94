#include "host/render/EventSchedule.h"

#include <cmath>

#include "host/core/VstEventList.h"

EventSchedule::EventSchedule(const std::vector<MidiFileEvent>& events, double sampleRate) {
    events_.reserve(events.size());
    for (const MidiFileEvent& e : events) {
        const std::int64_t frame = std::llround(e.seconds * sampleRate);
        events_.push_back({frame, {e.bytes[0], e.bytes[1], e.bytes[2]}});
    }
}

void EventSchedule::eventsFor(std::int64_t start, std::int32_t frames,
                              std::vector<VstMidiEvent>& out) {
    out.clear();
    // Events before the block (a block skipped by the caller) go out at its
    // first frame rather than never.
    while (next_ < events_.size() && events_[next_].frame < start + frames) {
        const Scheduled& s = events_[next_++];
        const auto offset = static_cast<VstInt32>(s.frame > start ? s.frame - start : 0);
        out.push_back(midiEvent(offset, s.bytes[0], s.bytes[1], s.bytes[2]));
    }
}
