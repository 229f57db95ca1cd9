// The first generation's generator rounds its exponential, phase, cosine and
// sine to a 64-bit significand (long double on every target we build) before
// the product is rounded to float. These are those results, correctly rounded
// and independent of the platform's libm (whose long double functions are not
// all correctly rounded, and differ between glibc and mingw): double-double
// series carry about 104 bits, and the x87 rounds them once to 64. Slow; the
// fast kernels call them only for the rare values they cannot decide.
//
// Every function sets the x87 to 64-bit precision, rounding to nearest, for
// its own duration, so the caller's control word does not matter.
#pragma once

#include <cstdint>

namespace first_gen_extended {

// e^-q rounded to 64 bits, for q in [0, 16]; NaN for NaN.
long double expOfNegated(float q);

// The phase of a state: ext(int32(state)) / 4294967291 * 6.2831855, each
// operation rounded to 64 bits (6.2831855 itself being the decimal rounded to
// 64 bits, not the float constant). Lies within [-3.15, 3.15].
long double phaseOfState(uint32_t state);

// cos and sin of a 64-bit phase with |phase| <= 4, each rounded to 64 bits.
void cosSin(long double phase, long double* cosine, long double* sine);

// float(ext(e^-q) * ext(inverseWidth)): a band's profile at q (q not cut off).
float profile(float q, float inverseWidth);

// pair[0], pair[1] = float(ext(amplitude) * cos), float(ext(amplitude) * sin)
// of the state's phase.
void phaseBin(uint32_t state, float amplitude, float* pair);

}  // namespace first_gen_extended
