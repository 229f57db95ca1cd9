// A host thread's floating-point control settings, set and read the way a
// host's audio thread has them, for tests that check the instruments neither
// change them nor depend on them.
#pragma once

#include <xmmintrin.h>

#include <cstdint>

#include "numerics/extended_precision.h"
#include "numerics/float_environment.h"

namespace host_float {

struct Settings {
    unsigned mxcsr;  // SSE: rounding, flush-to-zero, denormals-are-zero, exception masks
    uint16_t x87;    // x87 control word: precision and rounding
};

inline bool operator==(const Settings& a, const Settings& b) { return a.mxcsr == b.mxcsr && a.x87 == b.x87; }

// MXCSR bits 0-5 are sticky exception flags that any arithmetic may raise;
// the rest is the control the host chose.
constexpr unsigned kMxcsrControlBits = 0xFFC0;

inline Settings current() { return Settings{_mm_getcsr() & kMxcsrControlBits, ExtendedPrecision::readControl()}; }

// Holds `settings` on the calling thread for its scope, then restores the previous ones.
class Scoped {
public:
    explicit Scoped(const Settings& settings) : saved_{_mm_getcsr(), ExtendedPrecision::readControl()} {
        _mm_setcsr(settings.mxcsr);
        ExtendedPrecision::writeControl(settings.x87);
    }
    ~Scoped() {
        _mm_setcsr(saved_.mxcsr);
        ExtendedPrecision::writeControl(saved_.x87);
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    Settings saved_;
};

constexpr unsigned kRoundTowardZero = 0x6000;
constexpr uint16_t kX87Extended = 0x037F;    // 64-bit precision, to nearest: Linux, 64-bit Windows
constexpr uint16_t kX87Double = 0x027F;      // 53-bit precision: threads on 32-bit Windows
constexpr uint16_t kX87TowardZero = 0x0F7F;  // 64-bit precision, toward zero

constexpr Settings kPlain{kDefaultFloatControl, kX87Extended};
constexpr Settings kFlushing{kDefaultFloatControl | kFlushToZero | kDenormalsAreZero, kX87Extended};

// Settings host audio threads run with, plain first.
constexpr Settings kHostSettings[] = {
    kPlain,
    kFlushing,
    {kDefaultFloatControl | kFlushToZero, kX87Double},
    {kDefaultFloatControl | kRoundTowardZero | kDenormalsAreZero, kX87TowardZero},
};

}  // namespace host_float
