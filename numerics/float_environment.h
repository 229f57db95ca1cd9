// The floating-point control states table generation and the render run under.
#pragma once

#include <xmmintrin.h>

// Holds the SSE control register (MXCSR) at `Control` for its lifetime and
// then restores the caller's, so that no result depends on what the host's
// thread had set. Reading and writing MXCSR are plain instructions, not
// system calls.
template <unsigned Control>
class ScopedFloatControl {
public:
    ScopedFloatControl() : saved_(_mm_getcsr()) { _mm_setcsr(Control); }
    ~ScopedFloatControl() { _mm_setcsr(saved_); }
    ScopedFloatControl(const ScopedFloatControl&) = delete;
    ScopedFloatControl& operator=(const ScopedFloatControl&) = delete;

private:
    unsigned saved_;
};

// Round to nearest, every exception masked, subnormals kept.
constexpr unsigned kDefaultFloatControl = 0x1F80;
constexpr unsigned kFlushToZero = 0x8000;       // subnormal results become 0
constexpr unsigned kDenormalsAreZero = 0x0040;  // subnormal operands read as 0

// Table generation: the default state. Hosts often enable flush-to-zero on
// their threads, which would change tables wherever a value is subnormal, and
// the generator's exact roundings depend on round-to-nearest.
using DefaultFloatEnvironment = ScopedFloatControl<kDefaultFloatControl>;

// The render: round to nearest with flush-to-zero and denormals-are-zero.
// Decays towards 0 (envelopes, filter states) would otherwise end in the
// subnormal range, where each operation costs many times a normal one and a
// held note slows down mid-note. Only values below the smallest normal float
// are affected, and they are inaudible.
using RenderFloatEnvironment = ScopedFloatControl<kDefaultFloatControl | kFlushToZero | kDenormalsAreZero>;
