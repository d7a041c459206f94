#include "plugin/MidiEventQueue.h"

#include <climits>
#include <cstring>

namespace {

// The largest float below 2^31: waits beyond it are cut to the longest int
// wait rather than overflowing the conversion.
constexpr float kLongestWait = 2147483520.0f;
constexpr float kMostNegativeWait = -2147483648.0f;

// A wait in frames, truncated toward zero like the host's int offsets.
VstInt32 waitFrames(float frames) {
    if (frames >= kLongestWait) return INT_MAX;
    if (frames <= kMostNegativeWait) return INT_MIN;
    return static_cast<VstInt32>(frames);
}

}  // namespace

MidiEventQueue::MidiEventQueue() { std::memset(slots_, 0, sizeof(slots_)); }

bool MidiEventQueue::add(const VstEvents* events) {
    if (!events || events->numEvents < 0) return false;
    previousOffset_ = 0.0f;
    // Read through a plain pointer: hosts allocate as many entries as they
    // announce, not the two the record declares.
    VstEvent* const* list = events->events;
    // Once the queue is full every further event would be dropped, so the
    // rest of the list is not even read: a count larger than the list the
    // host really holds costs nothing more than this.
    for (VstInt32 i = 0; i < events->numEvents && count_ < kCapacity; ++i) {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType) continue;
        VstMidiEvent copy;
        std::memcpy(&copy, event, sizeof(copy));
        const VstInt32 offset = copy.deltaFrames > longestWait_ ? longestWait_ : copy.deltaFrames;
        // An offset below zero stays as it is: the event is due at once.
        if (offset >= 0) copy.deltaFrames = waitFrames(static_cast<float>(offset) - previousOffset_);
        previousOffset_ = static_cast<float>(offset);
        push(copy);
    }
    return true;
}

void MidiEventQueue::setLongestWait(VstInt32 frames) { longestWait_ = frames > 0 ? frames : 0; }

void MidiEventQueue::push(const VstMidiEvent& event) {
    slots_[(head_ + count_) % kCapacity] = event;
    ++count_;
}

bool MidiEventQueue::takeDue(VstMidiEvent& event) {
    if (count_ == 0) return false;
    VstMidiEvent& oldest = slots_[head_];
    if (oldest.deltaFrames > 0) {
        --oldest.deltaFrames;
        return false;
    }
    event = oldest;
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

int MidiEventQueue::quietFrames(int limit) {
    if (limit < 1) return 1;
    if (count_ == 0) return limit;
    // The wait left after this frame's false answer: the event is due at the
    // frame that finds it at 0.
    VstInt32& wait = slots_[head_].deltaFrames;
    if (wait <= 0) return 1;
    const int frames = wait < limit - 1 ? wait + 1 : limit;
    wait -= frames - 1;
    return frames;
}

void MidiEventQueue::clear() {
    head_ = 0;
    count_ = 0;
}
