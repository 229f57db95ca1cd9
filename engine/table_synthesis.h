// From spectral values and phase states to one finished table.
#pragma once

#include <cstdint>

#include "engine/gaussian_bands.h"
#include "engine/table_workspace.h"
#include "numerics/simd_level.h"

// The spectral law of these tables, from values[0..32] (32 harmonics, then
// BW): harmonic k (1..32) is one Gaussian band (harmonicBand) with amplitude
// half the cube of values[k - 1] and relative band factor
// r = 2^(bw / 1200) - 1 for bw = BW * 80 + 4 cents (4 to 84 cents for BW in
// 0..1), the power evaluated in double and rounded to float, the subtraction
// in float. Each band's profile is float(e^-q) times its inverse width, in
// float; each phase is float(int32(s)) * 2^-32 * 2 pi in float (phaseOfState),
// and a bin is the amplitude times float(cos) and float(sin) of it.
float relativeBandFactor(float bandwidth);
void spectralBands(const float* values, GaussianBand* bands);  // bands[0..31]

// amplitudes[0..kAmplitudeBins-1] = the sum of the 32 bands.
void computeSpectralAmplitudes(const float* values, float* amplitudes, SimdLevel level = bestSimdLevel());

// A table in three stages on one workspace; only the middle one consumes phase
// states, so only it needs the process-wide state (see generateWavetable).
// The stages expect the default floating-point control state
// (DefaultFloatEnvironment).
//
// 1. The amplitude spectrum of values[0..32] (computeSpectralAmplitudes).
void computeTableAmplitudes(const float* values, TableWorkspace& workspace, SimdLevel level = bestSimdLevel());

// 2. Spectrum bin 0 empty; amplitude index j into bin j + 1 with the phase of
//    the state j + 1 steps after `phaseState`. Returns the last state drawn.
uint32_t drawTablePhases(uint32_t phaseState, TableWorkspace& workspace, SimdLevel level = bestSimdLevel());

// 3. table[0..65535] = the unscaled inverse real FFT of the spectrum,
//    table[65536] = table[0], then normalisation. A table that comes out NaN or
//    infinite (from NaN or overflowing values) becomes silence instead.
void transformToTable(TableWorkspace& workspace, float* table);

// All three stages with a borrowed workspace and the default floating-point
// control state (tests and benchmarks); returns the last state drawn. Touches
// no process-wide state.
uint32_t synthesizeTable(const float* values, uint32_t phaseState, float* table, SimdLevel level = bestSimdLevel());

// Largest |table[i]| over count samples (NaN ignored), and whether all are finite.
float peakMagnitude(const float* table, int32_t count, bool* allFinite);

// table[i] = table[i] * scale.
void scaleTable(float* table, int32_t count, float scale);

// normalizeTable() with the peak already known.
void normalizeWithPeak(float* table, int32_t count, float peak);
