#include "engine/gaussian_bands.h"

#include <algorithm>
#include <cmath>

#include "engine/parameter_index.h"
#include "numerics/rounded_math.h"
#include "numerics/rounded_math_kernels.h"

namespace {

constexpr float kBinScale = static_cast<float>(kAmplitudeBins);
// Band ranges start and end on multiples of this (at least the widest lane
// count), so every vector width covers the same entries.
constexpr int32_t kRangeAlignment = 16;
constexpr float kLargestFloatBelowCutoff = 0x1.d6cf4ep+3f;  // 14.712805748 < 14.71280603 < next float
static_assert(static_cast<double>(kLargestFloatBelowCutoff) < GaussianBand::kBandCutoff, "");

}  // namespace

float relativeBandFactor(float bandwidth) {
    constexpr float kCentsPerUnit = 80.0f;
    constexpr float kNarrowestCents = 4.0f;
    constexpr float kOctavesPerCent = 0.00083333335f;
    const float cents = bandwidth * kCentsPerUnit + kNarrowestCents;
    return rounded_math::exp2ToFloat(static_cast<double>(cents * kOctavesPerCent)) - 1.0f;
}

GaussianBand makeGaussianBand(int32_t harmonic, float bandFactor, float harmonicValue) {
    constexpr float kCentreStep = 0.0078004533f;  // 344 / 44100
    constexpr float kWidthHz = 344.0f;
    constexpr float kInverseRate = 1.1337868e-5f;  // 1 / 88200
    const float k = static_cast<float>(harmonic);
    GaussianBand band;
    band.centre = k * kCentreStep;
    band.inverseWidth = 1.0f / (((k * bandFactor) * kWidthHz) * kInverseRate);
    band.amplitude = ((harmonicValue * harmonicValue) * harmonicValue) * 0.5f;
    band.firstBin = 0;
    band.endBin = kAmplitudeBins;
    band.bounded = std::isfinite(band.inverseWidth) && std::isfinite(band.amplitude);
    if (band.bounded) {
        // A bin inside the cut-off has |x| < sqrt(cutoff) * (1 + 2^-22) before
        // the float roundings of x and q, and |j / M - centre| differs from
        // its float by at most 2^-24 relative; the margins below cover both.
        const double halfWidth =
            std::sqrt(GaussianBand::kBandCutoff) * kAmplitudeBins / std::fabs(band.inverseWidth) * (1.0 + 1e-6) + 2.0;
        const double centre = static_cast<double>(band.centre) * kAmplitudeBins;
        const double first = std::clamp(std::floor(centre - halfWidth), 0.0, double{kAmplitudeBins});
        const double end = std::clamp(std::ceil(centre + halfWidth) + 1.0, 0.0, double{kAmplitudeBins});
        band.firstBin = static_cast<int32_t>(first) / kRangeAlignment * kRangeAlignment;
        band.endBin = (static_cast<int32_t>(end) + kRangeAlignment - 1) / kRangeAlignment * kRangeAlignment;
        if (band.endBin < band.firstBin) band.endBin = band.firstBin;
    }
    return band;
}

namespace {

// W consecutive entries from `first` (a multiple of W) through one band.
template <int W>
NUBBEL_ALWAYS_INLINE void addBandLanes(const GaussianBand& band, int32_t first, float* amplitudes) {
    using L = Lanes<W>;
    using Float = typename L::Float;
    using Int32 = typename L::Int32;
    Int32 index{};
#pragma GCC unroll 16
    for (int i = 0; i < W; ++i) index[i] = first + i;
    const Float x = (__builtin_convertvector(index, Float) / kBinScale - band.centre) * band.inverseWidth;
    const Float q = x * x;
    // (double)q > kBandCutoff, compared in float: no float lies between
    // kLargestFloatBelowCutoff and the cut-off.
    const Int32 cutLanes = q > kLargestFloatBelowCutoff;
    // Cut lanes (q up to +inf) evaluate e^-cutoff instead and are zeroed below.
    const Float rounded =
        rounded_math::expOfNegatedLanes<W>(L::selectFloat(cutLanes, L::splatFloat(kLargestFloatBelowCutoff), q));
    const Float profile = L::selectFloat(cutLanes, L::splatFloat(0.0f), rounded * band.inverseWidth);
    const Float sum = band.amplitude * profile + L::loadFloats(amplitudes + first);
    L::storeFloats(amplitudes + first, sum);
}

// The rule itself, for bands whose range could not be bounded; NaN and
// infinities go through it exactly as written.
void addBandEverywhere(const GaussianBand& band, float* amplitudes) {
    for (int32_t j = 0; j < kAmplitudeBins; ++j) {
        const float x = (static_cast<float>(j) / kBinScale - band.centre) * band.inverseWidth;
        const float q = x * x;
        float profile = 0.0f;
        if (!(static_cast<double>(q) > GaussianBand::kBandCutoff))
            profile = rounded_math::expToFloat(-static_cast<double>(q)) * band.inverseWidth;
        amplitudes[j] = band.amplitude * profile + amplitudes[j];
    }
}

template <int W>
NUBBEL_ALWAYS_INLINE void addBands(const float* values, float* amplitudes) {
    const float bandFactor = relativeBandFactor(values[param::kBandwidth]);
    std::fill(amplitudes, amplitudes + kAmplitudeBins, 0.0f);
    for (int32_t k = 1; k <= param::kHarmonicCount; ++k) {
        const GaussianBand band = makeGaussianBand(k, bandFactor, values[k - 1]);
        if (!band.bounded) {
            addBandEverywhere(band, amplitudes);
            continue;
        }
        for (int32_t j = band.firstBin; j < band.endBin; j += W) addBandLanes<W>(band, j, amplitudes);
    }
}

void addBandsSse2(const float* values, float* amplitudes) { addBands<4>(values, amplitudes); }

__attribute__((target("avx2"))) void addBandsAvx2(const float* values, float* amplitudes) {
    addBands<8>(values, amplitudes);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void addBandsAvx512(const float* values, float* amplitudes) {
    addBands<8>(values, amplitudes);
}

}  // namespace

void computeAmplitudeSpectrum(const float* values, float* amplitudes, SimdLevel level) {
    simdVariant(level, addBandsSse2, addBandsAvx2, addBandsAvx512)(values, amplitudes);
}
