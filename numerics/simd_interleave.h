// Storing two lane vectors as interleaved pairs (a0, b0, a1, b1, ...).
#pragma once

#include "numerics/simd_vectors.h"

// Lane i of the result takes element i / 2 of a (even i) or of b (odd i),
// counting from element First.
template <int W, int First>
struct Interleaving {
    static constexpr int index(int i) { return (i % 2 == 0) ? First + i / 2 : W + First + i / 2; }
};

template <int W>
NUBBEL_ALWAYS_INLINE void storeInterleaved(float* pairs, typename Lanes<W>::Float a, typename Lanes<W>::Float b) {
    Lanes<W>::storeFloats(pairs, shuffleLanes<Interleaving<W, 0>, W>(a, b));
    Lanes<W>::storeFloats(pairs + W, shuffleLanes<Interleaving<W, W / 2>, W>(a, b));
}
