// The wavetable generator written straight from its rules: every harmonic
// over every bin, libm in double for the transcendental functions, a fresh
// KISS FFT configuration per table. Slow and obvious; the engine's generator
// must produce the same bits.
#pragma once

#include <cstdint>

#include "kiss_fftr.h"

namespace reference {

constexpr int32_t kTableLength = 65536;
constexpr int32_t kAmplitudeBins = kTableLength / 2;

// values[0..31] harmonic amplitudes, values[32] bandwidth; fills amplitudes[0..32767].
void amplitudeSpectrum(const float* values, float* amplitudes);

// Peak normalisation of table[0..count-1] to 1/1.4142.
void normalize(float* table, int32_t count);

// table[0..65535] = the unscaled inverse real FFT of spectrum[0..32768] with
// a fresh KISS FFT configuration, table[65536] = table[0], then normalize():
// the last steps of either generation's table.
void transformToTable(const kiss_fft_cpx* spectrum, float* table);

// The spectrum pair (re, im) a phase state gives an amplitude.
using PhaseBin = void (*)(uint32_t state, float amplitude, float* pair);

// Either generation's steps after the amplitudes: bin 0 is zero, bin j + 1
// is phaseBin of amplitudes[j] and the (j + 1)-th state after `phaseState`,
// then transformToTable. Returns the last state.
uint32_t tableFromAmplitudes(const float* amplitudes, uint32_t phaseState, PhaseBin phaseBin, float* table);

// The third generation's phase bin, in float.
void phaseBin(uint32_t state, float amplitude, float* pair);

// Builds table[0..65536] (loop plus guard, normalised) drawing the 32,768
// phases from the states that follow `phaseState`; returns the last state.
uint32_t generateTable(const float* values, uint32_t phaseState, float* table);

}  // namespace reference
