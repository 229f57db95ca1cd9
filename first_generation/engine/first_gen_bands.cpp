#include "first_generation/engine/first_gen_bands.h"

#include <algorithm>
#include <cmath>

#include "engine/gaussian_bands.h"
#include "numerics/simd_level.h"
#include "numerics/rounded_math.h"
#include "numerics/rounded_math_kernels.h"
#include "first_generation/engine/first_gen_extended.h"

float firstGenHarmonicAmplitude(const float* groups, int32_t harmonic) {
    constexpr float kHarmonicLevel = 0.1f;
    // First harmonic of each group; the last entry ends group 8.
    constexpr int32_t kGroupStart[] = {2, 3, 5, 8, 12, 17, 23, 28, 33};
    if (harmonic < kGroupStart[0]) return kHarmonicLevel;
    int32_t group = 0;
    while (harmonic >= kGroupStart[group + 1]) ++group;
    return kHarmonicLevel * groups[group];
}

float firstGenSpread(float bandwidth) {
    constexpr float kCentsPerUnit = 80.0f;
    constexpr float kNarrowestCents = 2.0f;
    constexpr float kOctavesPerCent = 0.00083333335f;
    const float cents = bandwidth * kCentsPerUnit + kNarrowestCents;
    return firstGenSpreadOfExponent(cents * kOctavesPerCent);
}

float firstGenSpreadOfExponent(float octaves) {
    // Beyond this the power is +inf or far below 1 for certain.
    constexpr double kExponentLimit = 1000.0;
    const double exponent = octaves;
    if (std::isnan(exponent)) return static_cast<float>(exponent);
    if (exponent > kExponentLimit) return HUGE_VALF;
    if (exponent < -kExponentLimit) return -1.0f;
    return static_cast<float>(rounded_math::accurateExp2(exponent) - 1.0);
}

