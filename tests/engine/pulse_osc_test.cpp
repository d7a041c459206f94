// PulseOsc: the cancelling edges of a fresh cycle, the duty cycle set by
// the pulse width, band-limited edges of both signs, and safe width jumps.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/PulseOsc.h"
#include "engine/RandomSource.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kStreamRate = 2.0 * kRate;
constexpr size_t kLength = 1 << 17;

PulseOsc freshPulse() { return PulseOsc(kRate, MinBlepTable::shared()); }

// Share of steps spent in the low half (below 0) over whole cycles.
double lowShare(PulseOsc& pulse, float hz, float pw) {
    const auto out = probe::render(kLength, [&] { return pulse.step(hz, 0.0f, pw); });
    size_t low = 0;
    for (float v : out) low += v < 0.0f ? 1 : 0;
    return static_cast<double>(low) / static_cast<double>(out.size());
}

TEST(PulseOscReset, EdgesOfAFreshCycleCancelAndTheOutputStartsLow) {
    PulseOsc pulse = freshPulse();  // a new unit stands where a reset leaves it
    pulse.alignPhases();
    // At 110 Hz the cycle fraction reaches the 0.5 threshold after 401 steps.
    for (int i = 0; i < 300; ++i) {
        ASSERT_FLOAT_EQ(pulse.step(110.0f, 0.0f, 0.5f), -0.5f) << "fresh unit, step " << i;
    }
    for (int i = 0; i < 5000; ++i) pulse.step(110.0f, 0.0f, 0.5f);
    pulse.reset();
    pulse.alignPhases();
    for (int i = 0; i < 300; ++i) {
        ASSERT_FLOAT_EQ(pulse.step(110.0f, 0.0f, 0.5f), -0.5f) << "after a reset, step " << i;
    }
}

TEST(PulseOscWidth, LowPartLastsTenFiftyAndNinetyPercentWidthsOutsideHeld) {
    struct Case {
        float pw;
        double share;
    };
    const Case cases[] = {{0.0f, 0.1},  {0.5f, 0.5},        {1.0f, 0.9},
                          {-3.0f, 0.1}, {probe::kNaN, 0.1}, {7.0f, 0.9}};
    for (const Case& c : cases) {
        PulseOsc pulse = freshPulse();
        pulse.alignPhases();
        EXPECT_NEAR(lowShare(pulse, 441.0f, c.pw), c.share, 0.005) << "pulse width " << c.pw;
    }
}

TEST(PulseOscEdges, BothEdgesAreBandLimitedWithTheTablesOvershoot) {
    PulseOsc pulse = freshPulse();
    pulse.alignPhases();
    const auto out = probe::render(kLength, [&] { return pulse.step(110.0f, 0.0f, 0.5f); });
    const float overshoot = MinBlepTable::shared()[37] - 1.0f;
    float highest = -1.0f, lowest = 1.0f;
    for (float v : out) {
        highest = std::max(highest, v);
        lowest = std::min(lowest, v);
    }
    EXPECT_NEAR(highest, 0.5f + overshoot, 0.02f) << "the rise overshoots like the table";
    EXPECT_NEAR(lowest, -0.5f - overshoot, 0.02f) << "the fall undershoots like the table";
    EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), 110.0, 0.02) << "sounds at the requested pitch";
}

TEST(PulseOscEdges, BandLimitedEdgesLowerTheAliases) {
    PulseOsc pulse = freshPulse();
    pulse.alignPhases();
    const float hz = 1760.0f;
    const auto limited = probe::render(kLength, [&] { return pulse.step(hz, 0.0f, 0.3f); });
    float a = 0.0f;
    const float threshold = 0.3f * 0.8f + 0.1f;
    const auto naive = probe::render(kLength, [&] {
        a += hz * 0.5f / kRate;
        if (a >= 1.0f) a -= 1.0f;
        return a < threshold ? -0.5f : 0.5f;
    });
    const double f0 = probe::peakFrequency(limited, kStreamRate, hz * 0.5, hz * 1.5);
    const double limitedDb = probe::largestAlias(limited, kStreamRate, f0, kRate / 2).db;
    const double naiveDb = probe::largestAlias(naive, kStreamRate, f0, kRate / 2).db;
    EXPECT_LT(limitedDb, naiveDb - 12.0) << "band-limited " << limitedDb << " dB, naive " << naiveDb << " dB";
}

TEST(PulseOscRobustness, WidthJumpsAndWildInputsStayBounded) {
    PulseOsc pulse = freshPulse();
    RandomSource random(2);
    const float frequencies[] = {30.0f, 440.0f, 19000.0f, 0.0f, -5.0f, probe::kInf, probe::kNaN};
    for (int i = 0; i < 200000; ++i) {
        // A new width on every step moves the threshold far past the width
        // ramp: late edges must stay inside the table and the ring.
        const float pw = random.nextUnit();
        const float hz = frequencies[(i / 1000) % 7];
        const float v = pulse.step(hz, (i / 7000) % 2 ? 0.0f : 1.0f, pw);
        ASSERT_TRUE(std::fabs(v) < 3.0f) << "step " << i << " at " << hz << " Hz: " << v;
    }
}

}  // namespace
