// LadderFilter4 and LadderFilter8: unit gain without resonance, the frozen
// filter at cutoff 0, the stage step at cutoff 1, the eight-stage output
// delay and its paired form, the jitter's reach, and survival of any input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/LadderFilter4.h"
#include "engine/LadderFilter8.h"

namespace {

// Both variants are driven as the engine drives them: two calls per host
// sample, coefficients updated on the first.
template <typename Filter>
float runHostSample(Filter& filter, float in, float cutoff, float resonance) {
    float a = in, b = in;
    filter.process(a, cutoff, resonance, true);
    filter.process(b, cutoff, resonance, false);
    return b;
}

// The output shaper's cubic for a small value, from the filter's rule.
float shaped(float x) { return x > 0.0f ? x - x * x * x * 0.16686666f : x - x * x * x * 0.15666626f; }

template <typename Filter>
class LadderFilterTest : public ::testing::Test {};

using Variants = ::testing::Types<LadderFilter4, LadderFilter8>;
TYPED_TEST_SUITE(LadderFilterTest, Variants);

TYPED_TEST(LadderFilterTest, UnitGainWithoutResonance) {
    for (float level : {0.01f, -0.01f, 0.3f}) {
        RandomSource random;
        TypeParam filter(random);
        float out = 0.0f;
        for (int i = 0; i < 20000; ++i) out = runHostSample(filter, level, 0.5f, 0.0f);
        EXPECT_NEAR(out, shaped(level), 1e-6f) << "constant " << level << " settles to itself, shaped";
    }
}

TYPED_TEST(LadderFilterTest, FreezesAtCutoffNearZero) {
    RandomSource random(4);
    TypeParam filter(random);
    for (int i = 0; i < 20000; ++i) runHostSample(filter, 0.3f, 0.5f, 0.0f);
    // The engine's cutoff never falls below 1e-9: there the stages stand
    // still and the filter emits the shaped last stage value, whatever
    // comes in.
    runHostSample(filter, 0.3f, 1e-9f, 0.0f);
    const float frozen = runHostSample(filter, 0.3f, 1e-9f, 0.0f);
    EXPECT_NEAR(frozen, shaped(0.3f), 1e-6f) << "the settled state, shaped";
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(runHostSample(filter, random.nextUnit() - 0.5f, 1e-9f, 0.0f), frozen)
            << "the output stands still, sample " << i;
    }
}

TYPED_TEST(LadderFilterTest, UnusedRandomnessWithoutResonance) {
    // Jitter only scales the feedback: without resonance two filters fed
    // from different random sources agree exactly; with it they differ.
    for (float resonance : {0.0f, 0.7f}) {
        RandomSource randomA(1), randomB(2);
        TypeParam a(randomA), b(randomB);
        bool differ = false;
        for (int i = 0; i < 5000; ++i) {
            const float in = (i / 50) % 2 ? 0.4f : -0.4f;
            differ = differ || runHostSample(a, in, 0.8f, resonance) != runHostSample(b, in, 0.8f, resonance);
        }
        EXPECT_EQ(differ, resonance > 0.0f) << "resonance " << resonance;
    }
}

TYPED_TEST(LadderFilterTest, ResonanceRingsAtTheCutoffWithoutBlowingUp) {
    RandomSource random;
    TypeParam filter(random);
    // A short burst, then silence: at full resonance the filter keeps
    // ringing, bounded by its output shaper.
    float late = 0.0f;
    for (int i = 0; i < 44100; ++i) {
        const float out = runHostSample(filter, i < 100 ? 0.5f : 0.0f, 0.3f, 1.0f);
        ASSERT_TRUE(std::fabs(out) < 1.0f) << "sample " << i << ": " << out;
        if (i > 40000) late = std::max(late, std::fabs(out));
    }
    EXPECT_GT(late, 0.05f) << "self-oscillation after a second";
}

