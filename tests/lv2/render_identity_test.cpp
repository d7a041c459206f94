// The same instrument in two formats: every factory program plays the demo
// phrase to the same bits through the VST 2.x module and through the LV2
// bundle (the program chosen as the LV2 preset of its name), at both
// common rates and at the block sizes hosts use; and a bank moves between
// the formats and saves back to the same bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/core/PluginHost.h"
#include "host/lv2/Lv2Host.h"
#include "host/render/DemoPhrase.h"
#include "host/render/EventSchedule.h"

namespace {

constexpr double kTempo = 120.0;

struct Render {
    std::vector<float> left, right;
};

// The phrase and a second of its tail, block by block, as orv-host render
// plays it: each block's events, then the block.
template <typename Process>
Render play(double rate, int block, Process process) {
    const MidiFile phrase = demoPhrase(kTempo);
    EventSchedule schedule(phrase.events, rate);
    const std::int64_t length = schedule.lastFrame() + std::int64_t(rate);
    Render r;
    r.left.resize(length);
    r.right.resize(length);
    std::vector<VstMidiEvent> events;
    for (std::int64_t start = 0; start < length; start += block) {
        const auto frames = std::int32_t(std::min<std::int64_t>(block, length - start));
        schedule.eventsFor(start, frames, events);
        float* outputs[2] = {r.left.data() + start, r.right.data() + start};
        process(outputs, frames, events);
    }
    return r;
}

Render throughVst(int program, double rate, int block) {
    PluginHost host;
    EXPECT_TRUE(host.load(ORV_MODULE_PATH, float(rate), block)) << host.error();
    host.dispatch(effSetProgram, 0, program);
    host.resume();
    return play(rate, block, [&](float** outputs, std::int32_t frames, const std::vector<VstMidiEvent>& events) {
        if (!events.empty()) host.sendEvents(events);
        host.process(outputs, frames);
    });
}

Render throughLv2(int program, double rate, int block) {
    Lv2Host host;
    EXPECT_TRUE(host.load(ORV_LV2_BUNDLE, rate, std::uint32_t(block))) << host.error();
    EXPECT_TRUE(host.applyPreset(program));
    return play(rate, block, [&](float** outputs, std::int32_t frames, const std::vector<VstMidiEvent>& events) {
        host.process(outputs, std::uint32_t(frames), events, kTempo);
    });
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(Lv2Bundle, PresetsAreTheFactoryProgramsInOrder) {
    PluginHost vst;
    ASSERT_TRUE(vst.load(ORV_MODULE_PATH)) << vst.error();
    Lv2Host lv2;
    ASSERT_TRUE(lv2.load(ORV_LV2_BUNDLE, 44100.0, 512)) << lv2.error();
    EXPECT_EQ(lv2.presetNames(), vst.programNames());
}

struct Case {
    double rate;
    int block;
};

class RenderIdentity : public ::testing::TestWithParam<Case> {};

TEST_P(RenderIdentity, EveryProgramPlaysTheDemoPhraseToTheSameBits) {
    const Case c = GetParam();
    for (int program = 0; program < 20; ++program) {
        SCOPED_TRACE("program " + std::to_string(program + 1));
        const Render vst = throughVst(program, c.rate, c.block);
        const Render lv2 = throughLv2(program, c.rate, c.block);
        EXPECT_TRUE(sameBits(vst.left, lv2.left));
        EXPECT_TRUE(sameBits(vst.right, lv2.right));
        float peak = 0.0f;
        for (float x : vst.left) peak = std::max(peak, std::fabs(x));
        EXPECT_GT(peak, 0.01f) << "the phrase must sound for the comparison to mean anything";
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, RenderIdentity,
                         ::testing::Values(Case{44100.0, 1}, Case{44100.0, 64}, Case{44100.0, 1000},
                                           Case{96000.0, 1}, Case{96000.0, 64}, Case{96000.0, 1000}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::to_string(int(info.param.rate)) + "Hz_block" +
                                    std::to_string(info.param.block);
                         });

}  // namespace
