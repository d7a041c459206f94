// SineOsc: pitch, purity, and the FM range with its 20 kHz limit.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/SineOsc.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kStreamRate = 2.0 * kRate;
constexpr size_t kLength = 1 << 17;

TEST(SineOscPitch, SoundsAtTheRequestedFrequencyAndNothingElse) {
    for (float hz : {8.18f, 261.63f, 5000.0f, 19000.0f}) {
        SineOsc sine(kRate);
        const auto out = probe::render(kLength, [&] { return sine.step(hz, 0.0f); });
        EXPECT_NEAR(probe::peakFrequency(out, kStreamRate), hz, 0.01) << "a " << hz << " Hz sine";
        EXPECT_LT(probe::largestAlias(out, kStreamRate, hz, kStreamRate / 2).db, -100.0)
            << "a pure cosine at " << hz << " Hz";
    }
}

// Average frequency over many modulator cycles: ((sin + 1) x amount x 10 +
// 1) x f averaged over an even modulator phase, held at 20 kHz.
double expectedFmAverage(double hz, double amount) {
    double sum = 0.0;
    constexpr int kPoints = 100000;
    for (int i = 0; i < kPoints; ++i) {
        const double swept = ((std::sin(2.0 * M_PI * i / kPoints) + 1.0) * amount * 10.0 + 1.0) * hz;
        sum += std::min(swept, 20000.0);
    }
    return sum / kPoints;
}

TEST(SineOscFm, SweepsOneToElevenTimesAtHalfAmountHeldAt20kHz) {
    // 200 Hz at 0.5 sweeps 200..2200 Hz; 2000 Hz at 0.5 would reach 22 kHz
    // and is held at 20 kHz.
    for (float hz : {200.0f, 2000.0f}) {
        SineOsc sine(kRate);
        const auto out = probe::render(kLength * 4, [&] { return sine.step(hz, 0.5f); });
        const double measured = measure::frequency(out, kStreamRate);
        const double expected = expectedFmAverage(hz, 0.5);
        EXPECT_NEAR(measured, expected, expected * 0.01) << hz << " Hz at FM amount 0.5";
    }
}

TEST(SineOscFm, ModulatorRunsAtTwiceTheCarrier) {
    // A small amount sweeps 1000..1400 Hz: a carrier at the mean 1200 Hz
    // with sidebands spaced by the modulator's frequency, 2000 Hz.
    SineOsc sine(kRate);
    const float hz = 1000.0f;
    const auto out = probe::render(kLength, [&] { return sine.step(hz, 0.02f); });
    const auto m = probe::magnitudes(out);
    const double binHz = kStreamRate / out.size();
    const double carrier = probe::levelAt(m, 1200.0, binHz);
    EXPECT_GT(measure::db(probe::levelAt(m, 1200.0 + 2.0 * hz, binHz) / carrier), -40.0) << "sideband at +2f";
    EXPECT_LT(measure::db(probe::levelAt(m, 1200.0 + hz, binHz) / carrier), -80.0) << "nothing at +f";
}

TEST(SineOscRobustness, WildInputsGiveValuesWithinMinusOneToOne) {
    const float largest = probe::largestOutputUnderWildInputs(
        [] { return SineOsc(kRate); }, [](SineOsc& sine, float hz, float fm) { return sine.step(hz, fm); });
    EXPECT_LE(largest, 1.0f) << "largest |output| for unusable frequencies and amounts";
}

}  // namespace
