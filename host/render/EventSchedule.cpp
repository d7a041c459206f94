#include "host/render/EventSchedule.h"

#include <algorithm>
#include <cmath>

EventSchedule::EventSchedule(const std::vector<MidiFileEvent>& events, double sampleRate,
                             const std::vector<MidiFileSysEx>& sysex) {
    events_.reserve(events.size() + sysex.size());
    for (const MidiFileSysEx& s : sysex) {
        events_.push_back({std::llround(s.seconds * sampleRate), {0, 0, 0}, static_cast<int>(sysex_.size())});
        sysex_.push_back(s.bytes);
    }
    for (const MidiFileEvent& e : events)
        events_.push_back({std::llround(e.seconds * sampleRate), {e.bytes[0], e.bytes[1], e.bytes[2]}, -1});
    // Merged by frame: the system-exclusive messages, listed first, stay
    // before the channel messages of their frame.
    std::stable_sort(events_.begin(), events_.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.frame < b.frame; });
}

void EventSchedule::eventsFor(std::int64_t start, std::int32_t frames, VstEventBlock& out) {
    out.clear();
    // Events before the block (a block skipped by the caller) go out at its
    // first frame rather than never.
    while (next_ < events_.size() && events_[next_].frame < start + frames) {
        const Scheduled& s = events_[next_++];
        const auto offset = static_cast<VstInt32>(s.frame > start ? s.frame - start : 0);
        if (s.sysex >= 0)
            out.addSysEx(offset, sysex_[s.sysex].data(), sysex_[s.sysex].size());
        else
            out.addMidi(offset, s.bytes[0], s.bytes[1], s.bytes[2]);
    }
}
