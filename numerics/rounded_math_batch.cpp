#include "numerics/rounded_math_batch.h"

#include "numerics/rounded_math.h"
#include "numerics/rounded_math_kernels.h"
#include "numerics/simd_interleave.h"

namespace {

using rounded_math::cosToFloat;
using rounded_math::expToFloat;
using rounded_math::sinToFloat;

template <int W>
NUBBEL_ALWAYS_INLINE void cosSinLoop(const float* angles, int32_t count, float* pairs) {
    using L = Lanes<W>;
    int32_t i = 0;
    for (; i + W <= count; i += W) {
        typename L::Float cosines, sines;
        rounded_math::cosSinLanes<W>(L::loadFloats(angles + i), cosines, sines);
        storeInterleaved<W>(pairs + 2 * i, cosines, sines);
    }
    for (; i < count; ++i) {
        pairs[2 * i] = cosToFloat(angles[i]);
        pairs[2 * i + 1] = sinToFloat(angles[i]);
    }
}

template <int W>
NUBBEL_ALWAYS_INLINE void expLoop(const float* q, int32_t count, float* out) {
    using L = Lanes<W>;
    int32_t i = 0;
    for (; i + W <= count; i += W) L::storeFloats(out + i, rounded_math::expOfNegatedLanes<W>(L::loadFloats(q + i)));
    for (; i < count; ++i) out[i] = expToFloat(-static_cast<double>(q[i]));
}

void cosSinSse2(const float* angles, int32_t count, float* pairs) { cosSinLoop<4>(angles, count, pairs); }

__attribute__((target("avx2"))) void cosSinAvx2(const float* angles, int32_t count, float* pairs) {
    cosSinLoop<8>(angles, count, pairs);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void cosSinAvx512(const float* angles, int32_t count, float* pairs) {
    cosSinLoop<8>(angles, count, pairs);
}

void expSse2(const float* q, int32_t count, float* out) { expLoop<4>(q, count, out); }

__attribute__((target("avx2"))) void expAvx2(const float* q, int32_t count, float* out) { expLoop<8>(q, count, out); }

__attribute__((target(NUBBEL_AVX512_TARGET))) void expAvx512(const float* q, int32_t count, float* out) {
    expLoop<8>(q, count, out);
}

}  // namespace

void cosSinPairs(const float* angles, int32_t count, float* pairs, SimdLevel level) {
    simdVariant(level, cosSinSse2, cosSinAvx2, cosSinAvx512)(angles, count, pairs);
}

void expOfNegated(const float* q, int32_t count, float* out, SimdLevel level) {
    simdVariant(level, expSse2, expAvx2, expAvx512)(q, count, out);
}
