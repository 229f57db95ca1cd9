// Turns the host's event list for the coming block into first-generation
// engine calls.
#pragma once

#include "plugin_base/vst2_interface.h"

struct FirstGenEngine;

namespace firstgen::midi {
// The block the events are for.
struct Block {
    bool follows;        // false: no block will render them (suspended)
    VstInt32 lastFrame;  // the last frame of the block, as far as it is known
};

// Frames stay at the host's rate; they are clamped into 0..lastFrame and kept
// non-decreasing in list order, so the engine's queue is always in time
// order. Without a following block only All Notes Off and Mono Mode On, which
// act at once, are taken. Keys 0..11 have no note below them in the note
// table: their note-ons and note-offs are ignored. Returns 1, the answer
// hosts expect.
VstInt32 processEvents(FirstGenEngine& engine, const VstEvents* events, Block block);
}  // namespace firstgen::midi
