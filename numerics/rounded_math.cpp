#include "numerics/rounded_math.h"

#include <cmath>
#include <limits>

#include "numerics/double_double.h"
#include "numerics/rounded_math_kernels.h"

namespace rounded_math {

namespace {

// pi/2 and ln2 in 33-bit pieces: n times a piece is exact for the small n
// that the reductions below produce, so only the last, rounded piece errs
// (below 2^-150 relative).
constexpr double kHalfPi1 = 0x1.921fb54400000p+0;
constexpr double kHalfPi2 = 0x1.0b4611a600000p-34;
constexpr double kHalfPi3 = 0x1.3198a2e000000p-69;
constexpr double kHalfPi4 = 0x1.b839a252049c1p-104;
constexpr double kLn2Piece1 = 0x1.62e42fef00000p-1;
constexpr double kLn2Piece2 = 0x1.473de6af00000p-34;
constexpr double kLn2Piece3 = 0x1.3c76730000000p-69;
constexpr double kLn2Piece4 = 0x1.f97b57a079a19p-103;
constexpr dd::Value kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// x - n * (p1 + p2 + p3 + p4) as a double-double.
dd::Value reduce(double x, double n, double p1, double p2, double p3, double p4) {
    dd::Value r = dd::twoSum(x, -n * p1);
    r = dd::add(r, -n * p2);
    r = dd::add(r, -n * p3);
    return dd::add(r, -n * p4);
}

// Taylor series; |r| <= pi/4 + a little: 15 terms reach below 2^-110.
dd::Value sinSeries(dd::Value r) {
    const dd::Value r2 = dd::multiply(r, r);
    dd::Value term = r;
    dd::Value sum = r;
    for (int i = 1; i <= 15; ++i) {
        term = dd::negate(dd::divide(dd::multiply(term, r2), static_cast<double>((2 * i) * (2 * i + 1))));
        sum = dd::add(sum, term);
    }
    return sum;
}

dd::Value cosSeries(dd::Value r) {
    const dd::Value r2 = dd::multiply(r, r);
    dd::Value term = {1.0, 0.0};
    dd::Value sum = term;
    for (int i = 1; i <= 15; ++i) {
        term = dd::negate(dd::divide(dd::multiply(term, r2), static_cast<double>((2 * i - 1) * (2 * i))));
        sum = dd::add(sum, term);
    }
    return sum;
}

// e^r for |r| <= 0.35 + a little: 27 terms reach below 2^-120.
dd::Value expSeries(dd::Value r) {
    dd::Value term = {1.0, 0.0};
    dd::Value sum = term;
    for (int i = 1; i <= 27; ++i) {
        term = dd::divide(dd::multiply(term, r), static_cast<double>(i));
        sum = dd::add(sum, term);
    }
    return sum;
}

// v * 2^n, exact while the result stays a normal double.
double scaleByPowerOfTwo(dd::Value v, int n) { return dd::roundToDouble({std::ldexp(v.hi, n), std::ldexp(v.lo, n)}); }

int nearestInteger(double x) { return static_cast<int>(std::floor(x + 0.5)); }

// Quadrant q of x = q * pi/2 + r: cos x is (C, -S, -C, S)[q], sin x is
// (S, C, -S, -C)[q], with C and S the series of r.
double accurateCosSin(double x, bool wantSin) {
    const int quadrant = nearestInteger(x * 0x1.45f306dc9c883p-1);
    const dd::Value r = reduce(x, quadrant, kHalfPi1, kHalfPi2, kHalfPi3, kHalfPi4);
    const int q = quadrant & 3;
    const bool useSinSeries = wantSin ? (q == 0 || q == 2) : (q == 1 || q == 3);
    const bool negative = wantSin ? (q >= 2) : (q == 1 || q == 2);
    const double value = dd::roundToDouble(useSinSeries ? sinSeries(r) : cosSeries(r));
    return negative ? -value : value;
}

}  // namespace

double accurateCos(double x) { return accurateCosSin(x, false); }
double accurateSin(double x) { return accurateCosSin(x, true); }

double accurateExp(double x) {
    const int n = nearestInteger(x * 0x1.71547652b82fep+0);
    const dd::Value r = reduce(x, n, kLn2Piece1, kLn2Piece2, kLn2Piece3, kLn2Piece4);
    return scaleByPowerOfTwo(expSeries(r), n);
}

double accurateExp2(double y) {
    const int n = nearestInteger(y);
    const double fraction = y - n;  // exact: y and n are within 1/2
    return scaleByPowerOfTwo(expSeries(dd::multiply(kLn2, fraction)), n);
}

namespace {

// The fast evaluations only stay exact where their reductions are exact.
constexpr double kFastTrigLimit = 3.9;
constexpr double kAccurateTrigLimit = 8.0;
constexpr float kNotANumber = std::numeric_limits<float>::quiet_NaN();

bool outsideTrigDomain(double x) { return !(std::fabs(x) <= kAccurateTrigLimit); }

float decide(double fast, double (*accurate)(double), double x) {
    return static_cast<float>(nearFloatMidpoint(fast) ? accurate(x) : fast);
}

}  // namespace

float cosToFloat(double x) {
    if (!(std::fabs(x) <= kFastTrigLimit))
        return outsideTrigDomain(x) ? kNotANumber : static_cast<float>(accurateCos(x));
    Lanes<2>::Double c, s;
    fastCosSin<2>(Lanes<2>::splat(x), c, s);
    return decide(c[0], accurateCos, x);
}

float sinToFloat(double x) {
    if (!(std::fabs(x) <= kFastTrigLimit))
        return outsideTrigDomain(x) ? kNotANumber : static_cast<float>(accurateSin(x));
    Lanes<2>::Double c, s;
    fastCosSin<2>(Lanes<2>::splat(x), c, s);
    return decide(s[0], accurateSin, x);
}

float expToFloat(double x) {
    if (std::isnan(x)) return kNotANumber;
    if (x > 89.0) return std::numeric_limits<float>::infinity();
    if (x < -104.0)  // e^x below half the smallest float subnormal
        return 0.0f;
    if (x < -87.0)  // float subnormal results: see exp2ToFloat
        return static_cast<float>(accurateExp(x));
    return decide(fastExp<2>(Lanes<2>::splat(x))[0], accurateExp, x);
}

float exp2ToFloat(double y) {
    if (std::isnan(y)) return static_cast<float>(y);
    // Beyond these the float result is +inf or +0 whatever the double was.
    if (y >= 129.0) return std::numeric_limits<float>::infinity();
    if (y <= -200.0) return 0.0f;
    // Results in the float subnormal range have coarser rounding steps than
    // the midpoint test assumes: decide them with the accurate double.
    if (y < -125.0) return static_cast<float>(accurateExp2(y));
    return decide(fastExp2<2>(Lanes<2>::splat(y))[0], accurateExp2, y);
}

}  // namespace rounded_math
