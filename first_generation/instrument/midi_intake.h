// Turns the host's event list for the coming block into first-generation
// engine calls.
#pragma once

#include "plugin_base/vst2_interface.h"

struct FirstGenEngine;

namespace firstgen::midi {
// Frames stay at the host's rate; they are clamped into 0..lastFrame and kept
// non-decreasing in list order, so the engine's queue is always in time
// order. Keys 0..11 have no note below them in the note table: their
// note-ons and note-offs are ignored. Returns 1, the answer hosts expect.
VstInt32 processEvents(FirstGenEngine& engine, const VstEvents* events, VstInt32 lastFrame);
}  // namespace firstgen::midi
