// The run-time choice of vector width: never a level this CPU lacks, never
// wider than asked for, and the variant chosen is the one for that level.

#include <gtest/gtest.h>

#include "numerics/simd_level.h"

namespace {

constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

int sse2() { return 0; }
int avx2() { return 1; }
int avx512() { return 2; }

}  // namespace

TEST(SimdLevel, ChoosesTheWidestSupportedLevelNotAboveTheRequest) {
    EXPECT_TRUE(simdLevelSupported(SimdLevel::kSse2));
    EXPECT_FALSE(simdLevelSupported(static_cast<SimdLevel>(3)));
    for (SimdLevel requested : kLevels) {
        const SimdLevel used = usableSimdLevel(requested);
        EXPECT_TRUE(simdLevelSupported(used));
        EXPECT_LE(used, requested);
        for (SimdLevel wider : kLevels) {
            if (wider > used && wider <= requested) {
                EXPECT_FALSE(simdLevelSupported(wider));
            }
        }
        EXPECT_EQ(simdVariant(requested, sse2, avx2, avx512)(), static_cast<int>(used));
    }
    EXPECT_EQ(bestSimdLevel(), usableSimdLevel(SimdLevel::kAvx512));
    // Each level includes the ones below it.
    if (simdLevelSupported(SimdLevel::kAvx512)) {
        EXPECT_TRUE(simdLevelSupported(SimdLevel::kAvx2));
    }
}
