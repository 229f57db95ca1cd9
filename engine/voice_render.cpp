// The fast voice render: sounding voices packed into lanes once per span, run
// by the lane kernel in chunks, summed into the mix in voice order, unpacked.
#include <cstring>

#include "engine/lane_kernel_choice.h"
#include "engine/parameter_index.h"
#include "engine/render_block.h"
#include "engine/voice_lanes.h"
#include "numerics/shared_float.h"
#include "numerics/simd_level.h"

namespace {

// One kernel per SimdLevel, in the order of the levels.
constexpr LaneKernelInfo kLaneKernels[] = {
    {"sse2", 4, runLanesSse2},
    {"avx2", 8, runLanesAvx2},
    {"avx512", 16, runLanesAvx512},
};
constexpr int32_t kKernelCount = sizeof kLaneKernels / sizeof kLaneKernels[0];
static_assert(kKernelCount == static_cast<int>(SimdLevel::kAvx512) + 1, "");

constexpr LaneKernelInfo kSingleLaneKernel = {"single", 1, runLanesSingle};

// narrowestCovering among our kernels up to `widest`, and one lane alone on
// the single-lane kernel; `widest` itself when it is not one of ours (a
// test's own kernel).
const LaneKernelInfo& kernelCovering(const LaneKernelInfo& widest, int32_t lanes) {
    int32_t index = 0;
    while (index < kKernelCount && &kLaneKernels[index] != &widest) ++index;
    if (index == kKernelCount) return widest;
    if (lanes == 1) return kSingleLaneKernel;
    return kLaneKernels[narrowestCovering(kLaneKernels, index, lanes)];
}

// The sounding lanes cut into groups, each run by the narrowest kernel that
// covers what is left: 17 voices on 16-lane vectors are one 16-lane group and
// one 4-lane group, not two 16-lane groups.
struct LaneGroups {
    static constexpr int32_t kMaxGroups = kMaxLanes;
    const LaneKernelInfo* kernel[kMaxGroups];
    int32_t first[kMaxGroups];
    int32_t count = 0;
    int32_t paddedLanes = 0;  // lanes the groups cover, sounding or padding

    LaneGroups(const LaneKernelInfo& widest, int32_t lanes) {
        while (paddedLanes < lanes && count < kMaxGroups) {
            const LaneKernelInfo& chosen = kernelCovering(widest, lanes - paddedLanes);
            kernel[count] = &chosen;
            first[count++] = paddedLanes;
            paddedLanes += chosen.width;
        }
    }
};

void setStageTables(EnvelopeLanes& lanes, int32_t lane) {
    int32_t stage = lanes.stage[lane];
    if (stage < Envelope::kAttack || stage > Envelope::kIdle) stage = lanes.stage[lane] = Envelope::kIdle;
    lanes.target[lane] = lanes.source[lane]->target[stage];
    lanes.coef[lane] = lanes.source[lane]->coef[stage];
    lanes.canAdvance[lane] = (stage != Envelope::kDecay && stage != Envelope::kIdle) ? -1 : 0;
    lanes.idle[lane] = stage == Envelope::kIdle ? -1 : 0;
}

void packEnvelope(EnvelopeLanes& lanes, int32_t lane, const Envelope& env) {
    lanes.source[lane] = &env;
    lanes.level[lane] = env.level;
    lanes.epsilon[lane] = env.epsilon;
    lanes.stage[lane] = env.stage;
    setStageTables(lanes, lane);
}

// A padding lane: silent, idle, reading sample 0 and never advancing a stage.
void padEnvelope(EnvelopeLanes& lanes, int32_t lane) {
    lanes.source[lane] = nullptr;
    lanes.level[lane] = 0.0f;
    lanes.target[lane] = 0.0f;
    lanes.coef[lane] = 0.0f;
    lanes.epsilon[lane] = 0.0f;
    lanes.stage[lane] = Envelope::kIdle;
    lanes.canAdvance[lane] = 0;
    lanes.idle[lane] = -1;
}

void packVoice(VoiceLanes& lanes, int32_t lane, SynthVoice& voice, float volume, float velocitySensitivity) {
    lanes.voice[lane] = &voice;
    for (int32_t c = 0; c < 2; ++c) {
        lanes.position[c][lane] = voice.osc[c].position;
        lanes.increment[c][lane] = voice.osc[c].increment;
    }
    lanes.subPhase[lane] = voice.subPhase;
    lanes.subIncrement[lane] = voice.subIncrement;
    lanes.velocity[lane] = voice.velocity;
    lanes.gain[lane] = (voice.velocity * volume - volume) * velocitySensitivity + volume;
    for (int32_t s = 0; s < 8; ++s) lanes.filterState[s][lane] = voice.filterState[s];
    packEnvelope(lanes.filterEnv, lane, voice.filterEnv);
    packEnvelope(lanes.ampEnv, lane, voice.ampEnv);
}

void padLane(VoiceLanes& lanes, int32_t lane) {
    lanes.voice[lane] = nullptr;
    for (int32_t c = 0; c < 2; ++c) {
        lanes.position[c][lane] = 0;
        lanes.increment[c][lane] = 0;
    }
    lanes.subPhase[lane] = 0;
    lanes.subIncrement[lane] = 0;
    lanes.velocity[lane] = 0.0f;
    lanes.gain[lane] = 0.0f;
    for (int32_t s = 0; s < 8; ++s) lanes.filterState[s][lane] = 0.0f;
    padEnvelope(lanes.filterEnv, lane);
    padEnvelope(lanes.ampEnv, lane);
}

void unpackVoice(const VoiceLanes& lanes, int32_t lane) {
    SynthVoice& voice = *lanes.voice[lane];
    for (int32_t c = 0; c < 2; ++c) voice.osc[c].position = lanes.position[c][lane];
    voice.subPhase = static_cast<uint16_t>(lanes.subPhase[lane]);
    for (int32_t s = 0; s < 8; ++s) voice.filterState[s] = lanes.filterState[s][lane];
    voice.filterEnv.level = lanes.filterEnv.level[lane];
    voice.filterEnv.stage = lanes.filterEnv.stage[lane];
    voice.ampEnv.level = lanes.ampEnv.level[lane];
    voice.ampEnv.stage = lanes.ampEnv.stage[lane];
    voice.sounding = voice.ampEnv.stage != Envelope::kIdle;
    if (!voiceStateFinite(voice)) silenceVoice(voice);
}

// Adds the chunk's voice outputs into the mix, lane 0 first: the same order of
// float additions as rendering the voices one after another.
void mixChunk(const VoiceLanes& lanes, float* mixL, float* mixR, int32_t count) {
    for (int32_t n = 0; n < count; ++n) {
        const float* outL = &lanes.outL[n * kMaxLanes];
        const float* outR = &lanes.outR[n * kMaxLanes];
        float left = mixL[n];
        float right = mixR[n];
        for (int32_t lane = 0; lane < lanes.laneCount; ++lane) {
            left += outL[lane];
            right += outR[lane];
        }
        mixL[n] = left;
        mixR[n] = right;
    }
}

}  // namespace

