// SawOsc: pitch, the band-limited edge, FM range and limit, aliasing, and
// survival of any input.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/SawOsc.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kStreamRate = 2.0 * kRate;  // the unit is stepped twice per host sample
constexpr size_t kLength = 1 << 17;

SawOsc freshSaw() { return SawOsc(kRate, MinBlepTable::shared()); }

TEST(SawOscPitch, PhaseAdvancesHalfTheFrequencyPerStep) {
    SawOsc saw = freshSaw();
    // Between edges the output is the phase ramp: 110 x 0.5 / 44100 per step.
    const float increment = 110.0f * 0.5f / kRate;
    for (int i = 0; i < 100; ++i) saw.step(110.0f, 0.0f);  // past the first edge's correction
    float previous = saw.step(110.0f, 0.0f);
    for (int i = 0; i < 600; ++i) {
        const float v = saw.step(110.0f, 0.0f);
        ASSERT_NEAR(v - previous, increment, 1e-6f) << "ramp slope at step " << i;
        previous = v;
    }
}

TEST(SawOscPitch, SoundsAtTheRequestedFrequency) {
    for (float hz : {55.0f, 110.0f, 1760.0f, 5000.0f}) {
        SawOsc saw = freshSaw();
        const auto out = probe::render(kLength, [&] { return saw.step(hz, 0.0f); });
        EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), hz, hz * 1e-4)
            << "fundamental of a " << hz << " Hz saw";
    }
}

TEST(SawOscEdge, FirstEdgeAfterResetFollowsTheTable) {
    const MinBlepTable& table = MinBlepTable::shared();
    SawOsc saw = freshSaw();  // a new unit stands where a reset leaves it
    const float increment = 110.0f * 0.5f / kRate;
    // The wrap falls at the very end of the first step; the k-th output
    // after it is the new ramp plus the part of the fall still to come,
    // 1 - T at (k + 2) oscillator steps into the table.
    for (int k = 0; k < 70; ++k) {
        const float expected = 0.5f - table[5 * (k + 2)] + (k + 1) * increment;
        ASSERT_NEAR(saw.step(110.0f, 0.0f), expected, 1e-5f) << "output " << k << " after the edge";
    }
    for (int i = 0; i < 2000; ++i) saw.step(110.0f, 0.0f);
    saw.reset();
    EXPECT_NEAR(saw.step(110.0f, 0.0f), 0.5f - table[10] + increment, 1e-5f)
        << "a reset starts the same fall from the top";
}

TEST(SawOscEdge, EdgeInsideAStepIsPlacedAtItsExactPosition) {
    const MinBlepTable& table = MinBlepTable::shared();
    // 100.65 steps per cycle: after the edge at the first step, the phase
    // passes 1 again 0.35 of a step before the end of step 100.
    const double stepsPerCycle = 100.65;
    const float increment = static_cast<float>(1.0 / stepsPerCycle);
    SawOsc saw = freshSaw();
    for (int i = 0; i < 100; ++i) saw.step(2.0f * kRate * increment, 0.0f);
    // m steps after that step the edge lies m + 1.35 steps back (the first
    // correction slot is cleared before it is read): table point
    // (m + 1.35) x 5, rounded, which is 5m + 7.
    for (int m = 0; m < 60; ++m) {
        const float ramp = (0.35f + m) * increment - 0.5f;
        const float expected = ramp + 1.0f - table[5 * m + 7];
        ASSERT_NEAR(saw.step(2.0f * kRate * increment, 0.0f), expected, 1e-4f)
            << "output " << m << " after the second edge";
    }
}

TEST(SawOscEdge, OvershootStaysWithinTheTablesPeak) {
    SawOsc saw = freshSaw();
    const auto out = probe::render(kLength, [&] { return saw.step(220.0f, 0.0f); });
    const float overshoot = MinBlepTable::shared()[37] - 1.0f;
    double sum = 0.0;
    for (float v : out) {
        ASSERT_LE(v, 0.5f + overshoot + 0.01f) << "above the band-limited peak";
        ASSERT_GE(v, -0.5f - overshoot - 0.01f) << "below the band-limited trough";
        sum += v;
    }
    EXPECT_NEAR(sum / out.size(), 0.0, 0.01) << "no DC offset";
}

