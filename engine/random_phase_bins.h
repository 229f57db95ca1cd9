// The complex spectrum of a table: amplitudes with random phases, for any
// phase formula. Include from the .cpp file that instantiates randomPhaseBins
// for its law; each instruction set gets its own copy of the loop.
//
// A PhaseLaw is a type with three static functions; `state` is the phase
// state read as a signed 32-bit integer:
//
//   template <int W> static NUBBEL_ALWAYS_INLINE void
//   binLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float amplitudes,
//            typename Lanes<W>::Float& re, typename Lanes<W>::Float& im);
//       every lane's bin; always inline, since it runs inside code compiled
//       for a wider instruction set;
//   template <int W> static NUBBEL_ALWAYS_INLINE void
//   zeroBinLanes(typename Lanes<W>::Int32 states, typename Lanes<W>::Float& re,
//                typename Lanes<W>::Float& im);
//       the same where every amplitude is +0, which leaves only the signs of
//       the cosine and the sine to find;
//   static void bin(int32_t state, float amplitude, float& re, float& im);
//       one bin (the tail of the array).
//
// Lane i of binLanes and zeroBinLanes must equal bin(states[i], ...) bit for
// bit; then every SimdLevel gives the same spectrum.
#pragma once

#include <cstdint>

#include "engine/phase_generator.h"
#include "numerics/simd_interleave.h"
#include "numerics/simd_level.h"
#include "numerics/simd_vectors.h"

namespace random_phase_loop {

// The serial state recurrence runs inside the vector loop, where its latency
// hides behind the law's polynomials.
template <int W, class PhaseLaw>
NUBBEL_ALWAYS_INLINE uint32_t binsLoop(uint32_t state, const float* amplitudes, int32_t count, float* pairs) {
    using L = Lanes<W>;
    using Float = typename L::Float;
    using Int32 = typename L::Int32;
    int32_t j = 0;
    for (; j + W <= count; j += W) {
        Int32 states;
#pragma GCC unroll 16
        for (int i = 0; i < W; ++i) {
            state = nextPhaseState(state);
            states[i] = static_cast<int32_t>(state);
        }
        const Float a = L::loadFloats(amplitudes + j);
        Float re, im;
        if (L::any((Int32)a != 0))
            PhaseLaw::template binLanes<W>(states, a, re, im);
        else
            PhaseLaw::template zeroBinLanes<W>(states, re, im);
        storeInterleaved<W>(pairs + 2 * j, re, im);
    }
    for (; j < count; ++j) {
        state = nextPhaseState(state);
        PhaseLaw::bin(static_cast<int32_t>(state), amplitudes[j], pairs[2 * j], pairs[2 * j + 1]);
    }
    return state;
}

template <class PhaseLaw>
uint32_t binsSse2(uint32_t state, const float* amplitudes, int32_t count, float* pairs) {
    return binsLoop<4, PhaseLaw>(state, amplitudes, count, pairs);
}

// Eight lanes on both wide levels: two registers' worth of doubles per step
// is enough independent work to hide the polynomial chains.
template <class PhaseLaw>
__attribute__((target("avx2"))) uint32_t binsAvx2(uint32_t state, const float* amplitudes, int32_t count,
                                                  float* pairs) {
    return binsLoop<8, PhaseLaw>(state, amplitudes, count, pairs);
}

template <class PhaseLaw>
__attribute__((target(NUBBEL_AVX512_TARGET))) uint32_t binsAvx512(uint32_t state, const float* amplitudes,
                                                                  int32_t count, float* pairs) {
    return binsLoop<8, PhaseLaw>(state, amplitudes, count, pairs);
}

}  // namespace random_phase_loop

// With s_j the state j + 1 steps after `state` (nextPhaseState), the bin of
// amplitudes[j] at s_j into pairs[2j] (real) and pairs[2j + 1] (imaginary);
// returns the last state. Blocks whose amplitudes are all +0 take the law's
// zeroBinLanes.
template <class PhaseLaw>
uint32_t randomPhaseBins(uint32_t state, const float* amplitudes, int32_t count, float* pairs,
                         SimdLevel level = bestSimdLevel()) {
    using namespace random_phase_loop;
    return simdVariant(level, binsSse2<PhaseLaw>, binsAvx2<PhaseLaw>, binsAvx512<PhaseLaw>)(state, amplitudes, count,
                                                                                            pairs);
}
