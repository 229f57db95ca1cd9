// One channel's reader of the first generation's looping wavetable.
#pragma once

#include <cstdint>

#include "first_generation/engine/extended_convert.h"
#include "numerics/shared_float.h"

// Reader state; the render advances it (first_gen_lanes.*). Position and
// increment are 16.16 fixed point in table samples; the integer part wraps at exactly 65,536, the table's loop, and the
// guard sample lets the interpolation read i + 1 without a test. The fraction uses the float nearest 1/65535 (the
// increments carry the matching 65535 scale). Each output sample takes two interpolated sub-steps, each through four
// one-pole smoothing stages s1..s4 with coefficient `smooth` (0..1: the fraction of the remaining distance a stage
// covers per sub-step), and sums the two smoothed values, so the output is about twice the table's level and an octave
// above the increment's nominal pitch. Interpolation rounds through long double (the caller holds ExtendedPrecision);
// the smoothing is float.
struct TableOscillator {
    static constexpr float kFractionScale = 1.5259022e-05f;

    uint32_t position = 0;
    SharedFloat startOffset = 0.0f;  // start as a fraction of the loop, 0..0.5; set with the width
    uint32_t increment = 0;          // added twice per output sample
    float smooth = 0.0f;
    float s1 = 0.0f, s2 = 0.0f, s3 = 0.0f, s4 = 0.0f;

    // Between t[i] and t[i + 1], each step rounded to a 64-bit significand.
    static float interpolate(const float* table, uint32_t i, float fraction) {
        const long double here = table[i];
        const long double next = table[i + 1];
        return static_cast<float>(here + (next - here) * static_cast<long double>(fraction));
    }
    static float interpolate(const float* table, uint32_t position) {
        return interpolate(table, position >> 16, static_cast<float>(position & 0xFFFFu) * kFractionScale);
    }
};

// 2 pi x 12 kHz over twice the host rate, the smoothing stages' coefficient.
// Above 1 each stage amplifies near Nyquist and above 2 they diverge, so rates
// below 37.7 kHz get 1 (the stages then pass their input); 44.1 kHz and up
// keep the formula.
inline float smoothingCoefficient(float sampleRate) {
    constexpr double kTwoPiTwelveKilohertz = 75398.22368615503;
    const float smooth = static_cast<float>(kTwoPiTwelveKilohertz / (2.0 * static_cast<double>(sampleRate)));
    return smooth > 1.0f ? 1.0f : smooth;
}

// The start position for a start offset: 65536 x offset x 0.5 x 65535 in
// long double, truncated (inside ExtendedPrecision).
inline uint32_t startPosition(float startOffset) {
    constexpr long double kLength = 65536.0L;
    constexpr long double kFixedPointOne = 65535.0L;
    return truncateWrappedExt(kLength * static_cast<long double>(startOffset) * 0.5L * kFixedPointOne);
}

// Table samples per sub-step for a frequency in Hz: the loop holds 256 cycles,
// and a sub-step is half an output sample. In long double, truncated (inside
// ExtendedPrecision).
inline uint32_t tableIncrement(float sampleRate, long double frequency) {
    constexpr long double kCyclesPerTable = 256.0L;
    constexpr long double kFixedPointOne = 65535.0L;
    return truncateWrappedExt(kCyclesPerTable / ((2.0L * static_cast<long double>(sampleRate)) / (2.0L * frequency)) *
                              kFixedPointOne);
}
