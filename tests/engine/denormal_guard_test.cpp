// The block's flush-to-zero mode on this machine's processor: while a guard
// lives, a result too small for a normal float is zero; after it,
// arithmetic is the host's again. (Decaying state only ever reaches the
// denormal range through a result, so that is what is checked.)
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/DenormalGuard.h"

namespace {

// volatile keeps the compiler from working the products out itself.
float times(volatile float a, volatile float b) { return a * b; }

TEST(DenormalGuard, FlushesDenormalsOnlyWhileItLives) {
    const float smallestNormal = std::numeric_limits<float>::min();
    const float denormal = smallestNormal / 2.0f;
    ASSERT_EQ(std::fpclassify(denormal), FP_SUBNORMAL);
    {
        DenormalGuard guard;
#ifdef ORV_HAS_FLUSH_TO_ZERO
        EXPECT_EQ(times(smallestNormal, 0.5f), 0.0f) << "a denormal result is flushed";
        EXPECT_EQ(times(-smallestNormal, 0.75f), 0.0f);
#endif
        EXPECT_EQ(times(smallestNormal, 2.0f), smallestNormal * 2.0f) << "normal numbers untouched";
        { DenormalGuard inner; }
#ifdef ORV_HAS_FLUSH_TO_ZERO
        EXPECT_EQ(times(smallestNormal, 0.5f), 0.0f) << "a guard inside a guard gives back the outer mode";
#endif
    }
    EXPECT_EQ(times(smallestNormal, 0.5f), denormal) << "the host's mode is back";
    EXPECT_EQ(times(denormal, 2.0f), smallestNormal);
}

}  // namespace
