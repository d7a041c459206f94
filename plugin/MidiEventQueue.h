// MidiEventQueue: the MIDI events waiting for their sample frame.
//
// The host hands over a block's events with sample offsets (effProcessEvents)
// and then asks for the block's audio. Each queued copy keeps, in place of its
// offset, the number of frames to wait after the event before it was taken:
// the wait of the oldest event counts down one frame at a time, and when it
// reaches zero (or was negative: an event out of order) the event is due. An
// offset beyond the end of the block simply keeps counting down into the next
// block, with the later events queued behind it.
//
// No single event may hold the queue for longer than the longest wait (a
// second of audio, set from the sample rate): a host that sends an absurd
// offset (2^31 - 1) would otherwise leave every later event, and so the
// instrument, silent for hours. Offsets beyond it count as the longest wait
// itself; offsets up to it keep their exact carry-over.
//
// MIDI tuning messages (system exclusive) wait in the same line, so that
// they retune at their sample: the host's bytes live only as long as its
// call, so each message is read on arrival into one of kRetuneCapacity
// preallocated changes, and a marker with the type kVstSysExType queues in
// its place. Other system-exclusive messages are passed over, as before.
//
// 500 slots, preallocated; a full queue drops further events. Kept as a ring
// (oldest at head_) so that queueing and taking an event cost the same
// whatever the queue holds.
//
// Threads: add and clear from the audio thread's effProcessEvents, takeDue
// and clear from its processReplacing. Both run one after the other on the
// host's audio thread, so the queue has one user at a time and takes no lock.
#pragma once

#include "engine/TuningTable.h"
#include "plugin/vst2.h"

class MidiEventQueue {
public:
    static constexpr int kCapacity = 500;
    static constexpr int kRetuneCapacity = 16;

    MidiEventQueue();

    // Queues the MIDI events and tuning messages of one host list in list
    // order; other events and null entries are skipped. Answers false for a list that
    // cannot be read (null, negative count).
    bool add(const VstEvents* events);

    // Once per sample frame, before the frame is rendered: the next event due
    // at this frame, taken out of the queue. Call until it answers false;
    // the false answer also counts down the wait of the event behind.
    bool takeDue(VstMidiEvent& event);

    // Right after takeDue has answered false for a frame: how many frames,
    // that one included, pass before the next event falls due, at least 1
    // and at most limit. Counts the oldest event's wait down as the takeDue
    // calls of the frames after the first would have, so the caller may
    // render them all at once and go on with takeDue at the frame after.
    int quietFrames(int limit);

    // Right after takeDue gave a marker (type kVstSysExType): its change,
    // valid until the next add.
    const TuningChange& takeRetune();

    // Discards every queued event (the channel-mode reset).
    void clear();

    int size() const { return count_; }

    // [not while processing] (the sample rate is set) Offsets above frames
    // (at least 0) wait frames.
    void setLongestWait(VstInt32 frames);

private:
    void push(const VstMidiEvent& event);

    bool readRetune(const VstEvent* event);

    VstMidiEvent slots_[kCapacity];
    TuningChange retunes_[kRetuneCapacity];  // a ring in the order of their markers
    int retuneHead_ = 0;
    int retuneCount_ = 0;
    int head_ = 0;   // slot of the oldest event
    int count_ = 0;
    // Offset of the previous MIDI event of the list being queued: waits are
    // measured from it.
    float previousOffset_ = 0.0f;
    // A second at the default 44.1 kHz until the plug-in sets its rate.
    VstInt32 longestWait_ = 44100;
};
