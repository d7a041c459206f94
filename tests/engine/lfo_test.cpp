// Lfo: its four tables, the interpolation, the wrap at 255 and the
// sample-and-hold, read through read() as the engine reads them.
#include "engine/Lfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kRate = 44100.0f;

// The value the unit returns when its phase stands exactly on index i.
float tableAt(Lfo& lfo, choice::LfoWave waveform, int i) {
    lfo.increment = 0.0f;
    lfo.phase = static_cast<float>(i);
    return lfo.read(waveform);
}

// Expected bipolar draw of a twin random source: (r / 32767 - 0.5) x 2.
float bipolar(RandomSource& twin) { return (static_cast<float>(twin.next()) / 32767.0f - 0.5f) * 2.0f; }

TEST(LfoTables, SineIsTheCircleInExtendedPrecision) {
    RandomSource random;
    Lfo lfo(kRate, random);
    const long double pi = 4.0L * std::atan(1.0L);
    for (int i = 0; i <= 255; ++i) {
        const float expected = static_cast<float>(std::sin(2.0L * pi * i / 256.0L));
        ASSERT_EQ(tableAt(lfo, choice::LfoWave::kSin, i), expected) << "sine at index " << i;
    }
}

TEST(LfoTables, TriangleRisesFallsAndEndsOneStepShortOfZero) {
    RandomSource random;
    Lfo lfo(kRate, random);
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kTri, 0), 0.0f) << "starts at 0";
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kTri, 64), 1.0f) << "peaks at index 64";
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kTri, 128), 0.0f) << "crosses 0 at 128";
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kTri, 192), -1.0f) << "bottoms at 192";
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kTri, 255), -1.0f / 64.0f) << "ends at -1/64";
    for (int i = 0; i <= 255; ++i) {
        // Distance from the nearest zero crossing, in quarter cycles.
        const float expected = i < 64    ? i / 64.0f
                               : i < 128 ? (128 - i) / 64.0f
                               : i < 192 ? -(i - 128) / 64.0f
                                         : -(256 - i) / 64.0f;
        ASSERT_EQ(tableAt(lfo, choice::LfoWave::kTri, i), expected) << "triangle at index " << i;
    }
}

TEST(LfoTables, SawRisesFromMinusOneToExactlyOneAt255) {
    RandomSource random;
    Lfo lfo(kRate, random);
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kSaw, 0), -1.0f) << "saw starts at -1";
    EXPECT_EQ(tableAt(lfo, choice::LfoWave::kSaw, 255), 1.0f) << "saw reaches exactly +1 at 255";
    for (int i = 1; i <= 255; ++i) {
        EXPECT_NEAR(tableAt(lfo, choice::LfoWave::kSaw, i), -1.0f + 2.0f * i / 255.0f, 1e-6f) << "saw index " << i;
    }
}

TEST(LfoTables, SquareIsHighForTheFirstHalf) {
    RandomSource random;
    Lfo lfo(kRate, random);
    for (int i = 0; i <= 255; ++i) {
        ASSERT_EQ(tableAt(lfo, choice::LfoWave::kRec, i), i < 128 ? 1.0f : -1.0f) << "square index " << i;
    }
}

TEST(LfoRead, FreshUnitStartsAtZeroAtOneHertz) {
    RandomSource random;
    Lfo lfo(kRate, random);
    EXPECT_EQ(lfo.phase, 0.0f) << "fresh phase";
    EXPECT_FLOAT_EQ(lfo.increment, 256.0f / kRate) << "nominal 1 Hz";
    EXPECT_EQ(lfo.sampleRate, kRate);
    EXPECT_EQ(lfo.read(choice::LfoWave::kSin), 0.0f) << "first read is sin(0)";
    // Second read: a fraction 'increment' of the way from T[0] to T[1].
    const float frac = 256.0f / kRate;
    const float expected = frac * static_cast<float>(std::sin(2.0 * M_PI / 256.0));
    EXPECT_NEAR(lfo.read(choice::LfoWave::kSin), expected, 1e-9f) << "interpolated from the table";
}

TEST(LfoRead, InterpolatesLinearlyBetweenPoints) {
    RandomSource random;
    Lfo lfo(kRate, random);
    lfo.increment = 1.0f;
    lfo.phase = 254.5f;
    EXPECT_FLOAT_EQ(lfo.read(choice::LfoWave::kSaw), 0.996078491f) << "halfway between T[254] and T[255]";
    // Phase 255.5 wraps to 0.5: back near the bottom of the saw.
    EXPECT_NEAR(lfo.read(choice::LfoWave::kSaw), -1.0f + 1.0f / 255.0f, 1e-6f) << "after the wrap";
}

