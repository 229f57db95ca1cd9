#include "first_generation/engine/first_gen_table_reads.h"

#include <cstring>

#include "first_generation/engine/table_oscillator.h"

namespace {

// Four positions at a time, on the baseline vectors of every target.
typedef uint32_t U4 __attribute__((vector_size(16)));
typedef int32_t I4 __attribute__((vector_size(16)));
typedef float F4 __attribute__((vector_size(16)));

constexpr int32_t kStepsPerPass = 64;  // bounds the index and fraction arrays

// Indices and fractions first, four at a time, so that the x87 loop only
// loads, interpolates and stores. The reads go straight to out[step * stride]:
// reading the x87's stores back soon after, to copy them into the lane
// layout, costs more than the reads themselves.
uint32_t readStrided(const float* table, uint32_t position, uint32_t increment, float* out, int32_t stride,
                     int32_t steps) {
    uint32_t positions[kStepsPerPass];
    float fraction[kStepsPerPass];
    for (int32_t done = 0; done < steps; done += kStepsPerPass) {
        const int32_t pass = steps - done < kStepsPerPass ? steps - done : kStepsPerPass;
        U4 at = U4{0, 1, 2, 3} * increment + position;
        const U4 fourSteps = U4{} + 4 * increment;
        for (int32_t step = 0; step < pass; step += 4) {
            std::memcpy(&positions[step], &at, sizeof at);
            const F4 fractions = __builtin_convertvector((I4)(at & 0xFFFFu), F4) * TableOscillator::kFractionScale;
            std::memcpy(&fraction[step], &fractions, sizeof fractions);
            at += fourSteps;
        }
        for (int32_t step = 0; step < pass; ++step)
            out[(done + step) * stride] = TableOscillator::interpolate(table, positions[step] >> 16, fraction[step]);
        position += static_cast<uint32_t>(pass) * increment;
    }
    return position;
}

uint32_t readRun(const float* table, uint32_t position, uint32_t increment, float* out, int32_t steps) {
    return readStrided(table, position, increment, out, 1, steps);
}

void readRows(const float* table, uint32_t* positions, const uint32_t* increments, int32_t laneCount,
              float (*rows)[kFirstGenReadLanes], int32_t steps) {
    for (int32_t lane = 0; lane < laneCount; ++lane)
        positions[lane] =
            readStrided(table, positions[lane], increments[lane], &rows[0][lane], kFirstGenReadLanes, steps);
}

}  // namespace

const FirstGenTableReads kExtendedTableReads = {readRun, readRows};
