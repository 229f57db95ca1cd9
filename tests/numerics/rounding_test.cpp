// The generator's own rounding of cos, sin, exp and 2^y to float: the
// midpoint test, the exact fallback, and agreement of every vector width.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "numerics/rounded_math.h"
#include "numerics/rounded_math_batch.h"
#include "numerics/simd_level.h"

namespace {

constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

#if defined(__GLIBC__)
double ulpsApart(double a, double b) {
    return std::fabs(a - b) / (std::nextafter(std::fabs(b), INFINITY) - std::fabs(b));
}
#endif

}  // namespace

TEST(RoundedMath, MidpointTestFlagsOnlyTheNeighbourhoodOfAHalfway) {
    const double halfway = 1.0 + std::ldexp(1.0, -24);  // between 1 and 1 + 2^-23
    const double doubleUlp = std::ldexp(1.0, -52);
    EXPECT_TRUE(rounded_math::nearFloatMidpoint(halfway));
    EXPECT_TRUE(rounded_math::nearFloatMidpoint(halfway + 1000 * doubleUlp));
    EXPECT_TRUE(rounded_math::nearFloatMidpoint(halfway - 1000 * doubleUlp));
    EXPECT_FALSE(rounded_math::nearFloatMidpoint(halfway + 1100 * doubleUlp));
    EXPECT_FALSE(rounded_math::nearFloatMidpoint(1.0));
    EXPECT_FALSE(rounded_math::nearFloatMidpoint(0.0));
    EXPECT_TRUE(rounded_math::nearFloatMidpoint(-(0.75 + std::ldexp(1.0, -25))));
}

// The double-double evaluations are the judges near midpoints: they must give
// the correctly rounded double. glibc is within an ulp of it everywhere and
// misses it for about one input in a thousand; the cases below are such
// misses, with the correctly rounded values from a 200-bit evaluation.
// (mingw's x87-based functions stray further near the zeros of cos, so the
// comparison with libm runs against glibc only.)
TEST(RoundedMath, AccurateEvaluationsAreCorrectlyRounded) {
    EXPECT_EQ(-0.7920028072892641, rounded_math::accurateCos(2.4848788870403782));
    EXPECT_EQ(0.3969094944993498, rounded_math::accurateSin(2.7334453542393184));
    EXPECT_EQ(0.000440232745612551, rounded_math::accurateExp(-7.7282070036046013));
    EXPECT_EQ(1.4264955666108218e-22, rounded_math::accurateExp2(-72.56994282433071));
#if defined(__GLIBC__)

    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> angle(-3.2, 3.2), exponent(-15.0, 0.0), power(-130.0, 130.0);
    int differing = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = angle(rng), e = exponent(rng), p = power(rng);
        const double pairs[][2] = {{rounded_math::accurateCos(x), std::cos(x)},
                                   {rounded_math::accurateSin(x), std::sin(x)},
                                   {rounded_math::accurateExp(e), std::exp(e)},
                                   {rounded_math::accurateExp2(p), std::pow(2.0, p)}};
        for (const auto& pair : pairs) {
            ASSERT_LE(ulpsApart(pair[0], pair[1]), 1.0) << x << " " << e << " " << p;
            differing += pair[0] != pair[1];
        }
    }
    EXPECT_LT(differing, 400);  // of 80,000
#endif
}

TEST(RoundedMath, ScalarResultsMatchLibmRoundedToFloat) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> angle(-3.2f, 3.2f), exponent(-14.7f, 0.0f), power(-0.5f, 0.5f);
    for (int i = 0; i < 200000; ++i) {
        const float x = angle(rng), e = exponent(rng), p = power(rng);
        ASSERT_EQ(static_cast<float>(std::cos(static_cast<double>(x))), rounded_math::cosToFloat(x)) << x;
        ASSERT_EQ(static_cast<float>(std::sin(static_cast<double>(x))), rounded_math::sinToFloat(x)) << x;
        ASSERT_EQ(static_cast<float>(std::exp(static_cast<double>(e))), rounded_math::expToFloat(e)) << e;
        ASSERT_EQ(static_cast<float>(std::pow(2.0, static_cast<double>(p))), rounded_math::exp2ToFloat(p)) << p;
    }
}