TEST(LfoRead, WrapsAt255NotAt256) {
    RandomSource random;
    Lfo lfo(kRate, random);
    lfo.increment = 1.0f;
    for (int i = 0; i <= 255; ++i) {
        ASSERT_EQ(lfo.phase, static_cast<float>(i)) << "phase visits every integer up to 255";
        lfo.read(choice::LfoWave::kSin);
    }
    EXPECT_EQ(lfo.phase, 256.0f);
    lfo.read(choice::LfoWave::kSin);
    EXPECT_EQ(lfo.phase, 2.0f) << "256 wrapped to 1 (then advanced), not to 0";
}

TEST(LfoRead, RunsAt256Over255OfTheNominalRate) {
    RandomSource random;
    constexpr float kSlowRate = 1000.0f;
    constexpr float kNominalHz = 2.0f;
    Lfo lfo(kSlowRate, random);
    lfo.increment = 256.0f * kNominalHz / kSlowRate;
    int cycles = 0;
    float previous = lfo.read(choice::LfoWave::kSaw);
    constexpr int kReads = 1000000;  // 1000 s
    for (int i = 1; i < kReads; ++i) {
        const float v = lfo.read(choice::LfoWave::kSaw);
        if (v < previous) ++cycles;  // the saw only falls at the wrap
        previous = v;
    }
    const double seconds = kReads / static_cast<double>(kSlowRate);
    EXPECT_NEAR(cycles / seconds, kNominalHz * 256.0 / 255.0, 1.5 / seconds)
        << "one cycle is 255 table steps, not 256";
}

TEST(LfoSampleHold, DrawsOnlyDuringTheFirstTableStep) {
    RandomSource random(11), twin(11);
    Lfo lfo(kRate, random);
    lfo.increment = 0.25f;  // four reads per table step
    float held = 0.0f;
    int draws = 0;
    for (int read = 0; read < 5000; ++read) {
        // The phase this read uses: after the wrap at 255.
        const float phase = lfo.phase > 255.0f ? lfo.phase - 255.0f : lfo.phase;
        if (phase < 1.0f) {
            held = bipolar(twin);
            ++draws;
        }
        ASSERT_EQ(lfo.read(choice::LfoWave::kNoise), held) << "read " << read << " at phase " << phase;
    }
    // About five cycles of 1020 reads, each opening with three or four draws.
    EXPECT_GE(draws, 15) << "a burst of draws per cycle";
    EXPECT_LE(draws, 20) << "a burst of draws per cycle";
}

TEST(LfoSampleHold, StandingInTheFirstStepDrawsEveryRead) {
    RandomSource random(3), twin(3);
    Lfo lfo(kRate, random);
    lfo.increment = 0.0f;
    float lowest = 1.0f, highest = -1.0f;
    for (int i = 0; i < 10000; ++i) {
        const float v = lfo.read(choice::LfoWave::kNoise);
        ASSERT_EQ(v, bipolar(twin)) << "read " << i;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_LT(lowest, -0.99f) << "values span -1..1";
    EXPECT_GT(highest, 0.99f) << "values span -1..1";
}

TEST(LfoSampleHold, OtherWaveformIndexesLagOneDraw) {
    for (int waveform : {5, 99, -1}) {
        RandomSource random(8), twin(8);
        Lfo lfo(kRate, random);
        lfo.increment = 0.0f;
        float drawn = 0.0f;  // held value before the first draw
        for (int i = 0; i < 50; ++i) {
            const float before = drawn;
            drawn = bipolar(twin);
            ASSERT_EQ(lfo.read(static_cast<choice::LfoWave>(waveform)), before) << "waveform " << waveform << " read " << i;
        }
    }
}

TEST(LfoRobustness, AnyIncrementKeepsTheOutputInRange) {
    const float increments[] = {-3.0f,
                                -1e9f,
                                1e9f,
                                300.0f,
                                std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};
    for (float increment : increments) {
        RandomSource random;
        Lfo lfo(kRate, random);
        lfo.increment = increment;
        for (int i = 0; i < 1000; ++i) {
            for (int waveform = -1; waveform <= 5; ++waveform) {
                const float v = lfo.read(static_cast<choice::LfoWave>(waveform));
                ASSERT_TRUE(v >= -1.0f && v <= 1.0f)
                    << "increment " << increment << " waveform " << waveform << " gave " << v;
            }
        }
    }
}

TEST(LfoRobustness, UnusableSampleRateFallsBackTo44100) {
    RandomSource random;
    for (float rate : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN()}) {
        Lfo lfo(rate, random);
        EXPECT_EQ(lfo.sampleRate, 44100.0f) << "rate " << rate;
        EXPECT_FLOAT_EQ(lfo.increment, 256.0f / 44100.0f) << "rate " << rate;
    }
}

}  // namespace