namespace {

constexpr float kBinScale = 32768.0f;
constexpr float kLargestFloatBelowCutoff = 0x1.d6cf4ep+3f;  // no float lies between it and the cut-off
static_assert(static_cast<double>(kLargestFloatBelowCutoff) < GaussianBand::kBandCutoff, "");

// Inverse widths at least this large give profiles that are normal floats
// (e^-q >= 4e-7 inside the cut-off), where the midpoint test holds.
constexpr float kSmallestFastInverseWidth = 0x1p-100f;

// The band's profile as written, every entry (NaN, infinities, tiny widths).
void addBandEverywhere(const GaussianBand& band, float* amplitudes) {
    for (int32_t j = 0; j < kAmplitudeBins; ++j) {
        const float x = (static_cast<float>(j) / kBinScale - band.centre) * band.inverseWidth;
        const float q = x * x;
        float profile = 0.0f;
        if (!(static_cast<double>(q) > GaussianBand::kBandCutoff))
            profile = first_gen_extended::profile(q, band.inverseWidth);
        amplitudes[j] = profile * band.amplitude + amplitudes[j];
    }
}

// float(ext(e^-q) * ext(w)) of W values q inside the cut-off. The double
// product e^-q * w lies within a few double ulps of the exact one, and the
// 64-bit roundings on the way move it by far less, so where it is not near a
// float rounding midpoint its float is the ext reading's; the rare others are
// computed exactly. Needs |w| >= kSmallestFastInverseWidth and finite.
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float profileLanes(typename Lanes<W>::Float q, float inverseWidth) {
    using L = Lanes<W>;
    const typename L::Double product = rounded_math::fastExp<W>(-L::widen(q)) * static_cast<double>(inverseWidth);
    typename L::Float profile = L::narrow(product);
    const typename L::Int32 recompute = rounded_math::nearFloatMidpointLanes<W>(product);
    if (__builtin_expect(L::any(recompute), 0)) {
        for (int i = 0; i < W; ++i)
            if (recompute[i]) profile[i] = first_gen_extended::profile(q[i], inverseWidth);
    }
    return profile;
}

// W entries from `first` through one band.
template <int W>
NUBBEL_ALWAYS_INLINE void addProfileLanes(const GaussianBand& band, int32_t first, float* amplitudes) {
    using L = Lanes<W>;
    using Float = typename L::Float;
    using Int32 = typename L::Int32;
    Int32 index{};
#pragma GCC unroll 16
    for (int i = 0; i < W; ++i) index[i] = first + i;
    const Float x = (__builtin_convertvector(index, Float) / kBinScale - band.centre) * band.inverseWidth;
    const Float q = x * x;
    const Int32 cut = q > kLargestFloatBelowCutoff;
    // Cut lanes (q up to +inf) evaluate the cut-off instead and are zeroed.
    const Float kept = L::selectFloat(cut, L::splatFloat(kLargestFloatBelowCutoff), q);
    const Float profile = L::selectFloat(cut, L::splatFloat(0.0f), profileLanes<W>(kept, band.inverseWidth));
    L::storeFloats(amplitudes + first, profile * band.amplitude + L::loadFloats(amplitudes + first));
}

template <int W>
NUBBEL_ALWAYS_INLINE void profileLoop(const float* q, int32_t count, float inverseWidth, float* profiles) {
    using L = Lanes<W>;
    int32_t i = 0;
    for (; i + W <= count; i += W) L::storeFloats(profiles + i, profileLanes<W>(L::loadFloats(q + i), inverseWidth));
    for (; i < count; ++i) profiles[i] = first_gen_extended::profile(q[i], inverseWidth);
}

template <int W>
NUBBEL_ALWAYS_INLINE void addBands(const float* groups, float bandwidth, float* amplitudes, PhaseStateStream& states) {
    const float spread = firstGenSpread(bandwidth);
    std::fill(amplitudes, amplitudes + kAmplitudeBins, 0.0f);
    for (int32_t h = 1; h <= kFirstGenHarmonicCount; ++h) {
        // The geometry both generations share; only the amplitude law differs.
        const GaussianBand band = harmonicBand(h, spread, firstGenHarmonicAmplitude(groups, h));
        const bool finite = band.bounded && std::isfinite(band.amplitude);
        // A finite amplitude times a finite profile: +-0 added changes nothing.
        if (finite && (band.amplitude == 0.0f || band.inverseWidth == 0.0f)) continue;
        if (!finite || !(std::fabs(band.inverseWidth) >= kSmallestFastInverseWidth)) {
            addBandEverywhere(band, amplitudes);
            continue;
        }
        for (int32_t j = band.firstBin; j < band.endBin; j += W) {
            addProfileLanes<W>(band, j, amplitudes);
            states.draw(W);
        }
    }
}

void addBandsSse2(const float* groups, float bandwidth, float* amplitudes, PhaseStateStream& states) {
    addBands<4>(groups, bandwidth, amplitudes, states);
}

__attribute__((target("avx2"))) void addBandsAvx2(const float* groups, float bandwidth, float* amplitudes,
                                                  PhaseStateStream& states) {
    addBands<8>(groups, bandwidth, amplitudes, states);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void addBandsAvx512(const float* groups, float bandwidth,
                                                                  float* amplitudes, PhaseStateStream& states) {
    addBands<8>(groups, bandwidth, amplitudes, states);
}

void profilesSse2(const float* q, int32_t count, float inverseWidth, float* profiles) {
    profileLoop<4>(q, count, inverseWidth, profiles);
}

__attribute__((target("avx2"))) void profilesAvx2(const float* q, int32_t count, float inverseWidth, float* profiles) {
    profileLoop<8>(q, count, inverseWidth, profiles);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void profilesAvx512(const float* q, int32_t count, float inverseWidth,
                                                                  float* profiles) {
    profileLoop<8>(q, count, inverseWidth, profiles);
}

}  // namespace

void firstGenProfiles(const float* q, int32_t count, float inverseWidth, float* profiles, SimdLevel level) {
    simdVariant(level, profilesSse2, profilesAvx2, profilesAvx512)(q, count, inverseWidth, profiles);
}

void firstGenAmplitudeSpectrum(const float* groups, float bandwidth, float* amplitudes, SimdLevel level,
                               PhaseStateStream* states) {
    PhaseStateStream none = {0, nullptr, nullptr};
    simdVariant(level, addBandsSse2, addBandsAvx2, addBandsAvx512)(groups, bandwidth, amplitudes,
                                                                   states ? *states : none);
}
