// The first generation's wavetable: eight harmonic groups and a bandwidth
// turned into one looping table with random phases.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"
#include "engine/wavetable.h"

constexpr int32_t kFirstGenGroupCount = 8;

// Fills table[0..65536] (one loop plus the guard sample, normalised) from
// groups[0..7] and bandwidth, drawing its 32,768 phases from the states that
// follow `phaseState`; returns the last state drawn. Touches no process-wide
// state and does not depend on the caller's floating-point settings.
uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table);

// The same at a chosen vector width (tests and benchmarks); every level gives
// the same table.
uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table,
                                 SimdLevel level);

// Builds a table from the library's phase state (consecutive states for each
// generation, whatever the number of instances and threads) and publishes it
// into `wavetable` for the next block.
void generateFirstGenWavetable(const float* groups, float bandwidth, Wavetable& wavetable);
