// MIDI intake through the built module, judged by what a host can read
// back: the parameters that controllers drive, the controller maps in the
// chunks, the time requests sent at note-ons, and what broken event lists
// leave behind.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "engine/ParamBlock.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"

namespace {

using namespace midi;

constexpr float kDataByteScale = 0.007874016f;  // the float nearest 1/127
constexpr int kCutoffController = 36;           // factory maps: 36 -> CUTOFF
constexpr int kResonanceController = 38;        //               38 -> RESONANCE
constexpr std::size_t kMapOffset = 200;         // controller map inside a record
constexpr std::size_t kRecordSize = 1220;

class Controllers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        host.resume();
        host.setParameter(param::kCutoff, 0.25f);
    }
    float cutoff() { return host.getParameter(param::kCutoff); }
    // Entry `controller` of program `program`'s map, from a bank chunk.
    std::int32_t mapEntry(int program, int controller) {
        const std::vector<unsigned char> bank = host.getChunk(false);
        std::int32_t target;
        std::memcpy(&target, &bank[program * kRecordSize + kMapOffset + 4 * controller], 4);
        return target;
    }
    ModuleHost host;
};

TEST_F(Controllers, FactoryMapsDriveCutoffAndResonance) {
    host.render({controller(0, kCutoffController, 64)}, 16);
    EXPECT_EQ(cutoff(), 64 * kDataByteScale) << "controller 36 at 64 sets CUTOFF to 0.503937";
    EXPECT_NEAR(cutoff(), 0.503937f, 1e-6f);
    host.render({controller(0, kResonanceController, 127, 9)}, 16);
    EXPECT_EQ(host.getParameter(param::kResonance), 127 * kDataByteScale)
        << "controller 38 on channel 10 sets RESONANCE";
}

TEST_F(Controllers, AControllerTakesEffectAtItsOwnFrame) {
    host.sendEvents({controller(37, kCutoffController, 127)});
    host.render(37);
    EXPECT_EQ(cutoff(), 0.25f) << "frames 0..36 come before the controller";
    host.render(1);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "frame 37 takes it";
}

TEST_F(Controllers, OffsetsBeyondTheBlockCarryOverAndLaterBlocksQueueBehind) {
    host.render({controller(300, kCutoffController, 127)}, 256);
    EXPECT_EQ(cutoff(), 0.25f) << "frame 300 lies in the next block";
    // Offset 10 of the next block waits 10 frames after the pending event,
    // which comes out at frame 300 (44 frames into this block).
    host.sendEvents({controller(10, kResonanceController, 127)});
    host.render(44);
    EXPECT_EQ(cutoff(), 0.25f);
    host.render(1);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "at frame 300";
    host.render(9);
    EXPECT_EQ(host.getParameter(param::kResonance), 0.0f);
    host.render(1);
    EXPECT_EQ(host.getParameter(param::kResonance), 127 * kDataByteScale) << "at frame 310";
}

TEST_F(Controllers, EventsAtOneFrameComeOutInListOrder) {
    host.render({controller(3, kCutoffController, 10), controller(3, kCutoffController, 20),
                 controller(1, kResonanceController, 5)},
                8);
    EXPECT_EQ(cutoff(), 20 * kDataByteScale) << "the later of the two wins";
    EXPECT_EQ(host.getParameter(param::kResonance), 5 * kDataByteScale)
        << "offset 1 after offset 3 follows at once";
}

TEST_F(Controllers, ExtremeOffsetsAreHarmless) {
    // A negative offset is due at once; INT_MIN to INT_MAX is a wait of
    // about 2^32 frames, cut to the longest the queue counts.
    host.render({controller(INT_MIN, kCutoffController, 127),
                 controller(INT_MAX, kResonanceController, 127), controller(0, 1, 0)},
                4096);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale);
    EXPECT_EQ(host.getParameter(param::kResonance), 0.0f) << "still waiting";
}

TEST_F(Controllers, DataBytesCountWithSevenBits) {
    host.render({midiEvent(0, 0xB0, kCutoffController | 0x80, 64 | 0x80)}, 4);
    EXPECT_EQ(cutoff(), 64 * kDataByteScale) << "high bits of both data bytes are dropped";
}

