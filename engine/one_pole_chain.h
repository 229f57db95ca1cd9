// The voice filter: four one-pole low-pass sections in series per channel.
#pragma once

// Each section moves its state the fraction k of the way to its input:
// s = (x - s) * k + s. k is used as given, without a frequency mapping: 0 holds
// the output still, 1 passes the input; with parameters in 0..1 it lies in
// 0..1.8, above 1 each section overshoots but stays stable. state[0..3] are
// the sections in signal order; the output is the last one.
inline float onePoleChain(float* state, float input, float k) {
    state[0] = (input - state[0]) * k + state[0];
    state[1] = (state[0] - state[1]) * k + state[1];
    state[2] = (state[1] - state[2]) * k + state[2];
    state[3] = (state[2] - state[3]) * k + state[3];
    return state[3];
}
