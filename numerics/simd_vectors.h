// Lane types for the generator's vector kernels, written once with GCC vector
// extensions and instantiated for 2, 4 or 8 lanes (scalar uses take lane 0 of
// 2). The same source compiled inside a function with a target attribute
// (AVX2, AVX-512) uses those registers; every lane computes exactly what the
// scalar code would.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

#define NUBBEL_ALWAYS_INLINE inline __attribute__((always_inline))

// The kernels are always inlined into functions compiled for their width, so
// the calling-convention notes about wide vectors do not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

// Lane i of the result is lane Pattern::index(i) of a and b laid end to end.
// Both compilers' shuffle builtin wants the indices as constants, so the
// pattern is a type and the indices expand from it.
template <class Pattern, class V, int... I>
NUBBEL_ALWAYS_INLINE V shuffleLanes(V a, V b, std::integer_sequence<int, I...>) {
    return __builtin_shufflevector(a, b, Pattern::index(I)...);
}

template <class Pattern, int W, class V>
NUBBEL_ALWAYS_INLINE V shuffleLanes(V a, V b) {
    return shuffleLanes<Pattern>(a, b, std::make_integer_sequence<int, W>());
}

template <int W>
struct LaneTypes {
    static_assert(W >= 2, "GCC treats one-lane vectors as scalars");
    typedef double Double __attribute__((vector_size(8 * W)));
    typedef int64_t Int __attribute__((vector_size(8 * W)));
    typedef uint64_t UInt __attribute__((vector_size(8 * W)));
    typedef float Float __attribute__((vector_size(4 * W)));
    typedef int32_t Int32 __attribute__((vector_size(4 * W)));
};

template <int W>
struct Lanes {
    static constexpr int kWidth = W;
    using Double = typename LaneTypes<W>::Double;
    using Int = typename LaneTypes<W>::Int;
    using UInt = typename LaneTypes<W>::UInt;
    using Float = typename LaneTypes<W>::Float;
    using Int32 = typename LaneTypes<W>::Int32;

    static NUBBEL_ALWAYS_INLINE Float loadFloats(const float* p) {
        Float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static NUBBEL_ALWAYS_INLINE void storeFloats(float* p, Float v) { std::memcpy(p, &v, sizeof v); }
    static NUBBEL_ALWAYS_INLINE Double widen(Float v) { return __builtin_convertvector(v, Double); }
    static NUBBEL_ALWAYS_INLINE Float narrow(Double v) { return __builtin_convertvector(v, Float); }
    // Lane by lane: adding x to a zero vector would turn -0.0 into +0.0.
    static NUBBEL_ALWAYS_INLINE Double splat(double x) {
        Double v;
#pragma GCC unroll 16
        for (int i = 0; i < W; ++i) v[i] = x;
        return v;
    }
    static NUBBEL_ALWAYS_INLINE Float splatFloat(float x) {
        Float v;
#pragma GCC unroll 16
        for (int i = 0; i < W; ++i) v[i] = x;
        return v;
    }
    static NUBBEL_ALWAYS_INLINE Int bitsOf(Double v) { return (Int)v; }
    static NUBBEL_ALWAYS_INLINE Double fromBits(Int v) { return (Double)v; }

    // Bitwise lane selection: mask lanes are all ones (take a) or zero (take b).
    // Plain bit operations, which every width lowers to vector instructions
    // (GCC turns a vector ?: into per-lane branches on some widths).
    static NUBBEL_ALWAYS_INLINE Float selectFloat(Int32 mask, Float a, Float b) {
        return (Float)(((Int32)a & mask) | ((Int32)b & ~mask));
    }

    // The low 32 bits of every 64-bit lane.
    static NUBBEL_ALWAYS_INLINE Int32 lowWords(Int v) { return __builtin_convertvector(v, Int32); }

    // True when any lane of a mask is set, by halving folds.
    static NUBBEL_ALWAYS_INLINE bool any(Int32 mask) { return foldOr<W / 2>(mask)[0] != 0; }

private:
    template <int By>
    struct Rotation {
        static constexpr int index(int i) { return (i + By) % W; }
    };

    // Inlined like every helper here: called out of line, a wide vector would
    // cross between code compiled for different targets with different
    // calling conventions (unoptimised builds do not inline on their own).
    template <int Half>
    static NUBBEL_ALWAYS_INLINE Int32 foldOr(Int32 mask) {
        mask |= shuffleLanes<Rotation<Half>, W>(mask, mask);
        if constexpr (Half > 1) {
            return foldOr<Half / 2>(mask);
        } else {
            return mask;
        }
    }
};