TEST_F(Controllers, UnmappedControllersAndOtherMessagesChangeNothing) {
    float before[param::kCount];
    for (int i = 0; i < param::kCount; ++i) before[i] = host.getParameter(i);
    host.render({controller(0, 1, 99), controller(0, 0, 99), midiEvent(0, 0xC0, 5, 0),
                 midiEvent(0, 0xA0, 60, 99), midiEvent(0, 0xD0, 99, 0), midiEvent(0, 0xF8, 0, 0)},
                16);
    for (int i = 0; i < param::kCount; ++i)
        EXPECT_EQ(host.getParameter(i), before[i]) << "parameter " << i;
    EXPECT_EQ(host.dispatch(effGetProgram), 0) << "MIDI program changes are ignored";
}

TEST_F(Controllers, MappedChangesAreNotReportedToTheHost) {
    host.clearRequests();
    host.render({controller(0, kCutoffController, 10)}, 4);
    EXPECT_EQ(host.countRequests(audioMasterAutomate), 0);
}

TEST_F(Controllers, MapEntriesBeyondTheParametersDoNothing) {
    // A chunk may carry any number in its map; only 1..43 drive anything.
    std::vector<unsigned char> program = host.getChunk(true);
    const std::int32_t odd[] = {44, 1000, -5, INT_MIN};
    for (int i = 0; i < 4; ++i)
        std::memcpy(&program[kMapOffset + 4 * (50 + i)], &odd[i], 4);
    ASSERT_EQ(host.setChunk(program, true), 1);
    host.render({controller(0, 50, 1), controller(0, 51, 2), controller(0, 52, 3),
                 controller(0, 53, 4)},
                4);
    EXPECT_EQ(cutoff(), 0.25f);
}

TEST_F(Controllers, LearnMapsTheControllerToTheLastChangedParameter) {
    host.setParameter(param::kControllerLearn, 1.0f);
    host.setParameter(param::kCutoff, 0.3f);
    host.render({controller(0, 20, 127)}, 4);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "the learned controller drives CUTOFF at once";
    EXPECT_EQ(mapEntry(0, 20), param::kCutoff) << "the current program learned 20 -> 16";
    EXPECT_EQ(mapEntry(1, 20), 0) << "other programs did not";

    host.setParameter(param::kControllerLearn, 0.0f);
    host.render({controller(0, 20, 64)}, 4);
    EXPECT_EQ(cutoff(), 64 * kDataByteScale) << "the map stays after learn is off";
}

TEST_F(Controllers, LearnSwitchedOnFirstLearnsItself) {
    // Switching learn on makes 43 the last changed parameter: the next
    // controller is mapped to the learn switch, and its value 0 turns it off.
    host.setParameter(param::kControllerLearn, 1.0f);
    host.render({controller(0, 30, 0)}, 4);
    EXPECT_EQ(mapEntry(0, 30), param::kControllerLearn);
    EXPECT_EQ(host.getParameter(param::kControllerLearn), 0.0f);
}

TEST_F(Controllers, LearnInAllProgramsMapsEveryProgram) {
    host.setParameter(param::kLearnAllPrograms, 1.0f);
    host.setParameter(param::kResonance, 0.2f);
    host.render({controller(0, 21, 100)}, 4);
    for (int p = 0; p < 20; ++p) EXPECT_EQ(mapEntry(p, 21), param::kResonance) << "program " << p;
    host.dispatch(effSetProgram, 0, 5);
    host.render({controller(0, 21, 50)}, 4);
    EXPECT_EQ(host.getParameter(param::kResonance), 50 * kDataByteScale)
        << "program 5 follows controller 21 too";
}

TEST_F(Controllers, ChannelModeMessagesDropEverythingQueuedAfterThem) {
    for (int reset : {120, 123, 127}) {
        host.setParameter(param::kCutoff, 0.25f);
        host.render({controller(0, reset, 0, 3), controller(10, kCutoffController, 127)}, 64);
        EXPECT_EQ(cutoff(), 0.25f) << "controller " << reset << " emptied the queue";
        host.render({controller(5, kCutoffController, 127)}, 16);
        EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "events of the next block are taken again";
    }
}

TEST_F(Controllers, OnlyTheRealChannelModeNumbersReset) {
    for (int notReset : {119, 120 | 0x80}) {
        host.setParameter(param::kCutoff, 0.25f);
        host.render({midiEvent(0, 0xB0, notReset, 0), controller(10, kCutoffController, 127)}, 64);
        EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "byte " << notReset << " is no reset";
    }
}

