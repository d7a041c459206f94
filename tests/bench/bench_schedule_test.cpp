// BenchSchedule: the phrase, idle and stress schedules, block by block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/bench/BenchSchedule.h"

namespace {

struct Played {
    long long frame;
    int status, data1, data2;
};

// Every event of the schedule with its absolute frame, in the order the
// plug-in receives them.
std::vector<Played> played(const BenchSchedule& s) {
    std::vector<Played> out;
    for (std::size_t b = 0; b < s.blocks().size(); ++b) {
        const VstEvents* list = s.blocks()[b].events;
        if (!list) continue;
        for (int i = 0; i < list->numEvents; ++i) {
            const auto* e = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
            EXPECT_EQ(e->type, kVstMidiType) << "only MIDI events are played";
            EXPECT_GE(e->deltaFrames, 0) << "offsets lie inside their block";
            EXPECT_LT(e->deltaFrames, s.blockSize()) << "offsets lie inside their block";
            out.push_back({static_cast<long long>(b) * s.blockSize() + e->deltaFrames,
                           static_cast<unsigned char>(e->midiData[0]), e->midiData[1],
                           e->midiData[2]});
        }
    }
    return out;
}

BenchPlan phrase(double seconds, int block = 256) {
    BenchPlan p;
    p.seconds = seconds;
    p.blockSize = block;
    return p;
}

std::vector<Played> only(const std::vector<Played>& events, int status) {
    std::vector<Played> out;
    std::copy_if(events.begin(), events.end(), std::back_inserter(out),
                 [status](const Played& e) { return e.status == status; });
    return out;
}

TEST(BenchSchedule, PhrasePlaysANoteEveryHalfSecondHeldForPointFour) {
    const BenchSchedule s(phrase(2.0));
    const std::vector<Played> events = played(s);
    const auto ons = only(events, 0x90), offs = only(events, 0x80);
    const long long every = std::llround(0.5 * 44100), held = std::llround(0.4 * 44100);
    ASSERT_EQ(ons.size(), 4u) << "2 s hold four note-ons";
    ASSERT_EQ(offs.size(), 4u) << "each is released inside the 2 s";
    EXPECT_EQ(s.noteOns(), 4) << "the schedule counts its note-ons";
    const int expected[] = {36, 43, 48, 55};
    for (std::size_t i = 0; i < ons.size(); ++i) {
        EXPECT_EQ(ons[i].frame, static_cast<long long>(i) * every) << "note-on " << i;
        EXPECT_EQ(ons[i].data1, expected[i]) << "the line climbs from C2";
        EXPECT_EQ(ons[i].data2, 100) << "velocity";
        EXPECT_EQ(offs[i].frame, ons[i].frame + held) << "note-off " << i << " 0.4 s later";
        EXPECT_EQ(offs[i].data1, ons[i].data1) << "the note-off releases the note played";
    }
}

TEST(BenchSchedule, PhraseWalksThreeOctavesAndBack) {
    const auto ons = only(played(BenchSchedule(phrase(12.0))), 0x90);
    ASSERT_EQ(ons.size(), 24u) << "two rounds of the twelve-note line";
    const auto [lo, hi] = std::minmax_element(
        ons.begin(), ons.end(), [](const Played& a, const Played& b) { return a.data1 < b.data1; });
    EXPECT_EQ(lo->data1, 36) << "lowest note C2";
    EXPECT_EQ(hi->data1, 72) << "highest note C5, three octaves up";
    EXPECT_EQ(ons[12].data1, ons[0].data1) << "the line repeats after twelve notes";
}

TEST(BenchSchedule, BlocksCoverTheLengthAndLastReleasesAreDroppedPastTheEnd) {
    const BenchSchedule s(phrase(1.0, 100));
    EXPECT_EQ(s.blocks().size(), 441u) << "44100 frames in blocks of 100";
    EXPECT_EQ(s.frames(), 44100) << "whole blocks";

    const BenchSchedule odd(phrase(0.45, 1000));
    EXPECT_GE(odd.frames(), std::llround(0.45 * 44100)) << "a partial last block is played whole";
    const auto events = played(odd);
    EXPECT_EQ(only(events, 0x90).size(), 1u) << "one note starts in 0.45 s";
    EXPECT_EQ(only(events, 0x80).size(), 1u) << "its release at 0.4 s is inside";
    for (const BenchBlock& b : odd.blocks()) EXPECT_EQ(b.programChange, -1) << "no stress asked";
}

TEST(BenchSchedule, IdlePlaysNothing) {
    BenchPlan p = phrase(3.0);
    p.kind = BenchPlan::Kind::Idle;
    const BenchSchedule s(p);
    EXPECT_TRUE(played(s).empty()) << "no events when idle";
    EXPECT_EQ(s.noteOns(), 0) << "no notes when idle";
}

TEST(BenchSchedule, StressAddsControllerBurstsAndProgramChanges) {
    BenchPlan p = phrase(5.0);
    p.stress = true;
    p.program = 7;
    const BenchSchedule s(p);
    const auto controllers = only(played(s), 0xB0);
    ASSERT_EQ(controllers.size(), 5u * 64u) << "five bursts of 32 cutoff/resonance pairs";
    const long long burst = std::llround(0.2 * 44100);
    EXPECT_EQ(controllers.front().frame, burst) << "the first burst starts 0.2 s in";
    EXPECT_EQ(controllers[63].frame, burst + 31) << "one pair per sample";
    EXPECT_EQ(controllers[0].data1, 36) << "cutoff controller";
    EXPECT_EQ(controllers[1].data1, 38) << "resonance controller";
    for (const Played& c : controllers) EXPECT_LE(c.data2, 127) << "7-bit values";

    const auto bends = only(played(s), 0xE0);
    ASSERT_EQ(bends.size(), 5u * 17u) << "five sweeps of 16 steps and a return to the centre";
    EXPECT_EQ(bends.front().frame, std::llround(0.25 * 44100)) << "the first sweep starts 0.25 s in";
    EXPECT_EQ(bends[16].data2, 64) << "the sweep ends at the centre";
    const auto noteOns = only(played(s), 0x90);
    EXPECT_EQ(noteOns.size(), 10u + 5u) << "ten phrase notes and a legato key each second";

    std::vector<std::size_t> changes;
    for (std::size_t b = 0; b < s.blocks().size(); ++b) {
        if (s.blocks()[b].programChange < 0) continue;
        changes.push_back(b);
        EXPECT_EQ(s.blocks()[b].programChange, 7) << "the program played is selected again";
    }
    ASSERT_EQ(changes.size(), 3u) << "a change at 0.45, 2.45 and 4.45 s";
    EXPECT_EQ(changes[0], static_cast<std::size_t>(std::llround(0.45 * 44100) / 256))
        << "block of the first change";
    EXPECT_EQ(changes[2], static_cast<std::size_t>(std::llround(4.45 * 44100) / 256))
        << "block of the last change";
}

}  // namespace
