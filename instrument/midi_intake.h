// Turns the host's event list for the coming block into engine actions.
#pragma once

#include "plugin_base/vst2_interface.h"

struct SynthEngine;

namespace midi {
// Reads only each event's type, deltaFrames and midiData. Stops at the first
// null entry, since a careless host's count may run past the entries it
// filled. Returns 1, the answer hosts expect.
VstInt32 processEvents(SynthEngine& engine, const VstEvents* events);
}  // namespace midi
