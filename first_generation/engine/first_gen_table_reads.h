// The readers' interpolated table reads, worked out ahead of the serial part
// of the render (smoothing and ladders), which only consumes them. Each read
// is TableOscillator::interpolate(table, position) bit for bit, the position
// advancing by the reader's increment after each sub-step (the 32-bit sum
// wraps as the reader's does). Inside ExtendedPrecision, rounding to nearest
// in the SSE control register (the render's environment).
#pragma once

#include <cstdint>

constexpr int32_t kFirstGenReadLanes = 16;  // the lane layout's row length

// One reader's reads of `steps` sub-steps into out[0..steps-1]; returns the
// position after the last.
using FirstGenReadRun = uint32_t (*)(const float* table, uint32_t position, uint32_t increment, float* out,
                                     int32_t steps);

// The reads of the readers in lanes 0..laneCount-1 into rows[step][lane] for
// `steps` sub-steps, advancing positions[lane]. positions and increments hold
// kFirstGenReadLanes entries; lanes from laneCount on are left as they are.
using FirstGenReadRows = void (*)(const float* table, uint32_t* positions, const uint32_t* increments,
                                  int32_t laneCount, float (*rows)[kFirstGenReadLanes], int32_t steps);

struct FirstGenTableReads {
    FirstGenReadRun run;
    FirstGenReadRows rows;
};

// Every CPU: the long double interpolation itself, on the x87 unit.
extern const FirstGenTableReads kExtendedTableReads;

// SimdLevel::kAvx512 only: eight reads at a time in double arithmetic where it
// provably rounds as the long double does, the x87 for the rest.
extern const FirstGenTableReads kAvx512TableReads;
