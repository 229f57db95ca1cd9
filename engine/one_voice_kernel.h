// The lane kernel for a single lane: one voice, its samples across the vector
// instead of voices. Include only from a voice_kernel_*.cpp file, after
// voice_kernel.h and inside its target region.
//
// A lone voice on lane vectors pays for a whole vector and waits out every
// recursion sample by sample. Here what does not depend on the voice's own
// past (table reads, sub-oscillator, sums with 1e-15) is worked out for the
// whole chunk first, Ops::kWidth samples per vector; what does (both
// envelopes, both four-pole chains) then runs sample by sample with the left
// and right chains side by side in one vector. Every value is computed by the
// same float and double operations in the same order as LaneKernelOf::run,
// so the samples and the states left behind are the same bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/voice_lanes.h"

namespace {

template <class Ops>
struct OneVoiceKernelOf {
    using Lanes = LaneKernelOf<Ops>;  // whose table read here serves a vector of samples
    using F = typename Lanes::F;
    using I = typename Lanes::I;
    using U = typename Lanes::U;
    static constexpr int32_t kWidth = Lanes::kWidth;
    static_assert(kLaneChunk % kWidth == 0, "whole vectors of samples fill a chunk");

    // The left and right chain of one four-pole section side by side; the
    // upper lanes carry zeros.
    typedef float Pair __attribute__((vector_size(16)));

    // One lane of EnvelopeLanes as scalars: LaneKernelOf::stepEnvelope for
    // a single lane.
    struct Envelope1 {
        float level, target, coef, epsilon;
        bool canAdvance, idle;

        static Envelope1 load(const EnvelopeLanes& lanes, int32_t lane) {
            return Envelope1{lanes.level[lane],   lanes.target[lane],          lanes.coef[lane],
                             lanes.epsilon[lane], lanes.canAdvance[lane] != 0, lanes.idle[lane] != 0};
        }

        void store(EnvelopeLanes& lanes, int32_t lane) const {
            lanes.level[lane] = level;
            lanes.target[lane] = target;
            lanes.coef[lane] = coef;
            lanes.canAdvance[lane] = canAdvance ? -1 : 0;
            lanes.idle[lane] = idle ? -1 : 0;
        }

        __attribute__((noinline)) void advance(EnvelopeLanes& lanes, int32_t lane) {
            const int32_t stage = ++lanes.stage[lane];
            const ::Envelope* source = lanes.source[lane];
            target = source->target[stage];
            coef = source->coef[stage];
            canAdvance = stage != ::Envelope::kDecay && stage != ::Envelope::kIdle;
            idle = stage == ::Envelope::kIdle;
        }

        // In the decay and sustain stage nothing is tested: the level only moves.
        bool onlyMoves() const { return !idle && !canAdvance; }

        template <bool kOnlyMoves>
        float step(EnvelopeLanes& lanes, int32_t lane) {
            if (kOnlyMoves) return level = (target - level) * coef + level;
            return step(lanes, lane);
        }

        float step(EnvelopeLanes& lanes, int32_t lane) {
            const float next = (target - level) * coef + level;
            if (!idle) level = next;
            const float out = idle ? 0.0f : level;
            if (__builtin_expect(std::fabs(level - target) <= epsilon && canAdvance, 0)) advance(lanes, lane);
            return out;
        }
    };

