// The shipped module against the reference build, which computes with the
// exact arithmetic the sound was made with: loaded side by side as a host
// loads them, every factory program, at the rates and block sizes hosts
// use, under an uneven stream of notes, bends, legato glides, controller
// bursts through controller learn and program changes, renders within
// -120 dB RMS and -110 dB peak of full scale of the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "engine/ParamBlock.h"
#include "host/bench/BenchSchedule.h"
#include "host/core/PluginHost.h"
#include "measure/AudioMeasure.h"

namespace {

constexpr int kFactoryPrograms = 20;
// The stress schedule's first second: its burst, bend, glide and program
// change, and two notes. (Renders of 2.5 s null no worse.)
constexpr double kSeconds = 1.0;
constexpr double kMaxRmsDb = -120.0;
constexpr double kMaxPeakDb = -110.0;

// Both outputs of one fresh instance playing program under the stress
// schedule, one channel after the other. Controller learn is on with
// CUTOFF the last parameter set, so the schedule's first controller takes
// CUTOFF over.
std::vector<float> render(const std::string& module, int program, int rate, int block) {
    PluginHost host;
    if (!host.load(module, float(rate), block)) {
        ADD_FAILURE() << host.error();
        return {};
    }
    AEffect* effect = host.effect();
    effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f);
    host.setParameter(param::kControllerLearn, 1.0f);
    host.setParameter(param::kCutoff, 0.3f);
    host.resume();

    BenchPlan plan;
    plan.stress = true;
    plan.sampleRate = rate;
    plan.blockSize = block;
    plan.seconds = kSeconds;
    plan.program = program;
    const BenchSchedule schedule(plan);
    std::vector<float> left(block), right(block), silence(block), out, outRight;
    float* outputs[] = {left.data(), right.data()};
    float* inputs[] = {silence.data(), silence.data()};
    for (const BenchBlock& b : schedule.blocks()) {
        if (b.programChange >= 0) effect->dispatcher(effect, effSetProgram, 0, b.programChange, nullptr, 0.0f);
        if (b.events) effect->dispatcher(effect, effProcessEvents, 0, 0, b.events, 0.0f);
        effect->processReplacing(effect, inputs, outputs, block);
        out.insert(out.end(), left.begin(), left.end());
        outRight.insert(outRight.end(), right.begin(), right.end());
    }
    out.insert(out.end(), outRight.begin(), outRight.end());
    return out;
}

struct Difference {
    double rms = 0.0, peak = 0.0, signalRms = 0.0;
};

Difference difference(const std::vector<float>& shipped, const std::vector<float>& reference) {
    measure::Signal error(reference.size());
    for (std::size_t i = 0; i < reference.size(); ++i) error[i] = float(double(shipped[i]) - double(reference[i]));
    return {measure::rms(error), measure::peak(error), measure::rms(reference)};
}

// (sample rate, block size)
class ReferenceNull : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ReferenceNull, EveryProgramRendersWithinTheBoundOfTheReferenceBuild) {
    const auto [rate, block] = GetParam();
    double worstRms = 0.0, worstPeak = 0.0;
    bool anyDifferent = false;
    for (int p = 0; p < kFactoryPrograms; ++p) {
        const std::vector<float> shipped = render(ORV_MODULE_PATH, p, rate, block);
        const std::vector<float> reference = render(ORV_REFERENCE_MODULE_PATH, p, rate, block);
        ASSERT_EQ(shipped.size(), reference.size());
        const Difference d = difference(shipped, reference);
        EXPECT_GT(measure::dbfs(d.signalRms), -60.0) << "program " << p << " plays";
        EXPECT_LE(measure::dbfs(d.rms), kMaxRmsDb) << "program " << p;
        EXPECT_LE(measure::dbfs(d.peak), kMaxPeakDb) << "program " << p;
        worstRms = std::max(worstRms, d.rms);
        worstPeak = std::max(worstPeak, d.peak);
        anyDifferent = anyDifferent || d.peak > 0.0;
    }
    // Otherwise the reference module would not be the reference build, and
    // the comparison would prove nothing.
    EXPECT_TRUE(anyDifferent) << "the two builds compute differently";
    RecordProperty("worst_rms_db", std::to_string(measure::dbfs(worstRms)));
    RecordProperty("worst_peak_db", std::to_string(measure::dbfs(worstPeak)));
    std::printf("%d Hz, block %d: worst %.1f dB RMS, %.1f dB peak\n", rate, block, measure::dbfs(worstRms),
                measure::dbfs(worstPeak));
}

// The sanitizer build looks for memory faults, not for other sounds: one case.
#ifdef ORV_SANITIZER_BUILD
INSTANTIATE_TEST_SUITE_P(Builds, ReferenceNull, ::testing::Combine(::testing::Values(44100), ::testing::Values(256)));
#else
INSTANTIATE_TEST_SUITE_P(Builds, ReferenceNull,
                         ::testing::Combine(::testing::Values(44100, 48000, 96000, 192000),
                                            ::testing::Values(1, 37, 256, 1000)));
#endif

}  // namespace
