// The transcendental functions of the table generator, evaluated in double
// and rounded to float, with the same bits on every platform: each returns
// float(d), where d is the correctly rounded double result (what glibc gives
// for every input the generator can produce). A libm only promises d to within
// about an ulp, enough to move float(d) across a rounding midpoint (mingw's
// come from x87 instructions that are not specified to the last bit), so no
// libm is used here.
//
// How: a fast double evaluation (error a few double ulps) decides the float
// unless it lies within kMidpointMargin double ulps of a point halfway between
// two floats; only then a double-double evaluation (about 100 correct bits)
// decides. Both paths use plain IEEE double operations, no fused multiply-add.
#pragma once

#include <cstdint>
#include <cstring>

namespace rounded_math {

// Fast results closer than this many double ulps to a float rounding midpoint
// are recomputed. The fast evaluations stay within a few ulps; the margin is
// wide so that the fallback, not the margin, carries the exactness.
constexpr uint64_t kMidpointMargin = 1024;

// True when the double d, rounded to float, might round the other way if d
// moved by kMidpointMargin ulps: the 29 bits that float rounding discards are
// that close to their halfway pattern 1 << 28. Meaningful for d whose float
// is normal (all results of the generator's functions are).
inline bool nearFloatMidpoint(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    constexpr uint64_t kDiscarded = (uint64_t{1} << 29) - 1;
    constexpr uint64_t kHalfway = uint64_t{1} << 28;
    return ((bits - (kHalfway - kMidpointMargin)) & kDiscarded) < 2 * kMidpointMargin;
}

// Correctly rounded doubles, by double-double evaluation (slow; fallbacks).
double accurateCos(double x);   // |x| <= 8
double accurateSin(double x);   // |x| <= 8
double accurateExp(double x);   // -700 <= x <= 700
double accurateExp2(double y);  // -1000 <= y <= 1000, exact while the result is a normal double

// float(cos(x)), float(sin(x)) for |x| <= 8 (NaN outside).
float cosToFloat(double x);
float sinToFloat(double x);
// float(exp(x)) for every x, including infinities and NaN.
float expToFloat(double x);
// float(pow(2, y)) for every y, including infinities and NaN.
float exp2ToFloat(double y);

}  // namespace rounded_math
