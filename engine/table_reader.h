// One channel's reader of the looping wavetable.
#pragma once

#include <cstdint>

#include "numerics/shared_float.h"

// Position and increment are 16.16 fixed point in table samples. The position
// is 32 unsigned bits whose integer part wraps at exactly 65,536, the table's
// loop, so the wrap costs nothing; the table's guard sample at 65,536 lets the
// interpolation read i + 1 without a test. The fraction uses the float nearest
// 1/65535 (the increments are scaled by 65535 to match), and the interpolation
// is evaluated in double and stored as float.
struct TableReader {
    static constexpr float kFractionScale = 1.5259022e-05f;
    // One table sample in the fixed point of increments and start positions:
    // 65535, not 65536, to match kFractionScale.
    static constexpr double kFixedPointOne = 65535.0;

    uint32_t position = 0;
    // Fraction of the table the note starts at (left channel only); follows
    // the width on the thread that changes it.
    SharedFloat startOffset = 0.0f;
    int32_t increment = 0;

    float read(const float* table) const {
        const uint32_t index = position >> 16;
        const float fraction = static_cast<float>(position & 0xFFFFu) * kFractionScale;
        const double here = table[index];
        const double next = table[index + 1];
        return static_cast<float>(here + (next - here) * static_cast<double>(fraction));
    }

    void advance() { position += static_cast<uint32_t>(increment); }
};
