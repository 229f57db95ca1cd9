// The generator's ext functions over the inputs it can produce, against
// libm's long double functions (which the reference uses): every profile
// exponent, every bandwidth power, and the phases of the first 4,096
// generations of a process (2^27 states; all 2^32 would take an hour of
// cosl). Where libm is not correctly rounded the mismatches are listed and the
// generator is checked against its own exact evaluation instead. Inputs where
// a plain double evaluation would round differently are listed too.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/gaussian_bands.h"
#include "engine/phase_generator.h"
#include "first_generation/engine/first_gen_bands.h"
#include "first_generation/engine/first_gen_extended.h"
#include "first_generation/engine/first_gen_phases.h"
#include "numerics/extended_precision.h"

namespace {

constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};
constexpr int32_t kBatch = 1 << 16;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Tally {
    const char* what;
    int64_t checked = 0;
    int64_t libmMismatches = 0;
    int64_t ownMismatches = 0;
    int64_t doubleDiffers = 0;
    void libm(double input, float libmValue, float own) {
        if (libmMismatches++ < 10) std::printf("  %s(%a): libm %a, own %a\n", what, input, libmValue, own);
    }
    void doubleReading(double input) {
        if (doubleDiffers++ < 10) std::printf("  %s(%a): a double evaluation rounds differently\n", what, input);
    }
    void report() const {
        std::printf("  %s: %lld checked, %lld libm mismatches, %lld where double differs\n", what,
                    static_cast<long long>(checked), static_cast<long long>(libmMismatches),
                    static_cast<long long>(doubleDiffers));
    }
};

// Every level's output equals the baseline's.
template <typename Run>
void expectLevelsAgree(const std::vector<float>& baseline, Run run) {
    std::vector<float> out(baseline.size());
    for (SimdLevel level : kLevels) {
        if (level == SimdLevel::kSse2 || !simdLevelSupported(level)) continue;
        run(level, out.data());
        ASSERT_EQ(0, std::memcmp(baseline.data(), out.data(), out.size() * sizeof(float)));
    }
}

}  // namespace

// q = x * x is (nearly) any float; the profile needs e^-q up to the cut-off.
// At w = 1 the profile is the rounded exponential itself.
TEST(FirstGenExhaustive, EveryProfileExponent) {
    Tally tally{"exp-"};
    std::vector<float> q(kBatch), out(kBatch);
    uint32_t bits = 0;
    bool done = false;
    ExtendedPrecision precision;
    while (!done) {
        int32_t n = 0;
        for (; n < kBatch; ++n, ++bits) {
            std::memcpy(&q[n], &bits, sizeof(float));
            if (static_cast<double>(q[n]) > GaussianBand::kBandCutoff) {
                done = true;
                break;
            }
        }
        q.resize(n);
        out.resize(n);
        firstGenProfiles(q.data(), n, 1.0f, out.data(), SimdLevel::kSse2);
        expectLevelsAgree(out, [&](SimdLevel level, float* o) { firstGenProfiles(q.data(), n, 1.0f, o, level); });
        for (int32_t i = 0; i < n; ++i) {
            const float libm = static_cast<float>(expl(-static_cast<long double>(q[i])));
            if (!sameBits(libm, out[i])) {
                tally.libm(q[i], libm, out[i]);
                if (!sameBits(static_cast<float>(first_gen_extended::expOfNegated(q[i])), out[i]))
                    ++tally.ownMismatches;
            }
            if (!sameBits(static_cast<float>(std::exp(-static_cast<double>(q[i]))), out[i])) tally.doubleReading(q[i]);
        }
        tally.checked += n;
    }
    tally.report();
    EXPECT_EQ(0, tally.ownMismatches);
    EXPECT_EQ(0, tally.libmMismatches);
}

// The spread's power of two for every exponent that bandwidths in 0..1 give
// ((b * 80 + 2) * 0.00083333335 in [0.00166, 0.0684]) and a margin.
TEST(FirstGenExhaustive, EveryBandwidthPower) {
    Tally tally{"exp2"};
    for (float e = 0.0016f; e <= 0.0690f; e = std::nextafter(e, 1.0f)) {
        const float libm = static_cast<float>(std::pow(2.0, static_cast<double>(e)) - 1.0);
        const float own = firstGenSpreadOfExponent(e);
        if (!sameBits(libm, own)) tally.libm(e, libm, own);
        ++tally.checked;
    }
    tally.report();
    EXPECT_EQ(0, tally.libmMismatches);
}

TEST(FirstGenExhaustive, PhasesOfTheFirstGenerations) {
    Tally tally{"cos/sin of state"};
    constexpr int64_t kStates = int64_t{1} << 27;
    std::vector<uint32_t> states(kBatch);
    std::vector<float> ones(kBatch, 1.0f), pairs(2 * kBatch);
    uint32_t state = kInitialPhaseState;
    ExtendedPrecision precision;
    for (int64_t done = 0; done < kStates; done += kBatch) {
        for (uint32_t& s : states) s = state = nextPhaseState(state);
        firstGenPhasePairs(states.data(), ones.data(), kBatch, pairs.data(), SimdLevel::kSse2);
        expectLevelsAgree(pairs, [&](SimdLevel level, float* o) {
            firstGenPhasePairs(states.data(), ones.data(), kBatch, o, level);
        });
        for (int32_t i = 0; i < kBatch; ++i) {
            const long double phi =
                static_cast<long double>(static_cast<int32_t>(states[i])) / 4294967291.0L * 6.2831855L;
            const float libmCos = static_cast<float>(cosl(phi));
            const float libmSin = static_cast<float>(sinl(phi));
            if (!sameBits(libmCos, pairs[2 * i]) || !sameBits(libmSin, pairs[2 * i + 1])) {
                tally.libm(static_cast<int32_t>(states[i]), libmCos, pairs[2 * i]);
                float own[2];
                first_gen_extended::phaseBin(states[i], 1.0f, own);
                if (!sameBits(own[0], pairs[2 * i]) || !sameBits(own[1], pairs[2 * i + 1])) ++tally.ownMismatches;
            }
            const double phiDouble = static_cast<int32_t>(states[i]) / 4294967291.0 * 6.2831855;
            if (!sameBits(static_cast<float>(std::cos(phiDouble)), pairs[2 * i]) ||
                !sameBits(static_cast<float>(std::sin(phiDouble)), pairs[2 * i + 1]))
                tally.doubleReading(static_cast<int32_t>(states[i]));
        }
        tally.checked += kBatch;
    }
    tally.report();
    EXPECT_EQ(0, tally.ownMismatches);
    EXPECT_EQ(0, tally.libmMismatches);
}
