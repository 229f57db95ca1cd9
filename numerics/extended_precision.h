// Extended-precision arithmetic that does not depend on the calling thread.
#pragma once

#include <cstdint>
#include <limits>

// The first generation's exact reading rounds certain intermediate results to
// a 64-bit significand (long double on every target we build: x86-64 Linux and
// both mingw-w64 targets use the x87 80-bit format).
static_assert(std::numeric_limits<long double>::digits == 64, "long double must have a 64-bit significand");

// Sets the x87 precision control to 64 bits and rounding to nearest for its
// lifetime, then restores the caller's control word. 32-bit Windows starts
// threads at 53-bit precision, and a host may have changed either field; any
// long double arithmetic whose result matters runs inside one of these.
// Reading and writing the control word are plain instructions.
class ExtendedPrecision {
public:
    ExtendedPrecision() : saved_(readControl()) {
        constexpr uint16_t kPrecisionAndRounding = 0x0F00;  // bits 8-9 precision, 10-11 rounding
        constexpr uint16_t kSixtyFourBitsToNearest = 0x0300;
        writeControl(uint16_t((saved_ & ~kPrecisionAndRounding) | kSixtyFourBitsToNearest));
    }
    ~ExtendedPrecision() { writeControl(saved_); }
    ExtendedPrecision(const ExtendedPrecision&) = delete;
    ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

    static uint16_t readControl() {
        uint16_t control;
        __asm__ __volatile__("fnstcw %0" : "=m"(control));
        return control;
    }
    static void writeControl(uint16_t control) { __asm__ __volatile__("fldcw %0" : : "m"(control)); }

private:
    uint16_t saved_;
};
