// The fast span render: sounding voices packed into lanes, their table reads
// and envelope levels prepared a chunk ahead, the lane kernel run in chunks, the
// outputs summed in voice order, the states unpacked.
#include "first_generation/engine/first_gen_lanes.h"

#include <cstring>

#include "engine/lane_kernel_choice.h"
#include "numerics/simd_level.h"
#include "first_generation/engine/first_gen_engine.h"
#include "numerics/shared_float.h"

namespace {

typedef float F4 __attribute__((vector_size(16)));

constexpr FirstGenLaneKernelInfo kKernels[] = {
    {"sse2", 4, runFirstGenLanesSse2, &kExtendedTableReads},
    {"avx2", 8, runFirstGenLanesAvx2, &kExtendedTableReads},  // AVX2 reads would cost what the x87's do
    {"avx512", 16, runFirstGenLanesAvx512, &kAvx512TableReads},
};

int32_t supportedKernelCount() {
    if (!simdLevelSupported(SimdLevel::kAvx2)) return 1;
    if (!simdLevelSupported(SimdLevel::kAvx512)) return 2;
    return 3;
}

void packVoice(FirstGenLanes& lanes, int32_t lane, FirstGenVoice& voice, float volume, float velocitySensitivity) {
    lanes.voice[lane] = &voice;
    const TableOscillator* oscs[2] = {&voice.oscL, &voice.oscR};
    const LadderState* ladders[2] = {&voice.left, &voice.right};
    for (int32_t c = 0; c < 2; ++c) {
        const float smoothing[4] = {oscs[c]->s1, oscs[c]->s2, oscs[c]->s3, oscs[c]->s4};
        for (int32_t s = 0; s < 4; ++s) lanes.smoothing[c][s][lane] = smoothing[s];
        const float ladder[5] = {ladders[c]->x1, ladders[c]->y1, ladders[c]->y2, ladders[c]->y3, ladders[c]->y4};
        for (int32_t s = 0; s < 5; ++s) lanes.ladder[c][s][lane] = ladder[s];
        lanes.position[c][lane] = oscs[c]->position;
        lanes.increment[c][lane] = oscs[c]->increment;
    }
    lanes.coefficients[0][lane] = voice.ladder.r;
    lanes.coefficients[1][lane] = voice.ladder.f;
    lanes.coefficients[2][lane] = voice.ladder.k;
    lanes.smooth[lane] = voice.oscL.smooth;  // both readers of a voice start with the same coefficient
    lanes.velocity[lane] = voice.velocity;
    lanes.gain[lane] = (voice.velocity * volume - volume) * velocitySensitivity + volume;
}

// A padding lane: zeros everywhere, so its arithmetic stays quiet and finite.
void padLane(FirstGenLanes& lanes, int32_t lane) {
    for (int32_t c = 0; c < 2; ++c) {
        for (int32_t s = 0; s < 4; ++s) lanes.smoothing[c][s][lane] = 0.0f;
        for (int32_t s = 0; s < 5; ++s) lanes.ladder[c][s][lane] = 0.0f;
    }
    for (int32_t s = 0; s < 3; ++s) lanes.coefficients[s][lane] = 0.0f;
    lanes.smooth[lane] = 0.0f;
    lanes.velocity[lane] = 0.0f;
    lanes.gain[lane] = 0.0f;
    for (int32_t n = 0; n < kFirstGenLaneChunk; ++n) {
        lanes.readL[2 * n][lane] = lanes.readL[2 * n + 1][lane] = 0.0f;
        lanes.readR[2 * n][lane] = lanes.readR[2 * n + 1][lane] = 0.0f;
        lanes.filterLevel[n][lane] = lanes.ampLevel[n][lane] = 0.0f;
    }
}

void unpackVoice(FirstGenLanes& lanes, int32_t lane) {
    FirstGenVoice& voice = *lanes.voice[lane];
    TableOscillator* oscs[2] = {&voice.oscL, &voice.oscR};
    LadderState* ladders[2] = {&voice.left, &voice.right};
    for (int32_t c = 0; c < 2; ++c) {
        float(*s)[kFirstGenMaxLanes] = lanes.smoothing[c];
        oscs[c]->s1 = s[0][lane];
        oscs[c]->s2 = s[1][lane];
        oscs[c]->s3 = s[2][lane];
        oscs[c]->s4 = s[3][lane];
        float(*l)[kFirstGenMaxLanes] = lanes.ladder[c];
        *ladders[c] = LadderState{l[0][lane], l[1][lane], l[2][lane], l[3][lane], l[4][lane]};
        oscs[c]->position = lanes.position[c][lane];
    }
    voice.ladder.r = lanes.coefficients[0][lane];
    voice.ladder.f = lanes.coefficients[1][lane];
    voice.ladder.k = lanes.coefficients[2][lane];
    voice.sounding = voice.ampEnv.state != LinearEnvelope::kIdle;
    voice.silenceIfNotFinite();
}

// `count` ticks of an envelope into levels[n][lane]. A held note spends
// nearly all its time in the sustain, where every tick gives the sustain
// level: those are filled in without ticking (idle likewise gives 0).
// With lanes.levelsHold the kernel reads only the first row.
void tickEnvelope(const FirstGenLanes& lanes, LinearEnvelope& env, float (*levels)[kFirstGenMaxLanes], int32_t lane,
                  int32_t count) {
    if (env.holds()) {
        const float level = env.tick();
        const int32_t rows = lanes.levelsHold ? 1 : count;
        for (int32_t n = 0; n < rows; ++n) levels[n][lane] = level;
        return;
    }
    env.tickInto(&levels[0][lane], kFirstGenMaxLanes, count);
}

// What the voices compute without their own outputs, `count` samples ahead:
// the table reads of both readers, then each voice's envelope levels.
void prepareChunk(FirstGenLanes& lanes, const float* table, const FirstGenTableReads& reads, int32_t count) {
    reads.rows(table, lanes.position[0], lanes.increment[0], lanes.laneCount, lanes.readL, 2 * count);
    reads.rows(table, lanes.position[1], lanes.increment[1], lanes.laneCount, lanes.readR, 2 * count);
    for (int32_t lane = 0; lane < lanes.laneCount; ++lane) {
        FirstGenVoice& voice = *lanes.voice[lane];
        tickEnvelope(lanes, voice.filterEnv, lanes.filterLevel, lane, count);
        tickEnvelope(lanes, voice.ampEnv, lanes.ampLevel, lane, count);
    }
}

// Adds the lanes 0..laneCount-1 of out[n][lane] into mix[n], lane 0 first:
// each sample gets the float additions of rendering the voices one after
// another. Four samples at a time: four rows of four lanes, transposed, give
// each lane's four samples as one vector.
void mixLanes(const float (*out)[kFirstGenMaxLanes], int32_t laneCount, float* mix, int32_t count) {
    int32_t n = 0;
    for (; n + 4 <= count; n += 4) {
        F4 sum;
        std::memcpy(&sum, &mix[n], sizeof sum);
        int32_t lane = 0;
        for (; lane + 4 <= laneCount; lane += 4) {
            F4 rows[4];
            for (int32_t k = 0; k < 4; ++k) std::memcpy(&rows[k], &out[n + k][lane], sizeof rows[k]);
            const F4 low01 = __builtin_shufflevector(rows[0], rows[1], 0, 4, 1, 5);
            const F4 low23 = __builtin_shufflevector(rows[2], rows[3], 0, 4, 1, 5);
            const F4 high01 = __builtin_shufflevector(rows[0], rows[1], 2, 6, 3, 7);
            const F4 high23 = __builtin_shufflevector(rows[2], rows[3], 2, 6, 3, 7);
            sum += __builtin_shufflevector(low01, low23, 0, 1, 4, 5);
            sum += __builtin_shufflevector(low01, low23, 2, 3, 6, 7);
            sum += __builtin_shufflevector(high01, high23, 0, 1, 4, 5);
            sum += __builtin_shufflevector(high01, high23, 2, 3, 6, 7);
        }
        for (; lane < laneCount; ++lane) sum += F4{out[n][lane], out[n + 1][lane], out[n + 2][lane], out[n + 3][lane]};
        std::memcpy(&mix[n], &sum, sizeof sum);
    }
    for (; n < count; ++n) {
        for (int32_t lane = 0; lane < laneCount; ++lane) mix[n] += out[n][lane];
    }
}

void mixChunk(const FirstGenLanes& lanes, float* outL, float* outR, int32_t count) {
    mixLanes(lanes.outL, lanes.laneCount, outL, count);
    mixLanes(lanes.outR, lanes.laneCount, outR, count);
}

}  // namespace

