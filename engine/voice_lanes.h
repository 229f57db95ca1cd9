// The sounding voices laid out lane by lane, so that one vector instruction
// advances several voices at once. Each lane performs exactly the float and
// double operations of the per-voice code in the same order, so the samples
// are the same bits whatever the vector width.
#pragma once

#include <cstdint>

#include "engine/envelope.h"
#include "engine/synth_voice.h"

constexpr int32_t kMaxLanes = 32;   // 17 voices, padded to whole groups of up to 16 lanes
constexpr int32_t kLaneChunk = 32;  // samples per kernel call; bounds the output buffers

// One envelope per lane. target and coef are those of the current stage;
// canAdvance and idle are all-ones masks (stage not 1 or 4; stage 4).
struct EnvelopeLanes {
    float level[kMaxLanes];
    float target[kMaxLanes];
    float coef[kMaxLanes];
    float epsilon[kMaxLanes];
    int32_t canAdvance[kMaxLanes];
    int32_t idle[kMaxLanes];
    int32_t stage[kMaxLanes];
    const Envelope* source[kMaxLanes];  // where the stage tables come from; null on padding
};

struct VoiceLanes {
    int32_t laneCount = 0;  // sounding voices in lanes 0..laneCount-1, in voice order
    SynthVoice* voice[kMaxLanes];
    uint32_t position[2][kMaxLanes];
    int32_t increment[2][kMaxLanes];
    int32_t subPhase[kMaxLanes];      // 0..65535
    int32_t subIncrement[kMaxLanes];  // the voice's 16-bit step, sign-extended
    float velocity[kMaxLanes];
    float gain[kMaxLanes];
    float filterState[8][kMaxLanes];
    EnvelopeLanes filterEnv;
    EnvelopeLanes ampEnv;
    // Voice outputs of one chunk, sample-major: out[n * kMaxLanes + lane].
    float outL[kLaneChunk * kMaxLanes];
    float outR[kLaneChunk * kMaxLanes];
};

// Values every lane shares during one span, read once per span as the
// per-voice code reads them once per call.
struct LaneUniforms {
    const float* table;     // the wavetable's current loop, 65,537 samples
    const float* subTable;  // 4096 samples
    float subLevel;         // "SUB"
    float filterDepth;      // "F_Env"
    float filterVelocity;   // "F_Vel"
    float cutoffSquared;    // "F_Cut" squared
};

// Advances lanes first..first+width-1 by `count` (1..kLaneChunk) samples and
// writes their outputs into outL/outR.
using LaneKernel = void (*)(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count);

struct LaneKernelInfo {
    const char* name;
    int32_t width;
    LaneKernel run;
};

// The kernels this CPU can run, narrowest first (the first always works on
// SSE2); `count` receives how many there are.
const LaneKernelInfo* availableLaneKernels(int32_t* count);
// The widest kernel this CPU supports.
const LaneKernelInfo* preferredLaneKernel();
// Lane kernels of each instruction set (defined in voice_kernel_*.cpp).
void runLanesSse2(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count);
void runLanesAvx2(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count);
void runLanesAvx512(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count);
// One lane (voice_kernel_sse2.cpp, one_voice_kernel.h): the render's choice
// for a single lane left over; not one of the SIMD levels' kernels.
void runLanesSingle(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count);