const LaneKernelInfo* availableLaneKernels(int32_t* count) {
    *count = static_cast<int32_t>(bestSimdLevel()) + 1;
    return kLaneKernels;
}

const LaneKernelInfo* preferredLaneKernel() {
    int32_t count = 0;
    const LaneKernelInfo* kernels = availableLaneKernels(&count);
    return &kernels[count - 1];
}

void renderVoicesInLanes(SynthEngine& engine, const MixBuffers& buffers, int32_t offset, int32_t count) {
    const float* table = engine.wavetable.current;
    if (count < 1 || table == nullptr) return;
    const LaneKernelInfo& kernel = engine.voiceKernel ? *engine.voiceKernel : kLaneKernels[0];
    // The interface thread may be changing these values during the block.
    const auto live = [&engine](int32_t index) { return loadShared(engine.params[index]); };
    VoiceLanes& lanes = engine.lanes;

    int32_t laneCount = 0;
    for (SynthVoice& voice : engine.voices) {
        if (voice.sounding) packVoice(lanes, laneCount++, voice, live(param::kVolume), live(param::kVelocity));
    }
    if (laneCount == 0) return;
    lanes.laneCount = laneCount;
    const LaneGroups groups(kernel, laneCount);
    for (int32_t lane = laneCount; lane < groups.paddedLanes; ++lane) padLane(lanes, lane);

    const float cutoff = live(param::kCutoff);
    const LaneUniforms uniforms{table,
                                engine.subTable,
                                live(param::kSubLevel),
                                live(param::kFilterDepth),
                                live(param::kFilterVelocity),
                                cutoff * cutoff};
    float* mixL = buffers.mixL + offset;
    float* mixR = buffers.mixR + offset;
    for (int32_t done = 0; done < count; done += kLaneChunk) {
        const int32_t chunk = count - done < kLaneChunk ? count - done : kLaneChunk;
        for (int32_t lane = 0; lane < laneCount; ++lane) {
            setStageTables(lanes.filterEnv, lane);  // coefficients may have been changed by another thread
            setStageTables(lanes.ampEnv, lane);
        }
        for (int32_t g = 0; g < groups.count; ++g) groups.kernel[g]->run(lanes, uniforms, groups.first[g], chunk);
        mixChunk(lanes, mixL + done, mixR + done, chunk);
    }
    for (int32_t lane = 0; lane < laneCount; ++lane) unpackVoice(lanes, lane);
}
