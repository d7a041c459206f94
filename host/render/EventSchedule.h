// EventSchedule: timed MIDI events handed to a plug-in block by block.
//
// Events are timed in seconds (a MIDI file, the demo phrase); a host passes
// them per audio block with their sample offset inside the block. Each event
// lands on the frame nearest its time, and every block gets exactly the
// events of its own frames, in time order.
#pragma once

#include <cstdint>
#include <vector>

#include "host/render/MidiFile.h"
#include "plugin/vst2.h"

class EventSchedule {
public:
    // events in time order (ties keep their order).
    EventSchedule(const std::vector<MidiFileEvent>& events, double sampleRate);

    // Replaces `out` with the events of frames start .. start + frames - 1,
    // their deltaFrames counted from start. Blocks are asked for in order.
    void eventsFor(std::int64_t start, std::int32_t frames, std::vector<VstMidiEvent>& out);

    // The frame of the last event; -1 when there is none.
    std::int64_t lastFrame() const { return events_.empty() ? -1 : events_.back().frame; }

private:
    struct Scheduled {
        std::int64_t frame;
        std::uint8_t bytes[3];
    };
    std::vector<Scheduled> events_;
    std::size_t next_ = 0;
};
