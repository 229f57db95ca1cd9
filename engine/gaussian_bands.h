// The amplitude spectrum of a wavetable: every harmonic spread over a Gaussian
// band whose width grows with the harmonic number.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"

constexpr int32_t kAmplitudeBins = 32768;  // half the table length

// Relative band factor r = 2^(bw / 1200) - 1 for bw = BW * 80 + 4 cents
// (4 to 84 cents for BW in 0..1), the power evaluated in double.
float relativeBandFactor(float bandwidth);

// Harmonic k's band, in units of amplitude index / kAmplitudeBins:
// profile(j) = e^-q * inverseWidth with x = (j / M - centre) * inverseWidth and
// q = x * x, or 0 where q (compared in double) exceeds kBandCutoff; the band
// adds amplitude * profile(j) to entry j. Outside [firstBin, endBin) the
// profile is 0 for certain, so the band can skip those entries (adding
// amplitude * 0 leaves an entry unchanged: the sum starts at +0 and never
// becomes -0); where that cannot be bounded (non-finite width or amplitude)
// the range is the whole spectrum.
struct GaussianBand {
    static constexpr double kBandCutoff = 14.71280603;  // e^-q below 4.1e-7

    float centre;        // k * 344 / 44100
    float inverseWidth;  // 1 / ((k * r) * 344 / 88200)
    float amplitude;     // half the cube of the harmonic's value
    int32_t firstBin;
    int32_t endBin;
    bool bounded;  // false: NaN or infinities involved, evaluate every entry as written
};

GaussianBand makeGaussianBand(int32_t harmonic, float bandFactor, float harmonicValue);

// amplitudes[0..kAmplitudeBins-1] = the sum of the 32 bands, added harmonic by
// harmonic in ascending order; values[0..31] are the harmonics, values[32] BW.
void computeAmplitudeSpectrum(const float* values, float* amplitudes, SimdLevel level = bestSimdLevel());
