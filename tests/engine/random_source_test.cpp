// RandomSource: the range every random draw of the engine relies on, and
// reproducible sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/RandomSource.h"

namespace {

constexpr int kDraws = 1 << 20;

TEST(RandomSource, DrawsCoverExactly0To32767) {
    RandomSource random;
    int lowest = RandomSource::kMax, highest = 0;
    for (int i = 0; i < kDraws; ++i) {
        const int r = random.next();
        ASSERT_GE(r, 0) << "draw " << i << " below the range";
        ASSERT_LE(r, 32767) << "draw " << i << " above the range";
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_EQ(lowest, 0) << "the bottom of the range is reachable";
    EXPECT_EQ(highest, 32767) << "the top of the range is reachable";
}

TEST(RandomSource, DrawsAreUniform) {
    RandomSource random(7);
    constexpr int kBuckets = 16;
    std::vector<int> counts(kBuckets, 0);
    for (int i = 0; i < kDraws; ++i) ++counts[random.next() * kBuckets / 32768];
    const double expected = static_cast<double>(kDraws) / kBuckets;
    for (int b = 0; b < kBuckets; ++b) {
        EXPECT_NEAR(counts[b], expected, expected * 0.02) << "share of bucket " << b;
    }
    // Consecutive draws must not follow each other: successive pairs fall
    // in the four quadrants equally often.
    int quadrant[4] = {};
    int previous = random.next();
    for (int i = 0; i < kDraws; ++i) {
        const int r = random.next();
        ++quadrant[(previous >= 16384 ? 2 : 0) + (r >= 16384 ? 1 : 0)];
        previous = r;
    }
    for (int q = 0; q < 4; ++q) {
        EXPECT_NEAR(quadrant[q], kDraws / 4.0, kDraws * 0.01) << "pair quadrant " << q;
    }
}

TEST(RandomSource, SeedFixesTheSequence) {
    RandomSource a(1234), b(1234), c(4321);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const int fromA = a.next();
        ASSERT_EQ(fromA, b.next()) << "same seed, same draw " << i;
        differs = differs || fromA != c.next();
    }
    EXPECT_TRUE(differs) << "another seed gives another sequence";

    a.seed(99);
    RandomSource fresh(99);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.next(), fresh.next()) << "reseeding restarts, draw " << i;
}

}  // namespace
