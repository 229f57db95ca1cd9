// The first generation's wavetable generator written straight from its rules:
// float arithmetic in the order written, long double (64-bit significand)
// where the rules say extended, libm's expl, cosl and sinl, pow in double, a
// fresh KISS FFT configuration per table. Slow and obvious; the engine's
// generator must produce the same bits. Runs its long double arithmetic at
// 64-bit precision whatever the caller's x87 setting.
#pragma once

#include <cstdint>

namespace reference {

// groups[0..7], bandwidth; fills amplitudes[0..32767].
void firstGenAmplitudeSpectrum(const float* groups, float bandwidth, float* amplitudes);

// The phase of a state and the spectrum pair it gives an amplitude.
long double firstGenPhase(uint32_t state);
void firstGenPhaseBin(uint32_t state, float amplitude, float* pair);

// Builds table[0..65536] (loop plus guard, normalised) drawing the 32,768
// phases from the states that follow `phaseState`; returns the last state.
uint32_t generateFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table);

}  // namespace reference
