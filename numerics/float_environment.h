// The floating-point control state table generation runs under.
#pragma once

#include <xmmintrin.h>

// Sets the default SSE control state (round to nearest, no flush-to-zero, no
// denormals-are-zero, exceptions masked) for its lifetime and then restores
// the caller's. Hosts often enable flush-to-zero on their threads, which would
// change tables wherever a value is subnormal, and the generator's exact
// roundings depend on round-to-nearest. Reading and writing MXCSR are plain
// instructions, not system calls.
class DefaultFloatEnvironment {
public:
    DefaultFloatEnvironment() : saved_(_mm_getcsr()) { _mm_setcsr(kDefaultControl); }
    ~DefaultFloatEnvironment() { _mm_setcsr(saved_); }
    DefaultFloatEnvironment(const DefaultFloatEnvironment&) = delete;
    DefaultFloatEnvironment& operator=(const DefaultFloatEnvironment&) = delete;

private:
    static constexpr unsigned kDefaultControl = 0x1F80;
    unsigned saved_;
};
