// Timed events handed out block by block: each on the frame nearest its
// time, each exactly once, with its offset inside its own block.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/render/EventSchedule.h"

namespace {

MidiFileEvent at(double seconds, std::uint8_t key) { return {seconds, {0x90, key, 100}}; }

struct Delivered {
    std::int64_t frame;  // block start + deltaFrames
    int key;
    VstInt32 offset;
};

// Runs the schedule through blocks of the given sizes, repeated.
std::vector<Delivered> deliver(EventSchedule& schedule, std::vector<std::int32_t> sizes,
                               std::int64_t frames) {
    std::vector<Delivered> out;
    VstEventBlock block;
    std::size_t n = 0;
    for (std::int64_t start = 0; start < frames; start += sizes[n++ % sizes.size()]) {
        const std::int32_t size = sizes[n % sizes.size()];
        schedule.eventsFor(start, size, block);
        for (std::size_t i = 0; i < block.size(); ++i) {
            const auto& e = *reinterpret_cast<const VstMidiEvent*>(block.at(i));
            EXPECT_GE(e.deltaFrames, 0) << "offset inside the block";
            EXPECT_LT(e.deltaFrames, size) << "offset inside the block";
            EXPECT_EQ(e.type, kVstMidiType);
            EXPECT_EQ(e.byteSize, static_cast<VstInt32>(sizeof(VstMidiEvent)));
            out.push_back({start + e.deltaFrames, e.midiData[1], e.deltaFrames});
        }
    }
    return out;
}

TEST(EventSchedule, EventsLandOnTheNearestFrameWithTheirOffsetInTheBlock) {
    // 1 s at 44100 Hz is frame 44100, block 172 (of 256) at offset 68.
    EventSchedule schedule({at(0.0, 1), at(0.01 + 0.4 / 44100.0, 2), at(1.0, 3)}, 44100.0);
    const std::vector<Delivered> got = deliver(schedule, {256}, 50000);
    ASSERT_EQ(got.size(), 3u) << "every event once";
    EXPECT_EQ(got[0].frame, 0);
    EXPECT_EQ(got[1].frame, 441) << "frame 441.4 rounds to 441";
    EXPECT_EQ(got[2].frame, 44100);
    EXPECT_EQ(got[2].offset, 44100 % 256);
}

TEST(EventSchedule, BlockSizesDoNotMoveAnyEvent) {
    std::vector<MidiFileEvent> events;
    for (int i = 0; i < 40; ++i) events.push_back(at(i * 0.0371, static_cast<std::uint8_t>(i)));
    EventSchedule reference(events, 48000.0);
    const std::vector<Delivered> one = deliver(reference, {1}, 96000);
    for (std::vector<std::int32_t> sizes : {std::vector<std::int32_t>{64}, {256}, {1000},
                                            {37, 512, 3}}) {
        EventSchedule schedule(events, 48000.0);
        const std::vector<Delivered> got = deliver(schedule, sizes, 96000);
        ASSERT_EQ(got.size(), one.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].frame, one[i].frame) << "event " << i << ", block " << sizes[0];
            EXPECT_EQ(got[i].key, one[i].key) << "in time order";
        }
    }
}

TEST(EventSchedule, EventsAtOneTimeKeepTheirOrder) {
    EventSchedule schedule({at(0.25, 9), at(0.25, 4), at(0.25, 7)}, 44100.0);
    const std::vector<Delivered> got = deliver(schedule, {128}, 20000);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].key, 9);
    EXPECT_EQ(got[1].key, 4);
    EXPECT_EQ(got[2].key, 7);
    EXPECT_EQ(schedule.lastFrame(), 11025);
}

}  // namespace
