// From spectral values and phase states to one finished table.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"
#include "engine/table_workspace.h"

// A table in three stages on one workspace; only the middle one consumes phase
// states, so only it needs the process-wide state (see generateWavetable).
// The stages expect the default floating-point control state
// (DefaultFloatEnvironment).
//
// 1. The amplitude spectrum of values[0..32] (32 harmonics, then BW).
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
