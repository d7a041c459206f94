// The event queue on its own: at which frame each queued event comes out,
// what a full queue drops, and what a host's broken lists do to it.
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "plugin/MidiEventQueue.h"
#include "support/MidiEvents.h"

namespace {

using midi::EventList;

// A note-on whose note number tells the events apart.
VstMidiEvent event(VstInt32 offset, int tag) { return midi::noteOn(offset, tag); }

VstEvent* asEvent(VstMidiEvent& e) { return midi::asEvent(e); }

struct Taken {
    int frame;
    int tag;
    bool operator==(const Taken& o) const { return frame == o.frame && tag == o.tag; }
};
std::ostream& operator<<(std::ostream& os, const Taken& t) {
    return os << "{frame " << t.frame << ", event " << t.tag << "}";
}

// Runs frames first..first+count-1 as the block loop does and notes where
// each event comes out.
std::vector<Taken> run(MidiEventQueue& queue, int first, int count) {
    std::vector<Taken> taken;
    for (int frame = first; frame < first + count; ++frame) {
        VstMidiEvent e;
        while (queue.takeDue(e)) taken.push_back({frame, e.midiData[1]});
    }
    return taken;
}

std::vector<Taken> queueAndRun(std::vector<VstMidiEvent> events, int frames = 256) {
    MidiEventQueue queue;
    EventList list = EventList::of(events);
    EXPECT_TRUE(queue.add(list.list())) << "a well-formed list is taken";
    return run(queue, 0, frames);
}

TEST(MidiQueueTiming, AnEventComesOutAtItsOffsetExactly) {
    EXPECT_EQ(queueAndRun({event(37, 1)}), (std::vector<Taken>{{37, 1}}));
    EXPECT_EQ(queueAndRun({event(0, 1)}), (std::vector<Taken>{{0, 1}}));
    EXPECT_EQ(queueAndRun({event(255, 1)}), (std::vector<Taken>{{255, 1}})) << "last frame";
}

TEST(MidiQueueTiming, EventsInOrderComeOutAtTheirOwnOffsets) {
    EXPECT_EQ(queueAndRun({event(5, 1), event(8, 2)}), (std::vector<Taken>{{5, 1}, {8, 2}}));
    EXPECT_EQ(queueAndRun({event(3, 1), event(3, 2), event(3, 3)}),
              (std::vector<Taken>{{3, 1}, {3, 2}, {3, 3}}))
        << "events at one offset come out together, in list order";
}

TEST(MidiQueueTiming, AnEventOutOfOrderFollowsTheOneBeforeIt) {
    // 5 after 8 waits 5 - 8 = -3 frames: due as soon as 8 is out.
    EXPECT_EQ(queueAndRun({event(8, 1), event(5, 2)}), (std::vector<Taken>{{8, 1}, {8, 2}}));
    EXPECT_EQ(queueAndRun({event(-4, 1)}), (std::vector<Taken>{{0, 1}}))
        << "a negative offset is due at once";
}

TEST(MidiQueueTiming, OffsetsBeyondTheBlockCarryOverAndLaterBlocksQueueBehind) {
    MidiEventQueue queue;
    std::vector<VstMidiEvent> first{event(300, 1)};
    EventList firstList = EventList::of(first);
    queue.add(firstList.list());
    EXPECT_TRUE(run(queue, 0, 256).empty()) << "nothing due in the first block";
    // The next block's event at offset 10 waits 10 frames after the one
    // still pending, not 10 frames into its own block.
    std::vector<VstMidiEvent> second{event(10, 2)};
    EventList secondList = EventList::of(second);
    queue.add(secondList.list());
    EXPECT_EQ(run(queue, 256, 256), (std::vector<Taken>{{300, 1}, {310, 2}}));
}

TEST(MidiQueueIntake, OtherEventTypesAndNullEntriesAreSkipped) {
    std::vector<VstMidiEvent> events{event(10, 1), event(50, 2), event(20, 3)};
    events[1].type = kVstSysExType;
    // The skipped event does not count as the previous offset: 3 waits 20 - 10.
    EventList list({asEvent(events[0]), nullptr, asEvent(events[1]), asEvent(events[2]), nullptr});
    MidiEventQueue queue;
    EXPECT_TRUE(queue.add(list.list()));
    EXPECT_EQ(queue.size(), 2);
    EXPECT_EQ(run(queue, 0, 64), (std::vector<Taken>{{10, 1}, {20, 3}}));
}

TEST(MidiQueueIntake, ListsThatCannotBeReadChangeNothing) {
    MidiEventQueue queue;
    EXPECT_FALSE(queue.add(nullptr)) << "a null list is refused";
    std::vector<VstMidiEvent> events{event(0, 1)};
    EventList list = EventList::of(events);
    for (VstInt32 count : {-1, INT_MIN}) {
        list.list()->numEvents = count;
        EXPECT_FALSE(queue.add(list.list())) << "count " << count << " is refused";
    }
    EXPECT_EQ(queue.size(), 0) << "nothing was queued";
}

TEST(MidiQueueCapacity, TheFiveHundredFirstEventIsDropped) {
    std::vector<VstMidiEvent> events;
    for (int i = 0; i < 501; ++i) events.push_back(event(i % 200, i % 100));
    EventList list = EventList::of(events);
    MidiEventQueue queue;
    queue.add(list.list());
    EXPECT_EQ(queue.size(), MidiEventQueue::kCapacity);
    const std::vector<Taken> taken = run(queue, 0, 1000);
    ASSERT_EQ(taken.size(), 500u) << "events 1 to 500 come out, the 501st never";
    EXPECT_EQ(taken.back().tag, 499 % 100) << "the last one out is the 500th";
}

TEST(MidiQueueCapacity, ACountBeyondWhatFitsReadsNoFurtherThanTheQueueTakes) {
    // The host announces far more events than it holds; the list below is
    // exactly as long as what it holds, so reading past it would be caught
    // by the sanitizer build.
    std::vector<VstMidiEvent> events(600, event(0, 7));
    EventList list = EventList::of(events);
    list.list()->numEvents = INT_MAX;
    MidiEventQueue queue;
    EXPECT_TRUE(queue.add(list.list()));
    EXPECT_EQ(queue.size(), MidiEventQueue::kCapacity);
}

TEST(MidiQueueCapacity, ClearingEmptiesTheQueueForGood) {
    std::vector<VstMidiEvent> events{event(5, 1), event(9, 2)};
    EventList list = EventList::of(events);
    MidiEventQueue queue;
    queue.add(list.list());
    queue.clear();
    EXPECT_EQ(queue.size(), 0);
    EXPECT_TRUE(run(queue, 0, 64).empty()) << "cleared events never come out";
    queue.add(list.list());
    EXPECT_EQ(run(queue, 64, 64), (std::vector<Taken>{{69, 1}, {73, 2}})) << "and it works on";
}

TEST(MidiQueueCapacity, ExtremeOffsetsSaturateInsteadOfOverflowing) {
    // INT_MAX then 0: the second waits -2^31 frames, so it follows at once.
    // INT_MIN then INT_MAX: a wait of about 2^32 is cut to the longest one.
    MidiEventQueue queue;
    std::vector<VstMidiEvent> events{event(INT_MIN, 1), event(INT_MAX, 2), event(0, 3)};
    EventList list = EventList::of(events);
    EXPECT_TRUE(queue.add(list.list()));
    EXPECT_EQ(run(queue, 0, 16), (std::vector<Taken>{{0, 1}}));
    EXPECT_EQ(queue.size(), 2) << "the far event and the one behind it stay queued";
}

}  // namespace
