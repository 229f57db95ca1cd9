// The band and phase loops serve any generator: with laws other than the
// third generation's, and bands that are not harmonics, every vector width
// gives what the plain loop over every bin gives, bit for bit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/gaussian_band_loop.h"
#include "engine/phase_generator.h"
#include "engine/random_phase_bins.h"

namespace {

constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

// Bit for bit, except that any NaN matches any NaN: a NaN's sign and payload
// follow operand order, which a compiler may swap in a commutative product,
// and no table keeps a NaN (a non-finite table becomes silence).
bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::isnan(a[i]) && std::isnan(b[i])) continue;
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return false;
    }
    return true;
}

// Still large at the cut-off (about 0.08 * w), so a band range that stops
// short of a bin inside the cut-off changes the spectrum visibly.
struct LinearProfile {
    template <int W>
    static NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float profileLanes(typename Lanes<W>::Float q, float inverseWidth) {
        return (1.0f - q * 0.0625f) * inverseWidth;
    }
    static float profile(float q, float inverseWidth) { return (1.0f - q * 0.0625f) * inverseWidth; }
};

void plainSpectrum(const std::vector<GaussianBand>& bands, float* amplitudes) {
    for (int32_t j = 0; j < kAmplitudeBins; ++j) amplitudes[j] = 0.0f;
    for (const GaussianBand& band : bands) {
        for (int32_t j = 0; j < kAmplitudeBins; ++j) {
            const float x = (static_cast<float>(j) / 32768.0f - band.centre) * band.inverseWidth;
            const float q = x * x;
            float profile = 0.0f;
            if (!(static_cast<double>(q) > GaussianBand::kBandCutoff))
                profile = LinearProfile::profile(q, band.inverseWidth);
            amplitudes[j] = band.amplitude * profile + amplitudes[j];
        }
    }
}

// t = state * 2^-31; the bin is (a * t, a * (t - 0.25)).
struct LinearPhase {
    static constexpr float kScale = 4.656613e-10f;
    static constexpr float kShift = 0.25f;

    template <int W>
    static NUBBEL_ALWAYS_INLINE void binLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float amplitudes,
                                              typename Lanes<W>::Float& re, typename Lanes<W>::Float& im) {
        const typename Lanes<W>::Float t = __builtin_convertvector(states, typename Lanes<W>::Float) * kScale;
        re = amplitudes * t;
        im = amplitudes * (t - kShift);
    }

    template <int W>
    static NUBBEL_ALWAYS_INLINE void zeroBinLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float& re,
                                                  typename Lanes<W>::Float& im) {
        using L = Lanes<W>;
        const typename L::Float t = __builtin_convertvector(states, typename L::Float) * kScale;
        re = L::selectFloat(t < 0.0f, L::splatFloat(-0.0f), L::splatFloat(0.0f));
        im = L::selectFloat(t - kShift < 0.0f, L::splatFloat(-0.0f), L::splatFloat(0.0f));
    }

    static void bin(int32_t state, float amplitude, float& re, float& im) {
        const float t = static_cast<float>(state) * kScale;
        re = amplitude * t;
        im = amplitude * (t - kShift);
    }
};

}  // namespace

TEST(LawLoops, BandListWithAnyLawMatchesThePlainLoop) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        std::vector<GaussianBand> bands;
    };
    const Case cases[] = {
        {"narrow and wide, overlapping, in any order",
         {makeGaussianBand(0.3f, 900.0f, 0.7f), makeGaussianBand(0.0103f, 50.0f, 1.5f),
          makeGaussianBand(0.301f, 3000.0f, -0.2f), makeGaussianBand(0.999f, 20.0f, 0.01f)}},
        {"at and beyond the edges",
         {makeGaussianBand(0.0f, 400.0f, 1.0f), makeGaussianBand(1.0f, 400.0f, 1.0f),
          makeGaussianBand(-0.5f, 8.0f, 1.0f), makeGaussianBand(7.0f, 1.0f, 1.0f)}},
        {"wider than the spectrum", {makeGaussianBand(0.5f, 0.5f, 0.25f), makeGaussianBand(0.5f, -3.0f, 0.5f)}},
        {"not bounded",
         {makeGaussianBand(0.2f, 500.0f, 1.0f), makeGaussianBand(kNaN, 500.0f, 1.0f),
          makeGaussianBand(0.4f, kInf, 1.0f), makeGaussianBand(0.6f, 500.0f, kInf)}},
        {"empty", {}},
    };
    std::vector<float> expected(kAmplitudeBins), actual(kAmplitudeBins);
    for (const Case& c : cases) {
        plainSpectrum(c.bands, expected.data());
        for (SimdLevel level : kLevels) {
            if (!simdLevelSupported(level)) continue;
            computeAmplitudeSpectrum<LinearProfile>(c.bands.data(), static_cast<int32_t>(c.bands.size()), actual.data(),
                                                    level);
            EXPECT_TRUE(sameBits(expected, actual)) << c.name << " at level " << static_cast<int>(level);
        }
    }
}

TEST(LawLoops, PhaseLawMatchesThePlainLoopIncludingZeroBlocks) {
    // Blocks of +0 (the shortcut), of -0 (not a shortcut: -0 times t), mixed
    // blocks and a tail shorter than any vector.
    constexpr int32_t kCount = 8 * 40 + 5;
    std::vector<float> amplitudes(kCount, 0.0f);
    for (int32_t j = 64; j < 96; ++j) amplitudes[j] = -0.0f;
    for (int32_t j = 128; j < kCount; j += 3) amplitudes[j] = 0.01f * static_cast<float>(j % 17) - 0.05f;
    amplitudes[kCount - 1] = 2.0f;

    std::vector<float> expected(2 * kCount), actual(2 * kCount);
    uint32_t state = kInitialPhaseState;
    for (int32_t j = 0; j < kCount; ++j) {
        state = nextPhaseState(state);
        LinearPhase::bin(static_cast<int32_t>(state), amplitudes[j], expected[2 * j], expected[2 * j + 1]);
    }
    for (SimdLevel level : kLevels) {
        if (!simdLevelSupported(level)) continue;
        std::fill(actual.begin(), actual.end(), 1.0f);
        EXPECT_EQ(state,
                  randomPhaseBins<LinearPhase>(kInitialPhaseState, amplitudes.data(), kCount, actual.data(), level));
        EXPECT_TRUE(sameBits(expected, actual)) << "level " << static_cast<int>(level);
    }
}
