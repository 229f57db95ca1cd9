// A reader's interpolated table reads for a run of sub-steps, worked out
// ahead of the serial part of the render (smoothing and ladders), which only
// consumes them.
#pragma once

#include <cstdint>

// out[s * stride] = TableOscillator::interpolate(table, position + s *
// increment) for s = 0..steps-1; returns the position after the last step (the
// 32-bit sum wraps as the reader's does). The stride lets the reads land
// straight in their lane of the lane layout: reading the x87's stores back
// soon after, to copy them there, costs more than the reads themselves.
// Inside ExtendedPrecision.
uint32_t readTable(const float* table, uint32_t position, uint32_t increment, float* out, int32_t stride,
                   int32_t steps);
