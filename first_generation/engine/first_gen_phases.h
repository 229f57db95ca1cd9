// The first generation's complex spectrum: amplitudes with random phases.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"
#include "first_generation/engine/first_gen_state_stream.h"

// With s_j the state j + 1 steps after `state` (nextPhaseState) and phi_j its
// 64-bit phase (first_gen_extended::phaseOfState): pairs[2j], pairs[2j + 1] =
// float(ext(amplitudes[j]) * cos phi_j), float(ext(amplitudes[j]) * sin phi_j),
// cos and sin rounded to 64 bits. Returns the last state drawn.
uint32_t firstGenPhaseBins(uint32_t state, const float* amplitudes, int32_t count, float* pairs,
                           SimdLevel level = bestSimdLevel());

// The same with the states already drawn into pairs by a PhaseStateStream.
void firstGenPhaseBinsOfDrawnStates(const float* amplitudes, int32_t count, float* pairs,
                                    SimdLevel level = bestSimdLevel());

// The same pair for each of the given states (not a sequence), by the lane
// code firstGenPhaseBins uses (tests and benchmarks).
void firstGenPhasePairs(const uint32_t* states, const float* amplitudes, int32_t count, float* pairs,
                        SimdLevel level = bestSimdLevel());
