// Storing two lane vectors as interleaved pairs (a0, b0, a1, b1, ...).
#pragma once

#include "numerics/simd_vectors.h"

// Lane i of the result takes element i / 2 of a (even i) or of b (odd i),
// counting from element `first`.
template <int W>
constexpr NUBBEL_ALWAYS_INLINE typename Lanes<W>::Int32 interleaveMask(int first) {
    typename Lanes<W>::Int32 mask{};
    for (int i = 0; i < W; ++i) mask[i] = (i % 2 == 0) ? first + i / 2 : W + first + i / 2;
    return mask;
}

template <int W>
NUBBEL_ALWAYS_INLINE void storeInterleaved(float* pairs, typename Lanes<W>::Float a, typename Lanes<W>::Float b) {
    Lanes<W>::storeFloats(pairs, __builtin_shuffle(a, b, interleaveMask<W>(0)));
    Lanes<W>::storeFloats(pairs + W, __builtin_shuffle(a, b, interleaveMask<W>(W / 2)));
}
