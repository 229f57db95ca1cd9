#include "engine/table_synthesis.h"

#include <algorithm>
#include <cmath>

#include <emmintrin.h>

#include "engine/gaussian_band_loop.h"
#include "engine/parameter_index.h"
#include "engine/phase_generator.h"
#include "engine/random_phase_bins.h"
#include "engine/wavetable.h"
#include "numerics/float_environment.h"
#include "numerics/rounded_math.h"
#include "numerics/rounded_math_kernels.h"

namespace {

// float(e^-q), then times the inverse width in float.
struct RoundedExpProfile {
    template <int W>
    static NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float profileLanes(typename Lanes<W>::Float q, float inverseWidth) {
        return rounded_math::expOfNegatedLanes<W>(q) * inverseWidth;
    }
    static float profile(float q, float inverseWidth) {
        return rounded_math::expToFloat(-static_cast<double>(q)) * inverseWidth;
    }
};

// The phase in float (phaseOfState); the bin is the amplitude times float(cos)
// and float(sin) of it.
struct FloatPhase {
    template <int W>
    static NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float phaseLanes(typename Lanes<W>::Int32 states) {
        // phaseOfState, lane by lane: the same float operations in the same order.
        return __builtin_convertvector(states, typename Lanes<W>::Float) * kPhaseStateScale * kPhaseTurn;
    }

    template <int W>
    static NUBBEL_ALWAYS_INLINE void binLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float amplitudes,
                                              typename Lanes<W>::Float& re, typename Lanes<W>::Float& im) {
        typename Lanes<W>::Float cosines, sines;
        rounded_math::cosSinLanes<W>(phaseLanes<W>(states), cosines, sines);
        re = amplitudes * cosines;
        im = amplitudes * sines;
    }

    template <int W>
    static NUBBEL_ALWAYS_INLINE void zeroBinLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float& re,
                                                  typename Lanes<W>::Float& im) {
        using L = Lanes<W>;
        using Float = typename L::Float;
        using Int32 = typename L::Int32;
        constexpr float kAboveHalfPi = 0x1.921fb6p+0f;  // the smallest float above pi/2
        const Float phases = phaseLanes<W>(states);
        // cos is negative beyond +-pi/2 (no float phase lies within 4e-8 of
        // it, and float(cos) is never 0 there); sin has the phase's sign.
        const Int32 cosNegative = (phases >= kAboveHalfPi) | (phases <= -kAboveHalfPi);
        const Float signBit = L::splatFloat(-0.0f);
        re = L::selectFloat(cosNegative, signBit, L::splatFloat(0.0f));
        im = (Float)((Int32)phases & (Int32)signBit);
    }

    static void bin(int32_t state, float amplitude, float& re, float& im) {
        const float phase = phaseOfState(static_cast<uint32_t>(state));
        re = amplitude * rounded_math::cosToFloat(phase);
        im = amplitude * rounded_math::sinToFloat(phase);
    }
};

}  // namespace

float relativeBandFactor(float bandwidth) {
    constexpr float kCentsPerUnit = 80.0f;
    constexpr float kNarrowestCents = 4.0f;
    constexpr float kOctavesPerCent = 0.00083333335f;
    const float cents = bandwidth * kCentsPerUnit + kNarrowestCents;
    return rounded_math::exp2ToFloat(static_cast<double>(cents * kOctavesPerCent)) - 1.0f;
}

void spectralBands(const float* values, GaussianBand* bands) {
    const float bandFactor = relativeBandFactor(values[param::kBandwidth]);
    for (int32_t k = 1; k <= param::kHarmonicCount; ++k) {
        const float value = values[k - 1];
        bands[k - 1] = harmonicBand(k, bandFactor, ((value * value) * value) * 0.5f);
    }
}

void computeSpectralAmplitudes(const float* values, float* amplitudes, SimdLevel level) {
    GaussianBand bands[param::kHarmonicCount];
    spectralBands(values, bands);
    computeAmplitudeSpectrum<RoundedExpProfile>(bands, param::kHarmonicCount, amplitudes, level);
}

