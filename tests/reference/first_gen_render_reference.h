// The first generation's voice render written straight from the rules: the
// left reader over the span, then the right one, then the filter envelope and
// both ladders, then the amplitude envelope, then the mix, one voice after
// another. Every "extended" step is plain long double arithmetic. Slow and
// obvious; the engine's render must produce the same bits.
#pragma once

#include <cstdint>

#include "first_generation/engine/first_gen_engine.h"

namespace reference {

// Runtime long double evaluations of the engine's exact steps (call inside
// ExtendedPrecision).
float firstGenNoteFrequency(int32_t note);
uint32_t firstGenIncrement(float sampleRate, float frequency);
float firstGenInterpolate(float here, float next, uint32_t position);

// One voice over `count` samples, added into outL/outR.
void renderFirstGenVoice(FirstGenVoice& voice, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t count);

// Voices 0 to 15 in order over out[0..count), scratch from index 0.
void renderFirstGenVoices(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                          int32_t count);

// A whole block: the engine's queue walk with the voices above.
void renderFirstGenBlock(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t frames);

}  // namespace reference
