// The half-band filter and the fold back to the host rate.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/output_stage.h"
#include "tests/engine_voices/test_support.h"

using voices_test::sameBits;

TEST(HalfBand, ImpulseResponseOfAFreshFilter) {
    const double expected[] = {0.0217777, 0.1184153,  0.2989942,  0.4267038,
                               0.3121143, -0.0052021, -0.2081629, -0.0952393};
    HalfBandFilter filter;
    std::vector<float> impulse(8, 0.0f);
    impulse[0] = 1.0f;
    filter.process(impulse.data(), 8);
    for (int32_t i = 0; i < 8; ++i) EXPECT_NEAR(impulse[i], expected[i], 5e-7) << i;
}

TEST(HalfBand, StereoPathEqualsEachChannelAlone) {
    HalfBandFilter leftAlone, rightAlone, left, right;
    uint32_t seed = 12345;
    for (int32_t block = 0; block < 4; ++block) {
        std::vector<float> l(333), r(333);
        for (size_t i = 0; i < l.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            l[i] = static_cast<float>(static_cast<int32_t>(seed)) * 4.6e-10f;
            r[i] = l[i] * -0.25f + 1e-3f;
        }
        std::vector<float> l2 = l, r2 = r;
        leftAlone.process(l.data(), 333);
        rightAlone.process(r.data(), 333);
        processStereo(left, right, l2.data(), r2.data(), 333);
        for (size_t i = 0; i < l.size(); ++i) {
            ASSERT_TRUE(sameBits(l[i], l2[i])) << i;
            ASSERT_TRUE(sameBits(r[i], r2[i])) << i;
        }
    }
}

TEST(OutputStage, UnityGainAtDc) {
    for (float c : {1.0f, -0.25f, 0.001f}) {
        HalfBandFilter filterL, filterR;
        std::vector<float> mixL(2048, c), mixR(2048, -c), outL(1024), outR(1024);
        foldToHostRate(filterL, filterR, mixL.data(), mixR.data(), outL.data(), outR.data(), 1024);
        for (int32_t j = 200; j < 1024; ++j) {
            ASSERT_NEAR(outL[j], c, std::fabs(c) * 1e-6f) << j;
            ASSERT_NEAR(outR[j], -c, std::fabs(c) * 1e-6f) << j;
        }
    }
}

TEST(OutputStage, NonFiniteMixSamplesAreZeroedAndTheFiltersStayFinite) {
    std::vector<float> mix = {1.0f,
                              std::numeric_limits<float>::quiet_NaN(),
                              -2.0f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              3.4e38f,
                              -0.0f};
    sanitizeMix(mix.data(), static_cast<int32_t>(mix.size()));
    const std::vector<float> expected = {1.0f, 0.0f, -2.0f, 0.0f, 0.0f, 3.4e38f, -0.0f};
    for (size_t i = 0; i < mix.size(); ++i) EXPECT_TRUE(sameBits(mix[i], expected[i])) << i;

    // One non-finite sample alone is found wherever it falls in the block.
    for (size_t at = 0; at < 11; ++at) {
        std::vector<float> lone(11, 0.5f);
        lone[at] = std::numeric_limits<float>::infinity();
        sanitizeMix(lone.data(), static_cast<int32_t>(lone.size()));
        EXPECT_EQ(lone[at], 0.0f) << at;
    }

    // Finite but huge samples must not make the double states non-finite either.
    HalfBandFilter filterL, filterR;
    std::vector<float> hugeL(64, 3.4e38f), hugeR(64, -3.4e38f), outL(32), outR(32);
    foldToHostRate(filterL, filterR, hugeL.data(), hugeR.data(), outL.data(), outR.data(), 32);
    std::vector<float> quietL(4096, 0.0f), quietR(4096, 0.0f), quietOutL(2048), quietOutR(2048);
    foldToHostRate(filterL, filterR, quietL.data(), quietR.data(), quietOutL.data(), quietOutR.data(), 2048);
    EXPECT_TRUE(std::isfinite(filterL.prevB) && std::isfinite(filterR.chainA[1].y0));
    EXPECT_LT(std::fabs(quietOutL[2047]), 1e-6f);
}