float peakMagnitude(const float* table, int32_t count, bool* allFinite) {
    // Running maxima and running sums of x * 0 (which turn NaN as soon as one
    // sample is NaN or infinite), four of each so that the compare and add
    // latencies overlap. maxps keeps its second operand when the first is NaN,
    // so NaN samples never win, as in a sequential scan; without NaN the
    // maximum does not depend on the order.
    const __m128 signBit = _mm_set1_ps(-0.0f);
    const __m128 zero = _mm_setzero_ps();
    __m128 peaks0 = zero, peaks1 = zero, peaks2 = zero, peaks3 = zero;
    __m128 poison0 = zero, poison1 = zero, poison2 = zero, poison3 = zero;
    int32_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128 x0 = _mm_loadu_ps(table + i);
        const __m128 x1 = _mm_loadu_ps(table + i + 4);
        const __m128 x2 = _mm_loadu_ps(table + i + 8);
        const __m128 x3 = _mm_loadu_ps(table + i + 12);
        peaks0 = _mm_max_ps(_mm_andnot_ps(signBit, x0), peaks0);
        peaks1 = _mm_max_ps(_mm_andnot_ps(signBit, x1), peaks1);
        peaks2 = _mm_max_ps(_mm_andnot_ps(signBit, x2), peaks2);
        peaks3 = _mm_max_ps(_mm_andnot_ps(signBit, x3), peaks3);
        poison0 = _mm_add_ps(poison0, _mm_mul_ps(x0, zero));
        poison1 = _mm_add_ps(poison1, _mm_mul_ps(x1, zero));
        poison2 = _mm_add_ps(poison2, _mm_mul_ps(x2, zero));
        poison3 = _mm_add_ps(poison3, _mm_mul_ps(x3, zero));
    }
    const __m128 peak4 = _mm_max_ps(_mm_max_ps(peaks0, peaks1), _mm_max_ps(peaks2, peaks3));
    const __m128 poison4 = _mm_add_ps(_mm_add_ps(poison0, poison1), _mm_add_ps(poison2, poison3));
    alignas(16) float peakLanes[4];
    alignas(16) float poisonLanes[4];
    _mm_store_ps(peakLanes, peak4);
    _mm_store_ps(poisonLanes, poison4);
    float peak = 0.0f;
    float tailPoison = 0.0f;
    for (int lane = 0; lane < 4; ++lane) {
        peak = peakLanes[lane] > peak ? peakLanes[lane] : peak;
        tailPoison += poisonLanes[lane];
    }
    for (; i < count; ++i) {
        const float magnitude = std::fabs(table[i]);
        peak = magnitude > peak ? magnitude : peak;
        tailPoison += table[i] * 0.0f;
    }
    *allFinite = tailPoison == tailPoison;
    return peak;
}

void scaleTable(float* table, int32_t count, float scale) {
    const __m128 factor = _mm_set1_ps(scale);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) _mm_storeu_ps(table + i, _mm_mul_ps(_mm_loadu_ps(table + i), factor));
    for (; i < count; ++i) table[i] = table[i] * scale;
}

void normalizeWithPeak(float* table, int32_t count, float peak) {
    constexpr float kPeakFloor = 1e-5f;
    constexpr float kHeadroom = 1.4142f;  // about -3 dB below full scale
    if (peak < kPeakFloor) peak = kPeakFloor;
    scaleTable(table, count, 1.0f / (peak * kHeadroom));
}

void computeTableAmplitudes(const float* values, TableWorkspace& workspace, SimdLevel level) {
    computeSpectralAmplitudes(values, workspace.amplitudes.get(), level);
}

uint32_t drawTablePhases(uint32_t phaseState, TableWorkspace& workspace, SimdLevel level) {
    kiss_fft_cpx* spectrum = workspace.spectrum.get();
    spectrum[0].r = 0.0f;
    spectrum[0].i = 0.0f;
    // kiss_fft_cpx is a pair of floats (real, imaginary).
    return randomPhaseBins<FloatPhase>(phaseState, workspace.amplitudes.get(), kAmplitudeBins, &spectrum[1].r, level);
}

void transformToTable(TableWorkspace& workspace, float* table) {
    constexpr int32_t N = Wavetable::kLength;
    kiss_fftri(workspace.inverseTransform, workspace.spectrum.get(), table);
    table[N] = table[0];
    normalizeTable(table, N + 1);
}

uint32_t synthesizeTable(const float* values, uint32_t phaseState, float* table, SimdLevel level) {
    DefaultFloatEnvironment environment;
    WorkspaceLease workspace;
    computeTableAmplitudes(values, *workspace, level);
    const uint32_t lastState = drawTablePhases(phaseState, *workspace, level);
    transformToTable(*workspace, table);
    return lastState;
}
