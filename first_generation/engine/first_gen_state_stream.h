// Drawing a generation's phase states ahead of the bins that use them.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/phase_generator.h"
#include "numerics/simd_vectors.h"

// The recurrence is one serial chain of about five cycles a step, about as
// long as all the vector work of a generation. Drawing a few states after each
// piece of the amplitude spectrum lets the chain run beside that work instead
// of after it. The states go into the odd slots of the spectrum pairs (where
// each bin's sine will be stored), in order: slot 2j + 1 holds the state j + 1
// steps after the start.
struct PhaseStateStream {
    uint32_t state;  // the last state drawn
    float* slot;     // where the next one goes
    float* end;      // one pair beyond the last slot

    // A stream for `count` bins of `pairs`, continuing after `start`.
    static PhaseStateStream into(float* pairs, int32_t count, uint32_t start) {
        return {start, pairs + 1, pairs + 1 + 2 * static_cast<intptr_t>(count)};
    }

    NUBBEL_ALWAYS_INLINE void draw(int32_t steps) {
        for (int32_t i = 0; i < steps && slot != end; ++i) {
            state = nextPhaseState(state);
            std::memcpy(slot, &state, sizeof state);
            slot += 2;
        }
    }

    void drawRest() {
        while (slot != end) draw(1);
    }
};
