// The complex spectrum of a table: amplitudes with random phases.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"

// With s_j the state j + 1 steps after `state` (nextPhaseState), pairs[2j] and
// pairs[2j + 1] = amplitudes[j] times float(cos) and float(sin) of
// phaseOfState(s_j); returns the last state. The serial state recurrence runs
// inside the vector loop, where its latency hides behind the polynomials.
// Where a block of amplitudes is all +0, only the signs of cosine and sine
// matter (+0 times either) and they follow from the phase directly.
uint32_t randomPhaseBins(uint32_t state, const float* amplitudes, int32_t count, float* pairs,
                         SimdLevel level = bestSimdLevel());
