// The block render: queued events applied at their exact oversampled frames,
// voices rendered between them and added into the mix.
#pragma once

#include <cstdint>

#include "engine/synth_engine.h"

struct MixBuffers {
    float* scratchL;  // per-voice work space for renderers that want it
    float* scratchR;
    float* mixL;  // oversampled sum of all voices; voices add into it
    float* mixR;
};

// Renders every sounding voice over mix[offset .. offset + count).
using VoiceSpanRenderer = void (*)(SynthEngine& engine, const MixBuffers& buffers, int32_t offset, int32_t count);

// The fast renderer: all sounding voices in vector lanes (voice_render.cpp).
void renderVoicesInLanes(SynthEngine& engine, const MixBuffers& buffers, int32_t offset, int32_t count);

// Brings queued frames into 0..limit and makes them non-decreasing in queue
// order (an entry earlier than its predecessor is applied with it), so that
// entries are applied in arrival order and never outside the block.
void clampEventFrames(SynthEngine& engine, int64_t limit);

// Applies one entry: a note start, a release, or a pitch bend for every voice.
void applyEvent(SynthEngine& engine, const EngineEvent& event);

// Adopts a pending wavetable, then renders `count` samples from mix index 0,
// applying the queued entries whose frame is below `count` (every entry when
// `lastPiece`) at their frames. Consumed entries leave the queue; the others
// move to the front with their frames reduced by `count`, for the next piece
// of the same host block. Expects clamped frames.
void renderQueuedPiece(SynthEngine& engine, const MixBuffers& buffers, int32_t count, bool lastPiece,
                       VoiceSpanRenderer renderer);

// One whole block with a given renderer: frames clamped into 0..count, every
// entry applied, the queue left empty. Runs under RenderFloatEnvironment and
// leaves the caller's floating-point settings as they were.
void renderBlockWith(SynthEngine& engine, const MixBuffers& buffers, int32_t count, VoiceSpanRenderer renderer);

// One whole block with the fast renderer.
void renderBlock(SynthEngine& engine, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count);
