// A lone voice, rendered without lanes: its left and right channels side by
// side in one vector, and its long double table reads inside the same loop.
//
// On lane vectors a single voice fills one lane of each channel's vectors,
// and its table reads run in a pass of their own. Here both readers and both
// ladders share a vector ({left, right, 0, 0}), and the reads for a sample
// are made while the ladder of the sample before still runs: the x87 unit is
// otherwise idle during the ladder's long recursion. Every value takes the
// float and long double operations of the lane render in the same order, so
// the samples and states are the same bits.
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

// One sub-step's interpolated reads of both channels; advances the positions.
Pair readPair(const float* table, TableOscillator& left, TableOscillator& right) {
    const Pair read =
        pairOf(TableOscillator::interpolate(table, left.position), TableOscillator::interpolate(table, right.position));
    left.position += left.increment;
    right.position += right.increment;
    return read;
}

}  // namespace

void renderFirstGenOneVoice(FirstGenVoice& voice, const float* table, const FirstGenLaneUniforms& uniforms,
                            float volume, float velocitySensitivity, float* outL, float* outR, int32_t count) {
    TableOscillator& oscL = voice.oscL;
    TableOscillator& oscR = voice.oscR;
    ReaderPair reader{pairOf(oscL.s1, oscR.s1), pairOf(oscL.s2, oscR.s2), pairOf(oscL.s3, oscR.s3),
                      pairOf(oscL.s4, oscR.s4)};
    LadderStateOf<Pair> ladder{pairOf(voice.left.x1, voice.right.x1), pairOf(voice.left.y1, voice.right.y1),
                               pairOf(voice.left.y2, voice.right.y2), pairOf(voice.left.y3, voice.right.y3),
                               pairOf(voice.left.y4, voice.right.y4)};
    const Pair smooth = Pair{} + oscL.smooth;  // both readers of a voice start with the same coefficient
    const float gain = (voice.velocity * volume - volume) * velocitySensitivity + volume;
    LadderCoefficients coefficients = voice.ladder;

    for (int32_t n = 0; n < count; ++n) {
        const Pair first = readPair(table, oscL, oscR);
        const Pair second = readPair(table, oscL, oscR);
        const float filterLevel = voice.filterEnv.tick();
        const float ampLevel = voice.ampEnv.tick();
        const Pair signal = reader.next(first, second, smooth);

        const float c1 = uniforms.filterAmount * filterLevel * 0.5f;
        coefficients = LadderCoefficients::forControl((voice.velocity * c1 - c1) * uniforms.filterVelocity + c1 +
                                                      uniforms.cutSquared);
        const LadderCoefficientsOf<Pair> shared{Pair{} + coefficients.r, Pair{} + coefficients.f,
                                                Pair{} + coefficients.k};
        const Pair filtered = ladder.process(signal, shared);

        const Pair out = filtered * (ampLevel * gain);
        outL[n] += out[0];
        outR[n] += out[1];
    }

    oscL.s1 = reader.s1[0], oscL.s2 = reader.s2[0], oscL.s3 = reader.s3[0], oscL.s4 = reader.s4[0];
    oscR.s1 = reader.s1[1], oscR.s2 = reader.s2[1], oscR.s3 = reader.s3[1], oscR.s4 = reader.s4[1];
    voice.left = LadderState{ladder.x1[0], ladder.y1[0], ladder.y2[0], ladder.y3[0], ladder.y4[0]};
    voice.right = LadderState{ladder.x1[1], ladder.y1[1], ladder.y2[1], ladder.y3[1], ladder.y4[1]};
    voice.ladder = coefficients;
}
