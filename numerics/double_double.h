// Double-double arithmetic: a value hi + lo with |lo| <= ulp(hi)/2, about 106
// significant bits. Used only where a float result must be rounded exactly and
// the double evaluation cannot decide, so it favours clarity over speed.
// Needs IEEE double arithmetic without contraction (-ffp-contract=off) and
// without x87 extended precision (SSE2), as every target of this build has.
#pragma once

namespace dd {

struct Value {
    double hi;
    double lo;
};

// a + b exactly as hi + lo (Knuth).
inline Value twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    const double err = (a - (s - bb)) + (b - bb);
    return {s, err};
}

// a + b exactly, valid when |a| >= |b| or a == 0 (Dekker).
inline Value quickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly as hi + lo, by Dekker's splitting (no fused multiply-add, so
// every target computes the same bits).
inline Value twoProduct(double a, double b) {
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double ca = kSplitter * a;
    const double aHi = ca - (ca - a);
    const double aLo = a - aHi;
    const double cb = kSplitter * b;
    const double bHi = cb - (cb - b);
    const double bLo = b - bHi;
    const double p = a * b;
    const double err = ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo;
    return {p, err};
}

inline Value add(Value a, Value b) {
    Value s = twoSum(a.hi, b.hi);
    const Value t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = quickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return quickTwoSum(s.hi, s.lo);
}

inline Value add(Value a, double b) {
    Value s = twoSum(a.hi, b);
    s.lo += a.lo;
    return quickTwoSum(s.hi, s.lo);
}

inline Value negate(Value a) { return {-a.hi, -a.lo}; }

inline Value multiply(Value a, Value b) {
    Value p = twoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quickTwoSum(p.hi, p.lo);
}

inline Value multiply(Value a, double b) {
    Value p = twoProduct(a.hi, b);
    p.lo += a.lo * b;
    return quickTwoSum(p.hi, p.lo);
}

inline Value divide(Value a, double b) {
    const double q1 = a.hi / b;
    const Value p = twoProduct(q1, b);
    const double remainder = ((a.hi - p.hi) - p.lo) + a.lo;
    return quickTwoSum(q1, remainder / b);
}

// The double nearest to hi + lo.
inline double roundToDouble(Value a) { return a.hi + a.lo; }

}  // namespace dd
