#include "first_generation/engine/first_gen_extended.h"

#include <cmath>
#include <limits>

#include "numerics/double_double.h"
#include "numerics/extended_precision.h"

namespace first_gen_extended {

namespace {

// pi/2 and ln2 in pieces: n times either of the first two is exact for the n
// met here (|n| <= 2 for phases, |n| <= 23 for exponents), so only the last
// piece errs (below 2^-150).
constexpr double kHalfPi[] = {0x1.921fb54442d18p+0, 0x1.1a62633145c00p-54, 0x1.b839a252049c1p-104};
constexpr double kLn2[] = {0x1.62e42fefa3800p-1, 0x1.ef35793c76800p-45, -0x1.9ff0342542fc3p-90};

int nearestInteger(double x) { return static_cast<int>(std::floor(x + 0.5)); }

// x - n * (p[0] + p[1] + p[2]), x = hi + lo, as a double-double.
dd::Value reduce(dd::Value x, int n, const double* pieces) {
    dd::Value r = dd::twoSum(x.hi, -n * pieces[0]);
    r = dd::add(r, x.lo);
    r = dd::add(r, -n * pieces[1]);
    return dd::add(r, -n * pieces[2]);
}

// Taylor series of e^r, cos r and sin r; |r| <= 0.8: 30 terms reach below
// 2^-110 relative.
constexpr int kSeriesTerms = 30;

dd::Value expSeries(dd::Value r) {
    dd::Value term = {1.0, 0.0};
    dd::Value sum = term;
    for (int i = 1; i <= kSeriesTerms; ++i) {
        term = dd::divide(dd::multiply(term, r), static_cast<double>(i));
        sum = dd::add(sum, term);
    }
    return sum;
}

// Both from one sequence of terms r^i / i!.
void cosSinSeries(dd::Value r, dd::Value* cosine, dd::Value* sine) {
    dd::Value term = {1.0, 0.0};
    dd::Value c = term;
    dd::Value s = {0.0, 0.0};
    for (int i = 1; i <= kSeriesTerms; ++i) {
        term = dd::divide(dd::multiply(term, r), static_cast<double>(i));
        const dd::Value signedTerm = (i / 2) % 2 == 0 ? term : dd::negate(term);
        if (i % 2 == 0)
            c = dd::add(c, signedTerm);
        else
            s = dd::add(s, signedTerm);
    }
    *cosine = c;
    *sine = s;
}

// hi + lo rounded once to 64 bits (the x87 adds exactly, then rounds).
long double toExtended(dd::Value v) { return static_cast<long double>(v.hi) + static_cast<long double>(v.lo); }

}  // namespace

long double expOfNegated(float q) {
    if (std::isnan(q)) return std::numeric_limits<long double>::quiet_NaN();
    ExtendedPrecision precision;
    const double x = -static_cast<double>(q);
    const int n = nearestInteger(x * 0x1.71547652b82fep+0);
    const dd::Value e = expSeries(reduce({x, 0.0}, n, kLn2));
    // 2^n is exact in either part (n >= -24).
    return toExtended({std::ldexp(e.hi, n), std::ldexp(e.lo, n)});
}

long double phaseOfState(uint32_t state) {
    ExtendedPrecision precision;
    constexpr long double kDivisor = 4294967291.0L;
    constexpr long double kTwoPi = 6.2831855L;
    return static_cast<long double>(static_cast<int32_t>(state)) / kDivisor * kTwoPi;
}

void cosSin(long double phase, long double* cosine, long double* sine) {
    ExtendedPrecision precision;
    // The 64-bit phase as an exact double-double.
    const double hi = static_cast<double>(phase);
    const double lo = static_cast<double>(phase - hi);
    const int quadrant = nearestInteger(hi * 0x1.45f306dc9c883p-1);
    dd::Value c, s;
    cosSinSeries(reduce({hi, lo}, quadrant, kHalfPi), &c, &s);
    // Quadrant q: (cos, sin) = (C, S), (-S, C), (-C, -S), (S, -C).
    switch (quadrant & 3) {
        case 0: break;
        case 1: {
            const dd::Value t = c;
            c = dd::negate(s);
            s = t;
            break;
        }
        case 2:
            c = dd::negate(c);
            s = dd::negate(s);
            break;
        default: {
            const dd::Value t = c;
            c = s;
            s = dd::negate(t);
            break;
        }
    }
    *cosine = toExtended(c);
    *sine = toExtended(s);
}

float profile(float q, float inverseWidth) {
    const long double e = expOfNegated(q);
    ExtendedPrecision precision;
    return static_cast<float>(e * static_cast<long double>(inverseWidth));
}

void phaseBin(uint32_t state, float amplitude, float* pair) {
    long double c, s;
    cosSin(phaseOfState(state), &c, &s);
    ExtendedPrecision precision;
    const long double a = amplitude;
    pair[0] = static_cast<float>(a * c);
    pair[1] = static_cast<float>(a * s);
}

}  // namespace first_gen_extended
