// Turns the host's event list for the coming block into first-generation
// engine calls.
#pragma once

#include "plugin_base/vst2_interface.h"

struct FirstGenEngine;

namespace firstgen::midi {
// Reads only each event's type, deltaFrames and midiData, and stops at the
// first null entry, since a careless host's count may run past the entries it
// filled. Frames stay at the host's rate; they are clamped into
// 0..lastFrame and kept non-decreasing in list order, so the engine's queue
// is always in time order. Keys 0..11 have no note below them in the note
// table: their note-ons and note-offs are ignored. Returns 1, the answer hosts
// expect.
VstInt32 processEvents(FirstGenEngine& engine, const VstEvents* events, VstInt32 lastFrame);

// The host's capability questions: 1 for what the instrument receives, -1 else.
VstInt32 canDo(const char* text);
}  // namespace firstgen::midi
