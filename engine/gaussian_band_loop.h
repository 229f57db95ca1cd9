// The loops that add a list of Gaussian bands into an amplitude spectrum, for
// any rounding of the profile. Include from the .cpp file that instantiates
// computeAmplitudeSpectrum for its law; each instruction set gets its own
// copy of the loops.
//
// A ProfileLaw is a type with two static functions:
//
//   template <int W> static NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float
//   profileLanes(typename Lanes<W>::Float q, float inverseWidth);
//       the profile of every lane, q in [0, cutoff]; always inline, since it
//       runs inside code compiled for a wider instruction set;
//   static float profile(float q, float inverseWidth);
//       the same for one q in [0, cutoff] or NaN (bands that are not bounded).
//
// Lane i of profileLanes must equal profile(q[i], inverseWidth) bit for bit;
// then every SimdLevel gives the same spectrum.
//
// A ChunkHook is called as hook(W) after every W entries of a bounded band:
// independent work a caller interleaves with the band arithmetic (a serial
// recurrence, say), which the loop's own dependency chains then hide. The
// default does nothing and compiles away.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/gaussian_bands.h"
#include "numerics/simd_level.h"
#include "numerics/simd_vectors.h"

namespace gaussian_band_loop {

constexpr float kBinScale = static_cast<float>(kAmplitudeBins);
constexpr float kLargestFloatBelowCutoff = 0x1.d6cf4ep+3f;  // 14.712805748 < 14.71280603 < next float
static_assert(static_cast<double>(kLargestFloatBelowCutoff) < GaussianBand::kBandCutoff, "");

// W consecutive entries from `first` (a multiple of W) through one band.
template <int W, class ProfileLaw>
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
    // Cut lanes (q up to +inf) evaluate the profile at the cut-off instead and
    // are zeroed below.
    const Float inside = L::selectFloat(cutLanes, L::splatFloat(kLargestFloatBelowCutoff), q);
    const Float rounded = ProfileLaw::template profileLanes<W>(inside, band.inverseWidth);
    const Float profile = L::selectFloat(cutLanes, L::splatFloat(0.0f), rounded);
    const Float sum = band.amplitude * profile + L::loadFloats(amplitudes + first);
    L::storeFloats(amplitudes + first, sum);
}

// The rule itself, for bands whose range could not be bounded; NaN and
// infinities go through it exactly as written.
template <class ProfileLaw>
void addBandEverywhere(const GaussianBand& band, float* amplitudes) {
    for (int32_t j = 0; j < kAmplitudeBins; ++j) {
        const float x = (static_cast<float>(j) / kBinScale - band.centre) * band.inverseWidth;
        const float q = x * x;
        float profile = 0.0f;
        if (!(static_cast<double>(q) > GaussianBand::kBandCutoff)) profile = ProfileLaw::profile(q, band.inverseWidth);
        amplitudes[j] = band.amplitude * profile + amplitudes[j];
    }
}

struct NoChunkHook {
    NUBBEL_ALWAYS_INLINE void operator()(int32_t /*entries*/) const {}
};

template <int W, class ProfileLaw, class ChunkHook>
NUBBEL_ALWAYS_INLINE void addBands(const GaussianBand* bands, int32_t count, float* amplitudes, ChunkHook& hook) {
    std::fill(amplitudes, amplitudes + kAmplitudeBins, 0.0f);
    for (int32_t b = 0; b < count; ++b) {
        const GaussianBand& band = bands[b];
        if (!band.bounded) {
            addBandEverywhere<ProfileLaw>(band, amplitudes);
            continue;
        }
        for (int32_t j = band.firstBin; j < band.endBin; j += W) {
            addBandLanes<W, ProfileLaw>(band, j, amplitudes);
            hook(W);
        }
    }
}

template <class ProfileLaw, class ChunkHook>
void addBandsSse2(const GaussianBand* bands, int32_t count, float* amplitudes, ChunkHook& hook) {
    addBands<4, ProfileLaw>(bands, count, amplitudes, hook);
}

// Eight lanes on both wide levels: two registers' worth of doubles per step
// is enough independent work to hide the polynomial chains.
template <class ProfileLaw, class ChunkHook>
__attribute__((target("avx2"))) void addBandsAvx2(const GaussianBand* bands, int32_t count, float* amplitudes,
                                                  ChunkHook& hook) {
    addBands<8, ProfileLaw>(bands, count, amplitudes, hook);
}

template <class ProfileLaw, class ChunkHook>
__attribute__((target(NUBBEL_AVX512_TARGET))) void addBandsAvx512(const GaussianBand* bands, int32_t count,
                                                                  float* amplitudes, ChunkHook& hook) {
    addBands<8, ProfileLaw>(bands, count, amplitudes, hook);
}

}  // namespace gaussian_band_loop

// amplitudes[0..kAmplitudeBins-1] = the sum of bands[0..count-1], added band by
// band in list order, each over its range; the same bits at every level.
template <class ProfileLaw, class ChunkHook = gaussian_band_loop::NoChunkHook>
void computeAmplitudeSpectrum(const GaussianBand* bands, int32_t count, float* amplitudes,
                              SimdLevel level = bestSimdLevel(), ChunkHook hook = {}) {
    using namespace gaussian_band_loop;
    simdVariant(level, addBandsSse2<ProfileLaw, ChunkHook>, addBandsAvx2<ProfileLaw, ChunkHook>,
                addBandsAvx512<ProfileLaw, ChunkHook>)(bands, count, amplitudes, hook);
}
