#include "engine/table_synthesis.h"

#include <algorithm>
#include <cmath>

#include <emmintrin.h>

#include "engine/gaussian_bands.h"
#include "engine/random_phase_bins.h"
#include "engine/wavetable.h"
#include "numerics/float_environment.h"

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
    computeAmplitudeSpectrum(values, workspace.amplitudes.get(), level);
}

uint32_t drawTablePhases(uint32_t phaseState, TableWorkspace& workspace, SimdLevel level) {
    kiss_fft_cpx* spectrum = workspace.spectrum.get();
    spectrum[0].r = 0.0f;
    spectrum[0].i = 0.0f;
    // kiss_fft_cpx is a pair of floats (real, imaginary).
    return randomPhaseBins(phaseState, workspace.amplitudes.get(), kAmplitudeBins, &spectrum[1].r, level);
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
