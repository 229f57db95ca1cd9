// The voice render over vector lanes, written once for every instruction set.
// Include only from a voice_kernel_*.cpp file, after its standard headers and
// inside its target region: everything here has internal linkage, so each
// instruction set gets its own copy and no copy leaks into another.
//
// An `Ops` type supplies the width and the vector types (GCC vector
// extensions: F float, I int32, U uint32, D double, all kWidth lanes) and four
// operations: gather(base, index); gatherPairs(base, index, here, next), which
// reads base[index] and base[index + 1]; select(mask, yes, no); any(mask).
//
// Per lane and per sample this is exactly the per-voice render, fused: read
// both table readers, add the sub-oscillator and 1e-15, step the filter
// envelope, run both four-pole chains, step the amplitude envelope and scale.
// The mix is summed afterwards, in voice order, by the caller.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/voice_lanes.h"

namespace {

template <class Ops>
struct LaneKernelOf {
    using F = typename Ops::F;
    using I = typename Ops::I;
    using U = typename Ops::U;
    using D = typename Ops::D;
    static constexpr int32_t kWidth = Ops::kWidth;
    // Added to every oscillator sample before the filter chain.
    static constexpr float kDenormalGuard = 1e-15f;
    static constexpr float kSubScale = 0.5f;
    static constexpr float kFilterDepthScale = 0.8f;
    // The sub-oscillator's phase: 16 bits, read through its top 12.
    static constexpr int32_t kSubPhaseMask = 0xFFFF;

    template <class V, class T>
    static V load(const T* from) {
        V value;
        std::memcpy(&value, from, sizeof value);
        return value;
    }

    template <class V, class T>
    static void store(T* to, V value) {
        std::memcpy(to, &value, sizeof value);
    }

    static F select(I mask, F yes, F no) { return Ops::select(mask, yes, no); }
    static F absolute(F x) { return (F)((I)x & 0x7FFFFFFF); }

    // Envelope lanes: Envelope::step on every lane. Idle lanes keep their
    // level and output 0; a lane that arrives moves to its next stage.
    struct EnvelopeRegs {
        F level, target, coef, epsilon;
        I canAdvance, idle;
    };

    static EnvelopeRegs loadEnvelope(const EnvelopeLanes& lanes, int32_t first) {
        return EnvelopeRegs{load<F>(&lanes.level[first]),      load<F>(&lanes.target[first]),
                            load<F>(&lanes.coef[first]),       load<F>(&lanes.epsilon[first]),
                            load<I>(&lanes.canAdvance[first]), load<I>(&lanes.idle[first])};
    }

    static void storeEnvelope(EnvelopeLanes& lanes, const EnvelopeRegs& regs, int32_t first) {
        store(&lanes.level[first], regs.level);
        store(&lanes.target[first], regs.target);
        store(&lanes.coef[first], regs.coef);
        store(&lanes.canAdvance[first], regs.canAdvance);
        store(&lanes.idle[first], regs.idle);
    }

    __attribute__((noinline)) static void advanceStages(EnvelopeRegs& regs, I arrived, EnvelopeLanes& lanes,
                                                        int32_t first) {
        for (int32_t l = 0; l < kWidth; ++l) {
            if (arrived[l] == 0) continue;
            const int32_t stage = ++lanes.stage[first + l];
            const Envelope* source = lanes.source[first + l];
            regs.target[l] = source->target[stage];
            regs.coef[l] = source->coef[stage];
            regs.canAdvance[l] = (stage != Envelope::kDecay && stage != Envelope::kIdle) ? -1 : 0;
            regs.idle[l] = stage == Envelope::kIdle ? -1 : 0;
        }
    }

    static F stepEnvelope(EnvelopeRegs& regs, EnvelopeLanes& lanes, int32_t first) {
        const F next = (regs.target - regs.level) * regs.coef + regs.level;
        regs.level = select(regs.idle, regs.level, next);
        const F out = select(regs.idle, F{}, regs.level);
        const I arrived = (absolute(regs.level - regs.target) <= regs.epsilon) & regs.canAdvance;
        if (__builtin_expect(Ops::any(arrived), 0)) advanceStages(regs, arrived, lanes, first);
        return out;
    }

    // TableReader::read on every lane.
    static F readTable(const float* table, U position) {
        const I index = (I)(position >> 16);
        const F fraction = __builtin_convertvector((I)(position & 0xFFFFu), F) * TableReader::kFractionScale;
        F hereSample, nextSample;
        Ops::gatherPairs(table, index, hereSample, nextSample);
        const D here = __builtin_convertvector(hereSample, D);
        const D next = __builtin_convertvector(nextSample, D);
        return __builtin_convertvector(here + (next - here) * __builtin_convertvector(fraction, D), F);
    }