    // The chain inputs of `count` samples (rounded up to whole vectors; the
    // table and sub-table reads of the extra samples stay in range) and the
    // reader and sub-oscillator states after `count` samples.
    template <bool kWithSub>
    static void prepareInputs(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t lane, int32_t count, float* inL,
                              float* inR) {
        constexpr float kDenormalGuard = Lanes::kDenormalGuard;
        constexpr float kSubScale = Lanes::kSubScale;
        constexpr int32_t kSubPhaseMask = Lanes::kSubPhaseMask;
        I step{};
        for (int32_t l = 0; l < kWidth; ++l) step[l] = l;
        const uint32_t incrementL = static_cast<uint32_t>(lanes.increment[0][lane]);
        const uint32_t incrementR = static_cast<uint32_t>(lanes.increment[1][lane]);
        const int32_t subIncrement = lanes.subIncrement[lane];
        U positionL = (U)step * incrementL + lanes.position[0][lane];
        U positionR = (U)step * incrementR + lanes.position[1][lane];
        // The sub-oscillator steps before it reads.
        I subPhase = ((step + 1) * subIncrement + lanes.subPhase[lane]) & kSubPhaseMask;
        for (int32_t n = 0; n < count; n += kWidth) {
            const F left = Lanes::readTable(uniforms.table, positionL);
            const F right = Lanes::readTable(uniforms.table, positionR);
            F valueL = left + kDenormalGuard;
            F valueR = right + kDenormalGuard;
            if (kWithSub) {
                const F sub = Ops::gather(uniforms.subTable, subPhase >> 4) * uniforms.subLevel * kSubScale;
                valueL = left + sub + kDenormalGuard;
                valueR = sub + right + kDenormalGuard;
            }
            std::memcpy(&inL[n], &valueL, sizeof valueL);
            std::memcpy(&inR[n], &valueR, sizeof valueR);
            positionL += kWidth * incrementL;
            positionR += kWidth * incrementR;
            subPhase = (subPhase + kWidth * subIncrement) & kSubPhaseMask;
        }
        const uint32_t steps = static_cast<uint32_t>(count);
        lanes.position[0][lane] += steps * incrementL;
        lanes.position[1][lane] += steps * incrementR;
        lanes.subPhase[lane] = (lanes.subPhase[lane] + count * subIncrement) & kSubPhaseMask;
    }

    static void run(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t lane, int32_t count) {
        float inL[kLaneChunk];
        float inR[kLaneChunk];
        if (uniforms.subLevel == 0.0f) {  // see LaneKernelOf::run
            prepareInputs<false>(lanes, uniforms, lane, count, inL, inR);
        } else {
            prepareInputs<true>(lanes, uniforms, lane, count, inL, inR);
        }

        Envelope1 filterEnv = Envelope1::load(lanes.filterEnv, lane);
        Envelope1 ampEnv = Envelope1::load(lanes.ampEnv, lane);
        // A held note: both envelopes past their attack, for the whole chunk.
        if (filterEnv.onlyMoves() && ampEnv.onlyMoves()) {
            runChains<true>(lanes, uniforms, lane, count, inL, inR, filterEnv, ampEnv);
        } else {
            runChains<false>(lanes, uniforms, lane, count, inL, inR, filterEnv, ampEnv);
        }
        filterEnv.store(lanes.filterEnv, lane);
        ampEnv.store(lanes.ampEnv, lane);
    }

    // Both envelopes and both four-pole chains, sample by sample.
    template <bool kOnlyMoves>
    static void runChains(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t lane, int32_t count,
                          const float* inL, const float* inR, Envelope1& filterEnv, Envelope1& ampEnv) {
        constexpr float kFilterDepthScale = Lanes::kFilterDepthScale;
        Pair s[4];
        for (int32_t j = 0; j < 4; ++j) s[j] = Pair{lanes.filterState[j][lane], lanes.filterState[4 + j][lane]};
        const float velocity = lanes.velocity[lane];
        const float gain = lanes.gain[lane];

        for (int32_t n = 0; n < count; ++n) {
            const float filterLevel = filterEnv.template step<kOnlyMoves>(lanes.filterEnv, lane);
            const float depth = (uniforms.filterDepth * filterLevel) * kFilterDepthScale;
            const float k = ((velocity * depth - depth) * uniforms.filterVelocity + depth) + uniforms.cutoffSquared;
            const Pair kk = Pair{} + k;
            s[0] = (Pair{inL[n], inR[n]} - s[0]) * kk + s[0];
            s[1] = (s[0] - s[1]) * kk + s[1];
            s[2] = (s[1] - s[2]) * kk + s[2];
            s[3] = (s[2] - s[3]) * kk + s[3];
            const float level = ampEnv.template step<kOnlyMoves>(lanes.ampEnv, lane) * gain;
            const Pair out = s[3] * level;
            lanes.outL[n * kMaxLanes + lane] = out[0];
            lanes.outR[n * kMaxLanes + lane] = out[1];
        }

        for (int32_t j = 0; j < 4; ++j) {
            lanes.filterState[j][lane] = s[j][0];
            lanes.filterState[4 + j][lane] = s[j][1];
        }
    }
};

}  // namespace
