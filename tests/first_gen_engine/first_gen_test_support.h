// Shared set-up for the first-generation engine tests: engines with a known
// table and program, block renders, and a pitch measurement.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "first_generation/engine/first_gen_engine.h"

namespace firstgen_test {

// A held pad: envelopes that reach their sustain, the filter partly open, some width.
std::vector<float> padProgram();

// An engine at `rate` with padProgram() loaded, a fixed generator-independent
// table (256 cycles of harmonic 1 with a weaker harmonic 2) adopted.
std::unique_ptr<FirstGenEngine> makeEngine(float rate = 44100.0f);

// Overwrites the current table with that fixed loop (guard sample included).
void useTestTable(FirstGenEngine& engine);

// Applies the queued entries without rendering (a block of 0 frames).
void applyQueue(FirstGenEngine& engine);

// Hz of the note n = key - 12 as the instrument passes it.
inline float noteHz(int32_t note) { return firstGenNoteFrequencies[note]; }

// Blocks rendered into zeroed outputs, by the engine or by the plain reference.
struct BlockRun {
    std::vector<float> scratchL, scratchR, outL, outR;
    void render(FirstGenEngine& engine, int32_t frames);
    void renderReference(FirstGenEngine& engine, int32_t frames);
};

// Consecutive blocks of `block` frames until `total`, the left or right
// channel appended.
std::vector<float> renderChannel(FirstGenEngine& engine, int32_t total, bool left = true, int32_t block = 256);

// Frequency in Hz from the rising zero crossings (linearly interpolated) of a
// signal whose fundamental dominates.
double measurePitch(const std::vector<float>& signal, float rate);

inline float peakOf(const std::vector<float>& signal) {
    float peak = 0.0f;
    for (float x : signal) peak = x > peak ? x : (-x > peak ? -x : peak);
    return peak;
}

inline bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace firstgen_test
