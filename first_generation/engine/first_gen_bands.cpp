#include "first_generation/engine/first_gen_bands.h"

#include <algorithm>
#include <cmath>

#include "engine/gaussian_band_loop.h"
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

// Inverse widths at least this large give profiles that are normal floats
// (e^-q >= 4e-7 inside the cut-off), where the midpoint test holds.
constexpr float kSmallestFastInverseWidth = 0x1p-100f;

// The first generation's profile, float(ext(e^-q) * ext(w)). The lanes: the
// double product e^-q * w lies within a few double ulps of the exact one, and
// the 64-bit roundings on the way move it by far less, so where it is not
// near a float rounding midpoint its float is the ext reading's; the rare
// others are computed exactly. The lanes need |w| >= kSmallestFastInverseWidth
// and finite; other bands go through profile() everywhere.
struct ExtendedProfile {
    template <int W>
    static NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float profileLanes(typename Lanes<W>::Float q, float inverseWidth) {
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

    static float profile(float q, float inverseWidth) { return first_gen_extended::profile(q, inverseWidth); }
};

// Draws phase states between band chunks, so that the serial recurrence runs
// beside the band arithmetic instead of after it.
struct DrawPhaseStates {
    PhaseStateStream& states;
    NUBBEL_ALWAYS_INLINE void operator()(int32_t entries) const { states.draw(entries); }
};

template <int W>
NUBBEL_ALWAYS_INLINE void profileLoop(const float* q, int32_t count, float inverseWidth, float* profiles) {
    using L = Lanes<W>;
    int32_t i = 0;
    for (; i + W <= count; i += W)
        L::storeFloats(profiles + i, ExtendedProfile::profileLanes<W>(L::loadFloats(q + i), inverseWidth));
    for (; i < count; ++i) profiles[i] = ExtendedProfile::profile(q[i], inverseWidth);
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
    const float spread = firstGenSpread(bandwidth);
    GaussianBand bands[kFirstGenHarmonicCount];
    int32_t count = 0;
    for (int32_t h = 1; h <= kFirstGenHarmonicCount; ++h) {
        // The geometry both generations share; only the amplitude law differs.
        GaussianBand band = harmonicBand(h, spread, firstGenHarmonicAmplitude(groups, h));
        const bool finite = band.bounded && std::isfinite(band.amplitude);
        // A finite amplitude times a finite profile: +-0 added changes nothing.
        if (finite && (band.amplitude == 0.0f || band.inverseWidth == 0.0f)) continue;
        // Bands the lanes cannot take go through the rule everywhere.
        if (!finite || !(std::fabs(band.inverseWidth) >= kSmallestFastInverseWidth)) band.bounded = false;
        bands[count++] = band;
    }
    PhaseStateStream none = {0, nullptr, nullptr};
    computeAmplitudeSpectrum<ExtendedProfile>(bands, count, amplitudes, level,
                                              DrawPhaseStates{states ? *states : none});
}