TEST_F(Controllers, TheFiveHundredFirstEventIsDropped) {
    std::vector<VstMidiEvent> events(499, controller(0, 1, 0));
    events.push_back(controller(10, kCutoffController, 127));  // the 500th
    host.render(events, 64);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "the 500th event is queued";

    host.setParameter(param::kCutoff, 0.25f);
    events.insert(events.begin(), controller(0, 1, 0));  // now the 501st
    host.render(events, 64);
    EXPECT_EQ(cutoff(), 0.25f) << "the 501st event is dropped";
}

TEST_F(Controllers, TheHostTempoIsAskedForAtEveryNoteOnAndOnlyThen) {
    host.clearRequests();
    host.sendEvents({noteOn(37, 60), noteOff(50, 60), noteOn(60, 62, 0), controller(70, 1, 1)});
    host.render(37);
    EXPECT_EQ(host.countRequests(audioMasterGetTime), 0) << "not before the note's frame";
    host.render(100);
    ASSERT_EQ(host.countRequests(audioMasterGetTime), 1)
        << "one request for one note-on; none for note-off, velocity 0 or controllers";
    for (const HostRequest& r : host.requests()) {
        if (r.opcode == audioMasterGetTime) {
            EXPECT_EQ(r.value, kVstPpqPosValid | kVstTempoValid) << "asks for tempo and position";
        }
    }
    host.clearRequests();
    host.render({noteOn(0, 60), noteOn(1, 64)}, 4);
    EXPECT_EQ(host.countRequests(audioMasterGetTime), 2) << "also for a legato note";
}

// ---- event lists a host should not send ------------------------------------

TEST_F(Controllers, ListsThatCannotBeReadAreAnsweredZero) {
    EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, nullptr), 0) << "null list";
    std::vector<VstMidiEvent> events{controller(0, kCutoffController, 127)};
    VstEventList list(events.data(), events.size());
    for (VstInt32 count : {-1, INT_MIN}) {
        list.get()->numEvents = count;
        EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, list.get()), 0) << "count " << count;
    }
    host.render(8);
    EXPECT_EQ(cutoff(), 0.25f) << "nothing of a refused list is taken";
}

TEST_F(Controllers, NullEntriesAndOtherEventTypesAreSkipped) {
    std::vector<VstMidiEvent> events{controller(2, kCutoffController, 127),
                                     controller(50, kResonanceController, 127),
                                     controller(20, kResonanceController, 64)};
    events[1].type = kVstSysExType;
    VstEventList list({nullptr, asEvent(events[0]), nullptr, asEvent(events[1]), asEvent(events[2])});
    EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, list.get()), 1);
    host.render(20);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale) << "the MIDI events among them are taken";
    EXPECT_EQ(host.getParameter(param::kResonance), 0.0f) << "the SysEx one is not";
    host.render(1);
    EXPECT_EQ(host.getParameter(param::kResonance), 64 * kDataByteScale)
        << "at frame 20: the skipped event's offset did not count";
}

TEST_F(Controllers, AHugeCountReadsNoFurtherThanTheQueueTakes) {
    // 600 events held, 2^31 - 1 announced: the plug-in stops reading where
    // its queue is full, well inside what the host holds.
    std::vector<VstMidiEvent> events(600, controller(0, 1, 0));
    events[0] = controller(0, kCutoffController, 127);
    VstEventList list(events.data(), events.size());
    list.get()->numEvents = INT_MAX;
    EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, list.get()), 1);
    host.render(8);
    EXPECT_EQ(cutoff(), 127 * kDataByteScale);
}

TEST_F(Controllers, ArbitraryBytesAtArbitraryOffsetsNeverBreakTheSound) {
    // Any status, any data bytes (high bits set), offsets before, inside and
    // far beyond the block, learn switched on and off: the plug-in keeps
    // playing finite samples and every parameter stays a plain number.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), offset(-300, 600), count(0, 40);
    for (int block = 0; block < 400; ++block) {
        std::vector<VstMidiEvent> events;
        for (int n = count(random); n > 0; --n)
            events.push_back(midiEvent(offset(random), byte(random), byte(random), byte(random)));
        if (block == 390) events.push_back(midiEvent(INT_MAX, 0x90, 60, 100));
        if (block % 20 == 0) host.setParameter(param::kControllerLearn, float(block % 40 == 0));
        for (float s : host.render(events, 128)) ASSERT_TRUE(std::isfinite(s)) << "block " << block;
    }
    for (int i = 0; i < param::kCount; ++i)
        EXPECT_TRUE(std::isfinite(host.getParameter(i))) << "parameter " << i;
}

}  // namespace
