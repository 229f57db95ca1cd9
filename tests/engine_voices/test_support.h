// Shared set-up for the voice and render tests: engines with a known
// wavetable, a pad program, and buffers for block and host-block renders.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/output_stage.h"
#include "engine/render_block.h"
#include "engine/synth_engine.h"

namespace voices_test {

constexpr float kHostRate = 44100.0f;

// A held pad: every envelope reaches a sustain, the filter is partly open,
// stereo width and sub-oscillator are on, "OCT" plays at written pitch.
std::vector<float> padProgram();

// An engine at 44.1 kHz with padProgram() loaded and the pending table adopted.
std::unique_ptr<SynthEngine> makeEngine();

// Gives `engine` the same current table as `model` (generation draws new
// random phases every time, so twins must share one table to match).
void copyTable(const SynthEngine& model, SynthEngine& engine);

// Overwrites the engine's current table with a fixed, generator-independent
// loop: 256 cycles of a few harmonics (guard sample included).
void useTestTable(SynthEngine& engine);

// Applies the queued events without rendering anything (a block of 0 samples).
void applyQueue(SynthEngine& engine);

// Engine blocks: renderBlock into zeroed mix buffers of `count` samples.
struct BlockRun {
    std::vector<float> scratchL, scratchR, mixL, mixR;
    void render(SynthEngine& engine, int32_t count);
    void renderReference(SynthEngine& engine, int32_t count);
};

// Host blocks: renderHostBlock with work buffers of `capacity` floats each.
struct HostRun {
    explicit HostRun(int32_t capacity);
    std::vector<float> scratchL, scratchR, mixL, mixR, outL, outR;
    HalfBandFilter filterL, filterR;
    RenderBuffers buffers() {
        return RenderBuffers{scratchL.data(), scratchR.data(), mixL.data(), mixR.data(),
                             static_cast<int32_t>(mixL.size())};
    }
    void render(SynthEngine& engine, int32_t frames);
    void renderReference(SynthEngine& engine, int32_t frames);
};

inline bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Index of the first sample whose bits differ, or -1.
int64_t firstDifference(const std::vector<float>& a, const std::vector<float>& b);

}  // namespace voices_test
