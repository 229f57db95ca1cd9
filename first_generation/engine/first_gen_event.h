// One entry of the first-generation engine's per-block event queue.
#pragma once

#include <cstdint>

// Filled between blocks by noteOn, noteOff and pitchBend, applied by the
// render at `frame` (a sample offset at the host's rate) and emptied at the
// end of every block. Fields a kind does not use keep their defaults. Kind 0
// is a note start withdrawn before its block (a release found the queue full);
// it does nothing.
struct FirstGenEvent {
    enum Kind : int32_t { kWithdrawn = 0, kNoteStart = 1, kNoteRelease = 2, kPitchBend = 3 };

    int32_t kind = kWithdrawn;
    float frequency = 0.0f;  // Hz (note starts)
    int32_t note = 0;        // key - 12 (note starts)
    float value = 0.0f;      // velocity 0..1 (note starts), bend -1..1 (pitch bend)
    int32_t frame = 0;
    int32_t voice = 0;  // voice index (note starts and releases)
};
static_assert(sizeof(FirstGenEvent) == 24, "six 32-bit fields");
