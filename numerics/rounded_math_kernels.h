// The fast double evaluations behind rounded_math.h, for 2 to 8 lanes. Each
// stays within a few double ulps of the exact value on its domain; callers
// recompute lanes that nearFloatMidpointLanes() flags (see rounded_math.h).
#pragma once

#include "numerics/rounded_math.h"
#include "numerics/simd_vectors.h"

namespace rounded_math {

// Rounds to the nearest integer by adding 1.5 * 2^52: the sum's low mantissa
// bits then hold the integer, and the sum minus the constant is it as a double.
constexpr double kRoundingShift = 0x1.8p52;

// nearFloatMidpoint() lane by lane, on the low 32 bits of each double (the
// 29 discarded bits are among them), so that SSE2 has the compare it needs.
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Int32 nearFloatMidpointLanes(typename Lanes<W>::Double d) {
    using L = Lanes<W>;
    // Unsigned lanes: the subtraction is meant to wrap.
    typedef uint32_t Word __attribute__((vector_size(4 * W)));
    constexpr uint32_t kDiscarded = (uint32_t{1} << 29) - 1;
    constexpr uint32_t kHalfway = uint32_t{1} << 28;
    constexpr uint32_t kMargin = static_cast<uint32_t>(kMidpointMargin);
    const Word offset = ((Word)L::lowWords(L::bitsOf(d)) - (kHalfway - kMargin)) & kDiscarded;
    return (typename L::Int32)(offset < 2 * kMargin);
}

// 1/n! rounded to double.
constexpr double inverseFactorial(int n) { return n <= 1 ? 1.0 : inverseFactorial(n - 1) / n; }

// cos x and sin x for |x| <= 3.9 (phases in [-pi, pi] and a little beyond).
// x = n * pi/2 + r with n in -2..2: x - n * hi is exact (Sterbenz), so r carries
// only one rounding and pi/2's own error (about 1e-33) is negligible even next
// to the zeros of cos. Taylor series on |r| <= pi/4, truncated below 2^-54.
template <int W>
NUBBEL_ALWAYS_INLINE void fastCosSin(typename Lanes<W>::Double x, typename Lanes<W>::Double& cosOut,
                                     typename Lanes<W>::Double& sinOut) {
    using L = Lanes<W>;
    using Double = typename L::Double;
    using Int = typename L::Int;
    constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
    constexpr double kHalfPiHi = 0x1.921fb54442d18p+0;
    constexpr double kHalfPiLo = 0x1.1a62633145c07p-54;

    const Double shifted = x * kTwoOverPi + kRoundingShift;
    const Double n = shifted - kRoundingShift;
    const Int quadrant = L::bitsOf(shifted) - L::bitsOf(L::splat(kRoundingShift));
    const Double r = (x - n * kHalfPiHi) - n * kHalfPiLo;
    const Double z = r * r;

    // Both polynomials in z = r^2 go by Estrin's scheme (pairs, then pairs
    // of pairs) to keep the dependency chains short; the rounding differs
    // from Horner's only in the last bits, far inside the midpoint margin.
    const Double z2 = z * z;
    const Double z4 = z2 * z2;
    constexpr double s3 = -inverseFactorial(3), s5 = inverseFactorial(5), s7 = -inverseFactorial(7),
                     s9 = inverseFactorial(9), s11 = -inverseFactorial(11), s13 = inverseFactorial(13),
                     s15 = -inverseFactorial(15);
    const Double sinPoly = ((s3 + z * s5) + z2 * (s7 + z * s9)) + z4 * ((s11 + z * s13) + z2 * s15);
    const Double sinR = r + (r * z) * sinPoly;

    // 1 - z/2 carries the rounding of its subtraction in (1 - w) - z/2.
    constexpr double c4 = inverseFactorial(4), c6 = -inverseFactorial(6), c8 = inverseFactorial(8),
                     c10 = -inverseFactorial(10), c12 = inverseFactorial(12), c14 = -inverseFactorial(14),
                     c16 = inverseFactorial(16);
    const Double cosPoly = ((c4 + z * c6) + z2 * (c8 + z * c10)) + z4 * ((c12 + z * c14) + z2 * c16);
    const Double halfZ = 0.5 * z;
    const Double w = 1.0 - halfZ;
    const Double cosR = w + (((1.0 - w) - halfZ) + z2 * cosPoly);

    // Quadrant q: (cos, sin) = (C, S), (-S, C), (-C, -S), (S, -C) for q = 0..3.
    const Int swap = -(quadrant & 1);
    const Int signBit = L::bitsOf(L::splat(-0.0));
    using UInt = typename L::UInt;
    const Int cosSign = Int(UInt(quadrant + 1) << 62) & signBit;
    const Int sinSign = Int(UInt(quadrant) << 62) & signBit;
    const Int cosBits = (L::bitsOf(cosR) & ~swap) | (L::bitsOf(sinR) & swap);
    const Int sinBits = (L::bitsOf(sinR) & ~swap) | (L::bitsOf(cosR) & swap);
    cosOut = L::fromBits(cosBits ^ cosSign);
    sinOut = L::fromBits(sinBits ^ sinSign);
}

// e^x for -700 <= x <= 700: x = n * ln2 + r with ln2 split so that n * hi is
// exact; Taylor series of degree 13 on |r| <= ln2/2 (truncation below 2^-57);
// 2^n assembled in the exponent field.
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Double fastExp(typename Lanes<W>::Double x) {
    using L = Lanes<W>;
    using Double = typename L::Double;
    using Int = typename L::Int;
    constexpr double kInverseLn2 = 0x1.71547652b82fep+0;
    constexpr double kLn2Hi = 0x1.62e42fee00000p-1;  // 32 significant bits
    constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;

    const Double shifted = x * kInverseLn2 + kRoundingShift;
    const Double n = shifted - kRoundingShift;
    const Int exponent = L::bitsOf(shifted) - L::bitsOf(L::splat(kRoundingShift));
    const Double r = (x - n * kLn2Hi) - n * kLn2Lo;

    // Estrin's scheme, as in fastCosSin.
    const Double r2 = r * r;
    const Double r4 = r2 * r2;
    const Double r8 = r4 * r4;
    // Constants, as in fastCosSin: a call in a lambda is not folded in
    // instrumented builds (coverage, sanitizers) and recursed for every sample.
    constexpr double c0 = inverseFactorial(0), c1 = inverseFactorial(1), c2 = inverseFactorial(2),
                     c3 = inverseFactorial(3), c4 = inverseFactorial(4), c5 = inverseFactorial(5),
                     c6 = inverseFactorial(6), c7 = inverseFactorial(7), c8 = inverseFactorial(8),
                     c9 = inverseFactorial(9), c10 = inverseFactorial(10), c11 = inverseFactorial(11),
                     c12 = inverseFactorial(12), c13 = inverseFactorial(13);
    const Double low = ((c0 + r * c1) + r2 * (c2 + r * c3)) + r4 * ((c4 + r * c5) + r2 * (c6 + r * c7));
    const Double high = ((c8 + r * c9) + r2 * (c10 + r * c11)) + r4 * (c12 + r * c13);
    const Double p = low + r8 * high;
    return p * L::fromBits(Int(typename L::UInt(exponent + 1023) << 52));
}

// 2^y for -1000 <= y <= 1000: 2^n * e^(f * ln2) with n the nearest integer and
// f = y - n exact; f * ln2 adds one rounding, well inside the margin.
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Double fastExp2(typename Lanes<W>::Double y) {
    using L = Lanes<W>;
    using Double = typename L::Double;
    constexpr double kLn2 = 0x1.62e42fefa39efp-1;
    const Double shifted = y + kRoundingShift;
    const Double n = shifted - kRoundingShift;
    const typename L::Int exponent = L::bitsOf(shifted) - L::bitsOf(L::splat(kRoundingShift));
    const Double fraction = fastExp<W>((y - n) * kLn2);
    return fraction * L::fromBits(typename L::Int(typename L::UInt(exponent + 1023) << 52));
}

// float(cos(angle)) and float(sin(angle)) of W angles, exactly as
// cosToFloat and sinToFloat.
template <int W>
NUBBEL_ALWAYS_INLINE void cosSinLanes(typename Lanes<W>::Float angles, typename Lanes<W>::Float& cosines,
                                      typename Lanes<W>::Float& sines) {
    using L = Lanes<W>;
    constexpr float kFastLimit = 3.9f;
    const typename L::Double x = L::widen(angles);
    typename L::Double c, s;
    fastCosSin<W>(x, c, s);
    cosines = L::narrow(c);
    sines = L::narrow(s);
    // Rare: a result next to a float rounding midpoint, or an angle outside
    // the fast reduction's range (NaN included).
    const typename L::Int32 recompute = nearFloatMidpointLanes<W>(c) | nearFloatMidpointLanes<W>(s) |
                                        ~(angles <= kFastLimit) | ~(angles >= -kFastLimit);
    if (__builtin_expect(L::any(recompute), 0)) {
        for (int i = 0; i < W; ++i) {
            if (recompute[i]) {
                cosines[i] = rounded_math::cosToFloat(angles[i]);
                sines[i] = rounded_math::sinToFloat(angles[i]);
            }
        }
    }
}

// float(exp(-q)) of W values q in [0, 14.72] (the band profile's range),
// exactly as expToFloat(-q).
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Float expOfNegatedLanes(typename Lanes<W>::Float q) {
    using L = Lanes<W>;
    const typename L::Double exponent = -L::widen(q);
    const typename L::Double e = fastExp<W>(exponent);
    typename L::Float rounded = L::narrow(e);
    const typename L::Int32 recompute = nearFloatMidpointLanes<W>(e);
    if (__builtin_expect(L::any(recompute), 0)) {
        for (int i = 0; i < W; ++i)
            if (recompute[i]) rounded[i] = expToFloat(exponent[i]);
    }
    return rounded;
}

}  // namespace rounded_math
