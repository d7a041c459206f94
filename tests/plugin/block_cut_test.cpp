// How the host cuts the audio into blocks never changes the sound. Inside a
// block the plug-in renders the frames between two events as one run, with
// each sample's work overlapping the one before it; in blocks of one frame
// every sample is rendered alone. Every factory program plays the same
// performance (notes, legato and glide, pitch bends, controller bursts, a
// program change, a release into silence and a new note after it) in blocks
// of 1, 37 and 1000 frames, and the outputs must match to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/ParamBlock.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"

namespace {

using namespace midi;

constexpr float kRate = 44100.0f;
constexpr long kTotal = 48000;  // 1.09 s
constexpr int kPrograms = 20;
// The program changes (effSetProgram, between blocks) at a frame where all
// three cuts have a block boundary: 37 x 1000.
constexpr long kProgramChangeAt = 37000;

struct Timed {
    long frame;
    VstMidiEvent event;
};

// The performance, in frame order; offsets are set per block.
std::vector<Timed> performance() {
    std::vector<Timed> t = {
        {100, noteOn(0, 48)},
        {2503, pitchBend(0, 90)},
        {4500, noteOn(0, 55)},   // legato over 48
        {7501, noteOff(0, 55)},  // back to the remembered 48
        {15011, noteOff(0, 48)},
        {37050, noteOn(0, 60, 30)},  // after the release, from silence
        {39000, noteOn(0, 62)},      // legato, gliding after the change below
        {40000, pitchBend(0, 30)},
        {43000, noteOff(0, 62)},
        {43001, noteOff(0, 60)},
        {46000, noteOn(0, 40)},
    };
    // A sweep of the cutoff and resonance controllers, a pair on each frame.
    for (int i = 0; i < 16; ++i) {
        t.push_back({10500 + i, controller(0, 36, 127 - i * 8)});
        t.push_back({10500 + i, controller(0, 38, i * 4)});
    }
    std::stable_sort(t.begin(), t.end(), [](const Timed& a, const Timed& b) { return a.frame < b.frame; });
    return t;
}

// The performance on a fresh instance of program p, in blocks of `block`.
std::vector<float> play(int program, long block) {
    ModuleHost host;
    if (!host.load(ORV_MODULE_PATH, kRate, static_cast<VstInt32>(block))) return {};
    host.dispatch(effSetProgram, 0, program);
    host.resume();
    const std::vector<Timed> events = performance();
    std::vector<float> out(kTotal), right(kTotal);
    std::size_t next = 0;
    for (long start = 0; start < kTotal; start += block) {
        const long frames = std::min(block, kTotal - start);
        if (start == kProgramChangeAt) {
            host.dispatch(effSetProgram, 0, (program + 1) % kPrograms);
            host.setParameter(param::kPortamento, 0.4f);
        }
        std::vector<VstMidiEvent> list;
        for (; next < events.size() && events[next].frame < start + frames; ++next) {
            list.push_back(events[next].event);
            list.back().deltaFrames = static_cast<VstInt32>(events[next].frame - start);
        }
        if (!list.empty()) host.sendEvents(list);
        float* outputs[] = {&out[start], &right[start]};
        host.process(outputs, static_cast<VstInt32>(frames));
    }
    return out;
}

TEST(BlockCut, EveryProgramRendersTheSameBitsInAnyBlockSize) {
    for (int p = 0; p < kPrograms; ++p) {
        const std::vector<float> alone = play(p, 1);
        ASSERT_EQ(alone.size(), static_cast<std::size_t>(kTotal)) << "program " << p << " rendered";
        float peak = 0.0f;
        for (float s : alone) peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.01f) << "program " << p << " sounds";
        for (long block : {37L, 1000L}) {
            const std::vector<float> cut = play(p, block);
            ASSERT_EQ(cut.size(), alone.size());
            long first = -1;
            for (long i = 0; i < kTotal && first < 0; ++i)
                if (std::memcmp(&alone[i], &cut[i], sizeof(float)) != 0) first = i;
            EXPECT_EQ(first, -1) << "program " << p << " in blocks of " << block
                                 << " first differs from frame-by-frame at frame " << first;
        }
    }
}

}  // namespace
