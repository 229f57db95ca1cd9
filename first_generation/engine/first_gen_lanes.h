// The sounding voices laid out lane by lane for the fast render. The serial
// part of a voice (its smoothing stages and ladders, one sample after the
// other) runs in vector lanes, one voice per lane; what each voice computes
// independently of its own output (the table reads, the envelope levels) is
// worked out first, a chunk ahead. Each lane performs exactly the float
// operations of the per-voice render in the same order, so the samples are the
// same bits whatever the vector width.
#pragma once

#include <cstdint>

#include "first_generation/engine/first_gen_table_reads.h"
#include "first_generation/engine/first_gen_voice.h"

constexpr int32_t kFirstGenMaxLanes = 16;   // one per voice; every kernel width divides it
constexpr int32_t kFirstGenLaneChunk = 32;  // samples per kernel call; bounds the buffers
static_assert(kFirstGenReadLanes == kFirstGenMaxLanes, "the table reads fill rows of the lane layout");

struct FirstGenLanes {
    int32_t laneCount = 0;  // sounding voices in lanes 0..laneCount-1, in voice order
    // Every lane's envelope levels are the same at every sample of the span
    // (all envelopes hold, padding is 0), and so are its ladder coefficients.
    bool levelsHold = false;
    FirstGenVoice* voice[kFirstGenMaxLanes];
    // The readers' positions and increments (0 left, 1 right), carried while
    // the voices are packed.
    alignas(64) uint32_t position[2][kFirstGenMaxLanes] = {};
    alignas(64) uint32_t increment[2][kFirstGenMaxLanes] = {};
    // Per chunk, sample-major ([sample][lane]): both sub-step reads per
    // channel, the envelope levels, and the voice outputs.
    alignas(64) float readL[2 * kFirstGenLaneChunk][kFirstGenMaxLanes];
    alignas(64) float readR[2 * kFirstGenLaneChunk][kFirstGenMaxLanes];
    alignas(64) float filterLevel[kFirstGenLaneChunk][kFirstGenMaxLanes];
    alignas(64) float ampLevel[kFirstGenLaneChunk][kFirstGenMaxLanes];
    alignas(64) float outL[kFirstGenLaneChunk][kFirstGenMaxLanes];
    alignas(64) float outR[kFirstGenLaneChunk][kFirstGenMaxLanes];
    // Carried from chunk to chunk: smoothing s1..s4 and ladder x1, y1..y4 per
    // channel (0 left, 1 right), the last ladder coefficients r, f, k.
    alignas(64) float smoothing[2][4][kFirstGenMaxLanes];
    alignas(64) float ladder[2][5][kFirstGenMaxLanes];
    alignas(64) float coefficients[3][kFirstGenMaxLanes];
    alignas(64) float smooth[kFirstGenMaxLanes];
    alignas(64) float velocity[kFirstGenMaxLanes];
    alignas(64) float gain[kFirstGenMaxLanes];
};

// What every lane shares during one span, read once per span.
struct FirstGenLaneUniforms {
    float filterAmount;
    float filterVelocity;
    float cutSquared;
};

// Advances lanes first..first+width-1 by `count` (1..kFirstGenLaneChunk)
// samples from the prepared reads and levels, writing their outputs.
using FirstGenLaneKernel = void (*)(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first,
                                    int32_t count);

struct FirstGenLaneKernelInfo {
    const char* name;
    int32_t width;
    FirstGenLaneKernel run;
    const FirstGenTableReads* reads;  // the table reads of the same instruction set
};

// The kernels this CPU runs, narrowest first (SSE2 always); `count` receives
// how many. The widest one is the render's default.
const FirstGenLaneKernelInfo* firstGenLaneKernels(int32_t* count);

// One sounding voice alone (first_gen_lanes_one_voice.cpp): the same samples
// and states as its lane render, added into outL/outR; volume and velocity
// sensitivity give its gain. Inside ExtendedPrecision.
void renderFirstGenOneVoice(FirstGenVoice& voice, const float* table, FirstGenReadRun reads,
                            const FirstGenLaneUniforms& uniforms, float volume, float velocitySensitivity, float* outL,
                            float* outR, int32_t count);

void runFirstGenLanesSse2(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count);
void runFirstGenLanesAvx2(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count);
void runFirstGenLanesAvx512(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count);
