// A cheap 2^x for the pitch wheel.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// The integer part of x goes straight into the float's exponent field and a
// cubic in the fraction u fills the mantissa: u * (u * (u * 0.079 + 0.225) +
// 0.696) runs from 0 at u = 0 to 1 at u = 1, so the curve is continuous and
// exact at whole x (fastExp2(0) is exactly 1). Within about 0.2 % of 2^x.
// Float arithmetic in the order written. NaN counts as 0 and x is kept in
// -126..127, where the bit pattern stays a normal float and the conversion to
// an integer is defined.
inline float fastExp2(float x) {
    constexpr float kLowest = -126.0f;
    constexpr float kHighest = 127.0f;
    constexpr float kMantissaScale = 8388608.0f;    // 2^23
    constexpr float kExponentBias = 1065353216.0f;  // bit pattern of 1.0f
    if (x != x) x = 0.0f;
    if (x < kLowest) x = kLowest;
    if (x > kHighest) x = kHighest;
    const float whole = std::floor(x);
    const float u = x - whole;
    const float pattern = (u * (u * (u * 0.079f + 0.225f) + 0.696f) + whole) * kMantissaScale + kExponentBias;
    const int32_t bits = static_cast<int32_t>(pattern);
    float result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

// The wheel's bend -1..1 as a frequency factor, an octave each way. Values
// outside -1..1 are held there; NaN counts as the centre.
inline float bendFactorFor(float bend) {
    if (bend != bend) bend = 0.0f;
    if (bend < -1.0f) bend = -1.0f;
    if (bend > 1.0f) bend = 1.0f;
    return fastExp2(bend);
}
