// What the instrument's processReplacing does for one host block: clear, render
// the engine at twice the host rate, filter and fold back to the host rate.
#pragma once

#include <cstdint>

#include "engine/half_band_filter.h"
#include "engine/synth_engine.h"

// The four work buffers made at resume; `capacity` floats each (2 x the block
// size then).
struct RenderBuffers {
    float* scratchL;
    float* scratchR;
    float* mixL;
    float* mixR;
    int32_t capacity;
};

// Renders `frames` host frames into outL/outR (overwritten). A block longer
// than the buffers hold is rendered in pieces of the buffer size, queued
// events carried into the piece they fall in; the samples equal those of one
// long block. frames <= 0 does nothing. Without usable buffers the outputs are
// silent and the block's queued events are dropped. Runs under
// RenderFloatEnvironment and leaves the caller's floating-point settings as
// they were.
void renderHostBlock(SynthEngine& engine, HalfBandFilter& filterL, HalfBandFilter& filterR,
                     const RenderBuffers& buffers, float* outL, float* outR, int32_t frames);

// The way back to the host rate: both mixes (2 x frames samples each) through
// their half-band filters in place, then every pair of samples averaged:
// out[j] = (0 + mix[2j] x 0.5) + mix[2j+1] x 0.5.
void foldToHostRate(HalfBandFilter& filterL, HalfBandFilter& filterR, float* mixL, float* mixR, float* outL,
                    float* outR, int32_t frames);

// Replaces every NaN or infinity in mix[0..count-1] by 0, so the output
// filters' double states, which are never reset, stay finite. Checks the
// whole block first; finite blocks are left untouched.
void sanitizeMix(float* mix, int32_t count);
