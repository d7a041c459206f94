#include "plugin/MidiEventQueue.h"

#include <climits>
#include <cstring>

#include "tuning/MtsMessage.h"

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
        if (!event) continue;
        VstMidiEvent copy;
        if (event->type == kVstMidiType) {
            std::memcpy(&copy, event, sizeof(copy));
        } else if (event->type == kVstSysExType && readRetune(event)) {
            std::memset(&copy, 0, sizeof(copy));
            copy.type = kVstSysExType;
            copy.deltaFrames = event->deltaFrames;
        } else {
            continue;
        }
        const VstInt32 offset = copy.deltaFrames > longestWait_ ? longestWait_ : copy.deltaFrames;
        // An offset below zero stays as it is: the event is due at once.
        if (offset >= 0) copy.deltaFrames = waitFrames(static_cast<float>(offset) - previousOffset_);
        previousOffset_ = static_cast<float>(offset);
        push(copy);
    }
    return true;
}

// A tuning message read into the next free change; false (and nothing
// kept) for any other message, or when every change is taken.
bool MidiEventQueue::readRetune(const VstEvent* event) {
    if (retuneCount_ == kRetuneCapacity) return false;
    const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
    TuningChange& change = retunes_[(retuneHead_ + retuneCount_) % kRetuneCapacity];
    if (!mts::read(reinterpret_cast<const unsigned char*>(sysex->sysexDump), sysex->dumpBytes, change)) return false;
    ++retuneCount_;
    return true;
}

const TuningChange& MidiEventQueue::takeRetune() {
    static const TuningChange kNone{};
    if (retuneCount_ == 0) return kNone;  // markers and changes go in and out together
    const TuningChange& change = retunes_[retuneHead_];
    retuneHead_ = (retuneHead_ + 1) % kRetuneCapacity;
    --retuneCount_;
    return change;
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
    retuneHead_ = 0;
    retuneCount_ = 0;
}
