// Extended-precision to integer conversion that is defined for every input.
#pragma once

#include <cmath>
#include <cstdint>

// The low 32 bits of trunc(x), as the reader positions and increments are
// built. A plain cast is undefined once x leaves the target's range, and host
// values such as 1e30 or NaN reach those formulas; so huge values wrap modulo
// 2^32 as a wide integer would, and NaN or infinity give 0 (a reader that
// stands still). Run inside ExtendedPrecision.
inline uint32_t truncateWrappedExt(long double x) {
    if (!std::isfinite(x)) return 0;
    constexpr long double kTwoPow63 = 9223372036854775808.0L;
    constexpr long double kTwoPow32 = 4294967296.0L;
    long double whole = std::trunc(x);
    if (!(whole > -kTwoPow63 && whole < kTwoPow63)) whole = std::fmod(whole, kTwoPow32);  // exact
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(whole)));
}
