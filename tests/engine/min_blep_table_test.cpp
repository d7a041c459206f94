// MinBlepTable: the band-limited step matches the reference step it was
// tuned to, settles exactly, and really is band-limited.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "engine/Fft.h"
#include "engine/MinBlepTable.h"

namespace {

struct Landmark {
    int index;
    float value;
};

// The reference step's telling values.
constexpr Landmark kReference[] = {
    {0, -0.0000773205611f}, {1, -0.0000981679113f}, {5, 0.00170093414f}, {10, 0.019405134f},
    {20, 0.281608194f},     {25, 0.60817796f},      {30, 0.97689122f},   {31, 1.03907406f},
    {37, 1.21311808f},      {50, 0.865671098f},     {100, 0.979866743f}, {200, 0.978847265f},
    {300, 0.990820348f},    {400, 0.99595958f},     {408, 0.99938643f},
};

TEST(MinBlepTable, MatchesTheReferenceStepWithinOneHundredth) {
    const MinBlepTable& table = MinBlepTable::shared();
    for (const Landmark& landmark : kReference) {
        EXPECT_NEAR(table[landmark.index], landmark.value, 0.01f) << "index " << landmark.index;
    }
}

TEST(MinBlepTable, RisesThroughOneAt31AndPeaksAt37) {
    const MinBlepTable& table = MinBlepTable::shared();
    int firstAtOne = -1, peak = 0;
    for (int i = 0; i < MinBlepTable::kSize; ++i) {
        if (firstAtOne < 0 && table[i] >= 1.0f) firstAtOne = i;
        if (table[i] > table[peak]) peak = i;
    }
    EXPECT_EQ(firstAtOne, 31) << "first value at or above 1";
    EXPECT_EQ(peak, 37) << "index of the overshoot's peak";
}

TEST(MinBlepTable, IsExactlyOneFrom409On) {
    const MinBlepTable& table = MinBlepTable::shared();
    for (int i = MinBlepTable::kSettledFrom; i < MinBlepTable::kSize; ++i) {
        ASSERT_EQ(table[i], 1.0f) << "settled value at index " << i;
    }
    EXPECT_NE(table[408], 1.0f) << "still ringing just before";
}

TEST(MinBlepTable, SharedTableIsBuiltOnceAndEqualsAFreshOne) {
    EXPECT_EQ(&MinBlepTable::shared(), &MinBlepTable::shared()) << "one table per process";
    const MinBlepTable fresh;
    for (int i = 0; i < MinBlepTable::kSize; ++i) {
        ASSERT_EQ(fresh[i], MinBlepTable::shared()[i]) << "deterministic build, index " << i;
    }
}

// The step's derivative is the band-limiting impulse: it passes what lies
// below the host rate's Nyquist frequency (0.05 cycles per table point) and
// stops what lies above it, down to the floor set by ending the step at
// index 409.
TEST(MinBlepTable, StepIsBandLimitedToTheHostNyquistFrequency) {
    const MinBlepTable& table = MinBlepTable::shared();
    constexpr int kBins = 4096;
    std::vector<std::complex<double>> impulse(kBins, 0.0);
    for (int i = 0; i < MinBlepTable::kSize; ++i) {
        impulse[i] = table[i] - (i > 0 ? table[i - 1] : 0.0f);
    }
    fft::forward(impulse);
    for (int k = 0; k < kBins / 2; ++k) {
        const double cyclesPerPoint = static_cast<double>(k) / kBins;
        const double db = 20.0 * std::log10(std::abs(impulse[k]) + 1e-300);
        if (cyclesPerPoint < 0.045) {
            ASSERT_NEAR(db, 0.0, 0.5) << "pass band at " << cyclesPerPoint << " cycles/point";
        } else if (cyclesPerPoint > 0.1) {
            ASSERT_LT(db, -50.0) << "above the oscillator's own Nyquist, " << cyclesPerPoint;
        } else if (cyclesPerPoint > 0.065) {
            ASSERT_LT(db, -40.0) << "stop band at " << cyclesPerPoint << " cycles/point";
        }
    }
}

}  // namespace
