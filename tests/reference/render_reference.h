// The voice render and output stage written straight from the rules: four
// passes per voice (oscillators, sub-oscillator and filters, amplitude, mix),
// one voice after another, each channel's output filter on its own. Slow and
// obvious; the engine's fused lane render must produce the same bits.
#pragma once

#include <cstdint>

#include "engine/output_stage.h"
#include "engine/render_block.h"

namespace reference {

// One voice over `count` samples, added into mixL/mixR.
void renderVoice(SynthVoice& voice, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count);

// Voices 0 to 16 in order over mix[offset..offset+count), scratch from index 0.
void renderVoices(SynthEngine& engine, const MixBuffers& buffers, int32_t offset, int32_t count);

// A whole block: the engine's queue walk with the voices above.
void renderBlock(SynthEngine& engine, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count);

// processReplacing's four steps for one host block; 2 x frames must fit the buffers.
void processReplacing(SynthEngine& engine, HalfBandFilter& filterL, HalfBandFilter& filterR,
                      const RenderBuffers& buffers, float* outL, float* outR, int32_t frames);

}  // namespace reference
