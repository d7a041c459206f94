// The voice's small fixed filters, measured with test tones: the half-band
// decimator's response against its taps, the DC blocker, and the warmth
// smoother at both ends of its knob and far beyond.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/DcBlocker.h"
#include "engine/HalfbandDecimator.h"
#include "engine/WarmthSmoother.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Peak level of a settled output: the largest |y| over the last n samples.
template <typename Step>
double settledPeak(Step step, int n) {
    double peak = 0.0;
    for (int i = 0; i < 4 * n; ++i) {
        const double y = std::fabs(step(i));
        if (i >= 3 * n) peak = std::max(peak, y);
    }
    return peak;
}

TEST(HalfbandDecimator, ResponseIsTheElevenTapHalfBand) {
    // |H(w)| = c0 + 2 c1 cos w + 2 c2 cos 3w + 2 c3 cos 5w, w in radians
    // per oversampled step: unity at DC, 1/2 at the host's Nyquist
    // frequency, close to 0 above it.
    const double c0 = 0.5, c1 = 104.0 / 346.0, c2 = -22.0 / 346.0, c3 = 4.5 / 346.0;
    for (double w : {0.0, kPi / 8, kPi / 4, kPi / 2, 3 * kPi / 4, 7 * kPi / 8}) {
        // A cosine and a sine at w in the oversampled stream, fed two
        // sub-samples at a time: whatever phase the kept samples land on,
        // the pair's magnitude is the gain.
        HalfbandDecimator cosine, sine;
        double gain = 0.0;
        for (int n = 0; n < 100; ++n) {
            const double a = w * 2 * n, b = w * (2 * n + 1);
            const double yc =
                cosine.process(static_cast<float>(std::cos(a)), static_cast<float>(std::cos(b)));
            const double ys = sine.process(static_cast<float>(std::sin(a)), static_cast<float>(std::sin(b)));
            gain = std::hypot(yc, ys);
        }
        const double expected =
            std::fabs(c0 + 2 * c1 * std::cos(w) + 2 * c2 * std::cos(3 * w) + 2 * c3 * std::cos(5 * w));
        EXPECT_NEAR(gain, expected, 1e-6) << "gain at w = " << w;
    }
}

TEST(DcBlocker, RemovesOffsetsAndPassesNotes) {
    DcBlocker dc;
    float y = 0.0f;
    for (int i = 0; i < 20000; ++i) y = dc.process(0.5f);
    EXPECT_LT(std::fabs(y), 1e-6f) << "a constant dies away (pole 0.999: 1/e every 1000 samples)";
    DcBlocker tone;
    const double w = 2 * kPi * 65.0 / 44100.0;  // the lowest sub-oscillator note region
    const double peak =
        settledPeak([&](int n) { return tone.process(static_cast<float>(std::sin(w * n))); }, 44100);
    EXPECT_NEAR(peak, 1.0, 0.01) << "65 Hz passes within 0.1 dB";
}

TEST(WarmthSmoother, PassesAtZeroDarkensAtOneAndSurvivesAnyKnob) {
    WarmthSmoother open;
    for (float x : {0.3f, -0.7f, 0.01f}) {
        EXPECT_EQ(open.process(x, WarmthSmoother::coefficient(0.0f)), x) << "k = 0";
    }

    // k = 0.98^4 at warmth 1: a one-pole whose gain at w is
    // (1 - k) / |1 - k e^-jw|.
    const double k = std::pow(0.98, 4.0);
    const double w = 2 * kPi * 1000.0 / 44100.0;
    WarmthSmoother dark;
    const float kDark = WarmthSmoother::coefficient(1.0f);
    const double peak =
        settledPeak([&](int n) { return dark.process(static_cast<float>(std::sin(w * n)), kDark); }, 4410);
    EXPECT_NEAR(peak, (1 - k) / std::sqrt(1 - 2 * k * std::cos(w) + k * k), 1e-3) << "1 kHz at warmth 1";

    for (float knob : {1.1f, 1e6f, -1e6f, 3e38f}) {
        WarmthSmoother wild;
        const float kWild = WarmthSmoother::coefficient(knob);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_TRUE(std::isfinite(wild.process(0.5f, kWild))) << "warmth " << knob << ", step " << i;
        }
    }
}

}  // namespace