TYPED_TEST(LadderFilterTest, AnyInputGivesAFiniteOutputAndTheFilterRecovers) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float wild[] = {10.0f, -1e30f, inf, -inf, nan, 1e6f};
    RandomSource random;
    TypeParam filter(random);
    for (float in : wild) {
        for (float cutoff : {0.0f, 0.5f, 1.0f, 7.0f, -1.0f, nan}) {
            for (float resonance : {0.0f, 1.0f, 25.0f, -3.0f, nan}) {
                for (int i = 0; i < 200; ++i) {
                    const float out = runHostSample(filter, (i / 20) % 2 ? in : -in, cutoff, resonance);
                    ASSERT_TRUE(std::isfinite(out) && std::fabs(out) < 2.0f)
                        << "in " << in << " cutoff " << cutoff << " resonance " << resonance << ": " << out;
                }
            }
        }
    }
    float out = 0.0f;
    for (int i = 0; i < 40000; ++i) out = runHostSample(filter, 0.01f, 0.5f, 0.0f);
    EXPECT_NEAR(out, shaped(0.01f), 1e-6f) << "back to unit gain once the input is sane";
}

TYPED_TEST(LadderFilterTest, SilenceDiesAwayToExactlyZeroWithoutDenormals) {
    RandomSource random;
    TypeParam filter(random);
    for (int i = 0; i < 1000; ++i) runHostSample(filter, 0.5f, 0.05f, 0.3f);
    // A low cutoff makes the decay slow, so it lingers at every magnitude on
    // its way down; no output may be subnormal (the slow path of x86 float
    // arithmetic), and the filter must come to rest at 0.
    float out = 1.0f;
    for (int i = 0; i < 400000; ++i) {
        out = runHostSample(filter, 0.0f, 0.05f, 0.3f);
        ASSERT_NE(std::fpclassify(out), FP_SUBNORMAL) << "sample " << i;
    }
    EXPECT_EQ(out, 0.0f) << "at rest after silence";
}

// For small signals a stage moves a fraction s = 0.8 (1 - e) of the way to
// its input per call; at cutoff 1 the series gives about 0.92.
constexpr float kStageStepAtFullCutoff = 0.92f;

// Same seed, same inputs: the paired form must give the same bits as the
// two calls it stands for, through settling, sweeps, resonance up to
// self-oscillation, silence and inputs far out of range.
template <typename Filter>
void expectPairIsExactlyTwoCalls() {
    RandomSource randomA(9), randomB(9);
    Filter calls(randomA), pair(randomB);
    RandomSource drive(3);
    for (int i = 0; i < 200000; ++i) {
        const float cutoff = (i % 7919) / 7919.0f * 1.2f - 0.1f;
        const float resonance = (i / 5000) % 2 ? 1.0f : (i % 4001) / 4001.0f;
        float in = i % 50000 < 40000 ? drive.nextUnit() - 0.5f : 0.0f;
        if (i % 9973 == 0) in = 1e9f;
        float a = in, b = -in, c = in, d = -in;
        calls.process(a, cutoff, resonance, true);
        calls.process(b, cutoff, resonance, false);
        pair.processPair(c, d, pair.frame(cutoff, resonance), ladder::NothingBetween{});
        ASSERT_EQ(std::memcmp(&a, &c, sizeof a), 0) << "first sub-sample of host sample " << i;
        ASSERT_EQ(std::memcmp(&b, &d, sizeof b), 0) << "second sub-sample of host sample " << i;
    }
}

TEST(LadderFilter4, APairIsExactlyTwoCalls) { expectPairIsExactlyTwoCalls<LadderFilter4>(); }
TEST(LadderFilter8, APairIsExactlyTwoCalls) { expectPairIsExactlyTwoCalls<LadderFilter8>(); }

TEST(LadderFilter4, StagesStepAbout092PerSubSampleAtFullCutoff) {
    RandomSource random;
    LadderFilter4 filter(random);
    // One call on a fresh filter: y4 = s^4 u, output the average of y4 and
    // the previous 0.
    const float u = 1e-3f;
    float out = u;
    filter.process(out, 1.0f, 0.0f, true);
    const float step = std::pow(2.0f * out / u, 0.25f);
    EXPECT_NEAR(step, kStageStepAtFullCutoff, 0.01f) << "per-stage step from one call";
}

TEST(LadderFilter8, StagesStepAbout092AndTheOutputIsOneCallLate) {
    RandomSource random;
    LadderFilter8 filter(random);
    const float u = 1e-3f;
    float first = u, second = u;
    filter.process(first, 1.0f, 0.0f, true);
    filter.process(second, 1.0f, 0.0f, false);
    EXPECT_EQ(first, 0.0f) << "the first call outputs the previous (empty) stage 8";
    const float step = std::pow(second / u, 0.125f);
    EXPECT_NEAR(step, kStageStepAtFullCutoff, 0.01f) << "stage 8 after one call is s^8 u";
}

}  // namespace
