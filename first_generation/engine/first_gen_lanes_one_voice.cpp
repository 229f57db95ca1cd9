// A lone voice, rendered without lanes: its left and right channels side by
// side in one vector.
//
// On lane vectors a single voice fills one lane of each channel's vectors.
// Here both readers and both ladders share a vector ({left, right, 0, 0}).
// The table reads of a chunk come first, in a pass of their own: made inside
// the sample loop they did not overlap the ladder's long recursion, they only
// added to it. Every value takes the float and long double operations of the
// lane render in the same order, so the samples and states are the same bits.
#include <cstdint>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"
#include "first_generation/engine/ladder_filter.h"
// After first_gen_lanes.h:
#include "first_generation/engine/first_gen_lane_kernel.h"

namespace {

using Pair = FirstGenFloatVector<4>::F;  // left, right, then two unused zeros

Pair pairOf(float left, float right) { return Pair{left, right, 0.0f, 0.0f}; }

// The four smoothing stages of both readers, as the four-lane kernel runs them.
using ReaderPair = FirstGenLaneKernelOf<4>::Reader;

// Both readers' reads of a chunk, sub-step by sub-step.
struct ChunkReads {
    float left[2 * kFirstGenLaneChunk];
    float right[2 * kFirstGenLaneChunk];

    void read(const float* table, FirstGenReadRun reads, FirstGenVoice& voice, int32_t count) {
        voice.oscL.position = reads(table, voice.oscL.position, voice.oscL.increment, left, 2 * count);
        voice.oscR.position = reads(table, voice.oscR.position, voice.oscR.increment, right, 2 * count);
    }
    Pair at(int32_t step) const { return pairOf(left[step], right[step]); }
};

// Both readers and both ladders of the voice, as the loop carries them.
struct OneVoice {
    ReaderPair reader;
    LadderStateOf<Pair> ladder;
    Pair smooth;
    float gain;
    LadderCoefficients coefficients;

    // The ladder coefficients for a filter envelope level.
    void setCoefficients(const FirstGenVoice& voice, const FirstGenLaneUniforms& uniforms, float filterLevel) {
        const float c1 = uniforms.filterAmount * filterLevel * 0.5f;
        coefficients = LadderCoefficients::forControl((voice.velocity * c1 - c1) * uniforms.filterVelocity + c1 +
                                                      uniforms.cutSquared);
    }

    // One output sample from the reads of its two sub-steps.
    Pair sample(Pair first, Pair second, float ampLevel) {
        Pair signal = reader.next(first, second, smooth);
        const LadderCoefficientsOf<Pair> shared{Pair{} + coefficients.r, Pair{} + coefficients.f,
                                                Pair{} + coefficients.k};
        ladder.process(signal, shared);
        return signal * (ampLevel * gain);
    }
};

// A voice whose envelopes both hold (sustain or idle) gives the same levels,
// and so the same coefficients, on every tick until an entry between spans
// changes that: they are worked out once per span.
template <bool kHolding>
void renderSpan(OneVoice& state, FirstGenVoice& voice, const float* table, FirstGenReadRun reads,
                const FirstGenLaneUniforms& uniforms, float* outL, float* outR, int32_t count) {
    float ampLevel = 0.0f;
    if (kHolding) {
        state.setCoefficients(voice, uniforms, voice.filterEnv.tick());
        ampLevel = voice.ampEnv.tick();
    }
    ChunkReads chunkReads;
    for (int32_t done = 0; done < count; done += kFirstGenLaneChunk) {
        const int32_t chunk = count - done < kFirstGenLaneChunk ? count - done : kFirstGenLaneChunk;
        chunkReads.read(table, reads, voice, chunk);
        for (int32_t n = 0; n < chunk; ++n) {
            if (!kHolding) {
                state.setCoefficients(voice, uniforms, voice.filterEnv.tick());
                ampLevel = voice.ampEnv.tick();
            }
            const Pair out = state.sample(chunkReads.at(2 * n), chunkReads.at(2 * n + 1), ampLevel);
            outL[done + n] += out[0];
            outR[done + n] += out[1];
        }
    }
}

}  // namespace

void renderFirstGenOneVoice(FirstGenVoice& voice, const float* table, FirstGenReadRun reads,
                            const FirstGenLaneUniforms& uniforms, float volume, float velocitySensitivity, float* outL,
                            float* outR, int32_t count) {
    TableOscillator& oscL = voice.oscL;
    TableOscillator& oscR = voice.oscR;
    OneVoice state{ReaderPair{pairOf(oscL.s1, oscR.s1), pairOf(oscL.s2, oscR.s2), pairOf(oscL.s3, oscR.s3),
                              pairOf(oscL.s4, oscR.s4)},
                   LadderStateOf<Pair>{pairOf(voice.left.x1, voice.right.x1), pairOf(voice.left.y1, voice.right.y1),
                                       pairOf(voice.left.y2, voice.right.y2), pairOf(voice.left.y3, voice.right.y3),
                                       pairOf(voice.left.y4, voice.right.y4)},
                   Pair{} + oscL.smooth,  // both readers of a voice start with the same coefficient
                   (voice.velocity * volume - volume) * velocitySensitivity + volume, voice.ladder};
    if (count < 1) return;
    if (voice.filterEnv.holds() && voice.ampEnv.holds()) {
        renderSpan<true>(state, voice, table, reads, uniforms, outL, outR, count);
    } else {
        renderSpan<false>(state, voice, table, reads, uniforms, outL, outR, count);
    }

    const ReaderPair& reader = state.reader;
    const LadderStateOf<Pair>& ladder = state.ladder;
    oscL.s1 = reader.s1[0], oscL.s2 = reader.s2[0], oscL.s3 = reader.s3[0], oscL.s4 = reader.s4[0];
    oscR.s1 = reader.s1[1], oscR.s2 = reader.s2[1], oscR.s3 = reader.s3[1], oscR.s4 = reader.s4[1];
    voice.left = LadderState{ladder.x1[0], ladder.y1[0], ladder.y2[0], ladder.y3[0], ladder.y4[0]};
    voice.right = LadderState{ladder.x1[1], ladder.y1[1], ladder.y2[1], ladder.y3[1], ladder.y4[1]};
    voice.ladder = state.coefficients;
}