TEST(SawOscAliasing, BandLimitedEdgesLowerTheAliasesByTwelveDecibels) {
    for (float hz : {1760.0f, 5000.0f}) {
        SawOsc saw = freshSaw();
        const auto limited = probe::render(kLength, [&] { return saw.step(hz, 0.0f); });
        const auto naive = probe::naiveSaw(kLength, hz, kRate);
        const double f0 = probe::peakFrequency(limited, kStreamRate, hz * 0.5, hz * 1.5);
        // What the decimation to the host rate keeps: aliases below 22050 Hz.
        const probe::Alias limitedAlias = probe::largestAlias(limited, kStreamRate, f0, kRate / 2);
        const probe::Alias naiveAlias = probe::largestAlias(naive, kStreamRate, f0, kRate / 2);
        EXPECT_LT(limitedAlias.db, naiveAlias.db - 12.0)
            << hz << " Hz: band-limited " << limitedAlias.db << " dB at " << limitedAlias.hz << " Hz, naive "
            << naiveAlias.db << " dB at " << naiveAlias.hz << " Hz";
    }
}

TEST(SawOscFm, SweepsUpTo41TimesTheFrequency) {
    // 100 Hz at amount 0.5 sweeps 100..2100 Hz.
    SawOsc saw = freshSaw();
    const auto out = probe::render(kLength * 4, [&] { return saw.step(100.0f, 0.5f); });
    // The band-limited edge rings for a few steps at the host Nyquist
    // frequency (a 4-step period); averaging over 4 steps keeps one zero
    // crossing per cycle.
    const double measured = measure::frequency(probe::movingAverage(out, 4), kStreamRate);
    // The modulator's phase moves evenly and sin averages to 0, so the
    // average frequency is (amount x 20 + 1) x f.
    const double expected = (0.5 * 20.0 + 1.0) * 100.0;
    EXPECT_NEAR(measured, expected, expected * 0.01) << "average frequency under FM";
}

TEST(SawOscFm, SweepIsHeldAtTheHostNyquistFrequency) {
    // 2000 Hz at amount 1 would sweep up to 82 kHz; held at 22050 Hz, the
    // spectrum keeps (almost) nothing above it.
    SawOsc saw = freshSaw();
    const auto out = probe::render(kLength, [&] { return saw.step(2000.0f, 1.0f); });
    const auto m = probe::magnitudes(out);
    const double binHz = kStreamRate / out.size();
    double below = 0.0, above = 0.0;
    for (size_t k = 0; k < m.size(); ++k) {
        const double hz = k * binHz;
        if (hz < kRate / 2) below += m[k] * m[k];
        if (hz > 26000.0) above += m[k] * m[k];
    }
    EXPECT_LT(10.0 * std::log10(above / below), -40.0) << "energy above 26 kHz relative to below 22050 Hz";
}

TEST(SawOscRobustness, AnyFrequencyOrAmountGivesABoundedOutput) {
    const float largest = probe::largestOutputUnderWildInputs(
        [] { return freshSaw(); }, [](SawOsc& saw, float hz, float fm) { return saw.step(hz, fm); });
    EXPECT_LT(largest, 2.0f) << "largest |output| for unusable frequencies and amounts";
    SawOsc saw = freshSaw();
    for (int i = 0; i < 1000; ++i) saw.step(probe::kNaN, probe::kInf);
    const auto out = probe::render(kLength, [&] { return saw.step(1000.0f, 0.0f); });
    EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), 1000.0, 0.1) << "plays on after bad input";
}

TEST(SawOscRobustness, UnusableSampleRateIsIgnored) {
    SawOsc saw = freshSaw();
    saw.setSampleRate(0.0f);
    saw.setSampleRate(probe::kNaN);
    const auto out = probe::render(kLength, [&] { return saw.step(1000.0f, 0.0f); });
    EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), 1000.0, 0.1) << "still counting at 44100 Hz";
    saw.setSampleRate(48000.0f);
    const auto faster = probe::render(kLength, [&] { return saw.step(1000.0f, 0.0f); });
    EXPECT_NEAR(probe::peakFrequency(faster, kStreamRate), 1000.0 * 44100.0 / 48000.0, 0.1)
        << "a new rate is taken";
}

}  // namespace