    // With "SUB" at 0 the sub-oscillator adds a signed zero to a sample that
    // then gets 1e-15 added, which gives the bits it gives without the zero
    // (the sub table is finite), so its reads are skipped; only its phase
    // moves on.
    static void run(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
        if (uniforms.subLevel == 0.0f) {
            runWith<false>(lanes, uniforms, first, count);
        } else {
            runWith<true>(lanes, uniforms, first, count);
        }
    }

    template <bool kWithSub>
    static void runWith(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
        const float* table = uniforms.table;

        U positionL = load<U>(&lanes.position[0][first]);
        U positionR = load<U>(&lanes.position[1][first]);
        const U incrementL = load<U>(&lanes.increment[0][first]);
        const U incrementR = load<U>(&lanes.increment[1][first]);
        I subPhase = load<I>(&lanes.subPhase[first]);
        const I subIncrement = load<I>(&lanes.subIncrement[first]);
        const F velocity = load<F>(&lanes.velocity[first]);
        const F gain = load<F>(&lanes.gain[first]);
        F l1 = load<F>(&lanes.filterState[0][first]), l2 = load<F>(&lanes.filterState[1][first]);
        F l3 = load<F>(&lanes.filterState[2][first]), l4 = load<F>(&lanes.filterState[3][first]);
        F r1 = load<F>(&lanes.filterState[4][first]), r2 = load<F>(&lanes.filterState[5][first]);
        F r3 = load<F>(&lanes.filterState[6][first]), r4 = load<F>(&lanes.filterState[7][first]);
        EnvelopeRegs filterEnv = loadEnvelope(lanes.filterEnv, first);
        EnvelopeRegs ampEnv = loadEnvelope(lanes.ampEnv, first);

        for (int32_t n = 0; n < count; ++n) {
            const F left = readTable(table, positionL);
            const F right = readTable(table, positionR);
            positionL += incrementL;
            positionR += incrementR;
            F inL = left + kDenormalGuard;
            F inR = right + kDenormalGuard;
            if (kWithSub) {
                subPhase = (subPhase + subIncrement) & kSubPhaseMask;
                const F sub = Ops::gather(uniforms.subTable, subPhase >> 4) * uniforms.subLevel * kSubScale;
                inL = left + sub + kDenormalGuard;
                inR = sub + right + kDenormalGuard;
            }

            const F filterLevel = stepEnvelope(filterEnv, lanes.filterEnv, first);
            const F depth = (uniforms.filterDepth * filterLevel) * kFilterDepthScale;
            const F k = ((velocity * depth - depth) * uniforms.filterVelocity + depth) + uniforms.cutoffSquared;
            l1 = (inL - l1) * k + l1;
            l2 = (l1 - l2) * k + l2;
            l3 = (l2 - l3) * k + l3;
            l4 = (l3 - l4) * k + l4;
            r1 = (inR - r1) * k + r1;
            r2 = (r1 - r2) * k + r2;
            r3 = (r2 - r3) * k + r3;
            r4 = (r3 - r4) * k + r4;

            const F level = stepEnvelope(ampEnv, lanes.ampEnv, first) * gain;
            store(&lanes.outL[n * kMaxLanes + first], l4 * level);
            store(&lanes.outR[n * kMaxLanes + first], r4 * level);
        }

        // Wrapping once after count steps leaves the low 16 bits of wrapping
        // after each; count <= 32 steps of at most 2^15 stay far inside int32.
        if (!kWithSub) subPhase = (subPhase + subIncrement * count) & kSubPhaseMask;
        store(&lanes.position[0][first], positionL);
        store(&lanes.position[1][first], positionR);
        store(&lanes.subPhase[first], subPhase);
        store(&lanes.filterState[0][first], l1);
        store(&lanes.filterState[1][first], l2);
        store(&lanes.filterState[2][first], l3);
        store(&lanes.filterState[3][first], l4);
        store(&lanes.filterState[4][first], r1);
        store(&lanes.filterState[5][first], r2);
        store(&lanes.filterState[6][first], r3);
        store(&lanes.filterState[7][first], r4);
        storeEnvelope(lanes.filterEnv, filterEnv, first);
        storeEnvelope(lanes.ampEnv, ampEnv, first);
    }
};

}  // namespace
