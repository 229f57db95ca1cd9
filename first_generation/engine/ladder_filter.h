// The first generation's voice filter: a four-pole ladder low-pass per channel.
#pragma once

#include <cmath>

// Written once for a float and for GCC vectors of floats (the lane kernels);
// always inlined, so that each kernel's instruction set compiles them. Wide
// vectors go in and out by reference: clang refuses a call that passes them by
// value from a kernel's instruction set to code compiled without it.

// |x| for a float or for a GCC vector of floats (sign bits cleared).
template <class V>
struct MagnitudeOf {
    __attribute__((always_inline)) static V of(V x) {
        using Bits = decltype(x < x);
        return (V)((Bits)x & 0x7FFFFFFF);
    }
};
template <>
struct MagnitudeOf<float> {
    static float of(float x) { return std::fabs(x); }
};

// Coefficients from a cutoff control c (clamped to -1..1 on the way in):
// f is the stage gain, k the stage feedback, r the resonance feedback from the
// last stage; d = 1 - c shapes the resonance so that it grows as the cutoff
// falls. Float arithmetic in the order written, per lane for vectors.
template <class V>
struct LadderCoefficientsOf {
    V r{}, f{}, k{};

    __attribute__((always_inline)) static LadderCoefficientsOf forControl(const V& control) {
        const V one = V{} + 1.0f;
        const V c = (MagnitudeOf<V>::of(control + one) - MagnitudeOf<V>::of(control - one)) * 0.5f;
        const V d = one - c;
        LadderCoefficientsOf out;
        out.f = (d * 0.8f + one) * c;
        out.k = out.f * 2.0f - one;
        out.r = ((d * d * 5.6f + (one - d)) * d * 0.5f + one) * 0.089f;
        return out;
    }
};
using LadderCoefficients = LadderCoefficientsOf<float>;

// One channel: x1 is the previous stage input, y1..y4 the stage outputs (the
// output is y4). Each stage is a bilinear one-pole: y' = (in + in_prev) f - k y.
template <class V>
struct LadderStateOf {
    V x1{}, y1{}, y2{}, y3{}, y4{};

    // Replaces the input with the output.
    __attribute__((always_inline)) void process(V& signal, const LadderCoefficientsOf<V>& c) {
        const V x = signal - c.r * y4;
        const V n1 = (x + x1) * c.f - c.k * y1;
        const V n2 = (y1 + n1) * c.f - c.k * y2;
        const V n3 = (y2 + n2) * c.f - c.k * y3;
        const V n4 = (y3 + n3) * c.f - c.k * y4;
        x1 = x;
        y1 = n1;
        y2 = n2;
        y3 = n3;
        y4 = n4;
        signal = n4;
    }
};
using LadderState = LadderStateOf<float>;
