// EventSchedule: timed MIDI events handed to a plug-in block by block.
//
// Events are timed in seconds (a MIDI file, the demo phrase); a host passes
// them per audio block with their sample offset inside the block. Each event
// lands on the frame nearest its time, and every block gets exactly the
// events of its own frames, in time order. System-exclusive messages (a
// tuning) go before the channel messages of their frame.
#pragma once

#include <cstdint>
#include <vector>

#include "host/core/VstEventList.h"
#include "host/render/MidiFile.h"

class EventSchedule {
public:
    // Both lists in time order (ties keep their order).
    EventSchedule(const std::vector<MidiFileEvent>& events, double sampleRate,
                  const std::vector<MidiFileSysEx>& sysex = {});

    // Replaces `out` with the events of frames start .. start + frames - 1,
    // their deltaFrames counted from start. Blocks are asked for in order.
    // The system-exclusive bytes stay with the schedule.
    void eventsFor(std::int64_t start, std::int32_t frames, VstEventBlock& out);

    // The frame of the last event; -1 when there is none.
    std::int64_t lastFrame() const { return events_.empty() ? -1 : events_.back().frame; }

private:
    struct Scheduled {
        std::int64_t frame;
        std::uint8_t bytes[3];
        int sysex;  // index into sysex_, or -1 for a channel message
    };
    std::vector<Scheduled> events_;
    std::vector<std::vector<std::uint8_t>> sysex_;
    std::size_t next_ = 0;
};
