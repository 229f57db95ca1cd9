// One entry of the engine's per-block event queue.
#pragma once

#include <cstdint>

// Filled between blocks by note-on, note-off and the MIDI intake's pitch bend,
// applied by the render at `frame` (an oversampled position in the block) and
// emptied at the end of every block. Fields a kind does not use are left as
// they were. Kind 0 is an entry withdrawn before its block (a note start
// cancelled by a release that found the queue full); it does nothing.
struct EngineEvent {
    enum Kind : int32_t { kWithdrawn = 0, kNoteStart = 1, kNoteRelease = 2, kPitchBend = 3 };

    int32_t kind = kWithdrawn;
    int32_t note = 0;    // key 0..127 (note starts)
    float value = 0.0f;  // velocity 0..1 (note starts), bend -1..1 (pitch bend)
    int32_t frame = 0;   // oversampled frame: twice the host's delta frames
    int32_t voice = 0;   // voice index (note starts and releases)
};
