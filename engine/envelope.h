// The exponential envelope used for both the amplitude and the filter of a voice.
#pragma once

#include <cmath>
#include <cstdint>

#include "numerics/shared_float.h"

// A chain of exponential approaches. Each sample the level covers the fraction
// coef[stage] of its remaining distance to target[stage]; a stage ends once the
// level is within epsilon of its target, except stage 1, which holds the
// sustain level until a release. Stages: 0 attack (to 1), 1 decay and sustain,
// 2 release (to 0), 3 quick fade (to 0 in about 0.6 ms, used when a voice
// becomes the reserve), 4 idle (output 0, nothing moves). Levels are unitless
// gains; coefficients are per oversampled sample. Stage stays within 0..4.
// target and coef follow parameter changes on another thread while the voice
// renders, hence shared; the rest belongs to the render.
struct Envelope {
    enum Stage : int32_t { kAttack = 0, kDecay = 1, kRelease = 2, kQuickFade = 3, kIdle = 4 };

    SharedFloat target[5] = {1.0f, 0.5f, 0.0f, 0.0f, 0.0f};
    SharedFloat coef[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    int32_t stage = kIdle;
    float level = 0.0f;
    float epsilon = 0.005f;

    // One sample; returns the output before gain.
    float step() {
        if (stage == kIdle) return 0.0f;
        level = (target[stage] - level) * coef[stage] + level;
        if (std::fabs(level - target[stage]) <= epsilon && stage != kDecay) stage = stage + 1;
        return level;
    }
};

// Sets coef[0..4] and the sustain target from times and a sustain level, all
// nominally 0..1, at `rate` samples per second. A stage made from time value t
// covers a distance of 1 down to epsilon in 6 x t seconds (plus a small
// minimum). Powers are taken in double from float arguments.
void setEnvelopeTimes(Envelope& env, float rate, float attack, float decay, float sustain, float release);
