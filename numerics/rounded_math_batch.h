// The generator's rounded functions over whole arrays, vectorised; the same
// lane code the generator runs, for tests and benchmarks.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"

// pairs[2i] = float(cos(angles[i])), pairs[2i + 1] = float(sin(angles[i])),
// each bit-identical to rounded_math::cosToFloat / sinToFloat, for every level.
// Fastest for |angle| <= 3.9 (the phases lie in [-pi, pi]); others are exact too.
void cosSinPairs(const float* angles, int32_t count, float* pairs, SimdLevel level = bestSimdLevel());

// out[i] = float(exp(-q[i])) for q[i] in [0, 14.72], bit-identical to
// rounded_math::expToFloat(-q[i]), for every level.
void expOfNegated(const float* q, int32_t count, float* out, SimdLevel level = bestSimdLevel());
