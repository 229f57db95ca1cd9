// Float-to-integer conversions that are defined for every input.
#pragma once

#include <cmath>
#include <cstdint>

// The low 32 bits of trunc(x), the conversion the oscillator positions and
// increments are built with. A plain cast is undefined once x leaves the
// target range, and host values such as 1e30 or NaN reach these formulas; so
// huge values wrap modulo 2^32 exactly as a wide integer would, and NaN or
// infinity give 0 (a reader that stands still).
inline uint32_t truncateWrapped32(double x) {
    if (!std::isfinite(x)) return 0;
    constexpr double kTwoPow63 = 9223372036854775808.0;
    constexpr double kTwoPow32 = 4294967296.0;
    double whole = std::trunc(x);
    if (!(whole > -kTwoPow63 && whole < kTwoPow63)) whole = std::fmod(whole, kTwoPow32);  // exact
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(whole)));
}

// trunc(x) clamped into lo..hi; NaN gives 0 (which callers keep inside lo..hi).
inline int32_t truncateClamped(float x, int32_t lo, int32_t hi) {
    if (x != x) return 0;
    if (x <= static_cast<float>(lo)) return lo;
    if (x >= static_cast<float>(hi)) return hi;
    return static_cast<int32_t>(x);
}