const FirstGenLaneKernelInfo* firstGenLaneKernels(int32_t* count) {
    *count = supportedKernelCount();
    return kKernels;
}

void renderFirstGenLanes(FirstGenEngine& engine, float*, float*, float* outL, float* outR, int32_t count) {
    const float* table = engine.wavetable.current;
    if (count < 1 || table == nullptr) return;
    int32_t kernelCount = 0;
    const FirstGenLaneKernelInfo* kernels = firstGenLaneKernels(&kernelCount);
    const int32_t widest =
        engine.laneKernel >= 0 && engine.laneKernel < kernelCount ? engine.laneKernel : kernelCount - 1;
    FirstGenLanes& lanes = engine.lanes;
    // The interface thread may be changing these values during the block.
    const auto live = [&engine](int32_t index) { return loadShared(engine.params[index]); };
    using namespace firstgen_param;

    const float cutoff = live(kCutoff);
    const FirstGenLaneUniforms uniforms{live(kFilterAmount), live(kFilterVelocity), cutoff * cutoff};
    // A lone voice renders without lanes, so it is not packed into them.
    FirstGenVoice* lone = nullptr;
    int32_t laneCount = 0;
    for (FirstGenVoice& voice : engine.voices) {
        if (voice.sounding) {
            lone = &voice;
            ++laneCount;
        }
    }
    if (laneCount == 0) return;
    if (laneCount == 1) {
        renderFirstGenOneVoice(*lone, table, kernels[widest].reads->run, uniforms, live(kVolume), live(kAmpVelocity),
                               outL, outR, count);
        lone->sounding = lone->ampEnv.state != LinearEnvelope::kIdle;
        lone->silenceIfNotFinite();
        return;
    }
    laneCount = 0;
    for (FirstGenVoice& voice : engine.voices) {
        if (voice.sounding) packVoice(lanes, laneCount++, voice, live(kVolume), live(kAmpVelocity));
    }
    lanes.laneCount = laneCount;
    // Up to 16 voices: one group of the narrowest kernel that holds them all
    // (when the engine's kernel is narrower, groups of its width).
    const FirstGenLaneKernelInfo& kernel = kernels[narrowestCovering(kernels, widest, laneCount)];
    const int32_t paddedCount = (laneCount + kernel.width - 1) / kernel.width * kernel.width;
    for (int32_t lane = laneCount; lane < paddedCount; ++lane) padLane(lanes, lane);
    lanes.levelsHold = true;
    for (int32_t lane = 0; lane < laneCount; ++lane)
        lanes.levelsHold =
            lanes.levelsHold && lanes.voice[lane]->filterEnv.holds() && lanes.voice[lane]->ampEnv.holds();

    for (int32_t done = 0; done < count; done += kFirstGenLaneChunk) {
        const int32_t chunk = count - done < kFirstGenLaneChunk ? count - done : kFirstGenLaneChunk;
        prepareChunk(lanes, table, *kernels[widest].reads, chunk);
        for (int32_t first = 0; first < paddedCount; first += kernel.width) kernel.run(lanes, uniforms, first, chunk);
        mixChunk(lanes, outL + done, outR + done, chunk);
    }
    for (int32_t lane = 0; lane < laneCount; ++lane) unpackVoice(lanes, lane);
}