TEST(RoundedMath, PowerOfTwoAtTheEdges) {
    EXPECT_EQ(1.0f, rounded_math::exp2ToFloat(0.0));
    EXPECT_EQ(0.5f, rounded_math::exp2ToFloat(-1.0));
    EXPECT_EQ(0x1p127f, rounded_math::exp2ToFloat(127.0));
    EXPECT_EQ(INFINITY, rounded_math::exp2ToFloat(128.0));
    EXPECT_EQ(INFINITY, rounded_math::exp2ToFloat(1e30));
    EXPECT_EQ(0x1p-149f, rounded_math::exp2ToFloat(-149.0));
    EXPECT_EQ(0.0f, rounded_math::exp2ToFloat(-151.0));
    EXPECT_EQ(0.0f, rounded_math::exp2ToFloat(-INFINITY));
    EXPECT_TRUE(std::isnan(rounded_math::exp2ToFloat(NAN)));
    EXPECT_EQ(static_cast<float>(std::pow(2.0, -140.3)), rounded_math::exp2ToFloat(-140.3));
    EXPECT_EQ(static_cast<float>(std::pow(2.0, 127.99)), rounded_math::exp2ToFloat(127.99));
}

// Every vector width gives the same floats as the scalar functions, also for
// arrays whose length is not a multiple of the width, and for angles beyond
// the fast reduction's range.
TEST(RoundedMath, EveryVectorWidthGivesTheScalarFloats) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> angle(-3.9f, 3.9f), q(0.0f, 14.71f);
    constexpr int32_t kCount = 4099;
    std::vector<float> angles(kCount), qs(kCount);
    for (int32_t i = 0; i < kCount; ++i) {
        angles[i] = angle(rng);
        qs[i] = q(rng);
    }
    angles[5] = 5.0f;
    angles[6] = -7.5f;
    angles[7] = 0.0f;
    qs[8] = 0.0f;
    for (SimdLevel level : kLevels) {
        if (!simdLevelSupported(level)) continue;
        std::vector<float> pairs(2 * kCount), exps(kCount);
        cosSinPairs(angles.data(), kCount, pairs.data(), level);
        expOfNegated(qs.data(), kCount, exps.data(), level);
        for (int32_t i = 0; i < kCount; ++i) {
            ASSERT_EQ(rounded_math::cosToFloat(angles[i]), pairs[2 * i]) << angles[i];
            ASSERT_EQ(rounded_math::sinToFloat(angles[i]), pairs[2 * i + 1]) << angles[i];
            ASSERT_EQ(rounded_math::expToFloat(-static_cast<double>(qs[i])), exps[i]) << qs[i];
        }
    }
}

// KISS FFT computes its twiddle factors with the platform's cos and sin in
// double, rounded to float; the tables are the same in every build only if
// the twiddles are. glibc's are the correctly rounded values. mingw's x87
// functions differ at exact quarter turns, where the true value is about 1e-16
// (cos(pi/2) of the double nearest pi/2) and x87's internal pi is slightly
// off; anywhere else a difference would change real output.
TEST(RoundedMath, KissTwiddlesAreTheCorrectlyRoundedValues) {
    const double pi = 3.141592653589793238462643383279502884197169399375105820974944;
    const int nfft = 32768;  // the complex transform inside the real one of 65,536
    std::vector<double> phases;
    for (int i = 0; i < nfft; ++i) phases.push_back(2 * pi * i / nfft);  // as kiss_fft_alloc, inverse sign
    for (int i = 0; i < nfft / 2; ++i) phases.push_back(pi * ((double)(i + 1) / nfft + .5));  // as kiss_fftr_alloc
    int differing = 0;
    for (double phase : phases) {
        const float results[][2] = {{static_cast<float>(std::cos(phase)), rounded_math::cosToFloat(phase)},
                                    {static_cast<float>(std::sin(phase)), rounded_math::sinToFloat(phase)}};
        for (const auto& r : results) {
            if (r[0] != r[1]) {
                ++differing;
                EXPECT_LT(std::fabs(r[1]), 1e-15f) << "twiddle at phase " << phase;
            }
        }
    }
#if defined(__GLIBC__)
    EXPECT_EQ(0, differing);
#endif
}
