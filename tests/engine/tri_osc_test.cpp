// TriOsc: the octave-up fundamental, its odd-harmonic shape that fades out
// with frequency, and its FM.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/TriOsc.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kStreamRate = 2.0 * kRate;
constexpr size_t kLength = 1 << 17;

std::vector<float> renderTri(float hz, float fm = 0.0f) {
    TriOsc tri(kRate);
    for (int i = 0; i < 1000; ++i) tri.step(hz, fm);  // past the increment's glide from 0
    return probe::render(kLength, [&] { return tri.step(hz, fm); });
}

TEST(TriOscPitch, SoundsOneOctaveAboveTheRequestedFrequency) {
    const auto out = renderTri(110.0f);
    EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), 220.0, 0.02) << "a requested 110 Hz sounds at 220";
    const auto m = probe::magnitudes(out);
    const double binHz = kStreamRate / out.size();
    EXPECT_LT(measure::db(probe::levelAt(m, 110.0, binHz) / probe::levelAt(m, 220.0, binHz)), -80.0)
        << "nothing at 110 Hz: 220 Hz is the lowest partial";
}

TEST(TriOscShape, MostlyOddHarmonicsThirdAboutAQuarterAtLowPitch) {
    const auto out = renderTri(110.0f);
    const auto m = probe::magnitudes(out);
    const double binHz = kStreamRate / out.size();
    const double first = probe::levelAt(m, 220.0, binHz);
    const double second = probe::levelAt(m, 440.0, binHz);
    const double third = probe::levelAt(m, 660.0, binHz);
    EXPECT_NEAR(third / first, 0.25, 0.08) << "third harmonic relative to the first";
    EXPECT_LT(second / first, third / first / 3.0) << "even harmonics well below the odd ones";
}

TEST(TriOscShape, IsAPlainCosineFrom10kHzUp) {
    // Requested 10.5 kHz sounds at 21 kHz; its harmonics (and their
    // aliases) would show if the bend were still there.
    const auto out = renderTri(10500.0f);
    EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), 21000.0, 0.1);
    EXPECT_LT(probe::largestAlias(out, kStreamRate, 21000.0, kStreamRate / 2).db, -100.0)
        << "no component besides the fundamental";
}

TEST(TriOscFm, ModulatorAlsoRunsAnOctaveUp) {
    // Average pitch at FM amount 0.5: 2f x ((sin + 1) x 5 + 1) on average,
    // that is 6 x 2f, below the 20 kHz limit for f = 300 Hz.
    const auto out = renderTri(300.0f, 0.5f);
    const double measured = measure::frequency(out, kStreamRate);
    EXPECT_NEAR(measured, 6.0 * 600.0, 6.0 * 600.0 * 0.01) << "average frequency under FM";
}

TEST(TriOscRobustness, WildInputsGiveValuesWithinMinusOneToOne) {
    const float largest = probe::largestOutputUnderWildInputs(
        [] { return TriOsc(kRate); }, [](TriOsc& tri, float hz, float fm) { return tri.step(hz, fm); });
    EXPECT_LE(largest, 1.0f) << "largest |output| for unusable frequencies and amounts";
}

}  // namespace
