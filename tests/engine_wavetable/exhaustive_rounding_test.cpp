// Every input the generator can give its transcendental functions, checked
// against this platform's libm evaluated in double and rounded to float.
// Natively (glibc) the match must be complete; where the platform's libm is
// not correctly rounded the mismatches are listed, and the engine's own
// results are checked against its exact double-double evaluation instead.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/gaussian_bands.h"
#include "numerics/rounded_math.h"
#include "numerics/rounded_math_batch.h"
#include "numerics/simd_level.h"

namespace {

constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

float nextFloatUp(float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = x >= 0.0f ? bits + 1 : bits - 1;
    if (x == 0.0f) bits = 1;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// glibc is the platform whose libm the tables must match exactly.
constexpr bool kLibmMustMatch =
#if defined(__GLIBC__)
    true;
#else
    false;
#endif

struct Mismatches {
    int64_t count = 0;
    void note(const char* what, float input, float libm, float own) {
        if (count < 10) std::printf("  %s(%.9g): libm %.9g, own %.9g\n", what, input, libm, own);
        ++count;
    }
};

}  // namespace

// The phases are float(float(s) * 2^-32) * 6.2831855f for every int32 s: the
// integer-valued floats in [-2^31, 2^31] through the two float products.
TEST(ExhaustiveRounding, EveryPhaseCosSin) {
    constexpr int32_t kBatch = 1 << 16;
    std::vector<float> phases;
    phases.reserve(kBatch);
    std::vector<float> pairs(2 * kBatch);
    std::vector<float> levelPairs(2 * kBatch);
    int64_t integerFloats = 0;
    int64_t distinctPhases = 0;
    Mismatches libmMismatches;
    int64_t ownMismatches = 0;
    float previous = NAN;

    auto check = [&]() {
        const int32_t n = static_cast<int32_t>(phases.size());
        cosSinPairs(phases.data(), n, pairs.data(), SimdLevel::kSse2);
        for (SimdLevel level : kLevels) {
            if (level == SimdLevel::kSse2 || !simdLevelSupported(level)) continue;
            cosSinPairs(phases.data(), n, levelPairs.data(), level);
            ASSERT_EQ(0, std::memcmp(pairs.data(), levelPairs.data(), 2 * n * sizeof(float)));
        }
        for (int32_t i = 0; i < n; ++i) {
            const double phi = phases[i];
            const float libmCos = static_cast<float>(std::cos(phi));
            const float libmSin = static_cast<float>(std::sin(phi));
            const bool cosMatches = sameBits(libmCos, pairs[2 * i]);
            const bool sinMatches = sameBits(libmSin, pairs[2 * i + 1]);
            if (!cosMatches) libmMismatches.note("cos", phases[i], libmCos, pairs[2 * i]);
            if (!sinMatches) libmMismatches.note("sin", phases[i], libmSin, pairs[2 * i + 1]);
            if ((!cosMatches && !sameBits(static_cast<float>(rounded_math::accurateCos(phi)), pairs[2 * i])) ||
                (!sinMatches && !sameBits(static_cast<float>(rounded_math::accurateSin(phi)), pairs[2 * i + 1])))
                ++ownMismatches;
        }
        phases.clear();
    };

    // Walk the integer-valued floats upwards from -2^31 to 2^31.
    for (float f = -2147483648.0f; f <= 2147483648.0f;
         f = (f >= -16777216.0f && f < 16777216.0f) ? f + 1.0f : nextFloatUp(f)) {
        ++integerFloats;
        const float phase = f * 2.3283064e-10f * 6.2831855f;
        if (phase == previous) continue;  // the product is monotonic: equal phases are neighbours
        previous = phase;
        ++distinctPhases;
        phases.push_back(phase);
        if (static_cast<int32_t>(phases.size()) == kBatch) check();
        if (f == 2147483648.0f) break;
    }
    check();

    std::printf("  %lld integer-valued floats, %lld distinct phases, %lld libm mismatches\n",
                static_cast<long long>(integerFloats), static_cast<long long>(distinctPhases),
                static_cast<long long>(libmMismatches.count));
    EXPECT_EQ(9 * (int64_t{1} << 24) + 1, integerFloats);
    EXPECT_EQ(0, ownMismatches);
    if (kLibmMustMatch) {
        EXPECT_EQ(0, libmMismatches.count);
    }
}

// q = x * x is any float; the profile needs e^-q for q up to the cut-off.
TEST(ExhaustiveRounding, EveryProfileExponent) {
    constexpr int32_t kBatch = 1 << 16;
    std::vector<float> q(kBatch);
    std::vector<float> out(kBatch);
    std::vector<float> levelOut(kBatch);
    Mismatches libmMismatches;
    int64_t ownMismatches = 0;
    int64_t checked = 0;
    uint32_t bits = 0;  // +0.0f upwards
    bool done = false;
    while (!done) {
        int32_t n = 0;
        while (n < kBatch) {
            float value;
            std::memcpy(&value, &bits, sizeof value);
            if (static_cast<double>(value) > GaussianBand::kBandCutoff) {
                done = true;
                break;
            }
            q[n++] = value;
            ++bits;
        }
        expOfNegated(q.data(), n, out.data(), SimdLevel::kSse2);
        for (SimdLevel level : kLevels) {
            if (level == SimdLevel::kSse2 || !simdLevelSupported(level)) continue;
            expOfNegated(q.data(), n, levelOut.data(), level);
            ASSERT_EQ(0, std::memcmp(out.data(), levelOut.data(), n * sizeof(float)));
        }
        for (int32_t i = 0; i < n; ++i) {
            const double x = -static_cast<double>(q[i]);
            const float libm = static_cast<float>(std::exp(x));
            if (!sameBits(libm, out[i])) {
                libmMismatches.note("exp-", q[i], libm, out[i]);
                if (!sameBits(static_cast<float>(rounded_math::accurateExp(x)), out[i])) ++ownMismatches;
            }
        }
        checked += n;
    }
    std::printf("  %lld exponents, %lld libm mismatches\n", static_cast<long long>(checked),
                static_cast<long long>(libmMismatches.count));
    EXPECT_EQ(0, ownMismatches);
    if (kLibmMustMatch) {
        EXPECT_EQ(0, libmMismatches.count);
    }
}

// The band factor's power of two, for every exponent that "BW" in 0..1 gives
// (bw * 0.00083333335f lies in [0.0033, 0.0701]) and a margin around them.
TEST(ExhaustiveRounding, EveryBandwidthPower) {
    Mismatches libmMismatches;
    int64_t ownMismatches = 0;
    int64_t checked = 0;
    for (float y = 0.003f; y <= 0.0705f; y = nextFloatUp(y)) {
        const float libm = static_cast<float>(std::pow(2.0, static_cast<double>(y)));
        const float own = rounded_math::exp2ToFloat(y);
        if (!sameBits(libm, own)) {
            libmMismatches.note("exp2", y, libm, own);
            if (!sameBits(static_cast<float>(rounded_math::accurateExp2(y)), own)) ++ownMismatches;
        }
        ++checked;
    }
    std::printf("  %lld exponents, %lld libm mismatches\n", static_cast<long long>(checked),
                static_cast<long long>(libmMismatches.count));
    EXPECT_EQ(0, ownMismatches);
    if (kLibmMustMatch) {
        EXPECT_EQ(0, libmMismatches.count);
    }
}
