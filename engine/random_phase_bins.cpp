#include "engine/random_phase_bins.h"

#include "engine/phase_generator.h"
#include "numerics/rounded_math.h"
#include "numerics/rounded_math_kernels.h"
#include "numerics/simd_interleave.h"

namespace {

template <int W>
NUBBEL_ALWAYS_INLINE uint32_t binsLoop(uint32_t state, const float* amplitudes, int32_t count, float* pairs) {
    using L = Lanes<W>;
    using Float = typename L::Float;
    using Int32 = typename L::Int32;
    constexpr float kAboveHalfPi = 0x1.921fb6p+0f;  // the smallest float above pi/2
    int32_t j = 0;
    for (; j + W <= count; j += W) {
        Int32 signedStates;
#pragma GCC unroll 16
        for (int i = 0; i < W; ++i) {
            state = nextPhaseState(state);
            signedStates[i] = static_cast<int32_t>(state);
        }
        // phaseOfState, lane by lane: the same float operations in the same order.
        const Float phases = __builtin_convertvector(signedStates, Float) * kPhaseStateScale * kPhaseTurn;
        const Float a = L::loadFloats(amplitudes + j);
        if (L::any((Int32)a != 0)) {
            Float cosines, sines;
            rounded_math::cosSinLanes<W>(phases, cosines, sines);
            storeInterleaved<W>(pairs + 2 * j, a * cosines, a * sines);
        } else {
            // cos is negative beyond +-pi/2 (no float phase lies within 4e-8 of
            // it, and float(cos) is never 0 there); sin has the phase's sign.
            const Int32 cosNegative = (phases >= kAboveHalfPi) | (phases <= -kAboveHalfPi);
            const Float signBit = L::splatFloat(-0.0f);
            const Float cosZero = L::selectFloat(cosNegative, signBit, L::splatFloat(0.0f));
            const Float sinZero = (Float)((Int32)phases & (Int32)signBit);
            storeInterleaved<W>(pairs + 2 * j, cosZero, sinZero);
        }
    }
    for (; j < count; ++j) {
        state = nextPhaseState(state);
        const float phase = phaseOfState(state);
        pairs[2 * j] = amplitudes[j] * rounded_math::cosToFloat(phase);
        pairs[2 * j + 1] = amplitudes[j] * rounded_math::sinToFloat(phase);
    }
    return state;
}

// Eight lanes on the wide levels: two registers' worth of doubles per step,
// enough independent work to hide the polynomial chains.
uint32_t binsSse2(uint32_t state, const float* amplitudes, int32_t count, float* pairs) {
    return binsLoop<4>(state, amplitudes, count, pairs);
}

__attribute__((target("avx2"))) uint32_t binsAvx2(uint32_t state, const float* amplitudes, int32_t count,
                                                  float* pairs) {
    return binsLoop<8>(state, amplitudes, count, pairs);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) uint32_t binsAvx512(uint32_t state, const float* amplitudes,
                                                                  int32_t count, float* pairs) {
    return binsLoop<8>(state, amplitudes, count, pairs);
}

}  // namespace

uint32_t randomPhaseBins(uint32_t state, const float* amplitudes, int32_t count, float* pairs, SimdLevel level) {
    return simdVariant(level, binsSse2, binsAvx2, binsAvx512)(state, amplitudes, count, pairs);
}
