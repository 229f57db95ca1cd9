// The first generation's envelope: straight-line segments.
#pragma once

#include <cstdint>

#include "numerics/shared_float.h"

// Level 0..1 (a unitless gain) moving by a fixed step per output sample:
// attack up to 1, decay down to the sustain level, sustain, release down to 0.
// The steal fade (a voice chosen as reserve) descends like a release. Steps
// are level per sample; a decay time of 0 gives an infinite step, which ends
// the decay at its first tick. Steps and sustain follow parameter changes on
// another thread while the voice renders, hence shared.
struct LinearEnvelope {
    enum State : int32_t { kIdle = 0, kAttack = 1, kDecay = 2, kSustain = 3, kRelease = 4, kStealFade = 5 };

    int32_t state = kIdle;
    SharedFloat attackStep = 0.0f;
    SharedFloat decayStep = 0.0f;
    SharedFloat sustain = 0.0f;
    SharedFloat releaseStep = 0.0f;
    float level = 0.0f;

    // Sustain and idle: every tick gives the same level until an entry
    // (release, start) moves the state on.
    bool holds() const { return state == kSustain || state == kIdle; }

    float tick() { return advance(state, level); }

    // `count` ticks into out[n * stride]. The state and level stay in
    // registers: ticked one call at a time they go through memory after every
    // tick (the steps are shared atomics), a store and reload in the chain of
    // every tick.
    void tickInto(float* out, int32_t stride, int32_t count) {
        int32_t stage = state;
        float value = level;
        for (int32_t n = 0; n < count; ++n) out[n * stride] = advance(stage, value);
        state = stage;
        level = value;
    }

    // One tick of a stage and level with this envelope's steps.
    float advance(int32_t& stage, float& value) const {
        switch (stage) {
            case kAttack:
                value += attackStep;
                if (value >= 1.0f) {
                    value = 1.0f;
                    stage = kDecay;
                }
                break;
            case kDecay:
                value -= decayStep;
                if (sustain >= value) {
                    value = sustain;
                    stage = kSustain;
                }
                break;
            case kSustain: value = sustain; break;
            case kRelease:
            case kStealFade:
                value -= releaseStep;
                if (value <= 0.0f) {
                    value = 0.0f;
                    stage = kIdle;
                }
                break;
            default: value = 0.0f; break;
        }
        return value;
    }

    // Stage values 0..1: a value p covers the whole range 0..1 in 4 x p
    // seconds; attack and release never faster than 0.4 ms.
    void setTimes(float sampleRate, float attack, float decay, float sustainLevel, float release) {
        constexpr float kShortestStage = 0.0001f;
        const float base = 0.25f / sampleRate;
        attackStep = base / (attack < kShortestStage ? kShortestStage : attack);
        decayStep = base / decay;
        sustain = sustainLevel;
        releaseStep = base / (release < kShortestStage ? kShortestStage : release);
    }
};
